// The heat map ("HeatMap=1"): one cell per core in the grid's layout, filled with the colour of
// the core's newest temperature and painted in one pass by the main window, over hidden panes
// that keep their histories and exports. An update draws at once only the cells whose colour or
// digits it changed. Made by MakeView, owned by the main window; its cell tips are owned by the
// window's handle and go with it.
#pragma once

#include "win32/Handles.h"
#include "window/GridView.h"

#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

class HeatMapView : public GridView {
public:
    using GridView::GridView;

    bool ShowsPanes() const override { return false; }
    bool CompactPanes() const override { return false; }
    void Attach(const ViewInputs& inputs, HINSTANCE instance) override;
    void LayOut(const ViewInputs& inputs) override;
    // The cells within the update region, straight to the screen: every pixel is drawn once
    // (a cell's colour, or the background between and beyond the cells), then the digits.
    bool Paint(const ViewInputs& inputs) override;
    // Draws at once, into the window's DC, the cells whose face differs from the one they were
    // last painted with; of a cell whose load alone changed while its digits keep their
    // places, the load's line only. An update changes most cells of a big map, and a cell's
    // paint is mostly filling its pixels: a paint of the update region would fill every cell,
    // and a region of many cells costs more to clip every drawing to than it saves. The
    // window's paint stays for what the system asks to be drawn again, and for the focused
    // cell, whose focus rectangle it draws.
    void ShowUpdate(const ViewInputs& inputs) override;
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

    class CellPass;

    // A cell as it was last painted: its face and how many lines of text it showed.
    struct PaintedCell {
        CellFace face;
        int lines = 0;
    };

    static CellFace FaceOf(const ViewInputs& inputs, uint32_t index);

    // The label font at the DPI it was made for, kept from paint to paint.
    HFONT LabelFont(int dpi);
    // The width of a value's text in the label font: the same few dozen values come back on
    // every paint, so each is measured once per font and units (in dc, selected with the
    // font). -1 when it was not measured yet and there is no dc.
    int TextWidth(HDC dc, int32_t value, bool load);
    // The lines of text a cell of the inner size shows for face: 0, 1 (the temperature) or 2
    // (and the load beneath it); -1 when a width is not known and there is no dc.
    int LinesOf(HDC dc, const CellFace& face, SIZE inner, int textHeight, int dpi);

    HWND cellTips = nullptr;
    // What each cell showed when it was last painted; a cell not yet painted has nothing.
    std::vector<std::optional<PaintedCell>> painted;
    Font font;
    int fontDpi = 0;
    // Widths by value (temperatures and loads apart), for the units in widthUnits.
    std::unordered_map<int64_t, int> widths;
    wchar_t widthUnits[2][3] = {};
};
