#include "store/pmm.h"

#include "tests/support/Cp1252.h"
#include "tests/support/TempDir.h"
#include "tests/support/TraceCapture.h"

#include <gtest/gtest.h>

#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <fstream>
#endif

namespace {

// A header with the name at 0 and the key at 86; other bytes as given.
std::string Header(const std::string& name, const std::string& key, char fill = '\0') {
    std::string bytes(128, fill);
    bytes.replace(0, name.size(), name);
    bytes.replace(86, key.size(), key);
    return bytes;
}

pmm Analyzed(const std::string& path) {
    pmm record;
    record.SetFile(path);
    record.Analyze();
    return record;
}

}  // namespace

TEST(pmm, AHeaderOfExactly128BytesIsValid) {
    TempDir dir;
    std::string path = dir.Write("Inbox.PMM", Header("Eingang", "K1"));
    pmm record;
    record.SetFile(path);
    EXPECT_TRUE(record.Analyze());
    EXPECT_EQ(record.fileName, "Inbox.PMM");
    EXPECT_EQ(record.filePath, path);
    EXPECT_EQ(record.folderName, "Eingang");
    EXPECT_EQ(record.hierarchyKey, "K1");
    EXPECT_EQ(record.folderPath, "");
    EXPECT_EQ(record.size, 128u);
}

TEST(pmm, FewerThan128BytesAreNoPmmFile) {
    TempDir dir;
    for (size_t length : {0u, 1u, 127u}) {
        std::string path = dir.Write("Short.PMM", Header("Name", "Key").substr(0, length));
        TraceCapture trace;
        pmm record;
        record.SetFile(path);
        EXPECT_FALSE(record.Analyze());
        EXPECT_EQ(record.folderName, Cp1252("<Datei ist keine gültige PMM-Datei.>"));
        EXPECT_EQ(record.size, 0u);
        EXPECT_EQ(record.hierarchyKey, "");
        EXPECT_EQ(record.fileName, "Short.PMM");
        EXPECT_EQ(trace.Lines(),
                  std::vector<std::string>{Cp1252("[pmm.Analyze] WARNUNG: Datei \"" + path +
                                                  "\" ist keine gültige PMM-Datei\n")});
    }
}

TEST(pmm, AFileThatCannotBeOpenedKeepsItsNameAndGetsAStatusText) {
    TempDir dir;
    dir.MakeDir("Folder.PMM");
    for (const std::string name : {"Missing.PMM", "Folder.PMM"}) {
        TraceCapture trace;
        pmm record;
        record.SetFile(dir.Path() + name);
        EXPECT_FALSE(record.Analyze());
        EXPECT_EQ(record.fileName, name);
        EXPECT_EQ(record.folderName, Cp1252("<Datei konnte nicht zum Lesen geöffnet werden.>"));
        EXPECT_EQ(record.size, 0u);
        EXPECT_FALSE(record.ioError) << name;
        EXPECT_EQ(trace.Lines(), std::vector<std::string>{Cp1252("[pmm.Analyze] WARNUNG: Kann Datei \"" +
                                                                 dir.Path() + name +
                                                                 "\" nicht zum Lesen öffnen\n")});
    }
    // A path longer than the OS takes is a file whose size is not known, not one of 0 bytes.
    TraceCapture trace;
    const std::string tooLong = dir.Path() + std::string(40000, 'd') + "/Far.PMM";
    pmm distant;
    distant.SetFile(tooLong);
    EXPECT_FALSE(distant.Analyze());
    EXPECT_EQ(distant.fileName, "Far.PMM");
    EXPECT_TRUE(distant.ioError);
}

TEST(pmm, TheLastByteOfEachFieldAlwaysEndsIt) {
    TempDir dir;
    pmm full = Analyzed(dir.Write("Full.PMM", std::string(128, 'A')));
    EXPECT_EQ(full.folderName, std::string(63, 'A'));
    EXPECT_EQ(full.hierarchyKey, std::string(41, 'A'));

    // A zero at offset 0 leaves the name empty; bytes after the first zero do not count.
    std::string bytes = Header("", "K");
    bytes.replace(1, 5, "ghost");
    pmm empty = Analyzed(dir.Write("Empty.PMM", bytes));
    EXPECT_EQ(empty.folderName, "");
    EXPECT_EQ(empty.hierarchyKey, "K");
}

TEST(pmm, HeaderBytesAreTakenOverUnchanged) {
    TempDir dir;
    std::string name = Cp1252("Größe\t€ x ");
    pmm record = Analyzed(dir.Write("Bytes.PMM", Header(name, "\x01\xFF", '\x7F'), 4096));
    // The fill byte is no terminator: the name runs on up to byte 63.
    EXPECT_EQ(record.folderName, name + std::string(63 - name.size(), '\x7F'));
    EXPECT_EQ(record.hierarchyKey, "\x01\xFF" + std::string(41 - 2, '\x7F'));
    EXPECT_EQ(record.size, 4096u);
}

TEST(pmm, SizesBeyondFourGibibytesAreExact) {
    TempDir dir;
    pmm record = Analyzed(dir.Write("Huge.PMM", Header("Riesig", "H"), (5ull << 30) + 7));
    EXPECT_EQ(record.size, (5ull << 30) + 7);
}

TEST(pmm, SetFileClearsWhatTheLastFileLeft) {
    TempDir dir;
    pmm record;
    record.SetFile(dir.Write("A.PMM", Header("Alpha", "KA"), 300));
    ASSERT_TRUE(record.Analyze());
    record.SetFolderPath("\\x\\");
    record.SetFile(dir.Path() + "Gone.PMM");
    EXPECT_EQ(record.folderName, "");
    EXPECT_EQ(record.folderPath, "");
    EXPECT_EQ(record.hierarchyKey, "");
    EXPECT_EQ(record.size, 0u);
    EXPECT_FALSE(record.IsEmpty());  // the file is bound
    record.Clear();
    EXPECT_TRUE(record.IsEmpty());
}

TEST(pmm, AFileOpenForWritingElsewhereIsStillRead) {
    TempDir dir;
    std::string path = dir.Write("Busy.PMM", Header("Busy", "B"), 200);
#ifdef _WIN32
    // The way a mail client keeps its folder open: writing, sharing reading and writing.
    HANDLE writer = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(writer, INVALID_HANDLE_VALUE);
#else
    std::ofstream writer(path, std::ios::binary | std::ios::in | std::ios::out);
    ASSERT_TRUE(writer.is_open());
#endif
    pmm record = Analyzed(path);
    EXPECT_EQ(record.folderName, "Busy");
    EXPECT_EQ(record.size, 200u);
#ifdef _WIN32
    CloseHandle(writer);
#endif
}
