#include "tests/support/HostileMailbox.h"

#include "tests/support/FolderHeads.h"

#include <string>

std::unique_ptr<TempDir> HostileMailbox::Make() const {
    auto dir = std::make_unique<TempDir>();
    std::string hierarchy = "2,0,R,,Postfach\r\n";
    for (int i = 0; i < chainLength; ++i) {
        std::string parent = i == 0 ? "R" : "K" + std::to_string(i - 1);
        std::string name(nameLength, static_cast<char>('a' + i % 26));
        hierarchy += "1," + std::to_string(i) + ",K" + std::to_string(i) + "," + parent + "," + name + "\r\n";
    }
    dir->Write("hierarch.pm", hierarchy);
    std::string deepest = "K" + std::to_string(chainLength - 1);
    for (int i = 0; i < folders; ++i) {
        std::string name = "Ordner " + std::to_string((i * 7919) % folders);  // not in file order
        dir->Write("F" + std::to_string(i) + ".PMM", PmmHead(name, deepest), 4096);
    }
    return dir;
}
