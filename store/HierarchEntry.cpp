#include "store/HierarchEntry.h"

#include <limits>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void SkipBlanks(const std::string& line, size_t& cursor) {
    while (cursor < line.size() && IsBlank(line[cursor])) ++cursor;
}

// Whatever is left of a field is ignored: on to the next field.
void SkipPastComma(const std::string& line, size_t& cursor) {
    size_t comma = line.find(',', cursor);
    cursor = comma == std::string::npos ? line.size() : comma + 1;
}

}  // namespace

void HierarchEntry::Clear() {
    type = -1;
    key.clear();
    parentKey.clear();
    name.clear();
}

bool HierarchEntry::Parse(const std::string& line) {
    Clear();
    size_t cursor = 0;
    int32_t unused = 0;
    return ReadNumberField(line, cursor, type) && ReadNumberField(line, cursor, unused) &&
           ReadTextField(line, cursor, key) && ReadTextField(line, cursor, parentKey) &&
           ReadTextField(line, cursor, name);
}

// Only the test for the root type uses the value, so a number too large for
// 32 bits saturates rather than wrapping round to some small value.
bool HierarchEntry::ReadNumberField(const std::string& line, size_t& cursor, int32_t& value) {
    SkipBlanks(line, cursor);
    if (cursor >= line.size() || !IsDigit(line[cursor])) return false;
    constexpr int64_t Max = std::numeric_limits<int32_t>::max();
    int64_t number = 0;
    for (; cursor < line.size() && IsDigit(line[cursor]); ++cursor) {
        number = number * 10 + (line[cursor] - '0');
        if (number > Max) number = Max;
    }
    value = static_cast<int32_t>(number);
    SkipPastComma(line, cursor);
    return true;
}

// A field made only of blanks at the end of a line is an empty value; only a
// line that has ended before the field fails. A quoted text whose closing
// quote is missing runs to the end of the line and still counts as read: a
// name cut short by the writer is better shown than dropped, and a key or
// parent key so cut leaves no fields behind it, so its line fails anyway.
bool HierarchEntry::ReadTextField(const std::string& line, size_t& cursor, std::string& text) {
    text.clear();
    if (cursor >= line.size()) return false;
    SkipBlanks(line, cursor);
    if (cursor < line.size() && line[cursor] == '"') {
        ++cursor;
        while (cursor < line.size() && line[cursor] != '"') {
            if (line[cursor] == '\\' && cursor + 1 < line.size()) ++cursor;
            text += line[cursor++];
        }
    } else {
        size_t comma = line.find(',', cursor);
        size_t end = comma == std::string::npos ? line.size() : comma;
        text.assign(line, cursor, end - cursor);
        cursor = end;
    }
    SkipPastComma(line, cursor);
    return true;
}
