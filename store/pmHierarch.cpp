#include "store/pmHierarch.h"

#include "platform/LineReader.h"
#include "platform/ReadOnlyFile.h"
#include "store/FileNameIndex.h"
#include "ui/Trace.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <utility>

namespace {

const char* const FileName = "hierarch.pm";
const char* const Unknown = "<??" "?>";  // split: no trigraph

// The mail client writes the file in lower case, but its own file system
// ignores case, so the file is found whatever the case of its name.
bool OpenHierarchy(ReadOnlyFile& file, const std::string& mailboxDir) {
    if (file.Open(mailboxDir + FileName)) return true;
    std::string actual = FileNameIndex(mailboxDir, FileName).Find(FileName);
    return !actual.empty() && actual != FileName && file.Open(mailboxDir + actual);
}

}  // namespace

int pmHierarch::Fill(const std::string& mailboxDir) {
    entries.clear();
    index.clear();
    parents.clear();
    ReadOnlyFile file;
    if (!OpenHierarchy(file, mailboxDir)) {
        Trace("[pmHierarch.Fill] WARNUNG: Kann Datei \"%s\" nicht zum Lesen \xF6" "ffnen\n",
              (mailboxDir + FileName).c_str());
        return 0;
    }
    LineReader reader(file);
    std::string line;
    HierarchEntry entry;
    while (reader.Next(line)) {
        if (entry.Parse(line))
            entries.push_back(std::move(entry));
        else
            Trace("[pmHierarch.Fill] WARNUNG: Fehler beim Parsen von \"%s\".\n", line.c_str());
    }
    BuildIndex();
    return 1;
}

void pmHierarch::BuildIndex() {
    FoldedHash hash{static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                    reinterpret_cast<uintptr_t>(this)};
    index = decltype(index)(entries.size(), hash);
    for (size_t i = 0; i < entries.size(); ++i) index.emplace(entries[i].key, static_cast<int>(i));

    parents.resize(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) parents[i] = Find(entries[i].parentKey);
}

int pmHierarch::Find(const std::string& key) const {
    auto it = index.find(key);
    return it == index.end() ? -1 : it->second;
}

// Walks up from the entry to its root, then writes the names outermost first.
// The table comes from a file and need not be a tree: an entry met twice on
// the way is a loop, and it ends the walk like a missing parent does.
std::string pmHierarch::GetPath(const std::string& key, bool withName) const {
    std::array<int, MaxDepth> chain;
    size_t depth = 0;
    bool reachedRoot = false;
    for (int i = Find(key); i >= 0; i = parents[i]) {
        if (entries[i].type == HierarchEntry::RootType) {
            reachedRoot = true;
            break;
        }
        if (depth == MaxDepth || std::find(chain.begin(), chain.begin() + depth, i) != chain.begin() + depth)
            break;
        chain[depth++] = i;
    }

    std::string path = reachedRoot ? std::string() : std::string(Unknown);
    size_t length = path.size() + depth;
    for (size_t n = withName ? 0 : 1; n < depth; ++n) length += entries[chain[n]].name.size();
    path.reserve(length);
    while (depth > 0) {
        --depth;
        path += '\\';
        if (depth > 0 || withName) path += entries[chain[depth]].name;
    }
    return path;
}
