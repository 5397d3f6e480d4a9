#include "platform/CSortArrow.h"

#include <commctrl.h>
#include <shlwapi.h>

namespace {

constexpr int ArrowFlags = HDF_SORTUP | HDF_SORTDOWN | HDF_BITMAP | HDF_BITMAP_ON_RIGHT;
enum Arrow { None, Up, Down };

int MajorVersion(HMODULE module) {
    auto getVersion = module ? reinterpret_cast<DLLGETVERSIONPROC>(
                                   reinterpret_cast<void*>(::GetProcAddress(module, "DllGetVersion")))
                             : nullptr;
    DLLVERSIONINFO info{};
    info.cbSize = sizeof info;
    if (!getVersion || FAILED(getVersion(&info))) return 0;
    return static_cast<int>(info.dwMajorVersion);
}

}  // namespace

CSortArrow::~CSortArrow() {
    if (bitmap) ::DeleteObject(bitmap);
}

CSortArrow::Style CSortArrow::StyleFor(HWND header) {
    // The module that registered the header's class is the common controls
    // library that draws it, version 5 or 6 side by side; where the class
    // does not tell, the one loaded for this thread's activation context.
    auto owner = reinterpret_cast<HMODULE>(::GetClassLongPtrA(header, GCLP_HMODULE));
    int major = MajorVersion(owner);
    if (major == 0) major = MajorVersion(::GetModuleHandleA("comctl32.dll"));
    return major >= 6 ? Style::SortFlags : Style::Bitmap;
}

bool CSortArrow::Show(HWND header, int column, bool descending) {
    if (!header) return false;
    Style used = styleGiven ? style : StyleFor(header);
    int count = static_cast<int>(::SendMessageA(header, HDM_GETITEMCOUNT, 0, 0));
    HBITMAP shown = nullptr;
    if (used == Style::Bitmap && column >= 0 && column < count) {
        shown = MakeBitmap(pixels, !descending, ::GetSysColor(COLOR_GRAYTEXT), ::GetSysColor(COLOR_BTNFACE));
    }
    bool ok = true;
    for (int item = 0; item < count; ++item) {
        int arrow = item != column ? None : descending ? Down : Up;
        ok = ShowOnItem(header, item, arrow, used, item == column ? shown : nullptr) && ok;
    }
    // The header draws from the bitmap it was given until it has the next one.
    if (bitmap) ::DeleteObject(bitmap);
    bitmap = shown;
    return ok;
}

bool CSortArrow::ShowOnItem(HWND header, int item, int arrow, Style style, HBITMAP image) {
    HDITEMA info{};
    info.mask = HDI_FORMAT;
    if (!::SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info))) return false;
    info.fmt &= ~ArrowFlags;
    if (arrow != None && style == Style::SortFlags) {
        info.fmt |= arrow == Up ? HDF_SORTUP : HDF_SORTDOWN;
    } else if (arrow != None && image) {
        info.fmt |= HDF_BITMAP | HDF_BITMAP_ON_RIGHT;
    }
    info.mask = HDI_FORMAT | HDI_BITMAP;
    info.hbm = (info.fmt & HDF_BITMAP) ? image : nullptr;
    return ::SendMessageA(header, HDM_SETITEMA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&info)) != 0;
}

HBITMAP CSortArrow::MakeBitmap(int size, bool up, COLORREF arrow, COLORREF background) {
    // Rows one pixel wide at the tip and two wider on each row after it.
    int rows = size < 2 ? 1 : (size + 1) / 2;
    int width = 2 * rows - 1;
    HDC screen = ::GetDC(nullptr);
    HDC canvas = ::CreateCompatibleDC(screen);
    HBITMAP made = ::CreateCompatibleBitmap(screen, width, rows);
    ::ReleaseDC(nullptr, screen);
    if (!canvas || !made) {
        if (made) ::DeleteObject(made);
        if (canvas) ::DeleteDC(canvas);
        return nullptr;
    }
    HGDIOBJ before = ::SelectObject(canvas, made);
    for (int row = 0; row < rows; ++row) {
        int half = up ? row : rows - 1 - row;
        for (int x = 0; x < width; ++x)
            ::SetPixelV(canvas, x, row, x >= rows - 1 - half && x <= rows - 1 + half ? arrow : background);
    }
    ::SelectObject(canvas, before);
    ::DeleteDC(canvas);
    return made;
}
