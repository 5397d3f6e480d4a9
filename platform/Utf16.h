#pragma once

#include <cstddef>
#include <string>

// Windows names files in UTF-16; the report works in UTF-8. A name that is
// not well-formed UTF-16 (a surrogate without its partner, which Windows
// allows in file names) keeps that surrogate in its three-byte form, so that
// every name a listing gives opens the same file again; the report shows it
// to people as U+FFFD.
#ifdef _WIN32
using Utf16Char = wchar_t;
#else
using Utf16Char = char16_t;
#endif
using Utf16Text = std::basic_string<Utf16Char>;

class Utf16 {
public:
    // False for bytes that are not UTF-8 (a lone surrogate's three-byte form
    // allowed); out is then not to be used.
    static bool FromUtf8(const std::string& utf8, Utf16Text& out);
    static std::string ToUtf8(const Utf16Char* text, size_t length);
    // The length of the longest start of utf8 that does not end inside a
    // character: the bytes after it may be a character whose rest is still
    // to come.
    static size_t WholePrefix(const char* utf8, size_t length);
    // Appends the UTF-8 form of one code point (a lone surrogate too).
    static void AppendUtf8(std::string& out, unsigned codePoint);
};
