// The sequential import without windows: conversions, grouping of lines into records, and
// whole runs on the shipped encrypted database with real files (all or nothing, repeats,
// refused rows, totals, the log).
#include "Importacionusuario.h"

#include "General.h"
#include "Generacsb.h"
#include "Guardadocumento.h"
#include "Multiidioma.h"
#include "Remesas.h"
#include "basedatos.h"
#include "cobros.h"
#include "cp1252.h"
#include "testutil.h"
#include "ventanas.h"

#include <gtest/gtest.h>

namespace {

using cobros::Filas;
using cobros::Valor;

TEST(ConvertirFecha, ReadsTheLayoutsLetters)
{
    const struct {
        const char *texto, *formato, *fecha;
    } casos[] = {
        {"15/03/01", "DDMMAA", "2001/03/15"},    {"31-12-99", "DDMMAA", "1999/12/31"},
        {"2001-12-31", "AAAAMMDD", "2001/12/31"}, {"010170", "DDMMAA", "2070/01/01"},
        {"010171", "DDMMAA", "1971/01/01"},       {"12312001", "MMDDAAAA", "2001/12/31"},
        {"31/02/01", "DDMMAA", ""},               {"1/2/3", "DDMMAA", ""},
        {" 150301 ", "DDMMAA", "2001/03/15"},     {"xx0301", "DDMMAA", ""},
    };
    for (const auto &c : casos)
        EXPECT_EQ(ConvertirFecha(c.texto, c.formato), c.fecha) << c.texto << " " << c.formato;
    EXPECT_EQ(ConvierteValor("150301", "FECHA_DDMMAA", false, ","), "2001/03/15");
}

TEST(ConvierteNumerico, ScalesDigitsAndMendsSeparators)
{
    const struct {
        const char *valor, *tipo;
        bool euros;
        const char *separador, *resultado, *porque;
    } casos[] = {
        {"1234", "NUMERICO_(2_DECIMALES)", true, ",", "12.34", "euros keep two decimals"},
        {"1234", "NUMERICO_(2_DECIMALES)", false, ",", "12", "pesetas none"},
        {"1250", "NUMERICO_(2_DECIMALES)", false, ",", "13", "half away from zero"},
        {"-1250", "NUMERICO_(2_DECIMALES)", false, ",", nullptr, "below zero: no bill is negative"},
        {"5", "NUMERICO_(3_DECIMALES)", true, ",", "0.01", "0.005 rounds up"},
        {"1234", "NUMERICO", true, ",", "1234.00", "no scaling"},
        {" 12 34", "NUMERICO_(1_DECIMAL)", true, ",", "123.40", "blanks removed"},
        {"12a", "NUMERICO", true, ",", nullptr, "not a number"},
        {"-0", "NUMERICO", true, ",", "0.00", "zero has no sign"},
        {" ", "NUMERICO", false, ",", "0", "missing"},
        {"00125", "NUMERICO_(2_DECIMALES)", true, ",", "1.25", "led by zeros"},
        {"1.234", "NUMERICO", true, ",", "1234.00", "a thousands point"},
        {"12,5", "NUMERICO", true, ",", "12.50", "the options' comma is the decimal point"},
        {"12,5", "NUMERICO", true, ".", "12.50", "a lone comma before decimals, as the boxes read it"},
        {"99999999999", "NUMERICO", false, ",", nullptr, "more than 10 digits"},
        {"99999999999", "NUMERICO_(2_DECIMALES)", false, ",", "1000000000", "rounded to 10 digits"},
        {"99999999999", "NUMERICO_(1_DECIMAL)", false, ",", nullptr, "rounded past 10 digits"},
        {"9999999999", "NUMERICO_(2_DECIMALES)", true, ",", "99999999.99", "8 integer digits of euros"},
        {"999999999995", "NUMERICO_(3_DECIMALES)", true, ",", nullptr, "rounded past them"},
        {"1.234,56", "NUMERICO_(2_DECIMALES)", true, ",", "1234.56", "thousands points, not scaled"},
        {"1,234.56", "NUMERICO", true, ".", "1234.56", "the other way round"},
        {"15.000", "NUMERICO", false, ",", "15000", "pesetas"},
        {"-1.234,5", "NUMERICO", true, ",", nullptr, "below zero"},
        {"0,50", "NUMERICO", true, ",", "0.50", "led by zero"},
        {"12.345", "NUMERICO", true, "", "12.345", "no separator in the options: as it is"},
        {"2.500.00", "NUMERICO", true, ",", nullptr, "two points"},
        {"0.500", "NUMERICO", true, ",", nullptr, "a thousands group led by zero"},
        {"12,345", "NUMERICO", true, ",", nullptr, "more decimals than the currency's"},
    };
    for (const auto &c : casos)
        EXPECT_EQ(ConvierteNumerico(c.valor, c.tipo, c.euros, c.separador),
                  c.resultado ? std::optional<std::string>(c.resultado) : std::nullopt)
            << c.porque;
    EXPECT_EQ(ConvierteValor("a b", "ALFANUMERICO", true, ","), "a b");
}

TEST(NormalizarCuenta, MendsAccountsAndMarksTheCorrectedOnes)
{
    const struct {
        const char *cuenta, *resultado;
        bool corregida;
        const char *porque;
    } casos[] = {
        {"21000418450200051332", "21000418450200051332", false, "a whole account"},
        {"2100041845020005133 ", "21000418450200051330", true, "a blank becomes 0"},
        {"21000418**0200051332", "21000418450200051332", false, "control digits computed"},
        {"2100 418**0200051332", "21000418**0200051332", true, "not computed after a blank"},
        {"2100041X450200051332", "99999999999999999999", true, "a letter"},
        {"ABCD0418**0200051332", "99999999999999999999", true, "no digits to compute from, never cut"},
        {"21000418**02", "99999999999999999999", true, "too short to compute"},
        {"210004184502", "99999999999999999999", true, "too short"},
        {"", "00000000000000000000", false, "empty"},
        {"-----", "00000000000000000000", false, "missing"},
    };
    for (const auto &c : casos) {
        bool corregida = !c.corregida;
        EXPECT_EQ(NormalizarCuenta(c.cuenta, corregida), c.resultado) << c.porque;
        EXPECT_EQ(corregida, c.corregida) << c.porque;
    }
}

// A data line with each text at its 1-based column.
std::string Linea(std::initializer_list<std::pair<int, std::string>> textos)
{
    std::string linea;
    for (const auto &[columna, texto] : textos) {
        if (linea.size() < size_t(columna - 1 + texto.size()))
            linea.resize(size_t(columna - 1 + texto.size()), ' ');
        linea.replace(size_t(columna - 1), texto.size(), texto);
    }
    return linea;
}

std::string Lineas(std::initializer_list<std::string> lineas)
{
    std::string texto;
    for (const std::string &l : lineas)
        texto += l + "\r\n";
    return texto;
}

TEST(ConstruyeEntradas, GroupsLinesIntoRecords)
{
    testutil::TempDir dir;
    const std::string sec = dir.file("g.sec"), datos = dir.file("g.txt");
    testutil::writeFile(sec, "[LINEAS]\nH=H,1,1,NULL\nA=A A,1,3,NULL\nB=B,1,1,NULL\n"
                             "[A]\nx=4,2,ALFA,[T].x,0\n[B]\ny=2,2,ALFA,[T].y,0\nz=9,2,ALFA,[T].z,0\n"
                             "[H]\nh=2,2,ALFA,NULL,0\n");
    LineDefList layout;
    ASSERT_EQ(LoadLineLayout(sec, layout), 0);
    const struct {
        std::vector<std::string> lineas;
        std::vector<int> marcas; // of every entry, the closing one included
        const char *porque;
    } casos[] = {
        {{"A A1", "B2", "A A3"}, {1, 1, 0, 2, 3}, "A B A: records A B and A; the blank inside the descriptor counts"},
        {{"B2", "A A1"}, {1, 0, 2, 3}, "B A: A stands before B"},
        {{"A A1", "A A2"}, {1, 2, 3}, "one kind twice: two records"},
        {{"H", "B1", "B2"}, {1, 0, 2, 0, 3}, "a header kind without imported fields"},
        {{"B1", "H", "B2"}, {1, 0, 2, 0, 3}, "its boundary waits for the next entry"},
        {{"x", "C"}, {3}, "no line recognised: the closing entry alone"},
    };
    for (const auto &c : casos) {
        std::string texto;
        for (const std::string &l : c.lineas)
            texto += l + "\r\n";
        testutil::writeFile(datos, texto);
        std::vector<EntradaImportacion> entradas;
        ASSERT_TRUE(ConstruyeEntradas(datos, layout, entradas, [](long long, long long) { return true; }));
        std::vector<int> marcas;
        for (const EntradaImportacion &e : entradas)
            marcas.push_back(e.Marca);
        EXPECT_EQ(marcas, c.marcas) << c.porque;
    }
    testutil::writeFile(datos, "B1234567ab\r\nB9\r\n");
    std::vector<EntradaImportacion> entradas;
    ASSERT_TRUE(ConstruyeEntradas(datos, layout, entradas, [](long long, long long) { return true; }));
    ASSERT_EQ(entradas.size(), 5u);
    EXPECT_EQ(*entradas[1].Enlace, "[T].z");
    EXPECT_EQ(entradas[1].Valor, "ab");
    EXPECT_EQ(entradas[1].Linea, 1);
    EXPECT_EQ(entradas[1].Tipo, "ALFA");
    EXPECT_EQ(entradas[2].Valor, "9 ");
    EXPECT_EQ(entradas[3].Valor, " ") << "the line ends before the field";
    EXPECT_FALSE(ConstruyeEntradas(dir.file("none.txt"), layout, entradas, [](long long, long long) { return true; }));
}

constexpr const char *kPlantilla =
    "[LINEAS]\r\nSoloCif=C,1,1,NULL\r\nEmpresa=E,1,1,NULL\r\nPresentador=P,1,1,NULL\r\nEmisor=M,1,1,NULL\r\n"
    "SoloNif=N,1,1,NULL\r\nLibrado=L,1,1,NULL\r\nRecibo=R,1,1,NULL\r\n"
    "[SoloCif]\r\nCif=2,10,ALFANUMERICO,[_Empresas( Datos )].Cif,000100000\r\n"
    "[Empresa]\r\nCif=2,10,ALFANUMERICO,[_Empresas( Datos )].Cif,000100000\r\n"
    "Nombre=12,30,ALFANUMERICO,[_Empresas( Datos )].Nombre,000100000\r\n"
    "[Presentador]\r\nNif=2,9,ALFANUMERICO,[_Presentadores( Datos )].Id_nif,000200000\r\n"
    "Sufijo=11,3,ALFANUMERICO,[_Presentadores( Datos )].Sufijo,000200000\r\n"
    "Razon=14,30,ALFANUMERICO,[_Presentadores( Datos )].Razon_social,000200000\r\n"
    "[Emisor]\r\nNif=2,9,ALFANUMERICO,[_Emisores( Datos )].Id_nif,000300000\r\n"
    "Sufijo=11,3,ALFANUMERICO,[_Emisores( Datos )].Sufijo,000300000\r\n"
    "Razon=14,20,ALFANUMERICO,[_Emisores( Datos )].Razon_social,000300000\r\n"
    "Cuenta=34,20,ALFANUMERICO,[_Emisores( Datos )].Cuenta_abono,000300000\r\n"
    "Nie=54,9,ALFANUMERICO,[_Emisores( Datos )].Codigo_NIE,000300000\r\n"
    "[SoloNif]\r\nNif=2,9,ALFANUMERICO,[_Emisores( Datos )].Id_nif,000300000\r\n"
    "[Librado]\r\nCodigo=2,12,ALFANUMERICO,[Librados( Datos )].Codigo_referencia,000400000\r\n"
    "Razon=14,20,ALFANUMERICO,[Librados( Datos )].Razon_social,000400000\r\n"
    "Cuenta=34,20,ALFANUMERICO,[Librados( Datos )].Cuenta,000400000\r\n"
    "[Recibo]\r\nImporte=2,10,NUMERICO,[Documentos()].Importe,000500000\r\n"
    "Concepto=12,20,ALFANUMERICO,[Documentos()].Concepto1,000500000\r\n"
    "Vence=32,6,FECHA_DDMMAA,[Documentos()].F_vencimiento,000500000\r\n"
    "Nada=38,5,ALFANUMERICO,NULL,000500000\r\n";

std::string Empresa(const std::string &cif, const std::string &nombre)
{
    return Linea({{1, "E"}, {2, cif}, {12, nombre}});
}
std::string Presentador(const std::string &nif, const std::string &sufijo, const std::string &razon)
{
    return Linea({{1, "P"}, {2, nif}, {11, sufijo}, {14, razon}});
}
std::string Emisor(const std::string &nif, const std::string &sufijo, const std::string &razon,
                   const std::string &cuenta = "21000418450200051332")
{
    return Linea({{1, "M"}, {2, nif}, {11, sufijo}, {14, razon}, {34, cuenta}, {54, "28079"}});
}
std::string Librado(const std::string &codigo, const std::string &razon,
                    const std::string &cuenta = "00491500051234567892")
{
    return Linea({{1, "L"}, {2, codigo}, {14, razon}, {34, cuenta}});
}
std::string Recibo(const std::string &importe, const std::string &concepto = "Cuota",
                   const std::string &vence = "150301")
{
    return Linea({{1, "R"}, {2, importe}, {12, concepto}, {32, vence}});
}

class Importacion : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(base.Abierta());
        testutil::writeFile(base.Programa().dir().file("tablas.dat"),
                            testutil::readFile(std::string(PROGRAM_DIR) + "tablas.dat"));
        testutil::writeFile(sec, kPlantilla);
    }
    void Opciones(const std::string &texto) { testutil::writeFile(RutaOpciones(sec), texto); }
    _ImportacionUsuario::Resultado Importa(const std::string &texto, int idEmpresa = 0)
    {
        testutil::writeFile(datos, texto);
        memo.clear();
        return run.Ejecuta(sec, datos, 1, idEmpresa);
    }
    bool EnMemo(const std::string &texto) const
    {
        return std::find(memo.begin(), memo.end(), texto) != memo.end();
    }

    cobros::Base base;
    std::string sec = base.Programa().dir().file("cobros.sec");
    std::string datos = base.Programa().dir().file("datos.txt");
    std::vector<std::string> memo;
    std::function<void(long long, long long, bool)> progreso;
    _ImportacionUsuario run{{[this](const std::string &t) { memo.push_back(t); },
                             [this](long long h, long long t, bool g) {
                                 if (progreso)
                                     progreso(h, t, g);
                             }}};
};

