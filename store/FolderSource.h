#pragma once

#include "platform/FileStamp.h"
#include "store/MailboxListing.h"

#include <string>

class FolderInfo;
class pmHierarch;

// Where a scan gets a mailbox's rows from: the listing of its folder files,
// the folder tree, and what each folder file gives its row. FolderReader
// reads every file afresh; FolderCache wraps a source and keeps what it
// read, so that the panel and the report scan along the same path.
class FolderSource {
public:
    // A folder file as the listing shows it; for an ".MBX" file also its
    // companion: null where none is listed, or several are (ambiguous).
    struct Folder {
        const MailboxListing::Entry& file;
        bool isMbx;
        const MailboxListing::Entry* companion;
        bool ambiguous;
    };
    // What opening the files told of them, where it tells (POSIX); for an
    // ".MBX" file also the name of the companion opened.
    struct Opened {
        FileStamp file;
        std::string companionName;
        FileStamp companion;
    };

    virtual ~FolderSource() = default;

    // A scan of mailboxDir (ending in a separator) begins: its folder files
    // go into listing, with at least the contents asked for.
    virtual void BeginScan(const std::string& mailboxDir, MailboxListing::Contents contents,
                           MailboxListing& listing) = 0;
    // The folder tree for the rows' paths, where wanted; null when not, or
    // when "hierarch.pm" cannot be opened. Valid until the next scan begins.
    // ioError says whether opening or reading the file failed for an I/O
    // error: the tree is then missing, or lacks what was not read.
    virtual const pmHierarch* Hierarchy(const MailboxListing& listing, bool wanted, bool& ioError) = 0;
    // Fills row (which is empty) with what the folder file gives it.
    virtual void Read(const Folder& folder, FolderInfo& row, Opened* opened = nullptr) = 0;
    virtual void EndScan() = 0;
    // Memory ran out during a scan: whatever the source holds goes, and the
    // next scan starts afresh. Allocates nothing.
    virtual void Abandon() = 0;
};
