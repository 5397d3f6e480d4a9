// A refresh and a sort by folder name of mailboxes whose folder tree is a
// chain of huge names: before paths were bounded they took seconds to
// minutes and hundreds of megabytes; now they stay far within a second.
#include "store/FolderCompare.h"
#include "store/FolderList.h"
#include "store/SortRule.h"
#include "store/pmHierarch.h"

#include "tests/support/HostileMailbox.h"
#include "ui/Trace.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

namespace {

void Discard(const std::string&) {}

// The rows in the order the list view gives them when sorted by folder name.
std::vector<const FolderInfo*> SortedByFolderName(const FolderList& list) {
    std::vector<const FolderInfo*> rows;
    for (const FolderInfo& record : list) rows.push_back(&record);
    SortRule rule;
    rule.sortColumn = FolderCompare::FolderNameColumn;
    rule.tieMode = SortRule::FromLeftmost;
    const std::vector<int> order = {0, 1, 2};
    std::sort(rows.begin(), rows.end(),
              [&](const FolderInfo* a, const FolderInfo* b) { return rule.Compare(*a, *b, order) < 0; });
    return rows;
}

}  // namespace

TEST(HostileHierarchy, ARefreshAndASortStayFastAndSmall) {
    TraceSink previous = SetTraceSink(Discard);
    for (size_t nameLength : {32u * 1024, 128u * 1024}) {
        HostileMailbox hostile;
        hostile.nameLength = nameLength;
        std::unique_ptr<TempDir> mailbox = hostile.Make();

        auto start = std::chrono::steady_clock::now();
        FolderList list;
        ASSERT_TRUE(list.Scan({mailbox->Path(), true, false, mailbox->Path(), ""}).hierarchyRead);
        std::vector<const FolderInfo*> rows = SortedByFolderName(list);
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        EXPECT_LT(seconds, 1.0) << nameLength;

        ASSERT_EQ(rows.size(), static_cast<size_t>(hostile.folders));
        size_t textBytes = 0;
        for (const FolderInfo& record : list) {
            textBytes += record.fileName.size() + record.folderPath.size() + record.folderName.size();
            // The chain is deeper than any tree may be, and far too long to show.
            ASSERT_EQ(record.folderPath.size(), pmHierarch::MaxPathLength);
            ASSERT_EQ(record.folderPath.substr(record.folderPath.size() - 2), "\x85\\");
            ASSERT_EQ(record.folderPath.substr(0, 7), "<??" "?>\\" + std::string(1, 'a' + (hostile.chainLength - 64) % 26));
        }
        EXPECT_LT(textBytes, static_cast<size_t>(hostile.folders) * (pmHierarch::MaxPathLength + 64)) << nameLength;
        for (size_t i = 1; i < rows.size(); ++i)
            ASSERT_LT(FolderCompare::CompareText(rows[i - 1]->folderName, rows[i]->folderName), 0);
    }
    SetTraceSink(previous);
}
