#pragma once

#include "platform/CaseFold.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Items found by a text compared without regard to case, among a set that is
// built once and then only searched. The slots lie in one small array and a
// search probes along it, rather than walking nodes allocated one by one: a
// scan searches once per folder, and the array of a large mailbox still fits
// a processor's cache. A slot holds only the text's hash and the item's
// number, so the caller says where an item's text is. Seeded per build, so
// that no file can be made in advance whose names all collide.
class FoldedIndex {
public:
    static constexpr size_t None = SIZE_MAX;

    // Forgets what was indexed and indexes textOf(items[i]) as i for each item.
    template <class Items, class TextOf>
    void Build(const Items& items, TextOf textOf) {
        Reset(items.size());
        for (size_t i = 0; i < items.size(); ++i) Add(Code(textOf(items[i])), i);
    }
    void Clear();

    // The first item, in the order indexed, whose text (textAt(item)) equals
    // text once folded; None when none does. several, where given, tells
    // whether more than one does. Along the probe run an equal text always
    // lies behind those indexed before it.
    template <class TextAt>
    size_t Find(std::string_view text, TextAt textAt, bool* several = nullptr) const {
        if (several) *several = false;
        if (slots.empty()) return None;
        const uint32_t code = Code(text);
        const size_t mask = slots.size() - 1;
        size_t found = None;
        for (size_t at = code & mask; slots[at].item != Free; at = (at + 1) & mask) {
            const Slot& slot = slots[at];
            if (slot.code != code || !FoldedEqual()(textAt(slot.item), text)) continue;
            if (found != None) {
                *several = true;
                break;
            }
            found = slot.item;
            if (!several) break;
        }
        return found;
    }

    // The most the index takes per item, for callers that bound their memory:
    // up to three slots, as the slots are at least half again the items and
    // a power of two.
    static constexpr size_t BytesPerItem = 3 * 2 * sizeof(uint32_t);

private:
    struct Slot {
        uint32_t code = 0;
        uint32_t item = Free;
    };
    static constexpr uint32_t Free = UINT32_MAX;

    uint32_t Code(std::string_view text) const { return static_cast<uint32_t>(hash(text)); }
    void Reset(size_t count);
    void Add(uint32_t code, size_t item);

    FoldedHash hash;
    std::vector<Slot> slots;  // a power of two of them, at most two thirds used
};
