// The printed bill's two sheets.
#include "Reciboimpreso.h"

#include "Cfgfile.h"
#include "General.h"
#include "Modmas.h"
#include "Multiidioma.h"

namespace {

constexpr size_t kFilaMaxima = 2055; // the print's row buffer
constexpr size_t kNombreBancoMaximo = 71;
constexpr int kAltoCaja = 65; // a box without a stated height

const char *const kSQLEmisor =
    "SELECT [_Emisores( Datos )].Cuenta_cargo,[_Emisores( Datos )].[Cuenta_cargo],[_Emisores( Datos )].[Id_nif],"
    "[_Emisores( Datos )].[Sufijo] FROM [_Presentadores( Datos )] INNER JOIN ([_Emisores( Datos )] INNER JOIN "
    "[Remesas()] ON [_Emisores( Datos )].Id_emisor = [Remesas()].Id_emisor) ON [_Presentadores( Datos "
    ")].Id_presentador = [_Emisores( Datos )].Id_presentador WHERE [Remesas()].[Id_remesa]=%d;";

QFont Titulo()
{
    return Fuente("Arial", 10, true);
}
QFont Valor()
{
    return Fuente("Courier New", 9);
}
QFont Moneda()
{
    return Fuente("Courier New", 8);
}
QFont Rotulo()
{
    return Fuente("Courier New", 8);
}
QFont RotuloBajo()
{
    return Fuente("Arial", 8, true);
}
QFont Cuenta()
{
    return Fuente("Arial", 8);
}

// The shapes of a sheet: boxes by their left and right edges, lines by their start.
void Caja(TQRBand *b, int izquierda, int derecha, int top, int alto = kAltoCaja)
{
    b->Figura(Forma::Rectangulo, izquierda, top, derecha - izquierda, alto);
}
void Horizontal(TQRBand *b, int x, int y, int largo)
{
    b->Figura(Forma::LineaHorizontal, x, y, largo, 1);
}
void Vertical(TQRBand *b, int x, int y, int largo)
{
    b->Figura(Forma::LineaVertical, x, y, 1, largo);
}

TQRLabel *Importe(TQRBand *b, int izquierda, int derecha, int top)
{
    return b->Etiqueta(izquierda, top, "", Valor(), derecha - izquierda, Qt::AlignRight);
}

// The characters desde .. desde + largo - 1 of the text, as far as it reaches.
std::string Trozo(const std::string &texto, size_t desde, size_t largo)
{
    return desde < texto.size() ? texto.substr(desde, largo) : std::string();
}

} // namespace

THojasRecibo::THojasRecibo()
{
    CreaCSB19();
    CreaCSB58();
}

void THojasRecibo::CreaCSB19()
{
    QRDocumentosCSB19.Margen = 38;
    TQRBand *b = QRDocumentosCSB19.Banda(TipoBanda::Titulo, 539);
    Vertical(b, 52, 16, 377);
    Vertical(b, 692, 16, 377);
    Horizontal(b, 56, 12, 641);
    Horizontal(b, 56, 388, 641);
    QRLabel15 = b->Etiqueta(96, 24, "", Titulo(), 293);
    b->Etiqueta(504, 24, "DOMICILIACION", Titulo());

    Caja(b, 76, 485, 48, 45);
    Caja(b, 484, 681, 48, 45);
    Horizontal(b, 76, 64, 605);
    Vertical(b, 164, 48, 45);
    Vertical(b, 300, 48, 45);
    b->Etiqueta(88, 52, "FECHA", Rotulo());
    b->Etiqueta(176, 52, "OFICINA", Rotulo());
    b->Etiqueta(332, 52, "MONEDA", Rotulo());
    b->Etiqueta(492, 52, "REFERENCIA", Rotulo());
    QRFecha = b->Etiqueta(88, 72, "", Valor(), 77);
    QROficina = b->Etiqueta(176, 72, "", Valor(), 109);
    QRMoneda = b->Etiqueta(332, 72, "", Valor());
    QRRefInterna = b->Etiqueta(492, 72, "", Valor(), 105);

    Caja(b, 76, 401, 92, 41);
    Caja(b, 400, 681, 92, 41);
    Vertical(b, 256, 92, 41);
    b->Etiqueta(84, 96, "ORDENANTE", Rotulo());
    b->Etiqueta(264, 96, "NIF", Rotulo());
    b->Etiqueta(408, 96, "TITULAR", Rotulo());
    QROrdenante = b->Etiqueta(84, 112, "", Valor(), 169);
    QRNifOrden = b->Etiqueta(264, 112, "", Valor(), 129);
    QRTitularDelRecibo = b->Etiqueta(408, 112, "", Valor(), 269);

    QRMemo1 = b->Memo(76, 132, 605, 113, Valor());

    Caja(b, 76, 181, 244, 141);
    b->Etiqueta(84, 252, "DESTINATARIO", RotuloBajo());
    Caja(b, 180, 433, 244, 141);
    b->Etiqueta(188, 252, "TITULAR RECIBO", RotuloBajo());
    QRTitularRecibo1 = b->Etiqueta(188, 268, "", Valor(), 237);
    b->Etiqueta(188, 288, "DATOS TITULAR DE LA CUENTA", RotuloBajo());
    QRTitularDeLaCuenta = b->Etiqueta(188, 304, "", Valor(), 237);
    QRDomicilio = b->Etiqueta(188, 320, "", Valor(), 237);
    QRPlaza = b->Etiqueta(188, 340, "", Valor(), 237);
    QRProvincia = b->Etiqueta(188, 360, "", Valor(), 237);
    Caja(b, 436, 573, 244);
    Caja(b, 572, 681, 244);
    b->Etiqueta(440, 256, "IMPORTE", RotuloBajo());
    QRMon2 = b->Etiqueta(536, 256, "", Moneda());
    QRImporte = Importe(b, 576, 673, 256);
    b->Etiqueta(440, 284, "CONTRAVALOR", RotuloBajo());
    LBLMonContra = b->Etiqueta(536, 284, "", Moneda());
    QRContravalor = Importe(b, 576, 673, 284);
    Caja(b, 436, 681, 308, 77);
    b->Etiqueta(444, 316, "C\xF3" "digo cuenta cliente (CCC)", Cuenta());
    Horizontal(b, 436, 332, 245);
    b->Etiqueta(444, 340, "ENTIDAD   OFICINA   D.C.   NUM. DE CUENTA", Cuenta());
    QRBODC = b->Etiqueta(452, 360, "", Valor(), 217);
}

