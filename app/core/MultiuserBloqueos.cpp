// Row locks of the multi-user coordination: the Block counters with their ownership chain,
// this copy's records and selection, and the template flags.
#include "Multiuser.h"

#include "Cfgfile.h"
#include "MultiuserSQL.h"
#include "vasqdb.h"

using namespace multiusersql;

namespace {

// The statements of one level; "%d" is the row's id.
struct DefNivel {
    const char *padre;       // reads Block and the parent id(s); null for the user
    const char *campoPadre;  // the parent id's field
    const char *incremento;  // followed by ";" (shared) or " AND Block=0;" (exclusive)
    const char *decremento;
    const char *estado;      // null for the drawee
};

// In the order of _multiuser::Nivel.
const DefNivel kNiveles[] = {
    {nullptr, nullptr, "UPDATE [_Usuarios()] SET Block=Block+1 WHERE Id_usuario=%d",
     "UPDATE [_Usuarios()] SET Block=Block-1 WHERE Id_usuario=%d AND Block>0;",
     "SELECT Block FROM [_Usuarios()] WHERE Id_usuario=%d;"},
    {"SELECT Block,Id_usuario FROM [_Empresas( Datos )] WHERE Id_empresa=%d;", "Id_usuario",
     "UPDATE [_Empresas( Datos )] SET Block=Block+1 WHERE Id_empresa=%d",
     "UPDATE [_Empresas( Datos )] SET Block=Block-1 WHERE Id_empresa=%d AND Block>0;",
     "SELECT Block FROM [_Empresas( Datos )] WHERE Id_empresa=%d;"},
    {"SELECT Block,Id_empresa FROM [_Presentadores( Datos )] WHERE Id_presentador=%d;", "Id_empresa",
     "UPDATE [_Presentadores( Datos )] SET Block=Block+1 WHERE Id_presentador=%d",
     "UPDATE [_Presentadores( Datos )] SET Block=Block-1 WHERE Id_presentador=%d AND Block>0;",
     "SELECT Block FROM [_Presentadores( Datos )] WHERE Id_presentador =%d"},
    {"SELECT Block,Id_presentador FROM [_Emisores( Datos )] WHERE Id_emisor=%d;", "Id_presentador",
     "UPDATE [_Emisores( Datos )] SET Block=Block+1 WHERE Id_emisor=%d",
     "UPDATE [_Emisores( Datos )] SET Block=Block-1 WHERE Id_emisor=%d AND Block>0;",
     "SELECT Block FROM [_Emisores( Datos )] WHERE Id_emisor=%d;"},
    {"SELECT Block,Id_emisor FROM [Remesas()] WHERE Id_remesa=%d;", "Id_emisor",
     "UPDATE [Remesas()] SET Block=Block+1 WHERE Id_remesa=%d",
     "UPDATE [Remesas()] SET Block=Block-1 WHERE Id_remesa=%d AND Block>0;",
     "SELECT Block FROM [Remesas()] WHERE Id_remesa=%d;"},
    {"SELECT Block,Id_remesa,Id_librado FROM [Documentos()] WHERE Id_documento=%d;", "Id_remesa",
     "UPDATE [Documentos()] SET Block=Block+1 WHERE Id_documento=%d",
     "UPDATE [Documentos()] SET Block=Block-1 WHERE Id_documento=%d AND Block>0;",
     "SELECT Block FROM [Documentos()] WHERE Id_documento=%d;"},
    {"SELECT Block,Id_emisor FROM [Librados( Datos )] WHERE Id_librado=%d;", "Id_emisor",
     "UPDATE [Librados( Datos )] SET Block=Block+1 WHERE Id_librado=%d",
     "UPDATE [Librados( Datos )] SET Block=Block-1 WHERE Id_librado=%d AND Block>0;", nullptr},
};

// The parent ids of a row: its parent level's, and a bill's drawee. 0 when the row is
// absent or the query failed.
struct Padres {
    int padre = 0;
    int librado = 0;
};

Padres LeePadres(const DefNivel &def, bool esDocumento, int id)
{
    Padres p;
    if (!def.padre)
        return p;
    std::string fila;
    PrimeraFila(FormatoSQL(def.padre, id), fila);
    p.padre = Numero(fila, def.campoPadre, 0);
    if (esDocumento)
        p.librado = Numero(fila, "Id_librado", 0);
    return p;
}

} // namespace

