// The main window's life: the database opened or rebuilt, the settings, the login, the
// change of user, the close and the exit sequence.
#include "Frmmain.h"

#include "Aplicacion.h"
#include "Aplicaplantillas.h"
#include "Cerrando.h"
#include "Frmmsg.h"
#include "ImportTv.h"
#include "General.h"
#include "Login.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "Programa.h"
#include "cp1252.h"
#include "profile.h"
#include "progdir.h"
#include "qcp1252.h"
#include "vasqdb.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QMovie>
#include <QScreen>
#include <QSplitter>
#include <QStyle>
#include <QTableView>
#include <QTableWidget>
#include <QThread>
#include <QTreeWidget>
#include <cmath>
#include <charconv>
#include <filesystem>
#include <memory>

namespace {

std::string RutaIni()
{
    return progdir::file("Orvanta.INI");
}

bool Existe(const std::string &ruta)
{
    std::error_code ec;
    return std::filesystem::exists(cp1252::fileName(ruta), ec);
}

bool TieneClave(const std::string &ini, std::string_view seccion, std::string_view clave)
{
    for (const std::string &k : profile::readKeys(ini, seccion))
        if (cp1252::equalNoCase(k, clave))
            return true;
    return false;
}

// The least width of a grid's name column, as AjustaColumnas scales its widths: some 25
// letters of a name.
constexpr int kAnchoNombre = 150;

// The database's place inside the program folder, as the settings keep it.
constexpr const char *kBaseDatos = "BD/Orvanta.mdb";

// The settings that hold paths: kept relative to the program folder when they lie inside it.
constexpr std::pair<const char *, const char *> kRutas[] = {
    {"GENERAL", "BaseDatos"},        {"FICHEROCSB", "RutaCSB19"}, {"FICHEROCSB", "RutaCSB58"},
    {"FICHEROCSB", "RutaHistorico"}, {"GENERAL", "STRImpCSB19"},  {"GENERAL", "STRImpCSB58"},
};

// Where the ini records the program folder it was last written in.
constexpr const char *kCarpetaPrograma = "CarpetaPrograma";

// Every path setting that lies in the folder desde (ending with "/") written relative to the
// program folder: what the ini named there, it names here.
void RebasaRutas(const std::string &ini, const std::string &desde)
{
    for (const auto &[seccion, clave] : kRutas)
        if (const std::string ruta = profile::readString(ini, seccion, clave, ""); ruta.rfind(desde, 0) == 0)
            profile::writeString(ini, seccion, clave, ruta.substr(desde.size()));
}

// An ini that does not say where it was written (an earlier build's) naming, while this
// folder has a database of its own, the database of another program folder or one whose
// folder is gone: this folder may have been copied or moved from there, or work on that
// database on purpose, and only the user can tell. Asked, naming both databases; the
// default answer keeps the ini as it is.
void PreguntaSiEsDeOtraCarpeta(const std::string &ini)
{
    const std::string base = profile::readString(ini, "GENERAL", "BaseDatos", "");
    if (base.empty() || base.front() != '/' ||
        (!Existe(progdir::file(RutaCopiaBD(kBaseDatos))) && !Existe(progdir::file(kBaseDatos))))
        return;
    const std::string carpetaBD = base.substr(0, base.rfind('/'));
    const std::string otra = carpetaBD.substr(0, carpetaBD.rfind('/') + 1);
    const bool ida = !Existe(carpetaBD);
    if (otra.size() <= 1 || (!ida && !Existe(otra + "Orvanta.INI")))
        return;
    const std::string propia = progdir::file(kBaseDatos);
    const std::string texto = ida ? FormateaTexto(::Idioma.GetTexto(781), base, carpetaBD, otra, propia)
                                  : FormateaTexto(::Idioma.GetTexto(780), base, otra, propia);
    if (CajaMensaje(texto, ::Idioma.GetTexto(6), IconoMensaje::Pregunta, BotonesMensaje::SiNoPorDefectoNo) !=
        RespuestaSi)
        return;
    RebasaRutas(ini, otra);
    profile::writeString(ini, "GENERAL", "BaseDatos", kBaseDatos);
    WriteLog("[ TFormMain::TFormMain ] Orvanta.INI nombraba la base de datos '" + base + "' de la carpeta '" + otra +
             "': por respuesta del usuario se usan la base de datos y las carpetas de esta");
}

// An ini that says it was written in another program folder came along with this one,
// copied or moved from there: what it named inside that folder it names inside this one.
// Otherwise the paths inside this folder are kept relative to it. Paths outside are used
// as named.
void TomaCarpetaPropia(const std::string &ini)
{
    const std::string propia = progdir::path();
    std::string escrita = profile::readString(ini, "GENERAL", kCarpetaPrograma, "");
    if (!escrita.empty() && escrita.back() != '/')
        escrita += '/';
    if (!escrita.empty() && escrita != propia) {
        RebasaRutas(ini, escrita);
        WriteLog("[ TFormMain::TFormMain ] Orvanta.INI se escribi\xF3 en la carpeta del programa '" + escrita +
                 "': lo que nombraba dentro de ella se toma de esta");
        return;
    }
    RebasaRutas(ini, propia);
    if (escrita.empty())
        PreguntaSiEsDeOtraCarpeta(ini);
}

// The installer's log loses the lines that name the scrambled copy. The new log is written
// beside it and renamed over it only when whole; a log that cannot be read, or a new one
// that cannot be written, leaves everything as it was.
void ReescribeInstallLog()
{
    const std::string log = progdir::file("install.log"), tmp = progdir::file("tmp.log");
    std::FILE *entrada = cp1252::openFile(log, "rb");
    if (!entrada)
        return;
    std::string texto;
    char bloque[4096];
    size_t n;
    while ((n = std::fread(bloque, 1, sizeof bloque, entrada)) > 0)
        texto.append(bloque, n);
    const bool leido = !std::ferror(entrada);
    std::fclose(entrada);
    std::FILE *salida = leido ? cp1252::openFile(tmp, "wb") : nullptr;
    if (!salida)
        return;
    bool bien = true;
    for (size_t inicio = 0; inicio < texto.size();) {
        size_t fin = texto.find('\n', inicio);
        fin = fin == std::string::npos ? texto.size() : fin + 1;
        const std::string_view linea(texto.data() + inicio, fin - inicio);
        if (linea.find("Orvanta.mcr") == std::string_view::npos)
            bien = std::fwrite(linea.data(), 1, linea.size(), salida) == linea.size() && bien;
        inicio = fin;
    }
    bien = std::fclose(salida) == 0 && bien;
    if (!bien || !RenombraFichero(tmp, log))
        BorraFichero(tmp);
}

// A piece of the euro date as a decimal integer, or the fallback when it is no number.
int Pieza(std::string_view texto, size_t desde, size_t largo, int siNo)
{
    if (desde >= texto.size())
        return siNo;
    const std::string_view pieza = texto.substr(desde, largo);
    int valor = 0;
    const auto [fin, error] = std::from_chars(pieza.data(), pieza.data() + pieza.size(), valor);
    return error == std::errc() && fin == pieza.data() + pieza.size() ? valor : siNo;
}

bool TieneDatos(const std::string &ruta)
{
    std::error_code ec;
    return std::filesystem::file_size(cp1252::fileName(ruta), ec) > 0 && !ec;
}

// Makes the database ready to open, holding it alone meanwhile so that two copies starting
// at once never both put a database in its place: removes what killed runs left behind,
// and rebuilds a missing or empty database from its scrambled copy. 0 when there is a
// database to open (another copy running has it); VASQ_ERR_INUSE while another copy holds
// it alone and there is none; 1 when it cannot be rebuilt, fallo saying why.
int PreparaBD(const std::string &ruta, FalloCopia &fallo)
{
    if (const int bloqueo = VASQ_LockExclusive(ruta.c_str()); bloqueo != 0) {
        VASQ_GetLastErrorCodeID();
        if (bloqueo != VASQ_ERR_INUSE)
            return 1;
        return TieneDatos(ruta) ? 0 : bloqueo;
    }
    BorraTemporales(ruta);
    const bool hecha = TieneDatos(ruta) || RecuperaBDCifrada(ruta, kPasswordBD, &fallo);
    VASQ_UnlockExclusive();
    return hecha ? 0 : 1;
}

// The start without a database to work on tells why, and what to do, in this.
void AvisaSinBaseDatos(int texto, const std::string &ruta)
{
    CajaMensaje(FormateaTexto(::Idioma.GetTexto(texto), ruta), ::Idioma.GetTexto(117), IconoMensaje::Error);
}

// The failed rebuild: a copy that changed, is empty or is missing, and a full disk are
// named; any other failure is text 118.
void AvisaFalloReconstruccion(const std::string &ruta, FalloCopia fallo)
{
    const std::string copia = RutaCopiaBD(ruta);
    const int texto = fallo == FalloCopia::Danada       ? 924
                      : fallo == FalloCopia::NoEsBase   ? 929
                      : fallo == FalloCopia::SinEspacio ? 930
                      : !Existe(copia)                  ? 931
                                                        : 118;
    AvisaSinBaseDatos(texto, copia);
}

// Why the database file would not open as the program's (VASQ_OpenDB's result codigo, 0 when
// it opened without the program's tables), in words for its user; the engine's own account,
// in English, goes to the log.
std::string PorQueNoSeAbre(int codigo, const std::string &texto)
{
    if (codigo == 0)
        return ::Idioma.GetTexto(923);
    if (codigo < VASQ_ENGINE_ERROR_BASE)
        return texto; // the library's own texts are the user's already
    WriteLog("[ TFormMain::AbreBaseDatos ] " + texto);
    const int primario = VASQ_ENGINE_PRIMARY(codigo);
    return ::Idioma.GetTexto(primario == VASQ_PRIMARY_NOTADB ? 932 : primario == VASQ_PRIMARY_CORRUPT ? 933 : 934);
}

// Where an unreadable database is kept aside: its folder, its name with "-ilegible-" and
// the date and time, its extension.
std::string RutaApartada(const std::string &ruta)
{
    const std::string fecha = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss")).toStdString();
    return CambiaExtension(CambiaExtension(ruta, "") + "-ilegible-" + fecha, ".mdb");
}

} // namespace

