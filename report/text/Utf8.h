#pragma once

#include <string>
#include <vector>

// The report writes UTF-8; the mail store's texts are code page 1252.
//
// Utf8FromCp1252 maps every byte to one character and back again without
// loss: 0x80-0x9F to the characters code page 1252 puts there (the euro
// sign, typographic quotes and dashes, ...), and the five bytes it leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) to the C1 control characters of
// the same value, as Windows' own conversion does. Texts meant for people
// then pass through Printable, which shows every control character as
// U+FFFD; the machine formats keep them.
std::string Utf8FromCp1252(const std::string& bytes);
// The same, appended to out.
void AppendUtf8FromCp1252(std::string& out, const std::string& bytes);

// A folder file's name as the listing gave it, as UTF-8. On Windows the
// report lists in UTF-8 already (its texts from inside the files stay code
// page 1252); elsewhere a name is the mail store's bytes, code page 1252.
std::string Utf8FromFileName(const std::string& name);
void AppendUtf8FromFileName(std::string& out, const std::string& name);
// The other way: a name kept in UTF-8 as the listing would give it.
std::string FileNameFromUtf8(const std::string& utf8);

// Texts converted and joined into one UTF-8 list: code page 1252, or
// whatever append converts (AppendUtf8FromFileName for file names).
std::string Utf8Joined(const std::vector<std::string>& parts, const char* separator,
                       void (*append)(std::string&, const std::string&) = AppendUtf8FromCp1252);

// The way back: a text that Utf8FromCp1252 made comes back byte for byte;
// a character code page 1252 lacks, or a malformed byte, becomes '?'.
std::string Cp1252FromUtf8(const std::string& utf8);

// True when text is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsUtf8(const std::string& text);
// The bytes of the well-formed character at text[at]; 0 for a malformed one.
size_t Utf8Width(const std::string& text, size_t at);

// A path as the operating system gave it, for showing: on Windows UTF-8
// already, as the report takes its command line and lists directories in it
// (a name Windows allows but UTF-8 cannot carry shows U+FFFD); elsewhere the
// locale's bytes, kept when they are UTF-8 and read as code page 1252 when
// they are not, so the output stays UTF-8 either way.
std::string Utf8FromOsText(const std::string& text);
// The same with control characters and bidirectional formatting shown as
// U+FFFD (Printable): a path in a message or a heading.
std::string ShownPath(const std::string& text);

// Replaces every control character of a UTF-8 text (U+0000-U+001F, U+007F,
// U+0080-U+009F) and every bidirectional embedding, override and isolate
// (U+202A-U+202E, U+2066-U+2069) by U+FFFD, so that a name can neither steer
// a terminal, break a line of a listing nor reorder what is shown around it.
// Malformed bytes become U+FFFD too.
std::string Printable(const std::string& utf8);
// The same, appended to out.
void AppendPrintable(std::string& out, const std::string& utf8);
// Whether every byte is printable ASCII: such a text needs neither conversion
// nor replacement, and most names are.
bool PlainAscii(const std::string& text);

// The text with every malformed byte replaced by U+FFFD; well-formed text
// comes back as it is.
std::string ValidUtf8(const std::string& text);

// The number of characters of a UTF-8 text: its width in a listing, as every
// character the report writes takes one column.
size_t Utf8Length(const std::string& utf8);

// The text with the letters of Latin scripts (ASCII, Latin-1, Latin
// Extended-A) in lower case, to find one text in another without regard to
// case: "ÄRGER" and "Ärger", "WĄS" and "wąs" fold alike. Other bytes stay.
std::string FoldedCase(const std::string& utf8);
