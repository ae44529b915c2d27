// The library cache: two tables of slots (names and handles) over dlopen.
#include "dll.h"

#include "b_mem.h"
#include "b_private.h"
#include "b_str.h"
#include "cp1252.h"
#include "progdir.h"

#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <string>

namespace {

constexpr const char *kFamily = "dll";

char **g_names = nullptr;
DLLHandle_t *g_handles = nullptr;
char g_error[1024] = "";
unsigned g_generation = 0;

bool endsWithNoCase(const std::string &text, const char *suffix)
{
    size_t n = std::strlen(suffix);
    return text.size() >= n && B_strnicmp(text.c_str() + text.size() - n, suffix, n) == 0;
}

// The file a cache name stands for (see dll.h).
std::string fileFor(const char *name)
{
    std::string given(name);
    for (char &c : given)
        if (c == '\\')
            c = '/';
    size_t slash = given.rfind('/');
    std::string folder = slash == std::string::npos ? progdir::path() : given.substr(0, slash + 1);
    std::string base = given.substr(slash == std::string::npos ? 0 : slash + 1);
    if (endsWithNoCase(base, ".so"))
        return folder + base;
    if (endsWithNoCase(base, ".dll"))
        base.resize(base.size() - 4);
    for (char &c : base)
        c = char(cp1252::lower(static_cast<unsigned char>(c)));
    return folder + "lib" + base + ".so";
}

DLLHandle_t load(const char *name)
{
    std::string file = fileFor(name);
    DLLHandle_t handle = dlopen(cp1252::fileName(file).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle) {
        g_error[0] = '\0';
    } else {
        const char *why = dlerror();
        std::snprintf(g_error, sizeof g_error, "%s: %s", file.c_str(),
                      why ? cp1252::fromUtf8(why).c_str() : "?");
    }
    return handle;
}

int freeSlot()
{
    for (int i = 0; i < DLL_CACHE_SLOTS; ++i)
        if (!g_names[i])
            return i;
    return -1;
}

} // namespace

unsigned quentaro::dllGeneration()
{
    return g_generation;
}

void DLLInit(void)
{
    if (g_names)
        return;
    ++g_generation;
    g_names = static_cast<char **>(B_calloc_tagged(DLL_CACHE_SLOTS * sizeof(char *), __LINE__, kFamily));
    g_handles = static_cast<DLLHandle_t *>(
        B_calloc_tagged(DLL_CACHE_SLOTS * sizeof(DLLHandle_t), __LINE__, kFamily));
}

DLLHandle_t DLLInstance(const char *name)
{
    if (!B_CHECK(DebugDoGetDefault(), kFamily, name != nullptr, "NULL", "pcDLL != NULL"))
        return nullptr;
    if (!g_names || !*name)
        return nullptr;
    for (int i = 0; i < DLL_CACHE_SLOTS; ++i)
        if (g_names[i] && B_stricmp(g_names[i], name) == 0)
            return g_handles[i];
    int slot = freeSlot();
    if (slot < 0)
        return nullptr;
    DLLHandle_t handle;
    try {
        handle = load(name);
    } catch (...) {
        return nullptr;
    }
    if (handle) {
        g_names[slot] = B_strdup_tagged(name, __LINE__, kFamily);
        g_handles[slot] = handle;
    }
    return handle;
}

void DLLClose(void)
{
    if (!g_names)
        return;
    for (int i = 0; i < DLL_CACHE_SLOTS; ++i) {
        if (g_names[i]) {
            B_free(g_names[i]);
            dlclose(g_handles[i]);
        }
    }
    B_free(g_names);
    B_free(g_handles);
    g_names = nullptr;
    g_handles = nullptr;
    ++g_generation;
}

const char *DLLError(void)
{
    return g_error;
}
