#include "store/FolderList.h"
#include "store/FolderCache.h"

#include "tests/support/Cp1252.h"
#include "tests/support/FolderHeads.h"
#include "tests/support/TempDir.h"
#include "tests/support/TraceCapture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

const std::string Label = Cp1252("<Posteingang>");

struct Row {
    std::string fileName, folderPath, folderName;
    uint64_t size;
    bool operator==(const Row& o) const {
        return fileName == o.fileName && folderPath == o.folderPath && folderName == o.folderName && size == o.size;
    }
};

std::ostream& operator<<(std::ostream& out, const Row& r) {
    return out << "{" << r.fileName << ", " << r.folderPath << ", " << r.folderName << ", " << r.size << "}";
}

// Rows made in memory: a source that lists the files it holds rows for and
// gives each its row, with no disk beneath.
class MemorySource : public FolderSource {
public:
    std::vector<FolderInfo> rows;  // in the listing's order
    bool whole = true;             // the listing was read to its end
    FileStamp stamp;               // every file's, as the listing tells it

    void BeginScan(const std::string&, MailboxListing::Contents, MailboxListing& listing) override {
        MailboxListing::Entries entries;
        for (const FolderInfo& row : rows) entries.push_back({row.fileName, stamp});
        listing.List(entries, whole);
    }
    const pmHierarch* Hierarchy(const MailboxListing&, bool, bool& ioError) override {
        ioError = false;
        return nullptr;
    }
    void Read(const Folder& folder, FolderInfo& row, Opened*) override {
        for (const FolderInfo& held : rows)
            if (held.fileName == folder.file.name) row = held;
    }
    void EndScan() override {}
    void Abandon() override {}
};

FolderInfo Folder(const std::string& fileName, const std::string& folderName, uint64_t size) {
    FolderInfo row;
    row.fileName = fileName;
    row.folderName = folderName;
    row.size = size;
    return row;
}

std::vector<Row> Rows(const FolderList& list) {
    std::vector<Row> rows;
    for (const FolderInfo& record : list) rows.push_back({record.fileName, record.folderPath, record.folderName, record.size});
    return rows;
}

class FolderListTest : public ::testing::Test {
protected:
    int Scan(bool showNewMail) { return list.Scan({mailbox.Path(), false, showNewMail, newMailDir, Label}).hierarchyRead; }

    TraceCapture trace;
    TempDir mailbox;
    std::string newMailDir = mailbox.MakeDir("newmail");
    FolderList list;
};

}  // namespace

TEST_F(FolderListTest, AnEmptyMailboxWithoutTheNewMailRowHasNoRows) {
    EXPECT_EQ(Scan(false), 1);
    EXPECT_EQ(list.GetCount(), 0);
    EXPECT_EQ(list.GetTotal(), 0u);
    EXPECT_TRUE(Rows(list).empty());
}

TEST_F(FolderListTest, TheNewMailRowComesFirstAndSumsTheNewMailFiles) {
    mailbox.Write("newmail/a.CNM", std::string(100, 'a'));
    mailbox.Write("newmail/b.cnm", std::string(200, 'b'));
    mailbox.Write("newmail/c.Cnm", std::string(300, 'c'));
    mailbox.Write("newmail/d.CNMX", std::string(999, 'd'));
    mailbox.Write("Inbox.PMM", PmmHead("Eingang"), 1000);

    EXPECT_EQ(Scan(true), 1);
    EXPECT_EQ(Rows(list), (std::vector<Row>{{"*.CNM", "", Label, 600}, {"Inbox.PMM", "", "Eingang", 1000}}));
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetTotal(), 1600u);
}

TEST_F(FolderListTest, AnEmptyOrMissingNewMailDirectoryStillGivesTheRow) {
    EXPECT_EQ(Scan(true), 1);
    EXPECT_EQ(Rows(list), (std::vector<Row>{{"*.CNM", "", Label, 0}}));
    EXPECT_EQ(list.GetCount(), 1);

    newMailDir = mailbox.Path() + "absent" + std::string(1, newMailDir.back());
    Scan(true);
    EXPECT_EQ(Rows(list), (std::vector<Row>{{"*.CNM", "", Label, 0}}));
}

