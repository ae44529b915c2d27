// The mass-modification engine without windows: the arithmetic of the new amounts, the
// typed formats, the concept parts, and the runs on the shipped encrypted database.
#include "General.h"
#include "Modmas.h"
#include "Modmasivas.h"
#include "entorno.h"
#include "recibos.h"

namespace {

struct CasoImporte {
    const char *tecleado;
    const char *actual;
    const char *moneda;
    const char *nuevo; // "" when refused
    int rechazo;
};

TEST(ModMasivas, NuevoImporte)
{
    entorno::Regional espana(true);
    const CasoImporte casos[] = {
        {"10%", "200", "EUR", "20.00", 0},           // ten per cent of the amount
        {"+10%", "200.00", "EUR", "220.00", 0},      // raised by ten per cent
        {"-10%", "200", "EUR", "180.00", 0},         // lowered by ten per cent
        {"100", "200", "EUR", "100.00", 0},          // set
        {"+100", "200", "EUR", "300.00", 0},         // added
        {"-100", "200", "EUR", "100.00", 0},         // subtracted
        {"-250", "200", "EUR", "", 424},             // not above zero
        {"-200", "200", "EUR", "", 424},             // zero is refused too
        {"10%", "1.25", "EUR", "0.13", 0},           // half away from zero
        {"-10%", "1.25", "EUR", "1.12", 0},          // 1.25 - 0.13
        {"12,5%", "100", "EUR", "12.50", 0},         // a percentage with decimals
        {"100,4", "200", "ESP", "", 821},            // pesetas have no decimals: never rounded
        {"1.000", "200", "ESP", "1000", 0},          // a thousands point
        {"+1.234,5", "100", "EUR", "1334.50", 0},    // a grouped amount reads whole
        {"1,234", "200", "EUR", "", 820},            // a third decimal is refused, not cut
        {"+0.500", "200", "EUR", "", 673},           // no thousands behind a lone 0
        {"10%", "0", "EUR", "", 424},                // a percentage of nothing
        {"99999999,99", "1", "EUR", "99999999.99", 0},
        {"100000000", "1", "EUR", "", 426},          // nine integer digits in euros
        {"9999999999", "1", "ESP", "9999999999", 0},
        {"+9999999999", "1", "ESP", "", 425},        // eleven digits in pesetas
        {"123456789012", "1", "ESP", "", 425},       // more digits than an amount holds
        {"-123456789012", "1", "EUR", "", 426},
        {"+10%", "NULL", "EUR", "", 424},            // a bill without amount counts as 0
    };
    for (const CasoImporte &c : casos) {
        OperacionImporte op;
        int rechazo = LeeOperacionImporte(c.tecleado, c.moneda, op);
        ImporteNuevo r;
        if (rechazo == 0) {
            r = CalculaNuevoImporte(op, c.actual, c.moneda);
            rechazo = r.Rechazo;
        }
        EXPECT_EQ(r.Importe, c.nuevo) << c.tecleado << " on " << c.actual;
        EXPECT_EQ(rechazo, c.rechazo) << c.tecleado << " on " << c.actual;
    }
}

TEST(ModMasivas, LecturaDelTecleado)
{
    entorno::Regional espana(true);
    OperacionImporte op;
    ASSERT_EQ(LeeOperacionImporte("  - 12,5 % ", "EUR", op), 0);
    EXPECT_EQ(op.Modo, -1);
    EXPECT_EQ(op.Numero, "12.50");
    EXPECT_TRUE(op.Porcentaje);
    ASSERT_EQ(LeeOperacionImporte("+7.25", "EUR", op), 0);
    EXPECT_EQ(op.Modo, 1);
    EXPECT_EQ(op.Numero, "7.25");
    EXPECT_FALSE(op.Porcentaje);
}

TEST(ModMasivas, FormatoImporte)
{
    entorno::Regional espana(true);
    const std::pair<const char *, int> casos[] = {
        {"100", 0}, {" + 100,5 ", 0}, {"-10%", 0}, {"10 % ", 0}, {"12,", 0},
        {"", 313}, {"+", 313}, {"  + ", 313}, {"%", 313}, {"10%%", 313}, {"10% 5", 313}, {"1a", 313},
        {"--1", 313},
        {"1.5", 0},       // a point with one decimal after it is the decimal separator
        {"1.234,5", 0},   // thousands points
        {"12.34.5", 673}, // points that group no thousands
        {"1,2,3", 672},
        {"1,234", 820},
    };
    for (const auto &[texto, rechazo] : casos) {
        OperacionImporte op;
        EXPECT_EQ(LeeOperacionImporte(texto, "EUR", op), rechazo) << texto;
    }
}

TEST(ModMasivas, FormatoFecha)
{
    entorno::Regional espana(true);
    const std::pair<const char *, bool> casos[] = {
        {"30/06/2001", true}, {"31/02/2001", false}, {"1/6/2001", true}, {"30/06/01", true}, {"30062001", true},
        {"30//06/2001", true}, // a run of separators parts two groups
        {"30/06/2001x", false}, {"3O/06/2001", false}, {"", false},
    };
    for (const auto &[texto, valido] : casos)
        EXPECT_EQ(FormatoFechaValido(texto), valido) << texto;
}

TEST(ModMasivas, Segmentos)
{
    SegmentosConcepto s;
    s[1] = "Nuevo";
    const std::string r = AplicaSegmentos("Primera parte de cuarenta caracteres....Vieja segunda", s);
    ASSERT_EQ(r.size(), size_t(kLargoConcepto));
    EXPECT_EQ(r.substr(0, 40), "Primera parte de cuarenta caracteres....");
    EXPECT_EQ(r.substr(40, 40), "Nuevo" + std::string(35, ' '));
    EXPECT_EQ(r.substr(80), std::string(560, ' '));
    s[15] = std::string(50, 'x'); // cut to its 40
    EXPECT_EQ(AplicaSegmentos("NULL", s).substr(600), std::string(40, 'x'));
}

// ---- Runs on the database ----

class Masivas : public recibos::Organizacion {
protected:
    // A bill of the batch with the drawee; its key.
    static std::string Recibo(int remesa, int librado, const std::string &columnas, const std::string &valores)
    {
        EXPECT_TRUE(copias::Ejecuta("INSERT INTO [Documentos()] (Id_remesa,Id_librado" + columnas + ") VALUES (" +
                                    std::to_string(remesa) + "," + std::to_string(librado) + valores + ")"));
        return copias::Valor("SELECT MAX(Id_documento) AS Ultimo FROM [Documentos()]", "Ultimo");
    }
    static std::string Campo(const std::string &id, const std::string &columna)
    {
        return copias::Valor("SELECT " + columna + " AS V FROM [Documentos()] WHERE Id_documento=" + id, "V");
    }
    static std::string Concepto(const std::string &id)
    {
        const std::vector<std::string> filas =
            copias::Filas("SELECT [Conceptos()].Concepto AS V FROM [Conceptos()] INNER JOIN [Documentos()] ON "
                          "[Conceptos()].Id_concepto=[Documentos()].Id_concepto WHERE Id_documento=" +
                          id);
        return filas.empty() ? std::string() : ConceptoCompleto(GetCampoTexto("V", filas.front()));
    }
    static Modificacion Importe(const char *tecleado, const char *moneda = "EUR")
    {
        Modificacion m;
        m.Tipo = TipoMasiva::Importes;
        EXPECT_EQ(LeeOperacionImporte(tecleado, moneda, m.Importe), 0) << tecleado;
        return m;
    }
    static Modificacion Fija(TipoMasiva tipo, const std::string &valor)
    {
        Modificacion m;
        m.Tipo = tipo;
        m.Valor = valor;
        return m;
    }
    static ConfirmaRetenidos Responde(bool respuesta, int *preguntas)
    {
        return [respuesta, preguntas](int) {
            ++*preguntas;
            return respuesta;
        };
    }

