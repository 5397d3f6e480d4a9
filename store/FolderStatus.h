#pragma once

// Whether a folder file could be analysed, and if not, why. A record that is
// not Ok shows FolderStatusText in place of its name, so that callers tell a
// status from a folder whose name happens to begin with "<" by this value.
enum class FolderStatus {
    Ok,
    CannotOpen,     // the ".PMM" file cannot be opened for reading
    NotValid,       // the ".PMM" file is shorter than its header
    MbxCannotOpen,  // the ".MBX" file cannot be opened for reading
    PmgCannotOpen,  // its ".PMG" companion cannot be opened (or is missing)
    PmgNotValid,    // the companion is shorter than its head
};

// The German text in angle brackets, in code page 1252; empty for Ok.
const char* FolderStatusText(FolderStatus status);
