// The program itself, run as a shell runs it: its exit codes, and standard
// output and error as bytes (UTF-8, no line ends added on Windows, no
// progress line when standard error is a file).
#include "tests/report/ReportFixture.h"
#include "tests/support/Cp1252.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#ifdef _WIN32
#include <windows.h>
#else
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
    EXPECT_EQ(Shell("--jobs 0 " + sample.Path()).code, 2);
}
