#pragma once

#include <cstddef>
#include <string>

// The text of a fixed-width header field: the bytes from offset up to the
// first zero byte, where the byte at end counts as zero whatever it holds.
inline std::string HeaderText(const unsigned char* header, size_t offset, size_t end) {
    size_t n = offset;
    while (n < end && header[n] != 0) ++n;
    return std::string(reinterpret_cast<const char*>(header) + offset, n - offset);
}
