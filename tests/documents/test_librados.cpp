// Drawee checks and the drawee store on the shipped encrypted database.
#include "General.h"
#include "Librados.h"
#include "Modmas.h"
#include "recibos.h"

namespace {

using recibos::Texto;
using recibos::Textos;

class Librados : public recibos::Organizacion {};

// A complete CSB19 drawee whose holder is its name.
STRLibrado Librado19()
{
    STRLibrado l;
    l.Codigo_referencia = "N1";
    l.Razon_social = "Nuevo";
    l.PonCuenta("21000418450200051332");
    return l;
}

TEST_F(Librados, TheReferenceCodeIsFoundWithinTheUserAndOrderTypeOnly)
{
    const struct {
        const char *porque;
        int usuario, tipo;
        const char *codigo;
        int id;
    } casos[] = {
        {"a drawee of another issuer of the user", 1, 1, "R2", 2},
        {"the same code under the other order type", 1, 2, "R2", 3},
        {"another user's drawee", 1, 1, "R9", 0},
        {"that user finds it", 2, 1, "R9", 4},
        {"blanks around the code", 1, 1, " R2 ", 2},
        {"without regard to case", 1, 1, "r2", 2},
        {"an apostrophe is looked up as stored", 1, 1, "O'1", 5},
        {"and as earlier builds stored it", 1, 1, "O'2", 6},
        {"no such code", 1, 1, "R7", 0},
        {"an unknown order type finds nothing", 1, 0, "R2", 0},
    };
    ASSERT_TRUE(copias::Ejecuta("INSERT INTO [Librados( Datos )] (Id_emisor,Codigo_referencia,Razon_social) "
                                "VALUES (1,'O`2','Acento')"));
    for (const auto &c : casos)
        EXPECT_EQ(BuscaLibrado(c.usuario, c.tipo, c.codigo), c.id) << c.porque;

    RespondeCajas cajas;
    EXPECT_TRUE(ExisteCodigoReferencia(1, 1, "R1"));
    EXPECT_FALSE(ExisteCodigoReferencia(1, 1, "R9"));
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cajas.Vistas[0].texto, Texto(302));
    EXPECT_EQ(cajas.Vistas[0].titulo, Texto(303));
}

TEST_F(Librados, MissingFieldsAreListedByOrderType)
{
    auto a = [](int n) { return " '" + Idioma.GetTexto(n) + "' "; };
    auto b = [](int n) { return ", '" + Idioma.GetTexto(n) + "'"; };
    const struct {
        const char *porque;
        int tipo;
        std::function<void(STRLibrado &)> cambia;
        std::string lista; // empty: nothing missing
    } casos[] = {
        {"a complete CSB19 drawee", 1, [](STRLibrado &) {}, ""},
        {"CSB19 without code, name, bank, branch and account", 1,
         [](STRLibrado &l) { l = STRLibrado(); },
         a(56) + a(301) + a(30) + a(447) + a(7)},
        {"a holder other than the name needs the address", 1,
         [](STRLibrado &l) { l.Titular_cuenta = "Otro"; }, a(26) + a(27) + a(28) + a(29)},
        {"a holder equal to the name (blanks aside) needs none", 1,
         [](STRLibrado &l) { l.Titular_cuenta = " Nuevo "; }, ""},
        {"CSB58 without account needs the addresses", 2,
         [](STRLibrado &l) { l.PonCuenta(""); },
         b(131) + b(132) + b(133) + b(134) + b(135)},
        {"CSB58 with the zero account likewise", 2,
         [](STRLibrado &l) { l.PonCuenta(kCuentaCeros); },
         b(131) + b(132) + b(133) + b(134) + b(135)},
        {"CSB58 with part of an account needs the rest", 2,
         [](STRLibrado &l) { l.Oficina.clear(); l.Cuenta = "  "; }, b(447) + b(7)},
        {"CSB58 without name", 2, [](STRLibrado &l) { l.Razon_social.clear(); }, a(126)},
    };
    for (const auto &c : casos) {
        STRLibrado l = Librado19();
        c.cambia(l);
        RespondeCajas cajas;
        EXPECT_EQ(IsAllInputInfo(l, c.tipo), c.lista.empty()) << c.porque;
        if (c.lista.empty()) {
            EXPECT_TRUE(cajas.Vistas.empty()) << c.porque;
            continue;
        }
        ASSERT_EQ(cajas.Vistas.size(), 1u) << c.porque;
        EXPECT_EQ(cajas.Vistas[0].texto, cp1252::toQString(Idioma.GetTexto(304) + c.lista)) << c.porque;
        EXPECT_EQ(cajas.Vistas[0].titulo, Texto(140)) << c.porque;
    }
}

