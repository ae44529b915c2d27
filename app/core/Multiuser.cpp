// The coordination of the running copies: registry, heartbeat, sweep, notices, conversion.
#include "Multiuser.h"

#include "Cfgfile.h"
#include "Frmmsg.h"
#include "General.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "MultiuserSQL.h"
#include "cp1252.h"
#include "profile.h"
#include "vasqdb.h"

#include <QPointer>
#include <filesystem>
#include <system_error>

using namespace multiusersql;

namespace {

// A database made before multi-user support gets the registry, the notices and the lock
// counters.
const char *const kConversion[] = {
    "CREATE TABLE [Aplicaciones()] (Num_Aplicacion AUTOINCREMENT,Hora TEXT(6),Reg_Usuario INTEGER,"
    "Id_UsuarioLogineado INTEGER,Reg_Empresa INTEGER,Reg_Presentador INTEGER, Reg_Emisor INTEGER, "
    "Reg_Librado INTEGER,Reg_Remesa INTEGER,Reg_Documentos INTEGER,Reg_Plantilla INTEGER);",
    "CREATE TABLE [Actualizaciones()] (Id_Actualizacion AUTOINCREMENT,Num_Aplicacion INTEGER,"
    "Id_Usuario INTEGER,Nivel INTEGER,Id_Actualizar INTEGER,Contador INTEGER);",
    "ALTER TABLE [_Usuarios()] ADD Block INTEGER ;",
    "UPDATE [_Usuarios()] SET Block=0",
    "ALTER TABLE [_Empresas( Datos )] ADD Block INTEGER;",
    "UPDATE [_Empresas( Datos )] SET Block=0",
    "ALTER TABLE [_Presentadores( Datos )] ADD Block INTEGER;",
    "UPDATE [_Presentadores( Datos )] SET Block=0",
    "ALTER TABLE [_Emisores( Datos )] ADD Block INTEGER;",
    "UPDATE [_Emisores( Datos )] SET Block=0",
    "ALTER TABLE [Remesas()] ADD Block INTEGER;",
    "UPDATE [Remesas()] SET Block=0",
    "ALTER TABLE [Librados( Datos )] ADD Block INTEGER;",
    "UPDATE [Librados( Datos )] SET Block=0",
    "ALTER TABLE [Documentos()] ADD Block INTEGER;",
    "UPDATE [Documentos()] SET Block=0",
    "ALTER TABLE [Plantillas( Datos )] ADD Block INTEGER;",
    "UPDATE [Plantillas( Datos )] SET Block=0",
    "ALTER TABLE [Plantillas( Elementos )] ADD Block INTEGER;",
    "UPDATE [Plantillas( Elementos )] SET Block=0",
};

// The all-clear of the last copy out. Only rows still locked are written: rewriting every
// bill at each exit would cost as much as copying the whole database.
const char *const kDesbloqueoTotal[] = {
    "UPDATE [_Usuarios()] SET Block=0 WHERE Block<>0;",
    "UPDATE [_Empresas( Datos )] SET Block=0 WHERE Block<>0;",
    "UPDATE [_Presentadores( Datos )] SET Block=0 WHERE Block<>0;",
    "UPDATE [_Emisores( Datos )] SET Block=0 WHERE Block<>0;",
    "UPDATE [Remesas()] SET Block=0 WHERE Block<>0;",
    "UPDATE [Librados( Datos )] SET Block=0 WHERE Block<>0;",
    "UPDATE [Documentos()] SET Block=0 WHERE Block<>0;",
    "UPDATE [Plantillas( Datos )] SET Block=0 WHERE Block<>0;",
    "UPDATE [Plantillas( Elementos )] SET Block=0 WHERE Block<>0;",
    "DELETE FROM [Actualizaciones()]",
};

// The all-clear of the last copy out, through the logged SQL layer.
void DesbloqueoTotal()
{
    for (const char *sql : kDesbloqueoTotal) {
        int filas = 0;
        DBExecSQL(sql, filas);
    }
}

// A pass every 2 seconds; a copy whose heartbeat stands still over 20 passes is dead.
constexpr int kIntervaloPasada = 2000; // ms
constexpr int kVentanaBarrido = 20 * kIntervaloPasada / 1000; // s
constexpr int kSegundosDia = 24 * 60 * 60;

// The path with its extension (after the last "." of the file name) replaced.
std::string CambiaExtension(const std::string &ruta, const char *extension)
{
    const size_t barra = ruta.find_last_of("/\\");
    const size_t punto = ruta.rfind('.');
    const bool tiene = punto != std::string::npos && (barra == std::string::npos || punto > barra);
    return (tiene ? ruta.substr(0, punto) : ruta) + extension;
}

// Keeps the scrambled copy of the old database as ".bak"; an existing ".bak" stays.
void GuardaCopiaAntigua(const std::string &rutaBD)
{
    const std::filesystem::path copia = cp1252::fileName(RutaCopiaBD(rutaBD));
    const std::filesystem::path bak = cp1252::fileName(CambiaExtension(rutaBD, ".bak"));
    std::error_code ec;
    if (!std::filesystem::exists(bak, ec))
        std::filesystem::rename(copia, bak, ec);
}

} // namespace

