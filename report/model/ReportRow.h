#pragma once

#include "store/FolderInfo.h"
#include "store/FolderKind.h"

#include <cstdint>
#include <string>

// One row of a mailbox's report: the scanned record with its status text in
// the report's language, and what an earlier run saw of the same folder.
struct ReportRow {
    FolderInfo record;
    FolderKind kind = FolderKind::Pmm;
    bool seenBefore = false;  // the earlier run listed this folder file
    uint64_t sizeBefore = 0;
};

// The folder's shown name, its path followed by its name, as UTF-8.
std::string ShownName(const ReportRow& row);
// The same, in place of what out held.
void AssignShownName(std::string& out, const ReportRow& row);

// The names the machine formats give kinds and states: "pmm", "not-valid".
const char* FolderKindName(FolderKind kind);
const char* FolderStatusName(FolderStatus status);