TEST_F(FolderListTest, FolderFilesAreFoundWhateverTheCaseOfTheirNames) {
    mailbox.Write("upper.PMM", PmmHead("U"), 200);
    mailbox.Write("lower.pmm", PmmHead("L"), 300);
    mailbox.Write("mixed.Pmm", PmmHead("M"), 400);
    mailbox.Write("other.PMMX", PmmHead("X"), 500);
    mailbox.Write("hierarch.pm", "1,1,a,b,c\n");

    Scan(false);
    std::map<std::string, std::string> names;
    for (const FolderInfo& record : list) names[record.fileName] = record.folderName;
    EXPECT_EQ(names, (std::map<std::string, std::string>{{"upper.PMM", "U"}, {"lower.pmm", "L"}, {"mixed.Pmm", "M"}}));
    EXPECT_EQ(list.GetTotal(), 900u);
}

TEST_F(FolderListTest, UnreadableFolderFilesAreListedAndCounted) {
    mailbox.Write("Short.PMM", "too short");
    mailbox.MakeDir("Dir.PMM");

    Scan(false);
    std::map<std::string, Row> rows;
    for (const Row& row : Rows(list)) rows[row.fileName] = row;
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetTotal(), 0u);
    EXPECT_EQ(rows["Short.PMM"], (Row{"Short.PMM", "", Cp1252("<Datei ist keine gültige PMM-Datei.>"), 0}));
    EXPECT_EQ(rows["Dir.PMM"], (Row{"Dir.PMM", "", Cp1252("<Datei konnte nicht zum Lesen geöffnet werden.>"), 0}));
    EXPECT_EQ(trace.Lines().size(), 2u);
    EXPECT_FALSE(list.ReadFault());  // damaged, not unreadable for a failing disk
}

// A listing cut off or a file the OS failed to read leaves the rows as a
// scan without them has them, and says so beside them.
TEST(FolderListRows, AListingCutOffOrAFileThatFailsIsAReadFault) {
    MemorySource source;
    FolderInfo failed = Folder("B.PMM", Cp1252("<Datei konnte nicht zum Lesen geöffnet werden.>"), 0);
    failed.status = FolderStatus::CannotOpen;
    failed.ioError = true;
    source.rows = {Folder("A.PMM", "A", 1000), failed};
    FolderList list;
    list.UseReader(&source);
    list.Scan({"memory/", false, false, std::string(), Label});
    EXPECT_TRUE(list.ReadFault());
    EXPECT_EQ(list.GetCount(), 2);
    source.rows[1].ioError = false;  // locked: read as before, no fault
    list.Scan({"memory/", false, false, std::string(), Label});
    EXPECT_FALSE(list.ReadFault());
    source.whole = false;
    list.Scan({"memory/", false, false, std::string(), Label});
    EXPECT_TRUE(list.ReadFault());
    EXPECT_EQ(list.GetTotal(), 1000u);

    // A head that failed for an I/O error is not kept as damage: the next
    // scan reads it again, though its stamp stayed.
    FolderCache cache(source);
    list.UseReader(&cache);
    source.whole = true;
    source.stamp = {500, 1, 1, true};
    source.rows[1] = Folder("B.PMM", Cp1252("<Datei ist keine gültige PMM-Datei.>"), 0);
    source.rows[1].status = FolderStatus::NotValid;
    source.rows[1].ioError = true;
    list.Scan({"memory/", false, false, std::string(), Label});
    EXPECT_TRUE(list.ReadFault());
    source.rows[1] = Folder("B.PMM", "B", 500);
    list.Scan({"memory/", false, false, std::string(), Label});
    EXPECT_FALSE(list.ReadFault());
    EXPECT_EQ(list.GetTotal(), 1500u);
}

TEST_F(FolderListTest, ASecondScanReplacesTheFirst) {
    mailbox.Write("A.PMM", PmmHead("A"), 128);
    mailbox.Write("B.PMM", PmmHead("B"), 256);
    Scan(true);
    std::vector<Row> first = Rows(list);
    Scan(true);
    EXPECT_EQ(Rows(list), first);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetTotal(), 384u);
}

TEST_F(FolderListTest, TotalsBeyondFourGibibytesDoNotWrap) {
    mailbox.Write("One.PMM", PmmHead("Eins"), 3ull << 30);
    mailbox.Write("Two.PMM", PmmHead("Zwei"), (3ull << 30) + 5);
    mailbox.Write("newmail/x.CNM", "", 5ull << 30);
    Scan(true);
    EXPECT_EQ(list.GetTotal(), (11ull << 30) + 5);
    EXPECT_EQ(Rows(list)[0].size, 5ull << 30);
}