const std::string kDosEmisores =
    Lineas({Empresa("A11111111", "Norte"), Presentador("B22222222", "000", "Presenta"),
            Emisor("C33333333", "001", "Emisor Uno"), Librado("R1", "Alvarez"), Recibo("1000"),
            Librado("R2", "Bravo"), Recibo("2000", "", "311299"), Emisor("D44444444", "002", "Emisor Dos"),
            Librado("R1", "Cerezo"), Recibo("500")});

TEST_F(Importacion, StoresTheOrganisationUnderItsParentsAndCountsRepeats)
{
    ASSERT_EQ(Importa(kDosEmisores), _ImportacionUsuario::Resultado::Terminada);
    const std::string empresa = Valor("SELECT * FROM [_Empresas( Datos )] WHERE Cif='A11111111'", "Id_empresa");
    ASSERT_FALSE(empresa.empty());
    EXPECT_EQ(Valor("SELECT * FROM [_Empresas( Datos )]", "Id_usuario"), "1");
    EXPECT_EQ(Valor("SELECT * FROM [_Empresas( Datos )]", "Cuenta"), "00000000000000000000");
    const std::string presentador = Valor("SELECT * FROM [_Presentadores( Datos )] WHERE Id_empresa=" + empresa,
                                          "Id_presentador");
    EXPECT_EQ(Valor("SELECT * FROM [_Presentadores( Datos )]", "Clave_presentador"), "B22222222000");
    EXPECT_EQ(Valor("SELECT * FROM [_Presentadores( Datos )]", "Id_orden"), "CSB19");
    EXPECT_EQ(Filas("SELECT * FROM [_Emisores( Datos )] WHERE Id_presentador=" + presentador), 2);
    const std::string uno = Valor("SELECT * FROM [_Emisores( Datos )] WHERE Id_nif='C33333333'", "Id_emisor");
    const std::string dos = Valor("SELECT * FROM [_Emisores( Datos )] WHERE Id_nif='D44444444'", "Id_emisor");
    EXPECT_EQ(Valor("SELECT * FROM [_Emisores( Datos )] WHERE Id_emisor=" + uno, "Razon_social"), "Emisor Uno")
        << "stored trimmed";
    EXPECT_EQ(Filas("SELECT * FROM [Librados( Datos )] WHERE Id_emisor=" + uno), 2);
    EXPECT_EQ(Valor("SELECT * FROM [Librados( Datos )] WHERE Id_emisor=" + dos, "Razon_social"), "Cerezo")
        << "the same code under another issuer is another drawee";
    const std::string remesa = Valor("SELECT * FROM [Remesas()] WHERE Id_emisor=" + uno, "Id_remesa");
    EXPECT_EQ(Valor("SELECT * FROM [Remesas()] WHERE Id_remesa=" + remesa, "Id_moneda"), "ESP");
    EXPECT_EQ(Valor("SELECT * FROM [Remesas()] WHERE Id_remesa=" + remesa, "Con_emision"), "TRUE");
    EXPECT_EQ(Valor("SELECT * FROM [Remesas()] WHERE Id_remesa=" + remesa, "Importe_total"), "3000");
    EXPECT_EQ(Valor("SELECT * FROM [Remesas()] WHERE Id_remesa=" + remesa, "Contravalor_total"), "18.03");
    EXPECT_EQ(Valor("SELECT * FROM [Documentos()] WHERE Importe=2000", "F_vencimiento"), "99 12 31");
    EXPECT_EQ(Valor("SELECT * FROM [Documentos()] WHERE Importe=1000", "Contravalor"), "6.01");
    EXPECT_EQ(ConceptoCompleto(Valor("SELECT C.Concepto FROM [Documentos()] D INNER JOIN [Conceptos()] C ON "
                                     "D.Id_concepto=C.Id_concepto WHERE D.Importe=1000",
                                     "Concepto")),
              "Cuota" + std::string(635, ' '))
        << "the fields keep their place in the page";
    EXPECT_EQ(Valor("SELECT * FROM [Documentos()] WHERE Importe=2000", "Id_concepto"), "NULL") << "no concept";
    ContadoresImportacion c = run.Contadores();
    EXPECT_EQ(c.Empresas.Importados, 1);
    EXPECT_EQ(c.Emisores.Importados, 2);
    EXPECT_EQ(c.Remesas.Importados, 2);
    EXPECT_EQ(c.Recibos.Importados, 3);
    EXPECT_EQ(c.Librados.Importados, 3);
    EXPECT_FALSE(run.EmpresaActual());
    EXPECT_EQ(run.NombreEmpresa(), "Norte");

    ASSERT_EQ(Importa(kDosEmisores, std::stoi(empresa)), _ImportacionUsuario::Resultado::Terminada);
    c = run.Contadores();
    EXPECT_EQ(c.Empresas.Repetidos, 1);
    EXPECT_EQ(c.Presentadores.Repetidos, 1);
    EXPECT_EQ(c.Emisores.Repetidos, 2);
    EXPECT_EQ(c.Emisores.Importados, 0);
    EXPECT_EQ(c.Librados.Repetidos, 3);
    EXPECT_EQ(c.Remesas.Importados, 2) << "a second import adds new batches";
    EXPECT_EQ(c.Recibos.Erroneos, 0);
    EXPECT_TRUE(run.EmpresaActual());
    EXPECT_EQ(Filas("SELECT * FROM [_Emisores( Datos )]"), 2);
    EXPECT_EQ(Filas("SELECT * FROM [Librados( Datos )]"), 3);
    EXPECT_EQ(Filas("SELECT * FROM [Remesas()]"), 4);
    EXPECT_EQ(Filas("SELECT * FROM [Documentos()]"), 6);
}

