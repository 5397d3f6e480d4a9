#include "platform/FileLocation.h"

#include "platform/Directory.h"
#include "platform/FileSystem.h"

FileLocation::FileLocation(const std::string& path) : canonical(Directory::Canonical(path)) { Find(); }

FileLocation FileLocation::OfCanonical(std::string canonical) {
    FileLocation location;
    location.canonical = std::move(canonical);
    location.Find();
    return location;
}

void FileLocation::Find() {
    found = canonical;
    while (!found.empty() && !FileIdentity::Of(found, identity)) {
        const std::string name = FileIdentity::ComparedName(found.substr(FileSystem::NameStart(found)));
        rest = rest.empty() ? name : name + "/" + rest;
        found = Directory::Parent(found);
    }
    if (found.empty()) rest.clear();  // nothing on the way has an identity: the spelling alone tells
}

bool FileLocation::SameFile(const FileLocation& other) const {
    if (!Known() || !other.Known()) return false;
    if (found.empty() || other.found.empty())
        return found.empty() && other.found.empty() && canonical.size() == other.canonical.size() &&
               Directory::Contains(canonical, other.canonical);
    return identity == other.identity && rest == other.rest;
}

bool FileLocation::Inside(const FileLocation& dir) const {
    if (!Known() || !dir.Known()) return false;
    if (dir.found.empty()) return Directory::Contains(dir.canonical, canonical);
    if (!dir.rest.empty() || found.empty()) return false;
    if (identity == dir.identity) return true;
    if (!climbed) {
        FileIdentity directory;
        for (std::string up = Directory::Parent(found); !up.empty(); up = Directory::Parent(up))
            if (FileIdentity::Of(up, directory)) above.push_back(directory);
        climbed = true;
    }
    for (const FileIdentity& directory : above)
        if (directory == dir.identity) return true;
    return false;
}
