// Storage of concept templates.
#include "Cfgfile.h"

#include "General.h"
#include "plantillas.h"
#include "vars.h"
#include "vasqdb.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr const char *kSelectNombre =
    "SELECT [Plantillas( Datos )].Nombre FROM [Plantillas( Datos )] WHERE [Plantillas( Datos )].Id_plantilla = %d";

// The stored text of an item: its text form with 0xB7 after every entry.
std::string TextoElemento(const B_AStr_t *item)
{
    std::string texto(item->uUsed + 2, '\0');
    if (!VarStr(item, texto.data(), texto.size()))
        return {};
    UneValores(texto.data());
    texto.resize(std::strlen(texto.c_str()));
    return texto;
}

// Runs the statements of a save; false at the first that fails or changes no row where one
// must change.
bool EscribePlantilla(Plantilla &plantilla, int &id)
{
    const std::string nombre = LimpiaTextoSQL(plantilla.acNombre);
    if (id < 0) {
        if (EjecutaSQLf("INSERT INTO [Plantillas( Datos )] (Nombre,Block) VALUES ( '%s',0 )", nombre.c_str()) < 1)
            return false;
        id = int(VASQ_GetLastInsertID());
    } else if (EjecutaSQLf("UPDATE [Plantillas( Datos )] SET [Plantillas( Datos )].Nombre = '%s' "
                           "WHERE [Plantillas( Datos )].Id_plantilla = %d AND Block=0",
                           nombre.c_str(), id) < 1) {
        return false;
    }
    if (EjecutaSQLf("DELETE FROM [Plantillas( Elementos )] WHERE [Plantillas( Elementos )].Id_plantilla = %d "
                    "AND Block=0",
                    id) < 0)
        return false;
    for (size_t i = 0; i < plantilla.stkItems.used; ++i) {
        const B_AStr_t *item = static_cast<B_AStr_t *const *>(plantilla.stkItems.data)[i];
        const std::string datos = LimpiaTextoSQL(TextoElemento(item));
        if (EjecutaSQLf("INSERT INTO [Plantillas( Elementos )] (Id_plantilla, Datos,Block) VALUES ( %d, '%s',0 );",
                        id, datos.c_str()) < 1)
            return false;
    }
    return true;
}

} // namespace

std::vector<int> CargaIdsPlantillas()
{
    std::vector<int> ids;
    B_AStr_t *valores =
        ConsultaCampos(true, {"Id_plantilla"}, "SELECT [Plantillas( Datos )].Id_plantilla FROM [Plantillas( Datos )]");
    for (long i = 0; valores && i < valores->nStrs; ++i)
        ids.push_back(int(std::strtol(B_AStrGet(valores, i), nullptr, 10)));
    return ids;
}

std::optional<std::string> GetNombrePlantilla(int id)
{
    B_AStr_t *valores = ConsultaCampos(true, {"Nombre"}, kSelectNombre, id);
    if (!valores || valores->nStrs < 1)
        return std::nullopt;
    std::string nombre = B_AStrGet(valores, 0);
    VASQ_Unescape(nombre.data());
    nombre.resize(std::strlen(nombre.c_str()));
    return nombre == "NULL" ? std::string() : nombre;
}

int CargaPlantilla(Plantilla &plantilla, int id)
{
    const std::optional<std::string> nombre = GetNombrePlantilla(id);
    if (!nombre)
        return -1;
    plantilla.Flush();
    plantilla.nId = id;
    std::strncpy(plantilla.acNombre, nombre->c_str(), PL_NOMBRE_LEN);
    plantilla.acNombre[PL_NOMBRE_LEN] = '\0';
    B_AStr_t *valores = ConsultaCampos(true, {"Datos"},
                                       "SELECT [Plantillas( Elementos )].Datos FROM [Plantillas( Elementos )] "
                                       "WHERE [Plantillas( Elementos )].Id_plantilla = %d "
                                       "ORDER BY [Plantillas( Elementos )].rowid",
                                       id);
    for (long i = 0; valores && i < valores->nStrs; ++i) {
        std::string datos = B_AStrGet(valores, i);
        datos.push_back('\0');
        VASQ_Unescape(datos.data());
        SeparaValores(datos.data());
        B_AStr_t *item = VarCons(nullptr, datos.c_str());
        if (plantilla.ItemAdd(item) != 0) {
            B_AStrDest(item);
        }
    }
    return 0;
}

int GuardaPlantilla(Plantilla &plantilla)
{
    if (VASQ_BeginTrans() != 0)
        return -1;
    int id = plantilla.nId;
    if (!EscribePlantilla(plantilla, id)) {
        VASQ_Rollback();
        return -1;
    }
    if (VASQ_CommitTrans() != 0)
        return -1;
    plantilla.nId = id;
    return id;
}

int BorraPlantilla(int id)
{
    if (VASQ_BeginTrans() != 0)
        return -1;
    int resultado = EjecutaSQLf(
        "DELETE FROM [Plantillas( Elementos )] WHERE [Plantillas( Elementos )].Id_plantilla = %d AND Block=0", id);
    if (resultado >= 0)
        resultado = EjecutaSQLf(
            "DELETE FROM [Plantillas( Datos )] WHERE [Plantillas( Datos )].Id_plantilla = %d AND Block=0", id);
    if (resultado < 1)
        VASQ_Rollback();
    else if (VASQ_CommitTrans() != 0)
        resultado = -1;
    return resultado;
}
