#include "platform/FileSystem.h"

#include "platform/CaseFold.h"

// Greedy matching with a single backtrack point: linear in practice and never
// exponential, whatever the number of stars.
bool FileSystem::MatchesPattern(const std::string& pattern, const std::string& name) {
    size_t p = 0, n = 0;
    size_t starP = std::string::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool FileSystem::IsSeparator(char c) {
#ifdef _WIN32
    return c == '\\' || c == '/';
#else
    return c == '/';
#endif
}

size_t FileSystem::NameStart(const std::string& path) {
    size_t start = path.size();
    while (start > 0 && !IsSeparator(path[start - 1])) {
#ifdef _WIN32
        if (path[start - 1] == ':') break;
#endif
        --start;
    }
    return start;
}

char FileSystem::Separator() {
#ifdef _WIN32
    return '\\';
#else
    return '/';
#endif
}
