// What a scan takes from the heap: it fails the n-th allocation of a scan for
// n = 1, 2, ... and checks that the failed scan gave everything back, and it
// measures the most a scan of a hostile mailbox holds at once.
#include "store/FolderCache.h"
#include "store/FolderList.h"

#include "tests/support/CountingHeap.h"
#include "tests/support/FolderHeads.h"
#include "tests/support/HostileMailbox.h"
#include "tests/support/TempDir.h"
#include "ui/Trace.h"

#include <gtest/gtest.h>

#include <string>

namespace {

void Discard(const std::string&) {}

class ScanAllocTest : public ::testing::Test {
protected:
    void SetUp() override { previous = SetTraceSink(Discard); }
    void TearDown() override { SetTraceSink(previous); }

    TraceSink previous = nullptr;
    const std::string label = "<Posteingang>";
};

}  // namespace

TEST_F(ScanAllocTest, AScanThatRunsOutOfMemoryGivesEverythingBackAndLeavesAnEmptyList) {
    TempDir mailbox;
    mailbox.Write("hierarch.pm", "2,0,R,,Postfach\r\n1,0,A,R,Archiv\r\n1,0,B,A,Alt\r\n");
    mailbox.Write("Eins.PMM", PmmHead("Eins", "A"), 1000);
    mailbox.Write("Zwei.PMM", PmmHead("Zwei", "B"), 2000);
    mailbox.Write("Drei.MBX", "", 300);
    mailbox.Write("drei.pmg", PmgHead("Drei", "B"));
    mailbox.MakeDir("neu");
    mailbox.Write("neu/1.CNM", "", 5);

    const std::string dir = mailbox.Path(), newMail = dir + "neu/";
    // Made once: only what the scan itself asks for is made to fail.
    const ScanOptions options{dir, true, true, newMail, label};
    auto scan = [&](FolderList& list) { return list.Scan(options).hierarchyRead; };
    FolderList list;
    const long emptyBlocks = CountingHeap::liveBlocks;
    long n = 1;
    for (;; ++n) {
        ASSERT_EQ(scan(list), 1);  // the rows of an earlier scan are there now
        ASSERT_EQ(list.GetCount(), 4);
        CountingHeap::allocationsLeft = n;
        int result = scan(list);
        bool reached = CountingHeap::allocationsLeft == 0;
        CountingHeap::allocationsLeft = 0;
        if (!reached) break;
        ASSERT_EQ(result, 1) << "allocation " << n;
        // A sort's scratch buffer is asked for without exceptions and does
        // without; every other failure ends the scan.
        if (list.GetCount() == 4) {
            ASSERT_FALSE(list.OutOfMemory());
            continue;
        }
        ASSERT_TRUE(list.OutOfMemory()) << "allocation " << n;
        ASSERT_EQ(list.GetCount(), 0) << "allocation " << n;
        ASSERT_EQ(list.GetTotal(), 0u);
        ASSERT_TRUE(list.GetRecords().empty());
        ASSERT_EQ(CountingHeap::liveBlocks, emptyBlocks) << "blocks kept when allocation " << n << " fails";
        ASSERT_LT(n, 100000);
    }
    EXPECT_GT(n, 20) << "no allocation was made to fail";
    EXPECT_EQ(list.GetCount(), 4);
    EXPECT_FALSE(list.OutOfMemory());
    for (const FolderInfo& record : list) {
        if (record.fileName == "Zwei.PMM") {
            EXPECT_EQ(record.folderPath, "\\Archiv\\");
        }
    }
}

// With kept readings, both when a scan takes them back and when it reads
// everything again: a failed scan leaves nothing kept that could be half made.
TEST_F(ScanAllocTest, AScanThatKeepsItsReadingsAndRunsOutOfMemoryKeepsNothing) {
    TempDir mailbox;
    mailbox.Write("hierarch.pm", "2,0,R,,Postfach\r\n1,0,A,R,Archiv\r\n");
    mailbox.Write("Eins.PMM", PmmHead("Eins", "A"), 1000);
    mailbox.Write("Zwei.MBX", "", 300);
    mailbox.Write("zwei.pmg", PmgHead("Zwei", "A"));
    const std::string dir = mailbox.Path();
    const ScanOptions options{dir, true, false, dir, label};
    const long emptyBlocks = CountingHeap::liveBlocks;
    for (bool readEverything : {false, true}) {
        FolderCache cache;
        FolderList list;
        list.UseReader(&cache);
        long n = 1;
        for (;; ++n) {
            ASSERT_TRUE(list.Scan(options).hierarchyRead);
            ASSERT_EQ(cache.GetCount(), 2u);
            if (readEverything) cache.ReadEverythingNext();
            CountingHeap::allocationsLeft = n;
            list.Scan(options);
            bool reached = CountingHeap::allocationsLeft == 0;
            CountingHeap::allocationsLeft = 0;
            if (!reached) break;
            if (list.GetCount() == 2) continue;  // a sort did without its scratch buffer
            ASSERT_EQ(list.GetCount(), 0) << "allocation " << n;
            ASSERT_EQ(cache.GetCount(), 0u) << "allocation " << n;
            ASSERT_LT(n, 100000);
        }
        EXPECT_GT(n, 5) << "no allocation was made to fail";
    }
    EXPECT_EQ(CountingHeap::liveBlocks, emptyBlocks);
}

// Before paths were bounded, the 128 KiB mailbox took 2.5 GB and the 32 KiB
// one 600 MB.
TEST_F(ScanAllocTest, AHostileFolderTreeCostsLittleMemory) {
    for (size_t nameLength : {32u * 1024, 128u * 1024}) {
        HostileMailbox hostile;
        hostile.nameLength = nameLength;
        std::unique_ptr<TempDir> mailbox = hostile.Make();
        FolderList list;
        const size_t before = CountingHeap::liveBytes;
        CountingHeap::peakBytes = CountingHeap::liveBytes;
        ASSERT_TRUE(list.Scan({mailbox->Path(), true, false, mailbox->Path(), ""}).hierarchyRead);
        ASSERT_EQ(list.GetCount(), hostile.folders);
        EXPECT_LT(CountingHeap::peakBytes - before, 2u << 20) << nameLength;
        EXPECT_LT(CountingHeap::liveBytes - before, 1u << 20) << nameLength;
    }
}
