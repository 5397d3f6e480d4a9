#include "platform/OsPath.h"

#include "platform/Utf16.h"

#include <cwchar>
#include <vector>

namespace {

std::wstring FullPath(const std::wstring& path) {
    std::vector<wchar_t> buffer(path.size() + MAX_PATH);
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
        if (n == 0) return std::wstring();
        if (n < buffer.size()) return std::wstring(buffer.data(), n);
        buffer.resize(n + 1);
    }
    return std::wstring();
}

// "\\?\C:\..." for a drive, "\\?\UNC\server\share\..." for a share; a path
// in the device namespace already stays as it is.
std::wstring Extended(const std::wstring& full) {
    if (full.compare(0, 4, L"\\\\?\\") == 0 || full.compare(0, 4, L"\\\\.\\") == 0) return full;
    if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
    return L"\\\\?\\" + full;
}

}  // namespace

std::wstring OsPath(const std::string& path) {
    std::wstring wide;
    if (!Utf16::FromUtf8(path, wide) || wide.find(L'\0') != std::wstring::npos) return std::wstring();
    if (wide.size() < MAX_PATH) return wide;
    // The prefix turns off the OS's own clean-up of the path, which the full form has had.
    std::wstring full = FullPath(wide);
    return full.empty() ? wide : Extended(full);
}

std::string TextOf(const wchar_t* text) { return Utf16::ToUtf8(text, std::wcslen(text)); }
