// The template engine against the test plug-in: items.ini, the registry, the plug-in's
// strings, the Plantilla methods, every protocol message and the concept slices.
#include "b_mem.h"
#include "dll.h"
#include "plantillas.h"
#include "sandbox.h"
#include "vars.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using quentaro_test::ProgramDir;
using quentaro_test::Sandbox;

namespace {

const char *const kTypes = "[Elemento_0]\nNombre=Etiqueta\nDLL=Pruebas.dll\nFuncion=TestLabelFunc\nHint=100\n"
                           "[Elemento_1]\nNombre=Importe\nDLL=Pruebas.dll\nFuncion=TestImporteFunc\n"
                           "[Elemento_2]\nNombre=Total\nDLL=Pruebas.dll\nFuncion=TestTotalFunc\n"
                           "[Elemento_3]\nNombre=Eco\nDLL=Pruebas.dll\nFuncion=TestEcoFunc\n";

class Engine : public ::testing::Test {
protected:
    void SetUp() override
    {
        program.install("libpruebas.so");
        DLLInit();
    }
    void TearDown() override
    {
        PlClose();
        DLLClose();
    }

    void init(const std::string &ini = kTypes)
    {
        testutil::writeFile(program.dir.file("items.ini"), ini);
        PlInit(program.dir.file("items.ini").c_str());
    }

    static std::vector<std::string> names()
    {
        std::vector<std::string> result;
        for (int i = 0; i < StackTop(PlTiposItem()); ++i)
            result.push_back(VarGet(type(i), "Nombre", "?"));
        return result;
    }
    static B_AStr_t *type(int index)
    {
        return *static_cast<B_AStr_t **>(GiveMeThePointerToElement(PlTiposItem(), index));
    }

    // Adds an item of the type at (x, y) with the given extra variables; fails the test when
    // the template refuses it.
    B_AStr_t *add(const char *tipo, const char *name, const char *x = "0", const char *y = "0",
                  std::vector<std::pair<const char *, const char *>> vars = {})
    {
        B_AStr_t *item = VarCons(nullptr, nullptr);
        VarSet(item, "Tipo", tipo);
        VarSet(item, "Identificador", name);
        VarSet(item, "X", x);
        VarSet(item, "Y", y);
        for (auto &[var, value] : vars)
            VarSet(item, var, value);
        EXPECT_EQ(plantilla.ItemAdd(item), 0) << name;
        return item;
    }

    B_AStr_t *byName(const char *name)
    {
        int index = plantilla.ItemByName(name);
        return *static_cast<B_AStr_t **>(GiveMeThePointerToElement(&plantilla.stkItems, index));
    }

    std::string value(B_AStr_t *item, size_t size = ITEM_VALUE_LEN)
    {
        std::string buffer(size, '#');
        ItemText_t text = {buffer.data(), size};
        PlItemCallFn(item, ITEM_MSG_VALUE, &plantilla, &text);
        return buffer.c_str();
    }

    // Creates the item's control; freed with the fixture, clearing _UI_Ctrl first.
    char *control(B_AStr_t *item)
    {
        int parent = 0;
        ItemCreate_t create = {&parent, nullptr};
        EXPECT_EQ(PlItemCallFn(item, ITEM_MSG_CREATE, &plantilla, &create), ITEM_OK);
        controls.push_back({item, static_cast<char *>(create.pCtrl)});
        return static_cast<char *>(create.pCtrl);
    }

    ~Engine() override
    {
        for (auto &[item, ctrl] : controls) {
            PlItemSetCtrl(item, nullptr);
            B_free(ctrl);
        }
    }

