#pragma once

#include "platform/FileStamp.h"

#include <cstddef>
#include <cstdint>
#include <string>

class DirectoryHandle;

// A file opened for reading only, without denying other programs reading,
// writing or deleting it: the mail client keeps its folders open while we look.
// Only regular files open, so a directory or a device that happens to carry a
// folder extension is reported as unreadable instead of blocking or misreading.
class ReadOnlyFile {
public:
    ReadOnlyFile() = default;
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    // A path directly inside within, where given, is opened relative to it.
    bool Open(const std::string& path, const DirectoryHandle* within = nullptr);
    void Close();

    // Whether Open would succeed, and with the length and stamp it would
    // tell, without keeping the file open. POSIX answers from the file's
    // status and permissions, which costs half of opening and closing
    // it; Windows opens it, since only that tells whether its writer has
    // locked it.
    // ioError, where given, says whether it failed with an I/O error.
    static bool Inspect(const std::string& path, uint64_t& length, FileStamp& stamp,
                        const DirectoryHandle* within = nullptr, bool* ioError = nullptr);
    bool IsOpen() const;

    // Whether opening the file, reading it or asking its length failed with
    // an I/O error (a share that dropped out, a failing disk; IsIoError):
    // not a file that is missing, locked, refused or too short. Its length
    // is then not known, though Length says 0.
    bool IoError() const { return ioError; }

    // The file's length in bytes; 0 when it is not open. (Where the OS tells
    // the length when the file is opened, the length at that moment.)
    uint64_t Length() const;

    // The file's stamp as opening it told it, where it does (POSIX, whose
    // listing does not carry stamps); not known elsewhere, where the listing
    // carries them and asking the file would cost a call of its own.
    FileStamp Stamp() const;

    // Reads up to count bytes from the start of the file. The OS may deliver
    // fewer bytes than asked for; this keeps reading until count bytes or the
    // end of the file, so a smaller result means a shorter file (or a read
    // error, which is treated the same way).
    size_t ReadHead(void* buffer, size_t count);

    // Reads up to count bytes from the current position onwards; 0 at the end
    // of the file or on an error.
    size_t Read(void* buffer, size_t count);

private:
    mutable bool ioError = false;
#ifdef _WIN32
    void* handle = nullptr;
#else
    int fd = -1;
    FileStamp stamp;
#endif
};
