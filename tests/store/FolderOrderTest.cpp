#include "store/FolderCompare.h"
#include "store/FolderInfo.h"
#include "store/SortRule.h"

#include "tests/support/Cp1252.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

using FolderCompare::CompareColumn;
using FolderCompare::CompareText;

namespace {

FolderInfo Record(const std::string& file, uint64_t size, const std::string& path, const std::string& name) {
    FolderInfo r;
    r.fileName = file;
    r.size = size;
    r.folderPath = path;
    r.folderName = name;
    return r;
}

// Sorts records as the list does: by the rule over the given display order.
std::vector<std::string> SortedFiles(std::vector<FolderInfo> records, const SortRule& rule,
                                     const std::vector<int>& order = {0, 1, 2}) {
    std::stable_sort(records.begin(), records.end(), [&](const FolderInfo& a, const FolderInfo& b) {
        return rule.Compare(a, b, order) < 0;
    });
    std::vector<std::string> files;
    for (const FolderInfo& r : records) files.push_back(r.fileName);
    return files;
}

}  // namespace

TEST(FolderCompare, TextFoldsOnlyAsciiLetters) {
    EXPECT_EQ(CompareText("abc.pmm", "ABC.PMM"), 0);
    EXPECT_EQ(CompareText("a", "B"), -1);
    EXPECT_EQ(CompareText("Z", "a"), 1);
    // Bytes compare unsigned: Ä (0xC4) after Z and z, and Ä differs from ä.
    EXPECT_EQ(CompareText(Cp1252("Äpfel"), "Zebra"), 1);
    EXPECT_EQ(CompareText(Cp1252("Äpfel"), "zebra"), 1);
    EXPECT_NE(CompareText(Cp1252("Ä"), Cp1252("ä")), 0);
    // '_' (0x5F) lies between the upper and lower case letters; folding puts it before them.
    EXPECT_EQ(CompareText("_", "a"), -1);
    EXPECT_EQ(CompareText("_", "A"), -1);
    // A prefix sorts first; results are exactly -1, 0, +1.
    EXPECT_EQ(CompareText("abc", "abcd"), -1);
    EXPECT_EQ(CompareText("abcd", "ab"), 1);
    EXPECT_EQ(CompareText("", ""), 0);
}

TEST(FolderCompare, ShownNamesCompareAsIfJoined) {
    // "\A\" + "rchiv" against "\" + "B": the split point must not matter.
    FolderInfo a = Record("a", 0, "\\A\\", "rchiv");
    FolderInfo b = Record("b", 0, "\\", "B");
    FolderInfo c = Record("c", 0, "\\a\\r", "CHIV");
    EXPECT_EQ(CompareColumn(a, b, 2), CompareText("\\A\\rchiv", "\\B"));
    EXPECT_EQ(CompareColumn(a, c, 2), 0);
    EXPECT_EQ(CompareColumn(Record("x", 0, "<?\?\?>", ""), Record("y", 0, "", "<?\?\?>"), 2), 0);
    EXPECT_EQ(CompareColumn(Record("x", 0, "ab", ""), Record("y", 0, "", "abc"), 2), -1);
}

TEST(FolderCompare, SizesCompareAsUnsignedNumbersAndUnknownColumnsAsEqual) {
    FolderInfo big = Record("big", 4000000000u, "", "");
    FolderInfo small = Record("small", 5, "", "");
    EXPECT_EQ(CompareColumn(small, big, 1), -1);
    EXPECT_EQ(CompareColumn(big, small, 1), 1);
    EXPECT_EQ(CompareColumn(Record("x", 6ull << 30, "", ""), Record("y", 1ull << 30, "", ""), 1), 1);
    EXPECT_EQ(CompareColumn(big, small, 3), 0);
    EXPECT_EQ(CompareColumn(big, small, -1), 0);
}

