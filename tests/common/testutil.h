// Fixtures shared by the tests: temporary folders and small file helpers.
#pragma once

#include <string>

namespace testutil {

// A new empty folder under the system's temporary folder, removed with all it holds
// when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    // The folder, ending with "/".
    const std::string &path() const { return m_path; }
    std::string file(const std::string &name) const { return m_path + name; }

private:
    std::string m_path;
};

std::string readFile(const std::string &path);
void writeFile(const std::string &path, const std::string &data);
bool fileExists(const std::string &path);

} // namespace testutil
