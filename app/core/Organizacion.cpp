// The organisation held by the user editor: loading, changes, uniqueness counts, writing.
#include "Organizacion.h"

#include "Cfgfile.h"
#include "General.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "cp1252.h"
#include "vasqdb.h"

#include <algorithm>

namespace {

// Table, key column and owner column of each level.
struct Tabla {
    const char *nombre;
    const char *clave;
    const char *padre;
};
const Tabla kTablas[] = {
    {"[_Usuarios()]", "Id_usuario", ""},
    {"[_Empresas( Datos )]", "Id_empresa", "Id_usuario"},
    {"[_Presentadores( Datos )]", "Id_presentador", "Id_empresa"},
    {"[_Emisores( Datos )]", "Id_emisor", "Id_presentador"},
};

// The loading queries, by level.
const char *const kCarga[] = {
    nullptr,
    "SELECT * FROM [_Empresas( Datos )] WHERE [Id_usuario]=%d;",
    "SELECT * FROM [_Presentadores( Datos )] WHERE [Id_empresa]=%d ;",
    "SELECT * FROM [_Emisores( Datos )] WHERE [Id_presentador]=%d ;",
};

// The reading of one row, by level.
const char *const kRelee[] = {
    nullptr,
    "SELECT * FROM [_Empresas( Datos )] WHERE [Id_empresa]=%d;",
    "SELECT * FROM [_Presentadores( Datos )] WHERE [Id_presentador]=%d;",
    "SELECT * FROM [_Emisores( Datos )] WHERE [Id_emisor]=%d;",
};

// Refusals of a change that finds its row locked or gone, by level: modification, removal.
const int kTextoModificacion[] = {0, 656, 658, 657};
const int kTextoBaja[] = {0, 654, 655, 662};
// Refusals of a removal that finds rows still depending on it, by level; of an issuer's
// removal that would leave its drawees without an issuer.
const int kTextoDependientes[] = {0, 73, 74, 711};
constexpr int kTextoLibradosSinEmisor = 712;
// What depends on a row, by level: presenters, issuers, batches.
const char *const kDependientes[] = {
    nullptr,
    "SELECT COUNT(*) AS Total FROM [_Presentadores( Datos )] WHERE Id_empresa=%d",
    "SELECT COUNT(*) AS Total FROM [_Emisores( Datos )] WHERE Id_presentador=%d",
    "SELECT COUNT(*) AS Total FROM [Remesas()] WHERE Id_emisor=%d",
};

// The count of the drawees of the issuers listed.
std::string SqlLibrados(const std::string &emisores)
{
    return FormateaTexto("SELECT COUNT(*) AS Total FROM [Librados( Datos )] WHERE Id_emisor IN (%s);", emisores);
}

// The count of what depends on a row, without the rows listed in excluir (keys of the level
// below).
std::string SqlDependientes(NivelOrganizacion nivel, int clave, const std::string &excluir)
{
    std::string sql = FormateaTexto(kDependientes[nivel], clave);
    if (!excluir.empty())
        sql += FormateaTexto(" AND %s NOT IN (%s)", kTablas[nivel + 1].clave, excluir);
    return sql + ";";
}

std::string Valor(std::string_view fila, std::string_view campo)
{
    return NullToEmpty(GetCampoTexto(campo, fila));
}

DatosOrganizacion LeeDatos(NivelOrganizacion nivel, std::string_view fila)
{
    switch (nivel) {
    case NivelEmpresa:
        return STREmpresa{Valor(fila, "Cif"), Valor(fila, "Nombre")};
    case NivelPresentador:
        return STRPresentador{Valor(fila, "Id_orden"), Valor(fila, "Clave_presentador"), Valor(fila, "Id_nif"),
                              Valor(fila, "Sufijo"), Valor(fila, "Razon_social")};
    default:
        return STREmisor{Valor(fila, "Id_nif"),       Valor(fila, "Sufijo"),       Valor(fila, "Razon_social"),
                         Valor(fila, "Cuenta_abono"), Valor(fila, "Cuenta_cargo"), Valor(fila, "Desc_cuenta")};
    }
}

// Every text goes into its SQL literal cleaned, its quotes doubled.
std::string L(std::string_view texto)
{
    return LimpiaTextoSQL(texto);
}

// The Total of a count query; -1 when it failed.
int Cuenta(const std::string &sql)
{
    int total = -1;
    const std::string error = DBGetData(sql, [&total](char *fila, char *seguir, int) {
        total = Numero(GetCampo("Total", fila));
        *seguir = 0;
    });
    return error.empty() ? std::max(total, 0) : -1;
}

bool EsCSB19(const STRPresentador &p)
{
    return cp1252::equalNoCase(p.Id_orden, "CSB19");
}

bool MismosDatosUnicos(const DatosOrganizacion &a, const DatosOrganizacion &b)
{
    if (a.index() != b.index())
        return false;
    if (const auto *e = std::get_if<STREmpresa>(&a))
        return cp1252::equalNoCase(e->Cif, std::get<STREmpresa>(b).Cif);
    if (const auto *p = std::get_if<STRPresentador>(&a)) {
        const auto &q = std::get<STRPresentador>(b);
        return cp1252::equalNoCase(p->Id_nif, q.Id_nif) && MismoSufijo(p->Sufijo, q.Sufijo) &&
               cp1252::equalNoCase(p->Id_orden, q.Id_orden);
    }
    const auto &e = std::get<STREmisor>(a);
    const auto &f = std::get<STREmisor>(b);
    return cp1252::equalNoCase(e.Id_nif, f.Id_nif) && MismoSufijo(e.Sufijo, f.Sufijo);
}

// The unique data of a row as held: the texts the uniqueness check compares.
std::vector<std::string> DatosUnicos(const DatosOrganizacion &d)
{
    if (const auto *e = std::get_if<STREmpresa>(&d))
        return {e->Cif};
    if (const auto *p = std::get_if<STRPresentador>(&d))
        return {p->Id_nif, p->Sufijo, p->Id_orden};
    const auto &e = std::get<STREmisor>(d);
    return {e.Id_nif, e.Sufijo};
}

// The database count of candidato's uniqueness check, without the rows listed in excluir.
std::string SqlIguales(const ElementoOrganizacion &c, const std::string &excluir)
{
    const bool modifica = c.Clave != 0;
    std::string sql;
    if (const auto *e = std::get_if<STREmpresa>(&c.Datos)) {
        sql = modifica ? FormateaTexto("SELECT COUNT(*) AS Total FROM [_Empresas( Datos )] WHERE Id_empresa<>%d AND "
                                       "Id_usuario=%d AND Cif='%s'",
                                       c.Clave, c.Padre, L(e->Cif))
                       : FormateaTexto("SELECT COUNT(*) AS Total FROM [_Empresas( Datos )] WHERE Id_usuario=%d AND "
                                       "Cif='%s'",
                                       c.Padre, L(e->Cif));
    } else if (const auto *p = std::get_if<STRPresentador>(&c.Datos)) {
        sql = modifica ? FormateaTexto("SELECT COUNT(*) AS Total FROM [_Presentadores( Datos )] WHERE "
                                       "Id_presentador<>%d AND Id_empresa=%d AND Id_nif='%s' AND %s AND "
                                       "Id_orden='%s'",
                                       c.Clave, c.Padre, L(p->Id_nif), IgualSufijo("Sufijo", p->Sufijo), L(p->Id_orden))
                       : FormateaTexto("SELECT COUNT(*) AS Total FROM [_Presentadores( Datos )] WHERE Id_empresa=%d "
                                       "AND Id_nif='%s' AND %s AND Id_orden='%s'",
                                       c.Padre, L(p->Id_nif), IgualSufijo("Sufijo", p->Sufijo), L(p->Id_orden));
    } else {
        const auto &m = std::get<STREmisor>(c.Datos);
        sql = modifica ? FormateaTexto("SELECT COUNT(*) AS Total FROM [_Emisores( Datos )] WHERE Id_emisor<>%d AND "
                                       "Id_presentador=%d AND Id_nif='%s' AND %s",
                                       c.Clave, c.Padre, L(m.Id_nif), IgualSufijo("Sufijo", m.Sufijo))
                       : FormateaTexto("SELECT COUNT(*) AS Total FROM [_Emisores( Datos )] WHERE Id_presentador=%d "
                                       "AND Id_nif='%s' AND %s",
                                       c.Padre, L(m.Id_nif), IgualSufijo("Sufijo", m.Sufijo));
    }
    if (!excluir.empty())
        sql += FormateaTexto(" AND %s NOT IN (%s)", kTablas[c.Nivel()].clave, excluir);
    return sql + ";";
}

std::string SqlAlta(const ElementoOrganizacion &x, int padre)
{
    if (const auto *e = std::get_if<STREmpresa>(&x.Datos))
        return FormateaTexto("INSERT INTO [_Empresas( Datos )] ([Id_usuario],[Cif],[Nombre],Block) VALUES "
                             "(%d,'%s','%s',0);",
                             padre, L(e->Cif), L(e->Nombre));
    if (const auto *p = std::get_if<STRPresentador>(&x.Datos))
        return FormateaTexto("INSERT INTO [_Presentadores( Datos )] ([Id_empresa],[Id_orden],[Clave_presentador],"
                             "[Id_nif],[Sufijo],[Razon_social],Block) VALUES (%d,'%s','%s','%s','%s','%s',0);",
                             padre, L(p->Id_orden), L(p->Clave_presentador), L(p->Id_nif), L(p->Sufijo),
                             L(p->Razon_social));
    const auto &m = std::get<STREmisor>(x.Datos);
    return FormateaTexto("INSERT INTO [_Emisores( Datos )] ([Id_presentador],[Id_nif],[Sufijo],[Razon_social],"
                         "[Cuenta_abono],[Cuenta_cargo],[Desc_cuenta],Block)  VALUES (%d,'%s','%s','%s','%s','%s',"
                         "'%s',0);",
                         padre, L(m.Id_nif), L(m.Sufijo), L(m.Razon_social), L(m.Cuenta_abono), L(m.Cuenta_cargo),
                         L(m.Desc_cuenta));
}

std::string SqlModificacion(const ElementoOrganizacion &x, int clave)
{
    if (const auto *e = std::get_if<STREmpresa>(&x.Datos))
        return FormateaTexto("UPDATE [_Empresas( Datos )] SET [Cif]='%s',[Nombre]='%s' WHERE [Id_empresa]=%d AND "
                             "Block=0;",
                             L(e->Cif), L(e->Nombre), clave);
    if (const auto *p = std::get_if<STRPresentador>(&x.Datos))
        return FormateaTexto("UPDATE [_Presentadores( Datos )] SET [Id_orden]='%s',[Clave_presentador]='%s',"
                             "[Id_nif]='%s',[Sufijo]='%s',[Razon_social]='%s' WHERE [Id_presentador]=%d AND Block=0;",
                             L(p->Id_orden), L(p->Clave_presentador), L(p->Id_nif), L(p->Sufijo),
                             L(p->Razon_social), clave);
    const auto &m = std::get<STREmisor>(x.Datos);
    return FormateaTexto("UPDATE [_Emisores( Datos )] SET [Id_nif]='%s',[Sufijo]='%s',[Razon_social]='%s',"
                         "[Cuenta_abono]='%s',[Cuenta_cargo]='%s',[Desc_cuenta]='%s'  WHERE [Id_emisor]=%d AND "
                         "Block=0;",
                         L(m.Id_nif), L(m.Sufijo), L(m.Razon_social), L(m.Cuenta_abono), L(m.Cuenta_cargo),
                         L(m.Desc_cuenta), clave);
}

} // namespace