_multiuser::_multiuser(QObject *parent)
    : QObject(parent)
{
    m_timer.setInterval(kIntervaloPasada);
    connect(&m_timer, &QTimer::timeout, this, &_multiuser::Execute);
}

_multiuser::~_multiuser()
{
    m_timer.stop();
}

std::string _multiuser::Hora() const
{
    return (m_reloj ? m_reloj() : QTime::currentTime()).toString(QStringLiteral("hhmmss")).toStdString();
}

// ---- Registry ----

bool _multiuser::InsertaRegistro()
{
    int filas = 0;
    DBExecSQL(FormatoSQL("INSERT INTO [Aplicaciones()] (Hora) VALUES ('%s');", Hora().c_str()), filas);
    Num_Aplicacion = filas > 0 ? int(VASQ_GetLastInsertID()) : 0;
    m_leidaGuardada = 0;
    return filas > 0;
}

bool _multiuser::IniciaMultiusuario()
{
    Registrado = true;
    m_pasadas = 19;
    m_horasBarrido.clear();
    m_numerosBarrido.clear();
    ConvierteBaseDatos();
    ActualizaEsquema();
    PathIni = GetAppPath() + "Orvanta.INI";
    const bool insertado = InsertaRegistro();
    m_timer.start();
    return insertado;
}

bool _multiuser::FinMultiusuario()
{
    if (!Registrado)
        return true;
    m_timer.stop();
    LiberaAplicacion(Num_Aplicacion);
    Registrado = false;

    std::string fila;
    const std::string error = DBGetData("SELECT COUNT (*) AS Total FROM [Aplicaciones()] Num_Aplicacion;",
                                        [&fila](char *texto, char *seguir, int) {
                                            fila = texto;
                                            *seguir = 0;
                                        });
    if (!error.empty() || Numero(fila, "Total", -1) != 0)
        return false;
    DesbloqueoTotal();
    return true;
}

bool _multiuser::UltimaSalida()
{
    std::vector<std::string> filas;
    if (!Consulta("SELECT Num_Aplicacion,Hora FROM [Aplicaciones()];", filas))
        return false;
    for (const std::string &fila : filas)
        if (Reciente(GetCampo("Hora", fila)))
            return false;
    if (filas.empty())
        return true;
    int borradas = 0;
    DBExecSQL("DELETE * FROM [Aplicaciones()];", borradas);
    DesbloqueoTotal();
    return true;
}

// Whether a heartbeat "hhnnss" lies within the sweep's window of this copy's clock, on
// either side; a time that cannot be read counts as recent.
bool _multiuser::Reciente(const std::string &hora) const
{
    auto segundos = [](std::string_view texto) {
        if (texto.size() != 6)
            return -1;
        const int h = Entero(texto.substr(0, 2), -1), m = Entero(texto.substr(2, 2), -1),
                  s = Entero(texto.substr(4, 2), -1);
        return h >= 0 && m >= 0 && s >= 0 ? (h * 60 + m) * 60 + s : -1;
    };
    const int latido = segundos(hora);
    if (latido < 0)
        return true;
    const int distancia = ((segundos(Hora()) - latido) % kSegundosDia + kSegundosDia) % kSegundosDia;
    return distancia <= kVentanaBarrido || distancia >= kSegundosDia - kVentanaBarrido;
}

// The shared locks a row names (TextoCompartidos); what does not read is left out.
std::vector<std::pair<_multiuser::Nivel, int>> _multiuser::Compartidos(std::string_view texto)
{
    std::vector<std::pair<Nivel, int>> bloqueos;
    while (!texto.empty()) {
        const size_t fin = std::min(texto.find(';'), texto.size());
        const std::string_view uno = texto.substr(0, fin);
        const size_t dos = uno.find(':');
        const int nivel = dos == std::string_view::npos ? -1 : Entero(uno.substr(0, dos), -1);
        const int id = dos == std::string_view::npos ? 0 : Entero(uno.substr(dos + 1), 0);
        if (nivel >= int(Nivel::Usuario) && nivel <= int(Nivel::Librado) && id > 0)
            bloqueos.emplace_back(Nivel(nivel), id);
        texto.remove_prefix(std::min(fin + 1, texto.size()));
    }
    return bloqueos;
}

