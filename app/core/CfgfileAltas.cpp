// Find-or-insert of users, companies, presenters and issuers.
#include "Cfgfile.h"

#include "General.h"
#include "vasqdb.h"

#include <cstdlib>

namespace {

// The first value of a one-field query, or -1.
int Busca(const char *campo, const std::string &sql)
{
    B_AStr_t *valores = ConsultaCampos(true, {campo}, "%s", sql.c_str());
    if (!valores || valores->nStrs < 1)
        return -1;
    const char *valor = B_AStrGet(valores, 0);
    char *fin = nullptr;
    const long n = std::strtol(valor, &fin, 10);
    return fin == valor ? -1 : int(n);
}

// The new key after an insert that added a row, else -1.
int Alta(const std::string &sql)
{
    const int filas = EjecutaSQLf("%s", sql.c_str());
    return filas > 0 ? int(VASQ_GetLastInsertID()) : -1;
}

std::string Limpio(std::string_view texto) { return LimpiaTextoSQL(texto); }

std::string NifLimpio(std::string_view nif) { return LimpiaTextoSQL(NifMayusculas(SoloAlfanumericos(nif))); }

} // namespace

int BuscaUsuarioCodigo(std::string_view codigo)
{
    return Busca("Id_usuario", "SELECT [_Usuarios()].Id_usuario FROM [_Usuarios()] WHERE " +
                                   IgualTexto("[_Usuarios()].Cod_usuario", Limpio(codigo)));
}

int AltaUsuario(std::string_view codigo, const char *password, std::string_view nombre)
{
    const int id = Alta(FormatoSQL("INSERT INTO [_Usuarios()] (Cod_usuario, Password, Nombre_usuario,Block) "
                                   "VALUES ( '%s', '%s', '%s',0 );",
                                   Limpio(codigo).c_str(), Limpio(password ? password : "").c_str(),
                                   Limpio(nombre).c_str()));
    return id > 0 ? id : 0;
}

int BuscaEmpresaCif(int idUsuario, std::string_view cif)
{
    return Busca("Id_empresa", FormatoSQL("SELECT [_Empresas( Datos )].Id_empresa FROM [_Empresas( Datos )] "
                                          "WHERE [_Empresas( Datos )].Id_usuario = %d   AND ",
                                          idUsuario) +
                                   IgualTexto("[_Empresas( Datos )].Cif", Limpio(cif)));
}

int AltaEmpresa(int idUsuario, std::string_view cif, std::string_view nombre, std::string_view cuenta)
{
    return Alta(FormatoSQL("INSERT INTO [_Empresas( Datos )] (Id_usuario, Cif, Nombre, Cuenta,Block) "
                           "VALUES ( '%d', '%s', '%s', '%s',0 );",
                           idUsuario, Limpio(cif).c_str(), Limpio(nombre).c_str(), Limpio(cuenta).c_str()));
}

int BuscaPresentadorNif(int idEmpresa, std::string_view nif, std::string_view sufijo, std::string_view orden)
{
    return Busca("Id_presentador",
                 FormatoSQL("SELECT [_Presentadores( Datos )].Id_presentador   FROM [_Presentadores( Datos )] "
                            "WHERE [_Presentadores( Datos )].Id_empresa = %d   AND ",
                            idEmpresa) +
                     IgualTexto("[_Presentadores( Datos )].Id_nif", NifLimpio(nif)) + "   AND " +
                     IgualSufijo("[_Presentadores( Datos )].Sufijo", sufijo) + "  AND " +
                     IgualTexto("[_Presentadores( Datos )].Id_orden", Limpio(orden)));
}

int AltaPresentador(int idEmpresa, std::string_view nif, std::string_view orden, std::string_view sufijo,
                    std::string_view nombre)
{
    const std::string limpio = NifLimpio(nif), suf = Limpio(Recorta(sufijo));
    return Alta(FormatoSQL("INSERT INTO [_Presentadores( Datos )] (Id_empresa, Id_orden, Clave_presentador, "
                           "Id_nif, Sufijo, Razon_social,Block) VALUES ( '%d', '%s', '%s%s', '%s', '%s', '%s',0 );",
                           idEmpresa, Limpio(orden).c_str(), limpio.c_str(), suf.c_str(), limpio.c_str(), suf.c_str(),
                           Limpio(nombre).c_str()));
}

int BuscaEmisorCuentas(int idPresentador, std::string_view abono, std::string_view cargo)
{
    return Busca("Id_emisor", FormatoSQL("SELECT [_Emisores( Datos )].Id_emisor FROM [_Emisores( Datos )] "
                                         "WHERE [_Emisores( Datos )].Id_presentador = %d   AND ",
                                         idPresentador) +
                                  IgualTexto("[_Emisores( Datos )].Cuenta_abono", Limpio(abono)) + " AND " +
                                  IgualTexto("[_Emisores( Datos )].Cuenta_cargo", Limpio(cargo)));
}

int BuscaEmisorNif(int idPresentador, std::string_view nif, std::string_view sufijo)
{
    return Busca("Id_emisor", FormatoSQL("SELECT [_Emisores( Datos )].Id_emisor FROM [_Emisores( Datos )] "
                                         "WHERE [_Emisores( Datos )].Id_presentador = %d   AND ",
                                         idPresentador) +
                                  IgualTexto("[_Emisores( Datos )].Id_nif", NifLimpio(nif)) + " AND " +
                                  IgualSufijo("[_Emisores( Datos )].Sufijo", sufijo));
}

int AltaEmisor(int idPresentador, std::string_view nif, std::string_view sufijo, std::string_view nombre,
               std::string_view abono, std::string_view cargo, std::string_view descripcion, std::string_view alias,
               std::string_view nie)
{
    return Alta(FormatoSQL("INSERT INTO [_Emisores( Datos )] (Id_presentador, Id_nif, Sufijo, Razon_social, "
                           "Cuenta_abono,Cuenta_cargo,Desc_cuenta,Alias,Codigo_NIE,Block) "
                           "VALUES ( '%d', '%s', '%s', '%s', '%s','%s', '%s','%s','%s',0 );",
                           idPresentador, NifLimpio(nif).c_str(), Limpio(Recorta(sufijo)).c_str(), Limpio(nombre).c_str(),
                           Limpio(abono).c_str(), Limpio(cargo).c_str(), Limpio(descripcion).c_str(),
                           Limpio(alias).c_str(), Limpio(nie).c_str()));
}
