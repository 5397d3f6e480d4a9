#pragma once

class FolderList;

// How the rows a list shows take in a new scan's rows.
enum class RowUpdate {
    Unchanged,  // the same rows: nothing to do
    InPlace,    // the same files in the same order: the shown records take over what changed
    Rebuild,    // other files, or another order: the list is made anew
};

// Compares a new scan with the rows shown; mustRebuild asks for a new list
// whatever the rows are (one that is to stay empty while a warning is open,
// or a view that shows other rows than the list holds).
RowUpdate ChooseRowUpdate(const FolderList& shown, const FolderList& scanned, bool mustRebuild);
