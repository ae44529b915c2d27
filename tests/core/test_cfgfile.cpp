// Template storage and the find-or-insert helpers on the shipped database.
#include "Cfgfile.h"

#include "bdusuarios.h"
#include "elementos.h"
#include "vars.h"

#include <gtest/gtest.h>

namespace {

class Plantillas : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bd.Abierta()); }

    static B_AStr_t *Elemento(Plantilla &p, const char *tipo, const char *x, const char *texto)
    {
        B_AStr_t *item = p.ItemNew(tipo);
        VarSet(item, "X", x);
        VarSet(item, "Y", "1");
        if (texto)
            VarSet(item, "Texto", texto);
        EXPECT_EQ(p.ItemAdd(item), 0);
        return item;
    }

    // The text forms of the template's items, in order.
    static std::vector<std::string> Textos(const Plantilla &p)
    {
        std::vector<std::string> textos;
        for (size_t i = 0; i < p.stkItems.used; ++i) {
            const B_AStr_t *item = static_cast<B_AStr_t *const *>(p.stkItems.data)[i];
            std::string t(item->uUsed + 1, '\0');
            VarStr(item, t.data(), t.size());
            textos.push_back(t);
        }
        return textos;
    }

    std::vector<std::string> Datos(int id)
    {
        std::vector<std::string> datos;
        for (const std::string &fila : bd.Filas("SELECT Datos FROM [Plantillas( Elementos )] WHERE Id_plantilla=" +
                                                std::to_string(id) + " ORDER BY rowid"))
            datos.push_back(basedatos::field(fila, "Datos"));
        return datos;
    }

    bdusuarios::BaseUsuarios bd;
    elementos::Tipos tipos;
};

TEST_F(Plantillas, SaveTwiceAndLoadBack)
{
    Plantilla p;
    std::strcpy(p.acNombre, "Cuota de O'Neill");
    Elemento(p, "Etiqueta", "0", "a&b=c");
    Elemento(p, "Importe", "40", nullptr);
    Elemento(p, "Etiqueta", "10", "tercera");
    const int id = GuardaPlantilla(p);
    ASSERT_GT(id, 0);
    EXPECT_EQ(p.nId, id);
    EXPECT_EQ(GetNombrePlantilla(id), "Cuota de O'Neill") << "the name goes in as typed";
    const std::vector<std::string> datos = Datos(id);
    ASSERT_EQ(datos.size(), 3u);
    for (const std::string &d : datos) {
        EXPECT_EQ(d.back(), '\xB7') << "every entry, the last one too, ends in 0xB7";
        EXPECT_EQ(d.find('\0'), std::string::npos);
    }

    Plantilla leida;
    ASSERT_EQ(CargaPlantilla(leida, id), 0);
    EXPECT_EQ(leida.nId, id);
    EXPECT_STREQ(leida.acNombre, "Cuota de O'Neill");
    EXPECT_EQ(Textos(leida), Textos(p)) << "\"&\" and \"=\" kept, items in order";

    std::strcpy(leida.acNombre, "Otra");
    B_AStr_t *primero = static_cast<B_AStr_t **>(leida.stkItems.data)[0];
    VarSet(primero, "Texto", "cambiado");
    EXPECT_EQ(GuardaPlantilla(leida), id);
    EXPECT_EQ(bd.Cuenta("[Plantillas( Datos )]"), 1) << "a second save updates";
    EXPECT_EQ(GetNombrePlantilla(id), "Otra");
    Plantilla otra;
    ASSERT_EQ(CargaPlantilla(otra, id), 0);
    EXPECT_EQ(Textos(otra), Textos(leida)) << "the items replaced, not added";
    EXPECT_EQ(CargaIdsPlantillas(), std::vector<int>{id});
}

TEST_F(Plantillas, ALockedTemplateIsNeitherSavedNorDuplicatedNorDeleted)
{
    Plantilla p;
    std::strcpy(p.acNombre, "Bloqueada");
    Elemento(p, "Etiqueta", "0", "uno");
    const int id = GuardaPlantilla(p);
    ASSERT_GT(id, 0);
    const std::vector<std::string> antes = basedatos::dump();
    bd.Exec("UPDATE [Plantillas( Datos )] SET Block=1 WHERE Id_plantilla=" + std::to_string(id));
    bd.Exec("UPDATE [Plantillas( Elementos )] SET Block=1 WHERE Id_plantilla=" + std::to_string(id));
    const std::vector<std::string> bloqueada = basedatos::dump();

    std::strcpy(p.acNombre, "Cambiada");
    Elemento(p, "Etiqueta", "20", "dos");
    EXPECT_LT(GuardaPlantilla(p), 0);
    EXPECT_EQ(p.nId, id);
    EXPECT_EQ(basedatos::dump(), bloqueada) << "nothing written, no item added";

    EXPECT_LT(BorraPlantilla(id), 1);
    EXPECT_EQ(basedatos::dump(), bloqueada) << "the items stay with their header";
    EXPECT_NE(antes, bloqueada);

    bd.Exec("UPDATE [Plantillas( Datos )] SET Block=0");
    bd.Exec("UPDATE [Plantillas( Elementos )] SET Block=0");
    EXPECT_EQ(BorraPlantilla(id), 1);
    EXPECT_EQ(bd.Cuenta("[Plantillas( Elementos )]"), 0);
    EXPECT_EQ(bd.Cuenta("[Plantillas( Datos )]"), 0);
}

