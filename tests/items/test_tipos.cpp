// The four item types through the template engine, the shipped items.ini and dlopen: the
// registry, the string table and pictures, every message, the arithmetic of totals and
// percentages in both currencies and both decimal separators, and the caller's buffers.
#include "b_debug.h"
#include "entorno.h"
#include "pagina.h"
#include "progdir.h"
#include "testutil.h"

#include <QPixmap>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

B_AStr_t *Tipo(int i)
{
    return *static_cast<B_AStr_t **>(GiveMeThePointerToElement(PlTiposItem(), i));
}

// A loose item of the type with the given variables (no template).
B_AStr_t *Suelto(const char *tipo, Pagina::Variables variables)
{
    B_AStr_t *item = VarCons(nullptr, nullptr);
    VarSet(item, ITEM_VAR_TIPO, tipo);
    for (const auto &[nombre, valor] : variables)
        VarSet(item, nombre, valor);
    return item;
}

TEST(Registro, TheShippedFileRegistersTheFourTypesWithTheirPicturesAndTexts)
{
    elementos::Tipos tipos;
    struct Esperado {
        const char *nombre, *funcion, *icono, *hint, *ayuda;
    };
    const Esperado esperados[] = {
        {"Etiqueta", "_ItemLabelFunc", "LABEL", "100", "101"},
        {"Importe", "_ItemImporteFunc", "IMPORTE", "102", "103"},
        {"Total", "_ItemTotalFunc", "TOTAL", "104", "105"},
        {"Porcentaje", "_ItemPorcentajeFunc", "PORCENTAJE", "106", "107"},
    };
    ASSERT_EQ(StackTop(PlTiposItem()), 4);
    for (int i = 0; i < 4; ++i) {
        B_AStr_t *tipo = Tipo(i);
        const Esperado &e = esperados[i];
        EXPECT_STREQ(VarGet(tipo, "Nombre", ""), e.nombre);
        EXPECT_STREQ(VarGet(tipo, "DLL", ""), "Items.dll");
        EXPECT_STREQ(VarGet(tipo, "Funcion", ""), e.funcion);
        EXPECT_STREQ(VarGet(tipo, "Icono", ""), e.icono);
        EXPECT_STREQ(VarGet(tipo, "Hint", ""), e.hint);
        EXPECT_STREQ(VarGet(tipo, "Ayuda", ""), e.ayuda);
        // The picture of a type: ":/" + its DLL in lower case without ".dll" + "/" + Icono.
        std::string dll = VarGet(tipo, "DLL", "");
        dll.resize(dll.size() - 4);
        std::transform(dll.begin(), dll.end(), dll.begin(), [](unsigned char c) { return std::tolower(c); });
        const QPixmap imagen(QString::fromStdString(":/" + dll + "/" + e.icono));
        EXPECT_EQ(imagen.size(), QSize(18, 18)) << e.icono;
        EXPECT_STRNE(PlTipoItemStr(tipo, std::atoi(e.hint), "?"), "?");
    }
}

// What the program writes into its folder (the product log) stays out of the build.
TEST(Registro, ThePlugInIsReachedFromATemporaryProgramFolder)
{
    elementos::Tipos tipos;
    EXPECT_NE(progdir::path(), elementos::kCarpeta);
    EXPECT_NE(DLLInstance("Items.dll"), nullptr);
}

