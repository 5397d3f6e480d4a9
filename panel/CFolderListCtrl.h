#pragma once

#include "panel/CSortListCtrl.h"
#include "store/FolderList.h"

#include <string>
#include <vector>

class AppServices;
class ProfileStore;

// The folder list of the panel: one row per record of the panel's folder
// list, in the columns file name, size and folder name. The rows refer to
// the records and only read them; the panel owns the list and says when its
// records go and come (CMainDlg::OnRefresh).
class CFolderListCtrl : public CSortListCtrl {
public:
    // The titles are string resources of strings'.
    void Setup(const AppServices& strings, UINT fileTitleId, UINT sizeTitleId, UINT folderTitleId);

    // Lets go of every row, before the records they refer to go; the top row
    // is kept by its file name for the next fill.
    void LetGo();
    // Shows the records of list as update says they changed since the last
    // showing: anew, sorted again in place, or the same rows, sorted again
    // only when the columns were dragged into another order since. The
    // sizes are shown in the form given.
    void ShowRows(const FolderList& list, RowUpdate update, bool compact);

    // The screen's resolution changed while the panel is open: the columns
    // keep their physical size. A resolution the columns already have, or
    // none a screen can have, changes nothing.
    void OnDpiChanged(int newDpi);

    // Stored widths are taken as measured at the resolution stored beside
    // them, or without one at the current screen's.
    void LoadColumns(ProfileStore& store);
    void SaveColumns(ProfileStore& store);

    int RowCount() const override { return static_cast<int>(rows.size()); }

    static constexpr int ColumnCount = 3;

protected:
    std::string CellText(int row, int column) const override;
    void SortRows(const std::vector<int>& displayOrder) override;

private:
    // One row per record, then sorted, with the kept top row at the top.
    void FillFromList(const FolderList& list);
    // Sorted again with the top row kept by its file name: far cheaper than
    // a new fill of a large list.
    void ResortKeepingTopRow();
    int InitialWidth(int column) const;
    void KeepTopRow();
    int KeptTopRow() const;

    std::vector<const FolderInfo*> rows;  // in the order shown
    bool compactSizes = false;
    // The top row across a refresh; each window starts at the top.
    std::string keptTopFile;
    int keptTopIndex = 0;
};
