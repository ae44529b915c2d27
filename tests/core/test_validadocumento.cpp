// The revalidation of a bill stored as incomplete, on the multi-user fixture's bill 1
// (batch 1 of issuer 1 of presenter 1, drawee 1).
#include "General.h"
#include "copias.h"

#include <gtest/gtest.h>

namespace {

// The accounts: 2100 0418 45 0200051332 is right, with 46 its control digits are wrong.
struct Caso {
    const char *orden;
    const char *documento; // SET of [Documentos()] after Situacion=1
    const char *librado;   // SET of [Librados( Datos )]
    bool valido;
    const char *por;
};

// The drawee complete for both formats; each case changes what it names.
constexpr const char *kLibradoCompleto =
    "Codigo_referencia='REF1',Razon_social='Ana Ruiz',Titular_cuenta='Ana Ruiz',Direccion='Calle Mayor 1',"
    "CP='28001',Localidad='Madrid',Provincia='Madrid',Loc_ordenante='Madrid',Cod_provincia_ordenante='28'";

const Caso kCasos[] = {
    {"CSB19", "Importe=10", "Cuenta='21000418450200051332'", true, "complete"},
    {"CSB19", "Importe=0", "Cuenta='21000418450200051332'", false, "an amount of 0"},
    {"CSB19", "Importe=10", "Cuenta='21000418460200051332'", false, "wrong control digits"},
    {"CSB19", "Importe=10", "Cuenta=''", false, "no account"},
    {"CSB19", "Importe=10", "Cuenta='21000418450200051332',Codigo_referencia=''", false, "no reference"},
    {"CSB19", "Importe=10", "Cuenta='21000418450200051332',Razon_social=''", false, "no name"},
    {"CSB19", "Importe=10", "Cuenta='21000418450200051332',Direccion='',CP=''", true,
     "the holder is the drawee: no address needed"},
    {"CSB19", "Importe=10", "Cuenta='21000418450200051332',Titular_cuenta='Otro',Direccion=''", false,
     "another holder needs the address"},
    {"CSB19", "Importe=10", "Cuenta='21000418450200051332',Titular_cuenta='Otro',CP='53000'", false,
     "postcode 53000"},
    {"CSB19", "Importe=10", "Cuenta='21000418450200051332',Titular_cuenta='Otro',CP='00100'", false,
     "postcode 00100"},
    {"CSB19", "Importe=10", "Cuenta='21000418450200051332',Titular_cuenta='Otro',CP='2800'", false,
     "a short postcode"},
    {"CSB19", "Importe=10", "Cuenta='21000418450200051332',Titular_cuenta='Otro'", true, "another holder, complete"},
    {"CSB58", "Importe=10,F_vencimiento='2024/05/31'", "Cuenta='00000000000000000000'", true,
     "no account, complete address"},
    {"CSB58", "Importe=10,F_vencimiento='2024/05/31'", "Cuenta='00000000000000000000',Loc_ordenante=''", false,
     "no account needs the payer's town"},
    {"CSB58", "Importe=10,F_vencimiento='2024/05/31'", "Cuenta='',Cod_provincia_ordenante='53'", false,
     "no account needs a province code 1-52"},
    {"CSB58", "Importe=10,F_vencimiento='2024/05/31'", "Cuenta='',Cod_provincia_ordenante='7'", false,
     "a province code of one character"},
    {"CSB58", "Importe=10,F_vencimiento='2024/05/31'", "Cuenta='',CP='00100'", false, "postcode 00100"},
    {"CSB58", "Importe=10,F_vencimiento='2024/05/31'",
     "Cuenta='21000418450200051332',Direccion='',CP='',Loc_ordenante=''", true,
     "a real account needs only its control digits"},
    {"CSB58", "Importe=10,F_vencimiento='2024/05/31'", "Cuenta='21000418460200051332'", false,
     "wrong control digits"},
    {"CSB58", "Importe=10,F_vencimiento=NULL", "Cuenta='21000418450200051332'", false, "no due date"},
    {"CSB58", "Importe=0,F_vencimiento='2024/05/31'", "Cuenta='21000418450200051332'", false, "an amount of 0"},
    {"OTRO", "Importe=10", "Cuenta='',Razon_social=''", true, "another order type checks the amount only"},
    {"OTRO", "Importe=0", "Cuenta=''", false, "another order type, amount 0"},
};

TEST(ValidaDocumento, TheRulesOfEachOrderType)
{
    copias::Base base;
    ASSERT_TRUE(base.Abierta());
    for (const Caso &c : kCasos) {
        ASSERT_TRUE(copias::Ejecuta(std::string("UPDATE [_Presentadores( Datos )] SET Id_orden='") + c.orden + "'"));
        ASSERT_TRUE(copias::Ejecuta(std::string("UPDATE [Librados( Datos )] SET ") + kLibradoCompleto));
        ASSERT_TRUE(copias::Ejecuta(std::string("UPDATE [Librados( Datos )] SET ") + c.librado));
        ASSERT_TRUE(copias::Ejecuta(std::string("UPDATE [Documentos()] SET Situacion=1,Activo=0,") + c.documento));
        EXPECT_EQ(ValidaDocumento(1), c.valido) << c.orden << ": " << c.por;
        EXPECT_EQ(copias::Valor("SELECT Situacion FROM [Documentos()] WHERE Id_documento=1", "Situacion"),
                  c.valido ? "0" : "1")
            << c.por;
        EXPECT_EQ(copias::Valor("SELECT Activo FROM [Documentos()] WHERE Id_documento=1", "Activo"),
                  c.valido ? "TRUE" : "FALSE")
            << c.por;
    }
}

TEST(ValidaDocumento, ABillNotFlaggedIsValidAndALockedOneStaysFlagged)
{
    copias::Base base;
    ASSERT_TRUE(copias::Ejecuta("UPDATE [Documentos()] SET Situacion=0,Importe=0"));
    EXPECT_TRUE(ValidaDocumento(1)) << "not flagged: nothing is checked";

    ASSERT_TRUE(copias::Ejecuta("UPDATE [_Presentadores( Datos )] SET Id_orden='OTRO'"));
    ASSERT_TRUE(copias::Ejecuta("UPDATE [Documentos()] SET Situacion=1,Activo=0,Importe=10,Block=1"));
    EXPECT_TRUE(ValidaDocumento(1));
    EXPECT_EQ(copias::Valor("SELECT Situacion FROM [Documentos()] WHERE Id_documento=1", "Situacion"), "1")
        << "locked by another user";

    EXPECT_FALSE(ValidaDocumento(999)) << "no such bill";
}

} // namespace
