// Thirty nights of an office's mailboxes, recorded under the test clock as a
// nightly job records them, and the questions an administrator asks of the
// history, each answer checked against what happened: totals of the
// mailboxes that are there, one deleted and one renamed, a folder that came,
// one that went and one that moved, and a jump in a mailbox's line.
#include "report/text/RunTime.h"
#include "tests/report/ReportFixture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

using namespace ReportFixture;
namespace fs = std::filesystem;

namespace {

constexpr int Boxes = 8;
constexpr int Nights = 30;
constexpr uint64_t Jump = 3ull << 30;

// Night n (from 1) at 02:00 UTC, from 2026-11-01 on.
std::string Night(int n) { return RunTime::Utc(1793498400 + static_cast<std::time_t>(n - 1) * 86400); }

std::string Name(int box) { return "box" + std::to_string(box); }

const char* const Tree = "2,0,ROOT,,Postfach\r\n1,1,A,ROOT,Archiv\r\n1,2,P,ROOT,Posteingang\r\n1,3,N,ROOT,Neu\r\n";
const char* const Moved = "2,0,ROOT,,Postfach\r\n1,1,A,P,Archiv\r\n1,2,P,ROOT,Posteingang\r\n1,3,N,ROOT,Neu\r\n";

class Office {
public:
    Office() {
        for (int b = 0; b < Boxes; ++b) {
            root.MakeDir(Name(b));
            root.Write(Name(b) + "/hierarch.pm", Tree);
            WritePmm(root, Name(b) + "/Archiv.PMM", "Archiv", "A", 50000 + b * 1000);
        }
    }

    // What happens on night n, before the run: every inbox grows; a folder
    // comes, an archive jumps, a folder goes, one moves, a mailbox is
    // deleted, one renamed.
    void Live(int n) {
        if (n == 10) WritePmm(root, "box1/Neu.PMM", "Neu", "N", 700);
        if (n == 17) WritePmm(root, "box2/Archiv.PMM", "Archiv", "A", Jump);
        if (n == 20) fs::remove(root.Path() + "box3/Archiv.PMM");
        if (n == 22) root.Write("box4/hierarch.pm", Moved);
        if (n == 25) fs::remove_all(root.Path() + "box5");
        if (n == 26) fs::rename(root.Path() + "box6", root.Path() + "box6-neu");
        for (int b = 0; b < Boxes; ++b) {
            const std::string box = n >= 26 && b == 6 ? "box6-neu" : Name(b);
            if (b == 5 && n >= 25) continue;
            WritePmm(root, box + "/Eingang.PMM", "Eingang", "P", 10000 + static_cast<uint64_t>(n) * 100 + b);
        }
    }

