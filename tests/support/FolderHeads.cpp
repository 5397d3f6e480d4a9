#include "tests/support/FolderHeads.h"

#include <algorithm>

namespace {

std::string Head(size_t length, const std::string& name, size_t keyOffset, const std::string& key) {
    std::string bytes(length, '\0');
    bytes.replace(0, std::min(name.size(), keyOffset), name, 0, keyOffset);
    bytes.replace(keyOffset, std::min(key.size(), length - keyOffset), key, 0, length - keyOffset);
    return bytes;
}

}  // namespace

std::string PmmHead(const std::string& name, const std::string& key) { return Head(128, name, 86, key); }

std::string PmgHead(const std::string& name, const std::string& key) { return Head(90, name, 58, key); }
