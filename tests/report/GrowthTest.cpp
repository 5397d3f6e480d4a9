// --since across runs: folders grown, shrunk, added and removed, and where
// the state file may lie.
#include "tests/report/ReportFixture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <map>
#include <string>

using namespace ReportFixture;
namespace fs = std::filesystem;

namespace {

class ReportGrowth : public ::testing::Test {
protected:
    void SetUp() override {
        mailbox.Write("hierarch.pm", "2,0,R,,Postfach\n1,0,A,R,Archiv\n1,0,B,R,Briefe\n1,0,C,R,Chor\n1,0,D,R,Dach\n");
        WritePmm(mailbox, "A.PMM", "Archiv", "A", 1000);
        WritePmm(mailbox, "B.PMM", "Briefe", "B", 5000);
        WriteMbx(mailbox, "D.MBX", "D.PMG", "Dach", "D", 700);
    }

    nlohmann::json Run(const std::vector<std::string>& extra = {}) {
        std::vector<std::string> args{"--since", stateFile, "--format", "json", "--exact"};
        args.insert(args.end(), extra.begin(), extra.end());
        args.push_back(mailbox.Path());
        Result result = RunReport(args);
        EXPECT_EQ(result.code, 0) << result.err;
        EXPECT_EQ(result.err, "");
        return nlohmann::json::parse(result.out).at("mailboxes").at(0);
    }

    static std::map<std::string, std::string> GrowthByFile(const nlohmann::json& box) {
        std::map<std::string, std::string> growth;
        for (const nlohmann::json& row : box.at("rows")) growth[row.at("fileName")] = row.value("growthText", "-");
        return growth;
    }

    TempDir mailbox, elsewhere;
    std::string stateFile = elsewhere.Path() + "state.json";
};

}  // namespace

TEST_F(ReportGrowth, TwoRunsShowWhatGrewShrankCameAndWent) {
    nlohmann::json first = Run();
    EXPECT_FALSE(first.at("growth").at("earlierState"));
    EXPECT_EQ(GrowthByFile(first), (std::map<std::string, std::string>{{"A.PMM", "-"}, {"B.PMM", "-"}, {"D.MBX", "-"}}));
    ASSERT_TRUE(fs::exists(stateFile));

    WritePmm(mailbox, "A.PMM", "Archiv", "A", 3500);  // grown
    WritePmm(mailbox, "B.PMM", "Briefe", "B", 4000);  // shrunk
    WritePmm(mailbox, "C.PMM", "Chor", "C", 250);     // added
    fs::remove(mailbox.Path() + "D.MBX");             // removed
    nlohmann::json second = Run();
    const nlohmann::json& growth = second.at("growth");
    EXPECT_TRUE(growth.at("earlierState"));
    EXPECT_EQ(growth.at("totalBefore"), 6700u);
    EXPECT_EQ(growth.at("change"), 7750 - 6700);
    EXPECT_EQ(growth.at("removed"), nlohmann::json::parse(R"([{"fileName": "D.MBX", "sizeBefore": 700}])"));
    EXPECT_EQ(GrowthByFile(second),
              (std::map<std::string, std::string>{{"A.PMM", "+2.500"}, {"B.PMM", "-1.000"}, {"C.PMM", "neu"}}));

    // Nothing changed since: every folder's change is zero.
    nlohmann::json third = Run();
    EXPECT_EQ(third.at("growth").at("change"), 0);
    EXPECT_EQ(GrowthByFile(third),
              (std::map<std::string, std::string>{{"A.PMM", "+0"}, {"B.PMM", "+0"}, {"C.PMM", "+0"}}));

    // The listing says the same in words.
    Result table = RunReport({"--since", stateFile, "--lang", "en", mailbox.Path()});
    EXPECT_NE(table.out.find("Growth since "), std::string::npos) << table.out;
    EXPECT_NE(table.out.find(": +0 Bytes (+0 bytes)"), std::string::npos) << table.out;
}

TEST_F(ReportGrowth, OtherMailboxesInTheStateFileAreKept) {
    TempDir other;
    WritePmm(other, "X.PMM", "X", "", 1000);
    ASSERT_EQ(RunReport({"--since", stateFile, other.Path()}).code, 0);
    Run();
    WritePmm(other, "X.PMM", "X", "", 3000);
    Result again = RunReport({"--since", stateFile, "--format", "csv", other.Path()});
    EXPECT_NE(again.out.find(",1000,2000\r\n"), std::string::npos) << again.out;
}

TEST_F(ReportGrowth, TheStateFileNeverGoesIntoTheMailStore) {
    for (const std::string& inside : {mailbox.Path() + "state.json", mailbox.MakeDir("sub") + "state.json",
                                      mailbox.MakeDir("newmail") + "s.json"}) {
        Result result = RunReport({"--since", inside, "--newmail", "newmail", mailbox.Path()});
        EXPECT_EQ(result.code, 2) << inside;
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find("liegt im Postfach"), std::string::npos) << result.err;
        EXPECT_FALSE(fs::exists(inside));
    }
    // A sibling whose name only begins like the mailbox's is elsewhere.
    std::string sibling = mailbox.Path().substr(0, mailbox.Path().size() - 1) + "-state.json";
    EXPECT_EQ(RunReport({"--since", sibling, mailbox.Path()}).code, 0);
    EXPECT_TRUE(fs::exists(sibling));
    fs::remove(sibling);
}

TEST_F(ReportGrowth, AStateFileThatIsNotOursIsLeftAloneAndFailsTheRun) {
    elsewhere.Write("state.json", "{\"something\": \"else\"}");
    Result result = RunReport({"--since", stateFile, mailbox.Path()});
    EXPECT_EQ(result.code, 2);
    EXPECT_NE(result.err.find("kann nicht gelesen werden"), std::string::npos) << result.err;
    EXPECT_EQ(elsewhere.Read("state.json"), "{\"something\": \"else\"}");

    elsewhere.Write("state.json", "[[[[[[[[");
    EXPECT_EQ(RunReport({"--since", stateFile, mailbox.Path()}).code, 2);

    // Nor is a directory where the state file should be.
    EXPECT_EQ(RunReport({"--since", elsewhere.MakeDir("dir.json"), mailbox.Path()}).code, 2);

    // A state file that cannot be written fails the run after the report.
    Result unwritable = RunReport({"--since", elsewhere.Path() + "no/such/dir/state.json", mailbox.Path()});
    EXPECT_EQ(unwritable.code, 2);
    EXPECT_NE(unwritable.out.find("Postfach"), std::string::npos);
    EXPECT_NE(unwritable.err.find("kann nicht geschrieben werden"), std::string::npos);
    for (const auto& entry : fs::directory_iterator(elsewhere.Path()))
        EXPECT_NE(entry.path().filename().string().front(), '~') << entry.path();
}
