// --since and --history across runs: folders grown, shrunk, added and
// removed, and where the state file and the history may lie.
#include "report/history/GrowthState.h"
#include "report/program/ReportProgram.h"
#include "report/text/RunTime.h"
#include "tests/report/ReportFixture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <ctime>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>

#include <sqlite3.h>

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

// --output: the whole report or the file as it was, never in the mail store
// and never in place of the state or the history.
TEST_F(ReportGrowth, TheOutputFileHoldsAWholeReportOrStaysAsItWas) {
    const std::string output = elsewhere.Path() + "report.tsv";
    Result written = RunReport({"--format", "tsv", "--output", output, mailbox.Path()});
    EXPECT_EQ(written.code, 0) << written.err;
    EXPECT_EQ(written.out, "");
    EXPECT_EQ(elsewhere.Read("report.tsv").compare(0, 17, "mailbox\tfile_name"), 0) << elsewhere.Read("report.tsv");

    elsewhere.Write("state.json", "not a state file");
    const std::vector<std::pair<std::vector<std::string>, std::string>> refused = {
        {{"--output", output, "--since", stateFile, mailbox.Path()}, "kann nicht gelesen werden"},
        {{"--output", elsewhere.Path() + "missing/report.tsv", mailbox.Path()}, "kann nicht geschrieben werden"},
        {{"--output", mailbox.Path() + "report.tsv", mailbox.Path()}, "liegt im Postfach"},
        {{"--output", output, "--since", elsewhere.Path() + "./report.tsv", mailbox.Path()}, "nennen dieselbe Datei"},
    };
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

    // Runs of the history, moved back in time as if they had been made then.
    void Backdate(const std::vector<std::pair<int, std::string>>& starts) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(history.c_str(), &db), SQLITE_OK);
        for (const auto& [id, started] : starts) {
            std::string sql = "UPDATE runs SET started = '" + started + "' WHERE id = " + std::to_string(id);
            EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        }
        sqlite3_close(db);
    }

    std::string history = elsewhere.Path() + "history.db";
};

std::string Ago(std::time_t seconds) { return RunTime::Utc(std::time(nullptr) - seconds); }

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
    EXPECT_EQ(second.at(0).at("removed"), nlohmann::json::parse(R"([{"fileName": "D.MBX", "size": 700}])"));
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

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(history.c_str(), &db), SQLITE_OK);
    sqlite3_stmt* count = nullptr;
    sqlite3_prepare_v2(db, "SELECT (SELECT count(*) FROM runs), (SELECT count(*) FROM folders WHERE run_id = 2)",
                       -1, &count, nullptr);
    ASSERT_EQ(sqlite3_step(count), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(count, 0), 4);
    EXPECT_EQ(sqlite3_column_int(count, 1), 4);  // A, B, C and X
    sqlite3_finalize(count);
    sqlite3_close(db);
}

// Folders are written many to a statement: every one of a mailbox larger
// than such a batch, the last odd ones included, lands with its own values.
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
    sqlite3_prepare_v2(db, "SELECT file_name, hierarchy_key, folder, size FROM folders WHERE run_id = 2", -1, &rows,
                       nullptr);
    int seen = 0;
    while (sqlite3_step(rows) == SQLITE_ROW) {
        const std::string fileName = reinterpret_cast<const char*>(sqlite3_column_text(rows, 0));
        const int i = std::stoi(fileName.substr(1, 3)) - 100;
        EXPECT_EQ(reinterpret_cast<const char*>(sqlite3_column_text(rows, 1)), "K" + std::to_string(i));
        EXPECT_EQ(reinterpret_cast<const char*>(sqlite3_column_text(rows, 2)), "Ordner " + std::to_string(i));
        EXPECT_EQ(sqlite3_column_int64(rows, 3), 1000 + 3 * i);
        ++seen;
    }
    EXPECT_EQ(seen, folders);
    sqlite3_finalize(rows);
    sqlite3_close(db);
}

TEST_F(ReportHistory, GrowthSinceTakesTheLatestRunAtLeastThatOld) {
    Run({}, {mailbox.Path()});                        // run 1
    WritePmm(mailbox, "A.PMM", "Archiv", "A", 2000);
    Run({}, {mailbox.Path()});                        // run 2
    WritePmm(mailbox, "A.PMM", "Archiv", "A", 5000);
    Backdate({{1, Ago(10 * 86400)}, {2, Ago(2 * 3600)}});
    auto growthOfA = [&](const std::string& since) {
        nlohmann::json box = Run({"--growth-since", since}, {mailbox.Path()}).at(0);
        return box.at("growthSince").is_null() ? std::string("none")
                                                : std::to_string(GrowthByFile(box).at("A.PMM"));
    };
    EXPECT_EQ(growthOfA("30m"), "3000");  // run 2
    EXPECT_EQ(growthOfA("3h"), "4000");   // run 1
    EXPECT_EQ(growthOfA("7d"), "4000");
    EXPECT_EQ(growthOfA("11d"), "none");
    EXPECT_EQ(growthOfA("2000-01-01"), "none");
    EXPECT_EQ(growthOfA(RunTime::Utc(std::time(nullptr) + 86400).substr(0, 10)), "0");  // the run just made

    std::string latest;
    ASSERT_TRUE(RunTime::ParseSince("12h", 1000000, latest));
    EXPECT_EQ(latest, RunTime::Utc(1000000 - 12 * 3600));
    for (const char* bad : {"7w", "d", "-1d", "1.5h", "2026-02-30", "2026-13-01", "26-11-01", "123456d"})
        EXPECT_FALSE(RunTime::ParseSince(bad, 1000000, latest)) << bad;
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
    sqlite3_exec(db, "PRAGMA user_version = 2", nullptr, nullptr, nullptr);
    sqlite3_close(db);

    for (const std::string& file : {text, foreign, newer}) {
        const std::string before = elsewhere.Read(fs::path(file).filename().string());
        Result result = RunReport({"--history", file, "--growth", mailbox.Path()});
        EXPECT_EQ(result.code, 2) << file;
        EXPECT_NE(result.err.find("Die Historie " + file + " kann nicht gelesen werden."), std::string::npos)
            << result.err;
        EXPECT_NE(result.out.find("A.PMM"), std::string::npos) << "the report is still written";
        EXPECT_EQ(elsewhere.Read(fs::path(file).filename().string()), before) << file;
    }
    // A directory, and a database inside the mail store, which is not even made.
    EXPECT_EQ(RunReport({"--history", elsewhere.MakeDir("dir.db"), mailbox.Path()}).code, 2);
    Result inside = RunReport({"--history", mailbox.Path() + "h.db", mailbox.Path()});
    EXPECT_EQ(inside.code, 2);
    EXPECT_EQ(inside.out, "");
    EXPECT_FALSE(fs::exists(mailbox.Path() + "h.db"));
}

TEST_F(ReportGrowth, AMailboxNamedTwiceIsReportedOnce) {
    std::string again = mailbox.Path().substr(0, mailbox.Path().size() - 1);  // without its separator
    Result result = RunReport({"--since", stateFile, "--format", "json", mailbox.Path(), again});
    EXPECT_EQ(result.code, 0);
    EXPECT_EQ(nlohmann::json::parse(result.out).at("mailboxes").size(), 1u);
    EXPECT_EQ(result.err, "foldscan-report: " + again + " ist dasselbe Postfach wie " + mailbox.Path() +
                              " und wird einmal gezeigt.\n");
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
