#include "report/text/JsonStream.h"

#include "report/text/Utf8.h"

#include <cstdio>

void JsonStream::Indent() {
    if (!pretty) return;
    out << '\n';
    for (size_t i = 0; i < empty.size(); ++i) out << "  ";
}

void JsonStream::BeforeValue() {
    if (afterKey) {
        afterKey = false;
        return;
    }
    if (empty.empty()) return;
    if (!empty.back()) out << ',';
    empty.back() = false;
    Indent();
}

JsonStream& JsonStream::Key(const char* key) {
    BeforeValue();
    out << Quoted(key) << (pretty ? ": " : ":");
    afterKey = true;
    return *this;
}

void JsonStream::Open(char bracket) {
    BeforeValue();
    out << bracket;
    empty.push_back(true);
}

void JsonStream::Close(char bracket) {
    bool wasEmpty = empty.back();
    empty.pop_back();
    if (!wasEmpty) Indent();
    out << bracket;
    if (empty.empty() && pretty) out << '\n';
}

std::string JsonStream::Quoted(const std::string& utf8) const {
    static const char Hex[] = "0123456789abcdef";
    const std::string text = ValidUtf8(utf8);
    std::string quoted;
    quoted.reserve(text.size() + 2);
    quoted += '"';
    for (char c : text) {
        unsigned char b = static_cast<unsigned char>(c);
        switch (c) {
        case '"': quoted += "\\\""; break;
        case '\\': quoted += "\\\\"; break;
        case '\b': quoted += "\\b"; break;
        case '\f': quoted += "\\f"; break;
        case '\n': quoted += "\\n"; break;
        case '\r': quoted += "\\r"; break;
        case '\t': quoted += "\\t"; break;
        default:
            if (b < 0x20 || (forScript && (c == '<' || c == '>' || c == '&'))) {
                quoted += "\\u00";
                quoted += Hex[b >> 4];
                quoted += Hex[b & 15];
            } else {
                quoted += c;
            }
        }
    }
    quoted += '"';
    return quoted;
}

void JsonStream::String(const std::string& utf8) {
    BeforeValue();
    out << Quoted(utf8);
}

void JsonStream::Number(uint64_t value) {
    BeforeValue();
    out << value;
}

void JsonStream::Signed(int64_t value) {
    BeforeValue();
    out << value;
}

void JsonStream::Fraction(double value) {
    BeforeValue();
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", value);
    out << text;
}

void JsonStream::Bool(bool value) {
    BeforeValue();
    out << (value ? "true" : "false");
}

void JsonStream::Null() {
    BeforeValue();
    out << "null";
}
