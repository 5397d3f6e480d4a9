#pragma once

#include "report/model/Finding.h"
#include "report/model/FolderTree.h"
#include "report/model/EarlierRun.h"
#include "report/model/ReportRow.h"

#include <cstdint>
#include <deque>
#include <map>
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
    // A mailbox as a run recorded it, from its rows, count and total then;
    // compared with earlier where there is one, sorted and with its tree as
    // options ask. Names are shown with their paths unless options say not.
    static MailboxReport FromRecord(const std::string& path, std::vector<ReportRow> rows, uint64_t count,
                                    uint64_t total, const ReportOptions& options, const EarlierRun* earlier,
                                    const std::string& recordedAt);

    // The directory as the scan wants it: with a trailing separator.
    static std::string AsDirectory(const std::string& path);
    // The new-mail directory of a mailbox: newMail itself when absolute,
    // else newMail inside the mailbox; with a trailing separator.
    static std::string NewMailDirectory(const std::string& mailboxPath, const std::string& newMail);

    std::string path;
    bool readable = false;
    // Why a mailbox that is not readable was not read, where the run said
    // so already: a directory below --all-under that could not be listed
    // (MailboxPlace::unlisted), or with --from-history one the history does
    // not know.
    bool unlisted = false;
    bool unknownToHistory = false;
    // The listing broke off, or a folder file failed for an I/O error
    // (FolderList::ReadFault): the rows may lack folders or sizes, and the
    // mailbox is not recorded.
    bool readFault = false;
    // Of the read fault: the listing broke off; "hierarch.pm" failed for an
    // I/O error.
    bool listingBroken = false;
    bool hierarchyFault = false;
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
    struct RemovedFolder {
        std::string fileName;  // UTF-8, as are the others
        uint64_t size = 0;     // as it was
        bool described = false;  // its path and name are known (from the history)
        std::string folderPath, folderName;
    };
    std::vector<RemovedFolder> removedFolders;
    // Folders whose file stayed while their path or name changed.
    struct MovedFolder {
        std::string fileName, from, to;  // UTF-8; shown names
    };
    std::vector<MovedFolder> movedFolders;
    // The first run (UTC) that had each folder the earlier run did not, by
    // the file name as the rows have it; this run's start for one no run had.
    std::map<std::string, std::string> firstSeen;
    // The history reached back less far than asked: the earlier run is its earliest.
    bool beforeHistory = false;
    // The total at the earlier run, each recorded run since and this one.
    std::vector<RecordedTotal> series;

    // With --from-history: the start of the run (UTC) that recorded this
    // mailbox.
    std::string recordedAt;
    // A mailbox that the latest run covering it no longer found (deleted, or
    // renamed): the start of that run (UTC); empty while it is there. It
    // counts in no total and no share and is listed after the others.
    std::string goneSince;

    // Whether the run may record what it read of the mailbox.
    bool Recordable() const { return readable && !readFault; }
    // Whether it counts in totals and shares: read, and not gone.
    bool Counted() const { return readable && goneSince.empty(); }
    // With a read fault: the hierarchy file or the first folder file that
    // failed, as UTF-8; empty when the listing itself broke off.
    std::string FailedFile() const;

    // A row's change since the earlier run: a new folder grows by its size.
    static int64_t Change(const ReportRow& row) { return Change(row.seenBefore ? row.sizeBefore : 0, row.record.size); }
    // Changes beyond 2^63 - 1 bytes either way stay at that, with their sign.
    static int64_t Change(uint64_t before, uint64_t now) {
        const uint64_t magnitude = now >= before ? now - before : before - now;
        const int64_t clamped = magnitude > INT64_MAX ? INT64_MAX : static_cast<int64_t>(magnitude);
        return now >= before ? clamped : -clamped;
    }
    // The total's change since the earlier run.
    int64_t TotalChange() const { return Change(earlierTotal, total); }
    // The UTF-8 names of the files of a node of the tree, joined by ", ".
    std::string FilesOf(int node) const;
    // When a row the earlier run did not see came (UTC); empty for the others.
    const std::string& FirstSeen(const ReportRow& row) const;
    // The row's folder path as read, also where --no-paths leaves it out of
    // the listing: the history keeps where each folder is.
    const std::string& RecordedPath(const ReportRow& row) const;

private:
    void TakeRows(FolderList& list, const ReportOptions& options, const ReportTexts& texts);
    void CompareWith(const EarlierRun& earlier, const std::string& now);
    void NoteMove(const ReportRow& row, const std::string& name, const EarlierFolder& before);
    void HidePath(ReportRow& row);
    void SortRows(const ReportOptions& options);

    std::map<std::string, std::string> hiddenPaths;  // by file name, with --no-paths
};
