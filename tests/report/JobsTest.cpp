// Mailboxes scanned on several threads, and the progress line they share.
// Also run under ThreadSanitizer.
#include "report/program/JobPool.h"
#include "tests/report/ReportFixture.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <string>
#include <vector>

using namespace ReportFixture;

TEST(ReportJobs, EveryJobRunsOnceWhateverTheNumberOfThreads) {
    for (unsigned threads : {1u, 2u, 4u, 64u}) {
        for (size_t count : {size_t{0}, size_t{1}, size_t{3}, size_t{100}}) {
            std::vector<std::atomic<int>> runs(count);
            JobPool::Run(count, threads, [&](size_t i) { ++runs[i]; });
            for (size_t i = 0; i < count; ++i) ASSERT_EQ(runs[i].load(), 1) << threads << " " << count << " " << i;
        }
    }
}

TEST(ReportJobs, MailboxesScannedInParallelComeInArgumentOrder) {
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
    TestClock clock("2026-11-30T09:00:00Z");  // both say when they were made alike
    Result one = RunReport(serial), four = RunReport(parallel);
    EXPECT_EQ(one.code, 2);
    EXPECT_EQ(four.code, 2);
    EXPECT_EQ(four.out, one.out);
    EXPECT_EQ(four.err, one.err);
    size_t last = four.out.find("\"mailboxes\": ");  // after the overview, ranked by size
    for (const TempDir& mailbox : mailboxes) {
        size_t at = four.out.find("\"mailbox\": " + nlohmann::json(mailbox.Path()).dump(), last);
        ASSERT_NE(at, std::string::npos);
        EXPECT_GT(at, last);
        last = at;
    }
}

TEST(ReportJobs, TheProgressLineIsDrawnOnlyOnATerminalAndWipedAtTheEnd) {
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
