// The generation of send files on the shipped encrypted database: the file, its history
// copy, rows, stamps and counter, all or nothing; the recovery of runs that died.
#include "Generacsb.h"

#include "Aplicacion.h"
#include "Estructuracsb.h"
#include "General.h"
#include "Multiuser.h"
#include "cobros.h"
#include "fallos.h"
#include "profile.h"
#include "testutil.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

using cobros::Ejecuta;
using cobros::Valor;

const QDate kHoy = QDate::currentDate();
const char *const kSinVencimiento = "ERROR: El anticipo no tiene una fecha de vencimiento v\xE1lida.";

std::vector<std::string> Lineas(const std::string &fichero)
{
    std::vector<std::string> lineas;
    const std::string texto = testutil::readFile(fichero);
    for (size_t i = 0; i < texto.size();) {
        const size_t fin = texto.find("\r\n", i);
        if (fin == std::string::npos) {
            lineas.push_back("sin final de linea: " + texto.substr(i));
            break;
        }
        lineas.push_back(texto.substr(i, fin - i));
        i = fin + 2;
    }
    return lineas;
}

std::vector<std::string> Codigos(const std::vector<std::string> &lineas)
{
    std::vector<std::string> codigos;
    for (const std::string &l : lineas)
        codigos.push_back(l.substr(0, 4));
    return codigos;
}

std::vector<std::string> Ficheros(const std::string &carpeta)
{
    std::vector<std::string> nombres;
    std::error_code ec;
    for (const auto &e : std::filesystem::directory_iterator(carpeta, ec))
        nombres.push_back(e.path().filename().string());
    std::sort(nombres.begin(), nombres.end());
    return nombres;
}

class GeneraCSB : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(base.Abierta());
        App().Multiuser = &multiuser;
        const int empresa = cobros::Empresa();
        csb19 = cobros::Presentador(empresa, "CSB19", "B11111111", "000", "Norte, S.A.");
        csb58 = cobros::Presentador(empresa, "CSB58", "B22222222", "001", "Sur");
        emisorA = cobros::Emisor(csb19, "A11111111", "001", "Emisor A", "21000418450200051332",
                                 "20590060212084518352");
        emisorB = cobros::Emisor(csb19, "A22222222", "002", "Emisor B", "20590060212084518352");
        emisorC = cobros::Emisor(csb58, "C33333333", "003", "Emisor C", "20590060212084518352", "", "28079");
        libradoA = cobros::AltaLibrado(emisorA, {"R1", "\xC1lvarez", "21000418450200051332", "Titular", "Calle 1",
                                                 "28001", "Madrid", "", ""});
        libradoA2 = cobros::AltaLibrado(emisorA, {"R0", "Bravo", "00491500051234567892", "", "", "", "", "", ""});
        libradoB = cobros::AltaLibrado(emisorB, {"R2", "Cerezo", "20590060212084518352", "", "", "", "", "", ""});
        libradoC = cobros::AltaLibrado(emisorC, {"R3", "Duran", "00491500051234567892", "", "", "", "", "", ""});
        libradoC0 = cobros::AltaLibrado(emisorC, {"R4", "Sin Cuenta", "00000000000000000000", "", "Plaza 2",
                                                  "08001", "Barcelona", "Sabadell", "08"});
        ASSERT_TRUE(libradoC0 > 0);
        profile::writeString(Ini(), "FICHEROCSB", "UltimoFichero", "7");
    }
    void TearDown() override { App().Multiuser = nullptr; }

    std::string Ini() const { return base.Programa().dir().file("Orvanta.INI"); }
    std::string Carpeta(const std::string &nombre) const { return base.Programa().dir().file(nombre + "/"); }

    PeticionCSB Peticion(int tipo, const std::string &moneda, std::vector<RemesaCSB> remesas) const
    {
        PeticionCSB p;
        p.TipoOrden = tipo;
        p.Moneda = moneda;
        p.Remesas = std::move(remesas);
        p.Hoy = kHoy;
        p.FechaCargo = kHoy.addDays(3);
        p.FechaEuro = QDate(2002, 1, 1);
        p.CarpetaCSB = Carpeta(tipo == 1 ? "CSB19" : "CSB58");
        p.CarpetaHistorico = Carpeta("HISTORICO");
        p.Ini = Ini();
        return p;
    }

    ResultadoCSB Genera(const PeticionCSB &p, _GeneradorCSB **generador = nullptr)
    {
        lineas.clear();
        ProgresoCSB progreso;
        progreso.Linea = [this](const std::string &l) { lineas.push_back(l); };
        progreso.Avance = [this](long long hechos, long long total) { avances.emplace_back(hechos, total); };
        ultimo = std::make_unique<_GeneradorCSB>(p, progreso);
        if (generador)
            *generador = ultimo.get();
        return ultimo->Genera();
    }

    bool Dicho(const std::string &texto) const
    {
        return std::find(lineas.begin(), lineas.end(), texto) != lineas.end();
    }

    // Nothing of a run is left: no file, no temporary, no stamp, no row, the counter as it was.
    void NadaEscrito(const char *porque)
    {
        EXPECT_EQ(Ficheros(Carpeta("CSB19")), std::vector<std::string>()) << porque;
        EXPECT_EQ(Ficheros(Carpeta("CSB58")), std::vector<std::string>()) << porque;
        EXPECT_EQ(Ficheros(Carpeta("HISTORICO")), std::vector<std::string>()) << porque;
        EXPECT_EQ(cobros::Filas("SELECT * FROM [Documentos()] WHERE F_proceso IS NOT NULL"), 0) << porque;
        EXPECT_EQ(cobros::Filas("SELECT * FROM [Historicos( Remesas )]"), 0) << porque;
        EXPECT_EQ(cobros::Filas("SELECT * FROM [Remesas()] WHERE F_generacion IS NOT NULL"), 0) << porque;
        EXPECT_EQ(cobros::Filas("SELECT * FROM [Remesas()] WHERE Block<>0"), 0) << porque << ": locks released";
        EXPECT_EQ(profile::readString(Ini(), "FICHEROCSB", "UltimoFichero", ""), "7") << porque;
    }

    cobros::Base base;
    _multiuser multiuser;
    int csb19 = 0, csb58 = 0, emisorA = 0, emisorB = 0, emisorC = 0;
    int libradoA = 0, libradoA2 = 0, libradoB = 0, libradoC = 0, libradoC0 = 0;
    std::vector<std::string> lineas;
    std::vector<std::pair<long long, long long>> avances;
    std::unique_ptr<_GeneradorCSB> ultimo;
};

