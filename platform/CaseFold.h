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

// A byte of code page 1252 folded as Windows folds names when it compares
// them without regard to case: the ASCII letters, the accented capitals
// from 0xC0 to 0xDE but the sign 0xD7, and the capitals 0x8A, 0x8C, 0x8E and
// 0x9F (whose small letters lie elsewhere). Type-ahead finds "Äpfel" by "ä".
inline unsigned char FoldCase1252(unsigned char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7)) return static_cast<unsigned char>(c + 0x20);
    if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 0x10);
    return c == 0x9F ? 0xFF : c;
}

// Whether text is wanted, or only begins with it when prefix is set, once
// both are folded by FoldCase1252.
inline bool MatchesFolded1252(std::string_view text, std::string_view wanted, bool prefix) {
    if (prefix ? text.size() < wanted.size() : text.size() != wanted.size()) return false;
    for (size_t i = 0; i < wanted.size(); ++i)
        if (FoldCase1252(static_cast<unsigned char>(text[i])) != FoldCase1252(static_cast<unsigned char>(wanted[i])))
            return false;
    return true;
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
