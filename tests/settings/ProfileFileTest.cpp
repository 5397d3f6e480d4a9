#include "settings/PrivateProfileStore.h"
#include "settings/ProfileFile.h"

#include "platform/FileSystem.h"
#include "tests/settings/Backends.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <filesystem>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

const std::string Main = "MainDlg";

std::string Separator() { return std::string(1, FileSystem::Separator()); }
const int SizeAndPos[4] = {25, 25, 460, 444};
const unsigned char SortBlock[8] = {1, 0, 0, 0, 255, 255, 255, 255};

class ProfileFileTest : public testing::TestWithParam<BackendCase> {
protected:
    // Each fixture gets a file name of its own: the Windows functions may
    // keep a parsed copy of a file they have seen.
    std::string Fixture(const std::string& bytes) {
        return dir.Write("f" + std::to_string(++serial) + ".ini", bytes);
    }
    std::string FixtureName() const { return "f" + std::to_string(serial) + ".ini"; }
    ProfileBackend& Backend() { return *GetParam().backend; }

    std::array<int, 4> ReadSizeAndPos(const std::string& stored) {
        ProfileFile file(Fixture("[MainDlg]\r\nSizeAndPos=" + stored + "\r\n"), Backend());
        std::array<int, 4> out;
        file.ReadIntList(Main, "SizeAndPos", 4, SizeAndPos, out.data());
        return out;
    }

    TempDir dir;
    int serial = 0;
};

using Values = std::array<int, 4>;
const Values Defaults{25, 25, 460, 444};

void MakeReadOnly(const std::string& path) {
#ifdef _WIN32
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
#else
    chmod(path.c_str(), 0444);
#endif
}

void MakeWritable(const std::string& path) {
#ifdef _WIN32
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
#else
    chmod(path.c_str(), 0644);
#endif
}

// Whether this system itself refuses writing a read-only file: a POSIX
// administrator and Wine run as one are not stopped by the mark.
bool SystemHonoursReadOnly(const std::string& path) {
#ifdef _WIN32
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return true;
    CloseHandle(h);
    return false;
#else
    return access(path.c_str(), W_OK) != 0;
#endif
}

}  // namespace

TEST_P(ProfileFileTest, IntListsOfTheWrongShapeReadAsTheDefaults) {
    EXPECT_EQ(ReadSizeAndPos("10, 20, 30"), Defaults);
    EXPECT_EQ(ReadSizeAndPos("1.2:3,4,5"), (Values{1, 2, 3, 4}));
    EXPECT_EQ(ReadSizeAndPos(""), Defaults);
    EXPECT_EQ(ReadSizeAndPos("-1, 0, 70000, 2147483647"), (Values{-1, 0, 70000, INT_MAX}));

    // Defaults and output as one array: the defaults survive a bad value.
    ProfileFile file(Fixture("[MainDlg]\r\nColumns=1, 2\r\nColOrder=2, 0, 1\r\n"), Backend());
    int columns[3] = {80, 60, 200};
    file.ReadIntList(Main, "Columns", 3, columns, columns);
    EXPECT_EQ(columns[0], 80);
    EXPECT_EQ(columns[2], 200);
    int order[3] = {0, 1, 2};
    file.ReadIntList(Main, "ColOrder", 3, order, order);
    EXPECT_EQ(order[0], 2);
    EXPECT_EQ(order[2], 1);
}

