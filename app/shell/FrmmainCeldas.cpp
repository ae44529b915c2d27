// In-place editing of a bill's amount (bills grid, column 5) and of a batch's description
// (batches grid, column 3): cell mode, the editor, the save with its lock check, and the
// keys and hints of both grids.
#include "Frmmain.h"

#include "Aplicacion.h"
#include "Controles.h"
#include "Frmmsg.h"
#include "General.h"
#include "ModeloRecibos.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "qcp1252.h"
#include "regional.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTableView>
#include <QTableWidget>
#include <QToolTip>
#include <QTreeWidget>

namespace {

constexpr int kColImporte = TModeloRecibos::ColImporte;
constexpr int kColDescripcion = 3;
constexpr int kMaxDescripcion = 50;

std::string Texto(int n)
{
    return Idioma.GetTexto(n);
}

// A screen amount ("1.234,50") in the user's separators as the editor shows it: no grouping.
std::string ImporteParaEditar(std::string texto, const std::string &moneda)
{
    std::erase(texto, regional::thousandsSeparator());
    std::replace(texto.begin(), texto.end(), regional::decimalSeparator(), '.');
    texto = FormatImporteSQL(texto, moneda);
    std::replace(texto.begin(), texto.end(), '.', regional::decimalSeparator());
    return texto;
}

// The drawing of the grid plus its cell editor, which only the window commits.
class TEditaCelda : public TPintaCelda {
public:
    TEditaCelda(TipoGrid tipo, TFormMain *ventana, QTableView *grid)
        : TPintaCelda(tipo, grid), m_ventana(ventana), m_grid(grid)
    {
    }

    QWidget *createEditor(QWidget *padre, const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        auto *editor = new QLineEdit(padre);
        editor->setFrame(false);
        if (m_grid == m_ventana->lstGridDocumentos)
            connect(editor, &QLineEdit::textChanged, editor,
                    [this, editor] { SenalaImporte(editor, m_ventana->MonedaRemesa); });
        else
            editor->setMaxLength(kMaxDescripcion);
        editor->installEventFilter(const_cast<TEditaCelda *>(this));
        return editor;
    }

    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        auto *linea = static_cast<QLineEdit *>(editor);
        if (linea->property("preparado").toBool())
            return;
        linea->setProperty("preparado", true);
        linea->setText(index.data().toString());
        connect(linea, &QLineEdit::textChanged, m_ventana,
                [this](const QString &texto) { m_ventana->lstGridDocumentosSetEditText(cp1252::fromQString(texto)); });
    }

    // Committed only by the window's save.
    void setModelData(QWidget *, QAbstractItemModel *, const QModelIndex &) const override {}

    bool eventFilter(QObject *objeto, QEvent *evento) override
    {
        if (evento->type() == QEvent::KeyPress) {
            const int tecla = static_cast<QKeyEvent *>(evento)->key();
            switch (tecla) {
            case Qt::Key_Return:
            case Qt::Key_Enter:
            case Qt::Key_Escape:
                m_ventana->TeclaCelda(m_grid, tecla);
                return true;
            case Qt::Key_Tab:
            case Qt::Key_Backtab:
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
                return true;
            default:
                return false;
            }
        }
        if (evento->type() == QEvent::FocusOut) {
            const auto razon = static_cast<QFocusEvent *>(evento)->reason();
            QWidget *foco = QApplication::focusWidget();
            const bool fuera = foco && foco != objeto && !m_grid->isAncestorOf(foco) && foco != m_grid;
            if (fuera && razon != Qt::ActiveWindowFocusReason && razon != Qt::PopupFocusReason
                && !QApplication::activeModalWidget())
                m_ventana->SalidaGrid(m_grid);
            return false;
        }
        return false;
    }

private:
    TFormMain *m_ventana;
    QTableView *m_grid;
};

} // namespace

// ---- Cell mode ----

bool TFormMain::SeleccionSimple(const QTableView *grid)
{
    return grid->selectionBehavior() == QAbstractItemView::SelectItems;
}

void TFormMain::PreparaEdicionCeldas()
{
    lstGridDocumentos->setItemDelegate(new TEditaCelda(GridRecibos, this, lstGridDocumentos));
    lstGridRemesas->setItemDelegate(new TEditaCelda(GridRemesas, this, lstGridRemesas));
    for (QTableView *grid : std::initializer_list<QTableView *>{lstGridDocumentos, lstGridRemesas})
        grid->viewport()->setMouseTracking(true);
}

QLineEdit *TFormMain::EditorCelda(QTableView *grid) const
{
    if (!EdicionCelda.Pendiente() || !grid->isPersistentEditorOpen(grid->model()->index(EdicionCelda.Fila - 1, EdicionCelda.Columna)))
        return nullptr;
    return qobject_cast<QLineEdit *>(
        grid->indexWidget(grid->model()->index(EdicionCelda.Fila - 1, EdicionCelda.Columna)));
}

