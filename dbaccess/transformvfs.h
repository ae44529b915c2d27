// A VFS over the engine's default one that stores the database files it opens through a
// pair of byte transforms: the engine works on plain pages, the file holds their stored
// form. Journals and temporary files pass through untouched.
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

// The name of the transforming VFS, registered with the engine at the first call.
const char *transformVfs();

// The name of the engine's default VFS.
const char *plainVfs();

// The URI of the file at path opened through vfs, for a connection opened with a VFS (see
// Connection::open) and for ATTACH on it; the path stays in its own encoding.
std::string fileUri(const std::string &path, const char *vfs);

} // namespace vasq