TEST(SortRule, TiesFallBackToTheOtherColumnsInTheSameDirection) {
    std::vector<FolderInfo> records = {Record("c.pmm", 1, "", "Same"), Record("a.pmm", 3, "", "Same"),
                                       Record("b.pmm", 2, "", "Same"), Record("d.pmm", 9, "", "Other")};
    SortRule rule;
    rule.sortColumn = 2;
    rule.tieMode = SortRule::FromLeftmost;
    EXPECT_EQ(SortedFiles(records, rule), (std::vector<std::string>{"d.pmm", "a.pmm", "b.pmm", "c.pmm"}));
    rule.descending = 1;
    EXPECT_EQ(SortedFiles(records, rule), (std::vector<std::string>{"c.pmm", "b.pmm", "a.pmm", "d.pmm"}));

    // Without tie-breaking equal names stay equal (the stable sort keeps their order).
    rule.descending = 0;
    rule.tieMode = SortRule::NoTieBreak;
    EXPECT_EQ(SortedFiles(records, rule), (std::vector<std::string>{"d.pmm", "c.pmm", "a.pmm", "b.pmm"}));
}

TEST(SortRule, TheDisplayOrderDecidesWhichColumnBreaksTiesFirst) {
    // Equal names; file names and sizes disagree about the order.
    std::vector<FolderInfo> records = {Record("a.pmm", 30, "", "N"), Record("b.pmm", 10, "", "N"),
                                       Record("c.pmm", 20, "", "N")};
    SortRule rule;
    rule.sortColumn = 2;
    rule.tieMode = SortRule::FromLeftmost;
    EXPECT_EQ(SortedFiles(records, rule, {0, 1, 2}), (std::vector<std::string>{"a.pmm", "b.pmm", "c.pmm"}));
    // "Größe" dragged to the front: sizes break the tie first.
    EXPECT_EQ(SortedFiles(records, rule, {1, 0, 2}), (std::vector<std::string>{"b.pmm", "c.pmm", "a.pmm"}));

    // Starting at the sort column's position and wrapping: after column 2 at
    // position 1 comes position 2 (column 0), then position 0 (column 1).
    rule.tieMode = SortRule::FromSortColumn;
    EXPECT_EQ(SortedFiles(records, rule, {1, 2, 0}), (std::vector<std::string>{"a.pmm", "b.pmm", "c.pmm"}));
}

TEST(SortRule, StoredColumnsAndOrdersAreCheckedBeforeUse) {
    EXPECT_EQ(SortRule::ClampColumn(9, 3), 2);
    EXPECT_EQ(SortRule::ClampColumn(-4, 3), 0);
    EXPECT_EQ(SortRule::ClampColumn(1, 3), 1);
    EXPECT_EQ(SortRule::ClampColumn(1, 0), 0);

    EXPECT_TRUE(SortRule::IsArrangement({1, 0, 2}));
    EXPECT_TRUE(SortRule::IsArrangement({}));
    EXPECT_FALSE(SortRule::IsArrangement({0, 0, 2}));
    EXPECT_FALSE(SortRule::IsArrangement({0, 1, 3}));
    EXPECT_FALSE(SortRule::IsArrangement({0, -1, 2}));
}

TEST(FolderCompare, ShownNameKeysOrderAsTheShownNamesCompare) {
    // Short texts over an alphabet where folding, high bytes, prefixes and
    // the split between path and name all matter.
    const std::string alphabet = std::string("aAzZ_\\\x7F") + "\x80\xC4\xE4\xFF" + std::string(1, '\0');
    std::mt19937 random(11);
    auto text = [&] {
        std::string t(random() % 5, ' ');
        for (char& c : t) c = alphabet[random() % alphabet.size()];
        return t;
    };
    for (int i = 0; i < 20000; ++i) {
        FolderInfo a = Record("a", 0, text(), text()), b = Record("b", 0, text(), text());
        int byKey = FolderCompare::ShownNameKey(a).compare(FolderCompare::ShownNameKey(b));
        int expected = FolderCompare::CompareShownNames(a, b);
        ASSERT_EQ(byKey < 0 ? -1 : (byKey > 0 ? 1 : 0), expected)
            << "\"" << a.folderPath << "\" \"" << a.folderName << "\" / \"" << b.folderPath << "\" \"" << b.folderName
            << "\"";
    }
}
