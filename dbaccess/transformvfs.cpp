// A VFS over the engine's default one that stores the database files it opens through a
// pair of byte transforms: the engine works on plain pages, the file holds their stored
// form, sealed with the sum of its pages' checksums. Journals and temporary files pass
// through untouched.
#include "transformvfs.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <vector>

namespace vasq {
namespace {

constexpr const char *kName = "vasq_transform";

Transforms g_current;

// The seal lies in bytes the engine's file header keeps unused ("reserved for expansion"):
// a mark, the number of pages and the sum of their checksums, each page's taken over its
// plain bytes with the seal's own bytes as zeros.
constexpr int kSealOffset = 72;
constexpr int kSealSize = 20;
constexpr unsigned char kSealMark[4] = {'V', 'Q', 'S', '1'};

// The checksums of a file's pages, by page number from 0; a page not yet summed has none.
struct PageSums {
    std::vector<std::uint64_t> sums;
    std::vector<bool> taken;
    bool unpaged = false; // a write that was not of one whole page

    void put(sqlite3_int64 page, std::uint64_t sum)
    {
        if (size_t(page) >= sums.size()) {
            sums.resize(size_t(page) + 1);
            taken.resize(size_t(page) + 1);
        }
        sums[size_t(page)] = sum;
        taken[size_t(page)] = true;
    }
    bool has(sqlite3_int64 page) const { return size_t(page) < taken.size() && taken[size_t(page)]; }
    // The sum of pages 0 to count - 1; false when one of them has none.
    bool total(sqlite3_int64 count, std::uint64_t &sum) const
    {
        sum = 0;
        for (sqlite3_int64 page = 0; page < count; ++page) {
            if (!has(page))
                return false;
            sum += sums[size_t(page)];
        }
        return true;
    }
};

// A transformed file: this header, then the default VFS's own file object.
struct File {
    sqlite3_file base;
    sqlite3_file *inner;
    Transforms transforms;
    unsigned char *buffer; // what a write hands on, in its stored form
    int capacity;
    PageSums *pages; // of what was read, or written
};

std::uint64_t rotate(std::uint64_t x, int bits)
{
    return (x << bits) | (x >> (64 - bits));
}

std::uint64_t word(const unsigned char *p)
{
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    return w;
}

// A page's checksum: four lanes of multiply and rotate over its 8-byte words (the rounds
// of the xxHash64 design), seeded with its number and mixed to every bit at the end.
std::uint64_t pageSum(const unsigned char *page, sqlite3_int64 number)
{
    constexpr std::uint64_t k1 = 0x9E3779B185EBCA87ull, k2 = 0xC2B2AE3D27D4EB4Full, k3 = 0x165667B19E3779F9ull;
    const std::uint64_t seed = std::uint64_t(number);
    std::uint64_t lane[4] = {seed + k1 + k2, seed + k2, seed, seed - k1};
    for (int at = 0; at < kSealedPageSize; at += 32)
        for (int i = 0; i < 4; ++i)
            lane[i] = rotate(lane[i] + word(page + at + 8 * i) * k2, 31) * k1;
    std::uint64_t h = rotate(lane[0], 1) + rotate(lane[1], 7) + rotate(lane[2], 12) + rotate(lane[3], 18);
    for (std::uint64_t l : lane)
        h = (h ^ (rotate(l * k2, 31) * k1)) * k1 + k3;
    h ^= h >> 33;
    h *= k2;
    h ^= h >> 29;
    h *= k3;
    return h ^ (h >> 32);
}

// The checksum of the plain page at offset, when data is one whole page there.
bool sumOfPage(const void *data, int amount, sqlite3_int64 offset, sqlite3_int64 &page, std::uint64_t &sum)
{
    if (amount != kSealedPageSize || offset % kSealedPageSize != 0)
        return false;
    page = offset / kSealedPageSize;
    if (page != 0) {
        sum = pageSum(static_cast<const unsigned char *>(data), page);
        return true;
    }
    unsigned char first[kSealedPageSize];
    std::memcpy(first, data, sizeof first);
    std::memset(first + kSealOffset, 0, kSealSize);
    sum = pageSum(first, 0);
    return true;
}

void putBig(unsigned char *p, std::uint64_t value, int bytes)
{
    for (int i = bytes - 1; i >= 0; --i, value >>= 8)
        p[i] = static_cast<unsigned char>(value);
}

std::uint64_t getBig(const unsigned char *p, int bytes)
{
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = value << 8 | p[i];
    return value;
}

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
    delete f->pages;
    f->pages = nullptr;
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
    sqlite3_int64 page;
    std::uint64_t sum;
    if (rc == SQLITE_OK && !f->pages->has(offset / kSealedPageSize) && sumOfPage(data, amount, offset, page, sum))
        f->pages->put(page, sum);
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
    sqlite3_int64 page;
    std::uint64_t sum;
    if (sumOfPage(data, amount, offset, page, sum))
        f->pages->put(page, sum);
    else
        f->pages->unpaged = true;
    std::memcpy(f->buffer, data, size_t(amount));
    f->transforms.encode(f->buffer, amount, offset);
    return f->inner->pMethods->xWrite(f->inner, f->buffer, amount, offset);
}

int truncateFile(sqlite3_file *file, sqlite3_int64 size)
{
    PageSums &pages = *reinterpret_cast<File *>(file)->pages;
    const size_t kept = size_t((size + kSealedPageSize - 1) / kSealedPageSize);
    if (kept < pages.sums.size()) {
        pages.sums.resize(kept);
        pages.taken.resize(kept);
    }
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

int pageCount(File *f, sqlite3_int64 &count)
{
    sqlite3_int64 size = 0;
    int rc = f->inner->pMethods->xFileSize(f->inner, &size);
    if (rc == SQLITE_OK && size % kSealedPageSize != 0)
        rc = SQLITE_CORRUPT;
    count = size / kSealedPageSize;
    return rc;
}

// Writes the seal of the pages written, and flushes the file.
int seal(File *f)
{
    sqlite3_int64 count = 0;
    std::uint64_t sum = 0;
    int rc = pageCount(f, count);
    if (rc != SQLITE_OK || f->pages->unpaged || !f->pages->total(count, sum))
        return rc != SQLITE_OK ? rc : SQLITE_MISUSE;
    unsigned char mark[kSealSize] = {};
    std::memcpy(mark, kSealMark, sizeof kSealMark);
    putBig(mark + 4, std::uint64_t(count), 4);
    putBig(mark + 8, sum, 8);
    f->transforms.encode(mark, kSealSize, kSealOffset);
    rc = f->inner->pMethods->xWrite(f->inner, mark, kSealSize, kSealOffset);
    return rc == SQLITE_OK ? f->inner->pMethods->xSync(f->inner, SQLITE_SYNC_FULL) : rc;
}

// Checks the pages read against the seal, reading those the engine did not need (free
// pages). A file without a seal passes: earlier builds left the seal's bytes zero, as the
// engine writes them; any other bytes that are no seal are a changed one.
int verify(sqlite3_file *file)
{
    File *f = reinterpret_cast<File *>(file);
    unsigned char mark[kSealSize];
    int rc = readFile(file, mark, kSealSize, kSealOffset);
    if (rc != SQLITE_OK)
        return rc == SQLITE_IOERR_SHORT_READ ? SQLITE_OK : rc;
    if (std::memcmp(mark, kSealMark, sizeof kSealMark) != 0)
        return std::all_of(mark, mark + kSealSize, [](unsigned char b) { return b == 0; }) ? SQLITE_OK : SQLITE_CORRUPT;
    sqlite3_int64 count = 0;
    if ((rc = pageCount(f, count)) != SQLITE_OK || std::uint64_t(count) != getBig(mark + 4, 4))
        return SQLITE_CORRUPT;
    std::vector<unsigned char> page(kSealedPageSize);
    for (sqlite3_int64 number = 0; number < count && rc == SQLITE_OK; ++number)
        if (!f->pages->has(number))
            rc = readFile(file, page.data(), kSealedPageSize, number * kSealedPageSize);
    std::uint64_t sum = 0;
    if (rc == SQLITE_OK && (!f->pages->total(count, sum) || sum != getBig(mark + 8, 8)))
        rc = SQLITE_CORRUPT;
    return rc;
}

int fileControl(sqlite3_file *file, int op, void *argument)
{
    if (op == kSealControl)
        return *static_cast<int *>(argument) = seal(reinterpret_cast<File *>(file)), SQLITE_OK;
    if (op == kVerifyControl)
        return *static_cast<int *>(argument) = verify(file), SQLITE_OK;
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
    f->pages = new (std::nothrow) PageSums;
    if (!f->pages) {
        f->inner->pMethods->xClose(f->inner);
        return SQLITE_NOMEM;
    }
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
