#include "tests/support/Cp1252.h"

#include <stdexcept>

std::string Cp1252(const std::string& utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        unsigned char c = static_cast<unsigned char>(utf8[i]);
        unsigned code;
        size_t width;
        if (c < 0x80) {
            code = c;
            width = 1;
        } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            code = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
            width = 2;
        } else if ((c & 0xF0) == 0xE0 && i + 2 < utf8.size()) {
            code = ((c & 0x0Fu) << 12) | ((static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu) << 6) |
                   (static_cast<unsigned char>(utf8[i + 2]) & 0x3Fu);
            width = 3;
        } else {
            throw std::invalid_argument("not UTF-8: " + utf8);
        }
        if (code == 0x20AC)
            code = 0x80;  // euro sign
        else if (code > 0xFF || (code >= 0x80 && code < 0xA0))
            throw std::invalid_argument("no code-page-1252 byte for a character in " + utf8);
        out += static_cast<char>(code);
        i += width;
    }
    return out;
}
