#include "store/FolderList.h"

#include "platform/FileSystem.h"
#include "store/FileNameIndex.h"
#include "store/NewMailFolder.h"
#include "store/mbx.h"
#include "store/pmHierarch.h"
#include "store/pmm.h"
#include "ui/Trace.h"

#include <new>

namespace {

const char* const PmmPattern = "*.PMM";
const char* const MbxPattern = "*.MBX";

std::vector<std::string> Matching(const std::string& mailboxDir, const char* wildcard) {
    std::vector<std::string> names;
    FileSystem::ForEachMatchingName(mailboxDir + wildcard, [&](const std::string& name) { names.push_back(name); });
    return names;
}

// The line itself needs memory; without any it is left out.
void TraceOutOfMemory() {
    try {
        Trace("[FolderList.Scan] WARNUNG: Zu wenig Speicher f\xFC" "r die Ordnerliste\n");
    } catch (const std::bad_alloc&) {
    }
}

}  // namespace

// The table lives for this scan only: the file is read afresh every time.
int FolderList::Scan(const ScanOptions& options) {
    pmHierarch table;
    return Scan(options, table);
}

int FolderList::Scan(const ScanOptions& options, pmHierarch& table) {
    Release();
    table.Clear();
    int result = 1;
    try {
        ScanInto(result, options, table);
    } catch (const std::bad_alloc&) {
        // The host's memory is ours to give back: whatever was listed goes,
        // and the panel shows an empty list it can refresh later.
        Release();
        table.Clear();
        TraceOutOfMemory();
    }
    return result;
}

// Clearing allocates nothing, so it also serves when memory has run out.
void FolderList::Release() {
    records.clear();
    count = 0;
    total = 0;
}

void FolderList::ScanInto(int& result, const ScanOptions& options, pmHierarch& table) {
    const std::string& mailboxDir = options.mailboxDir;
    if (options.showFolderPath) result = table.Fill(mailboxDir);
    if (options.showNewMailFolder) AddNewMailFolder(options.newMailDir, options.newMailLabel);
    const pmHierarch* hierarchy = result != 0 ? &table : nullptr;

    // One listing of the mailbox serves both kinds of folder file, each kept
    // in the order the directory lists it.
    Names pmmNames, mbxNames;
    FileSystem::ForEachMatchingName(mailboxDir + "*", [&](const std::string& name) {
        if (FileSystem::MatchesPattern(PmmPattern, name))
            pmmNames.push_back(name);
        else if (FileSystem::MatchesPattern(MbxPattern, name))
            mbxNames.push_back(name);
    });
    AppendPmm(mailboxDir, pmmNames, options.showFolderPath, hierarchy);
    AppendMbx(mailboxDir, mbxNames, options.showFolderPath, hierarchy);
}

void FolderList::AddNewMailFolder(const std::string& newMailDir, const std::string& label) {
    NewMailFolder newMail;
    newMail.Analyze(newMailDir, label);
    Append(newMail);
}

void FolderList::ScanPmm(const std::string& mailboxDir, bool useHierarchy, const pmHierarch* hierarchy) {
    AppendPmm(mailboxDir, Matching(mailboxDir, PmmPattern), useHierarchy, hierarchy);
}

void FolderList::ScanMbx(const std::string& mailboxDir, bool useHierarchy, const pmHierarch* hierarchy) {
    AppendMbx(mailboxDir, Matching(mailboxDir, MbxPattern), useHierarchy, hierarchy);
}

void FolderList::AppendPmm(const std::string& mailboxDir, const Names& names, bool useHierarchy,
                           const pmHierarch* hierarchy) {
    pmm record;
    for (const std::string& name : names) {
        record.SetFile(mailboxDir + name);
        AppendAnalyzed(record, useHierarchy, hierarchy);
    }
}

// The companions are listed at most once, and only when some companion's
// name differs in case from its ".MBX" file's.
void FolderList::AppendMbx(const std::string& mailboxDir, const Names& names, bool useHierarchy,
                           const pmHierarch* hierarchy) {
    FileNameIndex companions(mailboxDir, "*.PMG");
    mbx record;
    record.SetCompanionIndex(&companions);
    for (const std::string& name : names) {
        record.SetFile(mailboxDir + name);
        AppendAnalyzed(record, useHierarchy, hierarchy);
    }
}

// Listed whatever Analyze says: an unreadable file shows its status text.
template <class Record>
void FolderList::AppendAnalyzed(Record& record, bool useHierarchy, const pmHierarch* hierarchy) {
    record.Analyze();
    if (useHierarchy && hierarchy) record.SetFolderPath(hierarchy->GetPath(record.hierarchyKey));
    Append(record);
}

void FolderList::Append(const FolderInfo& record) {
    records.push_back(record);  // slices off the reader's own fields
    ++count;
    total += record.size;
}

std::string FolderList::TotalText(bool compact) const { return FolderInfo::FormatSize(total, compact); }