TEST_F(Librados, PostcodesAndControlDigitsOfTheDraweeWindow)
{
    const struct {
        const char *porque;
        int tipo;
        const char *cp;
        const char *cuenta; // 20 characters, or "" for none
        bool valido;
        std::vector<int> mensajes;
        const char *cpDespues;
        const char *cuentaDespues;
    } casos[] = {
        {"postcode 01", 1, "01001", "21000418450200051332", true, {}, "01001", "21000418450200051332"},
        {"postcode 52", 1, "52001", "21000418450200051332", true, {}, "52001", "21000418450200051332"},
        {"postcode 00 refused and emptied", 1, "00123", "21000418450200051332", false, {572}, "",
         "21000418450200051332"},
        {"postcode 53 refused", 1, "53001", "21000418450200051332", false, {572}, "", "21000418450200051332"},
        {"four digits refused", 1, "2800", "21000418450200051332", false, {572}, "", "21000418450200051332"},
        {"wrong digits refused as typed", 1, "", "21000418990200051332", false, {828}, "", "21000418990200051332"},
        {"empty digits reported and computed", 1, "", "21000418  0200051332", true, {141}, "",
         "21000418450200051332"},
        {"a refused postcode still gets its digits checked", 1, "99999", "21000418990200051332", false, {572, 828},
         "", "21000418990200051332"},
        {"CSB58 without account: the zeros", 2, "28001", "", true, {}, "28001", kCuentaCeros},
        {"CSB58 wrong digits refused", 2, "", "21000418990200051332", false, {828}, "", "21000418990200051332"},
    };
    for (const auto &c : casos) {
        STRLibrado l = Librado19();
        l.CP = c.cp;
        l.PonCuenta(c.cuenta);
        if (c.tipo == 2) {
            l.Direccion = l.Localidad = l.Loc_ordenante = "X";
            l.Cod_provincia_ordenante = "28";
        }
        if (l.DC == "  ")
            l.DC.clear();
        RespondeCajas cajas;
        EXPECT_EQ(ValidaLibrado(l, c.tipo, 1, true), c.valido) << c.porque;
        std::vector<QString> esperados;
        for (int n : c.mensajes)
            esperados.push_back(Texto(n));
        EXPECT_EQ(Textos(cajas), esperados) << c.porque;
        EXPECT_EQ(l.CP, c.cpDespues) << c.porque;
        EXPECT_EQ(l.CuentaCompleta(), c.cuentaDespues) << c.porque;
        for (const CajaVista &v : cajas.Vistas) {
            if (v.texto == Texto(141)) {
                EXPECT_EQ(v.titulo, Texto(309)) << c.porque;
            }
        }
    }
}

TEST_F(Librados, AnUnchangedCodeIsNeverReportedAsExisting)
{
    STRLibrado l = Librado19();
    l.Codigo_referencia = "R1";
    RespondeCajas cajas;
    EXPECT_TRUE(ValidaLibrado(l, 1, 1, false));
    EXPECT_FALSE(ValidaLibrado(l, 1, 1, true));
    EXPECT_EQ(Textos(cajas), std::vector<QString>{Texto(302)});
}

TEST_F(Librados, TheOwnEntitysAccountIsWidenedOrRefused)
{
    STRLibrado l = Librado19();
    l.Banco = kEntidadPropia;
    l.Cuenta = "0123456";
    RespondeCajas cajas;
    ValidaLibrado(l, 1, 1, true);
    EXPECT_EQ(l.Cuenta, "0120003456");
    l.Cuenta = "1234567890";
    EXPECT_FALSE(ValidaLibrado(l, 1, 1, true));
    EXPECT_EQ(l.Cuenta, "");
    EXPECT_EQ(cajas.Vistas.back().texto, Texto(625));
}

