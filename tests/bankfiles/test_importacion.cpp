// The CSB import on the shipped encrypted database under a "," locale: the sample files,
// files the program generated, the checks on bills, refusals and stops that leave the
// database as it was, and the report.
#include "Importacion.h"

#include "Generacsb.h"
#include "General.h"
#include "Multiidioma.h"
#include "basedatos.h"
#include "cobros.h"
#include "csb.h"
#include "testutil.h"

#include <gtest/gtest.h>

namespace {

using cobros::Valor;

std::string Provincia(std::string_view codigo)
{
    return codigo == "08" ? "BARCELONA" : codigo == "28" ? "MADRID" : "";
}

std::string Texto(int n)
{
    return Idioma.GetTexto(n);
}

std::string Linea(int n)
{
    return FormateaTexto(Texto(619), n);
}

class ImportaCSB : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(base.Abierta());
        empresa = cobros::Empresa();
    }

    // Imports the file as the format tipo ("CSB19" or "CSB58") with the shipped layout.
    void Importa(const std::string &ruta, const std::string &tipo, std::string layout = {})
    {
        mensajes.clear();
        if (layout.empty())
            layout = std::string(PROGRAM_DIR) + (tipo == "CSB19" ? "CSB19.INI" : "CSB58.INI");
        resultado = imp.ImportaFicheroCSB(
            ruta, layout, std::to_string(empresa), tipo, [this](int, int maximo, int posicion) {
                pasos = maximo;
                if (pararEn > 0 && posicion >= pararEn) {
                    pararEn = 0;
                    filasAlParar = std::stoi(Valor("SELECT COUNT(*) AS N FROM [Documentos()]", "N"));
                    imp.CancelaImportacion();
                }
            },
            [this](const std::string &m) { mensajes.push_back(m); },
            [this](const std::array<int, 12> &c) { contadores = c; });
    }

    // A file of the records written by hand, in the test's folder.
    std::string Fichero(const std::vector<std::string> &registros, const std::string &nombre = "f.csb")
    {
        const std::string ruta = base.Programa().dir().file(nombre);
        testutil::writeFile(ruta, csb::Fichero(registros));
        return ruta;
    }

    // A copy of a sample file in the test's folder (the report goes beside it).
    std::string Muestra(const std::string &nombre)
    {
        const std::string ruta = base.Programa().dir().file(nombre);
        testutil::writeFile(ruta, testutil::readFile(DATOS_CSB + nombre));
        return ruta;
    }

    bool Dicho(const std::string &texto) const
    {
        return std::find(mensajes.begin(), mensajes.end(), texto) != mensajes.end();
    }

    // Messages from the first one after the frame's opening lines up to 277.
    std::vector<std::string> Aviso() const
    {
        const auto fin = std::find(mensajes.begin(), mensajes.end(), Texto(277));
        return std::vector<std::string>(mensajes.begin() + std::min<long>(3, long(mensajes.size())), fin);
    }

    std::string Bill(int documento, const std::string &campo)
    {
        return Valor("SELECT * FROM [Documentos()] WHERE Id_documento=" + std::to_string(documento), campo);
    }

    cobros::Base base;
    entorno::Regional coma{true};
    int empresa = 0;
    ImportacionCSB imp{Provincia};
    std::vector<std::string> mensajes;
    std::array<int, 12> contadores{};
    int resultado = -2, pasos = 0, pararEn = 0, filasAlParar = 0;
};

// ---- Hand-made files ----

using csb::Completa;
using csb::Domicilio58;
using csb::Individual58;

// ---- Sample files ----

TEST_F(ImportaCSB, TheCsb58SampleGivesItsBillsDraweesAndTotals)
{
    Importa(Muestra("retrofix-c58.txt"), "CSB58");
    EXPECT_EQ(resultado, 0);
    EXPECT_EQ(contadores, (std::array<int, 12>{1, 1, 16, 6, 0, 0, 0, 10, 0, 0, 0, 0})) << testing::PrintToString(mensajes);
    EXPECT_EQ(imp.Presentadores.Importados, 1);
    const std::string remesa = Valor("SELECT MAX(Id_remesa) AS R FROM [Remesas()]", "R");
    EXPECT_EQ(Valor("SELECT Importe_total FROM [Remesas()] WHERE Id_remesa=" + remesa, "Importe_total"), "14713.82");
    EXPECT_EQ(Valor("SELECT Id_moneda FROM [Remesas()] WHERE Id_remesa=" + remesa, "Id_moneda"), "EUR");
    EXPECT_EQ(cobros::Filas("SELECT * FROM [Documentos()] WHERE Situacion<>0"), 0);
    EXPECT_EQ(Valor("SELECT Importe, Contravalor, F_vencimiento, F_formalizacion FROM [Documentos()] "
                    "ORDER BY Id_documento",
                    "Importe"),
              "30.45");
    const std::string primero = "SELECT * FROM [Documentos()] ORDER BY Id_documento";
    EXPECT_EQ(Valor(primero, "Contravalor"), "5066") << "30.45 x 166.386, whole pesetas";
    EXPECT_EQ(Valor(primero, "F_vencimiento"), "12 06 05");
    EXPECT_EQ(Valor(primero, "F_formalizacion"), "12 02 24");
    EXPECT_EQ(Valor("SELECT * FROM [_Emisores( Datos )]", "Cuenta_cargo"), "00751454");
    EXPECT_EQ(Valor("SELECT * FROM [Librados( Datos )] WHERE Codigo_referencia='000000036648'", "Cod_provincia_ordenante"),
              "08");

    Importa(Muestra("retrofix-c58.txt"), "CSB58");
    EXPECT_EQ(contadores, (std::array<int, 12>{0, 1, 16, 0, 1, 0, 0, 16, 0, 0, 0, 0}))
        << "presenter, issuer and drawees found again; a new batch";
    EXPECT_EQ(imp.Presentadores.Repetidos, 1);
    EXPECT_EQ(cobros::Filas("SELECT * FROM [_Presentadores( Datos )]"), 1);
    EXPECT_EQ(cobros::Filas("SELECT * FROM [Remesas()]"), 2);
}