void TFormMain::EntraModoCelda(QTableView *grid, int fila, int columna)
{
    const QModelIndex celda = grid->model()->index(fila - 1, columna);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->selectionModel()->setCurrentIndex(celda, QItemSelectionModel::ClearAndSelect);
    std::string texto = cp1252::fromQString(celda.data().toString());
    std::string id = cp1252::fromQString(grid->model()->index(fila - 1, 0).data().toString());
    if (grid == lstGridDocumentos) {
        // The amount without grouping, with the user's decimal separator.
        texto = ImporteParaEditar(texto, MonedaRemesa);
        ModeloRecibos->SetCelda(fila - 1, columna, texto);
        id = std::to_string(ModeloRecibos->IdFila(fila - 1));
    }
    TextoAntesEdicion = cp1252::fromQString(celda.data().toString());
    EdicionCelda = {texto, "", columna, fila, true, id};
    grid->openPersistentEditor(celda);
    if (QLineEdit *editor = EditorCelda(grid)) {
        editor->setFocus();
        editor->selectAll();
    }
}

void TFormMain::lstGridDocumentosSetEditText(const std::string &texto)
{
    EdicionCelda.TextoEditado = texto;
    EdicionCelda.Cambiada = true;
}

void TFormMain::SalirModoCelda(QTableView *grid)
{
    const QModelIndex actual = grid->currentIndex();
    for (int fila = 0; fila < grid->model()->rowCount(); ++fila)
        for (int columna : {kColImporte, kColDescripcion})
            if (grid->isPersistentEditorOpen(grid->model()->index(fila, columna)))
                grid->closePersistentEditor(grid->model()->index(fila, columna));
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    if (actual.isValid())
        grid->selectionModel()->setCurrentIndex(grid->model()->index(actual.row(), 0),
                                                QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    SafeSetFocus(grid);
}

void TFormMain::TerminaEdicion(QTableView *grid)
{
    EdicionCelda = STREdicionCelda();
    SalirModoCelda(grid);
}

// The text of the cell being edited: the editor's while it shows.
std::string TFormMain::TextoCeldaEditada(QTableView *grid) const
{
    if (QLineEdit *editor = EditorCelda(grid))
        return cp1252::fromQString(editor->text());
    return cp1252::fromQString(grid->model()->index(EdicionCelda.Fila - 1, EdicionCelda.Columna).data().toString());
}

void TFormMain::PonTextoCelda(QTableView *grid, const std::string &texto)
{
    if (QLineEdit *editor = EditorCelda(grid)) {
        const QSignalBlocker bloqueo(editor);
        editor->setText(cp1252::toQString(texto));
    }
    if (grid == lstGridDocumentos)
        ModeloRecibos->SetCelda(EdicionCelda.Fila - 1, EdicionCelda.Columna, texto);
    else if (QTableWidgetItem *item = lstGridRemesas->item(EdicionCelda.Fila - 1, EdicionCelda.Columna))
        item->setText(cp1252::toQString(texto));
}

bool TFormMain::EdicionCambiada() const
{
    return (!EdicionCelda.TextoAnterior.empty() && EdicionCelda.TextoAnterior != EdicionCelda.TextoEditado)
           || EdicionCelda.Cambiada;
}

// Saves the pending edit (an empty amount counts as 0); true when it ended.
bool TFormMain::GuardaEdicion(QTableView *grid)
{
    if (!EdicionCelda.Pendiente())
        return true;
    std::string texto = TextoCeldaEditada(grid);
    if (grid == lstGridDocumentos && texto.empty())
        texto = "0";
    if (!GuardaCelda(texto, EdicionCelda.Columna, EdicionCelda.Fila))
        return false;
    TerminaEdicion(grid);
    return true;
}

void TFormMain::TeclaCelda(QTableView *grid, int tecla)
{
    ComandoEnCurso comando(this);
    if (tecla == Qt::Key_Escape) {
        if (EdicionCelda.Pendiente() && TextoCeldaEditada(grid) != EdicionCelda.TextoAnterior)
            PonTextoCelda(grid, EdicionCelda.TextoAnterior);
        else
            TerminaEdicion(grid);
        return;
    }
    if (EdicionCelda.Pendiente() && !EdicionCambiada())
        return;
    GuardaEdicion(grid);
}

bool TFormMain::TecleaEnRecibo(const QKeyEvent &tecla)
{
    const QString texto = tecla.text();
    const bool escribe = !texto.isEmpty() && texto.at(0).isPrint()
                         && !(tecla.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (SeleccionSimple(lstGridDocumentos) || (tecla.key() != Qt::Key_F2 && !escribe))
        return false;
    const bool importe = !escribe || (texto.size() == 1 && (texto.at(0).isDigit() || texto == u"," || texto == u"."));
    if (const int fila = FilaActualRecibos(); fila > 0 && importe && !m_ocupado) {
        EntraModoCelda(lstGridDocumentos, fila, kColImporte);
        if (QLineEdit *editor = EditorCelda(lstGridDocumentos); editor && escribe)
            editor->insert(texto);
    }
    return true;
}

void TFormMain::SalidaGrid(QTableView *grid)
{
    if (m_guardandoCelda || !EdicionCelda.Pendiente())
        return;
    ComandoEnCurso comando(this);
    GuardaEdicion(grid);
}

// ---- Saving ----

bool TFormMain::GuardaCelda(const std::string &texto, int columna, int fila)
{
    if (fila < 1)
        return false;
    m_guardandoCelda = true;
    bool terminada = true;
    if (!panelGrdDocumentos->isHidden())
        terminada = columna != kColImporte || GuardaImporte(texto, fila);
    else if (!panelGrdRemesas->isHidden())
        terminada = columna != kColDescripcion || GuardaDescripcion(texto, fila);
    m_guardandoCelda = false;
    return terminada;
}

bool TFormMain::GuardaImporte(const std::string &texto, int fila)
{
    const std::string id = EdicionCelda.Id.empty() ? std::to_string(ModeloRecibos->IdFila(fila - 1)) : EdicionCelda.Id;
    const std::string moneda = MonedaRemesa;
    auto rechaza = [&](int mensaje) {
        CajaMensaje(Texto(mensaje), Texto(6), IconoMensaje::Informacion);
        PonTextoCelda(lstGridDocumentos, EdicionCelda.TextoAnterior);
        return true;
    };
    if (App().Multiuser && App().Multiuser->GetBloqueoDocumento(Numero(id)) > 0)
        return rechaza(642);

    // An amount that does not read keeps its text; a zero one gets the old amount back.
    const ImporteTecleado leido = LeeImporteTecleado(texto, moneda);
    const bool cero = leido.Rechazo == 0 && leido.SQL.find_first_of("123456789") == std::string::npos;
    if (leido.Rechazo != 0 || cero) {
        CajaMensaje(Texto(cero ? 203 : leido.Rechazo), Texto(1), IconoMensaje::Error);
        if (cero || leido.Rechazo == 203)
            PonTextoCelda(lstGridDocumentos, EdicionCelda.TextoAnterior);
        return false;
    }
    const std::string &importe = leido.SQL;

    const std::string contravalor = GetContravalor(importe, moneda);
    int filas = 0;
    const std::string error = DBExecSQL(
        FormateaTexto("UPDATE OR FAIL [Documentos()] SET %s WHERE [Documentos()].Id_documento = %s AND Block<1;",
                      "[Documentos()].Importe=" + importe + ", [Documentos()].Contravalor=" + contravalor, id),
        filas);
    if (!error.empty() || filas == 0)
        return rechaza(642);
    PonTextoCelda(lstGridDocumentos, FormatImporte(importe, moneda));
    ModeloRecibos->SetCelda(fila - 1, TModeloRecibos::ColContravalor, FormatContravalor(importe, moneda));
    QTreeWidgetItem *nodo = NodoSeleccionado();
    if (nodo)
        ActualizaTotalesRemesa(Numero(IdNodo(nodo)));
    ActualizaPanelInfo();
    InicIndiceRecibos();
    if (nodo && App().Multiuser)
        App().Multiuser->NotificaActualizacion(NIVEL_DOCUMENTOS, Numero(IdNodo(nodo)));
    return true;
}

bool TFormMain::GuardaDescripcion(const std::string &texto, int fila)
{
    const std::string id =
        EdicionCelda.Id.empty() ? cp1252::fromQString(lstGridRemesas->item(fila - 1, 0)->text()) : EdicionCelda.Id;
    auto restaura = [&](int mensaje, int titulo) {
        CajaMensaje(Texto(mensaje), Texto(titulo), IconoMensaje::Informacion);
        PonTextoCelda(lstGridRemesas, TextoAntesEdicion);
    };
    if (App().Multiuser && App().Multiuser->GetBloqueoRemesa(Numero(id)) > 0) {
        restaura(643, 6);
        return true;
    }
    if (Recorta(texto).empty()) {
        restaura(195, 196);
        return false;
    }
    const std::string limpio = LimpiaTexto(texto);
    int filas = 0;
    const std::string error =
        DBExecSQL(FormateaTexto("UPDATE OR FAIL [Remesas()] SET %s WHERE [Remesas()].Id_remesa = %s  AND Block<1;",
                                "[Remesas()].Descripcion='" + DoblaComillas(limpio) + "' ", id),
                  filas);
    if (!error.empty() || filas == 0) {
        restaura(643, 6);
        return true;
    }
    PonTextoCelda(lstGridRemesas, limpio);
    SetTextoNodo(id, limpio);
    if (QTreeWidgetItem *nodo = NodoSeleccionado(); nodo && App().Multiuser)
        App().Multiuser->NotificaActualizacion(NIVEL_REMESAS, Numero(IdNodo(nodo)));
    return true;
}

// ---- Keys ----

bool TFormMain::TeclaRecibosCelda(int tecla)
{
    const bool celda = SeleccionSimple(lstGridDocumentos);
    switch (tecla) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (celda && EdicionCelda.Pendiente()) {
            if (EdicionCambiada())
                GuardaEdicion(lstGridDocumentos);
        } else if (!celda && cbtModificacion->isEnabled()) {
            cbtModificacion->trigger();
        }
        return true;
    case Qt::Key_Escape:
        TeclaCelda(lstGridDocumentos, tecla);
        return true;
    case Qt::Key_Insert:
        if (!celda && cbtAlta->isEnabled())
            cbtAlta->trigger();
        return true;
    case Qt::Key_Delete:
        if (!celda && cbtBaja->isEnabled()) {
            cbtBaja->trigger();
            ActualizaPanelInfo();
        }
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Tab:
    case Qt::Key_Home:
    case Qt::Key_End:
        return celda; // in cell mode only the amount column
    default:
        return false;
    }
}

bool TFormMain::lstGridRemesasKeyDown(int tecla)
{
    const bool celda = SeleccionSimple(lstGridRemesas);
    switch (tecla) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!celda || EdicionCelda.Columna < 1 || EdicionCelda.Fila < 1) {
            if (!celda && cbtModificacion->isEnabled())
                cbtModificacion->trigger();
        } else if (EdicionCambiada()) {
            GuardaEdicion(lstGridRemesas);
        }
        return true;
    case Qt::Key_Escape:
        TeclaCelda(lstGridRemesas, tecla);
        return true;
    case Qt::Key_Down: {
        const QModelIndexList filas = lstGridRemesas->selectionModel()->selectedRows();
        const bool ultima = filas.size() == 1 && filas.first().row() == lstGridRemesas->rowCount() - 1;
        if (ultima && !celda && cbtAlta->isEnabled()) {
            cbtAlta->trigger();
            return true;
        }
        return celda;
    }
    case Qt::Key_Insert:
        if (!celda && cbtAlta->isEnabled())
            cbtAlta->trigger();
        return true;
    case Qt::Key_Delete:
        if (!celda && cbtBaja->isEnabled())
            cbtBaja->trigger();
        return true;
    case Qt::Key_F2:
        if (const int fila = FilaSeleccion(lstGridRemesas); !celda && fila > 0)
            EntraModoCelda(lstGridRemesas, fila, kColDescripcion);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Tab:
        return celda;
    default:
        return false;
    }
}

