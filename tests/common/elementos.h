// Fixture of the tests that use the item types: a temporary program folder holding a link
// to the build's items plug-in libitems.so (what the program writes there, its log, stays
// out of the build), the library cache and the template engine started on a types file
// (the build's shipped items.ini unless told), the plug-in in euros.
#pragma once

#include "dll.h"
#include "entorno.h"
#include "itemproto.h"
#include "plantillas.h"

#include <dlfcn.h>
#include <filesystem>
#include <string>

namespace elementos {

// The build's program folder, ending with "/", and its shipped items.ini.
inline const std::string kCarpeta = PROGRAM_DIR;
inline const std::string kItemsIni = kCarpeta + "items.ini";

class Tipos {
public:
    // The types of ini (the shipped file unless told): its "Items.dll" is the plug-in linked
    // into the temporary program folder.
    explicit Tipos(const std::string &ini = kItemsIni)
    {
        std::filesystem::create_symlink(kCarpeta + "libitems.so", m_programa.dir().file("libitems.so"));
        DLLInit();
        PlInit(ini.c_str());
        Euro(true);
    }
    ~Tipos()
    {
        Euro(true);
        PlClose();
        DLLClose();
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
    entorno::Programa m_programa;
};

} // namespace elementos
