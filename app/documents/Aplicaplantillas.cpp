// The template engine's start and end.
#include "Aplicaplantillas.h"

#include "Cfgfile.h"
#include "dll.h"
#include "plantillas.h"

#include <string>

int IniciaPlantillas(std::string_view ruta)
{
    DLLInit();
    IniciaCfgfile();
    PlInit(std::string(ruta).c_str());
    return 0;
}

void FinPlantillas()
{
    PlClose();
    FinCfgfile();
    DLLClose();
}
