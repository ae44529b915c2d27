// The main window's controls: menus, toolbar, tree, grid panels and status bar, and the
// enabling of its commands.
#include "Frmmain.h"

#include "ModeloRecibos.h"
#include "Multiidioma.h"
#include "PintaGrids.h"
#include "Programa.h"
#include "qcp1252.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QProgressBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTableView>
#include <QTableWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// Properties of a command item: the enabling table's last state, and whether its command
// runs anything.
constexpr const char *kEstadoTabla = "estadoTabla";
constexpr const char *kDisponible = "disponible";
constexpr const char *kPanel = "panel"; // the only grid panel on which the command runs, if any

QAction *Item(QMenu *menu, const char *nombre, const char *titulo, const QKeySequence &atajo = {})
{
    QAction *a = menu->addAction(cp1252::toQString(titulo));
    a->setObjectName(QLatin1String(nombre));
    a->setShortcut(atajo);
    return a;
}

QMenu *Menu(QWidget *padre, const char *nombre, const char *titulo)
{
    auto *m = new QMenu(cp1252::toQString(titulo), padre);
    m->setObjectName(QLatin1String(nombre));
    m->menuAction()->setObjectName(QLatin1String(nombre));
    return m;
}

// A grid's look: its cells and titles drawn by the window, whole rows selected, rows as high
// as the text needs, no row numbers.
void PreparaVista(QTableView *grid, const char *nombre, TipoGrid tipo)
{
    grid->setObjectName(QLatin1String(nombre));
    auto *cabecera = new TCabeceraGrid(tipo == GridRecibos ? 2 : 1, grid);
    grid->setHorizontalHeader(cabecera);
    cabecera->setMinimumSectionSize(0);
    grid->setItemDelegate(new TPintaCelda(tipo, grid));
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 5);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setWordWrap(false);
    grid->setCornerButtonEnabled(false);
}

// A grid panel: its title panel above its grid.
QWidget *PanelGrid(const char *nombre, QLabel *&titulo, const char *nombreTitulo, QTableView *grid)
{
    auto *panel = new QWidget;
    panel->setObjectName(QLatin1String(nombre));
    auto *capas = new QVBoxLayout(panel);
    capas->setContentsMargins(0, 0, 0, 0);
    capas->setSpacing(0);
    titulo = new QLabel;
    titulo->setObjectName(QLatin1String(nombreTitulo));
    titulo->setAutoFillBackground(true);
    titulo->setMouseTracking(true);
    capas->addWidget(titulo);
    capas->addWidget(grid, 1);
    return panel;
}

QLabel *Etiqueta(const char *nombre, bool negrita = false)
{
    auto *etiqueta = new QLabel;
    etiqueta->setObjectName(QLatin1String(nombre));
    if (negrita) {
        QFont letra = etiqueta->font();
        letra.setBold(true);
        etiqueta->setFont(letra);
    }
    return etiqueta;
}

} // namespace

void TFormMain::CreaControles()
{
    setMinimumSize(520, 380);
    CreaMenus();
    CreaBarraHerramientas();
    CreaPaneles();
    CreaBarraEstado();
}

