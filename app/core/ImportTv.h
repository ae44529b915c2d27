// The bank's users file beside the installed program: offered for import at start-up when
// it changed since the last import.
#pragma once

#include <string>

// The users file: usuarios_empresa.ini in the parent folder of the program folder.
std::string RutaFicheroUsuarios();

// When the file exists and its checksum differs from the one stored in Orvanta.INI
// ([FICHEROS_USUARIO] usuarios_empresa.ini; none stored reads as -1), asks whether to import
// it; on Yes imports it and, only when the import succeeded, stores its checksum.
void CheckUserConfigFile();
