// --since and --history across runs: folders grown, shrunk, added and
// removed, and where the state file and the history may lie.
#include "platform/Directory.h"
#include "report/history/ComparisonRule.h"
#include "report/history/GrowthState.h"
#include "report/history/HistoryStore.h"
#include "report/history/MailboxKey.h"
#include "report/model/MailboxReport.h"
#include "report/model/ReportOptions.h"
#include "report/program/ReportProgram.h"
#include "report/text/ReportTexts.h"
#include "report/text/RunTime.h"
#include "report/text/Utf8.h"
#include "tests/report/ReportFixture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <limits>
#include <map>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <utility>

#include <sqlite3.h>

#ifdef _WIN32
#include <windows.h>
#endif

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
    WritePmm(mailbox, "B\xFCro.PMM", "B\xFCro", "", 128);
    nlohmann::json first = Run();
    EXPECT_FALSE(first.at("growth").at("earlierState"));
    EXPECT_EQ(GrowthByFile(first), (std::map<std::string, std::string>{
                                       {"A.PMM", "-"}, {"B.PMM", "-"}, {"B\u00FCro.PMM", "-"}, {"D.MBX", "-"}}));
    ASSERT_TRUE(fs::exists(stateFile));

    WritePmm(mailbox, "A.PMM", "Archiv", "A", 3500);  // grown
    WritePmm(mailbox, "B.PMM", "Briefe", "B", 4000);  // shrunk
    WritePmm(mailbox, "C.PMM", "Chor", "C", 250);     // added
    fs::remove(mailbox.Path() + "D.MBX");             // removed
    fs::remove(mailbox.Path() + "B\xFCro.PMM");      // removed, its name converted once
    nlohmann::json second = Run();
    const nlohmann::json& growth = second.at("growth");
    EXPECT_TRUE(growth.at("earlierState"));
    EXPECT_EQ(growth.at("totalBefore"), 6828u);
    EXPECT_EQ(growth.at("change"), 7750 - 6828);
    EXPECT_EQ(growth.at("removed"), nlohmann::json::parse(R"([{"fileName": "B\u00FCro.PMM", "sizeBefore": 128},
                                                              {"fileName": "D.MBX", "sizeBefore": 700}])"));
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

// The state keeps names in UTF-8: a folder gone is named as it was listed,
// not converted once more.
TEST_F(ReportGrowth, ARemovedFolderIsNamedAsItWasListed) {
    WritePmm(mailbox, "\xC4rger.PMM", "\xC4rger", "", 1000);  // "Ärger" in code page 1252, as Latin-1 on Windows
    Run();
    fs::remove(mailbox.Path() + "\xC4rger.PMM");
    fs::copy_file(stateFile, stateFile + ".first");
    EXPECT_EQ(Run().at("growth").at("removed").at(0).at("fileName"), "\u00C4rger.PMM");
    Result table = RunReport({"--since", stateFile + ".first", mailbox.Path()});
    EXPECT_NE(table.out.find("Entfernt: \u00C4rger.PMM, zuvor 1000 Bytes"), std::string::npos) << table.out;
}

// Two runs that read the state before either wrote it: the later one keeps
// what the earlier one wrote, and its own mailboxes replace theirs.
TEST_F(ReportGrowth, OverlappingRunsOnOneStateFileKeepEveryMailbox) {
    GrowthState first, second;
    std::string reason;
    ASSERT_TRUE(first.Load(stateFile, reason));
    ASSERT_TRUE(second.Load(stateFile, reason));
    EarlierRun run;
    run.total = 1;
    first.Put("/mail/anna", run);
    first.Put("/mail/both", run);
    run.total = 2;
    second.Put("/mail/bert", run);
    second.Put("/mail/both", run);
    ASSERT_TRUE(first.Save(stateFile));
    ASSERT_TRUE(second.Save(stateFile));
    GrowthState after;
    ASSERT_TRUE(after.Load(stateFile, reason));
    for (const auto& [key, total] : std::map<std::string, uint64_t>{{"/mail/anna", 1}, {"/mail/bert", 2}, {"/mail/both", 2}}) {
        ASSERT_NE(after.Find(key), nullptr) << key;
        EXPECT_EQ(after.Find(key)->total, total) << key;
    }
}

TEST_F(ReportGrowth, OtherMailboxesInTheStateFileAreKept) {
    TempDir other;
    WritePmm(other, "X.PMM", "X", "", 1000);
    ASSERT_EQ(RunReport({"--since", stateFile, other.Path()}).code, 0);
    Run();
    WritePmm(other, "X.PMM", "X", "", 3000);
    Result again = RunReport({"--since", stateFile, "--format", "csv", other.Path()});
    EXPECT_NE(again.out.find(",1000,2000,\r\n"), std::string::npos) << again.out;
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

// --output: the whole report or the file as it was, never in the mail store
// and never in place of the state or the history.
TEST_F(ReportGrowth, TheOutputFileHoldsAWholeReportOrStaysAsItWas) {
    const std::string output = elsewhere.Path() + "report.tsv";
    Result written = RunReport({"--format", "tsv", "--output", output, mailbox.Path()});
    EXPECT_EQ(written.code, 0) << written.err;
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(elsewhere.Read("report.tsv").compare(0, 17, "mailbox\tfile_name"), 0) << elsewhere.Read("report.tsv");

    elsewhere.Write("state.json", "not a state file");
    std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"--output", output, "--since", stateFile, mailbox.Path()}, "kann nicht gelesen werden"},
        {{"--output", elsewhere.Path() + "missing/report.tsv", mailbox.Path()}, "kann nicht geschrieben werden"},
        {{"--output", mailbox.Path() + "report.tsv", mailbox.Path()}, "liegt im Postfach"},
        {{"--output", output, "--since", elsewhere.Path() + "./report.tsv", mailbox.Path()}, "nennen dieselbe Datei"},
    };
#ifdef _WIN32
    // Windows spells a name in any case, and a long name keeps the case it
    // was given: files are told apart by what they are, and one not there
    // yet by its directory and its name compared without case.
    TempDir spelt;
    const std::string state = spelt.Path() + "Zustand-lang.json", box = spelt.Path() + "J\u00FCrgen M\u00FCller";
    ASSERT_EQ(RunReport({"--since", state, mailbox.Path()}).code, 0);
    ASSERT_TRUE(fs::create_directory(fs::u8path(box)));
    std::ofstream(fs::u8path(box + "\\A.PMM"), std::ios::binary) << PmmHead("Archiv", "");
    refused.push_back({{"--output", spelt.Path() + "ZUSTAND-LANG.JSON", "--since", state, mailbox.Path()},
                       "nennen dieselbe Datei"});
    refused.push_back({{"--output", spelt.Path() + "neu-lang.tsv", "--history", spelt.Path() + "NEU-LANG.TSV",
                        mailbox.Path()},
                       "nennen dieselbe Datei"});
    refused.push_back({{"--since", spelt.Path() + "J\u00DCRGEN M\u00DCLLER\\state.json", box}, "liegt im Postfach"});
#endif
    for (const auto& [args, message] : refused) {
        Result result = RunReport(args);
        EXPECT_EQ(result.code, 2) << message;
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
        EXPECT_EQ(elsewhere.Read("report.tsv").compare(0, 17, "mailbox\tfile_name"), 0) << message;
    }
    EXPECT_FALSE(fs::exists(mailbox.Path() + "report.tsv"));
    // No working copy is left beside it.
    EXPECT_EQ(std::distance(fs::directory_iterator(elsewhere.Path()), fs::directory_iterator()), 2);
