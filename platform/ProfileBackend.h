#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Reads and writes single values of a private-profile file: lines of
// "key=value" under "[section]" lines. Two implementations share the layout:
// the Windows functions, and our own reader and writer for other systems.
// Names and texts are C strings, so both see the same text up to a NUL.
class ProfileBackend {
public:
    // A larger file is not a settings file of ours: it is never rewritten
    // (and our own reader reads it as missing). The limit also bounds the
    // memory a parse or a copy takes.
    static constexpr uint64_t MaxFileSize = 1u << 20;

    virtual ~ProfileBackend() = default;

    // Copies the value of key in section into buffer (size bytes, at least 1)
    // or, when the file, section or key is missing, defaultText with its
    // trailing blanks removed. Names match without regard to case; blanks
    // around the value and one pair of enclosing quotes are removed; the text
    // is cut to size - 1 characters. Returns the number of characters copied.
    virtual size_t Read(const char* section, const char* key, const char* defaultText, char* buffer,
                        size_t size, const char* path) = 0;

    // Sets key in section to text, creating file, section and key as needed.
    // A key of none removes the whole section, a text of none the key.
    // False when the file cannot be written or the write is refused by
    // IsSafeWrite; the file is unchanged then.
    virtual bool Write(const char* section, const char* key, const char* text, const char* path) = 0;

    // The working copy that a batch of writes goes to, so that the file
    // itself changes in one step (see ProfileFile): a copy of path beside it,
    // made when path is writable and not larger than MaxFileSize; putting it
    // in path's place; removing it when the batch is abandoned.
    virtual bool MakeWorkingCopy(const std::string& path, std::string& copyPath);
    virtual bool PutInPlace(const std::string& copyPath, const std::string& path);
    virtual void RemoveWorkingCopy(const std::string& copyPath);

    // Whether a write keeps the file's layout intact: no line break anywhere
    // (it would start new keys or sections), no ']' in the section name (it
    // ends the section line), no '=' in the key (the value would begin early)
    // and no key beginning with '[' (the line could read as a section line).
    static bool IsSafeWrite(const char* section, const char* key, const char* text);

    // The characters removed around names and values.
    static bool IsBlank(char c);

    // The Windows functions on Windows, our own file code elsewhere.
    static ProfileBackend& ForThisSystem();
};
