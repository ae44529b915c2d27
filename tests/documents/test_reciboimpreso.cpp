// The printed bill's two sheets on the real database, read back from their PDF.
#include "Reciboimpreso.h"

#include "Multiidioma.h"
#include "cobros.h"
#include "entorno.h"
#include "pdf.h"

#include <gtest/gtest.h>

namespace {

class ReciboImpreso : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(base.Abierta());
        const int empresa = cobros::Empresa();
        const int csb19 = cobros::Presentador(empresa, "CSB19", "B11111111", "000", "Norte");
        const int csb58 = cobros::Presentador(empresa, "CSB58", "B22222222", "001", "Sur");
        santander = cobros::Emisor(csb19, "A11111111", "001", "Emisor A", "21000418450200051332",
                                   "00491500051234567892");
        desconocido = cobros::Emisor(csb58, "C33333333", "002", "Emisor C", "21000418450200051332",
                                     "99990418450200051332");
        sinCargo = cobros::Emisor(csb19, "D44444444", "003", "Emisor D", "21000418450200051332");
        pesetas = cobros::Remesa(santander, "ESP", "Pesetas");
        euros = cobros::Remesa(santander, "EUR", "Euros");
        anticipos = cobros::Remesa(desconocido, "EUR", "Anticipos");
        vacia = cobros::Remesa(sinCargo, "ESP", "Sin cargo");
        ASSERT_GT(vacia, 0);
        d.Ordenante = "Emisor A";
        d.Importe = "1.000";
        d.RefInterna = "REF-1";
        d.MemoConceptos = "Concepto largo del recibo";
        d.PrimerConcepto = "Primer concepto";
        d.Librado = "Librado Uno";
        d.Banco = "2100";
        d.Oficina = "0418";
        d.DC = "45";
        d.Cuenta = "0200051332";
        d.TitularCuenta = "Titular Cuenta";
        d.Direccion = "Calle Mayor 1";
        d.Localidad = "Lugo";
        d.Provincia = "Lugo";
        d.Formalizacion = QDate(2024, 6, 30);
        d.TitularCredito58 = "Deudor Dos";
        d.Banco58 = "2059";
        d.Oficina58 = "0060";
        d.DC58 = "21";
        d.Cuenta58 = "2084518352";
        d.DomicilioDeudor58 = "Plaza 2";
        d.LocalidadDeudor58 = "Ourense";
        d.CPDeudor58 = "32001";
    }

    // The sheet of the order type for the batch in the currency, as PDF text.
    std::string Imprime(int tipo, int remesa, const std::string &moneda)
    {
        d.TipoOrden = tipo;
        d.IdRemesa = remesa;
        d.MonedaRemesa = moneda;
        TQuickRep *hoja = hojas.Llena(d);
        if (!hoja)
            return {};
        EXPECT_TRUE(hoja->Prepara());
        EXPECT_TRUE(hoja->GuardaPDF(dir.file("recibo.pdf")));
        EXPECT_EQ(pdf::Info(dir.file("recibo.pdf"), "Page size"), "595 x 842 pts (A4)");
        EXPECT_EQ(pdf::Info(dir.file("recibo.pdf"), "Pages"), "1");
        return pdf::Texto(dir.file("recibo.pdf"));
    }

    static bool Tiene(const std::string &texto, const std::string &buscado)
    {
        return texto.find(buscado) != std::string::npos;
    }

    // What follows the label on its line, blanks skipped and each run of them as one ("" when the label is missing).
    static std::string Tras(const std::string &texto, const std::string &etiqueta)
    {
        const size_t k = texto.find(etiqueta);
        if (k == std::string::npos)
            return {};
        // pdftotext widens runs of blanks: one stands for each.
        std::string resto;
        for (size_t i = texto.find_first_not_of(' ', k + etiqueta.size()); i < texto.size() && texto[i] != '\n'; ++i)
            if (texto[i] != ' ' || resto.back() != ' ')
                resto += texto[i];
        return resto;
    }

    cobros::Base base;
    entorno::Regional regional{true};
    testutil::TempDir dir;
    THojasRecibo hojas;
    DatosReciboImpreso d;
    int santander = 0, desconocido = 0, sinCargo = 0, pesetas = 0, euros = 0, anticipos = 0, vacia = 0;
};