void THojasRecibo::CreaCSB58()
{
    QRDocumentosCSB58.Margen = 38;
    TQRBand *b = QRDocumentosCSB58.Banda(TipoBanda::Titulo, 521);
    Vertical(b, 40, 8, 377);
    Vertical(b, 680, 8, 377);
    Horizontal(b, 44, 7, 641);
    Horizontal(b, 44, 380, 641);
    BANCO58 = b->Etiqueta(76, 20, "", Titulo(), 297);
    b->Etiqueta(484, 20, "ANTICIPO DE CREDITO", Titulo());

    Caja(b, 56, 465, 40, 45);
    Caja(b, 464, 661, 40, 45);
    Horizontal(b, 56, 56, 605);
    Vertical(b, 172, 40, 45);
    Vertical(b, 280, 40, 45);
    b->Etiqueta(74, 44, "FECHA", Rotulo());
    b->Etiqueta(191, 44, "OFICINA", Rotulo());
    b->Etiqueta(320, 44, "MONEDA", Rotulo());
    b->Etiqueta(474, 44, "REFERENCIA", Rotulo());
    QRFecha58 = b->Etiqueta(72, 64, "", Valor(), 97);
    QROficina58 = b->Etiqueta(192, 64, "", Valor(), 69);
    QRMoneda58 = b->Etiqueta(320, 64, "", Valor());
    QRReferencia = b->Etiqueta(472, 64, "", Valor(), 153);

    Caja(b, 56, 381, 84, 45);
    Caja(b, 380, 661, 84, 45);
    Vertical(b, 204, 84, 45);
    b->Etiqueta(64, 86, "ORDENANTE", Rotulo());
    b->Etiqueta(214, 86, "NIF", Rotulo());
    b->Etiqueta(386, 86, "TITULAR CREDITO", Rotulo());
    QROrdenante58 = b->Etiqueta(64, 108, "", Valor(), 137);
    QRNif58 = b->Etiqueta(212, 108, "", Valor(), 133);
    QRTitular58 = b->Etiqueta(388, 108, "", Valor(), 265);

    QRMemo2 = b->Memo(56, 128, 605, 113, Valor());

    Caja(b, 56, 153, 240, 133);
    b->Etiqueta(60, 246, "DESTINATARIO", RotuloBajo());
    Caja(b, 152, 405, 240, 133);
    b->Etiqueta(160, 246, "TITULAR CREDITO", RotuloBajo());
    QRTitularDelRecibo58 = b->Etiqueta(160, 272, "", Valor(), 241);
    QRDomicilio58 = b->Etiqueta(160, 296, "", Valor(), 241);
    QRPlaza58 = b->Etiqueta(160, 320, "", Valor(), 241);
    QRProvincia58 = b->Etiqueta(160, 348, "", Valor(), 217);
    Caja(b, 408, 545, 240);
    Caja(b, 544, 661, 240);
    b->Etiqueta(414, 246, "IMPORTE", RotuloBajo());
    QRLabel12 = b->Etiqueta(506, 246, "", Moneda());
    QRImporte58 = Importe(b, 548, 657, 244);
    b->Etiqueta(414, 276, "CONTRAVALOR", RotuloBajo());
    LBLMonContra58 = b->Etiqueta(506, 276, "", Moneda());
    QRContravalor58 = Importe(b, 548, 657, 276);
    Caja(b, 408, 661, 300, 73);
    b->Etiqueta(420, 308, "C\xF3" "digo cuenta cliente (CCC)", Cuenta());
    Horizontal(b, 408, 324, 253);
    b->Etiqueta(424, 336, "ENTIDAD   OFICINA   D.C.   NUM. DE CUENTA", Cuenta());
    QRODBC58 = b->Etiqueta(428, 352, "", Valor(), 221);
}