TEST_F(GeneraCSB, Csb19FileHistoryRowsStampsAndCounter)
{
    const int r1 = cobros::Remesa(emisorA, "EUR", "Enero"), r2 = cobros::Remesa(emisorA, "EUR", "Febrero");
    const int r3 = cobros::Remesa(emisorB, "EUR", "Marzo");
    cobros::Recibo conConcepto;
    conConcepto.importe = "12.5";
    conConcepto.concepto = std::string(40, 'a') + std::string(40, 'b');
    const int b1 = cobros::AltaRecibo(r1, libradoA, conConcepto);
    cobros::Recibo simple;
    simple.importe = "0.5";
    simple.primerConcepto = "Cuota";
    const int b2 = cobros::AltaRecibo(r1, libradoA2, simple);
    cobros::Recibo inactivo = simple;
    inactivo.activo = false;
    const int b3 = cobros::AltaRecibo(r1, libradoA, inactivo);
    const int b4 = cobros::AltaRecibo(r2, libradoA, simple);
    const int b5 = cobros::AltaRecibo(r3, libradoB, simple);
    ASSERT_TRUE(b5 > 0);

    _GeneradorCSB *g = nullptr;
    ASSERT_EQ(Genera(Peticion(1, "EUR", {{r1, emisorA}, {r2, emisorA}, {r3, emisorB}}), &g), ResultadoCSB::Generado);
    const std::string nombre = FechaBanco(kHoy) + "7.csb";
    EXPECT_EQ(g->Nombre, nombre);
    EXPECT_EQ(g->Fichero, Carpeta("CSB19") + nombre);
    EXPECT_EQ(g->Historico, Carpeta("HISTORICO") + "hst" + nombre);
    EXPECT_TRUE(g->EnSuSitio);
    EXPECT_EQ(Ficheros(Carpeta("CSB19")), std::vector<std::string>{nombre});
    EXPECT_EQ(Ficheros(Carpeta("HISTORICO")), std::vector<std::string>{"hst" + nombre});
    EXPECT_EQ(testutil::readFile(g->Historico), testutil::readFile(g->Fichero)) << "byte-identical history copy";

    const std::vector<std::string> registros = Lineas(g->Fichero);
    for (const std::string &r : registros)
        EXPECT_EQ(r.size(), kLargoRegistroCSB) << r;
    EXPECT_EQ(Codigos(registros), (std::vector<std::string>{"5180", "5380", "5680", "5680", "5681", "5686", "5880",
                                                            "5380", "5680", "5686", "5880", "5380", "5680", "5880",
                                                            "5980"}))
        << "two batches of one issuer are two blocks; bills ordered by bank and branch as written";
    EXPECT_EQ(registros[1].substr(96, 2), "01") << "a bill of the batch has a concept";
    EXPECT_EQ(registros[7].substr(96, 2), "02");
    EXPECT_EQ(registros[2].substr(16, 12), "R0          ") << "bank 0049 before 2100";
    EXPECT_EQ(registros[6].substr(88, 36), "0000001300      00000000020000000006");
    EXPECT_EQ(registros[14].substr(68, 4), "0003");
    EXPECT_EQ(registros[14].substr(88, 36), "0000001400      00000000040000000015");
    EXPECT_EQ(g->Documentos, 4);
    EXPECT_EQ(g->Importe, 1400);

    EXPECT_EQ(profile::readString(Ini(), "FICHEROCSB", "UltimoFichero", ""), "8");
    const std::string hoy = FechaSQL(kHoy);
    for (int b : {b1, b2, b4, b5})
        EXPECT_EQ(Valor("SELECT F_proceso FROM [Documentos()] WHERE Id_documento=" + std::to_string(b), "F_proceso"),
                  hoy.substr(2, 2) + " " + hoy.substr(5, 2) + " " + hoy.substr(8, 2));
    EXPECT_EQ(Valor("SELECT F_proceso FROM [Documentos()] WHERE Id_documento=" + std::to_string(b3), "F_proceso"),
              "NULL")
        << "a deactivated bill is not written";
    EXPECT_EQ(cobros::Filas("SELECT * FROM [Historicos( Remesas )] WHERE Descripcion='HISTORICO/hst" + nombre + "'"),
              3);
    EXPECT_EQ(cobros::Filas("SELECT * FROM [Remesas()] WHERE F_generacion='" + hoy + "'"), 3);
    EXPECT_EQ(cobros::Filas("SELECT * FROM [Remesas()] WHERE Block<>0"), 0);
    EXPECT_TRUE(Dicho("CSB GENERADO CORRECTAMENTE"));
    ASSERT_FALSE(avances.empty());
    EXPECT_EQ(avances.back(), std::make_pair(4LL, 4LL));

    // A batch sent (here by another copy since the user chose it) goes again only on the user's word.
    ASSERT_EQ(Genera(Peticion(1, "EUR", {{r3, emisorB}})), ResultadoCSB::Fallido);
    EXPECT_TRUE(Dicho("'Marzo', generada el " + FechaUsuario(kHoy)));
    ASSERT_EQ(Genera(Peticion(1, "EUR", {{r3, emisorB, true}})), ResultadoCSB::Generado);
    EXPECT_EQ(ultimo->Nombre, FechaBanco(kHoy) + "8.csb");
    EXPECT_EQ(profile::readString(Ini(), "FICHEROCSB", "UltimoFichero", ""), "9");
}

