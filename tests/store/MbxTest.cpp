#include "store/mbx.h"

#include "tests/support/Cp1252.h"
#include "tests/support/TempDir.h"
#include "tests/support/TraceCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A companion head with the name at 0 and the key at 58; other bytes as given.
std::string Head(const std::string& name, const std::string& key, char fill = '\0', size_t length = 90) {
    std::string bytes(90, fill);
    bytes.replace(0, name.size(), name);
    bytes.replace(58, key.size(), key);
    bytes.resize(length, fill);
    return bytes;
}

mbx Analyzed(const std::string& path, bool* result = nullptr) {
    mbx record;
    record.SetFile(path);
    bool ok = record.Analyze();
    if (result) *result = ok;
    return record;
}

std::vector<std::string> CannotOpen(const std::string& path) {
    return {Cp1252("[mbx.Analyze] WARNUNG: Kann Datei \"" + path + "\" nicht zum Lesen öffnen\n")};
}

}  // namespace

TEST(mbx, NameAndKeyComeFromTheCompanionTheSizeFromTheMbxFile) {
    TempDir dir;
    std::string path = dir.Write("Archiv.MBX", "mail", 70000);
    dir.Write("Archiv.PMG", Head("Archiv", "K7", '\0', 500));
    TraceCapture trace;
    bool ok = false;
    mbx record = Analyzed(path, &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(record.fileName, "Archiv.MBX");
    EXPECT_EQ(record.filePath, path);
    EXPECT_EQ(record.folderName, "Archiv");
    EXPECT_EQ(record.hierarchyKey, "K7");
    EXPECT_EQ(record.size, 70000u);
    EXPECT_TRUE(trace.Lines().empty());

    dir.Write("Leer.MBX", "");
    dir.Write("Leer.PMG", Head("Leer", "K8"));
    mbx empty = Analyzed(dir.Path() + "Leer.MBX", &ok);
    EXPECT_TRUE(ok);
    EXPECT_EQ(empty.folderName, "Leer");
    EXPECT_EQ(empty.size, 0u);
}

TEST(mbx, TheLastByteOfEachFieldAlwaysEndsIt) {
    TempDir dir;
    dir.Write("Full.PMG", std::string(90, 'A'));
    mbx full = Analyzed(dir.Write("Full.MBX", "x"));
    EXPECT_EQ(full.folderName, std::string(57, 'A'));
    EXPECT_EQ(full.hierarchyKey, std::string(31, 'A'));

    std::string name = Cp1252("Größe ");
    dir.Write("Bytes.PMG", Head(name, "\x01\xFF", '\x7F', 4000));
    mbx bytes = Analyzed(dir.Write("Bytes.MBX", "x"));
    EXPECT_EQ(bytes.folderName, name + std::string(57 - name.size(), '\x7F'));
    EXPECT_EQ(bytes.hierarchyKey, "\x01\xFF" + std::string(31 - 2, '\x7F'));
}

TEST(mbx, FailuresKeepTheFileAndGiveAStatusText) {
    TempDir dir;
    dir.MakeDir("Dir.MBX");
    for (const std::string name : {"Missing.MBX", "Dir.MBX"}) {
        TraceCapture trace;
        bool ok = true;
        mbx record = Analyzed(dir.Path() + name, &ok);
        EXPECT_FALSE(ok);
        EXPECT_EQ(record.fileName, name);
        EXPECT_EQ(record.folderName, Cp1252("<MBX-Datei konnte nicht zum Lesen geöffnet werden.>"));
        EXPECT_EQ(record.size, 0u);
        EXPECT_EQ(trace.Lines(), CannotOpen(dir.Path() + name));
    }

    {
        TraceCapture trace;
        bool ok = true;
        mbx record = Analyzed(dir.Write("Alone.MBX", "x", 1234), &ok);
        EXPECT_FALSE(ok);
        EXPECT_EQ(record.folderName, Cp1252("<PMG-Datei konnte nicht zum Lesen geöffnet werden.>"));
        EXPECT_EQ(record.size, 1234u);
        EXPECT_EQ(record.hierarchyKey, "");
        EXPECT_EQ(trace.Lines(), CannotOpen(dir.Path() + "Alone.PMG"));
    }

    for (size_t length : {0u, 89u}) {
        TraceCapture trace;
        std::string pmg = dir.Write("Short.PMG", Head("Kurz", "K", '\0', length));
        bool ok = true;
        mbx record = Analyzed(dir.Write("Short.MBX", "x", 555), &ok);
        EXPECT_FALSE(ok);
        EXPECT_EQ(record.fileName, "Short.MBX");
        EXPECT_EQ(record.folderName, Cp1252("<Ordner hat keine gültige PMG-Datei.>"));
        EXPECT_EQ(record.size, 555u);
        EXPECT_EQ(record.hierarchyKey, "");
        EXPECT_EQ(trace.Lines(), std::vector<std::string>{Cp1252("[mbx.Analyze] WARNUNG: Datei \"" + pmg +
                                                                 "\" ist keine gültige PMG-Datei\n")});
    }
}

TEST(mbx, TheCompanionIsFoundWhateverTheCaseOfItsName) {
    TempDir dir;
    dir.Write("Archiv.MBX", "x", 10);
    dir.Write("archiv.pmg", Head("klein", "k"));
    dir.Write("lower.mbx", "x", 20);
    dir.Write("LOWER.PMG", Head("GROSS", "K"));
    EXPECT_EQ(Analyzed(dir.Path() + "Archiv.MBX").folderName, "klein");
    EXPECT_EQ(Analyzed(dir.Path() + "lower.mbx").folderName, "GROSS");

#ifndef _WIN32
    // Where the names are case-sensitive, the exactly named companion wins.
    dir.Write("Archiv.PMG", Head("genau", "g"));
    EXPECT_EQ(Analyzed(dir.Path() + "Archiv.MBX").folderName, "genau");
#endif
}

TEST(mbx, SetFileClearsWhatTheLastFileLeft) {
    TempDir dir;
    dir.Write("A.PMG", Head("Alpha", "KA"));
    mbx record;
    record.SetFile(dir.Write("A.MBX", "x", 300));
    ASSERT_TRUE(record.Analyze());
    record.SetFolderPath("\\x\\");
    record.SetFile(dir.Path() + "Gone.MBX");
    EXPECT_EQ(record.folderName + record.folderPath + record.hierarchyKey, "");
    EXPECT_EQ(record.size, 0u);
    EXPECT_FALSE(record.IsEmpty());
    record.Clear();
    EXPECT_TRUE(record.IsEmpty());
}
