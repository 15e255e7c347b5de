// The heat map ("HeatMap=1"): one cell per core in the grid's layout, filled with the colour of
// the core's newest temperature and painted in one pass by the main window, over hidden panes
// that keep their histories and exports. An update paints again only the cells whose colour or
// digits it changed. Made by MakeView, owned by the main window; its cell tips are owned by the
// window's handle and go with it.
#pragma once

#include "window/GridView.h"

#include <optional>
#include <vector>

class HeatMapView : public GridView {
public:
    using GridView::GridView;

    bool ShowsPanes() const override { return false; }
    bool CompactPanes() const override { return false; }
    void Attach(const ViewInputs& inputs, HINSTANCE instance) override;
    void LayOut(const ViewInputs& inputs) override;
    // The cells within the update region, into the kept bitmap; then one copy to the screen.
    bool Paint(const ViewInputs& inputs) override;
    // The cells whose face differs from the one they were last painted with (the whole map
    // when that is most of them).
    void Invalidate(const ViewInputs& inputs) override;
    // TTN_GETDISPINFOW of a cell's tip with the hover readout on: the cell's readout.
    bool OnNotify(const ViewInputs& inputs, NMHDR* header) override;
    // The cells' tips follow the mouse themselves.
    bool OnMouse(const ViewInputs&, UINT, LPARAM) override { return false; }

    // The tooltip window with one tool per cell, or null.
    HWND CellTips() const { return cellTips; }

private:
    // What a cell shows: its colour and digits, or nothing (no samples, or beyond the
    // reported cores).
    struct CellFace {
        bool filled = false;
        COLORREF colour = 0;
        int32_t temperature = 0;
        int32_t load = 0;
        bool operator==(const CellFace& other) const
        {
            return filled == other.filled &&
                   (!filled || (colour == other.colour && temperature == other.temperature && load == other.load));
        }
        bool operator!=(const CellFace& other) const { return !(*this == other); }
    };

    static CellFace FaceOf(const ViewInputs& inputs, uint32_t index);

    HWND cellTips = nullptr;
    // The face each cell was last painted with; a cell not yet painted has none.
    std::vector<std::optional<CellFace>> painted;
};
