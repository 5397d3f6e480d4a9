#include "panel/PanelLayout.h"

namespace PanelLayout {

Metrics Metrics::FromUnits(int unitX, int unitY) {
    Metrics m;
    m.unitX = unitX;
    m.unitY = unitY;
    m.marginX = unitX * 7 / 4;
    m.marginY = unitY * 7 / 8;
    m.gapY = unitY * 5 / 8;
    return m;
}

PanelBoxes LayOutPanel(const Metrics& m, int summaryHeight, int width, int height, int initialWidth,
                       int initialHeight) {
    int w = width > initialWidth ? width : initialWidth;
    int h = height > initialHeight ? height : initialHeight;
    PanelBoxes boxes;
    boxes.list = {m.marginX, m.marginY, w - m.marginX, h - m.gapY - m.marginY - summaryHeight};
    boxes.summary = {m.marginX, h - m.marginY - summaryHeight, w - m.marginX, h - m.marginY};
    return boxes;
}

Box CorrectSizing(int edge, Box r, int minWidth, int minHeight) {
    if (r.Width() < minWidth) {
        if (edge == Left || edge == TopLeft || edge == BottomLeft) r.left = r.right - minWidth;
        if (edge == Right || edge == TopRight || edge == BottomRight) r.right = r.left + minWidth;
    }
    if (r.Height() < minHeight) {
        if (edge == Top || edge == TopLeft || edge == TopRight) r.top = r.bottom - minHeight;
        if (edge == Bottom || edge == BottomLeft || edge == BottomRight) r.bottom = r.top + minHeight;
    }
    return r;
}

}  // namespace PanelLayout
