#include "store/FolderCache.h"

#include "store/FolderInfo.h"

#include <utility>

namespace {

// The name to keep for a companion: none where it is the one formed from
// the folder file's name, as nearly always.
std::string OwnCompanionName(const std::string& fileName, const MailboxListing::Entry& companion) {
    return companion.name == MailboxListing::CompanionName(fileName) ? std::string() : companion.name;
}

// The stamps to keep a reading under: those of the files as they were opened
// where opening told them, for they belong to what was read; else the
// listing's. False where the companion opened is not the one listed, or one
// was opened where none is listed.
FileStamp Either(const FileStamp& opened, const FileStamp& listed) { return opened.known ? opened : listed; }

bool StampsToKeep(const FolderSource::Folder& folder, const FolderSource::Opened& opened,
                  MailboxListing::Entry& file, MailboxListing::Entry& pmg) {
    file = {folder.file.name, Either(opened.file, folder.file.stamp)};
    if (!folder.isMbx) return true;
    if (!folder.companion) return !opened.companion.known;
    if (opened.companion.known && opened.companionName != folder.companion->name) return false;
    pmg = {folder.companion->name, Either(opened.companion, folder.companion->stamp)};
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

}  // namespace

// The reader of its own is made before inner refers to it: it is declared first.
FolderCache::FolderCache() : inner(own), folders(0, FoldedHash::Seeded(this)), hierarchy(RereadEvery) {}

FolderCache::FolderCache(FolderSource& wrapped)
    : inner(wrapped), folders(0, FoldedHash::Seeded(this)), hierarchy(RereadEvery) {}

// Reading everything keeps the entries, so that their memory serves again.
// Taking back kept readings needs every file's stamp; reading everything
// takes them from the files as they are opened where the listing does not
// carry them.
void FolderCache::BeginScan(const std::string& dir, MailboxListing::Contents contents, MailboxListing& listing) {
    if (dir != mailboxDir) {
        Clear();
        mailboxDir = dir;
    }
    readingEverything = readEverything;
    readEverything = false;
    if (readingEverything) hierarchy.Clear();
    ++scan;
    reused = 0;
    inner.BeginScan(dir, readingEverything ? contents : MailboxListing::WithStamps, listing);
}

const pmHierarch* FolderCache::Hierarchy(const MailboxListing& listing, bool wanted, bool& ioError) {
    ioError = false;
    if (!wanted) hierarchy.Clear();
    return wanted ? hierarchy.Get(mailboxDir, listing.FindUnique(MailboxListing::HierarchyFile), ioError) : nullptr;
}

void FolderCache::Read(const Folder& folder, FolderInfo& row, Opened*) {
    // Which of several companions differing in case a reader opens is not
    // known: such a folder is read on every scan.
    const bool keepable = !folder.ambiguous;
    if (const Reading* kept = keepable ? Find(folder) : nullptr) {
        // A reading was kept only when its file opened, which the reader's
        // path allows only where it kept the listed name whole.
        row.fileName = folder.file.name;
        row.folderName = kept->folderName;
        row.hierarchyKey = kept->hierarchyKey;
        row.size = kept->size;
        row.status = kept->status;
        return;
    }
    Opened opened;
    inner.Read(folder, row, &opened);
    MailboxListing::Entry file, pmg;
    // A file that failed for an I/O error may read whole on the next scan.
    if (keepable && !row.ioError && ListingTellsChange(row.status, folder.companion) &&
        StampsToKeep(folder, opened, file, pmg))
        Keep(file, folder.companion ? &pmg : nullptr, row);
    else
        folders.erase(folder.file.name);
}

void FolderCache::EndScan() {
    for (auto it = folders.begin(); it != folders.end();) {
        if (it->second.lastScan != scan)
            it = folders.erase(it);
        else
            ++it;
    }
    inner.EndScan();
}

void FolderCache::Clear() {
    readEverything = false;
    readingEverything = false;
    folders.clear();
    hierarchy.Clear();
    mailboxDir.clear();
}

// What it kept may be half made.
void FolderCache::Abandon() {
    Clear();
    inner.Abandon();
}

const FolderCache::Reading* FolderCache::Find(const Folder& folder) {
    if (readingEverything) return nullptr;
    auto it = folders.find(folder.file.name);
    if (it == folders.end()) return nullptr;
    Kept& kept = it->second;
    if (!kept.file.Same(folder.file.stamp)) return nullptr;
    if (folder.companion) {
        if (!kept.companion.Same(folder.companion->stamp) ||
            kept.companionName != OwnCompanionName(folder.file.name, *folder.companion))
            return nullptr;
    } else if (kept.companion.known) {
        return nullptr;
    }
    if (scan % RereadEvery == kept.phase) return nullptr;
    kept.lastScan = scan;
    ++reused;
    return &kept.reading;
}

void FolderCache::Keep(const MailboxListing::Entry& file, const MailboxListing::Entry* companion, const FolderInfo& row) {
    if (!file.stamp.known || (companion && !companion->stamp.known)) {
        folders.erase(file.name);
        return;
    }
    auto placed = folders.try_emplace(file.name);
    Kept& kept = placed.first->second;
    if (placed.second) kept.phase = nextPhase++ % RereadEvery;
    kept.file = file.stamp;
    kept.companion = companion ? companion->stamp : FileStamp();
    kept.companionName = companion ? OwnCompanionName(file.name, *companion) : std::string();
    kept.reading = {row.folderName, row.hierarchyKey, row.size, row.status};
    kept.lastScan = scan;
}