TEST_F(GeneraCSB, Csb58PesetasCreditsWithoutAccountFirst)
{
    const int r = cobros::Remesa(emisorC, "ESP", "Anticipos");
    cobros::Recibo conCuenta;
    conCuenta.importe = "1500";
    conCuenta.vencimiento = "'2030/06/30'";
    cobros::AltaRecibo(r, libradoC, conCuenta);
    cobros::Recibo sinCuenta = conCuenta;
    sinCuenta.formalizacion = "'2030/01/15'";
    cobros::AltaRecibo(r, libradoC0, sinCuenta);
    PeticionCSB p = Peticion(2, "ESP", {{r, emisorC}});
    p.FechaEuro = QDate(2100, 1, 1);
    ASSERT_EQ(Genera(p), ResultadoCSB::Generado);
    const std::vector<std::string> registros = Lineas(ultimo->Fichero);
    EXPECT_EQ(Codigos(registros), (std::vector<std::string>{"0170", "0370", "0670", "0676", "0670", "0870", "0970"}));
    EXPECT_EQ(registros[1].substr(150, 9), "000028079");
    EXPECT_EQ(registros[2].substr(68, 30), std::string(20, ' ') + "0000001500");
    EXPECT_EQ(registros[2].substr(154, 6), "300630");
    EXPECT_EQ(registros[3].substr(28, 40), "Plaza 2" + std::string(33, ' '));
    EXPECT_EQ(registros[3].substr(146, 8), "08150130");
    EXPECT_EQ(registros[6].substr(88, 36), "0000003000      00000000020000000007");
}

