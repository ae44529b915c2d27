// The bills report.
#include "Lstdocs.h"

#include "Aplicacion.h"
#include "Cfgfile.h"
#include "Controles.h"
#include "Frmmain.h"
#include "General.h"
#include "Login.h"
#include "Modmas.h"
#include "profile.h"

#include <cstdlib>

namespace {

// Fields of a report row, in query order.
enum { FIdRemesa, FDescripcion, FMoneda, FLibrado, FReferencia, FCuenta, FConcepto, FVencimiento, FImporte, NumCampos };

constexpr int kAnchoBanda = 1047;
constexpr int kAnchoRaya = 849; // the batch line

// Columns: left edges, and the amounts' right-aligned boxes.
constexpr int kColVencimiento = 7, kColReferencia19 = 10, kColReferencia58 = 70, kAnchoReferencia = 68,
              kColLibrado = 140, kAnchoLibrado = 156, kColCuenta = 298, kAnchoCuenta = 140, kColConcepto = 442,
              kAnchoConcepto = 194, kColPtas = 640, kAnchoPtas = 80, kColEuros = 728, kAnchoEuros = 80,
              kColMoneda = 818, kAnchoMoneda = 40;

const char *const kSQLInforme =
    "SELECT [Remesas()].Id_remesa,        [Remesas()].Descripcion,        [Remesas()].Id_moneda,        "
    "[Librados( Datos )].Razon_social,        [Documentos()].Ref_interna,        [Librados( Datos )].Cuenta,        "
    "[Documentos()].Primer_concepto,        [Documentos()].F_vencimiento,        [Documentos()].Importe FROM "
    "[Remesas()]      INNER JOIN ([Librados( Datos )]      INNER JOIN [Documentos()]      ON "
    "[Librados( Datos )].Id_librado = [Documentos()].Id_librado)      ON [Remesas()].Id_remesa = "
    "[Documentos()].Id_remesa ";
const char *const kSQLCuenta =
    "SELECT COUNT(*) AS Total FROM [Remesas()]      INNER JOIN ([Librados( Datos )]      INNER JOIN "
    "[Documentos()]      ON [Librados( Datos )].Id_librado = [Documentos()].Id_librado)      ON "
    "[Remesas()].Id_remesa = [Documentos()].Id_remesa ";

QFont Titulo()
{
    return Fuente("Arial", 12, true);
}
QFont Negrita()
{
    return Fuente("Arial", 8, true);
}
QFont Normal()
{
    return Fuente("Arial", 8);
}

// Cents as a stored euro amount ("1234.50").
std::string TextoCentimos(long long centimos)
{
    const long long absoluto = std::llabs(centimos);
    const std::string decimales = std::to_string(100 + absoluto % 100).substr(1);
    return (centimos < 0 ? "-" : "") + std::to_string(absoluto / 100) + "." + decimales;
}

// An amount in units (pesetas, or cents for "EUR"); 0 when the text is none.
long long Unidades(std::string_view texto, std::string_view moneda)
{
    long long unidades = 0;
    if (LeeImporteSQL(texto, DecimalesMoneda(moneda), unidades) != LecturaImporte::Correcta)
        return 0;
    return unidades;
}

// The other currency's units of an amount at 166.386, rounded half away from zero.
long long PtasEnCentimos(long long pesetas)
{
    return Unidades(GetContravalorSinFormato(std::to_string(pesetas), kMonedaPesetas), kMonedaEuros);
}
long long CentimosEnPtas(long long centimos)
{
    return Unidades(GetContravalorSinFormato(TextoCentimos(centimos), kMonedaEuros), kMonedaPesetas);
}

std::string Pesetas(long long pesetas)
{
    return FormatImporte(std::to_string(pesetas), kMonedaPesetas);
}
std::string Euros(long long centimos)
{
    return FormatImporte(TextoCentimos(centimos), kMonedaEuros);
}

std::string Texto(int n)
{
    return Idioma.GetTexto(n);
}

} // namespace

TFormRptDocs::TFormRptDocs(QWidget *parent) : TFormInforme(parent, true)
{
    setObjectName(QStringLiteral("FormRptDocs"));
    CreaBandas();
}

