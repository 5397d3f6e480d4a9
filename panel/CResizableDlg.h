#pragma once

#include "panel/PanelLayout.h"
#include "platform/CDialog.h"

// A dialog that lays its children out again whenever its size changes and
// never lets interactive sizing make it smaller than it was made. Distances
// are measured once from the dialog font.
class CResizableDlg : public CDialog {
public:
    explicit CResizableDlg(UINT templateId = 0, HWND parent = nullptr) : CDialog(templateId, parent) {}

    int MinWindowWidth() const { return minWindowWidth; }
    int MinWindowHeight() const { return minWindowHeight; }

protected:
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    BOOL OnInitDialog() override;

    virtual void Measure();
    virtual void Layout(int width, int height);

    int layoutWidth = 0;
    int layoutHeight = 0;
    PanelLayout::Metrics metrics;
    int minWindowWidth = 0;
    int minWindowHeight = 0;
    int initialClientWidth = 0;
    int initialClientHeight = 0;
};
