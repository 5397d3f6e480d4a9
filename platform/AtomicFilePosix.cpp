#include "platform/AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <csignal>
#include <ctime>

namespace {

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        done += static_cast<size_t>(put);
    }
    return true;
}

// A fresh file beside path, created exclusively; -1 when none can be made.
// A name that is taken by anything (a file, a folder, a link) is passed over
// for the next serial. Taking the serials in turn keeps a name from coming
// back soon: the profile functions may keep a file they parsed by its name
// and time. POSIX has no share modes: the copy is not held open.
int CreateTemporary(const std::string& path, std::string& tempPath) {
    static std::atomic<unsigned> serial{0};
    AtomicFile::RemoveLeftoverCopies(path);
    for (int attempt = 0; attempt < 16; ++attempt) {
        tempPath = AtomicFile::CopyPath(path, AtomicFile::ThisComputer(), static_cast<unsigned long>(::getpid()),
                                        serial++ % 16);
        int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

}  // namespace

AtomicFile::State AtomicFile::Probe(const std::string& path) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return errno == ENOENT ? State::Missing : State::Unwritable;
    if (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0) return State::Unwritable;
    return State::Writable;
}

bool AtomicFile::Replace(const std::string& path, const std::string& bytes) {
    State state = Probe(path);
    if (state == State::Unwritable) return false;
    std::string tempPath;
    int fd = CreateTemporary(path, tempPath);
    if (fd < 0) return false;
    bool ok = true;
    struct stat st;
    if (state == State::Writable && ::stat(path.c_str(), &st) == 0) ok = ::fchmod(fd, st.st_mode & 07777) == 0;
    ok = ok && WriteAll(fd, bytes) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(tempPath.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(tempPath.c_str());
    return ok;
}

bool AtomicFile::MakeCopy(const std::string& path, uint64_t maxSize, std::string& copyPath) {
    State state = Probe(path);
    if (state == State::Unwritable) return false;
    std::string bytes;
    struct stat st {};
    if (state == State::Writable && (!ReadWhole(path, maxSize, bytes) || ::stat(path.c_str(), &st) != 0)) return false;
    int fd = CreateTemporary(path, copyPath);
    if (fd < 0) return false;
    bool ok = state != State::Writable || ::fchmod(fd, st.st_mode & 07777) == 0;
    ok = ok && WriteAll(fd, bytes);
    ok = ::close(fd) == 0 && ok;
    if (!ok) ::unlink(copyPath.c_str());
    return ok;
}

bool AtomicFile::PutInPlace(const std::string& copyPath, const std::string& path) {
    int fd = ::open(copyPath.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return false;
    struct stat st;
    bool ok = ::fstat(fd, &st) == 0 && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok) return false;
    State state = Probe(path);
    if (state == State::Unwritable) return false;
    if (state == State::Missing && st.st_size == 0) return ::unlink(copyPath.c_str()) == 0;
    return ::rename(copyPath.c_str(), path.c_str()) == 0;
}

void AtomicFile::RemoveCopy(const std::string& copyPath) { ::unlink(copyPath.c_str()); }

bool AtomicFile::ProcessRuns(unsigned long id) {
    // Beyond INT_MAX the id would turn negative, which kill takes for a process group.
    if (id > INT_MAX) return true;
    return ::kill(static_cast<pid_t>(id), 0) == 0 || errno == EPERM;
}

std::string AtomicFile::ComputerName() {
    char name[256] = {};
    return ::gethostname(name, sizeof name - 1) == 0 ? std::string(name) : std::string();
}

bool AtomicFile::PlainFileAge(const std::string& path, int64_t& seconds) {
    struct stat st;
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0) return false;
    seconds = static_cast<int64_t>(::time(nullptr)) - static_cast<int64_t>(st.st_mtime);
    return true;
}
