// The organisation held by the user editor: the order of the tree, the replay of
// its changes in one transaction with real keys, the drawees of a removed issuer, and the
// refusals found only when writing.
#include "Organizacion.h"

#include "bdusuarios.h"

#include <gtest/gtest.h>

namespace {

class Organizacion : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(bd.Abierta());
        usuario = bd.Usuario("PEPE", "x");
        empresa1 = bd.Empresa(usuario, "A1", "Uno");
        empresa2 = bd.Empresa(usuario, "A2", "Dos");
        p19 = bd.Presentador(empresa1, "CSB19", "1", "0", "P19");
        p58 = bd.Presentador(empresa1, "CSB58", "1", "0", "P58");
        p19b = bd.Presentador(empresa2, "csb19", "2", "0", "P19b");
        e1 = bd.Emisor(p19, "1", "1", "E1");
        e2 = bd.Emisor(p58, "1", "2", "E2");
        e3 = bd.Emisor(p19b, "2", "1", "E3");
        ASSERT_TRUE(org.Carga(usuario));
    }

    // Escribe inside a transaction, committed when it succeeds.
    bool Guarda(FalloOrganizacion &fallo)
    {
        EXPECT_EQ(VASQ_BeginTrans(), 0);
        if (!org.Escribe(fallo)) {
            VASQ_Rollback();
            return false;
        }
        EXPECT_EQ(VASQ_CommitTrans(), 0);
        org.Confirma();
        return true;
    }

    std::string EmisorDe(int librado)
    {
        return bd.Valor("SELECT Id_emisor FROM [Librados( Datos )] WHERE Id_librado=" + std::to_string(librado),
                        "Id_emisor");
    }

    bdusuarios::BaseUsuarios bd;
    _Organizacion org;
    int usuario = 0, empresa1 = 0, empresa2 = 0, p19 = 0, p58 = 0, p19b = 0, e1 = 0, e2 = 0, e3 = 0;
};

TEST_F(Organizacion, NothingIsWrittenUntilEscribeAndNewKeysAreTheConnectionsOwn)
{
    const int empresa = org.Alta(usuario, STREmpresa{"N1", "Nueva & cia"});
    const int presentador = org.Alta(empresa, STRPresentador{"CSB58", "       N1001", "N1", "001", "PN"});
    const int emisor = org.Alta(presentador, STREmisor{"N1", "002", "EN", "21000418450200051332", "", "Desc"});
    org.Modifica(NivelEmpresa, empresa2, STREmpresa{"A2", "Dos bis"});
    org.Baja(NivelEmisor, e2);
    EXPECT_LT(empresa, 0);
    EXPECT_EQ(bd.Cuenta("[_Empresas( Datos )]"), 2) << "held, not written";
    EXPECT_EQ(bd.Cuenta("[_Emisores( Datos )] WHERE Id_emisor=" + std::to_string(e2)), 1);

    // Another running copy writes meanwhile: the maximum key is no longer ours.
    const int ajena = bd.Empresa(bd.Usuario("OTRO", "x"), "Z9", "Ajena");

    FalloOrganizacion fallo;
    ASSERT_TRUE(Guarda(fallo)) << fallo.Texto << fallo.Error;
    const int real = org.ClaveReal(NivelEmpresa, empresa);
    EXPECT_GT(real, ajena);
    EXPECT_EQ(bd.Valor("SELECT Nombre FROM [_Empresas( Datos )] WHERE Id_empresa=" + std::to_string(real), "Nombre"),
              "Nueva & cia");
    const std::string presentadorReal = std::to_string(org.ClaveReal(NivelPresentador, presentador));
    EXPECT_EQ(bd.Valor("SELECT Id_empresa FROM [_Presentadores( Datos )] WHERE Id_presentador=" + presentadorReal,
                       "Id_empresa"),
              std::to_string(real))
        << "the presenter hangs from the company's real key";
    EXPECT_EQ(bd.Valor("SELECT Id_presentador, Cuenta_cargo FROM [_Emisores( Datos )] WHERE Razon_social='EN'",
                       "Id_presentador"),
              presentadorReal);
    EXPECT_EQ(bd.Valor("SELECT Nombre FROM [_Empresas( Datos )] WHERE Id_empresa=" + std::to_string(empresa2),
                       "Nombre"),
              "Dos bis");
    EXPECT_EQ(bd.Cuenta("[_Emisores( Datos )] WHERE Id_emisor=" + std::to_string(e2)), 0);

    EXPECT_FALSE(org.HayCambios());
    ASSERT_NE(org.Busca(NivelEmisor, org.ClaveReal(NivelEmisor, emisor)), nullptr) << "the rows carry real keys";
    EXPECT_EQ(org.Busca(NivelEmisor, org.ClaveReal(NivelEmisor, emisor))->Padre, std::stoi(presentadorReal));
}

TEST_F(Organizacion, DraweesOfARemovedIssuerMoveToTheFirstIssuerOfTheSameOrderType)
{
    const int l1 = bd.Librado(e1, "L1");
    const int l2 = bd.Librado(e2, "L2");
    struct Caso {
        int emisor, destino;
        const char *porque;
    } casos[] = {
        {e1, e3, "CSB19: under another company of the user; the CSB58 issuer between is skipped"},
        {e2, 0, "the user's only CSB58 issuer: its drawees stay"},
    };
    for (const Caso &c : casos)
        EXPECT_EQ(org.DestinoLibrados(c.emisor), c.destino) << c.porque;

    // Drawees are never left pointing at a removed issuer: with no issuer to take them, the
    // removal is refused, saying so.
    EXPECT_EQ(org.TextoDependientes(NivelEmisor, e2), 712) << "the only CSB58 issuer, with a drawee";
    EXPECT_EQ(org.TextoDependientes(NivelEmisor, e3), 0) << "the last CSB19 issuer, without drawees";
    org.Baja(NivelEmisor, e1);
    EXPECT_EQ(org.TextoDependientes(NivelEmisor, e3), 712) << "it would receive the drawees of the removed E1";
    FalloOrganizacion fallo;
    ASSERT_TRUE(Guarda(fallo)) << fallo.Texto << fallo.Error;
    EXPECT_EQ(EmisorDe(l1), std::to_string(e3));
    EXPECT_EQ(EmisorDe(l2), std::to_string(e2));
}