QDate LeeFechaEuro(std::string_view texto)
{
    const QDate fecha(Pieza(texto, 6, 4, 2002), Pieza(texto, 3, 2, 1), Pieza(texto, 0, 2, 1));
    return fecha.isValid() ? fecha : QDate(2002, 1, 1);
}

// ---- Construction ----

TFormMain::TFormMain(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(QStringLiteral("FormMain"));
    CreaControles();
    ConectaGrids();
    m_cambioArbol.setSingleShot(true);
    m_cambioArbol.setInterval(200);
    connect(treeInfoGlobal, &QTreeWidget::currentItemChanged, &m_cambioArbol, qOverload<>(&QTimer::start));
    connect(treeInfoGlobal, &QTreeWidget::itemSelectionChanged, &m_cambioArbol, qOverload<>(&QTimer::start));
    connect(&m_cambioArbol, &QTimer::timeout, this,
            [this] {
                ComandoEnCurso comando(this);
                Protege("TFormMain::treeInfoGlobalChange", [this] { treeInfoGlobalChange(); });
            });
    Conecta(cbtSalir, &TFormMain::cbtSalirClick);
    Conecta(mainMenuSalir, &TFormMain::cbtSalirClick);
    Conecta(cbtFinalizarSesion, &TFormMain::cbtFinalizarSesionClick);
    Conecta(mainMenuFinalizarSesion, &TFormMain::cbtFinalizarSesionClick);
    Conecta(MNUCastellano, &TFormMain::MNUCastellanoClick);
    ConectaComandos();
    ConectaBusqueda();
    Conecta(cbtInformeRecibos, &TFormMain::cbtInformeRecibosClick);
    Conecta(mainMenuInformeRecibos, &TFormMain::cbtInformeRecibosClick);
    Conecta(cbtInformeLibrados, &TFormMain::cbtInformeLibradosClick);
    Conecta(mainMenuInformeLibrados, &TFormMain::cbtInformeLibradosClick);
    Conecta(cbtMasterInforme, &TFormMain::cbtMasterInformeClick);

    App().Multiuser = new _multiuser;
    App().Multiuser->Host.TiempoInactividad = [this] { return TiempoInactividad; };
    App().Multiuser->Host.GetPathBD = [this] { return GetPathBD(); };
    App().Multiuser->Host.ProcesaActualizacion = [this](int usuario, int nivel, int id) {
        RecibeActualizacion(usuario, nivel, id);
    };
    ConectaPeriferia();
    ConectaHistoricos();
    ConectaLibrados();
    ConectaModMasivas();

    const std::string ini = RutaIni();
    if (profile::readKeys(ini, "WINDOW").empty())
        ReescribeInstallLog();
    TomaCarpetaPropia(ini);
    PathBD = progdir::file(profile::readString(ini, "GENERAL", "BaseDatos", kBaseDatos));
    if (!TieneClave(ini, "GENERAL", "BaseDatos"))
        profile::writeString(ini, "GENERAL", "BaseDatos", kBaseDatos);
    VASQ_SetDebug(0);
    SaltarLogin = false;

    ArranqueFallido = !AbreBaseDatos();
    if (!ArranqueFallido) {
        profile::writeString(ini, "GENERAL", kCarpetaPrograma, progdir::path());
        WriteLog("[ INICIO DE SESION ]");
        std::error_code ec;
        IniciaPlantillas(cp1252::fromUtf8(std::filesystem::current_path(ec).string()) + "/items.ini");
        App().Multiuser->IniciaMultiusuario();
        CheckUserConfigFile();
        CargaProvincias();
    }
    // Read even after a failed start, so that closing writes back what the file held.
    LeeConfiguracion();
    AplicaGeometria();
    ColocaPaneles();
    IniciaAnimacion();
    EstadoInicialComandos();
    statusMainWindowDrawPanel();
}

