// The drawee import on the shipped encrypted database: new, repeated, wrong and incomplete
// drawees of hand-made CSB19 and CSB58 files under one chosen issuer, the report, a stop
// that leaves the database as it was, and texts cleaned for SQL.
#include "ImportacionLibrados.h"

#include "General.h"
#include "Multiidioma.h"
#include "basedatos.h"
#include "cobros.h"
#include "csb.h"
#include "testutil.h"

#include <gtest/gtest.h>

namespace {

using cobros::Valor;
using csb::Completa;
using csb::Domicilio58;
using csb::Individual58;

std::string Texto(int n)
{
    return Idioma.GetTexto(n);
}

const std::string kCuenta = "01822376180101507859";

std::string Individual19(const std::string &ref, const std::string &nombre, const std::string &cuenta = kCuenta)
{
    return csb::Registro("5680", {{17, ref}, {29, nombre}, {69, cuenta}, {89, "0000000100"}, {105, "        X1"}});
}

std::string Domicilio19(const std::string &ref, const std::string &titular, const std::string &direccion = {},
                        const std::string &cp = {})
{
    return csb::Registro("5686", {{17, ref}, {29, titular}, {69, direccion}, {109, direccion.empty() ? "" : "Sabadell"},
                                  {144, cp}});
}

class ImportaLibrados : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(base.Abierta());
        const int empresa = cobros::Empresa();
        emisor19 = cobros::Emisor(cobros::Presentador(empresa, "CSB19", "B11111111", "000", "P19"), "B11111111",
                                  "000", "EMISOR 19", kCuenta);
        emisor58 = cobros::Emisor(cobros::Presentador(empresa, "CSB58", "B22222222", "000", "P58"), "B22222222",
                                  "000", "EMISOR 58", kCuenta);
    }

    void Importa(const std::vector<std::string> &registros, const std::string &tipo)
    {
        const std::string ruta = base.Programa().dir().file("librados.csb");
        testutil::writeFile(ruta, csb::Fichero(registros));
        mensajes.clear();
        imp.ImportaLibradosCSB(
            ruta, std::string(PROGRAM_DIR) + (tipo == "CSB19" ? "CSB19.INI" : "CSB58.INI"), tipo,
            tipo == "CSB19" ? emisor19 : emisor58,
            [this](int, int, int posicion) {
                if (pararEn > 0 && posicion >= pararEn)
                    imp.CancelaImportacion();
            },
            [this](const std::string &m) { mensajes.push_back(m); },
            [this](const std::array<int, 12> &c) { contadores = c; });
    }

    // Messages after the frame's three opening lines up to 277.
    std::vector<std::string> Aviso() const
    {
        const auto fin = std::find(mensajes.begin(), mensajes.end(), Texto(277));
        return std::vector<std::string>(mensajes.begin() + std::min<long>(3, long(mensajes.size())), fin);
    }

    std::string Librado(const std::string &ref, const std::string &campo)
    {
        return Valor("SELECT * FROM [Librados( Datos )] WHERE Codigo_referencia='" + ref + "'", campo);
    }

    static std::array<int, 12> Cuentas(int importados, int repetidos, int erroneos)
    {
        return {0, 0, 0, importados, 0, 0, 0, repetidos, 0, 0, 0, erroneos};
    }

    cobros::Base base;
    entorno::Regional coma{true};
    int emisor19 = 0, emisor58 = 0, pararEn = 0;
    ImportacionLibrados imp{[](std::string_view codigo) { return codigo == "08" ? "BARCELONA" : ""; }};
    std::vector<std::string> mensajes;
    std::array<int, 12> contadores{};
};

TEST_F(ImportaLibrados, ThreeNewDraweesThenTheSameAgain)
{
    const std::vector<std::string> f =
        Completa("5670", {Individual58("A", kCuenta, "0000000100"), Individual58("B", kCuenta, "0000000200"),
                          Individual58("C", kCuenta, "0000000300")});
    Importa(f, "CSB58");
    EXPECT_TRUE(imp.Confirmada());
    EXPECT_EQ(contadores, Cuentas(3, 0, 0)) << testing::PrintToString(mensajes);
    EXPECT_EQ(cobros::Filas("SELECT * FROM [Librados( Datos )] WHERE Id_emisor=" + std::to_string(emisor58)), 3);
    EXPECT_EQ(Librado("B", "Razon_social"), "DEUDOR B");
    EXPECT_EQ(Librado("B", "Cuenta"), kCuenta);
    EXPECT_EQ(cobros::Filas("SELECT * FROM [Documentos()]"), 0) << "bills are not imported";
    EXPECT_EQ(cobros::Filas("SELECT * FROM [Remesas()]"), 0) << "nor batches";

    const std::string informe = testutil::readFile(base.Programa().dir().file("librados.log"));
    EXPECT_NE(informe.find(Texto(616)), std::string::npos);
    EXPECT_NE(informe.find(FormateaTexto(Texto(584), "3", "0", "0")), std::string::npos) << informe;
    EXPECT_EQ(informe.find(Texto(580)), std::string::npos) << "only the drawees' summary";

    Importa(f, "CSB58");
    EXPECT_EQ(contadores, Cuentas(0, 3, 0));
    EXPECT_EQ(cobros::Filas("SELECT * FROM [Librados( Datos )]"), 3);
}

