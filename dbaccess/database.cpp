// The library's process-wide state and the exports for the connection, statements,
// transactions and maintenance.
#include "database.h"

#include "copycheck.h"
#include "maintenance.h"
#include "transformvfs.h"
#include "vasqdb.h"

#include <sqlite3.h>

#include <cstring>
#include <functional>
#include <new>

namespace vasq {

State &state()
{
    static State s;
    return s;
}

int fail(const char *label, int level, const Status &status)
{
    State &s = state();
    s.error.record(status);
    s.trace.write(level, label, status.text);
    return status.code;
}

int refuse(const char *label)
{
    return fail(label, 1, ownFailure(VASQ_ERR_NOTOPEN));
}

int caught(const char *label) noexcept
{
    int rc = SQLITE_ABORT;
    try {
        throw;
    } catch (const std::bad_alloc &) {
        rc = SQLITE_NOMEM;
    } catch (...) {
    }
    if (!label)
        return 1;
    try {
        return fail(label, 1, engineFailure(nullptr, rc));
    } catch (...) {
        return VASQ_ENGINE_ERROR_BASE + rc;
    }
}

void release()
{
    State &s = state();
    s.index.close();
    s.prepared.clear();
    s.second.close();
    s.main.close();
    s.lock.release();
    s.path.clear();
}

Status lockFor(SideLock &lock, const std::string &path, bool exclusive)
{
    const State &s = state();
    if (!s.heldPath.empty() && s.heldPath == path) {
        lock.release();
        return {};
    }
    return lock.acquire(path, exclusive);
}

void reset()
{
    State &s = state();
    s.error.clear();
    s.trace.reset();
}

namespace {

// The state is reset when the library is loaded; at unload the database is released.
struct Lifetime {
    Lifetime() { reset(); }
    ~Lifetime()
    {
        state().trace.write(11, "[vasqdb::DllMain: ] DLL_PROCESS_DETACH");
        release();
    }
} lifetime;

Status pathArgument(const char *path)
{
    if (!path || !*path)
        return ownFailure(VASQ_ERR_ARGUMENT, "Falta la ruta de la base de datos.");
    if (std::strlen(path) > VASQ_MAX_PATH)
        return ownFailure(VASQ_ERR_ARGUMENT, "La ruta de la base de datos es demasiado larga.");
    return {};
}

// Closes the open database and runs work on the file at path, opened with the stored
// password and held exclusively. Returns 1 when no database was open (nothing recorded)
// or the file cannot be held; else 0 or the code of work's failure, traced at level 11
// after label. Leaves the library closed and reset; a failure stays the last error.
int maintain(const char *label, const char *path, const std::function<Status(Connection &)> &work)
{
    return guarded(label, [&] {
        State &s = state();
        if (!s.opened())
            return 1;
        release();
        int result = 1;
        Status status = pathArgument(path);
        {
            Connection connection;
            SideLock lock;
            if (status.ok())
                status = connection.open(path, false, s.password);
            if (status.ok())
                status = lockFor(lock, path, true);
            if (status.ok()) {
                status = work(connection);
                result = status.code;
                if (!status.ok())
                    s.trace.write(11, label, status.text);
            }
        }
        reset();
        if (!status.ok())
            s.error.record(status);
        return result;
    });
}

// The arguments of the transformed copies: two paths, a password and the transforms.
Status transformArguments(const char *source, const char *destination, const char *password, bool transforms)
{
    Status status = pathArgument(source);
    if (status.ok())
        status = pathArgument(destination);
    if (status.ok() && (!password || std::strlen(password) > VASQ_MAX_PASSWORD))
        status = ownFailure(VASQ_ERR_ARGUMENT, "Falta la contrase\xF1" "a o es demasiado larga.");
    if (status.ok() && !transforms)
        status = ownFailure(VASQ_ERR_ARGUMENT, "Falta la transformaci\xF3n de la copia.");
    return status;
}

// Runs begin, commit or rollback of the main connection for the export named by label.
int transaction(const char *label, Status (Connection::*step)())
{
    return guarded(label, [&] {
        State &s = state();
        if (!s.opened())
            return refuse(label);
        Status status = (s.main.*step)();
        return status.ok() ? 0 : fail("[vasqdb::VASQ_ExecSQL: ] ", 1, status);
    });
}

// Runs begin, commit or rollback of the second connection; 0 or 1, as C_Exec.
int secondTransaction(Status (Connection::*step)())
{
    State &s = state();
    if (!s.opened())
        return 1;
    const int result = guarded(nullptr, [&] { return (s.second.*step)().ok() ? 0 : 1; });
    if (result != 0)
        s.trace.write(1, "Error en la transacci\xF3n de C_Exec");
    return result;
}

} // namespace
} // namespace vasq