TEST_P(ProfileFileTest, NumbersAndFlagsUseTheDefaultOnlyWhenMissingOrEmpty) {
    ProfileFile file(Fixture("[MainDlg]\r\nA=yes\r\nB=2\r\nC=\r\nRate=15s\r\nNeg=-3\r\nZero=0\r\n"), Backend());
    EXPECT_EQ(file.ReadBool(Main, "A", 1), 0);
    EXPECT_EQ(file.ReadBool(Main, "B", 0), 1);
    EXPECT_EQ(file.ReadBool(Main, "C", 1), 1);
    EXPECT_EQ(file.ReadBool(Main, "Missing", 1), 1);
    EXPECT_EQ(file.ReadInt(Main, "Rate", 10), 15);
    EXPECT_EQ(file.ReadInt(Main, "Neg", 10), -3);
    EXPECT_EQ(file.ReadInt(Main, "Zero", 10), 0);
    EXPECT_EQ(file.ReadInt(Main, "C", 10), 10);
    EXPECT_EQ(file.ReadInt("Other", "Rate", 10), 10);
}

TEST_P(ProfileFileTest, StringsPresentButEmptyReadEmptyAndMissingOnesReadTheDefault) {
    std::string path = Fixture("[MainDlg]\r\nMailboxPath=\r\nQuoted=  \"C:\\Mail\\ \"  \r\n");
    ProfileFile file(path, Backend());
    EXPECT_EQ(file.ReadString(Main, "MailboxPath", "C:\\Default"), "");
    EXPECT_EQ(file.ReadString(Main, "mailboxpath", "C:\\Default"), "");
    EXPECT_EQ(file.ReadString(Main, "NewmailPath", "C:\\Default"), "C:\\Default");
    EXPECT_EQ(file.ReadString(Main, "Quoted", ""), "C:\\Mail\\ ");

    ProfileFile missing(dir.Path() + "none.ini", Backend());
    EXPECT_EQ(missing.ReadString(Main, "MailboxPath", "C:\\Default"), "C:\\Default");
    EXPECT_FALSE(std::filesystem::exists(dir.Path() + "none.ini"));
}

TEST_P(ProfileFileTest, LongValuesReadCutTo1023Characters) {
    std::string value(1500, 'v');
    value[1022] = 'x';
    ProfileFile file(Fixture("[MainDlg]\r\nLong=" + value + "\r\n"), Backend());
    size_t count = 0;
    std::string read = file.RawRead(Main, "Long", "", &count);
    EXPECT_EQ(count, 1023u);
    EXPECT_EQ(read, value.substr(0, 1023));
    EXPECT_EQ(file.RawRead(Main, "Other", std::string(2000, 'd')).size(), 1023u);

    // A written value of 1023 characters comes back whole.
    std::string fits(1023, 'f');
    EXPECT_NE(file.WriteString(Main, "Fits", fits), 0);
    EXPECT_EQ(file.ReadString(Main, "Fits", ""), fits);
}

TEST_P(ProfileFileTest, ByteBlocksAreHexAndReadOnlyWhenTheLengthFits) {
    std::string path = Fixture("");
    ProfileFile file(path, Backend());
    ASSERT_NE(file.WriteBinary(Main, "Sort", 8, SortBlock), 0);
    EXPECT_NE(dir.Read(FixtureName()).find("Sort=01000000FFFFFFFF"), std::string::npos);

    auto read = [&](const std::string& text) {
        ProfileFile f(Fixture("[MainDlg]\r\nSort=" + text + "\r\n"), Backend());
        std::array<unsigned char, 8> block{7, 7, 7, 7, 7, 7, 7, 7};
        f.ReadBinary(Main, "Sort", 8, block.data(), block.data());
        return block;
    };
    const std::array<unsigned char, 8> expected{1, 0, 0, 0, 255, 255, 255, 255};
    const std::array<unsigned char, 8> defaults{7, 7, 7, 7, 7, 7, 7, 7};
    EXPECT_EQ(read("01000000ffffffff"), expected);
    EXPECT_EQ(read("01000000FFFFFFFF0"), expected);  // 17 characters still make 8 pairs
    EXPECT_EQ(read("0100"), defaults);
    EXPECT_EQ(read("01G00000FFFFFFFF"), (std::array<unsigned char, 8>{1, 7, 7, 7, 7, 7, 7, 7}));

    // With a separate output block, undecoded bytes keep what the block held;
    // a text of the wrong length still gives the defaults.
    ProfileFile f(Fixture("[MainDlg]\r\nSort=01G00000FFFFFFFF\r\nShort=0100\r\n"), Backend());
    std::array<unsigned char, 8> out{9, 9, 9, 9, 9, 9, 9, 9};
    f.ReadBinary(Main, "Sort", 8, defaults.data(), out.data());
    EXPECT_EQ(out, (std::array<unsigned char, 8>{1, 9, 9, 9, 9, 9, 9, 9}));
    f.ReadBinary(Main, "Short", 8, defaults.data(), out.data());
    EXPECT_EQ(out, defaults);
}

