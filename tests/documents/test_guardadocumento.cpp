// The bill editor's accept without its window: amounts, validation and storage on the
// shipped encrypted database.
#include "General.h"
#include "Guardadocumento.h"
#include "Modmas.h"
#include "Registros.h"
#include "recibos.h"
#include "entorno.h"

namespace {

using recibos::Texto;
using recibos::Textos;

// A complete CSB19 bill of a drawee not stored yet, whose holder is its name.
STRRecibo Recibo19()
{
    STRRecibo r;
    r.Librado.Codigo_referencia = "N1";
    r.Librado.Razon_social = "Nuevo";
    r.Librado.PonCuenta("21000418450200051332");
    r.Importe = "12,50";
    r.CodDevolucion = "123";
    r.RefInterna = "REF";
    r.Concepto = "Cuota";
    return r;
}

// A complete CSB58 bill with an account.
STRRecibo Recibo58()
{
    STRRecibo r = Recibo19();
    r.Librado.Codigo_referencia = "M1";
    r.Vencimiento = QDate(2030, 6, 30);
    r.Formalizacion = QDate(2030, 1, 15);
    r.Memo = {"Primera linea del concepto, que pasa de los cuarenta caracteres"};
    return r;
}

// Batch 1: CSB19 in euros without issue; batch 4: CSB19 in pesetas with issue; batch 3:
// CSB58 in euros with issue.
DestinoRecibo Destino(int remesa)
{
    DestinoRecibo d;
    d.IdUsuario = 1;
    d.IdRemesa = remesa;
    d.TipoOrden = remesa == 3 ? 2 : 1;
    d.IdEmisor = remesa == 3 ? 3 : 1;
    d.Id_moneda = remesa == 4 ? "ESP" : "EUR";
    d.Con_emision = remesa == 1 ? "FALSE" : "TRUE";
    return d;
}

class Recibos : public recibos::Organizacion {
protected:
    // The last bill's row text.
    static std::string UltimoRecibo()
    {
        const auto filas = copias::Filas("SELECT * FROM [Documentos()] ORDER BY Id_documento DESC");
        return filas.empty() ? std::string() : filas.front();
    }
    static std::string Cuenta(const std::string &tabla)
    {
        return Valor("SELECT COUNT(*) AS N FROM [" + tabla + "]", "N");
    }

