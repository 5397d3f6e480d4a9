#include "panel/CFolderListCtrl.h"

#include "panel/ColumnWidths.h"
#include "settings/ProfileStore.h"
#include "store/FolderCompare.h"
#include "ui/AppServices.h"

#include <algorithm>
#include <vector>

namespace {

// Pixels at the standard resolution; each screen gets them in proportion.
const int InitialWidths[CFolderListCtrl::ColumnCount] = {110, 70, 240};

// The resolution the stored widths were measured at. Written only where it
// is not the standard one, so that the file stays as older versions wrote it.
const char WidthsDpiKey[] = "ColumnsDpi";

// Grid lines, columns the user may drag, whole rows highlighted.
const DWORD ExtendedStyle = LVS_EX_GRIDLINES | LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT;

void PutLittleEndian(unsigned char* out, int value) {
    uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) out[i] = static_cast<unsigned char>(v >> (8 * i));
}

int GetLittleEndian(const unsigned char* in) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(in[i]) << (8 * i);
    return static_cast<int>(v);
}

// Turns redrawing back on however the fill ends, a failed allocation
// included: the list would not paint again otherwise.
class RedrawOff {
public:
    explicit RedrawOff(const CListCtrl& list) : list(list) { list.SetRedraw(false); }
    ~RedrawOff() { list.SetRedraw(true); }
    RedrawOff(const RedrawOff&) = delete;
    RedrawOff& operator=(const RedrawOff&) = delete;

private:
    const CListCtrl& list;
};

}  // namespace

void CFolderListCtrl::Setup(const AppServices& strings, UINT fileTitleId, UINT sizeTitleId, UINT folderTitleId) {
    rows.clear();  // rows of an earlier window
    SetVirtualItemCount(0, 0);
    keptTopFile.clear();
    keptTopIndex = 0;
    int screenDpi = ScreenDpi::ForWindow(hwnd);
    SetDpi(ColumnWidths::IsDpi(screenDpi) ? screenDpi : ScreenDpi::Standard);
    AddColumn(0, strings.LoadString(fileTitleId), LVCFMT_LEFT, InitialWidth(0));
    AddColumn(1, strings.LoadString(sizeTitleId), LVCFMT_RIGHT, InitialWidth(1));
    AddColumn(2, strings.LoadString(folderTitleId), LVCFMT_LEFT, InitialWidth(2));
    SetExtendedStyle(ExtendedStyle);
    SetSort(FolderCompare::FolderNameColumn, 0);
    rule.tieMode = SortRule::FromLeftmost;
    ReportSystemKeys();
}

void CFolderListCtrl::LetGo() {
    KeepTopRow();
    rows.clear();
    SetVirtualItemCount(0, 0);
}

void CFolderListCtrl::ShowRows(const FolderList& list, RowUpdate update, bool compact) {
    bool otherForm = compact != compactSizes;
    compactSizes = compact;
    if (update == RowUpdate::Rebuild)
        FillFromList(list);
    else if (update == RowUpdate::InPlace || ColumnsMoved())
        ResortKeepingTopRow();
    else if (otherForm)
        Invalidate(true);  // the cells' texts are made as they are drawn, and sizes sort by value
}

void CFolderListCtrl::ResortKeepingTopRow() {
    KeepTopRow();
    {
        RedrawOff quiet(*this);
        Resort(-1);
    }
    if (!rows.empty()) ScrollToTop(KeptTopRow());
    Invalidate(true);
}

int CFolderListCtrl::InitialWidth(int column) const {
    return ColumnWidths::Rescale(InitialWidths[column], ScreenDpi::Standard, Dpi());
}

void CFolderListCtrl::OnDpiChanged(int newDpi) {
    if (!ColumnWidths::IsDpi(newDpi) || newDpi == Dpi()) return;
    int n = CListCtrl::ColumnCount();
    std::vector<int> widths(static_cast<size_t>(n > 0 ? n : 0));
    if (n > 0 && GetColumnWidths(widths.data(), n)) {
        ColumnWidths::Rescale(widths, Dpi(), newDpi);
        SetColumnWidths(widths.data(), n);
    }
    SetDpi(newDpi);
}

