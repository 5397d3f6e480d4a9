#pragma once

#include "report/model/Finding.h"
#include "report/model/FolderTree.h"
#include "report/model/EarlierRun.h"
#include "report/model/ReportRow.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

class FolderList;
class FolderSource;
struct ReportOptions;
class ReportTexts;
class ThreadBudget;

// What the report knows of one mailbox: the panel's rows in the order asked
// for, its count and total, and, when asked for, its folder tree, its
// findings and its growth since an earlier run.
class MailboxReport {
public:
    // Scans the mailbox at path (as given on the command line) and builds
    // what options ask for, with the growth since earlier where there is
    // one. A mailbox that cannot be listed is left unreadable with no rows.
    // Its folder files are read on as many threads as threads has free, or
    // through source where given.
    static MailboxReport Make(const std::string& path, const ReportOptions& options, const ReportTexts& texts,
                              const EarlierRun* earlier = nullptr, ThreadBudget* threads = nullptr,
                              FolderSource* source = nullptr);

    // The directory as the scan wants it: with a trailing separator.
    static std::string AsDirectory(const std::string& path);
    // The new-mail directory of a mailbox: newMail itself when absolute,
    // else newMail inside the mailbox; with a trailing separator.
    static std::string NewMailDirectory(const std::string& mailboxPath, const std::string& newMail);

    std::string path;
    bool readable = false;
    // The listing broke off, or a folder file failed for an I/O error
    // (FolderList::ReadFault): the rows may lack folders or sizes, and the
    // mailbox is not recorded.
    bool readFault = false;
    bool hierarchyRead = false;
    std::vector<ReportRow> rows;
    uint64_t count = 0;
    uint64_t total = 0;
    FolderTree tree;                // built for --tree and for the HTML page
    std::deque<Finding> findings;   // with --check

    // With --since or --growth: whether an earlier run saw this mailbox,
    // when (UTC), what it counted then, and the folders that are gone.
    bool hasEarlierState = false;
    std::string earlierTime;
    uint64_t earlierTotal = 0;
    std::vector<std::pair<std::string, uint64_t>> removedFolders;  // file name, size before

    // Whether the run may record what it read of the mailbox.
    bool Recordable() const { return readable && !readFault; }
    // With a read fault: the first folder file that failed, as UTF-8; empty
    // when the listing itself broke off.
    std::string FailedFile() const;

    // A row's change since the earlier run: a new folder grows by its size.
    static int64_t Change(const ReportRow& row) { return Change(row.seenBefore ? row.sizeBefore : 0, row.record.size); }
    static int64_t Change(uint64_t before, uint64_t now) {
        return now >= before ? static_cast<int64_t>(now - before) : -static_cast<int64_t>(before - now);
    }
    // The total's change since the earlier run.
    int64_t TotalChange() const { return Change(earlierTotal, total); }
    // The UTF-8 names of the files of a node of the tree, joined by ", ".
    std::string FilesOf(int node) const;

private:
    void TakeRows(FolderList& list, const ReportOptions& options, const ReportTexts& texts);
    void CompareWith(const EarlierRun& earlier);
    void SortRows(const ReportOptions& options);
};
