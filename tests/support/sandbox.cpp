// The test sandbox: temporary current folder and a recording display hook.
#include "sandbox.h"

#include "cp1252.h"
#include "progdir.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
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

ProgramDir::ProgramDir()
{
    const char *previous = std::getenv(progdir::kEnvironmentVariable);
    m_wasSet = previous != nullptr;
    if (previous)
        m_previous = previous;
    setenv(progdir::kEnvironmentVariable, dir.path().c_str(), 1);
}

ProgramDir::~ProgramDir()
{
    if (m_wasSet)
        setenv(progdir::kEnvironmentVariable, m_previous.c_str(), 1);
    else
        unsetenv(progdir::kEnvironmentVariable);
}

std::string ProgramDir::install(const std::string &fileName) const
{
    testutil::writeFile(cp1252::fileName(dir.file(fileName)), testutil::readFile(TEST_PLUGIN));
    return dir.file(fileName);
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