void TFormRptDocs::CreaBandas()
{
    TQRBand *cabecera = QRep.Banda(TipoBanda::CabeceraPagina, 187);
    cabecera->Imagen(0, 0, 120, 48, LogoInforme());
    QRLabel3 = cabecera->Etiqueta(847, 0, "", Normal(), 200, Qt::AlignRight);
    QRLabel3->Expr = Expresion::FechaInicio;
    QRLabel15 = cabecera->Etiqueta(847, 16, "", Normal(), 200, Qt::AlignRight);
    QRLabel15->Expr = Expresion::NumeroPagina;
    QRLbTitulo = cabecera->Etiqueta(0, 40, "", Titulo(), kAnchoBanda, Qt::AlignHCenter);
    QRLbTitulo2 = cabecera->Etiqueta(0, 70, "", Titulo(), kAnchoBanda, Qt::AlignHCenter);
    cabecera->Figura(Forma::LineaHorizontal, 0, 100, kAnchoBanda, 1);
    // Label, ":" and value per line; the presenter's and issuer's NIF and suffix beside.
    auto linea = [&](int top, TQRLabel *&rotulo, TQRLabel *&valor) {
        rotulo = cabecera->Etiqueta(16, top, "", Negrita());
        cabecera->Etiqueta(110, top, ":", Negrita());
        valor = cabecera->Etiqueta(123, top, "", Normal(), 460);
    };
    auto nif = [&](int top, TQRLabel *&nif, TQRLabel *&sufijo) {
        cabecera->Etiqueta(600, top, "N.I.F.:", Negrita());
        nif = cabecera->Etiqueta(627 + 16, top, "", Normal());
        cabecera->Etiqueta(717, top, "Sufijo:", Negrita());
        sufijo = cabecera->Etiqueta(749 + 12, top, "", Normal());
    };
    linea(104, QRLabel27, QRUsuarios);
    linea(121, QRPres, QRPresentador);
    nif(121, QRNIFPresentador, QRSufijopres);
    linea(139, QREmis, QREmisor);
    nif(139, QRNIFEmisor, QRSufijoemi);
    linea(159, LBCAbono, QRCAbono);

    TQRBand *titulos = QRep.Banda(TipoBanda::CabeceraGrupo, 27);
    QRLb8 = titulos->Etiqueta(kColVencimiento, 6, "", Negrita());
    QRReferencia = titulos->Etiqueta(kColReferencia19, 6, "", Negrita());
    QRLbNombre = titulos->Etiqueta(kColLibrado, 6, "", Negrita());
    QRLbNCuenta = titulos->Etiqueta(kColCuenta, 6, "", Negrita(), kAnchoCuenta, Qt::AlignHCenter);
    QRLbConceptoT = titulos->Etiqueta(kColConcepto, 6, "", Negrita());
    QRLbImportePtas = titulos->Etiqueta(kColPtas, 6, "", Negrita(), kAnchoPtas, Qt::AlignRight);
    QRLbImporteEuros = titulos->Etiqueta(kColEuros, 6, "", Negrita(), kAnchoEuros, Qt::AlignRight);
    QRLbMoneda = titulos->Etiqueta(kColMoneda, 6, "", Negrita(), kAnchoMoneda, Qt::AlignHCenter);
    titulos->Figura(Forma::LineaHorizontal, 0, 25, kAnchoBanda, 1)->GrosorLinea = 2;

    Detalle = QRep.Banda(TipoBanda::Detalle, 37);
    QRLbRemesa = Detalle->Etiqueta(27, 4, "", Negrita());
    QRLbFechaVto = Detalle->Etiqueta(kColVencimiento, 25, "", Normal());
    QRLbReferencia = Detalle->Etiqueta(kColReferencia19, 25, "", Normal(), kAnchoReferencia);
    QRLbLibrado = Detalle->Etiqueta(kColLibrado, 25, "", Normal(), kAnchoLibrado);
    QRLbCuenta = Detalle->Etiqueta(kColCuenta, 25, "", Normal(), kAnchoCuenta, Qt::AlignHCenter);
    QRLbConcepto = Detalle->Etiqueta(kColConcepto, 25, "", Normal(), kAnchoConcepto);
    QRLbImporte = Detalle->Etiqueta(kColPtas, 25, "", Normal(), kAnchoPtas, Qt::AlignRight);
    QRLImporteEuros = Detalle->Etiqueta(kColEuros, 25, "", Normal(), kAnchoEuros, Qt::AlignRight);
    QRLMoneda = Detalle->Etiqueta(kColMoneda, 25, "", Normal(), kAnchoMoneda, Qt::AlignHCenter);
    QRShape4 = Detalle->Figura(Forma::LineaHorizontal, 0, 32, 0, 1);
    QRTotalRem = Detalle->Etiqueta(442, 40, "", Negrita(), 192, Qt::AlignRight);
    QRLbRemImporte = Detalle->Etiqueta(kColPtas, 40, "", Negrita(), kAnchoPtas, Qt::AlignRight);
    QRLbRemContra = Detalle->Etiqueta(kColEuros, 40, "", Negrita(), kAnchoEuros, Qt::AlignRight);

    TQRBand *resumen = QRep.Banda(TipoBanda::Resumen, 107);
    resumen->Figura(Forma::LineaHorizontal, 0, 6, kAnchoBanda, 1);
    QRLTotales = resumen->Etiqueta(402, 14, "", Negrita(), 232, Qt::AlignRight);
    QRTotalPtas = resumen->Etiqueta(kColPtas, 14, "", Negrita(), kAnchoPtas, Qt::AlignRight);
    QRTotalEuros = resumen->Etiqueta(kColEuros, 14, "", Negrita(), kAnchoEuros, Qt::AlignRight);
    resumen->Figura(Forma::LineaHorizontal, 0, 44, kAnchoBanda, 1);
    auto fila = [&](int top, TQRLabel *&numero, TQRLabel *&cuenta, TQRLabel *&importe, TQRLabel *&total,
                    TQRLabel *&contraRotulo, TQRLabel *&contra) {
        numero = resumen->Etiqueta(16, top, "", Negrita());
        cuenta = resumen->Etiqueta(240, top, "", Normal(), 60, Qt::AlignRight);
        importe = resumen->Etiqueta(330, top, "", Negrita());
        total = resumen->Etiqueta(560, top, "", Normal(), 100, Qt::AlignRight);
        contraRotulo = resumen->Etiqueta(690, top, "", Negrita());
        contra = resumen->Etiqueta(830, top, "", Normal(), 100, Qt::AlignRight);
    };
    fila(67, QRNumrecibosPtas, QRTotalRecibosPtas, QRImportePtas, QRPtastotal, QRLbContraEuros, QRContravaloreuros);
    fila(87, QRNumreciboseuros, QRTotalRecibosEuros, QRImporteEuros, QReurostotal, QRLbContraPtas,
         QRContravalorptas);
    QRLbContraEuros->Caption = "Contravalor euros";
    QRLbContraPtas->Caption = "Contravalor pesetas";
}

