// The trace file "vasqdb.log": failures and maintenance notes, written above level 2.
#pragma once

#include <string>
#include <string_view>

namespace vasq {

class Trace {
public:
    // Level 0, and the file "vasqdb.log" in the current directory.
    void reset();
    void setLevel(int level) { m_level = level; }

    // Appends "[DEBUG LEVEL: <level>] <label><text>" when the current level is above 2
    // and at least messageLevel, and the message is not empty; a file that cannot be
    // opened loses the line.
    void write(int messageLevel, std::string_view label, std::string_view text = {}) const;

private:
    std::string m_path;
    int m_level = 0;
};

} // namespace vasq
