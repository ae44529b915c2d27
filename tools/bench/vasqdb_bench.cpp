// vasqdb_bench: the database library's heavy paths timed against the raw engine in the
// same run. Two encrypted files of the shipped schema get the same rows; each step runs
// once through vasqdb on one (the writes as the program's bulk writers run them, through
// its prepared statements) and once as prepared, bound SQLCipher statements on the other,
// and prints both times and their ratio.
// Usage: vasqdb_bench [bills [rounds]]   (100000 bills, 3 rounds; the best time counts)
#include "collation.h"
#include "connection.h"
#include "sqlscript.h"
#include "vasqdb.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

constexpr const char *kPassword = "mxClave7";
constexpr int kDrawees = 50000;
constexpr int kVisibleRows = 40; // what a grid paints after opening

// The bills grid's statement, ordered by one column of the given table.
std::string billsStatement(const std::string &orderBy)
{
    return "SELECT [Documentos()].Situacion, [Librados( Datos )].Cuenta, [Documentos()].F_vencimiento, "
           "[Librados( Datos )].Razon_social, [Documentos()].Importe, [Documentos()].Id_documento, "
           "[Documentos()].Cod_devolucion, [Documentos()].Activo, [Documentos()].Contravalor, "
           "[Remesas()].Id_moneda FROM [Remesas()] INNER JOIN ([Librados( Datos )] INNER JOIN [Documentos()] "
           "ON [Librados( Datos )].Id_librado = [Documentos()].Id_librado) ON [Remesas()].Id_remesa = "
           "[Documentos()].Id_remesa WHERE ((([Documentos()].Id_remesa)=1)) ORDER BY " +
           orderBy;
}

// Whole bills with their drawees, as the send file reads them.
const char *const kJoinedBills =
    "SELECT [Documentos()].*, [Librados( Datos )].Razon_social, [Librados( Datos )].Cuenta, "
    "[Librados( Datos )].Direccion, [Librados( Datos )].CP, [Librados( Datos )].Localidad, "
    "[Remesas()].Id_moneda FROM [Remesas()] INNER JOIN ([Librados( Datos )] INNER JOIN [Documentos()] "
    "ON [Librados( Datos )].Id_librado = [Documentos()].Id_librado) ON [Remesas()].Id_remesa = "
    "[Documentos()].Id_remesa WHERE [Documentos()].Id_remesa=1";

// A fixed sequence of pseudo-random numbers, the same on every run.
struct Random {
    unsigned long long state = 88172645463325252ull;
    unsigned next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return unsigned(state >> 11);
    }
    unsigned below(unsigned n) { return next() % n; }
};

// One bill's values, written as the program writes them.
struct Bill {
    int drawee;
    std::string amount;  // "1234.50"
    std::string counter; // pesetas "205419"
    std::string reference;
    std::string text;
    std::string issued;
    std::string due;
};

Bill makeBill(Random &random, int number)
{
    long long cents = 100 + random.below(500000);
    char amount[32];
    std::snprintf(amount, sizeof amount, "%lld.%02lld", cents / 100, cents % 100);
    char counter[32];
    std::snprintf(counter, sizeof counter, "%lld", (cents * 166386 + 50000) / 100000);
    char reference[16];
    std::snprintf(reference, sizeof reference, "R%07d", number);
    char text[48];
    std::snprintf(text, sizeof text, "Factura %d de suministro", number);
    char due[16];
    std::snprintf(due, sizeof due, "2024/%02u/%02u", 1 + random.below(12), 1 + random.below(28));
    return {1 + int(random.below(kDrawees)), amount, counter, reference, text, "2024/01/15", due};
}

std::string draweeName(Random &random, int number)
{
    static const char *const surnames[] = {
        "Garc\xED" "a", "L\xF3pez", "Mart\xEDnez", "S\xE1nchez", "P\xE9rez", "G\xF3mez", "Fern\xE1ndez",
        "Rodr\xEDguez", "D\xED" "az", "Moreno", "Jim\xE9nez", "Ruiz", "Hern\xE1ndez", "Casta\xF1o", "Pe\xF1" "a",
        "\xC1lvarez", "N\xFA\xF1" "ez", "Ib\xE1\xF1" "ez", "Mu\xF1oz", "Ortega", "Navarro", "Serrano"};
    static const char *const names[] = {"Pedro", "Mar\xED" "a", "Jos\xE9", "Luc\xED" "a", "\xC1ngel", "In\xE9s",
                                        "Ram\xF3n", "Bego\xF1" "a", "Jes\xFAs", "Roc\xEDo"};
    char text[96];
    std::snprintf(text, sizeof text, "%s %s, %s %05d", surnames[random.below(22)], surnames[random.below(22)],
                  names[random.below(10)], number);
    return text;
}

