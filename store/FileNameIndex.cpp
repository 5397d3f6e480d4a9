#include "store/FileNameIndex.h"

#include "platform/FileSystem.h"
#include "platform/CaseFold.h"

#include <algorithm>

namespace {

bool FoldedLess(const std::string& a, const std::string& b) { return CompareFolded(a, b) < 0; }

}  // namespace

FileNameIndex::FileNameIndex(const std::string& directory, const std::string& wildcard)
    : directory(directory), wildcard(wildcard) {}

void FileNameIndex::List() {
    listed = true;
    FileSystem::ForEachMatchingName(directory + wildcard, [this](const std::string& found) { names.push_back(found); });
    std::stable_sort(names.begin(), names.end(), FoldedLess);
}

std::string FileNameIndex::Find(const std::string& name) {
    if (!listed) List();
    auto it = std::lower_bound(names.begin(), names.end(), name, FoldedLess);
    return it != names.end() && CompareFolded(*it, name) == 0 ? *it : std::string();
}
