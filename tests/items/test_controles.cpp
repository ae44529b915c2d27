// The items' entry controls driven offscreen: their owner, the amount boxes however text
// reaches them and the totals that read them, and the recalculation on every change.
#include "entorno.h"
#include "pagina.h"
#include "qcp1252.h"
#include "ventanas.h"

#include <QClipboard>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <algorithm>

namespace {

TEST(Controles, TwoAmountsOnOnePanelMakeOneOwnerAndTwoBoxesNamedAfterThem)
{
    elementos::Tipos tipos;
    Pagina pagina;
    B_AStr_t *base = pagina.Agrega("Importe", "Base");
    pagina.Agrega("Importe", "Gastos");
    pagina.Coloca();
    const QObjectList hijos = pagina.panel.children();
    EXPECT_EQ(std::count_if(hijos.begin(), hijos.end(),
                            [](QObject *o) { return o->objectName() == QStringLiteral("FormItems"); }),
              1);
    QLineEdit *caja = pagina.Caja("Base");
    ASSERT_NE(caja, nullptr);
    EXPECT_EQ(caja->parentWidget(), &pagina.panel);
    EXPECT_NE(pagina.Caja("Gastos"), nullptr);
    EXPECT_EQ(PlItemCtrl(base), static_cast<void *>(caja)) << "recorded in _UI_Ctrl";
    EXPECT_TRUE(caja->isEnabled());
}

TEST(Controles, ALabelShowsItsTextAndTotalsAreDisabledBoxes)
{
    elementos::Tipos tipos;
    Pagina pagina;
    pagina.Agrega("Etiqueta", "Titulo", {{"Texto", "Base imponible:"}});
    pagina.Agrega("Total", "T");
    pagina.Agrega("Porcentaje", "P");
    pagina.Coloca();
    auto *etiqueta = pagina.panel.findChild<QLabel *>(QStringLiteral("Titulo"));
    ASSERT_NE(etiqueta, nullptr);
    EXPECT_EQ(etiqueta->text(), QStringLiteral("Base imponible:"));
    EXPECT_FALSE(pagina.Caja("T")->isEnabled());
    EXPECT_FALSE(pagina.Caja("P")->isEnabled());
}

// What an amount box holds after keys (a "\b" is the backspace key).
std::string Tecleado(QLineEdit *caja, const QString &teclas)
{
    caja->clear();
    for (const QChar c : teclas) {
        if (c == QLatin1Char('\b'))
            QTest::keyClick(caja, Qt::Key_Backspace);
        else
            Teclea(caja, QString(c));
    }
    return cp1252::fromQString(caja->text());
}

TEST(Controles, AnAmountBoxKeepsWhatReachesItAndTotalsReadItAsTheBoxShowsIt)
{
    const struct {
        const char *porque;
        bool coma;
        const char *entrada, *total;
    } casos[] = {
        {"an amount with its separator", true, "12,5", "12,50"},
        {"thousands points", true, "1.234,5", "1234,50"},
        {"a point before one decimal is the separator", true, "1.5", "1,50"},
        {"point settings", false, "1,234.5", "1234.50"},
        {"a second separator: nothing counts", true, "12,5,3", "0,00"},
        {"a minus sign and letters: nothing counts", true, "-1a2b", "0,00"},
        {"accented letters: nothing counts", true, "1\xF1" "2", "0,00"},
    };
    for (const auto &c : casos) {
        entorno::Regional regional(c.coma);
        elementos::Tipos tipos;
        Pagina pagina;
        pagina.Agrega("Importe", "A");
        pagina.Agrega("Total", "T", {{"Campos", "A"}});
        pagina.Coloca();
        QLineEdit *caja = pagina.Caja("A");
        const QString entrada = QString::fromLatin1(c.entrada);
        EXPECT_EQ(Tecleado(caja, entrada), c.entrada) << c.porque << " typed";
        EXPECT_EQ(pagina.Valor("T"), c.total) << c.porque;

        caja->clear();
        QApplication::clipboard()->setText(entrada);
        QTest::keyClick(caja, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(cp1252::fromQString(caja->text()), c.entrada) << c.porque << " pasted";

        caja->clear();
        QMimeData datos;
        datos.setText(entrada);
        QDropEvent suelta(QPointF(2, 2), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
        static_cast<QObject *>(caja)->event(&suelta); // as a drag's end delivers it
        EXPECT_EQ(cp1252::fromQString(caja->text()), c.entrada) << c.porque << " dropped";

        caja->clear();
        pagina.Pon("A", (std::string("  ") + c.entrada + "  ").c_str());
        EXPECT_EQ(cp1252::fromQString(caja->text()), c.entrada) << c.porque << " put by the program";
        EXPECT_EQ(pagina.Valor("A"), c.entrada) << c.porque;
        EXPECT_EQ(pagina.Valor("T"), c.total) << c.porque;
    }
}

TEST(Controles, BackspaceAndEditingInsideTheTextPass)
{
    entorno::Regional regional(true);
    elementos::Tipos tipos;
    Pagina pagina;
    pagina.Agrega("Importe", "A");
    pagina.Coloca();
    QLineEdit *caja = pagina.Caja("A");
    EXPECT_EQ(Tecleado(caja, QStringLiteral("12,5\b\b3")), "123");
    QTest::keyClick(caja, Qt::Key_Home);
    Teclea(caja, QStringLiteral("9,"));
    EXPECT_EQ(caja->text().toStdString(), "9,123");
}

TEST(Controles, NothingTypedIsCutWhateverTheCurrency)
{
    elementos::Tipos tipos;
    for (const bool euro : {false, true}) {
        elementos::Tipos::Euro(euro);
        Pagina pagina;
        pagina.Agrega("Importe", "A");
        pagina.Coloca();
        EXPECT_EQ(Tecleado(pagina.Caja("A"), QStringLiteral("1.234.567.890,123")), "1.234.567.890,123") << euro;
    }
}

TEST(Controles, EveryChangeOfAnAmountRefreshesEveryTotalAndPercentageAtOnce)
{
    entorno::Regional regional(true);
    elementos::Tipos tipos;
    Pagina pagina;
    pagina.Agrega("Importe", "A");
    pagina.Agrega("Total", "T", {{"Campos", "A+B"}});
    pagina.Agrega("Porcentaje", "IVA", {{"Campos", "A+B"}, {"Porcentaje", "16"}});
    pagina.Agrega("Total", "General", {{"Campos", "T+IVA"}});
    pagina.Agrega("Importe", "B");
    pagina.Coloca();
    pagina.Pon("B", "20");
    const struct {
        const char *tecla, *total, *iva, *general;
    } pasos[] = {
        {"8", "28,00", "4,48", "32,48"},
        {"0", "100,00", "16", "116,00"},
        {",", "100,00", "16", "116,00"},
        {"5", "100,50", "16,08", "116,58"},
    };
    for (const auto &p : pasos) {
        Teclea(pagina.Caja("A"), QString::fromLatin1(p.tecla));
        EXPECT_EQ(pagina.Caja("T")->text().toStdString(), p.total) << p.tecla;
        EXPECT_EQ(pagina.Caja("IVA")->text().toStdString(), p.iva) << p.tecla;
        EXPECT_EQ(pagina.Caja("General")->text().toStdString(), p.general) << p.tecla;
    }
}

// A total's or percentage's result counts with its sign, as its box shows it.
TEST(Controles, NegativeResultsCountInTheTotalsThatNameThem)
{
    const struct {
        const char *porque;
        bool etiqueta; // the label "-5" and its total T1 instead of the percentage Dto
        const char *total;
    } casos[] = {
        {"a discount of -10 per cent", false, "90,00"},
        {"a total of a negative label", true, "95,00"},
    };
    for (const auto &c : casos) {
        entorno::Regional regional(true);
        elementos::Tipos tipos;
        Pagina pagina;
        pagina.Agrega("Importe", "Base");
        if (c.etiqueta) {
            pagina.Agrega("Etiqueta", "L", {{"Texto", "-5"}});
            pagina.Agrega("Total", "T1", {{"Campos", "L"}});
        } else {
            pagina.Agrega("Porcentaje", "T1", {{"Campos", "Base"}, {"Porcentaje", "-10"}});
        }
        pagina.Agrega("Total", "T", {{"Campos", "T1 + Base"}});
        pagina.Coloca();
        Teclea(pagina.Caja("Base"), QStringLiteral("100"));
        EXPECT_EQ(pagina.Caja("T1")->text().toStdString(), c.etiqueta ? "-5,00" : "-10") << c.porque;
        EXPECT_EQ(pagina.Caja("T")->text().toStdString(), c.total) << c.porque;
        EXPECT_EQ(pagina.Valor("T"), c.total) << c.porque;
    }
}

TEST(Controles, AnItemWhoseControlIsGoneAnswersAsOneWithout)
{
    entorno::Regional regional(true);
    elementos::Tipos tipos;
    Pagina pagina;
    pagina.Agrega("Importe", "A");
    pagina.Agrega("Total", "T", {{"Campos", "A"}});
    pagina.Coloca();
    pagina.Pon("A", "7");
    qDeleteAll(pagina.panel.findChildren<QObject *>(QString(), Qt::FindDirectChildrenOnly));
    EXPECT_NE(PlItemCtrl(pagina.Item("A")), nullptr) << "the item still names its control";
    pagina.Pon("A", "8");
    EXPECT_EQ(pagina.Valor("A"), "");
    EXPECT_EQ(pagina.Valor("T"), "0,00");
    PlItemCallFn(pagina.Item("T"), ITEM_MSG_RECALC, &pagina.plantilla, nullptr);
}

} // namespace
