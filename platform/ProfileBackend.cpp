#include "platform/ProfileBackend.h"

#include "platform/AtomicFile.h"

#include <cstring>

#ifdef _WIN32
#include "platform/WinProfile.h"
#else
#include "platform/IniFile.h"
#endif

namespace {

bool HasLineBreak(const char* text) { return text && std::strpbrk(text, "\r\n") != nullptr; }

}  // namespace

bool ProfileBackend::MakeWorkingCopy(const std::string& path, std::string& copyPath) {
    return AtomicFile::MakeCopy(path, MaxFileSize, copyPath);
}

bool ProfileBackend::PutInPlace(const std::string& copyPath, const std::string& path) {
    return AtomicFile::PutInPlace(copyPath, path);
}

void ProfileBackend::RemoveWorkingCopy(const std::string& copyPath) { AtomicFile::RemoveCopy(copyPath); }

bool ProfileBackend::IsBlank(char c) {
    // 0x1A is the old end-of-file mark that some editors leave behind.
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A';
}

bool ProfileBackend::IsSafeWrite(const char* section, const char* key, const char* text) {
    if (!section || HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(text)) return false;
    if (std::strchr(section, ']')) return false;
    if (!key) return true;
    if (std::strchr(key, '=')) return false;
    while (IsBlank(*key)) ++key;
    return *key != '[';
}

ProfileBackend& ProfileBackend::ForThisSystem() {
#ifdef _WIN32
    static WinProfile backend;
#else
    static IniFile backend;
#endif
    return backend;
}
