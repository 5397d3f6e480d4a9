// Options, bad ones, missing mailboxes, languages, --jobs and the progress line.
#include "report/CommandLine.h"
#include "tests/report/ReportFixture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

using namespace ReportFixture;

TEST(ReportCommandLine, BadOptionsFailWithAMessageAndScanNothing) {
    TempDir mailbox;
    WriteSample(mailbox);
    const std::vector<std::vector<std::string>> bad = {
        {},
        {"--format", "xml", mailbox.Path()},
        {"--sort", "date", mailbox.Path()},
        {"--sort", "size:up", mailbox.Path()},
        {"--jobs", "0", mailbox.Path()},
        {"--jobs", "viele", mailbox.Path()},
        {"--lang", "fr", mailbox.Path()},
        {"--frobnicate", mailbox.Path()},
        {"--since", mailbox.Path()},
        {"--exact", "--compact", mailbox.Path()},
        {"--format", "csv", "--tree", "--check", mailbox.Path()},
    };
    for (const auto& args : bad) {
        Result result = RunReport(args);
        std::string shown;
        for (const std::string& arg : args) shown += arg + " ";
        EXPECT_EQ(result.code, 2) << shown;
        EXPECT_EQ(result.out, "") << shown;
        EXPECT_EQ(result.err.find("foldscan-report: Ung\u00FCltiger Aufruf: "), 0u) << shown << result.err;
        EXPECT_NE(result.err.find("--help"), std::string::npos) << shown;
    }
}

TEST(ReportCommandLine, MissingMailboxesAreReportedAfterTheOthers) {
    TempDir mailbox, other;
    WriteSample(mailbox);
    WritePmm(other, "X.PMM", "X", "", 1000);
    const std::string missing = mailbox.Path() + "nicht-da", file = mailbox.Path() + "Archiv.PMM";
    Result result = RunReport({"--format", "csv", missing, mailbox.Path(), file, other.Path()});
    EXPECT_EQ(result.code, 2);
    EXPECT_EQ(result.err, "foldscan-report: Postfach nicht gefunden oder nicht lesbar: " + missing + "\n" +
                              "foldscan-report: Postfach nicht gefunden oder nicht lesbar: " + file + "\n");
    EXPECT_NE(result.out.find(mailbox.Path() + ",Archiv.PMM,"), std::string::npos);
    EXPECT_NE(result.out.find(other.Path() + ",X.PMM,1000,"), std::string::npos);

    // The missing one does not hide a finding's exit code, nor the other way round.
    EXPECT_EQ(RunReport({"--check", mailbox.Path(), missing}).code, 2);
    EXPECT_EQ(RunReport({"--check", mailbox.Path()}).code, 1);
}

TEST(ReportCommandLine, HelpVersionAndLanguage) {
    Result help = RunReport({"--help"});
    EXPECT_EQ(help.code, 0);
    for (const char* option : {"--format", "--sort", "--exact", "--compact", "--no-paths", "--newmail",
                               "--no-newmail", "--tree", "--check", "--since", "--jobs", "--lang", "--version"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    EXPECT_NE(help.out.find("Postfach"), std::string::npos);
    EXPECT_NE(RunReport({"--help"}, "en_US.UTF-8").out.find("mailbox directory"), std::string::npos);
    EXPECT_NE(RunReport({"--help", "--lang", "en"}).out.find("mailbox directory"), std::string::npos);

    Result version = RunReport({"--version"});
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, std::string("foldscan-report ") + FOLDSCAN_VERSION + "\n");

    EXPECT_EQ(CommandLine::LanguageOf({"--lang=en", "x"}, "de_DE"), Language::English);
    EXPECT_EQ(CommandLine::LanguageOf({"--lang", "de"}, "en_US"), Language::German);
    EXPECT_EQ(CommandLine::LanguageOf({"x"}, "en_US"), Language::English);

    TempDir mailbox;
    WritePmm(mailbox, "X.PMM", "X", "", 1536);
    EXPECT_NE(RunReport({mailbox.Path()}, "en_GB.UTF-8").out.find("1 files, 1.5 kB (1,536 bytes)"), std::string::npos);
    EXPECT_NE(RunReport({mailbox.Path()}, "").out.find("1 Dateien, 1,5 kB (1.536 Bytes)"), std::string::npos);
}

TEST(ReportCommandLine, MailboxesScannedInParallelComeInArgumentOrder) {
    std::vector<TempDir> mailboxes(7);
    std::vector<std::string> args{"--format", "json"};
    for (size_t i = 0; i < mailboxes.size(); ++i) {
        for (size_t f = 0; f <= i * 3; ++f)
            WritePmm(mailboxes[i], "F" + std::to_string(f) + ".PMM", "Ordner", "", 200 + i);
        args.push_back(mailboxes[i].Path());
    }
    args.push_back(mailboxes[0].Path() + "weg");
    std::vector<std::string> serial = args, parallel = args;
    serial.insert(serial.begin(), {"--jobs", "1"});
    parallel.insert(parallel.begin(), {"--jobs", "4"});
    Result one = RunReport(serial), four = RunReport(parallel);
    EXPECT_EQ(one.code, 2);
    EXPECT_EQ(four.code, 2);
    EXPECT_EQ(four.out, one.out);
    EXPECT_EQ(four.err, one.err);
    size_t last = 0;
    for (const TempDir& mailbox : mailboxes) {
        size_t at = four.out.find("\"mailbox\": " + nlohmann::json(mailbox.Path()).dump());
        ASSERT_NE(at, std::string::npos);
        EXPECT_GT(at, last);
        last = at;
    }
}

TEST(ReportCommandLine, TheProgressLineIsDrawnOnlyOnATerminalAndWipedAtTheEnd) {
    TempDir a, b;
    Result quiet = RunReport({a.Path(), b.Path()});
    EXPECT_EQ(quiet.err, "");

    Result shown = RunReport({"--jobs", "1", a.Path(), b.Path()}, "de_DE.UTF-8", true);
    const std::string first = "\rfoldscan-report: 1 von 2 Postf\u00E4chern gelesen";
    const std::string second = "\rfoldscan-report: 2 von 2 Postf\u00E4chern gelesen";
    const std::string wipe = "\r" + std::string(second.size() - 2, ' ') + "\r";  // ä takes two bytes, one column
    EXPECT_EQ(shown.err, first + second + wipe);
    EXPECT_EQ(shown.out.find('\r'), std::string::npos);
}