// ---- One lock operation ----

_multiuser::Atomica::Atomica(_multiuser &m)
    : m_m(m), m_compartidosAntes(m.m_compartidos), m_abierta(C_BeginTrans() == 0)
{
    for (size_t i = 0; i < m_antes.size(); ++i)
        m_antes[i] = m_m.*kMiembros[i];
}

_multiuser::Atomica::~Atomica()
{
    if (m_confirmada)
        return;
    if (m_abierta)
        C_Rollback();
    for (size_t i = 0; i < m_antes.size(); ++i)
        m_m.*kMiembros[i] = m_antes[i];
    m_m.m_compartidos = std::move(m_compartidosAntes);
}

bool _multiuser::Atomica::Confirma()
{
    m_confirmada = m_abierta && C_CommitTrans() == 0;
    return m_confirmada;
}

bool _multiuser::Atomica::ConfirmaTomada()
{
    return m_abierta && (m_m.Num_Aplicacion == 0 || m_m.GuardaRegistros() > 0) && Confirma();
}

bool _multiuser::Atomica::ConfirmaSoltada()
{
    return m_abierta && (m_m.Num_Aplicacion == 0 || m_m.GuardaRegistros() >= 0) && Confirma();
}

int *_multiuser::Registro(Nivel nivel)
{
    switch (nivel) {
    case Nivel::Usuario: return &Reg_Usuario;
    case Nivel::Empresa: return &Reg_Empresa;
    case Nivel::Presentador: return &Reg_Presentador;
    case Nivel::Emisor: return &Reg_Emisor;
    case Nivel::Remesa: return &Reg_Remesa;
    case Nivel::Documento: return &Reg_Documentos;
    case Nivel::Librado: return &Reg_Librado;
    }
    return nullptr;
}

int *_multiuser::Seleccion(Nivel nivel)
{
    switch (nivel) {
    case Nivel::Usuario: return &Sel_Usuario;
    case Nivel::Empresa: return &Sel_Empresa;
    case Nivel::Presentador: return &Sel_Presentador;
    case Nivel::Emisor: return &Sel_Emisor;
    case Nivel::Remesa: return &Sel_Remesa;
    default: return nullptr;
    }
}

void _multiuser::OlvidaRegistro(Nivel nivel, int id)
{
    if (*Registro(nivel) == id)
        *Registro(nivel) = 0;
    if (int *sel = Seleccion(nivel); sel && *sel == id)
        *sel = 0;
}

// After an unlock of id lowered its counter: one shared lock of id is forgotten when the
// unlock keeps the record or id is not the record; else the record, unless conservar.
void _multiuser::OlvidaBloqueo(Nivel nivel, int id, bool conservar)
{
    const auto compartido = m_compartidos.find({nivel, id});
    if (compartido != m_compartidos.end() && (conservar || *Registro(nivel) != id))
        m_compartidos.erase(compartido);
    else if (!conservar)
        OlvidaRegistro(nivel, id);
}

// One level's counter and, when it rose, the shared locks of the chain above it (a
// bill's drawee takes none; a drawee takes its issuer's only with cadena).
bool _multiuser::Incrementa(Nivel nivel, int id, bool exclusivo, bool cadena)
{
    const DefNivel &def = kNiveles[int(nivel)];
    const Padres p = LeePadres(def, nivel == Nivel::Documento, id);
    if (Ejecuta(FormatoSQL(def.incremento, id) + (exclusivo ? " AND Block=0;" : ";")) < 1)
        return false;
    switch (nivel) {
    case Nivel::Usuario: break;
    case Nivel::Empresa: Incrementa(Nivel::Usuario, p.padre, false); break;
    case Nivel::Presentador: Incrementa(Nivel::Empresa, p.padre, false); break;
    case Nivel::Emisor: Incrementa(Nivel::Presentador, p.padre, false); break;
    case Nivel::Remesa: Incrementa(Nivel::Emisor, p.padre, false); break;
    case Nivel::Documento:
        Incrementa(Nivel::Remesa, p.padre, false);
        Incrementa(Nivel::Librado, p.librado, false, false);
        break;
    case Nivel::Librado:
        if (cadena)
            Incrementa(Nivel::Emisor, p.padre, false);
        break;
    }
    return true;
}

