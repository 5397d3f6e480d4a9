#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Texts compared without regard to case, the way folder keys and file names
// are compared: ASCII letters fold, every other byte stands for itself.
inline char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Negative, zero or positive as a sorts before, with or after b once folded.
inline int CompareFolded(const std::string& a, const std::string& b) {
    size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = static_cast<unsigned char>(FoldCase(a[i]));
        unsigned char y = static_cast<unsigned char>(FoldCase(b[i]));
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

// Hashing and equality of folded texts for hashed containers. A seed that
// differs from table to table keeps a file from being written in advance so
// that all its keys fall into one bucket.
struct FoldedHash {
    // A seed from the time and the owner's address.
    static FoldedHash Seeded(const void* owner) {
        return {static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                reinterpret_cast<uintptr_t>(owner)};
    }

    uint64_t seed = 0;
    size_t operator()(std::string_view text) const {
        uint64_t hash = 14695981039346656037ull ^ seed;  // FNV-1a
        for (char c : text) hash = (hash ^ static_cast<unsigned char>(FoldCase(c))) * 1099511628211ull;
        return static_cast<size_t>(hash ^ (hash >> 29));
    }
};

struct FoldedEqual {
    bool operator()(std::string_view a, std::string_view b) const {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (FoldCase(a[i]) != FoldCase(b[i])) return false;
        return true;
    }
};
