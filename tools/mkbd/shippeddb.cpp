// Builds the database that ships with the program and its scrambled copy Orvanta.mcr.
#include "shippeddb.h"

#include "General.h"
#include "Trunpass.h"
#include "cp1252.h"
#include "sqlscript.h"
#include "vasqdb.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

namespace shippeddb {

namespace {

std::string lastDatabaseError()
{
    char text[1024];
    int code = VASQ_GetLastErrorCodeDesc(text, sizeof text);
    return text[0] ? std::string(text) : "error " + std::to_string(code);
}

// Runs every statement of a UTF-8 script on the open database.
bool runScript(const std::string &script, std::string &error)
{
    std::vector<std::string> statements;
    if (!sqlscript::split(script, statements, error))
        return false;
    for (const std::string &statement : statements) {
        std::string sql = cp1252::fromUtf8(statement);
        int rows = 0;
        if (VASQ_ExecSQL(sql.c_str(), &rows) != 0) {
            error = lastDatabaseError() + " en: " + sql;
            return false;
        }
    }
    return true;
}

bool addAdministrator(std::string &error)
{
    std::string sql = std::string("INSERT INTO [_Usuarios()] "
                                  "([Cod_usuario],[Password],[Nombre_usuario],[Permisos],[Activo],Block) "
                                  "VALUES ('") +
                      kAdminCode + "','" + CodificaPassword(kAdminPassword) + "','" + kAdminName +
                      "','" + kAdminPermissions + "',TRUE,0);";
    int rows = 0;
    if (VASQ_ExecSQL(sql.c_str(), &rows) != 0 || rows != 1) {
        error = "no se pudo crear el administrador: " + lastDatabaseError();
        return false;
    }
    return true;
}

bool fillDatabase(const std::string &schemaScript, const std::string &dataScript, std::string &error)
{
    if (VASQ_BeginTrans() != 0) {
        error = lastDatabaseError();
        return false;
    }
    if (runScript(schemaScript, error) && runScript(dataScript, error) && addAdministrator(error)) {
        if (VASQ_CommitTrans() == 0)
            return true;
        error = lastDatabaseError();
    }
    VASQ_Rollback();
    return false;
}

std::filesystem::path osPath(const std::string &path)
{
    return std::filesystem::path(cp1252::fileName(path));
}

// Creates the database file at mdbPath without a password: every statement of both
// scripts and the first administrator, in one transaction.
bool createDatabase(const std::string &mdbPath, const std::string &schemaScript,
                    const std::string &dataScript, std::string &error)
{
    // vasqdb never creates a file; an empty file is an empty database.
    std::FILE *file = cp1252::openFile(mdbPath, "wb");
    if (!file || std::fclose(file) != 0) {
        error = "no se puede crear " + mdbPath + ": " + std::strerror(errno);
        return false;
    }
    if (SetBdPassword("") < 1 || VASQ_OpenDB(mdbPath.c_str(), 1, 0) != 0) {
        error = "no se puede abrir " + mdbPath + ": " + lastDatabaseError();
        return false;
    }
    bool done = fillDatabase(schemaScript, dataScript, error);
    VASQ_CloseDB();
    return done;
}

} // namespace


bool writeScrambledCopy(const std::string &mcrPath, const std::string &schemaScript,
                        const std::string &dataScript, std::string &error)
{
    std::filesystem::path target = osPath(mcrPath);
    std::error_code ec;
    std::filesystem::path parent = target.parent_path().empty() ? "." : target.parent_path();
    std::filesystem::create_directories(parent, ec);
    // The work folder lies beside the target, so the copy is renamed into place.
    std::string pattern = (parent / ".mkbd-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        error = "no se puede crear la carpeta de trabajo junto a " + mcrPath + ": " + std::strerror(errno);
        return false;
    }
    std::filesystem::path work = pattern;
    std::string mdb = cp1252::fromUtf8((work / "Orvanta.mdb").string());
    std::string mcr = cp1252::fromUtf8((work / "Orvanta.mcr").string());

    bool done = createDatabase(mdb, schemaScript, dataScript, error);
    if (done && C_ChangePassword(mdb.c_str(), "", kPasswordBD) != 0) {
        error = "no se puede poner la clave de la base de datos";
        done = false;
    }
    if (done && !GuardaBDCifrada(mdb, false, kPasswordBD)) {
        error = "no se puede escribir la copia cifrada";
        done = false;
    }
    if (done) {
        std::filesystem::rename(osPath(mcr), target, ec);
        if (ec) {
            error = "no se puede poner la copia en " + mcrPath + ": " + ec.message();
            done = false;
        }
    }
    std::filesystem::remove_all(work, ec);
    return done;
}

} // namespace shippeddb
