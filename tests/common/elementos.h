// Fixture of the tests that use the item types: the build's program folder (with the items
// plug-in libitems.so and the shipped items.ini) as the program folder, the library cache
// and the template engine started on a types file, the plug-in in euros.
#pragma once

#include "dll.h"
#include "itemproto.h"
#include "plantillas.h"
#include "progdir.h"

#include <cstdlib>
#include <dlfcn.h>
#include <string>

namespace elementos {

// The build's program folder, ending with "/", and its shipped items.ini.
inline const std::string kCarpeta = PROGRAM_DIR;
inline const std::string kItemsIni = kCarpeta + "items.ini";

class Tipos {
public:
    // The types of ini (the shipped file unless told): its "Items.dll" is the plug-in of
    // the build's program folder.
    explicit Tipos(const std::string &ini = kItemsIni)
    {
        const char *v = std::getenv(progdir::kEnvironmentVariable);
        m_teniaValor = v != nullptr;
        if (v)
            m_anterior = v;
        ::setenv(progdir::kEnvironmentVariable, kCarpeta.c_str(), 1);
        DLLInit();
        PlInit(ini.c_str());
        Euro(true);
    }
    ~Tipos()
    {
        Euro(true);
        PlClose();
        DLLClose();
        if (m_teniaValor)
            ::setenv(progdir::kEnvironmentVariable, m_anterior.c_str(), 1);
        else
            ::unsetenv(progdir::kEnvironmentVariable);
    }
    Tipos(const Tipos &) = delete;
    Tipos &operator=(const Tipos &) = delete;

    // The plug-in's currency switch, reached as the bill editor reaches it.
    static void Euro(bool euro)
    {
        auto fn = reinterpret_cast<ItemSetEuroFn_t>(dlsym(DLLInstance("Items.dll"), ITEM_EXPORT_SETEURO));
        if (fn)
            fn(euro);
    }

    // A plug-in export by name; null when it has none.
    template<class F>
    static F Funcion(const char *nombre)
    {
        return reinterpret_cast<F>(dlsym(DLLInstance("Items.dll"), nombre));
    }

private:
    std::string m_anterior;
    bool m_teniaValor = false;
};

} // namespace elementos
