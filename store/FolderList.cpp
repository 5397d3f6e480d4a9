#include "store/FolderList.h"

#include "platform/FileSystem.h"
#include "store/FileNameIndex.h"
#include "store/NewMailFolder.h"
#include "store/mbx.h"
#include "store/pmHierarch.h"
#include "store/pmm.h"

int FolderList::Scan(const std::string& mailboxDir, bool showFolderPath, bool showNewMailFolder,
                     const std::string& newMailDir, const std::string& newMailLabel) {
    records.clear();
    count = 0;
    total = 0;

    // The table lives for this scan only: the file is read afresh every time.
    int result = 1;
    pmHierarch table;
    if (showFolderPath) result = table.Fill(mailboxDir);
    if (showNewMailFolder) AddNewMailFolder(newMailDir, newMailLabel);
    const pmHierarch* hierarchy = result != 0 ? &table : nullptr;
    ScanPmm(mailboxDir, showFolderPath, hierarchy);
    ScanMbx(mailboxDir, showFolderPath, hierarchy);
    return result;
}

void FolderList::AddNewMailFolder(const std::string& newMailDir, const std::string& label) {
    NewMailFolder newMail;
    newMail.Analyze(newMailDir, label);
    Append(newMail);
}

void FolderList::ScanPmm(const std::string& mailboxDir, bool useHierarchy, const pmHierarch* hierarchy) {
    pmm record;
    FileSystem::ForEachMatch(mailboxDir + "*.PMM", [&](const std::string& name, uint64_t) {
        record.SetFile(mailboxDir + name);
        AppendAnalyzed(record, useHierarchy, hierarchy);
    });
}

// The companions are listed at most once per scan, and only when some
// companion's name differs in case from its ".MBX" file's.
void FolderList::ScanMbx(const std::string& mailboxDir, bool useHierarchy, const pmHierarch* hierarchy) {
    FileNameIndex companions(mailboxDir, "*.PMG");
    mbx record;
    record.SetCompanionIndex(&companions);
    FileSystem::ForEachMatch(mailboxDir + "*.MBX", [&](const std::string& name, uint64_t) {
        record.SetFile(mailboxDir + name);
        AppendAnalyzed(record, useHierarchy, hierarchy);
    });
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
