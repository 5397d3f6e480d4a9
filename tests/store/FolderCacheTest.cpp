// Scans that keep what they read against scans that read everything: after
// every change a mail client (or a user) may make to a mailbox, both must
// give the same rows, totals and results, and the kept scan writes no trace
// line the full one does not (a damaged file's reading is kept, so its line
// comes only when it is read).
#include "store/FolderCache.h"
#include "store/FolderList.h"

#include "tests/support/TempDir.h"
#include "tests/support/TraceCapture.h"

#include <gtest/gtest.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace fs = std::filesystem;

namespace {

std::string Head(size_t size, size_t keyOffset, const std::string& name, const std::string& key) {
    std::string bytes(size, '\0');
    bytes.replace(0, name.size(), name);
    bytes.replace(keyOffset, key.size(), key);
    return bytes;
}

std::string Describe(const FolderList& list, int result) {
    std::ostringstream text;
    text << "result " << result << ", " << list.GetCount() << " rows, total " << list.GetTotal() << "\n";
    for (const FolderInfo& row : list)
        text << row.fileName << " | " << row.folderPath << " | " << row.folderName << " | " << row.size << "\n";
    return text.str();
}

// A generated mailbox and the changes made to it. Every write gives the file
// a time of its own, a second after the one before: two writes within one
// tick of the file system's clock, to the same length, would otherwise look
// like no change, which no listing can tell.
class ChangingMailbox {
public:
    explicit ChangingMailbox(std::mt19937& random) : random(random) {
        newMail = dir.MakeDir("neu");
        for (int i = 0; i < 8; ++i) AddPmm();
        for (int i = 0; i < 8; ++i) AddMbx();
        EditHierarchy();
    }

    ~ChangingMailbox() {
        for (auto& lock : locks) Release(lock.first);
    }

    const std::string& Path() const { return dir.Path(); }
    const std::string& NewMail() const { return newMail; }

    // One random change; returns what it did.
    std::string Step() {
        switch (Pick(16)) {
        case 0: return AddPmm();
        case 1: return AddMbx();
        case 2: return Delete();
        case 3: return Rename();
        case 4: return Resize(true);
        case 5: return Resize(false);
        case 6: return RewriteHeader();
        case 7: return ReplaceCompanion();
        case 8: return RemoveCompanion();
        case 9: return EditHierarchy();
        case 10: return RemoveHierarchy();
        case 11: return RestoreHierarchy();
        case 12: return Lock();
        case 13: return ReleaseOne();
        case 14: return AddNewMail();
        default: return "nothing";
        }
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }
    std::string Key() { return Pick(8) == 0 ? "LOST" : "K" + std::to_string(Pick(10)); }
    std::string Fresh(const char* extension) { return "F" + std::to_string(serial++) + extension; }

    void Stamp(const std::string& name) {
        ++tick;
        fs::last_write_time(dir.Path() + name, base + std::chrono::seconds(tick));
    }

    void Put(const std::string& name, const std::string& bytes, uint64_t length = 0) {
        dir.Write(name, bytes, length);
        Stamp(name);
    }

    // A header of a random length: now and then too short to be read.
    void PutPmm(const std::string& name) {
        size_t length = Pick(6) == 0 ? 100 : 128 + Pick(300);
        Put(name, Head(length, 86, "Ordner " + std::to_string(tick), Key()));
    }

    void PutPmg(const std::string& name) {
        size_t length = Pick(6) == 0 ? 80 : 90 + Pick(100);
        Put(name, Head(length, 58, "Mappe " + std::to_string(tick), Key()));
    }

    // The files a step may change: the folder files and companions not locked.
    std::vector<std::string> Unlocked(bool withCompanions) const {
        std::vector<std::string> names;
        for (const std::string& name : folders)
            if (!locks.count(name)) names.push_back(name);
        if (withCompanions)
            for (const auto& pair : companions)
                if (!locks.count(pair.second) && fs::exists(dir.Path() + pair.second)) names.push_back(pair.second);
        return names;
    }

