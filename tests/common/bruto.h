// The raw engine as the benchmarks' reference: rows read from a database and written again,
// to it or to another, with one prepared statement per kind of row and every value bound,
// in one transaction, on a connection set up as vasqdb sets up its own (key, page size,
// collation, WAL, busy timeout, page cache). It writes what the program's run wrote, with
// the schema's guarantees, and nothing else: the floor the run is measured against.
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
    // Writes the batches in one transaction; the seconds it took.
    double Escribe(const std::vector<Lote> &lotes);

private:
    void Ejecuta(const std::string &sql);

    sqlite3 *m_db = nullptr;
};

// The rows of a table in key order with the INSERT that writes each again under its key.
Lote CopiaTabla(Conexion &origen, const std::string &tabla);

} // namespace bruto