TEST(Registro, TheStringTableIsWindows1252AndCutToTheBuffer)
{
    elementos::Tipos tipos;
    const struct {
        int32_t id;
        const char *texto;
    } casos[] = {
        {1, "Identificador"},
        {4, "Descripci\xF3n"},
        {8, "Porcentaje"},
        {100, "Etiqueta de texto"},
        {107, "Cuando edite sus recibos, este elemento sumar\xE1 autom\xE1ticamente todos los importes que haya "
              "seleccionado y aplicar\xE1 un tanto por ciento al resultado."},
        {800, "Etiqueta"},
        {905, "El porcentaje debe ser un n\xFAmero."},
        {9, ""},
    };
    auto carga = elementos::Tipos::Funcion<ItemLoadStringFn_t>(ITEM_EXPORT_LOADSTRING);
    ASSERT_NE(carga, nullptr);
    for (const auto &c : casos) {
        char buffer[512] = "x";
        EXPECT_EQ(carga(c.id, buffer, sizeof buffer), int32_t(std::strlen(c.texto))) << c.id;
        EXPECT_STREQ(buffer, c.texto) << c.id;
    }
    char corto[5] = "";
    EXPECT_EQ(carga(4, corto, sizeof corto), 4);
    EXPECT_STREQ(corto, "Desc");
    EXPECT_STREQ(PlTipoItemStr(Tipo(1), 4, "?"), "Descripci\xF3n") << "through the engine";
}

TEST(Mensajes, CellTextsShowTheSignAndTheNameInElevenCharacters)
{
    elementos::Tipos tipos;
    const struct {
        const char *tipo, *nombre, *texto;
    } casos[] = {
        {"Importe", "Base", "$Base       "},
        {"Importe", "ImporteBase1234", "$ImporteBase"},
        {"Total", "T", "+T          "},
        {"Porcentaje", "IVA", "%IVA        "},
    };
    for (const auto &c : casos) {
        B_AStr_t *item = Suelto(c.tipo, {{ITEM_VAR_IDENTIFICADOR, c.nombre}});
        char buffer[ITEM_VALUE_LEN] = "";
        ItemText_t texto = {buffer, sizeof buffer};
        EXPECT_EQ(PlItemCallFn(item, ITEM_MSG_CELLTEXT, nullptr, &texto), 0);
        EXPECT_STREQ(buffer, c.texto) << c.nombre;
        B_AStrDest(item);
    }
}

TEST(Mensajes, ALabelWithoutTextAnswersAndStoresEtiqueta)
{
    elementos::Tipos tipos;
    for (const int mensaje : {ITEM_MSG_CELLTEXT, ITEM_MSG_VALUE}) {
        for (const bool vacio : {false, true}) {
            B_AStr_t *item = vacio ? Suelto("Etiqueta", {{ITEM_VAR_TEXTO, ""}}) : Suelto("Etiqueta", {});
            char buffer[ITEM_VALUE_LEN] = "";
            ItemText_t texto = {buffer, sizeof buffer};
            PlItemCallFn(item, mensaje, nullptr, &texto);
            EXPECT_STREQ(buffer, "Etiqueta") << mensaje;
            EXPECT_STREQ(VarGet(item, ITEM_VAR_TEXTO, "?"), "Etiqueta");
            B_AStrDest(item);
        }
    }
    B_AStr_t *item = Suelto("Etiqueta", {{ITEM_VAR_X, "1"}, {ITEM_VAR_Y, "1"}});
    ItemRect_t r = {};
    PlItemCallFn(item, ITEM_MSG_RECT, nullptr, &r);
    EXPECT_EQ(r.nX2, 9) << "as wide as Etiqueta";
    B_AStrDest(item);
}

TEST(Mensajes, RectanglesCoverTheItemsCellsOrAreMinusOne)
{
    elementos::Tipos tipos;
    const struct {
        const char *porque, *tipo;
        Pagina::Variables variables;
        ItemRect_t rect;
    } casos[] = {
        {"a label as wide as its text", "Etiqueta", {{"Texto", "Total:"}, {"X", "10"}, {"Y", "2"}}, {10, 2, 16, 3}},
        {"an amount 12 cells", "Importe", {{"X", "10"}, {"Y", "2"}}, {10, 2, 22, 3}},
        {"a total 12 cells", "Total", {{"X", "10"}, {"Y", "2"}}, {10, 2, 22, 3}},
        {"a percentage 12 cells", "Porcentaje", {{"X", " 0"}, {"Y", "7"}}, {0, 7, 12, 8}},
        {"no Y", "Importe", {{"X", "10"}}, {-1, -1, -1, -1}},
        {"no X", "Etiqueta", {{"Texto", "Hola"}, {"Y", "3"}}, {-1, -1, -1, -1}},
        {"a negative X", "Total", {{"X", "-1"}, {"Y", "3"}}, {-1, -1, -1, -1}},
    };
    for (const auto &c : casos) {
        B_AStr_t *item = Suelto(c.tipo, c.variables);
        ItemRect_t r = {7, 7, 7, 7};
        EXPECT_EQ(PlItemCallFn(item, ITEM_MSG_RECT, nullptr, &r), 0);
        EXPECT_EQ(std::vector<int>({r.nX1, r.nY1, r.nX2, r.nY2}),
                  std::vector<int>({c.rect.nX1, c.rect.nY1, c.rect.nX2, c.rect.nY2}))
            << c.porque;
        B_AStrDest(item);
    }
}

