// The main window: the navigation tree of the logged-in company on the left, the grids of
// its records on the right, the menus and toolbar of the commands, and the program's life
// from the opening of its database to the exit.
//
// Texts are Windows-1252. Grid rows are numbered as the commands count them: row 0 is the
// title row (the header), data rows start at 1.
#pragma once

#include "Modmasivas.h"
#include "PintaGrids.h"
#include "Registros.h"

#include <QDate>
#include <QMainWindow>
#include <QPoint>
#include <QTimer>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

enum class FalloCopia;

class QAction;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QSplitter;
class QStatusBar;
class QTableView;
class QTableWidget;
class QToolBar;
class TModeloRecibos;
class QTreeWidget;
class QTreeWidgetItem;

// Levels of the navigation tree, as GetNivelNodo gives them.
enum NivelArbol { ArbolEmpresa = 0, ArbolPresentador = 1, ArbolEmisor = 2, ArbolRemesa = 3, ArbolOtro = 6 };

// Image indexes of the tree (imgListTreeView) and of the currency button.
enum ImagenTreeView {
    ImagenTVEmpresa = 0,
    ImagenTVPresentador = 1, // a presenter of neither order type
    ImagenTVEmisor = 2,
    ImagenTVRemesa = 3,
    ImagenTVCSB19 = 4,
    ImagenTVCSB58 = 5,
};
inline constexpr int kImagenEuros = 21;
inline constexpr int kImagenPesetas = 22;

// How long an open waits for a copy that holds the database alone (one starting, or the
// last one leaving): longer than the last copy's exit takes.
inline constexpr qint64 kEsperaRetenida = 20000; // ms

// The date of the euro changeover as the settings write it, "dd/mm/yyyy": a piece that is
// no number reads as day 1, month 1 or year 2002; an impossible date as 1 January 2002.
QDate LeeFechaEuro(std::string_view texto);

class TFormMain : public QMainWindow {
    Q_OBJECT

public:
    // Opens (or first rebuilds) the database, registers this running copy and reads the
    // settings; failures are shown in message boxes and recorded in ArranqueFallido.
    explicit TFormMain(QWidget *parent = nullptr);
    // Runs FormDestroy when nobody did.
    ~TFormMain() override;

    // ---- Settings of Orvanta.INI, read at construction ----
    std::string PathBD;
    QDate FechaEuro;
    int TiempoInactividad = 15; // minutes
    std::string UltimoFichero; // the send-file counter as read at start; its writer keeps the file
    std::string RutaCSB19, RutaCSB58, RutaHistorico;
    std::string STRImpCSB19, STRImpCSB58;
    std::string URLTelvirana, URLHelpFile, WWWBrowserEXEName;
    std::string Idioma; // the language's name

    // ---- State ----
    std::string IdEmpresa;    // the company in the tree, as text
    std::string MonedaRemesa; // "ESP" or "EUR": the currency of the batch in view
    // No database to work on: the program ends at its first show, after the message that
    // said why, without the login.
    bool ArranqueFallido = false;
    bool SaltarLogin = false;
    int FilaGrid = 0; // anchor row of the bills grid's marks (grid numbering: 0 none)
    // The presenters of each order type, as id texts; refilled by every tree rebuild.
    std::set<std::string> ListaCSB19, ListaCSB58;

    // ---- Life ----
    // The first show (and every show after a change of user) runs the login unless
    // SaltarLogin is set; a cancelled login ends the program.
    void FormShow();
    // Asks for confirmation; on Yes releases the locks and writes the settings back.
    // True when the window may close.
    bool FormClose();
    // The exit sequence: unregisters this copy, closes the template engine and the
    // database; the last copy out writes the database, compacted, into its scrambled copy
    // in one pass (showing that the program is closing when that takes more than a
    // moment), removes it and the logs. Runs once.
    void FormDestroy();
    // Ends the program from anywhere, modal windows included: every event loop returns and
    // the entry then runs FormDestroy. No confirmation, no settings written.
    void TerminaAplicacion();

    // The login made idEmpresa current: rebuilds the tree for it and hides the grids; with
    // no database open, closes the window (with its confirmation).
    void MuestraEmpresa(int idEmpresa);
    std::string GetPathBD() const { return PathBD; }
    // Releases this copy's selection and its login lock.
    void LiberaBloqueos();
    // Gives the grid panels the whole right side, lays out the columns, hides them.
    void ColocaPaneles();
    // The column widths of the first visible grid.
    void AjustaColumnas();

