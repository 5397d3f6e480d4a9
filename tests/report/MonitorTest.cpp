// --monitor: the status line as monitoring plugins write it, its details and
// its exit code, for each state.
#include "report/text/ReportTexts.h"
#include "report/writers/MonitorWriter.h"
#include "tests/report/ReportFixture.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>
#include <string>
#include <vector>

using namespace ReportFixture;

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// What the convention asks of every status: the state its exit code names,
// then " - ", a text without "|", and the performance data; no "|" after
// the first line.
void ExpectConvention(const Result& result) {
    static const char* const States[] = {"OK", "WARNING", "CRITICAL", "UNKNOWN"};
    ASSERT_GE(result.code, 0);
    ASSERT_LE(result.code, 3);
    const std::vector<std::string> lines = Lines(result.out);
    ASSERT_FALSE(lines.empty());
    static const std::regex status(R"(FOLDSCAN (OK|WARNING|CRITICAL|UNKNOWN) - [^|]*)"
                                   R"(( \|( '([^']|'')+'=(-?[0-9]+B|U);[0-9]*;[0-9]*;0?;)+)?)");
    EXPECT_TRUE(std::regex_match(lines[0], status)) << lines[0];
    EXPECT_EQ(lines[0].compare(9, std::string(States[result.code]).size() + 3, std::string(States[result.code]) + " - "),
              0)
        << lines[0];
    for (size_t i = 1; i < lines.size(); ++i) EXPECT_EQ(lines[i].find('|'), std::string::npos) << lines[i];
    EXPECT_EQ(result.err, "");
}

}  // namespace

TEST(ReportMonitor, EachStateWithItsSummaryDetailsAndExitCode) {
    TempDir root;
    root.MakeDir("anna");
    root.MakeDir("bert");
    WritePmm(root, "anna/A.PMM", "Archiv", "", 3u << 20);
    WritePmm(root, "anna/B.PMM", "Briefe", "", 5u << 20);
    WritePmm(root, "bert/A.PMM", "Archiv", "", 1u << 20);
    const std::string anna = root.Path() + "anna", bert = root.Path() + "bert", gone = root.Path() + "gone";
    const std::string perf = "'" + anna + "'=8388608B;%s;0; '" + bert + "'=1048576B;%s;0;";
    auto Perf = [&](const std::string& limits) { return ReportTexts::Fill(perf, {limits, limits}); };
    TempDir elsewhere;
    elsewhere.Write("h.db", "kein SQLite");

    struct Case {
        std::vector<std::string> options;
        int code;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {{}, 0, {"FOLDSCAN OK - 2 Postf\u00E4cher, zusammen 9,0 MB | " + Perf(";")}},
        {{"--warn", "9M", "--crit", "10M"}, 0,
         {"FOLDSCAN OK - 2 Postf\u00E4cher, zusammen 9,0 MB | " + Perf("9437184;10485760")}},
        {{"--warn", "4M", "--crit", "8M"}, 1,
         {"FOLDSCAN WARNING - 1 von 2 Postf\u00E4chern \u00FCber einer Schwelle: " + anna + " (Warnung) | " +
              Perf("4194304;8388608"),
          anna + ": zusammen 8,0 MB, \u00FCber 4,0 MB (Warnung)"}},
        {{"--warn-folder", "2M", "--crit-folder", "4M", "--lang", "en"}, 2,
         {"FOLDSCAN CRITICAL - 1 of 2 mailboxes over a threshold: " + anna + " (critical) | " + Perf(";"),
          anna + ": folder B.PMM (Briefe) at 5.0 MB, above 4.0 MB (critical)"}},
        {{"--warn-folder", "512k", "--crit", "8M"}, 1,
         {"FOLDSCAN WARNING - 2 von 2 Postf\u00E4chern \u00FCber einer Schwelle: " + anna + " (Warnung), " + bert +
              " (Warnung) | " + Perf(";8388608"),
          anna + ": 2 Ordner \u00FCber 512,0 kB, der gr\u00F6\u00DFte B.PMM (Briefe) mit 5,0 MB (Warnung)",
          bert + ": Ordner A.PMM (Archiv) mit 1,0 MB, \u00FCber 512,0 kB (Warnung)"}},
        // Unreadable beats critical: the check cannot say all is seen.
        {{"--crit", "1M", gone}, 3,
         {"FOLDSCAN UNKNOWN - 1 von 3 Postf\u00E4chern nicht lesbar: " + gone + "; 1 von 3 Postf\u00E4chern \u00FCber "
              "einer Schwelle: " + anna + " (kritisch) | " + Perf(";1048576") + " '" + gone + "'=U;;1048576;0;",
          anna + ": zusammen 8,0 MB, \u00FCber 1,0 MB (kritisch)",
          "Postfach nicht gefunden oder nicht lesbar: " + gone}},
        {{"--history", elsewhere.Path() + "h.db"}, 3,
         {"FOLDSCAN UNKNOWN - Der Lauf ist nicht vollst\u00E4ndig festgehalten (siehe unten) | " + Perf(";"),
          "Die Historie " + elsewhere.Path() +
              "h.db kann nicht gelesen werden. Sie ist keine Historie von foldscan-report und bleibt unber\u00FChrt "
              "(SQLite: file is not a database)."}},
        {{"--warn", "viel"}, 3,
         {"FOLDSCAN UNKNOWN - Ung\u00FCltiger Aufruf: --warn viel: erwartet wird eine ganze Zahl von Bytes, auch mit "
          "k, M, G oder T (1k = 1024).",
          "Hilfe: foldscan-report --help"}},
        {{"--warn", "2G", "--crit", "1G"}, 3,
         {"FOLDSCAN UNKNOWN - Ung\u00FCltiger Aufruf: --warn 2G liegt \u00FCber --crit 1G",
          "Hilfe: foldscan-report --help"}},
        {{"--top", "3"}, 3,
         {"FOLDSCAN UNKNOWN - Ung\u00FCltiger Aufruf: --monitor und --top schlie\u00DFen einander aus",
          "Hilfe: foldscan-report --help"}},
        {{root.Path() + "z*"}, 3, {"FOLDSCAN UNKNOWN - Das Muster " + root.Path() + "z* passt auf kein Verzeichnis."}},
        // What ended the run stands on the status line, a note after it.
        {{anna + "/", "--since", anna + "/s.json"}, 3,
         {"FOLDSCAN UNKNOWN - Die Zustandsdatei " + anna + "/s.json liegt im Postfach " + anna +
              "; sie geh\u00F6rt nicht in den Mailspeicher.",
          anna + "/ ist dasselbe Postfach wie " + anna + " und wird einmal gezeigt."}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"--monitor", anna, bert};
        args.insert(args.end(), c.options.begin(), c.options.end());
        Result result = RunReport(args);
        EXPECT_EQ(result.code, c.code) << result.out;
        EXPECT_EQ(Lines(result.out), c.lines);
        ExpectConvention(result);
    }
    // Thresholds belong to monitoring.
    EXPECT_NE(RunReport({"--warn", "1M", anna}).err.find("Aufruf: --warn braucht --monitor"), std::string::npos);
}