void _Organizacion::Vacia(int idUsuario)
{
    m_idUsuario = idUsuario;
    m_ultimaProvisional = 0;
    m_elementos.clear();
    m_cambios.clear();
    m_claves.clear();
    m_conocidas.clear();
}

bool _Organizacion::Carga(int idUsuario)
{
    Vacia(idUsuario);
    bool ok = true;
    CargaNivel(NivelEmpresa, idUsuario, ok);
    for (size_t i = 0; i < m_elementos.size(); ++i) {
        // Each level's rows are appended after the level above, so the walk reaches them.
        const ElementoOrganizacion x = m_elementos[i];
        if (x.Nivel() != NivelEmisor)
            CargaNivel(NivelOrganizacion(x.Nivel() + 1), x.Clave, ok);
    }
    return ok;
}

void _Organizacion::CargaNivel(NivelOrganizacion nivel, int padre, bool &ok)
{
    const std::string error = DBGetData(FormateaTexto(kCarga[nivel], padre), [&](char *fila, char *, int) {
        ElementoOrganizacion x{Numero(GetCampo(kTablas[nivel].clave, fila)), padre, LeeDatos(nivel, fila)};
        m_elementos.push_back(x);
        m_conocidas.emplace_back(nivel, x.Clave);
    });
    if (!error.empty())
        ok = false;
}