    // ---- Provinces ----
    void CargaProvincias();
    // The province name of a province code (the first two digits of a postcode); empty
    // when the code is unknown.
    std::string GetProvincia(std::string_view codigo) const;

    // ---- Navigation tree ----
    // Rebuilds the tree of the company idEmpresa (digits; any other text leaves it empty).
    // Afterwards the first node is current, nothing is selected and the tree has the
    // keyboard focus.
    void CargaArbol(const std::string &idEmpresa);
    // The selected node: the current one when it is selected, else none (after a rebuild
    // the current node is not selected). Every reader of the selection goes through it.
    QTreeWidgetItem *NodoSeleccionado() const;
    // 0 company, 1 presenter, 2 issuer, 3 batch, 6 deeper; -1 for no node.
    static int GetNivelNodo(const QTreeWidgetItem *nodo);
    // The id text and the caption of the presenter node at or above the selection, and of
    // the issuer node at or above it; empty when the selection is above that level or
    // there is none.
    std::string GetIdPresentadorSeleccionado() const;
    std::string GetNombrePresentadorSeleccionado() const;
    std::string GetIdEmisorSeleccionado() const;
    std::string GetNombreEmisorSeleccionado() const;
    // "CSB19" or "CSB58", the order type of the presenter at or above the selection, or of
    // the presenter of that id, as the tree has them; empty for any other.
    std::string GetTipoOrden() const;
    std::string TipoOrdenPresentador(const std::string &idPresentador) const;
    // Among the children of the selected node, the first whose id is id gets the caption.
    void SetTextoNodo(const std::string &id, const std::string &texto);
    // The id text of a node.
    static std::string IdNodo(const QTreeWidgetItem *nodo);
    // The image index a node was given.
    static int ImagenNodo(const QTreeWidgetItem *nodo);
    // The picture of an image index of the tree or of the currency button.
    static QIcon ImagenLista(int indice);

    // ---- Commands ----
    // The enabling table for the node's level (nothing for no node or a deeper level).
    void ActualizaMenus(QTreeWidgetItem *nodo);
    // The currency button's picture and hint from MonedaRemesa.
    void ActualizaBotonMoneda();
    // What the enabling table last gave the item; the item itself is enabled only when its
    // command is also available (Conecta).
    static bool EstadoTabla(const QAction *item);
    // Makes the item run handler and marks its command available: on every grid or, with
    // soloPanel, only while that grid panel shows (a command whose other branches wait for
    // their windows). Commands never connected stay disabled whatever the table says. The
    // handler runs protected: an exception is shown and logged, never passed to the event
    // loop.
    void Conecta(QAction *item, void (TFormMain::*handler)(), QWidget *soloPanel = nullptr);
    void Conecta(QAction *item, const std::function<void()> &handler, QWidget *soloPanel = nullptr);
    // The texts of the current language on the window.
    void RefrescaTextos();
    // The status bar for the selection.
    void statusMainWindowDrawPanel();

    // ---- Grids (FrmmainGrids.cpp) ----
    // The right side shows the grid of the selected node's children: presenters of a
    // company, issuers of a presenter, batches of an issuer, bills of a batch. Grid rows are
    // numbered with the title row as row 0; the bills grid holds its rows in ModeloRecibos.

    // Set at the first show and cleared by the notice handler before it rebuilds the tree:
    // MuestraNivel called while it is clear only sets it.
    bool GridsActivos = false;
    // Viewport point of the last mouse-down on the batches or bills grid.
    QPoint PosRaton;
    // Per grid (TipoGrid): the column sorted ascending and the one sorted descending, -1 none.
    int ColumnaAsc[NumGrids] = {-1, -1, -1, -1};
    int ColumnaDesc[NumGrids] = {-1, -1, -1, -1};
    // The bills index's query (Id_documento of the batch's bills in the grid's order) and its
    // row count.
    std::string SQLRecibos;
    int NumFilasRecibos = 0;
    // Totals of the batch in view: counts, and amounts in its currency's smallest unit
    // (cents of a euro batch, pesetas of a peseta batch).
    int NumRecibos = 0, NumActivos = 0;
    long long ImporteRecibos = 0, ImporteActivos = 0;
    // The records the batch and bill editors receive.
    STRRemesa DatosRemesa;
    STRDocumento DatosDocumento;
    TModeloRecibos *ModeloRecibos;

