#include "report/scan/ReadAheadReader.h"

#include "platform/DirectoryHandle.h"
#include "report/scan/ThreadBudget.h"
#include "store/FolderInfo.h"
#include "store/mbx.h"
#include "store/pmm.h"
#include "ui/Trace.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <new>

namespace {

// How long a sleeping thread goes without looking at the stop.
constexpr std::chrono::milliseconds StopLook{50};
// How often the scan looks for a reading it waits for before it sleeps: a
// head from a warm cache takes a few microseconds.
constexpr int Spins = 64;

}  // namespace

// One reading thread's records, which serve all the files it reads.
struct ReadAheadReader::Records {
    pmm pmmRecord;
    mbx mbxRecord;
};

// What the scan's thread and its helpers share. The scan writes a slot's
// file and then publishes it; the helper that claims it writes the reading
// and then marks it done; the scan takes the reading and publishes the slot
// again, for the file a window further on.
struct ReadAheadReader::Ahead {
    struct Slot {
        // The file, as the listing gives it; entry only names it, since the
        // listing may go before a helper does.
        const MailboxListing::Entry* entry = nullptr;
        std::string path;
        bool mbx = false;
        bool ambiguous = false;
        bool hasCompanion = false;
        std::string companion;
        // The reading.
        FolderInfo row;
        Opened opened;
        std::vector<std::string> trace;
        bool outOfMemory = false;
        std::atomic<bool> done{false};
    };

    Ahead(size_t size, size_t total, ThreadBudget& budget)
        : slots(new Slot[size]), size(size), total(total), stop(budget.StopFlag()), budget(&budget) {}

    Slot& SlotOf(size_t index) { return slots[index % size]; }
    bool Quit() const { return quit || *stop; }

    // A helper's life: reads the files published as it claims them, until
    // every file is claimed or it is told to end; then gives its thread back
    // to the budget.
    static void Help(std::shared_ptr<Ahead> ahead);
    // Claims the next file published, if any, and reads it into its slot.
    bool HelpOnce(Records& records);
    void ReadInto(Slot& slot, Records& records);
    // Whether a file is published that no one claimed; sleeps until there
    // is one while more files are to come. Under mutex.
    bool WaitForWork(std::unique_lock<std::mutex>& lock);
    // The scan waits until the slot's reading is done, reading files ahead
    // itself meanwhile; false when the run was stopped first.
    bool WaitUntilDone(Slot& slot, Records& records);

    std::unique_ptr<Slot[]> slots;
    const size_t size;
    const size_t total;  // the files of the scan
    DirectoryHandle directory;
    const std::shared_ptr<const std::atomic<bool>> stop;  // the budget's, which may go first

    std::atomic<size_t> published{0};  // files [0, published) may be claimed
    std::atomic<size_t> next{0};       // the first file not claimed
    std::atomic<bool> quit{false};
    std::mutex mutex;
    std::condition_variable moreWork;  // helpers sleep on it
    std::condition_variable slotDone;  // the scan sleeps on it
    std::atomic<unsigned> sleepers{0};
    std::atomic<bool> scanWaiting{false};
    ThreadBudget* budget;  // under mutex; null once the reader has left its helpers
};

void ReadAheadReader::Ahead::Help(std::shared_ptr<Ahead> ahead) {
    Ahead& a = *ahead;
    Records records;
    while (!a.Quit()) {
        if (a.HelpOnce(records)) continue;
        std::unique_lock<std::mutex> lock(a.mutex);
        if (!a.WaitForWork(lock)) break;
    }
    std::lock_guard<std::mutex> lock(a.mutex);
    if (a.budget) a.budget->Give(1);
}

bool ReadAheadReader::Ahead::HelpOnce(Records& records) {
    size_t k = next;
    do {
        if (k >= published) return false;
    } while (!next.compare_exchange_weak(k, k + 1));
    Slot& slot = SlotOf(k);
    ReadInto(slot, records);
    slot.done = true;
    if (scanWaiting) {
        std::lock_guard<std::mutex> lock(mutex);
        slotDone.notify_all();
    }
    return true;
}

