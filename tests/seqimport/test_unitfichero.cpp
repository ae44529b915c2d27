// The files of the sequential import: splitting and reading of values, the shipped
// catalogue, templates written and read back, their ".bak" and their options file.
#include "Unitfichero.h"

#include "General.h"
#include "Lineas.h"
#include "cobros.h"
#include "entorno.h"
#include "testutil.h"

#include <gtest/gtest.h>

namespace {

const std::string kCatalogo = std::string(PROGRAM_DIR) + "tablas.dat";

struct CasoSeparar {
    const char *linea;
    int partes;
    std::vector<std::string> trozos;
    const char *porque;
};

TEST(SepararValores, CutsAtTheFirstEqualsAndAtCommas)
{
    const CasoSeparar casos[] = {
        {"Cif=10,TEXTO,SI,CIF de la empresa", 4, {"Cif", "10", "TEXTO", "SI", "CIFdelaempresa"}, "blanks go"},
        {"A=1,2,3,4,5", 2, {"A", "1", "2,3,4,5"}, "the last part takes the rest"},
        {"A=1", 3, {"A", "1", "A", "A"}, "missing parts read as the key"},
        {"Clave = x=y", 1, {"Clave", "x=y"}, "only the first equals sign cuts"},
        {"sin igual", 1, {"sinigual", "sinigual"}, "no equals sign"},
    };
    for (const CasoSeparar &c : casos)
        EXPECT_EQ(SepararValores(c.linea, c.partes), c.trozos) << c.porque;
}

TEST(LeerValor, ReadsCatalogueAndTemplateLines)
{
    ColumnaCatalogo col;
    LeerValor("Cif=10,TEXTO,si,CIF", col);
    EXPECT_EQ(col.Nombre, "Cif");
    EXPECT_EQ(col.Tamano, 10);
    EXPECT_EQ(col.Tipo, "TEXTO");
    EXPECT_TRUE(col.Requerido) << "SI in any letter case";
    EXPECT_EQ(col.Descripcion, "CIF");
    LeerValor("Cuenta=20,TEXTO,19", col);
    EXPECT_FALSE(col.Requerido) << "the editor reads only SI as required";
    EXPECT_EQ(col.Descripcion, "Cuenta") << "a missing description reads as the name";

    CampoPlantilla campo;
    LeerValor("Importe=20,10,NUMERICO_(2_DECIMALES),[Documentos()].Importe,001200031", campo);
    EXPECT_EQ(campo.Nombre, "Importe");
    EXPECT_EQ(campo.Desde, 20);
    EXPECT_EQ(campo.Tamano, 10);
    EXPECT_EQ(campo.Tipo, "NUMERICO_(2_DECIMALES)");
    EXPECT_EQ(campo.LineaMuestra, 12);
    EXPECT_EQ(campo.Marca, 0);
    EXPECT_EQ(campo.Enlace, 31);
}

TEST(Catalogo, ShippedCatalogueListsEveryImportableTable)
{
    const Catalogo c = CargarCamposPrograma(kCatalogo);
    ASSERT_EQ(c.Tablas.size(), 5u);
    EXPECT_EQ(c.Tablas[0].NombreVisible(), "Empresas");
    EXPECT_EQ(c.Tablas[4].NombreVisible(), "Documentos");
    EXPECT_EQ(c.Enlace(1), "NULL") << "a table node";
    EXPECT_EQ(c.Enlace(2), "[_Empresas( Datos )].Cif");
    EXPECT_EQ(c.Enlace(c.NodoVencimiento), "[Documentos()].F_vencimiento");
    EXPECT_EQ(c.Enlace(c.NodoNIE), "[_Emisores( Datos )].Codigo_NIE");
    EXPECT_EQ(c.Tablas[4].Columnas.back().Nombre, "Concepto16");
    EXPECT_EQ(c.Enlace(10000), "NULL");
}

TEST(Catalogo, EveryColumnExistsInTheSchema)
{
    cobros::Base base;
    ASSERT_TRUE(base.Abierta());
    for (const TablaCatalogo &t : CargarCamposPrograma(kCatalogo).Tablas)
        for (const ColumnaCatalogo &c : t.Columnas) {
            if (t.Seccion == "Documentos()" && c.Nombre.rfind("Concepto", 0) == 0)
                continue; // the concept parts, joined into [Conceptos()]
            std::string fila;
            EXPECT_EQ(DBGetData("SELECT [" + t.Seccion + "]." + c.Nombre + " FROM [" + t.Seccion + "] WHERE 0=1;",
                                [](char *, char *, int) {}),
                      "")
                << t.Seccion << "." << c.Nombre;
        }
}

class Plantillas : public ::testing::Test {
protected:
    entorno::Programa programa;
    std::string ruta = programa.dir().file("cobros.sec");
    Catalogo catalogo = CargarCamposPrograma(kCatalogo);

