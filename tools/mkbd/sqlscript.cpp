// Splits an SQL script into its statements.
#include "sqlscript.h"

#include <cctype>

namespace sqlscript {

namespace {

bool isWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

std::string upper(std::string_view word)
{
    std::string out(word);
    for (char &c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

std::string trimmed(const std::string &text)
{
    size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

// Follows the words of the statement in progress to tell where a trigger ends.
class StatementWords {
public:
    void add(const std::string &w)
    {
        if (m_lead.size() < 3)
            m_lead.push_back(w);
        if (!isTrigger())
            return;
        if (w == "BEGIN") {
            ++m_depth;
            m_hadBody = true;
        } else if (w == "CASE") {
            ++m_depth;
        } else if (w == "END" && m_depth > 0) {
            --m_depth;
        }
    }

    // Whether a ";" met now ends the statement.
    bool endsAtSemicolon() const { return !isTrigger() || (m_hadBody && m_depth == 0); }

private:
    // CREATE [TEMP | TEMPORARY] TRIGGER
    bool isTrigger() const
    {
        if (m_lead.size() < 2 || m_lead[0] != "CREATE")
            return false;
        if (m_lead[1] == "TRIGGER")
            return true;
        return m_lead.size() == 3 && (m_lead[1] == "TEMP" || m_lead[1] == "TEMPORARY") &&
               m_lead[2] == "TRIGGER";
    }

    std::vector<std::string> m_lead;
    int m_depth = 0;
    bool m_hadBody = false;
};

} // namespace

bool split(std::string_view script, std::vector<std::string> &statements, std::string &error)
{
    statements.clear();
    std::string current;
    StatementWords words;
    size_t i = 0;
    const size_t n = script.size();

    auto finish = [&]() {
        std::string s = trimmed(current);
        if (!s.empty())
            statements.push_back(s);
        current.clear();
        words = StatementWords();
    };

    while (i < n) {
        char c = script[i];
        if (c == '-' && i + 1 < n && script[i + 1] == '-') {
            while (i < n && script[i] != '\n')
                ++i;
            continue;
        }
        if (c == '/' && i + 1 < n && script[i + 1] == '*') {
            size_t end = script.find("*/", i + 2);
            if (end == std::string_view::npos) {
                error = "comentario sin cerrar";
                return false;
            }
            current += ' ';
            i = end + 2;
            continue;
        }
        if (c == '\'' || c == '"' || c == '[' || c == '`') {
            char close = (c == '[') ? ']' : c;
            size_t j = i + 1;
            for (;;) {
                if (j >= n) {
                    error = std::string("texto sin cerrar: ") + std::string(script.substr(i, 40));
                    return false;
                }
                if (script[j] == close) {
                    // A doubled quote stands for itself inside a quoted text.
                    if (close != ']' && j + 1 < n && script[j + 1] == close) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            current.append(script.substr(i, j + 1 - i));
            i = j + 1;
            continue;
        }
        if (isWordChar(c)) {
            size_t j = i;
            while (j < n && isWordChar(script[j]))
                ++j;
            words.add(upper(script.substr(i, j - i)));
            current.append(script.substr(i, j - i));
            i = j;
            continue;
        }
        if (c == ';' && words.endsAtSemicolon()) {
            finish();
            ++i;
            continue;
        }
        current += c;
        ++i;
    }
    finish();
    return true;
}

} // namespace sqlscript
