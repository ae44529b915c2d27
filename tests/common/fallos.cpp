// Failures made on purpose: rename is replaced in the test program (the shared libraries
// reach it too) and refuses while armed; the file size limit stands for a full disk.
#include "fallos.h"

#include <dlfcn.h>
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>

namespace {

std::atomic<bool> g_renombrarFalla{false};

// The rights of root over files that their permissions do not bind.
constexpr int kDerechos[] = {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER};

// Reads or sets the capabilities of the calling thread.
void Capacidades(__user_cap_data_struct (&datos)[2], bool pone)
{
    __user_cap_header_struct cabecera{_LINUX_CAPABILITY_VERSION_3, 0};
    ::syscall(pone ? SYS_capset : SYS_capget, &cabecera, datos);
}

} // namespace

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
    __user_cap_data_struct datos[2] = {};
    Capacidades(datos, false);
    m_efectivas[0] = datos[0].effective;
    m_efectivas[1] = datos[1].effective;
    for (const int derecho : kDerechos)
        datos[derecho / 32].effective &= ~(1u << (derecho % 32));
    Capacidades(datos, true);
}

CarpetaSoloLectura::~CarpetaSoloLectura()
{
    __user_cap_data_struct datos[2] = {};
    Capacidades(datos, false);
    datos[0].effective = m_efectivas[0];
    datos[1].effective = m_efectivas[1];
    Capacidades(datos, true);
    ::chmod(m_carpeta.c_str(), 0755);
}

} // namespace fallos
