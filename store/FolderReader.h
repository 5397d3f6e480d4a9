#pragma once

#include "platform/DirectoryHandle.h"
#include "store/FolderSource.h"

#include <memory>
#include <string>

class mbx;
class pmm;

// The source that reads every folder file afresh, each by its name in the
// mailbox directory opened once per scan.
class FolderReader : public FolderSource {
public:
    FolderReader();  // out of line, as the members' types are not complete here
    ~FolderReader() override;

    void BeginScan(const std::string& mailboxDir, MailboxListing::Contents contents,
                   MailboxListing& listing) override;
    const pmHierarch* Hierarchy(const MailboxListing& listing, bool wanted, bool& ioError) override;
    void Read(const Folder& folder, FolderInfo& row, Opened* opened = nullptr) override;
    void EndScan() override;
    void Abandon() override;

private:
    std::string mailboxDir;
    DirectoryHandle directory;
    std::string path;  // the folder file read, in one buffer for the whole scan
    std::unique_ptr<pmHierarch> table;
    // One record of each kind serves a whole scan.
    std::unique_ptr<pmm> pmmRecord;
    std::unique_ptr<mbx> mbxRecord;
};
