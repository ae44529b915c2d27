// The template editor's sample grid: opening a sample, marking zones with the mouse and
// the arrow keys, and the zone edits (TXTLinea, TXTDesde, TXTTam) that follow the marking
// and, when typed in a dialog, move it.
#include "Unidefinirimport.h"

#include "Aplicacion.h"
#include "Controles.h"
#include "General.h"
#include "ModeloMuestra.h"
#include "Unialtacampo.h"
#include "Unialtalinea.h"
#include "qcp1252.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <climits>

namespace {

// Marked cells are shown only on the current sample line: white on blue.
class DelegadoMuestra : public QStyledItemDelegate {
public:
    DelegadoMuestra(const TFRMDefinirimport *editor, QObject *parent)
        : QStyledItemDelegate(parent), m_editor(editor)
    {
    }

    void paint(QPainter *pintor, const QStyleOptionViewItem &opcion, const QModelIndex &index) const override
    {
        if ((opcion.state & QStyle::State_Selected) && index.row() + 1 == m_editor->LineaActual()) {
            pintor->fillRect(opcion.rect, QColor(Qt::blue));
            pintor->setPen(QColor(Qt::white));
            pintor->setFont(opcion.font);
            pintor->drawText(opcion.rect, Qt::AlignCenter, index.data().toString());
            return;
        }
        QStyleOptionViewItem sinMarca(opcion);
        sinMarca.state &= ~QStyle::State_Selected;
        QStyledItemDelegate::paint(pintor, sinMarca, index);
    }

private:
    const TFRMDefinirimport *m_editor;
};

bool EsFlecha(int tecla)
{
    return tecla == Qt::Key_Left || tecla == Qt::Key_Up || tecla == Qt::Key_Right || tecla == Qt::Key_Down;
}

} // namespace

void TFRMDefinirimport::PreparaRejilla()
{
    QFont letra = Grid->font();
    letra.setBold(true);
    Grid->setFont(letra);
    Grid->setItemDelegate(new DelegadoMuestra(this, Grid));
    // The view paints no selection of its own: the delegate marks the current line's cells.
    QPalette paleta = Grid->palette();
    paleta.setBrush(QPalette::Highlight, paleta.base());
    paleta.setBrush(QPalette::HighlightedText, paleta.text());
    Grid->setPalette(paleta);
    Grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setWordWrap(false);
    const QFontMetrics medida(letra);
    Grid->horizontalHeader()->setMinimumSectionSize(4);
    Grid->horizontalHeader()->setDefaultSectionSize(medida.horizontalAdvance(QStringLiteral("888")) + 6);
    Grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    Grid->verticalHeader()->setDefaultSectionSize(medida.height() + 4);
    Grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    const QString cabecera = QStringLiteral("QHeaderView::section { background-color: silver; color: black; }");
    Grid->horizontalHeader()->setStyleSheet(cabecera);
    Grid->verticalHeader()->setStyleSheet(cabecera);
    Grid->viewport()->installEventFilter(this);
    Grid->installEventFilter(this);
    connect(Grid->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TFRMDefinirimport::GridCambio);
    connect(Grid->selectionModel(), &QItemSelectionModel::currentChanged, this, &TFRMDefinirimport::GridCambio);
}

void TFRMDefinirimport::BTNAbrirClick()
{
    const std::string fichero = EligeFichero(528, "*.txt");
    if (fichero.empty())
        return;
    LBLArchivo->setText(Rotulo(496) + cp1252::toQString(fichero));
    bool cargada = false;
    {
        CursorEspera cursor;
        cargada = Muestra->Carga(fichero);
    }
    if (!cargada)
        return;
    for (QPushButton *b : {BTNAbrirusuario, BTNNuevatabla, BTNAceptar, BTNOpciones})
        b->setEnabled(true);
    if (Muestra->Cortado())
        AvisoTexto(987, 6, IconoMensaje::Informacion);
    PonZona(NumeroCaja(TXTLinea), NumeroCaja(TXTDesde), NumeroCaja(TXTTam));
}

