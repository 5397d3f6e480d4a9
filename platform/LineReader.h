#pragma once

#include <cstddef>
#include <string>
#include <vector>

class ReadOnlyFile;

// Splits an open file into lines. A line ends at a line feed; a carriage
// return in front of it belongs to the line end. Lines longer than the limit
// are cut there and the rest of the line is skipped, so a file without line
// ends cannot make us hold the whole of it in memory.
class LineReader {
public:
    explicit LineReader(ReadOnlyFile& file, size_t maxLineLength = DefaultMaxLineLength);

    // The next line without its line end; false when the file is exhausted.
    bool Next(std::string& line);

    static constexpr size_t DefaultMaxLineLength = 4u << 20;

private:
    bool Fill();

    ReadOnlyFile& file;
    size_t maxLineLength;
    std::vector<char> buffer;
    size_t position = 0;
    size_t filled = 0;
    bool atEnd = false;
};