    std::string AddPmm() {
        std::string name = Fresh(Pick(4) == 0 ? ".pmm" : ".PMM");
        PutPmm(name);
        folders.insert(name);
        return "add " + name;
    }

    // Now and then the companion is missing, or differs in case.
    std::string AddMbx() {
        std::string name = Fresh(".MBX");
        Put(name, "", Pick(3000));
        folders.insert(name);
        std::string stem = name.substr(0, name.size() - 4);
        std::string companion = Pick(4) == 0 ? "f" + stem.substr(1) + ".pmg" : stem + ".PMG";
        companions[name] = companion;
        if (Pick(6) != 0) PutPmg(companion);
        return "add " + name;
    }

    std::string Delete() {
        std::vector<std::string> names = Unlocked(false);
        if (names.empty()) return "nothing to delete";
        std::string name = names[Pick(static_cast<int>(names.size()))];
        fs::remove(dir.Path() + name);
        folders.erase(name);
        auto companion = companions.find(name);
        if (companion != companions.end()) {
            if (!locks.count(companion->second)) fs::remove(dir.Path() + companion->second);
            companions.erase(companion);
        }
        return "delete " + name;
    }

    // A rename keeps the file's times; an ".MBX" file's companion goes with
    // it only now and then.
    std::string Rename() {
        std::vector<std::string> names = Unlocked(false);
        if (names.empty()) return "nothing to rename";
        std::string name = names[Pick(static_cast<int>(names.size()))];
        std::string to = Fresh(name.substr(name.size() - 4).c_str());
        fs::rename(dir.Path() + name, dir.Path() + to);
        folders.erase(name);
        folders.insert(to);
        auto companion = companions.find(name);
        if (companion != companions.end()) {
            std::string pmg = to.substr(0, to.size() - 4) + ".PMG";
            if (Pick(2) == 0 && !locks.count(companion->second) && fs::exists(dir.Path() + companion->second))
                fs::rename(dir.Path() + companion->second, dir.Path() + pmg);
            companions.erase(companion);
            companions[to] = pmg;
        }
        return "rename " + name + " to " + to;
    }

    std::string Resize(bool grow) {
        std::vector<std::string> names = Unlocked(true);
        if (names.empty()) return "nothing to resize";
        std::string name = names[Pick(static_cast<int>(names.size()))];
        uint64_t length = fs::file_size(dir.Path() + name);
        uint64_t to = grow ? length + 1 + Pick(500) : length - (length == 0 ? 0 : 1 + Pick(static_cast<int>(length)));
        fs::resize_file(dir.Path() + name, to);
        Stamp(name);
        return (grow ? "grow " : "shrink ") + name;
    }

    // The same length, other names and keys: only the time tells.
    std::string RewriteHeader() {
        std::vector<std::string> names = Unlocked(true);
        if (names.empty()) return "nothing to rewrite";
        std::string name = names[Pick(static_cast<int>(names.size()))];
        uint64_t length = fs::file_size(dir.Path() + name);
        bool pmg = name.size() > 4 && (name.substr(name.size() - 4) == ".PMG" || name.substr(name.size() - 4) == ".pmg");
        std::string bytes = pmg ? Head(90, 58, "Neu " + std::to_string(tick), Key())
                                : Head(128, 86, "Neu " + std::to_string(tick), Key());
        bytes.resize(length < bytes.size() ? static_cast<size_t>(length) : bytes.size());
        Put(name, bytes, length);
        return "rewrite " + name;
    }

    std::string ReplaceCompanion() {
        if (companions.empty()) return "no companion to replace";
        auto it = std::next(companions.begin(), Pick(static_cast<int>(companions.size())));
        if (locks.count(it->second)) return "companion locked";
        fs::remove(dir.Path() + it->second);
        PutPmg(it->second);
        return "replace " + it->second;
    }

