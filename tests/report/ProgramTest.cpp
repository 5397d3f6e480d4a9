// The program itself, run as a shell runs it: its exit codes, and standard
// output and error as bytes (UTF-8, no line ends added on Windows, no
// progress line when standard error is a file).
#include "tests/report/ReportFixture.h"
#include "tests/support/Cp1252.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>

#ifdef _WIN32
#include "platform/Utf16.h"

#include <windows.h>
#else
#include <sqlite3.h>
#include <sys/wait.h>
#endif

using namespace ReportFixture;

namespace {

// The program lies beside this test.
std::string Program() {
#ifdef _WIN32
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string self(path, n);
    return self.substr(0, self.find_last_of("\\/") + 1) + "foldscan-report.exe";
#else
    return FOLDSCAN_REPORT_PROGRAM;
#endif
}

// Paths in UTF-8, which the test's own file functions take as such on Windows too.
std::filesystem::path PathOf(const std::string& utf8) { return std::filesystem::u8path(utf8); }

std::string ReadFile(const std::string& path) {
    std::ifstream in(PathOf(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(PathOf(path), std::ios::binary) << bytes;
}

// A path past 260 characters as the test's own file functions take it: on
// Windows in its long form.
std::filesystem::path LongPath(std::string utf8) {
#ifdef _WIN32
    for (char& c : utf8)
        if (c == '/') c = '\\';
    utf8 = "\\\\?\\" + utf8;
#endif
    return PathOf(utf8);
}

void WriteLong(const std::string& path, const std::string& bytes) {
    std::ofstream(LongPath(path), std::ios::binary) << bytes;
}

// The command line in UTF-8. No argument here holds a quote, and those with
// a space are quoted.
Result Shell(const std::string& args) {
    TempDir files;
    const std::string out = files.Path() + "out", err = files.Path() + "err";
    const std::string command = Program() + " " + args + " >" + out + " 2>" + err;
    Result result;
#ifdef _WIN32
    Utf16Text wide;
    if (!Utf16::FromUtf8(command, wide)) return result;
    result.code = _wsystem(wide.c_str());
#else
    int status = std::system(command.c_str());
    result.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
    result.out = ReadFile(out);
    result.err = ReadFile(err);
    return result;
}

}  // namespace

TEST(ReportProgram, ExitCodesAndTheBytesOfItsOutput) {
    Result version = Shell("--version");
    EXPECT_EQ(version.code, 0);
    EXPECT_EQ(version.out, std::string("foldscan-report ") + FOLDSCAN_VERSION + "\n");

    TempDir mailbox;
    WritePmm(mailbox, "Gruss.PMM", Cp1252("Grüße"), "", 1536);
    Result plain = Shell("--lang de " + mailbox.Path());
    EXPECT_EQ(plain.code, 0);
    EXPECT_EQ(plain.err, "");
    EXPECT_NE(plain.out.find("Gruss.PMM  1,5 kB  100,0 %  Gr\xC3\xBC\xC3\x9F" "e\n"), std::string::npos) << plain.out;
    EXPECT_EQ(plain.out.find('\r'), std::string::npos);

    TempDir sample;
    WriteSample(sample);
    EXPECT_EQ(Shell("--check " + sample.Path()).code, 1);
    Result missing = Shell("--lang en " + sample.Path() + " " + sample.Path() + "gone");
    EXPECT_EQ(missing.code, 2);
    EXPECT_EQ(missing.err, "foldscan-report: mailbox not found or not readable: " + sample.Path() + "gone\n");
    EXPECT_NE(missing.out.find("Mailbox "), std::string::npos);
    EXPECT_EQ(Shell("--jobs viele " + sample.Path()).code, 2);
}

#ifndef _WIN32
TEST(ReportProgram, AFullDiskFailsTheRunAndAReaderThatStopsEndsItQuietly) {
    TempDir mailbox, files;
    for (int i = 0; i < 400; ++i) WritePmm(mailbox, "F" + std::to_string(i) + ".PMM", "Ordner", "", 200);
    const std::string err = files.Path() + "err", state = files.Path() + "state.json";
    int status = std::system((Program() + " --format json " + mailbox.Path() + " >/dev/full 2>" + err).c_str());
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 2);
    EXPECT_EQ(ReadFile(err), "foldscan-report: Die Ausgabe kann nicht geschrieben werden.\n");

    // 400 rows of JSON are far more than a pipe holds; the shell ignores
    // the signal a closed pipe sends, as some callers do.
    std::string line = "trap '' PIPE; " + Program() + " --since " + state + " --format json " + mailbox.Path() +
                       " 2>" + err + " | head -c 10 >/dev/null";
    EXPECT_EQ(std::system(("sh -c \"" + line + "\"").c_str()), 0);
    EXPECT_EQ(ReadFile(err), "");
    EXPECT_FALSE(std::ifstream(state).good()) << "the state moved on past output nobody read";
}

// Each run reads the state file, scans, and writes it back: those that
// overlap take turns and keep each other's mailboxes.
TEST(ReportProgram, OverlappingRunsKeepEveryMailboxInTheStateFile) {
    std::vector<TempDir> mailboxes(6);
    TempDir files;
    const std::string state = files.Path() + "state.json";
    std::string runs;
    for (TempDir& mailbox : mailboxes) {
        for (int i = 0; i < 300; ++i) WritePmm(mailbox, "F" + std::to_string(i) + ".PMM", "Ordner", "", 200);
        runs += Program() + " --since " + state + " --format tsv " + mailbox.Path() + " >/dev/null 2>>" +
                files.Path() + "err & ";
    }
    EXPECT_EQ(std::system(("sh -c '" + runs + "wait'").c_str()), 0);
    EXPECT_EQ(ReadFile(files.Path() + "err"), "");
    EXPECT_EQ(nlohmann::json::parse(ReadFile(state)).at("mailboxes").size(), mailboxes.size());
}

TEST(ReportProgram, OverlappingRunsAllLandInTheHistory) {
    TempDir mailbox, files;
    for (int i = 0; i < 300; ++i) WritePmm(mailbox, "F" + std::to_string(i) + ".PMM", "Ordner", "", 200);
    const std::string history = files.Path() + "history.db";
    std::string runs;
    for (int i = 0; i < 6; ++i)
        runs += Program() + " --history " + history + " --format tsv " + mailbox.Path() + " >/dev/null 2>>" +
                files.Path() + "err & ";
    EXPECT_EQ(std::system(("sh -c '" + runs + "wait'").c_str()), 0);
    EXPECT_EQ(ReadFile(files.Path() + "err"), "");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(history.c_str(), &db), SQLITE_OK);
    sqlite3_stmt* count = nullptr;
    sqlite3_prepare_v2(db, "SELECT count(*), (SELECT count(*) FROM mailbox_run), (SELECT count(*) FROM folder_change)"
                       " FROM runs", -1, &count, nullptr);
    ASSERT_EQ(sqlite3_step(count), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(count, 0), 6);
    EXPECT_EQ(sqlite3_column_int(count, 1), 6);
    EXPECT_EQ(sqlite3_column_int(count, 2), 300);  // the folders once: none changed
    sqlite3_finalize(count);
    sqlite3_close(db);
}
#endif

