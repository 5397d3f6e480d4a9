// A read-only FUSE pass-through that answers every request after a fixed
// delay, as a file server across a network does: the benchmarks mount a
// generated mailbox through it to see how a scan copes with each request
// waiting on the wire. Requests are served on many threads at once, as a
// server answers several clients' requests side by side, so that requests in
// flight together also wait together.
//
//   slowfs SOURCE MOUNTPOINT MICROSECONDS [FUSE options, e.g. -f]
//
// The kernel keeps no attributes, names or contents: every lookup, status,
// open, read and close reaches this program and waits.
#define FUSE_USE_VERSION 31

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <fuse.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

static const char* source;
static long delayMicroseconds;

// Linux leaves the time still to wait in delay when a signal cuts it short.
static void Wait(void) {
    struct timeval delay = {delayMicroseconds / 1000000, delayMicroseconds % 1000000};
    while (select(0, NULL, NULL, NULL, &delay) != 0 && errno == EINTR) {
    }
}

// The path below the source; false when it would not fit.
static int Under(const char* path, char* full) {
    return snprintf(full, PATH_MAX, "%s%s", source, path) < PATH_MAX;
}

static void* Init(struct fuse_conn_info* connection, struct fuse_config* config) {
    (void)connection;
    config->attr_timeout = 0;
    config->entry_timeout = 0;
    config->negative_timeout = 0;
    config->direct_io = 1;  // every read a request: no page cache between
    config->use_ino = 1;
    return NULL;
}

static int GetAttr(const char* path, struct stat* status, struct fuse_file_info* file) {
    Wait();
    if (file) return fstat((int)file->fh, status) == 0 ? 0 : -errno;
    char full[PATH_MAX];
    if (!Under(path, full)) return -ENAMETOOLONG;
    return lstat(full, status) == 0 ? 0 : -errno;
}

static int Access(const char* path, int mode) {
    Wait();
    char full[PATH_MAX];
    if (!Under(path, full)) return -ENAMETOOLONG;
    return access(full, mode) == 0 ? 0 : -errno;
}

static int Open(const char* path, struct fuse_file_info* file) {
    Wait();
    if ((file->flags & O_ACCMODE) != O_RDONLY) return -EROFS;
    char full[PATH_MAX];
    if (!Under(path, full)) return -ENAMETOOLONG;
    int fd = open(full, O_RDONLY);
    if (fd < 0) return -errno;
    file->fh = (uint64_t)fd;
    return 0;
}

static int Read(const char* path, char* buffer, size_t size, off_t offset, struct fuse_file_info* file) {
    (void)path;
    Wait();
    ssize_t got = pread((int)file->fh, buffer, size, offset);
    return got >= 0 ? (int)got : -errno;
}

static int Release(const char* path, struct fuse_file_info* file) {
    (void)path;
    Wait();
    close((int)file->fh);
    return 0;
}

static int ReadDir(const char* path, void* buffer, fuse_fill_dir_t fill, off_t offset, struct fuse_file_info* file,
                   enum fuse_readdir_flags flags) {
    (void)offset;
    (void)file;
    (void)flags;
    Wait();
    char full[PATH_MAX];
    if (!Under(path, full)) return -ENAMETOOLONG;
    DIR* dir = opendir(full);
    if (!dir) return -errno;
    for (struct dirent* entry = readdir(dir); entry; entry = readdir(dir)) {
        struct stat status;
        memset(&status, 0, sizeof status);
        status.st_ino = entry->d_ino;
        status.st_mode = (mode_t)(entry->d_type << 12);
        if (fill(buffer, entry->d_name, &status, 0, 0)) break;
    }
    closedir(dir);
    return 0;
}

static const struct fuse_operations Operations = {
    .getattr = GetAttr,
    .open = Open,
    .read = Read,
    .release = Release,
    .readdir = ReadDir,
    .init = Init,
    .access = Access,
};

int main(int argc, char* argv[]) {
    if (argc < 4) {
        fprintf(stderr, "usage: slowfs SOURCE MOUNTPOINT MICROSECONDS [FUSE options]\n");
        return 2;
    }
    static char resolved[PATH_MAX];
    if (!realpath(argv[1], resolved)) {
        perror(argv[1]);
        return 2;
    }
    source = resolved;
    char* end = NULL;
    delayMicroseconds = strtol(argv[3], &end, 10);
    if (*argv[3] == '\0' || *end != '\0' || delayMicroseconds < 0) {
        fprintf(stderr, "slowfs: %s: not a number of microseconds\n", argv[3]);
        return 2;
    }
    // FUSE sees the program's name, the mount point and the options given,
    // read-only and with enough threads for many requests in flight.
    char** args = calloc((size_t)argc + 3, sizeof *args);
    if (!args) return 2;
    int count = 0;
    args[count++] = argv[0];
    args[count++] = argv[2];
    args[count++] = "-o";
    args[count++] = "ro,max_threads=64";
    for (int i = 4; i < argc; ++i) args[count++] = argv[i];
    int result = fuse_main(count, args, &Operations, NULL);
    free(args);
    return result;
}
