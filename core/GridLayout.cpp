#include "core/GridLayout.h"

bool WantsGrid(int32_t columnsSetting)
{
    return columnsSetting == automaticColumns || columnsSetting >= 2;
}

uint32_t GridColumns(int32_t columnsSetting, uint32_t paneCount)
{
    if (!WantsGrid(columnsSetting) || paneCount <= 1)
        return 1;
    if (columnsSetting >= 2)
        return static_cast<uint32_t>(columnsSetting) < paneCount ? static_cast<uint32_t>(columnsSetting) : paneCount;
    uint32_t rows = 1;
    for (uint32_t d = 1; d * d <= paneCount; ++d) {
        if (paneCount % d == 0)
            rows = d;
    }
    if (rows == 1 && paneCount > 3) {
        while ((rows + 1) * (rows + 1) <= paneCount)
            ++rows;
    }
    return (paneCount + rows - 1) / rows;
}

uint32_t GridRows(uint32_t paneCount, uint32_t columns)
{
    return columns == 0 ? 0 : (paneCount + columns - 1) / columns;
}

ClientSize WantedGridClientSize(int32_t graphWidth, int32_t graphHeight, uint32_t paneCount, uint32_t columns)
{
    const ClientSize pane = WantedClientSize(graphWidth, graphHeight, 1);
    const uint32_t rows = GridRows(paneCount, columns);
    return {static_cast<int32_t>(columns * static_cast<uint32_t>(pane.width)),
            static_cast<int32_t>(rows * static_cast<uint32_t>(pane.height))};
}

Cell GridCellAt(uint32_t index, uint32_t clientWidth, uint32_t clientHeight, uint32_t columns, uint32_t rows)
{
    if (columns == 0 || rows == 0)
        return {0, 0, 0, 0};
    const uint32_t width = clientWidth / columns;
    const uint32_t height = clientHeight / rows;
    return {static_cast<int32_t>(index % columns * width), static_cast<int32_t>(index / columns * height),
            static_cast<int32_t>(width), static_cast<int32_t>(height)};
}
