#pragma once

#include "platform/FileStamp.h"
#include "platform/FoldedIndex.h"
#include "store/HierarchEntry.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The mail client's folder tree, read from "hierarch.pm" for one scan: it
// turns a folder's hierarchy key into the display path of its ancestors.
class pmHierarch {
public:
    using Entries = std::vector<HierarchEntry>;

    // Deeper than any real folder tree: a longer chain of parents is taken
    // for a broken file and cut there.
    static constexpr size_t MaxDepth = 64;
    // Longer than any real folder path: a longer one is cut to this many
    // bytes, the last two being CutMark and a backslash. It bounds what a
    // folder's path costs to make, keep and sort, whatever the file holds.
    static constexpr size_t MaxPathLength = 1024;
    static constexpr char CutMark = '\x85';  // the ellipsis of code page 1252
    // Lines are read up to this length; no real entry comes near it.
    static constexpr size_t MaxLineLength = 64 * 1024;
    // What reading the file may cost: its bytes read plus a fixed share per
    // entry kept for the table's own bookkeeping. The rest of a larger file
    // is not read.
    static constexpr size_t MaxTableCost = 32u << 20;

    pmHierarch() = default;
    pmHierarch(const pmHierarch&) = delete;
    pmHierarch& operator=(const pmHierarch&) = delete;

    // Empties the table and reads mailboxDir + "hierarch.pm" (mailboxDir ends
    // with a separator). 1 when the file was opened, whatever its lines held;
    // 0 when it cannot be opened. Lines that do not parse are left out.
    // Names are kept up to MaxPathLength bytes, which changes no path.
    int Fill(const std::string& mailboxDir);

    // Empties the table; allocates nothing, so it also serves when memory
    // has run out.
    void Clear();

    // The index of the first entry, in file order, whose key equals key
    // without regard to case; -1 when there is none.
    int Find(const std::string& key) const;

    // The ancestors' names of the entry with this key, outermost first, each
    // behind a backslash, then a closing backslash, and the entry's own name
    // after it when withName is set. A root contributes nothing; a missing
    // key, a loop or a chain deeper than MaxDepth stands as "<???>". A path
    // longer than MaxPathLength is cut, without ever being made whole.
    std::string GetPath(const std::string& key, bool withName = false) const;

    const Entries& GetEntries() const { return entries; }
    // Each entry's parent, by index, as Find answers its parentKey: -1 when
    // the parent is missing. The table need not be a tree: the links may loop.
    const std::vector<int>& GetParents() const { return parents; }

    // Whether the last Fill read the whole file and every line parsed, so
    // that it wrote no trace line.
    bool ReadCleanly() const { return readCleanly; }
    // The bytes of the file that the last Fill went through: less than its
    // length when a read failed on the way.
    uint64_t BytesRead() const { return bytesRead; }
    // The name of the file the last Fill opened, as the directory lists it,
    // and its stamp where opening it told it.
    const std::string& OpenedName() const { return openedName; }
    // Whether opening or reading the file failed for an I/O error (a share
    // that dropped out), not for a file missing, locked or refused.
    bool IoError() const { return ioError; }
    const FileStamp& OpenedStamp() const { return openedStamp; }

private:
    void BuildIndex();
    // The ancestors of the entry, innermost first, up to a root (reachedRoot
    // set), a missing parent, a loop or MaxDepth; returns how many.
    size_t Chain(const std::string& key, int* chain, bool& reachedRoot) const;

    Entries entries;
    // Each key, case ignored, to the first entry in file order that has it:
    // what a search from the first line would find. The views point into
    // entries, which do not change once the index is built.
    FoldedIndex index;
    // Each entry's parent as Find answers it, so that a path costs one search.
    std::vector<int> parents;
    bool readCleanly = false;
    uint64_t bytesRead = 0;
    bool ioError = false;
    std::string openedName;
    FileStamp openedStamp;
};
