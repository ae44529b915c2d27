// The line-layout parser: layout files, line recognition, field cutting and line reading.
#include "Lineas.h"
#include "testutil.h"

#include <gtest/gtest.h>

namespace {

class Lineas : public ::testing::Test {
protected:
    // Loads the layout text and parses the data text with it.
    LineList Parsea(const std::string &layout, const std::string &datos)
    {
        testutil::writeFile(rutaLayout, layout);
        testutil::writeFile(rutaDatos, datos);
        EXPECT_EQ(LoadLineLayout(rutaLayout, tipos), 0);
        LineList lineas;
        EXPECT_EQ(ParseLayoutFile(rutaDatos, tipos, lineas), 0);
        return lineas;
    }

    testutil::TempDir dir;
    std::string rutaLayout = dir.file("CSB19.INI");
    std::string rutaDatos = dir.file("datos.csb");
    LineDefList tipos;
};

TEST_F(Lineas, LoadsTypesAndFieldsInKeyOrder)
{
    testutil::writeFile(rutaLayout, "[lineas]\r\nCabecera=XY,1,2\r\nDetalle=56,1,2\r\n"
                                    "[CABECERA]\r\nNif=5,9,A,Id_nif\r\nNombre=10,5,N\r\n[Detalle]\r\nImporte=3,4\r\n");
    ASSERT_EQ(LoadLineLayout(rutaLayout, tipos), 0);
    ASSERT_EQ(tipos.size(), 2u);
    EXPECT_EQ(tipos[0].name, "Cabecera");
    EXPECT_EQ(tipos[0].id, "XY");
    EXPECT_EQ(tipos[0].pos, 1);
    EXPECT_EQ(tipos[0].length, 2);
    ASSERT_EQ(tipos[0].fields.size(), 2u);
    const FieldDef &nif = tipos[0].fields[0], &nombre = tipos[0].fields[1];
    EXPECT_EQ(nif.name, "Nif");
    EXPECT_EQ(nif.pos, 5);
    EXPECT_EQ(nif.length, 9);
    EXPECT_EQ(nif.type, "A");
    EXPECT_EQ(nif.user_data, "Id_nif") << "a fourth part replaces the user data";
    EXPECT_EQ(nombre.type, "N");
    EXPECT_EQ(nombre.user_data, "N") << "without a fourth part the type is the user data";
    EXPECT_FALSE(nif.data.has_value());
    ASSERT_EQ(tipos[1].fields.size(), 1u);
    EXPECT_EQ(tipos[1].fields[0].type, "");
}

TEST_F(Lineas, MissingPartsOfTheLayout)
{
    testutil::writeFile(rutaLayout, "[OTRA]\nX=1\n");
    EXPECT_EQ(LoadLineLayout(rutaLayout, tipos), -1) << "no LINEAS";
    EXPECT_TRUE(tipos.empty());
    EXPECT_EQ(LoadLineLayout(dir.file("no-existe.ini"), tipos), -1);

    testutil::writeFile(rutaLayout, "[LINEAS]\n[OTRA]\nX=1\n");
    EXPECT_EQ(LoadLineLayout(rutaLayout, tipos), 0) << "an empty LINEAS is no failure";
    EXPECT_TRUE(tipos.empty());

    testutil::writeFile(rutaLayout, "[LINEAS]\nA=1,1,1\nB=2,1,1\nC=Error!! x,1,1\nD=4,1,1\n"
                                    "[A]\nF=1,1\n[C]\nF=1,1\n[D]\nF=1,1\n");
    ASSERT_EQ(LoadLineLayout(rutaLayout, tipos), 0);
    ASSERT_EQ(tipos.size(), 2u) << "a value reading as missing ends the types";
    EXPECT_EQ(tipos[0].fields.size(), 1u);
    EXPECT_TRUE(tipos[1].fields.empty()) << "no section B";

    testutil::writeFile(rutaLayout, "[LINEAS]\nA=1,1,1\nB=2,1,1\nC=3,1,1\n[A]\nF=1,1\n[C]\nF=1,1\n");
    ASSERT_EQ(LoadLineLayout(rutaLayout, tipos), 0);
    EXPECT_EQ(tipos[0].fields.size(), 1u);
    EXPECT_TRUE(tipos[2].fields.empty()) << "a missing section ends the loading";
}

TEST_F(Lineas, ValuesAreReadUpToTheirFirstEmptyPart)
{
    testutil::writeFile(rutaLayout, "[LINEAS]\nA=1,,4\n[A]\nF=,3,N,X\nG=2,,N,X\nH=-3,-2,N\n");
    ASSERT_EQ(LoadLineLayout(rutaLayout, tipos), 0);
    EXPECT_EQ(tipos[0].id, "1");
    EXPECT_EQ(tipos[0].pos, 0);
    EXPECT_EQ(tipos[0].length, 0);
    const std::vector<FieldDef> &f = tipos[0].fields;
    EXPECT_EQ(f[0].pos, 0);
    EXPECT_EQ(f[0].length, 0);
    EXPECT_EQ(f[0].type, "");
    EXPECT_EQ(f[1].pos, 2);
    EXPECT_EQ(f[1].length, 0);
    EXPECT_EQ(f[1].user_data, "");
    EXPECT_EQ(f[2].pos, -3);
    EXPECT_EQ(f[2].length, -2);
}

TEST_F(Lineas, RecognisesTheFirstTypeWhoseIdMatches)
{
    const std::string layout = "[LINEAS]\nTres=AB,3,2\nUno=XY,1,2\nCorto=5,2,3\n";
    struct Caso {
        std::string linea;
        const char *tipo; // null: not recognised
        const char *porque;
    } casos[] = {
        {"XYABcd", "Tres", "the first type in LINEAS wins"},
        {"XY--", "Uno", ""},
        {"XY", nullptr, "shorter than the first type's column: the search stops"},
        {"X", nullptr, ""},
        {"xy--", nullptr, "case counts"},
    };
    testutil::writeFile(rutaLayout, layout);
    ASSERT_EQ(LoadLineLayout(rutaLayout, tipos), 0);
    for (const Caso &c : casos) {
        const LineDef *tipo = ReconoceLinea(tipos, c.linea);
        EXPECT_EQ(tipo ? tipo->name : "-", c.tipo ? c.tipo : "-") << c.linea << ": " << c.porque;
    }

    testutil::writeFile(rutaLayout, "[LINEAS]\nIzquierda=\"5  ,1,3\"\nDerecha=\"  5,1,3\"\n");
    ASSERT_EQ(LoadLineLayout(rutaLayout, tipos), 0);
    ASSERT_NE(ReconoceLinea(tipos, "5"), nullptr);
    EXPECT_EQ(ReconoceLinea(tipos, "5")->name, "Derecha") << "a short text is padded on the left";
}

TEST_F(Lineas, LengthsBeyondALineAreRefusedAndNeverCut)
{
    const struct {
        std::string layout;
        int resultado;
        const char *largo, *porque;
    } casos[] = {
        {"[LINEAS]\nA=A,1,1\n[A]\nF=1,4095\n", 0, "", "a whole line"},
        {"[LINEAS]\nA=A,1,1\n[A]\nF=1,4095\nG=2,4096\n", -2, "A.G", "one more than a line"},
        {"[LINEAS]\nA=A,1,2000000000\n[A]\nF=1,1\n", -2, "A", "an id"},
        {"[LINEAS]\nA=A,1,1\n[A]\nF=1,99999999999999999999\n", -2, "A.F", "beyond any number"},
        {testutil::readFile(DATOS_CORE "F1_fz_lineas_timeout-fefafd4d.ini"), -2, "Presentador", "a fuzz input"},
    };
    for (const auto &c : casos) {
        testutil::writeFile(rutaLayout, c.layout);
        std::string largo;
        EXPECT_EQ(LoadLineLayout(rutaLayout, tipos, &largo), c.resultado) << c.porque;
        EXPECT_EQ(largo, c.largo) << c.porque;
        EXPECT_EQ(tipos.empty(), c.resultado != 0) << c.porque;
    }

    LineDef tipo{"A", "A", 1, 2000000000, 0, {FieldDef{"F", 1, 2000000000}}};
    EXPECT_EQ(ReconoceLinea({tipo}, "A"), nullptr) << "the id is compared at most a line long";
    EXPECT_EQ(CortaLinea(tipo, "A", 1).fields[0].data->size(), size_t(kMaxLinea));
}

TEST_F(Lineas, ColumnsBelowOneNeverReadOutsideTheLine)
{
    testutil::writeFile(rutaLayout, "[LINEAS]\nA=1,,4\nB=Z,0,1\nC=ab,1,2\n[A]\n[B]\n[C]\nCero=0,3\nNegativa=1,-5\n");
    ASSERT_EQ(LoadLineLayout(rutaLayout, tipos), 0);
    EXPECT_EQ(ReconoceLinea(tipos, "1xyz"), nullptr) << "the id \"1\" at column 0 compares an empty text";
    EXPECT_EQ(ReconoceLinea(tipos, "Zab"), nullptr);
    const LineDef *c = ReconoceLinea(tipos, "abcdef");
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(c->fields.size(), 2u);
    const LineDef cortada = CortaLinea(*c, "abcdef", 7);
    EXPECT_EQ(cortada.line_number, 7);
    EXPECT_EQ(cortada.fields[0].data, "   ") << "column 0 cuts nothing";
    EXPECT_EQ(cortada.fields[1].data, "") << "a negative length counts as 0";
}

TEST_F(Lineas, CutsFieldsPaddedOrNull)
{
    const LineList lineas = Parsea("[LINEAS]\nL=L,1,1\n[L]\nLejos=150,20\nCerca=2,3\n",
                                   "L" + std::string(148, '.') + "0123456789A\n" + "L" + std::string(139, '-') + "\n");
    ASSERT_EQ(lineas.size(), 2u);
    EXPECT_EQ(lineas[0].fields[0].data, "0123456789A         ") << "11 characters and 9 blanks";
    EXPECT_EQ(lineas[0].fields[1].data, "...");
    EXPECT_FALSE(lineas[1].fields[0].data.has_value()) << "a line of 140 never reaches column 150";
    EXPECT_EQ(*GetFieldData(lineas[0], "Cerca"), "...");
    EXPECT_EQ(GetFieldData(lineas[1], "Lejos"), nullptr);
    EXPECT_EQ(GetFieldData(lineas[0], "cerca"), nullptr) << "names match exactly";
    EXPECT_EQ(*GetFieldUserData(lineas[0], "Cerca"), "");
    EXPECT_EQ(LineFieldsToText(lineas[1]), "Lejos=&Cerca=---&");
}

TEST_F(Lineas, LineEndsAndLineNumbers)
{
    const std::string layout = "[LINEAS]\nA=A,1,1\n[A]\nTodo=1,6\n";
    const LineList lf = Parsea(layout, "A1\nx\n\nA2\nA3");
    const LineList crlf = Parsea(layout, "A1\r\nx\r\n\r\nA2\r\nA3");
    ASSERT_EQ(lf.size(), 3u);
    ASSERT_EQ(crlf.size(), 3u);
    for (size_t i = 0; i < lf.size(); ++i) {
        EXPECT_EQ(lf[i].fields[0].data, crlf[i].fields[0].data);
        EXPECT_EQ(lf[i].line_number, crlf[i].line_number);
    }
    EXPECT_EQ(lf[0].fields[0].data, "A1    ");
    EXPECT_EQ(lf[1].line_number, 4) << "every line counts, recognised or not";
    EXPECT_EQ(lf[2].line_number, 5) << "a last line without its end";

    const LineList cortada = Parsea(layout, "A1\rresto\n");
    EXPECT_EQ(cortada[0].fields[0].data, "A1    ") << "a line ends at its first carriage return";

    const LineList larga = Parsea("[LINEAS]\nA=A,1,1\n[A]\nFin=5000,2\n", "A" + std::string(4998, ' ') + "ok\nA\n");
    ASSERT_EQ(larga.size(), 2u) << "no limit on a line's length";
    EXPECT_EQ(larga[0].fields[0].data, "ok");
    EXPECT_EQ(larga[1].line_number, 2);

    LineList ninguna;
    EXPECT_EQ(ParseLayoutFile(dir.file("no-existe.csb"), tipos, ninguna), -1);
}

} // namespace
