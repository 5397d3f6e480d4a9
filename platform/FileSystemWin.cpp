#include "platform/FileSystem.h"

#include "platform/OsError.h"
#include "platform/OsPath.h"

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
FileSystem::Listing ForEachFound(const std::string& pattern, const FoundVisitor& visit) {
    size_t cut = pattern.find_last_of("\\/:");
    std::string wildcard = cut == std::string::npos ? pattern : pattern.substr(cut + 1);
    WIN32_FIND_DATA found;
    HANDLE first = FindFirstFile(OsPath(pattern).c_str(), &found);
    if (first == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND) return FileSystem::Listing::Whole;  // nothing matches
        return error == ERROR_PATH_NOT_FOUND ? FileSystem::Listing::NoDirectory : FileSystem::Listing::Broken;
    }
    std::unique_ptr<void, SearchCloser> search(first);
    std::string name;
    do {
        name = TextOf(found.cFileName);
        if (FileSystem::MatchesPattern(wildcard, name)) visit(name, found);
    } while (FindNextFile(search.get(), &found));
    return GetLastError() == ERROR_NO_MORE_FILES ? FileSystem::Listing::Whole : FileSystem::Listing::Broken;
}

uint64_t Length(const WIN32_FIND_DATA& found) {
    return (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
}

uint64_t Ticks(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

}  // namespace

bool IsIoError(unsigned long code) {
    switch (code) {
    case ERROR_NOT_READY: case ERROR_CRC: case ERROR_READ_FAULT: case ERROR_GEN_FAILURE: case ERROR_SEM_TIMEOUT:
    case ERROR_BAD_NETPATH: case ERROR_NETWORK_BUSY: case ERROR_DEV_NOT_EXIST: case ERROR_UNEXP_NET_ERR:
    case ERROR_NETNAME_DELETED: case ERROR_BAD_NET_NAME: case ERROR_REM_NOT_LIST: case ERROR_VC_DISCONNECTED:
    case ERROR_IO_DEVICE: case ERROR_NETWORK_UNREACHABLE: case ERROR_HOST_UNREACHABLE:
    case ERROR_CONNECTION_ABORTED: case ERROR_DEVICE_NOT_CONNECTED: case ERROR_FILENAME_EXCED_RANGE:
        return true;
    default:
        return false;
    }
}

FileSystem::Listing FileSystem::ForEachMatch(const std::string& pattern, const Visitor& visit) {
    return ForEachFound(pattern,
                        [&](const std::string& name, const WIN32_FIND_DATA& found) { visit(name, Length(found)); });
}

bool FileSystem::ListingCarriesStamps() { return true; }

FileSystem::Listing FileSystem::ForEachStamped(const std::string& pattern, const NameFilter& wanted,
                                               const StampVisitor& visit) {
    return ForEachFound(pattern, [&](const std::string& name, const WIN32_FIND_DATA& found) {
        if (!wanted(name)) return;
        FileStamp stamp;
        stamp.length = Length(found);
        stamp.lastWrite = Ticks(found.ftLastWriteTime);
        stamp.created = Ticks(found.ftCreationTime);
        stamp.known = true;
        visit(name, stamp);
    });
}

// The listing carries the lengths anyway.
FileSystem::Listing FileSystem::ForEachMatchingName(const std::string& pattern, const NameVisitor& visit) {
    return ForEachMatch(pattern, [&](const std::string& name, uint64_t) { visit(name); });
}

bool FileSystem::WithinPathLimit(const std::string& path) {
#ifdef UNICODE
    return OsPath(path).size() <= 32767;
#else
    return path.size() < MAX_PATH;
#endif
}

bool FileSystem::FreeSpace(const std::string& directory, uint64_t& bytes) {
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceEx(OsPath(directory).c_str(), &available, nullptr, nullptr)) return false;
    bytes = available.QuadPart;
    return true;
}

FileSystem::EntryType FileSystem::TypeOf(const std::string& path) {
    const DWORD attributes = GetFileAttributes(OsPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return EntryType::Missing;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return EntryType::Directory;
    return attributes & FILE_ATTRIBUTE_DEVICE ? EntryType::Other : EntryType::File;
}

std::string FileSystem::AbsolutePath(std::string path) {
    std::vector<TCHAR> buffer(MAX_PATH + 1);
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD n = GetFullPathName(OsPath(path).c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
        if (n == 0) return std::string();
        if (n < buffer.size()) return TextOf(buffer.data());
        buffer.resize(n + 1);
    }
    return std::string();
}
