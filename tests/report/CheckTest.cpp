// --check: each finding on a mailbox made to have it and nothing else, and
// none on a clean one.
#include "tests/report/ReportFixture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <functional>
#include <string>
#include <vector>

using namespace ReportFixture;

namespace {

const char* const Tree = "2,0,R,,Postfach\n1,0,A,R,Archiv\n1,0,B,A,Alt\n";

// A mailbox where every entry has its folder file and every file its entry.
void WriteClean(TempDir& dir) {
    dir.Write("hierarch.pm", Tree);
    WritePmm(dir, "Archiv.PMM", "Archiv", "A", 1000);
    WriteMbx(dir, "Alt.MBX", "Alt.PMG", "Alt", "B", 2000);
}

struct Found {
    int code;
    std::vector<std::string> kinds;
    std::string table;
};

Found Check(const std::function<void(TempDir&)>& damage) {
    TempDir mailbox;
    WriteClean(mailbox);
    damage(mailbox);
    Found found;
    Result json = RunReport({"--check", "--format", "json", mailbox.Path()});
    found.code = json.code;
    const nlohmann::json doc = nlohmann::json::parse(json.out);
    for (const nlohmann::json& finding : doc.at("mailboxes").at(0).at("findings"))
        found.kinds.push_back(finding.at("kind"));
    found.table = RunReport({"--check", "--lang", "en", mailbox.Path()}).out;
    return found;
}

using Kinds = std::vector<std::string>;

}  // namespace

TEST(ReportCheck, ACleanMailboxHasNoFindings) {
    Found found = Check([](TempDir&) {});
    EXPECT_EQ(found.code, 0);
    EXPECT_TRUE(found.kinds.empty());
    EXPECT_NE(found.table.find("No findings."), std::string::npos);
}

TEST(ReportCheck, EachFindingOnAMailboxMadeToHaveIt) {
    struct Case {
        const char* name;
        std::function<void(TempDir&)> damage;
        Kinds kinds;
        const char* text;
    };
    const std::vector<Case> cases = {
        {"key missing", [](TempDir& d) { WritePmm(d, "Neu.PMM", "Neu", "C", 10); }, {"key-not-in-hierarchy"},
         "Neu.PMM: key \"C\" is missing from hierarch.pm."},
        {"entry without file", [](TempDir& d) { d.Write("hierarch.pm", std::string(Tree) + "1,0,L,A,Leer\n"); },
         {"entry-without-file"}, "hierarch.pm: entry \"Leer\" (L) has no folder file."},
        {"parent missing",
         [](TempDir& d) {
             d.Write("hierarch.pm", std::string(Tree) + "1,0,W,X,Waise\n");
             WritePmm(d, "Waise.PMM", "Waise", "W", 10);
         },
         {"parent-missing"}, "hierarch.pm: entry \"Waise\" (W) names the missing parent \"X\"."},
        {"short file", [](TempDir& d) { d.Write("Kurz.PMM", std::string(127, 'x')); }, {"unreadable"},
         "Kurz.PMM: unreadable or short: <File is not a valid PMM file.>"},
        {"short companion", [](TempDir& d) { d.Write("Alt.PMG", std::string(89, 'x')); }, {"entry-without-file", "unreadable"},
         "Alt.MBX: unreadable or short: <Folder has no valid PMG file.>"},
        {"unreadable file", [](TempDir& d) { d.MakeDir("Ordner.PMM"); }, {"unreadable"},
         "Ordner.PMM: unreadable or short: <File could not be opened for reading.>"},
        {"mbx without pmg", [](TempDir& d) { d.Write("Allein.MBX", "", 50); }, {"mbx-without-pmg"},
         "Allein.MBX: .MBX file without .PMG file."},
        {"pmg without mbx", [](TempDir& d) { d.Write("Rest.pmg", PmgHead("Rest", "A")); }, {"pmg-without-mbx"},
         "Rest.pmg: .PMG file without .MBX file."},
        {"loop",
         [](TempDir& d) {
             d.Write("hierarch.pm", std::string(Tree) + "1,0,X,Y,Eins\n1,0,Y,X,Zwei\n");
             WritePmm(d, "Eins.PMM", "Eins", "X", 10);
             WritePmm(d, "Zwei.PMM", "Zwei", "Y", 10);
         },
         {"hierarchy-loop"}, "hierarch.pm: loop: X \u2192 Y \u2192 X."},
        {"same path", [](TempDir& d) { WritePmm(d, "Kopie.PMM", "Alt", "b", 10); }, {"same-path"},
         "The same path \"\\Archiv\\Alt\" for Alt.MBX, Kopie.PMM."},
        {"no hierarchy", [](TempDir& d) { std::remove((d.Path() + "hierarch.pm").c_str()); }, {"no-hierarchy"},
         "hierarch.pm cannot be read."},
    };
    for (const Case& c : cases) {
        Found found = Check(c.damage);
        EXPECT_EQ(found.code, 1) << c.name;
        EXPECT_EQ(found.kinds, c.kinds) << c.name;
        EXPECT_NE(found.table.find(std::string("  ") + c.text + "\n"), std::string::npos) << c.name << "\n" << found.table;
    }
}

TEST(ReportCheck, FindingsDoNotChangeTheMailbox) {
    TempDir mailbox;
    WriteSample(mailbox);
    const std::string before = mailbox.Read("hierarch.pm") + mailbox.Read("Kurz.PMM") + mailbox.Read("Rest.PMG");
    EXPECT_EQ(RunReport({"--check", mailbox.Path()}).code, 1);
    EXPECT_EQ(mailbox.Read("hierarch.pm") + mailbox.Read("Kurz.PMM") + mailbox.Read("Rest.PMG"), before);
}