void TFormMain::CreaMenus()
{
    QMenuBar *barra = menuBar();

    mainMenuArchivo = Menu(this, "mainMenuArchivo", "&Archivo");
    MNUGuardardatos = Item(mainMenuArchivo, "MNUGuardardatos", "G&uardar datos", Qt::CTRL | Qt::Key_S);
    mainMenuFichero = Item(mainMenuArchivo, "mainMenuFichero", "&Generar fichero de env\xEDo", Qt::CTRL | Qt::Key_Q);
    mainMenuArchivo->addSeparator();
    mainMenuImportar = Item(mainMenuArchivo, "mainMenuImportar", "&Importar fichero CSB", Qt::CTRL | Qt::Key_I);
    Importarlibrados1 = Item(mainMenuArchivo, "Importarlibrados1", "Importar &librados", Qt::CTRL | Qt::Key_L);
    MNUImportacionSecuencial = Menu(this, "MNUImportacionSecuencial", "I&mportaci\xF3n secuencial");
    Importacin1 = Item(MNUImportacionSecuencial, "Importacin1", "&Importaci\xF3n", Qt::CTRL | Qt::Key_V);
    MNUDefinirplantillaimportacinsecuencial =
        Item(MNUImportacionSecuencial, "MNUDefinirplantillaimportacinsecuencial",
             "&Definir plantilla importaci\xF3n secuencial ", Qt::CTRL | Qt::Key_U);
    mainMenuArchivo->addMenu(MNUImportacionSecuencial);
    mainMenuArchivo->addSeparator();
    mainMenuFinalizarSesion =
        Item(mainMenuArchivo, "mainMenuFinalizarSesion", "&Cambio de usuario", Qt::CTRL | Qt::Key_N);
    mainMenuSalir = Item(mainMenuArchivo, "mainMenuSalir", "&Salir");
    barra->addMenu(mainMenuArchivo);

    mainMenuEdicion = Menu(this, "mainMenuEdicion", "&Edici\xF3n");
    mainMenuAlta = Item(mainMenuEdicion, "mainMenuAlta", "&Alta", Qt::CTRL | Qt::Key_A);
    mainMenuBaja = Item(mainMenuEdicion, "mainMenuBaja", "&Baja ", Qt::CTRL | Qt::Key_B);
    mainMenuModificacion = Item(mainMenuEdicion, "mainMenuModificacion", "&Modificaci\xF3n ", Qt::CTRL | Qt::Key_M);
    mainMenuEdicion->addSeparator();
    mainMenuSeleccionar = Item(mainMenuEdicion, "mainMenuSeleccionar", "Ac&tivar", Qt::CTRL | Qt::Key_C);
    mainMenuDeseleccionar = Item(mainMenuEdicion, "mainMenuDeseleccionar", "&Desactivar", Qt::CTRL | Qt::Key_D);
    mainMenuEdicion->addSeparator();
    MNUAltarpidaremesas1 =
        Item(mainMenuEdicion, "MNUAltarpidaremesas1", "Alta &r\xE1pida remesas", Qt::CTRL | Qt::Key_T);
    MNUCambiarMonedaRemesa = Item(mainMenuEdicion, "MNUCambiarMonedaRemesa", "&Cambiar moneda remesa");
    mainMenuModificacionesMasivas = Menu(this, "mainMenuModificacionesMasivas", "Modificaciones ma&sivas");
    mainMenuModificacionImportes =
        Item(mainMenuModificacionesMasivas, "mainMenuModificacionImportes", "&Importes");
    mainMenuModificacionConceptos =
        Item(mainMenuModificacionesMasivas, "mainMenuModificacionConceptos", "&Conceptos");
    mainMenuModificacionCDevolucion = Item(mainMenuModificacionesMasivas, "mainMenuModificacionCDevolucion",
                                           "C\xF3" "di&go de devoluci\xF3n");
    mainMenuModificacionRefInterna =
        Item(mainMenuModificacionesMasivas, "mainMenuModificacionRefInterna", "&Referencia Interna");
    mainMenuModificacionFVencimiento =
        Item(mainMenuModificacionesMasivas, "mainMenuModificacionFVencimiento", "Fecha de &Vencimiento");
    mainMenuEdicion->addMenu(mainMenuModificacionesMasivas);
    mainMenuEdicion->addSeparator();
    mainMenuBuscar = Item(mainMenuEdicion, "mainMenuBuscar", "B&uscar", Qt::CTRL | Qt::Key_F);
    mainBuscarsiguiente = Item(mainMenuEdicion, "mainBuscarsiguiente", "Buscar &siguiente", Qt::Key_F3);
    barra->addMenu(mainMenuEdicion);

    mainMenuGestion = Menu(this, "mainMenuGestion", "&Gesti\xF3n");
    mainMenuMantenimientoLibrados = Item(mainMenuGestion, "mainMenuMantenimientoLibrados",
                                         "Mantenimiento de &Librados", Qt::CTRL | Qt::Key_H);
    mainMenuGestionPlantillas =
        Item(mainMenuGestion, "mainMenuGestionPlantillas", "Gesti\xF3n de &plantillas", Qt::CTRL | Qt::Key_P);
    MNUHistoricos = Item(mainMenuGestion, "MNUHistoricos", "&Hist\xF3ricos");
    mainMenuInformes = Menu(this, "mainMenuInformes", "&Informes");
    mainMenuInformeRecibos =
        Item(mainMenuInformes, "mainMenuInformeRecibos", "Informe de recibos", Qt::CTRL | Qt::Key_R);
    mainMenuInformeLibrados =
        Item(mainMenuInformes, "mainMenuInformeLibrados", "Informe de librados", Qt::CTRL | Qt::Key_O);
    mainMenuGestion->addMenu(mainMenuInformes);
    barra->addMenu(mainMenuGestion);

    mainMenuHerramientas = Menu(this, "mainMenuHerramientas", "&Herramientas");
    mainmenuConfiguracion =
        Item(mainMenuHerramientas, "mainmenuConfiguracion", "&Configuraci\xF3n", Qt::CTRL | Qt::Key_G);
    MNUHerramientasBD = Menu(this, "MNUHerramientasBD", "&Herramientas de la base de datos");
    MNUReparar = Item(MNUHerramientasBD, "MNUReparar", "&Reparar");
    MNUCompactar = Item(MNUHerramientasBD, "MNUCompactar", "&Compactar", Qt::CTRL | Qt::Key_Z);
    mainMenuHerramientas->addMenu(MNUHerramientasBD);
    EuroCalculadora1 = Item(mainMenuHerramientas, "EuroCalculadora1", "&EuroCalculadora", Qt::CTRL | Qt::Key_E);
    barra->addMenu(mainMenuHerramientas);

    // The language menu stays hidden: the language comes from the settings.
    mainMenuIdioma = Menu(this, "mainMenuIdioma", "I&dioma");
    MNUCastellano = Item(mainMenuIdioma, "MNUCastellano", "&Castellano");
    MNUCatalan = Item(mainMenuIdioma, "MNUCatalan", "Catal\xE1n");
    MNUIngles = Item(mainMenuIdioma, "MNUIngles", "Ingl\xE9s");
    for (QAction *a : {MNUCastellano, MNUCatalan, MNUIngles})
        a->setCheckable(true);
    MNUCastellano->setChecked(true);
    MNUCatalan->setVisible(false);
    MNUIngles->setVisible(false);
    ::Idioma.RegistraEntradaIdioma(IdiomaCastellano, MNUCastellano);
    ::Idioma.RegistraEntradaIdioma(IdiomaCatalan, MNUCatalan);
    ::Idioma.RegistraEntradaIdioma(IdiomaIngles, MNUIngles);
    barra->addMenu(mainMenuIdioma)->setVisible(false);

    mainMenuAyuda = Menu(this, "mainMenuAyuda", "A&yuda");
    MNUAyuda = Item(mainMenuAyuda, "MNUAyuda", "&Ayuda", Qt::Key_F1);
    menuAyudaAproximacion = Item(mainMenuAyuda, "menuAyudaAproximacion", "&Primera ejecuci\xF3n...");
    mainMenuAyuda->addSeparator();
    mainMenuAcercaDe = Item(mainMenuAyuda, "mainMenuAcercaDe", "&Acerca de...");
    barra->addMenu(mainMenuAyuda);

    // The bank's image at the right of the menus, always in sight.
    IniciaRecursosShell();
    imgETelvirana = new QLabel;
    imgETelvirana->setObjectName(QStringLiteral("imgETelvirana"));
    imgETelvirana->setPixmap(QPixmap(QStringLiteral(":/shell/telvirana.png")));
    imgETelvirana->setContentsMargins(0, 1, 4, 1);
    imgETelvirana->setMouseTracking(true);
    barra->setCornerWidget(imgETelvirana, Qt::TopRightCorner);
}