    // Shows and loads the grid of the node's children and takes the node's multi-user
    // selection. Nothing for no node.
    void MuestraNivel(QTreeWidgetItem *nodo);
    // Empty one grid and write its titles.
    void PreparaGridPresentadores();
    void PreparaGridEmisores();
    void PreparaGridRemesas();
    void PreparaGridRecibos();
    // Write one result row into data row fila + 1 of their grid.
    void FilaPresentador(int fila, const std::string &texto);
    void FilaEmisor(int fila, const std::string &texto);
    void FilaRemesa(int fila, const std::string &texto);
    // Reads the batch idRemesa again into row fila (0-based) of the batches grid.
    void RecargaFilaRemesa(int fila, const std::string &idRemesa);
    // Title-click sorting of a grid by its column.
    void OrdenaGrid(TipoGrid grid, int columna);
    // The totals panel for the batch in view, or for the batch selected in the batches grid.
    void ActualizaPanelInfo();
    // The six totals labels for the batch idRemesa (all "0" for an empty id).
    void MuestraTotales(const std::string &idRemesa);
    void CalculaTotales(const std::string &idRemesa);
    // Fill DatosRemesa / DatosDocumento for the editors.
    void CargaRemesa(const std::string &idRemesa);
    void CargaDocumento(const std::string &idDocumento);
    // Opens the bills index again on SQLRecibos (marks and the current row follow their
    // bills; see TModeloRecibos::Reindexa) into NumFilasRecibos; returns vasqdb's result.
    int InicIndiceRecibos();
    // Reads the batch's currency into MonedaRemesa (empty when there is no such batch) and
    // refreshes the currency button.
    std::string GetMonedaRemesa(const std::string &idRemesa);
    // The Id_documento of every marked bill in the grid's order (also of bills never shown);
    // none while the bills grid is hidden.
    std::optional<std::vector<std::string>> GetRecibosSeleccionados();
    // Recomputes and stores the batch's totals (the batch totals writer).
    void ActualizaTotalesRemesa(int idRemesa);
    // Re-reads the bills of the batch in view without leaving it: index, row count, the
    // current bill marked, the rows in view, the totals.
    void RefrescaRecibos();
    // Reads the bills grid's rows in view (those not held, or all of them again with releer).
    void lstGridDocumentosTopLeftChanged(bool releer = true);
    void lstGridRemesasClick();

    // ---- Change notices of other copies (FrmmainNotificaciones.cpp) ----
    // Refreshes what this copy shows after another copy's change (NivelActualizacion): 5 the
    // users lists; 0, 1 and 2 rebuild the tree and reselect its node; 3 the bills or batches
    // of a batch in view; 4 the bills or batches under a presenter of the drawees' order type.
    // Levels 3 and 4 only from a copy of the logged-in user.
    void ProcesaActualizacion(int idUsuario, int nivel, int idActualizar);
    // Selects the first node of the level whose id is id, else the first node; returns it
    // (none for an empty tree).
    QTreeWidgetItem *SeleccionaNodo(int nivel, int id);
    // A notice from the coordination: applied at once, or, while a command, a grid load or an
    // in-place edit runs, the main window's part waits and the waiting notices are applied in
    // order once none runs (the windows over it refresh at once).
    void RecibeActualizacion(int idUsuario, int nivel, int idActualizar);
    // True while a command, a grid handler, a grid load or an in-place edit runs.
    bool Ocupada() const;
    size_t AvisosPendientes() const { return m_avisos.size(); }

    // Holds back the notices while it lives: every command run through Conecta and every grid
    // handler runs under one.
    class ComandoEnCurso {
    public:
        explicit ComandoEnCurso(TFormMain *ventana) : m_ventana(ventana) { ++m_ventana->m_comandos; }
        ~ComandoEnCurso() { --m_ventana->m_comandos; }
        ComandoEnCurso(const ComandoEnCurso &) = delete;
        ComandoEnCurso &operator=(const ComandoEnCurso &) = delete;

    private:
        TFormMain *m_ventana;
    };

