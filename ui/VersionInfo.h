#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The version resource of a file: its fixed version numbers and the strings
// of one of its translations.
class VersionInfo {
public:
    // Reads the file's version block; 1 when it was read. The strings are
    // then those of the translation at the index, or of the first when the
    // file lists fewer; of language 0000 in code page 1200 when it lists none.
    int Load(const std::string& fileName, int translationIndex);
    void Release();

    // The named string of the chosen translation; empty when none.
    std::string QueryString(const std::string& name) const;

    // 1 with the four parts of the file version when the block has them.
    int QueryFileVersion(uint16_t& major, uint16_t& minor, uint16_t& third, uint16_t& fourth) const;

    // "v2.06" for 2.6, a letter for a third part (1 gives "a") and
    // " Build 001A" for a fourth part of 26; empty without a version.
    std::string VersionText() const;

    // "\StringFileInfo\040704B0\" for the chosen translation.
    const std::string& Prefix() const { return prefix; }

private:
    // VerQueryValueA writes the ANSI copies of Unicode strings into the
    // block's spare room, so even the queries change it.
    mutable std::vector<unsigned char> block;
    std::string prefix;
};