void TFormRptDocs::GetNumOrden(bool procesados)
{
    Procesados = procesados;
    if (!procesados)
        return;
    const std::string ini = GetAppPath() + "Orvanta.INI";
    const int n = profile::readInt(ini, "General", "NumOrden", 1);
    profile::writeString(ini, "General", "NumOrden", std::to_string(long(n) + 1));
}

void TFormRptDocs::PreparaRptDocs(const std::vector<int> &remesas)
{
    Remesas.clear();
    for (int id : remesas)
        if (id > 0)
            Remesas.push_back(id);

    const TFormMain *main = App().FormMain;
    QRPresentador->Caption = main->GetNombrePresentadorSeleccionado();
    QREmisor->Caption = main->GetNombreEmisorSeleccionado();
    const long presentador = std::atol(main->GetIdPresentadorSeleccionado().c_str());
    const long emisor = std::atol(main->GetIdEmisorSeleccionado().c_str());

    std::string fila = PrimeraFila(FormatoSQL("SELECT * FROM [_Presentadores( Datos )] WHERE Id_presentador=%ld",
                                              presentador));
    QRNIFPresentador->Caption = ValorCelda(GetCampo("Id_nif", fila));
    QRSufijopres->Caption = ValorCelda(GetCampo("Sufijo", fila));
    TipoOrden = ValorCelda(GetCampo("Id_orden", fila));

    fila = PrimeraFila(FormatoSQL("SELECT * FROM [_Emisores( Datos )] WHERE Id_emisor=%ld", emisor));
    QRNIFEmisor->Caption = ValorCelda(GetCampo("Id_nif", fila));
    QRSufijoemi->Caption = ValorCelda(GetCampo("Sufijo", fila));
    QRCAbono->Caption = CuentaConGuiones(GetCampo("Cuenta_abono", fila));

    const std::string &usuario = App().FormLogin->LoginData.Id_usuario;
    fila = usuario.empty() ? std::string()
                           : PrimeraFila(FormatoSQL("SELECT * FROM [_Usuarios()] WHERE Id_usuario=%s", usuario.c_str()));
    QRUsuarios->Caption = ValorCelda(GetCampo("Cod_usuario", fila));
    PonCaptions();
}

