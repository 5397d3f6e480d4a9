#include "tests/bench/GeneratedMailbox.h"

#include "tests/support/FolderHeads.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <map>
#include <string>

std::unique_ptr<TempDir> GenerateMailbox(int folders) {
    auto dir = std::make_unique<TempDir>();
    std::string hierarchy = "2,0,R,,Postfach\n";
    for (int i = 0; i < folders; ++i) {
        std::string key = "K" + std::to_string(i);
        std::string parent = i % 5 == 0 ? "R" : "K" + std::to_string(i - 1);
        std::string name = "Ordner " + std::to_string(i);
        std::string file = "F" + std::to_string(i);
        hierarchy += "1," + std::to_string(i) + "," + key + "," + parent + "," + name + "\n";
        if (i % 2 == 0) {
            dir->Write(file + ".PMM", PmmHead(name, key), 4096);
        } else {
            dir->Write(file + ".MBX", "", 4096);
            dir->Write(file + ".PMG", PmgHead(name, key), 512);
        }
    }
    dir->Write("hierarch.pm", hierarchy);
    return dir;
}

const TempDir& GeneratedMailbox(int folders) {
    static std::map<int, std::unique_ptr<TempDir>> made;
    auto& dir = made[folders];
    if (!dir) dir = GenerateMailbox(folders);
    return *dir;
}

void BM_LeastWork(benchmark::State& state) {
    const std::string path = GeneratedMailbox(static_cast<int>(state.range(0))).Path();
    char head[128];
    for (auto _ : state) {
        size_t bytes = 0;
        DIR* dir = opendir(path.c_str());
        const int dirFd = dirfd(dir);
        while (dirent* entry = readdir(dir)) {
            if (entry->d_name[0] == '.') continue;
            int fd = openat(dirFd, entry->d_name, O_RDONLY);
            struct stat st;
            if (fstat(fd, &st) == 0) bytes += static_cast<size_t>(st.st_size > 0);
            bytes += static_cast<size_t>(read(fd, head, sizeof head));
            close(fd);
        }
        closedir(dir);
        benchmark::DoNotOptimize(bytes);
    }
}