// As FolderReader reads a file: a companion the listing names is opened as
// it stands, none is looked for where it names none, and where it names
// several the record looks for itself. Its trace lines stay with the
// reading, for the scan to write where it takes it.
void ReadAheadReader::Ahead::ReadInto(Slot& slot, Records& records) {
    pmm& pmmRecord = records.pmmRecord;
    mbx& mbxRecord = records.mbxRecord;
    pmmRecord.HoldTraceIn(&slot.trace);
    mbxRecord.HoldTraceIn(&slot.trace);
    try {
        if (slot.mbx) {
            mbxRecord.SetFile(slot.path, &directory);
            if (!slot.ambiguous) mbxRecord.SetListedCompanion(slot.hasCompanion ? &slot.companion : nullptr);
            mbxRecord.Analyze();
            slot.opened.file = mbxRecord.stamp;
            slot.opened.companionName.swap(mbxRecord.companionName);
            slot.opened.companion = mbxRecord.companionStamp;
            slot.row.TakeReading(mbxRecord);
        } else {
            pmmRecord.SetFile(slot.path, &directory);
            pmmRecord.Analyze();
            slot.opened.file = pmmRecord.stamp;
            slot.opened.companionName.clear();
            slot.opened.companion = FileStamp();
            slot.row.TakeReading(pmmRecord);
        }
    } catch (const std::bad_alloc&) {
        slot.outOfMemory = true;
    }
}

bool ReadAheadReader::Ahead::WaitForWork(std::unique_lock<std::mutex>& lock) {
    ++sleepers;
    while (!Quit() && next >= published && published < total) moreWork.wait_for(lock, StopLook);
    --sleepers;
    return !Quit() && next < published;
}

bool ReadAheadReader::Ahead::WaitUntilDone(Slot& slot, Records& records) {
    while (!slot.done && !*stop && HelpOnce(records)) {
    }
    for (int i = 0; i < Spins; ++i) {
        if (slot.done) return true;
        std::this_thread::yield();
    }
    std::unique_lock<std::mutex> lock(mutex);
    scanWaiting = true;
    while (!slot.done && !*stop) slotDone.wait_for(lock, StopLook);
    scanWaiting = false;
    return slot.done;
}

ReadAheadReader::ReadAheadReader(ThreadBudget* budget, size_t window)
    : budget(budget), window(std::max<size_t>(1, window)) {}

ReadAheadReader::~ReadAheadReader() { Finish(); }

bool ReadAheadReader::Stopped() const { return budget && budget->Stopped(); }

void ReadAheadReader::BeginScan(const std::string& dir, MailboxListing::Contents contents, MailboxListing& list) {
    Finish();
    plain.BeginScan(dir, contents, list);
    consumed = published = started = 0;
    listing = nullptr;
    const size_t total = list.Pmm().size() + list.Mbx().size();
    if (!budget || budget->Size() < 2 || total < 2) return;

    mailboxDir = dir;
    listing = &list;
    ahead = std::make_shared<Ahead>(std::min(window, total), total, *budget);
    ahead->directory.Open(dir);
    helpers.reserve(budget->Size() - 1);
    if (!records) records = std::make_unique<Records>();
    Publish();
}

const pmHierarch* ReadAheadReader::Hierarchy(const MailboxListing& list, bool wanted, bool& ioError) {
    return plain.Hierarchy(list, wanted, ioError);
}

