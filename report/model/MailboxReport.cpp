#include "report/model/MailboxReport.h"

#include "platform/Directory.h"
#include "platform/FileSystem.h"
#include "report/model/ConsistencyCheck.h"
#include "report/model/ReportOptions.h"
#include "report/scan/ReadAheadReader.h"
#include "report/text/ReportTexts.h"
#include "report/text/RunTime.h"
#include "report/text/Utf8.h"
#include "store/FolderCompare.h"
#include "store/FolderList.h"
#include "store/SortRule.h"
#include "store/pmHierarch.h"

#include <algorithm>
#include <new>
#include <set>

namespace {

// The panel's initial column order; ties walk it from the left.
const std::vector<int> DisplayOrder = {FolderCompare::FileNameColumn, FolderCompare::SizeColumn,
                                       FolderCompare::FolderNameColumn};

bool IsAbsolute(const std::string& path) {
    if (!path.empty() && FileSystem::IsSeparator(path[0])) return true;
#ifdef _WIN32
    return path.size() >= 2 && path[1] == ':';
#else
    return false;
#endif
}

}  // namespace

std::string MailboxReport::AsDirectory(const std::string& path) {
    if (!path.empty() && FileSystem::IsSeparator(path.back())) return path;
    return path + FileSystem::Separator();
}

std::string MailboxReport::NewMailDirectory(const std::string& mailboxPath, const std::string& newMail) {
    return AsDirectory(IsAbsolute(newMail) ? newMail : AsDirectory(mailboxPath) + newMail);
}

MailboxReport MailboxReport::Make(const std::string& path, const ReportOptions& options, const ReportTexts& texts,
                                  const EarlierRun* earlier, ThreadBudget* threads, FolderSource* source) {
    MailboxReport report;
    report.path = path;
    if (path.empty() || !Directory::IsListable(path)) return report;
    report.readable = true;

    // The hierarchy is read whatever the paths shown: the tree and the check need it.
    // The scan makes every file's path absolute; from a relative mailbox
    // path that would ask the OS for the current directory once per file.
    const std::string absolute = FileSystem::AbsolutePath(path);
    const std::string& base = absolute.empty() ? path : absolute;
    ScanOptions scan;
    scan.mailboxDir = AsDirectory(base);
    scan.showFolderPath = true;
    scan.showNewMailFolder = !options.newMailDir.empty();
    if (scan.showNewMailFolder) scan.newMailDir = NewMailDirectory(base, options.newMailDir);
    scan.newMailLabel = texts.newMailLabel;

    ReadAheadReader reader(threads);  // keeps the folder tree for the check and the tree
    const pmHierarch* read = nullptr;
    {
        // The scan's records go once they are rows, before the check and
        // the tree need memory of their own. A scan that ran out of memory
        // left its list empty, which must not pass for a report.
        FolderList list;
        list.UseReader(source ? source : &reader);
        ScanResult result = list.Scan(scan);
        if (list.OutOfMemory()) throw std::bad_alloc();
        report.readFault = list.ReadFault();
        report.listingBroken = result.listingBroken;
        report.hierarchyFault = result.hierarchyFault;
        report.hierarchyRead = result.hierarchyRead && !result.hierarchyFault;
        read = result.table;
        report.count = static_cast<uint64_t>(list.GetCount());
        report.total = list.GetTotal();
        report.TakeRows(list, options, texts);
    }
    const pmHierarch none;
    const pmHierarch& table = read ? *read : none;
    if (options.check)
        report.findings = ConsistencyCheck::Run(scan.mailboxDir, report.rows, table, report.hierarchyRead);
    if (earlier) {
        const std::string now = RunTime::Now();
        report.CompareWith(*earlier, now);
        if (!report.series.empty()) report.series.push_back({now, report.total});
    }
    report.SortRows(options);
    if (options.tree || options.format == ReportFormat::Html)
        report.tree.Build(report.rows, table, options.sortColumn, options.descending);
    return report;
}

MailboxReport MailboxReport::FromRecord(const std::string& path, std::vector<ReportRow> rows, uint64_t count,
                                        uint64_t total, const ReportOptions& options, const EarlierRun* earlier,
                                        const std::string& recordedAt) {
    MailboxReport report;
    report.path = path;
    report.readable = true;
    report.recordedAt = recordedAt;
    report.rows = std::move(rows);
    report.count = count;
    report.total = total;
    for (ReportRow& row : report.rows) {
        report.hierarchyRead = report.hierarchyRead || !row.record.folderPath.empty();
        if (!options.showPaths) report.HidePath(row);
    }
    if (earlier) report.CompareWith(*earlier, recordedAt);
    report.SortRows(options);
    // The history keeps no folder tree: the treemap shows the folders side by side.
    if (options.tree || options.format == ReportFormat::Html)
        report.tree.Build(report.rows, pmHierarch(), options.sortColumn, options.descending);
    return report;
}

