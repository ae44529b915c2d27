// A VFS over the engine's default one that stores the database files it opens through a
// pair of byte transforms: the engine works on plain pages, the file holds their stored
// form. Journals and temporary files pass through untouched.
#include "transformvfs.h"

#include <sqlite3.h>

#include <cstring>
#include <new>

namespace vasq {
namespace {

constexpr const char *kName = "vasq_transform";

Transforms g_current;

// A transformed file: this header, then the default VFS's own file object.
struct File {
    sqlite3_file base;
    sqlite3_file *inner;
    Transforms transforms;
    unsigned char *buffer; // what a write hands on, in its stored form
    int capacity;
};

// Keeps the inner file aligned as the engine aligns its own.
constexpr int kHeader = int((sizeof(File) + 7) / 8 * 8);

sqlite3_vfs *defaultVfs()
{
    static sqlite3_vfs *vfs = sqlite3_vfs_find(nullptr);
    return vfs;
}

sqlite3_file *inner(sqlite3_file *file)
{
    return reinterpret_cast<File *>(file)->inner;
}

int closeFile(sqlite3_file *file)
{
    File *f = reinterpret_cast<File *>(file);
    int rc = f->inner->pMethods->xClose(f->inner);
    sqlite3_free(f->buffer);
    f->buffer = nullptr;
    return rc;
}

// The engine asks for whole pages and, at the start, for parts of the header; a read past
// the end leaves zeros where nothing was read, and those stay zeros.
int readFile(sqlite3_file *file, void *data, int amount, sqlite3_int64 offset)
{
    File *f = reinterpret_cast<File *>(file);
    int rc = f->inner->pMethods->xRead(f->inner, data, amount, offset);
    long length = amount;
    if (rc == SQLITE_IOERR_SHORT_READ) {
        sqlite3_int64 size = 0;
        if (f->inner->pMethods->xFileSize(f->inner, &size) != SQLITE_OK)
            return SQLITE_IOERR_READ;
        length = size <= offset ? 0 : long(size - offset < amount ? size - offset : amount);
    } else if (rc != SQLITE_OK) {
        return rc;
    }
    if (length > 0)
        f->transforms.decode(data, length, offset);
    return rc;
}

int writeFile(sqlite3_file *file, const void *data, int amount, sqlite3_int64 offset)
{
    File *f = reinterpret_cast<File *>(file);
    if (!f->transforms.encode)
        return SQLITE_READONLY;
    if (amount > f->capacity) {
        auto *larger = static_cast<unsigned char *>(sqlite3_realloc(f->buffer, amount));
        if (!larger)
            return SQLITE_NOMEM;
        f->buffer = larger;
        f->capacity = amount;
    }
    std::memcpy(f->buffer, data, size_t(amount));
    f->transforms.encode(f->buffer, amount, offset);
    return f->inner->pMethods->xWrite(f->inner, f->buffer, amount, offset);
}

int truncateFile(sqlite3_file *file, sqlite3_int64 size)
{
    return inner(file)->pMethods->xTruncate(inner(file), size);
}

int syncFile(sqlite3_file *file, int flags)
{
    return inner(file)->pMethods->xSync(inner(file), flags);
}

int fileSize(sqlite3_file *file, sqlite3_int64 *size)
{
    return inner(file)->pMethods->xFileSize(inner(file), size);
}

int lockFile(sqlite3_file *file, int level)
{
    return inner(file)->pMethods->xLock(inner(file), level);
}

int unlockFile(sqlite3_file *file, int level)
{
    return inner(file)->pMethods->xUnlock(inner(file), level);
}

int checkReservedLock(sqlite3_file *file, int *reserved)
{
    return inner(file)->pMethods->xCheckReservedLock(inner(file), reserved);
}

int fileControl(sqlite3_file *file, int op, void *argument)
{
    return inner(file)->pMethods->xFileControl(inner(file), op, argument);
}

int sectorSize(sqlite3_file *file)
{
    return inner(file)->pMethods->xSectorSize(inner(file));
}

int deviceCharacteristics(sqlite3_file *file)
{
    return inner(file)->pMethods->xDeviceCharacteristics(inner(file));
}

// Version 1: no shared memory and no memory mapping, so every page goes through the
// transforms (a transformed file is never in WAL mode).
const sqlite3_io_methods kMethods = {
    1, closeFile, readFile, writeFile, truncateFile, syncFile, fileSize, lockFile, unlockFile,
    checkReservedLock, fileControl, sectorSize, deviceCharacteristics,
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
};

// A main database file opened while a pair is current is transformed (without encode it
// cannot be written); any other file is the default VFS's own, opened in place.
int openFile(sqlite3_vfs *, const char *name, sqlite3_file *file, int flags, int *outFlags)
{
    sqlite3_vfs *plain = defaultVfs();
    if (!(flags & SQLITE_OPEN_MAIN_DB) || !g_current.decode)
        return plain->xOpen(plain, name, file, flags, outFlags);
    File *f = new (file) File{};
    f->inner = reinterpret_cast<sqlite3_file *>(reinterpret_cast<char *>(file) + kHeader);
    int rc = plain->xOpen(plain, name, f->inner, flags, outFlags);
    if (rc != SQLITE_OK) {
        if (f->inner->pMethods)
            f->inner->pMethods->xClose(f->inner);
        return rc;
    }
    f->transforms = g_current;
    f->base.pMethods = &kMethods;
    return SQLITE_OK;
}

} // namespace

TransformScope::TransformScope(const Transforms &transforms)
    : m_previous(g_current)
{
    g_current = transforms;
}

TransformScope::~TransformScope()
{
    g_current = m_previous;
}

const char *transformVfs()
{
    // Everything but the open is the default VFS's (its calls read no more of the VFS
    // object than the copy keeps: the path length and the application data).
    static sqlite3_vfs vfs = [] {
        sqlite3_vfs v = *defaultVfs();
        v.szOsFile = kHeader + defaultVfs()->szOsFile;
        v.pNext = nullptr;
        v.zName = kName;
        v.xOpen = openFile;
        return v;
    }();
    static const int registered = sqlite3_vfs_register(&vfs, 0);
    (void)registered;
    return vfs.zName;
}

const char *plainVfs()
{
    return defaultVfs()->zName;
}

std::string fileUri(const std::string &path, const char *vfs)
{
    std::string uri = path.compare(0, 1, "/") == 0 ? "file://" : "file:";
    for (char c : path) {
        if (c == '%' || c == '?' || c == '#') {
            const char *hex = "0123456789ABCDEF";
            uri += '%';
            uri += hex[(unsigned char)c >> 4];
            uri += hex[c & 0x0F];
        } else {
            uri += c;
        }
    }
    return uri + "?vfs=" + vfs;
}

} // namespace vasq