TEST_F(Importacion, RefusedBillsAreCountedAndTheRestLand)
{
    Opciones("[Opciones]\nMoneda=Euros\nTipos_orden=CSB58\n");
    const std::string texto =
        Lineas({Presentador("B22222222", "000", "Presenta"), Emisor("C33333333", "001", "Uno"), Recibo("100"),
                Librado("R1", "Alvarez", "2100 41845020005133X"), Recibo("12x"), Librado("", "Bravo"),
                Recibo("0", "", ""), Emisor("D44444444", "002", "Dos")});
    const int empresa = cobros::Empresa();
    ASSERT_EQ(Importa(texto, empresa), _ImportacionUsuario::Resultado::Terminada);
    const ContadoresImportacion c = run.Contadores();
    EXPECT_EQ(c.Recibos.Erroneos, 3) << "no drawee, a mended drawee, a missing due date: each once";
    EXPECT_EQ(c.Recibos.Importados, 2);
    EXPECT_EQ(c.Librados.Erroneos, 1) << "the drawee without code";
    EXPECT_EQ(c.Remesas.Importados, 1) << "the second issuer's empty batch was deleted";
    EXPECT_EQ(Filas("SELECT * FROM [Remesas()]"), 1);
    EXPECT_EQ(Valor("SELECT * FROM [Remesas()]", "Id_moneda"), "EUR");
    EXPECT_EQ(Valor("SELECT * FROM [Librados( Datos )] WHERE Razon_social='Alvarez'", "Cuenta"),
              "99999999999999999999");
    EXPECT_EQ(Valor("SELECT * FROM [Librados( Datos )] WHERE Razon_social='Bravo'", "Codigo_referencia"), "-----");
    const std::string malo = "SELECT * FROM [Documentos()] D INNER JOIN [Librados( Datos )] L ON "
                             "D.Id_librado=L.Id_librado WHERE L.Razon_social=";
    EXPECT_EQ(Valor(malo + "'Alvarez'", "Activo"), "FALSE") << "its drawee's account was mended";
    EXPECT_EQ(Valor(malo + "'Alvarez'", "Situacion"), "1");
    EXPECT_EQ(Valor(malo + "'Alvarez'", "Importe"), "0");
    EXPECT_EQ(Valor(malo + "'Bravo'", "Activo"), "FALSE") << "a CSB58 bill without due date";
    EXPECT_EQ(Valor(malo + "'Bravo'", "F_vencimiento"), "NULL") << "a date column never holds the mark";
    EXPECT_TRUE(EnMemo("Error en la l\xEDnea: 5 ")) << "a text that is not an amount, by its line";
    EXPECT_TRUE(EnMemo("El importe del documento es cero"));
    EXPECT_TRUE(EnMemo("Cuenta del adeudo incorrecta"));
    EXPECT_TRUE(EnMemo("Error en la l\xEDnea: 4 "));
}