#ifdef _WIN32
    for (const auto& entry : fs::directory_iterator(spelt.Path()))
        EXPECT_NE(entry.path().filename().u8string().front(), '~') << entry.path();
    EXPECT_FALSE(fs::exists(spelt.Path() + "neu-lang.tsv"));
    EXPECT_EQ(nlohmann::json::parse(spelt.Read("Zustand-lang.json")).at("mailboxes").size(), 1u);
    EXPECT_FALSE(fs::exists(fs::u8path(box + "\\state.json")));
#endif
}

// With both, the state file moves on only with the history: not when the
// history cannot be opened, nor when the run cannot be written to it.
TEST_F(ReportGrowth, TheStateFileStaysWhereItWasWhenTheHistoryFails) {
    Run();
    const std::string before = elsewhere.Read("state.json");
    elsewhere.Write("other.db", "not a database, and left alone");
    WritePmm(mailbox, "A.PMM", "Archiv", "A", 9000);
    Result result = RunReport({"--since", stateFile, "--history", elsewhere.Path() + "other.db", mailbox.Path()});
    EXPECT_EQ(result.code, 2);
    EXPECT_NE(result.err.find("keine Historie"), std::string::npos) << result.err;
    EXPECT_EQ(elsewhere.Read("state.json"), before);
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

// --history: every run kept in SQLite, growth against the previous run or
// one picked by its time.
namespace {

class ReportHistory : public ReportGrowth {
protected:
    nlohmann::json Run(const std::vector<std::string>& growth, const std::vector<std::string>& mailboxes) {
        std::vector<std::string> args{"--history", history, "--format", "json"};
        args.insert(args.end(), growth.begin(), growth.end());
        args.insert(args.end(), mailboxes.begin(), mailboxes.end());
        Result result = RunReport(args);
        EXPECT_EQ(result.code, 0) << result.err;
        EXPECT_EQ(result.err, "");
        return nlohmann::json::parse(result.out).at("mailboxes");
    }

    static std::map<std::string, int64_t> GrowthByFile(const nlohmann::json& box) {
        std::map<std::string, int64_t> growth;
        for (const nlohmann::json& row : box.at("rows"))
            if (row.contains("growth")) growth[row.at("fileName")] = row.at("growth");
        return growth;
    }

    // The first value of a query of the history, as text.
    std::string Query(const std::string& sql, const std::string& file = std::string()) {
        sqlite3* db = nullptr;
        std::string value = "error";
        if (sqlite3_open_v2((file.empty() ? history : file).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) ==
            SQLITE_OK) {
            sqlite3_stmt* select = nullptr;
            if (sqlite3_prepare_v2(db, sql.c_str(), -1, &select, nullptr) == SQLITE_OK &&
                sqlite3_step(select) == SQLITE_ROW)
                value = sqlite3_column_text(select, 0) ? reinterpret_cast<const char*>(sqlite3_column_text(select, 0))
                                                       : "null";
            sqlite3_finalize(select);
        }
        sqlite3_close(db);
        return value;
    }

    // Runs statements on a database, to write it as another program would.
    static void Exec(const std::string& sql, const std::string& file) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
        sqlite3_close(db);
    }

    // The mailboxes of a JSON report by their paths.
    static std::map<std::string, nlohmann::json> ByPath(const nlohmann::json& report) {
        std::map<std::string, nlohmann::json> byPath;
        for (const nlohmann::json& box : report.at("mailboxes")) byPath[box.at("mailbox")] = box;
        return byPath;
    }

    // The report from the history alone, as JSON.
    nlohmann::json Recorded(const std::vector<std::string>& args, const std::string& file = std::string()) {
        std::vector<std::string> all{"--from-history", file.empty() ? history : file, "--format", "json"};
        all.insert(all.end(), args.begin(), args.end());
        Result result = RunReport(all);
        EXPECT_EQ(result.code, 0) << result.err;
        return result.code == 0 ? nlohmann::json::parse(result.out) : nlohmann::json();
    }

    std::string history = elsewhere.Path() + "history.db";
};

}  // namespace

TEST_F(ReportHistory, GrowthAcrossThreeRunsAndAMailboxSeenOnce) {
    nlohmann::json first = Run({"--growth"}, {mailbox.Path()});
    EXPECT_TRUE(first.at(0).at("growthSince").is_null());
    EXPECT_TRUE(GrowthByFile(first.at(0)).empty());
    Result note = RunReport({"--history", elsewhere.Path() + "other.db", "--growth", mailbox.Path()});
    EXPECT_EQ(note.code, 0);
    EXPECT_NE(note.out.find("Kein fr\u00FCherer Lauf mit diesem Postfach in der Historie."), std::string::npos);

    WritePmm(mailbox, "A.PMM", "Archiv", "A", 3500);  // grown
    WritePmm(mailbox, "B.PMM", "Briefe", "B", 4000);  // shrunk
    WritePmm(mailbox, "C.PMM", "Chor", "C", 250);     // new
    fs::remove(mailbox.Path() + "D.MBX");             // removed
    TempDir once;
    WritePmm(once, "X.PMM", "X", "", 1000);
    nlohmann::json second = Run({"--growth"}, {mailbox.Path(), once.Path()});
    EXPECT_EQ(GrowthByFile(second.at(0)),
              (std::map<std::string, int64_t>{{"A.PMM", 2500}, {"B.PMM", -1000}, {"C.PMM", 250}}));
    EXPECT_EQ(second.at(0).at("removed"), nlohmann::json::parse(R"([{"fileName": "D.MBX", "size": 700,
                                                                   "folderPath": "\\", "folderName": "Dach"}])"));
    EXPECT_EQ(second.at(0).at("totalGrowth"), 7750 - 6700);
    EXPECT_EQ(second.at(0).at("growthSince").get<std::string>().size(), 20u);
    EXPECT_TRUE(second.at(1).at("growthSince").is_null());  // seen once

    // The largest grower first by growth, ties by folder name; nothing shown
    // where nothing changed, and in JSON a zero.
    WritePmm(mailbox, "C.PMM", "Chor", "C", 900);
    Result table = RunReport({"--history", history, "--growth", "--sort", "growth:desc", "--exact", mailbox.Path()});
    EXPECT_NE(table.out.find("C.PMM        900  10,7 %     +650  \\Chor\n"
                             "B.PMM      4.000  47,6 %           \\Briefe\n"),
              std::string::npos)
        << table.out;
    nlohmann::json fourth = Run({"--growth"}, {mailbox.Path()});
    EXPECT_EQ(GrowthByFile(fourth.at(0)), (std::map<std::string, int64_t>{{"A.PMM", 0}, {"B.PMM", 0}, {"C.PMM", 0}}));

    // A folder's row only where it changed: A, B, C, X and D's going in run 2,
    // C in run 3, nothing in run 4; the mailbox's path once.
    EXPECT_EQ(Query("SELECT count(*) FROM runs"), "4");
    EXPECT_EQ(Query("SELECT group_concat(run_id || ':' || file_name || ':' || coalesce(size, 'gone'), ' ') FROM"
                    " (SELECT * FROM folder_change WHERE run_id > 1 ORDER BY run_id, file_name)"),
              "2:A.PMM:3500 2:B.PMM:4000 2:C.PMM:250 2:D.MBX:gone 2:X.PMM:1000 3:C.PMM:900");
    EXPECT_EQ(Query("SELECT count(*) FROM mailbox"), "2");

    // --no-paths leaves the paths out of the listing, not out of the history:
    // nothing moved, nothing changed.
    nlohmann::json plain = Run({"--growth", "--no-paths"}, {mailbox.Path()});
    EXPECT_EQ(plain.at(0).at("moved"), nlohmann::json::array());
    EXPECT_EQ(plain.at(0).at("rows").at(0).at("folderPath"), "");
    EXPECT_EQ(Query("SELECT count(*) FROM folder_change WHERE run_id = 5"), "0");
}

