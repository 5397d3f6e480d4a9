#include "platform/WinProfile.h"

#include <windows.h>

size_t WinProfile::Read(const char* section, const char* key, const char* defaultText, char* buffer,
                        size_t size, const char* path) {
    if (!buffer || size == 0) return 0;
    buffer[0] = '\0';
    // A missing section or key would list names instead of reading a value.
    if (!section || !key || !path) return 0;
    DWORD capacity = size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<DWORD>(size);
    return GetPrivateProfileStringA(section, key, defaultText ? defaultText : "", buffer, capacity, path);
}

bool WinProfile::Write(const char* section, const char* key, const char* text, const char* path) {
    if (!path || !*path || !IsSafeWrite(section, key, text)) return false;
    return WritePrivateProfileStringA(section, key, text, path) != FALSE;
}
