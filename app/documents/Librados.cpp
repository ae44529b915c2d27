// Drawee checks and the drawee store.
#include "Librados.h"

#include "Cfgfile.h"
#include "Controles.h"
#include "General.h"
#include "Generacsb.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "Registros.h"
#include "vasqdb.h"

#include <utility>
#include <vector>

namespace {

// The drawees of a user's companies under presenters of one order type; "%s" the columns.
constexpr const char *kLibradosUsuario =
    "SELECT [Librados( Datos )].%s FROM [_Empresas( Datos )] INNER JOIN ([_Presentadores( Datos )] INNER JOIN "
    "([_Emisores( Datos )] INNER JOIN [Librados( Datos )] ON [_Emisores( Datos )].Id_emisor = [Librados( Datos "
    ")].Id_emisor) ON [_Presentadores( Datos )].Id_presentador = [_Emisores( Datos )].Id_presentador) ON "
    "[_Empresas( Datos )].Id_empresa = [_Presentadores( Datos )].Id_empresa WHERE [_Empresas( Datos "
    ")].Id_usuario=%d  AND [_Presentadores( Datos )].Id_orden='%s' AND %s;";

constexpr const char *kActualiza19 =
    "UPDATE [Librados( Datos )] SET [Librados( Datos )].Codigo_referencia = '%s', [Librados( Datos )].Razon_social "
    "= '%s', [Librados( Datos )].Cuenta = '%s', [Librados( Datos )].Titular_cuenta = '%s', [Librados( Datos "
    ")].Direccion = '%s', [Librados( Datos )].CP = '%s', [Librados( Datos )].Localidad = '%s', [Librados( Datos "
    ")].Provincia = '%s' WHERE [Librados( Datos )].Id_librado = %d  AND Block<1;";
constexpr const char *kActualiza58 =
    "UPDATE [Librados( Datos )] SET [Librados( Datos )].Codigo_referencia = '%s', [Librados( Datos )].Razon_social "
    "= '%s', [Librados( Datos )].Cuenta = '%s', [Librados( Datos )].Localidad = '%s', [Librados( Datos "
    ")].Direccion = '%s', [Librados( Datos )].CP = '%s', [Librados( Datos )].Loc_ordenante = '%s', [Librados( "
    "Datos )].Cod_provincia_ordenante = '%s' WHERE [Librados( Datos )].Id_librado = %d AND Block<1;";

// Control digits that do not match the account.
constexpr int kTextoDigitosErroneos = 828;

void LogTipoDesconocido(const char *funcion)
{
    WriteLog(std::string("[ TfrmLibrados::") + funcion + " ] Tipo de Orden desconocida (no CSB19 o CSB58)");
}

// A store's order type is 1 or 2; another is logged.
bool TipoConocido(int tipoOrden)
{
    if (tipoOrden == 1 || tipoOrden == 2)
        return true;
    LogTipoDesconocido("UpdateRecord");
    return false;
}

// The columns a store writes for the format, with their values as stored.
using Columnas = std::vector<std::pair<const char *, std::string>>;

Columnas ColumnasLibrado(int tipoOrden, const STRLibrado &l)
{
    const std::string codigo = LimpiaTexto(Recorta(l.Codigo_referencia));
    std::string cuenta = LimpiaTexto(l.CuentaCompleta());
    if (tipoOrden == 1)
        return {{"Codigo_referencia", codigo},
                {"Razon_social", LimpiaTexto(l.Razon_social)},
                {"Cuenta", cuenta},
                {"Titular_cuenta", LimpiaTexto(l.Titular_cuenta)},
                {"Direccion", LimpiaTexto(l.Direccion)},
                {"CP", LimpiaTexto(l.CP)},
                {"Localidad", LimpiaTexto(l.Localidad)},
                {"Provincia", LimpiaTexto(l.Provincia)}};
    if (Recorta(cuenta).empty())
        cuenta = kCuentaCeros;
    return {{"Codigo_referencia", codigo},
            {"Razon_social", LimpiaTexto(l.Razon_social)},
            {"Cuenta", cuenta},
            {"Localidad", LimpiaTexto(l.Localidad)},
            {"Direccion", LimpiaTexto(l.Direccion)},
            {"CP", LimpiaTexto(l.CP)},
            {"Loc_ordenante", LimpiaTexto(l.Loc_ordenante)},
            {"Cod_provincia_ordenante", LimpiaTexto(l.Cod_provincia_ordenante.substr(0, 2))}};
}

// The value of a column of ColumnasLibrado.
const std::string &Valor(const Columnas &c, std::string_view columna)
{
    for (const auto &[nombre, valor] : c)
        if (columna == nombre)
            return valor;
    static const std::string vacio;
    return vacio;
}

// Control digits checked strictly: ones that do not match the account refuse it; empty ones,
// or an account ValidaCCC refuses otherwise, are computed after text 141.
bool CompruebaDigitos(STRLibrado &l)
{
    if (RechazaDigitos(l))
        return false;
    if (!l.DC.empty() && !ValidaCCC(l.Banco, l.Oficina, l.DC, l.Cuenta, true).empty())
        return true;
    AvisoTexto(141, 309, IconoMensaje::Informacion);
    l.DC = CalcDigitosControl(l.Banco, l.Oficina, l.Cuenta);
    return true;
}

} // namespace

