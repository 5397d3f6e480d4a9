#include "ui/VersionInfo.h"

#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

const char TranslationPath[] = "\\VarFileInfo\\Translation";

// One entry of the translation list: a language and a code page.
struct Translation {
    WORD language;
    WORD codePage;
};

}  // namespace

int VersionInfo::Load(const std::string& fileName, int translationIndex) {
    Release();
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeA(fileName.c_str(), &ignored);
    if (size == 0) return 0;
    block.assign(size, 0);
    if (!::GetFileVersionInfoA(fileName.c_str(), 0, size, block.data())) {
        Release();
        return 0;
    }

    Translation chosen = {0, 1200};
    Translation* list = nullptr;
    UINT length = 0;
    if (::VerQueryValueA(block.data(), TranslationPath, reinterpret_cast<void**>(&list), &length) && list) {
        UINT count = length / sizeof(Translation);
        if (translationIndex >= 0 && count > static_cast<UINT>(translationIndex))
            chosen = list[translationIndex];
        else if (count > 0)
            chosen = list[0];
    }
    char text[32];
    std::snprintf(text, sizeof text, "\\StringFileInfo\\%04X%04X\\", chosen.language, chosen.codePage);
    prefix = text;
    return 1;
}

void VersionInfo::Release() {
    block.clear();
    block.shrink_to_fit();
    prefix.clear();
}

std::string VersionInfo::QueryString(const std::string& name) const {
    if (block.empty()) return std::string();
    std::string path = prefix + name;
    char* value = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return std::string();
    return std::string(value, ::strnlen(value, length));
}

int VersionInfo::QueryFileVersion(uint16_t& major, uint16_t& minor, uint16_t& third, uint16_t& fourth) const {
    if (block.empty()) return 0;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    // A fixed part shorter than the structure would be read past its end.
    if (!::VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        length < sizeof(VS_FIXEDFILEINFO))
        return 0;
    major = HIWORD(fixed->dwFileVersionMS);
    minor = LOWORD(fixed->dwFileVersionMS);
    third = HIWORD(fixed->dwFileVersionLS);
    fourth = LOWORD(fixed->dwFileVersionLS);
    return 1;
}

std::string VersionInfo::VersionText() const {
    uint16_t major = 0, minor = 0, third = 0, fourth = 0;
    if (!QueryFileVersion(major, minor, third, fourth)) return std::string();
    char text[32];
    std::snprintf(text, sizeof text, "v%d.%02d", major, minor);
    std::string result = text;
    if (third != 0) result += static_cast<char>(third + 96);
    if (fourth != 0) {
        std::snprintf(text, sizeof text, " Build %04X", fourth);
        result += text;
    }
    return result;
}
