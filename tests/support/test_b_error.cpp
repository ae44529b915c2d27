// Fatal reports: their texts, the exit status, and the hooked road.
#include "b_error.h"
#include "b_mem.h"
#include "sandbox.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>

using quentaro_test::literal;

namespace {

const std::string kUninitialised = "\nSistema de error sin inicializar:\n\n";
const std::string kReturning = "\n\nRetornando al sistema...\n";

// The full report of one of the library's checks, with the variable parts as patterns.
std::string extendedReport(const std::string &message, const std::string &file,
                           const std::string &error)
{
    return literal(kUninitialised + " Sistema de control de errores:\n\n     Debug msg      : " +
                   message + "\n     Fichero        : " + file +
                   "\n     L\xC3\xADnea          : ") +
           "[0-9]+" +
           literal("\n     Error en m\xC3\xB3" "dulo: Sistema b\xC3\xA1sico\n     Error detallado: " +
                   error + "\n     Memoria libre  : ") +
           "[1-9][0-9]*" + literal("\n     errno  (hex)   : ") + "[0-9A-F]+" +
           literal("\n     errno msg      : ") + "[^\n]*" + literal(kReturning);
}

TEST(FatalReport, ExtendedReportInUtf8EndsWithFailureStatus)
{
    EXPECT_EXIT(issue_extended_error("mensaje", 12, "fichero", B_MOD_BASICO, B_ERR_SIZE),
                testing::ExitedWithCode(B_FATAL_EXIT_STATUS),
                "^" + extendedReport("mensaje", "fichero", "Mal tama\xC3\xB1o") + "$");
}

TEST(FatalReport, ShortReports)
{
    EXPECT_EXIT(show_error("corto", B_MOD_BASE_DATOS, B_ERR_SEARCH_RANGE),
                testing::ExitedWithCode(B_FATAL_EXIT_STATUS),
                "^" + literal(kUninitialised + " Sistema de control de errores:\n\n"
                              "     Debug msg      : corto\n     Error en m\xC3\xB3" "dulo: Base de datos\n"
                              "     Error detallado: B\xC3\xBAsqueda fuera de rango\n"
                              "     Memoria libre  : ") + "[0-9]+" + literal(kReturning) + "$")
        << "the one entry stored in another code page reads right in UTF-8 too";
    EXPECT_EXIT(B_issue_error(B_MOD_PROTECCION, B_ERR_SYSTEM),
                testing::ExitedWithCode(B_FATAL_EXIT_STATUS),
                "^" + literal("\nSistema de error sin inicializar:\n"
                              "\n     Error en m\xC3\xB3" "dulo: Sistema de protecci\xC3\xB3n"
                              "\n     Error detallado: Error del sistema\n     Memoria libre  : ") +
                    "[0-9]+" + literal(kReturning) + "$");
}

TEST(FatalReport, CallerTextIsNeverAFormatAndNeverOverrunsTheReport)
{
    EXPECT_EXIT(issue_extended_error("%s%n%s", 1, "%n", 99, 99),
                testing::ExitedWithCode(B_FATAL_EXIT_STATUS),
                literal("Debug msg      : %s%n%s\n     Fichero        : %n") + ".*" +
                    literal("Error en m\xC3\xB3" "dulo: ?\n     Error detallado: Error desconocido"));
    const std::string huge(5000, 'x');
    EXPECT_EXIT(issue_extended_error(huge.c_str(), 1, "f", 0, 0),
                testing::ExitedWithCode(B_FATAL_EXIT_STATUS), "Debug msg      : xxxx")
        << "a message longer than the report is cut, not written past its buffer";
}

TEST(FatalReport, HooksRunInOrderAndTheProcessStillEnds)
{
    EXPECT_EXIT(
        {
            init_error_system([](int m, int e) { std::fprintf(stderr, "[before %d %d]", m, e); },
                              [](const char *r, int, int) { std::fprintf(stderr, "[display %.32s]", r); },
                              [](int, int) { std::fprintf(stderr, "[after]"); });
            B_free(nullptr);
        },
        testing::ExitedWithCode(B_FATAL_EXIT_STATUS),
        "^" + literal("[before 0 4][display  Sistema de control de errores:\n][after]") + "$");
    EXPECT_EXIT(
        {
            init_error_system(nullptr, [](const char *, int, int) { B_free(nullptr); }, nullptr);
            B_malloc(0);
        },
        testing::ExitedWithCode(B_FATAL_EXIT_STATUS),
        "^" + extendedReport("B_free no tira.", "b_mem", "Free: mal puntero") + "$")
        << "a report raised inside a hook takes the plain road instead of recursing";
}

} // namespace