TEST_F(Librados, TheStoreInsertsEachFormatAndReadsTheKeyBack)
{
    STRLibrado l = Librado19();
    l.Razon_social = "O'Neil|A,,B";
    l.Titular_cuenta = "Titular";
    l.Direccion = "Calle";
    l.CP = "28001";
    l.Localidad = "Madrid";
    l.Provincia = "MADRID";
    int id = 0;
    ASSERT_EQ(GuardaLibrado(1, 2, id, l), ResultadoLibrado::Insertado);
    EXPECT_EQ(Valor("SELECT MAX(Id_librado) AS M FROM [Librados( Datos )]", "M"), std::to_string(id));
    const std::string fila = copias::Filas("SELECT * FROM [Librados( Datos )] WHERE Id_librado=" + std::to_string(id))[0];
    EXPECT_EQ(GetCampoTexto("Razon_social", fila), "O'Neil\xA6" "A ,B");
    EXPECT_EQ(GetCampo("Id_emisor", fila), "2");
    EXPECT_EQ(GetCampo("Cuenta", fila), "21000418450200051332");
    EXPECT_EQ(GetCampo("Titular_cuenta", fila), "Titular");
    EXPECT_EQ(GetCampo("Provincia", fila), "MADRID");
    EXPECT_TRUE(CoincideLibrado(1, id, l));

    STRLibrado m;
    m.Codigo_referencia = " M1 ";
    m.Razon_social = "Cincuenta y ocho";
    m.Loc_ordenante = "Sevilla";
    m.Cod_provincia_ordenante = "415";
    int id58 = 0;
    ASSERT_EQ(GuardaLibrado(2, 3, id58, m), ResultadoLibrado::Insertado);
    const std::string f58 = copias::Filas("SELECT * FROM [Librados( Datos )] WHERE Id_librado=" + std::to_string(id58))[0];
    EXPECT_EQ(GetCampo("Codigo_referencia", f58), "M1");
    EXPECT_EQ(GetCampo("Cuenta", f58), kCuentaCeros);
    EXPECT_EQ(GetCampo("Cod_provincia_ordenante", f58), "41");
    EXPECT_EQ(GetCampo("Loc_ordenante", f58), "Sevilla");
}

TEST_F(Librados, TheStoreRefusesWithoutIssuerAndLeavesLockedRows)
{
    const std::string antes = Valor("SELECT COUNT(*) AS N FROM [Librados( Datos )]", "N");
    int id = 0;
    EXPECT_EQ(GuardaLibrado(1, 0, id, Librado19()), ResultadoLibrado::Fallido);
    EXPECT_EQ(GuardaLibrado(3, 1, id, Librado19()), ResultadoLibrado::Fallido);
    EXPECT_EQ(id, 0);
    EXPECT_EQ(Valor("SELECT COUNT(*) AS N FROM [Librados( Datos )]", "N"), antes);

    STRLibrado l = Librado19();
    l.Codigo_referencia = "R2";
    l.Razon_social = "Cambiado";
    int dos = 2;
    ASSERT_TRUE(copias::Ejecuta("UPDATE [Librados( Datos )] SET Block=1 WHERE Id_librado=2"));
    EXPECT_EQ(GuardaLibrado(1, 0, dos, l), ResultadoLibrado::Bloqueado);
    EXPECT_EQ(Valor("SELECT Razon_social FROM [Librados( Datos )] WHERE Id_librado=2", "Razon_social"), "Dos");
    EXPECT_FALSE(CoincideLibrado(1, 2, l));
    ASSERT_TRUE(copias::Ejecuta("UPDATE [Librados( Datos )] SET Block=0 WHERE Id_librado=2"));
    EXPECT_EQ(GuardaLibrado(1, 0, dos, l), ResultadoLibrado::Actualizado);
    EXPECT_EQ(Valor("SELECT Razon_social FROM [Librados( Datos )] WHERE Id_librado=2", "Razon_social"), "Cambiado");
    EXPECT_TRUE(CoincideLibrado(1, 2, l));
}

} // namespace
