#pragma once

#include "platform/FileStamp.h"
#include "store/MailboxListing.h"

#include <memory>
#include <string>

class pmHierarch;

// The folder tree table across scans: kept while the hierarchy file's listing
// entry stays the one it was read under, and read again through the opened
// file at least every rereadEvery-th scan all the same, since an entry may
// lag behind its file. A table whose reading wrote trace
// lines (lines that do not parse, a file too large) or fell short of the
// file's length is not kept: the file is read again on every scan, so that
// its trace lines come again as they would from a full scan.
class KeptHierarchy {
public:
    explicit KeptHierarchy(unsigned rereadEvery);
    ~KeptHierarchy();
    KeptHierarchy(const KeptHierarchy&) = delete;
    KeptHierarchy& operator=(const KeptHierarchy&) = delete;

    // The table for this scan, with entry the listing's one hierarchy file
    // (null when there is none or several; its stamp need not be known when
    // the file is read anyway); null when the file cannot be opened. A table
    // that may not serve another scan stays until the next one asks.
    // ioError as pmHierarch::IoError says it of the reading, false for a
    // table kept.
    const pmHierarch* Get(const std::string& mailboxDir, const MailboxListing::Entry* entry, bool& ioError);

    void Clear();

private:
    std::unique_ptr<pmHierarch> table;
    std::string name;  // as listed when the table was read
    FileStamp stamp;
    bool reusable = false;
    const unsigned rereadEvery;
    unsigned served = 0;  // scans the table served since it was read
};