// The Windows program keeps its history too: a second run compares with the first.
TEST(ReportProgram, RunsLandInTheHistoryAndTheNextComparesWithThem) {
    TempDir mailbox, files;
    WritePmm(mailbox, "A.PMM", "Archiv", "", 1000);
    const std::string history = files.Path() + "history.db";
    ASSERT_EQ(Shell("--history " + history + " " + mailbox.Path()).code, 0);
    WritePmm(mailbox, "A.PMM", "Archiv", "", 1500);
    Result second = Shell("--history " + history + " --growth --format json " + mailbox.Path());
    ASSERT_EQ(second.code, 0) << second.err;
    EXPECT_EQ(nlohmann::json::parse(second.out).at("mailboxes").at(0).at("rows").at(0).at("growth"), 500);
}

// Names beyond code page 1252 in a mailbox's path, the history's and the
// output's: each reaches its own file, and messages show them as they are.
TEST(ReportProgram, PathsBeyondCodePage1252ReachTheirOwnFiles) {
    TempDir root;
    const std::string dvorak = root.Path() + "Anton\u00EDn Dvo\u0159\u00E1k", cjk = root.Path() + "\u90AE\u4EF6";
    const std::string history = root.Path() + "\u0141\u00F3d\u017A Verlauf.db";
    const std::string output = root.Path() + "\u0391\u03BD\u03B1\u03C6\u03BF\u03C1\u03AC.json";
    for (const std::string& mailbox : {dvorak, cjk}) {
        std::filesystem::create_directory(PathOf(mailbox));
        WriteFile(mailbox + "/A.PMM", PmmHead("Archiv"));
    }
    WriteFile(dvorak + "/\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC.PMM", PmmHead("Griechisch"));
    const std::string args = "--format json --history \"" + history + "\" --output \"" + output + "\" \"" + dvorak +
                             "\" \"" + cjk + "\"";
    Result first = Shell(args);
    ASSERT_EQ(first.code, 0) << first.err;
    EXPECT_EQ(first.out, "");
    nlohmann::json report = nlohmann::json::parse(ReadFile(output));
    EXPECT_EQ(report.at("mailboxes").at(0).at("mailbox"), dvorak);
    EXPECT_EQ(report.at("mailboxes").at(1).at("mailbox"), cjk);
#ifdef _WIN32
    // Windows lists the names in UTF-16; elsewhere a name's bytes are the mail store's code page.
    EXPECT_EQ(report.at("mailboxes").at(0).at("rows").at(1).at("fileName"),
              "\u0395\u03BB\u03BB\u03B7\u03BD\u03B9\u03BA\u03AC.PMM");
#endif
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(PathOf(root.Path())))
        names.push_back(entry.path().filename().u8string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Anton\u00EDn Dvo\u0159\u00E1k", "\u0141\u00F3d\u017A Verlauf.db",
                                               "\u0391\u03BD\u03B1\u03C6\u03BF\u03C1\u03AC.json", "\u90AE\u4EF6"}));

    // The history under its own name serves the next run.
    WriteFile(cjk + "/B.PMM", PmmHead("Briefe"));
    Result second = Shell("--format json --growth " + args);
    ASSERT_EQ(second.code, 0) << second.err;
    EXPECT_FALSE(nlohmann::json::parse(ReadFile(output)).at("mailboxes").at(1).at("growthSince").is_null());

    Result missing = Shell("--lang en \"" + root.Path() + "\u03A9\u03BC\u03AD\u03B3\u03B1\"");
    EXPECT_EQ(missing.code, 2);
    EXPECT_EQ(missing.err, "foldscan-report: mailbox not found or not readable: " + root.Path() +
                               "\u03A9\u03BC\u03AD\u03B3\u03B1\n");
}

