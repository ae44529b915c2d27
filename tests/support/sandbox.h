// A temporary current folder (debug.log lands there) with the display hook recording
// every box and list line the library raises.
#pragma once

#include "b_debug.h"
#include "testutil.h"

#include <string>
#include <vector>

namespace quentaro_test {

struct Box {
    std::string title;
    std::string text;
    int icon;
};

class Sandbox {
public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox &) = delete;
    Sandbox &operator=(const Sandbox &) = delete;

    std::string log() const { return testutil::readFile(dir.file("debug.log")); }
    // The message lines of the boxes raised so far.
    std::vector<std::string> messages() const;

    testutil::TempDir dir;
    std::vector<Box> boxes;
    std::vector<std::string> lines;
    int answer = B_DEBUG_OK;

private:
    std::string m_previousDir;
};

// A temporary program folder: TESORIO_PROGRAM_DIR names it while the object lives. Tests
// copy the test item plug-in into it under the names they need.
class ProgramDir {
public:
    ProgramDir();
    ~ProgramDir();
    ProgramDir(const ProgramDir &) = delete;
    ProgramDir &operator=(const ProgramDir &) = delete;

    // Copies the test plug-in to the folder as fileName; returns its path.
    std::string install(const std::string &fileName) const;

    testutil::TempDir dir;

private:
    std::string m_previous;
    bool m_wasSet;
};

// An ERE that matches the text literally.
std::string literal(const std::string &text);

} // namespace quentaro_test