    // The pending in-place edit of a grid cell (column and row -1: none). Id is the bill or
    // batch of the row when the edit began; the save acts on it whatever the row holds then.
    struct STREdicionCelda {
        std::string TextoAnterior, TextoEditado;
        int Columna = -1, Fila = -1;
        bool Cambiada = false;
        std::string Id;
        bool Pendiente() const { return Columna != -1 && Fila != -1; }
    };
    STREdicionCelda EdicionCelda;

    // ---- In-place editing of amounts and batch names (FrmmainCeldas.cpp) ----
    // A double click on a bill's amount or a batch's description puts its grid in cell mode
    // with the cell's editor open; Enter, another cell or leaving the grid saves through
    // GuardaCelda, Esc undoes the typing or leaves cell mode.

    // The cell's text when its editing began (a refused description gets it back).
    std::string TextoAntesEdicion;
    // True while the grid is in cell mode (one cell selected instead of whole rows).
    static bool SeleccionSimple(const QTableView *grid);
    // Cell mode on data row fila, column columna (5 of the bills grid, 3 of the batches grid),
    // with the editor open and the pending edit set on the row's bill or batch.
    void EntraModoCelda(QTableView *grid, int fila, int columna);
    // The editor's text changed.
    void lstGridDocumentosSetEditText(const std::string &texto);
    // Saves the edited cell of data row fila: the amount of its bill or the description of
    // its batch, after the lock check, with totals, notice and tree caption. True when the
    // edit is finished (saved, refused by a lock, or not an editable cell); false when the
    // user must correct the value (the editor stays open with the text before the edit).
    bool GuardaCelda(const std::string &texto, int columna, int fila);
    // Closes the editor and selects whole rows again.
    void SalirModoCelda(QTableView *grid);
    // Enter or Esc in the cell editor.
    void TeclaCelda(QTableView *grid, int tecla);
    // The focus left the grid (lstGridDocumentosExit, lstGridRemesasExit): a pending edit is saved.
    void SalidaGrid(QTableView *grid);
    // The batches grid's keys and the bills grid's keys of this unit; true when handled.
    bool lstGridRemesasKeyDown(int tecla);
    bool TeclaRecibosCelda(int tecla);
    // A character typed on a bill: a digit or a decimal separator opens the editor of its
    // amount with that character, F2 opens it as it is (as a double click does); any other
    // does nothing, so that typing never moves to another bill. True when handled.
    bool TecleaEnRecibo(const QKeyEvent &tecla);
    // The hints and cursors of the cells under the mouse.
    void lstGridDocumentosMouseMove(const QPoint &punto);
    void lstGridRemesasMouseMove(const QPoint &punto);
    // The editor of the pending edit while it shows.
    QLineEdit *EditorCelda(QTableView *grid) const;

    // ---- Search (FrmmainBuscar.cpp) ----
    // The grid of the visible panel: presenters, issuers, batches or bills; none.
    QTableView *GridVisible() const;
    // A new search on the visible grid in the search window, shown modally.
    void cbtBuscarClick();
    // Ctrl+F: cbtBuscarClick while cbtBuscar is enabled.
    void mainMenuBuscarClick();
    // F3: the last search again on the visible grid, from the row after its hit.
    void mainBuscarsiguienteClick();
    void panelTitleEmpresasMouseMove();

    // ---- Bills grid marks and the grids' handlers (FrmmainRecibos.cpp) ----
    // A grid's data rows, and the first row of its selection (0: none, the title row).
    int FilasDatos(const QTableView *grid) const;
    int FilaSeleccion(const QTableView *grid) const;
    // The bills grid's current row and its setting, in grid numbering (0 none).
    int FilaActualRecibos() const;
    void SetFilaActualRecibos(int fila);
    // A plain move to the bill of row fila: the current row and the anchor, its bill the only
    // one marked.
    void MueveARecibo(int fila);
    // The row marks of a left click on data row fila.
    void lstGridDocumentosMouseDown(int fila, Qt::KeyboardModifiers teclas);
    // The bills grid's marking and moving keys (arrows, pages, Home and End; Tab from cell to
    // cell of the bill); true when the key was one of them.
    bool lstGridDocumentosKeyDown(int tecla, Qt::KeyboardModifiers teclas);
    void lstGridDocumentosClick();
    void lstGridDocumentosDblClick();
    void lstGridRemesasDblClick();
    void lstGridPresentadoresEnter(QTableWidget *grid);
    void panelRightResize();

