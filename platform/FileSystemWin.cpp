#include "platform/FileSystem.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace {

// Closes the search however the visitor leaves the loop, a thrown
// allocation failure included.
struct SearchCloser {
    void operator()(HANDLE search) const { FindClose(search); }
};

// FindFirstFile also matches a name through its generated short name, so
// "*.PMM" would find "Inbox.PMMX" or "Inbox.pmm_old". The long name is
// checked again so that only what the pattern says is found.
template <class FoundVisitor>
void ForEachFound(const std::string& pattern, const FoundVisitor& visit) {
    size_t cut = pattern.find_last_of("\\/:");
    std::string wildcard = cut == std::string::npos ? pattern : pattern.substr(cut + 1);
    WIN32_FIND_DATAA found;
    HANDLE first = FindFirstFileA(pattern.c_str(), &found);
    if (first == INVALID_HANDLE_VALUE) return;
    std::unique_ptr<void, SearchCloser> search(first);
    do {
        if (FileSystem::MatchesPattern(wildcard, found.cFileName)) visit(found);
    } while (FindNextFileA(search.get(), &found));
}

uint64_t Length(const WIN32_FIND_DATAA& found) {
    return (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
}

uint64_t Ticks(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

void FileSystem::ForEachMatch(const std::string& pattern, const Visitor& visit) {
    ForEachFound(pattern, [&](const WIN32_FIND_DATAA& found) { visit(found.cFileName, Length(found)); });
}

bool FileSystem::ListingCarriesStamps() { return true; }

void FileSystem::ForEachStamped(const std::string& pattern, const NameFilter& wanted, const StampVisitor& visit) {
    ForEachFound(pattern, [&](const WIN32_FIND_DATAA& found) {
        if (!wanted(found.cFileName)) return;
        FileStamp stamp;
        stamp.length = Length(found);
        stamp.lastWrite = Ticks(found.ftLastWriteTime);
        stamp.created = Ticks(found.ftCreationTime);
        stamp.known = true;
        visit(found.cFileName, stamp);
    });
}

// The listing carries the lengths anyway.
void FileSystem::ForEachMatchingName(const std::string& pattern, const NameVisitor& visit) {
    ForEachMatch(pattern, [&](const std::string& name, uint64_t) { visit(name); });
}

std::string FileSystem::AbsolutePath(std::string path) {
    std::vector<char> buffer(MAX_PATH + 1);
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD n = GetFullPathNameA(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
        if (n == 0) return std::string();
        if (n < buffer.size()) return std::string(buffer.data(), n);
        buffer.resize(n + 1);
    }
    return std::string();
}