// Every folder of a mailbox that changed lands with its own values.
TEST_F(ReportHistory, EveryFolderOfALargeMailboxLandsWithItsOwnValues) {
    TempDir large;
    const int folders = 70;
    auto file = [](int i) { return "F" + std::to_string(100 + i) + ".PMM"; };
    auto write = [&](int i, int size) {
        WritePmm(large, file(i), "Ordner " + std::to_string(i), "K" + std::to_string(i), size);
    };
    for (int i = 0; i < folders; ++i) write(i, 1000 + i);
    Run({}, {large.Path()});
    std::map<std::string, int64_t> expected;
    for (int i = 0; i < folders; ++i) {
        write(i, 1000 + 3 * i);
        expected[file(i)] = 2 * i;
    }
    EXPECT_EQ(GrowthByFile(Run({"--growth"}, {large.Path()}).at(0)), expected);

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(history.c_str(), &db), SQLITE_OK);
    sqlite3_stmt* rows = nullptr;
    sqlite3_prepare_v2(db, "SELECT file_name, hierarchy_key, folder_path || folder_name, size FROM folder_change"
                       " WHERE run_id = 2", -1, &rows, nullptr);
    int seen = 0;
    while (sqlite3_step(rows) == SQLITE_ROW) {
        const std::string fileName = reinterpret_cast<const char*>(sqlite3_column_text(rows, 0));
        const int i = std::stoi(fileName.substr(1, 3)) - 100;
        EXPECT_EQ(reinterpret_cast<const char*>(sqlite3_column_text(rows, 1)), "K" + std::to_string(i));
        EXPECT_EQ(reinterpret_cast<const char*>(sqlite3_column_text(rows, 2)), "Ordner " + std::to_string(i));
        EXPECT_EQ(sqlite3_column_int64(rows, 3), 1000 + 3 * i);
        ++seen;
    }
    EXPECT_EQ(seen, folders - 1);  // F100.PMM is as it was
    sqlite3_finalize(rows);
    sqlite3_close(db);
}

// Nights of runs and queries in the mornings: a query from the history
// records nothing and touches no mailbox, so each night still compares
// with the night before; --growth-since takes the run nearest to the moment
// asked for, and the earliest where none is that old.
TEST_F(ReportHistory, QueriesRecordNothingAndWindowsMeanWhatTheySay) {
    auto other = std::make_unique<TempDir>();
    WritePmm(*other, "X.PMM", "X", "", 100);
    const std::string otherPath = other->Path(), otherShown = Utf8FromOsText(Directory::Canonical(otherPath));
    auto at = [](int day, const char* time) {
        char text[32];
        std::snprintf(text, sizeof text, "2026-11-%02dT%sZ", day, time);
        return std::string(text);
    };
    TestClock clock(at(1, "02:00:01"));
    for (int day = 1; day <= 29; ++day) {
        WritePmm(mailbox, "A.PMM", "Archiv", "A", 1000 + 100 * day);
        clock.Set(at(day, "02:00:01"));
        nlohmann::json night = Run({"--growth"}, {mailbox.Path(), otherPath});
        EXPECT_EQ(night.at(0).at("growthSince"), day > 1 ? nlohmann::json(at(day - 1, "02:00:01")) : nlohmann::json());
        clock.Set(at(day, "09:00:00"));
        const std::string before = elsewhere.Read("history.db");
        EXPECT_EQ(Recorded({"--growth-since", "1d"}).at("mailboxes").size(), 2u);
        EXPECT_EQ(elsewhere.Read("history.db"), before) << "a query changed the history";
    }
    // Only A changed, once a night: 3 rows of the first night, then one a night.
    EXPECT_EQ(Query("SELECT count(*) FROM folder_change"), std::to_string(3 + 28 + 1));

    other.reset();  // gone: the history still tells it
    clock.Set("2026-11-30T02:00:00Z");
    auto compared = [&](const std::vector<std::string>& args) {
        const nlohmann::json box = Recorded(args).at("mailboxes").at(0);
        return box.at("growthSince").get<std::string>() + " " + std::to_string(box.at("totalGrowth").get<int64_t>());
    };
    EXPECT_EQ(compared({}), at(28, "02:00:01") + " 100");  // the previous run
    // A run one second younger than a week is a week ago, not the run before it.
    EXPECT_EQ(compared({"--growth-since", "7d"}), at(23, "02:00:01") + " 600");
    EXPECT_EQ(compared({"--growth-since", "1w"}), at(23, "02:00:01") + " 600");
    EXPECT_EQ(compared({"--growth-since", "30d"}), at(1, "02:00:01") + " 2800");
    EXPECT_EQ(compared({"--growth-since", "2026-11-01"}), at(1, "02:00:01") + " 2800");
    EXPECT_EQ(compared({"--growth-since", "01.11.2026"}), at(1, "02:00:01") + " 2800");

    EXPECT_EQ(ByPath(Recorded({}))[otherShown].at("rows").at(0).at("fileName"), "X.PMM");
    // A history shorter than asked for: one note, naming the mailboxes it
    // concerns and what each is compared with.
    Result note = RunReport({"--from-history", history, "--growth-since", "30d"});
    const std::string says = "F\u00FCr 2 Postf\u00E4cher reicht die Historie nicht bis " +
                             RunTime::Local("2026-10-31T02:00:00Z") +
                             " zur\u00FCck; verglichen wird jeweils mit dem fr\u00FChesten Lauf: ";
    EXPECT_NE(note.out.find(says), std::string::npos) << note.out;
    EXPECT_EQ(note.out.find(says), note.out.rfind(says)) << note.out;
    EXPECT_NE(note.out.find(otherShown + " (ab " + RunTime::Local(at(1, "02:00:01")) + ")"), std::string::npos)
        << note.out;
    Result young = RunReport({"--from-history", history, "--growth-since", "10d"});
    EXPECT_EQ(young.out.find("reicht die Historie nicht"), std::string::npos) << "both reach back 10 days";

    // The next night names one of them only: the other is not looked for,
    // so not gone, and still counts.
    clock.Set("2026-11-30T02:00:01Z");
    Run({}, {mailbox.Path()});
    const nlohmann::json later = Recorded({});
    EXPECT_EQ(ByPath(later)[otherShown].at("foundInLatestRun"), true);
    EXPECT_FALSE(ByPath(later)[otherShown].contains("goneSince"));
    EXPECT_EQ(later.at("total").at("count"), 4);

    // The times SINCE may name.
    std::time_t moment = 0;
    ASSERT_TRUE(RunTime::ParseSince("12h", 1000000, moment));
    EXPECT_EQ(moment, 1000000 - 12 * 3600);
    ASSERT_TRUE(RunTime::ParseSince("2w", 2000000, moment));
    EXPECT_EQ(moment, 2000000 - 14 * 86400);
    for (const char* bad : {"7y", "d", "-1d", "1.5h", "2026-02-30", "2026-13-01", "26-11-01", "123456d", "31.11.2026",
                            "1.11.2026", "01-11-2026"})
        EXPECT_FALSE(RunTime::ParseSince(bad, 1000000, moment)) << bad;
    // Those --keep takes: days, weeks and years, never minutes or hours.
    std::time_t kept = 0;
    ASSERT_TRUE(RunTime::ParseRetention("1y", kept));
    EXPECT_EQ(kept, 365 * 86400);
    ASSERT_TRUE(RunTime::ParseRetention("52w", kept));
    EXPECT_EQ(kept, 52 * 7 * 86400);
    ASSERT_TRUE(RunTime::ParseRetention("99999y", kept));  // beyond a 32-bit time: as long as a time holds
    EXPECT_GE(kept, std::numeric_limits<int32_t>::max());
    for (const char* bad : {"12m", "36h", "y", "1.5y", "123456d"})
        EXPECT_FALSE(RunTime::ParseRetention(bad, kept)) << bad;
}