std::vector<const ElementoOrganizacion *> _Organizacion::Hijos(NivelOrganizacion nivel, int padre) const
{
    std::vector<const ElementoOrganizacion *> hijos;
    for (const ElementoOrganizacion &x : m_elementos)
        if (x.Nivel() == nivel && x.Padre == padre)
            hijos.push_back(&x);
    return hijos;
}

const ElementoOrganizacion *_Organizacion::Busca(NivelOrganizacion nivel, int clave) const
{
    for (const ElementoOrganizacion &x : m_elementos)
        if (x.Nivel() == nivel && x.Clave == clave)
            return &x;
    return nullptr;
}

ElementoOrganizacion *_Organizacion::BuscaMutable(NivelOrganizacion nivel, int clave)
{
    return const_cast<ElementoOrganizacion *>(Busca(nivel, clave));
}

bool _Organizacion::TieneHijos(NivelOrganizacion nivel, int clave) const
{
    return nivel < NivelEmisor && !Hijos(NivelOrganizacion(nivel + 1), clave).empty();
}

bool _Organizacion::SinCambios(NivelOrganizacion nivel, int clave) const
{
    if (clave <= 0)
        return false;
    return std::none_of(m_cambios.begin(), m_cambios.end(), [&](const Cambio &c) {
        return c.Elemento.Nivel() == nivel && c.Elemento.Clave == clave;
    });
}