TEST(Mensajes, ANewPercentageTakesSixteenPerCent)
{
    elementos::Tipos tipos;
    Plantilla plantilla;
    B_AStr_t *porcentaje = plantilla.ItemNew("Porcentaje");
    B_AStr_t *total = plantilla.ItemNew("Total");
    EXPECT_STREQ(VarGet(porcentaje, ITEM_VAR_IDENTIFICADOR, ""), "Porcentaje1");
    EXPECT_STREQ(VarGet(porcentaje, ITEM_VAR_PORCENTAJE, "?"), "16");
    EXPECT_STREQ(VarGet(total, ITEM_VAR_PORCENTAJE, "none"), "none");
    B_AStrDest(porcentaje);
    B_AStrDest(total);
}

TEST(Mensajes, EveryTypeRefusesANameWithABlank)
{
    elementos::Tipos tipos;
    const struct {
        const char *nombre, *valor;
        int32_t respuesta;
    } casos[] = {
        {"identificador", "Base imponible", ITEM_REFUSED},
        {"Identificador", "Base_imponible", ITEM_OK},
        {"Texto", "Base imponible", ITEM_OK},
    };
    for (const char *tipo : {"Etiqueta", "Importe", "Total", "Porcentaje"}) {
        B_AStr_t *item = Suelto(tipo, {});
        for (const auto &c : casos) {
            ItemValidate_t cambio = {c.nombre, c.valor, nullptr};
            EXPECT_EQ(PlItemCallFn(item, ITEM_MSG_VALIDATE, nullptr, &cambio), c.respuesta) << tipo << c.nombre;
        }
        B_AStrDest(item);
    }
}

// --- totals and percentages ---

struct Moneda {
    bool euro, coma;
};

TEST(Calculo, TotalsAddTheAmountsAsTheirBoxesReadThem)
{
    const struct {
        const char *porque;
        Moneda moneda;
        const char *a, *b, *total;
    } casos[] = {
        {"euros, comma", {true, true}, "100,5", "20", "120,50"},
        {"euros, point", {true, false}, "100.5", "20", "120.50"},
        {"pesetas, comma", {false, true}, "100", "20", "120"},
        {"pesetas, point", {false, false}, "100", "20", "120"},
        {"thousands points", {true, true}, "1.234,5", "0,5", "1235,00"},
        {"thousands commas", {true, false}, "1,234.5", "0.5", "1235.00"},
        {"a point before one decimal is the separator", {true, true}, "12.5", "", "12,50"},
        {"pesetas with thousands points", {false, true}, "1.000", "20", "1020"},
        {"decimals in pesetas count nothing: the program refuses them", {false, true}, "120,5", "7", "7"},
        {"a third decimal counts nothing", {true, true}, "0,125", "1", "1,00"},
        {"points that group no thousands count nothing", {true, false}, "1,23,4", "1", "1.00"},
        {"nothing typed", {true, true}, "", "", "0,00"},
        {"ten digits", {true, true}, "9999999999", "9999999999", "19999999998,00"},
    };
    for (const auto &c : casos) {
        entorno::Regional regional(c.moneda.coma);
        elementos::Tipos tipos;
        elementos::Tipos::Euro(c.moneda.euro);
        Pagina pagina;
        pagina.Agrega("Importe", "A");
        pagina.Agrega("Importe", "B");
        pagina.Agrega("Total", "T", {{"Campos", "A + B"}});
        pagina.Coloca();
        pagina.Pon("A", c.a);
        pagina.Pon("B", c.b);
        EXPECT_EQ(pagina.Valor("T"), c.total) << c.porque;
        EXPECT_EQ(pagina.Caja("T")->text().toStdString(), c.total) << c.porque;
    }
}

