#include "store/FolderList.h"

#include "platform/FileSystem.h"
#include "store/FileNameIndex.h"
#include "store/FolderCache.h"
#include "store/NewMailFolder.h"
#include "store/mbx.h"
#include "store/pmHierarch.h"
#include "store/pmm.h"
#include "ui/Trace.h"

#include <algorithm>
#include <new>
#include <utility>

namespace {

const char* const PmmPattern = "*.PMM";
const char* const MbxPattern = "*.MBX";

MailboxListing::Entries Matching(const std::string& mailboxDir, const char* wildcard) {
    MailboxListing::Entries entries;
    FileSystem::ForEachMatchingName(mailboxDir + wildcard,
                                    [&](const std::string& name) { entries.push_back({name, FileStamp()}); });
    return entries;
}

// The stamps to keep a reading under: those of the files as they were opened
// where opening told them, for they belong to what was read; else the
// listing's. False where the companion opened is not the one listed.
FileStamp Either(const FileStamp& opened, const FileStamp& listed) { return opened.known ? opened : listed; }

bool StampsToKeep(const pmm& record, const MailboxListing::Entry& entry, const MailboxListing::Entry*,
                  MailboxListing::Entry& file, MailboxListing::Entry&) {
    file = {entry.name, Either(record.stamp, entry.stamp)};
    return true;
}

bool StampsToKeep(const mbx& record, const MailboxListing::Entry& entry, const MailboxListing::Entry* companion,
                  MailboxListing::Entry& file, MailboxListing::Entry& pmg) {
    if (!companion) {  // none listed: kept while none is, unless one was opened all the same
        file = {entry.name, Either(record.stamp, entry.stamp)};
        return !record.companionStamp.known;
    }
    if (record.companionStamp.known && record.companionName != companion->name) return false;
    file = {entry.name, Either(record.stamp, entry.stamp)};
    pmg = {companion->name, Either(record.companionStamp, companion->stamp)};
    return true;
}

// Whether a change that makes the reading differ shows in the listing. A
// file that cannot be opened may be locked by a writer, and unlocked again
// without its entry changing: it is read again on every scan. A missing
// companion is seen when one is listed.
bool ListingTellsChange(FolderStatus status, const MailboxListing::Entry* companion) {
    switch (status) {
    case FolderStatus::CannotOpen:
    case FolderStatus::MbxCannotOpen:
        return false;
    case FolderStatus::PmgCannotOpen:
        return companion == nullptr;
    default:
        return true;
    }
}

bool SameRow(const FolderInfo& a, const FolderInfo& b) {
    return a.size == b.size && a.status == b.status && a.fileName == b.fileName && a.folderName == b.folderName &&
           a.folderPath == b.folderPath && a.hierarchyKey == b.hierarchyKey;
}

}  // namespace

int FolderList::Scan(const ScanOptions& options) {
    pmHierarch table;
    return Scan(options, table);
}

int FolderList::Scan(const ScanOptions& options, pmHierarch& table) {
    Release();
    table.Clear();
    int result = 1;
    try {
        ScanInto(result, options, table);
    } catch (const std::bad_alloc&) {
        // The host's memory is ours to give back: whatever was listed goes,
        // and the panel shows an empty list it can refresh later.
        Release();
        table.Clear();
        if (cache) cache->Clear();  // what it kept may be half made
        // Without memory for the line itself, Trace leaves it out.
        Trace("[FolderList.Scan] WARNUNG: Zu wenig Speicher f\xFC" "r die Ordnerliste\n");
    }
    return result;
}

// Clearing allocates nothing, so it also serves when memory has run out.
void FolderList::Release() {
    records.clear();
    count = 0;
    total = 0;
}

void FolderList::ScanInto(int& result, const ScanOptions& options, pmHierarch& table) {
    const std::string& mailboxDir = options.mailboxDir;
    // One listing of the mailbox serves both kinds of folder file, each kept
    // in the order the directory lists it. Taking back kept readings needs
    // every file's stamp; reading everything takes them from the files as
    // they are opened where the listing does not carry them.
    if (cache) cache->BeginScan(mailboxDir);
    MailboxListing listing;
    listing.List(mailboxDir, !cache                        ? MailboxListing::FolderFiles
                             : cache->ReadingEverything() ? MailboxListing::WithLookUps
                                                          : MailboxListing::WithStamps);

    // With a cache the table is the one it keeps; without one it is read
    // afresh into the caller's table.
    const pmHierarch* hierarchy = nullptr;
    if (options.showFolderPath && cache) {
        hierarchy = cache->Hierarchy().Get(mailboxDir, listing.FindUnique(MailboxListing::HierarchyFile), result);
    } else if (options.showFolderPath) {
        result = table.Fill(mailboxDir);
        if (result != 0) hierarchy = &table;
    } else if (cache) {
        cache->Hierarchy().Clear();
    }
    if (options.showNewMailFolder) AddNewMailFolder(options.newMailDir, options.newMailLabel);

    AppendPmm(mailboxDir, listing.Pmm(), options.showFolderPath, hierarchy);
    AppendMbx(mailboxDir, listing.Mbx(), cache ? &listing : nullptr, options.showFolderPath, hierarchy);
    if (cache) cache->EndScan();
}

void FolderList::AddNewMailFolder(const std::string& newMailDir, const std::string& label) {
    NewMailFolder newMail;
    newMail.Analyze(newMailDir, label);
    Append(newMail);
}

void FolderList::ScanPmm(const std::string& mailboxDir, bool useHierarchy, const pmHierarch* hierarchy) {
    AppendPmm(mailboxDir, Matching(mailboxDir, PmmPattern), useHierarchy, hierarchy);
}

