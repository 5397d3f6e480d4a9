#include "report/history/HistoryFile.h"

#include "platform/FileStamp.h"
#include "platform/FileSystem.h"
#include "platform/ReadOnlyFile.h"

#include <algorithm>
#include <cstring>
#include <vector>

uint64_t HistoryFile::LengthOf(const std::string& path) {
    uint64_t length = 0;
    FileStamp stamp;
    return ReadOnlyFile::Inspect(path, length, stamp) ? length : 0;
}

// Words of eight bytes, mixed as FNV mixes bytes.
uint64_t HistoryFile::Digest(const std::string& path) {
    ReadOnlyFile file;
    if (!file.Open(path)) return 0;
    std::vector<unsigned char> buffer(1u << 20);
    uint64_t digest = 1469598103934665603ull ^ file.Length();
    for (size_t got; (got = file.Read(buffer.data(), buffer.size())) > 0;) {
        for (size_t i = 0; i < got; i += 8) {
            uint64_t word = 0;
            std::memcpy(&word, &buffer[i], std::min<size_t>(8, got - i));
            digest = (digest ^ word) * 1099511628211ull;
            digest ^= digest >> 29;
        }
    }
    return file.IoError() ? 0 : digest | 1;
}

bool HistoryFile::LogWritten(const std::string& path) {
    for (const char* log : {"-wal", "-journal"})
        if (LengthOf(path + log) > 0) return true;
    return false;
}

std::string HistoryFile::FileUri(const std::string& path, const char* options) {
    std::string escaped;
    for (char c : path) {
        if (c == '%' || c == '?' || c == '#') {
            const char* const hex = "0123456789ABCDEF";
            escaped += '%';
            escaped += hex[static_cast<unsigned char>(c) >> 4];
            escaped += hex[c & 0xF];
        } else {
            escaped += FileSystem::IsSeparator(c) ? '/' : c;
        }
    }
    const bool drive = escaped.size() >= 2 && escaped[1] == ':';
    const std::string start = drive ? "file:///" : escaped.compare(0, 1, "/") == 0 ? "file://" : "file:";
    return start + escaped + "?" + options;
}
