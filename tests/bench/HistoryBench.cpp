// The history's size and speed. A year of nightly runs costs what changed:
// 2,000 folders in 20 mailboxes, 60 nights with 1 % of the folders changed
// each night, in bytes on disk per folder and run; and the answers from the
// history alone of one mailbox of 20,000 folders after 365 such nights: its
// growth over 30 days, its changes over 30 days and the year, and its
// timeline.
#include "report/history/HistoryStore.h"
#include "report/model/MailboxReport.h"
#include "report/program/ReportProgram.h"
#include "report/text/RunTime.h"
#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <random>
#include <streambuf>
#include <string>
#include <vector>

namespace {

constexpr std::time_t FirstNight = 1793498400;  // 2026-11-01T02:00:00Z

// Mailboxes as a scan leaves them, without a scan: folder i of a mailbox is
// "F<i>.PMM", "Ordner <i>" in "\Archiv\<i / 50>\".
std::vector<MailboxReport> Mailboxes(int mailboxes, int folders) {
    std::vector<MailboxReport> made(static_cast<size_t>(mailboxes));
    for (int m = 0; m < mailboxes; ++m) {
        MailboxReport& mailbox = made[static_cast<size_t>(m)];
        mailbox.path = "/srv/mail/postfach" + std::to_string(m);
        mailbox.readable = true;
        mailbox.rows.resize(static_cast<size_t>(folders));
        for (int i = 0; i < folders; ++i) {
            FolderInfo& record = mailbox.rows[static_cast<size_t>(i)].record;
            record.fileName = "F" + std::to_string(100000 + i) + ".PMM";
            record.folderPath = "\\Archiv\\" + std::to_string(i / 50) + "\\";
            record.folderName = "Ordner " + std::to_string(i);
            record.hierarchyKey = "K" + std::to_string(i);
            record.size = 4096 + 1000 * static_cast<uint64_t>(i);
            mailbox.total += record.size;
        }
        mailbox.count = static_cast<uint64_t>(folders);
    }
    return made;
}

// Appends a run a night, a hundredth of all folders grown before each but
// the first; with churn, also that many folders moved, gone and new. The
// seconds the appends took.
double RecordNights(const std::string& file, std::vector<MailboxReport>& mailboxes, int nights, size_t churn = 0) {
    std::mt19937 random(7);
    size_t folders = 0;
    for (const MailboxReport& mailbox : mailboxes) folders += mailbox.rows.size();
    double seconds = 0;
    for (int night = 0; night < nights; ++night) {
        for (size_t k = 0; night > 0 && k < folders / 100; ++k) {
            MailboxReport& mailbox = mailboxes[random() % mailboxes.size()];
            ReportRow& row = mailbox.rows[random() % mailbox.rows.size()];
            row.record.size += 50000;
            mailbox.total += 50000;
        }
        for (size_t k = 0; night > 0 && k < churn; ++k) {
            MailboxReport& mailbox = mailboxes[random() % mailboxes.size()];
            mailbox.rows[random() % mailbox.rows.size()].record.folderPath = "\\Verschoben\\";
            ReportRow& renewed = mailbox.rows[random() % mailbox.rows.size()];
            renewed.record.fileName = "N" + std::to_string(night) + "_" + std::to_string(k) + ".PMM";
        }
        std::vector<HistoryStore::Entry> entries;
        for (const MailboxReport& mailbox : mailboxes) entries.push_back({&mailbox, mailbox.path, mailbox.path});
        const auto start = std::chrono::steady_clock::now();
        HistoryStore store;
        if (!store.Open(file) || !store.Append(RunTime::Utc(FirstNight + night * 86400), entries)) std::abort();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    return seconds;
}

void BM_HistoryBytesPerFolderAndRun(benchmark::State& state) {
    const int mailboxes = 20, folders = 100, nights = 60;
    for (auto _ : state) {
        TempDir dir;
        const std::string file = dir.Path() + "history.db";
        std::vector<MailboxReport> made = Mailboxes(mailboxes, folders);
        const double seconds = RecordNights(file, made, nights);
        state.SetIterationTime(seconds);
        const double bytes = static_cast<double>(std::filesystem::file_size(file));
        state.counters["bytes_per_folder_run"] = bytes / (mailboxes * folders * nights);
        state.counters["ms_per_run"] = 1000 * seconds / nights;
    }
}

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

// A year of one mailbox of 20,000 folders, made once.
const std::string& YearOfNights() {
    static TempDir dir;
    static std::string file;
    if (file.empty()) {
        file = dir.Path() + "year.db";
        std::vector<MailboxReport> made = Mailboxes(1, 20000);
        RecordNights(file, made, 365, 20);
    }
    return file;
}

void BM_FromHistory(benchmark::State& state, std::vector<std::string> asked) {
    const std::string& file = YearOfNights();
    const std::string now = RunTime::Utc(FirstNight + 364 * 86400 + 7 * 3600);
    setenv(RunTime::TestClock, now.c_str(), 1);
    ReportEnvironment environment;
    NullBuffer nowhere;
    std::ostream out(&nowhere), err(&nowhere);
    std::vector<std::string> args{"--from-history", file};
    args.insert(args.end(), asked.begin(), asked.end());
    for (auto _ : state)
        if (ReportProgram(environment).Run(args, out, err) != ReportProgram::Success) state.SkipWithError("failed");
    unsetenv(RunTime::TestClock);
    state.counters["bytes_per_folder_run"] =
        static_cast<double>(std::filesystem::file_size(file)) / (20000.0 * 365);
}

}  // namespace

BENCHMARK(BM_HistoryBytesPerFolderAndRun)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
using Args = std::vector<std::string>;
BENCHMARK_CAPTURE(BM_FromHistory, json_20000_folders_365_runs, Args{"--growth-since", "30d", "--format", "json"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FromHistory, table_20000_folders_365_runs, Args{"--growth-since", "30d", "--format", "table"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FromHistory, changes_30_days, Args{"--changes", "--growth-since", "30d", "--format", "json"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FromHistory, changes_365_days, Args{"--changes", "--growth-since", "365d", "--format", "json"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FromHistory, timeline_365_runs, Args{"--timeline", "--format", "csv"})
    ->Unit(benchmark::kMillisecond);
