// The writers of batches and of marked bills.
#include "Remesas.h"

#include "General.h"
#include "Modmas.h"
#include "Multiidioma.h"
#include "Registros.h"
#include "Totalesremesa.h"
#include "vasqdb.h"

#include <unordered_set>

namespace {

// Bills between two calls of the progress.
constexpr size_t kPasoProgreso = 256;

std::string SiNo(bool valor)
{
    return valor ? "TRUE" : "FALSE";
}

// A key or "NULL" for SQL: only its number reaches the statement.
std::string ClaveONull(const std::string &clave)
{
    return clave == "NULL" || clave.empty() ? std::string("NULL") : std::to_string(Numero(clave));
}

// Every bill's Contravalor from its Importe read in the currency moneda.
std::string RecalculaContravalores(int idRemesa, const std::string &moneda)
{
    std::vector<std::pair<int, std::string>> recibos;
    std::string error = DBGetData(
        FormateaTexto("SELECT Id_documento,Importe FROM [Documentos()] WHERE Id_remesa=%d;", idRemesa),
        [&recibos](char *fila, char *, int) {
            recibos.emplace_back(Numero(GetCampo("Id_documento", fila)), GetCampo("Importe", fila));
        });
    SentenciaSQL cambio("UPDATE OR FAIL [Documentos()] SET Contravalor=? WHERE Id_documento=?;");
    for (size_t i = 0; error.empty() && i < recibos.size(); ++i) {
        int filas = 0;
        error = cambio.Texto(GetContravalorSinFormato(recibos[i].second, moneda)).Entero(recibos[i].first).Ejecuta(filas);
    }
    return error;
}

void Avanza(const ProgresoRecibos &progreso, size_t hechos, size_t total)
{
    if (progreso && (hechos % kPasoProgreso == 0 || hechos == total))
        progreso(hechos, total);
}

// The erroneous bills of the batch.
std::unordered_set<std::string> Erroneos(int idRemesa, std::string &error)
{
    std::unordered_set<std::string> ids;
    error = DBGetData(
        FormateaTexto("SELECT Id_documento FROM [Documentos()] WHERE Id_remesa=%d AND Situacion<>0;", idRemesa),
        [&ids](char *fila, char *, int) { ids.insert(GetCampo("Id_documento", fila)); });
    return ids;
}

// Runs the guarded change of each bill in one transaction: ejecuta gives the error and the
// rows changed.
ResultadoRecibos PorRecibo(const char *etiqueta, const std::vector<std::string> &ids,
                           const std::function<std::string(int, int &)> &ejecuta,
                           const std::function<bool(const std::string &)> &salta, const ProgresoRecibos &progreso)
{
    ResultadoRecibos r;
    Transaccion transaccion(("Remesas::" + std::string(etiqueta)).c_str());
    if (!transaccion.Abierta()) {
        r.Error = "[ Remesas::" + std::string(etiqueta) + " ] sin transacci\xF3n";
        return r;
    }
    for (size_t i = 0; i < ids.size(); ++i) {
        if (!salta(ids[i])) {
            int filas = 0;
            r.Error = ejecuta(Numero(ids[i]), filas);
            if (!r.Error.empty())
                return {0, 0, r.Error};
            (filas > 0 ? r.Cambiados : r.Retenidos) += 1;
        }
        Avanza(progreso, i + 1, ids.size());
    }
    if (!transaccion.Confirma())
        return {0, 0, "[ Remesas::" + std::string(etiqueta) + " ] no se pudo confirmar"};
    return r;
}

} // namespace

BajaDocumentos::BajaDocumentos(const std::string &columna)
    : m_conceptos("DELETE FROM [Conceptos()] WHERE [Conceptos()].Id_concepto IN (SELECT [Documentos()].Id_concepto "
                  "FROM [Documentos()] WHERE [Documentos()]." + columna + " = ? AND [Documentos()].Block<1);")
    , m_documentos("DELETE FROM [Documentos()] WHERE [Documentos()]." + columna + " = ? AND Block<1;")
{
}

std::string BajaDocumentos::Borra(int clave, int &filas)
{
    int conceptos = 0;
    std::string error = m_conceptos.Entero(clave).Ejecuta(conceptos);
    if (error.empty())
        error = m_documentos.Entero(clave).Ejecuta(filas);
    return error;
}

