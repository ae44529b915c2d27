// Fuzzes the ini layer: any file, then reads and one write of a section, key and value
// taken from the input (each ended by a backslash and one more byte), the rest being the
// file. Besides crashes and undefined behaviour it stops when a write of plain names and
// value touches any byte outside the written key's line, loses another key, does not read
// back, or is not idempotent.
#include "cp1252.h"
#include "profile.h"

#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string g_dir, g_ini;

void Limpia()
{
    ::unlink(g_ini.c_str());
    ::rmdir(g_dir.c_str());
}

void Escribe(const std::string &contenido)
{
    std::FILE *f = std::fopen(g_ini.c_str(), "wb");
    if (!f || std::fwrite(contenido.data(), 1, contenido.size(), f) != contenido.size())
        std::abort();
    std::fclose(f);
}

std::string Lee()
{
    std::string contenido;
    std::FILE *f = std::fopen(g_ini.c_str(), "rb");
    if (!f)
        std::abort();
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        contenido.append(buf, n);
    std::fclose(f);
    return contenido;
}

void Falla(const char *que)
{
    std::fprintf(stderr, "%s\n", que);
    Limpia();
    std::abort();
}

// A text the file can hold as a name or a value without changing its structure.
bool Llano(const std::string &s, bool nombre)
{
    if (s.find_first_of(std::string("\n\r[]", 4)) != std::string::npos)
        return false;
    if (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.back() == ' ' || s.back() == '\t'))
        return false;
    if (!nombre)
        return s.size() < 2 || !((s.front() == '"' || s.front() == '\'') && s.back() == s.front());
    return !s.empty() && s.find('=') == std::string::npos && s.front() != ';' && s.front() != '#';
}

// True when antes and despues differ inside one line at most: what lies between their common
// beginning and their common end holds no line break of the old file.
bool CambiaUnaLinea(const std::string &antes, const std::string &despues)
{
    const size_t menor = std::min(antes.size(), despues.size());
    size_t inicio = 0;
    while (inicio < menor && antes[inicio] == despues[inicio])
        ++inicio;
    size_t fin = 0;
    while (fin < menor - inicio && antes[antes.size() - 1 - fin] == despues[despues.size() - 1 - fin])
        ++fin;
    return antes.find('\n', inicio) >= antes.size() - fin;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    char plantilla[] = "/dev/shm/fuzz_profile.XXXXXX";
    char otra[] = "/tmp/fuzz_profile.XXXXXX";
    const char *dir = ::mkdtemp(plantilla);
    if (!dir)
        dir = ::mkdtemp(otra);
    if (!dir)
        std::abort();
    g_dir = dir;
    g_ini = g_dir + "/Orvanta.INI";
    std::atexit(Limpia);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider datos(data, size);
    const std::string seccion = datos.ConsumeRandomLengthString(64);
    const std::string clave = datos.ConsumeRandomLengthString(64);
    const std::string valor = datos.ConsumeRandomLengthString(64);
    const std::string antes = datos.ConsumeRemainingBytesAsString();
    Escribe(antes);

    profile::readInt(g_ini, seccion, clave, 0);
    profile::readString(g_ini, seccion, clave, "", 8);
    // Every read opens the file again: a few keys are enough to watch.
    std::vector<std::string> claves = profile::readKeys(g_ini, seccion);
    if (claves.size() > 8)
        claves.resize(8);
    std::vector<std::string> valores;
    for (const std::string &k : claves)
        valores.push_back(profile::readString(g_ini, seccion, k, "\x01"));

    if (!profile::writeString(g_ini, seccion, clave, valor))
        Falla("a writable file was not written");
    if (!Llano(seccion, true) || !Llano(clave, true) || !Llano(valor, false))
        return 0;

    const std::string despues = Lee();
    if (!CambiaUnaLinea(antes, despues))
        Falla("a write changed more than the key's line");
    if (profile::readString(g_ini, seccion, clave, "\x01") != valor)
        Falla("a written value does not read back");
    for (size_t i = 0; i < claves.size(); ++i)
        if (!cp1252::equalNoCase(claves[i], clave) && profile::readString(g_ini, seccion, claves[i], "\x01") != valores[i])
            Falla("a write changed another key");
    if (!profile::writeString(g_ini, seccion, clave, valor) || Lee() != despues)
        Falla("writing the same value twice changed the file");
    return 0;
}