TEST_F(ImportaCSB, TheCsb19SampleIsRefusedAtItsLongLineAndLeavesNothing)
{
    const std::vector<std::string> antes = basedatos::dump();
    Importa(Muestra("retrofix-c19.txt"), "CSB19");
    EXPECT_EQ(Aviso(), (std::vector<std::string>{Texto(288), Texto(850), Linea(3), Texto(282)}));
    EXPECT_EQ(contadores, (std::array<int, 12>{}));
    EXPECT_EQ(basedatos::dump(), antes);
}

TEST_F(ImportaCSB, TheReportLineByLine)
{
    testutil::writeFile(base.Programa().dir().file("c19.log"), "anterior\n");
    testutil::writeFile(base.Programa().dir().file("c19.txt"), testutil::readFile(DATOS_CSB "retrofix-c19.txt"));
    Importa(base.Programa().dir().file("c19.txt"), "CSB19");
    const std::string informe = testutil::readFile(base.Programa().dir().file("c19.log"));
    EXPECT_EQ(imp.RutaInforme(), base.Programa().dir().file("c19.log"));
    std::vector<std::string> lineas;
    for (size_t i = 0, fin; (fin = informe.find('\n', i)) != std::string::npos; i = fin + 1)
        lineas.push_back(informe.substr(i, fin - i));
    ASSERT_EQ(lineas.size(), 21u) << informe;
    EXPECT_EQ(lineas[0], "anterior") << "runs append";
    EXPECT_EQ(lineas[1], "");
    EXPECT_EQ(lineas[2].rfind(Texto(297), 0), 0u);
    const std::vector<std::string> resto(lineas.begin() + 3, lineas.end());
    EXPECT_EQ(resto, (std::vector<std::string>{
                         Texto(271), Texto(272) + "CSB19", Texto(273) + base.Programa().dir().file("c19.txt"),
                         Texto(288), Texto(850), Linea(3), Texto(282), Texto(277),
                         FormateaTexto(Texto(580), 0, 0, 0), FormateaTexto(Texto(581), "0", "0", "0"),
                         FormateaTexto(Texto(582), "0", "-- ", "0"), FormateaTexto(Texto(583), "0", "0", "0"),
                         FormateaTexto(Texto(584), "0", "0", "0"), Texto(298), "", "",
                         Texto(599) + base.Programa().dir().file("c19.log"), Texto(600)}));
    EXPECT_EQ(ImportacionCSB::RutaInformeDe("/a.b/remesa"), "/a.b/remesa.log");
    EXPECT_EQ(ImportacionCSB::RutaInformeDe("/a/remesa.csb"), "/a/remesa.log");
}

// ---- Refusals and stops ----

TEST_F(ImportaCSB, AStopRollsEverythingBack)
{
    const std::vector<std::string> antes = basedatos::dump();
    imp.IntervaloMs = 0;
    pararEn = 200;
    Importa(Muestra("retrofix-c58.txt"), "CSB58");
    EXPECT_GT(pasos, 200);
    EXPECT_GT(filasAlParar, 0) << "the stop came mid-run";
    EXPECT_TRUE(Dicho(Texto(276)));
    EXPECT_EQ(contadores, (std::array<int, 12>{}));
    EXPECT_EQ(basedatos::dump(), antes);
}

