#include "platform/IniFile.h"

#include "platform/AtomicFile.h"
#include "platform/CaseFold.h"

#include <cstring>
#include <vector>

namespace {

struct Span {
    size_t begin = 0;
    size_t end = 0;
    size_t Size() const { return end - begin; }
};

enum class LineKind { Blank, Section, Key };

struct Line {
    size_t begin = 0;  // first byte of the line
    size_t end = 0;    // end of its content, where the line end starts
    size_t next = 0;   // first byte after the line end
    LineKind kind = LineKind::Blank;
    Span name;         // section name or key, blanks removed
    bool hasValue = false;
    Span value;        // blanks removed
};

// The lines of one section: the section line (none for the nameless lines at
// the top of the file) and the lines up to the next section line.
struct Section {
    bool hasHeader = false;
    size_t header = 0;
    size_t first = 0;
    size_t last = 0;  // one past the final line
};

Span Trim(const std::string& bytes, size_t begin, size_t end) {
    while (begin < end && ProfileBackend::IsBlank(bytes[begin])) ++begin;
    while (end > begin && ProfileBackend::IsBlank(bytes[end - 1])) --end;
    return {begin, end};
}

std::string TrimName(const char* name) {
    std::string text(name);
    Span span = Trim(text, 0, text.size());
    return text.substr(span.begin, span.Size());
}

bool SameName(const std::string& bytes, Span span, const std::string& name) {
    return FoldedEqual()(std::string_view(bytes).substr(span.begin, span.Size()), name);
}

void Classify(const std::string& bytes, Line& line) {
    Span content = Trim(bytes, line.begin, line.end);
    if (content.Size() == 0) return;
    if (bytes[content.begin] == '[') {
        size_t close = content.end;
        while (close > content.begin + 1 && bytes[close - 1] != ']') --close;
        if (close > content.begin + 1) {
            line.kind = LineKind::Section;
            line.name = Trim(bytes, content.begin + 1, close - 1);
            return;
        }
    }
    line.kind = LineKind::Key;
    const void* found = std::memchr(bytes.data() + content.begin, '=', content.Size());
    if (!found) {
        line.name = content;
        return;
    }
    size_t equals = static_cast<size_t>(static_cast<const char*>(found) - bytes.data());
    line.name = Trim(bytes, content.begin, equals);
    line.hasValue = true;
    line.value = Trim(bytes, equals + 1, content.end);
}

// The lines that are not blank; blank lines never decide where anything goes.
std::vector<Line> SplitLines(const std::string& bytes) {
    std::vector<Line> lines;
    size_t pos = 0;
    while (pos < bytes.size()) {
        Line line;
        line.begin = pos;
        while (pos < bytes.size() && bytes[pos] != '\r' && bytes[pos] != '\n') ++pos;
        line.end = pos;
        if (pos < bytes.size() && bytes[pos] == '\r') ++pos;
        if (pos < bytes.size() && bytes[pos] == '\n') ++pos;
        line.next = pos;
        Classify(bytes, line);
        if (line.kind != LineKind::Blank) lines.push_back(line);
    }
    return lines;
}

std::vector<Section> SectionsNamed(const std::string& bytes, const std::vector<Line>& lines,
                                   const std::string& name) {
    std::vector<Section> found;
    Section current;
    bool matches = name.empty();
    for (size_t i = 0; i <= lines.size(); ++i) {
        if (i < lines.size() && lines[i].kind != LineKind::Section) continue;
        current.last = i;
        if (matches) found.push_back(current);
        if (i == lines.size()) break;
        current.hasHeader = true;
        current.header = i;
        current.first = i + 1;
        matches = SameName(bytes, lines[i].name, name);
    }
    return found;
}

// The first key line of that name in the section, or lines.size().
size_t KeyIn(const std::string& bytes, const std::vector<Line>& lines, const Section& section,
             const std::string& key) {
    for (size_t i = section.first; i < section.last; ++i)
        if (lines[i].kind == LineKind::Key && SameName(bytes, lines[i].name, key)) return i;
    return lines.size();
}

// The line end a new line gets: the file's own, or CR LF in a file without one.
std::string LineEnd(const std::string& bytes) {
    size_t lf = bytes.find('\n');
    if (lf != std::string::npos) return lf > 0 && bytes[lf - 1] == '\r' ? "\r\n" : "\n";
    return bytes.find('\r') != std::string::npos ? "\r" : "\r\n";
}

// Inserts text as a line of its own at pos, ending the line before it first
// when the file stopped without a line end.
void InsertLine(std::string& bytes, size_t pos, const std::string& text) {
    std::string eol = LineEnd(bytes);
    std::string insert = text + eol;
    if (pos > 0 && bytes[pos - 1] != '\n' && bytes[pos - 1] != '\r') insert = eol + insert;
    bytes.insert(pos, insert);
}

void SetValue(std::string& bytes, const std::string& section, const std::string& key, const char* text) {
    while (ProfileBackend::IsBlank(*text)) ++text;
    std::vector<Line> lines = SplitLines(bytes);
    std::vector<Section> sections = SectionsNamed(bytes, lines, section);
    if (sections.empty()) {
        InsertLine(bytes, bytes.size(), "[" + section + "]");
        InsertLine(bytes, bytes.size(), key + "=" + text);
        return;
    }
    const Section& target = sections.front();
    size_t at = KeyIn(bytes, lines, target, key);
    if (at < lines.size()) {
        const Line& line = lines[at];
        std::string stored = bytes.substr(line.name.begin, line.name.Size());
        bytes.replace(line.begin, line.end - line.begin, stored + "=" + text);
        return;
    }
    // After the section's last line that is not blank, so that blank lines
    // separating it from the next section stay where they are.
    size_t pos = target.hasHeader ? lines[target.header].next : 0;
    if (target.last > target.first) pos = lines[target.last - 1].next;
    InsertLine(bytes, pos, key + "=" + text);
}

void RemoveKey(std::string& bytes, const std::string& section, const std::string& key) {
    std::vector<Line> lines = SplitLines(bytes);
    for (const Section& s : SectionsNamed(bytes, lines, section)) {
        size_t at = KeyIn(bytes, lines, s, key);
        if (at < lines.size()) {
            bytes.erase(lines[at].begin, lines[at].next - lines[at].begin);
            return;
        }
    }
}

void RemoveSection(std::string& bytes, const std::string& section) {
    std::vector<Line> lines = SplitLines(bytes);
    std::vector<Section> sections = SectionsNamed(bytes, lines, section);
    for (auto s = sections.rbegin(); s != sections.rend(); ++s) {
        size_t begin = s->hasHeader ? lines[s->header].begin : 0;
        size_t end = s->last < lines.size() ? lines[s->last].begin : bytes.size();
        bytes.erase(begin, end - begin);
    }
}

enum class Loaded { Missing, Ok, Failed };

Loaded Load(const char* path, std::string& bytes) {
    bytes.clear();
    if (AtomicFile::Probe(path) == AtomicFile::State::Missing) return Loaded::Missing;
    return AtomicFile::ReadWhole(path, IniFile::MaxFileSize, bytes) ? Loaded::Ok : Loaded::Failed;
}

// Removes one pair of matching quotation marks around the text.
Span Unquote(const char* text, Span span) {
    if (span.Size() >= 2) {
        char first = text[span.begin];
        if ((first == '"' || first == '\'') && text[span.end - 1] == first) return {span.begin + 1, span.end - 1};
    }
    return span;
}

size_t CopyOut(const char* text, Span span, char* buffer, size_t size) {
    span = Unquote(text, span);
    size_t count = span.Size() < size - 1 ? span.Size() : size - 1;
    std::memcpy(buffer, text + span.begin, count);
    buffer[count] = '\0';
    return count;
}

}  // namespace

