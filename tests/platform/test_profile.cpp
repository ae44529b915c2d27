// The ini layer: reading, in-place writing, and two processes sharing one file.
#include "profile.h"
#include "testutil.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class Profile : public ::testing::Test {
protected:
    testutil::TempDir dir;
    std::string ini = dir.file("Orvanta.INI");
};

TEST_F(Profile, ReadsWithoutRegardToCase)
{
    testutil::writeFile(ini,
                        "; comment\r\n[General]\r\nNumOrden = 7 \r\nRuta CSB.19=\"/tmp/x\"\r\n"
                        "[GENERAL]\r\nNumOrden=99\r\n");
    EXPECT_EQ(profile::readInt(ini, "GENERAL", "numorden", 1), 7) << "first section wins";
    EXPECT_EQ(profile::readString(ini, "general", "RUTA CSB.19", ""), "/tmp/x")
        << "blanks and dots in keys, quotes removed";
    EXPECT_EQ(profile::readString(ini, "General", "Missing", "def"), "def");
    EXPECT_EQ(profile::readString(ini, "Nowhere", "NumOrden", "def"), "def");
    EXPECT_EQ(profile::readString(ini, "General", "Ruta CSB.19", "", 3), "/tm");
    EXPECT_EQ(profile::readInt(dir.file("none.ini"), "General", "NumOrden", 5), 5);
}

TEST_F(Profile, ListsKeysInFileOrder)
{
    testutil::writeFile(ini, "[LINEAS]\nCabecera=51,1,2\n; no\nnothing\nDetalle=56,1,2\n[Otra]\nX=1\n");
    std::vector<std::string> keys = profile::readKeys(ini, "lineas");
    EXPECT_EQ(keys, (std::vector<std::string>{"Cabecera", "Detalle"}));
    EXPECT_TRUE(profile::readKeys(ini, "absent").empty());

    testutil::writeFile(ini, "[LINEAS]\n[Otra]\nX=1\n");
    EXPECT_TRUE(profile::hasSection(ini, "Lineas")) << "an empty section exists";
    EXPECT_FALSE(profile::hasSection(ini, "absent"));
    EXPECT_FALSE(profile::hasSection(dir.file("none.ini"), "LINEAS"));
}

TEST_F(Profile, ListsSectionsAndWholeLinesInFileOrder)
{
    testutil::writeFile(ini, "; c\r\n[LINEAS]\r\n  Cabecera = 51, 1,2 \r\n; no\r\nnothing\r\n[ Detalle ]\r\n[Otra]\r\nX=\r\n");
    EXPECT_EQ(profile::readSections(ini), (std::vector<std::string>{"LINEAS", "Detalle", "Otra"}));
    EXPECT_EQ(profile::readSectionLines(ini, "lineas"), (std::vector<std::string>{"Cabecera = 51, 1,2"}))
        << "key lines only, kept whole inside, trimmed outside";
    EXPECT_EQ(profile::readSectionLines(ini, "Otra"), (std::vector<std::string>{"X="}));
    EXPECT_TRUE(profile::readSectionLines(ini, "Detalle").empty());
    EXPECT_TRUE(profile::readSectionLines(ini, "absent").empty());
    EXPECT_TRUE(profile::readSections(dir.file("none.ini")).empty());
}

TEST_F(Profile, WritesOneKeyInPlaceKeepingEveryOtherLine)
{
    const std::string before = "; settings\r\n[WINDOW]\r\nTop=10\r\nLeft=20\r\n\r\n[URL]\r\nWeb=x\r\n";
    testutil::writeFile(ini, before);
    ASSERT_TRUE(profile::writeString(ini, "window", "LEFT", "33"));
    EXPECT_EQ(testutil::readFile(ini),
              "; settings\r\n[WINDOW]\r\nTop=10\r\nLeft=33\r\n\r\n[URL]\r\nWeb=x\r\n");

    ASSERT_TRUE(profile::writeString(ini, "WINDOW", "Width", "640"));
    EXPECT_EQ(testutil::readFile(ini),
              "; settings\r\n[WINDOW]\r\nTop=10\r\nLeft=33\r\nWidth=640\r\n\r\n[URL]\r\nWeb=x\r\n")
        << "a new key follows the section's last key";

    ASSERT_TRUE(profile::writeString(ini, "FICHEROCSB", "UltimoFichero", "3"));
    EXPECT_EQ(profile::readInt(ini, "FicheroCSB", "ultimofichero", 0), 3);
    EXPECT_EQ(profile::readString(ini, "URL", "Web", ""), "x");
}