TEST_F(Organizacion, DraweesFollowIssuersNotWrittenYet)
{
    const int l3 = bd.Librado(e3, "L3");
    const int nuevo = org.Alta(p19, STREmisor{"9", "9", "Nuevo", "21000418450200051332", "", ""});
    org.Baja(NivelEmisor, e1);
    org.Baja(NivelEmisor, e3); // its drawees go to the first CSB19 issuer left: the new one
    FalloOrganizacion fallo;
    ASSERT_TRUE(Guarda(fallo)) << fallo.Texto << fallo.Error;
    EXPECT_EQ(EmisorDe(l3), std::to_string(org.ClaveReal(NivelEmisor, nuevo)));
}

TEST_F(Organizacion, WritingStopsAtRowsLockedOrStillInUseAndLeavesNothing)
{
    struct Caso {
        std::function<void()> prepara;
        int texto;
        const char *porque;
    } casos[] = {
        {[&] {
             bd.Bloquea("[_Empresas( Datos )]", "Id_empresa", empresa2);
             org.Modifica(NivelEmpresa, empresa2, STREmpresa{"A2", "X"});
         },
         656, "a company another copy holds"},
        {[&] {
             bd.Bloquea("[_Presentadores( Datos )]", "Id_presentador", p58);
             org.Modifica(NivelPresentador, p58, std::get<STRPresentador>(org.Busca(NivelPresentador, p58)->Datos));
         },
         658, "a presenter another copy holds"},
        {[&] {
             bd.Bloquea("[_Emisores( Datos )]", "Id_emisor", e3);
             org.Baja(NivelEmisor, e3);
         },
         662, "an issuer another copy holds"},
        {[&] {
             org.Baja(NivelEmisor, e2);
             bd.Librado(e2, "De otra copia");
         },
         712, "the last issuer of its order type, given a drawee by another copy meanwhile"},
        {[&] {
             bd.Remesa(e2);
             org.Baja(NivelEmisor, e2);
         },
         711, "an issuer that still has batches"},
        {[&] {
             org.Baja(NivelEmisor, e3);
             org.Baja(NivelPresentador, p19b);
             bd.Presentador(empresa2, "CSB58", "7", "7", "De otra copia");
             org.Baja(NivelEmpresa, empresa2);
         },
         73, "a company given a presenter by another copy meanwhile"},
    };
    for (const Caso &c : casos) {
        ASSERT_TRUE(org.Carga(usuario));
        const int antes = bd.Cuenta("[_Empresas( Datos )]") + bd.Cuenta("[_Emisores( Datos )]");
        org.Alta(usuario, STREmpresa{"B", "Escrita antes del fallo"});
        c.prepara();
        FalloOrganizacion fallo;
        EXPECT_FALSE(Guarda(fallo)) << c.porque;
        EXPECT_EQ(fallo.Texto, c.texto) << c.porque;
        EXPECT_EQ(bd.Cuenta("[_Empresas( Datos )]") + bd.Cuenta("[_Emisores( Datos )]"), antes)
            << "rolled back: " << c.porque;
        EXPECT_TRUE(org.HayCambios()) << "kept for another try: " << c.porque;
        bd.Exec("UPDATE [_Empresas( Datos )] SET Block=0;");
        bd.Exec("UPDATE [_Presentadores( Datos )] SET Block=0;");
        bd.Exec("UPDATE [_Emisores( Datos )] SET Block=0;");
    }
}

TEST_F(Organizacion, DependentsSeenAtOnce)
{
    EXPECT_EQ(org.TextoDependientes(NivelEmpresa, empresa1), 73) << "presenters in the tree";
    org.Baja(NivelEmisor, e3);
    org.Baja(NivelPresentador, p19b);
    EXPECT_EQ(org.TextoDependientes(NivelEmpresa, empresa2), 0) << "its presenter is removed, though still stored";
    bd.Presentador(empresa2, "CSB58", "7", "7", "De otra copia");
    EXPECT_EQ(org.TextoDependientes(NivelEmpresa, empresa2), 73) << "a presenter this editor never saw";
    EXPECT_EQ(org.TextoDependientes(NivelEmisor, e1), 0);
    bd.Remesa(e1);
    EXPECT_EQ(org.TextoDependientes(NivelEmisor, e1), 711) << "an issuer with batches";
}

TEST_F(Organizacion, UniquenessCountsUnderANewOwnerSeeOnlyThePendingRows)
{
    const int empresa = org.Alta(usuario, STREmpresa{"N1", "Nueva"});
    org.Alta(empresa, STRPresentador{"CSB19", "", "5", "5", "P"});
    EXPECT_EQ(org.CuentaIguales({0, empresa, STRPresentador{"CSB19", "", "5", "5", "Q"}}), 1);
    EXPECT_EQ(org.CuentaIguales({0, empresa, STRPresentador{"CSB58", "", "5", "5", "Q"}}), 0);
    EXPECT_EQ(org.CuentaIguales({0, usuario, STREmpresa{"a1", "X"}}), 1) << "a stored company, without regard to case";
    EXPECT_EQ(org.CuentaIguales({empresa1, usuario, STREmpresa{"A1", "X"}}), 0) << "the modified row itself";
}

} // namespace
