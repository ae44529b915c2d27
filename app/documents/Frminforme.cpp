// The report forms' shared run.
#include "Frminforme.h"

#include "Controles.h"
#include "Frmpreview.h"
#include "General.h"
#include "Modmas.h"
#include "b_astr.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <cstring>

namespace {

constexpr int kMsProgreso = 50; // the progress dialog's pace

} // namespace

TFormInforme::TFormInforme(QWidget *parent, bool apaisado) : QWidget(parent), QRep(apaisado)
{
    hide();
    QRep.OnNeedData = [this] {
        bool mas = false;
        QRNeedData(mas);
        return mas;
    };
}

bool TFormInforme::TomaResultado(const B_AStr_t *valores, int campos)
{
    Resultado.clear();
    Cursor = 0;
    CamposPorFila = campos;
    HayResultado = valores != nullptr;
    if (!valores)
        return false;
    Resultado.reserve(size_t(valores->nStrs));
    const char *v = valores->pcData;
    for (long k = 0; k < valores->nStrs; ++k, v += std::strlen(v) + 1)
        Resultado.emplace_back(v);
    FilasRestantes = int(Resultado.size()) / campos;
    return true;
}

bool TFormInforme::Previsualiza()
{
    Reinicia();
    Reiniciar = false;
    bool completo = false;
    {
        CursorEspera espera;
        if (!EjecutaConsulta()) {
            Reinicia();
            return false;
        }
        Ocupado = true;
        QProgressDialog progreso(Rotulo(885), Rotulo(3), 0, std::max(1, FilasRestantes), this);
        progreso.setWindowModality(Qt::ApplicationModal);
        progreso.setMinimumDuration(500);
        QElapsedTimer reloj;
        reloj.start();
        completo = QRep.Prepara([&](int filas) {
            if (filas == 0 || reloj.elapsed() >= kMsProgreso) {
                progreso.setValue(filas);
                QCoreApplication::processEvents();
                reloj.restart();
            }
            return !progreso.wasCanceled();
        });
        Ocupado = false;
    }
    if (!completo) {
        Reinicia();
        return false;
    }
    QRPreview();
    return true;
}

void TFormInforme::QRPreview()
{
    Preview = new TPreviewForm(&QRep, this);
    Preview->AlCerrar = [this] { Reinicia(); };
}

void TFormInforme::Reinicia()
{
    FilasRestantes = 0;
    Reiniciar = true;
    Ocupado = false;
    HayResultado = false;
    Resultado.clear();
    Resultado.shrink_to_fit();
    Cursor = 0;
    QRep.Vacia();
}

std::string PrimeraFila(const std::string &sql)
{
    std::string fila;
    DBGetData(sql, [&fila](char *texto, char *seguir, int) {
        fila = texto;
        *seguir = 0;
    });
    return fila;
}

std::string ValorCelda(std::string_view valor)
{
    if (valor == "NULL")
        return {};
    std::string texto(valor);
    CambiaCaracterLen(texto, '\x01', '&');
    CambiaCaracterLen(texto, '\x02', '=');
    return texto;
}

std::string CuentaConGuiones(std::string_view cuenta)
{
    if (cuenta == "NULL")
        return {};
    std::string texto;
    size_t desde = 0;
    for (size_t largo : {4, 4, 2, 10}) {
        if (desde >= cuenta.size())
            break;
        if (desde > 0)
            texto += '-';
        texto += cuenta.substr(desde, largo);
        desde += largo;
    }
    return texto;
}
