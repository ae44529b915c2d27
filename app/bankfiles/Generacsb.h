// The generation of one CSB19 or CSB58 send file from batches of one presenter, without
// windows: the file, its history copy, the history rows, the stamps and the file counter.
//
// A run is all or nothing. It takes a shared lock on every batch and pauses the multi-user
// coordination (App().Multiuser, when there is one) for its length; then:
// 1. the name: today as "ddmmyy", the counter N and ".csb", the first N from the ini's
//    UltimoFichero (read again) whose send file and history copy ("hst" + name) are both
//    free and named by no history row; both are reserved by creating their temporaries
//    (the name + ".tmp") exclusively, each held with an advisory lock (flock);
// 2. one transaction, whose first write, the processing date on the active bills of the
//    batches, takes the database's write lock: no other copy opens or changes a bill until
//    it ends. A batch with an active bill that another copy has open (its Block above 0),
//    or one that carries a generation date without the user's word to send it again,
//    refuses the run, named in the sink, with nothing written;
// 3. in it, the records into the send temporary, every write checked, flushed to disk, and
//    copied into the history temporary, flushed too; then a history row per batch naming
//    the history copy (relative to the program folder when it lies in it, so that the
//    folder can be moved or copied with its history), the batches' generation date, and
//    the commit;
// 4. both temporaries renamed into place without replacing anything, the history copy
//    first;
// 5. UltimoFichero = N + 1 in the ini, never lowering what it holds.
// A failure before the commit removes both temporaries and changes nothing. After the
// commit the pair is left to RecuperaFicherosCSB, which every run calls first.
//
// Texts are Windows-1252; the lines given to the progress sink are language texts.
#pragma once

#include "Librados.h"
#include "Registroscsb.h"

#include <QDate>
#include <QElapsedTimer>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// A batch of the file, in the order of the window's list: consecutive batches of one
// issuer share one issuer-row query, each batch is a block of its own.
struct RemesaCSB {
    int IdRemesa = 0;
    int IdEmisor = 0;
    bool Reenvio = false; // the user's word to send it again when it went out before
};

// What a run is asked to do.
struct PeticionCSB {
    int TipoOrden = 0;   // 1 CSB19, 2 CSB58
    std::string Moneda;  // "ESP" or "EUR": every batch must be in it
    std::vector<RemesaCSB> Remesas;
    QDate Hoy, FechaCargo, FechaEuro;
    std::string CarpetaCSB, CarpetaHistorico; // folders, each ending with "/"
    std::string Ini;     // the product ini holding [FICHEROCSB] UltimoFichero
};

// Where a run reports; an unset member is skipped. Avance comes at most every 64 ms and
// at the end of each batch: bills read against the bills of the whole file.
struct ProgresoCSB {
    std::function<void(const std::string &linea)> Linea;
    std::function<void(long long hechos, long long total)> Avance;
};

enum class ResultadoCSB {
    Generado,     // the file, its history copy, rows, stamps and counter are there
    Euro,         // pesetas after the euro date: nothing was done
    FechaErronea, // a CSB58 peseta bill due on or after the euro date: nothing was written
    Fallido,      // nothing was written; the reasons went to the sink
};

class _GeneradorCSB {
public:
    _GeneradorCSB(PeticionCSB peticion, ProgresoCSB progreso);

    ResultadoCSB Genera();

    // After Generado: the name ("ddmmyyN.csb"), the final paths, the totals of the file,
    // and whether both files are in place (false: a rename failed after the commit and the
    // next recovery puts them there).
    std::string Nombre, Fichero, Historico;
    long long Importe = 0, Documentos = 0, Ordenantes = 0;
    bool EnSuSitio = false;
    // The history copy could not be made (the run failed).
    bool ErrorHistorico = false;

private:
    struct Bloque;
    class Salida;
    class Transaccion;

