#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// Writes one JSON document as it goes, value by value, so that nothing of it
// is held: pretty with two spaces per level, or compact on one line. Strings
// are UTF-8; malformed bytes become U+FFFD. With forScript, "<", ">" and "&"
// are escaped too, so that the document may sit inside an HTML script
// element.
class JsonStream {
public:
    explicit JsonStream(std::ostream& out, bool pretty = true, bool forScript = false)
        : out(out), pretty(pretty), forScript(forScript) {}

    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }

    // The next value is the member key of the object that is open.
    JsonStream& Key(const char* key);

    void String(const std::string& utf8);
    void Number(uint64_t value);
    void Signed(int64_t value);
    void Fraction(double value);  // up to nine significant digits
    void Bool(bool value);
    void Null();

    // The text of a string value as this stream writes it, quotes included.
    std::string Quoted(const std::string& utf8) const;

private:
    void Open(char bracket);
    void Close(char bracket);
    void BeforeValue();
    void Indent();

    std::ostream& out;
    const bool pretty;
    const bool forScript;
    std::vector<bool> empty;  // per open level: nothing written in it yet
    bool afterKey = false;
};
