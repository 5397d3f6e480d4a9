// The folder list inside the loaded DLL: columns, sorting and the header's
// sort arrow, stored column state, keys and the context menu.
#include "tests/panel/PanelTest.h"

#include "platform/CSortArrow.h"

#include "tests/support/Cp1252.h"
#include "tests/support/FolderHeads.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Strings = std::vector<std::string>;

// An arrow drawn as a bitmap points up when its top row is the narrower.
std::string BitmapArrow(HBITMAP bitmap) {
    BITMAP shape{};
    if (!::GetObjectA(bitmap, sizeof shape, &shape) || shape.bmWidth <= 0 || shape.bmHeight <= 0) return "empty";
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = shape.bmWidth;
    format.bmiHeader.biHeight = -shape.bmHeight;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<RGBQUAD> pixels(static_cast<size_t>(shape.bmWidth) * shape.bmHeight);
    HDC screen = ::GetDC(nullptr);
    ::GetDIBits(screen, bitmap, 0, shape.bmHeight, pixels.data(), &format, DIB_RGB_COLORS);
    ::ReleaseDC(nullptr, screen);
    COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    auto inked = [&](int row) {
        int n = 0;
        for (int x = 0; x < shape.bmWidth; ++x) {
            const RGBQUAD& p = pixels[static_cast<size_t>(row * shape.bmWidth + x)];
            n += RGB(p.rgbRed, p.rgbGreen, p.rgbBlue) != face;
        }
        return n;
    };
    int top = inked(0), bottom = inked(shape.bmHeight - 1);
    return top < bottom ? "up" : top > bottom ? "down" : "flat";
}

// Each header item by column index, read back from the header: its alignment
// and, where it shows one, its arrow from the sort flags or from its bitmap.
Strings HeaderItems(HWND list) {
    HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
    Strings items;
    int count = static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        HDITEMA item{};
        item.mask = HDI_FORMAT | HDI_BITMAP;
        ::SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        std::string text = (item.fmt & HDF_JUSTIFYMASK) == HDF_RIGHT ? "right" : "left";
        if (item.fmt & HDF_SORTUP) text += " up";
        if (item.fmt & HDF_SORTDOWN) text += " down";
        if (item.fmt & HDF_BITMAP) text += (item.fmt & HDF_BITMAP_ON_RIGHT ? " " : " (left) ") + BitmapArrow(item.hbm);
        items.push_back(text);
    }
    return items;
}

// The width of the arrow's bitmap on the header's items, 0 where none shows one.
int ArrowWidth(HWND list) {
    HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
    int count = static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        HDITEMA item{};
        item.mask = HDI_FORMAT | HDI_BITMAP;
        ::SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        BITMAP shape{};
        if ((item.fmt & HDF_BITMAP) && ::GetObjectA(item.hbm, sizeof shape, &shape)) return shape.bmWidth;
    }
    return 0;
}

class FolderListView : public PanelTest {
protected:
    void Settings(const std::string& lines) {
        mailbox.Write("KVT-FSCN.PM", "[MainDlg]\r\nShowNewMailFolder=0\r\nShowFolderPath=0\r\n" + lines);
    }

    // Three folders with the same name whose file names and sizes disagree.
    void TiedFolders() {
        mailbox.Write("a.pmm", PmmHead("Gleich"), 3000);
        mailbox.Write("b.pmm", PmmHead("Gleich"), 1000);
        mailbox.Write("c.pmm", PmmHead("Gleich"), 2000);
        mailbox.Write("z.pmm", PmmHead("Anders"), 500);
    }

    // Sends a key to the list as if typed with the given modifiers held.
    void TypeInList(int key, bool ctrl, bool shift, bool alt) {
        BYTE keys[256] = {};
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        keys[VK_MENU] = alt ? 0x80 : 0;
        ::SetKeyboardState(keys);
        ::SendMessageA(harness.List(), alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, alt ? (1 << 29) : 0);
        BYTE none[256] = {};
        ::SetKeyboardState(none);
        harness.HandlePending();
    }
};

}  // namespace

