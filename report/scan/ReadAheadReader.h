#pragma once

#include "store/FolderReader.h"
#include "store/FolderSource.h"

#include <cstddef>
#include <memory>
#include <thread>
#include <vector>

class ThreadBudget;

// The source that reads a mailbox's folder files ahead of its scan, on
// helper threads taken from the run's budget, so that many requests are in
// flight where each waits on a file server. The scan takes the readings in
// listing order, each as a FolderReader gives it, with its trace lines in
// the same order and its stamps; a file no helper has begun, the scan reads
// itself. At most a window of readings is held at once. With a budget of
// one thread, or none, it is a FolderReader.
//
// When the budget is stopped, no thread starts another request, and the
// scan waits for no helper: the rows still to come are given unread (as
// files that cannot be opened), and helpers still inside a request are left
// to end on their own, touching nothing but their own state.
class ReadAheadReader : public FolderSource {
public:
    static constexpr size_t DefaultWindow = 4096;

    // budget, where given, outlives the reader.
    explicit ReadAheadReader(ThreadBudget* budget, size_t window = DefaultWindow);
    ~ReadAheadReader() override;
    ReadAheadReader(const ReadAheadReader&) = delete;
    ReadAheadReader& operator=(const ReadAheadReader&) = delete;

    void BeginScan(const std::string& mailboxDir, MailboxListing::Contents contents,
                   MailboxListing& listing) override;
    const pmHierarch* Hierarchy(const MailboxListing& listing, bool wanted, bool& ioError) override;
    void Read(const Folder& folder, FolderInfo& row, Opened* opened = nullptr) override;
    void EndScan() override;
    void Abandon() override;

    // The helpers the scan under way (or the last one) started.
    size_t HelpersStarted() const { return started; }

private:
    struct Ahead;
    struct Records;

    bool Stopped() const;
    static void GiveUnread(const Folder& folder, FolderInfo& row);
    // Files of the listing that fit into the window go to the helpers, in
    // batches; and more helpers join where the budget has threads free.
    void Publish();
    void AddHelpers();
    // Ends the helpers: waits for them, or, once the budget is stopped,
    // leaves them to end on their own.
    void Finish();

    ThreadBudget* budget;
    const size_t window;
    FolderReader plain;  // the listing, the folder tree, and what the scan reads itself
    std::string mailboxDir;
    const MailboxListing* listing = nullptr;
    std::shared_ptr<Ahead> ahead;  // with helpers, shared with them
    std::unique_ptr<Records> records;  // for the files the scan reads ahead while it waits
    std::vector<std::thread> helpers;
    size_t consumed = 0;   // readings taken by the scan
    size_t published = 0;  // files handed to the helpers
    size_t started = 0;
};
