#include "store/SplitPath.h"

#include "platform/FileSystem.h"

namespace {

std::string Cut(const std::string& text, size_t limit) {
    return text.size() > limit ? text.substr(0, limit) : text;
}

bool HasDrive(const std::string& path) {
#ifdef _WIN32
    return path.size() >= 2 && path[1] == ':';
#else
    (void)path;
    return false;
#endif
}

}  // namespace

SplitPath::SplitPath(const std::string& path) {
    size_t rest = 0;
    if (HasDrive(path)) {
        drive = Cut(path.substr(0, 2), DriveLimit);
        rest = 2;
    }
    size_t lastSeparator = std::string::npos;
    for (size_t i = rest; i < path.size(); ++i)
        if (FileSystem::IsSeparator(path[i])) lastSeparator = i;
    if (lastSeparator != std::string::npos) {
        dir = Cut(path.substr(rest, lastSeparator + 1 - rest), PartLimit);
        rest = lastSeparator + 1;
    }
    std::string base = path.substr(rest);
    size_t dot = base.find_last_of('.');
    if (dot != std::string::npos) {
        ext = Cut(base.substr(dot), PartLimit);
        base.resize(dot);
    }
    fname = Cut(base, PartLimit);
}

void SplitPath::SetExtension(const std::string& extension) { ext = Cut(extension, PartLimit); }

std::string SplitPath::Compose() const {
    std::string path = drive + dir;
    if (!dir.empty() && !FileSystem::IsSeparator(dir.back())) path += FileSystem::Separator();
    path += fname;
    if (!ext.empty() && ext[0] != '.') path += '.';
    path += ext;
    return path.size() > ComposeLimit ? std::string() : path;
}

std::string SplitPath::FullPath() const {
    std::string composed = Compose();
    if (composed.empty()) return std::string();
    std::string full = FileSystem::AbsolutePath(composed);
    return full.size() > FullPathLimit ? std::string() : full;
}