TEST_F(FolderListView, InitialColumnsWidthsAndSort) {
    Settings("");
    TiedFolders();
    ASSERT_TRUE(harness.Open());
    EXPECT_EQ(harness.Titles(), (Strings{"Dateiname", Cp1252("Größe"), "Ordnername"}));
    EXPECT_EQ(harness.Widths(), (std::vector<int>{110, 70, 240}));
    EXPECT_EQ(harness.Order(), (std::vector<int>{0, 1, 2}));
    // By folder name; equal names in file-name order.
    EXPECT_EQ(harness.Column(0), (Strings{"z.pmm", "a.pmm", "b.pmm", "c.pmm"}));
    EXPECT_EQ(HeaderItems(harness.List()), (Strings{"left", "right", "left up"}));
    DWORD style = static_cast<DWORD>(::SendMessageA(harness.List(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
    EXPECT_EQ(style & 0x31u, 0x31u);
}

TEST_F(FolderListView, HeaderClicksSortAndReverse) {
    Settings("");
    TiedFolders();
    ASSERT_TRUE(harness.Open());
    harness.ClickColumn(1);
    EXPECT_EQ(harness.Column(0), (Strings{"z.pmm", "b.pmm", "c.pmm", "a.pmm"}));
    EXPECT_EQ(HeaderItems(harness.List()), (Strings{"left", "right up", "left"}));
    harness.ClickColumn(1);
    EXPECT_EQ(harness.Column(0), (Strings{"a.pmm", "c.pmm", "b.pmm", "z.pmm"}));
    EXPECT_EQ(HeaderItems(harness.List()), (Strings{"left", "right down", "left"}));
    harness.ClickColumn(0);
    EXPECT_EQ(harness.Column(0), (Strings{"a.pmm", "b.pmm", "c.pmm", "z.pmm"}));
    EXPECT_EQ(HeaderItems(harness.List()), (Strings{"left up", "right", "left"}));
    // Back to the names, descending: ties now in reverse file-name order.
    harness.ClickColumn(2);
    harness.ClickColumn(2);
    EXPECT_EQ(harness.Column(0), (Strings{"c.pmm", "b.pmm", "a.pmm", "z.pmm"}));
    EXPECT_EQ(HeaderItems(harness.List()), (Strings{"left", "right", "left down"}));
    // The arrow changed nothing else of the header.
    EXPECT_EQ(harness.Titles(), (Strings{"Dateiname", Cp1252("Größe"), "Ordnername"}));
    EXPECT_EQ(harness.Widths(), (std::vector<int>{110, 70, 240}));
    EXPECT_EQ(harness.Order(), (std::vector<int>{0, 1, 2}));
    harness.Close();
    EXPECT_NE(mailbox.Read("KVT-FSCN.PM").find("Sort=0200000001000000"), std::string::npos);
}

TEST_F(FolderListView, NamesIgnoreCaseOfAsciiOnlyAndSizesAreUnsigned) {
    Settings("Sort=0000000000000000\r\n");
    mailbox.Write("ABC.PMM", PmmHead("x"), 4000000000ull);
    mailbox.Write(Cp1252("Äpfel.pmm"), PmmHead("y"), 5);
    mailbox.Write("zebra.pmm", PmmHead("z"), 200);
    mailbox.Write("abd.pmm", PmmHead("w"), 300);
    ASSERT_TRUE(harness.Open());
    EXPECT_EQ(harness.Column(0), (Strings{"ABC.PMM", "abd.pmm", "zebra.pmm", Cp1252("Äpfel.pmm")}));
    harness.ClickColumn(1);
    EXPECT_EQ(harness.Column(0), (Strings{Cp1252("Äpfel.pmm"), "zebra.pmm", "abd.pmm", "ABC.PMM"}));
}

TEST_F(FolderListView, ARestoredColumnOrderChangesTheTieBreak) {
    Settings("ColOrder=1, 0, 2\r\n");
    TiedFolders();
    ASSERT_TRUE(harness.Open());
    EXPECT_EQ(harness.Order(), (std::vector<int>{1, 0, 2}));
    EXPECT_EQ(harness.Titles(), (Strings{Cp1252("Größe"), "Dateiname", "Ordnername"}));
    EXPECT_EQ(harness.Column(0), (Strings{"z.pmm", "b.pmm", "c.pmm", "a.pmm"}));
    EXPECT_EQ(HeaderItems(harness.List()), (Strings{"left", "right", "left up"}));  // by column, not by place
}

TEST_F(FolderListView, StoredColumnStateOfTheWrongShapeIsIgnored) {
    Settings("Columns=100, 50\r\nColOrder=0, 0, 2\r\nSort=0900000001000000\r\n");
    TiedFolders();
    ASSERT_TRUE(harness.Open());
    EXPECT_EQ(harness.Widths(), (std::vector<int>{110, 70, 240}));
    EXPECT_EQ(harness.Order(), (std::vector<int>{0, 1, 2}));
    // Sort column 9 becomes the last column, descending.
    EXPECT_EQ(harness.Column(0), (Strings{"c.pmm", "b.pmm", "a.pmm", "z.pmm"}));
    EXPECT_EQ(HeaderItems(harness.List()), (Strings{"left", "right", "left down"}));
    harness.Close();
    std::string file = mailbox.Read("KVT-FSCN.PM");
    EXPECT_NE(file.find("Columns=110, 70, 240"), std::string::npos);
    EXPECT_NE(file.find("ColOrder=0, 1, 2"), std::string::npos);
    EXPECT_NE(file.find("Sort=0200000001000000"), std::string::npos);
}

TEST_F(FolderListView, StoredWidthsAreRestoredAndSaved) {
    Settings("Columns=90, 80, 300\r\n");
    ASSERT_TRUE(harness.Open());
    EXPECT_EQ(harness.Widths(), (std::vector<int>{90, 80, 300}));
    ::SendMessageA(harness.List(), LVM_SETCOLUMNWIDTH, 2, MAKELPARAM(123, 0));
    harness.Close();
    EXPECT_NE(mailbox.Read("KVT-FSCN.PM").find("Columns=90, 80, 123"), std::string::npos);
}

TEST_F(FolderListView, WidthsStoredOnAnotherScreenKeepTheirSizeWithinTheControlsBounds) {
    Settings("ColumnsDpi=48\r\nColumns=20000, 35, 120\r\n");
    ASSERT_TRUE(harness.Open());
    EXPECT_EQ(harness.Widths(), (std::vector<int>{32767, 70, 240}));
    harness.Close();
    // Saved at the standard resolution, the file is as older versions write it.
    std::string file = mailbox.Read("KVT-FSCN.PM");
    EXPECT_NE(file.find("Columns=32767, 70, 240"), std::string::npos);
    EXPECT_EQ(file.find("ColumnsDpi"), std::string::npos);
}

// The host passes WM_DPICHANGED on when its window moves to a screen of
// another resolution; it may come more than once for one change.
TEST_F(FolderListView, ADpiChangeRescalesTheColumnsOnceAndTheArrowKeepingOrderAndSort) {
    Settings("Columns=90, 80, 300\r\nColOrder=1, 0, 2\r\nSort=0100000001000000\r\n");
    TiedFolders();
    ASSERT_TRUE(harness.Open());
    EXPECT_EQ(ArrowWidth(harness.List()), CSortArrow::DefaultPixels);
    const Strings rows = harness.Column(0);
    RECT proposed = {0, 0, 1050, 900};
    for (int i = 0; i < 2; ++i)
        harness.Send(HostMessages::DpiChanged, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&proposed));
    EXPECT_EQ(harness.Widths(), (std::vector<int>{135, 120, 450}));
    EXPECT_EQ(ArrowWidth(harness.List()), 13);
    EXPECT_EQ(HeaderItems(harness.List()), (Strings{"left", "right down", "left"}));
    EXPECT_EQ(harness.Order(), (std::vector<int>{1, 0, 2}));
    EXPECT_EQ(harness.Column(0), rows);
    harness.Close();
    std::string file = mailbox.Read("KVT-FSCN.PM");
    EXPECT_NE(file.find("Columns=135, 120, 450"), std::string::npos);
    EXPECT_NE(file.find("ColumnsDpi=144"), std::string::npos);
    EXPECT_NE(file.find("ColOrder=1, 0, 2"), std::string::npos);
    EXPECT_NE(file.find("Sort=0100000001000000"), std::string::npos);
}

// A folder renamed inside its file moves in the order by folder name; the
// refresh keeps the row that was at the top at the top.
TEST_F(FolderListView, ARefreshKeepsTheListScrolledWhereItWas) {
    Settings("");
    for (int i = 0; i < 120; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "f%03d.pmm", i);
        mailbox.Write(name, PmmHead(name), 200);
    }
    ASSERT_TRUE(harness.Open());
    ::SendMessageA(harness.List(), LVM_ENSUREVISIBLE, 119, FALSE);
    ::SendMessageA(harness.List(), LVM_ENSUREVISIBLE, 60, FALSE);
    int top = static_cast<int>(::SendMessageA(harness.List(), LVM_GETTOPINDEX, 0, 0));
    ASSERT_GT(top, 30);
    const std::string topName = harness.Column(0)[top];
    mailbox.Write("f000.pmm", PmmHead("zzz"), 200);  // from the first row to the last
    harness.Command(ID_REFRESH);
    ASSERT_EQ(harness.Column(0).back(), "f000.pmm");
    top = static_cast<int>(::SendMessageA(harness.List(), LVM_GETTOPINDEX, 0, 0));
    EXPECT_EQ(harness.Column(0)[top], topName);
}

// Dragging a column changes the tie-break; a refresh that finds every row
// unchanged sorts again all the same.
TEST_F(FolderListView, ARefreshAfterAColumnDragSortsByTheNewOrder) {
    Settings("");
    TiedFolders();
    ASSERT_TRUE(harness.Open());
    ASSERT_EQ(harness.Column(0), (Strings{"z.pmm", "a.pmm", "b.pmm", "c.pmm"}));
    const std::vector<int> sizeFirst = {1, 0, 2};
    ::SendMessageA(harness.List(), LVM_SETCOLUMNORDERARRAY, 3, reinterpret_cast<LPARAM>(sizeFirst.data()));
    harness.Command(ID_REFRESH);
    EXPECT_EQ(harness.Column(0), (Strings{"z.pmm", "b.pmm", "c.pmm", "a.pmm"}));
}

TEST_F(FolderListView, TheTopRowIsKeptByItsFolderAndANewWindowStartsAtTheTop) {
    mailbox.Write("KVT-FSCN.PM", "[MainDlg]\r\nShowNewMailFolder=1\r\nShowFolderPath=0\r\n");
    for (int i = 0; i < 120; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "f%03d.pmm", i);
        mailbox.Write(name, PmmHead(name), 200);
    }
    ASSERT_TRUE(harness.Open());
    ASSERT_EQ(harness.Column(0).front(), "*.CNM");  // the new-mail row sorts first
    ::SendMessageA(harness.List(), LVM_ENSUREVISIBLE, 120, FALSE);
    ::SendMessageA(harness.List(), LVM_ENSUREVISIBLE, 60, FALSE);
    int top = static_cast<int>(::SendMessageA(harness.List(), LVM_GETTOPINDEX, 0, 0));
    ASSERT_GT(top, 30);
    const std::string topName = harness.Column(0)[top];

    harness.Command(ID_SHOW_NEWMAIL);  // the new-mail row goes: every row moves up by one
    top = static_cast<int>(::SendMessageA(harness.List(), LVM_GETTOPINDEX, 0, 0));
    EXPECT_EQ(harness.Column(0)[top], topName);

    harness.Close();
    ASSERT_TRUE(harness.Open());
    EXPECT_EQ(::SendMessageA(harness.List(), LVM_GETTOPINDEX, 0, 0), 0);
}

