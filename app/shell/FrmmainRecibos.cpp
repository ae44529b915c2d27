// The grids' handlers: the bills' row marks by mouse and keys, the double clicks, the grids'
// enter and the events that fill the bills in view.
#include "Frmmain.h"

#include "General.h"
#include "ModeloRecibos.h"
#include "qcp1252.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QTreeWidget>

// ---- Wiring ----

void TFormMain::ConectaGrids()
{
    const std::pair<QTableView *, TipoGrid> grids[] = {
        {lstGridPresentadores, GridPresentadores},
        {lstGridEmisores, GridEmisores},
        {lstGridRemesas, GridRemesas},
        {lstGridDocumentos, GridRecibos},
    };
    for (const auto &[vista, tipo] : grids) {
        auto *cabecera = static_cast<TCabeceraGrid *>(vista->horizontalHeader());
        cabecera->Orden = [this, tipo = tipo](int columna) {
            return ColumnaAsc[tipo] == columna ? 1 : ColumnaDesc[tipo] == columna ? 2 : 0;
        };
        connect(cabecera, &QHeaderView::sectionPressed, this,
                [this, tipo = tipo](int columna) { OrdenaGrid(tipo, columna); });
        vista->installEventFilter(this);
        vista->viewport()->installEventFilter(this);
    }
    // The totals follow the selection whatever moved it: a click moves the current row
    // before the selection.
    connect(lstGridRemesas->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { lstGridRemesasClick(); });
    connect(lstGridDocumentos->verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { lstGridDocumentosTopLeftChanged(false); });
    panelRight->installEventFilter(this);
    PreparaEdicionCeldas();
}

bool TFormMain::eventFilter(QObject *objeto, QEvent *evento)
{
    ComandoEnCurso comando(this);
    const QEvent::Type tipo = evento->type();
    if (objeto == panelRight && tipo == QEvent::Resize) {
        panelRightResize();
    } else if (objeto == lstGridDocumentos->viewport()) {
        if (tipo == QEvent::Resize) {
            lstGridDocumentosTopLeftChanged(false); // panelGrdDocumentosResize
        } else if (tipo == QEvent::MouseMove) {
            lstGridDocumentosMouseMove(static_cast<QMouseEvent *>(evento)->position().toPoint());
        } else if (tipo == QEvent::MouseButtonPress && SeleccionSimple(lstGridDocumentos)) {
            // Leaving the amount being edited for another cell saves it first.
            if (static_cast<QMouseEvent *>(evento)->button() == Qt::LeftButton)
                SalidaGrid(lstGridDocumentos);
            return true;
        } else if (tipo == QEvent::MouseButtonPress || tipo == QEvent::MouseButtonDblClick) {
            // Only the left button acts; no other moves the current row.
            auto *raton = static_cast<QMouseEvent *>(evento);
            if (raton->button() != Qt::LeftButton)
                return true;
            PosRaton = raton->position().toPoint();
            lstGridDocumentos->setFocus(Qt::MouseFocusReason);
            if (tipo == QEvent::MouseButtonDblClick) {
                lstGridDocumentosDblClick();
            } else {
                const int fila = lstGridDocumentos->rowAt(PosRaton.y());
                if (fila >= 0)
                    lstGridDocumentosMouseDown(fila + 1, raton->modifiers());
                lstGridDocumentosClick();
            }
            return true;
        }
    } else if (objeto == lstGridRemesas->viewport()) {
        if (tipo == QEvent::MouseMove)
            lstGridRemesasMouseMove(static_cast<QMouseEvent *>(evento)->position().toPoint());
        if (tipo == QEvent::MouseButtonPress && SeleccionSimple(lstGridRemesas)) {
            SalidaGrid(lstGridRemesas);
            return true;
        }
        if (tipo == QEvent::MouseButtonPress)
            PosRaton = static_cast<QMouseEvent *>(evento)->position().toPoint();
        else if (tipo == QEvent::MouseButtonDblClick) {
            PosRaton = static_cast<QMouseEvent *>(evento)->position().toPoint();
            lstGridRemesasDblClick();
            return true;
        }
    } else if (objeto == lstGridDocumentos && tipo == QEvent::KeyPress) {
        auto *tecla = static_cast<QKeyEvent *>(evento);
        return TeclaRecibosCelda(tecla->key()) || lstGridDocumentosKeyDown(tecla->key(), tecla->modifiers()) ||
               TecleaEnRecibo(*tecla);
    } else if (objeto == lstGridRemesas && tipo == QEvent::KeyPress) {
        return lstGridRemesasKeyDown(static_cast<QKeyEvent *>(evento)->key());
    } else if (tipo == QEvent::MouseMove && (objeto == panelTitleEmpresas || objeto == panelTitleEmisores ||
                                             objeto == panelTitleRemesas || objeto == panelTitleRecibos)) {
        panelTitleEmpresasMouseMove();
    } else if (tipo == QEvent::FocusIn) {
        for (QTableWidget *grid : {lstGridPresentadores, lstGridEmisores, lstGridRemesas})
            if (objeto == grid)
                lstGridPresentadoresEnter(grid);
    }
    return QMainWindow::eventFilter(objeto, evento);
}

