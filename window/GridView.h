// The panes in a grid of columns x rows ("Columns"), every cell the same size and every pane
// drawn with the texts that fit it. Made by MakeView, owned by the main window; the heat map
// lays its cells out the same way.
#pragma once

#include "window/View.h"

class GridView : public View {
public:
    GridView(uint32_t columns, uint32_t paneCount);

    POINT PaneOrigin(uint32_t index, SIZE pane) const override;
    bool CompactPanes() const override { return true; }
    void SizeWindow(HWND window, SIZE pane) override;
    void LayOut(const ViewInputs& inputs) override;
    // The cells are the cores, whether pane windows or the main window paint them.
    RECT CoreArea(const ViewInputs& inputs, uint32_t index) const override { return CellRect(inputs.window, index); }
    uint32_t CoresPerRow() const override { return columns; }

    uint32_t Columns() const { return columns; }
    uint32_t Rows() const { return rows; }
    // The cell of pane index in the window's client area as it is now.
    RECT CellRect(HWND window, uint32_t index) const;

private:
    uint32_t paneCount;
    uint32_t columns;
    uint32_t rows;
};
