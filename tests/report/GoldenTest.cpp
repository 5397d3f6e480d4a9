// The report of a small mailbox in every format, against outputs kept in
// golden/. Set FOLDSCAN_UPDATE_GOLDEN=1 to write them anew after a change
// that is meant.
#include "report/text/RunTime.h"
#include "tests/report/ReportFixture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

using namespace ReportFixture;

namespace {

struct Golden {
    const char* file;
    std::vector<std::string> args;  // "MAILBOX" stands for the mailbox
    int code;
};

const std::vector<Golden> Cases = {
    {"table.de.txt", {"--newmail", "newmail", "MAILBOX"}, 0},
    {"table.en.txt", {"--lang", "en", "--exact", "--sort", "size:desc", "--newmail", "newmail", "MAILBOX"}, 0},
    {"tree-check.de.txt", {"--tree", "--check", "MAILBOX"}, 1},
    {"rows.tsv", {"--format", "tsv", "--no-paths", "--sort", "name", "MAILBOX"}, 0},
    {"rows.csv", {"--format", "csv", "--newmail", "newmail", "MAILBOX"}, 0},
    {"tree.csv", {"--format", "csv", "--tree", "--exact", "MAILBOX"}, 0},
    {"findings.tsv", {"--format", "tsv", "--check", "--lang", "en", "MAILBOX"}, 1},
    {"report.json", {"--format", "json", "--tree", "--check", "--newmail", "newmail", "MAILBOX"}, 1},
#ifndef _WIN32
    // The treemap's coordinates come from floating-point sums, which the
    // 32-bit Windows build rounds on its own way; Chromium checks the page.
    {"report.html", {"--format", "html", "--tree", "--check", "--newmail", "newmail", "MAILBOX"}, 1},
#endif
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(ReportGolden, EveryFormatOfTheSampleMailbox) {
    TempDir mailbox;
    WriteSample(mailbox);
    // The outputs say when they were made: the clock is set, and its local
    // time, which depends on the machine's zone, stands in them as LOCALTIME.
    const std::string now = "2026-11-30T09:00:00Z";
    TestClock clock(now);
    const bool update = std::getenv("FOLDSCAN_UPDATE_GOLDEN") != nullptr;
    for (const Golden& golden : Cases) {
        std::vector<std::string> args = golden.args;
        for (std::string& arg : args)
            if (arg == "MAILBOX") arg = mailbox.Path();
        Result result = RunReport(args);
        EXPECT_EQ(result.code, golden.code) << golden.file;
        EXPECT_EQ(result.err, "") << golden.file;
        std::string output = Normalized(result.out, mailbox.Path());
        const std::string local = RunTime::Local(now);
        for (size_t at = output.find(local); at != std::string::npos; at = output.find(local, at))
            output.replace(at, local.size(), "LOCALTIME");
        const std::string path = std::string(FOLDSCAN_GOLDEN_DIR) + golden.file;
        if (update) {
            std::ofstream(path, std::ios::binary) << output;
            continue;
        }
        EXPECT_EQ(output, ReadFile(path)) << golden.file;
    }
}
