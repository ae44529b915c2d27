// Failures made on purpose, for the tests of what a failed write or rename leaves behind.
#pragma once

#include <sys/resource.h>

#include <cstdint>
#include <functional>
#include <string>

namespace fallos {

// While the object lives, every rename (rename, renameat2) and link in this process (the
// libraries' too) fails with EACCES, as in a folder that refuses the change.
class RenombrarFalla {
public:
    RenombrarFalla();
    ~RenombrarFalla();
    RenombrarFalla(const RenombrarFalla &) = delete;
    RenombrarFalla &operator=(const RenombrarFalla &) = delete;
};

// While the object lives, the next flock of this process that asks for a shared lock (a
// database file opened, or held alone and then shared) first runs antes, once: what
// another copy could do at that moment.
class AntesDeCompartir {
public:
    explicit AntesDeCompartir(std::function<void()> antes);
    ~AntesDeCompartir();
    AntesDeCompartir(const AntesDeCompartir &) = delete;
    AntesDeCompartir &operator=(const AntesDeCompartir &) = delete;
};

// While the object lives, no file of this process grows beyond limite bytes: a write past
// it fails (EFBIG), as on a full disk.
class DiscoLleno {
public:
    explicit DiscoLleno(std::uint64_t limite);
    ~DiscoLleno();
    DiscoLleno(const DiscoLleno &) = delete;
    DiscoLleno &operator=(const DiscoLleno &) = delete;

private:
    rlimit m_antes;
    void (*m_senal)(int);
};

// While the object lives, the folder cannot be written: its permissions allow reading only,
// and this thread (root's too) has no capabilities, none of the rights that override them.
class CarpetaSoloLectura {
public:
    explicit CarpetaSoloLectura(std::string carpeta);
    ~CarpetaSoloLectura();
    CarpetaSoloLectura(const CarpetaSoloLectura &) = delete;
    CarpetaSoloLectura &operator=(const CarpetaSoloLectura &) = delete;

private:
    std::string m_carpeta;
    std::uint32_t m_efectivas[2] = {};
};

} // namespace fallos