void TFormMain::CreaBarraHerramientas()
{
    toolBarMain = addToolBar(QString());
    toolBarMain->setObjectName(QStringLiteral("toolBarMain"));
    toolBarMain->setMovable(false);
    toolBarMain->setIconSize(QSize(24, 24));
    auto boton = [this](const char *nombre, QIcon icono) {
        QAction *a = toolBarMain->addAction(icono, QString());
        a->setObjectName(QLatin1String(nombre));
        return a;
    };
    auto estandar = [this](QStyle::StandardPixmap p) { return style()->standardIcon(p); };
    cbtExportar = boton("cbtExportar", estandar(QStyle::SP_DialogSaveButton));
    cbtImportar = boton("cbtImportar", estandar(QStyle::SP_DialogOpenButton));
    toolBarMain->addSeparator();
    cbtAlta = boton("cbtAlta", estandar(QStyle::SP_FileIcon));
    cbtBaja = boton("cbtBaja", estandar(QStyle::SP_TrashIcon));
    cbtModificacion = boton("cbtModificacion", estandar(QStyle::SP_FileDialogContentsView));
    cbtSeleccionar = boton("cbtSeleccionar", estandar(QStyle::SP_DialogApplyButton));
    cbtDeseleccionar = boton("cbtDeseleccionar", estandar(QStyle::SP_DialogCancelButton));
    cbtAltaRapida = boton("cbtAltaRapida", estandar(QStyle::SP_FileDialogNewFolder));
    BTNCambiaMoneda = boton("BTNCambiaMoneda", ImagenLista(kImagenPesetas));
    cbtModMasivas = boton("cbtModMasivas", estandar(QStyle::SP_FileDialogListView));
    cbtModMasivas->setToolTip(QStringLiteral("Modificaciones masivas"));
    toolBarMain->addSeparator();
    cbtHistorico = boton("cbtHistorico", estandar(QStyle::SP_FileDialogInfoView));
    cbtMantenimientoLibrados = boton("cbtMantenimientoLibrados", estandar(QStyle::SP_DirHomeIcon));
    cbtGestionPlantillas = boton("cbtGestionPlantillas", estandar(QStyle::SP_FileDialogDetailedView));
    cbtInformeRecibos = boton("cbtInformeRecibos", estandar(QStyle::SP_FileLinkIcon));
    cbtInformeLibrados = boton("cbtInformeLibrados", estandar(QStyle::SP_DirLinkIcon));
    cbtMasterInforme = boton("cbtMasterInforme", estandar(QStyle::SP_DirOpenIcon));
    toolBarMain->addSeparator();
    cbtBuscar = boton("cbtBuscar", estandar(QStyle::SP_FileDialogStart));
    BTNEuroCalc = boton("BTNEuroCalc", estandar(QStyle::SP_ComputerIcon));
    BTNEuroCalc->setToolTip(QStringLiteral("EuroCalculadora"));
    cbtAyuda = boton("cbtAyuda", estandar(QStyle::SP_DialogHelpButton));
    toolBarMain->addSeparator();
    cbtFinalizarSesion = boton("cbtFinalizarSesion", estandar(QStyle::SP_BrowserReload));
    cbtSalir = boton("cbtSalir", estandar(QStyle::SP_DialogCloseButton));

    auto *hueco = new QWidget;
    hueco->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolBarMain->addWidget(hueco);
    aviAlicated = new QLabel;
    aviAlicated->setObjectName(QStringLiteral("aviAlicated"));
    toolBarMain->addWidget(aviAlicated);
}

