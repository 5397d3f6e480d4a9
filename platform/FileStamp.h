#pragma once

#include <cstdint>

// What a directory listing tells of a file beside its name: its length and
// two times, in the OS's own units. A file whose stamp did not change is
// taken to hold what it held when it was read. That holds as far as the file
// system's times resolve: a rewrite to the same length within one tick of its
// clock (two seconds on FAT, a scheduler tick for some kernels) looks like no
// change at all. And NTFS may bring a file's listing entry up to date only
// once the program writing it has closed it.
struct FileStamp {
    uint64_t length = 0;
    // Windows: last write and creation, in 100 ns since 1601. POSIX: the
    // modification time and, as the closest to a creation time, the status
    // change time, which a new file, a write or a rename also sets; both in
    // nanoseconds since 1970.
    uint64_t lastWrite = 0;
    uint64_t created = 0;
    bool known = false;  // the listing could tell

    // Only stamps that both are known can be the same.
    bool Same(const FileStamp& other) const {
        return known && other.known && length == other.length && lastWrite == other.lastWrite &&
               created == other.created;
    }
};