    ProgramDir program;
    Plantilla plantilla;
    std::vector<std::pair<B_AStr_t *, char *>> controls;
};

// Section n of an items.ini with the given lines.
std::string sectionWith(int n, const std::string &lines)
{
    return "[Elemento_" + std::to_string(n) + "]\n" + lines;
}

// A well-formed section of the echo type named name.
std::string section(int n, const char *name, const char *function = "TestEcoFunc")
{
    return sectionWith(n, std::string("Nombre=") + name + "\nDLL=Pruebas.dll\nFuncion=" + function + "\n");
}

TEST_F(Engine, ItemsIniRegistersContiguousWellFormedSectionsOnly)
{
    const std::string keysOfA = "Nombre=A\nDLL=Pruebas.dll\nFuncion=TestEcoFunc\n";
    struct Row {
        const char *why;
        std::string ini;
        std::vector<std::string> expected;
    };
    const Row rows[] = {
        {"a gap in the numbers ends the registry",
         section(0, "A") + section(1, "B") + section(3, "C"), {"A", "B"}},
        {"a name again in another case is dropped",
         section(0, "Etiqueta") + section(1, "ETIQUETA") + section(2, "C"), {"Etiqueta", "C"}},
        {"a function the library does not export is dropped",
         section(0, "A", "NoExiste") + section(1, "B"), {"B"}},
        {"a library that does not load is dropped",
         sectionWith(0, "Nombre=A\nDLL=Ninguna.dll\nFuncion=TestEcoFunc\n") + section(1, "B"), {"B"}},
        {"a section without Funcion or Nombre is dropped",
         sectionWith(0, "Nombre=A\nDLL=Pruebas.dll\n") + sectionWith(1, "DLL=Pruebas.dll\nFuncion=TestEcoFunc\n") +
             section(2, "C"),
         {"C"}},
        {"no section 0", section(1, "A"), {}},
        {"a section holding no key ends the registry",
         section(0, "A") + sectionWith(1, "# nada\nsin igual\n") + section(2, "C"), {"A"}},
        {"section names match without case; text after ] is ignored", "[ELEMENTO_0] resto\n" + keysOfA, {"A"}},
        {"the next section ends one", sectionWith(0, "DLL=Pruebas.dll\nFuncion=TestEcoFunc\n[Otra]\nNombre=A\n"),
         {}},
        {"sections in any order in the file", section(1, "B") + section(0, "A"), {"A", "B"}},
    };
    for (const Row &row : rows) {
        init(row.ini);
        EXPECT_EQ(names(), row.expected) << row.why;
    }
}

TEST_F(Engine, ALineIsTrimmedCutToItsLimitAndOnlyKeyLinesCount)
{
    std::string longValue(3000, 'v');
    init("[Elemento_0]\n"
         "   Nombre  =  Etiqueta   \r\n"
         "\tDLL\t=Pruebas.dll\n"
         "# Funcion=Comentada\n"
         "' Icono=Comentada\n"
         "una linea sin igual\n"
         "Funcion=TestEcoFunc\n"
         "Ayuda=" + longValue + "=Trozo\n"
         "Hint = a = b\n");
    ASSERT_EQ(names(), std::vector<std::string>{"Etiqueta"});
    B_AStr_t *t = type(0);
    EXPECT_STREQ(VarGet(t, "DLL", ""), "Pruebas.dll");
    EXPECT_STREQ(VarGet(t, "Icono", "ninguno"), "ninguno");
    EXPECT_EQ(std::string(VarGet(t, "Ayuda", "")), std::string(1023 - 6, 'v')) << "lines keep 1023 characters";
    EXPECT_EQ(VarFind(t, "Trozo"), nullptr) << "the rest of a long line is no line of its own";
    EXPECT_STREQ(VarGet(t, "Hint", ""), "a = b");
    EXPECT_EQ(t->nStrs, 10);
}

TEST_F(Engine, ASectionKeepsTheEntriesThatFitIn32768Bytes)
{
    std::string ini = section(0, "Grande");
    for (int k = 0; k < 40; ++k)
        ini += "K" + std::to_string(k) + "=" + std::string(1000, 'k') + "\n";
    init(ini + "Final=1\n");
    ASSERT_EQ(names(), std::vector<std::string>{"Grande"});
    EXPECT_NE(VarFind(type(0), "K31"), nullptr);
    EXPECT_EQ(VarFind(type(0), "K32"), nullptr) << "the first entry that does not fit ends the section";
    EXPECT_EQ(VarFind(type(0), "Final"), nullptr);
}

TEST_F(Engine, ADroppedTypeLeavesItsLibraryLoadedAndAMissingFileLeavesNoTypes)
{
    std::string solo = program.install("libsolo.so");
    init(sectionWith(0, "Nombre=A\nDLL=Solo.dll\nFuncion=NoExiste\n") + section(1, "B"));
    EXPECT_EQ(names(), std::vector<std::string>{"B"});
    EXPECT_NE(dlopen(solo.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr);
    init();
    EXPECT_EQ(names(), (std::vector<std::string>{"Etiqueta", "Importe", "Total", "Eco"}))
        << "a second init replaces";
    PlInit(program.dir.file("no-existe.ini").c_str());
    EXPECT_TRUE(names().empty());
    EXPECT_EQ(PlTipoItemByName("Etiqueta"), -1);
}

TEST_F(Engine, VariablesAndStringsComeFromTheItemThenItsType)
{
    Sandbox sandbox;
    init();
    B_AStr_t *label = add("Etiqueta", "E1", "0", "0", {{"Hint", "propio"}});
    B_AStr_t *amount = add("importe", "I1");
    EXPECT_EQ(PlItemTipo(amount), type(1));
    EXPECT_STREQ(PlItemVar(label, "hint", "def"), "propio");
    EXPECT_STREQ(PlItemVar(amount, "Funcion", "def"), "TestImporteFunc");
    EXPECT_STREQ(PlItemVar(amount, "Icono", "def"), "def");
    EXPECT_STREQ(PlItemVar(amount, "", "def"), "def");

    EXPECT_STREQ(PlTipoItemStr(type(0), 100, "def"), "Etiqueta de texto");
    EXPECT_STREQ(PlTipoItemStr(type(0), 101, "def"), "def") << "an empty string";
    EXPECT_STREQ(PlItemStr(label, 999, "def"), "def") << "no such string";
    EXPECT_EQ(std::string(PlItemStr(label, 102, "def")), std::string(PL_STRING_LEN - 1, 'x'));
    PlSetLanguage(700);
    EXPECT_STREQ(PlItemStr(label, 100, "def"), "Etiqueta");
    auto language = reinterpret_cast<int32_t (*)()>(dlsym(DLLInstance("PRUEBAS.DLL"), "TestLanguage"));
    ASSERT_NE(language, nullptr);
    EXPECT_EQ(language(), 700);

    B_AStr_t *orphan = VarCons(nullptr, nullptr);
    VarSet(orphan, "Tipo", "Nada");
    EXPECT_STREQ(PlItemStr(orphan, 100, "def"), "def");
    VarSet(orphan, "Nombre", "Nada");
    EXPECT_STREQ(PlTipoItemStr(orphan, 100, "def"), "def");
    VarSet(orphan, "DLL", "Ninguna.dll");
    EXPECT_STREQ(PlTipoItemStr(orphan, 100, "def"), "def");
    B_AStrDest(orphan);
    EXPECT_EQ(sandbox.messages(),
              (std::vector<std::string>{"No se puede buscar un dato sin nombre", "Tipo sin DLL",
                                        "La DLL no existe"}));
}

TEST_F(Engine, ItemNewNamesTheItemAfterTheFirstFreeNumber)
{
    init();
    add("Importe", "Importe1");
    add("Importe", "IMPORTE3");
    B_AStr_t *item = plantilla.ItemNew("Importe");
    ASSERT_NE(item, nullptr);
    EXPECT_STREQ(VarGet(item, "Identificador", ""), "Importe2");
    B_AStrDest(item);
    item = plantilla.ItemNew("importe");
    EXPECT_STREQ(VarGet(item, "Tipo", ""), "importe") << "the type name as passed";
    EXPECT_STREQ(VarGet(item, "Identificador", ""), "importe2");
    EXPECT_EQ(StackTop(&plantilla.stkItems), 2) << "not added";
    B_AStrDest(item);

    item = plantilla.ItemNew("Total");
    EXPECT_STREQ(VarGet(item, "Porcentaje", ""), "100") << "message 1 set the defaults";
    B_AStrDest(item);
    item = plantilla.ItemNew("Eco");
    char expected[64];
    void *none = nullptr;
    std::snprintf(expected, sizeof expected, "1 %p %p", none, none);
    EXPECT_STREQ(VarGet(item, "Recibido", ""), expected) << "template and argument null";
    B_AStrDest(item);
    EXPECT_EQ(plantilla.ItemNew("Nada"), nullptr);
}

TEST_F(Engine, ItemAddRefusesAndLeavesTheTemplateUnchanged)
{
    init();
    add("Importe", "Base");
    struct Row {
        const char *why;
        std::vector<std::pair<const char *, const char *>> vars;
    };
    const Row rows[] = {
        {"X negative", {{"Tipo", "Importe"}, {"Identificador", "A"}, {"X", "-1"}, {"Y", "0"}}},
        {"Y negative", {{"Tipo", "Importe"}, {"Identificador", "A"}, {"X", "0"}, {"Y", " -2"}}},
        {"no X", {{"Tipo", "Importe"}, {"Identificador", "A"}, {"Y", "0"}}},
        {"no Y", {{"Tipo", "Importe"}, {"Identificador", "A"}, {"X", "0"}}},
        {"empty name", {{"Tipo", "Importe"}, {"Identificador", ""}, {"X", "0"}, {"Y", "0"}}},
        {"no name", {{"Tipo", "Importe"}, {"X", "0"}, {"Y", "0"}}},
        {"name used in another case", {{"Tipo", "Importe"}, {"Identificador", "BASE"}, {"X", "0"}, {"Y", "0"}}},
        {"type not registered", {{"Tipo", "Nada"}, {"Identificador", "A"}, {"X", "0"}, {"Y", "0"}}},
        {"no type", {{"Identificador", "A"}, {"X", "0"}, {"Y", "0"}}},
    };
    for (const Row &row : rows) {
        B_AStr_t *item = VarCons(nullptr, nullptr);
        for (auto &[var, value] : row.vars)
            VarSet(item, var, value);
        EXPECT_EQ(plantilla.ItemAdd(item), -1) << row.why;
        EXPECT_EQ(StackTop(&plantilla.stkItems), 1) << row.why;
        B_AStrDest(item);
    }
}

TEST_F(Engine, ItemsAreFoundByNameWithoutCase)
{
    Sandbox sandbox;
    init();
    add("Importe", "Base");
    B_AStr_t *iva = add("Importe", "Iva");
    EXPECT_EQ(plantilla.ItemByName("IVA"), 1);
    EXPECT_EQ(plantilla.ItemByName("Nada"), -1);
    EXPECT_EQ(plantilla.TestItemName("base"), 1);
    VarSet(iva, "Identificador", "BASE");
    EXPECT_EQ(plantilla.ItemByName("base"), 0);
    EXPECT_EQ(sandbox.messages(), std::vector<std::string>{"Mas de un elemento tiene el nombre [base]"});
    plantilla.Flush();
    EXPECT_EQ(StackTop(&plantilla.stkItems), 0);
    EXPECT_EQ(plantilla.nId, -1);
}

TEST_F(Engine, CellTextAndRectangles)
{
    init();
    B_AStr_t *label = add("Etiqueta", "E", "10", "2", {{"Texto", ""}});
    B_AStr_t *base = add("Importe", "Base", "10", "2");
    B_AStr_t *longName = add("Total", "NombreMuyLargo1", "0", "7");
    char buffer[16];
    auto cellText = [&](B_AStr_t *item, size_t size) {
        std::memset(buffer, '#', sizeof buffer);
        ItemText_t text = {buffer, size};
        EXPECT_EQ(PlItemCallFn(item, ITEM_MSG_CELLTEXT, &plantilla, &text), ITEM_OK);
        return std::string(buffer, sizeof buffer);
    };
    EXPECT_EQ(cellText(label, 6), std::string("Etiqu\0##########", 16)) << "cut to the capacity";
    EXPECT_STREQ(VarGet(label, "Texto", ""), "Etiqueta");
    EXPECT_EQ(cellText(base, 16).c_str(), std::string("$Base       "));
    EXPECT_EQ(cellText(longName, 16).c_str(), std::string("+NombreMuyLa"));

    auto rect = [&](B_AStr_t *item) {
        ItemRect_t r = {7, 7, 7, 7};
        PlItemCallFn(item, ITEM_MSG_RECT, &plantilla, &r);
        return std::vector<int>{r.nX1, r.nY1, r.nX2, r.nY2};
    };
    VarSet(label, "Texto", "Total");
    EXPECT_EQ(rect(label), (std::vector<int>{10, 2, 15, 3}));
    EXPECT_EQ(rect(base), (std::vector<int>{10, 2, 22, 3}));
    VarSet(base, "Y", "-1");
    EXPECT_EQ(rect(base), (std::vector<int>{-1, -1, -1, -1}));
}

TEST_F(Engine, ValuesFlowFromControlsIntoTotals)
{
    init();
    B_AStr_t *a = add("Importe", "A");
    B_AStr_t *b = add("Importe", "B");
    B_AStr_t *total = add("Total", "T", "0", "1", {{"Campos", " a + B +  + Nada"}, {"Porcentaje", "100"}});
    EXPECT_EQ(value(a), "") << "no control yet";
    char *ctrlA = control(a);
    EXPECT_EQ(PlItemCtrl(a), ctrlA);
    control(b);
    char *ctrlT = control(total);
    std::string padded = "  100.5" + std::string(600, ' ');
    PlItemCallFn(a, ITEM_MSG_SETVALUE, &plantilla, padded.data());
    EXPECT_STREQ(ctrlA, "100.5");
    PlItemCallFn(b, ITEM_MSG_SETVALUE, &plantilla, const_cast<char *>("20"));
    EXPECT_EQ(value(total), "120.50");
    EXPECT_EQ(value(total, 4), "120") << "cut to the capacity";
    std::strcpy(VarNumBuffer(), "sin tocar");
    PlItemCallFn(total, ITEM_MSG_VALUE, &plantilla, nullptr);
    EXPECT_STREQ(VarNumBuffer(), "120.50") << "a null argument writes the number buffer";
    PlItemCallFn(b, ITEM_MSG_SETVALUE, &plantilla, const_cast<char *>("30"));
    EXPECT_STREQ(ctrlT, "120.50") << "shown by the last value asked";
    PlItemCallFn(total, ITEM_MSG_RECALC, &plantilla, nullptr);
    EXPECT_STREQ(ctrlT, "130.50");
    PlItemSetCtrl(a, nullptr);
    EXPECT_EQ(PlItemCtrl(a), nullptr);
    EXPECT_STREQ(VarGet(a, "_UI_Ctrl", ""), "0");
    EXPECT_EQ(value(a), "") << "a cleared control is not reached";
}

TEST_F(Engine, TotalsReachingThemselvesCountThemselvesAsZero)
{
    init();
    B_AStr_t *a = add("Importe", "A");
    std::strcpy(control(a), "10");
    struct Row {
        const char *why;
        const char *name;
        const char *campos;
        const char *expected;
    };
    const Row rows[] = {
        {"itself directly", "T1", "A+T1", "10.00"},
        {"through another total: T3 counts T2 as 0", "T2", "T3+A", "20.00"},
        {"the other one of the circle", "T3", "T2+A", "20.00"},
        {"only itself", "T4", "T4", "0.00"},
    };
    for (const Row &row : rows)
        add("Total", row.name, "0", "0", {{"Campos", row.campos}, {"Porcentaje", "100"}});
    for (const Row &row : rows)
        EXPECT_EQ(value(byName(row.name)), row.expected) << row.why;
}

TEST_F(Engine, ValidationRefusesABlankInTheIdentifier)
{
    init();
    B_AStr_t *item = add("Importe", "A");
    struct Row {
        const char *name;
        const char *value;
        int32_t expected;
    };
    const Row rows[] = {
        {"Identificador", "con blanco", ITEM_REFUSED},
        {"identificador", "con blanco", ITEM_REFUSED},
        {"Identificador", "sinblanco", ITEM_OK},
        {"Texto", "con blanco", ITEM_OK},
    };
    for (const Row &row : rows) {
        ItemValidate_t change = {row.name, row.value, nullptr};
        EXPECT_EQ(PlItemCallFn(item, ITEM_MSG_VALIDATE, &plantilla, &change), row.expected)
            << row.name << row.value;
        EXPECT_EQ(change.pcMessage != nullptr, row.expected == ITEM_REFUSED);
    }
    EXPECT_EQ(PlItemCallFn(item, 9, &plantilla, nullptr), ITEM_OK) << "other codes";
}

TEST_F(Engine, TheCallPassesEverythingThroughAndReturnsTheAnswer)
{
    init();
    B_AStr_t *eco = add("ECO", "E");
    int argument = 0;
    for (int32_t code : {1, 2, 3, 4, 5, 6, 7, 8, 42}) {
        EXPECT_EQ(PlItemCallFn(eco, code, &plantilla, &argument), 1000 + code);
        char expected[64];
        std::snprintf(expected, sizeof expected, "%d %p %p", code, static_cast<void *>(&plantilla),
                      static_cast<void *>(&argument));
        EXPECT_STREQ(VarGet(eco, "Recibido", ""), expected);
    }
}

TEST_F(Engine, ACallThatReachesNoFunctionAnswersNothing)
{
    Sandbox sandbox;
    init();
    struct Row {
        const char *why;
        const char *var;
        const char *value;
        const char *message;
    };
    const Row rows[] = {
        {"type not registered", "Tipo", "Nada", "El tipo de elemento no existe."},
        {"library gone", "DLL", "Ninguna.dll", "La DLL no existe"},
        {"function gone", "Funcion", "NoExiste", "La funcion no existe en la DLL"},
    };
    for (const Row &row : rows) {
        B_AStr_t *item = add("Eco", row.why);
        B_AStr_t *ecoType = type(3);
        std::string saved = VarGet(ecoType, row.var, "");
        VarSet(std::string(row.var) == "Tipo" ? item : ecoType, row.var, row.value);
        char buffer[8] = "lleno";
        ItemText_t text = {buffer, sizeof buffer};
        EXPECT_EQ(PlItemCallFn(item, ITEM_MSG_VALUE, &plantilla, &text), PL_CALL_NONE) << row.why;
        EXPECT_STREQ(buffer, "") << row.why;
        ItemRect_t r = {1, 2, 3, 4};
        PlItemCallFn(item, ITEM_MSG_RECT, &plantilla, &r);
        EXPECT_EQ(r.nX1 + r.nY1 + r.nX2 + r.nY2, -4) << row.why;
        EXPECT_EQ(sandbox.messages().back(), row.message) << row.why;
        VarSet(ecoType, row.var, saved.c_str());
    }
    // An item called before follows its type's change all the same; mended, it reaches its
    // function again, and so it does once the library cache has been closed and started
    // again.
    B_AStr_t *eco = add("Eco", "mended");
    int argument = 0;
    EXPECT_EQ(PlItemCallFn(eco, 42, &plantilla, &argument), 1042);
    VarSet(eco, "Tipo", "Nada");
    EXPECT_EQ(PlItemCallFn(eco, 42, &plantilla, &argument), PL_CALL_NONE);
    EXPECT_EQ(sandbox.messages().back(), "El tipo de elemento no existe.");
    VarSet(eco, "Tipo", "Eco");
    EXPECT_EQ(PlItemCallFn(eco, 42, &plantilla, &argument), 1042);
    DLLClose();
    DLLInit();
    EXPECT_EQ(PlItemCallFn(eco, 42, &plantilla, &argument), 1042);
}

TEST(Concept, SlicesAndPutsStayInsideThePage)
{
    std::string page(ITEM_CONCEPT_LEN, ' ');
    for (int i = 0; i < ITEM_CONCEPT_LEN; ++i)
        page[i] = char('a' + i % 26);
    struct Row {
        const char *why;
        ItemRect_t rect;
        size_t size;
        size_t expected;
        size_t offset;
    };
    const Row rows[] = {
        {"one line", {10, 2, 22, 3}, 81, 12, 170},
        {"two lines", {0, 0, 80, 2}, 200, 160, 0},
        {"the page's last cell", {79, 7, 91, 8}, 81, 1, 639},
        {"cut to the buffer", {0, 0, 80, 1}, 11, 10, 0},
        {"no position", {-1, -1, -1, -1}, 81, 0, 0},
        {"below the page", {0, 8, 12, 9}, 81, 0, 0},
    };
    for (const Row &row : rows) {
        std::string out(row.size + 4, '#');
        EXPECT_EQ(PlConceptSlice(page.c_str(), &row.rect, out.data(), row.size), row.expected) << row.why;
        EXPECT_EQ(std::string(out.c_str()), page.substr(row.offset, row.expected)) << row.why;
        EXPECT_EQ(out.substr(row.size), "####") << row.why;
    }
    ItemRect_t all = {0, 0, 80, 8};
    char out[700];
    EXPECT_EQ(PlConceptSlice("corto", &all, out, sizeof out), 5u) << "a short concept ends at its terminator";

    std::string composed(ITEM_CONCEPT_LEN + 4, '#');
    std::fill_n(composed.begin(), ITEM_CONCEPT_LEN, ' ');
    EXPECT_EQ(PlConceptPut(composed.data(), 75, 7, "0123456789"), 5u);
    EXPECT_EQ(PlConceptPut(composed.data(), 0, 0, "abc"), 3u);
    EXPECT_EQ(PlConceptPut(composed.data(), 80, 0, "x"), 0u);
    EXPECT_EQ(PlConceptPut(composed.data(), 0, 8, "x"), 0u);
    EXPECT_EQ(PlConceptPut(composed.data(), -1, 0, "x"), 0u);
    EXPECT_EQ(composed.substr(0, 4), "abc ");
    EXPECT_EQ(composed.substr(ITEM_CONCEPT_LEN - 6), " 01234####");
}

} // namespace
