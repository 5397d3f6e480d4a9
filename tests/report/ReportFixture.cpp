#include "tests/report/ReportFixture.h"

#include "report/program/ReportProgram.h"
#include "report/text/RunTime.h"
#include "tests/support/Cp1252.h"

#include <cstdlib>
#include <sstream>

namespace ReportFixture {
namespace {

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
    if (from.empty()) return;
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

}  // namespace

void WritePmm(TempDir& dir, const std::string& file, const std::string& name, const std::string& key,
              uint64_t size) {
    dir.Write(file, PmmHead(name, key), size);
}

void WriteMbx(TempDir& dir, const std::string& file, const std::string& companion, const std::string& name,
              const std::string& key, uint64_t size) {
    dir.Write(file, "", size);
    dir.Write(companion, PmgHead(name, key));
}

void WriteSample(TempDir& dir) {
    dir.Write("hierarch.pm", Cp1252("2,0,ROOT,,Postfach\r\n"
                                    "1,1,A,ROOT,Archiv\r\n"
                                    "1,2,A1,A,\"2024\"\r\n"
                                    "1,3,P,ROOT,\"Projekte, alt\"\r\n"
                                    "1,4,Q,ROOT,\"Zitat \\\"Q\\\"\"\r\n"
                                    "1,5,N,ROOT,Büro €\r\n"
                                    "1,6,E,ROOT,Leer\r\n"));
    WritePmm(dir, "Archiv.PMM", "Archiv", "A", 2048);
    WritePmm(dir, "Doppel.PMM", "Archiv", "a", 2048);
    WriteMbx(dir, "A2024.MBX", "a2024.pmg", "2024", "A1", 5000);
    WritePmm(dir, "Projekte.PMM", "Projekte, alt", "P", 1536);
    WritePmm(dir, "Zitat,1.PMM", "Zitat \"Q\"\r\nZeile 2", "Q", 300);
    WritePmm(dir, "Buero.PMM", Cp1252("Büro €"), "N", 1048576);
    dir.Write("Kurz.PMM", "kurz");
    WritePmm(dir, "Fremd.PMM", "Fremd", "X9", 128);
    dir.Write("Waise.MBX", "", 4096);
    dir.Write("Rest.PMG", PmgHead("Rest", "R"));
    dir.MakeDir("newmail");
    dir.Write("newmail/1.CNM", "", 100);
    dir.Write("newmail/2.CNM", "", 200);
}

Result RunReport(const std::vector<std::string>& args, const std::string& locale, bool terminal,
                 const std::string& input) {
    ReportEnvironment environment;
    environment.locale = locale;
    environment.errorIsTerminal = terminal;
    environment.processors = 2;
    std::istringstream standardInput(input);
    environment.input = &standardInput;
    std::ostringstream out, err;
    Result result;
    result.code = ReportProgram(environment).Run(args, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

std::string Normalized(std::string output, const std::string& path) {
    std::string json;
    for (char c : path) json += c == '\\' ? std::string("\\\\") : std::string(1, c);
    ReplaceAll(output, json, "MAILBOX");
    ReplaceAll(output, path, "MAILBOX");
    return output;
}

void TestClock::Set(const std::string& utc) {
#ifdef _WIN32
    _putenv((std::string(RunTime::TestClock) + "=" + utc).c_str());
#else
    if (utc.empty())
        unsetenv(RunTime::TestClock);
    else
        setenv(RunTime::TestClock, utc.c_str(), 1);
#endif
}

}  // namespace ReportFixture