TEST_F(ImportaCSB, ALayoutLackingWhatTheImportNeedsImportsNothing)
{
    const std::vector<std::string> antes = basedatos::dump();
    const std::string ini = base.Programa().dir().file("CSB58.INI");
    const std::string original = testutil::readFile(PROGRAM_DIR "CSB58.INI");
    struct Caso {
        const char *porque;
        std::string de, a;
    } casos[] = {
        {"no grand totals", "TotalGeneral=970,2,3", ""},
        {"no address record: its lines would be lost", "Domicilio=676,2,3", ""},
        {"no amount field", "Importe=89,10,N,[Documentos()].Importe", ""},
    };
    for (const Caso &c : casos) {
        std::string texto = original;
        texto.replace(texto.find(c.de), c.de.size(), c.a);
        testutil::writeFile(ini, texto);
        Importa(Muestra("retrofix-c58.txt"), "CSB58", ini);
        EXPECT_TRUE(Dicho(Texto(274))) << c.porque;
        EXPECT_EQ(contadores, (std::array<int, 12>{})) << c.porque;
        EXPECT_EQ(basedatos::dump(), antes) << c.porque;
    }
    Importa(Muestra("retrofix-c58.txt"), "CSB58", base.Programa().dir().file("no-existe.ini"));
    EXPECT_TRUE(Dicho(Texto(274)));
    Importa(base.Programa().dir().file("no-existe.csb"), "CSB58");
    EXPECT_TRUE(Dicho(Texto(275)));
    EXPECT_EQ(resultado, -1);
}

TEST_F(ImportaCSB, AByteZeroInATextIsReadAsABlankAndTheFileGoesInWhole)
{
    Importa(Muestra("F2_nul_en_nombre.csb"), "CSB19");
    EXPECT_TRUE(imp.Confirmada());
    EXPECT_EQ(contadores[2], 2) << "both bills";
    EXPECT_EQ(contadores[10], 0) << "none erroneous";
    EXPECT_EQ(Valor("SELECT * FROM [Librados( Datos )] WHERE Codigo_referencia='R0000000000X'", "Razon_social"),
              "MARIA D L CARMEN RUIZ");
}

// ---- Checks on bills ----

TEST_F(ImportaCSB, BillsWithProblemsAreStoredMarked)
{
    const std::string ceros(20, '0');
    struct Caso {
        const char *porque;
        std::vector<std::string> registros;
        std::vector<std::string> avisos; // after the frame, up to 277
        bool erroneo;
        const char *campo, *valor; // of the bill, or of its drawee when campo starts with "L."
    } casos[] = {
        {"a good bill", {Individual58("A", "01822376180101507859", "0000001234")}, {}, false, "Importe", "12.34"},
        {"a blank in the account", {Individual58("A", "0182 376180101507859", "0000001234")},
         {Texto(612), Linea(3)}, true, "L.Cuenta", "01820376180101507859"},
        {"a letter at position 20", {Individual58("A", "0182237618010150785X", "0000001234")},
         {Texto(612), Linea(3)}, true, "L.Cuenta", "99999999999999999999"},
        {"a letter in the control digits", {Individual58("A", "01822376X80101507859", "0000001234")},
         {Texto(612), Linea(3)}, true, "L.Cuenta", "99999999999999999999"},
        {"two asterisks ask for the control digits", {Individual58("A", "01822376**0101507859", "0000001234")},
         {}, false, "L.Cuenta", "01822376180101507859"},
        {"wrong control digits", {Individual58("A", "01822376190101507859", "0000001234")}, {Texto(612), Linea(3)},
         true, "L.Cuenta", "01822376190101507859"},
        {"the norm's N and n with tilde", {Individual58("PE\xA5" "A mu\xA4oz", "01822376180101507859", "0000001234")},
         {}, false, "L.Razon_social", "DEUDOR PE\xD1" "A mu\xF1oz"},
        {"a month 13", {Individual58("A", "01822376180101507859", "0000001234", "301306")},
         {Texto(613), Linea(3)}, true, "F_vencimiento", "NULL"},
        {"a due date of four digits", {Individual58("A", "01822376180101507859", "0000001234", "3006  ")},
         {Texto(613), Linea(3)}, true, "F_vencimiento", "NULL"},
        {"an amount of zero", {Individual58("A", "01822376180101507859", "0000000000")},
         {Texto(631), Linea(3)}, true, "Importe", "0"},
        {"no account needs the debtor's address", {Individual58("A", "", "0000001234")},
         {Texto(607), Linea(3), Texto(627), Linea(3), Texto(609), Linea(3), Texto(610), Linea(3)}, true, "L.Cuenta",
         ceros.c_str()},
        {"no account with its address", {Individual58("A", ceros, "0000001234"), Domicilio58("A")}, {}, false,
         "L.Localidad", "Sabadell"},
        {"a short postcode", {Individual58("A", ceros, "0000001234"), Domicilio58("A", "082  ")},
         {Texto(133), Linea(4)}, true, "L.CP", "00000"},
        {"a blank date of the credit stays empty", {Individual58("A", ceros, "0000001234"), Domicilio58("A", "08208", "")},
         {}, false, "F_formalizacion", "NULL"},
        {"a date of the credit that is no date", {Individual58("A", ceros, "0000001234"), Domicilio58("A", "08208", "320212")},
         {Texto(146), Linea(4)}, false, "F_formalizacion", "NULL"},
    };
    for (const Caso &c : casos) {
        Importa(Fichero(Completa("5670", c.registros)), "CSB58");
        EXPECT_EQ(Aviso(), c.avisos) << c.porque;
        const std::string documento = Valor("SELECT MAX(Id_documento) AS D FROM [Documentos()]", "D");
        EXPECT_EQ(Bill(std::stoi(documento), "Situacion"), c.erroneo ? "1" : "0") << c.porque;
        EXPECT_EQ(Bill(std::stoi(documento), "Activo"), c.erroneo ? "FALSE" : "TRUE") << c.porque;
        EXPECT_EQ(contadores[2], 1) << c.porque;
        EXPECT_EQ(contadores[10], c.erroneo ? 1 : 0) << c.porque;
        const std::string campo = c.campo;
        if (campo.rfind("L.", 0) == 0)
            EXPECT_EQ(Valor("SELECT * FROM [Librados( Datos )] WHERE Id_librado=" + Bill(std::stoi(documento), "Id_librado"),
                            campo.substr(2)),
                      c.valor)
                << c.porque;
        else
            EXPECT_EQ(Bill(std::stoi(documento), campo), c.valor) << c.porque;
        cobros::Ejecuta("DELETE FROM [Librados( Datos )]");
    }
}

