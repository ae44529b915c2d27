// Fixtures shared by the tests: temporary folders and small file helpers.
#pragma once

#include <string>
#include <vector>

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

// The pages, of size bytes each and numbered from 0, in which two versions of a file differ:
// to find the pages a change wrote, so that one can be put back as it was (a lost write).
std::vector<size_t> changedPages(const std::string &before, const std::string &after, size_t size);

} // namespace testutil
