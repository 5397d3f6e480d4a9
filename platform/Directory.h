#pragma once

#include <string>

// Directories and paths as a command line names them.
class Directory {
public:
    // True when path names a directory whose entries can be listed.
    static bool IsListable(const std::string& path);

    // The absolute form of path for telling whether one path lies inside
    // another: links and short names resolved where the OS does so, and for
    // a path that does not exist yet its longest existing ancestor resolved
    // and the rest appended. No trailing separator. Empty when it fails.
    static std::string Canonical(const std::string& path);

    // True when path is dir or lies below it; both canonical. Names compare
    // as the OS compares them (on Windows ASCII letters without case).
    static bool Contains(const std::string& dir, const std::string& path);
};