// Files written by other programs end their lines in any way; a rewrite keeps every byte
// but the written key's line.
TEST_F(Profile, RewriteKeepsEveryOtherLineEndingAsItWas)
{
    struct Caso {
        const char *antes;
        const char *section, *key;
        const char *despues;
        const char *porque;
    } casos[] = {
        {"[A]\nk1=v1\r\r\nk2=v2\r\n", "A", "k2", "[A]\nk1=v1\r\r\nk2=new\r\n",
         "a bare LF first and CR CR LF later: the other key keeps its CR"},
        {"[A]\r\nk1=v1\r\r\nk2=v2\n", "A", "k1", "[A]\r\nk1=new\r\nk2=v2\n",
         "the written line loses its stray CR, the bare LF after it stays"},
        {"[A]\nk1=v1\r\n[B]\r\nx=1", "A", "k1", "[A]\nk1=new\r\n[B]\r\nx=1",
         "a last line without ending keeps having none"},
        {"[A]\nk1=v1\r\n[B]\r\nx=1", "B", "y", "[A]\nk1=v1\r\n[B]\r\nx=1\ny=new\n",
         "a key after a last line without ending: that line gets the first line's ending"},
        {"[A]\r\nk1=v1\n\n[B]\nx=1\n", "A", "k2", "[A]\r\nk1=v1\nk2=new\r\n\n[B]\nx=1\n",
         "a new key takes the first line's ending, the blank line stays"},
        {"[A]\r\nk1=v1", "C", "z", "[A]\r\nk1=v1\r\n\r\n[C]\r\nz=new\r\n", "a new section at the end"},
        {"[A]\nx=\r", "A", "y", "[A]\nx=\r\r\ny=new\n", "a last line ending in a bare CR keeps it"},
    };
    for (const Caso &c : casos) {
        testutil::writeFile(ini, c.antes);
        ASSERT_TRUE(profile::writeString(ini, c.section, c.key, "new")) << c.porque;
        EXPECT_EQ(testutil::readFile(ini), c.despues) << c.porque;
        EXPECT_EQ(profile::readString(ini, c.section, c.key, ""), "new") << c.porque;
    }
}

TEST_F(Profile, CreatesAMissingFileAndRefusesAnImpossibleOne)
{
    ASSERT_TRUE(profile::writeString(ini, "GENERAL", "Idioma", "0"));
    EXPECT_EQ(testutil::readFile(ini), "[GENERAL]\nIdioma=0\n");
    EXPECT_FALSE(profile::writeString(dir.file("no/such/folder.ini"), "A", "B", "C"));
}

TEST_F(Profile, WindowsTextInValuesAndNames)
{
    ASSERT_TRUE(profile::writeString(ini, "Se\xF1" "al", "A\xF1o", "Pe\xF1" "a \x80"));
    EXPECT_EQ(profile::readString(ini, "SE\xD1" "AL", "A\xD1O", ""), "Pe\xF1" "a \x80");
}

TEST_F(Profile, TwoProcessesWritingAtOnceLoseNoKey)
{
    constexpr int kKeys = 150;
    pid_t child = fork();
    ASSERT_GE(child, 0);
    const char *who = child == 0 ? "child" : "parent";
    bool ok = true;
    for (int i = 0; i < kKeys; ++i)
        ok = profile::writeString(ini, "SHARED", std::string(who) + std::to_string(i), "v") && ok;
    if (child == 0)
        _exit(ok ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(ok);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(profile::readKeys(ini, "SHARED").size(), size_t(2 * kKeys));
}

} // namespace
