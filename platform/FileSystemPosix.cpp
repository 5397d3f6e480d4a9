#include "platform/FileSystem.h"

#include "platform/OsError.h"
#include "platform/PosixStamp.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <memory>
#include <vector>

namespace {

struct DirCloser {
    void operator()(DIR* d) const { closedir(d); }
};

// Calls visit(directory fd, name) for every entry whose name matches; a
// visit that returns false met an I/O error, which breaks the listing.
template <class EntryVisitor>
FileSystem::Listing ForEachEntry(const std::string& pattern, const EntryVisitor& visit) {
    size_t cut = pattern.find_last_of('/');
    std::string directory = cut == std::string::npos ? "." : pattern.substr(0, cut + 1);
    std::string wildcard = cut == std::string::npos ? pattern : pattern.substr(cut + 1);

    std::unique_ptr<DIR, DirCloser> dir(opendir(directory.c_str()));
    if (!dir)
        return errno == ENOENT || errno == ENOTDIR ? FileSystem::Listing::NoDirectory : FileSystem::Listing::Broken;
    int dirFd = dirfd(dir.get());
    std::string name;
    bool whole = true;
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir.get());
        if (!entry) return errno == 0 && whole ? FileSystem::Listing::Whole : FileSystem::Listing::Broken;
        name = entry->d_name;
        if (FileSystem::MatchesPattern(wildcard, name) && !visit(dirFd, name)) whole = false;
    }
}

// An absolute path without empty, "." or ".." components is its own
// absolute form; the scan asks for that of every folder file.
bool IsNormalAbsolute(const std::string& path) {
    if (path.empty() || path[0] != '/') return false;
    for (size_t start = 1; start < path.size();) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        size_t length = end - start;
        if (length == 0) return false;
        if (path[start] == '.' && (length == 1 || (length == 2 && path[start + 1] == '.'))) return false;
        start = end + 1;
    }
    return true;
}

}  // namespace

bool IsIoError(unsigned long code) {
    switch (code) {
    case EIO: case ETIMEDOUT: case ESTALE: case ENETDOWN: case ENETUNREACH: case ENETRESET: case ECONNABORTED:
    case ECONNRESET: case EHOSTDOWN: case EHOSTUNREACH: case ENOTCONN: case ENOLINK: case ENAMETOOLONG:
#ifdef EREMOTEIO
    case EREMOTEIO:
#endif
        return true;
    default:
        return false;
    }
}

FileSystem::Listing FileSystem::ForEachMatch(const std::string& pattern, const Visitor& visit) {
    // An entry whose length the OS failed to tell for an I/O error is left
    // out, and the listing is not whole: its sum would pass for a smaller one.
    return ForEachEntry(pattern, [&](int dirFd, const std::string& name) {
        struct stat st;
        uint64_t length = 0;
        if (fstatat(dirFd, name.c_str(), &st, 0) == 0) {
            if (S_ISREG(st.st_mode)) length = static_cast<uint64_t>(st.st_size);
        } else if (IsIoError(static_cast<unsigned long>(errno))) {
            return false;
        }
        visit(name, length);
        return true;
    });
}

bool FileSystem::ListingCarriesStamps() { return false; }

FileSystem::Listing FileSystem::ForEachMatchingName(const std::string& pattern, const NameVisitor& visit) {
    return ForEachEntry(pattern, [&](int, const std::string& name) {
        visit(name);
        return true;
    });
}

FileSystem::Listing FileSystem::ForEachStamped(const std::string& pattern, const NameFilter& wanted,
                                               const StampVisitor& visit) {
    return ForEachEntry(pattern, [&](int dirFd, const std::string& name) {
        if (!wanted(name)) return true;
        struct stat st;
        visit(name, fstatat(dirFd, name.c_str(), &st, 0) == 0 ? StampOf(st) : FileStamp());
        return true;
    });
}

bool FileSystem::WithinPathLimit(const std::string& path) { return path.size() < PATH_MAX; }

bool FileSystem::FreeSpace(const std::string& directory, uint64_t& bytes) {
    struct statvfs volume;
    if (statvfs(directory.c_str(), &volume) != 0) return false;
    bytes = static_cast<uint64_t>(volume.f_bavail) * volume.f_frsize;
    return true;
}

FileSystem::EntryType FileSystem::TypeOf(const std::string& path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return EntryType::Missing;
    return S_ISREG(st.st_mode) ? EntryType::File : S_ISDIR(st.st_mode) ? EntryType::Directory : EntryType::Other;
}

std::string FileSystem::AbsolutePath(std::string path) {
    if (IsNormalAbsolute(path)) return path;
    std::string joined;
    if (path.empty() || path[0] != '/') {
        std::vector<char> cwd(4096);
        if (!getcwd(cwd.data(), cwd.size())) return std::string();
        joined = std::string(cwd.data()) + "/";
    }
    joined += path;

    // Drop "." and empty components, let ".." remove the one before it; a
    // trailing separator survives, as it does on Windows.
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= joined.size()) {
        size_t end = joined.find('/', start);
        if (end == std::string::npos) end = joined.size();
        std::string part = joined.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string result;
    for (const std::string& part : parts) result += "/" + part;
    if (result.empty() || joined.back() == '/') result += "/";
    return result;
}