TFormMain::~TFormMain()
{
    FormDestroy();
}

bool TFormMain::AbreBaseDatos()
{
    // Without a folder it can write in, the program can neither rebuild nor keep its
    // database: it says so at once.
    if (!SePuedeEscribirJunto(PathBD)) {
        AvisaSinBaseDatos(928, PathBD.substr(0, PathBD.rfind('/')));
        return false;
    }
    // The last copy on its way out holds the database alone while it compacts it and
    // writes its scrambled copy; a copy started meanwhile waits for it, then rebuilds or
    // opens what it left.
    QElapsedTimer espera;
    espera.start();
    FalloCopia fallo = FalloCopia::Ninguno;
    int preparada = 0, abierta = 0;
    for (;;) {
        abierta = 0;
        preparada = PreparaBD(PathBD, fallo);
        if (preparada == 0) {
            SetBdPassword(kPasswordBD);
            abierta = VASQ_OpenDB(PathBD.c_str(), 0, 0);
        }
        // Held by that copy, or removed by it between the look and the open.
        const bool retenida =
            preparada == VASQ_ERR_INUSE || abierta == VASQ_ERR_INUSE || (abierta != 0 && !Existe(PathBD));
        if (!retenida || espera.hasExpired(kEsperaRetenida))
            break;
        VASQ_GetLastErrorCodeID();
        QThread::msleep(100);
    }
    if (preparada != 0) {
        VASQ_GetLastErrorCodeID();
        AvisaFalloReconstruccion(PathBD, fallo);
        return false;
    }
    if (abierta == 0 && TieneTablasDelPrograma())
        return true;
    char texto[1024] = "";
    VASQ_GetLastErrorCodeDesc(texto, 1023);
    const std::string porque = PorQueNoSeAbre(abierta, texto);
    VASQ_CloseDB();
    // A file that is no database of the program, or that the engine cannot read: the copy
    // may still hold the data.
    const bool ilegible = abierta == 0 || abierta > VASQ_ENGINE_ERROR_BASE;
    if (ilegible && TieneDatos(RutaCopiaBD(PathBD)))
        return OfreceReconstruir(porque);
    CajaMensaje(ilegible ? FormateaTexto(::Idioma.GetTexto(935), PathBD, porque) : porque, ::Idioma.GetTexto(117),
                IconoMensaje::Error);
    return false;
}

