#pragma once

#include <string>
#include <vector>

// A list of texts as one string for the page's script, each text after the
// one before it written as what differs: a digit for the characters it
// shares with the start of the text before it, a digit for those it shares
// with its end, then the rest. Sorted names ("F000122.PMM", "F000123.PMM")
// come down to a few characters each. Digits are base 36 ("0"-"9", "a"-"z"),
// lengths are counted in UTF-16 code units as the script's strings count
// them, and a longer shared part is written in part. The string's first
// character separates the texts: one that none of them holds. Where every
// candidate occurs, the result is empty and the texts go as they are.
class FrontCoding {
public:
    static constexpr unsigned MaxShared = 35;

    static std::string Encode(const std::vector<std::string>& utf8);
};