// A name pasted from a word processor: its dash, quotes and no-break space are no letters.
TEST_F(GeneraCSB, AccentedNamesGoOutAsTheirPlainLetters)
{
    const struct {
        int tipo, emisor;
    } casos[] = {{1, emisorA}, {2, emisorC}};
    for (const auto &c : casos) {
        const int librado =
            cobros::AltaLibrado(c.emisor, {"RN" + std::to_string(c.tipo), "Pe\xF1" "a Garc\xED" "a \x96 \x93Hnos\x94, S.L.\xA0",
                                           "00491500051234567892", "", "", "", "", "", ""});
        const int r = cobros::Remesa(c.emisor, "EUR", "Acentos");
        cobros::Recibo recibo;
        recibo.vencimiento = "'2030/06/30'";
        cobros::AltaRecibo(r, librado, recibo);
        ASSERT_EQ(Genera(Peticion(c.tipo, "EUR", {{r, c.emisor}})), ResultadoCSB::Generado) << c.tipo;
        const std::vector<std::string> registros = Lineas(ultimo->Fichero);
        ASSERT_EQ(registros.size(), 5u) << c.tipo;
        EXPECT_EQ(registros[2].substr(28, 40), "Pena Garcia -  Hnos   S.L." + std::string(14, ' ')) << c.tipo;
        const std::string plano = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 ()*+-./<>";
        for (const std::string &registro : registros) {
            EXPECT_EQ(registro.size(), kLargoRegistroCSB) << c.tipo;
            EXPECT_EQ(registro.find_first_not_of(plano), std::string::npos) << c.tipo << ": " << registro;
        }
        int linea = 0, motivo = 0;
        EXPECT_TRUE(CompruebaEstructuraCSB(ultimo->Fichero, true, linea, motivo)) << c.tipo << ": " << linea;
    }
}

TEST_F(GeneraCSB, TakenNamesAreSkippedNeverOverwritten)
{
    const int r = cobros::Remesa(emisorB, "EUR", "Marzo");
    cobros::AltaRecibo(r, libradoB, {});
    std::filesystem::create_directories(Carpeta("CSB19"));
    std::filesystem::create_directories(Carpeta("HISTORICO"));
    const std::string dia = FechaBanco(kHoy);
    testutil::writeFile(Carpeta("CSB19") + dia + "7.csb", "ajeno");
    testutil::writeFile(Carpeta("HISTORICO") + "hst" + dia + "8.csb", "ajeno");
    ASSERT_TRUE(Ejecuta("INSERT INTO [Historicos( Remesas )] (Id_remesa,Descripcion) VALUES (99,"
                        "'/antes/HISTORICO/hst" + dia + "9.csb')")); // the folder was moved since
    ASSERT_EQ(Genera(Peticion(1, "EUR", {{r, emisorB}})), ResultadoCSB::Generado);
    EXPECT_EQ(ultimo->Nombre, dia + "10.csb");
    EXPECT_EQ(testutil::readFile(Carpeta("CSB19") + dia + "7.csb"), "ajeno");
    EXPECT_EQ(testutil::readFile(Carpeta("HISTORICO") + "hst" + dia + "8.csb"), "ajeno");
    EXPECT_EQ(profile::readString(Ini(), "FICHEROCSB", "UltimoFichero", ""), "11");
    profile::writeString(Ini(), "FICHEROCSB", "UltimoFichero", "50");
    ASSERT_EQ(Genera(Peticion(1, "EUR", {{r, emisorB, true}})), ResultadoCSB::Generado);
    EXPECT_EQ(ultimo->Nombre, dia + "50.csb") << "the counter is read again: another copy moved it on";
}

