#pragma once

#include <windows.h>

// The arrow in a list's header that shows which column sorts and how: up for
// ascending, down for descending, on that column's item and on no other.
// Common controls of version 6 draw it themselves from the item's sort flags;
// version 5, which a host without a manifest gets, ignores those flags, so
// there the arrow is a small bitmap at the item's right. Only the items'
// format (and bitmap) change: their texts, widths and order stay.
class CSortArrow {
public:
    enum class Style { SortFlags, Bitmap };

    // The style the header's common controls can show.
    static Style StyleFor(HWND header);

    // Without a style, each Show asks the header which style it can show.
    CSortArrow() = default;
    explicit CSortArrow(Style style) : style(style), styleGiven(true) {}
    ~CSortArrow();
    CSortArrow(const CSortArrow&) = delete;
    CSortArrow& operator=(const CSortArrow&) = delete;

    // Puts the arrow on the item of column and takes it from every other
    // item; a column outside the header shows none. False when the header
    // refused an item.
    bool Show(HWND header, int column, bool descending);

    // The width of the arrow Show draws as a bitmap, for the screen's
    // resolution; it is drawn at that size, never stretched.
    void SetPixels(int size) { pixels = size; }

    // A bitmap of the arrow alone, a triangle about size pixels wide and half
    // as high, in the arrow's colour on the background. The bitmap is no
    // larger than the triangle, so that little background shows where the
    // header's own differs from it. The size is a parameter so that it can
    // follow the screen's resolution; the caller owns the bitmap.
    static HBITMAP MakeBitmap(int size, bool up, COLORREF arrow, COLORREF background);

    // The arrow's width at 96 dots per inch.
    static constexpr int DefaultPixels = 9;

private:
    static bool ShowOnItem(HWND header, int item, int arrow, Style style, HBITMAP image);

    Style style = Style::Bitmap;
    bool styleGiven = false;
    int pixels = DefaultPixels;
    HBITMAP bitmap = nullptr;  // the one the header shows, in the Bitmap style
};