TEST_P(ProfileFileTest, EveryTypeReadsBackWhatWasWritten) {
    ProfileFile file(dir.Path() + "new.ini", Backend());
    const int list[3] = {-5, 0, INT_MAX};
    EXPECT_NE(file.WriteIntList(Main, "List", 3, list), 0);
    EXPECT_NE(file.WriteInt(Main, "Int", INT_MIN), 0);
    EXPECT_NE(file.WriteBool(Main, "Bool", 42), 0);
    EXPECT_NE(file.WriteString(Main, "Text", "C:\\Post f\xFC" "r M\xFC" "ller\\"), 0);
    EXPECT_NE(file.WriteString(Main, "Empty", ""), 0);

    int back[3] = {};
    const int zero[3] = {};
    file.ReadIntList(Main, "List", 3, zero, back);
    EXPECT_EQ(std::memcmp(back, list, sizeof list), 0);
    EXPECT_EQ(file.ReadInt(Main, "Int", 0), INT_MIN);
    EXPECT_EQ(file.ReadBool(Main, "Bool", 0), 1);
    EXPECT_EQ(file.ReadString(Main, "Text", ""), "C:\\Post f\xFC" "r M\xFC" "ller\\");
    EXPECT_EQ(file.ReadString(Main, "Empty", "x"), "");

    // Replacing keeps one key, found under any case.
    EXPECT_NE(file.WriteInt(Main, "INT", 7), 0);
    EXPECT_EQ(file.ReadInt(Main, "int", 0), 7);
    std::string bytes = dir.Read("new.ini");
    EXPECT_EQ(bytes.find("INT="), std::string::npos);
    EXPECT_EQ(bytes.find("Int=7\r\n"), bytes.rfind("Int=7\r\n"));
}

TEST_P(ProfileFileTest, KeysAndSectionsCanBeRemoved) {
    std::string path = Fixture("[MainDlg]\r\nA=1\r\nB=2\r\n[Other]\r\nC=3\r\n");
    ProfileFile file(path, Backend());
    EXPECT_NE(file.DeleteKey(Main, "a"), 0);
    EXPECT_EQ(file.ReadInt(Main, "A", -1), -1);
    EXPECT_EQ(file.ReadInt(Main, "B", -1), 2);
    EXPECT_NE(file.DeleteSection("MAINDLG"), 0);
    EXPECT_EQ(dir.Read(FixtureName()), "[Other]\r\nC=3\r\n");

    // Removing from a missing file succeeds without creating it.
    ProfileFile missing(dir.Path() + "none.ini", Backend());
    EXPECT_NE(missing.DeleteKey(Main, "A"), 0);
    EXPECT_NE(missing.DeleteSection(Main), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.Path() + "none.ini"));
}

