#include "store/FolderList.h"

#include "tests/support/TempDir.h"
#include "tests/support/TraceCapture.h"

#include <gtest/gtest.h>

#include <string>

TEST(SizeTextTest, RecordSizesReadAsUnsignedInBothForms) {
    FolderInfo record;
    EXPECT_EQ(record.SizeText(true), "0 Bytes");
    EXPECT_EQ(record.SizeText(false), "0");
    record.size = 0xFFFFFFFFu;  // the top bit of a byte is magnitude, not sign
    EXPECT_EQ(record.SizeText(true), "4,0 GB");
    EXPECT_EQ(record.SizeText(false), "4.294.967.295");
    record.size = 0x8000000000000000u;
    EXPECT_EQ(record.SizeText(true), "8388608,0 TB");
    EXPECT_EQ(record.SizeText(false), "9.223.372.036.854.775.808");
}

TEST(SizeTextTest, TheTotalBeyondFourGibibytesIsShownInFull) {
    TraceCapture trace;
    TempDir mailbox;
    std::string newMailDir = mailbox.MakeDir("newmail");
    mailbox.Write("One.PMM", std::string(128, 'a'), 3ull << 30);
    mailbox.Write("Two.PMM", std::string(128, 'b'), (2ull << 30) + 5);
    FolderList list;
    EXPECT_EQ(list.TotalText(true), "0 Bytes");
    list.Scan({mailbox.Path(), false, false, newMailDir, "<Posteingang>"});
    EXPECT_EQ(list.TotalText(true), "5,0 GB");
    EXPECT_EQ(list.TotalText(false), "5.368.709.125");
}
