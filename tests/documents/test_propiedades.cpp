// The item property sheet over the shipped items.ini and the build's items plug-in: its
// rows, picture and help text, the validation of each value, OK and Cancel.
#include "Propiedades.h"

#include "elementos.h"
#include "qcp1252.h"
#include "testutil.h"
#include "vars.h"
#include "ventanas.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Columna(const TFormProps *hoja, int columna)
{
    std::vector<std::string> textos;
    for (int fila = 0; fila < hoja->SG->rowCount(); ++fila)
        textos.push_back(cp1252::fromQString(hoja->SG->item(fila, columna)->text()));
    return textos;
}

// The designer's check: the item type's own (message 8), shown in a box when it refuses.
int ValidaComoElDisenador(B_AStr_t *item, const std::string &nombre, const std::string &valor)
{
    ItemValidate_t cambio = {nombre.c_str(), valor.c_str(), nullptr};
    if (PlItemCallFn(item, ITEM_MSG_VALIDATE, nullptr, &cambio) < 0) {
        QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Error"),
                              QStringLiteral("El valor de la propiedad no es correcto."));
        return -1;
    }
    return 0;
}

// The editor open on the sheet's current cell.
QWidget *Editor(TFormProps *hoja)
{
    return hoja->SG->indexWidget(hoja->SG->currentIndex());
}

// Types texto into the cell (fila, 1), replacing what it holds, and leaves it open.
void Escribe(TFormProps *hoja, int fila, const QString &texto)
{
    hoja->SG->setCurrentCell(fila, 1);
    if (!Editor(hoja))
        hoja->SG->editItem(hoja->SG->item(fila, 1));
    auto *editor = qobject_cast<QLineEdit *>(Editor(hoja));
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    Teclea(editor, texto);
}

void ClickEnFila(TFormProps *hoja, int fila)
{
    QTest::mouseClick(hoja->SG->viewport(), Qt::LeftButton, {},
                      hoja->SG->visualItemRect(hoja->SG->item(fila, 1)).center());
}

class Hoja : public ::testing::Test {
protected:
    elementos::Tipos tipos;
    Plantilla plantilla;
    TFormProps hoja;
};

TEST_F(Hoja, EachTypeShowsItsPictureHelpAndPropertiesInFileOrder)
{
    const struct {
        const char *tipo, *ayuda;
        std::vector<std::string> rotulos, valores;
    } casos[] = {
        {"Etiqueta", "Este elemento es un texto fijo que no se puede cambiar cuando edite sus recibos.",
         {"Identificador", "Coordenada X", "Coordenada Y", "Texto"},
         {"Etiqueta1", "", "", "Etiqueta"}},
        {"Importe", "Cuando edite sus recibos, este elemento se convertir\xE1 en una caja de edici\xF3n en la que "
                    "podr\xE1 introducir un importe.",
         {"Identificador", "Coordenada X", "Coordenada Y", "Total"},
         {"Importe1", "", "", "no"}},
        {"Total", "Cuando edite sus recibos, este elemento sumar\xE1 autom\xE1ticamente todos los importes que haya "
                  "seleccionado.",
         {"Identificador", "Coordenada X", "Coordenada Y", "Total", "Campos"},
         {"Total1", "", "", "no", ""}},
        {"Porcentaje", "Cuando edite sus recibos, este elemento sumar\xE1 autom\xE1ticamente todos los importes que "
                       "haya seleccionado y aplicar\xE1 un tanto por ciento al resultado.",
         {"Identificador", "Coordenada X", "Coordenada Y", "Total", "Campos", "Porcentaje"},
         {"Porcentaje1", "", "", "no", "", "16"}},
    };
    for (const auto &c : casos) {
        B_AStr_t *item = plantilla.ItemNew(c.tipo);
        bool visto = false;
        AlMostrarse<TFormProps>([&](TFormProps *h) {
            visto = true;
            EXPECT_TRUE(h->Panel->isVisible()) << c.tipo;
            EXPECT_EQ(h->Img->pixmap().size(), QSize(18, 18)) << c.tipo;
            EXPECT_EQ(cp1252::fromQString(h->Lbl->text()), c.ayuda);
            EXPECT_EQ(Columna(h, 0), c.rotulos) << c.tipo;
            EXPECT_EQ(Columna(h, 1), c.valores) << c.tipo;
            EXPECT_EQ(h->SG->currentRow(), 0);
            EXPECT_EQ(h->SG->currentColumn(), 1);
            EXPECT_NE(Editor(h), nullptr) << "the first value is open for editing";
            h->BtnCancelar->click();
        });
        EXPECT_FALSE(hoja.Edita(item));
        EXPECT_TRUE(visto);
        EXPECT_STREQ(VarGet(item, "Total", "?"), std::string(c.tipo) == "Etiqueta" ? "?" : "no")
            << "a Valor default stays after Cancel";
        B_AStrDest(item);
    }
}

