// The test sandbox: temporary current folder and a recording display hook.
#include "sandbox.h"

#include <climits>
#include <cstdio>
#include <stdexcept>
#include <unistd.h>

namespace quentaro_test {
namespace {

int recordBox(void *context, const char *title, const char *text, int icon)
{
    Sandbox *sandbox = static_cast<Sandbox *>(context);
    sandbox->boxes.push_back({title, text, icon});
    return sandbox->answer;
}

void recordLine(void *context, const char *line)
{
    static_cast<Sandbox *>(context)->lines.push_back(line);
}

} // namespace

Sandbox::Sandbox()
{
    char cwd[PATH_MAX];
    if (getcwd(cwd, sizeof cwd))
        m_previousDir = cwd;
    if (chdir(dir.path().c_str()) != 0)
        throw std::runtime_error("cannot enter " + dir.path());
    const B_DebugDisplay_t display = {recordBox, recordLine, this};
    DebugSetDisplay(&display);
}

Sandbox::~Sandbox()
{
    DebugSetDisplay(nullptr);
    if (!m_previousDir.empty() && chdir(m_previousDir.c_str()) != 0)
        perror("chdir");
}

std::vector<std::string> Sandbox::messages() const
{
    std::vector<std::string> result;
    for (const Box &box : boxes) {
        std::string first = box.text.substr(0, box.text.find('\n'));
        result.push_back(first.substr(first.find('\t') + 1));
    }
    return result;
}

std::string literal(const std::string &text)
{
    std::string pattern;
    for (char c : text) {
        if (std::string("\\^$.|?*+()[]{}").find(c) != std::string::npos)
            pattern += '\\';
        pattern += c;
    }
    return pattern;
}

} // namespace quentaro_test