bool TFRMDefinirimport::eventFilter(QObject *objeto, QEvent *evento)
{
    if (objeto == Grid->viewport()) {
        if (evento->type() == QEvent::MouseButtonPress)
            GridMouseDown(static_cast<QMouseEvent *>(evento)->position().toPoint());
        else if (evento->type() == QEvent::MouseButtonRelease)
            m_arrastrando = false;
    } else if (objeto == Grid && (evento->type() == QEvent::KeyPress || evento->type() == QEvent::KeyRelease)) {
        const auto *tecla = static_cast<QKeyEvent *>(evento);
        if (EsFlecha(tecla->key()) && !(tecla->modifiers() & Qt::ShiftModifier)) {
            m_teclas = evento->type() == QEvent::KeyPress;
            Grid->viewport()->update();
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

// The view selects the cell under the mouse and extends the selection while it moves;
// the zone stays on the row where the marking began.
void TFRMDefinirimport::GridMouseDown(const QPoint &punto)
{
    if (m_arrastrando)
        return;
    const QModelIndex celda = Grid->indexAt(punto);
    if (!celda.isValid())
        return;
    m_arrastrando = true;
    m_linea = celda.row() + 1;
}

void TFRMDefinirimport::GridCambio()
{
    if (m_zona)
        return;
    if (m_teclas && Grid->currentIndex().isValid())
        m_linea = Grid->currentIndex().row() + 1;
    ActualizarZona();
    Grid->viewport()->update();
}

void TFRMDefinirimport::ActualizarZona()
{
    const QItemSelection seleccion = Grid->selectionModel()->selection();
    if (seleccion.isEmpty())
        return;
    int izquierda = INT_MAX, derecha = -1;
    for (const QItemSelectionRange &r : seleccion) {
        izquierda = std::min(izquierda, r.left());
        derecha = std::max(derecha, r.right());
    }
    const int desde = izquierda + 1, tamano = derecha - izquierda + 1;
    m_zona = true;
    PonNumeroCaja(TXTLinea, m_linea);
    PonNumeroCaja(TXTDesde, desde);
    PonNumeroCaja(TXTTam, tamano);
    m_zona = false;
    if (TFRMAltaLinea *linea = App().FRMAltaLinea; linea && linea->isVisible()) {
        PonNumeroCaja(linea->TXTDesde, desde);
        PonNumeroCaja(linea->TXTTam, tamano);
        PonTextoCaja(linea->TXTValor, Muestra->Texto(m_linea, desde, tamano));
    } else if (TFRMAltaCampo *campo = App().FRMAltaCampo; campo && campo->isVisible()) {
        PonNumeroCaja(campo->TXTDesde, desde);
        PonNumeroCaja(campo->TXTTam, tamano);
        PonNumeroCaja(campo->TXTLinea, m_linea);
    }
}

void TFRMDefinirimport::PonZona(int linea, int desde, int tamano)
{
    m_zona = true;
    PonNumeroCaja(TXTLinea, linea);
    PonNumeroCaja(TXTDesde, desde);
    PonNumeroCaja(TXTTam, tamano);
    m_zona = false;
    TXTLineaChange(TXTLinea);
}

void TFRMDefinirimport::TXTLineaChange(QLineEdit *caja)
{
    if (m_zona)
        return;
    if (caja->text().toInt() <= 0) {
        caja->setText(QStringLiteral("1"));
        caja->selectAll();
        return;
    }
    const int linea = std::clamp(NumeroCaja(TXTLinea), 1, Muestra->Lineas());
    const int desde = std::clamp(NumeroCaja(TXTDesde), 1, Muestra->Columnas());
    const int tamano = std::clamp(NumeroCaja(TXTTam), 1, Muestra->Columnas() - desde + 1);
    m_zona = true;
    PonNumeroCaja(TXTLinea, linea);
    PonNumeroCaja(TXTDesde, desde);
    PonNumeroCaja(TXTTam, tamano);
    m_zona = false;
    if (m_arrastrando || m_teclas)
        return;
    m_linea = linea;
    SeleccionaZona(linea, desde, tamano);
    ActualizarZona();
}

void TFRMDefinirimport::SeleccionaZona(int linea, int desde, int tamano)
{
    const QModelIndex primera = Muestra->index(linea - 1, desde - 1);
    m_zona = true;
    Grid->selectionModel()->setCurrentIndex(primera, QItemSelectionModel::NoUpdate);
    Grid->selectionModel()->select(QItemSelection(primera, Muestra->index(linea - 1, desde + tamano - 2)),
                                   QItemSelectionModel::ClearAndSelect);
    m_zona = false;
    Grid->scrollTo(primera);
    Grid->viewport()->update();
}