bool TFormMain::OfreceReconstruir(const std::string &porque)
{
    const std::string copia = RutaCopiaBD(PathBD), aparte = RutaApartada(PathBD);
    if (CajaMensaje(FormateaTexto(::Idioma.GetTexto(922), PathBD, porque, copia, aparte), ::Idioma.GetTexto(117),
                    IconoMensaje::Pregunta, BotonesMensaje::SiNo) != RespuestaSi)
        return false;
    FalloCopia fallo = FalloCopia::Otro;
    bool hecha = false;
    if (VASQ_LockExclusive(PathBD.c_str()) == 0) {
        // The unreadable file keeps its journal beside it; a failed rebuild puts both back.
        if (RenombraSinReemplazar(PathBD, aparte)) {
            RenombraSinReemplazar(PathBD + "-wal", aparte + "-wal");
            BorraFichero(PathBD + "-shm");
            hecha = RecuperaBDCifrada(PathBD, kPasswordBD, &fallo);
            if (!hecha) {
                RenombraSinReemplazar(aparte, PathBD);
                RenombraSinReemplazar(aparte + "-wal", PathBD + "-wal");
            }
        }
        VASQ_UnlockExclusive();
    }
    VASQ_GetLastErrorCodeID();
    if (!hecha) {
        AvisaFalloReconstruccion(PathBD, fallo);
        return false;
    }
    WriteLog("[ TFormMain::AbreBaseDatos ] '" + PathBD + "' no se pod\xED" "a leer (" + porque +
             "): reconstruida desde su copia; el fichero queda en '" + aparte + "'");
    SetBdPassword(kPasswordBD);
    if (VASQ_OpenDB(PathBD.c_str(), 0, 0) == 0 && TieneTablasDelPrograma())
        return true;
    char texto[1024] = "";
    VASQ_GetLastErrorCodeDesc(texto, 1023);
    VASQ_CloseDB();
    CajaMensaje(texto, ::Idioma.GetTexto(117), IconoMensaje::Error);
    return false;
}

