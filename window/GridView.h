// The panes in a grid of columns x rows ("Columns"), every cell the same size and every pane
// drawn with the texts that fit it. The pane windows stay at their cells, hidden: the main
// window paints every cell in one pass with the pane's own drawing, and hands the mouse over a
// cell to the hover readout of its pane. Made by MakeView, owned by the main window; the heat
// map lays its cells out the same way.
#pragma once

#include "window/PaintBuffer.h"
#include "window/View.h"

class GridView : public View {
public:
    GridView(uint32_t columns, uint32_t paneCount);

    POINT PaneOrigin(uint32_t index, SIZE pane) const override;
    bool ShowsPanes() const override { return false; }
    bool CompactPanes() const override { return true; }
    void SizeWindow(HWND window, SIZE pane) override;
    void LayOut(const ViewInputs& inputs) override;
    // The cells are the cores, whether pane windows or the main window paint them.
    RECT CoreArea(const ViewInputs& inputs, uint32_t index) const override { return CellRect(inputs.window, index); }
    uint32_t CoresPerRow() const override { return columns; }
    // One memory bitmap for the cells within the update region, each drawn as its pane paints
    // itself, then one copy to the screen. The cells of no pane or of a pane beyond the
    // reported cores, and the strip beyond the last cell, are left as they are.
    bool Paint(const ViewInputs& inputs) override;
    bool OnMouse(const ViewInputs& inputs, UINT message, LPARAM lParam) override;

    uint32_t Columns() const { return columns; }
    uint32_t Rows() const { return rows; }
    // The cell of pane index in the window's client area as it is now.
    RECT CellRect(HWND window, uint32_t index) const;
    // The index of the cell under point (client coordinates), or -1 outside every cell.
    int64_t CellAt(HWND window, POINT point) const;

private:
    PaintBuffer buffer;
    uint32_t paneCount;
    uint32_t columns;
    uint32_t rows;
};
