#include "platform/Directory.h"

#include "platform/OsError.h"

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>

#include <memory>

namespace {

struct DirCloser {
    void operator()(DIR* d) const { ::closedir(d); }
};

}  // namespace

bool Directory::List(const std::string& directory, std::vector<Entry>& entries, bool* ioError) {
    entries.clear();
    if (ioError) *ioError = false;
    auto failed = [ioError] {
        if (ioError) *ioError = IsIoError(static_cast<unsigned long>(errno));
        return false;
    };
    std::unique_ptr<DIR, DirCloser> dir(::opendir(directory.empty() ? "." : directory.c_str()));
    if (!dir) return failed();
    const int dirFd = ::dirfd(dir.get());
    for (;;) {
        errno = 0;
        const dirent* found = ::readdir(dir.get());
        if (!found) return errno == 0 || failed();
        Entry entry;
        entry.name = found->d_name;
        if (entry.name == "." || entry.name == "..") continue;
        entry.isHidden = entry.name[0] == '.';
        entry.isLink = found->d_type == DT_LNK;
        entry.isDirectory = found->d_type == DT_DIR;
        struct stat st;
        if ((found->d_type == DT_UNKNOWN || entry.isLink) && ::fstatat(dirFd, found->d_name, &st, 0) == 0)
            entry.isDirectory = S_ISDIR(st.st_mode);
        if (found->d_type == DT_UNKNOWN && ::fstatat(dirFd, found->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0)
            entry.isLink = S_ISLNK(st.st_mode);
        entries.push_back(std::move(entry));
    }
}

bool Directory::SortsBefore(const std::string& a, const std::string& b) { return a < b; }

bool Directory::IsListable(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    DIR* dir = ::opendir(path.c_str());
    if (!dir) return false;
    ::closedir(dir);
    return true;
}

std::string Directory::Canonical(const std::string& path) {
    if (path.empty()) return std::string();
    std::unique_ptr<char, decltype(&::free)> resolved(::realpath(path.c_str(), nullptr), &::free);
    if (resolved) return resolved.get();

    // Not there (yet): resolve what is, then add the rest.
    std::string trimmed = path;
    while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
    size_t cut = trimmed.find_last_of('/');
    std::string parent = cut == std::string::npos ? "." : (cut == 0 ? "/" : trimmed.substr(0, cut));
    std::string name = cut == std::string::npos ? trimmed : trimmed.substr(cut + 1);
    if (name.empty() || name == "." || name == ".." || parent == trimmed) return std::string();
    std::string base = Canonical(parent);
    if (base.empty()) return std::string();
    return base + (base.back() == '/' ? "" : "/") + name;
}