TEST_F(GeneraCSB, EveryFailureLeavesNothing)
{
    const int buena = cobros::Remesa(emisorA, "EUR", "Buena");
    cobros::AltaRecibo(buena, libradoA, {});
    struct Caso { std::string importe; bool activo; const char *linea; const char *porque; };
    const Caso casos[] = {
        {"5", false, "El importe de la remesa es cero", "no active bill"},
        {"100000000", true, "ERROR: Importe supera los 10 d\xEDgitos", "over 10 digits"},
        {"NULL", true, "REFERENCIA: R1", "a missing amount"},
        {"0", true, "REFERENCIA: R1", "banks refuse zeros"},
        {"-3", true, "REFERENCIA: R1", "negative"},
        {"1.234", true, "REFERENCIA: R1", "more decimals than the currency"},
    };
    for (const Caso &c : casos) {
        const int mala = cobros::Remesa(emisorA, "EUR", "Mala");
        cobros::Recibo recibo;
        recibo.importe = c.importe;
        recibo.activo = c.activo;
        ASSERT_TRUE(cobros::AltaRecibo(mala, libradoA, recibo) > 0) << c.porque;
        EXPECT_EQ(Genera(Peticion(1, "EUR", {{buena, emisorA}, {mala, emisorA}})), ResultadoCSB::Fallido) << c.porque;
        EXPECT_TRUE(Dicho(c.linea)) << c.porque;
        EXPECT_EQ(lineas.back(), "ERROR EN LA GENERACION DEL CSB") << c.porque;
        NadaEscrito(c.porque);
    }
    const int pesetas = cobros::Remesa(emisorA, "ESP", "Pesetas");
    cobros::AltaRecibo(pesetas, libradoA, {});
    EXPECT_EQ(Genera(Peticion(1, "EUR", {{buena, emisorA}, {pesetas, emisorA}})), ResultadoCSB::Fallido);
    NadaEscrito("mixed currencies");
    EXPECT_EQ(Genera(Peticion(1, "EUR", {{buena, 9999}})), ResultadoCSB::Fallido);
    EXPECT_TRUE(Dicho("Error generando la Cabecera de Presentador."));
    NadaEscrito("no presenter");
}

TEST_F(GeneraCSB, AnActiveBillWhoseAccountOrDueDateCannotBeSentIsNamedAndNothingIsWritten)
{
    const struct {
        int tipo, emisor;
        const char *cuenta, *porque;
        const char *vencimiento = "'2030/06/30'", *motivo = nullptr; // nullptr: the account's
    } casos[] = {
        {1, emisorA, "ABCD04180200051332", "cut to 18 characters"},
        {1, emisorA, "21000418450200051330", "wrong control digits"},
        {1, emisorA, "2100041845020005133 ", "a blank"},
        {1, emisorA, "", "none"},
        {1, emisorA, "00000000000000000000", "zeros"},
        {2, emisorC, "21000418450200051330", "a CSB58 credit with a wrong account"},
        {2, emisorC, "0049150005123456789", "a CSB58 credit with 19 digits"},
        {2, emisorC, "00491500051234567892", "a CSB58 credit without due date", "NULL", kSinVencimiento},
        {2, emisorC, "", "a CSB58 credit without account nor due date", "''", kSinVencimiento},
    };
    for (const auto &c : casos) {
        const int buena = cobros::Remesa(c.emisor, "EUR", "Buena"), mala = cobros::Remesa(c.emisor, "EUR", "Mala");
        const int librado = cobros::AltaLibrado(c.emisor, {"RM", "Malo", "00491500051234567892", "", "", "", "", "", ""});
        cobros::Recibo recibo;
        recibo.vencimiento = "'2030/06/30'";
        cobros::AltaRecibo(buena, c.tipo == 1 ? libradoA : libradoC, recibo);
        recibo.vencimiento = c.vencimiento;
        ASSERT_TRUE(cobros::AltaRecibo(mala, librado, recibo) > 0) << c.porque;
        ASSERT_TRUE(Ejecuta("UPDATE [Librados( Datos )] SET Cuenta=" + cobros::Literal(c.cuenta) +
                            " WHERE Id_librado=" + std::to_string(librado)));
        EXPECT_EQ(Genera(Peticion(c.tipo, "EUR", {{buena, c.emisor}, {mala, c.emisor}})), ResultadoCSB::Fallido)
            << c.porque;
        EXPECT_TRUE(Dicho("TITULAR : Malo")) << c.porque;
        EXPECT_TRUE(Dicho("REFERENCIA: RM")) << c.porque;
        EXPECT_TRUE(Dicho(c.motivo ? c.motivo
                                   : "ERROR: La cuenta del librado no tiene 20 d\xEDgitos con d\xEDgitos de control v\xE1lidos: '" +
                                         std::string(c.cuenta) + "'"))
            << c.porque;
        EXPECT_EQ(lineas.back(), "ERROR EN LA GENERACION DEL CSB") << c.porque;
        NadaEscrito(c.porque);
        ASSERT_TRUE(Ejecuta("DELETE FROM [Documentos()]"));
        ASSERT_TRUE(Ejecuta("DELETE FROM [Librados( Datos )] WHERE Id_librado=" + std::to_string(librado)));
    }
}