TEST_F(ImportaCSB, ABillThatWouldGoOutOnAnotherAccountThanTheFilesIsErroneous)
{
    const std::string viejo = "01822376180101507859", nuevo = "21000418450200051332";
    const std::string otra = FormateaTexto(Texto(926), "R4", nuevo, viejo);
    auto r4 = [](const std::string &cuenta) { return Individual58("R4", cuenta, "0000000100"); };
    const struct {
        const char *porque;
        std::vector<std::string> antes, registros; // the month before (none: no import), this month
        std::vector<std::string> avisos;           // its last bill is erroneous when any
    } casos[] = {
        {"the debtor changed bank", {r4(viejo)}, {r4(nuevo)}, {otra, Linea(3)}},
        {"a stored account that cannot be sent", {r4("0182237618010150785X")}, {r4(""), Domicilio58("R4")},
         {FormateaTexto(Texto(927), "R4", std::string(20, '9')), Linea(3)}},
        {"a credit without account", {r4(viejo)}, {r4(""), Domicilio58("R4")}, {}},
        {"two debtors given one reference", {}, {r4(viejo), r4(nuevo)}, {otra, Linea(4)}},
    };
    for (const auto &c : casos) {
        cobros::Ejecuta("DELETE FROM [Librados( Datos )]");
        if (!c.antes.empty())
            Importa(Fichero(Completa("5670", c.antes)), "CSB58");
        Importa(Fichero(Completa("5670", c.registros)), "CSB58");
        EXPECT_EQ(Aviso(), c.avisos) << c.porque;
        const bool erroneo = !c.avisos.empty();
        EXPECT_EQ(Valor("SELECT * FROM [Documentos()] ORDER BY Id_documento DESC", "Situacion"), erroneo ? "1" : "0")
            << c.porque;
        EXPECT_EQ(contadores[10], erroneo ? 1 : 0) << c.porque;
    }
}

TEST_F(ImportaCSB, AHolderOtherThanTheDraweeNeedsTheAddress)
{
    const std::vector<std::string> registros = Completa(
        "5180", {csb::Registro("5680", {{17, "R1"}, {29, "DEUDOR"}, {69, "01822376180101507859"}, {89, "0000000100"},
                                        {105, "        X1"}}),
                 csb::Registro("5686", {{17, "R1"}, {29, "OTRO TITULAR"}})});
    Importa(Fichero(registros), "CSB19");
    EXPECT_EQ(Aviso(), (std::vector<std::string>{Texto(603), Linea(3), Texto(627), Linea(3), Texto(624), Linea(3)}));
    const std::string librado = Valor("SELECT * FROM [Librados( Datos )]", "Id_librado");
    EXPECT_EQ(Valor("SELECT * FROM [Librados( Datos )]", "Direccion"), "----");
    EXPECT_EQ(Valor("SELECT * FROM [Librados( Datos )]", "CP"), "00000");
    EXPECT_EQ(Valor("SELECT * FROM [Documentos()]", "Situacion"), "1");
}

TEST_F(ImportaCSB, ACsb19BatchWithoutIssueKeepsNoConcept)
{
    std::vector<std::string> registros = Completa(
        "5180", {csb::Registro("5680", {{17, "R1"}, {29, "DEUDOR"}, {69, "01822376180101507859"}, {89, "0000000100"},
                                        {105, "        X1"}, {115, "Cuota de enero"}})});
    registros[1].replace(96, 2, "02");
    Importa(Fichero(registros), "CSB19");
    EXPECT_EQ(Aviso(), std::vector<std::string>());
    EXPECT_EQ(Valor("SELECT * FROM [Remesas()]", "Con_emision"), "FALSE");
    EXPECT_EQ(Valor("SELECT * FROM [Documentos()]", "Primer_concepto"), "Cuota de enero");
    EXPECT_EQ(Valor("SELECT * FROM [Documentos()]", "Id_concepto"), "NULL");
    EXPECT_EQ(cobros::Filas("SELECT * FROM [Conceptos()]"), 0) << "no concept row that no bill names";
}

