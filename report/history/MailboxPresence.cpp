#include "report/history/MailboxPresence.h"

#include "report/history/FolderChanges.h"
#include "report/history/Statement.h"

#include <algorithm>
#include <cstdint>

// A mailbox that one of the run's scopes had found, where the run looked
// everywhere, and that the run did not find is gone from now on, unless it
// was already; one that the run found is not.
bool MailboxPresence::MarkGone(sqlite3* db, const std::string& started, const std::vector<MailboxScope>& scopes,
                               const std::set<int64_t>& found, std::vector<int64_t>& goneNow) {
    Statement inScope(db, "SELECT mailbox_id FROM mailbox_scope WHERE scope = ?1");
    Statement gone(db, "INSERT OR IGNORE INTO mailbox_gone(mailbox_id, since) VALUES (?1, ?2)");
    Statement back(db, "DELETE FROM mailbox_gone WHERE mailbox_id = ?1");
    if (!inScope.Ok() || !gone.Ok() || !back.Ok()) return false;
    for (int64_t id : found)
        if (!back.Number(1, static_cast<uint64_t>(id)).Run()) return false;
    for (const MailboxScope& scope : scopes) {
        if (!scope.whole) continue;
        inScope.Text(1, scope.text);
        std::vector<int64_t> missing;
        int code;
        while ((code = inScope.Step()) == SQLITE_ROW) {
            const int64_t id = static_cast<int64_t>(inScope.ColumnNumber(0));
            if (found.count(id) == 0) missing.push_back(id);
        }
        inScope.Reset();
        if (code != SQLITE_DONE) return false;
        for (int64_t id : missing) {
            if (!gone.Number(1, static_cast<uint64_t>(id)).Text(2, started).Run()) return false;
            if (sqlite3_changes(db) > 0) goneNow.push_back(id);
        }
    }
    return true;
}

// A mailbox found for the first time whose folder files are, nine in ten,
// those a mailbox gone from this run had at its last: likely the same one,
// renamed. Only said; --rename-mailbox joins them.
bool MailboxPresence::LikelyRenames(sqlite3* db, const std::vector<int64_t>& fresh, const std::vector<int64_t>& goneNow,
                                    std::vector<std::pair<std::string, std::string>>& renames) {
    if (fresh.empty() || goneNow.empty()) return true;
    auto files = [db](int64_t id, std::set<std::string>& names) {
        std::vector<FolderChanges::Present> present;
        if (!FolderChanges(db).Read(id, 0, INT64_MAX, nullptr, &present)) return false;
        for (const FolderChanges::Present& folder : present) names.insert(folder.folder.fileName);
        return true;
    };
    auto pathOf = [db](int64_t id) {
        Statement path(db, "SELECT path FROM mailbox WHERE id = ?1");
        return path.Ok() && path.Number(1, static_cast<uint64_t>(id)).Step() == SQLITE_ROW ? path.ColumnText(0)
                                                                                             : std::string();
    };
    std::vector<std::set<std::string>> freshFiles(fresh.size());
    for (size_t i = 0; i < fresh.size(); ++i)
        if (!files(fresh[i], freshFiles[i])) return false;
    for (int64_t gone : goneNow) {
        std::set<std::string> before;
        if (!files(gone, before)) return false;
        for (size_t i = 0; i < fresh.size(); ++i) {
            const std::set<std::string>& now = freshFiles[i];
            const int64_t id = fresh[i];
            size_t shared = 0;
            for (const std::string& name : now) shared += before.count(name);
            if (!before.empty() && shared * 10 >= std::max(before.size(), now.size()) * 9)
                renames.emplace_back(pathOf(gone), pathOf(id));
        }
    }
    return true;
}