TEST_F(Importacion, AmountsWithThousandsPointsReadByTheTemplatesSeparator)
{
    Opciones("[Opciones]\nMoneda=Euros\nSeparador_decimal=,\n");
    const int empresa = cobros::Empresa();
    ASSERT_EQ(Importa(Lineas({Presentador("B22222222", "000", "Presenta"), Emisor("C33333333", "001", "Uno"),
                              Librado("R1", "Alvarez"), Recibo("1.234,56"), Recibo("15.000,00"), Recibo("1.234"),
                              Recibo("2.500.00")}),
                      empresa),
              _ImportacionUsuario::Resultado::Terminada);
    EXPECT_EQ(Valor("SELECT * FROM [Remesas()]", "Importe_total"), "17468.56");
    EXPECT_TRUE(EnMemo("Importe err\xF3neo. 2.500.00")) << "the file's text";
    EXPECT_EQ(run.Contadores().Recibos.Erroneos, 1);

    Importa(Lineas({Presentador("B22222222", "000", "Presenta"), Emisor("C33333333", "001", "Uno"),
                    Librado("R1", "Alvarez"), Recibo("9999999999")}),
            empresa);
    const auto erroneo = std::find(memo.begin(), memo.end(), "Importe err\xF3neo. 9999999999");
    ASSERT_LT(erroneo + 1, memo.end()) << "the file's text";
    EXPECT_EQ(erroneo[1], "Un importe en euros puede tener 8 d\xEDgitos enteros como m\xE1ximo.")
        << "and why, never a rounded amount";
}

