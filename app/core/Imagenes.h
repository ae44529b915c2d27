// The pictures of the login and user windows, compiled in as Qt resources.
#pragma once

#include <QIcon>
#include <QPixmap>

// Image indices of the organisation tree.
enum ImagenArbolIndice {
    ImagenEmpresa = 0,
    ImagenEmisor = 2,
    ImagenUsuario = 3,
    ImagenCSB19 = 4,
    ImagenCSB58 = 5,
};

// The tree icon of an image index; a null icon for any other index.
QIcon ImagenArbol(int indice);

// The users grid's icon of an active or an inactive user.
QIcon ImagenActivo(bool activo);

// The banner across the top of the login window.
QPixmap ImagenBanner();
