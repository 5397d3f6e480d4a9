#include "platform/FileIdentity.h"

#include "platform/OsPath.h"

#include <string>

bool FileIdentity::Of(const std::string& path, FileIdentity& identity) {
    // Asking for the attributes alone is not subject to sharing: a file that
    // another program holds open, such as the history, is looked at all the
    // same. The flag lets a directory be opened.
    HANDLE file = CreateFile(OsPath(path).c_str(), FILE_READ_ATTRIBUTES,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION information;
    const bool known = GetFileInformationByHandle(file, &information) != 0;
    CloseHandle(file);
    if (!known || (information.nFileIndexHigh == 0 && information.nFileIndexLow == 0)) return false;
    identity.volume = information.dwVolumeSerialNumber;
    identity.file = (static_cast<uint64_t>(information.nFileIndexHigh) << 32) | information.nFileIndexLow;
    return true;
}

std::string FileIdentity::ComparedName(const std::string& name) {
    std::basic_string<TCHAR> os = OsPath(name);
    if (os.empty()) return name;
    const int n = static_cast<int>(os.size());
    std::basic_string<TCHAR> upper(os.size(), TEXT('\0'));
    if (LCMapString(LOCALE_INVARIANT, LCMAP_UPPERCASE, os.data(), n, &upper[0], n) != n) return name;
    return TextOf(upper.c_str());
}
