#include "store/FolderList.h"

#include "store/FolderReader.h"
#include "store/NewMailFolder.h"
#include "store/pmHierarch.h"
#include "ui/Trace.h"

#include <algorithm>
#include <new>
#include <utility>

namespace {

bool SameRow(const FolderInfo& a, const FolderInfo& b) {
    return a.size == b.size && a.status == b.status && a.fileName == b.fileName && a.folderName == b.folderName &&
           a.folderPath == b.folderPath && a.hierarchyKey == b.hierarchyKey;
}

bool SameFile(const FolderInfo& a, const FolderInfo& b) { return a.fileName == b.fileName; }

}  // namespace

FolderList::FolderList() = default;

FolderList::~FolderList() = default;

FolderSource& FolderList::Source() { return chosen ? *chosen : own; }

ScanResult FolderList::Scan(const ScanOptions& options) {
    Release();
    ScanResult result;
    FolderSource& source = Source();
    try {
        // One listing serves both kinds of folder file, each in the order the
        // directory lists them, and the source's look-ups.
        MailboxListing listing;
        source.BeginScan(options.mailboxDir, MailboxListing::WithLookUps, listing);
        const pmHierarch* hierarchy = result.table =
            source.Hierarchy(listing, options.showFolderPath, result.hierarchyFault);
        result.hierarchyRead = hierarchy || !options.showFolderPath;
        result.listingBroken = listing.Broken();
        readFault = result.listingBroken || result.hierarchyFault;
        if (options.showNewMailFolder) AddNewMailFolder(options.newMailDir, options.newMailLabel);
        pmmStart = records.size();
        Append(listing, false, hierarchy);
        mbxStart = records.size();
        Append(listing, true, hierarchy);
        source.EndScan();
    } catch (const std::bad_alloc&) {
        // The host's memory is ours to give back: whatever was listed goes,
        // and the panel shows an empty list it can refresh later.
        Release();
        source.Abandon();
        outOfMemory = true;
        result.table = nullptr;
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
    pmmStart = mbxStart = 0;
    outOfMemory = false;
    readFault = false;
}

FolderKind FolderList::KindOf(size_t index) const {
    if (index < pmmStart) return FolderKind::NewMail;
    return index < mbxStart ? FolderKind::Pmm : FolderKind::Mbx;
}

FolderList::Records FolderList::TakeRecords() {
    Records taken;
    taken.swap(records);
    Release();
    return taken;
}

void FolderList::AddNewMailFolder(const std::string& newMailDir, const std::string& label) {
    NewMailFolder newMail;
    newMail.Analyze(newMailDir, label);
    records.push_back(newMail);  // the row's part: the new-mail folder adds no fields
    readFault = readFault || newMail.ioError;
    ++count;
    total += newMail.size;
}

// Listed whatever the reading gave: an unreadable file shows its status text.
// The paths are looked up once every file is read: the reads go through the
// kernel, which would push the folder tree out of the processor's caches
// between two look-ups.
void FolderList::Append(const MailboxListing& listing, bool mbx, const pmHierarch* hierarchy) {
    FolderSource& source = Source();
    const size_t first = records.size();
    for (const MailboxListing::Entry& entry : mbx ? listing.Mbx() : listing.Pmm()) {
        bool ambiguous = false;
        const MailboxListing::Entry* companion =
            mbx ? listing.FindUnique(MailboxListing::CompanionName(entry.name), &ambiguous) : nullptr;
        records.emplace_back();
        FolderInfo& row = records.back();
        source.Read({entry, mbx, companion, ambiguous}, row);
        readFault = readFault || row.ioError;
        ++count;
        total += row.size;
    }
    if (!hierarchy) return;
    for (size_t i = first; i < records.size(); ++i)
        records[i].SetFolderPath(hierarchy->GetPath(records[i].hierarchyKey));
}

std::string FolderList::TotalText(bool compact) const { return FolderInfo::FormatSize(total, compact); }

// The texts are swapped, not copied: nothing here can run out of memory and
// leave the rows half taken over.
void FolderList::UpdateRows(FolderList& other) {
    for (size_t i = 0; i < records.size() && i < other.records.size(); ++i) {
        FolderInfo& mine = records[i];
        FolderInfo& theirs = other.records[i];
        mine.folderPath.swap(theirs.folderPath);
        mine.folderName.swap(theirs.folderName);
        std::swap(mine.size, theirs.size);
        mine.hierarchyKey.swap(theirs.hierarchyKey);
        std::swap(mine.status, theirs.status);
        std::swap(mine.ioError, theirs.ioError);
    }
    count = other.count;
    total = other.total;
}

void FolderList::SwapRows(FolderList& other) {
    records.swap(other.records);
    std::swap(count, other.count);
    std::swap(total, other.total);
    std::swap(pmmStart, other.pmmStart);
    std::swap(mbxStart, other.mbxStart);
}

RowUpdate FolderList::ChooseRowUpdate(const FolderList& shown, const FolderList& scanned, bool mustRebuild) {
    const Records& mine = shown.records;
    const Records& theirs = scanned.records;
    if (mustRebuild || mine.size() != theirs.size()) return RowUpdate::Rebuild;
    if (!std::equal(mine.begin(), mine.end(), theirs.begin(), SameFile)) return RowUpdate::Rebuild;
    if (shown.total == scanned.total && std::equal(mine.begin(), mine.end(), theirs.begin(), SameRow))
        return RowUpdate::Unchanged;
    return RowUpdate::InPlace;
}
