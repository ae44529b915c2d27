#include "cipherkey.h"

#include <cp1252.h>
#include <sqlite3.h>

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <array>
#include <deque>
#include <mutex>
#include <utility>

namespace vasq {
namespace {

// The engine's derivation of a file's key: PBKDF2 with HMAC-SHA1, 64,000 rounds, a key of
// 32 bytes from a salt of 16.
constexpr int kRounds = 64000;
constexpr size_t kKeyBytes = 32;
constexpr size_t kSaltBytes = 16;

using Salt = std::array<unsigned char, kSaltBytes>;

// The keys derived in this run, newest last: a run derives a handful (its database and
// the copies it writes).
constexpr size_t kKeptKeys = 8;
std::mutex g_lock;
std::deque<std::pair<std::string, std::string>> g_keys; // password and salt, raw key

// Read through the engine's own handle of the file: closing a handle of our own would drop
// every lock the engine's connections of this process hold on it.
bool readSalt(sqlite3 *db, Salt &salt)
{
    sqlite3_file *file = nullptr;
    if (!db || sqlite3_file_control(db, "main", SQLITE_FCNTL_FILE_POINTER, &file) != SQLITE_OK || !file ||
        !file->pMethods)
        return false;
    return file->pMethods->xRead(file, salt.data(), int(salt.size()), 0) == SQLITE_OK;
}

void appendHex(std::string &text, const unsigned char *bytes, size_t count)
{
    static const char digits[] = "0123456789ABCDEF";
    for (size_t i = 0; i < count; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
    }
}

std::string derive(const std::string &password, const Salt &salt)
{
    std::array<unsigned char, kKeyBytes> key;
    if (PKCS5_PBKDF2_HMAC_SHA1(password.data(), int(password.size()), salt.data(), int(salt.size()), kRounds,
                               int(key.size()), key.data()) != 1)
        return {};
    std::string raw = "x'";
    appendHex(raw, key.data(), key.size());
    appendHex(raw, salt.data(), salt.size());
    raw += '\'';
    return raw;
}

} // namespace

std::string engineKey(sqlite3 *db, const std::string &password)
{
    const std::string utf8 = cp1252::toUtf8(password);
    // The engine takes a password of that form as a raw key itself.
    if (utf8.empty() || ((utf8[0] == 'x' || utf8[0] == 'X') && utf8.size() > 1 && utf8[1] == '\''))
        return utf8;
    Salt salt;
    if (!readSalt(db, salt) && RAND_bytes(salt.data(), int(salt.size())) != 1)
        return utf8;
    const std::string known = utf8 + std::string(salt.begin(), salt.end());
    std::lock_guard<std::mutex> guard(g_lock);
    for (const auto &[name, raw] : g_keys)
        if (name == known)
            return raw;
    std::string raw = derive(utf8, salt);
    if (raw.empty())
        return utf8;
    if (g_keys.size() == kKeptKeys)
        g_keys.pop_front();
    g_keys.emplace_back(known, raw);
    return raw;
}

} // namespace vasq
