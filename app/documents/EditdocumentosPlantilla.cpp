// The bill editor's template page: the batch's concept template laid out from the memo,
// its total and text applied to the amount and the memo, or dropped.
#include "Editdocumentos.h"

#include "Aplicaplantillas.h"
#include "Controles.h"
#include "General.h"
#include "Modmas.h"
#include "itemproto.h"
#include "qcp1252.h"
#include "regional.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <cstdio>
#include <cstdlib>

namespace {

// The largest total the amount box takes, in pesetas or in cents: 10 digits of pesetas,
// 8 integer digits of euros.
constexpr long long kMaxUnidades = 9999999999LL;
// The page's panel: cells of 10 x 20 pixels.
constexpr int kAnchoPanel = 810;
constexpr int kAltoPanel = 170;

} // namespace

void TFormEditDocumentos::CreaPaginaPlantilla()
{
    tabPlantilla = new QWidget;
    panelPlantilla = new QWidget(tabPlantilla);
    panelPlantilla->setObjectName(QStringLiteral("panelPlantilla"));
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::Monospace);
    panelPlantilla->setFont(courier);
    panelPlantilla->setFixedSize(kAnchoPanel, kAltoPanel);
    cbtOkData = new QPushButton(QStringLiteral("&Aplicar"), tabPlantilla);
    cbtCancelData = new QPushButton(QStringLiteral("&Cancelar"), tabPlantilla);
    auto *botones = new QHBoxLayout;
    botones->addStretch(1);
    botones->addWidget(cbtOkData);
    botones->addWidget(cbtCancelData);
    auto *pagina = new QVBoxLayout(tabPlantilla);
    pagina->addWidget(panelPlantilla);
    pagina->addStretch(1);
    pagina->addLayout(botones);
    tabGeneral->addTab(tabPlantilla, QStringLiteral("Plantilla"));
    connect(tabGeneral, &QTabWidget::currentChanged, this, &TFormEditDocumentos::tabGeneralChange);
    connect(cbtOkData, &QPushButton::clicked, this, &TFormEditDocumentos::cbtOkDataClick);
    connect(cbtCancelData, &QPushButton::clicked, this, &TFormEditDocumentos::cbtCancelDataClick);
}

int TFormEditDocumentos::PlantillaRemesa() const
{
    const std::string &id = m_documento.Id_plantilla;
    char *fin = nullptr;
    const long n = std::strtol(id.c_str(), &fin, 10);
    return id.empty() || *fin ? -1 : int(n);
}

std::string TFormEditDocumentos::PaginaConcepto() const
{
    const QStringList lineas = memoConceptos->toPlainText().split(QLatin1Char('\n'));
    std::string pagina;
    for (int i = 0; i < ITEM_CONCEPT_ROWS; ++i) {
        char linea[ITEM_CONCEPT_COLS + 1];
        std::snprintf(linea, sizeof linea, "%-80.80s", i < lineas.size() ? cp1252::fromQString(lineas[i]).c_str() : "");
        pagina += linea;
    }
    return pagina;
}

void TFormEditDocumentos::CargaConcepto(const std::string &concepto)
{
    QStringList lineas;
    for (size_t i = 0; i < concepto.size(); i += ITEM_CONCEPT_COLS) {
        std::string linea = concepto.substr(i, ITEM_CONCEPT_COLS);
        linea.erase(linea.find_last_not_of(' ') + 1);
        lineas << cp1252::toQString(linea);
    }
    while (!lineas.isEmpty() && lineas.back().isEmpty())
        lineas.removeLast();
    memoConceptos->setPlainText(lineas.join(QLatin1Char('\n')));
}

void TFormEditDocumentos::tabGeneralChange(int indice)
{
    if (tabGeneral->widget(indice) != tabPlantilla) {
        // Leaving the page without Aplicar drops what was typed on it.
        LiberaPlantilla();
        return;
    }
    SetEuroPlantillas(m_documento.Id_moneda == kMonedaEuros);
    AplicaPlantilla(panelPlantilla, PlantillaRemesa(), PaginaConcepto());
}

void TFormEditDocumentos::cbtOkDataClick()
{
    // Without a total item the amount stays as typed.
    if (std::string numero = GetTotalPlantilla(); !numero.empty()) {
        const std::string &moneda = m_documento.Id_moneda;
        CambiaCaracterLen(numero, regional::decimalSeparator(), '.');
        long long unidades = 0;
        switch (LeeImporteSQL(numero, moneda == kMonedaEuros ? 2 : 0, unidades)) {
        case LecturaImporte::Correcta:
            break;
        case LecturaImporte::DemasiadoGrande:
            unidades = kMaxUnidades + 1;
            break;
        default:
            numero = "0";
            unidades = 0;
            break;
        }
        if (unidades > kMaxUnidades) {
            AvisoTexto(169, 1, IconoMensaje::Error);
            return;
        }
        std::string importe = FormatImporteSQL(numero, moneda);
        const std::string contravalor = FormatContravalor(importe, moneda);
        CambiaCaracterLen(importe, '.', regional::decimalSeparator());
        PonTextoCaja(txtImporte, importe);
        txtImporte->setStyleSheet(QString());
        PonTextoCaja(txtContravalor, contravalor);
    }
    CargaConcepto(ComponeTextoPlantilla(true));
    tabGeneral->setCurrentWidget(tabRecibo);
}

void TFormEditDocumentos::cbtCancelDataClick()
{
    ComponeTextoPlantilla(false);
    tabGeneral->setCurrentWidget(tabRecibo);
}
