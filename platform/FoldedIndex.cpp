#include "platform/FoldedIndex.h"

void FoldedIndex::Clear() { std::vector<Slot>().swap(slots); }

void FoldedIndex::Reset(size_t count) {
    hash = FoldedHash::Seeded(this);
    size_t size = 8;
    while (size < count + count / 2) size *= 2;
    slots.assign(size, Slot());
}

// Items beyond the slots' counting range, which no file on a real disk comes
// near, are not indexed.
void FoldedIndex::Add(uint32_t code, size_t item) {
    if (item >= Free) return;
    const size_t mask = slots.size() - 1;
    size_t at = code & mask;
    while (slots[at].item != Free) at = (at + 1) & mask;
    slots[at] = {code, static_cast<uint32_t>(item)};
}
