// The program's side of concept templates: the template engine started with the program
// and closed at its end, and the one current template laid out as entry controls on a
// window page, composed back into a 640-character concept and read for its total.
// Main thread only.
#pragma once

#include <string>
#include <string_view>

class QWidget;

// Starts the plug-in cache, the SQL helpers' lists and the template engine with the item
// types of the items file at ruta (Windows-1252; a missing or partial file only leaves
// types unregistered). Called once at start-up. Returns 0.
int IniciaPlantillas(std::string_view ruta);

// Deletes the current template and its controls, closes the engine, frees the SQL helpers'
// lists and unloads every plug-in. Called once at the end, before the database is closed.
void FinPlantillas();

// The items plug-in ("Items.dll" of the library cache) in euro or peseta entry; nothing
// without the plug-in or its export.
void SetEuroPlantillas(bool euro);

// Creates the template designer, shows it modally and frees it.
void MuestraPlantillas();

// Lays the stored template id out on padre from the concept pagina (8 rows of 80): each
// item's control in cells of (width - 10) / 80 by (height - 10) / 8 pixels, holding the
// characters of the page under it, totals and percentages recomputed. When id is already
// the current template nothing is done (the controls keep what was typed). Otherwise every
// child of padre is destroyed first. An id that is not stored leaves padre empty.
void AplicaPlantilla(QWidget *padre, int id, std::string_view pagina);

// Hands the current template's items the characters of pagina under them: a laid-out
// template refilled for another concept. Nothing is recomputed on the way (the boxes'
// change signals are held); GetTotalPlantilla computes the total from the new values.
void RellenaPlantilla(std::string_view pagina);

// With componer, the 640-character page made of blanks and each item's value at its X, Y
// (later items over earlier ones, running on into the next row, nothing past 640);
// otherwise the empty text. The current template and its controls are deleted either way.
std::string ComponeTextoPlantilla(bool componer);

// The value of the current template's first item whose Total is "si" (any case); the empty
// text when none is so marked or there is no current template.
std::string GetTotalPlantilla();

// Deletes the current template and its controls without composing.
void LiberaPlantilla();
