// A save of the settings reaches the file whole or not at all: failed at
// every one of its steps, it leaves the old file, and the file on disk is
// the old one at every step before the last. A settings file that is a link
// is replaced by a file of its own, never written through. Its working copy
// fits wherever the file fits, and copies of saves cut off do not pile up,
// while another computer's copy beside a shared file is left alone.
#include "platform/AtomicFile.h"
#include "settings/PrivateProfileStore.h"
#include "settings/Settings.h"

#include "tests/settings/Backends.h"
#include "tests/support/TempDir.h"
#include "tests/support/TraceCapture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>

#include <unistd.h>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

namespace {

namespace fs = std::filesystem;

const std::string OldFile =
    "[Vorher]\r\nx=1\r\n[MainDlg]\r\nSizeAndPos=1, 2, 3, 4\r\nAutoRefresh=1\r\n[Danach]\r\ny=2\r\n";

// The real back-end, made to fail at one step: a write (which leaves its file
// cut short, as a write cut off would), making the copy, or putting it in place.
class FailingBackend : public ProfileBackend {
public:
    FailingBackend(ProfileBackend& real, int failAt, std::function<void()> beforeStep)
        : real(real), failAt(failAt), beforeStep(std::move(beforeStep)) {}

    size_t Read(const char* section, const char* key, const char* defaultText, char* buffer, size_t size,
                const char* path) override {
        return real.Read(section, key, defaultText, buffer, size, path);
    }
    bool Write(const char* section, const char* key, const char* text, const char* path) override {
        if (!Step()) return real.Write(section, key, text, path);
        std::error_code ignored;
        fs::resize_file(path, fs::file_size(path, ignored) / 2, ignored);
        return false;
    }
    bool MakeWorkingCopy(const std::string& path, std::string& copyPath) override {
        return !Step() && real.MakeWorkingCopy(path, copyPath);
    }
    bool PutInPlace(const std::string& copyPath, const std::string& path) override {
        return !Step() && real.PutInPlace(copyPath, path);
    }
    void RemoveWorkingCopy(const std::string& copyPath) override { real.RemoveWorkingCopy(copyPath); }

    int steps = 0;

private:
    bool Step() {
        beforeStep();
        return ++steps == failAt;
    }

