#pragma once

#include "panel/CSortListCtrl.h"
#include "store/FolderList.h"

#include <string>

class AppServices;
class ProfileStore;

// The folder list of the panel: one row per record of the panel's folder
// list, in the columns file name, size and folder name.
class CFolderListCtrl : public CSortListCtrl {
public:
    CFolderListCtrl();

    // The titles are string resources of strings'.
    void Setup(FolderList& list, const AppServices& strings, UINT fileTitleId, UINT sizeTitleId, UINT folderTitleId);

    // Takes in a new scan's rows as update says: for a new list the view lets
    // go of the shown records before the lists exchange them for scanned's;
    // otherwise the shown records take over what changed.
    void TakeRows(RowUpdate update, FolderList& scanned);
    // Shows what TakeRows took: a new fill, the changed records sorted again,
    // or the same rows (in the size form given, without a new fill).
    void ShowRows(RowUpdate update, bool compact);

    // One row per record, then sorted; the kept row is scrolled to the top
    // again (or, when it is gone, the row at its place).
    void FillFromList(bool compact);

    // The screen's resolution changed while the panel is open: the columns
    // keep their physical size. A resolution the columns already have, or
    // none a screen can have, changes nothing.
    void OnDpiChanged(int newDpi);

    // Stored widths are taken as measured at the resolution stored beside
    // them, or without one at the current screen's.
    void LoadColumns(ProfileStore& store);
    void SaveColumns(ProfileStore& store);

    static constexpr int ColumnCount = 3;

protected:
    int CompareItems(const void* first, const void* second, int column) const override;
    std::string GetCellText(const void* data, int column) const override;

private:
    static const FolderInfo& Record(const void* row);
    int InitialWidth(int column) const;
    void KeepTopRow();
    int KeptTopRow() const;

    FolderList* folders = nullptr;
    bool compactSizes = false;
    // The top row across a refresh; each window starts at the top.
    std::string keptTopFile;
    int keptTopIndex = 0;
};
