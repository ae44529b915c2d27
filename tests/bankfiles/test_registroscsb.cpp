// The records of the send files, byte for byte.
#include "Registroscsb.h"

#include "cp1252.h"

#include <QChar>
#include <cctype>
#include <gtest/gtest.h>

namespace {

std::string B(size_t n)
{
    return std::string(n, ' ');
}

const QDate kHoy(2012, 2, 24);
const std::string kNombre = "NaN Projectes de Programari Lliure, S.L.";
const std::string kNombreLimpio = "NaN Projectes de Programari Lliure  S.L."; // the comma is no bank character

ReciboCSB ReciboMuestra()
{
    ReciboCSB r;
    r.CodigoReferencia = "000000036648";
    r.RazonSocial = "CUSTOMER NAME";
    r.Cuenta = "01822376180101507859";
    r.Importe = 3045;
    r.PrimerConcepto = "015957 2012000699";
    r.FVencimiento = QDate(2012, 6, 5);
    r.Direccion = "Cusomer Street Here";
    r.Localidad = "City";
    r.CP = "08208";
    r.LocOrdenante = "Barcelona";
    r.CodProvinciaOrdenante = "08";
    r.FFormalizacion = kHoy;
    return r;
}

// Lines of the public sample files of the CSB formats (retrofix's c58.txt and c19.txt),
// with the comma of the name cleaned.
TEST(RegistrosCSB, Csb58AsThePublicSample)
{
    const RegistrosCSB r(2, true, kHoy, QDate());
    const std::string codigo = RegistrosCSB::Codigo("B65247983", "000");
    EXPECT_EQ(r.CabeceraPresentador({"B65247983", "000", kNombre, "00751454450500007790"}),
              "5170B65247983000240212" + B(6) + kNombreLimpio + B(20) + "00751454" + B(66));
    EXPECT_EQ(r.CabeceraOrdenante({"B65247983", "000", kNombre, "00751454450500007790", ""}, false),
              "5370B65247983000240212" + B(6) + kNombreLimpio + "00751454450500007790" + B(8) + "06" + B(52) +
                  "000000000" + B(3))
        << "the sample leaves the INE code blank; a missing one is written as zeros";
    ReciboCSB recibo = ReciboMuestra();
    EXPECT_EQ(r.Individual(codigo, recibo),
              "5670B65247983000000000036648CUSTOMER NAME" + B(27) + "018223761801015078590000003045" + B(16) +
                  "015957 2012000699" + B(23) + "050612" + B(2));
    EXPECT_EQ(r.Domicilio(codigo, recibo), std::nullopt) << "a credit with account has no 76";
    recibo.Cuenta = "00000000000000000000";
    EXPECT_EQ(r.Domicilio(codigo, recibo), "5676B65247983000000000036648Cusomer Street Here" + B(21) + "City" +
                                               B(31) + "08208Barcelona" + B(29) + "08240212" + B(8));
    EXPECT_EQ(r.TotalOrdenante(codigo, 1471382, 16, 34),
              "5870B65247983000" + B(72) + "0001471382" + B(6) + "00000000160000000034" + B(38));
    EXPECT_EQ(r.TotalGeneral(codigo, 1, 1471382, 16, 36),
              "5970B65247983000" + B(52) + "0001" + B(16) + "0001471382" + B(6) + "00000000160000000036" + B(38));
}

TEST(RegistrosCSB, Csb19AsThePublicSample)
{
    const RegistrosCSB r(1, true, kHoy, kHoy);
    const std::string codigo = RegistrosCSB::Codigo("B65247983", "701");
    EXPECT_EQ(r.CabeceraPresentador({"B65247983", "701", kNombre, "20590060212084518352"}),
              "5180B65247983701240212" + B(6) + kNombreLimpio + B(20) + "20590060" + B(66));
    EXPECT_EQ(r.CabeceraOrdenante({"B65247983", "701", kNombre, "20590060212084518352", "123"}, true),
              "5380B65247983701240212240212" + kNombreLimpio + "20590060212084518352" + B(8) + "01" + B(10) +
                  std::string(40, '0') + B(14))
        << "the sample leaves 109-148 blank; the layout asks for zeros";
    EXPECT_EQ(r.CabeceraOrdenante({"B65247983", "701", kNombre, "20590060212084518352", ""}, false).substr(96, 2), "02");
    EXPECT_EQ(r.TotalOrdenante(codigo, 214040, 1, 3),
              "5880B65247983701" + B(72) + "0000214040" + B(6) + "00000000010000000003" + B(38));
    EXPECT_EQ(r.TotalGeneral(codigo, 1, 214040, 1, 5),
              "5980B65247983701" + B(52) + "0001" + B(16) + "0000214040" + B(6) + "00000000010000000005" + B(38));
}

TEST(RegistrosCSB, RecordAndDataCodesOfEveryKind)
{
    struct Caso { int tipo; bool euros; const char *presentador, *ordenante, *individual, *primeraOpcional, *domicilio,
                  *totalOrdenante, *totalGeneral; };
    const Caso casos[] = {
        {1, true, "5180", "5380", "5680", "5681", "5686", "5880", "5980"},
        {1, false, "0180", "0380", "0680", "0681", "0686", "0880", "0980"},
        {2, true, "5170", "5370", "5670", "5671", "5676", "5870", "5970"},
        {2, false, "0170", "0370", "0670", "0671", "0676", "0870", "0970"},
    };
    for (const Caso &c : casos) {
        const RegistrosCSB r(c.tipo, c.euros, kHoy, kHoy);
        ReciboCSB recibo = ReciboMuestra();
        recibo.Concepto = std::string(40, 'a') + "concepto de la segunda linea";
        recibo.TitularCuenta = "Titular";
        recibo.Cuenta = c.tipo == 2 ? "" : recibo.Cuenta;
        const std::string codigo = RegistrosCSB::Codigo("A", "1");
        const std::string registros[] = {
            r.CabeceraPresentador({"A", "1", "P", ""}), r.CabeceraOrdenante({"A", "1", "E", "", ""}, true),
            r.Individual(codigo, recibo).value(),       r.Opcionales(codigo, recibo).at(0),
            r.Domicilio(codigo, recibo).value(),        r.TotalOrdenante(codigo, 1, 1, 3).value(),
            r.TotalGeneral(codigo, 1, 1, 1, 5).value(),
        };
        const char *esperados[] = {c.presentador,     c.ordenante, c.individual,  c.primeraOpcional,
                                   c.domicilio, c.totalOrdenante, c.totalGeneral};
        for (size_t k = 0; k < std::size(registros); ++k) {
            EXPECT_EQ(registros[k].substr(0, 4), esperados[k]) << "format " << c.tipo << " euros " << c.euros;
            EXPECT_EQ(registros[k].size(), kLargoRegistroCSB);
        }
    }
}

TEST(RegistrosCSB, AmountsInWholeUnitsOfTenDigits)
{
    struct Caso { bool euros; long long unidades; const char *campo; const char *porque; };
    const Caso casos[] = {
        {true, 50, "0000000050", "0.50 EUR are 50 cents"},
        {false, 1500, "0000001500", "1500 ESP are 1500 pesetas"},
        {true, 9'999'999'999, "9999999999", "the largest that fits"},
    };
    for (const Caso &c : casos) {
        const RegistrosCSB r(1, c.euros, kHoy, kHoy);
        ReciboCSB recibo = ReciboMuestra();
        recibo.Importe = c.unidades;
        EXPECT_EQ(r.Individual("X", recibo)->substr(88, 10), c.campo) << c.porque;
        EXPECT_EQ(r.TotalOrdenante("X", c.unidades, 1, 3)->substr(88, 10), c.campo) << c.porque;
        EXPECT_EQ(r.TotalGeneral("X", 1, c.unidades, 1, 5)->substr(88, 10), c.campo) << c.porque;
    }
    const RegistrosCSB r(1, true, kHoy, kHoy);
    ReciboCSB grande = ReciboMuestra();
    grande.Importe = kTopeImporteCSB;
    EXPECT_EQ(r.Individual("X", grande), std::nullopt) << "100,000,000.00 euros need 11 digits";
    EXPECT_EQ(r.TotalOrdenante("X", kTopeImporteCSB, 2, 4), std::nullopt);
    EXPECT_EQ(r.TotalGeneral("X", 1, kTopeImporteCSB, 2, 6), std::nullopt);
    EXPECT_EQ(r.TotalGeneral("X", 10000, 1, 1, 6), std::nullopt) << "issuers fill 4 digits";
    EXPECT_EQ(r.TextoImporte(5), "0.05");
    EXPECT_EQ(RegistrosCSB(1, false, kHoy, kHoy).TextoImporte(12345678901), "12345678901");
}

TEST(RegistrosCSB, ConceptLinesAndOptionalRecords)
{
    struct Caso { int tipo; std::string concepto, primer, linea; std::vector<std::string> codigos; const char *porque; };
    const std::string cuarenta(40, 'c');
    const Caso casos[] = {
        {1, "", "Cuota de enero", "Cuota de enero", {}, "without concept text the first concept line"},
        {1, "", "   ", ".", {}, "a blank first line is a dot"},
        {1, cuarenta, "otro", cuarenta, {}, "40 characters give no optional record"},
        {1, cuarenta + B(120) + "final", "", cuarenta, {"5682"}, "only the second slice group holds text"},
        {2, cuarenta + B(120) + "final", "", cuarenta, {"5672"}, "the same in CSB58"},
        {1, cuarenta + "x" + B(598) + "y", "", cuarenta, {"5681", "5685"}, "first and last groups"},
        {2, B(640), "primero", ".", {}, "a concept of blanks has no text"},
    };
    for (const Caso &c : casos) {
        const RegistrosCSB r(c.tipo, true, kHoy, kHoy);
        ReciboCSB recibo = ReciboMuestra();
        recibo.Concepto = c.concepto;
        recibo.PrimerConcepto = c.primer;
        EXPECT_EQ(r.Individual("X", recibo)->substr(114, 40), c.linea + B(40 - c.linea.size())) << c.porque;
        std::vector<std::string> codigos;
        for (const std::string &o : r.Opcionales("X", recibo))
            codigos.push_back(o.substr(0, 4));
        EXPECT_EQ(codigos, c.codigos) << c.porque;
    }
    ReciboCSB recibo = ReciboMuestra();
    recibo.Concepto = std::string(40, '-') + std::string(40, 'a') + std::string(40, 'b') + std::string(40, 'c');
    EXPECT_EQ(RegistrosCSB(1, true, kHoy, kHoy).Opcionales("X", recibo).at(0).substr(28, 134),
              std::string(40, 'a') + std::string(40, 'b') + std::string(40, 'c') + B(14));
}

TEST(RegistrosCSB, AddressRecordConditions)
{
    struct Caso { int tipo; std::string cuenta, titular, direccion, localidad, cp; bool domicilio; const char *porque; };
    const Caso casos[] = {
        {1, "01822376180101507859", "", "Calle", "Pueblo", "08208", false, "CSB19 without holder never gets 86"},
        {1, "01822376180101507859", "Titular", "", "", "08208", true, "holder and postcode"},
        {1, "01822376180101507859", "Titular", " ", " ", "", false, "holder without address"},
        {1, "00000000000000000000", "", "Calle", "", "", false, "CSB19 keeps the zeros and gets no 86"},
        {2, "00000000000000000000", "", "Calle", "", "", true, "CSB58 credit without account"},
        {2, "", "", "", "", "", true, "CSB58 empty account"},
        {2, "01822376180101507859", "", "Calle", "", "", false, "CSB58 with account"},
    };
    for (const Caso &c : casos) {
        const RegistrosCSB r(c.tipo, true, kHoy, kHoy);
        ReciboCSB recibo = ReciboMuestra();
        recibo.Cuenta = c.cuenta, recibo.TitularCuenta = c.titular, recibo.Direccion = c.direccion;
        recibo.Localidad = c.localidad, recibo.CP = c.cp;
        EXPECT_EQ(r.Domicilio("X", recibo).has_value(), c.domicilio) << c.porque;
        const std::string individual = r.Individual("X", recibo).value();
        if (c.tipo == 2 && c.domicilio)
            EXPECT_EQ(individual.substr(68, 20), B(20)) << c.porque;
        else
            EXPECT_EQ(individual.substr(68, 20), c.cuenta + B(20 - c.cuenta.size())) << c.porque;
    }
    ReciboCSB sinNada = ReciboMuestra();
    sinNada.TitularCuenta = "T", sinNada.CP = "8", sinNada.FFormalizacion = QDate();
    EXPECT_EQ(RegistrosCSB(1, true, kHoy, kHoy).Domicilio("X", sinNada)->substr(143, 5), "00008");
    sinNada.Cuenta = "", sinNada.CP = "", sinNada.CodProvinciaOrdenante = "";
    const std::string r76 = RegistrosCSB(2, true, kHoy, kHoy).Domicilio("X", sinNada).value();
    EXPECT_EQ(r76.substr(103, 5), "00000") << "missing postcode";
    EXPECT_EQ(r76.substr(146, 2), "00") << "missing province";
    EXPECT_EQ(r76.substr(148, 6), B(6)) << "no formalisation date";
}

TEST(RegistrosCSB, TextsCleanedAndCutToTheirFields)
{
    const RegistrosCSB r(1, true, kHoy, kHoy);
    ReciboCSB recibo = ReciboMuestra();
    recibo.RazonSocial = "MU\xD1OZ & HIJOS, S.A.";
    EXPECT_EQ(r.Individual("X", recibo)->substr(28, 19), "MUNOZ / HIJOS  S.A.") << "the letter kept, plain";
    std::string acentos;
    for (int b = 0xC0; b <= 0xFF; ++b)
        acentos += char(b);
    EXPECT_EQ(LimpiaRegistroCSB(acentos), "AAAAAA CEEEEIIII NOOOOO OUUUUY  aaaaaa ceeeeiiii nooooo ouuuuy y");
    std::string caron = "\x8A\x8E\x9A\x9E\x9F\x8C";
    EXPECT_EQ(LimpiaRegistroCSB(caron), "SZszYO") << "the same case; a ligature as its first letter";
    recibo.RazonSocial = "Linea\tcon\ttabuladores\r\ny saltos" + std::string(60, 'z');
    recibo.CodigoReferencia = std::string(30, '9');
    recibo.RefInterna = "12345678901234";
    recibo.CodDevolucion = "7";
    const std::string individual = r.Individual("X", recibo).value();
    EXPECT_EQ(individual.size(), kLargoRegistroCSB);
    EXPECT_EQ(individual.substr(28, 40), "Linea con tabuladores  y saltos" + std::string(9, 'z'));
    EXPECT_EQ(individual.substr(16, 12), std::string(12, '9'));
    EXPECT_EQ(individual.substr(98, 6), B(5) + "7") << "return code right-justified";
    EXPECT_EQ(individual.substr(104, 10), "1234567890") << "cut keeping the first characters";
    EXPECT_EQ(r.CabeceraPresentador({"NIF", "", "P", "  "}).substr(88, 8), "00000000") << "no charge account";
    EXPECT_EQ(RegistrosCSB::Codigo("B123456789X", "0"), "B12345678" "0  ");
}

// The bank's table reads 0x80-0xAA as another code page (the euro sign as Z, a dash as U): every
// byte of Windows-1252 there goes out as a character the bank takes, a letter only for a letter.
TEST(RegistrosCSB, SignsGoOutAsTheNearestPlainCharacterNeverAsALetter)
{
    const std::string_view plano = "()*+-./<> ";
    for (int b = 0x80; b <= 0xBF; ++b) {
        std::string byte(1, char(b));
        const unsigned char r = LimpiaRegistroCSB(byte).at(0);
        EXPECT_TRUE(std::isalnum(r) || plano.find(char(r)) != std::string_view::npos) << "byte " << b << ": " << int(r);
        if (std::isalpha(r)) {
            EXPECT_TRUE(QChar::isLetter(cp1252::toUnicode(b))) << "byte " << b << " became the letter " << r;
        }
    }
    struct Caso { unsigned char de; char a; const char *porque; };
    const Caso casos[] = {
        {0x80, ' ', "euro"},   {0xA0, ' ', "no-break space"}, {0x96, '-', "en dash"}, {0x97, '-', "em dash"},
        {0x93, ' ', "quote"},  {0x95, '*', "bullet"},         {0x99, ' ', "trade mark"}, {0x85, '.', "ellipsis"},
        {0xA1, ' ', "as !"},   {0xA3, ' ', "pound"},          {0xA6, '.', "a typed | as stored"},
        {0xBA, 'o', "ordinal"}, {0xB2, '2', "superscript two"},
    };
    for (const Caso &c : casos) {
        std::string byte(1, char(c.de));
        EXPECT_EQ(LimpiaRegistroCSB(byte), std::string(1, c.a)) << c.porque;
    }
    std::string nombre = "Pe\xF1" "a Garc\xED" "a \x96 \x93Hnos\x94 S.L.\xA0\x85";
    EXPECT_EQ(LimpiaRegistroCSB(nombre), "Pena Garcia -  Hnos  S.L. .");
}

} // namespace
