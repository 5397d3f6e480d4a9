#include "store/pmHierarch.h"

#include "tests/support/Cp1252.h"
#include "tests/support/TempDir.h"
#include "tests/support/TraceCapture.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

const std::string Unknown = "<??" "?>";

class PmHierarchTest : public ::testing::Test {
protected:
    int Fill(const std::string& text) {
        mailbox.Write("hierarch.pm", text);
        return table.Fill(mailbox.Path());
    }

    TraceCapture trace;
    TempDir mailbox;
    pmHierarch table;
};

std::string ParseTrace(const std::string& line) {
    return Cp1252("[pmHierarch.Fill] WARNUNG: Fehler beim Parsen von \"" + line + "\".\n");
}

// What Find has to answer: the first entry in file order, case ignored.
int LinearFind(const pmHierarch& table, const std::string& key) {
    auto fold = [](std::string s) {
        for (char& c : s)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        return s;
    };
    const auto& entries = table.GetEntries();
    for (size_t i = 0; i < entries.size(); ++i)
        if (fold(entries[i].key) == fold(key)) return static_cast<int>(i);
    return -1;
}

}  // namespace

TEST_F(PmHierarchTest, PathsOfTheWorkedExample) {
    ASSERT_EQ(Fill("2,0,R,,Root\n1,0,A,R,Archiv\n1,0,B,A,Alt\n"), 1);
    EXPECT_EQ(table.GetPath("B"), "\\Archiv\\");
    EXPECT_EQ(table.GetPath("A"), "\\");
    EXPECT_EQ(table.GetPath("R"), "");
    EXPECT_EQ(table.GetPath("nobody"), Unknown);
    EXPECT_EQ(table.GetPath("B", true), "\\Archiv\\Alt");
    EXPECT_EQ(table.GetPath("b"), "\\Archiv\\");
    EXPECT_TRUE(trace.Lines().empty());

    ASSERT_EQ(Fill("1,0,A,R,Archiv\n1,0,B,A,Alt\n"), 1);  // the root is gone
    EXPECT_EQ(table.GetPath("B"), Unknown + "\\Archiv\\");
}

TEST_F(PmHierarchTest, AMissingFileIsReportedAndLeavesTheTableEmpty) {
    ASSERT_EQ(Fill("2,0,R,,Root\n"), 1);
    std::remove((mailbox.Path() + "hierarch.pm").c_str());
    trace.Clear();
    EXPECT_EQ(table.Fill(mailbox.Path()), 0);
    EXPECT_TRUE(table.GetEntries().empty());
    EXPECT_EQ(table.Find("R"), -1);
    EXPECT_EQ(trace.Lines(), std::vector<std::string>{Cp1252("[pmHierarch.Fill] WARNUNG: Kann Datei \"" +
                                                             mailbox.Path() + "hierarch.pm\" nicht zum Lesen öffnen\n")});
}

TEST_F(PmHierarchTest, TheFileIsFoundWhateverTheCaseOfItsName) {
    mailbox.Write("HIERARCH.PM", "2,0,R,,Root\n");
    EXPECT_EQ(table.Fill(mailbox.Path()), 1);
    EXPECT_EQ(table.Find("R"), 0);
}

TEST_F(PmHierarchTest, LinesThatDoNotParseAreTracedAndSkipped) {
    ASSERT_EQ(Fill("2,0,R,,Root\r\n\r\nbad line\r\n1,0,A,R\r\n1,0,A,R,Archiv\r\n"), 1);
    ASSERT_EQ(table.GetEntries().size(), 2u);
    EXPECT_EQ(table.GetEntries()[1].name, "Archiv");
    EXPECT_EQ(trace.Lines(), (std::vector<std::string>{ParseTrace(""), ParseTrace("bad line"), ParseTrace("1,0,A,R")}));
}

TEST_F(PmHierarchTest, FillStartsAfresh) {
    ASSERT_EQ(Fill("1,0,A,R,Archiv\n"), 1);
    ASSERT_EQ(Fill("1,0,B,R,Alt\n"), 1);
    EXPECT_EQ(table.Find("A"), -1);
    EXPECT_EQ(table.Find("B"), 0);
}

TEST_F(PmHierarchTest, FindAnswersTheFirstEntryIgnoringCase) {
    ASSERT_EQ(Fill("1,0,key,R,first\n1,0,KEY,R,second\n1,0,Key,R,third\n1,0,,R,empty\n1,0,k\xC4y,R,umlaut\n"), 1);
    EXPECT_EQ(table.Find("kEy"), 0);
    EXPECT_EQ(table.Find(""), 3);
    EXPECT_EQ(table.Find("k\xC4y"), 4);
    EXPECT_EQ(table.Find("ke"), -1);
    EXPECT_EQ(table.Find("keys"), -1);

    // The index against a search from the first entry, over many near-equal keys.
    std::mt19937 random(7);
    const std::string letters = "aAbB_";
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        std::string key;
        for (size_t n = random() % 5; n > 0; --n) key += letters[random() % letters.size()];
        text += "1," + std::to_string(i) + "," + key + ",P,N\n";
    }
    ASSERT_EQ(Fill(text), 1);
    for (int i = 0; i < 2000; ++i) {
        std::string key;
        for (size_t n = random() % 6; n > 0; --n) key += letters[random() % letters.size()];
        ASSERT_EQ(table.Find(key), LinearFind(table, key)) << key;
    }
}

