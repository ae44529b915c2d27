// The drawees report.
#include "Frmrptemi.h"

#include "Aplicacion.h"
#include "Cfgfile.h"
#include "Controles.h"
#include "Frmmain.h"
#include "General.h"
#include "Modmas.h"

#include <cstdlib>

namespace {

// Fields of a report row, in query order.
enum { FNif, FSufijo, FNombre, FReferencia, FDireccion, FLocalidad, FProvincia, FCP, FCuenta, NumCampos };

constexpr int kAnchoBanda = 1047;

const char *const kSQLDesde =
    " FROM [_Emisores( Datos )]     INNER JOIN [Librados( Datos )]     ON [_Emisores( Datos )].Id_emisor = "
    "[Librados( Datos )].Id_emisor WHERE ";

QFont Negrita(double puntos = 8)
{
    return Fuente("Arial", puntos, true);
}
QFont Normal()
{
    return Fuente("Arial", 7);
}

} // namespace

TFormRptEmi::TFormRptEmi(QWidget *parent) : TFormInforme(parent, true)
{
    setObjectName(QStringLiteral("FormRptEmi"));
    CreaBandas();
}

void TFormRptEmi::CreaBandas()
{
    TQRBand *cabecera = QRep.Banda(TipoBanda::CabeceraPagina, 153);
    cabecera->Imagen(0, 0, 120, 48, LogoInforme());
    QRLabel1 = cabecera->Etiqueta(847, 0, "", Fuente("Arial", 8), 200, Qt::AlignRight);
    QRLabel1->Expr = Expresion::FechaInicio;
    QRLabel15 = cabecera->Etiqueta(847, 16, "", Fuente("Arial", 8), 200, Qt::AlignRight);
    QRLabel15->Expr = Expresion::NumeroPagina;
    QRLbTitulo = cabecera->Etiqueta(0, 67, "", Negrita(12), kAnchoBanda, Qt::AlignHCenter);
    cabecera->Figura(Forma::LineaHorizontal, 0, 113, kAnchoBanda, 1);
    cabecera->Etiqueta(0, 127, "Presentador :", Negrita(), 134, Qt::AlignRight);
    QRPresentador = cabecera->Etiqueta(155, 127, "", Fuente("Arial", 8), 360);
    cabecera->Etiqueta(525, 127, "N.I.F.:", Negrita());
    QRNIFPresentador = cabecera->Etiqueta(562, 127, "", Fuente("Arial", 8));
    cabecera->Etiqueta(643, 127, "Sufijo:", Negrita());
    QRSufijopres = cabecera->Etiqueta(685, 127, "", Fuente("Arial", 8));

    // Columns: left edge and width; the account is right-aligned.
    struct Columna {
        int left, ancho;
    };
    const Columna referencia{5, 85}, emisor{92, 96}, nombre{190, 170}, direccion{362, 120}, localidad{484, 72},
        provincia{558, 99}, cp{659, 35}, cuenta{696, 119};
    TQRBand *titulos = QRep.Banda(TipoBanda::CabeceraGrupo, 27);
    auto titulo = [&](const Columna &c, const char *texto = "") {
        return titulos->Etiqueta(c.left, 6, texto, Negrita(), c.ancho);
    };
    QRLabel6 = titulo(referencia);
    QRLabel2 = titulo(emisor);
    QRLabel3 = titulo(nombre);
    QRLabel4 = titulo(direccion);
    titulo(localidad, "Localidad");
    titulo(provincia, "Provincia");
    titulo(cp, "CP");
    QRLabel5 = titulo(cuenta);
    QRLabel5->Alignment = Qt::AlignRight;
    titulos->Figura(Forma::LineaHorizontal, 0, 25, kAnchoBanda, 1);

    TQRBand *detalle = QRep.Banda(TipoBanda::Detalle, 24);
    auto valor = [&](const Columna &c) { return detalle->Etiqueta(c.left, 4, "", Normal(), c.ancho); };
    QRLbRefRecibo = valor(referencia);
    QRLbEmisor = valor(emisor);
    QRLbNombre = valor(nombre);
    QRLbDireccion = valor(direccion);
    QRLocalidad = valor(localidad);
    QRProvincia = valor(provincia);
    QRCP = valor(cp);
    QRLbCuenta = valor(cuenta);
    QRLbCuenta->Alignment = Qt::AlignRight;
}

