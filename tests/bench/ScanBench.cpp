// The time of a whole scan on generated mailboxes of 1,000 and 20,000 folders,
// against the least any scan must do on the same mailbox: list the directory
// and open, read the first 128 bytes of and close every file.
#include "store/FolderList.h"

#include "tests/support/TempDir.h"

#include <benchmark/benchmark.h>

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <map>
#include <memory>
#include <string>

namespace {

std::string Header(size_t length, const std::string& name, size_t keyOffset, const std::string& key) {
    std::string bytes(length, '\0');
    bytes.replace(0, name.size(), name);
    bytes.replace(keyOffset, key.size(), key);
    return bytes;
}

// Half the folders are ".PMM" files, half ".MBX" files with ".PMG" companions.
// The hierarchy holds one entry per folder in chains of five under one root,
// as a mailbox with a few levels of sub-folders has them.
std::unique_ptr<TempDir> Generate(int folders) {
    auto dir = std::make_unique<TempDir>();
    std::string hierarchy = "2,0,R,,Postfach\n";
    for (int i = 0; i < folders; ++i) {
        std::string key = "K" + std::to_string(i);
        std::string parent = i % 5 == 0 ? "R" : "K" + std::to_string(i - 1);
        std::string name = "Ordner " + std::to_string(i);
        std::string file = "F" + std::to_string(i);
        hierarchy += "1," + std::to_string(i) + "," + key + "," + parent + "," + name + "\n";
        if (i % 2 == 0) {
            dir->Write(file + ".PMM", Header(128, name, 86, key), 4096);
        } else {
            dir->Write(file + ".MBX", "", 4096);
            dir->Write(file + ".PMG", Header(90, name, 58, key), 512);
        }
    }
    dir->Write("hierarch.pm", hierarchy);
    return dir;
}

const TempDir& Mailbox(int folders) {
    static std::map<int, std::unique_ptr<TempDir>> made;
    auto& dir = made[folders];
    if (!dir) dir = Generate(folders);
    return *dir;
}

void BM_Scan(benchmark::State& state) {
    const std::string path = Mailbox(static_cast<int>(state.range(0))).Path();
    FolderList list;
    for (auto _ : state) {
        list.Scan({path, true, false, path, ""});
        benchmark::DoNotOptimize(list.GetTotal());
    }
    state.counters["rows"] = list.GetCount();
}

void BM_LeastWork(benchmark::State& state) {
    const std::string path = Mailbox(static_cast<int>(state.range(0))).Path();
    char head[128];
    for (auto _ : state) {
        size_t bytes = 0;
        DIR* dir = opendir(path.c_str());
        while (dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.') continue;
            int fd = open((path + entry->d_name).c_str(), O_RDONLY);
            bytes += static_cast<size_t>(read(fd, head, sizeof head));
            close(fd);
        }
        closedir(dir);
        benchmark::DoNotOptimize(bytes);
    }
}

}  // namespace

BENCHMARK(BM_Scan)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LeastWork)->Arg(1000)->Arg(20000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
