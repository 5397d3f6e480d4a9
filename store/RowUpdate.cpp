#include "store/RowUpdate.h"

#include "store/FolderList.h"

#include <algorithm>

namespace {

bool SameRow(const FolderInfo& a, const FolderInfo& b) {
    return a.size == b.size && a.status == b.status && a.fileName == b.fileName && a.folderName == b.folderName &&
           a.folderPath == b.folderPath && a.hierarchyKey == b.hierarchyKey;
}

bool SameFile(const FolderInfo& a, const FolderInfo& b) { return a.fileName == b.fileName; }

}  // namespace

RowUpdate ChooseRowUpdate(const FolderList& shown, const FolderList& scanned, bool mustRebuild) {
    const FolderList::Records& mine = shown.GetRecords();
    const FolderList::Records& theirs = scanned.GetRecords();
    if (mustRebuild || mine.size() != theirs.size()) return RowUpdate::Rebuild;
    if (!std::equal(mine.begin(), mine.end(), theirs.begin(), SameFile)) return RowUpdate::Rebuild;
    if (shown.GetTotal() == scanned.GetTotal() && std::equal(mine.begin(), mine.end(), theirs.begin(), SameRow))
        return RowUpdate::Unchanged;
    return RowUpdate::InPlace;
}