TEST_F(Importacion, AnAmountIsStoredAsTheFileWritesItOrTheBillIsErroneousQuotingIt)
{
    // The amount as written, and the text the report gives after it and before the bill's line (0: none).
    const std::pair<const char *, int> casos[] = {
        {"1234", 0}, {"12345-", 799}, {"-12345", 799}, {"12345+", 798}, {"-12345-", 798}, {"-", 798}, {"12a", 798},
    };
    std::string datos = Lineas({Presentador("B22222222", "000", "Presenta"), Emisor("C33333333", "001", "Uno"),
                                Librado("R1", "Nombre")});
    for (const auto &[texto, motivo] : casos)
        datos += Lineas({Recibo(texto)});
    ASSERT_EQ(Importa(datos, cobros::Empresa()), _ImportacionUsuario::Resultado::Terminada);
    const auto recibos = basedatos::query("SELECT Importe, Situacion FROM [Documentos()] ORDER BY Id_documento").rows;
    ASSERT_EQ(recibos.size(), std::size(casos));
    for (size_t i = 0; i < std::size(casos); ++i) {
        const auto &[texto, motivo] = casos[i];
        EXPECT_EQ(basedatos::field(recibos[i], "Importe"), motivo ? "0" : texto) << texto;
        EXPECT_EQ(basedatos::field(recibos[i], "Situacion"), motivo ? "1" : "0") << texto;
        const std::string dicho[] = {"Importe err\xF3neo. " + std::string(texto), motivo ? Idioma.GetTexto(motivo) : "",
                                     FormateaTexto(Idioma.GetTexto(619), 4 + int(i))};
        EXPECT_EQ(std::search(memo.begin(), memo.end(), std::begin(dicho), std::end(dicho)) != memo.end(), motivo != 0)
            << texto;
    }
}

TEST_F(Importacion, CSB58CreditsWithoutAccountAreNormal)
{
    Opciones("[Opciones]\nMoneda=Euros\nTipos_orden=CSB58\n");
    const struct {
        const char *cuenta, *porque;
    } casos[] = {{"", "the line ends before the field"},
                 {"                    ", "blank"},
                 {"-----", "the mark of a missing value, with the field's blanks"},
                 {"00000000000000000000", "zeros"}};
    std::string texto = Lineas({Presentador("B22222222", "000", "Presenta"), Emisor("C33333333", "001", "Uno")});
    for (size_t i = 0; i < std::size(casos); ++i)
        texto += Lineas({Librado("R" + std::to_string(i), "Nombre", casos[i].cuenta), Recibo("100")});
    ASSERT_EQ(Importa(texto, cobros::Empresa()), _ImportacionUsuario::Resultado::Terminada);
    for (size_t i = 0; i < std::size(casos); ++i) {
        const std::string librado =
            "SELECT * FROM [Librados( Datos )] WHERE Codigo_referencia='R" + std::to_string(i) + "'";
        EXPECT_EQ(Valor(librado, "Cuenta"), std::string(20, '0')) << casos[i].porque;
        EXPECT_EQ(Valor("SELECT * FROM [Documentos()] WHERE Id_librado=" + Valor(librado, "Id_librado"), "Situacion"),
                  "0")
            << casos[i].porque;
    }
    EXPECT_EQ(run.Contadores().Recibos.Erroneos, 0);
}