void TFormMain::LeeConfiguracion()
{
    const std::string ini = RutaIni();
    auto lee = [&ini](const char *seccion, const char *clave, const std::string &omision) {
        return profile::readString(ini, seccion, clave, omision);
    };
    auto ruta = [&lee](const char *seccion, const char *clave, const char *omision) {
        return progdir::file(lee(seccion, clave, omision));
    };
    FechaEuro = LeeFechaEuro(lee("GENERAL", "FechaEuro", "01/01/2002"));
    TiempoInactividad = profile::readInt(ini, "GENERAL", "Tiempo_Inactividad", 15);
    UltimoFichero = lee("FICHEROCSB", "UltimoFichero", "0");
    RutaCSB19 = ruta("FICHEROCSB", "RutaCSB19", "CSB19");
    RutaCSB58 = ruta("FICHEROCSB", "RutaCSB58", "CSB58");
    RutaHistorico = ruta("FICHEROCSB", "RutaHistorico", "HISTORICO");
    STRImpCSB19 = ruta("GENERAL", "STRImpCSB19", "CSB19.INI");
    STRImpCSB58 = ruta("GENERAL", "STRImpCSB58", "CSB58.INI");
    URLTelvirana = lee("URL", "URLTelvirana", "https://empresas.telvirana.example/");
    URLHelpFile = lee("URL", "URLHelpFile", "https://www.telvirana.example/");
    WWWBrowserEXEName = lee("URL", "WWWBrowserEXEName", "iexplore");
    Idioma = lee("GENERAL", "Idioma", "Castellano");
}

void TFormMain::AplicaGeometria()
{
    const std::string ini = RutaIni();
    const QScreen *pantalla = QGuiApplication::primaryScreen();
    const QSize util = pantalla ? pantalla->availableGeometry().size() : QSize(800, 600);
    const bool maximizada = profile::readInt(ini, "WINDOW", "WinMaximized", 1) != 0;
    const int ancho = profile::readInt(ini, "WINDOW", "WinWidth", util.width());
    const int alto = profile::readInt(ini, "WINDOW", "WinHeight", util.height());
    const int izquierda = profile::readInt(ini, "WINDOW", "WinLeft", 0);
    const int arriba = profile::readInt(ini, "WINDOW", "WinTop", 0);
    const int panel = profile::readInt(ini, "WINDOW", "Panel", 244);
    splitterMain->setSizes({panel, std::max(1, ancho - panel)});
    // The size is also the one the window returns to from maximized.
    resize(ancho, alto);
    if (maximizada)
        setWindowState(windowState() | Qt::WindowMaximized);
    else
        move(izquierda, arriba);
}

