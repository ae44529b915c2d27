// Cleaning of free text, row-text fields, text helpers and the product log.
#include "General.h"
#include "Modmas.h"

#include "entorno.h"

#include <QDate>
#include <gtest/gtest.h>

namespace {

TEST(LimpiaTextoSQL, CommasAndBarsCleanedQuotesKeptAndDoubledInALiteral)
{
    struct Caso { const char *texto, *guardado, *literal, *porque; };
    const Caso casos[] = {
        {"O'Neil|A,,B", "O'Neil\xA6" "A ,B", "O''Neil\xA6" "A ,B", "the three rules at once"},
        {",,,", "  ,", "  ,", "three commas become two blanks and a comma"},
        {"a,b", "a,b", "a,b", "a single comma stays"},
        {"''", "''", "''''", "every quote stays, doubled in a literal"},
    };
    for (const Caso &c : casos) {
        EXPECT_EQ(LimpiaTexto(c.texto), c.guardado) << c.porque;
        EXPECT_EQ(LimpiaTextoSQL(c.texto), c.literal) << c.porque;
    }
    std::string todos;
    for (int b = 1; b < 256; ++b)
        todos += char(b);
    const std::string limpio = LimpiaTexto(todos);
    ASSERT_EQ(limpio.size(), todos.size());
    for (size_t k = 0; k < todos.size(); ++k)
        if (todos[k] != '|') {
            EXPECT_EQ(limpio[k], todos[k]) << "only the bar changes: byte " << int((unsigned char)todos[k]);
        }
}

TEST(LimpiaTextoCSB, EveryByteKeepsTheLengthAndFollowsTheTable)
{
    std::string todos;
    for (int b = 0; b < 256; ++b)
        todos += char(b);
    std::string limpio = todos;
    LimpiaTextoCSB(limpio);
    ASSERT_EQ(limpio.size(), 256u);
    const std::string_view quedan = "()*+-./<>";
    for (int b = 0; b < 256; ++b) {
        const unsigned char r = limpio[b];
        const bool alfanumerico = (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
        if (alfanumerico || b == ' ' || quedan.find(char(b)) != std::string_view::npos || b == 8 || b == 9
            || b == 10 || b == 13 || b == 28 || b == 29)
            EXPECT_EQ(r, b) << "byte " << b << " stays";
        else
            EXPECT_TRUE(r == ' ' || r == '/' || r == '(' || r == ')' || r == '.' || (r >= 'A' && r <= 'Z'))
                << "byte " << b << " becomes " << int(r);
        EXPECT_TRUE(r < 0x80) << "nothing above 127 reaches the bank: " << b;
    }
    struct Caso { unsigned char de; char a; };
    const Caso muestras[] = {{'&', '/'}, {'[', '('}, {'}', ')'}, {0x80, 'Z'}, {0x8A, 'E'}, {0xA0, 'A'}, {0xA5, '/'},
                             {0xA6, '.'}, {0xA8, ' '}, {0xAB, ' '}, {0xE9, ' '}, {0xD1, ' '}, {0, ' '}, {0x0B, ' '}};
    for (const Caso &m : muestras)
        EXPECT_EQ(limpio[m.de], m.a) << "byte " << int(m.de);
    std::string ejemplo = "[A&B]";
    EXPECT_EQ(LimpiaTextoCSB(ejemplo), "(A/B)");
}

TEST(Modmas, QuitaAcentosOnlyTheAcuteVowels)
{
    std::string todos;
    for (int b = 0; b < 256; ++b)
        todos += char(b);
    std::string sin = todos;
    QuitaAcentos(sin);
    ASSERT_EQ(sin.size(), 256u);
    const std::string_view acentos = "\xE1\xE9\xED\xF3\xFA\xC1\xC9\xCD\xD3\xDA";
    const std::string_view vocales = "aeiouAEIOU";
    for (int b = 0; b < 256; ++b) {
        const size_t k = acentos.find(char(b));
        EXPECT_EQ(sin[b], k == std::string_view::npos ? char(b) : vocales[k]) << b;
    }
    std::string cuenta = "Compa\xF1\xED" "a Ping\xFCino \xC1lvarez";
    EXPECT_EQ(QuitaAcentos(cuenta), "Compa\xF1ia Ping\xFCino Alvarez") << "tilde-n and diaeresis stay";
}

TEST(Modmas, GetCampoTakesTheFirstMatch)
{
    struct Caso { const char *nombre, *fila, *valor, *porque; };
    const Caso casos[] = {
        {"Nombre", "Id=1&Nombre=&Cif=X", "", "an empty value"},
        {"Cif", "Id=1&Nombre=&Cif=X", "X", "the last pair"},
        {"Otro", "Id=1&Nombre=&Cif=X", "", "an absent name"},
        {"Razon_social", "_Emisores( Datos ).Razon_social=A&_Presentadores( Datos ).Razon_social=B", "A",
         "two qualified columns: the first wins"},
        {"Id_librado", "Documentos().Id_librado=5&Id_remesa=2", "5", "a qualified name found by its bare name"},
        {"Password", "Cod_usuario=ABC&Password=NULL", "NULL", "NULL is copied as it is"},
        {"Texto", "Texto=a\x01" "b\x02" "c&N=1", "a\x01" "b\x02" "c", "escapes are kept"},
        {"", "=1&A=2", "", "an empty name finds nothing"},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(GetCampo(c.nombre, c.fila), c.valor) << c.porque;
    const std::string largo = "Id=1&Concepto=" + std::string(3000, 'x') + "&Final=fin";
    EXPECT_EQ(GetCampo("Final", largo), "fin") << "a field past 2,048 characters is not lost";
    EXPECT_EQ(GetCampo("Concepto", largo).size(), 3000u) << "nor cut";
}

TEST(Modmas, SetCampoReplacesOrAppends)
{
    struct Caso { const char *fila, *nombre, *valor, *resultado; };
    const Caso casos[] = {
        {"Id=1&Cif=X&N=2", "Cif", "Y", "Id=1&Cif=Y&N=2"},
        {"Id=1&Cif=X&N=2", "Z", "3", "Id=1&Cif=X&N=2&Z=3"},
        {"Id=1&Cif=X", "Cif", "", "Id=1&Cif="},
        {"", "A", "1", "&A=1"},
        {"Id=1", "", "1", "Id=1"},
    };
    for (const Caso &c : casos) {
        std::string fila = c.fila;
        SetCampo(fila, c.nombre, c.valor);
        EXPECT_EQ(fila, c.resultado);
    }
}

TEST(Modmas, CharacterHelpers)
{
    char c_texto[] = "a-b-c";
    CambiaCaracter(c_texto, '-', '+');
    EXPECT_STREQ(c_texto, "a+b+c");
    CambiaCaracter(nullptr, '-', '+');
    std::string lista("a\0b\0", 4);
    CambiaCaracterLen(lista, '\0', '\xB7');
    EXPECT_EQ(lista, "a\xB7" "b\xB7") << "walks past embedded NULs";
}

TEST(Log, OneDatedLinePerMessageInTheProgramFolder)
{
    entorno::Programa programa;
    entorno::Regional regional(true);
    WriteLog("[ General::Prueba ] uno");
    WriteLog("dos \xF1");
    const std::string hoy = FechaUsuario(QDate::currentDate());
    EXPECT_EQ(programa.Log(), hoy + " - [ General::Prueba ] uno\n" + hoy + " - dos \xF1\n");
    EXPECT_EQ(GetAppPath(), programa.dir().path());
}

} // namespace