TEST_F(Importacion, AUtf8DataFileIsCutByCharacters)
{
    // Laid out in Windows-1252, written as UTF-8 with two characters Windows-1252 lacks at # and ~.
    std::string texto = cp1252::toUtf8(Lineas({Presentador("B22222222", "000", "Presenta"),
                                              Emisor("C33333333", "001", "Uno"), Librado("R1", "#ukasz ~ Pe\xF1" "a"),
                                              Recibo("12550", "Torniller\xED" "a", "031002")}));
    texto.replace(texto.find('#'), 1, "\xC5\x81");
    texto.replace(texto.find('~'), 1, "\xE4\xB8\xAD");
    ASSERT_EQ(Importa(texto, cobros::Empresa()), _ImportacionUsuario::Resultado::Terminada);
    EXPECT_TRUE(EnMemo("El fichero de datos se ha le\xED" "do como texto UTF-8."));
    EXPECT_EQ(Valor("SELECT * FROM [Librados( Datos )]", "Razon_social"), "Lukasz   Pe\xF1" "a");
    EXPECT_EQ(Valor("SELECT * FROM [Documentos()]", "Situacion"), "0") << "the account after the name is whole";
    EXPECT_EQ(Valor("SELECT * FROM [Documentos()]", "Importe"), "12550");
    EXPECT_EQ(Valor("SELECT * FROM [Documentos()]", "F_vencimiento"), "02 10 03");
}

TEST_F(Importacion, AWindows1252LineInAUtf8FileKeepsItsLettersAndTheUtf8LinesTheirs)
{
    const std::string texto = cp1252::toUtf8(Lineas({Presentador("B22222222", "000", "Presenta"),
                                                     Emisor("C33333333", "001", "Uno"), Librado("R1", "Pe\xF1" "a"),
                                                     Recibo("100")})) +
                              Lineas({Librado("R2", "Ib\xE1\xF1" "ez"), Recibo("200")});
    ASSERT_EQ(Importa(texto, cobros::Empresa()), _ImportacionUsuario::Resultado::Terminada);
    EXPECT_EQ(Valor("SELECT * FROM [Librados( Datos )] WHERE Codigo_referencia='R1'", "Razon_social"), "Pe\xF1" "a");
    EXPECT_EQ(Valor("SELECT * FROM [Librados( Datos )] WHERE Codigo_referencia='R2'", "Razon_social"),
              "Ib\xE1\xF1" "ez");
    EXPECT_TRUE(EnMemo("Cada l\xEDnea del fichero de datos se ha le\xED" "do en su codificaci\xF3n: 1 en UTF-8 y 1 en "
                       "Windows-1252 (ANSI), la primera de estas la 5."));
}

TEST_F(Importacion, ABillWhoseDraweeWasMendedIsErroneousUntilTheBillEditorSavesIt)
{
    Opciones("[Opciones]\nMoneda=Euros\n");
    const std::string texto =
        Lineas({Presentador("B22222222", "000", "Presenta"), Emisor("C33333333", "001", "Uno"),
                Librado("R1", "Alvarez", "2100041845020005133 "), Recibo("100.00"),
                Librado("R2", "Bravo", "ABCD0418**0200051332"), Recibo("50.00"),
                Librado("R3", "Cerezo", "21000418990200051332"), Recibo("25.00"), Librado("R4", "Duran"),
                Recibo("12.34")});
    ASSERT_EQ(Importa(texto, cobros::Empresa()), _ImportacionUsuario::Resultado::Terminada);
    EXPECT_EQ(std::count(memo.begin(), memo.end(), "Cuenta del adeudo incorrecta"), 3);
    EXPECT_EQ(run.Contadores().Recibos.Importados, 4);
    EXPECT_EQ(run.Contadores().Recibos.Erroneos, 3);
    EXPECT_NE(testutil::readFile(run.RutaLog()).find("Recibos importados      : 4,repetidos: 0, erroneos 3"),
              std::string::npos);
    EXPECT_EQ(Valor("SELECT * FROM [Librados( Datos )] WHERE Razon_social='Bravo'", "Cuenta"),
              "99999999999999999999");
    const std::string remesa = Valor("SELECT * FROM [Remesas()]", "Id_remesa");
    const auto recibo = [](const char *importe, const char *campo) {
        return Valor(std::string("SELECT * FROM [Documentos()] WHERE Importe=") + importe, campo);
    };
    for (const char *importe : {"100", "50", "25"}) {
        EXPECT_EQ(recibo(importe, "Situacion"), "1") << importe;
        EXPECT_EQ(recibo(importe, "Activo"), "FALSE") << importe;
    }
    EXPECT_EQ(Valor("SELECT * FROM [Remesas()]", "Importe_total"), "12.34") << "erroneous bills are not counted";

    std::vector<std::string> ids;
    for (const char *importe : {"100", "50", "25", "12.34"})
        ids.push_back(recibo(importe, "Id_documento"));
    EXPECT_EQ(ActivaRecibos(std::stoi(remesa), ids, true).Cambiados, 1) << "the activate command skips them";
    EXPECT_EQ(Filas("SELECT * FROM [Documentos()] WHERE Activo=TRUE"), 1);

    PeticionCSB p;
    p.TipoOrden = 1;
    p.Moneda = "EUR";
    p.Remesas = {{std::stoi(remesa), std::stoi(Valor("SELECT * FROM [Remesas()]", "Id_emisor"))}};
    p.Hoy = QDate::currentDate();
    p.FechaCargo = p.Hoy.addDays(3);
    p.FechaEuro = QDate(2002, 1, 1);
    p.CarpetaCSB = base.Programa().dir().file("CSB19/");
    p.CarpetaHistorico = base.Programa().dir().file("HISTORICO/");
    p.Ini = base.Programa().dir().file("Orvanta.INI");
    _GeneradorCSB generador(p, {});
    ASSERT_EQ(generador.Genera(), ResultadoCSB::Generado);
    EXPECT_EQ(generador.Documentos, 1);
    const std::string fichero = testutil::readFile(generador.Fichero);
    EXPECT_NE(fichero.find("R4          Duran"), std::string::npos);
    for (const char *referencia : {"R1 ", "R2 ", "R3 "})
        EXPECT_EQ(fichero.find(referencia), std::string::npos) << referencia << " is not sent";

    STRRecibo r;
    r.Librado.Codigo_referencia = "R1";
    r.Librado.Razon_social = "Alvarez";
    r.Librado.PonCuenta("21000418450200051332");
    r.Importe = "100";
    r.Memo = {"Cuota"};
    DestinoRecibo d;
    d.TipoOrden = 1;
    d.Modo = RegistroModificar;
    d.IdUsuario = 1;
    d.IdRemesa = std::stoi(remesa);
    d.IdEmisor = p.Remesas[0].IdEmisor;
    d.IdDocumento = std::stoi(ids[0]);
    d.Id_moneda = "EUR";
    d.Con_emision = "TRUE";
    d.Id_concepto = recibo("100", "Id_concepto");
    int id = 0;
    RespondeCajas cajas;
    ASSERT_EQ(GuardaDocumento(r, d, id), EstadoGuarda::Guardado);
    EXPECT_TRUE(cajas.Vistas.empty());
    EXPECT_EQ(recibo("100", "Situacion"), "0");
    EXPECT_EQ(recibo("100", "Activo"), "TRUE");
    EXPECT_EQ(Valor("SELECT * FROM [Remesas()]", "Importe_total"), "112.34") << "counted again";
}

