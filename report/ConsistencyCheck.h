#pragma once

#include "report/Finding.h"

#include <string>
#include <vector>

class FolderList;
class pmHierarch;

// Read-only findings about a mailbox: folder files and hierarchy entries
// that do not match, files that cannot be read, ".MBX" and ".PMG" files
// without their partner, loops in the hierarchy, and folders shown under the
// same path. Findings come ordered by kind, then by the files and keys they
// name, whatever order the directory lists them in.
class ConsistencyCheck {
public:
    // list and table as a scan with folder paths left them; newMailRow when
    // the list's first record is the new-mail row. Lists the mailbox's ".PMG"
    // files once.
    static std::vector<Finding> Run(const std::string& mailboxDir, const FolderList& list, bool newMailRow,
                                    const pmHierarch& table, bool hierarchyRead);
};