bool _Organizacion::Relee(NivelOrganizacion nivel, int clave)
{
    ElementoOrganizacion *x = BuscaMutable(nivel, clave);
    if (!x || !SinCambios(nivel, clave))
        return false;
    bool leida = false;
    DBGetData(FormateaTexto(kRelee[nivel], clave), [&](char *fila, char *seguir, int) {
        x->Datos = LeeDatos(nivel, fila);
        leida = true;
        *seguir = 0;
    });
    return leida;
}

int _Organizacion::Alta(int padre, const DatosOrganizacion &datos)
{
    ElementoOrganizacion x{--m_ultimaProvisional, padre, datos};
    m_elementos.push_back(x);
    m_cambios.push_back({Alta_, x});
    return x.Clave;
}

void _Organizacion::Modifica(NivelOrganizacion nivel, int clave, const DatosOrganizacion &datos)
{
    ElementoOrganizacion *x = BuscaMutable(nivel, clave);
    if (!x || datos.index() != x->Datos.index())
        return;
    x->Datos = datos;
    m_cambios.push_back({Modificacion_, *x});
}

void _Organizacion::Baja(NivelOrganizacion nivel, int clave)
{
    const ElementoOrganizacion *x = Busca(nivel, clave);
    if (!x)
        return;
    Cambio c{Baja_, *x};
    if (nivel == NivelEmisor)
        c.Destino = DestinoLibrados(clave);
    m_cambios.push_back(c);
    m_elementos.erase(m_elementos.begin() + (x - m_elementos.data()));
}

int _Organizacion::DestinoLibrados(int emisor) const
{
    const ElementoOrganizacion *x = Busca(NivelEmisor, emisor);
    const ElementoOrganizacion *suyo = x ? Busca(NivelPresentador, x->Padre) : nullptr;
    if (!suyo)
        return 0;
    const bool csb19 = EsCSB19(std::get<STRPresentador>(suyo->Datos));
    for (const ElementoOrganizacion *empresa : Hijos(NivelEmpresa, m_idUsuario))
        for (const ElementoOrganizacion *presentador : Hijos(NivelPresentador, empresa->Clave)) {
            if (EsCSB19(std::get<STRPresentador>(presentador->Datos)) != csb19)
                continue;
            for (const ElementoOrganizacion *otro : Hijos(NivelEmisor, presentador->Clave))
                if (otro->Clave != emisor)
                    return otro->Clave;
        }
    return 0;
}

std::string _Organizacion::Conocidas(NivelOrganizacion nivel) const
{
    std::string lista;
    for (const auto &[n, clave] : m_conocidas)
        if (n == nivel)
            lista += (lista.empty() ? "" : ",") + std::to_string(clave);
    return lista;
}

std::string _Organizacion::LlegadasLibrados(int emisor) const
{
    std::vector<int> emisores{emisor};
    for (size_t antes = 0; antes != emisores.size();) {
        antes = emisores.size();
        for (const Cambio &c : m_cambios) {
            const bool llega = c.Tipo == Baja_ && c.Elemento.Nivel() == NivelEmisor &&
                               std::find(emisores.begin(), emisores.end(), c.Destino) != emisores.end();
            if (llega && std::find(emisores.begin(), emisores.end(), c.Elemento.Clave) == emisores.end())
                emisores.push_back(c.Elemento.Clave);
        }
    }
    std::string lista;
    for (int clave : emisores)
        if (clave > 0)
            lista += (lista.empty() ? "" : ",") + std::to_string(clave);
    return lista;
}