TEST_F(GeneraCSB, CodesAndCreditAccountsGoOutAsTheBankReadsThemOrTheFileIsRefusedByName)
{
    const int r = cobros::Remesa(emisorB, "EUR", "Marzo");
    cobros::AltaRecibo(r, libradoB, {});
    // Stored suffixes, issuer NIF and credit account; the codes written, or the refusal's line
    // (first, while nothing was written).
    const struct {
        const char *presentador, *emisor, *sale;
        const char *nif = "A22222222", *cuenta = "20590060212084518352";
    } casos[] = {
        {"", "002", "PRESENTADOR: B11111111 Norte, S.A."}, {"1A", "002", "PRESENTADOR: B11111111 Norte, S.A."},
        {"000", "A12", "EMISOR: A22222222 Emisor B"},      {"000", "0001", "EMISOR: A22222222 Emisor B"},
        {"000", "002",
         "ERROR: La cuenta de abono del emisor no tiene 20 d\xEDgitos con d\xEDgitos de control v\xE1lidos: "
         "'21000111410200112239'",
         "A22222222", "21000111410200112239"},
        {"000", "002",
         "ERROR: El NIF \xF1" "2222222\xE1 solo puede tener cifras y letras de la A a la Z: no valen '\xF1', '\xE1'.",
         "\xF1" "2222222\xE1"},
        {"1", "12", "B11111111001A22222222012"},           {" 1", "123", "B11111111001A22222222123"},
        {"000", "2", "B11111111000A22222222002", "a22222222"},
    };
    for (const auto &c : casos) {
        Ejecuta("UPDATE [_Presentadores( Datos )] SET Sufijo=" + cobros::Literal(c.presentador));
        Ejecuta("UPDATE [_Emisores( Datos )] SET Sufijo=" + cobros::Literal(c.emisor) + ",Id_nif=" +
                cobros::Literal(c.nif) + ",Cuenta_abono=" + cobros::Literal(c.cuenta));
        if (Genera(Peticion(1, "EUR", {{r, emisorB, true}})) != ResultadoCSB::Generado) {
            EXPECT_TRUE(Dicho(c.sale)) << c.sale;
            NadaEscrito(c.sale);
            continue;
        }
        const std::vector<std::string> registros = Lineas(ultimo->Fichero);
        EXPECT_EQ(registros.front().substr(4, 12) + registros[2].substr(4, 12), c.sale);
    }
}

TEST_F(GeneraCSB, TwoDraweesOfAnIssuerThatTheBankReadsUnderOneReferenceRefuseTheFileByName)
{
    const int r = cobros::Remesa(emisorB, "EUR", "Marzo");
    const int oneil = cobros::AltaLibrado(emisorB, {"O'NEIL", "Uno", "20590060212084518352", "", "", "", "", "", ""});
    cobros::AltaRecibo(r, oneil, {});
    // The bank reads both as "O NEIL"; a drawee of another issuer is no matter.
    cobros::AltaLibrado(emisorB, {"o neil", "Dos", "20590060212084518352", "", "", "", "", "", ""});
    cobros::AltaLibrado(emisorA, {"O NEIL", "De otro emisor", "21000418450200051332", "", "", "", "", "", ""});
    EXPECT_EQ(Genera(Peticion(1, "EUR", {{r, emisorB}})), ResultadoCSB::Fallido);
    EXPECT_TRUE(Dicho("ERROR: El banco lee igual las referencias de estos librados del emisor: 'O'NEIL', 'o neil'"));
    NadaEscrito("two drawees of one issuer");
}

