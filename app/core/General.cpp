// The product log, paths, order types and suffixes, and control helpers.
#include "General.h"

#include "Multiidioma.h"
#include "cp1252.h"
#include "progdir.h"

#include <QWidget>
#include <algorithm>
#include <cstdio>

void WriteLog(std::string_view mensaje)
{
    std::FILE *f = cp1252::openFile(progdir::file("Orvanta.LOG"), "ab");
    if (!f)
        return;
    std::string linea = FechaUsuario(QDate::currentDate());
    linea += " - ";
    linea += mensaje;
    linea += '\n';
    std::fwrite(linea.data(), 1, linea.size(), f);
    std::fclose(f);
}

std::string GetAppPath()
{
    return progdir::path();
}

std::string AddBackslash(std::string_view ruta)
{
    std::string r(ruta);
    if (!r.empty() && r.back() != '\\' && r.back() != '/')
        r += '/';
    return r;
}

int GetTipoOrden(std::string_view nombre)
{
    if (nombre == "CSB19")
        return 1;
    if (nombre == "CSB58")
        return 2;
    return 0;
}

std::string GetTipoOrdenStr(int tipo)
{
    switch (tipo) {
    case 1: return "CSB19";
    case 2: return "CSB58";
    default: return {};
    }
}

int GetTipoOrdenFichero(std::string_view ruta)
{
    std::FILE *f = cp1252::openFile(ruta, "rb");
    if (!f)
        return 0;
    char codigo[3];
    const size_t leidos = std::fread(codigo, 1, sizeof codigo, f);
    std::fclose(f);
    const std::string_view c(codigo, leidos);
    if (c == "018" || c == "518")
        return 1;
    if (c == "017" || c == "517")
        return 2;
    return 0;
}

std::optional<std::string> SufijoBanco(std::string_view sufijo)
{
    const std::string cifras = Recorta(sufijo);
    if (cifras.empty() || cifras.size() > 3 || !std::all_of(cifras.begin(), cifras.end(), EsDigito))
        return std::nullopt;
    return std::string(3 - cifras.size(), '0') + cifras;
}

bool MismoSufijo(std::string_view a, std::string_view b)
{
    auto comparable = [](std::string_view sufijo) { return SufijoBanco(sufijo).value_or(Recorta(sufijo)); };
    return cp1252::equalNoCase(comparable(a), comparable(b));
}

std::string NifMayusculas(std::string_view nif)
{
    std::string r(nif);
    for (char &c : r)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return r;
}

std::string MotivoNif(std::string_view nif)
{
    const std::string limpio = Recorta(nif);
    std::vector<std::string> malos;
    for (char c : limpio) {
        const bool bien = EsDigito(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
        if (!bien && std::find(malos.begin(), malos.end(), std::string(1, c)) == malos.end())
            malos.emplace_back(1, c);
    }
    return malos.empty() ? std::string() : FormateaTexto(Idioma.GetTexto(791), limpio, Citados(malos));
}

void SafeSetFocus(QWidget *control)
{
    if (control && control->isVisible() && control->isEnabled() && control->focusPolicy() != Qt::NoFocus)
        control->setFocus();
}
