#include "platform/FileLock.h"

#include "platform/OsPath.h"

#include <chrono>
#include <thread>

bool FileLock::Take(const std::string& path, unsigned waitMilliseconds) {
    Release();
    HANDLE file = CreateFile(OsPath(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    handle = file;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds);
    OVERLAPPED at{};
    while (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        if (std::chrono::steady_clock::now() >= until) {
            Release();
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

void FileLock::Release() {
    if (handle) CloseHandle(static_cast<HANDLE>(handle));  // closing lets the lock go
    handle = nullptr;
}