// The mirror of Incrementa: when the counter fell, the same chain falls.
bool _multiuser::Decrementa(Nivel nivel, int id, bool cadena)
{
    const DefNivel &def = kNiveles[int(nivel)];
    const Padres p = LeePadres(def, nivel == Nivel::Documento, id);
    const std::string sql = FormatoSQL(def.decremento, id);
    if (Ejecuta(sql) < 1)
        return false;
    switch (nivel) {
    case Nivel::Usuario: break;
    case Nivel::Empresa: Decrementa(Nivel::Usuario, p.padre); break;
    case Nivel::Presentador: Decrementa(Nivel::Empresa, p.padre); break;
    case Nivel::Emisor: Decrementa(Nivel::Presentador, p.padre); break;
    case Nivel::Remesa: Decrementa(Nivel::Emisor, p.padre); break;
    case Nivel::Documento:
        Decrementa(Nivel::Remesa, p.padre);
        Decrementa(Nivel::Librado, p.librado, false);
        break;
    case Nivel::Librado:
        if (cadena)
            Decrementa(Nivel::Emisor, p.padre);
        break;
    }
    return true;
}

bool _multiuser::Bloquea(Nivel nivel, int id, bool exclusivo)
{
    int &registro = *Registro(nivel);
    if (exclusivo && registro > 0) {
        const int anterior = registro;
        if (nivel == Nivel::Documento)
            DesbloqueaDocumento(anterior);
        else if (nivel == Nivel::Librado)
            DesbloqueaLibrado(anterior, true);
        else
            Desbloquea(nivel, anterior, false);
        // The previous record is no longer held: neither as record nor as selection.
        if (registro == anterior)
            registro = 0;
        if (int *sel = Seleccion(nivel); sel && *sel == anterior)
            *sel = 0;
    }
    Atomica atomica(*this);
    if (!Incrementa(nivel, id, exclusivo, nivel != Nivel::Librado || exclusivo))
        return false;
    if (exclusivo)
        registro = id;
    else
        m_compartidos.insert({nivel, id});
    return atomica.ConfirmaTomada();
}

bool _multiuser::Desbloquea(Nivel nivel, int id, bool conservar)
{
    Atomica atomica(*this);
    if (Decrementa(nivel, id))
        OlvidaBloqueo(nivel, id, conservar);
    atomica.ConfirmaSoltada();
    return true;
}

int _multiuser::GetBloqueo(Nivel nivel, int id)
{
    std::string fila;
    PrimeraFila(FormatoSQL(kNiveles[int(nivel)].estado, id), fila);
    const int block = Numero(fila, "Block", 1);
    if (block == 0)
        return BLOQUEO_LIBRE;
    return block > 0 && id == *Registro(nivel) ? BLOQUEO_PROPIO : BLOQUEO_OTRO;
}

bool _multiuser::BloqueaUsuario(int id, bool compartido) { return Bloquea(Nivel::Usuario, id, !compartido); }
bool _multiuser::BloqueaEmpresa(int id, bool compartido) { return Bloquea(Nivel::Empresa, id, !compartido); }
bool _multiuser::BloqueaPresentador(int id, bool compartido) { return Bloquea(Nivel::Presentador, id, !compartido); }
bool _multiuser::BloqueaEmisor(int id, bool compartido) { return Bloquea(Nivel::Emisor, id, !compartido); }
bool _multiuser::BloqueaRemesa(int id, bool compartido) { return Bloquea(Nivel::Remesa, id, !compartido); }
bool _multiuser::BloqueaDocumento(int id, bool) { return Bloquea(Nivel::Documento, id, true); }
bool _multiuser::BloqueaLibrado(int id, bool compartido) { return Bloquea(Nivel::Librado, id, !compartido); }