    bool Escribe(Salida &salida);
    bool EscribeCabecera(Salida &salida);
    bool EscribeRemesa(Salida &salida, const RemesaCSB &remesa, const EmisorCSB &emisor);
    bool LeeRecibos(int idRemesa, Bloque &bloque);
    bool CompruebaRemesa(int idRemesa);
    bool LeeEmisor(int idEmisor, EmisorCSB &emisor);
    bool Reserva(Salida &salida, Salida &historico);
    bool Copia(Salida &salida, Salida &historico);
    std::string IdsRemesas() const;
    bool MarcaRecibos(Transaccion &transaccion);
    // False, naming each batch in the sink, when an active bill of the run is open in
    // another copy.
    bool SinRecibosAbiertos();
    // False, naming each batch in the sink, when a batch of the run went out before without
    // the user's word to send it again.
    bool SinReenviosImprevistos();
    bool GuardaHistoria(Transaccion &transaccion);
    void ActualizaContador(long long n);
    void Linea(const std::string &texto);
    void Linea(int texto, const std::string &cola = {});
    void LineasError(const std::vector<std::string> &lineas);
    // A bill that cannot go out fails its block: error lines naming its drawee, its
    // reference and why.
    void RechazaRecibo(Bloque &bloque, const ReciboCSB &recibo, const std::vector<std::string> &porque);
    // The stored NIF and suffix of the presenter or issuer quien as the bank reads them, the
    // suffix in place; false, with the error lines, when the NIF holds anything but digits
    // and letters (MotivoNif) or the suffix has no bank form.
    bool CodigoEnviable(const std::string &nif, std::string &sufijo, const std::string &quien);
    // The issuer's code as CodigoEnviable, and its credit account as the bank takes it;
    // false, with the error lines naming the issuer, when any cannot be sent.
    bool EmisorEnviable(EmisorCSB &emisor);
    // The issuer's drawees by the reference the bank reads (LibradosComoBanco), for the
    // bills of its blocks; false when the query failed.
    bool LeeReferencias(int idEmisor);
    void Avanza(bool siempre);

    PeticionCSB m_peticion;
    ProgresoCSB m_progreso;
    RegistrosCSB m_registros;
    std::string m_codigoPresentador, m_codigoEmisor;
    LibradosBanco m_referencias; // the issuer's drawees of the block being written
    long long m_registrosFichero = 0, m_hechos = 0, m_total = 0, m_ultimoAvance = -1000;
    long long m_numero = 0;
    bool m_fechaErronea = false;
    QElapsedTimer m_reloj;
};

// Whether a bill's account may go into a send file of the format (1 CSB19, 2 CSB58): 20
// digits that ValidaCCC accepts; a CSB58 credit may also have none (RegistrosCSB::SinCuenta).
bool CuentaEnviable(std::string_view cuenta, int tipoOrden);

// A batch that went out before: its description and the day of its last generation in the
// user's short date format.
struct EnvioAnterior {
    int IdRemesa = 0;
    std::string Descripcion, Fecha;
};

// The batches among ids that carry a generation date, by id.
std::vector<EnvioAnterior> EnviosAnteriores(const std::vector<int> &ids);

// The day of a row text's F_generacion in the user's short date format; empty for none.
std::string FechaGeneracion(const char *fila);

// The SQL condition on [Historicos( Remesas )] of the rows whose copy has the file name of
// historico, in whatever folder: the name of a generated file is never given twice.
std::string CondicionHistorico(const std::string &historico);

// Where the copy a history row names is looked for, in this order: in the history folder
// (ending with "/") by its file name, as a row written before the program folder was moved
// or copied names the old folder; then at the path the row holds when that lies in the
// program folder.
std::vector<std::string> LugaresHistorico(const std::string &descripcion, const std::string &carpetaHistorico);

// Puts in place or removes the temporaries ("*.csb.tmp") that runs which died left in the
// folders: one whose lock can be taken (no run holds it) is renamed into place without
// replacing when a history row names its history copy (for a send file: "hst" + its
// name), else removed. Folders end with "/".
void RecuperaFicherosCSB(const std::vector<std::string> &carpetas, const std::string &carpetaHistorico);