// ---- The bills grid's current row and marks ----

int TFormMain::FilaActualRecibos() const
{
    const QModelIndex actual = lstGridDocumentos->currentIndex();
    return actual.isValid() ? actual.row() + 1 : 0;
}

void TFormMain::SetFilaActualRecibos(int fila)
{
    QItemSelectionModel *seleccion = lstGridDocumentos->selectionModel();
    if (fila < 1 || fila > ModeloRecibos->rowCount()) {
        seleccion->clear();
        lstGridDocumentos->viewport()->update();
        return;
    }
    const int columna = std::max(1, lstGridDocumentos->currentIndex().column());
    const QModelIndex celda = ModeloRecibos->index(fila - 1, columna);
    seleccion->setCurrentIndex(celda, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    lstGridDocumentos->scrollTo(celda);
    lstGridDocumentos->viewport()->update();
}

void TFormMain::MueveARecibo(int fila)
{
    FilaGrid = fila;
    SetFilaActualRecibos(fila);
    ModeloRecibos->DesmarcaTodas();
    ModeloRecibos->Marca(fila - 1, true);
}

void TFormMain::lstGridDocumentosMouseDown(int fila, Qt::KeyboardModifiers teclas)
{
    if (m_ocupado || fila < 1 || fila > NumFilasRecibos)
        return;
    if (teclas & Qt::ControlModifier) {
        const bool marcar = !ModeloRecibos->Marcada(fila - 1);
        ModeloRecibos->Marca(fila - 1, marcar);
        SetFilaActualRecibos(marcar ? fila : 0);
    } else if (teclas & Qt::ShiftModifier) {
        ModeloRecibos->DesmarcaTodas();
        ModeloRecibos->MarcaRango(FilaGrid > 0 ? FilaGrid - 1 : fila - 1, fila - 1);
        SetFilaActualRecibos(fila);
    } else {
        MueveARecibo(fila);
    }
    ActualizaMenus(NodoSeleccionado());
}

bool TFormMain::lstGridDocumentosKeyDown(int tecla, Qt::KeyboardModifiers teclas)
{
    const bool control = teclas & Qt::ControlModifier;
    if (tecla == Qt::Key_Space) {
        const int actual = FilaActualRecibos();
        if (control && actual > 0 && !m_ocupado)
            ModeloRecibos->Marca(actual - 1, !ModeloRecibos->Marcada(actual - 1));
        lstGridDocumentos->viewport()->update();
        return true;
    }
    if (tecla == Qt::Key_Tab || tecla == Qt::Key_Backtab) {
        // From cell to cell of the bill, never on to another one.
        const int paso = tecla == Qt::Key_Backtab || (teclas & Qt::ShiftModifier) ? -1 : 1;
        int columna = lstGridDocumentos->currentIndex().column() + paso;
        while (columna >= 0 && columna < TModeloRecibos::NumColumnas && lstGridDocumentos->isColumnHidden(columna))
            columna += paso;
        return columna < 0 || columna >= TModeloRecibos::NumColumnas;
    }
    // The rows a key moves by: a page is the rows in view.
    const auto [primera, ultima] = FilasVisiblesRecibos();
    const int pagina = std::max(1, ultima - primera);
    int paso = 0;
    switch (tecla) {
    case Qt::Key_Down: paso = 1; break;
    case Qt::Key_Up: paso = -1; break;
    case Qt::Key_PageDown: paso = pagina; break;
    case Qt::Key_PageUp: paso = -pagina; break;
    case Qt::Key_End: paso = NumFilasRecibos; break;
    case Qt::Key_Home: paso = -NumFilasRecibos; break;
    default: return false;
    }
    if (m_ocupado || NumFilasRecibos == 0)
        return true;
    const int objetivo = std::clamp(FilaActualRecibos() + paso, 1, NumFilasRecibos);
    if (control) {
        SetFilaActualRecibos(objetivo);
    } else if (teclas & Qt::ShiftModifier) {
        ModeloRecibos->DesmarcaTodas();
        ModeloRecibos->MarcaRango(FilaGrid > 0 ? FilaGrid - 1 : objetivo - 1, objetivo - 1);
        SetFilaActualRecibos(objetivo);
    } else {
        MueveARecibo(objetivo);
    }
    return true;
}

void TFormMain::lstGridDocumentosClick()
{
    Inactividad.Reinicia();
}

// ---- Double clicks ----

void TFormMain::lstGridDocumentosDblClick()
{
    const QModelIndex celda = lstGridDocumentos->indexAt(PosRaton);
    PosRaton = QPoint(0, 0);
    if (!celda.isValid() || m_ocupado)
        return;
    const int columna = celda.column();
    if (SeleccionSimple(lstGridDocumentos)) {
        if (GuardaEdicion(lstGridDocumentos))
            SalirModoCelda(lstGridDocumentos);
    } else if (columna == TModeloRecibos::ColImporte) {
        EntraModoCelda(lstGridDocumentos, celda.row() + 1, columna);
        return;
    }
    if (columna != 1 && columna != 5 && cbtModificacion->isEnabled()) {
        SetFilaActualRecibos(celda.row() + 1);
        cbtModificacion->trigger();
    }
    if (columna == 1) {
        const std::string estado = ModeloRecibos->Celda(celda.row(), 1);
        if (estado == "TRUE" && cbtDeseleccionar->isEnabled())
            cbtDeseleccionar->trigger();
        else if (estado == "FALSE" && cbtSeleccionar->isEnabled())
            cbtSeleccionar->trigger();
    }
}

void TFormMain::lstGridRemesasDblClick()
{
    const QModelIndex celda = lstGridRemesas->indexAt(PosRaton);
    PosRaton = QPoint(0, 0);
    if (!celda.isValid() || m_ocupado)
        return;
    const int columna = celda.column();
    const QTableWidgetItem *generacion = lstGridRemesas->item(celda.row(), 2);
    if (SeleccionSimple(lstGridRemesas)) {
        if (GuardaEdicion(lstGridRemesas))
            SalirModoCelda(lstGridRemesas);
    } else if (columna == 2 && generacion && generacion->text() != QLatin1String("NULL")) {
        MuestraHistoricos(celda.row());
    } else if (columna == 3) {
        EntraModoCelda(lstGridRemesas, celda.row() + 1, columna);
        return;
    }
    if (columna != 2 && columna != 3 && cbtModificacion->isEnabled()) {
        lstGridRemesas->setCurrentCell(celda.row(), columna);
        cbtModificacion->trigger();
    }
}

// ---- Enter and layout ----

void TFormMain::lstGridPresentadoresEnter(QTableWidget *grid)
{
    if (FilasDatos(grid) > 0 && FilaSeleccion(grid) == 0)
        grid->setCurrentCell(0, 1);
    if (FilasDatos(grid) == 0 && treeInfoGlobal->isVisible())
        treeInfoGlobal->setFocus();
    if (QTreeWidgetItem *nodo = NodoSeleccionado())
        ActualizaMenus(nodo);
    if (FilaSeleccion(grid) == 0)
        Habilita({mainMenuModificacionesMasivas->menuAction(), cbtModMasivas}, false);
}

void TFormMain::panelRightResize()
{
    if (isVisible())
        AjustaColumnas();
}