    entorno::Regional coma{true};
};

TEST(Importes, TheTypedAmountIsCheckedAndStoredWithAPoint)
{
    const struct {
        const char *porque;
        bool coma;
        const char *moneda, *tecleado, *sql;
        int mensaje;
    } casos[] = {
        {"euros with the comma", true, "EUR", "12,50", "12.50", 0},
        {"a point with one or two decimals after it is the decimal separator", true, "EUR", "12.5", "12.50", 0},
        {"whole euros", true, "EUR", "7", "7.00", 0},
        {"blanks around", true, "EUR", " 7,5 ", "7.50", 0},
        {"eight integer digits", true, "EUR", "99999999,99", "99999999.99", 0},
        {"thousands points", true, "EUR", "1.234,56", "1234.56", 0},
        {"thousands points twice", true, "EUR", "1.234.567,89", "1234567.89", 0},
        {"a point before three digits groups thousands", true, "EUR", "1.234", "1234.00", 0},
        {"a decimal comma alone", true, "EUR", ",5", "0.50", 0},
        {"a ninth integer digit", true, "EUR", "100000000", "", 426},
        {"a ninth integer digit, grouped", true, "EUR", "100.000.000", "", 426},
        {"a third decimal", true, "EUR", "12,345", "", 820},
        {"points that group no thousands", true, "EUR", "1.23.4", "", 673},
        {"a group of four digits", true, "EUR", "1234.567", "", 673},
        {"no thousands behind a lone 0", true, "ESP", "0.500", "", 673},
        {"nor behind a comma in a point locale", false, "EUR", "0,500", "", 673},
        {"a point after the comma", true, "EUR", "1,234.5", "", 672},
        {"two commas", true, "EUR", "1,2,3", "", 672},
        {"zero", true, "EUR", "0,00", "", 203},
        {"text", true, "EUR", "doce", "", 672},
        {"negative", true, "EUR", "-5", "", 672},
        {"pesetas", true, "ESP", "1234", "1234", 0},
        {"pesetas with thousands points", true, "ESP", "9.999.999.999", "9999999999", 0},
        {"eleven digits of pesetas", true, "ESP", "10000000000", "", 425},
        {"decimal pesetas", true, "ESP", "12,5", "", 821},
        {"a decimal point in pesetas", true, "ESP", "12.5", "", 821},
        {"a point locale", false, "EUR", "12.50", "12.50", 0},
        {"thousands commas in a point locale", false, "EUR", "1,234.56", "1234.56", 0},
        {"a comma with two decimals in a point locale", false, "EUR", "12,50", "12.50", 0},
    };
    for (const auto &c : casos) {
        entorno::Regional regional(c.coma);
        std::string sql;
        int mensaje = 0;
        EXPECT_EQ(ImporteParaGuardar(c.tecleado, c.moneda, sql, mensaje), c.mensaje == 0) << c.porque;
        EXPECT_EQ(sql, c.sql) << c.porque;
        EXPECT_EQ(mensaje, c.mensaje) << c.porque;
    }
}

TEST_F(Recibos, ValidationGathersTheMissingFieldsOfEachFormat)
{
    const std::string lista = Idioma.GetTexto(139);
    auto f = [](int n) { return ", '" + Idioma.GetTexto(n) + "'"; };
    const struct {
        const char *porque;
        int remesa;
        std::function<void(STRRecibo &)> cambia;
        std::vector<std::string> mensajes; // the texts shown, in order
    } casos[] = {
        {"a complete CSB19 bill", 1, [](STRRecibo &) {}, {}},
        {"an amount of 0 alone", 1, [](STRRecibo &r) { r = STRRecibo(); r.Importe = "0"; }, {Idioma.GetTexto(203)}},
        {"an amount of text alone", 1, [](STRRecibo &r) { r.Importe = "x"; }, {Idioma.GetTexto(672)}},
        {"everything missing, CSB19", 1, [](STRRecibo &r) { r = STRRecibo(); },
         {lista + " ,'" + Idioma.GetTexto(344) + "'" + Idioma.GetTexto(125) + f(126) + f(30) + Idioma.GetTexto(127) +
          Idioma.GetTexto(128)}},
        {"holder equal to the name: no address, postcode 08 passes", 1,
         [](STRRecibo &r) { r.Librado.Titular_cuenta = "Nuevo"; r.Librado.CP = "08001"; }, {}},
        {"postcode 00 listed", 1, [](STRRecibo &r) { r.Librado.CP = "00123"; }, {lista + f(27)}},
        {"postcode 53 listed", 1, [](STRRecibo &r) { r.Librado.CP = "53001"; }, {lista + f(27)}},
        {"three digits listed", 1, [](STRRecibo &r) { r.Librado.CP = "280"; }, {lista + f(27)}},
        {"another holder needs the address", 1, [](STRRecibo &r) { r.Librado.Titular_cuenta = "Otro"; },
         {lista + f(26) + f(27) + f(28) + f(29)}},
        {"wrong digits refused", 1, [](STRRecibo &r) { r.Librado.DC = "99"; }, {Idioma.GetTexto(828)}},
        {"empty digits filled silently", 1, [](STRRecibo &r) { r.Librado.DC.clear(); }, {}},
        {"a complete CSB58 bill", 3, [](STRRecibo &r) { r = Recibo58(); }, {}},
        {"CSB58 without account needs five fields", 3,
         [](STRRecibo &r) { r = Recibo58(); r.Librado.PonCuenta(""); },
         {lista + f(131) + f(132) + f(133) + f(134) + f(135)}},
        {"CSB58 without code, holder and due date", 3,
         [](STRRecibo &r) {
             r = Recibo58();
             r.Librado.Codigo_referencia = r.Librado.Razon_social = " ";
             r.Vencimiento = QDate();
         },
         {lista + " ,'" + Idioma.GetTexto(56) + "'" + f(129) + f(60)}},
        {"CSB58 with part of an account", 3, [](STRRecibo &r) { r = Recibo58(); r.Librado.Oficina.clear(); },
         {lista + Idioma.GetTexto(127)}},
    };
    for (const auto &c : casos) {
        STRRecibo r = Recibo19();
        c.cambia(r);
        RespondeCajas cajas;
        EXPECT_EQ(ValidateData(r, Destino(c.remesa)), c.mensajes.empty()) << c.porque;
        std::vector<QString> esperados;
        for (const std::string &m : c.mensajes)
            esperados.push_back(cp1252::toQString(m));
        EXPECT_EQ(Textos(cajas), esperados) << c.porque;
    }
}

TEST_F(Recibos, WrongControlDigitsAreNeverStored)
{
    STRRecibo r = Recibo19();
    r.Librado.DC = "99";
    int id = 0;
    RespondeCajas cajas;
    ASSERT_EQ(GuardaDocumento(r, Destino(1), id), EstadoGuarda::Rechazado);
    ASSERT_EQ(cajas.Vistas.size(), 1u);
    EXPECT_EQ(cajas.Vistas[0].texto, Texto(828));
    EXPECT_EQ(cajas.Vistas[0].titulo, Texto(142));
    EXPECT_EQ(r.Librado.DC, "99");
    EXPECT_EQ(Valor("SELECT Cuenta FROM [Librados( Datos )] WHERE Codigo_referencia='N1'", "Cuenta"), "");
}

TEST_F(Recibos, ACsb58BillWithoutAccountGetsTheZerosAndTodaysCreditDate)
{
    STRRecibo r = Recibo58();
    r.Librado.PonCuenta("");
    r.Librado.Direccion = r.Librado.Localidad = r.Librado.Loc_ordenante = "X";
    r.Librado.CP = "41001";
    r.Librado.Cod_provincia_ordenante = "41";
    r.Formalizacion = QDate();
    RespondeCajas cajas;
    EXPECT_TRUE(ValidateData(r, Destino(3)));
    EXPECT_TRUE(cajas.Vistas.empty());
    EXPECT_EQ(r.Librado.Banco + "|" + r.Librado.Oficina + "|" + r.Librado.DC + "|" + r.Librado.Cuenta,
              "0000|0000|00|0000000000");
    EXPECT_EQ(r.Formalizacion, QDate::currentDate());
}

TEST_F(Recibos, ConceptMemoIsEightLinesOfEighty)
{
    const std::string concepto = ConceptoMemo({"uno", "dos", std::string(90, 'x')});
    ASSERT_EQ(concepto.size(), 640u);
    EXPECT_EQ(concepto.substr(0, 80), "uno" + std::string(77, ' '));
    EXPECT_EQ(concepto.substr(160, 80), std::string(80, 'x'));
    EXPECT_EQ(concepto.substr(240), std::string(400, ' '));
    EXPECT_EQ(ConceptoMemo({}), ".");
    EXPECT_EQ(ConceptoMemo({"   ", ""}), ".");
}

TEST_F(Recibos, ANewCsb19BillWithoutIssueIsTheShortInsert)
{
    const std::string conceptos = Cuenta("Conceptos()");
    STRRecibo r = Recibo19();
    r.Librado.Razon_social = "O'Neil";
    int id = 0;
    RespondeCajas cajas;
    ASSERT_EQ(GuardaDocumento(r, Destino(1), id), EstadoGuarda::Guardado);
    EXPECT_TRUE(cajas.Vistas.empty());
    const std::string fila = UltimoRecibo();
    EXPECT_EQ(GetCampo("Id_documento", fila), std::to_string(id));
    EXPECT_EQ(GetCampo("Id_concepto", fila), "NULL");
    EXPECT_EQ(GetCampo("F_vencimiento", fila), "NULL");
    EXPECT_EQ(GetCampo("F_formalizacion", fila), "NULL");
    EXPECT_EQ(GetCampo("Primer_concepto", fila), "Cuota");
    EXPECT_EQ(Valor("SELECT Importe*100 AS C, typeof(Contravalor) AS T, Contravalor FROM [Documentos()] "
                    "WHERE Id_documento=" + std::to_string(id), "C"), "1250");
    EXPECT_EQ(Valor("SELECT Contravalor FROM [Documentos()] WHERE Id_documento=" + std::to_string(id), "Contravalor"),
              "2080");
    EXPECT_EQ(Cuenta("Conceptos()"), conceptos);
    // The drawee is new, its holder the name, its name as typed.
    const std::string librado = copias::Filas("SELECT * FROM [Librados( Datos )] WHERE Id_librado=" +
                                              GetCampo("Id_librado", fila))[0];
    EXPECT_EQ(GetCampo("Id_emisor", librado), "1");
    EXPECT_EQ(GetCampo("Titular_cuenta", librado), "O'Neil");
    EXPECT_EQ(r.Librado.Razon_social, "O'Neil");
    // The totals with ".": bill 1's 10.50 and this one.
    EXPECT_EQ(Valor("SELECT Importe_total*100 AS C, typeof(Importe_total) AS T FROM [Remesas()] WHERE Id_remesa=1",
                    "C"), "2300");
    EXPECT_EQ(Valor("SELECT typeof(Contravalor_total) AS T FROM [Remesas()] WHERE Id_remesa=1", "T"), "integer");
    EXPECT_EQ(Avisos(), (std::vector<std::string>{"4:0", "3:1", "2:1"}));
}

TEST_F(Recibos, AConceptMemoIsStoredWithoutItsTrailingBlanksAndReadBackWhole)
{
    STRRecibo r = Recibo19();
    r.Importe = "1500";
    r.Memo = {"Linea uno con mas de cuarenta caracteres en total", "dos", "tres"};
    int id = 0;
    ASSERT_EQ(GuardaDocumento(r, Destino(4), id), EstadoGuarda::Guardado);
    const std::string fila = UltimoRecibo();
    const std::string concepto =
        Valor("SELECT Concepto FROM [Conceptos()] WHERE Id_concepto=" + GetCampo("Id_concepto", fila), "Concepto");
    EXPECT_EQ(concepto, ConceptoMemo(r.Memo).substr(0, 164)) << "the row keeps no trailing blanks";
    EXPECT_EQ(CargaDocumento(std::to_string(id)).Concepto, ConceptoMemo(r.Memo)) << "the editor reads 640 characters";
    EXPECT_EQ(GetCampo("Primer_concepto", fila), "Linea uno con mas de cuarenta caracteres");
    EXPECT_EQ(r.Concepto, "Linea uno con mas de cuarenta caracteres");
    EXPECT_EQ(Valor("SELECT Contravalor*100 AS C FROM [Documentos()] WHERE Id_documento=" + std::to_string(id), "C"),
              "902");

    STRRecibo vacio = Recibo19();
    vacio.Importe = "1";
    ASSERT_EQ(GuardaDocumento(vacio, Destino(4), id), EstadoGuarda::Guardado);
    EXPECT_EQ(Valor("SELECT Concepto FROM [Conceptos()] WHERE Id_concepto=" + GetCampo("Id_concepto", UltimoRecibo()),
                    "Concepto"),
              ".");
}

TEST_F(Recibos, AReferenceOfAnotherIssuerIsReusedAndRewritten)
{
    const std::string librados = Cuenta("Librados( Datos )");
    STRRecibo r = Recibo19();
    r.Librado.Codigo_referencia = "R2";
    r.Librado.Razon_social = "Dos nuevo";
    int id = 0;
    ASSERT_EQ(GuardaDocumento(r, Destino(1), id), EstadoGuarda::Guardado);
    EXPECT_EQ(GetCampo("Id_librado", UltimoRecibo()), "2");
    EXPECT_EQ(Cuenta("Librados( Datos )"), librados);
    EXPECT_EQ(Valor("SELECT Razon_social FROM [Librados( Datos )] WHERE Id_librado=2", "Razon_social"), "Dos nuevo");
    EXPECT_EQ(Valor("SELECT Id_emisor FROM [Librados( Datos )] WHERE Id_librado=2", "Id_emisor"), "2");
}

TEST_F(Recibos, ACsb58BillStoresItsDatesAndNoStaleConcept)
{
    STRRecibo r = Recibo58();
    int id = 0;
    ASSERT_EQ(GuardaDocumento(r, Destino(3), id), EstadoGuarda::Guardado);
    std::string fila = UltimoRecibo();
    EXPECT_EQ(GetCampo("F_vencimiento", fila), "30 06 30");
    EXPECT_NE(GetCampo("Id_concepto", fila), "NULL");
    EXPECT_EQ(Valor("SELECT F_formalizacion || '' AS F FROM [Documentos()] WHERE Id_documento=" + std::to_string(id),
                    "F"),
              "2030/01/15");

    DestinoRecibo sinEmision = Destino(3);
    sinEmision.Con_emision = "FALSE";
    r.Librado.Codigo_referencia = "M2";
    ASSERT_EQ(GuardaDocumento(r, sinEmision, id), EstadoGuarda::Guardado);
    EXPECT_EQ(GetCampo("Id_concepto", UltimoRecibo()), "NULL");
}

TEST_F(Recibos, AFailedDraweeStoresNothing)
{
    const std::string recibos = Cuenta("Documentos()"), conceptos = Cuenta("Conceptos()");
    DestinoRecibo d = Destino(4);
    d.IdEmisor = 0; // no issuer for the new drawee
    STRRecibo r = Recibo19();
    r.Importe = "100";
    r.Memo = {"concepto"};
    int id = -1;
    RespondeCajas cajas;
    EXPECT_EQ(GuardaDocumento(r, d, id), EstadoGuarda::Fallido);
    EXPECT_EQ(id, -1);
    EXPECT_EQ(Textos(cajas), std::vector<QString>{Texto(823)});
    EXPECT_EQ(Cuenta("Documentos()"), recibos);
    EXPECT_EQ(Cuenta("Conceptos()"), conceptos);
    EXPECT_TRUE(Avisos().empty());
}

TEST_F(Recibos, ALockedDraweeKeepsItsDataAndTheBillIsStored)
{
    ASSERT_TRUE(copias::Ejecuta("UPDATE [Librados( Datos )] SET Block=1 WHERE Id_librado=2"));
    STRRecibo r = Recibo19();
    r.Librado.Codigo_referencia = "R2";
    r.Librado.Razon_social = "Dos";
    r.Librado.Titular_cuenta = "Dos";
    int id = 0;
    {
        RespondeCajas cajas;
        ASSERT_EQ(GuardaDocumento(r, Destino(1), id), EstadoGuarda::Guardado);
        EXPECT_EQ(Textos(cajas), std::vector<QString>{Texto(650)}) << "the account and holder differ";
    }
    EXPECT_EQ(GetCampo("Id_librado", UltimoRecibo()), "2");
    EXPECT_EQ(Avisos(), (std::vector<std::string>{"3:1", "2:1"})) << "no drawee notice";
    ASSERT_TRUE(copias::Ejecuta("UPDATE [Librados( Datos )] SET Titular_cuenta='Dos' WHERE Id_librado=2"));
    RespondeCajas cajas;
    ASSERT_EQ(GuardaDocumento(r, Destino(1), id), EstadoGuarda::Guardado);
    EXPECT_TRUE(cajas.Vistas.empty()) << "what was typed is what it holds";
}

TEST_F(Recibos, AModifiedBillIsReleasedUpdatedOrLockedAgain)
{
    auto block = [] { return Valor("SELECT Block FROM [Documentos()] WHERE Id_documento=1", "Block"); };
    ASSERT_TRUE(copias::Ejecuta("UPDATE [Documentos()] SET Situacion=1,Activo=0 WHERE Id_documento=1"));
    ASSERT_TRUE(multiuser->BloqueaDocumento(1, false));
    DestinoRecibo d = Destino(1);
    d.Modo = RegistroModificar;
    d.IdDocumento = 1;

    // A failure before the UPDATE: the bill is locked again.
    DestinoRecibo sinEmisor = d;
    sinEmisor.IdEmisor = 0;
    int id = 0;
    {
        RespondeCajas cajas;
        STRRecibo nuevo = Recibo19();
        EXPECT_EQ(GuardaDocumento(nuevo, sinEmisor, id), EstadoGuarda::Fallido);
    }
    EXPECT_EQ(block(), "1");
    EXPECT_EQ(copias::Contadores(), (std::vector<int>{1, 1, 1, 1, 1, 0, 1, 1, 0, 0}));

    // Saved: released, rewritten, active and normal again.
    STRRecibo r = Recibo19();
    r.Librado.Codigo_referencia = "R1";
    r.Importe = "33";
    ASSERT_EQ(GuardaDocumento(r, d, id), EstadoGuarda::Guardado);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(copias::Contadores(), copias::kLibre);
    const std::string fila = copias::Filas("SELECT * FROM [Documentos()] WHERE Id_documento=1")[0];
    EXPECT_EQ(GetCampo("Importe", fila), "33");
    EXPECT_EQ(GetCampo("Situacion", fila), "0");
    EXPECT_EQ(GetCampo("Activo", fila), "TRUE");

    // Another copy holds it too: 642, nothing written, and it cannot be locked again.
    ASSERT_TRUE(multiuser->BloqueaDocumento(1, false));
    ASSERT_TRUE(copias::Ejecuta("UPDATE [Documentos()] SET Block=Block+1 WHERE Id_documento=1"));
    r.Importe = "44";
    RespondeCajas cajas;
    EXPECT_EQ(GuardaDocumento(r, d, id), EstadoGuarda::Perdido);
    EXPECT_EQ(Textos(cajas), std::vector<QString>{Texto(642)});
    EXPECT_EQ(Valor("SELECT Importe FROM [Documentos()] WHERE Id_documento=1", "Importe"), "33");
    EXPECT_EQ(block(), "1");
}

} // namespace