// Growth against the history, compared with the run nearest to a day
// before: a check repeated within the day keeps its state, so that a
// monitoring system's retries make it hard, and the next night compares
// with the night before, whenever within minutes it ran.
TEST(ReportMonitor, GrowthAgainstTheHistoryHasThresholdsToo) {
    TempDir mailbox, elsewhere;
    WritePmm(mailbox, "A.PMM", "Archiv", "", 1u << 20);
    const std::string history = elsewhere.Path() + "h.db";
    const std::vector<std::string> args{"--monitor", "--history", history, "--warn-growth", "1M", "--crit-growth",
                                        "5M", mailbox.Path()};
    TestClock clock("2026-11-01T02:00:00Z");
    Result first = RunReport(args);  // nothing to compare with: not a reason to warn
    EXPECT_EQ(first.code, 0) << first.out;
    ExpectConvention(first);
    EXPECT_NE(first.out.find("'" + mailbox.Path() + " growth'=U;1048576;5242880;;"), std::string::npos) << first.out;
    WritePmm(mailbox, "A.PMM", "Archiv", "", 3u << 20);
    clock.Set("2026-11-02T02:00:00Z");
    Result grown = RunReport(args);
    EXPECT_EQ(grown.code, 1) << grown.out;
    ExpectConvention(grown);
    EXPECT_NE(grown.out.find("'" + mailbox.Path() + " growth'=2097152B;1048576;5242880;;"), std::string::npos)
        << grown.out;
    const std::vector<std::string> lines = Lines(grown.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].find(mailbox.Path() + ": Zuwachs +2,0 MB seit "), 0u) << lines[1];
    EXPECT_NE(lines[1].find(", \u00FCber 1,0 MB (Warnung)"), std::string::npos) << lines[1];
    clock.Set("2026-11-02T02:05:00Z");
    EXPECT_EQ(RunReport(args).code, 1) << "a retry five minutes later";
    clock.Set("2026-11-03T02:04:00Z");
    EXPECT_EQ(RunReport(args).code, 0) << "the next night, unchanged since the night before";

    for (const auto& wrong : std::vector<std::vector<std::string>>{{"--monitor", "--warn-growth", "1M"},
                                                                   {"--monitor", "--history", history, "--since",
                                                                    elsewhere.Path() + "s.json", "--crit-growth", "1M"},
                                                                   {"--warn-growth", "1M", "--history", history}}) {
        std::vector<std::string> bad = wrong;
        bad.push_back(mailbox.Path());
        EXPECT_EQ(RunReport(bad).code, wrong[0] == "--monitor" ? 3 : 2);
    }
}

TEST(ReportMonitor, LabelsAreQuotedAsTheConventionSays) {
    EXPECT_EQ(MonitorWriter::Label("/srv/mail/anna"), "'/srv/mail/anna'");
    EXPECT_EQ(MonitorWriter::Label("C:\\Mail\\O'Brien"), "'C:\\Mail\\O''Brien'");
    EXPECT_EQ(MonitorWriter::Label("a=b|c\x1B[1m"), "'a_b\u00A6c\uFFFD[1m'");
}