void THojasRecibo::LeeEmisor(int idRemesa)
{
    // Emptied first: an issuer that cannot be read leaves nothing of an earlier print.
    m_fila.clear();
    DBGetData(FormatoSQL(kSQLEmisor, idRemesa),
              [this](char *fila, char *, int) { m_fila = std::string(fila).substr(0, kFilaMaxima); });
}

void THojasRecibo::BuscaBanco(const std::string &codigo)
{
    NombreBanco.clear();
    DBGetData(FormatoSQL("SELECT * FROM [Bancos()] WHERE [N_Banco]='%s'", LimpiaTextoSQL(codigo).c_str()),
              [this](char *fila, char *, int) {
                  NombreBanco = NullToEmpty(GetCampoTexto("Nombre_banco", fila)).substr(0, kNombreBancoMaximo);
              });
}

TQuickRep *THojasRecibo::Llena(const DatosReciboImpreso &d)
{
    NombreBanco.clear();
    LeeEmisor(d.IdRemesa);
    const std::string nif = NullToEmpty(GetCampo("Id_nif", m_fila));
    const std::string cargo = NullToEmpty(GetCampo("Cuenta_cargo", m_fila));
    const std::string banco = Trozo(cargo, 0, 4), oficina = Trozo(cargo, 4, 4);
    if (d.TipoOrden != 1 && d.TipoOrden != 2)
        return nullptr;

    BuscaBanco(banco);
    const bool pesetas = d.MonedaRemesa == kMonedaPesetas;
    const std::string moneda = pesetas ? "PTA" : "EUR", contraMoneda = pesetas ? "EUR" : "PTA";
    const std::string importe = FormatImporte(d.Importe, d.MonedaRemesa);
    const std::string contravalor = FormatContravalor(d.Importe, d.MonedaRemesa);

    if (d.TipoOrden == 1) {
        QRFecha->Caption = QDate::currentDate().toString(QStringLiteral("dd-MM-yy")).toStdString();
        QRNifOrden->Caption = nif;
        QROficina->Caption = oficina;
        QRLabel15->Caption = NombreBanco.empty() ? Idioma.GetTexto(296) + " :" + banco : NombreBanco;
        QRImporte->Caption = importe;
        QRRefInterna->Caption = d.RefInterna;
        QRTitularDelRecibo->Caption = QRTitularRecibo1->Caption = d.Librado;
        QRBODC->Caption = d.Banco + "   " + d.Oficina + "  " + d.DC + "  " + d.Cuenta;
        QRTitularDeLaCuenta->Caption = d.TitularCuenta;
        QRDomicilio->Caption = d.Direccion;
        QRMoneda->Caption = QRMon2->Caption = moneda;
        QRPlaza->Caption = d.Localidad;
        QRProvincia->Caption = d.Provincia;
        QRMemo1->Caption = d.MemoVisible ? d.MemoConceptos : d.PrimerConcepto;
        QROrdenante->Caption = d.Ordenante;
        QRContravalor->Caption = contravalor;
        LBLMonContra->Caption = contraMoneda;
        return &QRDocumentosCSB19;
    }
    QRFecha58->Caption = d.Formalizacion.isValid()
                             ? d.Formalizacion.toString(QStringLiteral("dd-MM-yy")).toStdString()
                             : std::string();
    BANCO58->Caption = NombreBanco.empty() ? "C\xF3" "digo Banco: " + banco : NombreBanco;
    QRImporte58->Caption = importe;
    QRMoneda58->Caption = QRLabel12->Caption = moneda;
    QRReferencia->Caption = d.RefInterna;
    QRTitular58->Caption = QRTitularDelRecibo58->Caption = d.TitularCredito58;
    QRODBC58->Caption = d.Banco58 + "    " + d.Oficina58 + "   " + d.DC58 + "   " + d.Cuenta58;
    QROrdenante58->Caption = d.Ordenante;
    QRMemo2->Caption = d.MemoConceptos;
    QROficina58->Caption = oficina;
    QRNif58->Caption = nif;
    QRDomicilio58->Caption = d.DomicilioDeudor58;
    QRPlaza58->Caption = d.LocalidadDeudor58;
    std::string cp = d.CPDeudor58;
    QRProvincia58->Caption = QuitaBlancos(cp).empty() ? std::string() : "C.P. " + d.CPDeudor58;
    QRContravalor58->Caption = contravalor;
    LBLMonContra58->Caption = contraMoneda;
    return &QRDocumentosCSB58;
}
