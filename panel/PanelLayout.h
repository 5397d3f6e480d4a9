#pragma once

// The layout arithmetic of resizable dialogs and of the panel, in pixels.
// Kept free of windows so the numbers are tested directly.
namespace PanelLayout {

struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Box& o) const {
        return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
    }
};

// Distances derived from the dialog font: unitX is 4 horizontal dialog units
// in pixels, unitY 8 vertical ones.
struct Metrics {
    int unitX = 0, unitY = 0;
    int marginX = 0, marginY = 0, gapY = 0;

    static Metrics FromUnits(int unitX, int unitY);
};

// Where the folder list and the summary line go in a client area of the given
// size; an area smaller than the initial one is laid out as the initial one.
struct PanelBoxes {
    Box list;
    Box summary;
};
PanelBoxes LayOutPanel(const Metrics& metrics, int summaryHeight, int width, int height, int initialWidth,
                       int initialHeight);

// The edge being dragged, as WM_SIZING reports it (WMSZ_LEFT = 1 ... WMSZ_BOTTOMRIGHT = 8).
enum Edge { Left = 1, Right = 2, Top = 3, TopLeft = 4, TopRight = 5, Bottom = 6, BottomLeft = 7, BottomRight = 8 };

// Corrects a proposed window rectangle so that it is not smaller than the
// minimum, moving the edge that is being dragged.
Box CorrectSizing(int edge, Box proposed, int minWidth, int minHeight);

}  // namespace PanelLayout
