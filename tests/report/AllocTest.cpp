// Memory that runs out anywhere in a run, one allocation after another: the
// run ends with a message and exit code 2, or, where the failure was only a
// wish (a shrink_to_fit), with the whole report; never with an abort or a
// report that passes for whole.
#include "report/program/ReportProgram.h"
#include "tests/report/ReportFixture.h"
#include "tests/support/CountingHeap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

using namespace ReportFixture;

TEST(ReportAlloc, EveryFailedAllocationEndsTheRunWithAMessageOrAWholeReport) {
    TempDir mailbox;
    WriteSample(mailbox);
    const std::vector<std::string> args{"--jobs", "1", "--format", "json", "--tree", "--check", "--top", "3",
                                        "--newmail", "newmail", mailbox.Path()};
    struct Outcome {
        bool failed;
        int code;
        std::string out, err;
    };
    auto run = [&](long n) {
        std::ostringstream out, err;
        CountingHeap::allocationsLeft = n;
        int code = ReportProgram(ReportEnvironment()).Run(args, out, err);
        bool failed = n > 0 && CountingHeap::allocationsLeft == 0;
        CountingHeap::allocationsLeft = 0;
        return Outcome{failed, code, out.str(), err.str()};
    };
    TestClock clock("2026-11-30T09:00:00Z");  // every run says it was made at the same time
    const Outcome whole = run(0);
    ASSERT_EQ(whole.code, 1) << whole.err;
    // The number of allocations a whole run makes, then a spread of them to fail.
    long total = 1;
    while (run(total).failed) total *= 2;
    const long step = std::max(1L, total / 1500);
    for (long n = 1; n < total; n += step) {
        Outcome outcome = run(n);
        if (!outcome.failed) break;
        if (outcome.code == 2) {
            // Running out while the output grows is a failed write.
            ASSERT_TRUE(outcome.err == "foldscan-report: Nicht genug Speicher.\n" ||
                        outcome.err == "foldscan-report: Die Ausgabe kann nicht geschrieben werden.\n")
                << "allocation " << n << ": " << outcome.err;
        } else {
            ASSERT_EQ(outcome.code, whole.code) << "allocation " << n;
            ASSERT_EQ(outcome.out, whole.out) << "allocation " << n;
        }
    }
}