using namespace vasq;

extern "C" {

int SetBdPassword(const char *password)
{
    const char *label = "[vasqdb::SetBdPassword() ]";
    return guarded(label, [&] {
        if (!password)
            return fail(label, 1, ownFailure(VASQ_ERR_ARGUMENT, "Falta la contrase\xF1" "a."));
        size_t length = std::strlen(password);
        if (length > VASQ_MAX_PASSWORD)
            return fail(label, 1, ownFailure(VASQ_ERR_ARGUMENT, "La contrase\xF1" "a es demasiado larga."));
        state().password = password;
        return int(length) + 1;
    });
}

int VASQ_SetDebug(int level)
{
    state().trace.setLevel(level);
    return 0;
}

int VASQ_OpenDB(const char *path, int exclusive, int readOnly)
{
    const char *label = "[vasqdb::VASQ_OpenDB() ]";
    int result = guarded(label, [&] {
        State &s = state();
        if (s.opened())
            return fail(label, 1, ownFailure(VASQ_ERR_ALREADYOPEN));
        Status status = pathArgument(path);
        if (!status.ok())
            return fail(label, 1, status);
        bool readOnlyFlag = (readOnly & 0xFF) != 0;
        status = s.main.open(path, readOnlyFlag, s.password, nullptr, Connection::kLargeCacheKiB);
        if (status.ok())
            status = lockFor(s.lock, path, (exclusive & 0xFF) != 0);
        if (status.ok())
            status = s.second.open(path, readOnlyFlag, s.password);
        if (!status.ok())
            return fail("[vasqdb::VASQ_OpenDB: ] ", 1, status);
        s.path = path;
        s.readOnly = readOnlyFlag;
        return 0;
    });
    if (result != 0 && result != VASQ_ERR_ALREADYOPEN)
        release();
    return result;
}

int VASQ_CloseDB(void)
{
    release();
    reset();
    return 0;
}

int VASQ_IsDBOpened(void)
{
    return state().opened() ? 1 : 0;
}

const char *VASQ_GetDBNamePath(void)
{
    return state().path.c_str();
}

int VASQ_ExecSQL(const char *sql, int *rows)
{
    const char *label = "[vasqdb::VASQ_ExecSQL() ]";
    if (rows)
        *rows = 0;
    return guarded(label, [&] {
        State &s = state();
        if (!sql)
            return fail(label, 1, ownFailure(VASQ_ERR_ARGUMENT, "Falta la sentencia SQL."));
        if (!s.opened())
            return refuse(label);
        Status status = s.main.execute(sql, rows);
        return status.ok() ? 0 : fail("[vasqdb::VASQ_ExecSQL: ] ", 1, status);
    });
}

int C_Exec(const char *sql, int *rows)
{
    if (rows)
        *rows = 0;
    State &s = state();
    if (!s.opened())
        return 1;
    // Waiting for this copy's own write lock would only end in a timeout.
    int result = guarded(nullptr, [&] {
        return !sql || s.main.holdsWriteLock() || !s.second.execute(sql, rows).ok();
    });
    if (result != 0)
        s.trace.write(1, "Error en C_Exec");
    return result;
}

int C_BeginTrans(void)
{
    return secondTransaction(&Connection::begin);
}

int C_CommitTrans(void)
{
    return secondTransaction(&Connection::commit);
}

int C_Rollback(void)
{
    return secondTransaction(&Connection::rollback);
}

long long VASQ_GetLastInsertID(void)
{
    State &s = state();
    return s.opened() ? sqlite3_last_insert_rowid(s.main.handle()) : 0;
}

int VASQ_BeginTrans(void)
{
    return transaction("[vasqdb::VASQ_BeginTrans() ]", &Connection::begin);
}

int VASQ_CommitTrans(void)
{
    return transaction("[vasqdb::VASQ_CommitTrans() ]", &Connection::commit);
}

int VASQ_Rollback(void)
{
    return transaction("[vasqdb::VASQ_RollBack() ]", &Connection::rollback);
}

int VASQ_RepairBase(const char *path)
{
    return maintain("[vasqdb::VASQ_Repair2: ] ", path, [](Connection &connection) {
        // The check of the copy that the exit writes: what it refuses, the repair never
        // calls mended.
        Status status = connection.run("REINDEX");
        return status.ok() ? checkCopy(connection, "main") : status;
    });
}

int VASQ_CompactBase(const char *source, const char *destination)
{
    return maintain("[vasqdb::VASQ_Compact2: ] ", source, [destination](Connection &connection) {
        Status status = pathArgument(destination);
        if (status.ok())
            status = checkIntegrity(connection);
        return status.ok() ? copyTo(connection, destination, state().password) : status;
    });
}

int C_ChangePassword(const char *path, const char *oldPassword, const char *newPassword)
{
    return guarded(nullptr, [&] {
        if (!pathArgument(path).ok() || !oldPassword || !newPassword ||
            std::strlen(newPassword) > VASQ_MAX_PASSWORD)
            return 1;
        Connection connection;
        SideLock lock;
        Status status = connection.open(path, false, oldPassword);
        if (status.ok())
            status = lockFor(lock, path, true);
        if (status.ok())
            status = copyTo(connection, path, newPassword);
        return status.ok() ? 0 : 1;
    });
}

int VASQ_ExportTransformed(const char *source, const char *password, const char *destination,
                           VASQ_FileTransform encode, VASQ_FileTransform decode)
{
    const char *label = "[vasqdb::VASQ_ExportTransformed: ] ";
    return guarded(label, [&] {
        Status status = transformArguments(source, destination, password, encode && decode);
        Connection connection;
        SideLock lock;
        if (status.ok())
            status = connection.open(source, false, password, plainVfs());
        if (status.ok())
            status = lockFor(lock, source, false);
        if (status.ok())
            status = saveTransformed(connection, destination, {encode, decode});
        return status.ok() ? 0 : fail(label, 11, status);
    });
}

int VASQ_ImportTransformed(const char *source, VASQ_FileTransform decode, const char *destination,
                           const char *password)
{
    const char *label = "[vasqdb::VASQ_ImportTransformed: ] ";
    return guarded(label, [&] {
        Status status = transformArguments(source, destination, password, decode != nullptr);
        SideLock lock;
        if (status.ok())
            status = lockFor(lock, destination, true);
        if (status.ok())
            status = loadTransformed(source, {nullptr, decode}, destination, password);
        return status.ok() ? 0 : fail(label, 11, status);
    });
}

int VASQ_LockExclusive(const char *path)
{
    const char *label = "[vasqdb::VASQ_LockExclusive() ]";
    return guarded(label, [&] {
        State &s = state();
        if (s.opened())
            return fail(label, 1, ownFailure(VASQ_ERR_ALREADYOPEN));
        Status status = pathArgument(path);
        if (!status.ok())
            return fail(label, 1, status);
        s.held.release();
        s.heldPath.clear();
        status = s.held.acquire(path, true);
        if (!status.ok())
            return fail(label, 1, status);
        s.heldPath = path;
        return 0;
    });
}

int VASQ_DowngradeExclusive(void)
{
    const char *label = "[vasqdb::VASQ_DowngradeExclusive() ]";
    return guarded(label, [&] {
        State &s = state();
        if (!s.opened() || s.path != s.heldPath)
            return fail(label, 1, ownFailure(VASQ_ERR_NOTOPEN));
        Status status = s.held.share();
        if (!status.ok())
            return fail(label, 1, status);
        s.lock.adopt(s.held);
        s.heldPath.clear();
        return 0;
    });
}

int VASQ_UnlockExclusive(void)
{
    State &s = state();
    if (s.opened() && s.path == s.heldPath)
        return fail("[vasqdb::VASQ_UnlockExclusive() ]", 1, ownFailure(VASQ_ERR_ALREADYOPEN));
    s.held.release();
    s.heldPath.clear();
    return 0;
}

int VASQ_GetLastErrorCodeID(void)
{
    return state().error.takeCode();
}

int VASQ_GetLastErrorCodeDesc(char *buffer, int size)
{
    return state().error.takeText(buffer, size);
}

} // extern "C"
