// The memory figures the benchmark programs print (header only).
#pragma once

#include <fstream>
#include <string>
#include <sys/resource.h>

namespace memoria {

// A field of /proc/self/status in KiB ("VmRSS:" now, "VmHWM:" its peak); -1 when absent.
inline long EstadoKB(const char *campo)
{
    std::ifstream estado("/proc/self/status");
    for (std::string linea; std::getline(estado, linea);)
        if (linea.rfind(campo, 0) == 0)
            return std::atol(linea.c_str() + std::char_traits<char>::length(campo));
    return -1;
}

// Starts the peak ("VmHWM:") again from the resident size now, so that a later reading is
// the peak of what ran in between.
inline void ReiniciaPico()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// The process's peak resident size so far, in KiB.
inline long PicoKB()
{
    rusage uso{};
    getrusage(RUSAGE_SELF, &uso);
    return uso.ru_maxrss;
}

} // namespace memoria
