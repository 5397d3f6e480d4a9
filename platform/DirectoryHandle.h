#pragma once

#include <string>

// While a scope lives on a thread, files directly inside its directory that
// the thread opens through ReadOnlyFile are opened relative to a handle of
// the directory taken once, instead of by their whole path: the OS then looks
// up one name per file, not every directory on the way. Paths elsewhere, and
// every path on Windows, are opened as before.
//
// The handle is taken when the scope is made, so a scope is meant for one
// piece of work that reads many files of one directory, such as a scan, and
// no longer: a directory renamed or replaced meanwhile is still read through
// the handle. Scopes nest; the innermost one counts.
class DirectoryScope {
public:
    explicit DirectoryScope(const std::string& directory);
    ~DirectoryScope();
    DirectoryScope(const DirectoryScope&) = delete;
    DirectoryScope& operator=(const DirectoryScope&) = delete;

    // When path lies directly in the directory of this thread's innermost
    // scope: its handle and the name within it.
    static bool Relative(const std::string& path, int& handle, const char*& name);

private:
    std::string directory;  // with its trailing separator
    int handle = -1;
    DirectoryScope* outer;
};
