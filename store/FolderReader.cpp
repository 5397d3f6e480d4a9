#include "store/FolderReader.h"

#include "store/FileNameIndex.h"
#include "store/FolderInfo.h"
#include "store/mbx.h"
#include "store/pmHierarch.h"
#include "store/pmm.h"

#include <utility>

namespace {

// The row takes over the record's texts.
void TakeOver(FolderInfo& record, FolderInfo& row) {
    row.fileName.swap(record.fileName);
    row.folderName.swap(record.folderName);
    row.hierarchyKey.swap(record.hierarchyKey);
    row.size = record.size;
    row.status = record.status;
}

}  // namespace

FolderReader::FolderReader() = default;

FolderReader::~FolderReader() = default;

MailboxListing::Contents FolderReader::BeginScan(const std::string& dir) {
    mailboxDir = dir;
    table.reset();
    return MailboxListing::WithLookUps;
}

// The companions' names are looked up in the listing.
void FolderReader::Listed(const MailboxListing& listing) {
    companions = std::make_unique<FileNameIndex>(listing.CompanionNames());
}

const pmHierarch* FolderReader::Hierarchy(const MailboxListing&, bool wanted) {
    table.reset();
    if (!wanted) return nullptr;
    table = std::make_unique<pmHierarch>();
    if (table->Fill(mailboxDir) == 0) table.reset();
    return table.get();
}

void FolderReader::Read(const Folder& folder, FolderInfo& row, Opened* opened) {
    const std::string path = mailboxDir + folder.file.name;
    if (folder.isMbx) {
        mbx record;
        record.SetFile(path);
        record.SetCompanionIndex(companions.get());
        record.Analyze();
        if (opened) *opened = {record.stamp, record.companionName, record.companionStamp};
        TakeOver(record, row);
    } else {
        pmm record;
        record.SetFile(path);
        record.Analyze();
        if (opened) *opened = {record.stamp, std::string(), FileStamp()};
        TakeOver(record, row);
    }
}

void FolderReader::EndScan() { companions.reset(); }

void FolderReader::Abandon() {
    table.reset();
    companions.reset();
    std::string().swap(mailboxDir);
}
