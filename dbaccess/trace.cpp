// The trace file "vasqdb.log": failures and maintenance notes, written above level 2.
#include "trace.h"

#include <cstdio>
#include <filesystem>

namespace vasq {

void Trace::reset()
{
    std::error_code ec;
    std::filesystem::path dir = std::filesystem::current_path(ec);
    m_path = (dir / "vasqdb.log").string();
    m_level = 0;
}

void Trace::write(int messageLevel, std::string_view label, std::string_view text) const
{
    if (m_level <= 2 || m_level < messageLevel || (label.empty() && text.empty()))
        return;
    std::FILE *file = std::fopen(m_path.c_str(), "ab");
    if (!file)
        return;
    std::fprintf(file, "[DEBUG LEVEL: %d] %.*s%.*s\n", m_level, int(label.size()), label.data(),
                 int(text.size()), text.data());
    std::fclose(file);
}

} // namespace vasq
