// The main window's commands that look after the database file and the settings: save
// data, repair, compact, the configuration dialog and the help.
#include "Frmmain.h"

#include "Acerca.h"
#include "Aplicacion.h"
#include "Cerrando.h"
#include "Controles.h"
#include "Frmcfg.h"
#include "General.h"
#include "Multiidioma.h"
#include "Multiuser.h"
#include "Unieuro.h"
#include "Uniintro.h"
#include "cp1252.h"
#include "profile.h"
#include "progdir.h"
#include "qcp1252.h"
#include "vasqdb.h"

#include <QDesktopServices>
#include <QElapsedTimer>
#include <QPointer>
#include <QSpinBox>
#include <QThread>
#include <QUrl>
#include <algorithm>
#include <filesystem>

namespace {

constexpr int kTextoGuardando = 732;

bool Existe(const std::string &ruta)
{
    std::error_code ec;
    return std::filesystem::exists(cp1252::fileName(ruta), ec);
}

// The coordination paused while the object lives (the database may be closed meanwhile).
class PausaCoordinacion {
public:
    PausaCoordinacion()
    {
        if (App().Multiuser)
            App().Multiuser->Pausado = true;
    }
    ~PausaCoordinacion()
    {
        if (App().Multiuser)
            App().Multiuser->Pausado = false;
    }
    PausaCoordinacion(const PausaCoordinacion &) = delete;
    PausaCoordinacion &operator=(const PausaCoordinacion &) = delete;
};

// A repair or compaction that had no room on the disk (resultado, the library's) says so in
// texto, naming the database and its copy, which stay as they were; false for any other
// result.
bool AvisaDiscoLleno(int resultado, int texto, const std::string &ruta)
{
    if (resultado <= VASQ_ENGINE_ERROR_BASE || VASQ_ENGINE_PRIMARY(resultado) != VASQ_PRIMARY_FULL)
        return false;
    CajaMensaje(FormateaTexto(::Idioma.GetTexto(texto), ruta, RutaCopiaBD(ruta)), ::Idioma.GetTexto(6),
                IconoMensaje::Error);
    return true;
}

} // namespace

bool TFormMain::ReabreBD()
{
    for (;;) {
        QElapsedTimer espera;
        espera.start();
        SetBdPassword(kPasswordBD);
        int abierta = VASQ_OpenDB(PathBD.c_str(), 0, 0);
        for (; abierta == VASQ_ERR_INUSE && !espera.hasExpired(kEsperaRetenida);
             abierta = VASQ_OpenDB(PathBD.c_str(), 0, 0)) {
            VASQ_GetLastErrorCodeID();
            QThread::msleep(100);
        }
        if (abierta == 0)
            return true;
        char texto[1024] = "";
        VASQ_GetLastErrorCodeDesc(texto, 1023);
        WriteLog(std::string("[ vasqdb::VASQ_GetData ] ") + texto);
        if (CajaMensaje(FormateaTexto(::Idioma.GetTexto(940), PathBD, texto), ::Idioma.GetTexto(117),
                        IconoMensaje::Error, BotonesMensaje::SiNo) != RespuestaSi) {
            TerminaAplicacion();
            return false;
        }
    }
}

bool TFormMain::TrabajaEnExclusiva(const std::function<bool()> &trabajo)
{
    VASQ_CloseDB();
    bool hecho = false, abierta = false;
    if (VASQ_LockExclusive(PathBD.c_str()) == 0) {
        // The library's maintenance needs the database open; it is opened under the hold,
        // and so is the file the work leaves, before the hold becomes a shared open.
        hecho = VASQ_OpenDB(PathBD.c_str(), 0, 0) == 0 && trabajo();
        VASQ_CloseDB();
        SetBdPassword(kPasswordBD);
        abierta = VASQ_OpenDB(PathBD.c_str(), 0, 0) == 0 && VASQ_DowngradeExclusive() == 0;
        if (!abierta)
            VASQ_CloseDB();
        VASQ_UnlockExclusive();
    }
    VASQ_GetLastErrorCodeID();
    return (abierta || ReabreBD()) && hecho;
}

void TFormMain::MNUGuardarcambiosClick()
{
    // One state of the database goes into the scrambled copy while it stays open and other
    // copies go on writing.
    FalloCopia fallo = FalloCopia::Ninguno;
    bool guardada = false;
    {
        PausaCoordinacion pausa;
        CursorEspera cursor;
        const std::unique_ptr<TFormCerrando> aviso = TFormCerrando::MuestraSiTarda(this, PathBD, kTextoGuardando);
        guardada = GuardaBDCifrada(PathBD, true, kPasswordBD, &fallo);
    }
    if (!guardada)
        AvisaCopiaNoEscrita(fallo);
}

void TFormMain::MNURepararClick()
{
    bool reparada = false;
    int resultado = 1;
    char danos[1024] = "";
    {
        PausaCoordinacion pausa;
        CursorEspera cursor;
        reparada = TrabajaEnExclusiva([&] {
            resultado = VASQ_RepairBase(PathBD.c_str());
            if (resultado > VASQ_ENGINE_ERROR_BASE)
                VASQ_GetLastErrorCodeDesc(danos, 1023);
            return resultado == 0;
        });
    }
    if (m_terminando || AvisaDiscoLleno(resultado, 937, PathBD))
        return;
    if (resultado > VASQ_ENGINE_ERROR_BASE)
        CajaMensaje(FormateaTexto(::Idioma.GetTexto(925), danos, PathBD, RutaCopiaBD(PathBD)), ::Idioma.GetTexto(6),
                    IconoMensaje::Error);
    else
        AvisoTexto(reparada ? 660 : 646, 6, IconoMensaje::Informacion);
}

