#include "settings/ProfileFile.h"

#include "platform/IniFile.h"
#include "store/SplitPath.h"
#include "ui/Trace.h"

#include <climits>
#include <cstring>

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

bool IsListSeparator(char c) { return c == ',' || c == '.' || c == ':'; }

bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

ProfileFile::ProfileFile(const std::string& path, ProfileBackend& backend)
    : path(path.empty() ? std::string() : SplitPath(path).FullPath()),
      buffer(new char[DefaultBufferSize]),
      backend(backend) {}

// Writes that were made count as made, as they would without the batch.
ProfileFile::~ProfileFile() { EndChanges(); }

std::string ProfileFile::RawRead(const std::string& section, const std::string& key, const std::string& defaultText,
                                 size_t* count) {
    // Without a file every key is missing; the default is then treated as
    // the back-ends treat it, without asking the system about an empty path.
    static IniFile noFile;
    ProfileBackend& reader = path.empty() ? noFile : backend;
    const std::string& source = copyPath.empty() ? path : copyPath;
    size_t n = reader.Read(section.c_str(), key.c_str(), defaultText.c_str(), buffer.get(),
                           static_cast<size_t>(bufferSize), source.empty() ? nullptr : source.c_str());
    if (count) *count = n;
    return std::string(buffer.get(), n);
}

int ProfileFile::RawWrite(const std::string& section, const char* key, const char* text) {
    if (path.empty()) return 0;
    // Refused before anything is touched: the rest of a batch can go on.
    if (!ProfileBackend::IsSafeWrite(section.c_str(), key, text)) return 0;
    if (changing) return WriteToCopy(section, key, text) ? 1 : 0;
    BeginChanges();
    bool written = WriteToCopy(section, key, text);
    return EndChanges() && written ? 1 : 0;
}

void ProfileFile::BeginChanges() {
    EndChanges();
    changing = true;
}

// A file that cannot be replaced keeps its old content; the caller still
// holds the values and writes them again at its next save.
bool ProfileFile::EndChanges() {
    bool ok = !failed;
    if (!copyPath.empty()) {
        if (ok && !backend.PutInPlace(copyPath, path)) {
            Trace("[ProfileFile.EndChanges] WARNUNG: Kann Datei \"%s\" nicht ersetzen\n", path.c_str());
            ok = false;
        }
        if (!ok) backend.RemoveWorkingCopy(copyPath);
        copyPath.clear();
    }
    changing = false;
    failed = false;
    return ok;
}

bool ProfileFile::WriteToCopy(const std::string& section, const char* key, const char* text) {
    if (failed) return false;
    if (!copyPath.empty() || backend.MakeWorkingCopy(path, copyPath)) {
        if (backend.Write(section.c_str(), key, text, copyPath.c_str())) return true;
        backend.RemoveWorkingCopy(copyPath);
    }
    // The batch is abandoned: the copy is gone, and its later writes fail too.
    copyPath.clear();
    failed = true;
    return false;
}

std::string ProfileFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& defaultText) {
    return RawRead(section, key, defaultText);
}

int ProfileFile::ReadBool(const std::string& section, const std::string& key, int defaultValue) {
    std::string text = RawRead(section, key, "");
    if (text.empty()) return defaultValue;
    return ToInt(text) != 0 ? 1 : 0;
}

int ProfileFile::ReadInt(const std::string& section, const std::string& key, int defaultValue) {
    std::string text = RawRead(section, key, "");
    return text.empty() ? defaultValue : ToInt(text);
}

void ProfileFile::ReadIntList(const std::string& section, const std::string& key, size_t count,
                              const int* defaults, int* output) {
    // The default text is made before output is touched: both may be one array.
    std::string defaultText = FormatIntList(defaults, count);
    std::string text = RawRead(section, key, defaultText);
    if (ParseIntList(text, count, output) != count) ParseIntList(defaultText, count, output);
}

void ProfileFile::ReadBinary(const std::string& section, const std::string& key, size_t length,
                             const unsigned char* defaults, unsigned char* output) {
    std::string defaultText = EncodeHex(defaults, length);
    std::string text = RawRead(section, key, defaultText);
    // A text of the right length is decoded over the output as it stands,
    // so bytes after a pair that is not hex keep their earlier contents.
    if (text.size() / 2 == length)
        DecodeHex(text, length, output);
    else if (output != defaults && length > 0)
        std::memmove(output, defaults, length);
}

int ProfileFile::WriteString(const std::string& section, const std::string& key, const std::string& text) {
    return RawWrite(section, key.c_str(), text.c_str());
}

int ProfileFile::WriteBool(const std::string& section, const std::string& key, int value) {
    return RawWrite(section, key.c_str(), value ? "1" : "0");
}

int ProfileFile::WriteInt(const std::string& section, const std::string& key, int value) {
    return RawWrite(section, key.c_str(), std::to_string(value).c_str());
}

int ProfileFile::WriteIntList(const std::string& section, const std::string& key, size_t count,
                              const int* values) {
    return RawWrite(section, key.c_str(), FormatIntList(values, count).c_str());
}

int ProfileFile::WriteBinary(const std::string& section, const std::string& key, size_t length,
                             const unsigned char* bytes) {
    return RawWrite(section, key.c_str(), EncodeHex(bytes, length).c_str());
}

int ProfileFile::DeleteKey(const std::string& section, const std::string& key) {
    return RawWrite(section, key.c_str(), nullptr);
}

int ProfileFile::DeleteSection(const std::string& section) { return RawWrite(section, nullptr, nullptr); }

std::string ProfileFile::FormatIntList(const int* values, size_t count) {
    std::string text;
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) text += ", ";
        text += std::to_string(values[i]);
    }
    return text;
}

size_t ProfileFile::ParseIntList(const std::string& text, size_t count, int* output) {
    size_t stored = 0;
    size_t pos = 0;
    while (stored < count) {
        while (pos < text.size() && IsListSeparator(text[pos])) ++pos;
        if (pos == text.size()) break;
        size_t end = pos;
        while (end < text.size() && !IsListSeparator(text[end])) ++end;
        output[stored++] = ToInt(text.substr(pos, end - pos));
        pos = end;
    }
    return stored;
}

std::string ProfileFile::EncodeHex(const unsigned char* bytes, size_t length) {
    static const char digits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(length * 2);
    for (size_t i = 0; i < length; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
    }
    return text;
}

size_t ProfileFile::DecodeHex(const std::string& text, size_t length, unsigned char* output) {
    size_t pairs = text.size() / 2 < length ? text.size() / 2 : length;
    for (size_t i = 0; i < pairs; ++i) {
        int high = HexValue(text[2 * i]);
        int low = HexValue(text[2 * i + 1]);
        if (high < 0 || low < 0) return i;
        output[i] = static_cast<unsigned char>(high * 16 + low);
    }
    return pairs;
}

int ProfileFile::ToInt(const std::string& text) {
    size_t pos = 0;
    while (pos < text.size() && IsSpace(text[pos])) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
    long long value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = value * 10 + (text[pos] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) return static_cast<int>(-value);
    return value > INT_MAX ? INT_MAX : static_cast<int>(value);
}