bool _multiuser::DesbloqueaUsuario(int id, bool conservar) { return Desbloquea(Nivel::Usuario, id, conservar); }
bool _multiuser::DesbloqueaEmpresa(int id, bool conservar) { return Desbloquea(Nivel::Empresa, id, conservar); }
bool _multiuser::DesbloqueaPresentador(int id, bool conservar)
{
    return Desbloquea(Nivel::Presentador, id, conservar);
}
bool _multiuser::DesbloqueaEmisor(int id, bool conservar) { return Desbloquea(Nivel::Emisor, id, conservar); }
bool _multiuser::DesbloqueaRemesa(int id, bool conservar) { return Desbloquea(Nivel::Remesa, id, conservar); }

bool _multiuser::DesbloqueaDocumento(int id)
{
    Atomica atomica(*this);
    if (Decrementa(Nivel::Documento, id))
        OlvidaRegistro(Nivel::Documento, id);
    atomica.ConfirmaSoltada();
    return true;
}

bool _multiuser::DesbloqueaLibrado(int id, bool cadena)
{
    Atomica atomica(*this);
    if (!Decrementa(Nivel::Librado, id, cadena))
        return false;
    OlvidaBloqueo(Nivel::Librado, id, !cadena);
    return atomica.ConfirmaSoltada();
}

int _multiuser::GetBloqueoUsuario(int id) { return GetBloqueo(Nivel::Usuario, id); }
int _multiuser::GetBloqueoEmpresa(int id) { return GetBloqueo(Nivel::Empresa, id); }
int _multiuser::GetBloqueoPresentador(int id) { return GetBloqueo(Nivel::Presentador, id); }
int _multiuser::GetBloqueoEmisor(int id) { return GetBloqueo(Nivel::Emisor, id); }
int _multiuser::GetBloqueoRemesa(int id) { return GetBloqueo(Nivel::Remesa, id); }
int _multiuser::GetBloqueoDocumento(int id) { return GetBloqueo(Nivel::Documento, id); }

// ---- Templates: Block is a flag on the template and on each of its items ----

bool _multiuser::TomaPlantilla(int id)
{
    if (Ejecuta(FormatoSQL("UPDATE [Plantillas( Datos )] SET Block=1 WHERE Id_plantilla=%d AND Block=0;", id)) < 1)
        return false;
    Ejecuta(FormatoSQL("UPDATE [Plantillas( Elementos )] SET Block=1 WHERE Id_plantilla=%d AND Block=0;", id));
    return true;
}

bool _multiuser::LiberaPlantilla(int id)
{
    const int filas =
        Ejecuta(FormatoSQL("UPDATE [Plantillas( Datos )] SET Block=0 WHERE Id_plantilla=%d AND Block>0;", id));
    Ejecuta(FormatoSQL("UPDATE [Plantillas( Elementos )] SET Block=0 WHERE Id_plantilla=%d AND Block>0;", id));
    return filas > 0;
}

bool _multiuser::BloqueaPlantilla(int id)
{
    if (Reg_Plantilla > 0)
        DesbloqueaPlantilla(Reg_Plantilla);
    Atomica atomica(*this);
    if (!TomaPlantilla(id))
        return false;
    Reg_Plantilla = id;
    return atomica.ConfirmaTomada();
}

bool _multiuser::DesbloqueaPlantilla(int id)
{
    Atomica atomica(*this);
    if (!LiberaPlantilla(id))
        return false;
    if (Reg_Plantilla == id)
        Reg_Plantilla = 0;
    return atomica.ConfirmaSoltada();
}

// ---- Login and selection ----

bool _multiuser::RegistraUsuarioLogin(int idUsuario)
{
    Atomica atomica(*this);
    const bool tomado = Incrementa(Nivel::Usuario, idUsuario, false);
    Id_UsuarioLogineado = idUsuario;
    return atomica.ConfirmaTomada() && tomado;
}

