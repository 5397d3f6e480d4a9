#include "platform/AtomicFile.h"

#include "platform/FileSystem.h"
#include "platform/ReadOnlyFile.h"

#include <cstdio>
#include <vector>

namespace {

// Capital hex digits without leading zeros, as "%lX" writes them, at most
// eight: anything else is not a name we made.
bool ParseHex(const std::string& text, size_t begin, size_t end, unsigned long& value) {
    if (begin == end || end - begin > 8 || (text[begin] == '0' && end - begin > 1)) return false;
    value = 0;
    for (size_t i = begin; i < end; ++i) {
        char c = text[i];
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0) return false;
        value = value * 16 + static_cast<unsigned long>(digit);
    }
    return true;
}

// Where the file's name begins: after its directory, which the copy shares.
size_t NameStart(const std::string& path) {
    size_t start = path.size();
    while (start > 0 && !FileSystem::IsSeparator(path[start - 1])) {
#ifdef _WIN32
        if (path[start - 1] == ':') break;  // "C:name" lies in C's current directory
#endif
        --start;
    }
    return start;
}

// Whether name is that of a working copy, and of which process.
bool IsCopyName(const std::string& name, unsigned long& writer) {
    size_t dash = name.find('-');
    unsigned long serial = 0;
    return !name.empty() && name[0] == '~' && dash != std::string::npos && ParseHex(name, 1, dash, writer) &&
           writer != 0 && ParseHex(name, dash + 1, name.size(), serial);
}

}  // namespace

std::string AtomicFile::CopyPath(const std::string& path, unsigned long writer, unsigned serial) {
    char name[24];
    std::snprintf(name, sizeof name, "~%lX-%X", writer, serial);
    return path.substr(0, NameStart(path)) + name;
}

bool AtomicFile::ReadWhole(const std::string& path, uint64_t maxSize, std::string& bytes) {
    ReadOnlyFile file;
    if (!file.Open(path) || file.Length() > maxSize) return false;
    bytes.resize(static_cast<size_t>(file.Length()));
    return file.ReadHead(&bytes[0], bytes.size()) == bytes.size();
}

// A copy whose process still runs may be in the middle of its batch; one
// whose process has ended was cut off and is of no use to anybody. Ids are
// reused, so at worst an old copy stays until its namesake ends too. A file
// that is itself named like a copy is not its own leftover.
void AtomicFile::RemoveLeftoverCopies(const std::string& path) {
    const size_t nameStart = NameStart(path);
    const std::string directory = path.substr(0, nameStart);
    std::vector<std::string> ended;
    FileSystem::ForEachMatchingName(directory + "~*", [&](const std::string& name) {
        unsigned long writer = 0;
        if (path.compare(nameStart, std::string::npos, name) != 0 && IsCopyName(name, writer) && !ProcessRuns(writer))
            ended.push_back(directory + name);
    });
    for (const std::string& copy : ended) RemoveCopy(copy);
}