TEST_F(ImportaCSB, ABlankSuffixFindsItsPresenterAndIssuerAgain)
{
    std::vector<std::string> registros = Completa("5670", {Individual58("A", "01822376180101507859", "0000001234")});
    registros[0].replace(13, 3, "   ");
    registros[1].replace(13, 3, "   ");
    const std::string ruta = Fichero(registros);
    Importa(ruta, "CSB58");
    Importa(ruta, "CSB58");
    EXPECT_EQ(imp.Presentadores.Repetidos, 1);
    EXPECT_EQ(contadores[4], 1) << "the issuer repeated";
    EXPECT_EQ(cobros::Filas("SELECT * FROM [_Presentadores( Datos )]"), 1);
    EXPECT_EQ(cobros::Filas("SELECT * FROM [_Emisores( Datos )]"), 1);
}

TEST_F(ImportaCSB, AnIssuerWhoseAccountTheBankRefusesIsNamedAndCountedErroneous)
{
    std::vector<std::string> registros = Completa(
        "5180", {csb::Registro("5680", {{17, "R1"}, {29, "DEUDOR"}, {69, "01822376180101507859"}, {89, "0000000100"},
                                        {105, "        X1"}})});
    for (std::string &r : registros)
        r.replace(4, 9, "b65247983");
    registros[1].replace(68, 20, "21000111410200112239");
    registros.insert(registros.end() - 1, registros.begin() + 1, registros.begin() + 4);
    registros.back() = csb::Registro("5980", {{69, "0002"}, {89, "0000000200"}, {105, "0000000002" "0000000008"}});
    Importa(Fichero(registros), "CSB19");
    EXPECT_EQ(Aviso(), (std::vector<std::string>{FormateaTexto(Texto(961), "b65247983", "000", "EMISOR",
                                                                "21000111410200112239"),
                                                  Linea(2)}));
    EXPECT_EQ(contadores[0], 1);
    EXPECT_EQ(contadores[8], 1) << "imported and erroneous, once for its two blocks";
    EXPECT_EQ(Valor("SELECT * FROM [_Emisores( Datos )]", "Id_nif"), "B65247983") << "a NIF's letters as capitals";
    EXPECT_EQ(Valor("SELECT * FROM [_Presentadores( Datos )]", "Id_nif"), "B65247983");

    // A letter outside A-Z (the norms' capital N with tilde) refuses the file.
    for (const size_t r : {size_t(0), registros.size() - 1})
        registros[r].replace(4, 9, "\xA5" "6524798a");
    Importa(Fichero(registros), "CSB19");
    EXPECT_EQ(Aviso(), (std::vector<std::string>{FormateaTexto(Texto(791), "\xD1" "6524798a", "'\xD1'"), Linea(1),
                                                  Texto(276)}));
    EXPECT_EQ(cobros::Filas("SELECT * FROM [_Presentadores( Datos )]"), 1) << "nothing imported";
}

TEST_F(ImportaCSB, AReferenceStoredWithAGraveAccentByAnEarlierBuildIsFoundForItsApostrophe)
{
    const std::string ruta = Fichero(Completa("5670", {Individual58("O'NEIL", "01822376180101507859", "0000001234")}));
    Importa(ruta, "CSB58");
    ASSERT_TRUE(cobros::Ejecuta("UPDATE [Librados( Datos )] SET Codigo_referencia='O`NEIL'"));
    Importa(ruta, "CSB58");
    EXPECT_EQ(contadores[7], 1) << "the drawee found";
    EXPECT_EQ(cobros::Filas("SELECT * FROM [Librados( Datos )]"), 1);
}

// ---- What the program writes imports back as the same bills ----

class VueltaCSB : public ImportaCSB {
protected:
    // Generates the file of the batches and imports it; the new batches' ids.
    std::vector<int> GeneraEImporta(int tipo, const std::string &moneda, const std::vector<RemesaCSB> &remesas,
                                    const std::vector<std::string> &aviso = {})
    {
        PeticionCSB p;
        p.TipoOrden = tipo;
        p.Moneda = moneda;
        p.Remesas = remesas;
        p.Hoy = QDate::currentDate();
        p.FechaCargo = p.Hoy.addDays(3);
        p.FechaEuro = QDate(2100, 1, 1);
        p.CarpetaCSB = base.Programa().dir().path();
        p.CarpetaHistorico = base.Programa().dir().file("h/");
        p.Ini = base.Programa().dir().file("Orvanta.INI");
        _GeneradorCSB g(p, {});
        EXPECT_EQ(g.Genera(), ResultadoCSB::Generado);
        enviado = testutil::readFile(g.Fichero);
        const int ultima = std::stoi(Valor("SELECT MAX(Id_remesa) AS R FROM [Remesas()]", "R"));
        Importa(g.Fichero, tipo == 1 ? "CSB19" : "CSB58");
        EXPECT_EQ(Aviso(), aviso);
        std::vector<int> nuevas;
        for (const std::string &fila : basedatos::query("SELECT Id_remesa FROM [Remesas()] WHERE Id_remesa>" +
                                                        std::to_string(ultima) + " ORDER BY Id_remesa")
                                           .rows)
            nuevas.push_back(std::stoi(basedatos::field(fila, "Id_remesa")));
        return nuevas;
    }