void _multiuser::DesbloqueaUsuarioLogin()
{
    Atomica atomica(*this);
    if (Id_UsuarioLogineado > 0)
        Decrementa(Nivel::Usuario, Id_UsuarioLogineado);
    Id_UsuarioLogineado = 0;
    atomica.ConfirmaSoltada();
}

void _multiuser::LiberaSeleccion()
{
    Atomica atomica(*this);
    for (Nivel nivel : {Nivel::Usuario, Nivel::Empresa, Nivel::Presentador, Nivel::Emisor, Nivel::Remesa}) {
        const int sel = *Seleccion(nivel);
        if (sel > 0) {
            Decrementa(nivel, sel);
            OlvidaRegistro(nivel, sel);
        }
    }
    atomica.ConfirmaSoltada();
}

bool _multiuser::Selecciona(Nivel nivel, int id)
{
    LiberaSeleccion();
    Atomica atomica(*this);
    if (Incrementa(nivel, id, false)) {
        *Registro(nivel) = id;
        *Seleccion(nivel) = id;
    }
    atomica.ConfirmaTomada();
    return true;
}

bool _multiuser::SeleccionaUsuario(int id) { return Selecciona(Nivel::Usuario, id); }
bool _multiuser::SeleccionaEmpresa(int id) { return Selecciona(Nivel::Empresa, id); }
bool _multiuser::SeleccionaPresentador(int id) { return Selecciona(Nivel::Presentador, id); }
bool _multiuser::SeleccionaEmisor(int id) { return Selecciona(Nivel::Emisor, id); }
bool _multiuser::SeleccionaRemesa(int id) { return Selecciona(Nivel::Remesa, id); }

// ---- This copy's row ----

int _multiuser::GuardaRegistros()
{
    return Ejecuta(FormatoSQL("UPDATE [Aplicaciones()] SET Id_UsuarioLogineado=%d,Reg_Usuario=%d,Reg_Empresa=%d,"
                    "Reg_Presentador=%d,Reg_Emisor=%d,Reg_Remesa=%d,Reg_Librado=%d,Reg_Documentos=%d,"
                    "Reg_Plantilla=%d,Reg_Compartidos='%s' WHERE Num_Aplicacion=%d",
                    Id_UsuarioLogineado, Reg_Usuario, Reg_Empresa, Reg_Presentador, Reg_Emisor, Reg_Remesa,
                    Reg_Librado, Reg_Documentos, Reg_Plantilla, TextoCompartidos().c_str(), Num_Aplicacion));
}

// "nivel:id;" for each shared lock, the level as the number of Nivel.
std::string _multiuser::TextoCompartidos() const
{
    std::string texto;
    for (const auto &[nivel, id] : m_compartidos)
        texto += std::to_string(int(nivel)) + ":" + std::to_string(id) + ";";
    return texto;
}

// After a new registration: the sweep that declared this copy dead released every lock its
// row named; take them again (as counts, with their chains) so that the counters match the
// records this copy still holds, and write the records to the new row.
void _multiuser::RecuperaBloqueos()
{
    Atomica atomica(*this);
    if (Reg_Documentos > 0)
        Incrementa(Nivel::Documento, Reg_Documentos, false);
    if (Reg_Librado > 0)
        Incrementa(Nivel::Librado, Reg_Librado, false, true);
    for (Nivel nivel : {Nivel::Remesa, Nivel::Emisor, Nivel::Presentador, Nivel::Empresa, Nivel::Usuario})
        if (const int id = *Registro(nivel); id > 0)
            Incrementa(nivel, id, false);
    for (const auto &[nivel, id] : m_compartidos)
        Incrementa(nivel, id, false, nivel != Nivel::Librado);
    if (Reg_Plantilla > 0 && !TomaPlantilla(Reg_Plantilla))
        Reg_Plantilla = 0;
    if (Id_UsuarioLogineado > 0)
        Incrementa(Nivel::Usuario, Id_UsuarioLogineado, false);
    atomica.ConfirmaTomada();
}
