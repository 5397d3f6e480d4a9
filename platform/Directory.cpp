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
