#include "store/SplitPath.h"

#include "platform/FileSystem.h"

#include <utility>

namespace {

// Sets part to length bytes of path from from, cut to limit; true when cut.
bool AssignCut(std::string& part, const std::string& path, size_t from, size_t length, size_t limit) {
    part.assign(path, from, length < limit ? length : limit);
    return length > limit;
}

// Whether the OS takes paths longer than the fixed limit: the wide API of
// Windows and POSIX do, the ANSI API of Windows does not.
bool LongPathsTaken() {
    static const bool taken = FileSystem::WithinPathLimit(std::string(SplitPath::ComposeLimit + 1, 'x'));
    return taken;
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

SplitPath::SplitPath(const std::string& path, Limits limits)
    : path(path), fixed(limits == Limits::Fixed || !LongPathsTaken()), partLimit(fixed ? PartLimit : path.size()) {
    if (HasDrive(path)) dirStart = 2;
    const size_t end = path.size();
    nameStart = end;  // just behind the last separator
    while (nameStart > dirStart && !FileSystem::IsSeparator(path[nameStart - 1])) --nameStart;
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart) dot = end;
    nameEnd = dot;
    extCut = AssignCut(ext, path, dot, end - dot, partLimit);
    pathCut = nameStart - dirStart > partLimit || nameEnd - nameStart > partLimit;
}

void SplitPath::SetExtension(const std::string& extension) {
    extCut = AssignCut(ext, extension, 0, extension.size(), fixed ? PartLimit : extension.size());
}

bool SplitPath::Fits(const std::string& joined, size_t fixedLimit) const {
    return fixed ? joined.size() <= fixedLimit : FileSystem::WithinPathLimit(joined);
}

// Drive, directory and name stand in the path as given, the directory
// ending with its separator, so only the extension is joined to them.
std::string SplitPath::Compose() const {
    if (pathCut || extCut) return std::string();
    const bool addDot = !ext.empty() && ext[0] != '.';
    if (fixed && nameEnd + addDot + ext.size() > ComposeLimit) return std::string();
    std::string composed;
    composed.reserve(nameEnd + addDot + ext.size());
    composed.append(path, 0, nameEnd);
    if (addDot) composed += '.';
    composed += ext;
    return Fits(composed, ComposeLimit) ? composed : std::string();
}

std::string SplitPath::FullPath() const {
    std::string composed = Compose();
    if (composed.empty()) return std::string();
    std::string full = FileSystem::AbsolutePath(std::move(composed));
    return Fits(full, FullPathLimit) ? full : std::string();
}
