#pragma once

#include <string>

// What one scan of a mailbox looks at. Both directories end with a path
// separator; the scan uses them as prefixes as they stand.
struct ScanOptions {
    std::string mailboxDir;
    bool showFolderPath = false;     // folder paths from "hierarch.pm"
    bool showNewMailFolder = false;  // the new-mail row first
    std::string newMailDir;
    std::string newMailLabel;        // the new-mail row's folder name
};
