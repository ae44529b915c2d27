// The prepared statements a connection keeps between uses, by their shape: a bounded
// set, the least recently used finalized first.
#pragma once

#include <list>
#include <string>
#include <string_view>
#include <unordered_map>

struct sqlite3_stmt;

namespace vasq {

class StatementCache {
public:
    struct Entry {
        std::string shape;
        sqlite3_stmt *statement = nullptr; // null: the shape runs only with its literals written in
        bool inUse = false;
        bool stale = false; // finalized when handed back
    };

    explicit StatementCache(size_t capacity) : m_capacity(capacity) {}
    ~StatementCache() { clear(); }
    StatementCache(const StatementCache &) = delete;
    StatementCache &operator=(const StatementCache &) = delete;

    // The entry of shape, marked in use and made the most recent; null when there is none
    // or it is in use already.
    Entry *take(std::string_view shape);
    // Adds statement (which the cache then owns) for shape, in use; the least recent
    // entries not in use go beyond the capacity.
    Entry *add(std::string_view shape, sqlite3_stmt *statement);
    // Ends a use: the statement stays for the next one, unless keep is false or the cache
    // was cleared meanwhile; then it is finalized and the entry dropped.
    void giveBack(Entry *entry, bool keep);

    // Finalizes every statement; those in use go when they are handed back.
    void clear();
    size_t size() const { return m_entries.size(); }

private:
    using List = std::list<Entry>;

    void drop(List::iterator entry);
    void trim();
    List::iterator find(const Entry *entry);

    size_t m_capacity;
    List m_entries; // most recent first
    std::unordered_map<std::string_view, List::iterator> m_byShape;
};

} // namespace vasq
