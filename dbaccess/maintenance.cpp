// Maintenance of a database file: integrity check and index rebuild, and copies that
// replace their target atomically: under another password (compaction, password change)
// or stored through byte transforms.
#include "maintenance.h"

#include "cipherkey.h"
#include "copycheck.h"
#include "transformvfs.h"
#include "vasqdb.h"

#include <cp1252.h>
#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vasq {
namespace {

constexpr const char *kCopyName = "vasq_copy";

// A new copy needs no journal: on failure it is removed whole. A keyed copy is written in
// the library's page size, a transformed copy in pages of 8,192 bytes.
const std::string kKeyedCopy = "PRAGMA vasq_copy.cipher_page_size=" + std::to_string(VASQ_PAGE_SIZE) +
                               "; PRAGMA vasq_copy.journal_mode=OFF; PRAGMA vasq_copy.cache_size=-65536; ";
const std::string kTransformedCopy = "PRAGMA vasq_copy.page_size=" + std::to_string(kSealedPageSize) +
                                     "; PRAGMA vasq_copy.journal_mode=OFF; PRAGMA vasq_copy.cache_size=-65536; ";

// A new empty file beside target with the permissions of model, removed with this
// object unless kept.
class NewFile {
public:
    NewFile(const std::string &target, const char *model)
    {
        const std::string name = cp1252::fileName(target);
        const size_t slash = name.rfind('/') + 1;
        std::string templ = name.substr(0, slash) + "." + name.substr(slash) + ".XXXXXX" + VASQ_TEMP_MARK;
        int fd = ::mkstemps(templ.data(), int(std::strlen(VASQ_TEMP_MARK)));
        if (fd >= 0) {
            struct stat info;
            if (model && ::stat(model, &info) == 0)
                ::fchmod(fd, info.st_mode & 07777);
            ::close(fd);
            m_name = templ;
        }
    }
    ~NewFile()
    {
        if (!m_name.empty() && !m_kept)
            ::unlink(m_name.c_str());
    }
    NewFile(const NewFile &) = delete;
    NewFile &operator=(const NewFile &) = delete;

