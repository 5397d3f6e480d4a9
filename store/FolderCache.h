#pragma once

#include "platform/CaseFold.h"
#include "platform/FileStamp.h"
#include "store/FolderReader.h"
#include "store/FolderSource.h"
#include "store/FolderStatus.h"
#include "store/KeptHierarchy.h"
#include "store/MailboxListing.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>

// A source that wraps a source and keeps what it read from each folder file,
// across scans, under the listing entries it was read under: the file's own
// and, for an ".MBX" file, its ".PMG" companion's. A scan takes a reading
// back only while those entries are unchanged, and has the file read again
// otherwise. Only what the rows are made of is kept; the folder tree too.
//
// A listing entry may lag behind its file (NTFS while a writer holds the file
// open, FAT's two-second clock, a network client's cached listing), so every
// reading is also read again, through the opened file, at least every
// RereadEvery-th scan whatever its entry says: a tenth of them on each scan.
class FolderCache : public FolderSource {
public:
    static constexpr unsigned RereadEvery = 10;

    FolderCache();                                // wraps a reader of its own
    explicit FolderCache(FolderSource& wrapped);  // wraps wrapped, which outlives it
    FolderCache(const FolderCache&) = delete;
    FolderCache& operator=(const FolderCache&) = delete;

    // The next scan reads every file again (and keeps what it reads).
    void ReadEverythingNext() { readEverything = true; }
    // Everything goes: the next scan reads every file.
    void Clear();

    size_t GetCount() const { return folders.size(); }
    // How many readings the scan under way (or the last one) took back.
    size_t GetReused() const { return reused; }

    // FolderSource: what was kept for another directory goes when a scan of
    // a new one begins; folder files the scan did not list go at its end.
    void BeginScan(const std::string& mailboxDir, MailboxListing::Contents contents,
                   MailboxListing& listing) override;
    const pmHierarch* Hierarchy(const MailboxListing& listing, bool wanted, bool& ioError) override;
    void Read(const Folder& folder, FolderInfo& row, Opened* opened = nullptr) override;
    void EndScan() override;
    void Abandon() override;

private:
    struct Reading {
        std::string folderName;
        std::string hierarchyKey;
        uint64_t size = 0;
        FolderStatus status = FolderStatus::Ok;
    };
    struct Kept {
        FileStamp file;
        FileStamp companion;        // not known for a ".PMM" file
        std::string companionName;  // empty where it is the name formed from the folder's
        Reading reading;
        unsigned lastScan = 0;  // the last scan that listed the file
        unsigned phase = 0;     // read again on the scans whose number has this remainder
    };

    // The reading kept for this listed file and companion while both are as
    // they were when it was read and it is not due to be read again.
    const Reading* Find(const Folder& folder);
    // Keeps a reading under the stamps given; a file or companion without a
    // known stamp cannot be told unchanged later, so nothing is kept then.
    void Keep(const MailboxListing::Entry& file, const MailboxListing::Entry* companion, const FolderInfo& row);

    FolderReader own;
    FolderSource& inner;
    std::string mailboxDir;
    // Names are the directory's, compared exactly; the seeded hash keeps a
    // directory from being filled with names that all fall into one bucket.
    std::unordered_map<std::string, Kept, FoldedHash, std::equal_to<std::string>> folders;
    KeptHierarchy hierarchy;
    unsigned scan = 0;
    unsigned nextPhase = 0;  // spreads the readings evenly over the phases
    size_t reused = 0;
    bool readEverything = false;     // asked for the next scan
    bool readingEverything = false;  // the scan under way
};