bool TFormMain::Compactar(FalloCopia &fallo, int &resultado)
{
    PausaCoordinacion pausa;
    CursorEspera cursor;
    const std::string destino = RutaCompactacion();
    fallo = FalloCopia::Ninguno;
    resultado = 1;
    return TrabajaEnExclusiva([this, &destino, &fallo, &resultado] {
        resultado = VASQ_CompactBase(PathBD.c_str(), destino.c_str());
        if (resultado != 0 || !Existe(destino))
            return false;
        // The compacted file is renamed over the database, whose journal went with its
        // last connection: one left behind would not belong to the new file.
        BorraDiarios(PathBD);
        if (!RenombraFichero(destino, PathBD)) {
            BorraFichero(destino);
            return false;
        }
        GuardaBDCifrada(PathBD, true, kPasswordBD, &fallo);
        return true;
    });
}

void TFormMain::MNUCompactarClick()
{
    FalloCopia fallo = FalloCopia::Ninguno;
    int resultado = 0;
    const bool compactada = Compactar(fallo, resultado);
    if (m_terminando || AvisaDiscoLleno(resultado, 936, PathBD))
        return;
    if (fallo != FalloCopia::Ninguno)
        AvisaCopiaNoEscrita(fallo);
    else
        AvisoTexto(compactada ? 628 : 647, 6, IconoMensaje::Informacion);
}

void TFormMain::mainmenuConfiguracionClick()
{
    TFormCfg *cfg = App().FormCfg;
    const std::string ini = progdir::file("Orvanta.INI");
    std::string carpeta = progdir::file(profile::readString(ini, "GENERAL", "BaseDatos", GetPathBD()));
    carpeta = carpeta.substr(0, std::min<size_t>(carpeta.rfind('/') + 1, 511));
    cfg->SetPathCSB19(RutaCSB19);
    cfg->SetPathCSB58(RutaCSB58);
    cfg->SetPathHist(RutaHistorico);
    cfg->CSpTimeOut->setValue(std::clamp(TiempoInactividad, TFormCfg::kMinutosMinimo, TFormCfg::kMinutosMaximo));
    while (carpeta.size() > 1 && carpeta.back() == '/')
        carpeta.pop_back();
    PonTextoCaja(cfg->EdPathBD, carpeta);
    if (cfg->exec() != QDialog::Accepted)
        return;

    RutaCSB19 = cfg->GetPathCSB19();
    RutaCSB58 = cfg->GetPathCSB58();
    RutaHistorico = cfg->GetPathHist();
    TiempoInactividad = cfg->CSpTimeOut->value();
    GuardaConfiguracion();
    const std::string elegida = TextoCaja(cfg->EdPathBD);
    if (!Existe(elegida + "/Orvanta.mcr")) {
        AvisoTexto(645, 6, IconoMensaje::Error);
        return;
    }
    if (elegida != carpeta) {
        AvisoTexto(644, 6, IconoMensaje::Informacion);
        GuardaPathBD(elegida + "/Orvanta.mdb");
    }
}

void TFormMain::GuardaPathBD(const std::string &ruta)
{
    profile::writeString(progdir::file("Orvanta.INI"), "GENERAL", "BaseDatos", progdir::relative(ruta));
}

void TFormMain::cbtAyudaClick()
{
    // The opener reports success for a missing file: it is looked for first.
    const std::string guia = progdir::file("ayuda/orvanta.html");
    if (!Existe(guia) || !QDesktopServices::openUrl(QUrl::fromLocalFile(cp1252::toQString(guia))))
        AvisoTexto(183, 1, IconoMensaje::Error);
}

void TFormMain::menuAyudaAproximacionClick()
{
    // The window frees itself when it closes.
    QPointer<TFRMIntroduccion> ayuda = new TFRMIntroduccion(this);
    ayuda->exec();
    delete ayuda.data();
}

void TFormMain::mainMenuAcercaDeClick()
{
    TAcercaDe acerca(this);
    acerca.exec();
}

void TFormMain::EuroCalculadora1Click()
{
    TFRMEuroCalc *calculadora = App().FRMEuroCalc;
    calculadora->show();
    calculadora->raise();
    calculadora->activateWindow();
}

void TFormMain::ConectaPeriferia()
{
    Conecta(MNUGuardardatos, &TFormMain::MNUGuardarcambiosClick);
    Conecta(MNUReparar, &TFormMain::MNURepararClick);
    Conecta(MNUCompactar, &TFormMain::MNUCompactarClick);
    Conecta(mainmenuConfiguracion, &TFormMain::mainmenuConfiguracionClick);
    Conecta(MNUAyuda, &TFormMain::cbtAyudaClick);
    Conecta(cbtAyuda, &TFormMain::cbtAyudaClick);
    Conecta(menuAyudaAproximacion, &TFormMain::menuAyudaAproximacionClick);
    Conecta(mainMenuAcercaDe, &TFormMain::mainMenuAcercaDeClick);
    Conecta(EuroCalculadora1, &TFormMain::EuroCalculadora1Click);
    Conecta(BTNEuroCalc, &TFormMain::EuroCalculadora1Click);
    VigilaUsuario();
}