void TFormMain::GuardaConfiguracion()
{
    const std::string ini = RutaIni();
    auto escribe = [&ini](const char *seccion, const char *clave, const std::string &valor) {
        profile::writeString(ini, seccion, clave, valor);
    };
    escribe("GENERAL", "Tiempo_Inactividad", std::to_string(TiempoInactividad));
    escribe("FICHEROCSB", "RutaCSB19", progdir::relative(RutaCSB19));
    escribe("FICHEROCSB", "RutaCSB58", progdir::relative(RutaCSB58));
    escribe("FICHEROCSB", "RutaHistorico", progdir::relative(RutaHistorico));
    // UltimoFichero is the send-file writer's: another copy may have moved it on.
    escribe("GENERAL", "STRImpCSB19", progdir::relative(STRImpCSB19));
    escribe("GENERAL", "STRImpCSB58", progdir::relative(STRImpCSB58));
    escribe("URL", "URLHelpFile", URLHelpFile);
    escribe("URL", "WWWBrowserEXEName", WWWBrowserEXEName);
    escribe("URL", "URLTelvirana", URLTelvirana);
    escribe("WINDOW", "WinMaximized", isMaximized() ? "1" : "0");
    escribe("WINDOW", "WinWidth", std::to_string(width()));
    escribe("WINDOW", "WinHeight", std::to_string(height()));
    escribe("WINDOW", "WinLeft", std::to_string(x()));
    escribe("WINDOW", "WinTop", std::to_string(y()));
    escribe("WINDOW", "Panel", std::to_string(panelLeft->width()));
    escribe("GENERAL", "Idioma", ::Idioma.GetNombreIdioma());
}

void TFormMain::IniciaAnimacion()
{
    aviAlicated->setToolTip(cp1252::toQString(URLTelvirana));
    auto *pelicula = new QMovie(cp1252::toQString(progdir::file("TVend.avi")), QByteArray(), aviAlicated);
    if (pelicula->isValid()) {
        aviAlicated->setMovie(pelicula);
        pelicula->start();
    } else {
        delete pelicula;
    }
}

void TFormMain::CargaProvincias()
{
    m_provincias.clear();
    DBGetData("SELECT * FROM [_Provincias()];", [this](char *fila, char *, int) {
        m_provincias.emplace(Recorta(GetCampoTexto("CP", fila)), Recorta(GetCampoTexto("Provincia", fila)));
    });
}

std::string TFormMain::GetProvincia(std::string_view codigo) const
{
    const auto p = m_provincias.find(std::string(codigo));
    return p == m_provincias.end() ? std::string() : p->second;
}

void TFormMain::ColocaPaneles()
{
    AjustaColumnas();
    for (QWidget *panel : {panelGrdEmpresas, panelGrdEmisores, panelGrdRemesas, panelGrdDocumentos})
        panel->hide();
}

void TFormMain::AjustaColumnas()
{
    auto aplica = [](QTableView *grid, const QLabel *titulo, std::initializer_list<int> anchos) {
        // The widths suit a font whose digits are 5 pixels wide, and grow with a larger one;
        // the room of a vertical scroll bar is kept. The name column takes the rest, but never
        // less than a readable name: a narrower grid scrolls sideways.
        const double escala = std::max(1.0, grid->fontMetrics().horizontalAdvance(QLatin1Char('0')) / 5.0);
        const int total = titulo->width() - grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
        const int nombre = int(std::lround(kAnchoNombre * escala));
        int columna = 0;
        for (int ancho : anchos) {
            // Negative widths count from the title's width; -1 hides the column.
            const int escalado = int(std::lround(ancho * escala));
            const int a = ancho == -1 ? -1 : ancho < -1 ? std::max(nombre, total + escalado) : escalado;
            grid->setColumnHidden(columna, a < 0);
            if (a >= 0)
                grid->setColumnWidth(columna, a);
            ++columna;
        }
    };
    if (!panelGrdEmpresas->isHidden()) {
        aplica(lstGridPresentadores, panelTitleEmpresas, {20, 80, 40, -223, 80});
    } else if (!panelGrdEmisores->isHidden()) {
        aplica(lstGridEmisores, panelTitleEmisores, {20, 80, 130, -233});
    } else if (!panelGrdRemesas->isHidden()) {
        aplica(lstGridRemesas, panelTitleRemesas, {20, 20, 20, -397, 60, 70, 100, 100});
    } else if (!panelGrdDocumentos->isHidden()) {
        const bool csb58 = GetTipoOrden() == "CSB58";
        aplica(lstGridDocumentos, panelTitleRecibos, {20, 20, csb58 ? 80 : -1, csb58 ? -462 : -380, 150, 80, -1, 100, -1});
    }
}