TEST_P(ProfileFileTest, WritesThatWouldBreakTheLayoutAreRefused) {
    const std::string original = "[MainDlg]\r\nMailboxPath=C:\\Mail\r\n";
    std::string path = Fixture(original);
    ProfileFile file(path, Backend());
    EXPECT_EQ(file.WriteString(Main, "MailboxPath", "C:\\x\r\n[Evil]\r\nAutoRefresh=1"), 0);
    EXPECT_EQ(file.WriteString(Main, "MailboxPath", "a\nb"), 0);
    EXPECT_EQ(file.WriteString(Main, "MailboxPath", "a\rb"), 0);
    EXPECT_EQ(file.WriteString(Main, "Mailbox\nPath", "x"), 0);
    EXPECT_EQ(file.WriteString("Main\r\nDlg", "k", "x"), 0);
    EXPECT_EQ(file.WriteString(Main, "MailboxPath=C", "x"), 0);
    EXPECT_EQ(file.WriteString(Main, " [Evil]", "x"), 0);
    EXPECT_EQ(file.WriteString("Main]Dlg", "k", "x"), 0);
    EXPECT_EQ(dir.Read(FixtureName()), original);
    EXPECT_EQ(file.ReadString(Main, "MailboxPath", ""), "C:\\Mail");
}

TEST_P(ProfileFileTest, AFileThatCannotBeWrittenIsLeftAsItIs) {
    const std::string original = "[MainDlg]\r\nA=1\r\n";
    std::string path = Fixture(original);
    MakeReadOnly(path);
    if (std::string(GetParam().name) == "Windows" && !SystemHonoursReadOnly(path)) {
        MakeWritable(path);
        GTEST_SKIP() << "this system lets us write a read-only file";
    }
    ProfileFile file(path, Backend());
    EXPECT_EQ(file.WriteInt(Main, "A", 2), 0);
    EXPECT_EQ(file.WriteInt(Main, "B", 2), 0);
    EXPECT_EQ(file.ReadInt(Main, "A", 0), 1);
    MakeWritable(path);
    EXPECT_EQ(dir.Read(FixtureName()), original);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);

    ProfileFile nowhere(dir.Path() + "missing" + Separator() + "x.ini", Backend());
    EXPECT_EQ(nowhere.WriteInt(Main, "A", 1), 0);
    EXPECT_EQ(nowhere.ReadInt(Main, "A", 5), 5);
}

TEST_P(ProfileFileTest, TheStoreWorksOnTheOpenSectionOnly) {
    std::string path = Fixture("[MainDlg]\r\nA=1\r\n[Other]\r\nA=2\r\n");
    PrivateProfileStore store(path, Backend());
    EXPECT_EQ(store.IsOpen(), 0);
    EXPECT_EQ(store.ReadInt("A", 9), 9);
    EXPECT_EQ(store.WriteInt("A", 3), 0);  // nothing lands outside a section

    EXPECT_EQ(store.Open(Main), 1);
    EXPECT_EQ(store.IsOpen(), 1);
    EXPECT_EQ(store.ReadInt("A", 9), 1);
    EXPECT_EQ(store.Open("Other"), 1);
    EXPECT_EQ(store.Section(), "Other");
    EXPECT_EQ(store.ReadInt("A", 9), 2);
    EXPECT_NE(store.WriteInt("B", 4), 0);
    EXPECT_NE(store.DeleteSection(Main), 0);
    store.Close();
    EXPECT_EQ(store.IsOpen(), 0);
    EXPECT_EQ(dir.Read(FixtureName()), "[Other]\r\nA=2\r\nB=4\r\n");

    PrivateProfileStore noFile("", Backend());
    EXPECT_EQ(noFile.Open(Main), 1);
    EXPECT_EQ(noFile.IsOpen(), 0);
    EXPECT_EQ(noFile.WriteInt("A", 1), 0);
}

TEST_P(ProfileFileTest, TheFileIsNamedByItsAbsolutePath) {
    ProfileFile file("relative.ini", Backend());
    std::string cwd = std::filesystem::current_path().string();
    EXPECT_EQ(file.Path().substr(0, cwd.size()), cwd);
    EXPECT_EQ(file.Path().substr(file.Path().size() - 13), Separator() + "relative.ini");
}

INSTANTIATE_TEST_SUITE_P(Backends, ProfileFileTest, testing::ValuesIn(AllBackends()), BackendName);
