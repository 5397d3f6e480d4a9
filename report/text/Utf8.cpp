#include "report/text/Utf8.h"

#include "platform/Utf16.h"

#include <algorithm>

namespace {

// What code page 1252 puts at 0x80-0x9F; its five holes stay C1 controls.
const unsigned short HighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

const unsigned Replacement = 0xFFFD;

// Decodes one UTF-8 character at text[i]; false for a malformed one.
bool Decode(const std::string& text, size_t& i, unsigned& codePoint) {
    unsigned char lead = static_cast<unsigned char>(text[i]);
    size_t width;
    unsigned minimum;
    if (lead < 0x80) {
        codePoint = lead;
        ++i;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        width = 2, minimum = 0x80, codePoint = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
        width = 3, minimum = 0x800, codePoint = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
        width = 4, minimum = 0x10000, codePoint = lead & 0x07u;
    } else {
        return false;
    }
    if (text.size() - i < width) return false;
    for (size_t k = 1; k < width; ++k) {
        unsigned char next = static_cast<unsigned char>(text[i + k]);
        if ((next & 0xC0) != 0x80) return false;
        codePoint = (codePoint << 6) | (next & 0x3Fu);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return false;
    i += width;
    return true;
}

bool IsControl(unsigned codePoint) { return codePoint < 0x20 || (codePoint >= 0x7F && codePoint < 0xA0); }

// The embeddings, overrides and isolates, which would let a name reorder the
// text around it and so disguise itself.
bool IsBidiFormatting(unsigned codePoint) {
    return (codePoint >= 0x202A && codePoint <= 0x202E) || (codePoint >= 0x2066 && codePoint <= 0x2069);
}

}  // namespace

bool PlainAscii(const std::string& text) {
    for (char c : text) {
        unsigned char b = static_cast<unsigned char>(c);
        if (b < 0x20 || b >= 0x7F) return false;
    }
    return true;
}

std::string Utf8FromCp1252(const std::string& bytes) {
    std::string out;
    AppendUtf8FromCp1252(out, bytes);
    return out;
}

std::string Utf8Joined(const std::vector<std::string>& parts, const char* separator,
                       void (*append)(std::string&, const std::string&)) {
    std::string out;
    for (const std::string& part : parts) {
        if (&part != &parts.front()) out += separator;
        append(out, part);
    }
    return out;
}

std::string Utf8FromFileName(const std::string& name) {
    std::string out;
    AppendUtf8FromFileName(out, name);
    return out;
}

std::string FileNameFromUtf8(const std::string& utf8) {
#ifdef _WIN32
    return utf8;
#else
    return Cp1252FromUtf8(utf8);
#endif
}

void AppendUtf8FromFileName(std::string& out, const std::string& name) {
#ifdef _WIN32
    out += ValidUtf8(name);
#else
    AppendUtf8FromCp1252(out, name);
#endif
}

void AppendUtf8FromCp1252(std::string& out, const std::string& bytes) {
    const auto high =
        std::find_if(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    out.append(bytes.begin(), high);
    if (high == bytes.end()) return;
    out.reserve(out.size() + static_cast<size_t>(bytes.end() - high) * 2);
    for (auto at = high; at != bytes.end(); ++at) {
        unsigned char b = static_cast<unsigned char>(*at);
        if (b < 0x80)
            out += *at;
        else if (b < 0xA0)
            Utf16::AppendUtf8(out, HighControls[b - 0x80]);
        else
            Utf16::AppendUtf8(out, b);  // Latin-1 and code page 1252 agree from 0xA0 on
    }
}

std::string Cp1252FromUtf8(const std::string& utf8) {
    if (PlainAscii(utf8)) return utf8;
    std::string out;
    unsigned codePoint;
    for (size_t i = 0; i < utf8.size();) {
        if (!Decode(utf8, i, codePoint)) {
            out += '?';
            ++i;
        } else if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint < 0x100)) {
            out += static_cast<char>(codePoint);
        } else {
            const unsigned short* at = std::find(HighControls, HighControls + 32, codePoint);
            out += at == HighControls + 32 ? '?' : static_cast<char>(0x80 + (at - HighControls));
        }
    }
    return out;
}

bool IsUtf8(const std::string& text) {
    unsigned codePoint;
    for (size_t i = 0; i < text.size();)
        if (!Decode(text, i, codePoint)) return false;
    return true;
}

size_t Utf8Width(const std::string& text, size_t at) {
    unsigned codePoint;
    size_t end = at;
    return Decode(text, end, codePoint) ? end - at : 0;
}

std::string Utf8FromOsText(const std::string& text) {
#ifdef _WIN32
    return ValidUtf8(text);
#else
    return IsUtf8(text) ? text : Utf8FromCp1252(text);
#endif
}

std::string ShownPath(const std::string& text) { return Printable(Utf8FromOsText(text)); }

std::string Printable(const std::string& utf8) {
    if (PlainAscii(utf8)) return utf8;
    std::string out;
    AppendPrintable(out, utf8);
    return out;
}

void AppendPrintable(std::string& out, const std::string& utf8) {
    if (PlainAscii(utf8)) {
        out += utf8;
        return;
    }
    unsigned codePoint;
    for (size_t i = 0; i < utf8.size();) {
        size_t start = i;
        if (!Decode(utf8, i, codePoint)) {
            Utf16::AppendUtf8(out, Replacement);
            ++i;
        } else if (IsControl(codePoint) || IsBidiFormatting(codePoint)) {
            Utf16::AppendUtf8(out, Replacement);
        } else {
            out.append(utf8, start, i - start);
        }
    }
}

size_t Utf8Length(const std::string& utf8) {
    size_t n = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

std::string ValidUtf8(const std::string& text) {
    if (IsUtf8(text)) return text;
    std::string out;
    unsigned codePoint;
    for (size_t i = 0; i < text.size();) {
        size_t start = i;
        if (Decode(text, i, codePoint)) {
            out.append(text, start, i - start);
        } else {
            Utf16::AppendUtf8(out, Replacement);
            ++i;
        }
    }
    return out;
}

namespace {

// The lower case of a letter of U+00C0 to U+017F; others as they are.
char32_t LowerLatin(char32_t c) {
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 0x20;
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c | 1;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c + 1 : c;
    if (c == 0x178) return 0xFF;
    return c;
}

}  // namespace

std::string FoldedCase(const std::string& utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char b = static_cast<unsigned char>(utf8[i]);
        if (b >= 'A' && b <= 'Z') {
            out += static_cast<char>(b + 32);
        } else if ((b == 0xC3 || b == 0xC4 || b == 0xC5) && i + 1 < utf8.size() &&
                   (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
            const char32_t c = (static_cast<char32_t>(b & 0x1F) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F);
            const char32_t lower = LowerLatin(c);
            out += static_cast<char>(0xC0 | (lower >> 6));
            out += static_cast<char>(0x80 | (lower & 0x3F));
            ++i;
        } else {
            out += utf8[i];
        }
    }
    return out;
}