TEST(Calculo, ValuesAreReadAsNumbersByTheRegionalSeparator)
{
    const struct {
        const char *porque;
        bool coma;
        const char *texto, *total;
    } casos[] = {
        {"grouping and currency signs go", true, "1.234,5 EUR", "1234,50"},
        {"a minus sign counts", true, "-0,125", "-0,13"},
        {"what follows a minus inside stops the number", true, "1-2", "1,00"},
        {"letters go", false, "a1b2.5c", "12.50"},
        {"the other separator is grouping", false, "1,234.5", "1234.50"},
        {"no digits", true, "Etiqueta", "0,00"},
        {"rounding to zero shows no sign", true, "-0,001", "0,00"},
    };
    for (const auto &c : casos) {
        entorno::Regional regional(c.coma);
        elementos::Tipos tipos;
        Pagina pagina;
        pagina.Agrega("Etiqueta", "L", {{"Texto", c.texto}});
        pagina.Agrega("Total", "T", {{"Campos", "L"}});
        EXPECT_EQ(pagina.Valor("T"), c.total) << c.porque;
    }
}

TEST(Calculo, APercentageShowsItsValueShortInItsBoxAndWholeWithoutOne)
{
    const struct {
        const char *porque;
        Moneda moneda;
        const char *tasa, *base;
        bool caja;
        const char *valor;
    } casos[] = {
        {"16% of 100 in a box", {true, true}, "16", "100", true, "16"},
        {"16% of 100 without a box", {true, true}, "16", "100", false, "16,00"},
        {"half a unit in a box", {true, true}, "50", "25", true, "12,5"},
        {"half a unit without a box", {true, true}, "50", "25", false, "12,50"},
        {"point settings", {true, false}, "16", "100", false, "16.00"},
        {"pesetas", {false, true}, "16", "100", true, "16"},
        {"pesetas round", {false, true}, "16", "103", false, "16"},
        {"a rate of 16.5 reads 16", {true, true}, "16.5", "100", false, "16,00"},
        {"no rate", {true, true}, nullptr, "100", false, "0,00"},
        {"exact per cent rounds half up", {true, true}, "1", "0,5", false, "0,01"},
        {"a whole result keeps its zeros", {true, true}, "100", "100", true, "100"},
    };
    for (const auto &c : casos) {
        entorno::Regional regional(c.moneda.coma);
        elementos::Tipos tipos;
        elementos::Tipos::Euro(c.moneda.euro);
        Pagina pagina;
        pagina.Agrega("Etiqueta", "Base", {{"Texto", c.base}});
        Pagina::Variables variables = {{"Campos", "Base"}};
        if (c.tasa)
            variables.push_back({"Porcentaje", c.tasa});
        B_AStr_t *porcentaje = pagina.Agrega("Porcentaje", "P", variables);
        if (c.caja) {
            ItemCreate_t creacion = {&pagina.panel, nullptr};
            PlItemCallFn(porcentaje, ITEM_MSG_CREATE, &pagina.plantilla, &creacion);
        }
        EXPECT_EQ(pagina.Valor("P"), c.valor) << c.porque;
        if (c.caja) {
            EXPECT_EQ(pagina.Caja("P")->text().toStdString(), c.valor) << c.porque;
        }
    }
}