// The records are still there: the scan that replaces them comes after.
void CFolderListCtrl::KeepTopRow() {
    if (rows.empty()) return;
    keptTopIndex = TopIndex();
    keptTopFile = keptTopIndex >= 0 && keptTopIndex < RowCount() ? rows[static_cast<size_t>(keptTopIndex)]->fileName
                                                                  : std::string();
}

int CFolderListCtrl::KeptTopRow() const {
    if (!keptTopFile.empty())
        for (size_t row = 0; row < rows.size(); ++row)
            if (rows[row]->fileName == keptTopFile) return static_cast<int>(row);
    return keptTopIndex < RowCount() ? keptTopIndex : RowCount() - 1;
}

void CFolderListCtrl::FillFromList(const FolderList& list) {
    {
        // Redrawing is off while the rows change and are sorted.
        RedrawOff quiet(*this);
        rows.clear();
        rows.reserve(list.GetRecords().size());
        for (const FolderInfo& record : list) rows.push_back(&record);
        SetVirtualItemCount(RowCount(), LVSICF_NOSCROLL);
        Resort(-1);
    }
    if (!rows.empty()) ScrollToTop(KeptTopRow());
    Invalidate(true);
}

// The comparisons allocate nothing and never throw, so they order the rows
// consistently; the display order cannot change during a sort.
void CFolderListCtrl::SortRows(const std::vector<int>& displayOrder) {
    std::sort(rows.begin(), rows.end(), [&](const FolderInfo* a, const FolderInfo* b) {
        return rule.Compare(*a, *b, displayOrder) < 0;
    });
}

std::string CFolderListCtrl::CellText(int row, int column) const {
    const FolderInfo& record = *rows[static_cast<size_t>(row)];
    switch (column) {
    case FolderCompare::FileNameColumn:
        return record.fileName;
    case FolderCompare::SizeColumn:
        return record.SizeText(compactSizes);
    case FolderCompare::FolderNameColumn:
        return record.folderPath + record.folderName;
    default:
        return std::string();
    }
}

void CFolderListCtrl::LoadColumns(ProfileStore& store) {
    int n = CListCtrl::ColumnCount();
    if (n <= 0) return;

    // Zeros stand for nothing read: ShowEveryColumn refuses them.
    std::vector<int> widths(static_cast<size_t>(n), 0);
    store.ReadIntList("Columns", n, widths.data(), widths.data());
    if (ColumnWidths::ShowEveryColumn(widths)) {
        // Without a resolution beside them the widths were saved on this screen.
        int savedDpi = ColumnWidths::ParseDpi(store.ReadString(WidthsDpiKey, ""));
        if (savedDpi) ColumnWidths::Rescale(widths, savedDpi, Dpi());
        SetColumnWidths(widths.data(), n);
    }

    // An order that is not an arrangement of the columns is dropped as a
    // whole: the control's behaviour on it is undefined, and the tie-break
    // walk would look at columns that do not exist.
    std::vector<int> order = ColumnOrder();
    std::vector<int> stored = order;
    store.ReadIntList("ColOrder", n, order.data(), stored.data());
    if (SortRule::IsArrangement(stored)) SetColumnOrder(stored);

    unsigned char block[8];
    PutLittleEndian(block, rule.sortColumn);
    PutLittleEndian(block + 4, rule.descending);
    store.ReadBinary("Sort", 8, block, block);
    SetSort(GetLittleEndian(block), GetLittleEndian(block + 4));
}

void CFolderListCtrl::SaveColumns(ProfileStore& store) {
    int n = CListCtrl::ColumnCount();
    if (n <= 0) return;
    std::vector<int> widths(static_cast<size_t>(n));
    GetColumnWidths(widths.data(), n);
    store.WriteIntList("Columns", n, widths.data());
    if (Dpi() != ScreenDpi::Standard)
        store.WriteString(WidthsDpiKey, std::to_string(Dpi()));
    else if (!store.ReadString(WidthsDpiKey, "").empty())
        store.DeleteKey(WidthsDpiKey);
    std::vector<int> order = ColumnOrder();
    store.WriteIntList("ColOrder", n, order.data());
    unsigned char block[8];
    PutLittleEndian(block, rule.sortColumn);
    PutLittleEndian(block + 4, rule.descending);
    store.WriteBinary("Sort", 8, block);
}