// The run a mailbox is compared with, by the one rule every comparison follows.
TEST(ComparisonRule, PreviousOrNearestTheEarlierOnATieAndTheEarliestWhereNoneIsThatOld) {
    constexpr size_t None = ComparisonRule::None;
    const std::vector<std::time_t> runs = {100, 200, 300};
    struct Case {
        ComparisonRule rule;
        std::vector<std::time_t> starts;
        size_t index;
        bool beforeHistory;
    };
    const std::vector<Case> cases = {
        {ComparisonRule::Previous(), {}, None, false},
        {ComparisonRule::Previous(), runs, 2, false},
        {ComparisonRule::Since(190), {}, None, false},
        {ComparisonRule::Since(240), runs, 1, false},
        {ComparisonRule::Since(250), runs, 1, false},  // as near as 300: the earlier
        {ComparisonRule::Since(251), runs, 2, false},
        {ComparisonRule::Since(100), runs, 0, false},
        {ComparisonRule::Since(99), runs, 0, true},
        {ComparisonRule::Since(9999), runs, 2, false},
    };
    for (const Case& c : cases) {
        const ComparisonRule::Choice choice = c.rule.Choose(c.starts);
        EXPECT_EQ(choice.index, c.index) << c.rule.Moment();
        EXPECT_EQ(choice.beforeHistory, c.beforeHistory) << c.rule.Moment();
    }
}

// Growth where the administrator looks: the overview ranked by it with its
// own column, the total's growth, the folders of all that grew most, new
// folders with their first run, removed ones with their names, moved ones.
TEST_F(ReportHistory, GrowthRanksTheOverviewAndTheTopInEveryFormat) {
    TempDir grower, shrinker;
    WritePmm(grower, "X.PMM", "Xaver", "", 1000);
    WritePmm(shrinker, "Y.PMM", "Ypsilon", "", 2000);
    const std::vector<std::string> all{mailbox.Path(), grower.Path(), shrinker.Path()};
    TestClock clock("2026-11-01T02:00:00Z");
    Run({}, all);
    WritePmm(mailbox, "A.PMM", "Archiv", "A", 3500);  // +2500
    WritePmm(mailbox, "C.PMM", "Chor", "C", 250);     // new
    fs::remove(mailbox.Path() + "D.MBX");             // removed
    mailbox.Write("hierarch.pm", "2,0,R,,Postfach\n1,0,A,R,Archiv\n1,0,B,A,Briefe\n1,0,C,R,Chor\n1,0,D,R,Dach\n");
    WritePmm(grower, "X.PMM", "Xaver", "", 9000);      // +8000
    WritePmm(shrinker, "Y.PMM", "Ypsilon", "", 1500);  // -500
    clock.Set("2026-11-02T02:00:00Z");
    Run({}, all);
    clock.Set("2026-11-02T09:00:00Z");
    auto query = [&](const std::vector<std::string>& args) {
        std::vector<std::string> full{"--from-history", history, "--sort", "growth:desc", "--exact"};
        full.insert(full.end(), args.begin(), args.end());
        Result result = RunReport(full);
        EXPECT_EQ(result.code, 0) << result.err;
        return result.out;
    };

    const nlohmann::json doc = nlohmann::json::parse(query({"--format", "json", "--top", "2"}));
    std::vector<int64_t> ranked;
    for (const nlohmann::json& entry : doc.at("overview")) {
        ranked.push_back(entry.at("growth"));
        EXPECT_EQ(entry.at("comparedWith"), "2026-11-01T02:00:00Z");
    }
    EXPECT_EQ(ranked, (std::vector<int64_t>{8000, 2050, -500}));
    EXPECT_EQ(doc.at("total").at("growth"), 9550);
    EXPECT_EQ(doc.at("top").at(0).at("growth"), 8000);
    EXPECT_EQ(doc.at("top").at(1).at("fileName"), "A.PMM");
    const nlohmann::json box = ByPath(doc)[Utf8FromOsText(Directory::Canonical(mailbox.Path()))];
    for (const nlohmann::json& row : box.at("rows"))
        EXPECT_EQ(row.value("firstSeen", ""), row.at("fileName") == "C.PMM" ? "2026-11-02T02:00:00Z" : "");
    EXPECT_EQ(box.at("moved"), nlohmann::json::parse(R"([{"fileName": "B.PMM", "from": "\\Briefe",
                                                          "to": "\\Archiv\\Briefe"}])"));
    EXPECT_EQ(box.at("removed").at(0).at("folderName"), "Dach");

    const std::string table = query({});
    auto shown = [](const TempDir& dir) { return Utf8FromOsText(Directory::Canonical(dir.Path())); };
    const std::string grew = shown(grower), shrank = shown(shrinker), box1 = shown(mailbox);
    EXPECT_LT(table.find(grew + " "), table.find(box1 + " "));
    EXPECT_LT(table.find(box1 + " "), table.find(shrank + " "));
    EXPECT_NE(table.find("+8.000 (+800,0 %)"), std::string::npos) << table;
    EXPECT_NE(table.find("-500 (-25,0 %)"), std::string::npos) << table;
    EXPECT_NE(table.find("; Zuwachs +9.550\n"), std::string::npos) << table;
    EXPECT_NE(table.find("neu seit " + RunTime::LocalDate("2026-11-02T02:00:00Z")), std::string::npos) << table;
    EXPECT_NE(table.find("Entfernt: \\Dach (D.MBX), zuvor 700\n"), std::string::npos) << table;
    EXPECT_NE(table.find("Verschoben: B.PMM von \\Briefe nach \\Archiv\\Briefe\n"), std::string::npos) << table;
    EXPECT_NE(table.find("Aufgezeichnet: " + RunTime::Local("2026-11-02T02:00:00Z")), std::string::npos) << table;
    const std::string top = query({"--top", "2", "--lang", "en"});
    EXPECT_NE(top.find("X.PMM      9,000  46.8%  +8,000  Xaver\n"), std::string::npos) << top;

    // The page's first screen shows growth: the overview's column with a
    // line per mailbox, the folders that grew most; and each section has
    // its chart, drawn from the runs in the page's data.
    const std::string page = query({"--format", "html"});
    const std::string overview = page.substr(page.find("<section id=\"overview\">"));
    EXPECT_NE(overview.find("+8.000 (+800,0 %)"), std::string::npos);
    auto count = [&](const std::string& what) {
        size_t n = 0;
        for (size_t at = page.find(what); at != std::string::npos; at = page.find(what, at + 1)) ++n;
        return n;
    };
    EXPECT_EQ(count("<td class=\"spark\""), 3u);
    EXPECT_EQ(count("<div class=\"history\""), 3u);
    const std::string grown = page.substr(page.find("<section id=\"growth-top\">"));
    EXPECT_LT(grown.find("X.PMM"), grown.find("A.PMM"));
    EXPECT_EQ(grown.substr(0, grown.find("</section>")).find("Y.PMM"), std::string::npos) << "it shrank";
    EXPECT_NE(page.find("\"runs\":[1793498400,1793584800]"), std::string::npos);

    const std::string csv = query({"--format", "csv", "--top", "2"});
    EXPECT_NE(csv.find(",growth,growth_percent,compared_with,gone_since\r\n"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",8000,\"+800,0\",2026-11-01T02:00:00Z,\r\n"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",share_of_all_percent,change,first_seen\r\n" + grew + ",X.PMM,9000,"), std::string::npos) << csv;
    // For a spreadsheet every number is a number: no plus, no apostrophe.
    const std::string excel = query({"--format", "csv", "--excel"});
    EXPECT_NE(excel.find(";8000;800,0;2026-11-01T02:00:00Z;"), std::string::npos) << excel;
    EXPECT_NE(excel.find(";-500;-25,0;"), std::string::npos) << excel;
    EXPECT_EQ(excel.find("'+"), std::string::npos) << excel;
}