TEST_F(FolderListView, AStoredWidthListThatWouldHideAColumnIsIgnored) {
    Settings("Columns=100, 65536, 200\r\n");
    ASSERT_TRUE(harness.Open());
    EXPECT_EQ(harness.Widths(), (std::vector<int>{110, 70, 240}));
    harness.Close();
    EXPECT_NE(mailbox.Read("KVT-FSCN.PM").find("Columns=110, 70, 240"), std::string::npos);
}

TEST_F(FolderListView, LongCellTextsAreCutToTheCallersBuffer) {
    Settings("");
    mailbox.Write("lang.pmm", PmmHead(std::string(60, 'N')), 200);
    ASSERT_TRUE(harness.Open());
    char text[8];
    std::memset(text, 'X', sizeof text);
    LVITEMA item{};
    item.iSubItem = 2;
    item.pszText = text;
    item.cchTextMax = 5;
    ::SendMessageA(harness.List(), LVM_GETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(std::string(text, 5), std::string("NNNN") + '\0');
    EXPECT_EQ(text[5], 'X');
}

// Typing a letter in the list goes to the next row whose file name begins
// with it, letters folded as Windows folds names in code page 1252; another
// module's LVM_FINDITEM finds rows by their text as well.
TEST_F(FolderListView, TypingGoesToTheNextMatchingRowAndFindItemFindsRows) {
    Settings("Sort=0000000000000000\r\n");  // by file name
    for (int i = 0; i < 60; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "a%02d.pmm", i);
        mailbox.Write(name, PmmHead(name), 200);
    }
    for (const char* name : {"gamma.pmm", "Gleis.pmm", "\xC4pfel.pmm"}) mailbox.Write(name, PmmHead("x"), 200);
    ASSERT_TRUE(harness.Open());
    ASSERT_EQ(harness.Column(0)[60], "gamma.pmm");
    auto typed = [&](char key) {
        ::Sleep(500);  // longer than the control waits for a second letter of one search
        ::SendMessageA(harness.List(), WM_CHAR, static_cast<unsigned char>(key), 1);
        harness.HandlePending();
        int top = static_cast<int>(::SendMessageA(harness.List(), LVM_GETTOPINDEX, 0, 0));
        int page = static_cast<int>(::SendMessageA(harness.List(), LVM_GETCOUNTPERPAGE, 0, 0));
        int mark = static_cast<int>(::SendMessageA(harness.List(), LVM_GETSELECTIONMARK, 0, 0));
        EXPECT_TRUE(mark >= top && mark < top + page) << "row " << mark << " not in view from " << top;
        return mark;
    };
    EXPECT_EQ(typed('G'), 60);
    EXPECT_EQ(typed('\xE4'), 62);
    EXPECT_EQ(typed('a'), 0);

    auto find = [&](int start, UINT flags, const char* text) {
        LVFINDINFOA info{};
        info.flags = flags;
        info.psz = text;
        return static_cast<int>(::SendMessageA(harness.List(), LVM_FINDITEMA, static_cast<WPARAM>(start),
                                                reinterpret_cast<LPARAM>(&info)));
    };
    EXPECT_EQ(find(-1, LVFI_STRING, "GLEIS.PMM"), 61);
    EXPECT_EQ(find(-1, LVFI_STRING, "gleis"), -1);
    EXPECT_EQ(find(-1, LVFI_PARTIAL, "\xE4PF"), 62);
    // The control hands the start on as the row to begin with.
    EXPECT_EQ(find(61, LVFI_PARTIAL, "g"), 61);
    EXPECT_EQ(find(62, LVFI_PARTIAL, "g"), -1);
    EXPECT_EQ(find(62, LVFI_PARTIAL | LVFI_WRAP, "g"), 60);
    EXPECT_EQ(find(-1, LVFI_PARTIAL | LVFI_WRAP, "zz"), -1);
}