int InsertaRemesa(const DatosRemesaEditada &remesa)
{
    int clave = 0;
    DBInsertSQL(FormateaTexto("INSERT INTO [Remesas()] (Id_plantilla,Id_moneda,Id_emisor,Con_emision,Descripcion,"
                              "Block)  VALUES (%s,'%s',%d,%s,'%s',0);",
                              ClaveONull(remesa.Id_plantilla), remesa.Id_moneda, remesa.Id_emisor,
                              SiNo(remesa.Con_emision), LimpiaTextoSQL(remesa.Descripcion)),
                clave);
    return clave;
}

GuardadoRemesa ModificaRemesa(int idRemesa, const DatosRemesaEditada &remesa, bool cambiaMoneda)
{
    Transaccion transaccion("Remesas::ModificaRemesa");
    if (!transaccion.Abierta())
        return GuardadoRemesa::Fallida;
    int filas = 0;
    std::string error = DBExecSQL(
        FormateaTexto("UPDATE OR FAIL [Remesas()] SET [Remesas()].Id_emisor= %d ,[Remesas()].Id_plantilla = %s, "
                      "[Remesas()].Id_moneda = '%s', [Remesas()].Con_emision = %s,  [Remesas()].Descripcion = '%s' "
                      "WHERE [Remesas()].Id_remesa = %d AND Block<1;",
                      remesa.Id_emisor, ClaveONull(remesa.Id_plantilla), remesa.Id_moneda, SiNo(remesa.Con_emision),
                      LimpiaTextoSQL(remesa.Descripcion), idRemesa),
        filas);
    if (!error.empty())
        return GuardadoRemesa::Fallida;
    if (filas < 1)
        return GuardadoRemesa::Retenida;
    if (cambiaMoneda) {
        error = RecalculaContravalores(idRemesa, remesa.Id_moneda);
        if (error.empty())
            error = ActualizaTotalesRemesa(std::to_string(idRemesa), remesa.Id_moneda);
    }
    return error.empty() && transaccion.Confirma() ? GuardadoRemesa::Guardada : GuardadoRemesa::Fallida;
}

bool BorraRemesa(int idRemesa)
{
    Transaccion transaccion("Remesas::BorraRemesa");
    if (!transaccion.Abierta())
        return false;
    int filas = 0;
    if (!BajaDocumentos("Id_remesa").Borra(idRemesa, filas).empty())
        return false;
    std::string quedan;
    const std::string error =
        DBGetData(FormateaTexto("SELECT Count([Id_documento]) AS Expr1 FROM [Documentos()] WHERE "
                                "[Documentos()].Id_remesa=%d;",
                                idRemesa),
                  [&quedan](char *fila, char *, int) { quedan = GetCampo("Expr1", fila); });
    if (!error.empty() || Numero(quedan) != 0)
        return false;
    if (!DBExecSQL(FormateaTexto("DELETE * FROM [Remesas()] WHERE [Remesas()].Id_remesa = %d AND Block<1;", idRemesa),
                 filas)
             .empty()
        || filas < 1)
        return false;
    return transaccion.Confirma();
}

ResultadoRecibos BorraRecibos(const std::vector<std::string> &ids, const ProgresoRecibos &progreso)
{
    BajaDocumentos baja("Id_documento");
    return PorRecibo(
        "BorraRecibos", ids, [&baja](int id, int &filas) { return baja.Borra(id, filas); },
        [](const std::string &) { return false; }, progreso);
}

ResultadoRecibos ActivaRecibos(int idRemesa, const std::vector<std::string> &ids, bool activo,
                               const ProgresoRecibos &progreso)
{
    std::string error;
    const std::unordered_set<std::string> erroneos = Erroneos(idRemesa, error);
    if (!error.empty())
        return {0, 0, error};
    SentenciaSQL cambio("UPDATE OR FAIL [Documentos()] SET [Documentos()].Activo=? WHERE [Documentos()].Id_documento=? "
                        "AND Block<1;");
    return PorRecibo(
        "ActivaRecibos", ids,
        [&cambio, activo](int id, int &filas) { return cambio.Entero(activo ? 1 : 0).Entero(id).Ejecuta(filas); },
        [&erroneos](const std::string &id) { return erroneos.count(std::to_string(Numero(id))) > 0; }, progreso);
}
