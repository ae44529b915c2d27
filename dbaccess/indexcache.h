// The index cache of the lazily painted grids: one query's rows as row texts, by number,
// as they were when it was filled.
//
// A query that can be read keys first (see keysfirst.h) is filled from its own connection
// in a read transaction that keeps the snapshot: the keys come first, in the query's
// order, with the first screen of rows; a row asked for before it is read is read by its
// key, while a thread of the cache reads every row of the query in the engine's order and
// puts each in its place. The snapshot ends once every row is read. Any other query, and
// any query while the main connection's transaction has written, is read whole at once on
// the main connection.
#pragma once

#include "connection.h"
#include "lasterror.h"
#include "rowtext.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

struct sqlite3_stmt;

namespace vasq {

// The database the cache reads: its path, how it is open and its password.
struct IndexSource {
    const std::string &path;
    bool readOnly;
    const std::string &password;
};

class IndexCache {
public:
    IndexCache() = default;
    ~IndexCache() { close(); }
    IndexCache(const IndexCache &) = delete;
    IndexCache &operator=(const IndexCache &) = delete;

    // Replaces the rows by those of sql (Jet dialect, Windows-1252) as main sees them.
    // On failure the cache is left empty.
    Status fill(Connection &main, const IndexSource &source, std::string_view sql);
    // Drops the rows; the cache's connection stays open for the next fill.
    void clear();
    // Drops the rows and closes the cache's connection.
    void close();

    size_t count() const { return m_count; }
    // Row n's text, or null when there is none; failure says why when the row could not
    // be read. The text stays valid until the cache is cleared.
    const std::string *row(size_t n, Status &failure);

    // True while the cache's read transaction holds its snapshot.
    bool holdsSnapshot();

private:
    // Fills the cache keys first when sql qualifies; false when it does not or fails.
    bool fillKeysFirst(const IndexSource &source, std::string_view sql);
    Status readKeys(const std::string &keysSql);
    Status readRange(size_t first, size_t last);
    Status readRow(size_t n);
    Status readUnordered(size_t count);
    void keep(size_t n, sqlite3_stmt *statement);
    void readRest();
    void finishIfComplete();
    void stopReader();

    Connection m_connection;
    bool m_writeAheadLog = false;
    sqlite3_stmt *m_fetch = nullptr; // one row by its key
    sqlite3_stmt *m_all = nullptr;   // every row in no given order, while the reader walks it
    int m_keyColumn = 0;             // of the key in the rows
    std::optional<RowTextBuilder> m_builder;
    std::vector<long long> m_keys;                        // in the query's order
    std::vector<std::pair<long long, size_t>> m_byKey;    // each key's row number, by key
    std::vector<std::string> m_rows;
    std::vector<char> m_read; // per row: its text is in m_rows
    size_t m_count = 0;
    size_t m_unread = 0;
    bool m_snapshot = false;
    Status m_readerFailure;

    std::mutex m_mutex; // the connection and the rows while the reader runs
    std::thread m_reader;
    std::atomic<bool> m_stop{false};
};

} // namespace vasq
