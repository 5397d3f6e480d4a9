#include "platform/ReadOnlyFile.h"

#include <windows.h>

namespace {

HANDLE AsHandle(void* handle) { return static_cast<HANDLE>(handle); }

// ReadFile takes a 32-bit count; larger requests go in slices.
DWORD Slice(size_t count) { return count > 0x10000000u ? 0x10000000u : static_cast<DWORD>(count); }

}  // namespace

ReadOnlyFile::~ReadOnlyFile() { Close(); }

bool ReadOnlyFile::Open(const std::string& path) {
    Close();
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        return false;
    }
    handle = h;
    return true;
}

void ReadOnlyFile::Close() {
    if (handle) CloseHandle(AsHandle(handle));
    handle = nullptr;
}

bool ReadOnlyFile::IsOpen() const { return handle != nullptr; }

uint64_t ReadOnlyFile::Length() const {
    LARGE_INTEGER size;
    if (!handle || !GetFileSizeEx(AsHandle(handle), &size)) return 0;
    return static_cast<uint64_t>(size.QuadPart);
}

size_t ReadOnlyFile::ReadHead(void* buffer, size_t count) {
    if (!handle) return 0;
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(AsHandle(handle), start, nullptr, FILE_BEGIN)) return 0;
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
    if (!ReadFile(AsHandle(handle), buffer, Slice(count), &got, nullptr)) return 0;
    return got;
}
