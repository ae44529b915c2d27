// Locates the program folder.
#include "progdir.h"

#include "cp1252.h"

#include <climits>
#include <cstdlib>
#include <unistd.h>

namespace progdir {

std::string path()
{
    std::string dir;
    const char *env = std::getenv(kEnvironmentVariable);
    if (env && *env) {
        dir = cp1252::fromUtf8(env);
    } else {
        char exe[PATH_MAX];
        ssize_t n = ::readlink("/proc/self/exe", exe, sizeof exe - 1);
        if (n > 0) {
            std::string full = cp1252::fromUtf8(std::string_view(exe, size_t(n)));
            dir = full.substr(0, full.rfind('/') + 1);
        }
    }
    if (dir.empty())
        dir = "./";
    if (dir.back() != '/')
        dir += '/';
    return dir;
}

std::string file(std::string_view name)
{
    if (!name.empty() && name.front() == '/')
        return std::string(name);
    return path() + std::string(name);
}

std::string relative(std::string_view path)
{
    const std::string dir = progdir::path();
    if (path.substr(0, dir.size()) == dir)
        path.remove_prefix(dir.size());
    return std::string(path);
}

bool enter()
{
    return ::chdir(cp1252::fileName(path()).c_str()) == 0;
}

} // namespace progdir
