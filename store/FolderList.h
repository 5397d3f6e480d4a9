#pragma once

#include "store/FolderInfo.h"
#include "store/FolderKind.h"
#include "store/FolderReader.h"
#include "store/MailboxListing.h"
#include "store/ScanOptions.h"

#include <cstdint>
#include <deque>
#include <string>

class pmHierarch;

// What one scan found beside its rows.
struct ScanResult {
    // False when the folder paths were wanted and "hierarch.pm" cannot be opened.
    bool hierarchyRead = true;
    // Read faults: the listing of the folder files broke off; opening or
    // reading "hierarch.pm" failed for an I/O error.
    bool listingBroken = false;
    bool hierarchyFault = false;
    // The folder tree the paths came from, while the reader keeps it (until
    // its next scan); null without folder paths.
    const pmHierarch* table = nullptr;
};

// How the rows a list shows take in a new scan's rows.
enum class RowUpdate {
    Unchanged,  // the same rows: nothing to do
    InPlace,    // the same files in the same order: the shown records take over what changed
    Rebuild,    // other files, or another order: the list is made anew
};

// The result of one scan of the mailbox: the new-mail row first (when asked
// for), then the ".PMM" folders, then the ".MBX" folders, each in the order
// the directory lists them, their count and their total. A record keeps its
// address while it is listed: the folder list view holds references to the
// records. The list also says what each record stands for, and whether
// memory ran out during its scan.
class FolderList {
public:
    using Records = std::deque<FolderInfo>;

    FolderList();
    ~FolderList();
    FolderList(const FolderList&) = delete;
    FolderList& operator=(const FolderList&) = delete;

    // The source the scans read through: one that keeps what it read (a
    // FolderCache), or, with none, one of the list's own that reads every file.
    void UseReader(FolderSource* source) { chosen = source; }

    // Rebuilds the list. When memory runs out on the way, everything the scan
    // took is given back, the list is left empty and OutOfMemory says so.
    ScanResult Scan(const ScanOptions& options);

    int32_t GetCount() const { return count; }
    uint64_t GetTotal() const { return total; }
    std::string TotalText(bool compact) const;  // formatted like FolderInfo::SizeText
    const Records& GetRecords() const { return records; }
    // What the record at index stands for.
    FolderKind KindOf(size_t index) const;
    // Whether the last scan ran out of memory.
    bool OutOfMemory() const { return outOfMemory; }
    // Whether the last scan's listing broke off, or a folder file, the
    // hierarchy file or the new-mail listing could not be read for an I/O
    // error (FolderInfo::ioError, ScanResult::hierarchyFault): the rows may
    // then lack folders, sizes or paths. Files that are locked or damaged
    // are no fault.
    bool ReadFault() const { return readFault; }

    // Hands the records over to a caller that keeps them beyond the list,
    // which is left empty.
    Records TakeRecords();

    // Exchanges the rows with other's; the records keep their addresses.
    void SwapRows(FolderList& other);
    // Takes over other's rows in place, where other lists the same files in
    // the same order (RowUpdate::InPlace): the records keep their addresses.
    void UpdateRows(FolderList& other);

    // Compares a new scan with the rows shown; mustRebuild asks for a new list
    // whatever the rows are (one that is to stay empty while a warning is
    // open, or a view that shows other rows than the list holds).
    static RowUpdate ChooseRowUpdate(const FolderList& shown, const FolderList& scanned, bool mustRebuild);

    Records::const_iterator begin() const { return records.begin(); }
    Records::const_iterator end() const { return records.end(); }

private:
    void Release();
    FolderSource& Source();
    void AddNewMailFolder(const std::string& newMailDir, const std::string& label);
    // Appends one record per ".PMM" or ".MBX" file; with a table given, each
    // record's folderPath comes from it.
    void Append(const MailboxListing& listing, bool mbx, const pmHierarch* hierarchy);

    Records records;
    int32_t count = 0;
    uint64_t total = 0;
    // Where the ".PMM" and the ".MBX" records begin.
    size_t pmmStart = 0;
    size_t mbxStart = 0;
    bool outOfMemory = false;
    bool readFault = false;
    FolderSource* chosen = nullptr;
    FolderReader own;  // without a source chosen
};
