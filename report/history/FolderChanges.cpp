#include "report/history/FolderChanges.h"

#include "report/history/Statement.h"

#include <limits>

namespace {

constexpr const char* Insert =
    "INSERT INTO folder_change(mailbox_id, file_name, run_id, size, kind, status, hierarchy_key, folder_path,"
    " folder_name) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)";

// Rows in the primary key's order: by file name, then by run.
constexpr const char* Select =
    "SELECT file_name, run_id, size, kind, status, hierarchy_key, folder_path, folder_name FROM folder_change"
    " WHERE mailbox_id = ?1 AND run_id <= ?2 ORDER BY file_name, run_id";

bool Bind(Statement& insert, int64_t mailboxId, int64_t runId, const RecordedFolder& folder, bool gone) {
    insert.Number(1, static_cast<uint64_t>(mailboxId)).Text(2, folder.fileName).Number(3, static_cast<uint64_t>(runId));
    if (gone) {
        insert.Null(4).Text(5, "").Text(6, "").Text(7, "").Text(8, "").Text(9, "");
    } else {
        insert.Number(4, folder.size).Text(5, folder.kind).Text(6, folder.status).Text(7, folder.hierarchyKey);
        insert.Text(8, folder.folderPath).Text(9, folder.folderName);
    }
    return insert.Run();
}

}  // namespace

bool FolderChanges::LoadLatest(int64_t mailboxId, Latest& latest) {
    std::vector<Present> present;
    if (!Read(mailboxId, 0, std::numeric_limits<int64_t>::max(), nullptr, &present)) return false;
    for (Present& folder : present) latest.emplace(folder.folder.fileName, std::move(folder.folder));
    return true;
}

bool FolderChanges::Write(int64_t mailboxId, int64_t runId, const std::vector<RecordedFolder>& folders) {
    auto cached = latestOf.find(mailboxId);
    if (cached == latestOf.end()) {
        Latest loaded;
        if (!LoadLatest(mailboxId, loaded)) return false;
        cached = latestOf.emplace(mailboxId, std::move(loaded)).first;
    }
    Latest& before = cached->second;
    Statement insert(db, Insert);
    if (!insert.Ok()) return false;
    Latest now;
    now.reserve(folders.size());
    for (const RecordedFolder& folder : folders) {
        if (!now.emplace(folder.fileName, folder).second) continue;
        auto found = before.find(folder.fileName);
        if ((found == before.end() || found->second != folder) && !Bind(insert, mailboxId, runId, folder, false))
            return false;
    }
    for (const auto& [name, folder] : before)
        if (now.count(name) == 0 && !Bind(insert, mailboxId, runId, folder, true)) return false;
    before = std::move(now);
    return true;
}

bool FolderChanges::Read(int64_t mailboxId, int64_t earlierRun, int64_t latestRun, std::vector<Present>* atEarlier,
                         std::vector<Present>* atLatest) {
    Statement select(db, Select);
    if (!select.Ok()) return false;
    const int64_t last = earlierRun > latestRun ? earlierRun : latestRun;
    select.Number(1, static_cast<uint64_t>(mailboxId)).Number(2, static_cast<uint64_t>(last));
    // Each file's rows in turn: its state at a run is its last row up to it.
    Present early, late;
    bool earlyThere = false, lateThere = false;
    std::string file;
    auto flush = [&] {
        if (earlyThere && atEarlier) atEarlier->push_back(std::move(early));
        if (lateThere && atLatest) atLatest->push_back(std::move(late));
        earlyThere = lateThere = false;
    };
    int code;
    while ((code = select.Step()) == SQLITE_ROW) {
        std::string name = select.ColumnText(0);
        if (name != file) {
            flush();
            file = std::move(name);
        }
        const int64_t run = static_cast<int64_t>(select.ColumnNumber(1));
        const bool gone = select.ColumnIsNull(2);
        Present row;
        if (!gone) {
            row.folder.fileName = file;
            row.folder.size = select.ColumnNumber(2);
            row.folder.kind = select.ColumnText(3);
            row.folder.status = select.ColumnText(4);
            row.folder.hierarchyKey = select.ColumnText(5);
            row.folder.folderPath = select.ColumnText(6);
            row.folder.folderName = select.ColumnText(7);
        }
        if (run <= earlierRun) {
            earlyThere = !gone;
            if (!gone) early = row;
        }
        if (run <= latestRun) {
            // A stay begins where the folder was gone or not there before.
            row.since = lateThere ? late.since : run;
            lateThere = !gone;
            if (!gone) late = std::move(row);
        }
    }
    flush();
    return code == SQLITE_DONE;
}
