// The report on a mailbox that a file server holds, every request answered
// after a fixed delay: the generated mailbox mounted through tests/tools'
// slowfs (FUSE, which wants /dev/fuse and the right to mount), and the whole
// program's tsv of it with --jobs 1 against more jobs. Without FUSE each
// benchmark says why and measures nothing.
//
// Arguments: folders, microseconds a request, jobs.
#include "report/program/ReportProgram.h"
#include "tests/bench/GeneratedMailbox.h"

#include <benchmark/benchmark.h>

#include <signal.h>
#include <sys/vfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <memory>
#include <ostream>
#include <streambuf>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace {

constexpr long FuseMagic = 0x65735546;

// The generated mailbox of that many folders as a share with that delay,
// mounted while the object lives.
class SlowShare {
public:
    SlowShare(int folders, long microseconds) : source(GenerateMailbox(folders)) {
        server = fork();
        if (server == 0) {
            const std::string delay = std::to_string(microseconds);
            execl(FOLDSCAN_SLOWFS, "slowfs", source->Path().c_str(), mountPoint.Path().c_str(), delay.c_str(), "-f",
                  static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 200 && server > 0 && !mounted; ++i) {
            struct statfs status;
            mounted = statfs(mountPoint.Path().c_str(), &status) == 0 && status.f_type == FuseMagic;
            if (!mounted) std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
    }
    ~SlowShare() {
        if (server <= 0) return;
        kill(server, SIGTERM);  // the server unmounts as it ends
        waitpid(server, nullptr, 0);
    }
    SlowShare(const SlowShare&) = delete;
    SlowShare& operator=(const SlowShare&) = delete;

    bool Mounted() const { return mounted; }
    const std::string& Path() const { return mountPoint.Path(); }

private:
    std::unique_ptr<TempDir> source;
    TempDir mountPoint;
    pid_t server = -1;
    bool mounted = false;
};

const SlowShare& Share(int folders, long microseconds) {
    static std::map<std::pair<int, long>, std::unique_ptr<SlowShare>> made;
    auto& share = made[{folders, microseconds}];
    if (!share) share = std::make_unique<SlowShare>(folders, microseconds);
    return *share;
}

class NullBuffer : public std::streambuf {
protected:
    int overflow(int c) override { return c; }
    std::streamsize xsputn(const char*, std::streamsize n) override { return n; }
};

void BM_ShareReport(benchmark::State& state) {
    const SlowShare& share = Share(static_cast<int>(state.range(0)), static_cast<long>(state.range(1)));
    if (!share.Mounted()) {
        state.SkipWithError("slowfs could not mount the share (FUSE missing, or no right to mount)");
        return;
    }
    const std::vector<std::string> args{"--format", "tsv", "--jobs", std::to_string(state.range(2)), share.Path()};
    ReportEnvironment environment;
    NullBuffer nowhere;
    std::ostream out(&nowhere), err(&nowhere);
    for (auto _ : state) benchmark::DoNotOptimize(ReportProgram(environment).Run(args, out, err));
}

}  // namespace

// 5,000 folders at 2 ms a request; and at 0.5 ms, also 20,000 folders.
BENCHMARK(BM_ShareReport)
    ->ArgNames({"folders", "us", "jobs"})
    ->Args({5000, 2000, 1})
    ->Args({5000, 2000, 8})
    ->Args({5000, 500, 1})
    ->Args({5000, 500, 4})
    ->Args({20000, 500, 1})
    ->Args({20000, 500, 4})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

BENCHMARK_MAIN();
