#include "platform/Directory.h"

#include "platform/FileSystem.h"
#include "platform/OsPath.h"

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

}  // namespace

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