    ProfileBackend& real;
    int failAt;
    std::function<void()> beforeStep;
};

// What the panel writes when it goes: placement, columns, sort, settings.
void SaveAsThePanelDoes(ProfileStore& store) {
    const int place[4] = {10, 20, 300, 200}, widths[3] = {90, 80, 250}, order[3] = {2, 0, 1};
    const unsigned char sort[8] = {1, 0, 0, 0, 1, 0, 0, 0};
    Settings settings;
    settings.AutoRefresh = 0;
    settings.MailboxPath = "C:\\Post";
    store.Open("MainDlg");
    store.WriteIntList("SizeAndPos", 4, place);
    store.WriteIntList("Columns", 3, widths);
    store.WriteIntList("ColOrder", 3, order);
    store.WriteBinary("Sort", 8, sort);
    settings.Save(store);
    store.Close();
}

size_t FilesIn(const std::string& dir) {
    return static_cast<size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

bool Link(const std::string& target, const std::string& link, bool symbolic) {
#ifdef _WIN32
    return !symbolic && CreateHardLinkA(link.c_str(), target.c_str(), nullptr);
#else
    return (symbolic ? ::symlink(target.c_str(), link.c_str()) : ::link(target.c_str(), link.c_str())) == 0;
#endif
}

// The id of no running process: on Windows a thread's (threads and processes
// draw their ids from one set), elsewhere that of a child that has ended.
unsigned long EndedProcessId() {
#ifdef _WIN32
    return ::GetCurrentThreadId();
#else
    pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return static_cast<unsigned long>(child);
#endif
}

class AtomicSave : public testing::TestWithParam<BackendCase> {
protected:
    ProfileBackend& Backend() { return *GetParam().backend; }
    TempDir dir;
};

}  // namespace

TEST_P(AtomicSave, ASaveFailedAtAnyStepLeavesTheOldFileWhole) {
    std::string expectedPath = dir.Write("expected.ini", OldFile);
    {
        PrivateProfileStore store(expectedPath, Backend());
        SaveAsThePanelDoes(store);
    }
    const std::string newFile = dir.Read("expected.ini");
    ASSERT_NE(newFile, OldFile);
    ASSERT_NE(newFile.find("[Vorher]\r\nx=1\r\n"), std::string::npos);
    ASSERT_NE(newFile.find("[Danach]\r\ny=2\r\n"), std::string::npos);

    int failAt = 1;
    for (;; ++failAt) {
        // A file of its own each time: the Windows functions may keep a parsed copy.
        TempDir each;
        const std::string name = "KVT-FSCN.PM";
        std::string path = each.Write(name, OldFile);
        FailingBackend failing(Backend(), failAt, [&] { ASSERT_EQ(each.Read(name), OldFile) << "mid-save"; });
        {
            PrivateProfileStore store(path, failing);
            SaveAsThePanelDoes(store);
        }
        bool failed = failing.steps >= failAt;
        EXPECT_EQ(each.Read(name), failed ? OldFile : newFile) << "failing step " << failAt;
        EXPECT_EQ(FilesIn(each.Path()), 1u) << "a working copy was left at step " << failAt;
        if (!failed) break;
        ASSERT_LT(failAt, 100);
    }
    EXPECT_EQ(failAt, 1 + 13 + 1 + 1) << "the copy, thirteen writes, putting it in place";
}

TEST_P(AtomicSave, WhileASectionIsOpenItsReadsSeeItsWritesAndTheFileStaysOld) {
    std::string path = dir.Write("s.ini", OldFile);
    PrivateProfileStore store(path, Backend());
    store.Open("MainDlg");
    EXPECT_NE(store.WriteInt("AutoRefresh", 0), 0);
    EXPECT_EQ(store.ReadInt("AutoRefresh", 5), 0);
    EXPECT_EQ(dir.Read("s.ini"), OldFile);
    store.Close();
    EXPECT_NE(dir.Read("s.ini").find("AutoRefresh=0"), std::string::npos);
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
}

TEST_P(AtomicSave, ASettingsFileThatIsALinkToAFolderBecomesAFileOfItsOwn) {
    std::string header(128, '\0');
    header.replace(0, 6, "Archiv");
    const std::string folder = header + "From: a@b\r\n\r\nText\r\n";
    for (bool symbolic : {false, true}) {
        TempDir mailbox;
        std::string folderPath = mailbox.Write("Archiv.PMM", folder);
        std::string settingsPath = mailbox.Path() + "KVT-FSCN.PM";
        if (!Link(folderPath, settingsPath, symbolic)) continue;  // no symbolic links under Windows
        {
            PrivateProfileStore store(settingsPath, Backend());
            SaveAsThePanelDoes(store);
        }
        EXPECT_EQ(mailbox.Read("Archiv.PMM"), folder) << (symbolic ? "symbolic" : "hard");
        EXPECT_FALSE(fs::is_symlink(settingsPath));
        std::string own = mailbox.Read("KVT-FSCN.PM");
        EXPECT_NE(own.find("[MainDlg]"), std::string::npos);
        EXPECT_NE(own, mailbox.Read("Archiv.PMM"));
    }

    // A folder too large to be a settings file is left alone and not copied.
    TempDir mailbox;
    std::string folderPath = mailbox.Write("Gross.PMM", folder, ProfileBackend::MaxFileSize + 1);
    std::string settingsPath = mailbox.Path() + "KVT-FSCN.PM";
    ASSERT_TRUE(Link(folderPath, settingsPath, false));
    PrivateProfileStore store(settingsPath, Backend());
    store.Open("MainDlg");
    EXPECT_EQ(store.WriteInt("AutoRefresh", 1), 0);
    store.Close();
    EXPECT_EQ(mailbox.Read("Gross.PMM").substr(0, folder.size()), folder);
    EXPECT_EQ(fs::file_size(folderPath), ProfileBackend::MaxFileSize + 1);
    EXPECT_EQ(FilesIn(mailbox.Path()), 2u);
}

// The settings file's path may be as long as Windows' functions take (the
// path of the file itself is held to 258 characters): its copy fits too.
TEST_P(AtomicSave, ASettingsFileWithAPathOf255CharactersIsSaved) {
    const std::string folder(255 - dir.Path().size() - 12, 'd'), file = folder + "/KVT-FSCN.PM";
    dir.MakeDir(folder);
    std::string path = dir.Write(file, OldFile);
    ASSERT_EQ(path.size(), 255u);
    {
        PrivateProfileStore store(path, Backend());
        SaveAsThePanelDoes(store);
    }
    EXPECT_NE(dir.Read(file).find("Columns=90, 80, 250"), std::string::npos);
    EXPECT_EQ(FilesIn(dir.Path() + folder), 1u);
}

// A save cut off (its process killed) leaves its working copy behind; the
// next save removes it, so however many saves were cut off, no more than one
// copy is ever left. A copy whose process runs is being written and stays;
// so does another computer's, whose process cannot be seen from here, until
// nobody has written it for a day, like a copy named as earlier versions
// named theirs; and so does whatever is not a plain file named like a copy.
TEST_P(AtomicSave, ASaveRemovesOnlyTheCopiesThatAreProvablyAbandoned) {
    std::string path = dir.Write("KVT-FSCN.PM", OldFile);
    const unsigned here = AtomicFile::ThisComputer(), there = here ^ 1;
    const std::string running = AtomicFile::CopyPath("", here, static_cast<unsigned long>(::getpid()), 9);
    const std::string othersRunning = AtomicFile::CopyPath("", there, EndedProcessId(), 9);
    const std::string othersStale = AtomicFile::CopyPath("", there, EndedProcessId(), 8);
    const std::string earlierStale = "~1A4-1";
    ASSERT_EQ(running.size(), 11u);
    for (const std::string& copy : {running, othersRunning, othersStale, earlierStale}) dir.Write(copy, "[MainDlg]\r\n");
    for (const std::string& stale : {othersStale, earlierStale})
        fs::last_write_time(dir.Path() + stale, fs::file_time_type::clock::now() - std::chrono::hours(25));
    dir.MakeDir(AtomicFile::CopyPath("", here, EndedProcessId(), 7));
    for (const char* other : {"~1A4-0", "~12ab-0", "~12AB-0.PMM", "~-0", "12AB-0"}) dir.Write(other, "");
    for (unsigned cutOff = 0; cutOff < 3; ++cutOff) {
        dir.Write(AtomicFile::CopyPath("", here, EndedProcessId(), cutOff), OldFile.substr(0, 20));
        PrivateProfileStore store(path, Backend());
        SaveAsThePanelDoes(store);
        EXPECT_EQ(FilesIn(dir.Path()), 1u + 2u + 1u + 5u) << "after cut-off save " << cutOff;
    }
    EXPECT_NE(dir.Read("KVT-FSCN.PM").find("Columns=90, 80, 250"), std::string::npos);
    EXPECT_EQ(dir.Read(running), "[MainDlg]\r\n");
    EXPECT_EQ(dir.Read(othersRunning), "[MainDlg]\r\n");
    EXPECT_FALSE(fs::exists(dir.Path() + othersStale));
    EXPECT_FALSE(fs::exists(dir.Path() + earlierStale));
}

#ifdef _WIN32
// While its batch writes to it, a working copy cannot be removed: not by
// another computer that takes it for an abandoned one of its own either.
TEST_P(AtomicSave, AWorkingCopyCannotBeRemovedWhileItsBatchWrites) {
    std::string path = dir.Write("KVT-FSCN.PM", OldFile);
    int refused = 0;
    FailingBackend watching(Backend(), 0, [&] {
        for (const auto& entry : fs::directory_iterator(dir.Path()))
            if (entry.path().filename().string()[0] == '~') refused += !::DeleteFileA(entry.path().string().c_str());
    });
    {
        PrivateProfileStore store(path, watching);
        SaveAsThePanelDoes(store);
    }
    EXPECT_EQ(refused, 13 + 1) << "thirteen writes, putting it in place";
    EXPECT_NE(dir.Read("KVT-FSCN.PM").find("Columns=90, 80, 250"), std::string::npos);
}

// A program that holds the settings file open without delete sharing (a
// backup, a virus scanner) keeps a save from replacing it. The save waits a
// moment for it; when it is not let go, the file keeps its old content, a
// trace line names it, and the next save writes everything.
TEST_P(AtomicSave, AFileHeldOpenIsWaitedForAndOtherwiseLeftWithATraceLine) {
    std::string path = dir.Write("KVT-FSCN.PM", OldFile);
    auto hold = [&] {
        return ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    HANDLE held = hold();
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread letGo([held] {
        ::Sleep(300);
        ::CloseHandle(held);
    });
    {
        PrivateProfileStore store(path, Backend());
        SaveAsThePanelDoes(store);
    }
    letGo.join();
    EXPECT_NE(dir.Read("KVT-FSCN.PM").find("Columns=90, 80, 250"), std::string::npos);

    dir.Write("KVT-FSCN.PM", OldFile);
    held = hold();
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    TraceCapture trace;
    {
        PrivateProfileStore store(path, Backend());
        SaveAsThePanelDoes(store);
    }
    EXPECT_EQ(dir.Read("KVT-FSCN.PM"), OldFile);
    ASSERT_EQ(trace.Lines().size(), 1u);
    EXPECT_EQ(trace.Lines()[0].find("[ProfileFile.EndChanges] WARNUNG: Kann Datei \""), 0u);
    EXPECT_NE(trace.Lines()[0].find("KVT-FSCN.PM\" nicht ersetzen"), std::string::npos);
    EXPECT_EQ(FilesIn(dir.Path()), 1u);
    ::CloseHandle(held);
    {
        PrivateProfileStore store(path, Backend());
        SaveAsThePanelDoes(store);
    }
    EXPECT_NE(dir.Read("KVT-FSCN.PM").find("Columns=90, 80, 250"), std::string::npos);
}
#endif

INSTANTIATE_TEST_SUITE_P(Backends, AtomicSave, testing::ValuesIn(AllBackends()), BackendName);
