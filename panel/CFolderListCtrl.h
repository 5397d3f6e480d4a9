#pragma once

#include "panel/CSortListCtrl.h"

#include <string>

class FolderInfo;
class FolderList;
class MessageHost;
class ProfileStore;

// The folder list of the panel: one row per record of the panel's folder
// list, in the columns file name, size and folder name.
class CFolderListCtrl : public CSortListCtrl {
public:
    CFolderListCtrl();

    // The titles are string resources of strings'.
    void Setup(FolderList& list, const MessageHost& strings, UINT fileTitleId, UINT sizeTitleId, UINT folderTitleId);

    // Empties the list before the records go; the top row is kept for the
    // next fill by its file name, since the records themselves go.
    void RemoveAll();
    // One item per record, then sorted; the kept row is scrolled to the top
    // again (or, when it is gone, the row at its place).
    void FillFromList(bool compact);
    // The records changed in place: sorted again, the top row kept by its
    // file name, redrawn. Far cheaper than a new fill of a large list.
    void RowsChanged(bool compact);
    // Shows the sizes in the other form without a new fill.
    void ShowCompact(bool compact);

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
