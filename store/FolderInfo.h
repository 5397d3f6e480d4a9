#pragma once

#include "store/FolderStatus.h"

#include <cstdint>
#include <string>

// One analysed folder: one row of the folder list. Texts are code-page-1252
// bytes as read from disk.
class FolderInfo {
public:
    FolderInfo() = default;
    FolderInfo(const FolderInfo&) = default;
    FolderInfo& operator=(const FolderInfo&) = default;
    // Moving keeps the texts' buffers: sorting copies of records stays cheap.
    FolderInfo(FolderInfo&&) = default;
    FolderInfo& operator=(FolderInfo&&) = default;
    virtual ~FolderInfo() = default;

    virtual void Clear();
    virtual bool IsEmpty() const;
    virtual void SetFolderPath(std::string path);  // taken, not copied, from a path made for the row
    // Takes a reading's texts by swapping buffers (a reader's records serve
    // file after file) and copies the rest; the folder path stays.
    void TakeReading(FolderInfo& reading);

    // size as "1,5 kB" when compact, else "1.536".
    std::string SizeText(bool compact) const;
    // Any byte count in the same two forms; the list's total uses it too.
    static std::string FormatSize(uint64_t bytes, bool compact);

    std::string fileName;    // name with extension, no directory
    std::string folderPath;  // ancestors' path from the hierarchy file
    std::string folderName;  // header name, or a status text in angle brackets
    uint64_t size = 0;       // bytes
    // Kept for callers beyond the list: the key that links the folder to its
    // hierarchy entry, and whether its file could be read.
    std::string hierarchyKey;
    FolderStatus status = FolderStatus::Ok;
    // An I/O error (a share that dropped out, a failing disk), not a lock or
    // damage, kept the file from being read: its size is not known. The
    // record shows its status as any unreadable file does.
    bool ioError = false;

protected:
    // Sets the status and shows its text in place of the name.
    void SetStatus(FolderStatus failure);
};
