// Every window inside the screen it opens on.
#pragma once

class QWidget;

// Fits a window that is being shown to the free area of its screen (the screen less its
// panels): a window larger than that area takes its size, and one whose contents cannot
// be made that small shows them in a scroll area, every control at its own size and the
// focus where the window put it; then the window, its frame included, is moved inside the
// area. Maximized and full-screen windows, popups and child widgets are left as they are.
void AjustaAPantalla(QWidget *ventana);
