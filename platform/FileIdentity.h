#pragma once

#include <cstdint>
#include <string>

// What makes a file or directory the one it is, however a path spells it (in
// another letter case, by a short name, through a link): the volume it lies
// on and its number there, as the system keeps them.
struct FileIdentity {
    uint64_t volume = 0;
    uint64_t file = 0;

    // The identity of what path names. False when nothing is there, it cannot
    // be looked at, or the system gives no number for it (some shares answer
    // 0 for every file, which would make them all one).
    static bool Of(const std::string& path, FileIdentity& identity);

    // A name as the system compares names: on Windows without regard to case
    // (in upper case, as the file system folds names), elsewhere as it is.
    static std::string ComparedName(const std::string& name);

    bool operator==(const FileIdentity& other) const { return volume == other.volume && file == other.file; }
    bool operator!=(const FileIdentity& other) const { return !(*this == other); }
};
