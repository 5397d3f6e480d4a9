#pragma once

#include <cstdint>
#include <string>

struct sqlite3;

// The history's tables (PRAGMA user_version 2):
//
//   runs(id INTEGER PRIMARY KEY, started TEXT, version TEXT)
//       started in UTC, "2026-11-01T12:00:00Z"
//   mailbox(id INTEGER PRIMARY KEY, key TEXT UNIQUE, path TEXT)
//       key as MailboxKey makes it; path as last recorded
//   mailbox_run(mailbox_id, run_id, count, total)
//       one per mailbox and run that recorded it
//   folder_change(mailbox_id, file_name, run_id, size, kind, status,
//                 hierarchy_key, folder_path, folder_name)
//       as FolderChanges writes them: a row where a folder came or changed,
//       one with a NULL size where it went
//   mailbox_scope(scope, mailbox_id)
//       the places to look (MailboxScope's texts) that have found a mailbox
//   mailbox_gone(mailbox_id, since)
//       a mailbox that a run looked for where it had been found, and did
//       not find: since that run's start (UTC); gone again once found
//   mailbox_rename(mailbox_id, old_path, until)
//       the path a mailbox had up to its run that started at until, before
//       --rename-mailbox joined its runs to its new path's
//
// The last three came later, without a new version: a run adds them where
// they are missing, and a version before ignores them.
//
// and how a file of the first schema (user_version 1: runs, mailboxes with
// the mailbox's path in each row, folders with every folder of every run)
// becomes one of this, with nothing lost.
namespace HistorySchema {

constexpr int Version = 2;
constexpr int FirstVersion = 1;
constexpr int ApplicationId = 0x46534852;  // "FSHR"

// Creates the tables in schema "main", or "temp" for a file read as this
// schema without being written; runs too where withRuns.
bool Create(sqlite3* db, const std::string& schema, bool withRuns);

// Adds the tables that came later where the file lacks them: to it where it
// is writable, else empty ones in memory.
bool AddPlaces(sqlite3* db, bool writable);

// Copies the first schema's runs in main into this schema's tables in
// schema: runs too where it is not main, whose runs stay as they are.
bool MigrateFirst(sqlite3* db, const std::string& schema);

// Drops what only the first schema had, once MigrateFirst copied it.
bool DropFirst(sqlite3* db);

// The id of the mailbox with this key in schema, made where it is new; its
// path becomes the one given.
bool MailboxId(sqlite3* db, const std::string& schema, const std::string& key, const std::string& path,
               int64_t& id);

}  // namespace HistorySchema
