#include "platform/Utf16.h"

namespace {

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The number of bytes a character takes by its first byte; 0 for a byte no
// character begins with.
size_t WidthOf(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

}  // namespace

void Utf16::AppendUtf8(std::string& out, unsigned codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

bool Utf16::FromUtf8(const std::string& utf8, Utf16Text& out) {
    out.clear();
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) {
        const unsigned char lead = static_cast<unsigned char>(utf8[i]);
        const size_t width = WidthOf(lead);
        if (width == 0 || utf8.size() - i < width) return false;
        unsigned codePoint = width == 1 ? lead : lead & (0x7Fu >> width);
        for (size_t k = 1; k < width; ++k) {
            const unsigned char next = static_cast<unsigned char>(utf8[i + k]);
            if (!IsContinuation(next)) return false;
            codePoint = (codePoint << 6) | (next & 0x3Fu);
        }
        // Overlong forms and code points beyond Unicode. A lone surrogate
        // comes back as it was listed, but two that make a pair would name
        // the file that the pair's own four bytes name.
        static const unsigned Minimum[] = {0, 0, 0x80, 0x800, 0x10000};
        if (codePoint < Minimum[width] || codePoint > 0x10FFFF) return false;
        const bool low = codePoint >= 0xDC00 && codePoint <= 0xDFFF;
        // (A high surrogate ends out only when it came alone: a pair ends in its low one.)
        if (low && !out.empty() && (static_cast<unsigned>(out.back()) & 0xFC00) == 0xD800) return false;
        if (codePoint >= 0x10000) {
            out += static_cast<Utf16Char>(0xD800 + ((codePoint - 0x10000) >> 10));
            out += static_cast<Utf16Char>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
        } else {
            out += static_cast<Utf16Char>(codePoint);
        }
        i += width;
    }
    return true;
}

std::string Utf16::ToUtf8(const Utf16Char* text, size_t length) {
    std::string out;
    out.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        unsigned unit = static_cast<unsigned>(text[i]) & 0xFFFF;
        const bool paired = unit >= 0xD800 && unit <= 0xDBFF && i + 1 < length &&
                            (static_cast<unsigned>(text[i + 1]) & 0xFC00) == 0xDC00;
        if (paired) unit = 0x10000 + ((unit - 0xD800) << 10) + ((static_cast<unsigned>(text[++i]) & 0xFFFF) - 0xDC00);
        AppendUtf8(out, unit);
    }
    return out;
}

size_t Utf16::WholePrefix(const char* utf8, size_t length) {
    // A character takes four bytes at most: only the last three can be one cut short.
    for (size_t back = 1; back <= 3 && back <= length; ++back) {
        const unsigned char b = static_cast<unsigned char>(utf8[length - back]);
        if (IsContinuation(b)) continue;
        const size_t width = WidthOf(b);
        return width > back ? length - back : length;
    }
    return length;
}
