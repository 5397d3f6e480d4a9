#pragma once

#include "store/FolderCache.h"
#include "store/FolderInfo.h"
#include "store/MailboxListing.h"
#include "store/ScanOptions.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

class pmHierarch;

// The result of one scan of the mailbox: the new-mail row first (when asked
// for), then the ".PMM" folders, then the ".MBX" folders, each in the order
// the directory lists them. A record keeps its address while it is listed:
// the folder list view holds references to the records.
class FolderList {
public:
    using Records = std::deque<FolderInfo>;

    // Rebuilds the list. Returns 1 when the hierarchy file was read or not
    // needed, 0 when showFolderPath is set and it cannot be opened. When
    // memory runs out on the way, everything the scan took is given back and
    // the list is left empty.
    int Scan(const ScanOptions& options);
    // The same, leaving the scan's hierarchy table in table for the caller to
    // look at afterwards (empty when showFolderPath is not set, when the file
    // cannot be opened, after running out of memory, and with a cache, which
    // keeps the table itself).
    int Scan(const ScanOptions& options, pmHierarch& table);

    void AddNewMailFolder(const std::string& newMailDir, const std::string& label);
    // Append one record per ".PMM" or ".MBX" file; with useHierarchy set and a
    // table given, each record's folderPath comes from it.
    void ScanPmm(const std::string& mailboxDir, bool useHierarchy, const pmHierarch* hierarchy);
    void ScanMbx(const std::string& mailboxDir, bool useHierarchy, const pmHierarch* hierarchy);

    int32_t GetCount() const { return count; }
    uint64_t GetTotal() const { return total; }
    std::string TotalText(bool compact) const;  // formatted like FolderInfo::SizeText
    const Records& GetRecords() const { return records; }

    // With a cache, scans take back what it kept for files whose listing
    // entries did not change and keep in it what they read; without one
    // (null) they read every file.
    void UseCache(FolderCache* kept) { cache = kept; }

    // Whether other holds the same rows in the same order.
    bool SameRows(const FolderList& other) const;
    // Exchanges the rows with other's; the records keep their addresses.
    void SwapRows(FolderList& other);
    // Where other lists the same files in the same order, takes over other's
    // rows in place: the records keep their addresses, and only those that
    // differ change. False, with nothing changed, where the files differ.
    bool UpdateRows(FolderList& other);

    Records::const_iterator begin() const { return records.begin(); }
    Records::const_iterator end() const { return records.end(); }

private:
    using Entries = MailboxListing::Entries;

    void Release();
    void ScanInto(int& result, const ScanOptions& options, pmHierarch& table);

    void AppendPmm(const std::string& mailboxDir, const Entries& entries, bool useHierarchy, const pmHierarch* hierarchy);
    void AppendMbx(const std::string& mailboxDir, const Entries& entries, const MailboxListing* listing,
                   bool useHierarchy, const pmHierarch* hierarchy);
    const FolderCache::Reading* KeptReading(const MailboxListing::Entry& entry,
                                            const MailboxListing::Entry* companion, bool keepable);
    template <class Record>
    void Read(Record& record, const MailboxListing::Entry& entry, const MailboxListing::Entry* companion,
              bool keepable);
    void AppendKept(const std::string& name, const FolderCache::Reading& kept, bool useHierarchy,
                    const pmHierarch* hierarchy);
    template <class Record>
    void AppendAnalyzed(Record& record, bool useHierarchy, const pmHierarch* hierarchy);
    void Append(const FolderInfo& record);

    Records records;
    int32_t count = 0;
    uint64_t total = 0;
    FolderCache* cache = nullptr;
};