int _Organizacion::TextoDependientes(NivelOrganizacion nivel, int clave) const
{
    if (TieneHijos(nivel, clave))
        return kTextoDependientes[nivel];
    if (clave > 0) {
        // The rows below that this object knows are in the tree or removed from it.
        const std::string excluir = nivel < NivelEmisor ? Conocidas(NivelOrganizacion(nivel + 1)) : std::string();
        if (Cuenta(SqlDependientes(nivel, clave, excluir)) != 0)
            return kTextoDependientes[nivel];
    }
    if (nivel == NivelEmisor && DestinoLibrados(clave) == 0) {
        const std::string emisores = LlegadasLibrados(clave);
        if (!emisores.empty() && Cuenta(SqlLibrados(emisores)) != 0)
            return kTextoLibradosSinEmisor;
    }
    return 0;
}

int _Organizacion::CuentaIguales(const ElementoOrganizacion &candidato) const
{
    // A change that keeps the row's unique data as held makes no duplicate, whatever twins
    // an earlier build left beside it.
    if (const ElementoOrganizacion *x = Busca(candidato.Nivel(), candidato.Clave);
        x && candidato.Clave != 0 && DatosUnicos(x->Datos) == DatosUnicos(candidato.Datos))
        return 0;
    const std::string excluir = Conocidas(candidato.Nivel());
    int total = candidato.Padre > 0 ? std::max(Cuenta(SqlIguales(candidato, excluir)), 0) : 0;
    for (const ElementoOrganizacion &x : m_elementos)
        if (x.Padre == candidato.Padre && x.Clave != candidato.Clave && MismosDatosUnicos(x.Datos, candidato.Datos))
            ++total;
    return total;
}

int _Organizacion::ClaveReal(NivelOrganizacion nivel, int clave) const
{
    const auto i = m_claves.find({nivel, clave});
    return i == m_claves.end() ? clave : i->second;
}

bool _Organizacion::Escribe(FalloOrganizacion &fallo)
{
    m_claves.clear();
    for (const Cambio &c : m_cambios)
        if (!EscribeCambio(c, fallo))
            return false;
    return true;
}

bool _Organizacion::EscribeCambio(const Cambio &c, FalloOrganizacion &fallo)
{
    const NivelOrganizacion nivel = c.Elemento.Nivel();
    const int clave = ClaveReal(nivel, c.Elemento.Clave);
    int filas = 0;
    if (c.Tipo == Alta_) {
        const int padre = nivel == NivelEmpresa ? c.Elemento.Padre
                                                : ClaveReal(NivelOrganizacion(nivel - 1), c.Elemento.Padre);
        fallo.Error = DBExecSQL(SqlAlta(c.Elemento, padre), filas);
        if (!fallo.Error.empty() || filas != 1)
            return false;
        m_claves[{nivel, c.Elemento.Clave}] = static_cast<int>(VASQ_GetLastInsertID());
        return true;
    }
    if (c.Tipo == Modificacion_) {
        fallo.Error = DBExecSQL(SqlModificacion(c.Elemento, clave), filas);
        if (fallo.Error.empty() && filas != 1)
            fallo.Texto = kTextoModificacion[nivel];
        return fallo.Error.empty() && filas == 1;
    }
    // A removal: nothing may still depend on the row (an issuer's drawees only when no
    // other issuer takes them), its guard must let it go, and only then do the drawees move.
    if (Cuenta(SqlDependientes(nivel, clave, "")) != 0) {
        fallo.Texto = kTextoDependientes[nivel];
        return false;
    }
    if (nivel == NivelEmisor && c.Destino == 0 && Cuenta(SqlLibrados(std::to_string(clave))) != 0) {
        fallo.Texto = kTextoLibradosSinEmisor;
        return false;
    }
    fallo.Error = DBExecSQL(FormateaTexto("DELETE FROM %s WHERE [%s]=%d AND Block=0;", kTablas[nivel].nombre,
                                          kTablas[nivel].clave, clave),
                            filas);
    if (fallo.Error.empty() && filas != 1)
        fallo.Texto = kTextoBaja[nivel];
    if (!fallo.Error.empty() || filas != 1)
        return false;
    if (nivel == NivelEmisor && c.Destino != 0)
        fallo.Error = DBExecSQL(FormateaTexto("UPDATE [Librados( Datos )] SET [Id_emisor]=%d WHERE [Id_emisor]=%d;",
                                              ClaveReal(NivelEmisor, c.Destino), clave),
                                filas);
    return fallo.Error.empty();
}

void _Organizacion::Confirma()
{
    for (ElementoOrganizacion &x : m_elementos) {
        const NivelOrganizacion nivel = x.Nivel();
        if (x.Clave < 0) {
            x.Clave = ClaveReal(nivel, x.Clave);
            m_conocidas.emplace_back(nivel, x.Clave);
        }
        if (nivel != NivelEmpresa)
            x.Padre = ClaveReal(NivelOrganizacion(nivel - 1), x.Padre);
    }
    m_cambios.clear();
}
