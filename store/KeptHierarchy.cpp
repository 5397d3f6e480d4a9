#include "store/KeptHierarchy.h"

#include "store/pmHierarch.h"

KeptHierarchy::KeptHierarchy() = default;

KeptHierarchy::~KeptHierarchy() = default;

const pmHierarch* KeptHierarchy::Get(const std::string& mailboxDir, const MailboxListing::Entry* entry, int& result) {
    if (table && reusable && entry && entry->name == name && entry->stamp.Same(stamp)) {
        result = 1;
        return table.get();
    }
    // The old table goes first: two at once would take twice the memory.
    Clear();
    table = std::make_unique<pmHierarch>();
    result = table->Fill(mailboxDir);
    if (result == 0) {
        table.reset();
        return nullptr;
    }
    reusable = entry && entry->stamp.known && table->ReadCleanly() && table->BytesRead() == entry->stamp.length;
    if (reusable) {
        name = entry->name;
        stamp = entry->stamp;
    }
    return table.get();
}

void KeptHierarchy::EndScan() {
    if (!reusable) table.reset();
}

void KeptHierarchy::Clear() {
    table.reset();
    reusable = false;
    name.clear();
    stamp = FileStamp();
}
