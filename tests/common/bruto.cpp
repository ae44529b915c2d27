// The raw engine as the benchmarks' reference.
#include "bruto.h"

#include "General.h"
#include "collation.h"
#include "connection.h"
#include "vasqdb.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace bruto {
namespace {

[[noreturn]] void Falla(sqlite3 *db, const std::string &que)
{
    std::fprintf(stderr, "bruto: %s: %s\n", que.c_str(), db ? sqlite3_errmsg(db) : "");
    std::exit(1);
}

} // namespace

Conexion::Conexion(const std::string &ruta)
{
    if (sqlite3_open_v2(ruta.c_str(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK ||
        sqlite3_key(m_db, kPasswordBD, int(std::strlen(kPasswordBD))) != SQLITE_OK ||
        vasq::registerCollation(m_db) != SQLITE_OK)
        Falla(m_db, "no se abre " + ruta);
    sqlite3_busy_timeout(m_db, 5000);
    Ejecuta("PRAGMA cipher_page_size=" + std::to_string(VASQ_PAGE_SIZE));
    Ejecuta("SELECT count(*) FROM sqlite_master; PRAGMA journal_mode=WAL");
    Ejecuta("PRAGMA cache_size=-" + std::to_string(vasq::Connection::kLargeCacheKiB));
}

Conexion::~Conexion()
{
    sqlite3_close_v2(m_db);
}

void Conexion::Ejecuta(const std::string &sql)
{
    if (sqlite3_exec(m_db, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
        Falla(m_db, sql);
}

std::vector<Fila> Conexion::Lee(const std::string &consulta)
{
    sqlite3_stmt *s = nullptr;
    if (sqlite3_prepare_v2(m_db, consulta.c_str(), -1, &s, nullptr) != SQLITE_OK)
        Falla(m_db, consulta);
    std::vector<Fila> filas;
    while (sqlite3_step(s) == SQLITE_ROW) {
        Fila fila;
        for (int c = 0; c < sqlite3_column_count(s); ++c)
            fila.emplace_back(sqlite3_value_dup(sqlite3_column_value(s, c)), sqlite3_value_free);
        filas.push_back(std::move(fila));
    }
    sqlite3_finalize(s);
    return filas;
}

double Conexion::Escribe(const std::vector<Lote> &lotes, const std::vector<std::string> &lecturas)
{
    const auto inicio = std::chrono::steady_clock::now();
    Ejecuta("BEGIN IMMEDIATE");
    for (const std::string &consulta : lecturas) {
        sqlite3_stmt *s = nullptr;
        if (sqlite3_prepare_v2(m_db, consulta.c_str(), -1, &s, nullptr) != SQLITE_OK)
            Falla(m_db, consulta);
        while (sqlite3_step(s) == SQLITE_ROW)
            for (int c = 0; c < sqlite3_column_count(s); ++c)
                sqlite3_column_text(s, c);
        sqlite3_finalize(s);
    }
    for (const Lote &lote : lotes) {
        if (lote.filas.empty())
            continue;
        sqlite3_stmt *s = nullptr;
        if (sqlite3_prepare_v2(m_db, lote.sentencia.c_str(), -1, &s, nullptr) != SQLITE_OK)
            Falla(m_db, lote.sentencia);
        for (const Fila &fila : lote.filas) {
            for (size_t c = 0; c < fila.size(); ++c)
                sqlite3_bind_value(s, int(c) + 1, fila[c].get());
            if (sqlite3_step(s) != SQLITE_DONE)
                Falla(m_db, lote.sentencia);
            sqlite3_reset(s);
        }
        sqlite3_finalize(s);
    }
    Ejecuta("COMMIT");
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
}

Lote CopiaTabla(Conexion &origen, const std::string &tabla)
{
    Lote lote;
    lote.filas = origen.Lee("SELECT * FROM [" + tabla + "] ORDER BY rowid");
    std::string valores;
    const size_t columnas = lote.filas.empty() ? 0 : lote.filas.front().size();
    for (size_t c = 0; c < columnas; ++c)
        valores += c ? ",?" : "?";
    lote.sentencia = "INSERT INTO [" + tabla + "] VALUES (" + valores + ")";
    return lote;
}

double ReinsertaImportados(const std::string &origen, const std::string &destino)
{
    std::vector<Lote> lotes;
    {
        Conexion o(origen);
        for (const char *tabla : {"_Presentadores( Datos )", "_Emisores( Datos )", "Remesas()", "Librados( Datos )",
                                  "Conceptos()", "Documentos()"})
            lotes.push_back(CopiaTabla(o, tabla));
    }
    return Conexion(destino).Escribe(lotes);
}

} // namespace bruto