// The lean rows against what was recorded: nights of folders coming,
// changing, moving, going and coming back, each night's folders read back
// as they were, with the first night of each one's stay; and the same for
// the nights --keep leaves, whose stays then begin no earlier than they.
TEST(HistoryStore, EveryRunReadsBackAsRecordedAlsoAfterRetention) {
    using Folders = std::map<std::string, std::string>;  // file name to "size path name"
    TempDir dir;
    const std::string file = dir.Path() + "history.db";
    std::mt19937 random(11);
    std::vector<Folders> nights;
    std::vector<std::string> starts;
    auto record = [&](const std::string& keepFrom) {
        MailboxReport mailbox;
        mailbox.readable = true;
        Folders folders;
        for (int f = 0; f < 12; ++f) {
            if (random() % 5 == 0) continue;  // not there tonight
            ReportRow row;
            row.record.fileName = "F" + std::to_string(f) + ".PMM";
            row.record.size = 1000 * (1 + random() % 3);
            row.record.folderPath = random() % 4 == 0 ? "\\B\\" : "\\A\\";
            row.record.folderName = "Ordner " + std::to_string(f);
            folders[row.record.fileName] = std::to_string(row.record.size) + " " + row.record.folderPath +
                                           row.record.folderName;
            mailbox.total += row.record.size;
            mailbox.rows.push_back(row);
        }
        mailbox.count = mailbox.rows.size();
        starts.push_back(RunTime::Utc(1793498400 + 86400 * static_cast<std::time_t>(starts.size())));
        nights.push_back(folders);
        HistoryStore store;
        ASSERT_TRUE(store.Open(file));
        ASSERT_TRUE(store.Append(starts.back(), {{&mailbox, "/mail", "/mail", ""}}, {}, keepFrom));
    };
    // Each night compared with the latest: its folders, and the first
    // night of the latest's stay of each folder it lacks.
    auto check = [&](size_t first) {
        HistoryStore store;
        ASSERT_TRUE(store.Open(file, HistoryStore::Mode::Read));
        HistoryStore::Mailbox mailbox;
        ASSERT_TRUE(store.FindMailbox("/mail", mailbox));
        ASSERT_EQ(mailbox.runs.size(), nights.size() - first);
        const size_t latest = mailbox.runs.size() - 1;
        for (size_t i = 0; i < mailbox.runs.size(); ++i) {
            EarlierRun earlier;
            std::vector<RecordedFolder> now;
            ASSERT_TRUE(store.Compare(mailbox, i, latest, &earlier, now));
            Folders seen;
            for (const auto& [name, folder] : earlier.folders)
                seen[name] = std::to_string(folder.size) + " " + folder.folderPath + folder.folderName;
            EXPECT_EQ(seen, nights[first + i]) << "night " << first + i;
            EXPECT_EQ(now.size(), nights.back().size());
            for (const auto& [name, since] : earlier.firstSeen) {
                size_t stay = nights.size() - 1;
                while (stay > first && nights[stay - 1].count(name)) --stay;
                EXPECT_EQ(since, starts[stay]) << name << " against night " << first + i;
            }
        }
    };
    for (int night = 0; night < 24; ++night) record("");
    check(0);
    record(starts[15]);  // keeps nights 15 to 24
    check(15);
}

// A history that version 2.6.0's program wrote (three nights, two
// mailboxes, a folder removed): read as it is without a write, and brought
// to the lean schema by the first run that writes, with nothing lost.
TEST_F(ReportHistory, AnOldHistoryIsReadUntouchedAndMigratedByTheFirstWrite) {
    const std::string old = elsewhere.Path() + "old.db";
    fs::copy_file(std::string(FOLDSCAN_GOLDEN_DIR) + "history-v1.db", old);
    // A folder that could not be read kept its status text for its name.
    Exec("INSERT INTO folders VALUES (1, '/tmp/foldscan-v1/Zweites', 'Kaputt.PMM', '', "
         "'<???><Datei ist keine g\u00FCltige PMM-Datei.>', 0)",
         old);
    const std::string bytes = elsewhere.Read("old.db");
    TestClock clock("2026-11-05T09:00:00Z");
    auto mailboxes = [&] { return ByPath(Recorded({"--growth-since", "2026-11-01"}, old)); };
    std::map<std::string, nlohmann::json> before = mailboxes();
    EXPECT_EQ(elsewhere.Read("old.db"), bytes);
    const nlohmann::json& box = before["/tmp/foldscan-v1/Postfach"];
    EXPECT_EQ(box.at("growthSince"), "2026-11-01T02:00:00Z");
    EXPECT_EQ(GrowthByFile(box), (std::map<std::string, int64_t>{{"A.PMM", 2500}, {"Buero.PMM", -1000}, {"C.PMM", 250}}));
    EXPECT_EQ(box.at("removed"), nlohmann::json::parse(R"([{"fileName": "D.PMM", "size": 700,
                                                            "folderPath": "\\Archiv\\", "folderName": "Dach"}])"));
    EXPECT_EQ(box.at("rows").at(1).at("folder"), "\\B\u00FCro \u20AC");
    EXPECT_EQ(before["/tmp/foldscan-v1/Zweites"].at("total"), 300);
    const nlohmann::json broken = before["/tmp/foldscan-v1/Zweites"].at("rows").at(0);
    EXPECT_EQ(broken.at("fileName"), "Kaputt.PMM");
    EXPECT_EQ(broken.at("status"), "not-valid");
    EXPECT_EQ(broken.at("folderPath"), "<???>");

    // Under --timeout it is not brought to this schema, and the run says how it will be.
    Result timed = RunReport({"--history", old, "--timeout", "60", mailbox.Path()});
    EXPECT_EQ(timed.code, 2);
    EXPECT_NE(timed.err.find("Sie hat noch das Format einer fr\u00FCheren Version"), std::string::npos) << timed.err;
    EXPECT_EQ(elsewhere.Read("old.db"), bytes);
    Result migrated = RunReport({"--history", old, "--migrate-history", "--timeout", "60"});
    EXPECT_EQ(migrated.code, 0) << migrated.err;
    EXPECT_EQ(migrated.err, "foldscan-report: Die Historie " + old + " hat das Format dieser Version.\n");
    EXPECT_EQ(Query("SELECT user_version FROM pragma_user_version", old), "2");

    ASSERT_EQ(RunReport({"--history", old, mailbox.Path()}).code, 0);
    EXPECT_EQ(Query("SELECT (SELECT user_version FROM pragma_user_version) || ' ' || (SELECT count(*) FROM runs)",
                    old),
              "2 4");
    std::map<std::string, nlohmann::json> after = mailboxes();
    EXPECT_EQ(after.size(), 3u);
    for (auto& [path, recorded] : before) {
        EXPECT_TRUE(after[path].at("foundInLatestRun")) << "no later run looked for " << path;
        recorded.erase("foundInLatestRun");
        after[path].erase("foundInLatestRun");
        EXPECT_EQ(after[path], recorded) << path;
    }
}