TEST_F(GeneraCSB, FoldersAndDisksThatRefuse)
{
    const int r = cobros::Remesa(emisorB, "EUR", "Marzo");
    cobros::RecibosEnSerie(r, true, 3000, libradoB, 1);
    testutil::writeFile(base.Programa().dir().file("fichero"), "");
    PeticionCSB p = Peticion(1, "EUR", {{r, emisorB}});
    p.CarpetaCSB = base.Programa().dir().file("fichero/CSB19/");
    EXPECT_EQ(Genera(p), ResultadoCSB::Fallido);
    EXPECT_TRUE(Dicho("No se puede crear '" + p.CarpetaCSB + FechaBanco(kHoy) + "7.csb'"));
    NadaEscrito("a folder refusing the file");

    p = Peticion(1, "EUR", {{r, emisorB}});
    p.CarpetaHistorico = base.Programa().dir().file("fichero/HISTORICO/");
    _GeneradorCSB *g = nullptr;
    EXPECT_EQ(Genera(p, &g), ResultadoCSB::Fallido);
    EXPECT_TRUE(g->ErrorHistorico);
    NadaEscrito("a history folder refusing the copy");

    {
        fallos::DiscoLleno lleno(100'000);
        EXPECT_EQ(Genera(Peticion(1, "EUR", {{r, emisorB}})), ResultadoCSB::Fallido);
    }
    NadaEscrito("a full disk");
}

TEST_F(GeneraCSB, EuroGuardAndWrongDueDates)
{
    const int r19 = cobros::Remesa(emisorA, "ESP", "Pesetas"), r58 = cobros::Remesa(emisorC, "ESP", "Anticipos");
    cobros::AltaRecibo(r19, libradoA, {});
    cobros::Recibo tarde;
    tarde.vencimiento = "'2031/01/01'";
    cobros::AltaRecibo(r58, libradoC, tarde);
    PeticionCSB p = Peticion(1, "ESP", {{r19, emisorA}});
    p.FechaEuro = p.FechaCargo;
    EXPECT_EQ(Genera(p), ResultadoCSB::Euro) << "CSB19 pesetas charged on the euro date";
    p.FechaEuro = p.FechaCargo.addDays(1);
    p.Remesas = {{r19, emisorA}};
    EXPECT_EQ(Genera(p), ResultadoCSB::Generado) << "charged the day before";
    Ejecuta("DELETE FROM [Historicos( Remesas )]");
    Ejecuta("UPDATE [Documentos()] SET F_proceso=NULL");
    Ejecuta("UPDATE [Remesas()] SET F_generacion=NULL");
    std::filesystem::remove_all(Carpeta("CSB19"));
    std::filesystem::remove_all(Carpeta("HISTORICO"));
    profile::writeString(Ini(), "FICHEROCSB", "UltimoFichero", "7");

    p = Peticion(2, "ESP", {{r58, emisorC}});
    p.FechaEuro = kHoy;
    EXPECT_EQ(Genera(p), ResultadoCSB::Euro) << "CSB58 pesetas from the euro date on";
    EXPECT_TRUE(lineas.empty());
    p.FechaEuro = QDate(2031, 1, 1);
    EXPECT_EQ(Genera(p), ResultadoCSB::FechaErronea);
    EXPECT_EQ(lineas.back(), "de alg\xFAn/os anticipos en pesetas es err\xF3nea.");
    NadaEscrito("a peseta credit due on the euro date");
}

TEST_F(GeneraCSB, BatchesLockedWhileTheRunWrites)
{
    const int r = cobros::Remesa(emisorB, "EUR", "Marzo");
    cobros::AltaRecibo(r, libradoB, {});
    std::vector<std::string> bloqueos;
    ProgresoCSB progreso;
    progreso.Avance = [&](long long, long long) {
        bloqueos.push_back(Valor("SELECT Block FROM [Remesas()] WHERE Id_remesa=" + std::to_string(r), "Block"));
    };
    _GeneradorCSB g(Peticion(1, "EUR", {{r, emisorB}}), progreso);
    ASSERT_EQ(g.Genera(), ResultadoCSB::Generado);
    ASSERT_FALSE(bloqueos.empty());
    EXPECT_EQ(bloqueos.front(), "1");
    EXPECT_EQ(Valor("SELECT Block FROM [Remesas()] WHERE Id_remesa=" + std::to_string(r), "Block"), "0");
    EXPECT_FALSE(multiuser.Pausado) << "the coordination goes on after the run";
}

// Relative to the program folder when the copy lies in it, so the folder can move.
TEST_F(GeneraCSB, HistoryPathStoredAsTheFolderCanMove)
{
    const int r = cobros::Remesa(emisorB, "EUR", "Marzo");
    cobros::AltaRecibo(r, libradoB, {});
    PeticionCSB p = Peticion(1, "EUR", {{r, emisorB}});
    p.CarpetaHistorico = base.Programa().dir().file("Hist'o, 1/");
    ASSERT_EQ(Genera(p), ResultadoCSB::Generado);
    EXPECT_EQ(Valor("SELECT Descripcion FROM [Historicos( Remesas )]", "Descripcion"), "Hist'o, 1/hst" + ultimo->Nombre);
}

class RecuperaCSB : public GeneraCSB {
protected:
    std::string Envio(int n) const { return Carpeta("CSB19") + FechaBanco(kHoy) + std::to_string(n) + ".csb"; }
    std::string Copia(int n) const
    {
        return Carpeta("HISTORICO") + "hst" + FechaBanco(kHoy) + std::to_string(n) + ".csb";
    }
    void Temporales(int n, bool envio, bool copia)
    {
        std::filesystem::create_directories(Carpeta("CSB19"));
        std::filesystem::create_directories(Carpeta("HISTORICO"));
        if (envio)
            testutil::writeFile(Envio(n) + ".tmp", "envio");
        if (copia)
            testutil::writeFile(Copia(n) + ".tmp", "envio");
    }
    void Nombra(int n)
    {
        ASSERT_TRUE(Ejecuta("INSERT INTO [Historicos( Remesas )] (Id_remesa,Descripcion) VALUES (1," +
                            cobros::Literal(Copia(n)) + ")"));
    }
};

TEST_F(RecuperaCSB, EachCrashPoint)
{
    Temporales(1, true, true); // died before its commit
    Temporales(2, true, true);
    Nombra(2);                 // died after its commit
    Temporales(3, true, false);
    Nombra(3);                 // died between the two renames
    testutil::writeFile(Copia(3), "envio");
    Temporales(4, true, true); // still running
    const int fd = ::open((Envio(4) + ".tmp").c_str(), O_RDONLY), fdCopia = ::open((Copia(4) + ".tmp").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    ASSERT_EQ(::flock(fdCopia, LOCK_EX), 0);
    RecuperaFicherosCSB({Carpeta("CSB19"), Carpeta("CSB19")}, Carpeta("HISTORICO"));
    const std::string dia = FechaBanco(kHoy);
    EXPECT_EQ(Ficheros(Carpeta("CSB19")),
              (std::vector<std::string>{dia + "2.csb", dia + "3.csb", dia + "4.csb.tmp"}));
    EXPECT_EQ(Ficheros(Carpeta("HISTORICO")),
              (std::vector<std::string>{"hst" + dia + "2.csb", "hst" + dia + "3.csb", "hst" + dia + "4.csb.tmp"}));
    ::close(fd);
    ::close(fdCopia);
}

TEST_F(RecuperaCSB, RenamesRefusedAfterTheCommitAreFinishedByTheNextRun)
{
    const int r = cobros::Remesa(emisorB, "EUR", "Marzo");
    cobros::AltaRecibo(r, libradoB, {});
    {
        fallos::RenombrarFalla falla;
        ASSERT_EQ(Genera(Peticion(1, "EUR", {{r, emisorB}})), ResultadoCSB::Generado);
    }
    EXPECT_FALSE(ultimo->EnSuSitio);
    EXPECT_TRUE(testutil::fileExists(Envio(7) + ".tmp"));
    EXPECT_TRUE(testutil::fileExists(Copia(7) + ".tmp"));
    ASSERT_EQ(Genera(Peticion(1, "EUR", {{r, emisorB, true}})), ResultadoCSB::Generado);
    const std::string dia = FechaBanco(kHoy);
    EXPECT_EQ(Ficheros(Carpeta("CSB19")), (std::vector<std::string>{dia + "7.csb", dia + "8.csb"}));
    EXPECT_EQ(Ficheros(Carpeta("HISTORICO")), (std::vector<std::string>{"hst" + dia + "7.csb", "hst" + dia + "8.csb"}));
}

} // namespace
