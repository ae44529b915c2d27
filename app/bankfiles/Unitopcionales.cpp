// The bill detail window.
#include "Unitopcionales.h"

#include "Controles.h"
#include "Unithistoricos.h"
#include "qcp1252.h"

#include <QFontDatabase>
#include <QHeaderView>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kFilas = 8;
constexpr size_t kPieza = 40;

} // namespace

std::array<std::string, 8> FilasRecibo(std::string_view ruta, long long posicion, int formato)
{
    std::array<std::string, 2 * kFilas> piezas;
    std::array<bool, 2 * kFilas> hay{};
    auto pon = [&](int n, std::string texto) {
        piezas[size_t(n)] = std::move(texto);
        hay[size_t(n)] = true;
    };
    LectorCSB lector(ruta);
    std::string linea = lector.Lee(posicion);
    if (!linea.empty())
        pon(0, CampoCSB(linea, 115, kPieza));
    const char *codigo = formato == 1 ? "68" : "67";
    while (!linea.empty() && lector.Siguiente(linea) && linea.size() >= 4 && linea.compare(1, 2, codigo) == 0) {
        const int n = linea[3] - '0';
        if (n < 1 || n > 6)
            break;
        if (n == 6)
            continue;
        pon(3 * n - 2, CampoCSB(linea, 29, kPieza));
        pon(3 * n - 1, CampoCSB(linea, 69, kPieza));
        pon(3 * n, CampoCSB(linea, 109, kPieza));
    }
    std::array<std::string, kFilas> filas;
    for (size_t r = 0; r < filas.size(); ++r) {
        if (hay[2 * r + 1])
            filas[r] = (hay[2 * r] ? piezas[2 * r] : std::string(kPieza, ' ')) + piezas[2 * r + 1];
        else if (hay[2 * r])
            filas[r] = piezas[2 * r];
    }
    return filas;
}

TFRMOpcion::TFRMOpcion(TFRMHistoricos *visor)
    : QDialog(visor, Qt::Tool | Qt::WindowStaysOnTopHint),
      Grid1(new QTableWidget(kFilas, 1, this)),
      m_visor(visor)
{
    setObjectName(QStringLiteral("FRMOpcion"));
    setModal(false);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->horizontalHeader()->hide();
    Grid1->verticalHeader()->hide();
    Grid1->setShowGrid(false);
    Grid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Grid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid1->setSelectionMode(QAbstractItemView::NoSelection);
    Grid1->setFocusPolicy(Qt::NoFocus);
    Grid1->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const QFontMetrics medidas(Grid1->font());
    const int alto = medidas.height() + 2;
    const int ancho = medidas.horizontalAdvance(QString(2 * kPieza, QLatin1Char('M'))) + 8;
    Grid1->verticalHeader()->setDefaultSectionSize(alto);
    Grid1->setColumnWidth(0, ancho);
    Grid1->setFixedSize(ancho + 2 * Grid1->frameWidth(), kFilas * alto + 2 * Grid1->frameWidth());
    auto *todo = new QVBoxLayout(this);
    todo->setContentsMargins(0, 0, 0, 0);
    todo->addWidget(Grid1);
    todo->setSizeConstraint(QLayout::SetFixedSize);
    for (int r = 0; r < kFilas; ++r)
        Grid1->setItem(r, 0, new QTableWidgetItem);
}

void TFRMOpcion::SetDatosRecibo(const std::string &ruta, long long posicion, int linea)
{
    m_ruta = ruta;
    m_posicion = posicion;
    m_linea = linea;
}

void TFRMOpcion::CargaRecibo()
{
    const std::array<std::string, kFilas> filas = FilasRecibo(m_ruta, m_posicion, m_visor->Formato());
    for (int r = 0; r < kFilas; ++r)
        Grid1->item(r, 0)->setText(cp1252::toQString(filas[size_t(r)]));
}

void TFRMOpcion::showEvent(QShowEvent *evento)
{
    QDialog::showEvent(evento);
    if (!evento->spontaneous()) {
        FormShow();
        CargaRecibo();
    }
}

void TFRMOpcion::hideEvent(QHideEvent *evento)
{
    QDialog::hideEvent(evento);
    if (!evento->spontaneous())
        FormClose();
}

void TFRMOpcion::FormShow()
{
    m_visor->BTNRecibo->setEnabled(false);
    setWindowTitle(QStringLiteral("  ") + Rotulo(69));
}

void TFRMOpcion::FormClose()
{
    m_visor->BTNRecibo->setEnabled(m_visor->Modelo->GetNivel() == TModeloCSB::Recibos);
}