bool _multiuser::LiberaAplicacion(int numAplicacion)
{
    std::string fila;
    if (!PrimeraFila(FormatoSQL("SELECT * FROM [Aplicaciones()] WHERE Num_Aplicacion=%d;", numAplicacion), fila))
        return false;
    // Whoever deletes the row releases what it names, once, in the same transaction.
    Atomica atomica(*this);
    if (Ejecuta(FormatoSQL("DELETE * FROM [Aplicaciones()] WHERE Num_Aplicacion=%d;", numAplicacion)) > 0) {
        auto registro = [&fila](const char *campo) { return Numero(fila, campo, 0); };
        const int documento = registro("Reg_Documentos"), librado = registro("Reg_Librado"),
                  remesa = registro("Reg_Remesa"), emisor = registro("Reg_Emisor"),
                  presentador = registro("Reg_Presentador"), empresa = registro("Reg_Empresa"),
                  usuario = registro("Reg_Usuario"), plantilla = registro("Reg_Plantilla"),
                  login = registro("Id_UsuarioLogineado");
        if (documento > 0)
            Decrementa(Nivel::Documento, documento);
        if (librado > 0)
            Decrementa(Nivel::Librado, librado, true);
        const std::pair<Nivel, int> niveles[] = {{Nivel::Remesa, remesa},           {Nivel::Emisor, emisor},
                                                 {Nivel::Presentador, presentador}, {Nivel::Empresa, empresa},
                                                 {Nivel::Usuario, usuario}};
        for (const auto &[nivel, id] : niveles)
            if (id > 0)
                Decrementa(nivel, id);
        if (plantilla > 0)
            LiberaPlantilla(plantilla);
        for (const auto &[nivel, id] : Compartidos(GetCampo("Reg_Compartidos", fila)))
            Decrementa(nivel, id, nivel != Nivel::Librado);
        if (login > 0)
            Decrementa(Nivel::Usuario, login);
    }
    atomica.Confirma();
    BorraAvisosLeidos();
    if (numAplicacion == Num_Aplicacion) {
        Id_UsuarioLogineado = 0;
        Reg_Usuario = Reg_Empresa = Reg_Presentador = Reg_Emisor = Reg_Remesa = 0;
        Reg_Librado = Reg_Documentos = Reg_Plantilla = 0;
        Sel_Usuario = Sel_Empresa = Sel_Presentador = Sel_Emisor = Sel_Remesa = 0;
        m_compartidos.clear();
    }
    return true;
}

void _multiuser::ConvierteBaseDatos()
{
    const std::string error = DBGetData("SELECT * FROM [Aplicaciones()]", [](char *, char *seguir, int) {
        *seguir = 0;
    });
    if (error.empty())
        return;
    if (CajaMensaje(Idioma.GetTexto(661), Idioma.GetTexto(6), IconoMensaje::Informacion, BotonesMensaje::SiNo) ==
            RespuestaSi &&
        Host.GetPathBD)
        GuardaCopiaAntigua(Host.GetPathBD());

    bool correcta = VASQ_BeginTrans() == 0;
    for (const char *sql : kConversion) {
        int filas = 0;
        if (!correcta || !DBExecSQL(sql, filas).empty()) {
            correcta = false;
            break;
        }
    }
    correcta = correcta && VASQ_CommitTrans() == 0;
    if (!correcta) {
        VASQ_Rollback();
        VASQ_GetLastErrorCodeID();
        WriteLog("[ Multiuser::ConvierteBaseDatos ] La base de datos no se ha transformado");
    }
}

// ---- The coordination loop ----

void _multiuser::Execute()
{
    if (!Registrado)
        return;
    if (m_enPaso) {
        ActualizaHora();
        return;
    }
    m_enPaso = true;
    const QPointer<_multiuser> vivo(this);
    ++Inactividad.Ticks;
    if (!Pausado) {
        ActualizaHora();
        if (Host.TiempoInactividad && Host.TiempoInactividad() * 30 <= Inactividad.Ticks) {
            LlamaTimeOut();
            if (!vivo)
                return;
        }
        ActualizaHora();
    }
    if (Activo()) {
        ActualizaHora();
        if (m_pasadas >= 19) {
            BarridoAplicaciones();
            m_pasadas = 0;
        } else {
            ++m_pasadas;
        }
        LeeActualizaciones();
        if (!vivo)
            return;
    }
    m_enPaso = false;
}