// --keep: old runs go, a mailbox's latest never, and what the runs kept
// rest on stays: a folder unchanged since the first night, one that went.
TEST_F(ReportHistory, KeepDeletesOldRunsButNoMailboxsLatestAndGivesTheSpaceBack) {
    TempDir once, large;
    WritePmm(once, "X.PMM", "X", "", 1000);
    WritePmm(mailbox, "Fest.PMM", "Fest", "", 4444);
    auto night = [](int day) { return RunTime::Utc(1793500000 + day * 86400); };  // 2026-11-01 02:26:40 on
    TestClock clock(night(0));
    for (int day = 0; day < 20; ++day) {
        clock.Set(night(day));
        for (int i = 0; i < 200; ++i) WritePmm(large, "F" + std::to_string(i) + ".PMM", "Ordner", "", 1000 + day);
        WritePmm(mailbox, "A.PMM", "Archiv", "A", 1000 + day);
        if (day == 5) fs::remove(mailbox.Path() + "D.MBX");
        std::vector<std::string> boxes{mailbox.Path(), large.Path()};
        if (day == 0) boxes.push_back(once.Path());
        Run({}, boxes);
    }
    const auto full = fs::file_size(history);
    clock.Set(night(20));
    WritePmm(mailbox, "A.PMM", "Archiv", "A", 1020);
    Run({"--keep", "5d"}, {mailbox.Path(), large.Path()});
    EXPECT_LT(fs::file_size(history), full / 2) << "the space is not given back";
    // The five days before and the night itself, and the one night of once.
    EXPECT_EQ(Query("SELECT count(*) FROM runs"), "7");
    EXPECT_EQ(Query("SELECT min(started) FROM runs r JOIN mailbox_run m ON m.run_id = r.id WHERE m.mailbox_id = 1"),
              night(15));
    std::map<std::string, nlohmann::json> byPath = ByPath(Recorded({"--growth-since", "5d"}));
    const nlohmann::json& kept = byPath[Utf8FromOsText(Directory::Canonical(mailbox.Path()))];
    EXPECT_EQ(kept.at("growthSince"), night(15));
    EXPECT_EQ(GrowthByFile(kept), (std::map<std::string, int64_t>{{"A.PMM", 5}, {"B.PMM", 0}, {"Fest.PMM", 0}}));
    EXPECT_EQ(kept.at("removed"), nlohmann::json::array());
    const nlohmann::json& first = byPath[Utf8FromOsText(Directory::Canonical(once.Path()))];
    EXPECT_EQ(first.at("rows").at(0).at("size"), 1000);
}

#ifdef _WIN32
// Windows compares paths without regard to case and takes "/" for "\\": a
// mailbox named in either spelling has one history. Paths are UTF-8, as the
// program takes its command line.
TEST_F(ReportHistory, OneMailboxOneHistoryHoweverWindowsSpellsIt) {
    const std::string dir = elsewhere.Path() + "Mail Daten\\J\u00FCrgen M\u00FCller\\";
    ASSERT_TRUE(fs::create_directories(fs::u8path(dir)));
    auto write = [&](size_t size) {
        std::string bytes = PmmHead("Archiv", "");
        bytes.resize(size, '\0');
        std::ofstream(fs::u8path(dir + "A.PMM"), std::ios::binary) << bytes;
    };
    // "c:/USERS/.../mAIL dATEN/j\u00DCRGEN m\u00DCLLER/"
    std::string other;
    for (char c : dir) {
        const unsigned char b = static_cast<unsigned char>(c);
        other += c == '\\' ? '/' : b < 0x80 && std::isalpha(b) ? static_cast<char>(b ^ 0x20) : c;
    }
    for (size_t at; (at = other.find("\u00FC")) != std::string::npos;) other.replace(at, 2, "\u00DC");
    EXPECT_EQ(MailboxKey::Of(dir), MailboxKey::Of(other));
    write(1000);
    Run({}, {dir});
    write(1500);
    EXPECT_EQ(Run({"--growth"}, {other}).at(0).at("rows").at(0).at("growth"), 500);
    EXPECT_EQ(Query("SELECT count(*) FROM mailbox"), "1");
}
#else
// Elsewhere a name is bytes: "\u00E9t\u00E9" in UTF-8 and in Latin-1 are two
// directories, two mailboxes with a history and a state each.
TEST_F(ReportHistory, ANameInTwoEncodingsIsTwoMailboxes) {
    elsewhere.MakeDir("\u00E9t\u00E9");
    elsewhere.MakeDir("\xE9t\xE9");
    const std::string utf8 = elsewhere.Path() + "\u00E9t\u00E9", latin1 = elsewhere.Path() + "\xE9t\xE9";
    WritePmm(elsewhere, "\u00E9t\u00E9/A.PMM", "Archiv", "", 5000);
    WritePmm(elsewhere, "\xE9t\xE9/A.PMM", "Archiv", "", 600);
    // The key of a UTF-8 path is as it was; a name in another encoding keeps its bytes.
    EXPECT_EQ(MailboxKey::Of(utf8), utf8);
    EXPECT_EQ(MailboxKey::Of(latin1), "\"" + elsewhere.Path() + "\\xE9t\\xE9\"");
    EXPECT_EQ(MailboxKey::TextOf("/a\"b\\\xFF\u00E9"), "\"/a\\\"b\\\\\\xFF\u00E9\"");
    ASSERT_EQ(Run({}, {utf8, latin1}).size(), 2u);
    WritePmm(elsewhere, "\xE9t\xE9/A.PMM", "Archiv", "", 700);
    const nlohmann::json both = Run({"--growth"}, {latin1, utf8});
    ASSERT_EQ(both.size(), 2u);
    EXPECT_EQ(both.at(0).at("mailbox"), utf8);  // shown as code page 1252, printable
    EXPECT_EQ(both.at(0).at("rows").at(0).at("growth"), 100);
    EXPECT_EQ(both.at(1).at("rows").at(0).at("growth"), 0);
    EXPECT_EQ(Query("SELECT count(*) FROM mailbox"), "2");
    ASSERT_EQ(RunReport({"--since", stateFile, latin1, utf8}).code, 0);
    EXPECT_EQ(nlohmann::json::parse(elsewhere.Read("state.json")).at("mailboxes").size(), 2u);
}
#endif

