// The one application object.
#include "Aplicacion.h"

Aplicacion &App()
{
    static Aplicacion aplicacion;
    return aplicacion;
}
