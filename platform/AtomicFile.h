#pragma once

#include <cstdint>
#include <string>

// Replaces the whole content of a small file so that it holds either the old
// or the new bytes, never a mix: the new bytes go to a temporary file beside
// it, which is then renamed over the old one. The renaming replaces the name
// only: a file reached through a link to it is never written.
//
// The temporary file, the working copy, is named "~" and ten characters that
// carry this computer's tag, the writing process's id and a serial (CopyPath):
// eleven characters, so beside a file whose name is at least that long
// ("KVT-FSCN.PM") it fits wherever the file fits. A process killed while it
// writes leaves its copy behind; the next copy made beside the same file
// removes the copies that are provably abandoned (RemoveLeftoverCopies).
class AtomicFile {
public:
    enum class State { Missing, Writable, Unwritable };

    // A copy not written for this long is abandoned, whoever made it.
    static constexpr int64_t AbandonedAfterSeconds = 24 * 60 * 60;

    // Missing when nothing is there yet (the directory may be missing too);
    // Unwritable for a file marked read-only (no write permission at all on
    // POSIX, the read-only attribute on Windows) and for anything that is not
    // a regular file. Renaming over a read-only file would bypass the mark.
    static State Probe(const std::string& path);

    // Writes bytes to the file. False when the file is unwritable or any step
    // fails; the old file is then untouched and no temporary file is left.
    static bool Replace(const std::string& path, const std::string& bytes);

    // A working copy for changes made in several steps: a fresh file beside
    // path holding its bytes (none when path is missing), which PutInPlace
    // later renames over it. False, and no copy left, when path is
    // unwritable or larger than maxSize, or the copy cannot be made. On
    // Windows the copy stays open until PutInPlace or RemoveCopy, sharing
    // reading and writing but not deleting: no other process, on this
    // computer or another one, removes it while its batch writes to it.
    static bool MakeCopy(const std::string& path, uint64_t maxSize, std::string& copyPath);

    // Flushes the copy to disk and renames it over path in one step. An empty
    // copy of a missing file is only removed: nothing was written to it. A
    // file that another program holds open is tried again for up to about two
    // seconds. On false the copy is left for the caller to remove.
    static bool PutInPlace(const std::string& copyPath, const std::string& path);

    static void RemoveCopy(const std::string& copyPath);

    // The whole content of the file at path; false when it is larger than
    // maxSize or cannot be read whole.
    static bool ReadWhole(const std::string& path, uint64_t maxSize, std::string& bytes);

    // The working copy that process writer on the computer of the given tag
    // makes beside path, with a serial that keeps its copies apart.
    static std::string CopyPath(const std::string& path, unsigned computer, unsigned long writer, unsigned serial);
    // This computer's tag in the names of its copies: 14 bits of a hash of its
    // name, so that a copy that another computer makes beside a shared file
    // is not taken for one of ours.
    static unsigned ThisComputer();

    // Removes the working copies beside path that are provably abandoned:
    // this computer's whose process has ended, and anybody's not written for
    // AbandonedAfterSeconds. Only plain files are removed: a directory, a
    // link or a read-only file named like a copy is left alone.
    static void RemoveLeftoverCopies(const std::string& path);

private:
    // Unsure (another user's process, say) counts as running.
    static bool ProcessRuns(unsigned long id);
    static std::string ComputerName();
    // The seconds since a plain, writable file was last written; false for
    // anything else.
    static bool PlainFileAge(const std::string& path, int64_t& seconds);
};
