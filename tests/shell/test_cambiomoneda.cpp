// The batch currency switch without windows, on the shipped database with the build's
// items plug-in and "," for decimals.
#include "Cambiomoneda.h"

#include "Aplicaplantillas.h"
#include "Cfgfile.h"
#include "General.h"
#include "basedatos.h"
#include "copias.h"
#include "elementos.h"
#include "entorno.h"
#include "vars.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

namespace {

TEST(Cambiomoneda, TheLimitIsCheckedOnTheCounterValueRoundedToTheBatchCurrency)
{
    entorno::Regional coma(true);
    const struct {
        const char *contravalor, *moneda;
        bool supera;
    } casos[] = {
        {"99.999.999,49", "ESP", false}, {"99.999.999,50", "ESP", true}, {"9.999.999.999", "EUR", false},
        {"10.000.000.000", "EUR", true}, {"", "ESP", false},             {"nada", "EUR", false},
    };
    for (const auto &c : casos)
        EXPECT_EQ(SuperaLimiteCambio(c.contravalor, c.moneda), c.supera) << c.contravalor << " " << c.moneda;
}

class Cambio : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bd.Abierta()); }
    void TearDown() override { LiberaPlantilla(); }

    // A batch of issuer 1 in moneda naming the template (0: none).
    static int Remesa(const char *moneda, int plantilla)
    {
        EXPECT_TRUE(copias::Ejecuta(std::string("INSERT INTO [Remesas()] (Id_emisor,Id_moneda,Id_plantilla) VALUES (1,'") +
                                    moneda + "'," + (plantilla ? std::to_string(plantilla) : "NULL") + ")"));
        return Ultima("Remesas()", "Id_remesa");
    }
    static int Ultima(const std::string &tabla, const std::string &clave)
    {
        return std::stoi(copias::Valor("SELECT MAX(" + clave + ") AS N FROM [" + tabla + "]", "N"));
    }
    // A bill of the batch; with a concept row when concepto is given.
    static int Recibo(int remesa, const char *importe, const char *contravalor, const char *concepto = nullptr)
    {
        std::string idConcepto = "NULL";
        if (concepto) {
            EXPECT_TRUE(copias::Ejecuta(std::string("INSERT INTO [Conceptos()] (Concepto) VALUES ('") + concepto + "')"));
            idConcepto = std::to_string(Ultima("Conceptos()", "Id_concepto"));
        }
        EXPECT_TRUE(copias::Ejecuta("INSERT INTO [Documentos()] (Id_remesa,Id_librado,Importe,Contravalor,Id_concepto) "
                                    "VALUES (" + std::to_string(remesa) + ",1,'" + importe + "','" + contravalor + "'," +
                                    idConcepto + ")"));
        return Ultima("Documentos()", "Id_documento");
    }
    // The unescaped field of the query's only row.
    static std::string Unico(const std::string &sql, const std::string &campo)
    {
        const std::vector<std::string> filas = copias::Filas(sql);
        return filas.size() == 1 ? basedatos::field(filas.front(), campo) : "<filas: " + std::to_string(filas.size()) + ">";
    }
    static std::string Campo(int recibo, const char *campo)
    {
        return copias::Valor("SELECT " + std::string(campo) + " FROM [Documentos()] WHERE Id_documento=" +
                                 std::to_string(recibo),
                             campo);
    }
    static std::string Concepto(int recibo)
    {
        return ConceptoCompleto(Unico("SELECT Concepto FROM [Conceptos()] INNER JOIN [Documentos()] ON "
                                      "[Conceptos()].Id_concepto=[Documentos()].Id_concepto WHERE Id_documento=" +
                                          std::to_string(recibo),
                                      "Concepto"));
    }
    static std::string Moneda(int remesa)
    {
        return copias::Valor("SELECT Id_moneda FROM [Remesas()] WHERE Id_remesa=" + std::to_string(remesa), "Id_moneda");
    }
    static std::string Total(int remesa)
    {
        return copias::Valor("SELECT Importe_total FROM [Remesas()] WHERE Id_remesa=" + std::to_string(remesa),
                             "Importe_total");
    }

    // A template: label "Cuota" at 0,0; amounts A at 10,1 and B at 30,1; with conTotal their
    // total T at 50,1 marked as the bill's.
    static int Plantilla_(bool conTotal)
    {
        Plantilla p;
        std::strcpy(p.acNombre, conTotal ? "Con total" : "Sin total");
        const std::array<const char *, 4> items[] = {
            {"Etiqueta", "Cuota", "0", "0"}, {"Importe", "A", "10", "1"}, {"Importe", "B", "30", "1"}};
        for (const auto &i : items) {
            B_AStr_t *item = p.ItemNew(i[0]);
            VarSet(item, "Identificador", i[1]);
            VarSet(item, "X", i[2]);
            VarSet(item, "Y", i[3]);
            if (i[0] == std::string("Etiqueta"))
                VarSet(item, "Texto", "Cuota");
            EXPECT_EQ(p.ItemAdd(item), 0);
        }
        if (conTotal) {
            B_AStr_t *t = p.ItemNew("Total");
            VarSet(t, "Identificador", "T");
            VarSet(t, "X", "50");
            VarSet(t, "Y", "1");
            VarSet(t, "Campos", "A+B");
            VarSet(t, "Total", "si");
            EXPECT_EQ(p.ItemAdd(t), 0);
        }
        return GuardaPlantilla(p);
    }

    // A concept with a and b in the fields of A and B, 640 characters unless corto.
    static std::string Pagina(const std::string &a, const std::string &b, bool corto = false)
    {
        std::string p(640, ' ');
        p.replace(0, 9, "Cuota&a=b");
        p.replace(90, a.size(), a);
        p.replace(110, b.size(), b);
        return corto ? p.substr(0, 122) : p;
    }

    entorno::Regional coma{true};
    copias::Base bd;
    elementos::Tipos tipos;
};