void TFormMain::CreaPaneles()
{
    splitterMain = new QSplitter(Qt::Horizontal);
    splitterMain->setObjectName(QStringLiteral("splitterMain"));
    splitterMain->setChildrenCollapsible(false);

    panelLeft = new QWidget;
    panelLeft->setObjectName(QStringLiteral("panelLeft"));
    auto *izquierda = new QVBoxLayout(panelLeft);
    izquierda->setContentsMargins(0, 0, 0, 0);
    treeInfoGlobal = new QTreeWidget;
    treeInfoGlobal->setObjectName(QStringLiteral("treeInfoGlobal"));
    treeInfoGlobal->setHeaderHidden(true);
    // A caption wider than the panel scrolls sideways (and shows whole as its tooltip).
    treeInfoGlobal->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    treeInfoGlobal->header()->setStretchLastSection(false);
    treeInfoGlobal->setIndentation(24);
    treeInfoGlobal->setEditTriggers(QAbstractItemView::NoEditTriggers);
    treeInfoGlobal->setSelectionBehavior(QAbstractItemView::SelectRows);
    treeInfoGlobal->setMouseTracking(true); // hot tracking
    QPalette colores = treeInfoGlobal->palette();
    colores.setColor(QPalette::Base, QColor(128, 128, 128));
    colores.setColor(QPalette::Text, Qt::white);
    // The selection stays visible when the tree loses the focus.
    for (QPalette::ColorRole papel : {QPalette::Highlight, QPalette::HighlightedText})
        colores.setColor(QPalette::Inactive, papel, colores.color(QPalette::Active, papel));
    treeInfoGlobal->setPalette(colores);
    izquierda->addWidget(treeInfoGlobal);

    panelRight = new QWidget;
    panelRight->setObjectName(QStringLiteral("panelRight"));
    auto *derecha = new QVBoxLayout(panelRight);
    derecha->setContentsMargins(0, 0, 0, 0);
    lstGridPresentadores = new QTableWidget(0, 5);
    lstGridEmisores = new QTableWidget(0, 4);
    lstGridRemesas = new QTableWidget(0, 8);
    lstGridDocumentos = new QTableView;
    ModeloRecibos = new TModeloRecibos(this);
    lstGridDocumentos->setModel(ModeloRecibos);
    PreparaVista(lstGridPresentadores, "lstGridPresentadores", GridPresentadores);
    PreparaVista(lstGridEmisores, "lstGridEmisores", GridEmisores);
    PreparaVista(lstGridRemesas, "lstGridRemesas", GridRemesas);
    PreparaVista(lstGridDocumentos, "lstGridDocumentos", GridRecibos);
    // Several batches can be deleted at once.
    lstGridRemesas->setSelectionMode(QAbstractItemView::ContiguousSelection);
    panelGrdEmpresas = PanelGrid("panelGrdEmpresas", panelTitleEmpresas, "panelTitleEmpresas", lstGridPresentadores);
    panelGrdEmisores = PanelGrid("panelGrdEmisores", panelTitleEmisores, "panelTitleEmisores", lstGridEmisores);
    panelGrdRemesas = PanelGrid("panelGrdRemesas", panelTitleRemesas, "panelTitleRemesas", lstGridRemesas);
    panelGrdDocumentos = PanelGrid("panelGrdDocumentos", panelTitleRecibos, "panelTitleRecibos", lstGridDocumentos);
    for (QWidget *panel : {panelGrdEmpresas, panelGrdEmisores, panelGrdRemesas, panelGrdDocumentos})
        derecha->addWidget(panel, 1);
    derecha->addStretch(0);
    CreaPanelTotales(panelRight);
    derecha->addWidget(panelBottom);

    // Neither side can be made narrower than 10 pixels.
    panelLeft->setMinimumWidth(10);
    panelRight->setMinimumWidth(10);
    splitterMain->addWidget(panelLeft);
    splitterMain->addWidget(panelRight);
    // Growing the window widens the grids; the tree keeps its width.
    splitterMain->setStretchFactor(0, 0);
    splitterMain->setStretchFactor(1, 1);
    setCentralWidget(splitterMain);
}

