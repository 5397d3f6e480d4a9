// Options, bad ones, missing mailboxes, help, version and languages.
#include "report/program/CommandLine.h"
#include "tests/report/ReportFixture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
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
        {"--jobs", "-1", mailbox.Path()},
        {"--jobs", "", mailbox.Path()},
        {"--jobs", "viele", mailbox.Path()},
        {"--lang", "fr", mailbox.Path()},
        {"--frobnicate", mailbox.Path()},
        {"--since", mailbox.Path()},
        {"--since", "", mailbox.Path()},
        {"--exact", "--compact", mailbox.Path()},
        {"--format", "csv", "--tree", "--check", mailbox.Path()},
        {"--format", "tsv", "--top", "3", "--tree", mailbox.Path()},
        {"--top", "0", mailbox.Path()},
        {"--top", "-1", mailbox.Path()},
        {"--top", "drei", mailbox.Path()},
        {"--min-size", "1.5G", mailbox.Path()},
        {"--min-size", "10X", mailbox.Path()},
        {"--min-size", "k", mailbox.Path()},
        {"--min-size", "16777216T", mailbox.Path()},  // 2^64 bytes
        {"--min-size", "18446744073709551616", mailbox.Path()},
        {"--growth", mailbox.Path()},
        {"--history", "h.db", "--growth-since", "7y", mailbox.Path()},
        {"--history", "h.db", "--growth-since", "1.11.2026", mailbox.Path()},
        {"--history", "h.db", "--keep", "7x", mailbox.Path()},
        {"--history", "h.db", "--keep", "0d", mailbox.Path()},
        {"--keep", "30d", mailbox.Path()},
        {"--from-history", "h.db", "--history", "h.db"},
        {"--from-history", "h.db", "--since", "s.json"},
        {"--from-history", "h.db", "--check"},
        {"--from-history", ""},
        {"--history", "h.db", "--growth", "--growth-since", "7d", mailbox.Path()},
        {"--history", "h.db", "--growth", "--since", "s.json", mailbox.Path()},
        {"--history", "", mailbox.Path()},
        {"--output", "", mailbox.Path()},
        {"--excel", mailbox.Path()},
        {"--sort", "growth", mailbox.Path()},
        {"--tree=ja", mailbox.Path()},
        {"-x", mailbox.Path()},
        {"--format"},
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

TEST(ReportCommandLine, EveryMistakeIsToldInTheOutputLanguage) {
    TempDir mailbox;
    const std::vector<std::pair<std::vector<std::string>, std::string>> mistakes = {
        {{"--bogus", mailbox.Path()}, "unbekannte Option --bogus"},
        {{"--bogus=1", mailbox.Path()}, "unbekannte Option --bogus"},
        {{}, "MAILBOX fehlt"},
        {{"--lang", "de"}, "MAILBOX fehlt"},
        {{mailbox.Path(), "--jobs"}, "--jobs ohne Wert"},
        {{"--check=1", mailbox.Path()}, "--check nimmt keinen Wert"},
        {{"--jobs", "viele", mailbox.Path()}, "--jobs viele: erwartet wird eine ganze Zahl ab 0."},
        {{"--growth-since", "7d", mailbox.Path()}, "--growth-since braucht --history"},
        {{"--history", "h.db", "--keep", "ewig", mailbox.Path()},
         "--keep ewig: erwartet wird eine Dauer in Tagen, Wochen oder Jahren wie 90d, 52w oder 1y."},
        {{"--history", "h.db", "--keep", "12m", mailbox.Path()},
         "--keep 12m: Minuten (m) und Stunden (h) sind keine Aufbewahrungsdauer; erwartet werden Tage, Wochen oder "
         "Jahre wie 90d, 52w oder 1y (zw\u00F6lf Monate: 1y)."},
        // The history's questions, each where it belongs.
        {{"--changes", mailbox.Path()}, "--changes braucht --from-history"},
        {{"--timeline", "--changes", "--from-history", "h.db"}, "--timeline und --changes schlie\u00DFen einander aus"},
        {{"--filter", "x", "--from-history", "h.db"}, "--filter braucht --changes"},
        {{"--timeline", "--from-history", "h.db", "--format", "html"},
         "--timeline braucht --format table, csv, tsv, json"},
        {{"--rename-mailbox", mailbox.Path(), mailbox.Path()}, "--rename-mailbox braucht --history"},
        {{"--history", "h.db", "--rename-mailbox", mailbox.Path()},
         "--rename-mailbox OLD NEW: nach OLD genau ein neuer Pfad NEW, und kein anderes Postfach"},
        {{"--migrate-history"}, "--migrate-history braucht --history"},
    };
    for (const auto& [args, message] : mistakes) {
        Result result = RunReport(args);
        EXPECT_EQ(result.code, 2);
        EXPECT_EQ(result.err, "foldscan-report: Ung\u00FCltiger Aufruf: " + message + "\nHilfe: foldscan-report --help\n");
    }
    EXPECT_EQ(RunReport({"--lang=en", "--bogus", mailbox.Path()}).err,
              "foldscan-report: bad command line: unknown option --bogus\nHelp: foldscan-report --help\n");
    // The last of a repeated option counts, as in other tools.
    EXPECT_EQ(RunReport({"--format", "xml", "--format", "csv", mailbox.Path()}).code, 0);
}

