#include "store/FolderList.h"
#include "store/FolderReader.h"
#include "store/pmHierarch.h"

#include "tests/support/Cp1252.h"
#include "tests/support/FolderHeads.h"
#include "tests/support/TempDir.h"
#include "tests/support/TraceCapture.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

const std::string Label = Cp1252("<Posteingang>");
const std::string Unknown = "<??" "?>";

// The shown name of every row by file name.
std::map<std::string, std::string> Shown(const FolderList& list) {
    std::map<std::string, std::string> shown;
    for (const FolderInfo& record : list) shown[record.fileName] = record.folderPath + record.folderName;
    return shown;
}

class FolderListScanTest : public ::testing::Test {
protected:
    int Scan(bool showFolderPath, bool showNewMail = false) {
        return list.Scan({mailbox.Path(), showFolderPath, showNewMail, newMailDir, Label}).hierarchyRead;
    }

    TraceCapture trace;
    TempDir mailbox;
    std::string newMailDir = mailbox.MakeDir("newmail");
    FolderList list;
};

}  // namespace

TEST_F(FolderListScanTest, RowsComeNewMailFirstThenPmmThenMbx) {
    for (const char* name : {"b", "d", "a", "c"}) {
        mailbox.Write(std::string(name) + ".MBX", "", 10);
        mailbox.Write(std::string(name) + ".PMG", PmgHead(std::string("mbx ") + name, ""));
        mailbox.Write(std::string(name) + ".PMM", PmmHead(std::string("pmm ") + name, ""), 1000);
    }
    mailbox.Write("newmail/1.CNM", "", 5);
    mailbox.Write("Orphan.PMG", PmgHead("Waise", ""));

    EXPECT_EQ(Scan(false, true), 1);
    std::vector<std::string> kinds;
    for (const FolderInfo& record : list) kinds.push_back(record.folderName.substr(0, 4));
    EXPECT_EQ(kinds, (std::vector<std::string>{"<Pos", "pmm ", "pmm ", "pmm ", "pmm ", "mbx ", "mbx ", "mbx ", "mbx "}));
    EXPECT_EQ(list.GetCount(), 9);
    EXPECT_EQ(list.GetTotal(), 5u + 4 * 1000 + 4 * 10);  // companions do not count
    // The list says what each row is; a name does not.
    std::vector<FolderKind> told;
    for (size_t i = 0; i < list.GetRecords().size(); ++i) told.push_back(list.KindOf(i));
    const FolderKind N = FolderKind::NewMail, P = FolderKind::Pmm, M = FolderKind::Mbx;
    EXPECT_EQ(told, (std::vector<FolderKind>{N, P, P, P, P, M, M, M, M}));
    Scan(false, false);
    EXPECT_EQ(list.KindOf(0), P);
    EXPECT_EQ(list.KindOf(4), M);
}

TEST_F(FolderListScanTest, FolderPathsComeFromTheHierarchy) {
    mailbox.Write("hierarch.pm", "2,0,R,,Root\n1,0,A,R,Archiv\n1,0,P,A,Privat\n1,0,M,P,Mails\n");
    mailbox.Write("Privat.PMM", PmmHead("Privat", "p"));
    mailbox.Write("Mails.MBX", "", 300);
    mailbox.Write("mails.pmg", PmgHead("Mails", "M"));
    mailbox.Write("Top.PMM", PmmHead("Oben", "R"));
    mailbox.Write("Lost.PMM", PmmHead("Verloren", "nowhere"));
    mailbox.Write("Short.PMM", "short");
    mailbox.Write("NoPmg.MBX", "", 7);

    EXPECT_EQ(Scan(true, true), 1);
    EXPECT_EQ(Shown(list), (std::map<std::string, std::string>{
                               {"*.CNM", Label},
                               {"Privat.PMM", "\\Archiv\\Privat"},
                               {"Mails.MBX", "\\Archiv\\Privat\\Mails"},
                               {"Top.PMM", "Oben"},
                               {"Lost.PMM", Unknown + "Verloren"},
                               {"Short.PMM", Unknown + Cp1252("<Datei ist keine gültige PMM-Datei.>")},
                               {"NoPmg.MBX", Unknown + Cp1252("<PMG-Datei konnte nicht zum Lesen geöffnet werden.>")},
                           }));

    // Without folder paths the same mailbox shows the header names alone.
    EXPECT_EQ(Scan(false), 1);
    EXPECT_EQ(Shown(list)["Mails.MBX"], "Mails");
}

TEST_F(FolderListScanTest, AnEntryWithAnEmptyKeyNamesTheUnreadableFolders) {
    mailbox.Write("hierarch.pm", "2,0,R,,Root\n1,0,,R,Kaputt\n");
    mailbox.Write("Short.PMM", "short");
    Scan(true);
    EXPECT_EQ(Shown(list)["Short.PMM"], "\\" + Cp1252("<Datei ist keine gültige PMM-Datei.>"));
}