    // ---- Record commands (FrmmainComandos.cpp) ----
    // Add, delete and modify act on the grid that shows: a batch of the batches grid
    // (through the batch editor), the marked bills of the bills grid; nothing on the
    // others. Activate and deactivate act on the marked bills; sender is cbtSeleccionar
    // (activate) or cbtDeseleccionar, or for mainMenuSeleccionarClick its menu item.
    void cbtAltaClick();
    void cbtBajaClick();
    void cbtModificacionClick();
    // The quick batch entry; its new batch's issuer selected in the rebuilt tree, and a
    // notice of the batches level for it.
    void cbtAltaRapidaClick();
    // The CSB import window, created for the command and freed after it.
    void cbtImportarClick();
    // The drawee window, with a tree node selected; afterwards every batch's totals are
    // recomputed, the grid shown again and every copy told to reload.
    void cbtMantenimientoLibradosClick();
    // The drawee import window.
    void Importarlibrados1Click();
    void cbtSeleccionarClick(QAction *sender);
    void mainMenuSeleccionarClick(QAction *sender);
    // Switches the batch of the batches grid's current row to the other currency as one
    // long run; its row, MonedaRemesa, the button and the totals change after the commit.
    void BTNCambiaMonedaClick();
    // The concept-template designer, modal.
    void mainMenuGestionPlantillasClick();
    // While the batches grid shows, removes the selected node's child whose id is id.
    void BorraNodoRemesa(const std::string &id);
    // Empties every cell of the grid's row fila (0-based, as the QTableWidget counts).
    void LimpiaFilaGrid(QTableWidget *grid, int fila);
    // Adds the batch node id with its caption under the selected node, and expands it.
    void AgregaNodoRemesa(const std::string &id, const std::string &texto);

    // ---- Mass modifications of the marked bills (FrmmainModmasivas.cpp) ----
    // Each lists the marked bills and runs its operation on them; afterwards a notice of the
    // bills level for the selected node, the bills index and the rows in view again (the
    // amounts only when they ran, with the bills grid showing).
    void mainMenuModificacionImportesClick();
    void mainMenuModificacionConceptosClick();
    void mainMenuModificacionCDevolucionClick();
    void mainMenuModificacionRefInternaClick();
    void mainMenuModificacionFVencimientoClick();
    // The submenu opens: due dates only under a CSB58 presenter, concepts only for a
    // selected batch with issue.
    void mainMenuModificacionesMasivasClick();
    // The chooser: the kind picked runs when its menu item is enabled.
    void cbtModMasivasClick();
    // Whether the batch has Con_emision set.
    bool RemesaConEmision(const std::string &idRemesa);

    // ---- Batch history (FrmmainHistoricos.cpp) ----
    // The history list of the batch in the batches grid's current row.
    void cbtHistoricoClick();
    // The history list of the batch in the grid row fila (0-based): text 198 when the batch
    // was never generated; the row shows "NULL" when the list cleared its generation date.
    void MuestraHistoricos(int fila);

    // ---- Bills through the bill editor (FrmmainDocumentos.cpp) ----
    // Clears DatosDocumento and fills its batch slots (currency, template, issue) from the
    // batch idRemesa.
    void IniciaDocumentoNuevo(const std::string &idRemesa);
    // Add and modify on the bills grid: the editor shown modally, the grid reloaded after.
    // A bill locked by any copy (this one's record included) is refused with text 642.
    void AltaDocumento();
    void ModificaDocumento();

    // ---- Handlers ----
    void cbtSalirClick();
    // The send-file window for the selected presenter; afterwards a batch-level notice
    // with the selected node's id.
    void mainMenuFicheroClick();
    void cbtFinalizarSesionClick();
    void MNUCastellanoClick();
    void treeInfoGlobalChange();
    // Reports (FrmmainInformes.cpp): the bills of the selected issuer's batches, the drawees
    // of the selected presenter's issuers, and the chooser of the two.
    void cbtInformeRecibosClick();
    void cbtInformeLibradosClick();
    void cbtMasterInformeClick();