bool STRLibrado::DigitosErroneos() const
{
    return ::DigitosErroneos(Banco, Oficina, DC, Cuenta);
}

bool RechazaDigitos(const STRLibrado &l)
{
    if (!l.DigitosErroneos())
        return false;
    AvisoTexto(kTextoDigitosErroneos, 142, IconoMensaje::Error);
    return true;
}

bool CPValido19(std::string_view cp)
{
    if (cp.size() < 5)
        return false;
    for (char c : cp)
        if (!EsDigito(c))
            return false;
    const int provincia = (cp[0] - '0') * 10 + (cp[1] - '0');
    return provincia >= 1 && provincia <= 52;
}

void STRLibrado::PonCuenta(std::string_view veinte)
{
    auto parte = [veinte](size_t desde, size_t largo) {
        return std::string(desde < veinte.size() ? veinte.substr(desde, largo) : std::string_view());
    };
    Banco = parte(0, 4);
    Oficina = parte(4, 4);
    DC = parte(8, 2);
    Cuenta = parte(10, 10);
}

STRLibrado LeeFilaLibrado(std::string_view fila)
{
    auto campo = [fila](const char *nombre) { return NullToEmpty(GetCampoTexto(nombre, fila)); };
    STRLibrado l;
    l.Codigo_referencia = campo("Codigo_referencia");
    l.Razon_social = campo("Razon_social");
    l.PonCuenta(campo("Cuenta"));
    l.Titular_cuenta = campo("Titular_cuenta");
    l.Direccion = campo("Direccion");
    l.CP = campo("CP");
    l.Localidad = campo("Localidad");
    l.Provincia = campo("Provincia");
    l.Loc_ordenante = campo("Loc_ordenante");
    l.Cod_provincia_ordenante = campo("Cod_provincia_ordenante");
    return l;
}

int BuscaLibrado(int idUsuario, int tipoOrden, std::string_view codigo, std::string *fila, int excepto)
{
    const std::string orden = GetTipoOrdenStr(tipoOrden);
    if (orden.empty())
        LogTipoDesconocido("FillSelectedInfo");
    int id = 0;
    DBGetData(FormateaTexto(kLibradosUsuario, "*", idUsuario, orden,
                            IgualCodigo("[Librados( Datos )].Codigo_referencia", Recorta(codigo)) +
                                FormateaTexto(" AND [Librados( Datos )].Id_librado<>%d", excepto)),
              [&id, fila](char *texto, char *, int) {
                  id = Numero(GetCampo("Id_librado", texto));
                  if (fila)
                      *fila = texto;
              });
    return id;
}

