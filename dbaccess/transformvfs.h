// A VFS over the engine's default one that stores the database files it opens through a
// pair of byte transforms: the engine works on plain pages, the file holds their stored
// form. Journals and temporary files pass through untouched.
//
// A file written in pages of kSealedPageSize bytes can be sealed once whole: the sum of
// its pages' checksums, computed as they were written, goes into unused bytes of its
// header. Reading it back sums the pages as they are read; verifying compares that with
// the seal, so that a copy whose bytes changed after it was written is known, without a
// pass of its own over the file.
#pragma once

#include "vasqdb.h"

#include <string>

namespace vasq {

struct Transforms {
    VASQ_FileTransform encode = nullptr; // plain -> stored, before each write (none: read only)
    VASQ_FileTransform decode = nullptr; // stored -> plain, after each read
};

// Makes transforms the pair that database files opened through the transforming VFS take,
// while the object lives (the library runs on one thread at a time).
class TransformScope {
public:
    explicit TransformScope(const Transforms &transforms);
    ~TransformScope();
    TransformScope(const TransformScope &) = delete;
    TransformScope &operator=(const TransformScope &) = delete;

private:
    Transforms m_previous;
};

// The page size of the files that can be sealed.
constexpr int kSealedPageSize = 8192;

// File controls of a transformed file (sqlite3_file_control on its schema, with an int
// receiving the engine's result code): kSealControl seals the file written so far and
// flushes it (SQLITE_MISUSE when it was not written in whole pages); kVerifyControl
// checks the file read against its seal (SQLITE_CORRUPT when its bytes changed, the seal's
// own included; a file whose seal bytes are all zero, an earlier build's, passes).
constexpr int kSealControl = 0x56510001;
constexpr int kVerifyControl = 0x56510002;

// The name of the transforming VFS, registered with the engine at the first call.
const char *transformVfs();

// The name of the engine's default VFS.
const char *plainVfs();

// The URI of the file at path opened through vfs, for a connection opened with a VFS (see
// Connection::open) and for ATTACH on it; the path stays in its own encoding.
std::string fileUri(const std::string &path, const char *vfs);

} // namespace vasq
