#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class ReadOnlyFile;

// Splits an open file into lines. A line ends at a line feed; a carriage
// return in front of it belongs to the line end. Lines longer than the limit
// are cut there and the rest of the line is skipped, so a file without line
// ends cannot make us hold the whole of it in memory. At most maxBytes of the
// file are read, so that neither can a huge file make us read it all: the
// line that the limit falls in is not returned.
class LineReader {
public:
    explicit LineReader(ReadOnlyFile& file, size_t maxLineLength = DefaultMaxLineLength,
                        uint64_t maxBytes = UINT64_MAX);

    // The next line without its line end; false when the file is exhausted
    // or the byte limit is reached.
    bool Next(std::string& line);

    // The bytes of the file taken up by the lines returned so far, line ends
    // included.
    uint64_t Consumed() const { return readTotal - (filled - position); }

    // Whether reading stopped at maxBytes with more of the file left.
    bool StoppedAtLimit() const { return stoppedAtLimit; }

    static constexpr size_t DefaultMaxLineLength = 4u << 20;

private:
    bool Fill();

    ReadOnlyFile& file;
    size_t maxLineLength;
    uint64_t maxBytes;
    std::vector<char> buffer;
    size_t position = 0;
    size_t filled = 0;
    uint64_t readTotal = 0;
    bool atEnd = false;
    bool stoppedAtLimit = false;
};