double seconds(const std::function<void()> &work)
{
    auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

[[noreturn]] void fatal(const std::string &what)
{
    std::fprintf(stderr, "vasqdb_bench: %s\n", what.c_str());
    std::exit(1);
}

std::string lastError()
{
    char text[1024];
    int code = VASQ_GetLastErrorCodeDesc(text, sizeof text);
    return "(" + std::to_string(code) + ") " + text;
}

void exec(const std::string &sql)
{
    if (VASQ_ExecSQL(sql.c_str(), nullptr) != 0)
        fatal(lastError() + " en: " + sql);
}

void check(int rc, const char *what)
{
    if (rc != 0)
        fatal(std::string(what) + ": " + lastError());
}

// ------------------------------------------------------------------ the raw engine

struct Raw {
    sqlite3 *db = nullptr;

    explicit Raw(const std::string &path)
    {
        // The engine as the library sets it up: no locking of each call, the same cache.
        if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK ||
            sqlite3_key(db, kPassword, int(std::char_traits<char>::length(kPassword))) != SQLITE_OK ||
            vasq::registerCollation(db) != SQLITE_OK)
            fatal("no se abre " + path);
        sqlite3_busy_timeout(db, 5000);
        run(("PRAGMA cipher_page_size=" + std::to_string(VASQ_PAGE_SIZE)).c_str());
        run("SELECT count(*) FROM sqlite_master; PRAGMA journal_mode=WAL");
        run(("PRAGMA cache_size=-" + std::to_string(vasq::Connection::kLargeCacheKiB)).c_str());
    }
    ~Raw() { sqlite3_close_v2(db); }

    void run(const char *sql)
    {
        if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            fatal(std::string(sqlite3_errmsg(db)) + " en: " + sql);
    }

    sqlite3_stmt *prepare(const std::string &sql)
    {
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
            fatal(std::string(sqlite3_errmsg(db)) + " en: " + sql);
        return statement;
    }

    void done(sqlite3_stmt *statement, int rc)
    {
        if (rc != SQLITE_DONE)
            fatal(sqlite3_errmsg(db));
        sqlite3_reset(statement);
    }

    // Steps through every row reading each column as text; returns the rows read.
    long readAll(const std::string &sql, long &bytes)
    {
        sqlite3_stmt *statement = prepare(sql);
        long rows = 0;
        int rc;
        int columns = sqlite3_column_count(statement);
        while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
            ++rows;
            for (int i = 0; i < columns; ++i) {
                sqlite3_column_text(statement, i);
                bytes += sqlite3_column_bytes(statement, i);
            }
        }
        done(statement, rc);
        sqlite3_finalize(statement);
        return rows;
    }
};

void bindText(sqlite3_stmt *statement, int index, const std::string &text)
{
    sqlite3_bind_text(statement, index, text.data(), int(text.size()), SQLITE_STATIC);
}

// ------------------------------------------------------------------ the steps

std::string readScript(const char *path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    if (!in && !in.eof())
        fatal(std::string("no se lee ") + path);
    return text.str();
}

// A new encrypted file of the shipped schema with one batch and its drawees.
void createDatabase(const std::string &path)
{
    std::vector<std::string> statements;
    std::string error;
    if (!sqlscript::split(readScript(SCHEMA_SQL), statements, error))
        fatal(error);
    std::ofstream(path, std::ios::binary).flush();
    SetBdPassword(kPassword);
    check(VASQ_OpenDB(path.c_str(), 0, 0), "abrir");
    check(VASQ_BeginTrans(), "transaccion");
    for (const std::string &statement : statements)
        exec(statement);
    exec("INSERT INTO [_Empresas( Datos )] (Id_usuario, Cif, Nombre) VALUES (1, 'B12345678', 'Empresa')");
    exec("INSERT INTO [_Presentadores( Datos )] (Id_empresa, Id_orden, Id_nif, Sufijo) "
         "VALUES (1, 'CSB19', 'B12345678', '000')");
    exec("INSERT INTO [_Emisores( Datos )] (Id_presentador, Id_nif, Sufijo) VALUES (1, 'B12345678', '000')");
    exec("INSERT INTO [Remesas()] (Id_emisor, Id_moneda, Descripcion) VALUES (1, 'EUR', 'Remesa de prueba')");
    Random random;
    for (int i = 1; i <= kDrawees; ++i) {
        char account[24];
        std::snprintf(account, sizeof account, "2100%04u%02u%010d", random.below(10000), random.below(100), i);
        exec("INSERT INTO [Librados( Datos )] (Id_emisor, Codigo_referencia, Razon_social, Cuenta, Direccion, CP, "
             "Localidad, Provincia) VALUES (1, 'L" +
             std::to_string(i) + "', '" + draweeName(random, i) + "', '" + account +
             "', 'Calle Mayor 1', '28001', 'Madrid', 'Madrid')");
    }
    check(VASQ_CommitTrans(), "confirmar");
    check(VASQ_CloseDB(), "cerrar");
}

