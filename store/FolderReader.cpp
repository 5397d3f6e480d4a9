#include "store/FolderReader.h"

#include "store/FolderInfo.h"
#include "store/mbx.h"
#include "store/pmHierarch.h"
#include "store/pmm.h"

#include <utility>

FolderReader::FolderReader() = default;

FolderReader::~FolderReader() = default;

void FolderReader::BeginScan(const std::string& dir, MailboxListing::Contents contents, MailboxListing& listing) {
    mailboxDir = dir;
    table.reset();
    directory.Open(dir);
    listing.List(dir, contents);
}

const pmHierarch* FolderReader::Hierarchy(const MailboxListing&, bool wanted, bool& ioError) {
    table.reset();
    ioError = false;
    if (!wanted) return nullptr;
    table = std::make_unique<pmHierarch>();
    const int opened = table->Fill(mailboxDir);
    ioError = table->IoError();
    if (opened == 0) table.reset();
    return table.get();
}

// A companion that the listing names is opened as it stands, and none is
// looked for where it names none; where it names several that differ in
// case, the record looks for itself.
void FolderReader::Read(const Folder& folder, FolderInfo& row, Opened* opened) {
    path.assign(mailboxDir).append(folder.file.name);
    if (folder.isMbx) {
        if (!mbxRecord) mbxRecord = std::make_unique<mbx>();
        mbx& record = *mbxRecord;
        record.SetFile(path, &directory);
        if (!folder.ambiguous) record.SetListedCompanion(folder.companion ? &folder.companion->name : nullptr);
        record.Analyze();
        if (opened) *opened = {record.stamp, record.companionName, record.companionStamp};
        row.TakeReading(record);
    } else {
        if (!pmmRecord) pmmRecord = std::make_unique<pmm>();
        pmm& record = *pmmRecord;
        record.SetFile(path, &directory);
        record.Analyze();
        if (opened) *opened = {record.stamp, std::string(), FileStamp()};
        row.TakeReading(record);
    }
}

void FolderReader::EndScan() {
    pmmRecord.reset();
    mbxRecord.reset();
    directory.Close();
}

void FolderReader::Abandon() {
    FolderReader::EndScan();
    table.reset();
    std::string().swap(mailboxDir);
    std::string().swap(path);
}