    // ---- Maintenance, configuration and help (FrmmainMantenimiento.cpp) ----
    // Save, repair and compact pause the coordination while they work. Repair and compact
    // hold the database alone from before their work to before the reopen; another copy
    // using it makes them change nothing. A failed reopen shows text 118.
    // Writes the scrambled copy of one state of the database, which stays open.
    void MNUGuardarcambiosClick();
    void MNURepararClick();
    // True only when the compacted file replaced the database (and the database reopened);
    // fallo receives why its scrambled copy was not written then (Ninguno when it was), and
    // resultado the library's result of the compaction.
    bool Compactar(FalloCopia &fallo, int &resultado);
    void MNUCompactarClick();
    // The configuration dialog: folders and minutes in memory at once; a new database
    // folder (it must hold Orvanta.mcr) goes to the ini for the next start.
    void mainmenuConfiguracionClick();
    // The sequential import: its window, modal, created for the command.
    void MNUImportarficherodelusuario1Click();
    void MNUDefinirplantillaimportacinsecuencialClick();
    // Writes [GENERAL] BaseDatos; PathBD stays.
    void GuardaPathBD(const std::string &ruta);
    // Opens the program's guide ayuda/orvanta.html with the desktop's handler.
    void cbtAyudaClick();
    // The first-start help, modal.
    void menuAyudaAproximacionClick();
    // The about box, modal.
    void mainMenuAcercaDeClick();
    // The euro calculator, shown without blocking this window.
    void EuroCalculadora1Click();

    // ---- The user's keys and activity (FrmmainTeclas.cpp) ----
    // The form-wide shortcuts, the one path of the menus' keys: Ctrl (with any other
    // modifier) and a letter runs the letter's command when its item is enabled (save,
    // compact, change of user and the euro calculator whenever they are connected); F1 runs
    // the help, F3 find next when enabled.
    // True when a command ran. The main window's controls reach it before their own key
    // handling; in a text box Ctrl+A, C, V, X and Z keep their editing meaning.
    bool TeclasRapidas(int tecla, Qt::KeyboardModifiers teclas);
    // F6 and Ctrl+Tab, with or without Shift, take the keyboard from the tree to the grid in
    // view and from the grid (or its cell editor) back to the tree. True when the key was one
    // of them. The main window's controls reach it before their own key handling.
    bool CambiaPanel(int tecla, Qt::KeyboardModifiers teclas);
    // Called by the coordination when the inactivity time is up: with the window showing
    // and no login, the countdown; when it runs out the program ends without writing its
    // settings, else the count starts again. Otherwise only the count starts again.
    void TimeOutInactividad();
    // A click in any window of the program counts as activity.
    void FormClick();
    // Starts or stops the animation.
    void panelIconoDblClick();
    // The bank's web site (URLTelvirana) in the configured browser; failures are not shown.
    void imgETelviranaDblClick();
    // The bank image's hint follows URLTelvirana.
    void imgETelviranaMouseMove();

    // ---- Controls ----
    QSplitter *splitterMain;
    QWidget *panelLeft;
    QTreeWidget *treeInfoGlobal;
    QWidget *panelRight;
    QWidget *panelGrdEmpresas, *panelGrdEmisores, *panelGrdRemesas, *panelGrdDocumentos;
    QLabel *panelTitleEmpresas, *panelTitleEmisores, *panelTitleRemesas, *panelTitleRecibos;
    QTableWidget *lstGridPresentadores, *lstGridEmisores, *lstGridRemesas;
    QTableView *lstGridDocumentos;
    // The totals under the batches and bills grids: captions, values and the currency.
    QWidget *panelBottom;
    QLabel *LBTotal, *LBNumTotal, *LBImporte, *LBNumActivos, *LBImporteActivos, *LBNumDesactivos,
        *LBImporteDesactivos;
    QLabel *lblTotalRecibos, *lblTotalImporte, *lblTotalActivos, *lblImporteActivos, *lblOrdDesac,
        *lblImportOrdDesac;
    QLabel *ImagePta, *ImageEuro;
    QLabel *aviAlicated; // the animation
    QLabel *imgETelvirana; // the bank's image, a link to its web site
    QStatusBar *statusMainWindow;
    QLabel *statusPanel[5];
    QProgressBar *barraProgreso; // the progress of a long command on bills, hidden otherwise
    QToolBar *toolBarMain;