TEST_F(FolderListView, CtrlAndAltShortcutsInTheList) {
    Settings("CompactFileSizes=1\r\n");
    mailbox.Write("a.pmm", PmmHead("a"), 2048);
    ASSERT_TRUE(harness.Open());
    ASSERT_EQ(harness.Column(1), (Strings{"2,0 kB"}));

    TypeInList('K', true, false, false);
    EXPECT_EQ(harness.Column(1), (Strings{"2.048"}));
    TypeInList('K', true, true, false);  // Shift does not matter
    EXPECT_EQ(harness.Column(1), (Strings{"2,0 kB"}));
    TypeInList('K', false, false, true);  // Alt+K does nothing
    TypeInList('P', true, false, false);  // Ctrl+P does nothing
    TypeInList('P', true, false, true);   // Ctrl+Alt+P does nothing
    EXPECT_EQ(harness.Column(1), (Strings{"2,0 kB"}));
    EXPECT_EQ(harness.Rows().size(), 1u);

    TypeInList('P', false, false, true);  // Alt+P shows the new-mail row
    EXPECT_EQ(harness.Rows().size(), 2u);
}

namespace {

struct MenuSeen {
    bool opened = false;
    bool compactChecked = false;
    bool newMailChecked = false;
    POINT topLeft{};
};
MenuSeen seen;

// Runs inside the menu's own loop: looks at the open menu, then closes it.
void CALLBACK InspectMenu(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND popup = ::FindWindowA("#32768", nullptr);
    if (!popup) return;
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageA(popup, MN_GETHMENU, 0, 0));
    seen.opened = true;
    seen.compactChecked = (::GetMenuState(menu, ID_COMPACT_SIZES, MF_BYCOMMAND) & MF_CHECKED) != 0;
    seen.newMailChecked = (::GetMenuState(menu, ID_SHOW_NEWMAIL, MF_BYCOMMAND) & MF_CHECKED) != 0;
    RECT rect{};
    ::GetWindowRect(popup, &rect);
    seen.topLeft = {rect.left, rect.top};
    ::EndMenu();
}

}  // namespace

