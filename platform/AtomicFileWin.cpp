#include "platform/AtomicFile.h"

#include "platform/OsPath.h"

#include <atomic>

namespace {

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
// none can be made. One hex digit of serial keeps the name within eleven
// characters, and taking the digits in turn keeps a name from coming back
// soon: the profile functions may keep a file they parsed by its name and time.
HANDLE CreateTemporary(const std::string& path, std::string& tempPath) {
    static std::atomic<unsigned> serial{0};
    AtomicFile::RemoveLeftoverCopies(path);
    for (int attempt = 0; attempt < 16; ++attempt) {
        tempPath = AtomicFile::CopyPath(path, GetCurrentProcessId(), serial++ % 16);
        HANDLE file = CreateFile(OsPath(tempPath).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_FILE_EXISTS) return file;
    }
    return INVALID_HANDLE_VALUE;
}

}  // namespace

AtomicFile::State AtomicFile::Probe(const std::string& path) {
    DWORD attributes = GetFileAttributes(OsPath(path).c_str());
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
    std::string tempPath;
    HANDLE file = CreateTemporary(path, tempPath);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = WriteAll(file, bytes) && FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    ok = ok &&
         MoveFileEx(OsPath(tempPath).c_str(), OsPath(path).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFile(OsPath(tempPath).c_str());
    return ok;
}

bool AtomicFile::MakeCopy(const std::string& path, uint64_t maxSize, std::string& copyPath) {
    State state = Probe(path);
    if (state == State::Unwritable) return false;
    std::string bytes;
    if (state == State::Writable && !ReadWhole(path, maxSize, bytes)) return false;
    HANDLE file = CreateTemporary(path, copyPath);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = WriteAll(file, bytes);
    ok = CloseHandle(file) && ok;
    if (!ok) DeleteFile(OsPath(copyPath).c_str());
    return ok;
}

bool AtomicFile::PutInPlace(const std::string& copyPath, const std::string& path) {
    HANDLE file = CreateFile(OsPath(copyPath).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) && FlushFileBuffers(file);
    ok = CloseHandle(file) && ok;
    if (!ok) return false;
    State state = Probe(path);
    if (state == State::Unwritable) return false;
    if (state == State::Missing && size.QuadPart == 0) return DeleteFile(OsPath(copyPath).c_str()) != FALSE;
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    return MoveFileEx(OsPath(copyPath).c_str(), OsPath(path).c_str(), flags) != FALSE;
}

void AtomicFile::RemoveCopy(const std::string& copyPath) { DeleteFile(OsPath(copyPath).c_str()); }

bool AtomicFile::MakeEmptyCopy(const std::string& path, std::string& copyPath) {
    if (Probe(path) == State::Unwritable) return false;
    HANDLE file = CreateTemporary(path, copyPath);
    if (file == INVALID_HANDLE_VALUE) return false;
    if (CloseHandle(file)) return true;
    DeleteFile(OsPath(copyPath).c_str());
    return false;
}

bool AtomicFile::AppendToCopy(const std::string& copyPath, const std::string& bytes) {
    HANDLE file = CreateFile(OsPath(copyPath).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = WriteAll(file, bytes);
    return CloseHandle(file) && ok;
}

bool AtomicFile::ProcessRuns(unsigned long id) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
    // No process has that id; any other failure (access denied) leaves it unsure.
    if (!process) return GetLastError() != ERROR_INVALID_PARAMETER;
    bool runs = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
    CloseHandle(process);
    return runs;
}
