#include "platform/FileIdentity.h"

#include <sys/stat.h>

bool FileIdentity::Of(const std::string& path, FileIdentity& identity) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return false;
    identity.volume = static_cast<uint64_t>(st.st_dev);
    identity.file = static_cast<uint64_t>(st.st_ino);
    return true;
}

std::string FileIdentity::ComparedName(const std::string& name) { return name; }