TEST_F(Hoja, RowsFollowTheWordsOfEachPropertyKey)
{
    testutil::TempDir dir;
    const std::string ini = dir.file("items.ini");
    testutil::writeFile(ini, "[Elemento_0]\nNombre=Importe\nDLL=Items.dll\nFuncion=_ItemImporteFunc\nAyuda=999\n"
                             "Propiedad1=  nombre=Identificador   STR=1\n"
                             "Propiedad2=Nombre=Porcentaje Nueva=0 Str=8\n"
                             "Otra=Nombre=Oculta\n"
                             "Propiedad3=Str=7\n"
                             "Propiedad4=Nombre=Sin Valor=x Str=998\n"
                             "PROPIEDAD5=Nombre=Campos Valor=A+B Nueva=0\n");
    PlInit(ini.c_str());
    for (const bool conPorcentaje : {false, true}) {
        B_AStr_t *item = plantilla.ItemNew("Importe");
        if (conPorcentaje)
            VarSet(item, "Porcentaje", "21");
        AlMostrarse<TFormProps>([&](TFormProps *h) {
            EXPECT_FALSE(h->Panel->isVisible()) << "a type without Icono has no picture";
            EXPECT_TRUE(h->Lbl->text().isEmpty());
            const std::vector<std::string> rotulos = conPorcentaje
                                                         ? std::vector<std::string>{"Identificador", "Porcentaje", "Sin"}
                                                         : std::vector<std::string>{"Identificador", "Sin"};
            EXPECT_EQ(Columna(h, 0), rotulos);
            h->BtnAceptar->click();
        });
        EXPECT_TRUE(hoja.Edita(item));
        EXPECT_STREQ(VarGet(item, "Sin", "?"), "x");
        EXPECT_STREQ(VarGet(item, "Campos", "?"), "?") << "a hidden row gives no default";
        B_AStrDest(item);
    }
}

TEST_F(Hoja, ARejectedValueReturnsToTheCellOnceAndOKStillCloses)
{
    B_AStr_t *item = plantilla.ItemNew("Porcentaje");
    RespondeCajas cajas;
    AlMostrarse<TFormProps>([&](TFormProps *h) {
        Escribe(h, 0, QStringLiteral("Base imponible"));
        ClickEnFila(h, 2);
        EXPECT_EQ(cajas.Vistas.size(), 1u);
        EXPECT_EQ(cp1252::fromQString(h->SG->item(0, 1)->text()), "Porcentaje1");
        QTest::qWait(20);
        EXPECT_EQ(h->SG->currentRow(), 0) << "back to the refused cell";
        EXPECT_TRUE(h->SG->hasFocus() || h->SG->isAncestorOf(QApplication::focusWidget()));

        Escribe(h, 5, QStringLiteral("25"));
        ClickEnFila(h, 4);
        EXPECT_STREQ(VarGet(item, "Porcentaje", "?"), "25") << "leaving the row commits";

        Escribe(h, 0, QStringLiteral("Otra vez"));
        QTest::mouseClick(h->BtnAceptar, Qt::LeftButton);
    });
    EXPECT_TRUE(hoja.Edita(item, ValidaComoElDisenador));
    EXPECT_EQ(cajas.Vistas.size(), 2u) << "one message per refusal";
    EXPECT_STREQ(VarGet(item, ITEM_VAR_IDENTIFICADOR, ""), "Porcentaje1");
    EXPECT_STREQ(VarGet(item, "Porcentaje", "?"), "25");
    B_AStrDest(item);
}