TEST_F(Cambio, WithoutTemplateEveryBillExchangesAndTheWayBackRestoresIt)
{
    const int remesa = Remesa("ESP", 0);
    const int uno = Recibo(remesa, "1000", "6.01");
    const int dos = Recibo(remesa, "2500", "15.03", "libre");
    ASSERT_EQ(CambiaMonedaRemesa(remesa, "EUR"), CambioMoneda::Cambiada);
    EXPECT_EQ(Moneda(remesa), "EUR");
    EXPECT_EQ(Campo(uno, "Importe"), "6.01");
    EXPECT_EQ(Campo(uno, "Contravalor"), "1000");
    EXPECT_EQ(Campo(dos, "Importe"), "15.03");
    EXPECT_EQ(Total(remesa), "21.04");
    ASSERT_EQ(CambiaMonedaRemesa(remesa, "ESP"), CambioMoneda::Cambiada);
    EXPECT_EQ(Moneda(remesa), "ESP");
    EXPECT_EQ(Campo(uno, "Importe"), "1000");
    EXPECT_EQ(Campo(uno, "Contravalor"), "6.01");
    EXPECT_EQ(Campo(dos, "Contravalor"), "15.03");
    EXPECT_EQ(Total(remesa), "3500");
    EXPECT_EQ(Concepto(dos), ConceptoCompleto("libre"));
}