    // The bills of a batch as the comparison reads them, ordered by reference and amount.
    std::vector<std::string> Recibos(int remesa)
    {
        std::vector<std::string> r;
        for (const std::string &fila :
             basedatos::query("SELECT L.Codigo_referencia, L.Razon_social, L.Cuenta, D.Importe, "
                              "D.Cod_devolucion, D.Ref_interna, D.F_vencimiento, D.Situacion, D.Activo, "
                              "RTRIM(IFNULL(C.Concepto, D.Primer_concepto)) AS Texto FROM [Documentos()] D JOIN [Librados( Datos )] L "
                              "ON L.Id_librado=D.Id_librado LEFT JOIN [Conceptos()] C ON C.Id_concepto=D.Id_concepto "
                              "WHERE D.Id_remesa=" + std::to_string(remesa) +
                              " ORDER BY L.Codigo_referencia, D.Importe")
                 .rows)
            r.push_back(fila);
        return r;
    }

    std::string Moneda(int remesa)
    {
        return Valor("SELECT Id_moneda FROM [Remesas()] WHERE Id_remesa=" + std::to_string(remesa), "Id_moneda");
    }

    std::string enviado; // the last file generated
};

TEST_F(VueltaCSB, AFileOfOursFindsThePresenterIssuersAndDraweesThatSentIt)
{
    // Suffixes and NIFs as earlier builds and other programs stored them; the presenter code sent.
    const struct {
        int tipo;
        const char *moneda, *nif, *presentador, *emisores[2], *codigo;
    } casos[] = {
        {1, "EUR", "b46103834", "1", {"12", "001"}, "B46103834001"},
        {2, "ESP", "x1234567l", " 1", {"1", " 12"}, "X1234567L001"},
        {1, "ESP", "12345678z", "001", {" 1", "012"}, "12345678Z001"},
        {2, "EUR", "y7654321g", "12", {"001", "1"}, "Y7654321G012"},
    };
    const char *const cuentas[] = {"21000418450200051332", "20590060212084518352"};
    for (const auto &c : casos) {
        const int p = cobros::Presentador(empresa, c.tipo == 1 ? "CSB19" : "CSB58", c.nif, c.presentador, "Presenta");
        std::vector<RemesaCSB> remesas;
        for (int i = 0; i < 2; ++i) {
            const int e = cobros::Emisor(p, c.nif, c.emisores[i], "Emisor", cuentas[i], "", "28079");
            remesas.push_back({cobros::Remesa(e, c.moneda, "Remesa"), e});
            cobros::Recibo recibo;
            recibo.importe = c.moneda == std::string("EUR") ? "12.5" : "1500";
            recibo.vencimiento = c.tipo == 2 ? "'2030/06/30'" : "NULL"; // CSB19 records carry none
            recibo.primerConcepto = "Cuota";
            for (const char *referencia : {"A", "B"})
                cobros::AltaRecibo(remesas.back().IdRemesa,
                                   cobros::AltaLibrado(e, {referencia, "Nombre", cuentas[1], "", "", "", "", "", ""}),
                                   recibo);
        }
        const auto filas = [] {
            return std::vector<int>{cobros::Filas("SELECT * FROM [_Presentadores( Datos )]"),
                                    cobros::Filas("SELECT * FROM [_Emisores( Datos )]"),
                                    cobros::Filas("SELECT * FROM [Librados( Datos )]")};
        };
        const std::vector<int> antes = filas();
        const std::vector<int> nuevas = GeneraEImporta(c.tipo, c.moneda, remesas);
        EXPECT_EQ(enviado.substr(4, 12), c.codigo);
        EXPECT_EQ(filas(), antes) << c.codigo << ": no new presenter, issuer or drawee";
        ASSERT_EQ(nuevas.size(), 2u) << c.codigo;
        for (size_t i = 0; i < nuevas.size(); ++i)
            EXPECT_EQ(Recibos(nuevas[i]), Recibos(remesas[i].IdRemesa)) << c.codigo << " batch " << i;
    }
}

