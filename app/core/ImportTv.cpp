// The start-up check of the bank's users file.
#include "ImportTv.h"

#include "Cfgfile.h"
#include "Frmmsg.h"
#include "Multiidioma.h"
#include "cp1252.h"
#include "profile.h"
#include "progdir.h"

#include <charconv>
#include <filesystem>

namespace {

constexpr const char *kFichero = "usuarios_empresa.ini";

int LeeEntero(std::string_view texto, int siNo)
{
    int valor = 0;
    const auto [fin, error] = std::from_chars(texto.data(), texto.data() + texto.size(), valor);
    return error == std::errc() && fin == texto.data() + texto.size() ? valor : siNo;
}

} // namespace

std::string RutaFicheroUsuarios()
{
    std::string carpeta = progdir::path();
    while (carpeta.size() > 1 && carpeta.back() == '/')
        carpeta.pop_back();
    return carpeta.substr(0, carpeta.rfind('/') + 1) + kFichero;
}

void CheckUserConfigFile()
{
    const std::string ruta = RutaFicheroUsuarios(), ini = progdir::file("Orvanta.INI");
    const int guardado = LeeEntero(profile::readString(ini, "FICHEROS_USUARIO", kFichero, "*", 255), -1);
    const int actual = CRCFichero(ruta);
    std::error_code ec;
    if ((guardado == actual && guardado != -1) || !std::filesystem::exists(cp1252::fileName(ruta), ec))
        return;
    if (CajaMensaje(Idioma.GetTexto(911), Idioma.GetTexto(910), IconoMensaje::Pregunta, BotonesMensaje::SiNo) !=
        RespuestaSi)
        return;
    // A failed import is offered again at the next start.
    if (ImportaFicheroUsuarios(ruta))
        profile::writeString(ini, "FICHEROS_USUARIO", kFichero, std::to_string(actual));
}
