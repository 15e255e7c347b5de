// The arithmetic of the grid views (`Columns`, `HeatMap`): how many columns a pane count gets,
// the client size asked for, and each cell's rectangle. With one column it is the stacked
// layout of WindowLayout.h exactly. Pure functions, no state.
#pragma once

#include "core/WindowLayout.h"

#include <cstdint>

// The `Columns` value when the key is absent; any value below -1 reads the same.
constexpr int32_t columnsAbsent = 0;
// `Columns=-1`: as many columns as make the grid closest to square.
constexpr int32_t automaticColumns = -1;

// True when the `Columns` value asks for a grid: -1, or 2 and more.
bool WantsGrid(int32_t columnsSetting);

// Columns for paneCount panes: 1 unless a grid is asked for; N (at most the pane count) for
// N >= 2; for -1, rows r = the largest divisor d of n with d x d <= n (floor(sqrt(n)) when
// that is 1 and n > 3) and columns ceil(n / r). Never 0.
uint32_t GridColumns(int32_t columnsSetting, uint32_t paneCount);

// ceil(paneCount / columns); 0 for no panes.
uint32_t GridRows(uint32_t paneCount, uint32_t columns);

// columns x pane width by rows x pane height, the pane size as WantedClientSize takes it.
ClientSize WantedGridClientSize(int32_t graphWidth, int32_t graphHeight, uint32_t paneCount, uint32_t columns);

struct Cell {
    int32_t left;
    int32_t top;
    int32_t width;
    int32_t height;
};

// Pane index of a grid of columns x rows sharing the client area: column index mod columns,
// row index div columns, every cell (width / columns) x (height / rows).
Cell GridCellAt(uint32_t index, uint32_t clientWidth, uint32_t clientHeight, uint32_t columns, uint32_t rows);
