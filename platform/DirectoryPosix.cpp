#include "platform/Directory.h"

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <memory>

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
