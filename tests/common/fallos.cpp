// Failures made on purpose: rename and flock are replaced in the test program (the shared
// libraries reach them too) and act while armed; the file size limit stands for a full disk.
#include "fallos.h"

#include <dlfcn.h>
#include <linux/capability.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <utility>

namespace {

std::atomic<bool> g_renombrarFalla{false};
std::function<void()> g_antesDeCompartir;

// Swaps the effective capabilities of the calling thread (root's rights over files among
// them) with efectivas.
void CambiaCapacidades(std::uint32_t (&efectivas)[2])
{
    __user_cap_header_struct cabecera{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct datos[2] = {};
    ::syscall(SYS_capget, &cabecera, datos);
    for (int i = 0; i < 2; ++i)
        std::swap(datos[i].effective, efectivas[i]);
    ::syscall(SYS_capset, &cabecera, datos);
}

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

CarpetaSoloLectura::CarpetaSoloLectura(std::string carpeta)
    : m_carpeta(std::move(carpeta))
{
    ::chmod(m_carpeta.c_str(), 0555);
    CambiaCapacidades(m_efectivas); // none
}

CarpetaSoloLectura::~CarpetaSoloLectura()
{
    CambiaCapacidades(m_efectivas);
    ::chmod(m_carpeta.c_str(), 0755);
}

} // namespace fallos