void TFormMain::RefrescaTextos()
{
    auto texto = [](int n) { return cp1252::toQString(::Idioma.GetTexto(n)); };
    statusPanel[0]->setText(texto(397) + QStringLiteral(": "));
    statusPanel[2]->setText(texto(353) + QStringLiteral(": "));
    const std::pair<QAction *, int> pistas[] = {
        {cbtExportar, 35},         {cbtImportar, 36},          {cbtAlta, 21},
        {cbtBaja, 22},             {cbtModificacion, 23},      {cbtMantenimientoLibrados, 336},
        {cbtGestionPlantillas, 337}, {cbtSeleccionar, 31},     {cbtDeseleccionar, 32},
        {cbtInformeRecibos, 319},  {cbtInformeLibrados, 335},  {cbtMasterInforme, 338},
        {cbtBuscar, 205},          {cbtAyuda, 17},             {cbtFinalizarSesion, 339},
        {cbtSalir, 34},            {cbtAltaRapida, 204},       {cbtHistorico, 596},
    };
    for (const auto &[item, n] : pistas) {
        item->setText(texto(n));
        item->setToolTip(texto(n));
    }
    const std::pair<QLabel *, int> titulos[] = {
        {LBTotal, 441},         {LBNumTotal, 341},         {LBImporte, 369},       {LBNumActivos, 342},
        {LBNumDesactivos, 569}, {LBImporteDesactivos, 570}, {LBImporteActivos, 340},
    };
    for (const auto &[etiqueta, n] : titulos)
        etiqueta->setText(texto(n));
    ActualizaBotonMoneda();
}

// ---- Show, login and close ----

void TFormMain::showEvent(QShowEvent *evento)
{
    QMainWindow::showEvent(evento);
    // The login runs from the event loop, once the window is on screen.
    if (!evento->spontaneous())
        QTimer::singleShot(0, this, [this] { Protege("TFormMain::FormShow", [this] { FormShow(); }); });
}

void TFormMain::FormShow()
{
    if (ArranqueFallido) {
        TerminaAplicacion();
        return;
    }
    std::fill(std::begin(ColumnaAsc), std::end(ColumnaAsc), -1);
    std::fill(std::begin(ColumnaDesc), std::end(ColumnaDesc), -1);
    GridsActivos = true;
    if (!SaltarLogin) {
        ::Idioma.SetIdiomaPorNombre(Idioma);
        RefrescaTextos();
        if (!App().FormLogin || App().FormLogin->exec() != QDialog::Accepted) {
            LiberaBloqueos();
            TerminaAplicacion();
            return;
        }
    }
    SaltarLogin = false;
}

void TFormMain::MuestraEmpresa(int idEmpresa)
{
    if (!VASQ_IsDBOpened()) {
        close();
        return;
    }
    IdEmpresa = std::to_string(idEmpresa);
    CargaArbol(IdEmpresa);
    for (QWidget *panel : {panelGrdEmpresas, panelGrdEmisores, panelGrdRemesas, panelGrdDocumentos, panelBottom})
        panel->hide();
}

void TFormMain::LiberaBloqueos()
{
    if (!App().Multiuser)
        return;
    App().Multiuser->LiberaSeleccion();
    App().Multiuser->DesbloqueaUsuarioLogin();
}

void TFormMain::cbtSalirClick()
{
    Inactividad.Reinicia();
    close();
}

void TFormMain::cbtFinalizarSesionClick()
{
    if (CajaMensaje(::Idioma.GetTexto(199), ::Idioma.GetTexto(201), IconoMensaje::Pregunta, BotonesMensaje::SiNo) !=
        RespuestaSi)
        return;
    hide();
    SaltarLogin = true;
    LiberaBloqueos();
    if (App().FormLogin->exec() != QDialog::Accepted) {
        TerminaAplicacion();
        return;
    }
    show();
}