    // Toolbar buttons.
    QAction *cbtExportar, *cbtImportar, *cbtAlta, *cbtBaja, *cbtModificacion, *cbtSeleccionar,
        *cbtDeseleccionar, *cbtAltaRapida, *BTNCambiaMoneda, *cbtModMasivas, *cbtHistorico,
        *cbtMantenimientoLibrados, *cbtGestionPlantillas, *cbtInformeRecibos, *cbtInformeLibrados,
        *cbtMasterInforme, *cbtBuscar, *BTNEuroCalc, *cbtAyuda, *cbtFinalizarSesion, *cbtSalir;
    // Menus and their items.
    QMenu *mainMenuArchivo, *mainMenuEdicion, *mainMenuGestion, *mainMenuHerramientas, *mainMenuIdioma,
        *mainMenuAyuda, *MNUImportacionSecuencial, *mainMenuModificacionesMasivas, *mainMenuInformes,
        *MNUHerramientasBD;
    QAction *MNUGuardardatos, *mainMenuFichero, *mainMenuImportar, *Importarlibrados1, *Importacin1,
        *MNUDefinirplantillaimportacinsecuencial, *mainMenuFinalizarSesion, *mainMenuSalir;
    QAction *mainMenuAlta, *mainMenuBaja, *mainMenuModificacion, *mainMenuSeleccionar,
        *mainMenuDeseleccionar, *MNUAltarpidaremesas1, *MNUCambiarMonedaRemesa, *mainMenuModificacionImportes,
        *mainMenuModificacionConceptos, *mainMenuModificacionCDevolucion, *mainMenuModificacionRefInterna,
        *mainMenuModificacionFVencimiento, *mainMenuBuscar, *mainBuscarsiguiente;
    QAction *mainMenuMantenimientoLibrados, *mainMenuGestionPlantillas, *MNUHistoricos,
        *mainMenuInformeRecibos, *mainMenuInformeLibrados;
    QAction *mainmenuConfiguracion, *MNUReparar, *MNUCompactar, *EuroCalculadora1;
    QAction *MNUCastellano, *MNUCatalan, *MNUIngles;
    QAction *MNUAyuda, *menuAyudaAproximacion, *mainMenuAcercaDe;

protected:
    void showEvent(QShowEvent *evento) override;
    void closeEvent(QCloseEvent *evento) override;
    // The grids' mouse, key, focus and resize events.
    bool eventFilter(QObject *objeto, QEvent *evento) override;

private:
    // Layout (FrmmainMenus.cpp).
    void CreaControles();
    void CreaMenus();
    void CreaBarraHerramientas();
    void CreaPaneles();
    void CreaBarraEstado();
    void CreaPanelTotales(QWidget *padre);
    void ConectaGrids();
    void EstadoInicialComandos();
    // Disables the commands that act on a node's records.
    void ComandosSinNodo();
    // Sets the table's state of the items and enables each that is also available.
    void Habilita(std::initializer_list<QAction *> items, bool estado);
    // Whether the item's command can run now (connected, and its grid shows).
    static bool Disponible(const QAction *item);

    // Record commands (FrmmainComandos.cpp).
    void BajaRemesas();
    void BajaRecibos();
    void ConectaComandos();
    // The keys stay in the grid after a command changed its rows: on data row fila (the last
    // one when fewer are left), a bill as a plain move to it.
    void QuedaEnGrid(QTableView *grid, int fila);
    // The grid row (0-based) whose column 0 holds id; -1 when none.
    int FilaDeRemesa(const std::string &id) const;

    // The commands of FrmmainMantenimiento.cpp and the others of the shell's periphery.
    void ConectaPeriferia();
    // The search commands (FrmmainBuscar.cpp).
    void ConectaBusqueda();
    // The time-out, the shortcuts, the clicks and the captions that follow the language.
    void VigilaUsuario();

    // The mass modifications (FrmmainModmasivas.cpp).
    void ConectaModMasivas();
    void ModMasiva(const std::function<int(const std::vector<std::string> &, const ProgresoMasiva &)> &operacion);
    void TrasModMasiva(QTreeWidgetItem *nodo);
    bool m_conEmision = false;

