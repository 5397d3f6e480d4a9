#pragma once

#include "report/model/Finding.h"
#include "report/model/ReportRow.h"

#include <deque>
#include <string>
#include <vector>

class pmHierarch;

// Read-only findings about a mailbox: folder files and hierarchy entries
// that do not match, files that cannot be read, ".MBX" and ".PMG" files
// without their partner, loops in the hierarchy, and folders shown under the
// same path. Findings come ordered by kind, then by the files and keys they
// name, whatever order the directory lists them in; in a deque, which grows
// without copying, as a hostile mailbox may have a finding per folder.
class ConsistencyCheck {
public:
    // The rows (their status texts in the report's language) and the table
    // as a scan with folder paths left them. Lists the mailbox's ".PMG" files
    // once.
    static std::deque<Finding> Run(const std::string& mailboxDir, const std::vector<ReportRow>& rows,
                                    const pmHierarch& table, bool hierarchyRead);
};
