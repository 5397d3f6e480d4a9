#include "platform/FoldedIndex.h"

#include <chrono>

void FoldedIndex::Clear() { std::vector<Slot>().swap(slots); }

void FoldedIndex::Reset(size_t count) {
    hash.seed = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                reinterpret_cast<uintptr_t>(this);
    size_t size = 8;
    while (size < count + count / 2) size *= 2;
    slots.assign(size, Slot());
}

// Along the probe run an equal text always lies behind those indexed before
// it, so that Find meets the first one first. Items beyond the slots' counting
// range, which no file on a real disk comes near, are not indexed.
void FoldedIndex::Add(std::string_view text, size_t item) {
    if (item >= Free) return;
    const uint32_t code = static_cast<uint32_t>(hash(text));
    const size_t mask = slots.size() - 1;
    size_t at = code & mask;
    while (slots[at].item != Free) at = (at + 1) & mask;
    slots[at] = {text, code, static_cast<uint32_t>(item)};
}

size_t FoldedIndex::Find(std::string_view text, bool* several) const {
    if (several) *several = false;
    if (slots.empty()) return None;
    const uint32_t code = static_cast<uint32_t>(hash(text));
    const size_t mask = slots.size() - 1;
    size_t found = None;
    for (size_t at = code & mask; slots[at].item != Free; at = (at + 1) & mask) {
        const Slot& slot = slots[at];
        if (slot.hash != code || !FoldedEqual()(slot.text, text)) continue;
        if (found != None) {
            *several = true;
            break;
        }
        found = slot.item;
        if (!several) break;
    }
    return found;
}