namespace {

TEST_F(Recibos, AnotherCopyReceivesTheNoticesAndItsLocksHold)
{
    copias::Copia otra(base.Ruta());
    ASSERT_EQ(otra.Pide("registra").substr(0, 1), "1");
    STRRecibo r = Recibo19();
    int id = 0;
    ASSERT_EQ(GuardaDocumento(r, Destino(1), id), EstadoGuarda::Guardado);
    EXPECT_EQ(otra.Pide("pasada"), "0:4:0;0:3:1;0:2:1;");

    // While this copy modifies bill 1 the other cannot take it; after the save the bill, its
    // batch and its drawee are free again.
    ASSERT_TRUE(multiuser->BloqueaDocumento(1, false));
    EXPECT_EQ(otra.Pide("bloquea documento 1 0"), "0");
    DestinoRecibo d = Destino(1);
    d.Modo = RegistroModificar;
    d.IdDocumento = 1;
    r.Librado.Codigo_referencia = "R1";
    ASSERT_EQ(GuardaDocumento(r, d, id), EstadoGuarda::Guardado);
    EXPECT_EQ(copias::Contadores(), copias::kLibre);
    EXPECT_EQ(otra.Pide("pasada"), "0:4:0;0:3:1;0:2:1;");
    EXPECT_EQ(otra.Pide("bloquea documento 1 0"), "1");
}

} // namespace