TEST_F(ImportaLibrados, WhatEachDraweeGives)
{
    const std::string ceros(20, '0');
    struct Caso {
        const char *porque;
        std::string tipo;
        std::vector<std::string> registros;
        std::vector<std::string> avisos;
        std::array<int, 12> cuentas;
        const char *ref, *campo, *valor; // of the stored drawee ("" when none is stored)
    } casos[] = {
        {"a blank in the account", "CSB58", {Individual58("A", "0182 376180101507859", "0000000100")},
         {Texto(612)}, Cuentas(0, 0, 1), "A", "Cuenta", ""},
        {"two asterisks ask for the control digits", "CSB58", {Individual58("A", "01822376**0101507859", "0000000100")},
         {}, Cuentas(1, 0, 0), "A", "Cuenta", "01822376180101507859"},
        {"no account with its address", "CSB58", {Individual58("A", ceros, "0000000100"), Domicilio58("A")}, {},
         Cuentas(1, 0, 0), "A", "Cod_provincia_ordenante", "08"},
        {"no account and a short postcode", "CSB58",
         {Individual58("A", ceros, "0000000100"), Domicilio58("A", "082  ")}, {Texto(604)}, Cuentas(0, 0, 1), "A",
         "CP", ""},
        {"the norm's N and n with tilde", "CSB58", {Individual58("PE\xA5" "A mu\xA4oz", kCuenta, "0000000100")}, {},
         Cuentas(1, 0, 0), "PE\xD1" "A mu\xF1oz", "Razon_social", "DEUDOR PE\xD1" "A mu\xF1oz"},
        {"the same reference twice in a file", "CSB58",
         {Individual58("A", kCuenta, "0000000100"), Individual58("A", kCuenta, "0000000200")}, {}, Cuentas(1, 1, 0),
         "A", "Razon_social", "DEUDOR A"},
        {"a holder who is the drawee needs no address", "CSB19", {Individual19("R1", "DEUDOR")}, {},
         Cuentas(1, 0, 0), "R1", "Titular_cuenta", "DEUDOR"},
        {"another holder with the address: the province from the postcode", "CSB19",
         {Individual19("R1", "DEUDOR"), Domicilio19("R1", "OTRO", "Calle 1", "08208")}, {}, Cuentas(1, 0, 0), "R1",
         "Provincia", "BARCELONA"},
        {"another holder and a short postcode", "CSB19",
         {Individual19("R1", "DEUDOR"), Domicilio19("R1", "OTRO", "Calle 1", "08  ")}, {Texto(608)}, Cuentas(0, 0, 1), "R1",
         "CP", ""},
        {"an incomplete drawee stays pending and takes the next records' address", "CSB19",
         {Individual19("R1", "DEUDOR"), Domicilio19("R1", "OTRO"), Individual19("R2", "SEGUNDO", "21000418450200051332"),
          Domicilio19("R2", "TERCERO", "Calle 2", "08208")},
         {Texto(290), Texto(291), Texto(287), Texto(288)}, Cuentas(1, 0, 0), "R1", "Direccion", "Calle 2"},
        {"an incomplete drawee at the end is said and counted", "CSB19",
         {Individual19("R1", "DEUDOR"), Domicilio19("R1", "OTRO")}, {FormateaTexto(Texto(996), "R1")},
         Cuentas(0, 0, 1), "R1", "Razon_social", ""},
    };
    for (const Caso &c : casos) {
        cobros::Ejecuta("DELETE FROM [Librados( Datos )]");
        Importa(Completa(c.tipo == "CSB19" ? "5180" : "5670", c.registros), c.tipo);
        EXPECT_EQ(Aviso(), c.avisos) << c.porque;
        EXPECT_EQ(contadores, c.cuentas) << c.porque;
        EXPECT_EQ(Librado(c.ref, c.campo), c.valor) << c.porque;
    }
}

TEST_F(ImportaLibrados, FileTextsReachTheDatabaseAsTheyAre)
{
    std::string registro = Individual58("Q'1", "01822376'80101507859", "0000000100");
    registro.replace(28, 10, "D'ARC     ");
    std::string domicilio = Domicilio58("Q'1", "08'08");
    Importa(Completa("5670", {registro, domicilio}), "CSB58");
    EXPECT_EQ(contadores, Cuentas(1, 0, 0)) << testing::PrintToString(mensajes);
    EXPECT_EQ(Librado("Q''1", "Razon_social"), "D'ARC");
    EXPECT_EQ(Librado("Q''1", "Cuenta"), "01822376'80101507859");
    EXPECT_EQ(Librado("Q''1", "CP"), "08'08");
}

TEST_F(ImportaLibrados, AStopOrARefusedFileStoresNothing)
{
    const std::vector<std::string> antes = basedatos::dump();
    std::vector<std::string> bills;
    for (int i = 0; i < 30; ++i)
        bills.push_back(Individual58("R" + std::to_string(i), kCuenta, "0000000100"));
    imp.IntervaloMs = 0;
    pararEn = 100;
    Importa(Completa("5670", bills), "CSB58");
    EXPECT_NE(std::find(mensajes.begin(), mensajes.end(), Texto(276)), mensajes.end());
    EXPECT_FALSE(imp.Confirmada());
    EXPECT_EQ(contadores, Cuentas(0, 0, 0));
    EXPECT_EQ(basedatos::dump(), antes);

    pararEn = 0;
    std::vector<std::string> roto = Completa("5670", {Individual58("A", kCuenta, "0000000100")});
    roto.pop_back();
    Importa(roto, "CSB58");
    EXPECT_EQ(Aviso().front(), Texto(288)) << "no grand totals";
    EXPECT_EQ(basedatos::dump(), antes);
}

} // namespace