bool ExisteCodigoReferencia(int idUsuario, int tipoOrden, std::string_view codigo, int idLibrado)
{
    if (BuscaLibrado(idUsuario, tipoOrden, codigo, nullptr, idLibrado) == 0)
        return false;
    AvisoTexto(302, 303, IconoMensaje::Informacion);
    return true;
}

bool IsAllInputInfo(const STRLibrado &l, int tipoOrden)
{
    std::string faltan;
    auto a = [&faltan](const std::string &campo, int texto) {
        if (Recorta(campo).empty())
            faltan += " '" + Idioma.GetTexto(texto) + "' ";
    };
    auto b = [&faltan](const std::string &campo, int texto) {
        if (Recorta(campo).empty())
            faltan += ", '" + Idioma.GetTexto(texto) + "'";
    };
    a(l.Codigo_referencia, 56);
    if (tipoOrden == 1) {
        a(l.Razon_social, 301);
        a(l.Banco, 30);
        a(l.Oficina, 447);
        a(l.Cuenta, 7);
        const std::string titular = Recorta(l.Titular_cuenta);
        if (!titular.empty() && titular != Recorta(l.Razon_social)) {
            a(l.Direccion, 26);
            a(l.CP, 27);
            a(l.Localidad, 28);
            a(l.Provincia, 29);
        }
    } else if (tipoOrden == 2) {
        a(l.Razon_social, 126);
        const std::string cuenta = Recorta(l.CuentaCompleta());
        if (cuenta.empty() || cuenta == kCuentaCeros) {
            b(l.Localidad, 131);
            b(l.Direccion, 132);
            b(l.CP, 133);
            b(l.Loc_ordenante, 134);
            b(l.Cod_provincia_ordenante, 135);
        } else {
            b(l.Banco, 30);
            b(l.Oficina, 447);
            b(l.Cuenta, 7);
        }
    } else {
        LogTipoDesconocido("IsAllInputInfo");
    }
    if (faltan.empty())
        return true;
    CajaMensaje(Idioma.GetTexto(304) + faltan, Idioma.GetTexto(140), IconoMensaje::Informacion);
    return false;
}

bool ValidaLibrado(STRLibrado &l, int tipoOrden, int idUsuario, bool comprobarCodigo, int idLibrado)
{
    if (comprobarCodigo && ExisteCodigoReferencia(idUsuario, tipoOrden, l.Codigo_referencia, idLibrado))
        return false;
    if (!IsAllInputInfo(l, tipoOrden))
        return false;
    if (l.Banco == kEntidadPropia && !l.Cuenta.empty() && !ValidaCuentaBanco(l.Cuenta))
        return false;
    bool valido = true;
    if (tipoOrden == 1) {
        if (!l.CP.empty() && !CPValido19(l.CP)) {
            l.CP.clear();
            AvisoTexto(572, 1, IconoMensaje::Error);
            valido = false;
        }
        valido = CompruebaDigitos(l) && valido;
    } else if (tipoOrden == 2) {
        const std::string cuenta = Recorta(l.CuentaCompleta());
        if (cuenta.empty())
            l.PonCuenta(kCuentaCeros);
        else if (cuenta != kCuentaCeros)
            valido = CompruebaDigitos(l);
    } else {
        LogTipoDesconocido("ValidateData");
    }
    return valido;
}

ResultadoLibrado GuardaLibrado(int tipoOrden, int idEmisor, int &idLibrado, const STRLibrado &l)
{
    if (idLibrado <= 0)
        return LibradosEmisor().Inserta(tipoOrden, idEmisor, idLibrado, l);
    if (!TipoConocido(tipoOrden))
        return ResultadoLibrado::Fallido;
    const Columnas c = ColumnasLibrado(tipoOrden, l);
    auto v = [&c](const char *columna) { return DoblaComillas(Valor(c, columna)); };
    const std::string sql =
        tipoOrden == 1
            ? FormateaTexto(kActualiza19, v("Codigo_referencia"), v("Razon_social"), v("Cuenta"), v("Titular_cuenta"),
                            v("Direccion"), v("CP"), v("Localidad"), v("Provincia"), idLibrado)
            : FormateaTexto(kActualiza58, v("Codigo_referencia"), v("Razon_social"), v("Cuenta"), v("Localidad"),
                            v("Direccion"), v("CP"), v("Loc_ordenante"), v("Cod_provincia_ordenante"), idLibrado);
    int filas = 0;
    if (!DBExecSQL(sql, filas).empty())
        return ResultadoLibrado::Fallido;
    return filas > 0 ? ResultadoLibrado::Actualizado : ResultadoLibrado::Bloqueado;
}