    // The batch history (FrmmainHistoricos.cpp).
    void ConectaHistoricos();
    // The drawee commands (FrmmainLibrados.cpp).
    void ConectaLibrados();
    // Closes the database, holds it alone and runs trabajo on it opened under the hold,
    // then reopens it under the same hold and steps down to sharing it: from the close to
    // the reopen no other copy can take it alone. When it cannot be held, it is opened
    // again as ReabreBD does. True when trabajo and the reopen succeeded.
    bool TrabajaEnExclusiva(const std::function<bool()> &trabajo);
    // Opens PathBD again, waiting for a copy that holds it alone; a failure is logged and
    // the user asked (text 940) to try again or end the program (TerminaAplicacion): the
    // copy never runs on without its database. True when open.
    bool ReabreBD();

    // Start-up and exit (Frmmain.cpp).
    bool AbreBaseDatos();
    // Offers to rebuild from its copy the database that cannot be read as the program's
    // (porque says why), keeping the file aside; true when the rebuilt database is open.
    bool OfreceReconstruir(const std::string &porque);
    // Tells the user that the copy could not be written (the exit or the save), why and
    // what to do.
    void AvisaCopiaNoEscrita(FalloCopia fallo);
    void LeeConfiguracion();
    void AplicaGeometria();
    void GuardaConfiguracion();
    void IniciaAnimacion();
    void EjecutaLogin();
    bool CierraUltimaCopia();

    // Tree (FrmmainArbol.cpp).
    void CargaArbolFila(const std::string &fila);
    QTreeWidgetItem *NodoSeleccionadoDeNivel(int nivel) const;

    // Grids (FrmmainGrids.cpp).
    void MuestraPanel(QWidget *panel);
    // Runs the query and writes its rows into the grid with fila; asks first when there are
    // more than 1000 of them.
    void CargaGrid(QTableWidget *grid, const std::string &sql, void (TFormMain::*fila)(int, const std::string &));
    void AbreRecibos(const std::string &sql);
    void TituloPanel(QLabel *titulo, const std::string &prefijo, int texto, const QTreeWidgetItem *nodo);
    // The bills grid's rows in view, model numbering.
    std::pair<int, int> FilasVisiblesRecibos() const;
    // True while a grid loads, sorts or marks: another one waits for its end.
    bool m_ocupado = false;
    bool m_refrescoPendiente = false;

    // In-place editing (FrmmainCeldas.cpp).
    void PreparaEdicionCeldas();
    void TerminaEdicion(QTableView *grid);
    std::string TextoCeldaEditada(QTableView *grid) const;
    void PonTextoCelda(QTableView *grid, const std::string &texto);
    bool EdicionCambiada() const;
    bool GuardaEdicion(QTableView *grid);
    bool GuardaImporte(const std::string &texto, int fila);
    bool GuardaDescripcion(const std::string &texto, int fila);
    bool m_guardandoCelda = false;

    // Notices (FrmmainNotificaciones.cpp).
    struct Aviso {
        int usuario, nivel, id;
    };
    // The windows over the main window that show the notice's data, refreshed at once.
    void RefrescaVentanas(int idUsuario, int nivel, int idActualizar);
    // The main window's own part: the tree, the grids and the totals.
    void RefrescaPrincipal(int idUsuario, int nivel, int idActualizar);
    void AplicaAvisos();
    // Whether the notice comes from a copy of the logged-in user.
    bool MismoUsuario(int idUsuario) const;
    // Whether a notice of levels 0 to 4 concerns what the window shows: a node selected, the
    // element in the tree (any for level 4, or id 0 or level 0), the window visible, and for
    // levels 3 and 4 a copy of the logged-in user.
    bool AvisoAplicable(int idUsuario, int nivel, int idActualizar) const;
    // With no node left: no grid and no command of a node.
    void MuestraSinNodo();
    int m_comandos = 0;         // commands and grid handlers running (nested through modal windows)
    std::deque<Aviso> m_avisos; // notices waiting for the commands to end
    QTimer m_esperaAvisos;      // polls for that end while notices wait

    std::map<std::string, std::string> m_provincias;
    // The ids and nodes last added while the tree is rebuilt.
    struct EstadoCarga {
        std::string empresa, presentador, emisor, remesa;
        QTreeWidgetItem *nodoEmpresa = nullptr, *nodoPresentador = nullptr, *nodoEmisor = nullptr;
    } m_carga;
    QTimer m_cambioArbol; // the tree's change, 200 ms after the selection moved
    bool m_terminando = false;
    bool m_destruida = false;
};
