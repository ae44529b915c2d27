// The language table, the language object and the bounded text formatter.
#include "Multiidioma.h"

#include <QAction>
#include <QRegularExpression>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <set>
#include <sstream>

namespace {

class IdiomaTest : public ::testing::Test {
protected:
    void TearDown() override { Idioma.SetIdioma(IdiomaCastellano); }
};

TEST(TablaTextos, NumbersAscendUniqueAndTextsAreNotEmpty)
{
    int anterior = 0;
    for (const EntradaTexto &e : TablaTextos()) {
        EXPECT_GT(e.numero, anterior) << "out of order or repeated";
        EXPECT_GT(std::strlen(e.texto), 0u) << e.numero;
        EXPECT_LT(std::strlen(e.texto), kMaxTextoFormateado + 1) << e.numero;
        anterior = e.numero;
    }
    EXPECT_GT(TablaTextos().size(), 500u);
}

// Every text number the program's sources ask for has a Spanish text.
TEST(TablaTextos, EveryNumberTheProgramUsesHasAText)
{
    const QRegularExpression uso(QStringLiteral(R"((?:GetTexto|CargaTexto)\(\s*(\d+)\s*\))"));
    std::set<int> usados;
    for (const auto &f : std::filesystem::recursive_directory_iterator(TESORIO_SOURCE_DIR "/app")) {
        const auto ext = f.path().extension();
        if (ext != ".cpp" && ext != ".h")
            continue;
        std::ifstream in(f.path());
        std::stringstream texto;
        texto << in.rdbuf();
        auto it = uso.globalMatch(QString::fromStdString(texto.str()));
        while (it.hasNext())
            usados.insert(it.next().captured(1).toInt());
    }
    EXPECT_FALSE(usados.empty());
    for (int n : usados)
        EXPECT_FALSE(CargaTexto(n).empty()) << "text " << n << " is used but missing";
}

TEST(TablaTextos, AccentedLettersArriveAsWindows1252)
{
    struct Caso { int numero; const char *texto; const char *porque; };
    const Caso casos[] = {
        {10, "A\xF1" "adir", "n with tilde is one byte 0xF1"},
        {12, "&S\xED", "i with acute accent is 0xED"},
        {18, "N\xBA Cuenta", "the ordinal sign is 0xBA"},
        {184, "\xBF Est\xE1 seguro de que quiere salir de la aplicaci\xF3n ?", "inverted question mark 0xBF"},
        {209, "La plantilla no tiene un elemento marcado como importe total.\n\xBFQuiere grabarlo a pesar de ello?",
         "an escaped line break becomes one byte 10"},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(CargaTexto(c.numero), c.texto) << c.porque;
}

TEST(TablaTextos, MissingEntryIsEmpty)
{
    EXPECT_EQ(CargaTexto(0), "");
    EXPECT_EQ(CargaTexto(749), "");
    EXPECT_EQ(CargaTexto(1001), "");
}

TEST_F(IdiomaTest, LanguageNumberGivesOffsetAndName)
{
    struct Caso { int idioma; int desplazamiento; const char *nombre; };
    const Caso casos[] = {{1, 0, "Castellano"}, {2, 1000, "Ingles"}, {3, 2000, "Catalan"}, {0, 0, ""}, {-4, 0, ""}};
    for (const Caso &c : casos) {
        ASSERT_TRUE(Idioma.SetIdioma(c.idioma));
        EXPECT_EQ(Idioma.GetDesplazamientoIdioma(), c.desplazamiento) << c.idioma;
        EXPECT_EQ(Idioma.GetNombreIdioma(), c.nombre) << c.idioma;
    }
}

TEST_F(IdiomaTest, ATextMissingInTheLanguageIsTheSpanishOne)
{
    EXPECT_EQ(Idioma.GetTexto(1), "Error");
    for (int idioma : {IdiomaIngles, IdiomaCatalan}) {
        Idioma.SetIdioma(idioma);
        EXPECT_EQ(Idioma.GetTexto(1), "Error") << idioma;
        EXPECT_EQ(Idioma.GetTexto(749), "") << "no text in any language";
    }
    Idioma.SetIdioma(IdiomaIngles);
    EXPECT_FALSE(Idioma.SetIdioma(4));
    EXPECT_EQ(Idioma.GetIdioma(), IdiomaIngles) << "a refused number keeps the language";
}

TEST_F(IdiomaTest, RegisteredEntriesFollowTheLanguage)
{
    QAction archivo, castellano, ingles;
    castellano.setCheckable(true);
    ingles.setCheckable(true);
    auto efimera = std::make_unique<QAction>();
    Idioma.RegistraEntrada(231, &archivo);
    Idioma.RegistraEntrada(232, efimera.get());
    Idioma.RegistraEntradaIdioma(IdiomaCastellano, &castellano);
    Idioma.RegistraEntradaIdioma(IdiomaIngles, &ingles);
    efimera.reset();

    EXPECT_TRUE(Idioma.SetIdiomaPorNombre("Castellano"));
    EXPECT_EQ(archivo.text(), QStringLiteral("&Archivo"));
    EXPECT_TRUE(castellano.isChecked());

    EXPECT_TRUE(Idioma.SetIdiomaPorNombre("Ingles"));
    EXPECT_EQ(Idioma.GetIdioma(), IdiomaIngles);
    EXPECT_TRUE(ingles.isChecked());
    EXPECT_FALSE(castellano.isChecked());
    EXPECT_EQ(archivo.text(), QStringLiteral("&Archivo")) << "language 2 has no texts yet: the Spanish ones";

    EXPECT_TRUE(Idioma.SetIdiomaPorNombre("Frances"));
    EXPECT_EQ(Idioma.GetIdioma(), IdiomaIngles) << "an unknown name keeps the language";
    EXPECT_FALSE(ingles.isChecked()) << "and leaves no entry marked";
    EXPECT_FALSE(castellano.isChecked());

    EXPECT_TRUE(Idioma.SetIdiomaPorNombre("castellano")) << "names compare exactly";
    EXPECT_EQ(Idioma.GetIdioma(), IdiomaIngles);

    Idioma.SetIdioma(IdiomaCastellano);
    EXPECT_EQ(archivo.text(), QStringLiteral("&Archivo"));
}

struct CasoFormato {
    const char *formato;
    std::vector<ArgTexto> args;
    std::string esperado;
    const char *porque;
};

TEST(FormateaTexto, ConversionsAreSafeWhateverTheArguments)
{
    const std::string largo(5000, 'x');
    const CasoFormato casos[] = {
        {"Error en la l\xEDnea: %d ", {12}, "Error en la l\xEDnea: 12 ", "plain integer"},
        {"%s-%s", {"a", "b"}, "a-b", "two texts in order"},
        {"%5.2f|", {3.14159}, " 3.14|", "width and precision of a real"},
        {"%-4s|%4s", {"ab", "cd"}, "ab  |  cd", "text padding both ways"},
        {"%.2s", {"abcd"}, "ab", "text precision cuts"},
        {"%*d", {3, 7}, "  7", "width from an argument"},
        {"%ld %x %c", {5L, 255, 'A'}, "5 ff A", "length modifiers are ignored, kinds are known"},
        {"100%%", {}, "100%", "escaped percent"},
        {"%d", {"abc"}, "abc", "a text for %d prints as text, never as a pointer"},
        {"%s", {42}, "42", "an integer for %s prints as a number"},
        {"%s y %s", {"uno"}, "uno y ", "a missing argument prints nothing"},
        {"a%nb", {7}, "ab", "%n writes nothing"},
        {"%", {1}, "", "a lone percent at the end"},
    };
    for (const CasoFormato &c : casos)
        EXPECT_EQ(FormateaTexto(c.formato, std::span<const ArgTexto>(c.args)), c.esperado) << c.porque;
}

TEST(FormateaTexto, ResultIsBounded)
{
    const std::string largo(5000, 'x');
    EXPECT_EQ(FormateaTexto("%s", largo).size(), kMaxTextoFormateado);
    EXPECT_EQ(FormateaTexto("%999999999d", 1).size(), kMaxTextoFormateado);
    EXPECT_LE(FormateaTexto("%.999999999f", 1.0).size(), kMaxTextoFormateado);
    EXPECT_EQ(FormateaTexto("%*d", -3, 7), "7  ") << "a negative width pads on the right";
}

} // namespace
