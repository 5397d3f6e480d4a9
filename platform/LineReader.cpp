#include "platform/LineReader.h"

#include "platform/ReadOnlyFile.h"

#include <cstring>

LineReader::LineReader(ReadOnlyFile& file, size_t maxLineLength, uint64_t maxBytes)
    : file(file), maxLineLength(maxLineLength), maxBytes(maxBytes), buffer(64 * 1024) {}

bool LineReader::Fill() {
    if (atEnd) return false;
    uint64_t left = maxBytes - readTotal;
    size_t want = left < buffer.size() ? static_cast<size_t>(left) : buffer.size();
    if (want == 0) {
        char probe;
        stoppedAtLimit = file.Read(&probe, 1) > 0;
        filled = position = 0;
        atEnd = true;
        return false;
    }
    filled = file.Read(buffer.data(), want);
    position = 0;
    readTotal += filled;
    if (filled == 0) atEnd = true;
    return filled > 0;
}

bool LineReader::Next(std::string& line) {
    line.clear();
    bool any = false;
    for (;;) {
        if (position == filled && !Fill()) break;
        any = true;
        const char* start = buffer.data() + position;
        size_t available = filled - position;
        const void* feed = std::memchr(start, '\n', available);
        size_t take = feed ? static_cast<size_t>(static_cast<const char*>(feed) - start) : available;
        if (line.size() < maxLineLength)
            line.append(start, take < maxLineLength - line.size() ? take : maxLineLength - line.size());
        position += take;
        if (feed) {
            ++position;
            break;
        }
    }
    if (stoppedAtLimit) {
        line.clear();
        return false;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return any;
}