void TFormRptDocs::PonCaptions()
{
    QRLabel3->Caption = Texto(474) + ": ";
    QRLabel15->Caption = Texto(473) + ": ";
    QRLb8->Caption = Texto(634);
    QRReferencia->Caption = Texto(635);
    QRLbNombre->Caption = Texto(126);
    QRLbNCuenta->Caption = Texto(18);
    QRLbConceptoT->Caption = Texto(622);
    QRLbImportePtas->Caption = Texto(324);
    QRLbImporteEuros->Caption = Texto(325);
    QRLbMoneda->Caption = Texto(323);
    QRLTotales->Caption = Texto(330) + ":";
    QRLabel27->Caption = Texto(77);
    QRPres->Caption = Texto(320);
    QREmis->Caption = Texto(321);
    LBCAbono->Caption = Texto(108);

    const bool anticipos = TipoOrden == "CSB58";
    QRLbTitulo->Caption = Texto(anticipos ? 591 : 319);
    QRNumrecibosPtas->Caption = Texto(anticipos ? 592 : 331);
    QRNumreciboseuros->Caption = Texto(anticipos ? 593 : 332);
    QRImportePtas->Caption = Texto(anticipos ? 594 : 326);
    QRImporteEuros->Caption = Texto(anticipos ? 595 : 327);
    QRLb8->Visible = QRLbFechaVto->Visible = anticipos;
    QRReferencia->Left = QRLbReferencia->Left = anticipos ? kColReferencia58 : kColReferencia19;
}

std::string TFormRptDocs::Condicion(bool conteo) const
{
    std::string texto;
    for (size_t k = 0; k < Remesas.size(); ++k)
        texto += FormatoSQL(k == 0 ? " WHERE ([Documentos()].Id_remesa = %ld" : " OR [Documentos()].Id_remesa = %ld",
                            long(Remesas[k]));
    texto += ") ";
    // The count's two-state texts end without the blank.
    const char *fin = conteo ? "" : " ";
    if (Activos && !Desactivados && !Erroneos)
        texto += " AND [Documentos()].Activo = TRUE AND [Documentos()].Situacion = 0 ";
    else if (!Activos && Desactivados && !Erroneos)
        texto += " AND [Documentos()].Activo = FALSE AND [Documentos()].Situacion = 0 ";
    else if (!Activos && !Desactivados && Erroneos)
        texto += " AND [Documentos()].Activo = FALSE AND [Documentos()].Situacion = 1 ";
    else if (Activos && Desactivados && !Erroneos)
        texto += std::string(" AND ( ( [Documentos()].Activo = TRUE AND [Documentos()].Situacion = 0 ) OR ( "
                             "[Documentos()].Activo = FALSE AND [Documentos()].Situacion = 0 ) )") + fin;
    else if (Activos && !Desactivados && Erroneos)
        texto += std::string(" AND ( ( [Documentos()].Activo =  TRUE AND [Documentos()].Situacion = 0 ) OR ( "
                             "[Documentos()].Activo = FALSE AND [Documentos()].Situacion = 1 ) )") + fin;
    else if (!Activos && Desactivados && Erroneos)
        texto += " AND [Documentos()].Activo =  FALSE  ";
    return texto;
}

bool TFormRptDocs::CuentaDocsRpt()
{
    int total = 0;
    if (!Remesas.empty())
        DBGetData(kSQLCuenta + Condicion(true), [&total](char *fila, char *, int) {
            total = Numero(GetCampo("Total", fila));
        });
    if (total > 0)
        return true;
    AvisoTexto(333, 6, IconoMensaje::Informacion);
    return false;
}

bool TFormRptDocs::EjecutaConsulta()
{
    const std::string sql = kSQLInforme + Condicion(false)
                            + " ORDER BY [Documentos()].Id_remesa ASC,[Librados( Datos )].Razon_social ASC ";
    const B_AStr_t *valores = ConsultaCampos(true,
                                             {"Id_remesa", "Descripcion", "Id_moneda", "Razon_social", "Ref_interna",
                                              "Cuenta", "Primer_concepto", "F_vencimiento", "Importe"},
                                             "%s", sql.c_str());
    if (!TomaResultado(valores, NumCampos)) {
        AvisoTexto(880, 177, IconoMensaje::Error);
        return false;
    }
    m_totalPtas = m_totalCent = m_subPtas = m_subCent = 0;
    m_numPtas = m_numEuros = 0;
    m_ultimaRemesa = 0;
    return true;
}

