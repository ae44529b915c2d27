// The outcome of an internal step and the last-error register that the exports keep.
#pragma once

#include <string>
#include <string_view>

struct sqlite3;

namespace vasq {

// 0 and an empty text for success; otherwise a code of vasqdb.h and its text.
struct Status {
    int code = 0;
    std::string text;

    bool ok() const { return code == 0; }
};

// An own code with its text (the fixed text when the code has one and text is empty).
Status ownFailure(int code, std::string_view text = {});

// The engine's failure rc (an extended result code) on db: VASQ_ENGINE_ERROR_BASE plus
// rc, and "(ERROR <code>) <message>" with db's message (or rc's) in Windows-1252. An I/O
// failure for want of room (see diskFull) is SQLITE_FULL.
Status engineFailure(sqlite3 *db, int rc);

// The engine's code rc with a finding of the library's own (Windows-1252) as its text:
// "(ERROR <code>) <finding>".
Status engineFinding(int rc, std::string_view finding);

// True for the errno of a write refused for room: a full disk, a quota, a size limit.
bool diskFull(int error);

// The register read by VASQ_GetLastErrorCodeID and VASQ_GetLastErrorCodeDesc.
class LastError {
public:
    int code() const { return m_code; }
    void record(const Status &status);
    void clear();

    // The code; the code becomes 0 and the text stays.
    int takeCode();
    // The text that goes with the code, cut to size - 1 and terminated (nothing written
    // when size < 1); returns the code and clears both.
    int takeText(char *buffer, int size);

private:
    int m_code = 0;
    std::string m_text;
};

} // namespace vasq
