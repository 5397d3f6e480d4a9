#include "platform/ReadOnlyFile.h"

#include "platform/DirectoryHandle.h"
#include "platform/OsError.h"
#include "platform/PosixStamp.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The directory handle and name to open path by: relative to within where
// it lies in it.
const char* Locate(const std::string& path, const DirectoryHandle* within, int& directory) {
    const char* name;
    if (within && within->Relative(path, directory, name)) return name;
    directory = AT_FDCWD;
    return path.c_str();
}

// Whether opening the file for reading would be let. The owner's read bit
// lets its owner read, whatever access control list the file carries; in
// every other case (including the superuser, whose privileges may let what
// the bits refuse) the kernel is asked. The program never changes its user.
bool MayRead(int directory, const char* name, const struct stat& st) {
    static const uid_t user = ::geteuid();
    if (st.st_uid == user && (st.st_mode & S_IRUSR) != 0) return true;
    return ::faccessat(directory, name, R_OK, AT_EACCESS) == 0;
}

}  // namespace

ReadOnlyFile::~ReadOnlyFile() { Close(); }

bool ReadOnlyFile::Inspect(const std::string& path, uint64_t& length, FileStamp& stamp, const DirectoryHandle* within,
                           bool* ioError) {
    if (ioError) *ioError = false;
    int directory;
    const char* name = Locate(path, within, directory);
    struct stat st;
    if (::fstatat(directory, name, &st, 0) != 0) {
        if (ioError) *ioError = IsIoError(static_cast<unsigned long>(errno));
        return false;
    }
    if (!S_ISREG(st.st_mode) || !MayRead(directory, name, st)) return false;
    stamp = StampOf(st);
    length = stamp.length;
    return true;
}

bool ReadOnlyFile::Open(const std::string& path, const DirectoryHandle* within) {
    Close();
    // O_NONBLOCK keeps a FIFO named like a folder from blocking the open;
    // it is refused below like every other file that is not a regular one.
    // On a regular file the flag has no effect, so it can stay set.
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY;
    int directory;
    const char* name = Locate(path, within, directory);
    int f = ::openat(directory, name, flags);
    if (f < 0) {
        ioError = IsIoError(static_cast<unsigned long>(errno));
        return false;
    }
    struct stat st;
    const bool looked = fstat(f, &st) == 0;
    if (!looked || !S_ISREG(st.st_mode)) {
        ioError = !looked && IsIoError(static_cast<unsigned long>(errno));
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
    ioError = false;
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
        if (got < 0) ioError = IsIoError(static_cast<unsigned long>(errno));
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
        if (got < 0) ioError = IsIoError(static_cast<unsigned long>(errno));
        return got < 0 ? 0 : static_cast<size_t>(got);
    }
}
