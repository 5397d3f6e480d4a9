#pragma once

#include "platform/ProfileBackend.h"

#include <cstdint>
#include <string>

// Our own reader and writer of the private-profile layout, for systems
// without the Windows functions. Reads behave like them; a write changes only
// the line it concerns (or appends one) and keeps every other byte.
//
// Lines end in CR LF, LF or a lone CR. A line is, after trimming blanks,
// empty; a section line ('[', the name, the last ']' on the line); or a key
// line: the key up to the first '=', the value after it. A key line without
// '=' names a key that has no value and reads as missing. Lines before the
// first section line form the section with the empty name. Only the first
// section of a name is read and written, and in it the first key of a name.
class IniFile : public ProfileBackend {
public:
    size_t Read(const char* section, const char* key, const char* defaultText, char* buffer, size_t size,
                const char* path) override;
    bool Write(const char* section, const char* key, const char* text, const char* path) override;

    // The file's bytes after the write, without touching any file; false when
    // the write is refused. Exposed for the tests and the fuzz target.
    static bool Apply(std::string& bytes, const char* section, const char* key, const char* text);

    // The value as Read would find it in bytes; false when it is missing.
    static bool Find(const std::string& bytes, const char* section, const char* key, std::string& value);
};
