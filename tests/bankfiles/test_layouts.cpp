// The shipped layout files CSB19.INI and CSB58.INI read the sample files as the import
// needs them.
#include "Lineas.h"

#include <gtest/gtest.h>

namespace {

LineDefList Layout(const char *nombre)
{
    LineDefList tipos;
    EXPECT_EQ(LoadLineLayout(std::string(PROGRAM_DIR) + nombre, tipos), 0) << nombre;
    return tipos;
}

LineList Lineas(const char *layout, const char *datos)
{
    LineList lineas;
    EXPECT_EQ(ParseLayoutFile(std::string(DATOS_CSB) + datos, Layout(layout), lineas), 0);
    return lineas;
}

// The data of the field whose user data holds clave.
std::string Dato(const LineDef &linea, const std::string &clave)
{
    for (const FieldDef &f : linea.fields)
        if (f.user_data.find(clave) != std::string::npos)
            return f.data.value_or("(null)");
    return "(none)";
}

TEST(Layouts, EveryRecordKindWithTheEngineKeysInItsOrder)
{
    for (const char *nombre : {"CSB19.INI", "CSB58.INI"}) {
        const LineDefList tipos = Layout(nombre);
        const char d = nombre[3] == '1' ? '8' : '7';
        std::vector<std::string> ids;
        for (const LineDef &t : tipos) {
            ids.push_back(t.id);
            EXPECT_EQ(t.pos, 2);
            EXPECT_EQ(t.length, 3);
        }
        const std::vector<std::string> esperados = {
            {'1', d, '0'}, {'3', d, '0'}, {'6', d, '0'}, {'6', d, '1'}, {'6', d, '2'}, {'6', d, '3'},
            {'6', d, '4'}, {'6', d, '5'}, {'6', d, '6'}, {'8', d, '0'}, {'9', d, '0'}};
        EXPECT_EQ(ids, esperados) << nombre;
        ASSERT_EQ(tipos.size(), 11u);
        EXPECT_NE(tipos[1].fields[0].user_data.find("Id_moneda"), std::string::npos) << nombre;
        EXPECT_NE(tipos[1].fields[1].user_data.find("Con_emision"), std::string::npos) << nombre;
        EXPECT_NE(tipos[2].fields[0].user_data.find("Codigo_referencia"), std::string::npos) << nombre;
        for (int n = 1; n <= 5; ++n) {
            ASSERT_EQ(tipos[size_t(2 + n)].fields.size(), 1u);
            EXPECT_EQ(tipos[size_t(2 + n)].fields[0].name, "Concepto" + std::to_string(n));
        }
        EXPECT_EQ(tipos[9].fields.size(), 1u) << "one field per totals record";
        EXPECT_EQ(tipos[10].fields.size(), 1u);
    }
    EXPECT_NE(Layout("CSB58.INI")[1].fields[2].user_data.find("Codigo_NIE"), std::string::npos)
        << "before the issuer fields that complete it";
}

TEST(Layouts, ReadTheSampleFilesField)
{
    const LineList c58 = Lineas("CSB58.INI", "retrofix-c58.txt");
    ASSERT_EQ(c58.size(), 36u);
    struct Caso {
        size_t linea;
        const char *clave;
        const char *dato;
    } casos58[] = {
        {1, "Id_nif", "B65247983"},
        {1, "Sufijo", "000"},
        {1, "Cuenta_cargo", "00751454"},
        {2, "Id_moneda", "5"},
        {2, "Con_emision", "06"},
        {2, "Cuenta_abono", "00751454450500007790"},
        {2, "Codigo_NIE", "         "},
        {3, "Codigo_referencia", "000000036648"},
        {3, "[Librados( Datos )].Razon_social", "CUSTOMER NAME                           "},
        {3, "Cuenta", "01822376180101507859"},
        {3, "Importe", "0000003045"},
        {3, "Ref_interna", "          "},
        {3, "Primer_concepto", "015957 2012000699                       "},
        {3, "F_vencimiento", "050612"},
        {4, "Localidad", "City                               "},
        {4, "CP", "08208"},
        {4, "Plaza_ordenante", "Barcelona                             "},
        {4, "Provincia_ordenante", "08"},
        {4, "F_formalizacion", "240212"},
        {35, "Importe_total", "0001471382"},
    };
    for (const Caso &c : casos58)
        EXPECT_EQ(Dato(c58[c.linea - 1], c.clave), c.dato) << "CSB58 line " << c.linea << " " << c.clave;

    const LineList c19 = Lineas("CSB19.INI", "retrofix-c19.txt");
    ASSERT_EQ(c19.size(), 5u);
    EXPECT_EQ(Dato(c19[0], "Cuenta_cargo"), "20590060");
    EXPECT_EQ(Dato(c19[1], "Con_emision"), "01");
    EXPECT_EQ(Dato(c19[1], "Cuenta_abono"), "20590060212084518352");
    EXPECT_EQ(Dato(c19[2], "Codigo_referencia"), "000000001234");
    EXPECT_EQ(Dato(c19[3], "Importe_total"), "0000214040");
}

} // namespace
