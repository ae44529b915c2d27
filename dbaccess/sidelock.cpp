// The advisory lock on a side file beside the database that stands for "open
// exclusively": every open holds it shared, exclusive uses hold it alone.
#include "sidelock.h"

#include "vasqdb.h"

#include <cp1252.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace vasq {

std::string SideLock::sideFile(const std::string &path)
{
    return path + ".lck";
}

Status SideLock::acquire(const std::string &path, bool exclusive)
{
    release();
    std::string name = cp1252::fileName(sideFile(path));
    int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)
        fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        std::string reason = std::strerror(errno);
        return ownFailure(VASQ_ERR_INUSE, "No se puede abrir el fichero de bloqueo " + sideFile(path) + ": " + reason);
    }
    int rc;
    do
        rc = ::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB);
    while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK)
            return ownFailure(VASQ_ERR_INUSE, "La base de datos est\xE1 abierta en otra aplicaci\xF3n.");
        return ownFailure(VASQ_ERR_INUSE,
                          std::string("No se puede bloquear la base de datos: ") + std::strerror(error));
    }
    m_fd = fd;
    return {};
}

Status SideLock::share()
{
    int rc = -1;
    if (m_fd >= 0)
        do
            rc = ::flock(m_fd, LOCK_SH | LOCK_NB);
        while (rc != 0 && errno == EINTR);
    if (rc != 0)
        return ownFailure(VASQ_ERR_INUSE, "No se puede compartir el bloqueo de la base de datos.");
    return {};
}

void SideLock::adopt(SideLock &other)
{
    release();
    m_fd = other.m_fd;
    other.m_fd = -1;
}

void SideLock::release()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}

} // namespace vasq
