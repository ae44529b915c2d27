// Fuzzes the amount readers with any text, in both regional settings and both currencies.
// The last input byte chooses the settings; the bytes before it are the amount text.
// Besides crashes and undefined behaviour it stops on readers that disagree: the stored
// amount reader and FormatImporteSQL on the same text, the readers on what the storage
// writers wrote, and the typed amount reader on the screen form of what it read.
#include "General.h"
#include "progdir.h"

#include <QLocale>
#include <cstdio>
#include <cstdlib>
#include <fuzzer/FuzzedDataProvider.h>
#include <string>
#include <unistd.h>

namespace {

std::string g_dir, g_log;

void Limpia()
{
    ::unlink(g_log.c_str());
    ::rmdir(g_dir.c_str());
}

void Falla(const char *que, const std::string &texto, const std::string &obtenido)
{
    std::fprintf(stderr, "%s: '%s' gave '%s'\n", que, texto.c_str(), obtenido.c_str());
    Limpia();
    std::abort();
}

// units / 10^decimales as a stored amount, written without the program's own writer.
std::string Almacenado(long long unidades, int decimales)
{
    std::string digitos = std::to_string(unidades < 0 ? -unidades : unidades);
    if (decimales == 0)
        return (unidades < 0 ? "-" : "") + digitos;
    if (digitos.size() <= size_t(decimales))
        digitos.insert(0, size_t(decimales) + 1 - digitos.size(), '0');
    digitos.insert(digitos.size() - size_t(decimales), ".");
    return (unidades < 0 ? "-" : "") + digitos;
}

// A storage writer's result reads back as a stored amount with no more decimals than it
// was written with.
void Releer(const std::string &escrito, int decimales, const std::string &origen)
{
    if (escrito.empty())
        return;
    long long unidades = 0;
    const LecturaImporte r = LeeImporteSQL(escrito, decimales, unidades, true);
    if (r != LecturaImporte::Correcta && r != LecturaImporte::DemasiadoGrande)
        Falla("a stored form does not read back", origen, escrito);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    char plantilla[] = "/tmp/fuzz_importes.XXXXXX";
    const char *dir = ::mkdtemp(plantilla);
    if (!dir)
        std::abort();
    ::setenv(progdir::kEnvironmentVariable, dir, 1);
    g_dir = dir;
    g_log = g_dir + "/Orvanta.LOG";
    std::atexit(Limpia);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider datos(data, size);
    const uint8_t opciones = datos.ConsumeIntegral<uint8_t>();
    const bool coma = opciones & 1;
    const char *moneda = opciones & 2 ? kMonedaEuros : kMonedaPesetas;
    const bool exacto = opciones & 4;
    const std::string texto = datos.ConsumeRemainingBytesAsString();

    static const QLocale espanol(QLocale::Spanish, QLocale::Spain);
    static const QLocale ingles(QLocale::English, QLocale::UnitedStates);
    QLocale::setDefault(coma ? espanol : ingles);

    FormatImporte(texto, moneda);
    FormatContravalor(texto, moneda);
    const std::string sql = FormatImporteSQL(texto, moneda);
    const std::string contravalor = GetContravalor(texto, moneda);
    const std::string sinFormato = GetContravalorSinFormato(texto, moneda);

    const int decimales = DecimalesMoneda(moneda);
    Releer(sql, decimales, texto);
    Releer(contravalor, 2 - decimales, texto);
    Releer(sinFormato, 2 - decimales, texto);

    // A typed amount that reads is stored exactly, and shown it reads back the same.
    const ImporteTecleado tecleado = LeeImporteTecleado(texto, moneda);
    Releer(tecleado.SQL, decimales, texto);
    if (tecleado.Rechazo == 0 && LeeImporteTecleado(FormatImporte(tecleado.SQL, moneda), moneda).SQL != tecleado.SQL)
        Falla("a typed amount shown does not read back", texto, tecleado.SQL);

    long long unidades = 0;
    const LecturaImporte lectura = LeeImporteSQL(texto, decimales, unidades, exacto);
    if (lectura == LecturaImporte::Correcta) {
        // In a "." locale the screen readers take every stored amount as it is.
        if (!coma && sql != Almacenado(unidades, decimales))
            Falla("FormatImporteSQL and LeeImporteSQL disagree", texto, sql);
        long long redondeadas = 0;
        if (exacto && (LeeImporteSQL(texto, decimales, redondeadas) != LecturaImporte::Correcta
                       || redondeadas != unidades))
            Falla("an exact reading differs from the rounded one", texto, std::to_string(redondeadas));
    }
    ::unlink(g_log.c_str());
    return 0;
}
