// The template engine's start and end, and templates laid out, composed and totalled.
#include "Aplicaplantillas.h"

#include "Cfgfile.h"
#include "copias.h"
#include "dll.h"
#include "elementos.h"
#include "entorno.h"
#include "vars.h"

#include <QLabel>
#include <QLineEdit>
#include <array>
#include <cstring>
#include <memory>
#include "plantillas.h"
#include "testutil.h"

#include <gtest/gtest.h>

namespace {

TEST(Aplicaplantillas, StartRegistersTheItemTypesAndEndUnloadsThem)
{
    testutil::TempDir dir;
    testutil::writeFile(dir.file("items.ini"), std::string("[Elemento_0]\nNombre=Etiqueta\nDLL=") + TEST_PLUGIN +
                                                   "\nFuncion=TestLabelFunc\n");
    EXPECT_EQ(IniciaPlantillas(dir.file("items.ini")), 0);
    EXPECT_EQ(PlTipoItemByName("Etiqueta"), 0) << "the plug-in cache was started before the registry";
    FinPlantillas();
    EXPECT_EQ(PlTipoItemByName("Etiqueta"), -1);
    EXPECT_EQ(DLLInstance(TEST_PLUGIN), nullptr) << "the cache is closed";
}

} // namespace

namespace {

// A stored template laid out with the build's items plug-in on the shipped database, in
// euros with "," for decimals.
class Maqueta : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bd.Abierta());
        pagina->resize(810, 170);
    }
    void TearDown() override { LiberaPlantilla(); }

    // Stores a template of items (type, identifier, X, Y, extra variable, its value).
    static int Guarda(std::initializer_list<std::array<const char *, 6>> items)
    {
        Plantilla p;
        std::strcpy(p.acNombre, "Prueba");
        for (const auto &i : items) {
            B_AStr_t *item = p.ItemNew(i[0]);
            VarSet(item, "Identificador", i[1]);
            VarSet(item, "X", i[2]);
            VarSet(item, "Y", i[3]);
            if (i[4])
                VarSet(item, i[4], i[5]);
            EXPECT_EQ(p.ItemAdd(item), 0);
        }
        return GuardaPlantilla(p);
    }

    QLineEdit *Caja(const char *nombre) const { return pagina->findChild<QLineEdit *>(nombre); }

    entorno::Regional coma{true};
    copias::Base bd;
    elementos::Tipos tipos;
    std::unique_ptr<QWidget> pagina = std::make_unique<QWidget>();
};

// A page of blanks with text at offset.
std::string Pagina(size_t offset, const std::string &texto)
{
    std::string p(ITEM_CONCEPT_LEN, ' ');
    p.replace(offset, texto.size(), texto);
    return p;
}

TEST_F(Maqueta, AnAmountSitsInItsCellsWithTheTextUnderIt)
{
    const int id = Guarda({{"Importe", "Imp", "10", "2", "Total", "si"}});
    AplicaPlantilla(pagina.get(), id, Pagina(170, "  120,50    "));
    QLineEdit *caja = Caja("Imp");
    ASSERT_NE(caja, nullptr);
    EXPECT_EQ(caja->geometry(), QRect(105, 45, 120, 20));
    EXPECT_EQ(caja->text(), "120,50");
    EXPECT_TRUE(caja->isVisibleTo(pagina.get()));
    EXPECT_EQ(GetTotalPlantilla(), "120,50");
}

TEST_F(Maqueta, TheSameIdTwiceKeepsTheLayoutAndWhatWasTyped)
{
    const int id = Guarda({{"Importe", "Imp", "0", "0", nullptr, nullptr}});
    AplicaPlantilla(pagina.get(), id, Pagina(0, "5"));
    Caja("Imp")->setText("7,25");
    AplicaPlantilla(pagina.get(), id, Pagina(0, "9"));
    EXPECT_EQ(Caja("Imp")->text(), "7,25");
    EXPECT_EQ(pagina->findChildren<QLineEdit *>().size(), 1);
}

TEST_F(Maqueta, AnotherLayoutReplacesEveryChildOfThePage)
{
    const int uno = Guarda({{"Importe", "Imp", "0", "0", nullptr, nullptr}});
    const int otro = Guarda({{"Importe", "Otro", "20", "0", nullptr, nullptr}});
    new QLabel("ajeno", pagina.get());
    AplicaPlantilla(pagina.get(), uno, Pagina(0, ""));
    AplicaPlantilla(pagina.get(), otro, Pagina(0, ""));
    EXPECT_EQ(Caja("Imp"), nullptr);
    EXPECT_NE(Caja("Otro"), nullptr);
    EXPECT_EQ(pagina->findChildren<QLabel *>().size(), 0);
    AplicaPlantilla(pagina.get(), 9999, Pagina(0, ""));
    EXPECT_TRUE(pagina->children().isEmpty()) << "a template not stored lays nothing out";
}

TEST_F(Maqueta, ComposeWritesEachValueAtItsCellRunningOnAndNeverPast640)
{
    const int id = Guarda({{"Etiqueta", "Eti", "75", "0", "Texto", "0123456789"},
                           {"Importe", "Imp", "10", "2", nullptr, nullptr},
                           {"Etiqueta", "Fin", "75", "7", "Texto", "ABCDEFGHIJ"}});
    AplicaPlantilla(pagina.get(), id, Pagina(170, "33,10"));
    const std::string texto = ComponeTextoPlantilla(true);
    ASSERT_EQ(texto.size(), size_t(ITEM_CONCEPT_LEN));
    EXPECT_EQ(texto.substr(75, 10), "0123456789") << "columns 75-79 and the next row's first 5";
    EXPECT_EQ(texto.substr(170, 6), "33,10 ");
    EXPECT_EQ(texto.substr(635), "ABCDE");
    EXPECT_EQ(GetTotalPlantilla(), "") << "the template is gone";
    EXPECT_TRUE(pagina->children().isEmpty()) << "its controls went with it";
}

TEST_F(Maqueta, ComposeWithTheFlagClearGivesNothingAndReleases)
{
    const int id = Guarda({{"Importe", "Imp", "0", "0", "Total", "SI"}});
    AplicaPlantilla(pagina.get(), id, Pagina(0, "4"));
    EXPECT_EQ(GetTotalPlantilla(), "4") << "Total compared without regard to case";
    EXPECT_EQ(ComponeTextoPlantilla(false), "");
    EXPECT_EQ(GetTotalPlantilla(), "");
    AplicaPlantilla(pagina.get(), id, Pagina(0, "8"));
    EXPECT_EQ(Caja("Imp")->text(), "8") << "the same id is laid out afresh";
}

TEST_F(Maqueta, NoTotalItemGivesAnEmptyTotal)
{
    const int id = Guarda({{"Importe", "Imp", "0", "0", "Total", "no"}, {"Importe", "Dos", "20", "0", nullptr, nullptr}});
    AplicaPlantilla(pagina.get(), id, Pagina(0, "4"));
    EXPECT_EQ(GetTotalPlantilla(), "");
}

} // namespace