TEST_F(Plantillas, LoadingWhatIsNotThere)
{
    Plantilla p;
    std::strcpy(p.acNombre, "Intacta");
    Elemento(p, "Etiqueta", "0", "uno");
    EXPECT_EQ(CargaPlantilla(p, 999), -1);
    EXPECT_STREQ(p.acNombre, "Intacta");
    EXPECT_EQ(p.stkItems.used, 1u);
    EXPECT_EQ(GetNombrePlantilla(999), std::nullopt);

    const int vacia = bd.Inserta("INSERT INTO [Plantillas( Datos )] (Nombre,Block) VALUES ('Vacia',0)");
    bd.Exec("INSERT INTO [Plantillas( Elementos )] (Id_plantilla,Datos,Block) VALUES (" + std::to_string(vacia) +
            ",'Tipo=Desconocido\xB7X=1\xB7Y=1\xB7Identificador=D1\xB7',0)");
    EXPECT_EQ(CargaPlantilla(p, vacia), 0);
    EXPECT_STREQ(p.acNombre, "Vacia");
    EXPECT_EQ(p.stkItems.used, 0u) << "an item of a type not registered is dropped";
    EXPECT_EQ(BorraPlantilla(999), 0);
}

class Altas : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bd.Abierta()); }
    bdusuarios::BaseUsuarios bd;
};

TEST_F(Altas, FindsWhatItInserted)
{
    const int usuario = AltaUsuario("NUEVO", nullptr, "Nuevo usuario");
    ASSERT_GT(usuario, 0);
    EXPECT_EQ(BuscaUsuarioCodigo("NUEVO"), usuario);
    EXPECT_EQ(BuscaUsuarioCodigo("OTRO"), -1);
    EXPECT_EQ(AltaUsuario("NUEVO", "x", "Repetido"), 0) << "the code is unique: the INSERT fails";

    const int empresa = AltaEmpresa(usuario, "A0001", "Empresa");
    ASSERT_GT(empresa, 0);
    EXPECT_EQ(BuscaEmpresaCif(usuario, "A0001"), empresa);
    EXPECT_EQ(BuscaEmpresaCif(usuario + 1, "A0001"), -1);

    const int presentador = AltaPresentador(empresa, "B-65247983", "CSB19", "000", "Presentador");
    ASSERT_GT(presentador, 0);
    const std::string fila = bd.Filas("SELECT Id_nif, Clave_presentador FROM [_Presentadores( Datos )] "
                                      "WHERE Id_presentador=" + std::to_string(presentador))
                                 .front();
    EXPECT_EQ(basedatos::field(fila, "Id_nif"), "B65247983");
    EXPECT_EQ(basedatos::field(fila, "Clave_presentador"), "B65247983000");
    EXPECT_EQ(BuscaPresentadorNif(empresa, "B-65247983", "000", "CSB19"), presentador);
    EXPECT_EQ(BuscaPresentadorNif(empresa, "B65247983", "000", "CSB58"), -1);

    const int sinSufijo = AltaPresentador(empresa, "X1", "CSB58", "", "Sin sufijo");
    ASSERT_GT(sinSufijo, 0);
    EXPECT_EQ(BuscaPresentadorNif(empresa, "X1", "", "CSB58"), sinSufijo) << "an empty suffix is found again";

    const int emisor = AltaEmisor(presentador, "B-1", "001", "Emisor", "21000418450200051332", "", "Desc", "Alias");
    ASSERT_GT(emisor, 0);
    EXPECT_EQ(BuscaEmisorCuentas(presentador, "21000418450200051332", ""), emisor)
        << "no charge account finds the issuer stored without one";
    EXPECT_EQ(BuscaEmisorCuentas(presentador, "21000418450200051332", "20590060212084518352"), -1);
    EXPECT_EQ(bd.Valor("SELECT Id_nif FROM [_Emisores( Datos )] WHERE Id_emisor=" + std::to_string(emisor), "Id_nif"),
              "B1");
}

} // namespace