    int Nodo(const std::string &enlace) const
    {
        for (int n = 1; n < 200; ++n)
            if (catalogo.Enlace(n) == enlace)
                return n;
        return 0;
    }
    TipoRegistro Tipo(const std::string &nombre, const std::string &descriptor, int muestra,
                      std::vector<std::pair<std::string, std::string>> campos)
    {
        TipoRegistro t{nombre, descriptor, 1, int(descriptor.size()), "NULL", muestra, {}};
        int desde = int(descriptor.size()) + 1;
        for (const auto &[campo, enlace] : campos) {
            t.Campos.push_back({campo, desde, 10, "ALFANUMERICO", muestra, 0, Nodo(enlace)});
            desde += 10;
        }
        return t;
    }
    PlantillaImportacion Ejemplo()
    {
        return {Tipo("Recibo", "R", 5, {{"Importe", "[Documentos()].Importe"}, {"Libre", ""}}),
                Tipo("Emisor", "E", 2, {{"Nif", "[_Emisores( Datos )].Id_nif"}}),
                Tipo("Vacio", "V", 1, {}),
                Tipo("Librado", "L", 9, {{"Codigo", "[Librados( Datos )].Codigo_referencia"}})};
    }
};

TEST_F(Plantillas, WritesKindsBySampleLineWithCodesAndReadsThemBack)
{
    ASSERT_TRUE(EscribirPlantilla(ruta, catalogo, Ejemplo(), {}));
    auto codigo = [this](int muestra, const std::string &enlace) {
        char c[16];
        std::snprintf(c, sizeof c, "%04d0%04d", muestra, Nodo(enlace));
        return std::string(c);
    };
    EXPECT_EQ(testutil::readFile(ruta),
              "[LINEAS]\r\nEmisor=E,1,1,NULL\r\nRecibo=R,1,1,NULL\r\nLibrado=L,1,1,NULL\r\n\r\n"
              "[Emisor]\r\nNif=2,10,ALFANUMERICO,[_Emisores( Datos )].Id_nif," +
                  codigo(2, "[_Emisores( Datos )].Id_nif") +
                  "\r\n\r\n[Recibo]\r\nImporte=2,10,ALFANUMERICO,[Documentos()].Importe," +
                  codigo(5, "[Documentos()].Importe") +
                  "\r\nLibre=12,10,ALFANUMERICO,NULL,000500000\r\n\r\n"
                  "[Librado]\r\nCodigo=2,10,ALFANUMERICO,[Librados( Datos )].Codigo_referencia," +
                  codigo(9, "[Librados( Datos )].Codigo_referencia") + "\r\n\r\n")
        << "sorted 2, 5, 9; the kind without fields is left out";

    PlantillaImportacion leida;
    OpcionesImportacion opciones;
    ASSERT_TRUE(LeerPlantilla(ruta, catalogo, leida, opciones));
    PlantillaImportacion esperada = Ejemplo();
    esperada.erase(esperada.begin() + 2);
    std::swap(esperada[0], esperada[1]);
    ASSERT_EQ(leida.size(), esperada.size());
    for (size_t i = 0; i < leida.size(); ++i) {
        EXPECT_EQ(leida[i].Nombre, esperada[i].Nombre);
        EXPECT_EQ(leida[i].Descriptor, esperada[i].Descriptor);
        EXPECT_EQ(leida[i].LineaMuestra, esperada[i].LineaMuestra);
        ASSERT_EQ(leida[i].Campos.size(), esperada[i].Campos.size());
        for (size_t j = 0; j < leida[i].Campos.size(); ++j) {
            EXPECT_EQ(leida[i].Campos[j].Nombre, esperada[i].Campos[j].Nombre);
            EXPECT_EQ(leida[i].Campos[j].Desde, esperada[i].Campos[j].Desde);
            EXPECT_EQ(leida[i].Campos[j].Enlace, esperada[i].Campos[j].Enlace);
        }
    }

    LineDefList layout;
    ASSERT_EQ(LoadLineLayout(ruta, layout), 0) << "the run reads the same file";
    ASSERT_EQ(layout.size(), 3u);
    EXPECT_EQ(layout[1].name, "Recibo");
    ASSERT_EQ(layout[1].fields.size(), 2u);
    EXPECT_EQ(layout[1].fields[0].user_data, "[Documentos()].Importe");
    EXPECT_EQ(layout[1].fields[1].user_data, "NULL");
}

TEST_F(Plantillas, KeepsThePreviousTemplateAsBak)
{
    const std::string bak = CambiaExtension(ruta, ".bak");
    PlantillaImportacion primera = Ejemplo();
    ASSERT_TRUE(EscribirPlantilla(ruta, catalogo, primera, {}));
    EXPECT_FALSE(testutil::fileExists(bak));
    const std::string escrita1 = testutil::readFile(ruta);

    PlantillaImportacion segunda = {Tipo("Otro", "O", 1, {{"Cif", "[_Empresas( Datos )].Cif"}})};
    ASSERT_TRUE(EscribirPlantilla(ruta, catalogo, segunda, {}));
    EXPECT_EQ(testutil::readFile(bak), escrita1);
    const std::string escrita2 = testutil::readFile(ruta);
    EXPECT_EQ(escrita2.find("Recibo"), std::string::npos) << "only what the editor has now";

    ASSERT_TRUE(EscribirPlantilla(ruta, catalogo, primera, {}));
    EXPECT_EQ(testutil::readFile(bak), escrita2) << "the second save replaces the .bak";

    EXPECT_FALSE(EscribirPlantilla(ruta, catalogo, {Tipo("Vacio", "V", 1, {})}, {}));
    EXPECT_FALSE(EscribirPlantilla(ruta, catalogo, {}, {}));
    EXPECT_EQ(testutil::readFile(ruta), escrita1) << "nothing to write leaves the template";
    EXPECT_EQ(testutil::readFile(bak), escrita2);
    const std::string log = programa.Log();
    EXPECT_NE(log.find("Cero tablas al escribir el fichero de plantilla"), std::string::npos);
    EXPECT_NE(log.find("El fichero de plantilla no se ha creado"), std::string::npos);
}

TEST_F(Plantillas, SameNamesCollapseInPlace)
{
    PlantillaImportacion p = {Tipo("A", "A", 1, {{"X", ""}, {"Y", ""}}), Tipo("B", "B", 2, {{"Z", ""}}),
                              Tipo("a", "C", 3, {{"W", ""}})};
    p[0].Campos[1].Nombre = "x";
    ASSERT_TRUE(EscribirPlantilla(ruta, catalogo, p, {}));
    EXPECT_EQ(testutil::readFile(ruta), "[LINEAS]\r\nA=C,1,1,NULL\r\nB=B,1,1,NULL\r\n\r\n"
                                        "[A]\r\nX=12,10,ALFANUMERICO,NULL,000100000\r\n"
                                        "W=2,10,ALFANUMERICO,NULL,000300000\r\n\r\n"
                                        "[B]\r\nZ=2,10,ALFANUMERICO,NULL,000200000\r\n\r\n");
}

TEST_F(Plantillas, OptionsAreWrittenInPlaceAndReadWithDefaults)
{
    const std::string opc = RutaOpciones(ruta);
    EXPECT_EQ(opc, programa.dir().file("cobros.opc"));
    EXPECT_EQ(RutaOpciones("/d.x/plantilla"), "/d.x/plantilla.opc");

    const OpcionesImportacion d = LeeOpciones(opc);
    EXPECT_EQ(d.Separador_decimal, ",");
    EXPECT_EQ(d.Moneda, "Peseta");
    EXPECT_EQ(d.Emision_factura, "Si");
    EXPECT_EQ(d.Tipos_orden, "CSB19");

    ASSERT_TRUE(EscribirPlantilla(ruta, catalogo, Ejemplo(), {}));
    EXPECT_EQ(testutil::readFile(opc),
              "[Opciones]\nSeparador_decimal=,\nMoneda=Peseta\nEmision_factura=Si\nTipos_orden=CSB19\n");

    testutil::writeFile(opc, "; mio\r\n[Opciones]\r\nMoneda=Peseta\r\nOtra=1\r\n[Mas]\r\nX=2\r\n");
    ASSERT_TRUE(EscribirPlantilla(ruta, catalogo, Ejemplo(), {".", "Euros", "No", "CSB58"}));
    EXPECT_EQ(testutil::readFile(opc), "; mio\r\n[Opciones]\r\nMoneda=Euros\r\nOtra=1\r\nSeparador_decimal=.\r\n"
                                       "Emision_factura=No\r\nTipos_orden=CSB58\r\n[Mas]\r\nX=2\r\n");

    testutil::writeFile(opc, "[Opciones]\nMoneda=Pesetas largas\nEmision_factura=Sino\nTipos_orden=CSB580\n");
    PlantillaImportacion p;
    OpcionesImportacion o;
    ASSERT_TRUE(LeerPlantilla(ruta, catalogo, p, o));
    EXPECT_EQ(o.Separador_decimal, ",") << "missing: the default";
    EXPECT_EQ(o.Moneda, "Pesetas") << "cut to 7 characters";
    EXPECT_EQ(o.Emision_factura, "Si");
    EXPECT_EQ(o.Tipos_orden, "CSB58");
}

TEST_F(Plantillas, EditorRefusesUnpairedSectionsAndDropsLinksToTables)
{
    testutil::writeFile(ruta, "[LINEAS]\nA=X,1,1,NULL\n[A]\nC=2,3,ALFA,[x].y,000100001\nD=5,1,ALFA,NULL,000100002\n");
    PlantillaImportacion p;
    OpcionesImportacion o;
    ASSERT_TRUE(LeerPlantilla(ruta, catalogo, p, o));
    ASSERT_EQ(p.size(), 1u);
    EXPECT_EQ(p[0].LineaMuestra, 1);
    EXPECT_EQ(p[0].Campos[0].Enlace, 0) << "node 1 is a table";
    EXPECT_EQ(p[0].Campos[1].Enlace, 2) << "rebuilt from the index alone";

    testutil::writeFile(ruta, "[LINEAS]\nA=X,1,1,NULL\n[A]\nC=2,3,ALFA,NULL,000100000\n[B]\nD=1,1,ALFA,NULL,0\n");
    EXPECT_FALSE(LeerPlantilla(ruta, catalogo, p, o));
    EXPECT_TRUE(p.empty());
    testutil::writeFile(ruta, "[LINEAS]\nA=X,uno,1,NULL\n[A]\nC=2,3,ALFA,NULL,000100000\n");
    EXPECT_FALSE(LeerPlantilla(ruta, catalogo, p, o)) << "from is not a whole number";
}

// The refusal of a name that could not be saved back, as the editor shows it.
std::string NoSeGuarda(const std::string &nombre, const std::string &porque)
{
    return "El nombre \"" + nombre + "\" no se puede guardar en la plantilla. " + porque;
}

const std::string kCaracteres = "Los nombres no pueden llevar los caracteres = , [ ] ni el valor una coma.";
const std::string kLargo =
    "El campo o tipo de l\xEDnea R.Nombre mide m\xE1s de 4095 caracteres, lo m\xE1s que cabe en una l\xEDnea.";

TEST_F(Plantillas, EditorRefusesNamesItCouldNotSaveBackAndFieldsLongerThanALine)
{
    const char *kLinea = "=2,5,ALFANUMERICO,NULL,000100000\r\n";
    const struct {
        std::string fichero, contenido, motivo;
    } casos[] = {
        {"F3_tipo_almohadilla.sec", "", NoSeGuarda("#Cabecera", "Los nombres no pueden empezar por # ni por ;.")},
        {"F1_tamano_999999.sec", "", kLargo},
        {"F1_tamano_2e9.sec", "", kLargo},
        {"F5_tipo_LINEAS.sec", "", NoSeGuarda("LINEAS", "Una tabla no puede llamarse LINEAS.")},
        {"F5_tipo_coma.sec", "", NoSeGuarda("X,Y", kCaracteres)},
        {"F5_tipo_igual.sec", "", NoSeGuarda("X=Y", kCaracteres)},
        {"F5_campo_corchete.sec", "", NoSeGuarda("A.[Campo", kCaracteres)},
        {"F5_campo_coma.sec", "", NoSeGuarda("A.Nom,bre", kCaracteres)},
        {"", "[LINEAS]\r\nA=R,1,1,NULL\r\nB=S,1,1,NULL\r\n[A]\r\nX" + std::string(kLinea) + "[lineas]\r\nY" + kLinea,
         NoSeGuarda("lineas", "Una tabla no puede llamarse LINEAS.")},
        {"", "[LINEAS]\r\nA=R,1,1,NULL\r\na=S,1,1,NULL\r\n[A]\r\nX" + std::string(kLinea) + "[a]\r\nY" + kLinea,
         NoSeGuarda("a", "Ya existe una tabla con ese nombre.")},
        {"", "[LINEAS]\r\nA=R,1,1,NULL\r\n[A]\r\nRazon social" + std::string(kLinea) + "RazonSocial" + kLinea,
         NoSeGuarda("A.RazonSocial", "Ya existe un campo con ese nombre en esta tabla.")},
        {"", "[LINEAS]\r\nA=R,1,1,NULL\r\n[A]\r\nX\tY" + std::string(kLinea),
         NoSeGuarda("A.X\tY", "Los nombres no pueden llevar tabuladores, saltos de l\xEDnea ni otros caracteres de "
                              "control.")},
    };
    for (const auto &c : casos) {
        const std::string porque = c.fichero.empty() ? c.contenido : c.fichero;
        testutil::writeFile(ruta, c.fichero.empty() ? c.contenido : testutil::readFile(DATOS_SECUENCIAL + c.fichero));
        PlantillaImportacion p;
        OpcionesImportacion o;
        std::string motivo;
        EXPECT_FALSE(LeerPlantilla(ruta, catalogo, p, o, &motivo)) << porque;
        EXPECT_TRUE(p.empty()) << porque;
        EXPECT_EQ(motivo, c.motivo) << porque;
    }
}

// Every byte at the start, inside and at the end of a kind's and of a field's name: each name,
// as the file gives it back, is refused or read back with the whole template equal.
TEST_F(Plantillas, AValueWithBlanksReadsBackAsTheImportRunReadsIt)
{
    const PlantillaImportacion p = {Tipo("A", "R ", 1, {{"F", ""}}), Tipo("B", "1 2", 2, {{"F", ""}}),
                                    Tipo("C", "X  ", 3, {{"F", ""}})};
    ASSERT_TRUE(EscribirPlantilla(ruta, catalogo, p, {}));
    PlantillaImportacion leida;
    OpcionesImportacion o;
    ASSERT_TRUE(LeerPlantilla(ruta, catalogo, leida, o));
    EXPECT_TRUE(leida == p);
    LineDefList layout;
    ASSERT_EQ(LoadLineLayout(ruta, layout), 0);
    ASSERT_EQ(layout.size(), p.size());
    for (size_t t = 0; t < p.size(); ++t)
        EXPECT_EQ(layout[t].id, leida[t].Descriptor) << "the run and the editor read the same value";
}

TEST_F(Plantillas, EveryNameThatIsNotRefusedReadsBackEqual)
{
    PlantillaImportacion p = {Tipo("K", "K", 1, {})};
    for (int b = 0; b < 256; ++b)
        for (const std::string &escrito : {std::string(1, char(b)) + "A", "A" + std::string(1, char(b)) + "B",
                                           "A" + std::string(1, char(b))}) {
            const std::string tipo = NombrePlantilla(escrito, false), campo = NombrePlantilla(escrito, true);
            if (!NombreRechazado(campo, p, &p[0]))
                p[0].Campos.push_back(Tipo("K", "K", 1, {{campo, ""}}).Campos[0]);
            if (!NombreRechazado(tipo, p, nullptr))
                p.push_back(Tipo(tipo, "D", int(p.size()) + 1, {{"F", ""}}));
        }
    ASSERT_GT(p.size(), 400u);
    ASSERT_GT(p[0].Campos.size(), 400u);
    ASSERT_TRUE(EscribirPlantilla(ruta, catalogo, p, {}));
    PlantillaImportacion leida;
    OpcionesImportacion o;
    ASSERT_TRUE(LeerPlantilla(ruta, catalogo, leida, o));
    ASSERT_EQ(leida.size(), p.size());
    for (size_t t = 0; t < p.size(); ++t) {
        ASSERT_EQ(leida[t].Campos.size(), p[t].Campos.size()) << p[t].Nombre;
        EXPECT_EQ(leida[t].Nombre, p[t].Nombre);
        for (size_t c = 0; c < p[t].Campos.size(); ++c)
            EXPECT_EQ(leida[t].Campos[c].Nombre, p[t].Campos[c].Nombre);
    }
    EXPECT_TRUE(leida == p);
}

} // namespace