void MailboxReport::CompareWith(const EarlierRun& earlier, const std::string& now) {
    hasEarlierState = true;
    earlierTime = earlier.written;
    earlierTotal = earlier.total;
    beforeHistory = earlier.beforeHistory;
    series = earlier.series;
    std::set<std::string> names;
    for (ReportRow& row : rows) {
        std::string name = Utf8FromFileName(row.record.fileName);
        auto found = earlier.folders.find(name);
        if (found == earlier.folders.end()) {
            auto seen = earlier.firstSeen.find(name);
            firstSeen[row.record.fileName] = seen == earlier.firstSeen.end() ? now : seen->second;
        } else {
            row.seenBefore = true;
            row.sizeBefore = found->second.size;
            NoteMove(row, name, found->second);
        }
        names.insert(std::move(name));
    }
    for (const auto& [name, folder] : earlier.folders)
        if (names.count(name) == 0)
            removedFolders.push_back({name, folder.size, folder.described, folder.folderPath, folder.folderName});
    std::sort(movedFolders.begin(), movedFolders.end(),
              [](const MovedFolder& a, const MovedFolder& b) { return a.fileName < b.fileName; });
}

// A status text in place of a name says nothing of where the folder is, so
// only folders read then and now count as moved.
void MailboxReport::NoteMove(const ReportRow& row, const std::string& name, const EarlierFolder& before) {
    if (!before.described || !before.readable || row.record.status != FolderStatus::Ok) return;
    std::string now = Utf8FromCp1252(RecordedPath(row));
    AppendUtf8FromCp1252(now, row.record.folderName);
    std::string then = before.folderPath + before.folderName;
    if (now != then) movedFolders.push_back({name, std::move(then), std::move(now)});
}

void MailboxReport::HidePath(ReportRow& row) {
    if (row.record.folderPath.empty()) return;
    hiddenPaths[row.record.fileName] = std::move(row.record.folderPath);
    row.record.folderPath.clear();
}

const std::string& MailboxReport::RecordedPath(const ReportRow& row) const {
    if (hiddenPaths.empty()) return row.record.folderPath;
    auto found = hiddenPaths.find(row.record.fileName);
    return found == hiddenPaths.end() ? row.record.folderPath : found->second;
}

const std::string& MailboxReport::FirstSeen(const ReportRow& row) const {
    static const std::string none;
    auto found = firstSeen.find(row.record.fileName);
    return found == firstSeen.end() ? none : found->second;
}

// The records' texts are moved into the rows: the list goes right after.
void MailboxReport::TakeRows(FolderList& list, const ReportOptions& options, const ReportTexts& texts) {
    rows.resize(list.GetRecords().size());
    for (size_t i = 0; i < rows.size(); ++i) rows[i].kind = list.KindOf(i);
    FolderList::Records records = list.TakeRecords();
    for (size_t i = 0; i < rows.size(); ++i) {
        FolderInfo& record = rows[i].record;
        record = std::move(records[i]);
        if (record.status != FolderStatus::Ok) record.folderName = texts.StatusText(record.status);
        if (!options.showPaths) HidePath(rows[i]);
    }
}

// The panel's order: the sort column, then the other columns from the left,
// all in the same direction. Rows equal in every column keep the
// directory's order.
void MailboxReport::SortRows(const ReportOptions& options) {
    const bool byGrowth = options.sortColumn == ReportOptions::GrowthColumn;
    SortRule rule;
    rule.sortColumn = byGrowth ? FolderCompare::FolderNameColumn : options.sortColumn;
    rule.descending = options.descending ? 1 : 0;
    rule.tieMode = SortRule::FromLeftmost;
    // Shown names are compared through keys made once per row, since a sort
    // compares each row many times; the keys order as the names do.
    std::vector<std::string> keys;
    if (rule.sortColumn == FolderCompare::FolderNameColumn) {
        keys.reserve(rows.size());
        for (const ReportRow& row : rows) keys.push_back(FolderCompare::ShownNameKey(row.record));
    }
    auto byColumn = [&](size_t x, size_t y, int column) {
        if (column == FolderCompare::FolderNameColumn && !keys.empty()) {
            int order = keys[x].compare(keys[y]);
            return order < 0 ? -1 : (order > 0 ? 1 : 0);
        }
        return FolderCompare::CompareColumn(rows[x].record, rows[y].record, column);
    };
    // The order is found on indices, and each row moved into its place
    // along the cycles of the order, so that the rows are never held twice.
    std::vector<size_t> order(rows.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](const size_t& a, const size_t& b) {
        return rule.Compare(a, b, DisplayOrder, byColumn) < 0;
    });
    // By growth, rows that grew alike keep the folder names' order.
    if (byGrowth)
        std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            int64_t x = Change(rows[a]), y = Change(rows[b]);
            return options.descending ? x > y : x < y;
        });
    keys.clear();
    keys.shrink_to_fit();
    for (size_t start = 0; start < order.size(); ++start) {
        if (order[start] == start) continue;
        ReportRow first = std::move(rows[start]);
        size_t at = start;
        while (order[at] != start) {
            size_t from = order[at];
            rows[at] = std::move(rows[from]);
            order[at] = at;
            at = from;
        }
        rows[at] = std::move(first);
        order[at] = at;
    }
}

std::string MailboxReport::FailedFile() const {
    if (listingBroken) return std::string();
    if (hierarchyFault) return MailboxListing::HierarchyFile;
    for (const ReportRow& row : rows)
        if (row.record.ioError) return Utf8FromFileName(row.record.fileName);
    return std::string();
}

std::string MailboxReport::FilesOf(int node) const {
    std::string files;
    for (size_t r : tree.RowsOf(node)) files += (files.empty() ? "" : ", ") + Utf8FromFileName(rows[r].record.fileName);
    return files;
}
