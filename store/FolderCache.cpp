#include "store/FolderCache.h"

#include <chrono>
#include <utility>

namespace {

// The name to keep for a companion: none where it is the one formed from
// the folder file's name, as nearly always.
std::string OwnCompanionName(const std::string& fileName, const MailboxListing::Entry& companion) {
    return companion.name == MailboxListing::CompanionName(fileName) ? std::string() : companion.name;
}

}  // namespace

FolderCache::FolderCache()
    : folders(0, FoldedHash{static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                            reinterpret_cast<uintptr_t>(this)}),
      hierarchy(RereadEvery) {}

// Reading everything keeps the entries, so that their memory serves again.
void FolderCache::BeginScan(const std::string& dir) {
    if (dir != mailboxDir) {
        Clear();
        mailboxDir = dir;
    }
    readingEverything = readEverything;
    readEverything = false;
    if (readingEverything) hierarchy.Clear();
    ++scan;
    reused = 0;
}

void FolderCache::EndScan() {
    for (auto it = folders.begin(); it != folders.end();) {
        if (it->second.lastScan != scan)
            it = folders.erase(it);
        else
            ++it;
    }
    hierarchy.EndScan();
}

void FolderCache::Clear() {
    readEverything = false;
    readingEverything = false;
    folders.clear();
    hierarchy.Clear();
    mailboxDir.clear();
}

const FolderCache::Reading* FolderCache::Find(const MailboxListing::Entry& file,
                                              const MailboxListing::Entry* companion) {
    if (readingEverything) return nullptr;
    auto it = folders.find(file.name);
    if (it == folders.end()) return nullptr;
    Kept& kept = it->second;
    if (!kept.file.Same(file.stamp)) return nullptr;
    if (companion) {
        if (!kept.companion.Same(companion->stamp) || kept.companionName != OwnCompanionName(file.name, *companion))
            return nullptr;
    } else if (kept.companion.known) {
        return nullptr;
    }
    if (scan % RereadEvery == kept.phase) return nullptr;
    kept.lastScan = scan;
    ++reused;
    return &kept.reading;
}

void FolderCache::Keep(const MailboxListing::Entry& file, const MailboxListing::Entry* companion, Reading reading) {
    if (!file.stamp.known || (companion && !companion->stamp.known)) {
        Forget(file.name);
        return;
    }
    auto placed = folders.try_emplace(file.name);
    Kept& kept = placed.first->second;
    if (placed.second) kept.phase = nextPhase++ % RereadEvery;
    kept.file = file.stamp;
    kept.companion = companion ? companion->stamp : FileStamp();
    kept.companionName = companion ? OwnCompanionName(file.name, *companion) : std::string();
    kept.reading = std::move(reading);
    kept.lastScan = scan;
}

void FolderCache::Forget(const std::string& fileName) { folders.erase(fileName); }
