#include "platform/IniFile.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

std::string Applied(std::string bytes, const char* section, const char* key, const char* text) {
    EXPECT_TRUE(IniFile::Apply(bytes, section, key, text));
    return bytes;
}

std::string Found(const std::string& bytes, const char* section, const char* key) {
    std::string value;
    return IniFile::Find(bytes, section, key, value) ? value : "<missing>";
}

// Comments, blank lines, blanks and tabs, mixed line ends, a duplicate
// section and no line end at the end.
const std::string Awkward =
    "; settings\r\n"
    "\r\n"
    "[MainDlg]\n"
    "  Sort = 00 \r\n"
    "\tsort=11\r\n"
    "Bare\r\n"
    "; trailing comment\r\n"
    "\r\n"
    "[Other]\r\n"
    "x=1\r\n"
    "[maindlg]\r\n"
    "Later=2";

}  // namespace

TEST(IniFile, ReadsTheFirstSectionAndKeyOfANameWithBlanksAndQuotesRemoved) {
    EXPECT_EQ(Found(Awkward, "maindlg", "SORT"), "00");
    EXPECT_EQ(Found(Awkward, " MainDlg ", "\tSort "), "00");
    EXPECT_EQ(Found(Awkward, "MainDlg", "Bare"), "<missing>");    // no '=': no value
    EXPECT_EQ(Found(Awkward, "MainDlg", "Later"), "<missing>");   // only in the second section
    EXPECT_EQ(Found(Awkward, "Other", "x"), "1");
    EXPECT_EQ(Found("top=1\r\n[A]\r\nk=2\r\n", "", "top"), "1");
    const std::string brackets = "[A] ; note\r\nk=2\r\n[B]]\r\n[C\r\nk=3\r\n";
    EXPECT_EQ(Found(brackets, "A", "k"), "2");
    EXPECT_EQ(Found(brackets, "B]", "k"), "3");  // the last ']' ends the name
    EXPECT_EQ(Found(brackets, "C", "k"), "<missing>");  // no ']': not a section line
    EXPECT_EQ(Found("[A]\rk=1\rj=2\r", "A", "j"), "2");   // lone CR ends a line too

    IniFile reader;
    char buffer[16];
    const struct { const char* stored; const char* read; } quotes[] = {
        {"\"x\"", "x"}, {"'y'", "y"}, {"\"\"", ""}, {"\"", "\""}, {"\"x'", "\"x'"}, {"\"\"\"", "\""},
        {"\" in \"", " in "}, {"a\"b\"", "a\"b\""},
    };
    TempDir dir;
    int n = 0;
    for (const auto& q : quotes) {
        std::string path = dir.Write("q" + std::to_string(n++) + ".ini", std::string("[A]\r\nk= ") + q.stored + "\t\r\n");
        reader.Read("A", "k", "", buffer, sizeof buffer, path.c_str());
        EXPECT_STREQ(buffer, q.read) << q.stored;
    }
    // The default loses trailing blanks and enclosing quotes, and is cut too.
    EXPECT_EQ(reader.Read("A", "none", "'dflt'  ", buffer, sizeof buffer, nullptr), 4u);
    EXPECT_STREQ(buffer, "dflt");
    EXPECT_EQ(reader.Read("A", "none", "0123456789ABCDEFGH", buffer, sizeof buffer, nullptr), 15u);
}