TEST_F(Importacion, ABillThatWouldGoOutOnAnotherAccountThanTheFilesIsErroneous)
{
    const std::string bueno = "21000418450200051332";
    Importa(Lineas({Presentador("B22222222", "000", "Presenta"), Emisor("C33333333", "001", "Uno"),
                    Librado("R1", "Alvarez", "2100041845020005133X"), Recibo("100"), Librado("R1", "Alvarez", bueno),
                    Recibo("200"), Librado("R2", "Bravo"), Recibo("300"), Librado("R2", "Bravo"), Recibo("400")}),
            cobros::Empresa());
    EXPECT_TRUE(EnMemo(FormateaTexto(Idioma.GetTexto(926), "R1", bueno, std::string(20, '9'))));
    EXPECT_EQ(Valor("SELECT * FROM [Documentos()] WHERE Importe=200", "Situacion"), "1") << "R1 kept its nines";
    EXPECT_EQ(run.Contadores().Recibos.Erroneos, 2) << "both bills of R1, none of R2";
}

TEST_F(Importacion, ARefusedStatementOrAStopLeavesEveryTableAsBefore)
{
    const int empresa = cobros::Empresa();
    const std::vector<std::string> antes = basedatos::dump();
    ASSERT_TRUE(cobros::Ejecuta("CREATE TRIGGER Rechaza BEFORE INSERT ON [Documentos()] WHEN CAST(NEW.Importe AS INTEGER) = 500 "
                                "BEGIN SELECT RAISE(ABORT, 'rechazado'); END;"));
    EXPECT_EQ(Importa(kDosEmisores, empresa), _ImportacionUsuario::Resultado::Fallida);
    EXPECT_EQ(basedatos::dump(), antes);
    EXPECT_TRUE(EnMemo("Error en la l\xEDnea: 8 ")) << "the record of the refused bill";
    EXPECT_TRUE(EnMemo("No se ha importado nada: la base de datos queda como estaba."));
    ASSERT_TRUE(cobros::Ejecuta("DROP TRIGGER Rechaza;"));

    run.IntervaloAvisos(0);
    progreso = [this](long long hecho, long long, bool guardando) {
        if (guardando && hecho == 6)
            run.Para();
    };
    EXPECT_EQ(Importa(kDosEmisores, empresa), _ImportacionUsuario::Resultado::Parada);
    EXPECT_EQ(basedatos::dump(), antes);
    EXPECT_TRUE(EnMemo("Importaci\xF3n finalizada por el usuario."));

    progreso = [this](long long, long long, bool guardando) {
        if (!guardando)
            run.Para();
    };
    EXPECT_EQ(Importa(kDosEmisores, empresa), _ImportacionUsuario::Resultado::Cancelada);
    EXPECT_EQ(basedatos::dump(), antes);
}