TEST_F(FolderListScanTest, AMissingHierarchyFileFailsTheScanButListsEveryFolder) {
    mailbox.Write("A.PMM", PmmHead("Alpha", "A"), 200);
    mailbox.Write("B.MBX", "", 300);
    mailbox.Write("B.PMG", PmgHead("Beta", "B"));

    EXPECT_EQ(Scan(true, true), 0);
    EXPECT_EQ(list.GetCount(), 3);
    EXPECT_EQ(list.GetTotal(), 500u);
    EXPECT_EQ(Shown(list), (std::map<std::string, std::string>{{"*.CNM", Label}, {"A.PMM", "Alpha"}, {"B.MBX", "Beta"}}));
    EXPECT_EQ(trace.Lines(), std::vector<std::string>{Cp1252("[pmHierarch.Fill] WARNUNG: Kann Datei \"" +
                                                             mailbox.Path() + "hierarch.pm\" nicht zum Lesen öffnen\n")});
}

TEST_F(FolderListScanTest, EveryScanReadsTheHierarchyAfresh) {
    mailbox.Write("A.PMM", PmmHead("Alpha", "A"));
    mailbox.Write("hierarch.pm", "1,0,A,R,x\n2,0,R,,Root\n");
    Scan(true);
    EXPECT_EQ(Shown(list)["A.PMM"], "\\Alpha");
    mailbox.Write("hierarch.pm", "2,0,N,,Root\n1,0,P,N,Neu\n1,0,A,P,x\n");
    Scan(true);
    EXPECT_EQ(Shown(list)["A.PMM"], "\\Neu\\Alpha");
}

TEST_F(FolderListScanTest, CompanionsAreFoundWhateverTheCaseOfTheirNames) {
    mailbox.Write("Archiv.MBX", "", 10);
    mailbox.Write("archiv.pmg", PmgHead("Archiv", ""));
    mailbox.Write("upper.mbx", "", 20);
    mailbox.Write("UPPER.PMG", PmgHead("Upper", ""));
    mailbox.Write("same.Mbx", "", 30);
    mailbox.Write("same.PMG", PmgHead("Same", ""));
    Scan(false);
    EXPECT_EQ(Shown(list), (std::map<std::string, std::string>{
                               {"Archiv.MBX", "Archiv"}, {"upper.mbx", "Upper"}, {"same.Mbx", "Same"}}));
    EXPECT_TRUE(trace.Lines().empty());
}

TEST_F(FolderListScanTest, RecordsKeepTheirKeyAndStatusAndTheCallerKeepsTheTable) {
    const std::string notValid = Cp1252("<Datei ist keine gültige PMM-Datei.>");
    mailbox.Write("hierarch.pm", "2,0,R,,Root\n1,0,A,R,Archiv\n1,0,X,Y,Eins\n1,0,Y,X,Zwei\n");
    mailbox.Write("Named.PMM", PmmHead(notValid, "A"), 300);  // a name that looks like a status
    mailbox.Write("Short.PMM", "short");
    mailbox.MakeDir("Dir.PMM");
    mailbox.MakeDir("Dir.MBX");
    mailbox.Write("Alone.MBX", "", 7);
    mailbox.Write("Thin.MBX", "", 8);
    mailbox.Write("Thin.PMG", "thin");
    mailbox.Write("Good.MBX", "", 9);
    mailbox.Write("Good.PMG", PmgHead("Gut", "X"));

    FolderReader reader;
    list.UseReader(&reader);
    ScanResult result = list.Scan({mailbox.Path(), true, false, newMailDir, Label});
    ASSERT_TRUE(result.hierarchyRead);
    ASSERT_NE(result.table, nullptr);
    const pmHierarch& table = *result.table;
    std::map<std::string, std::pair<FolderStatus, std::string>> seen;
    for (const FolderInfo& record : list) seen[record.fileName] = {record.status, record.hierarchyKey};
    EXPECT_EQ(seen, (std::map<std::string, std::pair<FolderStatus, std::string>>{
                        {"Named.PMM", {FolderStatus::Ok, "A"}},
                        {"Short.PMM", {FolderStatus::NotValid, ""}},
                        {"Dir.PMM", {FolderStatus::CannotOpen, ""}},
                        {"Dir.MBX", {FolderStatus::MbxCannotOpen, ""}},
                        {"Alone.MBX", {FolderStatus::PmgCannotOpen, ""}},
                        {"Thin.MBX", {FolderStatus::PmgNotValid, ""}},
                        {"Good.MBX", {FolderStatus::Ok, "X"}},
                    }));
    EXPECT_EQ(Shown(list)["Named.PMM"], "\\" + notValid);
    EXPECT_EQ(Shown(list)["Short.PMM"], Unknown + notValid);

    // The entries and their parents, loops included, as the scan read them.
    ASSERT_EQ(table.GetEntries().size(), 4u);
    EXPECT_EQ(table.GetParents(), (std::vector<int>{-1, 0, 3, 2}));

    // Without folder paths the table is not read.
    result = list.Scan({mailbox.Path(), false, false, newMailDir, Label});
    EXPECT_TRUE(result.hierarchyRead);
    EXPECT_EQ(result.table, nullptr);
}
