// Temporary folders and file helpers for the tests.
#include "testutil.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testutil {

TempDir::TempDir()
{
    std::string templ = (std::filesystem::temp_directory_path() / "tesorio-test-XXXXXX").string();
    if (!::mkdtemp(templ.data()))
        throw std::runtime_error("mkdtemp failed");
    m_path = templ + "/";
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const std::string &path, const std::string &data)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << data;
}

bool fileExists(const std::string &path)
{
    return std::filesystem::exists(path);
}

std::vector<size_t> changedPages(const std::string &before, const std::string &after, size_t size)
{
    std::vector<size_t> pages;
    for (size_t at = 0; at < std::max(before.size(), after.size()); at += size)
        if (before.compare(std::min(at, before.size()), size, after, std::min(at, after.size()), size) != 0)
            pages.push_back(at / size);
    return pages;
}

} // namespace testutil
