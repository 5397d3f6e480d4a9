#include "host/PanelReader.h"

#include <commctrl.h>

namespace {

const int ListId = 24001;
const int SummaryId = 24002;

}  // namespace

PanelReader::PanelReader(HWND panel) : panel(panel), list(::GetDlgItem(panel, ListId)) {}

std::vector<int> PanelReader::DisplayOrder() const {
    HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
    int count = header ? static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    std::vector<int> order(count > 0 ? static_cast<size_t>(count) : 0);
    if (!order.empty())
        ::SendMessageA(list, LVM_GETCOLUMNORDERARRAY, order.size(), reinterpret_cast<LPARAM>(order.data()));
    return order;
}

std::vector<std::string> PanelReader::ColumnTitles() const {
    std::vector<std::string> titles;
    for (int column : DisplayOrder()) {
        char text[256] = {};
        LVCOLUMNA info{};
        info.mask = LVCF_TEXT;
        info.pszText = text;
        info.cchTextMax = sizeof text;
        ::SendMessageA(list, LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
        titles.push_back(text);
    }
    return titles;
}

int PanelReader::RowCount() const { return static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)); }

std::string PanelReader::Cell(int row, int column) const {
    char text[1024] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    int length = static_cast<int>(
        ::SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item)));
    return std::string(text, length > 0 ? static_cast<size_t>(length) : 0);
}

std::vector<std::string> PanelReader::Row(int index) const {
    std::vector<std::string> cells;
    for (int column : DisplayOrder()) cells.push_back(Cell(index, column));
    return cells;
}

std::string PanelReader::Summary() const {
    char text[1024] = {};
    ::GetDlgItemTextA(panel, SummaryId, text, sizeof text);
    return text;
}

std::string PanelReader::Dump() const {
    std::string out = "columns";
    for (const std::string& title : ColumnTitles()) out += "\t" + title;
    out += "\n";
    int rows = RowCount();
    for (int row = 0; row < rows; ++row) {
        out += "row";
        for (const std::string& cell : Row(row)) out += "\t" + cell;
        out += "\n";
    }
    out += "summary\t" + Summary() + "\n";
    return out;
}
