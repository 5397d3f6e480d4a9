#pragma once

#include "platform/FileStamp.h"
#include "platform/FoldedIndex.h"

#include <cstddef>
#include <string>
#include <vector>

// One listing of the mailbox directory: its ".PMM" and ".MBX" files, each in
// the order the directory lists them, and the other files a folder's reading
// depends on (the ".PMG" companions and the hierarchy file), with the stamps
// of all where they are asked for.
class MailboxListing {
public:
    struct Entry {
        std::string name;
        FileStamp stamp;  // not known without stamps
    };
    using Entries = std::vector<Entry>;

    static constexpr const char* HierarchyFile = "hierarch.pm";

    MailboxListing();
    // The index views the names: a copy would search the original's.
    MailboxListing(const MailboxListing&) = delete;
    MailboxListing& operator=(const MailboxListing&) = delete;

    enum Contents {
        WithLookUps,  // with stamps where the listing carries them
        WithStamps,   // every entry with its stamp, if it costs a look at each
    };

    // mailboxDir ends with a separator.
    void List(const std::string& mailboxDir, Contents contents);
    // The same from entries given in place of a directory's, for a source
    // that lists elsewhere than on the disk; whole says whether they are all.
    void List(const Entries& entries, bool whole = true);
    // Whether the directory's listing was cut off, or the directory was not
    // there: the folder files it lists may not be all.
    bool Broken() const { return broken; }

    const Entries& Pmm() const { return pmm; }
    const Entries& Mbx() const { return mbx; }

    // The one listed companion or hierarchy file whose name equals name
    // without regard to case. Null when there is none, and also when there
    // are several, since which of them a reader opens is not known here;
    // several sets ambiguous, where given.
    const Entry* FindUnique(const std::string& name, bool* ambiguous = nullptr) const;

    // The name of an ".MBX" file's companion: the same name with ".PMG".
    static std::string CompanionName(const std::string& mbxName);

private:
    enum Kind { PmmFile, MbxFile, LookedUp, Other };
    static Kind KindOf(const std::string& name);
    void Clear();
    void Add(Kind kind, const std::string& name, const FileStamp& stamp);
    void Index();

    Entries pmm;
    Entries mbx;
    Entries others;  // companions and hierarchy files, in listing order
    FoldedIndex index;  // the others by their names
    bool broken = false;

};
