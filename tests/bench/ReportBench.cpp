// The report's speed. Its scan of one mailbox of 20,000 folders (the
// panel's scan, the rows in the panel's order with their texts, and the
// hierarchy kept) against the least any scan must do on the same mailbox in
// the same run: list the directory and open, read the first 128 bytes of and
// close every file. The scan and the whole program's tsv of the same mailbox
// with its folder files read on one thread and on two, and the tsv with every
// run appended to a history. And one run over 100 mailboxes of 200 folders
// with --jobs 1 against --jobs 4.
#include "report/model/MailboxReport.h"
#include "report/model/ReportOptions.h"
#include "report/program/ReportProgram.h"
#include "report/scan/ThreadBudget.h"
#include "report/text/ReportTexts.h"
#include "store/FolderList.h"
#include "tests/bench/GeneratedMailbox.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

namespace {

const std::vector<std::unique_ptr<TempDir>>& Mailboxes() {
    static std::vector<std::unique_ptr<TempDir>> made;
    if (made.empty())
        for (int i = 0; i < 100; ++i) made.push_back(GenerateMailbox(200));
    return made;
}

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

void BM_ReportScan(benchmark::State& state) {
    const std::string path = GeneratedMailbox(static_cast<int>(state.range(0))).Path();
    ReportOptions options;
    ReportTexts texts(options.language);
    for (auto _ : state) {
        MailboxReport report = MailboxReport::Make(path, options, texts);
        benchmark::DoNotOptimize(report.total);
    }
}

// The least of the repetitions: on a machine that others share, the one run
// that had the processors to itself is the closest to what the code costs.
double Least(const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); }

// The same scan with its folder files read on up to range(1) threads.
void BM_ReportScanJobs(benchmark::State& state) {
    const std::string path = GeneratedMailbox(static_cast<int>(state.range(0))).Path();
    ReportOptions options;
    ReportTexts texts(options.language);
    for (auto _ : state) {
        ThreadBudget threads(static_cast<unsigned>(state.range(1)));
        MailboxReport report = MailboxReport::Make(path, options, texts, nullptr, &threads);
        benchmark::DoNotOptimize(report.total);
    }
}

// The panel's scan alone, for comparison: what the report adds is the rest.
void BM_PanelScan(benchmark::State& state) {
    const std::string path = GeneratedMailbox(static_cast<int>(state.range(0))).Path();
    FolderList list;
    for (auto _ : state) {
        list.Scan({path, true, false, path, ""});
        benchmark::DoNotOptimize(list.GetTotal());
    }
}

// The whole program, its table written to nowhere.
void BM_ReportProgram(benchmark::State& state, std::vector<std::string> args) {
    ReportEnvironment environment;
    environment.processors = 4;
    NullBuffer nowhere;
    std::ostream out(&nowhere), err(&nowhere);
    for (auto _ : state) benchmark::DoNotOptimize(ReportProgram(environment).Run(args, out, err));
}

// A history outside the mailbox, made fresh for each benchmark that uses it.
std::string HistoryFile() {
    static TempDir dir;
    static int serial = 0;
    return dir.Path() + "history" + std::to_string(++serial) + ".db";
}

std::vector<std::string> Args(const std::vector<std::string>& options, int mailboxFolders) {
    std::vector<std::string> args = options;
    if (mailboxFolders > 0) {
        args.push_back(GeneratedMailbox(mailboxFolders).Path());
    } else {
        for (const auto& dir : Mailboxes()) args.push_back(dir->Path());
    }
    return args;
}

}  // namespace

BENCHMARK(BM_ReportScan)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportScanJobs)
    ->Args({20000, 1})
    ->Args({20000, 2})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->ComputeStatistics("least", Least);
BENCHMARK(BM_PanelScan)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LeastWork)->Arg(20000)->Unit(benchmark::kMillisecond)->ComputeStatistics("least", Least);
BENCHMARK_CAPTURE(BM_ReportProgram, table_20000, Args({}, 20000))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReportProgram, tsv_20000, Args({"--format", "tsv"}, 20000))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReportProgram, tsv_20000_jobs_1, Args({"--format", "tsv", "--jobs", "1"}, 20000))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->ComputeStatistics("least", Least);
BENCHMARK_CAPTURE(BM_ReportProgram, tsv_20000_jobs_2, Args({"--format", "tsv", "--jobs", "2"}, 20000))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->ComputeStatistics("least", Least);
BENCHMARK_CAPTURE(BM_ReportProgram, tsv_history_20000, Args({"--format", "tsv", "--history", HistoryFile()}, 20000))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReportProgram, json_tree_check_20000, Args({"--format", "json", "--tree", "--check"}, 20000))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReportProgram, html_20000, Args({"--format", "html"}, 20000))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_ReportProgram, mailboxes_100x200_jobs_1, Args({"--jobs", "1"}, 0))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(BM_ReportProgram, mailboxes_100x200_jobs_4, Args({"--jobs", "4"}, 0))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

BENCHMARK_MAIN();