TEST(Calculo, UnknownFieldsCountNothingAndCirclesCountZero)
{
    entorno::Regional regional(true);
    elementos::Tipos tipos;
    const struct {
        const char *porque, *campos, *valor;
    } casos[] = {
        {"empty", "", "0,00"},
        {"only blanks and signs", " + + ", "0,00"},
        {"unknown names", "Nada + Otra", "0,00"},
        {"unknown names are skipped", "Nada+cinco", "5,00"},
        {"a total naming itself counts it 0", "cinco + T", "5,00"},
        {"a circle through another total", "cinco + U", "10,00"},
    };
    for (const auto &c : casos) {
        Pagina pagina;
        pagina.Agrega("Etiqueta", "Cinco", {{"Texto", "5"}});
        pagina.Agrega("Total", "T", {{"Campos", c.campos}});
        pagina.Agrega("Total", "U", {{"Campos", "T + cinco"}});
        EXPECT_EQ(pagina.Valor("T"), c.valor) << c.porque;
    }
}

TEST(Calculo, WithoutABufferTheResultGoesToTheSharedNumberBuffer)
{
    entorno::Regional regional(true);
    elementos::Tipos tipos;
    Pagina pagina;
    pagina.Agrega("Etiqueta", "Base", {{"Texto", "50"}});
    pagina.Agrega("Total", "T", {{"Campos", "Base"}});
    pagina.Agrega("Porcentaje", "P", {{"Campos", "Base"}, {"Porcentaje", "10"}});
    for (const int mensaje : {ITEM_MSG_VALUE, ITEM_MSG_RECALC}) {
        std::strcpy(VarNumBuffer(), "x");
        PlItemCallFn(pagina.Item("T"), mensaje, &pagina.plantilla, nullptr);
        EXPECT_STREQ(VarNumBuffer(), "50,00");
        PlItemCallFn(pagina.Item("P"), mensaje, &pagina.plantilla, nullptr);
        EXPECT_STREQ(VarNumBuffer(), "5,00");
    }
}

// --- the caller's buffers ---

TEST(Buffers, TextsAreCutToTheCallersBufferAndNeverOverrunIt)
{
    entorno::Regional regional(true);
    elementos::Tipos tipos;
    Pagina pagina;
    const std::string largo(100, 'L');
    pagina.Agrega("Etiqueta", "Etiqueta1", {{"Texto", largo.c_str()}});
    pagina.Agrega("Importe", "ImporteLargo15c");
    pagina.Agrega("Total", "T", {{"Campos", "Importe1"}});
    pagina.Agrega("Porcentaje", "P", {{"Campos", "ImporteLargo15c"}});
    pagina.Coloca();
    pagina.Pon("ImporteLargo15c", "98765432,12");
    const struct {
        const char *nombre;
        int mensaje;
    } casos[] = {
        {"Etiqueta1", ITEM_MSG_CELLTEXT}, {"Etiqueta1", ITEM_MSG_VALUE},     {"ImporteLargo15c", ITEM_MSG_CELLTEXT},
        {"ImporteLargo15c", ITEM_MSG_VALUE}, {"T", ITEM_MSG_CELLTEXT},      {"T", ITEM_MSG_VALUE},
        {"T", ITEM_MSG_RECALC},            {"P", ITEM_MSG_VALUE},           {"P", ITEM_MSG_RECALC},
    };
    for (const auto &c : casos) {
        char completo[ITEM_FIELD_VALUE_LEN] = "";
        ItemText_t todo = {completo, sizeof completo};
        PlItemCallFn(pagina.Item(c.nombre), c.mensaje, &pagina.plantilla, &todo);
        ASSERT_GT(std::strlen(completo), 0u) << c.nombre;
        for (const size_t tamano : {size_t(1), size_t(12), size_t(81)}) {
            char buffer[200];
            std::memset(buffer, 'Z', sizeof buffer);
            ItemText_t texto = {buffer, tamano};
            PlItemCallFn(pagina.Item(c.nombre), c.mensaje, &pagina.plantilla, &texto);
            const std::string porque = std::string(c.nombre) + " message " + std::to_string(c.mensaje) +
                                       " into " + std::to_string(tamano);
            EXPECT_EQ(std::string(buffer + tamano, sizeof buffer - tamano), std::string(sizeof buffer - tamano, 'Z'))
                << porque;
            EXPECT_EQ(std::string(buffer), std::string(completo).substr(0, tamano - 1)) << porque;
        }
    }
}

