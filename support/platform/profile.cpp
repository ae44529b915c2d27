// Ini files read whole on every call and rewritten atomically under a folder lock.
#include "profile.h"

#include "cp1252.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace profile {
namespace {

// Each line keeps its own ending ("\r\n", "\n", or none on a last line without one), so
// a rewrite gives back every line it did not change byte for byte. New lines take the
// first line's ending, or CR LF after a text that ends in CR (which a bare LF would eat).
struct File {
    std::vector<std::string> lines;
    std::vector<std::string> ends;
    std::string eol = "\n";
    bool missing = true;

    std::string endingFor(const std::string &text, const std::string &ending) const
    {
        return !text.empty() && text.back() == '\r' ? "\r\n" : ending;
    }
    void set(size_t at, std::string line)
    {
        if (!ends[at].empty())
            ends[at] = endingFor(line, ends[at]);
        lines[at] = std::move(line);
    }
    void insert(size_t at, std::string line)
    {
        if (at > 0 && ends[at - 1].empty())
            ends[at - 1] = endingFor(lines[at - 1], eol);
        ends.insert(ends.begin() + long(at), endingFor(line, eol));
        lines.insert(lines.begin() + long(at), std::move(line));
    }
};

constexpr std::string_view kBlanks = " \t";

std::string_view trim(std::string_view s)
{
    size_t b = s.find_first_not_of(kBlanks);
    if (b == std::string_view::npos)
        return {};
    size_t e = s.find_last_not_of(kBlanks);
    return s.substr(b, e - b + 1);
}

File load(std::string_view path)
{
    File f;
    std::FILE *fp = cp1252::openFile(path, "rb");
    if (!fp)
        return f;
    f.missing = false;
    std::string data;
    char buf[8192];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, fp)) > 0)
        data.append(buf, n);
    std::fclose(fp);
    size_t nl = data.find('\n');
    if (nl != std::string::npos && nl > 0 && data[nl - 1] == '\r')
        f.eol = "\r\n";
    size_t start = 0;
    while (start < data.size()) {
        size_t end = data.find('\n', start);
        std::string_view line(data.data() + start, (end == std::string::npos ? data.size() : end) - start);
        std::string_view ending;
        if (end != std::string::npos) {
            const bool cr = !line.empty() && line.back() == '\r';
            if (cr)
                line.remove_suffix(1);
            ending = cr ? "\r\n" : "\n";
        }
        f.lines.emplace_back(line);
        f.ends.emplace_back(ending);
        start = end == std::string::npos ? data.size() : end + 1;
    }
    return f;
}

// The section's name when the line is a section header, else nothing.
bool sectionName(std::string_view line, std::string_view &name)
{
    line = trim(line);
    if (line.size() < 2 || line.front() != '[')
        return false;
    size_t close = line.find(']');
    if (close == std::string_view::npos)
        return false;
    name = trim(line.substr(1, close - 1));
    return true;
}

// Splits a key line; false for comments and lines without "=".
bool keyValue(std::string_view line, std::string_view &key, std::string_view &value)
{
    std::string_view t = trim(line);
    if (t.empty() || t.front() == ';' || t.front() == '#')
        return false;
    size_t eq = t.find('=');
    if (eq == std::string_view::npos)
        return false;
    key = trim(t.substr(0, eq));
    value = trim(t.substr(eq + 1));
    return true;
}

// Index of the section's header line, or -1.
long findSection(const File &f, std::string_view section)
{
    for (size_t i = 0; i < f.lines.size(); ++i) {
        std::string_view name;
        if (sectionName(f.lines[i], name) && cp1252::equalNoCase(name, section))
            return long(i);
    }
    return -1;
}

// One past the last line of the section that starts at header.
size_t sectionEnd(const File &f, size_t header)
{
    std::string_view name;
    size_t i = header + 1;
    while (i < f.lines.size() && !sectionName(f.lines[i], name))
        ++i;
    return i;
}

long findKey(const File &f, size_t header, std::string_view key)
{
    size_t end = sectionEnd(f, header);
    for (size_t i = header + 1; i < end; ++i) {
        std::string_view k, v;
        if (keyValue(f.lines[i], k, v) && cp1252::equalNoCase(k, key))
            return long(i);
    }
    return -1;
}