void FolderList::ScanMbx(const std::string& mailboxDir, bool useHierarchy, const pmHierarch* hierarchy) {
    AppendMbx(mailboxDir, Matching(mailboxDir, MbxPattern), nullptr, useHierarchy, hierarchy);
}

void FolderList::AppendPmm(const std::string& mailboxDir, const Entries& entries, bool useHierarchy,
                           const pmHierarch* hierarchy) {
    pmm record;
    for (const MailboxListing::Entry& entry : entries) {
        if (const FolderCache::Reading* kept = KeptReading(entry, nullptr, true)) {
            AppendKept(entry.name, *kept, useHierarchy, hierarchy);
            continue;
        }
        record.SetFile(mailboxDir + entry.name);
        Read(record, entry, nullptr, true);
        AppendAnalyzed(record, useHierarchy, hierarchy);
    }
}

// The companions are listed at most once, and only when some companion's
// name differs in case from its ".MBX" file's (or not at all where the
// listing has them). A reading is kept only where
// the listing shows which companion it came from, or that there is none.
void FolderList::AppendMbx(const std::string& mailboxDir, const Entries& entries, const MailboxListing* listing,
                           bool useHierarchy, const pmHierarch* hierarchy) {
    FileNameIndex companions = listing ? FileNameIndex(listing->CompanionNames()) : FileNameIndex(mailboxDir, "*.PMG");
    mbx record;
    record.SetCompanionIndex(&companions);
    for (const MailboxListing::Entry& entry : entries) {
        bool ambiguous = false;
        const MailboxListing::Entry* companion =
            listing ? listing->FindUnique(MailboxListing::CompanionName(entry.name), &ambiguous) : nullptr;
        const bool keepable = listing && !ambiguous;
        if (const FolderCache::Reading* kept = KeptReading(entry, companion, keepable)) {
            AppendKept(entry.name, *kept, useHierarchy, hierarchy);
            continue;
        }
        record.SetFile(mailboxDir + entry.name);
        Read(record, entry, companion, keepable);
        AppendAnalyzed(record, useHierarchy, hierarchy);
    }
}

const FolderCache::Reading* FolderList::KeptReading(const MailboxListing::Entry& entry,
                                             const MailboxListing::Entry* companion, bool keepable) {
    return cache && keepable ? cache->Find(entry, companion) : nullptr;
}

// Analyzes the file and keeps what it read, a damaged file's status too,
// where a change can be told later; otherwise it is read again next time.
template <class Record>
void FolderList::Read(Record& record, const MailboxListing::Entry& entry, const MailboxListing::Entry* companion,
                      bool keepable) {
    record.Analyze();
    if (!cache) return;
    MailboxListing::Entry file, pmg;
    if (keepable && ListingTellsChange(record.status, companion) && StampsToKeep(record, entry, companion, file, pmg))
        cache->Keep(file, companion ? &pmg : nullptr,
                    {record.folderName, record.hierarchyKey, record.size, record.status});
    else
        cache->Forget(entry.name);
}

// A reading was kept only when its file opened, which SetFile's path allows
// only where it kept the listed name whole: the row's file name is that name.
void FolderList::AppendKept(const std::string& name, const FolderCache::Reading& kept, bool useHierarchy,
                            const pmHierarch* hierarchy) {
    records.emplace_back();
    FolderInfo& row = records.back();
    row.fileName = name;
    row.folderName = kept.folderName;
    row.size = kept.size;
    row.hierarchyKey = kept.hierarchyKey;
    row.status = kept.status;
    if (useHierarchy && hierarchy) row.folderPath = hierarchy->GetPath(kept.hierarchyKey);
    ++count;
    total += row.size;
}

// Listed whatever Analyze said: an unreadable file shows its status text.
template <class Record>
void FolderList::AppendAnalyzed(Record& record, bool useHierarchy, const pmHierarch* hierarchy) {
    if (useHierarchy && hierarchy) record.SetFolderPath(hierarchy->GetPath(record.hierarchyKey));
    Append(record);
}

void FolderList::Append(const FolderInfo& record) {
    records.push_back(record);  // slices off the reader's own fields
    ++count;
    total += record.size;
}

std::string FolderList::TotalText(bool compact) const { return FolderInfo::FormatSize(total, compact); }

bool FolderList::SameRows(const FolderList& other) const {
    return count == other.count && total == other.total && records.size() == other.records.size() &&
           std::equal(records.begin(), records.end(), other.records.begin(), SameRow);
}

// The texts are swapped, not copied: nothing here can run out of memory and
// leave the rows half taken over.
bool FolderList::UpdateRows(FolderList& other) {
    if (records.size() != other.records.size()) return false;
    for (size_t i = 0; i < records.size(); ++i)
        if (records[i].fileName != other.records[i].fileName) return false;
    for (size_t i = 0; i < records.size(); ++i) {
        FolderInfo& mine = records[i];
        FolderInfo& theirs = other.records[i];
        if (SameRow(mine, theirs)) continue;
        mine.folderPath.swap(theirs.folderPath);
        mine.folderName.swap(theirs.folderName);
        std::swap(mine.size, theirs.size);
        mine.hierarchyKey.swap(theirs.hierarchyKey);
        std::swap(mine.status, theirs.status);
    }
    count = other.count;
    total = other.total;
    return true;
}

void FolderList::SwapRows(FolderList& other) {
    records.swap(other.records);
    std::swap(count, other.count);
    std::swap(total, other.total);
}
