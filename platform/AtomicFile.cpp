#include "platform/AtomicFile.h"

#include "platform/CaseFold.h"
#include "platform/FileSystem.h"
#include "platform/ReadOnlyFile.h"

#include <cctype>
#include <cstring>
#include <vector>

namespace {

// A copy's name is "~" and a 50-bit number in ten base-32 digits, most
// significant first: 14 bits of computer tag, 32 of process id, 4 of serial.
// No name of a user's own file is likely to look like that.
const char Digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUV";
const int NameDigits = 10;
const unsigned ComputerBits = 14;

struct CopyName {
    unsigned computer = 0;
    unsigned long writer = 0;
};

// Whether name is that of a working copy, and whose.
bool ParseCopyName(const std::string& name, CopyName& parsed) {
    if (name.size() != 1 + NameDigits || name[0] != '~') return false;
    uint64_t value = 0;
    for (size_t i = 1; i < name.size(); ++i) {
        const char* digit = name[i] ? std::strchr(Digits, name[i]) : nullptr;
        if (!digit) return false;
        value = value * 32 + static_cast<uint64_t>(digit - Digits);
    }
    parsed.computer = static_cast<unsigned>(value >> 36);
    parsed.writer = static_cast<unsigned long>((value >> 4) & 0xFFFFFFFFu);
    return true;
}

// Earlier versions named a copy "~", the process id and a serial in hex
// ("~1A4-0"), without the computer: whose it is cannot be told, so such a
// copy is only ever taken for abandoned after a day.
bool IsEarlierCopyName(const std::string& name) {
    const size_t dash = name.find('-');
    if (name.size() < 4 || name[0] != '~' || dash == std::string::npos || dash < 2 || dash + 1 == name.size())
        return false;
    for (size_t i = 1; i < name.size(); ++i)
        if (i != dash && !std::isxdigit(static_cast<unsigned char>(name[i]))) return false;
    return true;
}

}  // namespace

std::string AtomicFile::CopyPath(const std::string& path, unsigned computer, unsigned long writer, unsigned serial) {
    uint64_t value = (static_cast<uint64_t>(computer & ((1u << ComputerBits) - 1)) << 36) |
                     (static_cast<uint64_t>(writer & 0xFFFFFFFFu) << 4) | (serial & 0xFu);
    std::string name(1 + NameDigits, '~');
    for (int i = NameDigits; i > 0; --i, value /= 32) name[static_cast<size_t>(i)] = Digits[value % 32];
    return path.substr(0, FileSystem::NameStart(path)) + name;
}

unsigned AtomicFile::ThisComputer() {
    static const unsigned tag = [] {
        uint64_t hash = 14695981039346656037ull;  // FNV-1a of the name, without regard to case
        for (char c : ComputerName()) hash = (hash ^ static_cast<unsigned char>(FoldCase(c))) * 1099511628211ull;
        return static_cast<unsigned>((hash ^ (hash >> 32)) & ((1u << ComputerBits) - 1));
    }();
    return tag;
}

bool AtomicFile::ReadWhole(const std::string& path, uint64_t maxSize, std::string& bytes) {
    ReadOnlyFile file;
    if (!file.Open(path) || file.Length() > maxSize) return false;
    bytes.resize(static_cast<size_t>(file.Length()));
    return file.ReadHead(&bytes[0], bytes.size()) == bytes.size();
}

// A copy of this computer's whose process still runs may be in the middle of
// its batch; one whose process has ended was cut off. Whether another
// computer's process runs cannot be told from here, and its copy may be
// being written right now: it goes only once nobody has written it for a day.
// Ids are reused, so at worst an old copy of ours stays until its namesake
// ends or the day is over. A file that is itself named like a copy is not its
// own leftover.
void AtomicFile::RemoveLeftoverCopies(const std::string& path) {
    const size_t nameStart = FileSystem::NameStart(path);
    const std::string directory = path.substr(0, nameStart);
    std::vector<std::string> abandoned;
    FileSystem::ForEachMatchingName(directory + "~*", [&](const std::string& name) {
        CopyName copy;
        int64_t age = 0;
        const bool current = ParseCopyName(name, copy);
        if (path.compare(nameStart, std::string::npos, name) == 0 || (!current && !IsEarlierCopyName(name)) ||
            !PlainFileAge(directory + name, age))
            return;
        if (age >= AbandonedAfterSeconds || (current && copy.computer == ThisComputer() && !ProcessRuns(copy.writer)))
            abandoned.push_back(directory + name);
    });
    for (const std::string& copy : abandoned) RemoveCopy(copy);
}
