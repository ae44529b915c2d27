// The pictures of the login and user windows.
#include "Imagenes.h"

// The resources live in the program's static library, where nothing else references them;
// the registration is declared at global scope, as Qt requires.
static void IniciaRecursos()
{
    static const bool iniciados = [] {
        Q_INIT_RESOURCE(Imagenes);
        return true;
    }();
    (void)iniciados;
}

namespace {

QIcon Icono(const char *nombre)
{
    IniciaRecursos();
    return QIcon(QStringLiteral(":/imagenes/") + QLatin1String(nombre));
}

} // namespace

QIcon ImagenArbol(int indice)
{
    switch (indice) {
    case ImagenEmpresa: return Icono("arbol_empresa.png");
    case ImagenEmisor: return Icono("arbol_emisor.png");
    case ImagenUsuario: return Icono("arbol_usuario.png");
    case ImagenCSB19: return Icono("arbol_csb19.png");
    case ImagenCSB58: return Icono("arbol_csb58.png");
    default: return {};
    }
}

QIcon ImagenActivo(bool activo)
{
    return Icono(activo ? "usuario_activo.png" : "usuario_inactivo.png");
}

QPixmap ImagenBanner()
{
    IniciaRecursos();
    return QPixmap(QStringLiteral(":/imagenes/banner_login.png"));
}