// A mailbox that cannot be read gets no run: its latest stays the one it
// had, and a run that read nothing writes nothing, not even a new file.
TEST_F(ReportHistory, OnlyWhatWasReadIsRecorded) {
    const std::string gone = elsewhere.Path() + "gone";
    Result nothing = RunReport({"--history", history, gone});
    EXPECT_EQ(nothing.code, 2);
    EXPECT_FALSE(fs::exists(history)) << "a run that read nothing made the history";

    Run({}, {mailbox.Path()});
    WritePmm(mailbox, "A.PMM", "Archiv", "A", 3000);
    Result half = RunReport({"--history", history, mailbox.Path(), gone});
    EXPECT_EQ(half.code, 2);
    EXPECT_NE(half.err.find("Nicht festgehalten, ihr letzter festgehaltener Stand bleibt g\u00FCltig: " + gone),
              std::string::npos)
        << half.err;
    fs::rename(mailbox.Path(), gone);  // its share offline for a night
    Result offline = RunReport({"--history", history, mailbox.Path()});
    EXPECT_EQ(offline.code, 2);
    fs::rename(gone, mailbox.Path());
    EXPECT_EQ(Query("SELECT count(*) FROM runs"), "2");  // the offline night left none
    // The mailbox's latest run is the one that read it.
    const nlohmann::json box = Run({"--growth"}, {mailbox.Path()}).at(0);
    EXPECT_EQ(GrowthByFile(box).at("A.PMM"), 0);
    EXPECT_TRUE(box.at("removed").empty());
}