    std::string RemoveCompanion() {
        if (companions.empty()) return "no companion to remove";
        auto it = std::next(companions.begin(), Pick(static_cast<int>(companions.size())));
        if (locks.count(it->second)) return "companion locked";
        fs::remove(dir.Path() + it->second);
        return "remove " + it->second;
    }

    // Keys K0 to K9 under one root, now and then a line that does not parse.
    std::string EditHierarchy() {
        if (locks.count(HierarchyFile)) return "hierarchy locked";
        std::string text = "2,0,R,,Postfach\r\n";
        for (int i = 0; i < 10; ++i) {
            int parent = Pick(i + 1) - 1;
            text += "1,0,K" + std::to_string(i) + "," + (parent < 0 ? "R" : "K" + std::to_string(parent)) + ",Ebene " +
                    std::to_string(Pick(100)) + "\r\n";
            if (Pick(25) == 0) text += "kaputt\r\n";
        }
        Put(HierarchyFile, text);
        hierarchyText = text;
        hierarchyTime = fs::last_write_time(dir.Path() + HierarchyFile);
        return "edit hierarchy";
    }

    std::string RemoveHierarchy() {
        if (locks.count(HierarchyFile)) return "hierarchy locked";
        fs::remove(dir.Path() + HierarchyFile);
        return "remove hierarchy";
    }

    // The last text back, with its old time.
    std::string RestoreHierarchy() {
        if (locks.count(HierarchyFile)) return "hierarchy locked";
        dir.Write(HierarchyFile, hierarchyText);
        fs::last_write_time(dir.Path() + HierarchyFile, hierarchyTime);
        return "restore hierarchy";
    }

    std::string AddNewMail() {
        dir.Write("neu/" + Fresh(".CNM"), "", Pick(1000));
        return "new mail";
    }

    // A file that cannot be read: on Windows held open without sharing, as
    // the mail client does while it writes a folder; elsewhere, where the
    // owner's rights do not stop root, the file makes way for a FIFO or a
    // directory of its name, which the readers refuse. Either way its entry
    // changes, as it does when a writer holds it: a lock alone changes no
    // entry, and no listing can tell it.
    std::string Lock() {
        std::vector<std::string> names = Unlocked(true);
        if (!locks.count(HierarchyFile) && fs::exists(dir.Path() + HierarchyFile)) names.push_back(HierarchyFile);
        if (names.empty()) return "nothing to lock";
        std::string name = names[Pick(static_cast<int>(names.size()))];
        std::string path = dir.Path() + name;
        locks[name] = dir.Read(name);
#ifdef _WIN32
        Stamp(name);
        HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(file, INVALID_HANDLE_VALUE);
        handles[name] = file;
#else
        fs::remove(path);
        if (Pick(2) == 0)
            EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0);
        else
            fs::create_directory(path);
        Stamp(name);
#endif
        return "lock " + name;
    }

    void Release(const std::string& name) {
#ifdef _WIN32
        ::CloseHandle(handles[name]);
        handles.erase(name);
#else
        fs::remove(dir.Path() + name);
        Put(name, locks[name]);
#endif
    }

    std::string ReleaseOne() {
        if (locks.empty()) return "nothing locked";
        auto it = std::next(locks.begin(), Pick(static_cast<int>(locks.size())));
        std::string name = it->first;
        Release(name);
        locks.erase(name);
        return "release " + name;
    }

    static constexpr const char* HierarchyFile = "hierarch.pm";

    std::mt19937& random;
    TempDir dir;
    std::string newMail;
    std::set<std::string> folders;                   // ".PMM" and ".MBX" files
    std::map<std::string, std::string> companions;   // ".MBX" file to the companion it is meant to have
    std::map<std::string, std::string> locks;        // locked file to its bytes
#ifdef _WIN32
    std::map<std::string, HANDLE> handles;
#endif
    std::string hierarchyText;
    fs::file_time_type hierarchyTime;
    const fs::file_time_type base = fs::file_time_type::clock::now() - std::chrono::hours(24 * 30);
    long tick = 0;
    int serial = 0;
};

}  // namespace