bool lookup(std::string_view path, std::string_view section, std::string_view key,
            std::string &value)
{
    File f = load(path);
    long header = findSection(f, section);
    if (header < 0)
        return false;
    long at = findKey(f, size_t(header), key);
    if (at < 0)
        return false;
    std::string_view k, v;
    keyValue(f.lines[size_t(at)], k, v);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.substr(1, v.size() - 2);
    value = v;
    return true;
}

std::string folderOf(const std::string &path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Holds an exclusive advisory lock on a folder for as long as it lives.
class FolderLock {
public:
    explicit FolderLock(const std::string &folder)
        : m_fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC))
    {
        if (m_fd >= 0)
            while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {}
    }
    ~FolderLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;
    bool held() const { return m_fd >= 0; }

private:
    int m_fd;
};

bool writeAll(int fd, const std::string &data)
{
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

// Writes the lines to a temporary file beside path and renames it over path.
bool replace(const std::string &path, const File &f)
{
    std::string data;
    for (size_t i = 0; i < f.lines.size(); ++i)
        data += f.lines[i] + f.ends[i];
    std::string tmp = folderOf(path) + "/.ini.XXXXXX";
    int fd = ::mkstemp(tmp.data());
    if (fd < 0)
        return false;
    struct stat st;
    mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    bool ok = ::fchmod(fd, mode) == 0 && writeAll(fd, data) && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    if (ok && ::rename(tmp.c_str(), path.c_str()) == 0)
        return true;
    ::unlink(tmp.c_str());
    return false;
}

} // namespace

std::string readString(std::string_view file, std::string_view section, std::string_view key,
                       std::string_view def, size_t maxLength)
{
    std::string value;
    if (!lookup(file, section, key, value))
        value = def;
    if (value.size() > maxLength)
        value.resize(maxLength);
    return value;
}

int readInt(std::string_view file, std::string_view section, std::string_view key, int def)
{
    std::string value;
    if (!lookup(file, section, key, value))
        return def;
    return int(std::strtol(value.c_str(), nullptr, 10));
}

std::vector<std::string> readKeys(std::string_view file, std::string_view section)
{
    std::vector<std::string> keys;
    File f = load(file);
    long header = findSection(f, section);
    if (header < 0)
        return keys;
    size_t end = sectionEnd(f, size_t(header));
    for (size_t i = size_t(header) + 1; i < end; ++i) {
        std::string_view k, v;
        if (keyValue(f.lines[i], k, v))
            keys.emplace_back(k);
    }
    return keys;
}

std::vector<std::string> readSections(std::string_view file)
{
    std::vector<std::string> names;
    for (const std::string &line : load(file).lines) {
        std::string_view name;
        if (sectionName(line, name))
            names.emplace_back(name);
    }
    return names;
}

std::vector<std::string> readSectionLines(std::string_view file, std::string_view section)
{
    std::vector<std::string> lines;
    File f = load(file);
    long header = findSection(f, section);
    if (header < 0)
        return lines;
    size_t end = sectionEnd(f, size_t(header));
    for (size_t i = size_t(header) + 1; i < end; ++i) {
        std::string_view k, v;
        if (keyValue(f.lines[i], k, v))
            lines.emplace_back(trim(f.lines[i]));
    }
    return lines;
}

bool hasSection(std::string_view file, std::string_view section)
{
    return findSection(load(file), section) >= 0;
}

bool writeString(std::string_view file, std::string_view section, std::string_view key,
                 std::string_view value)
{
    const std::string path = cp1252::fileName(file);
    FolderLock lock(folderOf(path));
    if (!lock.held())
        return false;
    File f = load(file);
    std::string line = std::string(key) + "=" + std::string(value);
    long header = findSection(f, section);
    if (header < 0) {
        if (!f.lines.empty() && !trim(f.lines.back()).empty())
            f.insert(f.lines.size(), {});
        f.insert(f.lines.size(), "[" + std::string(section) + "]");
        f.insert(f.lines.size(), line);
        return replace(path, f);
    }
    long at = findKey(f, size_t(header), key);
    if (at >= 0) {
        const std::string &old = f.lines[size_t(at)];
        f.set(size_t(at), old.substr(0, old.find('=') + 1) + std::string(value));
        return replace(path, f);
    }
    // After the section's last non-blank line.
    size_t end = sectionEnd(f, size_t(header));
    while (end > size_t(header) + 1 && trim(f.lines[end - 1]).empty())
        --end;
    f.insert(end, line);
    return replace(path, f);
}

} // namespace profile