// --- misuse ---

struct Avisos {
    Avisos()
    {
        std::filesystem::current_path(dir.path()); // debug.log goes there
        const B_DebugDisplay_t pantalla = {Registra, nullptr, this};
        DebugSetDisplay(&pantalla);
    }
    ~Avisos()
    {
        DebugSetDisplay(nullptr);
        std::filesystem::current_path(antes);
    }
    static int Registra(void *contexto, const char *, const char *texto, int)
    {
        static_cast<Avisos *>(contexto)->textos.push_back(texto);
        return B_DEBUG_OK;
    }
    testutil::TempDir dir;
    std::filesystem::path antes = std::filesystem::current_path();
    std::vector<std::string> textos;
};

TEST(Abusos, ANullItemTemplateOrArgumentIsAnAssertionAndNothingMore)
{
    elementos::Tipos tipos;
    auto importe = elementos::Tipos::Funcion<ItemFn_t>("_ItemImporteFunc");
    auto total = elementos::Tipos::Funcion<ItemFn_t>("_ItemTotalFunc");
    auto etiqueta = elementos::Tipos::Funcion<ItemFn_t>("_ItemLabelFunc");
    ASSERT_TRUE(importe && total && etiqueta);
    Pagina pagina;
    B_AStr_t *item = pagina.Agrega("Importe", "A");
    char buffer[ITEM_VALUE_LEN] = "sin tocar";
    ItemText_t texto = {buffer, sizeof buffer};
    ItemText_t sinBuffer = {nullptr, 10};
    ItemCreate_t sinPadre = {nullptr, nullptr};
    ItemCreate_t creacion = {&pagina.panel, nullptr};
    const struct {
        const char *condicion;
        ItemFn_t funcion;
        B_AStr_t *item;
        int mensaje;
        Plantilla *plantilla;
        void *arg;
    } casos[] = {
        {"pvar != NULL", total, nullptr, ITEM_MSG_VALUE, &pagina.plantilla, &texto},
        {"pvar != NULL", etiqueta, nullptr, ITEM_MSG_CELLTEXT, nullptr, &texto},
        {"pcBuffer != NULL", importe, item, ITEM_MSG_CELLTEXT, nullptr, nullptr},
        {"pcBuffer != NULL", importe, item, ITEM_MSG_VALUE, nullptr, &sinBuffer},
        {"pcBuffer != NULL", total, item, ITEM_MSG_RECALC, nullptr, &sinBuffer},
        {"prect != NULL", etiqueta, item, ITEM_MSG_RECT, nullptr, nullptr},
        {"pcValue != NULL", importe, item, ITEM_MSG_SETVALUE, nullptr, nullptr},
        {"piev != NULL", importe, item, ITEM_MSG_CREATE, &pagina.plantilla, nullptr},
        {"piev->pParent != NULL", importe, item, ITEM_MSG_CREATE, &pagina.plantilla, &sinPadre},
        {"ppl != NULL", importe, item, ITEM_MSG_CREATE, nullptr, &creacion},
        {"piev != NULL", total, item, ITEM_MSG_VALIDATE, nullptr, nullptr},
    };
    for (const auto &c : casos) {
        Avisos avisos;
        EXPECT_EQ(c.funcion(c.item, c.mensaje, c.plantilla, c.arg), 0) << c.condicion;
        ASSERT_EQ(avisos.textos.size(), 1u) << c.condicion;
        EXPECT_NE(avisos.textos[0].find(c.condicion), std::string::npos) << avisos.textos[0];
        EXPECT_NE(testutil::readFile(avisos.dir.file("debug.log")).find(c.condicion), std::string::npos);
    }
    EXPECT_STREQ(buffer, "sin tocar");
    EXPECT_EQ(creacion.pCtrl, nullptr);
    EXPECT_TRUE(pagina.panel.children().isEmpty()) << "no owner and no control were made";
}

} // namespace
