// Mailboxes scanned on several threads, their folder files read ahead on
// several threads, and the progress line they share. Also run under
// ThreadSanitizer.
#include "report/model/MailboxReport.h"
#include "report/model/ReportOptions.h"
#include "report/program/JobPool.h"
#include "report/scan/ReadAheadReader.h"
#include "report/scan/ThreadBudget.h"
#include "report/text/ReportTexts.h"
#include "store/FolderInfo.h"
#include "store/FolderReader.h"
#include "store/pmHierarch.h"
#include "tests/report/ReportFixture.h"
#include "tests/support/TraceCapture.h"
#include "ui/Trace.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <atomic>
#include <string>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

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

namespace {

// A mailbox whose heads fail every way a read can, among many good ones: a
// head too short, an unreadable companion, a companion missing or named
// twice, a folder file that is a directory, and on POSIX files that vanished
// after the listing (links to nothing) and heads that fail with an I/O error
// (links to a process's memory, whose first page is never mapped).
void WriteDamaged(TempDir& dir, int folders = 300) {
    dir.Write("hierarch.pm", "2,0,R,,Postfach\r\n1,1,K1,R,Eins\r\n");
    for (int i = 0; i < folders; ++i) {
        const std::string n = std::to_string(i);
        if (i % 2 == 0) WritePmm(dir, "P" + n + ".PMM", "Ordner " + n, "K" + std::to_string(i % 3), 200 + i);
        else WriteMbx(dir, "M" + n + ".MBX", "M" + n + ".PMG", "Ordner " + n, "K1", 300 + i);
        if (i % 37 == 5) dir.Write("Kurz" + n + ".PMM", "kurz");
        if (i % 41 == 7) dir.Write("Ohne" + n + ".MBX", "", 10);
        if (i % 43 == 9) {
            dir.Write("Kurz" + n + ".MBX", "", 20);
            dir.Write("Kurz" + n + ".PMG", "kurz");
        }
    }
    dir.Write("Doppelt.MBX", "", 30);
    dir.Write("doppelt.pmg", PmgHead("klein", "K1"));
    dir.Write("DOPPELT.PMG", PmgHead("GROSS", "K1"));
    dir.MakeDir("Verzeichnis.PMM");
#ifndef _WIN32
    for (const char* name : {"Weg.PMM", "Weg.MBX"}) symlink((dir.Path() + "nirgends").c_str(), (dir.Path() + name).c_str());
    dir.Write("WegPmg.MBX", "", 40);
    symlink((dir.Path() + "nirgends").c_str(), (dir.Path() + "WegPmg.PMG").c_str());
    symlink("/proc/self/mem", (dir.Path() + "Kaputt.PMM").c_str());
    dir.Write("Kaputt.MBX", "", 50);
    symlink("/proc/self/mem", (dir.Path() + "Kaputt.PMG").c_str());
#endif
}

struct Scanned {
    std::vector<std::string> rows;  // every field of each row, and what opening it told
    std::vector<std::string> trace;
    size_t helpers = 0;
};

std::string Described(const FolderInfo& row, const FolderSource::Opened& opened) {
    return row.fileName + "|" + row.folderPath + "|" + row.folderName + "|" + row.hierarchyKey + "|" +
           std::to_string(row.size) + "|" + std::to_string(static_cast<int>(row.status)) + "|" +
           std::to_string(opened.file.known) + std::to_string(opened.file.length) + std::to_string(opened.file.lastWrite) +
           "|" + opened.companionName + "|" + std::to_string(opened.companion.length);
}

// A scan as FolderList makes it, with what opening each file told.
Scanned Scan(FolderSource& source, const std::string& dir, ReadAheadReader* reader = nullptr) {
    Scanned scanned;
    TraceCapture capture;
    MailboxListing listing;
    source.BeginScan(dir, MailboxListing::WithLookUps, listing);
    bool treeFault = false;
    const pmHierarch* table = source.Hierarchy(listing, true, treeFault);
    for (bool mbx : {false, true}) {
        for (const MailboxListing::Entry& entry : mbx ? listing.Mbx() : listing.Pmm()) {
            bool ambiguous = false;
            const MailboxListing::Entry* companion =
                mbx ? listing.FindUnique(MailboxListing::CompanionName(entry.name), &ambiguous) : nullptr;
            FolderInfo row;
            FolderSource::Opened opened;
            source.Read({entry, mbx, companion, ambiguous}, row, &opened);
            if (table) row.SetFolderPath(table->GetPath(row.hierarchyKey));
            scanned.rows.push_back(Described(row, opened));
        }
    }
    source.EndScan();
    scanned.trace = capture.Lines();
    if (reader) scanned.helpers = reader->HelpersStarted();
    return scanned;
}

}  // namespace

