#pragma once

#include "platform/FileStamp.h"
#include "store/MailboxListing.h"

#include <memory>
#include <string>

class FolderInfo;
class mbx;
class pmHierarch;
class pmm;

// What a scan reads the rows of a mailbox with: the folder tree, and what
// each folder file listed gives its row. This reader reads every file
// afresh; FolderCache wraps a reader and keeps what it read, so that the
// panel and the report scan along the same path.
class FolderReader {
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

    FolderReader();  // out of line, as the members' types are not complete here
    virtual ~FolderReader();

    // A scan of mailboxDir (ending in a separator) begins; the result is what
    // its listing must hold for this reader.
    virtual MailboxListing::Contents BeginScan(const std::string& mailboxDir);
    // The folder tree for the rows' paths, where wanted; null when not, or
    // when "hierarch.pm" cannot be opened. Valid until the next scan begins.
    virtual const pmHierarch* Hierarchy(const MailboxListing& listing, bool wanted);
    // Fills row (which is empty) with what the folder file gives it.
    virtual void Read(const Folder& folder, FolderInfo& row, Opened* opened = nullptr);
    virtual void EndScan();
    // Memory ran out during a scan: whatever the reader holds goes, and the
    // next scan starts afresh. Allocates nothing.
    virtual void Abandon();

private:
    std::string mailboxDir;
    std::string path;  // the folder file read, in one buffer for the whole scan
    std::unique_ptr<pmHierarch> table;
    // One record of each kind serves a whole scan.
    std::unique_ptr<pmm> pmmRecord;
    std::unique_ptr<mbx> mbxRecord;
};