TEST_F(FolderListView, RightClicksOpenTheMenuAtThePointerWithCheckMarks) {
    Settings("CompactFileSizes=0\r\n");
    mailbox.Write("a.pmm", PmmHead("a"), 2048);
    ASSERT_TRUE(harness.Open());
    ::SetCursorPos(200, 150);

    UINT_PTR timer = ::SetTimer(nullptr, 0, 50, InspectMenu);
    seen = MenuSeen{};
    NMHDR click{harness.List(), IDC_FOLDER_LIST, static_cast<UINT>(NM_RCLICK)};
    harness.Send(WM_NOTIFY, IDC_FOLDER_LIST, reinterpret_cast<LPARAM>(&click));
    EXPECT_TRUE(seen.opened);
    EXPECT_FALSE(seen.compactChecked);
    EXPECT_FALSE(seen.newMailChecked);
    EXPECT_EQ(seen.topLeft.x, 200);
    EXPECT_EQ(seen.topLeft.y, 150);

    harness.Command(ID_COMPACT_SIZES);
    seen = MenuSeen{};
    harness.Send(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, 2));  // on the panel's margin
    EXPECT_TRUE(seen.opened);
    EXPECT_TRUE(seen.compactChecked);
    ::KillTimer(nullptr, timer);
}

// Common controls 6 show the arrow from the sort flags, version 5 from a
// bitmap; Wine's controls take either, so both are tried here on a bare list.
TEST(SortArrow, EitherStyleMarksTheSortColumnAlone) {
    HWND list = ::CreateWindowA(WC_LISTVIEWA, "", WS_POPUP | LVS_REPORT, 0, 0, 300, 100, nullptr, nullptr, nullptr,
                                nullptr);
    ASSERT_NE(list, nullptr);
    const char* titles[] = {"A", "B", "C"};
    for (int i = 0; i < 3; ++i) {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_FMT | LVCF_WIDTH;
        column.fmt = i == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.cx = 80;
        column.pszText = const_cast<char*>(titles[i]);
        ::SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    HWND header = reinterpret_cast<HWND>(::SendMessageA(list, LVM_GETHEADER, 0, 0));
    for (auto style : {CSortArrow::Style::SortFlags, CSortArrow::Style::Bitmap}) {
        CSortArrow arrow(style);
        EXPECT_TRUE(arrow.Show(header, 1, false));
        EXPECT_EQ(HeaderItems(list), (Strings{"left", "right up", "left"}));
        EXPECT_TRUE(arrow.Show(header, 0, true));
        EXPECT_EQ(HeaderItems(list), (Strings{"left down", "right", "left"}));
        arrow.Show(header, 3, false);
        EXPECT_EQ(HeaderItems(list), (Strings{"left", "right", "left"}));
        arrow.Show(header, 2, true);  // for the next style to take away
    }
    ::DestroyWindow(list);
}

namespace {

// What the list view adds to a text's width when it sizes a column to fit
// its texts (LVSCW_AUTOSIZE): the cell's margins.
const int CellPadding = 12;

int ScreenDpi() {
    HDC screen = ::GetDC(nullptr);
    int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

// The panel on a screen of 144 dpi. ctest's panel_dll_tests_144dpi runs
// these cases in a Wine prefix of that resolution (tests/panel/at-144dpi.sh)
// and names the generated sample mailbox; elsewhere they skip themselves.
class HighDpi : public ::testing::Test {
protected:
    void SetUp() override {
        const char* sample = std::getenv("FOLDSCAN_SAMPLE_MAILBOX");
        if (!sample) GTEST_SKIP() << "runs on a screen of 144 dpi: ctest -R panel_dll_tests_144dpi";
        ASSERT_EQ(ScreenDpi(), 144);
        ASSERT_TRUE(harness.Loaded());
        sampleMailbox = std::string(sample) + "\\";
    }

    void TearDown() override { EXPECT_TRUE(harness.boxes.Seen().empty()) << harness.boxes.Seen()[0].text; }

    PanelHarness harness;
    std::string sampleMailbox;
};

}  // namespace

TEST_F(HighDpi, TheColumnsGrowWithTheScreenSoThatTheSampleMailboxsTextsFit) {
    harness.mailbox = sampleMailbox;
    harness.newmail = sampleMailbox + "newmail\\";
    ASSERT_TRUE(harness.Open());
    const std::vector<int> widths = harness.Widths();
    EXPECT_EQ(widths, (std::vector<int>{165, 105, 360}));
    EXPECT_EQ(ArrowWidth(harness.List()), 13);
    for (int column : {0, 1}) {  // file names and sizes; folder names may be longer than any column
        int widest = 0;
        std::string widestText;
        for (const std::string& text : harness.Column(column)) {
            int width = static_cast<int>(
                ::SendMessageA(harness.List(), LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text.c_str())));
            if (width > widest) widest = width, widestText = text;
        }
        std::printf("column %d: widest text \"%s\", %d + %d of %d pixels\n", column, widestText.c_str(), widest,
                    CellPadding, widths[column]);
        EXPECT_LE(widest + CellPadding, widths[column]) << widestText;
    }
    harness.Close();
    std::ifstream saved(sampleMailbox + "KVT-FSCN.PM", std::ios::binary);
    std::string file((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    EXPECT_NE(file.find("Columns=165, 105, 360"), std::string::npos);
    EXPECT_NE(file.find("ColumnsDpi=144"), std::string::npos);
}

TEST_F(HighDpi, WidthsStoredWithoutTheirResolutionWereSavedOnThisScreen) {
    TempDir mailbox;
    mailbox.Write("hierarch.pm", "");
    mailbox.Write("KVT-FSCN.PM", "[MainDlg]\r\nColumns=110, 70, 240\r\n");
    harness.mailbox = mailbox.Path();
    harness.newmail = mailbox.MakeDir("neu");
    ASSERT_TRUE(harness.Open());
    EXPECT_EQ(harness.Widths(), (std::vector<int>{110, 70, 240}));
}
