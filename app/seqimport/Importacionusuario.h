// One sequential import without windows: a customer's data file cut by a template into
// entries, grouped into records and stored through the table objects, all in one write
// transaction, with a per-import log beside the data file.
//
// The run pauses the multi-user coordination while its transaction is open and shows no
// window; it reports messages, progress and counts through callbacks (progress at most
// every 50 ms, where the caller may process its events and ask the run to stop). A stop
// asked for by the caller, a company, presenter or issuer its table object refuses, or a
// statement the database refuses, rolls everything back and names the line at fault. The
// log (Windows-1252, LF line ends) is the data file's name with the extension ".log",
// opened for appending for the length of the run; it says whether the data file was read as
// UTF-8, as Windows-1252 or line by line as each. Paths are Windows-1252.
#pragma once

#include "Lineas.h"
#include "Uniimport.h"

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Cuts the data file by the layout into one entry per linked field of every recognised line
// (links beginning with "NULL" are not imported), in file order, and a closing entry. The
// first entry of a line carries its record mark: 2 when the line's kind was already seen
// in the current record or stands before the previous line's kind in the layout, else 1; a
// record-starting line without entries hands its mark on to the next entry. seguir is
// called with the bytes read and the file's size; false from it stops the reading. Each line
// is read as LeeLineaDatos reads it, as UTF-8 or as Windows-1252 bytes; lectura, when given,
// counts them. False when the file cannot be opened or read.
// The lines read as UTF-8, those read as Windows-1252 with a byte above 0x7F, and the first
// of these.
struct LecturaDatos {
    long long Utf8 = 0, Ansi = 0;
    int PrimeraAnsi = 0;
};
bool ConstruyeEntradas(const std::string &datos, const LineDefList &layout, std::vector<EntradaImportacion> &entradas,
                       const std::function<bool(long long leidos, long long tamano)> &seguir,
                       LecturaDatos *lectura = nullptr);

struct ContadoresImportacion {
    Contador Empresas, Presentadores, Emisores, Remesas, Recibos, Librados;
};

class _ImportacionUsuario {
public:
    struct Avisos {
        std::function<void(const std::string &)> Mensaje;          // a line for the memo
        // The gauge: bytes read of the data file, then (guardando) entries stored.
        std::function<void(long long hecho, long long total, bool guardando)> Progreso;
    };

    enum class Resultado {
        Terminada,    // committed: everything read was processed
        Rechazada,    // rolled back: a company, presenter or issuer was refused and the run stopped
        Parada,       // rolled back: the caller asked to stop while the entries were stored
        Fallida,      // rolled back: the database refused a statement
        Cancelada,    // the caller asked to stop before anything was stored
        SinPlantilla, // the template could not be read
        SinDatos,     // the data file could not be read
    };

    explicit _ImportacionUsuario(Avisos avisos);
    ~_ImportacionUsuario();
    _ImportacionUsuario(const _ImportacionUsuario &) = delete;
    _ImportacionUsuario &operator=(const _ImportacionUsuario &) = delete;

    // Imports datos with the template plantilla (and its ".opc") for the user, attaching
    // what has no company of its own to the company idEmpresa.
    Resultado Ejecuta(const std::string &plantilla, const std::string &datos, int idUsuario, int idEmpresa);

    // Asks the run under way to stop before its next entry.
    void Para() { m_seguir = false; }
    bool Ejecutando() const { return m_ejecutando; }
    // The shortest time between two progress calls (50 ms unless changed).
    void IntervaloAvisos(int ms) { m_intervalo = ms; }

    // The counts so far (during the run, from the progress callback) or of the last run.
    ContadoresImportacion Contadores() const;
    // The last run stored a company other than idEmpresa; its name.
    bool EmpresaActual() const { return m_empresaActual; }
    const std::string &NombreEmpresa() const { return m_nombreEmpresa; }
    const std::string &RutaLog() const { return m_rutaLog; }

private:
    struct Objetos;

    Resultado Importa(const std::string &plantilla, const std::string &datos);
    void Mensaje(const std::string &texto);
    void EscribirLog(const std::string &texto);
    void Avanza(long long hecho, long long total, bool guardando, bool ahora = false);
    void ProcesarDato(const EntradaImportacion &entrada);
    bool GuardaPendientes();
    void MostrarResumen();

    Avisos m_avisos;
    EntornoImportacion m_entorno;
    OpcionesImportacion m_opciones;
    std::unique_ptr<Objetos> m_objetos;
    std::vector<EntradaImportacion> m_entradas;
    std::FILE *m_log = nullptr;
    std::string m_rutaLog;
    long long m_ultimoAviso = 0;
    int m_intervalo = 50;
    bool m_seguir = true;
    bool m_parado = false; // a company, presenter or issuer was refused
    bool m_ejecutando = false;
    bool m_pendientes[5] = {};
    int m_lineaRegistro = 0; // the line a failure names: its record's first, or the refused row's
    int m_idUsuario = 0, m_idEmpresa = 0;
    ContadoresImportacion m_contadores;
    bool m_empresaActual = true;
    std::string m_nombreEmpresa;
};