// ---- Hints ----

void TFormMain::lstGridDocumentosMouseMove(const QPoint &punto)
{
    const QModelIndex celda = lstGridDocumentos->indexAt(punto);
    QString pista;
    Qt::CursorShape cursor = Qt::ArrowCursor;
    if (celda.isValid() && celda.column() == TModeloRecibos::ColEstado) {
        const QString estado = celda.data().toString();
        pista = estado == u"TRUE" ? QStringLiteral("Activado") : estado == u"FALSE" ? QStringLiteral("Desactivado") : QString();
    } else if (celda.isValid() && celda.column() == kColImporte) {
        cursor = Qt::PointingHandCursor;
    }
    lstGridDocumentos->viewport()->setCursor(cursor);
    lstGridDocumentos->viewport()->setToolTip(pista);
}

void TFormMain::lstGridRemesasMouseMove(const QPoint &punto)
{
    const QModelIndex celda = lstGridRemesas->indexAt(punto);
    QString pista;
    Qt::CursorShape cursor = Qt::ArrowCursor;
    const QString valor = celda.isValid() ? celda.data().toString() : QString();
    if (celda.isValid() && celda.column() == 1) {
        pista = valor == u"ESP" ? QStringLiteral("Peseta") : valor == u"EUR" ? QStringLiteral("Euro") : QString();
    } else if (celda.isValid() && celda.column() == 2) {
        const bool generada = valor != u"NULL";
        pista = cp1252::toQString(generada ? Texto(197) + cp1252::fromQString(valor) : Texto(198));
        if (generada)
            cursor = Qt::PointingHandCursor;
    } else if (celda.isValid() && celda.column() == kColDescripcion) {
        cursor = Qt::PointingHandCursor;
    }
    lstGridRemesas->viewport()->setCursor(cursor);
    lstGridRemesas->viewport()->setToolTip(pista);
}
