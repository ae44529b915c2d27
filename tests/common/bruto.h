// The raw engine as the benchmarks' reference: in one transaction, the queries a run reads
// (every row stepped, every column read as text) and the rows it writes, read beforehand
// from a database and written again, to it or to another, with one prepared statement per
// kind of row and every value bound; on a connection set up as vasqdb sets up its own (key,
// page size, collation, WAL, busy timeout, page cache). The same reads and writes, with the
// schema's guarantees, and no work of the program's: the floor the run is measured against.
#pragma once

#include <sqlite3.h>

#include <memory>
#include <string>
#include <vector>

namespace bruto {

// One row: its values as the engine stores them.
using Fila = std::vector<std::shared_ptr<sqlite3_value>>;

// The rows a statement writes: sentencia with one "?" per value of each row.
struct Lote {
    std::string sentencia;
    std::vector<Fila> filas;
};

class Conexion {
public:
    explicit Conexion(const std::string &ruta); // ends the process when it cannot open
    ~Conexion();
    Conexion(const Conexion &) = delete;
    Conexion &operator=(const Conexion &) = delete;

    // The rows of a query (SQLite's dialect), each with its columns in order.
    std::vector<Fila> Lee(const std::string &consulta);
    // Reads the queries and writes the batches in one transaction; the seconds it took.
    double Escribe(const std::vector<Lote> &lotes, const std::vector<std::string> &lecturas = {});

private:
    void Ejecuta(const std::string &sql);

    sqlite3 *m_db = nullptr;
};

// The rows of a table in key order with the INSERT that writes each again under its key.
Lote CopiaTabla(Conexion &origen, const std::string &tabla);

// The reference of the imports: the organisation, batches, drawees, concepts and bills of
// origen written into destino (a fresh database); the seconds it took.
double ReinsertaImportados(const std::string &origen, const std::string &destino);

} // namespace bruto
