#include "platform/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <vector>

namespace {

struct DirCloser {
    void operator()(DIR* d) const { closedir(d); }
};

}  // namespace

void FileSystem::ForEachMatch(const std::string& pattern, const Visitor& visit) {
    size_t cut = pattern.find_last_of('/');
    std::string directory = cut == std::string::npos ? "." : pattern.substr(0, cut + 1);
    std::string wildcard = cut == std::string::npos ? pattern : pattern.substr(cut + 1);

    std::unique_ptr<DIR, DirCloser> dir(opendir(directory.c_str()));
    if (!dir) return;
    int dirFd = dirfd(dir.get());
    while (dirent* entry = readdir(dir.get())) {
        std::string name = entry->d_name;
        if (!MatchesPattern(wildcard, name)) continue;
        struct stat st;
        uint64_t length = 0;
        if (fstatat(dirFd, entry->d_name, &st, 0) == 0 && S_ISREG(st.st_mode))
            length = static_cast<uint64_t>(st.st_size);
        visit(name, length);
    }
}

std::string FileSystem::AbsolutePath(const std::string& path) {
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