TEST(ReportCommandLine, SizesCountInBinaryUnitsAndTheirErrorsAreInTheOutputLanguage) {
    const std::vector<std::pair<std::string, uint64_t>> sizes = {
        {"0", 0}, {"1023", 1023}, {"1k", 1024}, {"1K", 1024}, {"2M", 2u << 20}, {"3g", 3ull << 30},
        {"16777215T", 16777215ull << 40}, {"18446744073709551615", UINT64_MAX}};
    for (const auto& [text, expected] : sizes) {
        uint64_t bytes = 0;
        EXPECT_TRUE(CommandLine::ParseSize(text, bytes)) << text;
        EXPECT_EQ(bytes, expected) << text;
    }
    TempDir mailbox;
    Result result = RunReport({"--lang", "en", "--min-size", "viel", mailbox.Path()});
    EXPECT_EQ(result.err.find("foldscan-report: bad command line: --min-size viel: a whole number of bytes"), 0u)
        << result.err;
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
                               "--no-newmail", "--tree", "--check", "--since", "--top", "--min-size", "--history", "--growth",
                               "--keep", "--from-history", "--growth-since", "--excel", "--jobs", "--lang", "--version",
                               "Exit-Codes", "--output", "--mailboxes-from", "--all-under", "--monitor", "--warn", "--crit",
                               "--warn-folder", "--crit-folder", "--warn-growth", "--crit-growth", "--timeout"})
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

TEST(ReportCommandLine, TheNewMailRowFollowsItsOptions) {
    TempDir mailbox, elsewhere;
    WriteSample(mailbox);
    elsewhere.Write("9.CNM", "", 4000);
    auto newMail = [&](const std::vector<std::string>& options) {
        std::vector<std::string> args = options;
        args.insert(args.end(), {"--format", "csv", mailbox.Path()});
        std::string out = RunReport(args).out;
        size_t at = out.find(",*.CNM,");
        return at == std::string::npos ? std::string("none") : out.substr(at + 7, out.find(',', at + 7) - at - 7);
    };
    EXPECT_EQ(newMail({}), "none");
    EXPECT_EQ(newMail({"--newmail", "newmail"}), "300");  // inside the mailbox
    EXPECT_EQ(newMail({"--newmail", elsewhere.Path()}), "4000");
    EXPECT_EQ(newMail({"--newmail", "newmail", "--no-newmail"}), "none");
    EXPECT_EQ(newMail({"--newmail", "gibt-es-nicht"}), "0");  // the row stays, as in the panel
}

namespace {

// A directory tree of mailboxes: a few with folder files or only the folder
// tree, one nested two levels down, a hidden one, one without any, and the
// root itself holding a folder file.
class MailboxTree {
public:
    MailboxTree() {
        for (const char* dir : {"anna", "bert", "carl", "dept/dora", "dept/sub/emil", "empty", ".hidden"})
            root.MakeDir(dir);
        WritePmm(root, "X.PMM", "X", "", 200);
        WritePmm(root, "anna/A.PMM", "A", "", 300);
        WriteMbx(root, "bert/B.MBX", "bert/B.PMG", "B", "", 400);
        root.Write("carl/hierarch.pm", "2,0,R,,Postfach\r\n");
        WritePmm(root, "dept/dora/D.PMM", "D", "", 500);
        WritePmm(root, "dept/sub/emil/E.pmm", "E", "", 600);
        WritePmm(root, ".hidden/H.PMM", "H", "", 700);
    }
    // A directory below the root, its parts joined as the report joins them.
    std::string In(const std::vector<std::string>& parts) const {
        std::string path = root.Path();
        for (const std::string& part : parts) path += (&part == &parts.front() ? "" : Separator()) + part;
        return path;
    }
    static std::string Separator() { return std::string(1, static_cast<char>(std::filesystem::path::preferred_separator)); }

    TempDir root;
};

std::vector<std::string> MailboxesOf(const Result& result) {
    std::vector<std::string> paths;
    const nlohmann::json report = nlohmann::json::parse(result.out);
    for (const nlohmann::json& mailbox : report.at("mailboxes")) paths.push_back(mailbox.at("mailbox"));
    return paths;
}

}  // namespace