// A file of ours goes back onto the drawees that sent it, whatever the bank makes of their
// references, and under the presenter that sent it, not its empty twin (each format one order).
TEST_F(VueltaCSB, AFileComesBackOntoItsDraweesAndUnderItsPresenterBesideATwin)
{
    for (int tipo : {1, 2}) {
        const std::string moneda = tipo == 1 ? "EUR" : "ESP", orden = GetTipoOrdenStr(tipo);
        const std::string nif = "B4610383" + std::to_string(tipo), lleno = tipo == 1 ? "1" : "001";
        const int p = cobros::Presentador(empresa, orden, nif, lleno, "Lleno");
        cobros::Presentador(empresa, orden, nif, tipo == 1 ? "001" : "1", "Vacio");
        const int e = cobros::Emisor(p, "A11111111", "001", "Emisor", "21000418450200051332");
        const int r = cobros::Remesa(e, moneda, "Remesa");
        cobros::Recibo recibo;
        recibo.primerConcepto = "Cuota";
        recibo.vencimiento = tipo == 2 ? "'2030/06/30'" : "NULL"; // CSB19 records carry none
        // The bank reads "O NEIL", "L ESTARTIT", "MUNOZ-01", "R/D-0" and "PENA-2".
        for (const char *referencia : {"O'NEIL", "L`ESTARTIT", "MU\xD1OZ-01", "R&D-0", "pe\xF1" "a-2"})
            cobros::AltaRecibo(
                r, cobros::AltaLibrado(e, {referencia, "O'Neil", "20590060212084518352", "", "", "", "", "", ""}), recibo);
        std::vector<std::string> aviso = {FormateaTexto(Texto(797), nif, "001", 2, lleno), Linea(1)};
        const std::vector<int> nuevas = GeneraEImporta(tipo, moneda, {{r, e}}, aviso);
        ASSERT_EQ(nuevas.size(), 1u);
        EXPECT_EQ(Valor("SELECT * FROM [Remesas()] WHERE Id_remesa=" + std::to_string(nuevas[0]), "Id_emisor"),
                  std::to_string(e)) << orden;
        EXPECT_EQ(Recibos(nuevas[0]), Recibos(r)) << orden << ": each bill on the drawee that sent it";

        // Another stored reference the bank reads alike: the file names neither, and the import says so.
        cobros::AltaLibrado(e, {"L'ESTARTIT", "Otro", "20590060212084518352", "", "", "", "", "", ""});
        const std::string ruta = base.Programa().dir().file("vuelta.csb");
        testutil::writeFile(ruta, enviado);
        Importa(ruta, orden);
        aviso.insert(aviso.end(), {FormateaTexto(Texto(794), "L ESTARTIT", "'L`ESTARTIT', 'L'ESTARTIT'"), Linea(3)});
        EXPECT_EQ(Aviso(), aviso) << orden;
        EXPECT_EQ(contadores[10], 1) << orden << ": its bill erroneous";
    }
}

TEST_F(VueltaCSB, Csb19InEurosWithTwoIssuersAndTwoBlocksOfOne)
{
    const int presentador = cobros::Presentador(empresa, "CSB19", "B11111111", "000", "Norte");
    const int a = cobros::Emisor(presentador, "A11111111", "001", "Emisor A", "21000418450200051332", "20590060212084518352");
    const int b = cobros::Emisor(presentador, "A22222222", "002", "Emisor B", "20590060212084518352");
    const int la = cobros::AltaLibrado(a, {"R1", "Alvarez", "21000418450200051332", "Titular", "Calle 1", "28001", "Madrid", "", ""});
    const int lb = cobros::AltaLibrado(a, {"R0", "Bravo", "00491500051234567892", "", "", "", "", "", ""});
    const int lc = cobros::AltaLibrado(b, {"R2", "Cerezo", "20590060212084518352", "", "", "", "", "", ""});
    const int r1 = cobros::Remesa(a, "EUR", "Uno"), r2 = cobros::Remesa(a, "EUR", "Dos"), r3 = cobros::Remesa(b, "EUR", "Tres");
    cobros::Recibo conConcepto;
    conConcepto.importe = "12.5";
    conConcepto.concepto = std::string(40, 'a') + std::string(130, 'b') + std::string(100, 'c');
    cobros::Recibo simple;
    simple.importe = "1234.56";
    simple.primerConcepto = "Cuota";
    simple.codDevolucion = "133";
    simple.refInterna = "X9";
    cobros::AltaRecibo(r1, la, conConcepto);
    cobros::AltaRecibo(r1, lb, simple);
    cobros::AltaRecibo(r2, la, simple);
    cobros::AltaRecibo(r3, lc, simple);
    cobros::Ejecuta("UPDATE [Remesas()] SET Con_emision=1");
    for (int r : {r1, r2, r3})
        cobros::Ejecuta("UPDATE [Remesas()] SET Importe_total=(SELECT SUM(Importe) FROM [Documentos()] WHERE Id_remesa=" +
                        std::to_string(r) + ") WHERE Id_remesa=" + std::to_string(r));

    const std::vector<int> nuevas = GeneraEImporta(1, "EUR", {{r1, a}, {r2, a}, {r3, b}});
    ASSERT_EQ(nuevas.size(), 3u);
    EXPECT_EQ(contadores, (std::array<int, 12>{0, 3, 4, 0, 3, 0, 0, 4, 0, 0, 0, 0})) << "issuers and drawees found";
    const int originales[] = {r1, r2, r3};
    for (size_t i = 0; i < nuevas.size(); ++i) {
        EXPECT_EQ(Recibos(nuevas[i]), Recibos(originales[i])) << "batch " << i;
        EXPECT_EQ(Moneda(nuevas[i]), "EUR");
    }
    EXPECT_EQ(Valor("SELECT Importe_total FROM [Remesas()] WHERE Id_remesa=" + std::to_string(nuevas[0]), "Importe_total"),
              "1247.06");
    EXPECT_EQ(Valor("SELECT Contravalor FROM [Documentos()] ORDER BY Id_documento DESC", "Contravalor"), "205414")
        << "1234.56 euros in pesetas";
}

