#include "platform/Directory.h"

#include "platform/CaseFold.h"
#include "platform/FileSystem.h"

bool Directory::Contains(const std::string& dir, const std::string& path) {
    if (dir.empty() || path.size() < dir.size()) return false;
    for (size_t i = 0; i < dir.size(); ++i) {
#ifdef _WIN32
        if (FoldCase(dir[i]) != FoldCase(path[i]) && !(FileSystem::IsSeparator(dir[i]) && FileSystem::IsSeparator(path[i])))
            return false;
#else
        if (dir[i] != path[i]) return false;
#endif
    }
    // "/mail" contains "/mail/x" but not "/mailbox"; a root ends in a separator already.
    return path.size() == dir.size() || FileSystem::IsSeparator(dir.back()) || FileSystem::IsSeparator(path[dir.size()]);
}

std::string Directory::Parent(const std::string& path) {
    size_t root = 1;  // "/"
#ifdef _WIN32
    if (path.size() >= 2 && path[1] == ':') {
        root = 3;  // "C:\"
    } else if (path.size() >= 2 && FileSystem::IsSeparator(path[0]) && FileSystem::IsSeparator(path[1])) {
        // "\\server\share": the share is as far up as a path on it goes.
        size_t share = 2;
        while (share < path.size() && !FileSystem::IsSeparator(path[share])) ++share;
        root = share + 1;
        while (root < path.size() && !FileSystem::IsSeparator(path[root])) ++root;
    }
#endif
    const size_t cut = FileSystem::NameStart(path);
    if (path.size() <= root || cut < root) return std::string();
    std::string parent = path.substr(0, cut);
    while (parent.size() > root && FileSystem::IsSeparator(parent.back())) parent.pop_back();
    return parent;
}
