// The program itself, run as a shell runs it: its exit codes, and standard
// output and error as bytes (UTF-8, no line ends added on Windows, no
// progress line when standard error is a file).
#include "tests/report/ReportFixture.h"
#include "tests/support/Cp1252.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <string>

#ifdef _WIN32
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

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// No argument here holds a space or a quote, so none is quoted.
Result Shell(const std::string& args) {
    TempDir files;
    const std::string out = files.Path() + "out", err = files.Path() + "err";
    int status = std::system((Program() + " " + args + " >" + out + " 2>" + err).c_str());
    Result result;
#ifdef _WIN32
    result.code = status;
#else
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