TEST_F(VueltaCSB, Csb58InPesetasWithAddressRecords)
{
    const int presentador = cobros::Presentador(empresa, "CSB58", "B22222222", "001", "Sur");
    const int c = cobros::Emisor(presentador, "C33333333", "003", "Emisor C", "20590060212084518352", "", "28079");
    const int l1 = cobros::AltaLibrado(c, {"R3", "Duran", "00491500051234567892", "", "", "", "", "", ""});
    const int l0 = cobros::AltaLibrado(c, {"R4", "Sin Cuenta", "00000000000000000000", "", "Plaza 2", "08001",
                                           "Barcelona", "Sabadell", "08"});
    const int r = cobros::Remesa(c, "ESP", "Pesetas");
    cobros::Recibo uno;
    uno.importe = "1500";
    uno.vencimiento = "'2030/06/30'";
    uno.concepto = "Linea uno" + std::string(150, ' ') + "mas texto";
    cobros::Recibo dos = uno;
    dos.importe = "20000";
    dos.formalizacion = "'2030/06/01'";
    dos.concepto.clear();
    dos.primerConcepto = "Primera";
    cobros::AltaRecibo(r, l1, uno);
    cobros::AltaRecibo(r, l0, dos);
    cobros::Ejecuta("UPDATE [Remesas()] SET Con_emision=1");

    const std::vector<int> nuevas = GeneraEImporta(2, "ESP", {{r, c}});
    ASSERT_EQ(nuevas.size(), 1u);
    EXPECT_EQ(Moneda(nuevas[0]), "ESP");
    EXPECT_EQ(Recibos(nuevas[0]), Recibos(r));
    EXPECT_EQ(Valor("SELECT F_formalizacion FROM [Documentos()] WHERE Id_remesa=" + std::to_string(nuevas[0]) +
                        " ORDER BY Importe DESC",
                    "F_formalizacion"),
              "30 06 01")
        << "the date of the credit travels in the address record of a drawee without account";
    EXPECT_EQ(Valor("SELECT F_formalizacion FROM [Documentos()] WHERE Id_remesa=" + std::to_string(nuevas[0]) +
                        " ORDER BY Importe",
                    "F_formalizacion"),
              "NULL");
    EXPECT_EQ(Valor("SELECT Contravalor FROM [Documentos()] WHERE Id_remesa=" + std::to_string(nuevas[0]) +
                        " ORDER BY Importe",
                    "Contravalor"),
              "9.02")
        << "1500 pesetas in euros";
}

TEST_F(VueltaCSB, Csb19InPesetasAndCsb58InEuros)
{
    const int p19 = cobros::Presentador(empresa, "CSB19", "B33333333", "002", "Este");
    const int p58 = cobros::Presentador(empresa, "CSB58", "B44444444", "003", "Oeste");
    const int e19 = cobros::Emisor(p19, "D44444444", "004", "Emisor D", "21000418450200051332");
    const int e58 = cobros::Emisor(p58, "E55555555", "005", "Emisor E", "20590060212084518352", "", "8019");
    const int l19 = cobros::AltaLibrado(e19, {"P1", "Pesetero", "00491500051234567892", "", "", "", "", "", ""});
    const int l58 = cobros::AltaLibrado(e58, {"E1", "Eurero", "00491500051234567892", "", "", "", "", "", ""});
    const int r19 = cobros::Remesa(e19, "ESP", "Pesetas"), r58 = cobros::Remesa(e58, "EUR", "Euros");
    cobros::Recibo pesetas;
    pesetas.importe = "166386";
    pesetas.primerConcepto = "Cuota en pesetas";
    cobros::Recibo euros;
    euros.importe = "0.5";
    euros.vencimiento = "'2031/01/31'";
    euros.concepto = "Concepto en euros";
    cobros::AltaRecibo(r19, l19, pesetas);
    cobros::AltaRecibo(r58, l58, euros);

    const std::vector<int> n19 = GeneraEImporta(1, "ESP", {{r19, e19}});
    ASSERT_EQ(n19.size(), 1u);
    EXPECT_EQ(Moneda(n19[0]), "ESP");
    EXPECT_EQ(Recibos(n19[0]), Recibos(r19));
    EXPECT_EQ(Valor("SELECT Contravalor FROM [Documentos()] WHERE Id_remesa=" + std::to_string(n19[0]), "Contravalor"),
              "1000");
    const std::vector<int> n58 = GeneraEImporta(2, "EUR", {{r58, e58}});
    ASSERT_EQ(n58.size(), 1u);
    EXPECT_EQ(Moneda(n58[0]), "EUR");
    EXPECT_EQ(Recibos(n58[0]), Recibos(r58));
    EXPECT_EQ(Valor("SELECT Id_emisor FROM [Remesas()] WHERE Id_remesa=" + std::to_string(n58[0]), "Id_emisor"),
              std::to_string(e58))
        << "the issuer found again";
}

} // namespace
