// Sorting the folder list's records as the list view does: by one column,
// ties broken by the others in display order, with the records compared in
// place.
#include "store/FolderCompare.h"
#include "store/FolderInfo.h"
#include "store/SortRule.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<FolderInfo> Records(size_t count) {
    std::mt19937 random(42);
    const char* roots[] = {"\\Archiv\\", "\\Projekte\\Kunden\\", "\\Vereine\\", "\\", "<?\?\?>\\"};
    std::vector<FolderInfo> records(count);
    for (size_t i = 0; i < count; ++i) {
        FolderInfo& r = records[i];
        r.fileName = "F" + std::to_string(random() % 100000) + ".PMM";
        r.folderPath = roots[random() % 5];
        r.folderName = "Ordner " + std::to_string(random() % (count / 4 + 1));  // many equal names
        r.size = random() % 100000000;
    }
    return records;
}

void SortRecords(benchmark::State& state, int column) {
    std::vector<FolderInfo> records = Records(static_cast<size_t>(state.range(0)));
    std::vector<const FolderInfo*> rows;
    for (const FolderInfo& r : records) rows.push_back(&r);
    SortRule rule;
    rule.sortColumn = column;
    rule.tieMode = SortRule::FromLeftmost;
    const std::vector<int> order = {0, 1, 2};
    for (auto _ : state) {
        std::shuffle(rows.begin(), rows.end(), std::mt19937(7));
        std::sort(rows.begin(), rows.end(), [&](const FolderInfo* a, const FolderInfo* b) {
            return rule.Compare(*a, *b, order) < 0;
        });
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void ByFolderName(benchmark::State& state) { SortRecords(state, FolderCompare::FolderNameColumn); }
void ByFileName(benchmark::State& state) { SortRecords(state, FolderCompare::FileNameColumn); }
void BySize(benchmark::State& state) { SortRecords(state, FolderCompare::SizeColumn); }

}  // namespace

BENCHMARK(ByFolderName)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(ByFileName)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BySize)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
