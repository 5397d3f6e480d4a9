#include "tests/support/FuzzInput.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

void FuzzCheck(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

std::vector<std::string> SplitParts(const uint8_t* data, size_t size, size_t count) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string marker = "\n--\n";
    std::vector<std::string> parts;
    size_t start = 0;
    while (parts.size() + 1 < count) {
        size_t end = input.find(marker, start);
        if (end == std::string::npos) break;
        parts.push_back(input.substr(start, end - start));
        start = end + marker.size();
    }
    parts.push_back(input.substr(std::min(start, input.size())));
    parts.resize(count);
    return parts;
}