TEST_F(Cambio, WithATemplateTheFieldsAreConvertedAndTheAmountIsTheTotal)
{
    const int remesa = Remesa("EUR", Plantilla_(true));
    const int uno = Recibo(remesa, "6.01", "1000", Pagina("6,01", "0").c_str());
    const int corto = Recibo(remesa, "6.01", "1000", Pagina("6,01", "", true).c_str());
    const int sinConcepto = Recibo(remesa, "3.00", "499");
    ASSERT_EQ(CambiaMonedaRemesa(remesa, "ESP"), CambioMoneda::Cambiada);
    EXPECT_EQ(Concepto(uno), Pagina("1000        ", "0")) << "labels, 0 and what is not a field untouched";
    EXPECT_EQ(Concepto(corto), Pagina("1000        ", "")) << "blank-padded to 640 first";
    EXPECT_EQ(Campo(uno, "Importe"), "1000");
    EXPECT_EQ(Campo(uno, "Contravalor"), "6.01");
    EXPECT_EQ(Campo(sinConcepto, "Importe"), "499") << "a bill without concept exchanges";
    EXPECT_EQ(Campo(sinConcepto, "Contravalor"), "3");
    EXPECT_EQ(Total(remesa), "2499");
    ASSERT_EQ(CambiaMonedaRemesa(remesa, "EUR"), CambioMoneda::Cambiada);
    EXPECT_EQ(Concepto(uno), Pagina("6,01        ", "0"));
    EXPECT_EQ(Campo(uno, "Importe"), "6.01");
    EXPECT_EQ(Campo(uno, "Contravalor"), "1000");
}

TEST_F(Cambio, ANegativePercentageCountsInTheSwitchedAmount)
{
    Plantilla p;
    std::strcpy(p.acNombre, "Descuento");
    const std::array<const char *, 4> items[] = {
        {"Importe", "A", "10", ""}, {"Porcentaje", "Dto", "30", "A"}, {"Total", "T", "50", "A + Dto"}};
    for (const auto &i : items) {
        B_AStr_t *item = p.ItemNew(i[0]);
        VarSet(item, "Identificador", i[1]);
        VarSet(item, "X", i[2]);
        VarSet(item, "Y", "1");
        if (*i[3])
            VarSet(item, "Campos", i[3]);
        EXPECT_EQ(p.ItemAdd(item), 0);
    }
    VarSet(static_cast<B_AStr_t **>(p.stkItems.data)[1], "Porcentaje", "-10");
    VarSet(static_cast<B_AStr_t **>(p.stkItems.data)[2], "Total", "si");
    const int remesa = Remesa("ESP", GuardaPlantilla(p));
    const int uno = Recibo(remesa, "149747", "900.00", Pagina("166386", "-16639").c_str());
    ASSERT_EQ(CambiaMonedaRemesa(remesa, "EUR"), CambioMoneda::Cambiada);
    EXPECT_EQ(Concepto(uno), Pagina("1000,00     ", "-100,00     "));
    EXPECT_EQ(Campo(uno, "Importe"), "900");
    EXPECT_EQ(Campo(uno, "Contravalor"), "149747");
}

TEST_F(Cambio, ATemplateWithoutTotalExchangesTheAmounts)
{
    const int remesa = Remesa("EUR", Plantilla_(false));
    const int uno = Recibo(remesa, "6.01", "1000", Pagina("6,01", "").c_str());
    ASSERT_EQ(CambiaMonedaRemesa(remesa, "ESP"), CambioMoneda::Cambiada);
    EXPECT_EQ(Concepto(uno), Pagina("1000        ", ""));
    EXPECT_EQ(Campo(uno, "Importe"), "1000");
    EXPECT_EQ(Campo(uno, "Contravalor"), "6.01");
}

TEST_F(Cambio, ABillHeldByAnotherCopyRollsTheWholeSwitchBack)
{
    const int remesa = Remesa("EUR", Plantilla_(true));
    const int uno = Recibo(remesa, "6.01", "1000", Pagina("6,01", "").c_str());
    const int dos = Recibo(remesa, "6.01", "1000", Pagina("6,01", "").c_str());
    ASSERT_TRUE(copias::Ejecuta("UPDATE [Documentos()] SET Block=1 WHERE Id_documento=" + std::to_string(dos)));
    EXPECT_EQ(CambiaMonedaRemesa(remesa, "ESP"), CambioMoneda::Retenida);
    EXPECT_EQ(Moneda(remesa), "EUR");
    EXPECT_EQ(Concepto(uno), Pagina("6,01", ""));
    EXPECT_EQ(Campo(uno, "Importe"), "6.01");
}

} // namespace
