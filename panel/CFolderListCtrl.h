#pragma once

#include "panel/CSortListCtrl.h"

class FolderList;
class ProfileStore;

// The folder list of the panel: one row per record of the panel's folder
// list, in the columns file name, size and folder name.
class CFolderListCtrl : public CSortListCtrl {
public:
    CFolderListCtrl();

    void Setup(FolderList& list, UINT fileTitleId, UINT sizeTitleId, UINT folderTitleId);

    // Empties the list before the records go; the scroll position is kept
    // for the next fill.
    void RemoveAll();
    // One item per record, then sorted; the list stays scrolled where it was.
    void FillFromList(bool compact);

    void LoadColumns(ProfileStore& store);
    void SaveColumns(ProfileStore& store);

    static constexpr int ColumnCount = 3;

protected:
    int CompareItems(const void* first, const void* second, int column) const override;
    std::string GetCellText(const void* data, int column) const override;

private:
    FolderList* folders = nullptr;
    bool compactSizes = false;
    int keptTopIndex = 0;
};