TEST_F(Importacion, ARefusedCompanyPresenterOrIssuerRollsTheRunBackAndNamesItsLine)
{
    const int empresa = cobros::Empresa();
    const std::string guardado = Lineas({Presentador("B22222222", "000", "Presenta"),
                                         Emisor("C33333333", "001", "Uno"), Librado("R1", "Alvarez"), Recibo("100")});
    const struct {
        std::string texto;
        int empresa, linea;
        const char *mensaje, *porque;
    } casos[] = {
        {guardado + Lineas({Linea({{1, "C"}, {2, "X1"}}), Presentador("B3", "001", "Otro"), Librado("R2", "Bravo"),
                            Recibo("200")}),
         empresa, 5, "No hay datos suficientes para crear la empresa", "a company without name"},
        {Lineas({Presentador("B4", "001", "Sin empresa")}), 0, 1, "Presentador sin empresa", "no current company"},
        {guardado + Lineas({Linea({{1, "N"}, {2, "D44444444"}}), Librado("R2", "Bravo"), Recibo("200")}), empresa,
         5, "No hay datos para guardar el emisor", "an issuer without its name and account"},
    };
    const std::vector<std::string> antes = basedatos::dump();
    for (const auto &c : casos) {
        EXPECT_EQ(Importa(c.texto, c.empresa), _ImportacionUsuario::Resultado::Rechazada) << c.porque;
        EXPECT_EQ(basedatos::dump(), antes) << c.porque;
        EXPECT_TRUE(EnMemo(c.mensaje)) << c.porque;
        EXPECT_TRUE(EnMemo("No se puede importar el fichero")) << c.porque;
        EXPECT_TRUE(EnMemo(FormateaTexto(Idioma.GetTexto(619), c.linea))) << c.porque;
        EXPECT_TRUE(EnMemo("No se ha importado nada: la base de datos queda como estaba.")) << c.porque;
    }
}

TEST_F(Importacion, TemplatesWithFieldsLongerThanALineAreRefusedBeforeALineIsCut)
{
    const std::vector<std::string> antes = basedatos::dump();
    for (const char *fuzz : {"F1_tamano_2e9", "F1_tamano_999999", "F1_fz_secuencial_oom-c783a51e"}) {
        testutil::writeFile(sec, testutil::readFile(DATOS_SECUENCIAL + std::string(fuzz) + ".sec"));
        EXPECT_EQ(Importa(testutil::readFile(DATOS_SECUENCIAL + std::string(fuzz) + "_datos.txt")),
                  _ImportacionUsuario::Resultado::SinPlantilla)
            << fuzz;
        ASSERT_GE(memo.size(), 2u);
        EXPECT_EQ(memo[memo.size() - 2], "Error leyendo el fichero de configuraci\xF3n de la importaci\xF3n.") << fuzz;
        EXPECT_NE(memo.back().find(" mide m\xE1s de 4095 caracteres"), std::string::npos) << memo.back();
        EXPECT_NE(memo.back().find(std::string(fuzz).rfind("F1_fz", 0) == 0 ? "Recibo.Nombre" : "R.Nombre"),
                  std::string::npos)
            << memo.back();
    }
    EXPECT_EQ(basedatos::dump(), antes);
}

TEST_F(Importacion, UnreadableFilesEndTheRunWithTheirMessage)
{
    const std::vector<std::string> antes = basedatos::dump();
    EXPECT_EQ(run.Ejecuta(sec, base.Programa().dir().file("no.txt"), 1, 0),
              _ImportacionUsuario::Resultado::SinDatos);
    EXPECT_EQ(memo.back(), "Error leyendo el fichero de datos de la importaci\xF3n.");
    testutil::writeFile(sec, "[OTRA]\n");
    EXPECT_EQ(Importa("E\r\n"), _ImportacionUsuario::Resultado::SinPlantilla);
    EXPECT_EQ(memo.back(), "Error leyendo el fichero de configuraci\xF3n de la importaci\xF3n.");
    EXPECT_EQ(basedatos::dump(), antes);
}

TEST_F(Importacion, TheLogIsAppendedBesideTheDataFile)
{
    const int empresa = cobros::Empresa();
    const std::string texto = Lineas({Presentador("B22222222", "000", "Presenta"), Emisor("C33333333", "001", "Uno"),
                                      Librado("R1", "Alvarez"), Recibo("100")});
    ASSERT_EQ(Importa(texto, empresa), _ImportacionUsuario::Resultado::Terminada);
    const std::string log = base.Programa().dir().file("datos.log");
    EXPECT_EQ(run.RutaLog(), log);
    std::string primera = testutil::readFile(log);
    const size_t cabecera = primera.find('\n', 1);
    ASSERT_EQ(primera.substr(0, 33), "\nInforme importaci\xF3n secuencial: ");
    EXPECT_EQ(primera.substr(cabecera + 1),
              "Comenzando el proceso de importaci\xF3n.\n"
              "El fichero de datos se ha le\xED" "do como texto Windows-1252 (ANSI).\n"
              "\n"
              "Importaci\xF3n finalizada\n"
              "** Resultado de la importaci\xF3n **\n"
              "Empresas importadas     :0,repetidas: 0,erroneas: 0\n"
              "Presentadores importados     :1,repetidos: 0,erroneos: 0\n"
              "Emisores importados     :1,repetidos: 0,erroneos: 0\n"
              "Remesas importadas      :1,repetidos: --,erroneos: 0\n"
              "Recibos importados      : 1,repetidos: 0, erroneos 0\n"
              "Librados importados     : 1,repetidos: 0, erroneos 0\n"
              "** Finalizado informe de la importaci\xF3n **\n"
              "\n"
              "\n"
              "Se ha generado el archivo: " +
                  log +
                  "\n"
                  "que contiene el resultado de la importaci\xF3n.\n");
    ASSERT_EQ(Importa(texto, empresa), _ImportacionUsuario::Resultado::Terminada);
    const std::string ambas = testutil::readFile(log);
    EXPECT_EQ(ambas.substr(0, primera.size()), primera) << "appended";
    EXPECT_NE(ambas.find("Presentador repetido\n", primera.size()), std::string::npos);
}

} // namespace
