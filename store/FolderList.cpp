#include "store/FolderList.h"

#include "platform/FileSystem.h"
#include "store/NewMailFolder.h"
#include "store/pmm.h"

int FolderList::Scan(const std::string& mailboxDir, bool showFolderPath, bool showNewMailFolder,
                     const std::string& newMailDir, const std::string& newMailLabel) {
    records.clear();
    count = 0;
    total = 0;

    if (showNewMailFolder) AddNewMailFolder(newMailDir, newMailLabel);
    ScanPmm(mailboxDir, showFolderPath, nullptr);
    return 1;
}

void FolderList::AddNewMailFolder(const std::string& newMailDir, const std::string& label) {
    NewMailFolder newMail;
    newMail.Analyze(newMailDir, label);
    Append(newMail);
}

void FolderList::ScanPmm(const std::string& mailboxDir, bool useHierarchy, const pmHierarch* hierarchy) {
    (void)useHierarchy;
    (void)hierarchy;
    pmm record;
    FileSystem::ForEachMatch(mailboxDir + "*.PMM", [&](const std::string& name, uint64_t) {
        record.SetFile(mailboxDir + name);
        record.Analyze();
        Append(record);
    });
}

void FolderList::Append(const FolderInfo& record) {
    records.push_back(record);  // slices off the reader's own fields
    ++count;
    total += record.size;
}

std::string FolderList::TotalText(bool compact) const { return FolderInfo::FormatSize(total, compact); }
