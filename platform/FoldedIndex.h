#pragma once

#include "platform/CaseFold.h"

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

// Items found by a text compared without regard to case, among a set that is
// built once and then only searched. The slots lie in one array and a search
// probes along it, rather than walking nodes allocated one by one: a scan
// searches once per folder. The texts are viewed, not copied, so they must not
// change or move while the index is searched. Seeded per build, so that no
// file can be made in advance whose names all collide.
class FoldedIndex {
public:
    static constexpr size_t None = SIZE_MAX;

    // Forgets what was indexed and indexes textOf(items[i]) as i for each item.
    template <class Items, class TextOf>
    void Build(const Items& items, TextOf textOf) {
        Reset(items.size());
        for (size_t i = 0; i < items.size(); ++i) Add(textOf(items[i]), i);
    }
    void Clear();

    // The first item, in the order indexed, whose text equals text once
    // folded; None when none does. several, where given, tells whether more
    // than one does.
    size_t Find(std::string_view text, bool* several = nullptr) const;

    // The most the index takes per item, for callers that bound their memory:
    // up to three slots, as the slots are at least half again the items and
    // a power of two.
    static constexpr size_t BytesPerItem = 3 * (sizeof(std::string_view) + 2 * sizeof(uint32_t));

private:
    struct Slot {
        std::string_view text;
        uint32_t hash = 0;
        uint32_t item = Free;
    };
    static constexpr uint32_t Free = UINT32_MAX;

    void Reset(size_t count);
    void Add(std::string_view text, size_t item);

    FoldedHash hash;
    std::vector<Slot> slots;  // a power of two of them, at most two thirds used
};
