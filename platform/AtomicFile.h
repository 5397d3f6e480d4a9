#pragma once

#include <string>

// Replaces the whole content of a small file so that it holds either the old
// or the new bytes, never a mix: the new bytes go to a temporary file beside
// it, which is then renamed over the old one.
class AtomicFile {
public:
    enum class State { Missing, Writable, Unwritable };

    // Missing when nothing is there yet (the directory may be missing too);
    // Unwritable for a file marked read-only (no write permission at all on
    // POSIX, the read-only attribute on Windows) and for anything that is not
    // a regular file. Renaming over a read-only file would bypass the mark.
    static State Probe(const std::string& path);

    // Writes bytes to the file. False when the file is unwritable or any step
    // fails; the old file is then untouched and no temporary file is left.
    static bool Replace(const std::string& path, const std::string& bytes);
};
