#include "store/KeptHierarchy.h"

#include "store/pmHierarch.h"

KeptHierarchy::KeptHierarchy(unsigned rereadEvery) : rereadEvery(rereadEvery) {}

KeptHierarchy::~KeptHierarchy() = default;

const pmHierarch* KeptHierarchy::Get(const std::string& mailboxDir, const MailboxListing::Entry* entry,
                                     bool& ioError) {
    ioError = false;
    if (table && reusable && entry && entry->name == name && entry->stamp.Same(stamp) && ++served < rereadEvery) {
        return table.get();
    }
    // The old table goes first: two at once would take twice the memory.
    Clear();
    served = 0;
    table = std::make_unique<pmHierarch>();
    const int filled = table->Fill(mailboxDir);
    ioError = table->IoError();
    if (filled == 0) {
        table.reset();
        return nullptr;
    }
    // Kept under the stamp of the file as opened where opening told it (it
    // belongs to what was read), else the listing's; the file opened must be
    // the one listed, and read to its end.
    const FileStamp& opened = table->OpenedStamp();
    if (!entry || !table->ReadCleanly() || (opened.known && table->OpenedName() != entry->name)) return table.get();
    const FileStamp& read = opened.known ? opened : entry->stamp;
    reusable = read.known && table->BytesRead() == read.length;
    if (reusable) {
        name = entry->name;
        stamp = read;
    }
    return table.get();
}

void KeptHierarchy::Clear() {
    table.reset();
    reusable = false;
    name.clear();
    stamp = FileStamp();
}
