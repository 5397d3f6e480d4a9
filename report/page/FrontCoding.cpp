#include "report/page/FrontCoding.h"

#include <algorithm>

namespace {

// Separators that file names on Windows cannot hold and folder names rarely
// do; never a digit or a letter, nor a character JSON escapes.
const char Separators[] = "|*?:^~`";

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The UTF-16 code units of the UTF-8 character that starts with lead.
unsigned Units(char lead) { return (static_cast<unsigned char>(lead) & 0xF8) == 0xF0 ? 2 : 1; }

// The bytes and code units of the start the two texts share, whole
// characters only, up to MaxShared units.
void SharedStart(const std::string& a, const std::string& b, size_t& bytes, unsigned& units) {
    size_t i = 0;
    units = 0;
    while (i < a.size()) {
        size_t length = 1;
        while (i + length < a.size() && IsContinuation(a[i + length])) ++length;
        if (i + length > b.size() || a.compare(i, length, b, i, length) != 0) break;
        if (units + Units(a[i]) > FrontCoding::MaxShared) break;
        units += Units(a[i]);
        i += length;
    }
    bytes = i;
}

// The same for the ends, within a's bytes from skip on.
void SharedEnd(const std::string& a, size_t skip, const std::string& b, size_t& bytes, unsigned& units) {
    size_t j = a.size();
    units = 0;
    while (j > skip) {
        size_t start = j - 1;
        while (start > skip && IsContinuation(a[start])) --start;
        const size_t length = j - start, n = a.size() - start;
        if (n > b.size() || b.compare(b.size() - n, length, a, start, length) != 0) break;
        if (units + Units(a[start]) > FrontCoding::MaxShared) break;
        units += Units(a[start]);
        j = start;
    }
    bytes = a.size() - j;
}

char Digit(unsigned value) { return static_cast<char>(value < 10 ? '0' + value : 'a' + (value - 10)); }

}  // namespace

std::string FrontCoding::Encode(const std::vector<std::string>& utf8) {
    char separator = 0;
    for (const char* candidate = Separators; *candidate && !separator; ++candidate)
        if (std::none_of(utf8.begin(), utf8.end(),
                         [&](const std::string& text) { return text.find(*candidate) != std::string::npos; }))
            separator = *candidate;
    if (!separator) return std::string();
    std::string out(1, separator);
    const std::string none;
    for (size_t k = 0; k < utf8.size(); ++k) {
        const std::string& text = utf8[k];
        const std::string& before = k > 0 ? utf8[k - 1] : none;
        size_t startBytes, endBytes;
        unsigned startUnits, endUnits;
        SharedStart(text, before, startBytes, startUnits);
        // The end shared is looked for only in what the start left of both.
        const std::string beforeRest = before.substr(startBytes);
        SharedEnd(text, startBytes, beforeRest, endBytes, endUnits);
        if (k > 0) out += separator;
        out += Digit(startUnits);
        out += Digit(endUnits);
        out.append(text, startBytes, text.size() - startBytes - endBytes);
    }
    return out;
}