void TFormMain::MNUCastellanoClick()
{
    ::Idioma.SetIdioma(IdiomaCastellano);
    MNUCastellano->setChecked(true);
    MNUCatalan->setChecked(false);
    MNUIngles->setChecked(false);
    RefrescaTextos();
}

void TFormMain::closeEvent(QCloseEvent *evento)
{
    bool cerrar = m_terminando;
    if (!cerrar)
        Protege("TFormMain::FormClose", [&] { cerrar = FormClose(); });
    if (!cerrar) {
        evento->ignore();
        return;
    }
    evento->accept();
    TerminaAplicacion();
}

bool TFormMain::FormClose()
{
    if (CajaMensaje(::Idioma.GetTexto(184), ::Idioma.GetTexto(185), IconoMensaje::Pregunta, BotonesMensaje::SiNo) !=
        RespuestaSi)
        return false;
    LiberaBloqueos();
    GuardaConfiguracion();
    return true;
}

void TFormMain::TerminaAplicacion()
{
    m_terminando = true;
    QCoreApplication::exit(0);
}

// ---- Exit ----

void TFormMain::FormDestroy()
{
    if (m_destruida)
        return;
    m_destruida = true;
    m_cambioArbol.stop();
    if (App().Multiuser)
        App().Multiuser->FinMultiusuario();
    WriteLog("[ FIN DE SESION ]");
    FinPlantillas();
    const bool limpia = !ArranqueFallido && CierraUltimaCopia();
    VASQ_CloseDB();
    delete App().Multiuser;
    App().Multiuser = nullptr;
    if (limpia) {
        BorraFichero(progdir::file("vasqdb.log"));
        BorraFichero(progdir::file("Orvanta.LOG"));
    }
}

bool TFormMain::CierraUltimaCopia()
{
    // A copy that lost its database cannot tell whether it is the last.
    if (!VASQ_IsDBOpened())
        return false;
    VASQ_CloseDB();
    if (VASQ_LockExclusive(PathBD.c_str()) != 0) {
        VASQ_GetLastErrorCodeID(); // another copy has it open: it is that copy's to keep
        return false;
    }
    // Held alone, no other copy has the database open: the rows left in the registry are
    // copies that died, swept now, unless one beat lately.
    const bool abierta = VASQ_OpenDB(PathBD.c_str(), 0, 0) == 0;
    const bool ultima = abierta && App().Multiuser && App().Multiuser->UltimaSalida();
    VASQ_CloseDB();
    if (!ultima) {
        VASQ_GetLastErrorCodeID();
        VASQ_UnlockExclusive();
        WriteLog("[ TFormMain::CierraUltimaCopia ] Queda otra copia registrada: la base de datos se conserva");
        // The copy stays as an earlier exit wrote it: a backup of it now would miss this run.
        if (abierta)
            CajaMensaje(FormateaTexto(::Idioma.GetTexto(782), PathBD, RutaCopiaBD(PathBD), PathBD),
                        ::Idioma.GetTexto(6), IconoMensaje::Informacion);
        return false;
    }
    // The database is checked and written once, compacted and scrambled, into the copy,
    // and removed; a failure keeps the database and the old copy, and the user is told.
    FalloCopia fallo = FalloCopia::Ninguno;
    bool limpia = false;
    {
        CursorEspera cursor;
        const std::unique_ptr<TFormCerrando> aviso = TFormCerrando::MuestraSiTarda(this, PathBD, 790);
        limpia = GuardaBDCifrada(PathBD, false, kPasswordBD, &fallo);
    }
    VASQ_UnlockExclusive();
    if (!limpia)
        AvisaCopiaNoEscrita(fallo);
    return limpia;
}

void TFormMain::AvisaCopiaNoEscrita(FalloCopia fallo)
{
    const bool danada = fallo == FalloCopia::Danada || fallo == FalloCopia::NoEsBase;
    const int porque = fallo == FalloCopia::SinEspacio ? 916 : danada ? 917 : 918;
    const int remedio = fallo == FalloCopia::SinEspacio ? 919 : danada ? 920 : 921;
    CajaMensaje(FormateaTexto(::Idioma.GetTexto(915), RutaCopiaBD(PathBD), ::Idioma.GetTexto(porque), PathBD,
                              ::Idioma.GetTexto(remedio)),
                ::Idioma.GetTexto(1), IconoMensaje::Error);
}
