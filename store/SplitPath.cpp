#include "store/SplitPath.h"

#include "platform/FileSystem.h"

#include <utility>

namespace {

// Sets part to length bytes of path from from, cut to limit; true when cut.
bool AssignCut(std::string& part, const std::string& path, size_t from, size_t length, size_t limit) {
    part.assign(path, from, length < limit ? length : limit);
    return length > limit;
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
        pathCut = AssignCut(drive, path, 0, 2, DriveLimit);
        rest = 2;
    }
    size_t end = path.size();
    size_t nameStart = end;  // just behind the last separator
    while (nameStart > rest && !FileSystem::IsSeparator(path[nameStart - 1])) --nameStart;
    pathCut = AssignCut(dir, path, rest, nameStart - rest, PartLimit) || pathCut;
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart) dot = end;
    extCut = AssignCut(ext, path, dot, end - dot, PartLimit);
    pathCut = AssignCut(fname, path, nameStart, dot - nameStart, PartLimit) || pathCut;
}

void SplitPath::SetExtension(const std::string& extension) {
    extCut = AssignCut(ext, extension, 0, extension.size(), PartLimit);
}

std::string SplitPath::Compose() const {
    if (pathCut || extCut) return std::string();
    std::string path;
    path.reserve(drive.size() + dir.size() + fname.size() + ext.size() + 2);
    path += drive;
    path += dir;
    if (!dir.empty() && !FileSystem::IsSeparator(dir.back())) path += FileSystem::Separator();
    path += fname;
    if (!ext.empty() && ext[0] != '.') path += '.';
    path += ext;
    return path.size() > ComposeLimit ? std::string() : path;
}

std::string SplitPath::FullPath() const {
    std::string composed = Compose();
    if (composed.empty()) return std::string();
    std::string full = FileSystem::AbsolutePath(std::move(composed));
    return full.size() > FullPathLimit ? std::string() : full;
}