void TFormRptDocs::QRNeedData(bool &MoreData)
{
    MoreData = false;
    if (Reiniciar) {
        FilasRestantes = 0;
        return;
    }
    if (!HayResultado || FilasRestantes <= 0) {
        Resumen();
        return;
    }
    QRShape4->Width = 0;
    const int remesa = Numero(Campo(FIdRemesa));
    const int siguiente = FilasRestantes > 1 ? Numero(Resultado[Cursor + NumCampos + FIdRemesa]) : -1;

    int top = 7;
    if (remesa != m_ultimaRemesa) {
        m_ultimaRemesa = remesa;
        QRLbRemesa->Caption = ValorCelda(Campo(FDescripcion));
        top = 25;
    } else {
        QRLbRemesa->Caption.clear();
    }
    Detalle->Height = top == 25 ? 37 : 18;
    for (TQRLabel *l : {QRLbFechaVto, QRLbReferencia, QRLbLibrado, QRLbCuenta, QRLbConcepto, QRLbImporte,
                        QRLImporteEuros, QRLMoneda})
        l->Top = top;

    const bool peseta = Campo(FMoneda).substr(0, 3) == kMonedaPesetas;
    QRLMoneda->Caption = peseta ? kMonedaPesetas : kMonedaEuros;
    QRLbLibrado->Caption = ValorCelda(Campo(FLibrado));
    QRLbReferencia->Caption = ValorCelda(Campo(FReferencia));
    QRLbCuenta->Caption = CuentaConGuiones(Campo(FCuenta));
    QRLbConcepto->Caption = Campo(FConcepto) == "NULL" ? " " : ValorCelda(Campo(FConcepto));
    std::string vencimiento = Campo(FVencimiento);
    QRLbFechaVto->Caption = vencimiento == "NULL" ? std::string() : FechaDDMMAAToStr(QuitaBlancos(vencimiento));

    const long long a = Unidades(Campo(FImporte), peseta ? kMonedaPesetas : kMonedaEuros);
    if (peseta) {
        ++m_numPtas;
        m_subPtas += a;
        m_totalPtas += a;
        QRLbImporte->Caption = Pesetas(a);
        QRLImporteEuros->Caption = Euros(PtasEnCentimos(a));
    } else {
        ++m_numEuros;
        m_subCent += a;
        m_totalCent += a;
        QRLImporteEuros->Caption = Euros(a);
        QRLbImporte->Caption = Pesetas(CentimosEnPtas(a));
    }
    --FilasRestantes;
    Cursor += NumCampos;

    if (siguiente == remesa) {
        QRTotalRem->Caption.clear();
        QRLbRemImporte->Caption.clear();
        QRLbRemContra->Caption.clear();
    } else {
        CierraRemesa(peseta);
        // The batch line and its subtotal go under the bill's values.
        QRShape4->Top = top + 25;
        for (TQRLabel *l : {QRTotalRem, QRLbRemImporte, QRLbRemContra})
            l->Top = top + 33;
        Detalle->Height = top + 68;
    }
    MoreData = true;
}

void TFormRptDocs::CierraRemesa(bool peseta)
{
    if (peseta) {
        QRLbRemImporte->Caption = Pesetas(m_subPtas);
        QRLbRemContra->Caption = Euros(PtasEnCentimos(m_subPtas));
    } else {
        QRLbRemImporte->Caption = Pesetas(CentimosEnPtas(m_subCent));
        QRLbRemContra->Caption = Euros(m_subCent);
    }
    QRShape4->Width = kAnchoRaya;
    QRTotalRem->Caption = Texto(633) + ":";
    m_subPtas = m_subCent = 0;
}

void TFormRptDocs::Resumen()
{
    HayResultado = false;
    QRTotalPtas->Caption = Pesetas(CentimosEnPtas(m_totalCent) + m_totalPtas);
    QRTotalEuros->Caption = Euros(PtasEnCentimos(m_totalPtas) + m_totalCent);
    QRTotalRecibosPtas->Caption = std::to_string(m_numPtas);
    QRTotalRecibosEuros->Caption = std::to_string(m_numEuros);
    QRPtastotal->Caption = Pesetas(m_totalPtas);
    QReurostotal->Caption = Euros(m_totalCent);
    QRContravaloreuros->Caption = Euros(PtasEnCentimos(m_totalPtas));
    QRContravalorptas->Caption = Pesetas(CentimosEnPtas(m_totalCent));
    Ocupado = false;
    Reiniciar = false;
}
