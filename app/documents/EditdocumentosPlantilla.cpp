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

// The page's panel: cells of 10 x 20 pixels.
constexpr int kAnchoPanel = 810;
constexpr int kAltoPanel = 170;

// The amount items' boxes laid out on the panel (totals and percentages are disabled).
QList<QLineEdit *> CajasImporte(const QWidget *panel)
{
    QList<QLineEdit *> cajas;
    for (QLineEdit *caja : panel->findChildren<QLineEdit *>())
        if (caja->isEnabled())
            cajas << caja;
    return cajas;
}

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
    for (QLineEdit *caja : CajasImporte(panelPlantilla)) {
        SenalaImporte(caja, m_documento.Id_moneda);
        connect(caja, &QLineEdit::textChanged, this, [this, caja] { SenalaImporte(caja, m_documento.Id_moneda); });
    }
}

void TFormEditDocumentos::cbtOkDataClick()
{
    for (QLineEdit *caja : CajasImporte(panelPlantilla))
        if (!CompruebaImporte(caja, m_documento.Id_moneda))
            return;
    // Without a total item the amount stays as typed; a total that does not read counts 0.
    if (const std::string total = GetTotalPlantilla(); !total.empty()) {
        const std::string &moneda = m_documento.Id_moneda;
        const ImporteTecleado leido = LeeImporteTecleado(total, moneda);
        if (leido.Rechazo == 425 || leido.Rechazo == 426) {
            AvisoTexto(169, 1, IconoMensaje::Error);
            return;
        }
        std::string importe = leido.Rechazo == 0 ? leido.SQL : FormatImporteSQL("0", moneda);
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