TEST(FolderCacheTest, ScansThatKeepWhatTheyReadMatchFullScansThroughAThousandChanges) {
    const unsigned seed = 20240514;
    std::mt19937 random(seed);
    TraceCapture trace;
    ChangingMailbox mailbox(random);
    FolderCache cache;
    FolderList kept;
    kept.UseReader(&cache);
    bool showFolderPath = true, showNewMail = false;
    size_t reusedInAll = 0;

    for (int step = 0; step < 1000; ++step) {
        std::string change = mailbox.Step();
        if (step % 50 == 0) showFolderPath = !showFolderPath;
        if (step % 70 == 0) showNewMail = !showNewMail;
        if (step % 97 == 0) cache.ReadEverythingNext();  // as the user's refresh does

        trace.Clear();
        int keptResult =
            kept.Scan({mailbox.Path(), showFolderPath, showNewMail, mailbox.NewMail(), "<Posteingang>"}).hierarchyRead;
        std::vector<std::string> keptTrace = trace.Lines();
        reusedInAll += cache.GetReused();

        trace.Clear();
        FolderList full;
        int fullResult =
            full.Scan({mailbox.Path(), showFolderPath, showNewMail, mailbox.NewMail(), "<Posteingang>"}).hierarchyRead;

        ASSERT_EQ(Describe(kept, keptResult), Describe(full, fullResult)) << "step " << step << ": " << change;
        ASSERT_EQ(FolderList::ChooseRowUpdate(kept, full, false), RowUpdate::Unchanged) << "step " << step << ": " << change;
        // Names may differ in case: a companion opened by the name the listing
        // gives, or by the name formed from its folder's, which Windows finds.
        auto folded = [](std::string line) {
            for (char& c : line) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            return line;
        };
        std::multiset<std::string> fullTrace;
        for (const std::string& line : trace.Lines()) fullTrace.insert(folded(line));
        for (const std::string& line : keptTrace) {
            auto at = fullTrace.find(folded(line));
            ASSERT_NE(at, fullTrace.end()) << "step " << step << ": " << change << ": " << line;
            fullTrace.erase(at);
        }
    }
    // Most readings were taken back, or the comparison proved little.
    EXPECT_GT(reusedInAll, 1000u * 8);
}

TEST(FolderCacheTest, AFileRewrittenToTheSameLengthWithANewTimeIsReadAgain) {
    TempDir mailbox;
    const std::string pmm = mailbox.Write("A.PMM", Head(128, 86, "Alt", "K"), 4096);
    mailbox.Write("B.MBX", "", 10);
    const std::string pmg = mailbox.Write("B.PMG", Head(90, 58, "Alt", "K"));
    const auto then = fs::file_time_type::clock::now() - std::chrono::hours(48);
    fs::last_write_time(pmm, then);
    fs::last_write_time(pmg, then);
    FolderCache cache;
    FolderList list;
    list.UseReader(&cache);
    list.Scan({mailbox.Path(), false, false, mailbox.Path(), ""});
    ASSERT_EQ(cache.GetCount(), 2u);

    mailbox.Write("A.PMM", Head(128, 86, "Neu", "K"), 4096);
    mailbox.Write("B.PMG", Head(90, 58, "Neu", "K"));
    fs::last_write_time(pmm, then + std::chrono::seconds(1));
    fs::last_write_time(pmg, then + std::chrono::seconds(1));
    list.Scan({mailbox.Path(), false, false, mailbox.Path(), ""});
    EXPECT_EQ(cache.GetReused(), 0u);
    std::vector<std::string> names;
    for (const FolderInfo& row : list) names.push_back(row.folderName);
    EXPECT_EQ(names, (std::vector<std::string>{"Neu", "Neu"}));

    list.Scan({mailbox.Path(), false, false, mailbox.Path(), ""});
    EXPECT_EQ(cache.GetReused(), 2u);
}