void ReadAheadReader::Read(const Folder& folder, FolderInfo& row, Opened* opened) {
    if (Stopped()) {
        GiveUnread(folder, row);
        return;
    }
    const size_t c = consumed;
    Ahead::Slot* slot = ahead && c < published ? &ahead->SlotOf(c) : nullptr;
    if (!slot || slot->entry != &folder.file) {
        // Without helpers, or not the file the listing puts next: read here.
        plain.Read(folder, row, opened);
        return;
    }
    ++consumed;
    size_t claim = c;
    if (ahead->next.compare_exchange_strong(claim, c + 1)) {
        plain.Read(folder, row, opened);  // no helper got to it: read here, its trace lines in place
    } else if (ahead->WaitUntilDone(*slot, *records)) {
        slot->done = false;
        if (slot->outOfMemory) throw std::bad_alloc();
        for (const std::string& line : slot->trace) Trace("%s", line.c_str());
        slot->trace.clear();
        row.TakeReading(slot->row);
        if (opened) {
            opened->file = slot->opened.file;
            opened->companionName.swap(slot->opened.companionName);
            opened->companion = slot->opened.companion;
        }
    } else {
        GiveUnread(folder, row);
    }
    Publish();
}

// A stopped run shows none of its rows: they only need to come at once,
// and their sizes are not known.
void ReadAheadReader::GiveUnread(const Folder& folder, FolderInfo& row) {
    row.fileName = folder.file.name;
    row.status = folder.isMbx ? FolderStatus::MbxCannotOpen : FolderStatus::CannotOpen;
    row.ioError = true;
}

// A batch is an eighth of the window, so that the helpers are woken once for
// many files, and the window is never short of more than that.
void ReadAheadReader::Publish() {
    Ahead& a = *ahead;
    if (Stopped()) return;  // a helper may still be inside any slot
    const size_t limit = std::min(a.total, consumed + a.size);
    if (limit == published || (limit < a.total && limit - published < std::max<size_t>(1, a.size / 8))) return;
    const size_t pmmCount = listing->Pmm().size();
    for (; published < limit; ++published) {
        Ahead::Slot& slot = a.SlotOf(published);
        const bool isMbx = published >= pmmCount;
        const MailboxListing::Entry& entry = isMbx ? listing->Mbx()[published - pmmCount] : listing->Pmm()[published];
        slot.entry = &entry;
        slot.path.assign(mailboxDir).append(entry.name);
        slot.mbx = isMbx;
        slot.ambiguous = false;
        slot.hasCompanion = false;
        if (isMbx) {
            const MailboxListing::Entry* companion =
                listing->FindUnique(MailboxListing::CompanionName(entry.name), &slot.ambiguous);
            slot.hasCompanion = companion != nullptr;
            if (companion) slot.companion = companion->name;
        }
    }
    a.published = published;
    if (a.sleepers) {
        std::lock_guard<std::mutex> lock(a.mutex);
        a.moreWork.notify_all();
    }
    AddHelpers();
}

// Helpers join while at least two files are left unclaimed: one for the scan
// to read while the helper's first request is in flight.
void ReadAheadReader::AddHelpers() {
    Ahead& a = *ahead;
    const size_t claimed = a.next;
    const size_t unclaimed = a.total > claimed ? a.total - claimed : 0;
    const size_t room = helpers.capacity() - helpers.size();
    if (unclaimed < 2 || room == 0 || Stopped()) return;
    unsigned wanted = static_cast<unsigned>(std::min(room, unclaimed - 1));
    for (unsigned got = budget->Take(wanted); got > 0; --got) {
        try {
            helpers.emplace_back(Ahead::Help, ahead);
            ++started;
        } catch (...) {
            budget->Give(got);  // the system has no thread, or no memory for one, to give
            return;
        }
    }
}

void ReadAheadReader::Finish() {
    if (ahead) {
        const bool leave = Stopped();
        {
            std::lock_guard<std::mutex> lock(ahead->mutex);
            ahead->quit = true;
            if (leave) ahead->budget = nullptr;
        }
        ahead->moreWork.notify_all();
        for (std::thread& helper : helpers) {
            if (leave)
                helper.detach();
            else
                helper.join();
        }
        helpers.clear();
        ahead.reset();
    }
    listing = nullptr;
}

void ReadAheadReader::EndScan() {
    Finish();
    plain.EndScan();
}

void ReadAheadReader::Abandon() {
    Finish();
    records.reset();
    plain.Abandon();
    std::string().swap(mailboxDir);
}