void TFormMain::CreaPanelTotales(QWidget *padre)
{
    panelBottom = new QWidget(padre);
    panelBottom->setObjectName(QStringLiteral("panelBottom"));
    auto *rejilla = new QGridLayout(panelBottom);
    rejilla->setContentsMargins(6, 4, 6, 4);
    rejilla->setHorizontalSpacing(12);
    ImagePta = Etiqueta("ImagePta");
    ImagePta->setPixmap(ImagenGrids(ImagenGridPesetas));
    ImageEuro = Etiqueta("ImageEuro");
    ImageEuro->setPixmap(ImagenGrids(ImagenGridEuros));
    LBTotal = Etiqueta("LBTotal", true);
    rejilla->addWidget(ImagePta, 0, 0);
    rejilla->addWidget(ImageEuro, 0, 0);
    rejilla->addWidget(LBTotal, 1, 0);
    // One row per count and amount: total, active, deactivated.
    const struct {
        QLabel *&titulo, *&numero, *&tituloImporte, *&importe;
        const char *nombres[4];
    } filas[] = {
        {LBNumTotal, lblTotalRecibos, LBImporte, lblTotalImporte,
         {"LBNumTotal", "lblTotalRecibos", "LBImporte", "lblTotalImporte"}},
        {LBNumActivos, lblTotalActivos, LBImporteActivos, lblImporteActivos,
         {"LBNumActivos", "lblTotalActivos", "LBImporteActivos", "lblImporteActivos"}},
        {LBNumDesactivos, lblOrdDesac, LBImporteDesactivos, lblImportOrdDesac,
         {"LBNumDesactivos", "lblOrdDesac", "LBImporteDesactivos", "lblImportOrdDesac"}},
    };
    int fila = 0;
    for (const auto &f : filas) {
        f.titulo = Etiqueta(f.nombres[0]);
        f.numero = Etiqueta(f.nombres[1], true);
        f.tituloImporte = Etiqueta(f.nombres[2]);
        f.importe = Etiqueta(f.nombres[3], true);
        f.numero->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        f.importe->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        f.numero->setMinimumWidth(60);
        f.importe->setMinimumWidth(110);
        rejilla->addWidget(f.titulo, fila, 1);
        rejilla->addWidget(f.numero, fila, 2);
        rejilla->addWidget(f.tituloImporte, fila, 3);
        rejilla->addWidget(f.importe, fila, 4);
        ++fila;
    }
    rejilla->setColumnStretch(5, 1);
    panelBottom->hide();
}