std::string LibradosEmisor::Busca(int idEmisor, std::string_view codigo, int &idLibrado)
{
    idLibrado = 0;
    std::pair<int, std::string> clave(idEmisor, codigo);
    if (const auto conocido = m_conocidos.find(clave); conocido != m_conocidos.end()) {
        idLibrado = conocido->second;
        return {};
    }
    std::optional<SentenciaSQL> &sentencia = codigo.empty() ? m_buscaVacio : m_busca;
    if (!sentencia)
        sentencia.emplace(std::string("SELECT [Librados( Datos )].Id_librado, [Librados( Datos )].Cuenta FROM "
                                      "[Librados( Datos )] WHERE ") +
                          (codigo.empty() ? IgualTexto("[Librados( Datos )].Codigo_referencia", "")
                                          : "[Librados( Datos )].Codigo_referencia IN (?, ?)") +
                          " AND [Librados( Datos )].Id_emisor = ?;");
    if (!codigo.empty())
        sentencia->Texto(codigo).Texto(CodigoAnterior(codigo));
    std::string cuenta;
    std::string error = sentencia->Entero(idEmisor).Consulta([&idLibrado, &cuenta](char *fila, char *seguir, int) {
        idLibrado = Numero(GetCampo("Id_librado", fila));
        cuenta = NullToEmpty(GetCampo("Cuenta", fila));
        *seguir = 0;
    });
    if (idLibrado > 0) {
        m_conocidos.emplace(std::move(clave), idLibrado);
        m_cuentas[idLibrado] = Recorta(cuenta);
    }
    return error;
}

std::string LibradosComoBanco(int idEmisor, LibradosBanco &guardados)
{
    return DBGetData(FormateaTexto("SELECT [Librados( Datos )].Id_librado, [Librados( Datos )].Codigo_referencia, "
                                   "[Librados( Datos )].Cuenta FROM [Librados( Datos )] WHERE "
                                   "[Librados( Datos )].Id_emisor=%d ORDER BY [Librados( Datos )].Id_librado;",
                                   idEmisor),
                     [&guardados](char *fila, char *, int) {
                         LibradoGuardado g{Numero(GetCampo("Id_librado", fila)),
                                           NullToEmpty(GetCampoTexto("Codigo_referencia", fila)),
                                           Recorta(NullToEmpty(GetCampo("Cuenta", fila)))};
                         guardados.emplace(ReferenciaBanco(g.Codigo), std::move(g));
                     });
}

std::vector<std::string> CodigosComoBanco(const LibradosBanco &guardados, std::string_view codigo)
{
    std::vector<std::string> codigos;
    const auto [desde, hasta] = guardados.equal_range(ReferenciaBanco(codigo));
    for (auto g = desde; g != hasta; ++g)
        codigos.push_back(g->second.Codigo);
    return codigos;
}

