#pragma once

#include "tests/support/FolderHeads.h"
#include "tests/support/TempDir.h"

#include <cstdint>
#include <string>
#include <vector>

// Folder files with chosen heads, and runs of the report program in this
// process.
namespace ReportFixture {

// A folder of each kind written into dir, the ".MBX" with its companion.
void WritePmm(TempDir& dir, const std::string& file, const std::string& name, const std::string& key,
              uint64_t size);
void WriteMbx(TempDir& dir, const std::string& file, const std::string& companion, const std::string& name,
              const std::string& key, uint64_t size);

// The small mailbox of the golden outputs: both kinds of folder file, a
// tree with names in code page 1252 and with commas, quotes and a line
// break, new mail, and one instance of most findings.
void WriteSample(TempDir& dir);

struct Result {
    int code = -1;
    std::string out, err;
};

// Runs the report with these arguments, in the given locale, as if
// standard error were a terminal or not, with input as standard input.
Result RunReport(const std::vector<std::string>& args, const std::string& locale = "de_DE.UTF-8",
           bool terminal = false, const std::string& input = std::string());

// The output with every spelling of path (as given, and as JSON writes it)
// replaced by "MAILBOX", so that outputs compare across runs and systems.
std::string Normalized(std::string output, const std::string& path);

// The report's clock set to a UTC time ("2026-11-30T09:00:00Z") while it lives.
class TestClock {
public:
    explicit TestClock(const std::string& utc) { Set(utc); }
    ~TestClock() { Set(""); }
    TestClock(const TestClock&) = delete;
    TestClock& operator=(const TestClock&) = delete;
    void Set(const std::string& utc);
};

}  // namespace ReportFixture
