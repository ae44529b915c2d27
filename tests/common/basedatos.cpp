// Shared helpers of the database tests.
#include "basedatos.h"

#include "General.h"
#include "Modmas.h"
#include "vasqdb.h"

#include <filesystem>

namespace basedatos {

const std::vector<std::string> kTables = {
    "[_Usuarios()]",          "[_Empresas( Datos )]",      "[_Presentadores( Datos )]",
    "[_Emisores( Datos )]",   "[Remesas()]",               "[Documentos()]",
    "[Conceptos()]",          "[Librados( Datos )]",       "[Historicos( Remesas )]",
    "[Plantillas( Datos )]",  "[Plantillas( Elementos )]", "[_TiposMoneda()]",
    "[_Provincias()]",        "[Bancos()]",                "[Aplicaciones()]",
    "[Actualizaciones()]",
};

namespace {

std::vector<std::string> *g_rows = nullptr;

void collect(char *rowText, char *, int)
{
    g_rows->push_back(rowText);
}

std::string lastError()
{
    char text[1024];
    int code = VASQ_GetLastErrorCodeDesc(text, sizeof text);
    return "(" + std::to_string(code) + ") " + text;
}

} // namespace

std::string restoreShipped(const testutil::TempDir &dir)
{
    std::string mcr = dir.file("Orvanta.mcr");
    std::string mdb = dir.file("Orvanta.mdb");
    std::error_code ec;
    std::filesystem::copy_file(SHIPPED_MCR, mcr, ec);
    if (ec || !RecuperaBDCifrada(mdb) || C_ChangePassword(mdb.c_str(), "", kPasswordBD) != 0)
        return {};
    return mdb;
}

int open(const std::string &path, const std::string &password)
{
    SetBdPassword(password.c_str());
    return VASQ_OpenDB(path.c_str(), 0, 0);
}

Result query(const std::string &sql)
{
    Result result;
    g_rows = &result.rows;
    result.ok = VASQ_GetData(sql.c_str(), collect) == 0;
    g_rows = nullptr;
    if (!result.ok)
        result.error = lastError();
    return result;
}

int exec(const std::string &sql, std::string &error)
{
    int rows = 0;
    if (VASQ_ExecSQL(sql.c_str(), &rows) != 0) {
        error = lastError();
        return -1;
    }
    return rows;
}

std::string field(const std::string &row, const std::string &name)
{
    std::string value = GetCampo(name, row);
    VASQ_Unescape(value.data());
    return value;
}

std::vector<std::string> dump()
{
    std::vector<std::string> all;
    for (const std::string &table : kTables) {
        Result r = query("SELECT * FROM " + table + " ORDER BY rowid");
        all.push_back(table + (r.ok ? "" : " " + r.error));
        all.insert(all.end(), r.rows.begin(), r.rows.end());
    }
    return all;
}

} // namespace basedatos
