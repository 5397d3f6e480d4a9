#include "platform/ReadOnlyFile.h"

#include "platform/DirectoryScope.h"
#include "platform/PosixStamp.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

ReadOnlyFile::~ReadOnlyFile() { Close(); }

bool ReadOnlyFile::Open(const std::string& path) {
    Close();
    // O_NONBLOCK keeps a FIFO named like a folder from blocking the open;
    // it is refused below like every other file that is not a regular one.
    // On a regular file the flag has no effect, so it can stay set.
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    int directory;
    const char* name;
    int f = DirectoryScope::Relative(path, directory, name) ? ::openat(directory, name, flags)
                                                            : ::open(path.c_str(), flags);
    if (f < 0) return false;
    struct stat st;
    if (fstat(f, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(f);
        return false;
    }
    fd = f;
    stamp = StampOf(st);  // one look at the file serves for its kind, length and stamp
    return true;
}

void ReadOnlyFile::Close() {
    if (fd >= 0) ::close(fd);
    fd = -1;
    stamp = FileStamp();
}

bool ReadOnlyFile::IsOpen() const { return fd >= 0; }

uint64_t ReadOnlyFile::Length() const { return stamp.length; }

FileStamp ReadOnlyFile::Stamp() const { return stamp; }

size_t ReadOnlyFile::ReadHead(void* buffer, size_t count) {
    if (fd < 0) return 0;
    char* out = static_cast<char*>(buffer);
    size_t done = 0;
    while (done < count) {
        ssize_t got = ::pread(fd, out + done, count - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        done += static_cast<size_t>(got);
    }
    return done;
}

size_t ReadOnlyFile::Read(void* buffer, size_t count) {
    if (fd < 0 || count == 0) return 0;
    for (;;) {
        ssize_t got = ::read(fd, buffer, count);
        if (got < 0 && errno == EINTR) continue;
        return got < 0 ? 0 : static_cast<size_t>(got);
    }
}
