#include "platform/ReadOnlyFile.h"

#include "platform/OsError.h"
#include "platform/OsPath.h"

#include <cctype>

namespace {

HANDLE AsHandle(void* handle) { return static_cast<HANDLE>(handle); }

// A name the system takes for a device rather than a file, wherever it stands.
bool IsDeviceName(const std::string& path) {
    static const char* const devices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
    size_t start = path.find_last_of("\\/:");
    std::string name = path.substr(start == std::string::npos ? 0 : start + 1);
    name = name.substr(0, name.find('.'));
    while (!name.empty() && (name.back() == ' ')) name.pop_back();
    for (char& c : name) c = static_cast<char>(::toupper(static_cast<unsigned char>(c)));
    for (const char* device : devices)
        if (name == device) return true;
    return name.size() == 4 && (name.compare(0, 3, "COM") == 0 || name.compare(0, 3, "LPT") == 0) &&
           name[3] >= '0' && name[3] <= '9';
}

// Asking the system for a handle's type costs about as much as opening the
// file, so it is asked only where a path can lead to something that is not
// a disk file: device names, and paths that start with two separators
// (network shares and the device namespace).
bool NeedsTypeCheck(const std::string& path) {
    bool doubleSeparator = path.size() >= 2 && (path[0] == '\\' || path[0] == '/') && (path[1] == '\\' || path[1] == '/');
    return doubleSeparator || IsDeviceName(path);
}

// ReadFile takes a 32-bit count; larger requests go in slices.
DWORD Slice(size_t count) { return count > 0x10000000u ? 0x10000000u : static_cast<DWORD>(count); }

}  // namespace

ReadOnlyFile::~ReadOnlyFile() { Close(); }

bool ReadOnlyFile::Open(const std::string& path, const DirectoryHandle*) {
    Close();
    HANDLE h = CreateFile(OsPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        ioError = IsIoError(GetLastError());
        return false;
    }
    if (NeedsTypeCheck(path) && GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        return false;
    }
    handle = h;
    return true;
}

bool ReadOnlyFile::Inspect(const std::string& path, uint64_t& length, FileStamp& stamp, const DirectoryHandle*,
                           bool* ioError) {
    ReadOnlyFile file;
    const bool opened = file.Open(path);
    if (opened) {
        length = file.Length();
        stamp = file.Stamp();
    }
    if (ioError) *ioError = file.IoError();
    return opened;
}

void ReadOnlyFile::Close() {
    if (handle) CloseHandle(AsHandle(handle));
    handle = nullptr;
    ioError = false;
}

bool ReadOnlyFile::IsOpen() const { return handle != nullptr; }

uint64_t ReadOnlyFile::Length() const {
    LARGE_INTEGER size;
    if (!handle) return 0;
    if (!GetFileSizeEx(AsHandle(handle), &size)) {
        ioError = IsIoError(GetLastError());
        return 0;
    }
    return static_cast<uint64_t>(size.QuadPart);
}

FileStamp ReadOnlyFile::Stamp() const { return FileStamp(); }

size_t ReadOnlyFile::ReadHead(void* buffer, size_t count) {
    if (!handle) return 0;
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(AsHandle(handle), start, nullptr, FILE_BEGIN)) {
        ioError = IsIoError(GetLastError());
        return 0;
    }
    char* out = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < count) {
        size_t got = Read(out + done, count - done);
        if (got == 0) break;
        done += got;
    }
    return done;
}

size_t ReadOnlyFile::Read(void* buffer, size_t count) {
    DWORD got = 0;
    if (!handle || count == 0) return 0;
    if (!ReadFile(AsHandle(handle), buffer, Slice(count), &got, nullptr)) {
        ioError = IsIoError(GetLastError());
        return 0;
    }
    return got;
}
