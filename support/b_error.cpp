// Composes and prints the fatal reports, then ends the process.
#include "b_error.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr size_t kReportSize = 2048;

// Texts are UTF-8: stderr is a UTF-8 console.
const char *const kModules[] = {
    "Sistema b\xC3\xA1sico", "Base de datos", "User interface", "Aplicaci\xC3\xB3n (lib)",
    "Comunicaciones", "Aplicaci\xC3\xB3n (esp)", "Sistema de protecci\xC3\xB3n",
};

const char *const kErrors[B_ERR_COUNT] = {
    "Sin memoria en malloc",
    "Sin memoria en realloc",
    "Sin memoria",
    "Realloc: mal puntero",
    "Free: mal puntero",
    "Stack: l\xC3\xADmite superior excedido",
    "Stack: l\xC3\xADmite inferior excedido",
    "Basic Stack: l\xC3\xADmite superior excedido",
    "Basic Stack: l\xC3\xADmite inferior excedido",
    "Error desconocido",
    "Error de escritura",
    "Error de lectura",
    "Error abriendo fichero",
    "Error cerrando fichero",
    "Fichero no encontrado",
    "B\xC3\xBAsqueda fuera de rango",
    "Error de verificaci\xC3\xB3n",
    "Mal puntero",
    "Datos err\xC3\xB3neos",
    "Mala posici\xC3\xB3n",
    "Mal tama\xC3\xB1o",
    "Mal elemento",
    "Datos inconsistentes",
    "Error en retorno de base de datos",
    "Error en retorno de user interface",
    "L\xC3\xADmite de IPCs sobrepasado",
    "Error del sistema",
};

// Pieces of the report formats, joined as literals so that no caller text is ever a format.
#define HEADER " Sistema de control de errores:\n\n"
#define DEBUG_LINE "     Debug msg      : %s"
#define MODULE_LINE "     Error en m\xC3\xB3" "dulo: %s"
#define ERROR_LINE "     Error detallado: %s"
#define MEMORY_LINE "     Memoria libre  : %lu"

const char *const kUninitialised = "\nSistema de error sin inicializar:\n";
const char *const kReturning = "\n\nRetornando al sistema...\n";

bool g_initialised = false;
B_ErrorHookFn g_before = nullptr;
B_ErrorDisplayFn g_display = nullptr;
B_ErrorHookFn g_after = nullptr;

const char *moduleText(int module)
{
    return module >= 0 && module < int(sizeof kModules / sizeof *kModules) ? kModules[module] : "?";
}

const char *errorText(int error)
{
    return kErrors[error >= 0 && error < B_ERR_COUNT ? error : B_ERR_UNKNOWN];
}

const char *orMark(const char *text)
{
    return text ? text : "?";
}

// Free virtual address space of the process: the address-space limit (the 47-bit user space
// of x86-64 unless a smaller limit is set) less what is mapped. Reads /proc without
// allocating: the report may be about memory running out.
unsigned long freeAddressSpace()
{
    unsigned long long limit = 1ULL << 47;
    struct rlimit rl;
    if (getrlimit(RLIMIT_AS, &rl) == 0 && rl.rlim_cur != RLIM_INFINITY && rl.rlim_cur < limit)
        limit = rl.rlim_cur;
    unsigned long long pages = 0;
    int fd = open("/proc/self/statm", O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        char text[64];
        ssize_t n = read(fd, text, sizeof text - 1);
        close(fd);
        for (ssize_t i = 0; i < n && text[i] >= '0' && text[i] <= '9'; ++i)
            pages = pages * 10 + unsigned(text[i] - '0');
    }
    unsigned long long used = pages * (unsigned long long)sysconf(_SC_PAGESIZE);
    return (unsigned long)(limit > used ? limit - used : 0);
}

[[noreturn]] void endProcess()
{
    std::fflush(nullptr);
    std::exit(B_FATAL_EXIT_STATUS);
}

// The hooked road, when hooks are installed: returns false when there are none.
bool reportThroughHooks(const char *report, int module, int error)
{
    if (!g_initialised)
        return false;
    g_initialised = false;
    if (g_before)
        g_before(module, error);
    if (g_display)
        g_display(report, module, error);
    else
        std::fprintf(stderr, "%s", report);
    if (g_after)
        g_after(module, error);
    return true;
}

[[noreturn]] void finish(const char *report, int module, int error)
{
    if (!reportThroughHooks(report, module, error)) {
        std::fputs(kUninitialised, stderr);
        std::fprintf(stderr, "\n%s", report);
        std::fputs(kReturning, stderr);
    }
    endProcess();
}

} // namespace

void issue_extended_error(const char *message, int line, const char *file, int module, int error)
{
    int savedErrno = errno;
    char report[kReportSize];
    std::snprintf(report, sizeof report,
                  HEADER DEBUG_LINE "\n     Fichero        : %s\n     L\xC3\xADnea          : %i\n"
                  MODULE_LINE "\n" ERROR_LINE "\n" MEMORY_LINE "\n"
                  "     errno  (hex)   : %X\n     errno msg      : %s",
                  orMark(message), orMark(file), line, moduleText(module), errorText(error),
                  freeAddressSpace(), unsigned(savedErrno), std::strerror(savedErrno));
    finish(report, module, error);
}

void show_error(const char *message, int module, int error)
{
    char report[kReportSize];
    std::snprintf(report, sizeof report, HEADER DEBUG_LINE "\n" MODULE_LINE "\n" ERROR_LINE "\n" MEMORY_LINE,
                  orMark(message), moduleText(module), errorText(error), freeAddressSpace());
    finish(report, module, error);
}

void B_issue_error(int module, int error)
{
    unsigned long memory = freeAddressSpace();
    char report[kReportSize];
    std::snprintf(report, sizeof report, HEADER MODULE_LINE "\n" ERROR_LINE "\n" MEMORY_LINE,
                  moduleText(module), errorText(error), memory);
    if (!reportThroughHooks(report, module, error)) {
        std::fputs(kUninitialised, stderr);
        std::fprintf(stderr, "\n" MODULE_LINE, moduleText(module));
        std::fprintf(stderr, "\n" ERROR_LINE, errorText(error));
        std::fprintf(stderr, "\n" MEMORY_LINE, memory);
        std::fputs(kReturning, stderr);
    }
    endProcess();
}

void init_error_system(B_ErrorHookFn before, B_ErrorDisplayFn display, B_ErrorHookFn after)
{
    g_initialised = true;
    g_before = before;
    g_display = display;
    g_after = after;
}