TEST_F(ReportHistory, ADatabaseNotOursIsRefusedAndLeftAsItWas) {
    // Not SQLite; another program's database; a newer schema of ours.
    const std::string text = elsewhere.Write("text.db", std::string(5000, 'x'));
    const std::string foreign = elsewhere.Path() + "foreign.db", newer = elsewhere.Path() + "newer.db";
    sqlite3* db = nullptr;
    sqlite3_open(foreign.c_str(), &db);
    sqlite3_exec(db, "CREATE TABLE runs(id); INSERT INTO runs VALUES (1)", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    Run({}, {mailbox.Path()});
    fs::copy_file(history, newer);
    sqlite3_open(newer.c_str(), &db);
    sqlite3_exec(db, "PRAGMA user_version = 3", nullptr, nullptr, nullptr);
    sqlite3_close(db);
    // Ours, cut short after its first page: its tables are gone.
    const std::string truncated = elsewhere.Write("truncated.db", elsewhere.Read("history.db").substr(0, 4096));
    // Our application id, but no schema of ours: not switched to WAL either.
    const std::string unmarked = elsewhere.Path() + "unmarked.db";
    sqlite3_open(unmarked.c_str(), &db);
    sqlite3_exec(db, "PRAGMA application_id = 1179863122; CREATE TABLE notes(text)", nullptr, nullptr, nullptr);
    sqlite3_close(db);

    for (const std::string& file : {text, foreign, newer, truncated, unmarked}) {
        const std::string before = elsewhere.Read(fs::path(file).filename().string());
        Result result = RunReport({"--history", file, "--growth", mailbox.Path()});
        EXPECT_EQ(result.code, 2) << file;
        EXPECT_NE(result.err.find("Die Historie " + file + " kann nicht gelesen werden."), std::string::npos)
            << result.err;
        EXPECT_NE(result.out.find("A.PMM"), std::string::npos) << "the report is still written";
        EXPECT_EQ(elsewhere.Read(fs::path(file).filename().string()), before) << file;
    }
    // Read alone, such a file is refused before anything is written, and
    // so are an empty one and one that is not there, which is not made.
    const std::string empty = elsewhere.Write("empty.db", ""), missing = elsewhere.Path() + "missing.db";
    for (const std::string& file : {text, foreign, newer, truncated, empty, missing}) {
        Result result = RunReport({"--from-history", file});
        EXPECT_EQ(result.code, 2) << file;
        EXPECT_EQ(result.out, "") << file;
        EXPECT_NE(result.err.find("Die Historie " + file + " kann nicht gelesen werden."), std::string::npos)
            << result.err;
    }
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_EQ(elsewhere.Read("empty.db"), "");
    // A mailbox the history does not know is an error, never an empty
    // mailbox; the others are reported all the same.
    Result unknown = RunReport({"--from-history", history, elsewhere.Path() + "unbekannt", mailbox.Path()});
    EXPECT_EQ(unknown.code, 2);
    EXPECT_EQ(unknown.err, "foldscan-report: Das Postfach " + elsewhere.Path() + "unbekannt ist nicht in der Historie.\n");
    EXPECT_NE(unknown.out.find("A.PMM"), std::string::npos);
    Result check = RunReport({"--monitor", "--from-history", history, elsewhere.Path() + "unbekannt"});
    EXPECT_EQ(check.code, 3);
    EXPECT_EQ(check.out.find("FOLDSCAN UNKNOWN - 1 von 1 Postf\u00E4chern nicht lesbar: " + elsewhere.Path() + "unbekannt"),
              0u)
        << check.out;
    // A directory, and a database inside the mail store, which is not even made.
    EXPECT_EQ(RunReport({"--history", elsewhere.MakeDir("dir.db"), mailbox.Path()}).code, 2);
    Result inside = RunReport({"--history", mailbox.Path() + "h.db", mailbox.Path()});
    EXPECT_EQ(inside.code, 2);
    EXPECT_EQ(inside.out, "");
    EXPECT_FALSE(fs::exists(mailbox.Path() + "h.db"));
}

// Another run that holds the history longer than the wait: the append is
// refused whole, and says why.
TEST_F(ReportHistory, AHistoryHeldTooLongTakesNoHalfRun) {
    Run({}, {mailbox.Path()});
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(history.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    ReportOptions options;
    ReportTexts texts(options.language);
    MailboxReport report = MailboxReport::Make(mailbox.Path(), options, texts);
    HistoryStore store;
    store.SetBusyTimeout(50);
    ASSERT_TRUE(store.Open(history));
    const std::vector<HistoryStore::Entry> entries{
        {&report, MailboxKey::Of(mailbox.Path()), MailboxKey::PathOf(mailbox.Path())}};
    EXPECT_FALSE(store.Append("2026-12-01T02:00:00Z", entries));
    EXPECT_EQ(store.GetProblem(), HistoryStore::Problem::Busy);
    EXPECT_EQ(store.Reason(texts).find("Ein anderer Lauf h\u00E4lt sie zu lange gesperrt"), 0u) << store.Reason(texts);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(Query("SELECT count(*) FROM runs"), "1");
    EXPECT_TRUE(store.Append("2026-12-01T02:00:00Z", entries)) << store.Reason(texts);  // free again
    EXPECT_EQ(Query("SELECT count(*) FROM runs"), "2");

    // Under --timeout the wait ends with the time, not the store's 15 s.
    ASSERT_EQ(sqlite3_open(history.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    const auto start = std::chrono::steady_clock::now();
    Result monitor = RunReport({"--monitor", "--history", history, "--timeout", "2", mailbox.Path()});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(monitor.code, 3);
    EXPECT_NE(monitor.out.find("gesperrt"), std::string::npos) << monitor.out;
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
}

// A query reads one state of the history, whatever another run does to it
// meanwhile: a run pruned between two of its statements is not seen by the
// second alone. With another program's log beside the file the query reads
// in one transaction; without, it reads the file as it stands and again
// once the file changed.
TEST_F(ReportHistory, AQueryReadsOneStateWhileAnotherRunPrunes) {
    TestClock clock("2026-11-01T02:00:00Z");
    for (const char* night : {"2026-11-01T02:00:00Z", "2026-11-02T02:00:00Z", "2026-11-03T02:00:00Z"}) {
        clock.Set(night);
        Run({}, {mailbox.Path()});
    }
    const char* const prune = "DELETE FROM folder_change WHERE run_id = (SELECT min(id) FROM runs);"
                              " DELETE FROM mailbox_run WHERE run_id = (SELECT min(id) FROM runs);"
                              " DELETE FROM runs WHERE id = (SELECT min(id) FROM runs)";
    for (bool logBeside : {true, false}) {
        sqlite3* other = nullptr;
        ASSERT_EQ(sqlite3_open(history.c_str(), &other), SQLITE_OK);
        if (logBeside)  // another program's write, still in its log
            sqlite3_exec(other, "PRAGMA wal_autocheckpoint = 0; CREATE TABLE IF NOT EXISTS notes(text)", nullptr,
                         nullptr, nullptr);
        else  // the last connection to go takes the log with it
            sqlite3_close(std::exchange(other, nullptr));
        ASSERT_EQ(fs::exists(history + "-wal"), logBeside);
        {
            HistoryStore store;
            ASSERT_TRUE(store.Open(history, HistoryStore::Mode::Read)) << logBeside;
            std::vector<size_t> firstReads, secondReads;
            ASSERT_TRUE(store.Snapshot([&] {
                std::vector<HistoryStore::Mailbox> all;
                if (!store.Mailboxes(all)) return false;
                firstReads.push_back(all.at(0).runs.size());
                if (firstReads.size() == 1) {
                    sqlite3* pruner = nullptr;
                    sqlite3_open(history.c_str(), &pruner);
                    EXPECT_EQ(sqlite3_exec(pruner, prune, nullptr, nullptr, nullptr), SQLITE_OK);
                    sqlite3_close(pruner);
                }
                if (!store.Mailboxes(all)) return false;
                secondReads.push_back(all.at(0).runs.size());
                return true;
            }));
            EXPECT_EQ(firstReads, secondReads) << "a mixed reading, log beside: " << logBeside;
            EXPECT_EQ(firstReads.size(), logBeside ? 1u : 2u) << "read again once the file changed";
        }
        sqlite3_close(other);  // after the query's connection: it takes the log with it
    }
}

// A mailbox the state file does not know is not compared: its folders in
// the top list show no change, as its rows do, not their whole size.
TEST_F(ReportGrowth, TheTopListShowsNoChangeForAMailboxNotCompared) {
    TempDir other;
    WritePmm(other, "N.PMM", "Neu", "", 9000);
    ASSERT_EQ(RunReport({"--since", stateFile, mailbox.Path()}).code, 0);
    Result result = RunReport({"--since", stateFile, "--format", "tsv", "--top", "1", mailbox.Path(), other.Path()});
    ASSERT_EQ(result.code, 0) << result.err;
    const size_t line = result.out.find("\tN.PMM\t", result.out.find("share_of_all_percent"));
    ASSERT_NE(line, std::string::npos) << result.out;
    const std::string row = result.out.substr(line, result.out.find('\n', line) - line);
    EXPECT_EQ(row.back(), '\t') << row;
}

TEST_F(ReportGrowth, AMailboxNamedTwiceIsReportedOnce) {
    std::string again = mailbox.Path().substr(0, mailbox.Path().size() - 1);  // without its separator
    Result result = RunReport({"--since", stateFile, "--format", "json", mailbox.Path(), again});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(nlohmann::json::parse(result.out).at("mailboxes").size(), 1u);
    EXPECT_EQ(result.err, "foldscan-report: " + again + " ist dasselbe Postfach wie " + mailbox.Path() +
                              " und wird einmal gezeigt.\n");
}

// A mailbox's canonical path is worked out once a run, where it is found,
// whatever the run does with it: the state file, the history, its growth.
TEST_F(ReportGrowth, AMailboxsPathIsMadeCanonicalOnceARun) {
    TempDir other;
    WritePmm(other, "B.PMM", "Briefe", "", 100);
    const std::string history = elsewhere.Path() + "history.db";
    std::vector<std::string> asked;
    ReportEnvironment environment;
    environment.canonical = [&asked](const std::string& path) {
        asked.push_back(path);
        return Directory::Canonical(path);
    };
    const std::string again = mailbox.Path().substr(0, mailbox.Path().size() - 1);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--history", history, "--since", stateFile, "--format", "json"},
          std::vector<std::string>{"--history", history, "--growth", "--top", "2", "--format", "html"},
          std::vector<std::string>{"--monitor", "--history", history, "--warn-growth", "1G"}}) {
        asked.clear();
        std::vector<std::string> all = args;
        for (const std::string& box : {mailbox.Path(), other.Path(), again}) all.push_back(box);
        std::ostringstream out, err;
        ReportProgram(environment).Run(all, out, err);
        EXPECT_EQ(asked, (std::vector<std::string>{mailbox.Path(), other.Path(), again})) << err.str();
    }
}

namespace {

// A stream whose every write fails, as on a full disk.
class FullDisk : public std::streambuf {
protected:
    int overflow(int) override { return traits_type::eof(); }
    std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

}  // namespace

TEST_F(ReportGrowth, OutputThatCannotBeWrittenFailsAndTheStateStaysWhereItWas) {
    Run();
    const std::string before = elsewhere.Read("state.json");
    std::vector<std::vector<std::string>> runs = {{"--since", stateFile, mailbox.Path()}};
    const std::string history = elsewhere.Path() + "history.db";
    ASSERT_EQ(RunReport({"--history", history, mailbox.Path()}).code, 0);
    runs.push_back({"--history", history, "--format", "json", mailbox.Path()});
    WritePmm(mailbox, "A.PMM", "Archiv", "A", 9000);
    for (const auto& args : runs) {
        FullDisk full;
        std::ostream out(&full);
        std::ostringstream err;
        ReportEnvironment environment;
        EXPECT_EQ(ReportProgram(environment).Run(args, out, err), 2);
        EXPECT_EQ(err.str(), "foldscan-report: Die Ausgabe kann nicht geschrieben werden.\n");
    }
    EXPECT_EQ(elsewhere.Read("state.json"), before);
    // The next run still compares with the last one whose output was written.
    nlohmann::json box = nlohmann::json::parse(
        RunReport({"--history", history, "--growth", "--format", "json", mailbox.Path()}).out).at("mailboxes").at(0);
    EXPECT_EQ(box.at("rows").at(0).at("growth"), 8000);
}