void TFormRptEmi::SetEmisores(const std::vector<int> &emisores)
{
    Emisores.clear();
    for (int id : emisores)
        if (id > 0)
            Emisores.push_back(id);
    const TFormMain *main = App().FormMain;
    QRPresentador->Caption = main->GetNombrePresentadorSeleccionado();
    const std::string fila = PrimeraFila(FormatoSQL("SELECT * FROM [_Presentadores( Datos )] WHERE Id_presentador=%ld",
                                                    std::atol(main->GetIdPresentadorSeleccionado().c_str())));
    QRNIFPresentador->Caption = ValorCelda(GetCampo("Id_nif", fila));
    QRSufijopres->Caption = ValorCelda(GetCampo("Sufijo", fila));
}

std::string TFormRptEmi::Condicion() const
{
    std::string texto;
    for (size_t k = 0; k < Emisores.size(); ++k)
        texto += FormatoSQL(k == 0 ? "( [Librados( Datos )].Id_emisor = %ld" : " OR [Librados( Datos )].Id_emisor = %ld",
                            long(Emisores[k]));
    return texto;
}

bool TFormRptEmi::HayLibrados()
{
    int total = 0;
    if (!Emisores.empty())
        DBGetData(std::string("SELECT COUNT(*) AS Total") + kSQLDesde + Condicion() + " );",
                  [&total](char *fila, char *, int) { total = Numero(GetCampo("Total", fila)); });
    if (total > 0)
        return true;
    AvisoTexto(334, 6, IconoMensaje::Informacion);
    return false;
}

void TFormRptEmi::PonCaptions()
{
    QRLbTitulo->Caption = Idioma.GetTexto(335);
    QRLabel2->Caption = Idioma.GetTexto(321);
    QRLabel3->Caption = Idioma.GetTexto(5);
    QRLabel4->Caption = Idioma.GetTexto(26);
    QRLabel5->Caption = Idioma.GetTexto(472);
    QRLabel6->Caption = Idioma.GetTexto(620);
    QRLabel1->Caption = Idioma.GetTexto(474) + " : ";
    QRLabel15->Caption = Idioma.GetTexto(473) + ": ";
}

bool TFormRptEmi::EjecutaConsulta()
{
    PonCaptions();
    const std::string sql =
        std::string("SELECT [_Emisores( Datos )].Id_nif,        [_Emisores( Datos )].Sufijo,        "
                    "[Librados( Datos )].Razon_social,        [Librados( Datos )].Codigo_referencia,        "
                    "[Librados( Datos )].Direccion,        [Librados( Datos )].Localidad,        "
                    "[Librados( Datos )].Provincia,        [Librados( Datos )].CP,        [Librados( Datos )].Cuenta")
        + kSQLDesde + Condicion() + " ) ORDER BY [Librados( Datos )].Razon_social ASC;";
    const B_AStr_t *valores = ConsultaCampos(true,
                                             {"Id_nif", "Sufijo", "Razon_social", "Codigo_referencia", "Direccion",
                                              "Localidad", "Provincia", "CP", "Cuenta"},
                                             "%s", sql.c_str());
    if (!TomaResultado(valores, NumCampos)) {
        AvisoTexto(179, 180, IconoMensaje::Error);
        return false;
    }
    return true;
}

void TFormRptEmi::QRNeedData(bool &MoreData)
{
    MoreData = false;
    if (Reiniciar) {
        FilasRestantes = 0;
        return;
    }
    if (!HayResultado || FilasRestantes <= 0) {
        HayResultado = false;
        Ocupado = false;
        Reiniciar = false;
        return;
    }
    QRLbEmisor->Caption = ValorCelda(Campo(FNif)) + "-" + ValorCelda(Campo(FSufijo));
    QRLbNombre->Caption = ValorCelda(Campo(FNombre));
    QRLbRefRecibo->Caption = ValorCelda(Campo(FReferencia));
    QRLbDireccion->Caption = ValorCelda(Campo(FDireccion));
    QRLocalidad->Caption = ValorCelda(Campo(FLocalidad));
    QRProvincia->Caption = ValorCelda(Campo(FProvincia));
    QRCP->Caption = ValorCelda(Campo(FCP));
    QRLbCuenta->Caption = CuentaConGuiones(Campo(FCuenta));
    --FilasRestantes;
    Cursor += NumCampos;
    MoreData = true;
}
