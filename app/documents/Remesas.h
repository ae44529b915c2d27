// The writers of batches and of a batch's marked bills: the batch editor's insert and
// update (a currency change with its bills' counter-values and totals), the delete of a
// batch with its bills, and the delete (with their concepts), activation and deactivation
// of bills.
//
// Each change that touches more than one row runs in one short transaction of the main
// connection: all or nothing. Rows that another running copy holds (Block above 0) are left
// alone by the guarded statements and counted. Nothing here shows a window, takes or
// releases a lock or posts a notice: the caller releases its own locks before and posts its
// notices after. Texts are Windows-1252; a description is stored cleaned (LimpiaTexto).
#pragma once

#include "General.h"

#include <functional>
#include <string>
#include <vector>

// A batch as the editor writes it: plantilla is a template key or "NULL", moneda "ESP" or
// "EUR".
struct DatosRemesaEditada {
    int Id_emisor = 0;
    std::string Id_plantilla = "NULL";
    std::string Id_moneda;
    bool Con_emision = false;
    std::string Descripcion;
};

// Inserts the batch; its new key, or 0 when the insert failed (logged).
int InsertaRemesa(const DatosRemesaEditada &remesa);

enum class GuardadoRemesa {
    Guardada,
    Retenida, // another copy holds the batch: nothing written
    Fallida,  // a statement failed (logged): nothing written
};

// Updates the batch idRemesa (guarded by its lock counter). With cambiaMoneda, in the same
// transaction, every bill's Contravalor becomes the counter-value of its unchanged Importe
// read in the new currency, and the batch's totals are written anew.
GuardadoRemesa ModificaRemesa(int idRemesa, const DatosRemesaEditada &remesa, bool cambiaMoneda);

// Deletes bills with their concept rows, inside the caller's transaction, leaving those
// another copy holds. Every deleter of bills goes through it, so that no concept row
// outlives its bill. Its statements are prepared once, for runs that delete bill after
// bill.
class BajaDocumentos {
public:
    // columna: the column of [Documentos()] that picks the bills by key ("Id_remesa").
    explicit BajaDocumentos(const std::string &columna);
    // Deletes the bills whose column holds clave; filas: the bills deleted.
    std::string Borra(int clave, int &filas);

private:
    SentenciaSQL m_conceptos, m_documentos;
};

// Deletes the batch and its bills in one transaction, the bills first: when the batch or
// any of its bills stays (held by another copy, or a failed statement) everything is rolled
// back and the batch stays whole. True when the batch is gone.
bool BorraRemesa(int idRemesa);

// What a command on marked bills did.
struct ResultadoRecibos {
    int Cambiados = 0; // bills deleted or changed
    int Retenidos = 0; // bills the guard kept (another copy holds them, or already gone)
    std::string Error; // a failed statement (logged): everything was rolled back
};

// Called now and then with the bills done and the total.
using ProgresoRecibos = std::function<void(size_t hechos, size_t total)>;

// Deletes the bills ids (Id_documento texts) in one transaction.
ResultadoRecibos BorraRecibos(const std::vector<std::string> &ids, const ProgresoRecibos &progreso = {});

// Sets Activo of the bills ids of the batch idRemesa in one transaction. Erroneous bills
// cannot be activated or deactivated: they are skipped and counted nowhere.
ResultadoRecibos ActivaRecibos(int idRemesa, const std::vector<std::string> &ids, bool activo,
                               const ProgresoRecibos &progreso = {});