std::string LibradosEmisor::BuscaEnFichero(int idEmisor, std::string_view codigo, int &idLibrado,
                                           std::vector<std::string> &iguales)
{
    const auto clave = std::make_pair(idEmisor, std::string(codigo));
    const auto ambiguo = m_ambiguos.find(clave);
    iguales = ambiguo == m_ambiguos.end() ? std::vector<std::string>() : ambiguo->second;
    std::string error = Busca(idEmisor, codigo, idLibrado);
    if (!error.empty() || idLibrado > 0 || codigo.empty())
        return error;
    auto leidos = m_comoBanco.find(idEmisor);
    if (leidos == m_comoBanco.end()) {
        LibradosBanco guardados;
        if (error = LibradosComoBanco(idEmisor, guardados); !error.empty())
            return error;
        leidos = m_comoBanco.emplace(idEmisor, std::move(guardados)).first;
    }
    iguales = CodigosComoBanco(leidos->second, codigo);
    if (iguales.size() > 1)
        m_ambiguos[clave] = iguales;
    if (iguales.size() != 1)
        return {};
    iguales.clear();
    const LibradoGuardado &hallado = leidos->second.find(ReferenciaBanco(codigo))->second;
    idLibrado = hallado.Id;
    m_conocidos.emplace(clave, idLibrado);
    m_cuentas[idLibrado] = hallado.Cuenta;
    return {};
}

ResultadoLibrado LibradosEmisor::Inserta(int tipoOrden, int idEmisor, int &idLibrado, const STRLibrado &l)
{
    if (!TipoConocido(tipoOrden))
        return ResultadoLibrado::Fallido;
    if (idEmisor <= 0) {
        WriteLog("[ Librados::GuardaLibrado ] Librado sin emisor: no se guarda");
        return ResultadoLibrado::Fallido;
    }
    const Columnas c = ColumnasLibrado(tipoOrden, l);
    std::optional<SentenciaSQL> &sentencia = m_inserta[tipoOrden - 1];
    if (!sentencia) {
        std::string columnas, valores;
        for (const auto &[nombre, valor] : c) {
            columnas += std::string(",") + nombre;
            valores += ",?";
        }
        sentencia.emplace("INSERT INTO [Librados( Datos )] (Id_emisor" + columnas + ",Block) VALUES (?" + valores +
                          ",0);");
    }
    sentencia->Entero(idEmisor);
    for (const auto &[nombre, valor] : c)
        sentencia->Texto(valor);
    int filas = 0;
    if (!sentencia->Ejecuta(filas).empty() || filas != 1)
        return ResultadoLibrado::Fallido;
    idLibrado = int(VASQ_GetLastInsertID());
    const std::string &codigo = Valor(c, "Codigo_referencia");
    m_conocidos.emplace(std::make_pair(idEmisor, codigo), idLibrado);
    m_cuentas[idLibrado] = Recorta(Valor(c, "Cuenta"));
    if (const auto leidos = m_comoBanco.find(idEmisor); leidos != m_comoBanco.end())
        leidos->second.emplace(ReferenciaBanco(codigo), LibradoGuardado{idLibrado, codigo, m_cuentas[idLibrado]});
    return ResultadoLibrado::Insertado;
}

std::string LibradosEmisor::CuentaDistinta(int idLibrado, std::string_view codigo, std::string_view cuenta,
                                           int tipoOrden) const
{
    const auto guardada = m_cuentas.find(idLibrado);
    if (guardada == m_cuentas.end())
        return {};
    const std::string &suya = guardada->second;
    if (!RegistrosCSB::SinCuenta(cuenta) && CuentaEnviable(cuenta, tipoOrden) && cuenta != suya)
        return FormateaTexto(Idioma.GetTexto(926), codigo, cuenta, suya);
    if (!CuentaEnviable(suya, tipoOrden))
        return FormateaTexto(Idioma.GetTexto(927), codigo, suya);
    return {};
}

bool CoincideLibrado(int tipoOrden, int idLibrado, const STRLibrado &l)
{
    std::string fila;
    DBGetData(FormateaTexto("SELECT * FROM [Librados( Datos )] WHERE Id_librado=%d;", idLibrado),
              [&fila](char *texto, char *, int) { fila = texto; });
    if (fila.empty())
        return false;
    for (const auto &[columna, valor] : ColumnasLibrado(tipoOrden, l))
        if (NullToEmpty(GetCampoTexto(columna, fila)) != valor)
            return false;
    return true;
}
