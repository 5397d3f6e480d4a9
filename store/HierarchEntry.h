#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// One line of the mail client's folder tree file "hierarch.pm":
//   type, number, key, parent key, name
// Numbers are decimal; texts are plain or double-quoted with backslash escapes.
class HierarchEntry {
public:
    static constexpr int32_t RootType = 2;  // a root ends every path

    HierarchEntry() = default;
    HierarchEntry(const HierarchEntry&) = default;
    HierarchEntry& operator=(const HierarchEntry&) = default;
    HierarchEntry(HierarchEntry&&) = default;
    HierarchEntry& operator=(HierarchEntry&&) = default;
    virtual ~HierarchEntry() = default;

    // Clears the entry and fills it from one line (without its line end).
    // False when any of the five fields is missing or malformed.
    bool Parse(const std::string& line);

    void Clear();

    // Each reader starts at cursor (an offset into line), skips leading
    // blanks, reads one field and leaves cursor behind the comma that ends
    // it, or at the end of the line. Neither ever reads past the line's end.
    static bool ReadNumberField(const std::string& line, size_t& cursor, int32_t& value);
    static bool ReadTextField(const std::string& line, size_t& cursor, std::string& text);

    int32_t type = -1;
    std::string key;
    std::string parentKey;
    std::string name;
};
