// The advisory lock on a side file beside the database that stands for "open
// exclusively": every open holds it shared, exclusive uses hold it alone.
#pragma once

#include "lasterror.h"

#include <string>

namespace vasq {

class SideLock {
public:
    SideLock() = default;
    ~SideLock() { release(); }
    SideLock(const SideLock &) = delete;
    SideLock &operator=(const SideLock &) = delete;

    // Takes the lock of the database at path (Windows-1252) without waiting: shared, or
    // exclusive. Fails with VASQ_ERR_INUSE when another holder prevents it (a second
    // lock of this process counts as another holder). Releases any lock held before.
    Status acquire(const std::string &path, bool exclusive);
    void release();
    // Turns an exclusive lock into a shared one in one step of the kernel: no other holder
    // gets in between. Fails with VASQ_ERR_INUSE when nothing is held.
    Status share();
    // Takes over what other holds (releasing its own first); other holds nothing after.
    void adopt(SideLock &other);

    // The side file of the database at path.
    static std::string sideFile(const std::string &path);

private:
    int m_fd = -1;
};

} // namespace vasq
