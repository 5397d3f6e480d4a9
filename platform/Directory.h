#pragma once

#include <string>
#include <vector>

// Directories and paths as a command line names them.
class Directory {
public:
    struct Entry {
        std::string name;
        bool isDirectory = false;  // a directory, or a link to one
        bool isLink = false;       // a symbolic link or junction, whatever it leads to
        bool isHidden = false;     // a name beginning with '.'; on Windows also marked hidden or system
    };

    // The entries of directory but "." and "..", in the order the OS lists
    // them. False when it cannot be listed, or its listing fails on the way
    // (a share that drops out): entries then holds what came before, and
    // ioError, where given, says whether an I/O error (IsIoError) was why.
    static bool List(const std::string& directory, std::vector<Entry>& entries, bool* ioError = nullptr);

    // Whether name a comes before b as the OS sorts names for people: on
    // Windows without regard to case, elsewhere by their bytes, as a shell
    // sorts the names a pattern matches.
    static bool SortsBefore(const std::string& a, const std::string& b);

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

    // The directory that holds a canonical path, without a trailing
    // separator but a root's; empty for a root ("/", "C:\", "\\server\share").
    static std::string Parent(const std::string& path);
};
