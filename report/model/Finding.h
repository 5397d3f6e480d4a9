#pragma once

#include "store/FolderStatus.h"

#include <string>
#include <vector>

class ReportTexts;

// One finding of the consistency check. Names and keys are code page 1252
// bytes from the mail store.
struct Finding {
    enum class Kind {
        NoHierarchy,        // "hierarch.pm" cannot be read
        KeyNotInHierarchy,  // a folder file's key has no entry
        EntryWithoutFile,   // an entry (not a root) no folder file names
        ParentMissing,      // an entry's parent key has no entry
        Unreadable,         // a folder file cannot be read or is short
        MbxWithoutPmg,
        PmgWithoutMbx,
        HierarchyLoop,  // entries that are their own ancestors
        SamePath,       // folders shown under the same path
    };

    Kind kind;
    std::vector<std::string> files;  // the folder files concerned
    std::vector<std::string> keys;   // hierarchy keys (a loop's in its order)
    std::string text;                // an entry's name or a path
    FolderStatus status = FolderStatus::Ok;  // why a file is unreadable

    // The finding in words, as UTF-8.
    std::string Describe(const ReportTexts& texts) const;
};

// The kind's name in the machine formats: "key-not-in-hierarchy", ...
const char* FindingKindName(Finding::Kind kind);
