#pragma once

#include <string>

// A lock that processes take on a file of their own beside the data they
// change in turns (a state file that is replaced whole, and so cannot carry
// the lock itself). The lock file stays, empty, for the next taker.
class FileLock {
public:
    FileLock() = default;
    ~FileLock() { Release(); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Takes the lock on path, waiting up to waitMilliseconds while another
    // process holds it. False when the file cannot be made or the wait ran out.
    bool Take(const std::string& path, unsigned waitMilliseconds);
    void Release();

private:
#ifdef _WIN32
    void* handle = nullptr;
#else
    int fd = -1;
#endif
};
