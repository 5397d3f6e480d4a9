#pragma once

#include <string>

// A directory held open for one piece of work that reads many files of it,
// such as a scan: files directly inside it are then opened relative to the
// handle, and the OS looks up one name per file instead of every directory
// on the way (POSIX). On Windows files are opened by their whole path, and
// this holds nothing.
//
// A directory renamed or replaced while it is held is still read through
// the handle, so it is held no longer than that piece of work.
class DirectoryHandle {
public:
    DirectoryHandle() = default;
    ~DirectoryHandle() { Close(); }
    DirectoryHandle(const DirectoryHandle&) = delete;
    DirectoryHandle& operator=(const DirectoryHandle&) = delete;

    // directory ends with a separator or not; a directory that cannot be
    // opened leaves every path to be opened whole.
    void Open(const std::string& directory);
    void Close();

    // When path lies directly in the directory: its handle and the name
    // within it.
    bool Relative(const std::string& path, int& handle, const char*& name) const;

private:
    std::string directory;  // with its trailing separator
    int handle = -1;
};