    entorno::Regional espana{true};
};

TEST_F(Masivas, ImportesConContravalorYTotales)
{
    const std::string a = Recibo(1, 1, ",Importe", ",200");
    const std::string b = Recibo(1, 1, ",Importe", ",100");
    int preguntas = 0;
    const ResultadoMasiva r = ModificaDocumentos({a, b}, Importe("+10%"), Responde(true, &preguntas));
    ASSERT_TRUE(r.Escrita()) << r.Error;
    EXPECT_EQ(preguntas, 0);
    EXPECT_EQ(r.Cambiados, 2);
    EXPECT_EQ(r.Valores, (std::vector<std::string>{"220.00", "110.00"}));
    EXPECT_EQ(Campo(a, "Importe"), "220");
    EXPECT_EQ(Campo(a, "Contravalor"), "36605"); // 220 x 166.386 = 36604.92
    // Bill 1 of the fixture (10.50) and the two new ones.
    EXPECT_EQ(Valor("SELECT Importe_total FROM [Remesas()] WHERE Id_remesa=1", "Importe_total"), "340.5");
}

TEST_F(Masivas, UnRechazoNoCambiaNingunRecibo)
{
    const std::string a = Recibo(1, 1, ",Importe", ",200");
    const std::string b = Recibo(1, 1, ",Importe", ",100");
    const ResultadoMasiva r = ModificaDocumentos({a, b}, Importe("-150"), {});
    EXPECT_EQ(r.Rechazo, 424);
    EXPECT_FALSE(r.Escrita());
    EXPECT_EQ(Campo(a, "Importe"), "200"); // the bill before the refused one stays too
    EXPECT_EQ(Campo(b, "Importe"), "100");
}

TEST_F(Masivas, PesetasSinDecimales)
{
    const std::string a = Recibo(4, 1, ",Importe", ",500");
    const ResultadoMasiva r = ModificaDocumentos({a}, Importe("1.000", "ESP"), {});
    ASSERT_TRUE(r.Escrita()) << r.Error;
    EXPECT_EQ(Campo(a, "Importe"), "1000");
    EXPECT_EQ(Campo(a, "Contravalor"), "6.01"); // 1000 / 166.386 = 6.010
}

TEST_F(Masivas, ValorIgualRevalidadoYListado)
{
    // An erroneous bill of a complete drawee whose amount is already the new one.
    const std::string a = Recibo(1, 1, ",Importe,Situacion,Activo", ",200,1,0");
    const ResultadoMasiva r = ModificaDocumentos({a}, Importe("200"), {});
    ASSERT_TRUE(r.Escrita()) << r.Error;
    EXPECT_EQ(r.Cambiados, 0);
    EXPECT_EQ(r.Valores, std::vector<std::string>{"200.00"});
    EXPECT_EQ(Campo(a, "Situacion"), "0");
}

TEST_F(Masivas, RecibosRetenidos)
{
    const std::string libre = Recibo(1, 1, ",Importe,Ref_interna", ",200,'A'");
    const std::string retenido = Recibo(1, 1, ",Importe,Ref_interna,Block", ",100,'A',1");
    int preguntas = 0;
    ResultadoMasiva r =
        ModificaDocumentos({libre, retenido}, Fija(TipoMasiva::RefInterna, "B"), Responde(false, &preguntas));
    EXPECT_TRUE(r.Declinada);
    EXPECT_EQ(r.Cambiados, 0);
    EXPECT_EQ(preguntas, 1);
    EXPECT_EQ(Campo(libre, "Ref_interna"), "A");

    r = ModificaDocumentos({libre, retenido}, Fija(TipoMasiva::RefInterna, "B"), Responde(true, &preguntas));
    ASSERT_TRUE(r.Escrita()) << r.Error;
    EXPECT_EQ(preguntas, 2);
    EXPECT_EQ(r.Cambiados, 1);
    EXPECT_EQ(r.Retenidos, 1);
    EXPECT_EQ(Campo(libre, "Ref_interna"), "B");
    EXPECT_EQ(Campo(retenido, "Ref_interna"), "A");

    // A held bill is not refused either: -150 only reaches the free bill of 200.
    r = ModificaDocumentos({libre, retenido}, Importe("-150"), Responde(true, &preguntas));
    ASSERT_TRUE(r.Escrita()) << r.Error;
    EXPECT_EQ(Campo(libre, "Importe"), "50");
    EXPECT_EQ(Campo(retenido, "Importe"), "100");
}

TEST_F(Masivas, UnBlancoSeGuardaNuloComoEnElTextoSQL)
{
    const std::pair<TipoMasiva, const char *> casos[] = {{TipoMasiva::RefInterna, "Ref_interna"},
                                                         {TipoMasiva::CodDevolucion, "Cod_devolucion"}};
    for (const auto &[tipo, columna] : casos) {
        const std::string a = Recibo(1, 1, ",Importe,Ref_interna,Cod_devolucion", ",200,'A','B'");
        const ResultadoMasiva r = ModificaDocumentos({a}, Fija(tipo, " "), {});
        ASSERT_TRUE(r.Escrita()) << r.Error;
        EXPECT_EQ(Campo(a, std::string("(") + columna + " IS NULL)"), "1") << columna;
    }
}

TEST_F(Masivas, Conceptos)
{
    ASSERT_TRUE(copias::Ejecuta("INSERT INTO [Conceptos()] (Concepto) VALUES ('Luz & agua = total, de O''Hara')"));
    const std::string idConcepto = Valor("SELECT MAX(Id_concepto) AS M FROM [Conceptos()]", "M");
    const std::string con = Recibo(3, 3, ",Id_concepto", "," + idConcepto);
    const std::string sin = Recibo(3, 3, "", "");
    ASSERT_TRUE(copias::Ejecuta("INSERT INTO [Conceptos()] (Concepto) VALUES ('Retenido')"));
    const std::string retenido =
        Recibo(3, 3, ",Id_concepto,Block", "," + Valor("SELECT MAX(Id_concepto) AS M FROM [Conceptos()]", "M") + ",1");
    Modificacion m;
    m.Tipo = TipoMasiva::Conceptos;
    m.Segmentos[1] = "Segunda";
    int preguntas = 0;
    const ResultadoMasiva r = ModificaDocumentos({con, sin, retenido}, m, Responde(true, &preguntas));
    ASSERT_TRUE(r.Escrita()) << r.Error;
    EXPECT_EQ(r.Cambiados, 2);
    EXPECT_EQ(r.Retenidos, 1);
    const std::string segunda = "Segunda" + std::string(33, ' ');
    // The first 40 characters kept with their "&", "=" and "'"; the second part replaced.
    const std::string primero = "Luz & agua = total, de O'Hara";
    EXPECT_EQ(Concepto(con), primero + std::string(40 - primero.size(), ' ') + segunda + std::string(560, ' '));
    EXPECT_EQ(Concepto(sin), std::string(40, ' ') + segunda + std::string(560, ' '));
    EXPECT_EQ(Concepto(retenido), ConceptoCompleto("Retenido"));
}

TEST_F(Masivas, FechaFallidaDevuelveTodo)
{
    const std::string a = Recibo(3, 3, ",Cod_devolucion", ",'1'");
    const std::string b = Recibo(3, 3, "", "");
    ResultadoMasiva r = ModificaDocumentos({a, b}, Fija(TipoMasiva::FechaVencimiento, "2030/06/30"), {});
    ASSERT_TRUE(r.Escrita()) << r.Error;
    EXPECT_EQ(r.Valores, (std::vector<std::string>{"2030/06/30", "2030/06/30"}));
    EXPECT_EQ(Campo(b, "F_vencimiento"), "30 06 30");
    // An impossible date fails in the database: nothing of the run stays.
    ASSERT_TRUE(ModificaDocumentos({a}, Fija(TipoMasiva::CodDevolucion, "2"), {}).Escrita());
    r = ModificaDocumentos({a, b}, Fija(TipoMasiva::FechaVencimiento, "2030/02/31"), {});
    EXPECT_FALSE(r.Error.empty());
    EXPECT_EQ(r.Cambiados, 0);
    EXPECT_EQ(Campo(a, "F_vencimiento"), "30 06 30");
}

TEST_F(Masivas, DetenidaDevuelveTodo)
{
    std::vector<std::string> ids;
    for (int i = 0; i < 300; ++i)
        ids.push_back(Recibo(1, 1, ",Importe", ",10"));
    const ResultadoMasiva r = ModificaDocumentos(ids, Importe("+10%"), {}, [](size_t hechos, size_t) {
        return hechos < 256;
    });
    EXPECT_TRUE(r.Detenida);
    EXPECT_EQ(Campo(ids.front(), "Importe"), "10");
    EXPECT_EQ(Valor("SELECT Importe_total FROM [Remesas()] WHERE Id_remesa=1", "Importe_total"), "0");
}

TEST_F(Masivas, IdsDesconocidosYRepetidos)
{
    const std::string a = Recibo(1, 1, ",Importe", ",200");
    const ResultadoMasiva r = ModificaDocumentos({"999999", a, a}, Importe("+100"), {});
    ASSERT_TRUE(r.Escrita()) << r.Error;
    EXPECT_EQ(r.Cambiados, 1);
    EXPECT_EQ(Campo(a, "Importe"), "300"); // raised once
}

} // namespace
