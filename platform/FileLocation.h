#pragma once

#include "platform/FileIdentity.h"

#include <string>
#include <vector>

// Where a path leads, for telling whether two paths name one file or one
// lies inside a directory, however each is spelt. A path that exists is
// known by its identity. One that does not exist yet has none: it is known
// by the identity of its longest existing part and the names after it,
// compared as the system compares names. Where the system gives no identity
// at all (a share without file numbers), by its canonical spelling, as
// Directory::Contains compares paths.
class FileLocation {
public:
    explicit FileLocation(const std::string& path);
    // The same of a path that is canonical already (Directory::Canonical).
    static FileLocation OfCanonical(std::string canonical);

    // False when not even the path's canonical form could be made.
    bool Known() const { return !canonical.empty(); }
    // Whether both name one file, or the one that would be made there.
    bool SameFile(const FileLocation& other) const;
    // Whether this is dir or lies below it. A directory that does not exist
    // holds nothing.
    bool Inside(const FileLocation& dir) const;

private:
    FileLocation() = default;
    void Find();

    std::string canonical;
    std::string found;      // the longest existing part that has an identity; empty when none has
    FileIdentity identity;  // found's
    // The names after found, each as the system compares it, with "/" between.
    std::string rest;
    // The identities of the directories above found, looked up once, when
    // first asked whether this lies inside a directory: a directory itself
    // is looked at only once.
    mutable std::vector<FileIdentity> above;
    mutable bool climbed = false;
};
