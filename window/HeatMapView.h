// The heat map ("HeatMap=1"): one cell per core in the grid's layout, filled with the colour of
// the core's newest temperature and painted in one pass by the main window, over hidden panes
// that keep their histories and exports. Made by MakeView, owned by the main window; its cell
// tips are owned by the window's handle and go with it.
#pragma once

#include "window/GridView.h"

class HeatMapView : public GridView {
public:
    using GridView::GridView;

    bool ShowsPanes() const override { return false; }
    bool CompactPanes() const override { return false; }
    void Attach(const ViewInputs& inputs, HINSTANCE instance) override;
    void LayOut(const ViewInputs& inputs) override;
    bool Paint(const ViewInputs& inputs) override;
    // TTN_GETDISPINFOW of a cell's tip with the hover readout on: the cell's readout.
    bool OnNotify(const ViewInputs& inputs, NMHDR* header) override;
    // The cells' tips follow the mouse themselves.
    bool OnMouse(const ViewInputs&, UINT, LPARAM) override { return false; }

    // The tooltip window with one tool per cell, or null.
    HWND CellTips() const { return cellTips; }

private:
    HWND cellTips = nullptr;
};