// The best time of each step over the rounds, both ways.
struct Result {
    const char *step;
    double vasqdb;
    double raw;
    double limit;
};

std::vector<Result> results;

void record(const char *step, double vasqdb, double raw, double limit)
{
    for (Result &result : results) {
        if (std::string_view(result.step) == step) {
            result.vasqdb = std::min(result.vasqdb, vasqdb);
            result.raw = std::min(result.raw, raw);
            return;
        }
    }
    results.push_back({step, vasqdb, raw, limit});
}

// The program's bulk writers: one statement prepared once, its values bound for each row.
void insertBills(const std::vector<Bill> &bills, Raw &raw)
{
    double mine = seconds([&] {
        check(VASQ_BeginTrans(), "transaccion");
        int insert = 0;
        check(VASQ_Prepare("INSERT INTO [Documentos()] (Id_remesa, Id_librado, Importe, Contravalor, Cod_devolucion, "
                           "Ref_interna, Primer_concepto, F_formalizacion, F_vencimiento, Activo, Situacion) "
                           "VALUES (1, ?, ?, ?, NULL, ?, ?, ?, ?, TRUE, 0)",
                           &insert),
              "preparar");
        for (const Bill &bill : bills) {
            check(VASQ_BindInteger(insert, 1, bill.drawee), "valor");
            check(VASQ_BindText(insert, 2, bill.amount.c_str()), "valor");
            check(VASQ_BindText(insert, 3, bill.counter.c_str()), "valor");
            check(VASQ_BindText(insert, 4, bill.reference.c_str()), "valor");
            check(VASQ_BindText(insert, 5, bill.text.c_str()), "valor");
            check(VASQ_BindText(insert, 6, bill.issued.c_str()), "valor");
            check(VASQ_BindText(insert, 7, bill.due.c_str()), "valor");
            check(VASQ_Step(insert, nullptr), "insertar");
        }
        check(VASQ_Finalize(insert), "finalizar");
        check(VASQ_CommitTrans(), "confirmar");
    });
    double theirs = seconds([&] {
        raw.run("BEGIN IMMEDIATE");
        sqlite3_stmt *insert = raw.prepare(
            "INSERT INTO [Documentos()] (Id_remesa, Id_librado, Importe, Contravalor, Cod_devolucion, Ref_interna, "
            "Primer_concepto, F_formalizacion, F_vencimiento, Activo, Situacion) "
            "VALUES (1, ?, ?, ?, NULL, ?, ?, ?, ?, 1, 0)");
        for (const Bill &bill : bills) {
            sqlite3_bind_int(insert, 1, bill.drawee);
            sqlite3_bind_double(insert, 2, std::strtod(bill.amount.c_str(), nullptr));
            sqlite3_bind_int64(insert, 3, std::strtoll(bill.counter.c_str(), nullptr, 10));
            bindText(insert, 4, bill.reference);
            bindText(insert, 5, bill.text);
            bindText(insert, 6, bill.issued);
            bindText(insert, 7, bill.due);
            raw.done(insert, sqlite3_step(insert));
        }
        sqlite3_finalize(insert);
        raw.run("COMMIT");
    });
    record("insert bills, one transaction", mine, theirs, 1.5);
}

void updateBills(const std::vector<Bill> &bills, Raw &raw)
{
    std::vector<int> keys(bills.size());
    for (size_t i = 0; i < keys.size(); ++i)
        keys[i] = int(i) + 1;
    Random random;
    for (size_t i = keys.size(); i > 1; --i)
        std::swap(keys[i - 1], keys[random.below(unsigned(i))]);
    double mine = seconds([&] {
        check(VASQ_BeginTrans(), "transaccion");
        int update = 0;
        check(VASQ_Prepare("UPDATE OR FAIL [Documentos()] SET [Documentos()].Importe=?, [Documentos()].Activo=FALSE "
                           "WHERE Id_documento=?",
                           &update),
              "preparar");
        for (int key : keys) {
            check(VASQ_BindText(update, 1, bills[size_t(key) - 1].counter.c_str()), "valor");
            check(VASQ_BindInteger(update, 2, key), "valor");
            check(VASQ_Step(update, nullptr), "cambiar");
        }
        check(VASQ_Finalize(update), "finalizar");
        check(VASQ_CommitTrans(), "confirmar");
    });
    double theirs = seconds([&] {
        raw.run("BEGIN IMMEDIATE");
        sqlite3_stmt *update = raw.prepare("UPDATE OR FAIL [Documentos()] SET Importe=?, Activo=0 WHERE Id_documento=?");
        for (int key : keys) {
            sqlite3_bind_int64(update, 1, std::strtoll(bills[size_t(key) - 1].counter.c_str(), nullptr, 10));
            sqlite3_bind_int(update, 2, key);
            raw.done(update, sqlite3_step(update));
        }
        sqlite3_finalize(update);
        raw.run("COMMIT");
    });
    record("update bills by key, one transaction", mine, theirs, 1.5);
}

