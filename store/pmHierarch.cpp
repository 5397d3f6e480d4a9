#include "store/pmHierarch.h"

#include "platform/LineReader.h"
#include "platform/ReadOnlyFile.h"
#include "store/CaseFold.h"
#include "store/FileNameIndex.h"
#include "ui/Trace.h"

#include <algorithm>
#include <array>

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
            entries.push_back(entry);
        else
            Trace("[pmHierarch.Fill] WARNUNG: Fehler beim Parsen von \"%s\".\n", line.c_str());
    }
    BuildIndex();
    return 1;
}

void pmHierarch::BuildIndex() {
    index.resize(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) index[i] = static_cast<int>(i);
    std::stable_sort(index.begin(), index.end(),
                     [this](int a, int b) { return CompareFolded(entries[a].key, entries[b].key) < 0; });
}

int pmHierarch::Find(const std::string& key) const {
    auto it = std::lower_bound(index.begin(), index.end(), key, [this](int i, const std::string& k) {
        return CompareFolded(entries[i].key, k) < 0;
    });
    return it != index.end() && CompareFolded(entries[*it].key, key) == 0 ? *it : -1;
}

// Walks up from the entry to its root, then writes the names outermost first.
// The table comes from a file and need not be a tree: an entry met twice on
// the way is a loop, and it ends the walk like a missing parent does.
std::string pmHierarch::GetPath(const std::string& key, bool withName) const {
    std::array<int, MaxDepth> chain;
    size_t depth = 0;
    bool reachedRoot = false;
    const std::string* current = &key;
    for (;;) {
        int i = Find(*current);
        if (i < 0) break;
        if (entries[i].type == HierarchEntry::RootType) {
            reachedRoot = true;
            break;
        }
        if (depth == MaxDepth || std::find(chain.begin(), chain.begin() + depth, i) != chain.begin() + depth)
            break;
        chain[depth++] = i;
        current = &entries[i].parentKey;
    }

    std::string path = reachedRoot ? std::string() : std::string(Unknown);
    while (depth > 0) {
        --depth;
        path += '\\';
        if (depth > 0 || withName) path += entries[chain[depth]].name;
    }
    return path;
}