TEST_F(Hoja, OKCommitsThePendingValueWithoutLeavingTheCell)
{
    B_AStr_t *item = plantilla.ItemNew("Total");
    const struct {
        const char *valor, *queda;
        size_t mensajes;
    } casos[] = {
        {"Suma", "Suma", 0},
        {"Suma total", "Total1", 1},
    };
    for (const auto &c : casos) {
        VarSet(item, ITEM_VAR_IDENTIFICADOR, "Total1");
        RespondeCajas cajas;
        AlMostrarse<TFormProps>([&](TFormProps *h) {
            Escribe(h, 0, QString::fromLatin1(c.valor));
            h->BtnAceptar->click(); // as its shortcut does: the editor keeps the focus
        });
        EXPECT_TRUE(hoja.Edita(item, ValidaComoElDisenador));
        EXPECT_STREQ(VarGet(item, ITEM_VAR_IDENTIFICADOR, ""), c.queda);
        EXPECT_EQ(cajas.Vistas.size(), c.mensajes);
    }
    B_AStrDest(item);
}

TEST_F(Hoja, CancelPutsBackTheValuesTheItemHadAndKeepsTheDefaults)
{
    B_AStr_t *item = plantilla.ItemNew("Porcentaje");
    AlMostrarse<TFormProps>([&](TFormProps *h) {
        Escribe(h, 0, QStringLiteral("IVA"));
        ClickEnFila(h, 3);
        Escribe(h, 3, QStringLiteral("si"));
        ClickEnFila(h, 5);
        EXPECT_STREQ(VarGet(item, ITEM_VAR_IDENTIFICADOR, ""), "IVA");
        EXPECT_STREQ(VarGet(item, "Total", ""), "si");
        QTest::mouseClick(h->BtnCancelar, Qt::LeftButton);
    });
    EXPECT_FALSE(hoja.Edita(item, ValidaComoElDisenador));
    EXPECT_STREQ(VarGet(item, ITEM_VAR_IDENTIFICADOR, ""), "Porcentaje1");
    EXPECT_STREQ(VarGet(item, "Total", "?"), "no") << "the Valor default stays";
    EXPECT_STREQ(VarGet(item, "Porcentaje", "?"), "16");
    B_AStrDest(item);
}

TEST_F(Hoja, LeavingTheWindowCommitsAndEscapeCancels)
{
    B_AStr_t *item = plantilla.ItemNew("Importe");
    AlMostrarse<TFormProps>([&](TFormProps *h) {
        Escribe(h, 0, QStringLiteral("Base"));
        QWidget otra(h, Qt::Window); // a window the sheet's modality does not block
        otra.show();
        QApplication::setActiveWindow(&otra);
        QTest::qWait(20);
        EXPECT_STREQ(VarGet(item, ITEM_VAR_IDENTIFICADOR, ""), "Base") << "deactivation commits";
        QApplication::setActiveWindow(h);
        QTest::keyClick(h->SG, Qt::Key_Escape);
    });
    EXPECT_FALSE(hoja.Edita(item));
    EXPECT_STREQ(VarGet(item, ITEM_VAR_IDENTIFICADOR, ""), "Importe1");
    EXPECT_FALSE(hoja.Edita(nullptr)) << "no item, no sheet";
    B_AStrDest(item);
}

} // namespace
