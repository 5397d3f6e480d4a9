#pragma once

#include "platform/FileStamp.h"

#include <cstdint>
#include <functional>
#include <string>

// The few directory and path services the scan needs, over the OS's own API.
class FileSystem {
public:
    // How a listing went: read to its end, its directory not there, or cut
    // off by an error (a share that dropped out, a failing disk).
    enum class Listing { Whole, NoDirectory, Broken };

    using Visitor = std::function<void(const std::string& name, uint64_t length)>;
    using NameVisitor = std::function<void(const std::string& name)>;
    using NameFilter = std::function<bool(const std::string& name)>;
    using StampVisitor = std::function<void(const std::string& name, const FileStamp& stamp)>;

    // Calls visit for every entry matching a pattern such as "C:\Mail\*.PMM":
    // a directory followed by a wildcard name ('*' and '?'). Names match
    // without regard to case on every OS. A directory that cannot be read
    // yields nothing. Entries come in the order the OS lists them.
    static Listing ForEachMatch(const std::string& pattern, const Visitor& visit);

    // The same entries without their lengths, for callers that open every
    // file anyway: where the listing does not carry lengths, this spares a
    // look at every entry.
    static Listing ForEachMatchingName(const std::string& pattern, const NameVisitor& visit);

    // The entries that match and that wanted accepts, each with its stamp.
    // Windows' listing carries the stamps; elsewhere each entry wanted costs
    // one look at it, and an entry that cannot be looked at has no stamp known.
    static Listing ForEachStamped(const std::string& pattern, const NameFilter& wanted, const StampVisitor& visit);
    // Whether the listing carries the stamps without a look at each entry.
    static bool ListingCarriesStamps();

    enum class EntryType { Missing, File, Directory, Other };
    // What path names: nothing that can be looked at, a regular file, a
    // directory, or something else (a device, a pipe).
    static EntryType TypeOf(const std::string& path);

    // The absolute form of a path: relative parts resolved against the current
    // directory, "." and ".." removed. Empty when the OS cannot form it. Taken
    // by value: a path that is absolute already comes back without a copy.
    static std::string AbsolutePath(std::string path);

    // The bytes free to the caller on the volume that holds directory; false
    // when the OS does not tell.
    static bool FreeSpace(const std::string& directory, uint64_t& bytes);

    // Whether the OS can take a path this long: 32,767 characters through
    // Windows' wide functions (MAX_PATH bytes through the ANSI ones),
    // PATH_MAX bytes elsewhere.
    static bool WithinPathLimit(const std::string& path);

    // Wildcard match of a single file name, ASCII letters folded.
    static bool MatchesPattern(const std::string& pattern, const std::string& name);

    // True for the characters that separate directories on this OS.
    static bool IsSeparator(char c);
    // Where a path's last name begins: after its last separator, and on
    // Windows after a drive's colon ("C:name" lies in C's current directory).
    static size_t NameStart(const std::string& path);

    // The separator this OS writes when it joins paths.
    static char Separator();
};
