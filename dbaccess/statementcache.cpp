// The prepared statements a connection keeps between uses, by their shape.
#include "statementcache.h"

#include <sqlite3.h>

namespace vasq {

StatementCache::Entry *StatementCache::take(std::string_view shape)
{
    auto found = m_byShape.find(shape);
    if (found == m_byShape.end() || found->second->inUse)
        return nullptr;
    m_entries.splice(m_entries.begin(), m_entries, found->second);
    Entry &entry = m_entries.front();
    entry.inUse = true;
    return &entry;
}

StatementCache::Entry *StatementCache::add(std::string_view shape, sqlite3_stmt *statement)
{
    auto found = m_byShape.find(shape);
    if (found != m_byShape.end()) {
        if (found->second->inUse)
            found->second->stale = true; // a second use of the same shape: the newer one stays
        else
            drop(found->second);
        m_byShape.erase(shape);
    }
    m_entries.push_front({std::string(shape), statement, true, false});
    m_byShape[m_entries.front().shape] = m_entries.begin();
    trim();
    return &m_entries.front();
}

void StatementCache::giveBack(Entry *entry, bool keep)
{
    List::iterator it = find(entry);
    if (it == m_entries.end())
        return;
    if (it->statement) {
        sqlite3_reset(it->statement);
        sqlite3_clear_bindings(it->statement);
    }
    it->inUse = false;
    if (!keep || it->stale)
        drop(it);
    else
        trim();
}

void StatementCache::clear()
{
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        auto next = std::next(it);
        if (it->inUse)
            it->stale = true;
        else
            drop(it);
        it = next;
    }
}

void StatementCache::drop(List::iterator entry)
{
    auto found = m_byShape.find(entry->shape);
    if (found != m_byShape.end() && found->second == entry)
        m_byShape.erase(found);
    sqlite3_finalize(entry->statement);
    m_entries.erase(entry);
}

void StatementCache::trim()
{
    auto it = m_entries.end();
    while (m_entries.size() > m_capacity && it != m_entries.begin()) {
        --it;
        if (!it->inUse) {
            auto victim = it++;
            drop(victim);
        }
    }
}

StatementCache::List::iterator StatementCache::find(const Entry *entry)
{
    auto found = m_byShape.find(entry->shape);
    if (found != m_byShape.end() && &*found->second == entry)
        return found->second;
    for (auto it = m_entries.begin(); it != m_entries.end(); ++it)
        if (&*it == entry)
            return it;
    return m_entries.end();
}

} // namespace vasq