// Patterns, list files (and standard input) and directory trees, in that
// order, each group in the order given, each expansion in name order.
TEST(ReportCommandLine, PatternsListsAndTreesReachEveryMailbox) {
    MailboxTree tree;
    Result all = RunReport({"--format", "json", tree.root.Path() + "*"});
    ASSERT_EQ(all.code, 0) << all.err;
    EXPECT_EQ(MailboxesOf(all), (std::vector<std::string>{tree.In({"anna"}), tree.In({"bert"}), tree.In({"carl"}),
                                                          tree.In({"dept"}), tree.In({"empty"})}));
    EXPECT_EQ(MailboxesOf(RunReport({"--format", "json", tree.root.Path() + ".h*"})),
              std::vector<std::string>{tree.In({".hidden"})});

#ifndef _WIN32
    // A link is not followed: anna is not found twice.
    std::filesystem::create_directory_symlink(tree.In({"anna"}), tree.In({"link"}));
#endif
    Result under = RunReport({"--format", "json", "--all-under", tree.root.Path()});
    ASSERT_EQ(under.code, 0) << under.err;
    EXPECT_EQ(under.err, "");
    EXPECT_EQ(MailboxesOf(under),
              (std::vector<std::string>{tree.root.Path(), tree.In({"anna"}), tree.In({"bert"}), tree.In({"carl"}),
                                        tree.In({"dept", "dora"}), tree.In({"dept", "sub", "emil"})}));

    const std::string list = tree.root.Write("list.txt", "\xEF\xBB\xBF# Postf\xC3\xA4" "cher\r\n" + tree.In({"carl"}) +
                                                             "\r\n\r\n   \n" + tree.In({"de*"}) + "\n");
    Result mixed = RunReport({"--format", "json", "--all-under", tree.In({"dept"}), "--mailboxes-from", list,
                              "--mailboxes-from", "-", tree.In({"b*"})},
                             "de_DE.UTF-8", false, tree.In({"anna"}) + "\n");
    ASSERT_EQ(mixed.code, 0) << mixed.err;
    EXPECT_EQ(MailboxesOf(mixed), (std::vector<std::string>{tree.In({"bert"}), tree.In({"carl"}), tree.In({"dept"}),
                                                            tree.In({"anna"}), tree.In({"dept", "dora"}),
                                                            tree.In({"dept", "sub", "emil"})}));
}

// Each stops the run before anything is read: no output, no history.
TEST(ReportCommandLine, MailboxesThatCannotBeFoundStopTheRunBeforeItReads) {
    MailboxTree tree;
    TempDir elsewhere;
    const std::string history = elsewhere.Path() + "history.db";
    auto list = [&](const std::string& name, const std::string& bytes) { return elsewhere.Write(name, bytes); };
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{tree.In({"z*"})}, "Das Muster " + tree.In({"z*"}) + " passt auf kein Verzeichnis."},
        {{tree.In({"gone", "*"})}, "Das Verzeichnis " + tree.In({"gone"}) + tree.Separator() + " kann nicht gelesen"},
        {{tree.In({"\x1B[31m*"})}, "Das Muster " + tree.In({"\uFFFD[31m*"}) + " passt"},
        {{"--mailboxes-from", elsewhere.Path() + "gone.txt"}, "gone.txt kann nicht gelesen werden: Sie fehlt."},
        {{"--mailboxes-from", elsewhere.Path()}, "Sie ist ein Verzeichnis."},
        {{"--mailboxes-from", list("binary", std::string("abc\n\x7F" "ELF\0\0\1", 10))}, "Zeile 2 ist kein Text in UTF-8."},
        {{"--mailboxes-from", list("latin1", "/srv/mail/\xFC" "ber\n")}, "Zeile 1 ist kein Text in UTF-8."},
        {{"--mailboxes-from", list("long", "# lang\n" + std::string(40000, 'a') + "\n")}, "Zeile 2 ist l\u00E4nger"},
        {{"--mailboxes-from", list("comments", "# nichts\n\n")}, "comments nennt kein Postfach."},
        {{"--mailboxes-from", list("patterns", tree.In({"anna"}) + "\n" + tree.In({"q*"}) + "\n")}, "passt auf kein"},
        {{"--mailboxes-from", "-"}, "Die Postfachliste (Standardeingabe) nennt kein Postfach."},
        {{"--all-under", tree.In({"gone"})}, "Das Verzeichnis " + tree.In({"gone"}) + " kann nicht gelesen werden."},
        {{"--all-under", tree.In({"empty"})}, "Unter " + tree.In({"empty"}) + " liegt kein Postfach."},
    };
    for (const auto& [options, message] : cases) {
        std::vector<std::string> args{"--history", history, "--top", "3", tree.In({"anna"})};
        args.insert(args.end(), options.begin(), options.end());
        Result result = RunReport(args);
        EXPECT_EQ(result.code, 2) << message;
        EXPECT_EQ(result.out, "") << message;
        EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
        EXPECT_EQ(result.err.find('\x1B'), std::string::npos);
        EXPECT_FALSE(std::filesystem::exists(history)) << message;
    }
}