void _multiuser::ActualizaHora()
{
    if (!Activo())
        return;
    const std::string hora = Hora();
    int filas = 0;
    const int r = C_Exec(
        FormatoSQL("UPDATE [Aplicaciones()] SET Hora='%s' WHERE Num_Aplicacion=%d;", hora.c_str(), Num_Aplicacion).c_str(),
        &filas);
    if (r == 0 && filas == 0 && InsertaRegistro())
        RecuperaBloqueos();
    if (!PathIni.empty())
        profile::writeString(PathIni, "GENERAL", "Num_Aplic", hora + std::to_string(Num_Aplicacion));
}

void _multiuser::LlamaTimeOut()
{
    if (Host.TimeOutInactividad)
        Host.TimeOutInactividad();
}

void _multiuser::BarridoAplicaciones()
{
    std::vector<std::string> filas;
    if (!Consulta("SELECT Num_Aplicacion,Hora FROM [Aplicaciones()] ORDER BY Num_Aplicacion;", filas))
        return;
    const std::vector<std::string> horas = std::move(m_horasBarrido), numeros = std::move(m_numerosBarrido);
    m_horasBarrido.clear();
    m_numerosBarrido.clear();
    for (const std::string &fila : filas) {
        m_numerosBarrido.push_back(GetCampo("Num_Aplicacion", fila));
        m_horasBarrido.push_back(GetCampo("Hora", fila));
    }
    NumAplicaciones = int(filas.size());
    for (size_t i = 0; i < numeros.size(); ++i)
        for (size_t j = 0; j < m_numerosBarrido.size(); ++j) {
            const int numero = Entero(numeros[i], 0);
            if (numeros[i] == m_numerosBarrido[j] && horas[i] == m_horasBarrido[j] && numero != Num_Aplicacion)
                LiberaAplicacion(numero);
        }
}

// ---- Change notices ----

void _multiuser::NotificaActualizacion(int nivel, int id)
{
    Ejecuta(FormatoSQL("INSERT INTO [Actualizaciones()] (Num_Aplicacion,Id_Usuario,Nivel,Id_Actualizar,Contador) "
                    "VALUES (%d,%d,%d,%d,0);",
                    Num_Aplicacion, Id_UsuarioLogineado, nivel, id));
}

void _multiuser::LeeActualizaciones()
{
    if (!Activo())
        return;
    std::string cuenta;
    if (!PrimeraFila("SELECT COUNT(*) AS Total FROM [Aplicaciones()];", cuenta) || Numero(cuenta, "Total", 0) < 1)
        return;
    NumAplicaciones = Numero(cuenta, "Total", 0);

    std::vector<std::string> filas;
    Consulta(FormatoSQL("SELECT * FROM [Actualizaciones()] WHERE Id_Actualizacion>%d "
                     "ORDER BY Id_Actualizacion,Nivel,Id_Actualizar;",
                     UltimaActualizacion),
             filas);
    for (const std::string &fila : filas)
        UltimaActualizacion = Numero(fila, "Id_Actualizacion", UltimaActualizacion);
    if (UltimaActualizacion != m_leidaGuardada &&
        Ejecuta(FormatoSQL("UPDATE [Aplicaciones()] SET Ultima_Actualizacion=%d WHERE Num_Aplicacion=%d;",
                           UltimaActualizacion, Num_Aplicacion)) > 0) {
        m_leidaGuardada = UltimaActualizacion;
        BorraAvisosLeidos();
    }

    const QPointer<_multiuser> vivo(this);
    for (const std::string &fila : filas) {
        if (Numero(fila, "Num_Aplicacion", 0) == Num_Aplicacion || !Host.ProcesaActualizacion)
            continue;
        Inactividad.Refrescando = true;
        Host.ProcesaActualizacion(Numero(fila, "Id_Usuario", 0), Numero(fila, "Nivel", 0),
                                  Numero(fila, "Id_Actualizar", 0));
        Inactividad.Refrescando = false;
        if (!vivo || !Activo())
            return;
    }
}

// The notices that every registered copy has read.
void _multiuser::BorraAvisosLeidos()
{
    Ejecuta("DELETE FROM [Actualizaciones()] WHERE Id_Actualizacion<="
            "(SELECT MIN(Ultima_Actualizacion) FROM [Aplicaciones()]);");
}