void TFormMain::CreaBarraEstado()
{
    statusMainWindow = statusBar();
    statusMainWindow->setObjectName(QStringLiteral("statusMainWindow"));
    statusMainWindow->setSizeGripEnabled(false);
    static constexpr int kAnchos[5] = {0, 50, 0, 19, 300};
    for (int i = 0; i < 5; ++i) {
        statusPanel[i] = new QLabel;
        statusPanel[i]->setObjectName(QStringLiteral("statusPanel%1").arg(i));
        if (kAnchos[i])
            statusPanel[i]->setFixedWidth(kAnchos[i]);
        statusMainWindow->addWidget(statusPanel[i], i == 4 ? 1 : 0);
    }
    barraProgreso = new QProgressBar;
    barraProgreso->setObjectName(QStringLiteral("barraProgreso"));
    barraProgreso->setFixedWidth(200);
    barraProgreso->hide();
    statusMainWindow->addPermanentWidget(barraProgreso);
    QFont negrita = statusPanel[1]->font();
    negrita.setBold(true);
    statusPanel[1]->setFont(negrita);
}

// ---- Enabling ----

void TFormMain::Habilita(std::initializer_list<QAction *> items, bool estado)
{
    for (QAction *item : items) {
        item->setProperty(kEstadoTabla, estado);
        item->setEnabled(estado && Disponible(item));
    }
}

bool TFormMain::Disponible(const QAction *item)
{
    const auto *panel = qobject_cast<const QWidget *>(item->property(kPanel).value<QObject *>());
    return item->property(kDisponible).toBool() && (!panel || !panel->isHidden());
}

bool TFormMain::EstadoTabla(const QAction *item)
{
    return item->property(kEstadoTabla).toBool();
}

void TFormMain::Conecta(QAction *item, void (TFormMain::*handler)(), QWidget *soloPanel)
{
    Conecta(item, [this, handler] { (this->*handler)(); }, soloPanel);
}

void TFormMain::Conecta(QAction *item, const std::function<void()> &handler, QWidget *soloPanel)
{
    const std::string etiqueta = "TFormMain::" + item->objectName().toStdString();
    connect(item, &QAction::triggered, this, [this, handler, etiqueta] {
        ComandoEnCurso comando(this);
        Protege(etiqueta, handler);
    });
    item->setProperty(kDisponible, true);
    item->setProperty(kPanel, QVariant::fromValue(static_cast<QObject *>(soloPanel)));
    item->setEnabled(EstadoTabla(item) && Disponible(item));
    // A submenu is available while one of its items is.
    for (QMenu *submenu : {MNUImportacionSecuencial, mainMenuModificacionesMasivas, mainMenuInformes, MNUHerramientasBD})
        if (submenu->actions().contains(item)) {
            submenu->menuAction()->setProperty(kDisponible, true);
            submenu->menuAction()->setEnabled(EstadoTabla(submenu->menuAction()));
        }
}

void TFormMain::EstadoInicialComandos()
{
    // The menus of the bar open always; every item starts as designed, enabled, and only
    // the connected ones can be used.
    for (QMenu *menu : {mainMenuArchivo, mainMenuEdicion, mainMenuGestion, mainMenuHerramientas, mainMenuIdioma,
                        mainMenuAyuda})
        menu->menuAction()->setProperty(kDisponible, true);
    for (QAction *item : findChildren<QAction *>())
        if (!item->objectName().isEmpty())
            Habilita({item}, true);
    Habilita({cbtAltaRapida, MNUAltarpidaremesas1, cbtImportar, mainMenuImportar}, true);
    ComandosSinNodo();
}

void TFormMain::ComandosSinNodo()
{
    Habilita({MNUCambiarMonedaRemesa, BTNCambiaMoneda, cbtHistorico, MNUHistoricos, cbtInformeRecibos,
              cbtInformeLibrados, cbtMasterInforme, mainMenuModificacionesMasivas->menuAction(), cbtModMasivas,
              mainMenuInformes->menuAction(), mainMenuInformeRecibos, mainMenuInformeLibrados, cbtAlta, cbtBaja,
              cbtModificacion, cbtSeleccionar, cbtDeseleccionar, mainMenuAlta, mainMenuBaja, mainMenuModificacion,
              mainMenuSeleccionar, mainMenuDeseleccionar, cbtExportar, mainMenuFichero, cbtMantenimientoLibrados,
              mainMenuMantenimientoLibrados},
             false);
}
