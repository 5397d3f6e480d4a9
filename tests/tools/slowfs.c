// A read-only FUSE pass-through that answers every request after a fixed
// delay, as a file server across a network does: the benchmarks mount a
// generated mailbox through it to see how a scan copes with each request
// waiting on the wire. Requests are served on many threads at once, as a
// server answers several clients' requests side by side, so that requests in
// flight together also wait together.
//
//   slowfs SOURCE MOUNTPOINT MICROSECONDS [--fail NAME]... [--fail-read NAME]... [--fail-listing]
//          [--fail-listing-of NAME]... [--refuse-rename] [--fail-fsync] [FUSE options, e.g. -f]
//
// The kernel keeps no attributes, names or contents: every lookup, status,
// open, read and close reaches this program and waits.
//
// And a share that fails on the way, for the tests of what a run records:
// every request for a file named NAME (its last part) fails with EIO; with
// --fail-read only the reads of such a file do, which opens; with
// --fail-listing every directory's listing breaks off with EIO, and with
// --fail-listing-of that of each directory named NAME.
//
// With --refuse-rename or --fail-fsync the share takes writes, for the tests
// of what a program writes onto it: files are made, written, changed and
// removed as on the source, but every rename, or every flush to the disk
// (fsync), fails with EIO, as a server's full or failing disk does.
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
// Names, each list ending with a null.
static char** failing;         // every request
static char** readFailing;     // reads
static char** listingFailing;  // directories' listings
static int listingFails;
static int renameFails, fsyncFails;  // either makes the share writable

// Whether path's last part is one of names.
static int Named(char** names, const char* path) {
    const char* name = strrchr(path, '/');
    name = name ? name + 1 : path;
    for (char** f = names; f && *f; ++f)
        if (strcmp(*f, name) == 0) return 1;
    return 0;
}

static int Fails(const char* path) { return Named(failing, path); }

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
    if (Fails(path)) return -EIO;
    if (file) return fstat((int)file->fh, status) == 0 ? 0 : -errno;
    char full[PATH_MAX];
    if (!Under(path, full)) return -ENAMETOOLONG;
    return lstat(full, status) == 0 ? 0 : -errno;
}

static int Access(const char* path, int mode) {
    Wait();
    if (Fails(path)) return -EIO;
    char full[PATH_MAX];
    if (!Under(path, full)) return -ENAMETOOLONG;
    return access(full, mode) == 0 ? 0 : -errno;
}

static int Writable(void) { return renameFails || fsyncFails; }

static int Open(const char* path, struct fuse_file_info* file) {
    Wait();
    if (Fails(path)) return -EIO;
    if ((file->flags & O_ACCMODE) != O_RDONLY && !Writable()) return -EROFS;
    char full[PATH_MAX];
    if (!Under(path, full)) return -ENAMETOOLONG;
    int fd = open(full, Writable() ? file->flags : O_RDONLY);
    if (fd < 0) return -errno;
    file->fh = (uint64_t)fd;
    return 0;
}

static int Create(const char* path, mode_t mode, struct fuse_file_info* file) {
    Wait();
    char full[PATH_MAX];
    if (!Under(path, full)) return -ENAMETOOLONG;
    int fd = open(full, file->flags | O_CREAT, mode);
    if (fd < 0) return -errno;
    file->fh = (uint64_t)fd;
    return 0;
}

static int Write(const char* path, const char* bytes, size_t size, off_t offset, struct fuse_file_info* file) {
    (void)path;
    Wait();
    ssize_t put = pwrite((int)file->fh, bytes, size, offset);
    return put >= 0 ? (int)put : -errno;
}

static int Fsync(const char* path, int dataOnly, struct fuse_file_info* file) {
    (void)path;
    (void)dataOnly;
    Wait();
    if (fsyncFails) return -EIO;
    return fsync((int)file->fh) == 0 ? 0 : -errno;
}

static int Chmod(const char* path, mode_t mode, struct fuse_file_info* file) {
    Wait();
    if (file) return fchmod((int)file->fh, mode) == 0 ? 0 : -errno;
    char full[PATH_MAX];
    if (!Under(path, full)) return -ENAMETOOLONG;
    return chmod(full, mode) == 0 ? 0 : -errno;
}

static int Rename(const char* from, const char* to, unsigned int flags) {
    Wait();
    if (renameFails) return -EIO;
    if (flags != 0) return -EINVAL;
    char fullFrom[PATH_MAX], fullTo[PATH_MAX];
    if (!Under(from, fullFrom) || !Under(to, fullTo)) return -ENAMETOOLONG;
    return rename(fullFrom, fullTo) == 0 ? 0 : -errno;
}

static int Unlink(const char* path) {
    Wait();
    char full[PATH_MAX];
    if (!Under(path, full)) return -ENAMETOOLONG;
    return unlink(full) == 0 ? 0 : -errno;
}

static int Read(const char* path, char* buffer, size_t size, off_t offset, struct fuse_file_info* file) {
    Wait();
    if (Named(readFailing, path)) return -EIO;
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
    if (listingFails || Named(listingFailing, path)) return -EIO;
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
    .create = Create,
    .write = Write,
    .fsync = Fsync,
    .chmod = Chmod,
    .rename = Rename,
    .unlink = Unlink,
};

int main(int argc, char* argv[]) {
    if (argc < 4) {
        fprintf(stderr, "usage: slowfs SOURCE MOUNTPOINT MICROSECONDS [--fail NAME]... [--fail-read NAME]...\n"
                        "              [--fail-listing] [--fail-listing-of NAME]... [--refuse-rename] [--fail-fsync]\n"
                        "              [FUSE options]\n");
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
    // read-only unless it takes writes, and with enough threads for many
    // requests in flight.
    char** args = calloc((size_t)argc + 3, sizeof *args);
    failing = calloc((size_t)argc, sizeof *failing);
    readFailing = calloc((size_t)argc, sizeof *readFailing);
    listingFailing = calloc((size_t)argc, sizeof *listingFailing);
    if (!args || !failing || !readFailing || !listingFailing) return 2;
    int count = 0, fails = 0, readFails = 0, listingFailures = 0;
    args[count++] = argv[0];
    args[count++] = argv[2];
    int i = 4;
    for (; i < argc; ++i) {
        if (strcmp(argv[i], "--fail") == 0 && i + 1 < argc)
            failing[fails++] = argv[++i];
        else if (strcmp(argv[i], "--fail-read") == 0 && i + 1 < argc)
            readFailing[readFails++] = argv[++i];
        else if (strcmp(argv[i], "--fail-listing-of") == 0 && i + 1 < argc)
            listingFailing[listingFailures++] = argv[++i];
        else if (strcmp(argv[i], "--fail-listing") == 0)
            listingFails = 1;
        else if (strcmp(argv[i], "--refuse-rename") == 0)
            renameFails = 1;
        else if (strcmp(argv[i], "--fail-fsync") == 0)
            fsyncFails = 1;
        else
            break;
    }
    args[count++] = "-o";
    args[count++] = Writable() ? "max_threads=64" : "ro,max_threads=64";
    for (; i < argc; ++i) args[count++] = argv[i];
    int result = fuse_main(count, args, &Operations, NULL);
    free(args);
    return result;
}
