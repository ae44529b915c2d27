// Every window inside the screen it opens on.
#pragma once

#include <QMargins>
#include <functional>

class QWidget;

// The frame the window system draws around a window, as it reports it: nothing until it has
// framed the window it shows (a window manager frames it only then). Tests state a frame.
extern std::function<QMargins(const QWidget *)> MarcoVentana;

// Fits a window that is being shown to the free area of its screen (the screen less its
// panels): a window larger than that area takes its size, and one whose contents cannot
// be made that small shows them in a scroll area, every control at its own size and the
// focus where the window put it. A dialog that was not placed by hand is centred on the area;
// the window, its frame included, is then moved inside the area. Until the window system
// reports the window's frame, the frame is taken to be the last one it reported for a window
// of the program; when the window shows and its frame turns out otherwise, it is fitted
// again, to the same place. Maximized and full-screen windows, popups and child widgets are
// left as they are.
void AjustaAPantalla(QWidget *ventana);

// Fits a shown window whose contents have just grown (a list opened in it): it grows with
// them, when they scroll, and it is moved as little as it takes to lie inside the free area
// of its screen, frame included, as AjustaAPantalla fits a window.
void MantenEnPantalla(QWidget *ventana);
