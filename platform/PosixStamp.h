#pragma once

#include "platform/FileStamp.h"

#include <sys/stat.h>

// The stamp of a file as stat tells it: the modification time and the
// status change time, in nanoseconds; the length of a regular file only.
inline FileStamp StampOf(const struct stat& st) {
    auto nanoseconds = [](const timespec& time) {
        return static_cast<uint64_t>(time.tv_sec) * 1000000000u + static_cast<uint64_t>(time.tv_nsec);
    };
    FileStamp stamp;
    stamp.length = S_ISREG(st.st_mode) ? static_cast<uint64_t>(st.st_size) : 0;
    stamp.lastWrite = nanoseconds(st.st_mtim);
    stamp.created = nanoseconds(st.st_ctim);
    stamp.known = true;
    return stamp;
}
