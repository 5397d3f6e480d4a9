#include "platform/AtomicFile.h"

#include <windows.h>

#include <atomic>
#include <mutex>
#include <utility>
#include <vector>

namespace {

// A copy is held open with these: the profile functions may open it to
// write, but nobody may remove or rename it.
const DWORD HoldSharing = FILE_SHARE_READ | FILE_SHARE_WRITE;

// The longest the host's thread waits for a file another program holds open.
const DWORD MaxRetryMs = 2000;

// The working copies this process holds open, from their making until they
// are put in place or removed.
class HeldCopies {
public:
    void Hold(const std::string& path, HANDLE file) {
        std::lock_guard<std::mutex> guard(lock);
        held.emplace_back(path, file);
    }
    bool Holds(const std::string& path) {
        std::lock_guard<std::mutex> guard(lock);
        for (const auto& copy : held)
            if (copy.first == path) return true;
        return false;
    }
    void LetGo(const std::string& path) {
        std::lock_guard<std::mutex> guard(lock);
        for (auto copy = held.begin(); copy != held.end(); ++copy) {
            if (copy->first != path) continue;
            CloseHandle(copy->second);
            held.erase(copy);
            return;
        }
    }

private:
    std::mutex lock;
    std::vector<std::pair<std::string, HANDLE>> held;
};

HeldCopies heldCopies;

bool WriteAll(HANDLE file, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD chunk = bytes.size() - done > 0x10000000 ? 0x10000000 : static_cast<DWORD>(bytes.size() - done);
        DWORD put = 0;
        if (!WriteFile(file, bytes.data() + done, chunk, &put, nullptr) || put == 0) return false;
        done += put;
    }
    return true;
}

// A fresh file beside path, created exclusively; INVALID_HANDLE_VALUE when
// none can be made. A name that is taken by anything (a file, a folder, a
// link) is passed over for the next serial. One hex digit of serial, taken in
// turn, keeps a name from coming back soon: the profile functions may keep a
// file they parsed by its name and time.
HANDLE CreateTemporary(const std::string& path, std::string& tempPath) {
    static std::atomic<unsigned> serial{0};
    AtomicFile::RemoveLeftoverCopies(path);
    for (int attempt = 0; attempt < 16; ++attempt) {
        tempPath = AtomicFile::CopyPath(path, AtomicFile::ThisComputer(), GetCurrentProcessId(), serial++ % 16);
        HANDLE file = CreateFileA(tempPath.c_str(), GENERIC_WRITE, HoldSharing, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetFileAttributesA(tempPath.c_str()) == INVALID_FILE_ATTRIBUTES)
            return file;
    }
    return INVALID_HANDLE_VALUE;
}

// Renames from over to. A file that another program holds open (a backup, a
// virus scanner, another computer's panel reading it) refuses for a moment:
// the rename is tried again after short, growing waits, pumping nothing.
bool MoveOver(const std::string& from, const std::string& to) {
    DWORD wait = 10, waited = 0;
    while (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DWORD error = GetLastError();
        if (waited >= MaxRetryMs || (error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED &&
                                     error != ERROR_LOCK_VIOLATION))
            return false;
        Sleep(wait);
        waited += wait;
        wait = wait * 2 < MaxRetryMs - waited ? wait * 2 : MaxRetryMs - waited;
    }
    return true;
}

}  // namespace

AtomicFile::State AtomicFile::Probe(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? State::Missing : State::Unwritable;
    }
    if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DEVICE))
        return State::Unwritable;
    return State::Writable;
}

bool AtomicFile::Replace(const std::string& path, const std::string& bytes) {
    if (Probe(path) == State::Unwritable) return false;
    // A working copy of ours is nobody else's until it goes in place, and its
    // hold refuses a rename over it: it is written where it is.
    if (heldCopies.Holds(path)) {
        HANDLE copy = CreateFileA(path.c_str(), GENERIC_WRITE, HoldSharing, nullptr, TRUNCATE_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        bool ok = copy != INVALID_HANDLE_VALUE && WriteAll(copy, bytes);
        return copy != INVALID_HANDLE_VALUE && CloseHandle(copy) && ok;
    }
    std::string tempPath;
    HANDLE file = CreateTemporary(path, tempPath);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = WriteAll(file, bytes) && FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    ok = ok && MoveOver(tempPath, path);
    if (!ok) DeleteFileA(tempPath.c_str());
    return ok;
}

bool AtomicFile::MakeCopy(const std::string& path, uint64_t maxSize, std::string& copyPath) {
    State state = Probe(path);
    if (state == State::Unwritable) return false;
    std::string bytes;
    if (state == State::Writable && !ReadWhole(path, maxSize, bytes)) return false;
    HANDLE file = CreateTemporary(path, copyPath);
    if (file == INVALID_HANDLE_VALUE) return false;
    if (WriteAll(file, bytes)) {
        heldCopies.Hold(copyPath, file);
        return true;
    }
    CloseHandle(file);
    DeleteFileA(copyPath.c_str());
    return false;
}

bool AtomicFile::PutInPlace(const std::string& copyPath, const std::string& path) {
    heldCopies.LetGo(copyPath);  // the rename needs the copy free
    HANDLE file = CreateFileA(copyPath.c_str(), GENERIC_WRITE, HoldSharing, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) && FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    if (!ok) return false;
    State state = Probe(path);
    if (state == State::Unwritable) return false;
    if (state == State::Missing && size.QuadPart == 0) return DeleteFileA(copyPath.c_str()) != FALSE;
    return MoveOver(copyPath, path);
}

void AtomicFile::RemoveCopy(const std::string& copyPath) {
    heldCopies.LetGo(copyPath);
    DeleteFileA(copyPath.c_str());
}

bool AtomicFile::ProcessRuns(unsigned long id) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    // No process has that id; any other failure (access denied) leaves it unsure.
    if (!process) return GetLastError() != ERROR_INVALID_PARAMETER;
    bool runs = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return runs;
}

std::string AtomicFile::ComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameA(name, &length) ? std::string(name, length) : std::string();
}

bool AtomicFile::PlainFileAge(const std::string& path, int64_t& seconds) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_READONLY |
                                  FILE_ATTRIBUTE_DEVICE)))
        return false;
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    auto ticks = [](const FILETIME& time) {
        return static_cast<int64_t>((static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    };
    seconds = (ticks(now) - ticks(data.ftLastWriteTime)) / 10000000;  // 100-ns ticks
    return true;
}