// Folder files whose paths run past 260 characters are read, on Windows
// through the long form of their paths: none passes for a file of 0 bytes.
TEST(ReportProgram, PathsBeyond260CharactersAreRead) {
    TempDir root;
    std::string mailbox = root.Path() + std::string(120, 'a');
    for (const std::string& part : {std::string(100, 'b'), std::string(60, 'c')}) mailbox += "/" + part;
    std::filesystem::create_directories(LongPath(mailbox));
    WriteLong(mailbox + "/" + std::string(40, 'f') + ".PMM", PmmHead("Fern") + std::string(2872, 'x'));
    WriteLong(mailbox + "/Archiv.MBX", std::string(5000, 'm'));
    WriteLong(mailbox + "/Archiv.PMG", PmmHead("Archiv"));
    WriteLong(mailbox + "/hierarch.pm", "2,0,ROOT,,Postfach\r\n");
    ASSERT_GT(mailbox.size() + 45, 300u);
    Result run = Shell("--format json \"" + mailbox + "\"");
    ASSERT_EQ(run.code, 0) << run.err;
    const nlohmann::json report = nlohmann::json::parse(run.out).at("mailboxes").at(0);
    EXPECT_EQ(report.at("total"), 8000);
    for (const auto& row : report.at("rows")) EXPECT_EQ(row.at("status"), "ok") << row.dump();
}
