// A refresh and a sort by folder name of the two hostile mailboxes: a chain
// of 70 folder-tree entries with names of 128 KiB (or 32 KiB) above 300
// folders. Counters: the rows, the bytes of the records' texts, and the heap
// the scan's result keeps (glibc's count of bytes in use).
#include "store/FolderCompare.h"
#include "store/FolderList.h"
#include "store/SortRule.h"

#include "tests/support/HostileMailbox.h"

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

const TempDir& Mailbox(size_t nameKiB) {
    static std::map<size_t, std::unique_ptr<TempDir>> made;
    auto& dir = made[nameKiB];
    if (!dir) {
        HostileMailbox hostile;
        hostile.nameLength = nameKiB * 1024;
        dir = hostile.Make();
    }
    return *dir;
}

size_t TextBytes(const FolderList& list) {
    size_t bytes = 0;
    for (const FolderInfo& r : list) bytes += r.fileName.size() + r.folderPath.size() + r.folderName.size();
    return bytes;
}

void BM_Refresh(benchmark::State& state) {
    const std::string path = Mailbox(static_cast<size_t>(state.range(0))).Path();
    size_t before = mallinfo2().uordblks;
    auto list = std::make_unique<FolderList>();
    for (auto _ : state) {
        list->Scan({path, true, false, path, ""});
        benchmark::DoNotOptimize(list->GetTotal());
    }
    state.counters["rows"] = list->GetCount();
    state.counters["textBytes"] = static_cast<double>(TextBytes(*list));
    state.counters["retainedBytes"] = static_cast<double>(mallinfo2().uordblks - before);
}

void BM_SortByFolderName(benchmark::State& state) {
    const std::string path = Mailbox(static_cast<size_t>(state.range(0))).Path();
    FolderList list;
    list.Scan({path, true, false, path, ""});
    std::vector<const FolderInfo*> rows;
    for (const FolderInfo& r : list) rows.push_back(&r);
    SortRule rule;
    rule.sortColumn = FolderCompare::FolderNameColumn;
    rule.tieMode = SortRule::FromLeftmost;
    const std::vector<int> order = {0, 1, 2};
    for (auto _ : state) {
        std::reverse(rows.begin(), rows.end());
        std::sort(rows.begin(), rows.end(), [&](const FolderInfo* a, const FolderInfo* b) {
            return rule.Compare(*a, *b, order) < 0;
        });
        benchmark::DoNotOptimize(rows.data());
    }
}

}  // namespace

BENCHMARK(BM_Refresh)->Arg(32)->Arg(128)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortByFolderName)->Arg(32)->Arg(128)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