TEST_F(PmHierarchTest, AFolderWithAnEmptyKeyIsUnknownUnlessAnEntryHasIt) {
    ASSERT_EQ(Fill("2,0,R,,Root\n"), 1);
    EXPECT_EQ(table.GetPath(""), Unknown);
    ASSERT_EQ(Fill("2,0,R,,Root\n1,0,,R,Leer\n"), 1);
    EXPECT_EQ(table.GetPath(""), "\\");
}

TEST_F(PmHierarchTest, LoopsAndAbsurdDepthsEndInUnknown) {
    ASSERT_EQ(Fill("1,0,A,A,Selbst\n1,0,B,A,Kind\n1,0,X,Y,Ix\n1,0,Y,X,Ypsilon\n"), 1);
    EXPECT_EQ(table.GetPath("A"), Unknown + "\\");
    EXPECT_EQ(table.GetPath("B"), Unknown + "\\Selbst\\");
    EXPECT_EQ(table.GetPath("X"), Unknown + "\\Ypsilon\\");
    EXPECT_EQ(table.GetPath("X", true), Unknown + "\\Ypsilon\\Ix");

    // A chain of MaxDepth entries under a root is whole; one more is cut.
    std::string text = "2,0,K0,,Root\n";
    std::string expected;
    for (size_t i = 1; i <= pmHierarch::MaxDepth + 1; ++i)
        text += "1,0,K" + std::to_string(i) + ",K" + std::to_string(i - 1) + ",N" + std::to_string(i) + "\n";
    ASSERT_EQ(Fill(text), 1);
    for (size_t i = 1; i < pmHierarch::MaxDepth; ++i) expected += "\\N" + std::to_string(i);
    EXPECT_EQ(table.GetPath("K" + std::to_string(pmHierarch::MaxDepth)), expected + "\\");
    EXPECT_EQ(table.GetPath("K" + std::to_string(pmHierarch::MaxDepth + 1)),
              Unknown + expected.substr(3) + "\\N" + std::to_string(pmHierarch::MaxDepth) + "\\");
}

TEST_F(PmHierarchTest, HugeAndHostileFilesNeitherCrashNorHang) {
    const std::string longName(1 << 20, 'n');
    ASSERT_EQ(Fill("2,0,R,,Root\n1,0,A,R," + longName + "\n1,0,B,A,x\n" + std::string(1 << 20, '"') + "\n"), 1);
    EXPECT_EQ(table.GetPath("B"), "\\" + std::string(pmHierarch::MaxPathLength - 3, 'n') + "\x85\\");

    // 100,000 lines, every entry the parent of the next, none a root.
    std::string chain;
    for (int i = 0; i < 100000; ++i) chain += "1,0,K" + std::to_string(i + 1) + ",K" + std::to_string(i) + ",N\n";
    ASSERT_EQ(Fill(chain), 1);
    EXPECT_EQ(table.GetEntries().size(), 100000u);
    EXPECT_EQ(table.GetPath("K100000").substr(0, Unknown.size()), Unknown);

    std::mt19937 random(11);
    std::string garbage;
    for (int i = 0; i < (1 << 20); ++i) garbage += static_cast<char>(random());
    trace.Clear();
    EXPECT_EQ(Fill(garbage), 1);
    for (const HierarchEntry& entry : table.GetEntries()) table.GetPath(entry.key, true);
}

TEST_F(PmHierarchTest, PathsBeyondTheLimitAreCutVisiblyAtTheLimit) {
    const size_t limit = pmHierarch::MaxPathLength;
    const std::string cut = "\x85\\";
    // "\" + name + "\" fits exactly; one byte more is cut.
    const std::string fits(limit - 2, 'f'), over(limit - 1, 'o');
    ASSERT_EQ(Fill("2,0,R,,Root\n1,0,F,R," + fits + "\n1,0,FK,F,x\n1,0,O,R," + over + "\n1,0,OK,O,x\n"), 1);
    EXPECT_EQ(table.GetPath("FK"), "\\" + fits + "\\");
    EXPECT_EQ(table.GetPath("OK"), "\\" + over.substr(0, limit - 3) + cut);
    EXPECT_EQ(table.GetPath("O", true), "\\" + over);
    EXPECT_EQ(table.GetPath("O"), "\\");

    // Names far beyond the limit, under a missing root: the start is kept.
    std::string text;
    for (int i = 0; i < 70; ++i)
        text += "1,0,K" + std::to_string(i + 1) + ",K" + std::to_string(i) + "," + std::string(40000, 'a') + "\n";
    ASSERT_EQ(Fill(text), 1);
    std::string path = table.GetPath("K70");
    EXPECT_EQ(path.size(), limit);
    EXPECT_EQ(path, Unknown + "\\" + std::string(limit - Unknown.size() - 3, 'a') + cut);
    for (const HierarchEntry& entry : table.GetEntries()) EXPECT_LE(entry.name.size(), limit);
}

TEST_F(PmHierarchTest, AFileBeyondWhatATableMayCostIsReadOnlyInPart) {
    std::string text;
    for (int i = 0; i < 400000; ++i) text += "1,0,K" + std::to_string(i + 1) + ",K" + std::to_string(i) + ",N\n";
    ASSERT_EQ(Fill(text), 1);
    size_t kept = table.GetEntries().size();
    EXPECT_GT(kept, 100000u);
    EXPECT_LT(kept, 400000u);
    EXPECT_EQ(table.Find("K" + std::to_string(kept)), static_cast<int>(kept) - 1);
    EXPECT_EQ(trace.Lines(), std::vector<std::string>{Cp1252("[pmHierarch.Fill] WARNUNG: Datei \"" + mailbox.Path() +
                                                             "hierarch.pm\" ist zu groß; der Rest wird nicht gelesen\n")});
}