long g_rows = 0;

void countRow(char *, char *, int)
{
    ++g_rows;
}

void readBills(size_t expected, Raw &raw)
{
    g_rows = 0;
    double mine = seconds([&] { check(VASQ_GetData(kJoinedBills, countRow), "leer"); });
    long rawRows = 0;
    long bytes = 0;
    double theirs = seconds([&] { rawRows = raw.readAll(kJoinedBills, bytes); });
    if (size_t(g_rows) != expected || size_t(rawRows) != expected)
        fatal("lectura incompleta");
    record("read joined bills (VASQ_GetData)", mine, theirs, 2.0);
}

// Fills the index cache and reads its first rows, as a grid opens, or every row; the raw
// engine reads the whole query.
void fillIndex(size_t expected, Raw &raw, const char *step, const std::string &sql, bool everyRow)
{
    int count = 0;
    double mine = seconds([&] {
        check(C_InicIndexData(sql.c_str(), &count), "indice");
        char row[4096];
        for (int i = 0; i < (everyRow ? count : std::min(count, kVisibleRows)); ++i)
            check(C_IndexDataSize(i, row, sizeof row), "fila");
    });
    C_EndIndexData(); // nothing of the cache runs while the raw engine is timed
    long rawRows = 0;
    long bytes = 0;
    double theirs = seconds([&] { rawRows = raw.readAll(sql, bytes); });
    if (size_t(count) != expected || size_t(rawRows) != expected)
        fatal("indice incompleto");
    record(step, mine, theirs, 2.0);
}

// One round on fresh copies of the database with the drawees.
void runRound(const std::string &base, const std::string &mine, const std::string &theirs,
              const std::vector<Bill> &bills)
{
    for (const std::string &copy : {mine, theirs}) {
        std::filesystem::copy_file(base, copy, std::filesystem::copy_options::overwrite_existing);
        std::filesystem::remove(copy + "-wal");
        std::filesystem::remove(copy + "-shm");
    }
    check(VASQ_OpenDB(mine.c_str(), 0, 0), "abrir");
    {
        Raw raw(theirs);
        insertBills(bills, raw);
        updateBills(bills, raw);
        readBills(bills.size(), raw);
        std::string byName = billsStatement("[Librados( Datos )].Razon_social");
        fillIndex(bills.size(), raw, "index, first of the session (opens its file)", byName, false);
        fillIndex(bills.size(), raw, "index by drawee name, first rows", byName, false);
        fillIndex(bills.size(), raw, "index by due date, first rows",
                  billsStatement("[Documentos()].F_vencimiento DESC"), false);
        fillIndex(bills.size(), raw, "index by drawee name, every row", byName, true);
    }
    C_EndIndexData();
    VASQ_CloseDB();
}

} // namespace

int main(int argc, char **argv)
{
    size_t billCount = argc > 1 ? size_t(std::atol(argv[1])) : 100000;
    int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("vasqdb_bench." + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::string base = (folder / "base.mdb").string();
    std::string mine = (folder / "vasqdb.mdb").string();
    std::string theirs = (folder / "raw.mdb").string();

    std::printf("vasqdb against raw SQLCipher %s: %zu bills, %d drawees, best of %d rounds\n", sqlite3_libversion(),
                billCount, kDrawees, rounds);
    std::fflush(stdout);
    createDatabase(base);
    Random random;
    std::vector<Bill> bills;
    for (size_t i = 0; i < billCount; ++i)
        bills.push_back(makeBill(random, int(i) + 1));
    for (int round = 0; round < rounds; ++round)
        runRound(base, mine, theirs, bills);
    std::filesystem::remove_all(folder);

    bool within = true;
    for (const Result &result : results) {
        double ratio = result.vasqdb / result.raw;
        within = within && ratio <= result.limit;
        std::printf("%-46s vasqdb %7.3f s   raw %7.3f s   %5.2fx (limit %.1fx)\n", result.step, result.vasqdb,
                    result.raw, ratio, result.limit);
    }
    std::printf("%s\n", within ? "every step within its limit" : "SOME STEPS ARE OVER THEIR LIMITS");
    return within ? 0 : 1;
}