    const std::string &name() const { return m_name; }
    void keep() { m_kept = true; }

private:
    std::string m_name;
    bool m_kept = false;
};

// A failed file operation on the operating system's name, with errno's text.
Status ioFailure(int error, const char *what, const std::string &name)
{
    return engineFinding(diskFull(error) ? SQLITE_FULL : SQLITE_IOERR,
                         std::string(what) + " " + cp1252::fromUtf8(name) + ": " + std::strerror(error));
}

// Attaches the empty file name under kCopyName, keyed with key (UTF-8).
Status attach(Connection &connection, const std::string &name, const std::string &key)
{
    std::string sql = std::string("ATTACH DATABASE ? AS ") + kCopyName + " KEY ?";
    sqlite3_stmt *statement = nullptr;
    int rc = sqlite3_prepare_v2(connection.handle(), sql.c_str(), -1, &statement, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_bind_text(statement, 1, name.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(statement, 2, key.c_str(), -1, SQLITE_TRANSIENT);
        rc = sqlite3_step(statement);
        if (rc == SQLITE_DONE)
            rc = SQLITE_OK;
    }
    sqlite3_finalize(statement);
    return rc == SQLITE_OK ? Status() : connection.failure(rc);
}

int userVersion(Connection &connection)
{
    sqlite3_stmt *statement = nullptr;
    int version = 0;
    const char *sql = "PRAGMA main.user_version";
    if (sqlite3_prepare_v2(connection.handle(), sql, -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        version = sqlite3_column_int(statement, 0);
    sqlite3_finalize(statement);
    return version;
}

// What a copy is checked for besides being written.
enum class Check {
    none,
    copy,   // the copy is checked whole and sealed (saveTransformed)
    source, // the source, a sealed copy, is verified against its seal (loadTransformed)
};

// Runs a file control of the transforming VFS on schema of connection.
Status control(Connection &connection, const char *schema, int op)
{
    int result = SQLITE_OK;
    int rc = sqlite3_file_control(connection.handle(), schema, op, &result);
    rc = rc == SQLITE_OK ? result : rc;
    if (rc == SQLITE_CORRUPT)
        return engineFinding(rc, "La copia ha cambiado desde que se escribi\xF3: sus bytes no son los que se guardaron.");
    return rc == SQLITE_OK ? Status() : connection.failure(rc);
}

int tableCount(Connection &connection)
{
    sqlite3_stmt *statement = nullptr;
    int count = 0;
    const char *sql = "SELECT count(*) FROM main.sqlite_master WHERE type='table'";
    if (sqlite3_prepare_v2(connection.handle(), sql, -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW)
        count = sqlite3_column_int(statement, 0);
    sqlite3_finalize(statement);
    return count;
}

// Exports the database of connection into the empty file name (a URI on a connection
// opened with a VFS), keyed with key (UTF-8), in one read transaction of the source, so
// that the copy holds one state of the database also while other copies write. setup runs
// first, on the attached copy.
//
// The export is its own check against copying a damaged database: it reads every page of
// every table and index (the engine copies an index whole into an empty copy), and a
// keyed page that is not as written, or a page that does not hold a sound tree, fails it
// as "database disk image is malformed". A page that is an earlier version of itself (a
// lost write) is a sound tree whose records disagree with their index entries, and the
// copy receives both as they are: checking the copy (checkCopy: it needs no decryption,
// and its pages are still in memory) finds that. Pages it does not read (free ones) do not reach
// the copy. A transformed copy of a database without tables is refused.
Status exportInto(Connection &connection, const std::string &name, const std::string &key, const char *setup,
                  Check check)
{
    Status status = attach(connection, name, key);
    if (!status.ok())
        return status;
    status = connection.run((std::string(setup) + "BEGIN").c_str());
    if (status.ok() && check != Check::none && tableCount(connection) == 0)
        status = engineFinding(SQLITE_NOTADB, "No es una base de datos con datos: no tiene ninguna tabla.");
    if (status.ok()) {
        std::string copy = std::string("SELECT sqlcipher_export('") + kCopyName + "'); PRAGMA " + kCopyName +
                           ".user_version=" + std::to_string(userVersion(connection)) + "; COMMIT";
        status = connection.run(copy.c_str());
    }
    if (!sqlite3_get_autocommit(connection.handle()))
        connection.run("ROLLBACK");
    if (status.ok() && check == Check::copy)
        status = checkCopy(connection, kCopyName);
    if (status.ok() && check == Check::copy)
        status = control(connection, kCopyName, kSealControl);
    if (check == Check::source) {
        // Also after a failure: a copy whose bytes changed says so rather than what it broke.
        Status verified = control(connection, "main", kVerifyControl);
        if (!verified.ok() && (status.ok() || verified.code == VASQ_ENGINE_ERROR_BASE + SQLITE_CORRUPT))
            status = verified;
    }
    Status detached = connection.run((std::string("DETACH DATABASE ") + kCopyName).c_str());
    return status.ok() ? detached : status;
}

// Renames name over target, first removing target's journal files, so that no stale
// journal of the old file ever meets the new one; then makes the rename durable.
Status replace(const std::string &name, const std::string &target)
{
    std::string osTarget = cp1252::fileName(target);
    ::unlink((osTarget + "-wal").c_str());
    ::unlink((osTarget + "-shm").c_str());
    ::unlink((osTarget + "-journal").c_str());
    if (::rename(name.c_str(), osTarget.c_str()) != 0) {
        int error = errno;
        return ioFailure(error, "No se puede renombrar", name);
    }
    size_t slash = osTarget.rfind('/');
    std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : osTarget.substr(0, slash);
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
    return {};
}

// Writes the whole database of connection to a new file beside target (through vfs when
// given, the connection then having been opened with one), with the permissions of the
// source, closes connection and renames the new file over target. On failure target is
// left as it was and the new file removed.
Status writeCopy(Connection &connection, const std::string &target, const std::string &key, const char *vfs,
                 const char *setup, Check check)
{
    NewFile file(target, sqlite3_db_filename(connection.handle(), "main"));
    if (file.name().empty()) {
        int error = errno;
        return ioFailure(error, "No se puede crear un fichero junto a", cp1252::fileName(target));
    }
    Status status =
        exportInto(connection, vfs ? fileUri(file.name(), vfs) : file.name(), engineKey(nullptr, key), setup, check);
    connection.close();
    if (status.ok())
        status = replace(file.name(), target);
    if (status.ok())
        file.keep();
    return status;
}

} // namespace

Status checkIntegrity(Connection &connection, const char *schema, bool quick)
{
    sqlite3_stmt *statement = nullptr;
    const std::string sql = std::string("PRAGMA ") + schema + (quick ? ".quick_check(1)" : ".integrity_check(1)");
    int rc = sqlite3_prepare_v2(connection.handle(), sql.c_str(), -1, &statement, nullptr);
    std::string finding;
    if (rc == SQLITE_OK && (rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const unsigned char *text = sqlite3_column_text(statement, 0);
        finding = text ? reinterpret_cast<const char *>(text) : "";
        rc = SQLITE_OK;
    }
    Status status = rc == SQLITE_OK ? Status() : connection.failure(rc);
    sqlite3_finalize(statement);
    if (status.ok() && finding != "ok")
        status = engineFinding(SQLITE_CORRUPT, cp1252::fromUtf8(finding));
    return status;
}

Status copyTo(Connection &connection, const std::string &target, const std::string &password)
{
    return writeCopy(connection, target, password, nullptr, kKeyedCopy.c_str(), Check::none);
}

Status saveTransformed(Connection &connection, const std::string &target, const Transforms &transforms)
{
    TransformScope scope(transforms);
    return writeCopy(connection, target, "", transformVfs(), kTransformedCopy.c_str(), Check::copy);
}

Status loadTransformed(const std::string &source, const Transforms &transforms, const std::string &target,
                       const std::string &password)
{
    TransformScope scope(transforms);
    Connection connection;
    // Read-write, as the copy attached to it must be; without encode the source itself
    // cannot be written. (Read-only, the engine reads rollback-journal files far slower.)
    Status status = connection.open(source, false, "", transformVfs());
    return status.ok() ? writeCopy(connection, target, password, plainVfs(), kKeyedCopy.c_str(), Check::source)
                       : status;
}

} // namespace vasq
