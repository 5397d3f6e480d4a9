#include "platform/Directory.h"

#include "platform/FileSystem.h"
#include "platform/OsError.h"
#include "platform/OsPath.h"

#include <memory>
#include <vector>

namespace {

// GetFullPathName resolves "." and ".."; GetLongPathName replaces short
// names by long ones, but only for a path that exists.
std::string FullPath(const std::string& path) {
    std::string full = FileSystem::AbsolutePath(path);
    if (full.empty()) return full;
    std::vector<TCHAR> buffer(MAX_PATH + 1);
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD n = GetLongPathName(OsPath(full).c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return std::string();
        if (n < buffer.size()) return TextOf(buffer.data());
        buffer.resize(n + 1);
    }
    return std::string();
}

// Closes the search however the loop is left.
struct SearchCloser {
    void operator()(HANDLE search) const { FindClose(search); }
};

}  // namespace

bool Directory::List(const std::string& directory, std::vector<Entry>& entries, bool* ioError) {
    entries.clear();
    if (ioError) *ioError = false;
    std::string pattern = directory;
    if (!pattern.empty() && !FileSystem::IsSeparator(pattern.back()) && pattern.back() != ':') pattern += '\\';
    WIN32_FIND_DATA found;
    HANDLE first = FindFirstFile(OsPath(pattern + "*").c_str(), &found);
    // A drive's empty root lists nothing at all, not even "." and "..".
    if (first == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (ioError) *ioError = IsIoError(error);
        return error == ERROR_FILE_NOT_FOUND && IsListable(directory);
    }
    std::unique_ptr<void, SearchCloser> search(first);
    do {
        Entry entry;
        entry.name = TextOf(found.cFileName);
        if (entry.name == "." || entry.name == "..") continue;
        const DWORD attributes = found.dwFileAttributes;
        entry.isDirectory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.isLink = (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        entry.isHidden = entry.name[0] == '.' || (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
        entries.push_back(std::move(entry));
    } while (FindNextFile(search.get(), &found));
    const DWORD error = GetLastError();
    if (ioError) *ioError = IsIoError(error);
    return error == ERROR_NO_MORE_FILES;
}

bool Directory::SortsBefore(const std::string& a, const std::string& b) {
    const std::basic_string<TCHAR> x = OsPath(a), y = OsPath(b);
    return CompareString(LOCALE_USER_DEFAULT, NORM_IGNORECASE, x.c_str(), static_cast<int>(x.size()), y.c_str(),
                         static_cast<int>(y.size())) == CSTR_LESS_THAN;
}

bool Directory::IsListable(const std::string& path) {
    DWORD attributes = GetFileAttributes(OsPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    std::string pattern = path;
    if (!FileSystem::IsSeparator(pattern.back())) pattern += '\\';
    WIN32_FIND_DATA found;
    HANDLE search = FindFirstFile(OsPath(pattern + "*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    return true;
}

std::string Directory::Canonical(const std::string& path) {
    if (path.empty()) return std::string();
    std::string full = FileSystem::AbsolutePath(path);
    if (full.empty()) return full;
    while (full.size() > 3 && FileSystem::IsSeparator(full.back())) full.pop_back();
    std::string resolved = FullPath(full);
    if (!resolved.empty()) return resolved;

    // Not there (yet): resolve what is, then add the rest.
    size_t cut = full.find_last_of("\\/");
    if (cut == std::string::npos || cut + 1 >= full.size()) return std::string();
    std::string parent = full.substr(0, cut == 2 ? 3 : cut);  // "C:\" stays a root
    if (parent == full) return std::string();
    std::string base = Canonical(parent);
    if (base.empty()) return std::string();
    return base + (FileSystem::IsSeparator(base.back()) ? "" : "\\") + full.substr(cut + 1);
}
