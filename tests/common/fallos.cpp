// Failures made on purpose: rename and flock are replaced in the test program (the shared
// libraries reach them too) and act while armed; the file size limit stands for a full disk.
#include "fallos.h"

#include <dlfcn.h>
#include <sys/file.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <utility>

namespace {

std::atomic<bool> g_renombrarFalla{false};
std::function<void()> g_antesDeCompartir;

} // namespace

extern "C" int flock(int fd, int operacion) noexcept
{
    if ((operacion & LOCK_SH) && g_antesDeCompartir)
        std::exchange(g_antesDeCompartir, nullptr)();
    using Flock = int (*)(int, int);
    static const auto sistema = reinterpret_cast<Flock>(::dlsym(RTLD_NEXT, "flock"));
    return sistema(fd, operacion);
}

extern "C" int rename(const char *de, const char *a) noexcept
{
    if (g_renombrarFalla) {
        errno = EACCES;
        return -1;
    }
    using Rename = int (*)(const char *, const char *);
    static const auto sistema = reinterpret_cast<Rename>(::dlsym(RTLD_NEXT, "rename"));
    return sistema(de, a);
}

extern "C" int renameat2(int dirDe, const char *de, int dirA, const char *a, unsigned int flags) noexcept
{
    if (g_renombrarFalla) {
        errno = EACCES;
        return -1;
    }
    using Renameat2 = int (*)(int, const char *, int, const char *, unsigned int);
    static const auto sistema = reinterpret_cast<Renameat2>(::dlsym(RTLD_NEXT, "renameat2"));
    return sistema(dirDe, de, dirA, a, flags);
}

extern "C" int link(const char *de, const char *a) noexcept
{
    if (g_renombrarFalla) {
        errno = EACCES;
        return -1;
    }
    using Link = int (*)(const char *, const char *);
    static const auto sistema = reinterpret_cast<Link>(::dlsym(RTLD_NEXT, "link"));
    return sistema(de, a);
}

namespace fallos {

RenombrarFalla::RenombrarFalla()
{
    g_renombrarFalla = true;
}

RenombrarFalla::~RenombrarFalla()
{
    g_renombrarFalla = false;
}

AntesDeCompartir::AntesDeCompartir(std::function<void()> antes)
{
    g_antesDeCompartir = std::move(antes);
}

AntesDeCompartir::~AntesDeCompartir()
{
    g_antesDeCompartir = nullptr;
}

DiscoLleno::DiscoLleno(std::uint64_t limite)
{
    ::getrlimit(RLIMIT_FSIZE, &m_antes);
    m_senal = std::signal(SIGXFSZ, SIG_IGN);
    rlimit lleno = m_antes;
    lleno.rlim_cur = rlim_t(limite);
    ::setrlimit(RLIMIT_FSIZE, &lleno);
}

DiscoLleno::~DiscoLleno()
{
    ::setrlimit(RLIMIT_FSIZE, &m_antes);
    std::signal(SIGXFSZ, m_senal);
}

} // namespace fallos