// The rows, their order, the stamps and the trace lines are those of one
// thread, whatever the window and however many threads read ahead.
TEST(ReportJobs, ReadingAheadGivesWhatOneThreadReads) {
    TempDir mailbox;
    WriteDamaged(mailbox);
    FolderReader plain;
    const Scanned one = Scan(plain, mailbox.Path());
    ASSERT_GT(one.rows.size(), 300u);
    ASSERT_GE(one.trace.size(), 20u);
    for (unsigned threads : {1u, 2u, 8u}) {
        for (size_t window : {size_t{1}, size_t{3}, size_t{64}, ReadAheadReader::DefaultWindow}) {
            for (int round = 0; round < 3; ++round) {
                ThreadBudget budget(threads);
                ReadAheadReader reader(&budget, window);
                const Scanned many = Scan(reader, mailbox.Path(), &reader);
                ASSERT_EQ(many.rows, one.rows) << threads << " threads, window " << window;
                ASSERT_EQ(many.trace, one.trace) << threads << " threads, window " << window;
                EXPECT_EQ(many.helpers > 0, threads > 1);
                EXPECT_EQ(budget.Take(threads), threads) << "every thread given back";
            }
        }
    }
}

// The whole report of a mailbox in every format: what --jobs 1 gives, also
// with threads reading ahead, with --jobs 0 (as many as processors) and with
// far more than the most threads allowed.
TEST(ReportJobs, EveryNumberOfJobsGivesTheReportOfOne) {
    TempDir sample, damaged;
    WriteSample(sample);
    WriteDamaged(damaged);
    const std::vector<std::vector<std::string>> formats = {
        {"--format", "json", "--tree", "--check", "--newmail", "newmail"}, {"--format", "tsv"}, {"--top", "5"}};
    TestClock clock("2026-11-30T09:00:00Z");  // runs that straddle a second still say the same time
    for (const TempDir* mailbox : {&sample, &damaged}) {
        for (const std::vector<std::string>& format : formats) {
            auto run = [&](const std::string& jobs) {
                std::vector<std::string> args = format;
                args.insert(args.end(), {"--jobs", jobs, mailbox->Path()});
                return RunReport(args);
            };
            const Result one = run("1");
            for (const char* jobs : {"2", "8", "0", "100000", "99999999999999999999999"}) {
                const Result many = run(jobs);
                EXPECT_EQ(many.code, one.code) << jobs;
                EXPECT_EQ(many.out, one.out) << jobs;
                EXPECT_EQ(many.err, one.err) << jobs;
            }
        }
    }
}

// The run's threads are its budget: mailboxes and the helpers of each take
// from it, and all come back; a stopped budget starts no more.
TEST(ReportJobs, TheBudgetBoundsEveryThreadAndAStopEndsTheRunWithoutWaiting) {
    std::vector<TempDir> mailboxes(4);
    for (TempDir& mailbox : mailboxes) WriteDamaged(mailbox, 80);
    const TraceSink shown = SetTraceSink([](const std::string&) {});
    ReportOptions options;
    ReportTexts texts(options.language);
    for (unsigned threads : {1u, 3u, 16u}) {
        ThreadBudget budget(threads);
        std::atomic<unsigned> running{0}, most{0};
        JobPool::Run(mailboxes.size(), budget, [&](size_t i) {
            unsigned now = ++running;
            for (unsigned seen = most; now > seen && !most.compare_exchange_weak(seen, now);) {
            }
            MailboxReport report = MailboxReport::Make(mailboxes[i].Path(), options, texts, nullptr, &budget);
            EXPECT_GT(report.count, 80u);
            --running;
        });
        EXPECT_LE(most.load(), threads);
        EXPECT_EQ(budget.Take(threads + 1), threads);
    }

    ThreadBudget budget(1);
    size_t started = 0;
    for (int run = 0; run < 2; ++run) {
        JobPool::Run(mailboxes.size(), budget, [&](size_t) {
            ++started;
            budget.Stop();
        });
    }
    EXPECT_EQ(started, 1u);

    // Stopped between two reads: the rest come at once, unread, and the
    // scan ends without waiting for its helpers.
    ThreadBudget stopping(4);
    ReadAheadReader reader(&stopping, 8);
    MailboxListing listing;
    reader.BeginScan(mailboxes[0].Path(), MailboxListing::WithLookUps, listing);
    size_t read = 0, unread = 0;
    for (const MailboxListing::Entry& entry : listing.Pmm()) {
        if (read == 10) stopping.Stop();
        FolderInfo row;
        reader.Read({entry, false, nullptr, false}, row);
        if (!stopping.Stopped()) {
            ++read;
            continue;
        }
        ++unread;
        EXPECT_EQ(row.status, FolderStatus::CannotOpen);
    }
    reader.EndScan();
    EXPECT_EQ(read, 10u);
    EXPECT_GT(unread, 20u);
    SetTraceSink(shown);
}
