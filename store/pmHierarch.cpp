#include "store/pmHierarch.h"

#include "platform/LineReader.h"
#include "platform/ReadOnlyFile.h"
#include "store/FileNameIndex.h"
#include "ui/Trace.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <utility>

namespace {

const char* const FileName = "hierarch.pm";
const char* const Unknown = "<??" "?>";  // split: no trigraph

// The table's bookkeeping per entry beside its texts: the entry itself, its
// share of the index and its parent's slot.
constexpr size_t EntryOverhead = sizeof(HierarchEntry) + FoldedIndex::BytesPerItem + sizeof(int);

// The mail client writes the file in lower case, but its own file system
// ignores case, so the file is found whatever the case of its name. name is
// set to the name opened.
bool OpenHierarchy(ReadOnlyFile& file, const std::string& mailboxDir, std::string& name) {
    name = FileName;
    if (file.Open(mailboxDir + name)) return true;
    name = FileNameIndex(mailboxDir, FileName).Find(FileName);
    return !name.empty() && name != FileName && file.Open(mailboxDir + name);
}

}  // namespace

int pmHierarch::Fill(const std::string& mailboxDir) {
    Clear();
    ReadOnlyFile file;
    if (!OpenHierarchy(file, mailboxDir, openedName)) {
        ioError = file.IoError();
        openedName.clear();
        Trace("[pmHierarch.Fill] WARNUNG: Kann Datei \"%s\" nicht zum Lesen \xF6" "ffnen\n",
              (mailboxDir + FileName).c_str());
        return 0;
    }
    openedStamp = file.Stamp();
    LineReader reader(file, MaxLineLength, MaxTableCost);
    std::string line;
    HierarchEntry entry;
    bool tooLarge = false;
    bool lineSkipped = false;
    while (reader.Next(line)) {
        if (reader.Consumed() + entries.size() * EntryOverhead > MaxTableCost) {
            tooLarge = true;
            break;
        }
        if (!entry.Parse(line)) {
            Trace("[pmHierarch.Fill] WARNUNG: Fehler beim Parsen von \"%s\".\n", line.c_str());
            lineSkipped = true;
            continue;
        }
        // A longer name cannot change a path: the path is cut before its end.
        if (entry.name.size() > MaxPathLength) {
            entry.name.resize(MaxPathLength);
            entry.name.shrink_to_fit();
        }
        entries.push_back(std::move(entry));
    }
    const bool cut = tooLarge || reader.StoppedAtLimit();
    if (cut)
        Trace("[pmHierarch.Fill] WARNUNG: Datei \"%s\" ist zu gro\xDF; der Rest wird nicht gelesen\n",
              (mailboxDir + FileName).c_str());
    entries.shrink_to_fit();  // the index points into the entries from here on
    BuildIndex();
    ioError = file.IoError();
    readCleanly = !cut && !lineSkipped && !ioError;
    bytesRead = reader.Consumed();
    return 1;
}

void pmHierarch::Clear() {
    entries.clear();
    index.Clear();
    parents.clear();
    readCleanly = false;
    bytesRead = 0;
    ioError = false;
    openedName.clear();
    openedStamp = FileStamp();
}

void pmHierarch::BuildIndex() {
    index.Build(entries, [](const HierarchEntry& entry) { return std::string_view(entry.key); });

    parents.resize(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) parents[i] = Find(entries[i].parentKey);
}

int pmHierarch::Find(const std::string& key) const {
    const size_t found = index.Find(key, [this](size_t i) { return std::string_view(entries[i].key); });
    return found == FoldedIndex::None ? -1 : static_cast<int>(found);
}

size_t pmHierarch::Chain(const std::string& key, int* chain, bool& reachedRoot) const {
    size_t depth = 0;
    reachedRoot = false;
    for (int i = Find(key); i >= 0; i = parents[i]) {
        if (entries[i].type == HierarchEntry::RootType) {
            reachedRoot = true;
            break;
        }
        if (depth == MaxDepth || std::find(chain, chain + depth, i) != chain + depth) break;
        chain[depth++] = i;
    }
    return depth;
}

// Walks up from the entry to its root, then writes the names outermost first.
// The table comes from a file and need not be a tree: an entry met twice on
// the way is a loop, and it ends the walk like a missing parent does. The
// length is known before anything is written, so an overlong path is written
// only up to its cut.
std::string pmHierarch::GetPath(const std::string& key, bool withName) const {
    std::array<int, MaxDepth> chain;
    bool reachedRoot = false;
    size_t depth = Chain(key, chain.data(), reachedRoot);

    const size_t unknownLength = std::strlen(Unknown);
    size_t length = (reachedRoot ? 0 : unknownLength) + depth;
    for (size_t n = withName ? 0 : 1; n < depth; ++n) length += entries[chain[n]].name.size();
    const bool cut = length > MaxPathLength;
    const size_t room = cut ? MaxPathLength - 2 : length;

    std::string path;
    path.reserve(cut ? MaxPathLength : length);
    auto append = [&](const char* text, size_t size) { path.append(text, std::min(size, room - path.size())); };
    if (!reachedRoot) append(Unknown, unknownLength);
    while (depth > 0) {
        --depth;
        append("\\", 1);
        const std::string& name = entries[chain[depth]].name;
        if (depth > 0 || withName) append(name.data(), name.size());
    }
    if (cut) {
        path += CutMark;
        path += '\\';
    }
    return path;
}