TEST_F(ReciboImpreso, DirectDebitSheetShowsTheBoxesIssuerAndBank)
{
    const std::string texto = Imprime(1, pesetas, "ESP");
    EXPECT_TRUE(Tiene(texto, "Banco Santander")) << texto;
    EXPECT_TRUE(Tiene(texto, "DOMICILIACION"));
    EXPECT_TRUE(Tiene(texto, QDate::currentDate().toString("dd-MM-yy").toStdString()));
    EXPECT_TRUE(Tiene(texto, "1500"));      // the branch of the charge account
    EXPECT_TRUE(Tiene(texto, "A11111111")); // the issuer's NIF
    EXPECT_TRUE(Tiene(texto, "REF-1"));
    EXPECT_TRUE(Tiene(texto, "Emisor A"));
    EXPECT_EQ(Tras(texto, "2100"), "0418 45 0200051332") << texto;
    for (const char *valor : {"Librado Uno", "Titular Cuenta", "Calle Mayor 1", "Lugo"})
        EXPECT_TRUE(Tiene(texto, valor)) << valor;
    // Pesetas beside the amount, euros beside the counter-value.
    EXPECT_TRUE(Tiene(texto, "PTA")) << texto;
    const size_t importe = texto.find("IMPORTE");
    const size_t contravalor = texto.find("CONTRAVALOR");
    ASSERT_NE(importe, std::string::npos);
    ASSERT_NE(contravalor, std::string::npos);
    const std::string lineaImporte = texto.substr(importe, texto.find('\n', importe) - importe);
    const std::string lineaContra = texto.substr(contravalor, texto.find('\n', contravalor) - contravalor);
    EXPECT_TRUE(Tiene(lineaImporte, "PTA") && Tiene(lineaImporte, "1.000")) << lineaImporte;
    EXPECT_TRUE(Tiene(lineaContra, "EUR") && Tiene(lineaContra, "6,01")) << lineaContra;
    // Without concept issue the first concept prints; with it, the memo.
    EXPECT_TRUE(Tiene(texto, "Primer concepto"));
    EXPECT_FALSE(Tiene(texto, "Concepto largo"));
    d.MemoVisible = true;
    const std::string conMemo = Imprime(1, pesetas, "ESP");
    EXPECT_TRUE(Tiene(conMemo, "Concepto largo del recibo"));
    EXPECT_FALSE(Tiene(conMemo, "Primer concepto"));
}

TEST_F(ReciboImpreso, AEuroBatchSwapsTheCurrencies)
{
    d.Importe = "10,50";
    for (int tipo : {1, 2}) {
        const std::string texto = Imprime(tipo, tipo == 1 ? euros : anticipos, "EUR");
        const size_t importe = texto.find("IMPORTE"), contravalor = texto.find("CONTRAVALOR");
        ASSERT_NE(contravalor, std::string::npos) << tipo;
        const std::string lineaImporte = texto.substr(importe, texto.find('\n', importe) - importe);
        const std::string lineaContra = texto.substr(contravalor, texto.find('\n', contravalor) - contravalor);
        EXPECT_TRUE(Tiene(lineaImporte, "EUR") && Tiene(lineaImporte, "10,50")) << lineaImporte;
        EXPECT_TRUE(Tiene(lineaContra, "PTA") && Tiene(lineaContra, "1.747")) << lineaContra;
    }
}

TEST_F(ReciboImpreso, CreditAdvanceSheetShowsItsBoxesAndAnUnknownBanksCode)
{
    const std::string texto = Imprime(2, anticipos, "EUR");
    EXPECT_TRUE(Tiene(texto, "ANTICIPO DE CREDITO"));
    EXPECT_TRUE(Tiene(texto, "C\xC3\xB3" "digo Banco: 9999")) << texto;
    EXPECT_TRUE(Tiene(texto, "30-06-24"));
    EXPECT_TRUE(Tiene(texto, "C33333333"));
    EXPECT_TRUE(Tiene(texto, "0418"));
    EXPECT_EQ(Tras(texto, "2059"), "0060 21 2084518352") << texto;
    for (const char *valor : {"Deudor Dos", "Plaza 2", "Ourense", "C.P. 32001", "REF-1"})
        EXPECT_TRUE(Tiene(texto, valor)) << valor;
    // This sheet always prints the memo.
    EXPECT_TRUE(Tiene(texto, "Concepto largo del recibo"));
    EXPECT_FALSE(Tiene(texto, "Primer concepto"));

    d.CPDeudor58 = "  ";
    EXPECT_FALSE(Tiene(Imprime(2, anticipos, "EUR"), "C.P."));
}

TEST_F(ReciboImpreso, AnUnknownBankOnTheDirectDebitSheetShowsText296AndItsCode)
{
    const std::string texto = Imprime(1, anticipos, "EUR");
    EXPECT_TRUE(Tiene(texto, "C\xC3\xB3" "digo banco :9999")) << texto;
    EXPECT_EQ(hojas.NombreBanco, "");
}

TEST_F(ReciboImpreso, AnIssuerWithoutChargeAccountPrintsNoBranchAndANamelessBank)
{
    for (int tipo : {1, 2}) {
        const std::string texto = Imprime(tipo, vacia, "ESP");
        const std::string etiqueta = tipo == 1 ? "C\xC3\xB3" "digo banco :" : "C\xC3\xB3" "digo Banco:";
        EXPECT_EQ(Tras(texto, etiqueta).substr(0, 8), tipo == 1 ? "DOMICILI" : "ANTICIPO") << texto;
        EXPECT_TRUE(Tiene(texto, "D44444444"));
    }
}

TEST_F(ReciboImpreso, AnUnreadableIssuerNeverShowsTheLastPrintsData)
{
    Imprime(1, pesetas, "ESP");
    const std::string texto = Imprime(1, 999, "ESP");
    EXPECT_FALSE(Tiene(texto, "A11111111")) << texto;
    EXPECT_FALSE(Tiene(texto, "1500"));
    EXPECT_FALSE(Tiene(texto, "Santander"));
    EXPECT_TRUE(Tiene(texto, "C\xC3\xB3" "digo banco :"));
}

TEST_F(ReciboImpreso, AnotherOrderTypePrintsNothing)
{
    d.TipoOrden = 0;
    EXPECT_EQ(hojas.Llena(d), nullptr);
}

} // namespace