TEST(IniFile, AWriteChangesOnlyTheLineItConcerns) {
    // Replacing keeps the file's spelling of the key and the line's own end.
    EXPECT_EQ(Applied(Awkward, "MAINDLG", "sort", "22"),
              "; settings\r\n\r\n[MainDlg]\nSort=22\r\n\tsort=11\r\nBare\r\n; trailing comment\r\n\r\n"
              "[Other]\r\nx=1\r\n[maindlg]\r\nLater=2");
    EXPECT_EQ(Applied(Awkward, "MainDlg", "Bare", "  v "),
              "; settings\r\n\r\n[MainDlg]\n  Sort = 00 \r\n\tsort=11\r\nBare=v \r\n; trailing comment\r\n\r\n"
              "[Other]\r\nx=1\r\n[maindlg]\r\nLater=2");
    // A new key goes after the last line of the first section of that name
    // that is not blank, with the file's first line end.
    EXPECT_EQ(Applied(Awkward, "MainDlg", "New", "3"),
              "; settings\r\n\r\n[MainDlg]\n  Sort = 00 \r\n\tsort=11\r\nBare\r\n; trailing comment\r\nNew=3\r\n\r\n"
              "[Other]\r\nx=1\r\n[maindlg]\r\nLater=2");
    // A new section goes to the end, ending the last line first.
    EXPECT_EQ(Applied("[A]\nk=1", " B ", " k ", "v"), "[A]\nk=1\n[B]\nk=v\n");
    EXPECT_EQ(Applied("[A]\nk=1", "A", "j", "2"), "[A]\nk=1\nj=2\n");
    // Lines that end in CR alone: a key written again and again stays one line.
    std::string cr = "[A]\rk=1\r";
    for (const char* value : {"2", "3", "4"}) cr = Applied(Applied(cr, "A", "j", value), "B", "n", value);
    EXPECT_EQ(cr, "[A]\rk=1\rj=4\r[B]\rn=4\r");
    EXPECT_EQ(Applied("", "A", "k", ""), "[A]\r\nk=\r\n");
    EXPECT_EQ(Applied("[A]\r\n", "", "top", "1"), "top=1\r\n[A]\r\n");
}

TEST(IniFile, RemovingTakesTheFirstKeyOrEverySectionOfTheName) {
    const std::string dup = "[A]\r\nk=1\r\nK=2\r\n[a]\r\nk=3\r\nj=4\r\n; c\r\n\r\n[B]\r\nk=5";
    EXPECT_EQ(Applied(dup, "A", "k", nullptr), "[A]\r\nK=2\r\n[a]\r\nk=3\r\nj=4\r\n; c\r\n\r\n[B]\r\nk=5");
    // A key only in a later section of the name is still found.
    EXPECT_EQ(Applied(dup, "A", "j", nullptr), "[A]\r\nk=1\r\nK=2\r\n[a]\r\nk=3\r\n; c\r\n\r\n[B]\r\nk=5");
    EXPECT_EQ(Applied(dup, "A", "none", nullptr), dup);
    EXPECT_EQ(Applied(dup, "a", nullptr, nullptr), "[B]\r\nk=5");
    EXPECT_EQ(Applied(dup, "B", nullptr, nullptr), "[A]\r\nk=1\r\nK=2\r\n[a]\r\nk=3\r\nj=4\r\n; c\r\n\r\n");
}

TEST(IniFile, OnlyRegularFilesOfSensibleSizeAreReadOrReplaced) {
    TempDir dir;
    IniFile ini;
    char buffer[8];
    std::string huge = dir.Write("huge.ini", "[A]\r\nk=1\r\n", IniFile::MaxFileSize + 1);
    EXPECT_EQ(ini.Read("A", "k", "d", buffer, sizeof buffer, huge.c_str()), 1u);
    EXPECT_STREQ(buffer, "d");
    EXPECT_FALSE(ini.Write("A", "k", "2", huge.c_str()));
    EXPECT_EQ(std::filesystem::file_size(huge), IniFile::MaxFileSize + 1);

    std::string folder = dir.MakeDir("folder.ini");
    folder.pop_back();
    EXPECT_FALSE(ini.Write("A", "k", "2", folder.c_str()));
    EXPECT_TRUE(std::filesystem::is_directory(folder));

    std::string ok = dir.Write("ok.ini", "[A]\r\nk=1\r\n");
    EXPECT_TRUE(ini.Write("A", "k", "2", ok.c_str()));
    EXPECT_TRUE(ini.Write("A", "k", "2", ok.c_str()));
    // Nothing but our three files: no temporary file is left beside them.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 3);
}

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

TEST(IniFile, AFolderWeMayNotWriteGetsNoFile) {
    if (geteuid() == 0) GTEST_SKIP() << "an administrator may write into any folder";
    TempDir dir;
    std::string locked = dir.MakeDir("locked");
    std::string path = dir.Write("locked/s.ini", "[A]\nk=1\n");
    chmod(locked.c_str(), 0555);
    IniFile ini;
    EXPECT_FALSE(ini.Write("A", "k", "2", path.c_str()));
    EXPECT_FALSE(ini.Write("A", "k", "2", (locked + "new.ini").c_str()));
    chmod(locked.c_str(), 0755);
    EXPECT_EQ(dir.Read("locked/s.ini"), "[A]\nk=1\n");
}
#endif