bool IniFile::Find(const std::string& bytes, const char* section, const char* key, std::string& value) {
    if (!section || !key) return false;
    std::vector<Line> lines = SplitLines(bytes);
    std::vector<Section> sections = SectionsNamed(bytes, lines, TrimName(section));
    if (sections.empty()) return false;
    size_t at = KeyIn(bytes, lines, sections.front(), TrimName(key));
    if (at == lines.size() || !lines[at].hasValue) return false;
    value = bytes.substr(lines[at].value.begin, lines[at].value.Size());
    return true;
}

size_t IniFile::Read(const char* section, const char* key, const char* defaultText, char* buffer, size_t size,
                     const char* path) {
    if (!buffer || size == 0) return 0;
    std::string bytes, value;
    if (path && Load(path, bytes) == Loaded::Ok && Find(bytes, section, key, value))
        return CopyOut(value.c_str(), {0, value.size()}, buffer, size);
    if (!defaultText) defaultText = "";
    size_t length = std::strlen(defaultText);
    while (length > 0 && defaultText[length - 1] == ' ') --length;
    return CopyOut(defaultText, {0, length}, buffer, size);
}

bool IniFile::Apply(std::string& bytes, const char* section, const char* key, const char* text) {
    if (!IsSafeWrite(section, key, text)) return false;
    std::string sectionName = TrimName(section);
    if (!key)
        RemoveSection(bytes, sectionName);
    else if (!text)
        RemoveKey(bytes, sectionName, TrimName(key));
    else
        SetValue(bytes, sectionName, TrimName(key), text);
    return true;
}

bool IniFile::Write(const char* section, const char* key, const char* text, const char* path) {
    if (!path || !*path || AtomicFile::Probe(path) == AtomicFile::State::Unwritable) return false;
    std::string bytes;
    Loaded loaded = Load(path, bytes);
    if (loaded == Loaded::Failed) return false;
    std::string updated = bytes;
    if (!Apply(updated, section, key, text)) return false;
    if (updated == bytes && (loaded == Loaded::Ok || !key || !text)) return true;
    return AtomicFile::Replace(path, updated);
}
