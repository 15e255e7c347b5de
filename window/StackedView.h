// The panes stacked top to bottom, each as wide as the client area and one equal share of its
// height: the window as it always was. Made by MakeView, owned by the main window.
#pragma once

#include "window/View.h"

class StackedView : public View {
public:
    explicit StackedView(uint32_t paneCount) : paneCount(paneCount) {}

    POINT PaneOrigin(uint32_t index, SIZE pane) const override;
    void SizeWindow(HWND window, SIZE pane) override;
    void LayOut(const ViewInputs& inputs) override;
    bool CoresAreWindows() const override { return true; }

private:
    uint32_t paneCount;
};
