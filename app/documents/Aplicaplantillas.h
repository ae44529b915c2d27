// The program's side of concept templates: the template engine started with the program
// and closed at its end.
#pragma once

#include <string_view>

// Starts the plug-in cache, the SQL helpers' lists and the template engine with the item
// types of the items file at ruta (Windows-1252; a missing or partial file only leaves
// types unregistered). Called once at start-up. Returns 0.
int IniciaPlantillas(std::string_view ruta);

// Closes the engine, frees the SQL helpers' lists and unloads every plug-in. Called once at
// the end, before the database is closed.
void FinPlantillas();
