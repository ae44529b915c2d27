// Repair, compaction, password change and the transformed copies: what they keep, what
// they refuse, and what they leave open.
#include "connection.h"
#include "copycheck.h"
#include "dbtest.h"
#include "fallos.h"
#include "maintenance.h"

#include <cp1252.h>

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace {

using dbtest::exec;
using dbtest::lastErrorText;
using dbtest::rows;

// A second running copy: a child process that opens the database and holds it until
// released.
class OtherCopy {
public:
    OtherCopy(const std::string &path, const char *password, bool exclusive = false)
    {
        int ready[2], done[2];
        if (::pipe(ready) != 0 || ::pipe(done) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(ready[0]);
            ::close(done[1]);
            VASQ_UnlockExclusive(); // a copy of its own holds nothing of this one's
            SetBdPassword(password);
            char status = VASQ_OpenDB(path.c_str(), exclusive, 0) == 0 ? 'y' : 'n';
            (void)!::write(ready[1], &status, 1);
            char go;
            (void)!::read(done[0], &go, 1);
            VASQ_CloseDB();
            ::_exit(0);
        }
        ::close(ready[1]);
        ::close(done[0]);
        char status = 'n';
        (void)!::read(ready[0], &status, 1);
        ::close(ready[0]);
        m_opened = status == 'y';
        m_release = done[1];
    }
    ~OtherCopy()
    {
        if (m_pid <= 0)
            return;
        ::close(m_release);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
    }
    bool opened() const { return m_opened; }

private:
    pid_t m_pid = -1;
    int m_release = -1;
    bool m_opened = false;
};

class Maintenance : public dbtest::DbTest {
protected:
    void SetUp() override
    {
        DbTest::SetUp();
        exec("CREATE TABLE [Librados( Datos )] (Id_librado AUTOINCREMENT, Razon_social TEXT COLLATE ESNOCASE)");
        exec("CREATE INDEX Razon ON [Librados( Datos )] (Razon_social)");
        exec("INSERT INTO [Librados( Datos )] (Razon_social) VALUES ('Nu\xF1" "ez')");
        exec("INSERT INTO [Librados( Datos )] (Razon_social) VALUES ('\xC1lvarez')");
        exec("DELETE FROM [Librados( Datos )] WHERE Id_librado=2");
        exec("PRAGMA user_version=7");
    }

    // Opens path with password and reads what the fixture stored.
    void expectContents(const std::string &path, const char *password)
    {
        VASQ_CloseDB();
        SetBdPassword(password);
        ASSERT_EQ(VASQ_OpenDB(path.c_str(), 0, 0), 0) << lastErrorText();
        EXPECT_EQ(rows("SELECT Razon_social FROM [Librados( Datos )] WHERE Razon_social='NU\xD1" "EZ'"),
                  std::vector<std::string>{"Razon_social=Nu\xF1" "ez"});
        EXPECT_EQ(rows("PRAGMA user_version"), std::vector<std::string>{"user_version=7"});
        exec("INSERT INTO [Librados( Datos )] (Razon_social) VALUES ('x')");
        EXPECT_EQ(VASQ_GetLastInsertID(), 3) << "the key sequence survives";
    }

    // True when the trace level is 0: a failure then leaves no trace line.
    bool traceLevelIsZero()
    {
        std::string trace = dir.file("vasqdb.log");
        std::string before = testutil::readFile(trace);
        VASQ_ExecSQL("DELETE FROM t", nullptr);
        VASQ_GetLastErrorCodeID();
        return testutil::readFile(trace) == before;
    }
};

TEST_F(Maintenance, CompactionKeepsPasswordDataAndVersionAndLeavesTheLibraryClosed)
{
    std::string tmp = dir.file("tmp.mdb");
    testutil::writeFile(tmp, "copia vieja de otra ejecucion");
    VASQ_SetDebug(11);
    EXPECT_EQ(VASQ_CompactBase(db.c_str(), tmp.c_str()), 0) << lastErrorText();
    EXPECT_EQ(VASQ_IsDBOpened(), 0);
    EXPECT_TRUE(traceLevelIsZero());
    EXPECT_FALSE(dbtest::hasPlainHeader(tmp));
    EXPECT_TRUE(testutil::fileExists(db)) << "the source stays; the caller replaces it";
    expectContents(tmp, dbtest::kPassword);
}

TEST_F(Maintenance, CompactionWithAnEmptyPasswordWritesAPlainCopy)
{
    std::string tmp = dir.file("tmp.mdb");
    VASQ_CloseDB();
    ASSERT_EQ(C_ChangePassword(db.c_str(), dbtest::kPassword, ""), 0);
    SetBdPassword("");
    ASSERT_EQ(VASQ_OpenDB(db.c_str(), 0, 0), 0);
    EXPECT_EQ(VASQ_CompactBase(db.c_str(), tmp.c_str()), 0) << lastErrorText();
    EXPECT_TRUE(dbtest::hasPlainHeader(tmp));
    expectContents(tmp, "");
}

TEST_F(Maintenance, RepairChecksTheFileAndLeavesTheLibraryClosed)
{
    VASQ_SetDebug(11);
    EXPECT_EQ(VASQ_RepairBase(db.c_str()), 0) << lastErrorText();
    EXPECT_EQ(VASQ_IsDBOpened(), 0);
    EXPECT_TRUE(traceLevelIsZero());
    expectContents(db, dbtest::kPassword);
}

// Makes the open database at db lose a write: a table L whose index on Nombre says
// 'cambiado' for row 10 while the table's page is back as it was before, with 'nombre 10'
// (an earlier version of a sound page). Leaves the database open.
void loseAWrite(const std::string &db)
{
    dbtest::exec("CREATE TABLE L (Id INTEGER PRIMARY KEY, Nombre TEXT, Nota TEXT)");
    dbtest::exec("CREATE INDEX L_Nombre ON L (Nombre)");
    for (int i = 0; i < 50; ++i)
        dbtest::exec("INSERT INTO L (Nombre, Nota) VALUES ('nombre " + std::to_string(i) + "', 'nota')");
    auto cambia = [&](const char *sql) {
        dbtest::exec(sql);
        VASQ_CloseDB();
        return testutil::readFile(db);
    };
    const std::string inicial = cambia("SELECT 1");
    ASSERT_EQ(VASQ_OpenDB(db.c_str(), 0, 0), 0);
    const std::string conFila = cambia("UPDATE L SET Nota='otra' WHERE Id=10");
    const std::vector<size_t> paginas = testutil::changedPages(inicial, conFila, VASQ_PAGE_SIZE);
    ASSERT_EQ(paginas.size(), 1u) << "the table's page alone";
    ASSERT_EQ(VASQ_OpenDB(db.c_str(), 0, 0), 0);
    std::string bytes = cambia("UPDATE L SET Nombre='cambiado' WHERE Id=10");
    const size_t desde = paginas[0] * VASQ_PAGE_SIZE;
    bytes.replace(desde, VASQ_PAGE_SIZE, conFila, desde, VASQ_PAGE_SIZE);
    testutil::writeFile(db, bytes);
    ASSERT_EQ(VASQ_OpenDB(db.c_str(), 0, 0), 0);
}

// Gives the open database at db a schema that its rows break: after the statements, the
// schema's statement made is replaced (a NOT NULL or a UNIQUE that the rows break).
void breakTheSchema(const std::string &db, std::initializer_list<const char *> statements, const char *made,
                    const char *replaced)
{
    for (const char *statement : statements)
        dbtest::exec(statement);
    dbtest::exec("PRAGMA writable_schema=ON");
    dbtest::exec(std::string("UPDATE sqlite_master SET sql='") + replaced + "' WHERE sql='" + made + "'");
    VASQ_CloseDB();
    ASSERT_EQ(VASQ_OpenDB(db.c_str(), 0, 0), 0);
}

TEST_F(Maintenance, RepairMendsAnIndexThatALostWriteLeftDisagreeingWithItsTable)
{
    loseAWrite(db);
    ASSERT_NE(rows("PRAGMA integrity_check"), std::vector<std::string>{"integrity_check=ok"});
    EXPECT_EQ(VASQ_RepairBase(db.c_str()), 0) << lastErrorText();
    ASSERT_EQ(VASQ_OpenDB(db.c_str(), 0, 0), 0);
    EXPECT_EQ(rows("PRAGMA integrity_check"), std::vector<std::string>{"integrity_check=ok"});
    EXPECT_EQ(rows("SELECT Nombre FROM L WHERE Nombre='nombre 10'"), std::vector<std::string>{"Nombre=nombre 10"})
        << "the table's record, as the page holds it";
}

TEST_F(Maintenance, TheCopysCheckFindsIndexEntriesOutOfOrderAsTheIntegrityCheckDoes)
{
    // Each index written in one order, then declared in another.
    const char *made = "CREATE INDEX L_a ON L (a)";
    for (const auto &[rows, replaced] : {std::pair{"('o'), ('\xC3\x91')", "CREATE INDEX L_a ON L (a COLLATE ESNOCASE)"},
                                         std::pair{"(1), (2.5), (NULL)", "CREATE INDEX L_a ON L (a DESC)"}}) {
        dbtest::exec("DROP TABLE IF EXISTS L");
        breakTheSchema(db, {"CREATE TABLE L (a)", (std::string("INSERT INTO L VALUES ") + rows).c_str(), made}, made,
                       replaced);
        VASQ_CloseDB();
        vasq::Connection connection;
        ASSERT_TRUE(connection.open(db, false, dbtest::kPassword).ok());
        EXPECT_EQ(vasq::checkIntegrity(connection).code, VASQ_ENGINE_ERROR_BASE + 11) << replaced;
        EXPECT_NE(vasq::checkCopy(connection, "main").text.find("fuera de orden"), std::string::npos) << replaced;
        connection.close();
        ASSERT_EQ(VASQ_OpenDB(db.c_str(), 0, 0), 0);
    }
}

class DamagedFile : public Maintenance, public ::testing::WithParamInterface<const char *> {};

TEST_P(DamagedFile, RepairGivesTheEngineFailureAndItsText)
{
    const char *password = GetParam();
    VASQ_CloseDB();
    ASSERT_EQ(C_ChangePassword(db.c_str(), dbtest::kPassword, password), 0);
    SetBdPassword(password);
    ASSERT_EQ(VASQ_OpenDB(db.c_str(), 0, 0), 0);
    exec("CREATE TABLE relleno (a TEXT)");
    for (int i = 0; i < 200; ++i)
        exec("INSERT INTO relleno (a) VALUES ('" + std::string(100, char('a' + i % 26)) + "')");
    VASQ_CloseDB();
    // Whole pages in the middle of the table, so that the file still opens.
    std::string bytes = testutil::readFile(db);
    ASSERT_GT(bytes.size(), 16384u);
    size_t start = bytes.size() / 2 / 4096 * 4096;
    for (size_t i = start; i < start + 4096; ++i)
        bytes[i] = char(0xA5);
    testutil::writeFile(db, bytes);

    ASSERT_EQ(VASQ_OpenDB(db.c_str(), 0, 0), 0) << lastErrorText();
    EXPECT_EQ(VASQ_RepairBase(db.c_str()), VASQ_ENGINE_ERROR_BASE + 11) << "SQLITE_CORRUPT";
    EXPECT_EQ(VASQ_IsDBOpened(), 0);
    std::string text = lastErrorText();
    EXPECT_EQ(text.rfind("(ERROR 100011) ", 0), 0u) << text;
    EXPECT_GT(text.size(), std::string("(ERROR 100011) ").size()) << "the engine says what is damaged";
}

INSTANTIATE_TEST_SUITE_P(PlainAndEncrypted, DamagedFile, ::testing::Values("", dbtest::kPassword));

TEST_F(Maintenance, RepairAndCompactionNeedAnOpenDatabase)
{
    VASQ_CloseDB();
    EXPECT_EQ(VASQ_RepairBase(db.c_str()), 1);
    EXPECT_EQ(VASQ_CompactBase(db.c_str(), dir.file("tmp.mdb").c_str()), 1);
    EXPECT_FALSE(testutil::fileExists(dir.file("tmp.mdb")));
}

TEST_F(Maintenance, RepairAndCompactionRefuseWhileAnotherCopyHoldsTheDatabase)
{
    VASQ_CloseDB();
    OtherCopy other(db, dbtest::kPassword);
    ASSERT_TRUE(other.opened());
    std::string tmp = dir.file("tmp.mdb");
    for (int attempt = 0; attempt < 2; ++attempt) {
        ASSERT_EQ(VASQ_OpenDB(db.c_str(), 0, 0), 0) << "a shared open works beside the other copy";
        int rc = attempt == 0 ? VASQ_RepairBase(db.c_str()) : VASQ_CompactBase(db.c_str(), tmp.c_str());
        EXPECT_EQ(rc, 1);
        EXPECT_EQ(VASQ_IsDBOpened(), 0);
        EXPECT_EQ(VASQ_GetLastErrorCodeID(), VASQ_ERR_INUSE);
    }
    EXPECT_FALSE(testutil::fileExists(tmp));
    EXPECT_EQ(VASQ_OpenDB(db.c_str(), 1, 0), VASQ_ERR_INUSE) << "nor can it be opened exclusively";
    EXPECT_EQ(C_ChangePassword(db.c_str(), dbtest::kPassword, "nueva"), 1);
}

TEST_F(Maintenance, ExclusiveOpenKeepsOtherCopiesOut)
{
    VASQ_CloseDB();
    ASSERT_EQ(VASQ_OpenDB(db.c_str(), 1, 0), 0);
    OtherCopy other(db, dbtest::kPassword);
    EXPECT_FALSE(other.opened());
}

TEST_F(Maintenance, HeldLockCarriesASequenceAndKeepsOtherCopiesOut)
{
    EXPECT_EQ(VASQ_LockExclusive(db.c_str()), VASQ_ERR_ALREADYOPEN) << "close first";
    VASQ_CloseDB();
    {
        OtherCopy other(db, dbtest::kPassword);
        ASSERT_TRUE(other.opened());
        EXPECT_EQ(VASQ_LockExclusive(db.c_str()), VASQ_ERR_INUSE) << "another copy has it open";
    }
    ASSERT_EQ(VASQ_LockExclusive(db.c_str()), 0);
    OtherCopy kept(db, dbtest::kPassword);
    EXPECT_FALSE(kept.opened());

    // The sequence of the last copy out, all under the one lock.
    std::string tmp = dir.file("tmp.mdb");
    ASSERT_EQ(VASQ_OpenDB(db.c_str(), 0, 0), 0) << lastErrorText();
    EXPECT_EQ(VASQ_UnlockExclusive(), VASQ_ERR_ALREADYOPEN) << "the open database relies on it";
    EXPECT_EQ(VASQ_CompactBase(db.c_str(), tmp.c_str()), 0) << lastErrorText();
    EXPECT_EQ(C_ChangePassword(tmp.c_str(), dbtest::kPassword, dbtest::kPassword), 0);
    EXPECT_EQ(C_ChangePassword(db.c_str(), dbtest::kPassword, dbtest::kPassword), 0);
    OtherCopy stillKept(db, dbtest::kPassword);
    EXPECT_FALSE(stillKept.opened()) << "closing and compacting keep holding it";

    EXPECT_EQ(VASQ_UnlockExclusive(), 0);
    OtherCopy after(db, dbtest::kPassword);
    EXPECT_TRUE(after.opened());
}

struct PasswordChange {
    const char *from;
    const char *to;
    bool plainAfter;
    const char *why;
};

const PasswordChange kChanges[] = {
    {dbtest::kPassword, "Nueva\xD1", false, "encrypted to encrypted, with a Windows-1252 letter"},
    {"", "mxTalvero", false, "a copy rebuilt plain gets the database password"},
    {dbtest::kPassword, "", true, "the scrambled copy is written from a plain file"},
};

class PasswordChangeTest : public Maintenance, public ::testing::WithParamInterface<PasswordChange> {};

TEST_P(PasswordChangeTest, RewritesTheFileUnderTheNewPassword)
{
    const PasswordChange &change = GetParam();
    VASQ_CloseDB();
    if (*change.from == '\0') {
        ASSERT_EQ(C_ChangePassword(db.c_str(), dbtest::kPassword, ""), 0);
    }
    ASSERT_EQ(C_ChangePassword(db.c_str(), "equivocada", change.to), 1) << "the old password must be right";
    EXPECT_EQ(C_ChangePassword(db.c_str(), change.from, change.to), 0) << change.why;
    EXPECT_EQ(dbtest::hasPlainHeader(db), change.plainAfter) << change.why;
    SetBdPassword(change.from);
    EXPECT_NE(VASQ_OpenDB(db.c_str(), 0, 0), 0) << "the old password no longer opens it";
    expectContents(db, change.to);
}

INSTANTIATE_TEST_SUITE_P(Cases, PasswordChangeTest, ::testing::ValuesIn(kChanges));

TEST_F(Maintenance, PasswordChangeRefusesAnOpenFileAndLongPasswords)
{
    EXPECT_EQ(C_ChangePassword(db.c_str(), dbtest::kPassword, "nueva"), 1) << "this copy has it open";
    VASQ_CloseDB();
    std::string tooLong(VASQ_MAX_PASSWORD + 1, 'k');
    EXPECT_EQ(C_ChangePassword(db.c_str(), dbtest::kPassword, tooLong.c_str()), 1);
    EXPECT_EQ(C_ChangePassword(dir.file("nada.mdb").c_str(), "", "x"), 1);
    EXPECT_FALSE(testutil::fileExists(dir.file("nada.mdb")));
    expectContents(db, dbtest::kPassword);
}

// ---- Transformed copies ----

// A stored form that depends on each byte's offset, and is not its own inverse.
unsigned char keyAt(long long offset)
{
    return (unsigned char)(offset * 131 + 17);
}

void encodeBytes(void *bytes, long length, long long offset)
{
    auto *p = static_cast<unsigned char *>(bytes);
    for (long i = 0; i < length; ++i)
        p[i] = (unsigned char)(((p[i] << 3) | (p[i] >> 5)) ^ keyAt(offset + i));
}

void decodeBytes(void *bytes, long length, long long offset)
{
    auto *p = static_cast<unsigned char *>(bytes);
    for (long i = 0; i < length; ++i) {
        unsigned char b = p[i] ^ keyAt(offset + i);
        p[i] = (unsigned char)((b >> 3) | (b << 5));
    }
}

// The names in the folder, without the side lock files, the journals and the trace.
std::set<std::string> folderNames(const std::string &folder)
{
    std::set<std::string> names;
    for (const auto &entry : std::filesystem::directory_iterator(folder)) {
        std::string name = entry.path().filename().string();
        if (name != "vasqdb.log" && name.find(".lck") == std::string::npos && name.find(".mdb-") == std::string::npos)
            names.insert(name);
    }
    return names;
}

TEST_F(Maintenance, TransformedCopyIsCompactedPlainAndComesBackKeyed)
{
    exec("CREATE TABLE relleno (a TEXT)");
    exec("CREATE INDEX relleno_largo ON relleno (length(a)) WHERE a > 'm'"); // checked by the engine's own check
    for (int i = 0; i < 300; ++i)
        exec("INSERT INTO relleno (a) VALUES ('" + std::string(1000, char('a' + i % 26)) + "')");
    exec("DELETE FROM relleno");
    ASSERT_NE(rows("PRAGMA freelist_count"), std::vector<std::string>{"freelist_count=0"});
    VASQ_CloseDB();
    OtherCopy other(db, dbtest::kPassword);
    ASSERT_TRUE(other.opened()) << "another running copy uses it meanwhile";
    ASSERT_EQ(VASQ_OpenDB(db.c_str(), 0, 0), 0) << "and so does this one";
    // Names that a URI would misread, and a Windows-1252 letter.
    const std::string copy = dir.file("Copia 50% #1?\xF1.mcr"), osCopy = cp1252::fileName(copy);
    testutil::writeFile(osCopy, "copia anterior");

    ASSERT_EQ(VASQ_ExportTransformed(db.c_str(), dbtest::kPassword, copy.c_str(), encodeBytes, decodeBytes), 0)
        << lastErrorText();
    EXPECT_EQ(VASQ_IsDBOpened(), 1) << "this copy's open database is not touched";
    EXPECT_EQ(rows("SELECT count(*) AS n FROM relleno"), std::vector<std::string>{"n=0"});
    std::string plain = testutil::readFile(osCopy);
    EXPECT_FALSE(dbtest::hasPlainHeader(osCopy)) << "the file holds the stored form";
    decodeBytes(plain.data(), long(plain.size()), 0);
    ASSERT_EQ(plain.rfind("SQLite format 3", 0), 0u) << "decoded, a plain database";
    EXPECT_EQ(folderNames(dir.path()), (std::set<std::string>{"Copia 50% #1?\xC3\xB1.mcr", "Orvanta.mdb"}));
    std::string plainDb = dir.file("plana.mdb");
    testutil::writeFile(plainDb, plain);
    expectContents(plainDb, "");
    EXPECT_EQ(rows("PRAGMA freelist_count"), std::vector<std::string>{"freelist_count=0"}) << "compacted";

    const std::string rebuilt = dir.file("Nueva #\xF1.mdb");
    ASSERT_EQ(VASQ_ImportTransformed(copy.c_str(), decodeBytes, rebuilt.c_str(), dbtest::kPassword), 0)
        << lastErrorText();
    EXPECT_FALSE(dbtest::hasPlainHeader(cp1252::fileName(rebuilt)));
    expectContents(rebuilt, dbtest::kPassword);
    expectContents(db, dbtest::kPassword);
}

struct CopyFailure {
    const char *why;
    // Runs the call on the fixture's database db in folder, after readying what it needs;
    // gives the call's result and the file that must stay as it was.
    int (*run)(const std::string &folder, const std::string &db, std::string &kept);
    int expected; // 1: any engine code
};

int exportTo(const std::string &source, const char *password, const std::string &copy)
{
    return VASQ_ExportTransformed(source.c_str(), password, copy.c_str(), encodeBytes, decodeBytes);
}

const CopyFailure kCopyFailures[] = {
    {"export under a wrong password",
     [](const std::string &folder, const std::string &db, std::string &kept) {
         kept = folder + "Orvanta.mcr";
         return exportTo(db, "equivocada", kept);
     },
     1},
    {"export into a folder that does not exist",
     [](const std::string &folder, const std::string &db, std::string &kept) {
         kept = folder + "Orvanta.mcr";
         return exportTo(db, dbtest::kPassword, folder + "no/existe.mcr");
     },
     1},
    {"export while another copy holds the database alone",
     [](const std::string &folder, const std::string &db, std::string &kept) {
         kept = folder + "Orvanta.mcr";
         VASQ_CloseDB();
         VASQ_SetDebug(11);
         OtherCopy other(db, dbtest::kPassword, true);
         return other.opened() ? exportTo(db, dbtest::kPassword, kept) : 0;
     },
     VASQ_ERR_INUSE},
    {"export without a transform to undo the stored form",
     [](const std::string &folder, const std::string &db, std::string &kept) {
         kept = folder + "Orvanta.mcr";
         return VASQ_ExportTransformed(db.c_str(), dbtest::kPassword, kept.c_str(), encodeBytes, nullptr);
     },
     VASQ_ERR_ARGUMENT},
    {"export of a database whose index lost a write",
     [](const std::string &folder, const std::string &db, std::string &kept) {
         kept = folder + "Orvanta.mcr";
         loseAWrite(db);
         VASQ_SetDebug(11);
         return exportTo(db, dbtest::kPassword, kept);
     },
     VASQ_ENGINE_ERROR_BASE + 11},
    {"export of a database with a null where its table admits none",
     [](const std::string &folder, const std::string &db, std::string &kept) {
         kept = folder + "Orvanta.mcr";
         breakTheSchema(db, {"CREATE TABLE L (a INTEGER)", "INSERT INTO L VALUES (NULL)"}, "CREATE TABLE L (a INTEGER)",
                        "CREATE TABLE L (a INTEGER NOT NULL)");
         VASQ_SetDebug(11);
         return exportTo(db, dbtest::kPassword, kept);
     },
     VASQ_ENGINE_ERROR_BASE + 11},
    {"export of a database whose unique index holds a key twice",
     [](const std::string &folder, const std::string &db, std::string &kept) {
         kept = folder + "Orvanta.mcr";
         breakTheSchema(db,
                        {"CREATE TABLE L (a TEXT)", "INSERT INTO L VALUES ('x')", "INSERT INTO L VALUES ('X')",
                         "CREATE INDEX L_a ON L (a COLLATE NOCASE)"},
                        "CREATE INDEX L_a ON L (a COLLATE NOCASE)", "CREATE UNIQUE INDEX L_a ON L (a COLLATE NOCASE)");
         VASQ_SetDebug(11);
         return exportTo(db, dbtest::kPassword, kept);
     },
     VASQ_ENGINE_ERROR_BASE + 11},
    {"rebuild from a copy that is no database once decoded",
     [](const std::string &folder, const std::string &, std::string &kept) {
         kept = folder + "Destino.mdb";
         testutil::writeFile(folder + "basura.mcr", std::string(5000, 'x'));
         return VASQ_ImportTransformed((folder + "basura.mcr").c_str(), decodeBytes, kept.c_str(), dbtest::kPassword);
     },
     1},
    {"export when the disk fills up",
     [](const std::string &folder, const std::string &db, std::string &kept) {
         kept = folder + "Orvanta.mcr";
         fallos::DiscoLleno full(4096);
         return exportTo(db, dbtest::kPassword, kept);
     },
     1},
    {"rebuild when the new file cannot be renamed into place",
     [](const std::string &folder, const std::string &db, std::string &kept) {
         kept = folder + "Destino.mdb";
         EXPECT_EQ(exportTo(db, dbtest::kPassword, folder + "Orvanta.mcr"), 0);
         fallos::RenombrarFalla refused;
         return VASQ_ImportTransformed((folder + "Orvanta.mcr").c_str(), decodeBytes, kept.c_str(), dbtest::kPassword);
     },
     1},
    {"rebuild over the database this copy has open",
     [](const std::string &folder, const std::string &db, std::string &kept) {
         kept = db;
         EXPECT_EQ(exportTo(db, dbtest::kPassword, folder + "Orvanta.mcr"), 0);
         return VASQ_ImportTransformed((folder + "Orvanta.mcr").c_str(), decodeBytes, db.c_str(), dbtest::kPassword);
     },
     VASQ_ERR_INUSE},
};

class CopyFailureTest : public Maintenance, public ::testing::WithParamInterface<CopyFailure> {};

TEST_P(CopyFailureTest, LeavesTheTargetAndTheFolderAsTheyWere)
{
    const CopyFailure &failure = GetParam();
    VASQ_ExecSQL("PRAGMA wal_checkpoint(TRUNCATE)", nullptr);
    testutil::writeFile(dir.file("Orvanta.mcr"), "copia anterior");
    testutil::writeFile(dir.file("Destino.mdb"), "base anterior");
    const std::string dbBytes = testutil::readFile(db);
    const std::set<std::string> before = folderNames(dir.path());
    VASQ_SetDebug(11);

    std::string kept;
    const int rc = failure.run(dir.path(), db, kept);
    if (failure.expected == 1)
        EXPECT_GT(rc, VASQ_ENGINE_ERROR_BASE) << failure.why;
    else
        EXPECT_EQ(rc, failure.expected) << failure.why;
    EXPECT_EQ(VASQ_GetLastErrorCodeID(), rc) << "recorded";
    const std::string expected = kept == db                     ? dbBytes
                                 : kept == dir.file("Destino.mdb") ? "base anterior"
                                                                   : "copia anterior";
    EXPECT_EQ(testutil::readFile(kept), expected) << failure.why;
    std::set<std::string> after = folderNames(dir.path());
    after.erase("basura.mcr");
    EXPECT_EQ(after, before) << "nothing left behind: " << failure.why;
    EXPECT_NE(testutil::readFile(dir.file("vasqdb.log")).find("Transformed: ] "), std::string::npos)
        << "traced: " << failure.why;
    expectContents(db, dbtest::kPassword);
}

INSTANTIATE_TEST_SUITE_P(Cases, CopyFailureTest, ::testing::ValuesIn(kCopyFailures));

} // namespace