    std::string Pattern() const { return root.Path() + "box*"; }
    std::string Path(const std::string& box) const { return root.Path() + box; }

private:
    TempDir root;
};

nlohmann::json Json(const Result& result) {
    EXPECT_EQ(result.code, 0) << result.err;
    return result.code == 0 ? nlohmann::json::parse(result.out) : nlohmann::json();
}

// "change mailbox-name file night" for each change, the mailbox by its last part.
std::vector<std::string> Changes(const nlohmann::json& changes) {
    std::vector<std::string> lines;
    for (const nlohmann::json& change : changes.at("changes")) {
        const std::string mailbox = change.at("mailbox");
        std::string line = change.at("change").get<std::string>() + " " + mailbox.substr(mailbox.rfind('/') + 1);
        if (change.contains("fileName")) line += " " + change.at("fileName").get<std::string>();
        if (change.contains("from")) line += " " + change.at("from").get<std::string>() + ">" + change.at("to").get<std::string>();
        for (int n = 1; n <= Nights; ++n)
            if (change.at("recordedAt") == Night(n)) line += " night " + std::to_string(n);
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

TEST(HistoryNights, EveryAnswerMatchesWhatHappened) {
    Office office;
    TempDir files;
    const std::string history = files.Path() + "history.db";
    TestClock clock(Night(1));
    std::string renameSaid;
    for (int n = 1; n <= Nights; ++n) {
        clock.Set(Night(n));
        office.Live(n);
        Result night = RunReport({"--history", history, "--format", "tsv", office.Pattern()});
        ASSERT_EQ(night.code, 0) << "night " << n << ": " << night.err;
        if (n == 26) renameSaid = night.err;
    }
    clock.Set("2026-12-01T09:00:00Z");

    // Which grew most, and how much there is: the totals of what is there,
    // as a live read finds it; the deleted and the renamed mailbox last.
    const nlohmann::json report = Json(RunReport({"--from-history", history, "--format", "json"}));
    const nlohmann::json live = Json(RunReport({"--format", "json", office.Pattern()}));
    EXPECT_EQ(report.at("total").at("total"), live.at("total").at("total"));
    EXPECT_EQ(report.at("total").at("count"), live.at("total").at("count"));
    const nlohmann::json& overview = report.at("overview");
    ASSERT_EQ(overview.size(), static_cast<size_t>(Boxes + 1));
    EXPECT_EQ(overview.at(Boxes - 1).at("mailbox"), office.Path("box5"));
    EXPECT_EQ(overview.at(Boxes - 1).at("goneSince"), Night(25));
    EXPECT_TRUE(overview.at(Boxes - 1).at("share").is_null());
    EXPECT_EQ(overview.at(Boxes).at("goneSince"), Night(26));
    EXPECT_EQ(overview.at(0).at("mailbox"), office.Path("box2")) << "the jump makes it the largest";

    // The run that found the renamed mailbox said how to join its runs.
    EXPECT_NE(renameSaid.find("--rename-mailbox " + office.Path("box6") + " " + office.Path("box6-neu")),
              std::string::npos)
        << renameSaid;

    // Since when a folder exists, what went, what moved, which mailboxes came
    // and went: the month's changes but the first night's mailboxes.
    const std::vector<std::string> expected{
        "new box1 Neu.PMM night 10",          "removed box3 Archiv.PMM night 20",
        "moved box4 Archiv.PMM \\Archiv>\\Posteingang\\Archiv night 22", "mailbox-gone box5 night 25",
        "mailbox-gone box6 night 26",         "mailbox-new box6-neu night 26"};
    std::vector<std::string> month = Changes(
        Json(RunReport({"--from-history", history, "--changes", "--growth-since", "2026-11-02", "--format", "json"})));
    EXPECT_EQ(month, expected);
    EXPECT_EQ(Changes(Json(RunReport({"--from-history", history, "--changes", "--growth-since", "2026-11-02",
                                      "--filter", "NEU.pmm", "--format", "json"}))),
              (std::vector<std::string>{"new box1 Neu.PMM night 10"}));

    // A mailbox recorded only since night 26 is the only one the note on a
    // week's growth names.
    Result week = RunReport({"--from-history", history, "--growth-since", "7d"});
    EXPECT_NE(week.out.find("F\u00FCr 1 Postfach reicht die Historie nicht bis"), std::string::npos) << week.out;
    EXPECT_NE(week.out.find(office.Path("box6-neu") + " (ab "), std::string::npos) << week.out;

    // The rename joined: one mailbox with thirty nights, none gone, the
    // change said where it happened.
    ASSERT_EQ(RunReport({"--history", history, "--rename-mailbox", office.Path("box6"), office.Path("box6-neu")}).code,
              0);
    const nlohmann::json line =
        Json(RunReport({"--from-history", history, "--timeline", "--format", "json", office.Path("box6-neu")}));
    EXPECT_EQ(line.at("timeline").at(0).at("points").size(), static_cast<size_t>(Nights));
    month = Changes(
        Json(RunReport({"--from-history", history, "--changes", "--growth-since", "2026-11-02", "--format", "json"})));
    EXPECT_EQ(month.back(), "mailbox-renamed box6-neu " + office.Path("box6") + ">" + office.Path("box6-neu") +
                                " night 26");
    EXPECT_EQ(Json(RunReport({"--from-history", history, "--format", "json"})).at("overview").size(),
              static_cast<size_t>(Boxes));

    // The same for a spreadsheet, times in UTC.
    Result csv = RunReport({"--from-history", history, "--timeline", "--format", "csv", office.Path("box2")});
    EXPECT_EQ(csv.out.substr(0, csv.out.find('\n') + 1), "mailbox,recorded_at,count,total\r\n");
    EXPECT_NE(csv.out.find(office.Path("box2") + "," + Night(17) + ",2,"), std::string::npos) << csv.out;
    Result tsv = RunReport({"--from-history", history, "--changes", "--growth-since", "2026-11-02", "--format", "tsv"});
    EXPECT_EQ(tsv.out.substr(0, tsv.out.find('\n')),
              "recorded_at\tmailbox\tchange\tfile_name\tfolder_path\tfolder_name\tsize\tsize_before\tfrom\tto");
    EXPECT_NE(tsv.out.find(Night(20) + "\t" + office.Path("box3") + "\tremoved\tArchiv.PMM\t\\\tArchiv\t\t53000\t\t\n"),
              std::string::npos)
        << tsv.out;

    // When the jump happened: the timeline of the archive that jumped.
    const nlohmann::json jumped =
        Json(RunReport({"--from-history", history, "--timeline", "--format", "json", office.Path("box2")}));
    const nlohmann::json& points = jumped.at("timeline").at(0).at("points");
    ASSERT_EQ(points.size(), static_cast<size_t>(Nights));
    EXPECT_EQ(points.at(16).at("total").get<uint64_t>() - points.at(15).at("total").get<uint64_t>(),
              Jump - 52000 + 100);
    EXPECT_EQ(points.at(16).at("recordedAt"), Night(17));
}