TEST_F(FolderListTest, WithoutFolderPathsTheHierarchyIsNotConsulted) {
    mailbox.Write("A.PMM", PmmHead("A"), 128);
    EXPECT_TRUE(list.Scan({mailbox.Path(), false, false, newMailDir, Label}).hierarchyRead);
    EXPECT_EQ(Rows(list)[0].folderPath, "");
}

TEST_F(FolderListTest, AScanChangesNothingInTheMailbox) {
    namespace fs = std::filesystem;
    mailbox.Write("A.PMM", PmmHead("A"), 5000);
    mailbox.Write("B.pmm", "short");
    mailbox.Write("newmail/n.CNM", "new mail");
    mailbox.Write("hierarch.pm", "2,0,R,,Root\n");
    auto old = fs::file_time_type::clock::now() - std::chrono::hours(48);
    std::map<std::string, std::pair<std::string, fs::file_time_type>> before;
    for (const auto& entry : fs::recursive_directory_iterator(mailbox.Path())) {
        if (!entry.is_regular_file()) continue;
        fs::last_write_time(entry.path(), old);
        std::string rel = fs::relative(entry.path(), mailbox.Path()).string();
        before[rel] = {mailbox.Read(rel), fs::last_write_time(entry.path())};
    }

    Scan(true);
    list.Scan({mailbox.Path(), true, true, newMailDir, Label});

    std::map<std::string, std::pair<std::string, fs::file_time_type>> after;
    for (const auto& entry : fs::recursive_directory_iterator(mailbox.Path())) {
        if (!entry.is_regular_file()) continue;
        std::string rel = fs::relative(entry.path(), mailbox.Path()).string();
        after[rel] = {mailbox.Read(rel), fs::last_write_time(entry.path())};
    }
    EXPECT_EQ(after, before);
}

// What a refresh does with the rows shown: nothing where the new scan's are
// the same, take over in place where only rows changed (after which they are
// the same), rebuild where the files listed differ or a rebuild is asked for.
TEST(FolderListRows, ANewScanIsTakenInUnchangedInPlaceOrRebuilt) {
    MemorySource source;
    source.rows = {Folder("A.PMM", "A", 1000), Folder("B.PMM", "B", 2000)};
    auto scan = [&source](FolderList& list) {
        list.UseReader(&source);
        list.Scan({"memory/", false, false, std::string(), Label});
    };
    FolderList list;
    scan(list);
    struct Case {
        const char* change;
        std::function<void()> make;
        RowUpdate expected;
    };
    std::vector<FolderInfo>& rows = source.rows;
    const Case cases[] = {
        {"nothing", [] {}, RowUpdate::Unchanged},
        {"a folder grew", [&] { rows[0].size = 1500; }, RowUpdate::InPlace},
        {"a folder was renamed inside", [&] { rows[1].folderName = "Neu"; }, RowUpdate::InPlace},
        {"a folder became unreadable", [&] { rows[1].status = FolderStatus::NotValid; }, RowUpdate::InPlace},
        {"a file came", [&] { rows.push_back(Folder("C.MBX", "C", 10)); }, RowUpdate::Rebuild},
        {"a file went", [&] { rows.pop_back(); }, RowUpdate::Rebuild},
        {"a file was renamed", [&] { rows[1].fileName = "D.PMM"; }, RowUpdate::Rebuild},
        {"two files changed places", [&] { std::swap(rows[0], rows[1]); }, RowUpdate::Rebuild},
    };
    for (const Case& c : cases) {
        c.make();
        FolderList scanned;
        scan(scanned);
        EXPECT_EQ(FolderList::ChooseRowUpdate(list, scanned, true), RowUpdate::Rebuild) << c.change;
        ASSERT_EQ(FolderList::ChooseRowUpdate(list, scanned, false), c.expected) << c.change;
        if (c.expected == RowUpdate::InPlace) list.UpdateRows(scanned);
        if (c.expected == RowUpdate::Rebuild) list.SwapRows(scanned);
        FolderList again;
        scan(again);
        EXPECT_EQ(FolderList::ChooseRowUpdate(list, again, false), RowUpdate::Unchanged) << c.change;
        EXPECT_EQ(Rows(list), Rows(again)) << c.change;
    }
}
