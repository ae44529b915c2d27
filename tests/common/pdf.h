// Fixtures of the report tests: what poppler's tools read in a PDF file.
#pragma once

#include <QProcess>
#include <QStringList>
#include <string>
#include <vector>

namespace pdf {

// The standard output of a program run to its end (empty when it could not run).
inline std::string Salida(const QString &programa, const QStringList &argumentos)
{
    QProcess proceso;
    proceso.start(programa, argumentos);
    if (!proceso.waitForFinished(60000))
        return {};
    return proceso.readAllStandardOutput().toStdString();
}

// The text of every page as pdftotext -layout lays it out (UTF-8), pages separated by a
// form feed.
inline std::string Texto(const std::string &ruta)
{
    return Salida(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), QString::fromStdString(ruta), QStringLiteral("-")});
}

// The text of each page, the first one at index 0.
inline std::vector<std::string> Paginas(const std::string &ruta)
{
    std::vector<std::string> paginas;
    const std::string texto = Texto(ruta);
    size_t desde = 0;
    for (size_t ff; (ff = texto.find('\f', desde)) != std::string::npos; desde = ff + 1)
        paginas.push_back(texto.substr(desde, ff - desde));
    return paginas;
}

// The value of a line of pdfinfo ("Pages", "Page size"), without the blanks before it.
inline std::string Info(const std::string &ruta, const std::string &clave)
{
    const std::string salida = Salida(QStringLiteral("pdfinfo"), {QString::fromStdString(ruta)});
    const size_t k = salida.find(clave + ":");
    if (k == std::string::npos)
        return {};
    const size_t valor = salida.find_first_not_of(' ', k + clave.size() + 1);
    return salida.substr(valor, salida.find('\n', valor) - valor);
}

// How many times a text occurs in another.
inline int Veces(const std::string &texto, const std::string &buscado)
{
    int n = 0;
    for (size_t k = texto.find(buscado); k != std::string::npos; k = texto.find(buscado, k + 1))
        ++n;
    return n;
}

} // namespace pdf
