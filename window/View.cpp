#include "window/View.h"

#include "core/GridLayout.h"
#include "graph/CZiveVazudEx.h"
#include "window/GridView.h"
#include "window/HeatMapView.h"
#include "window/StackedView.h"

std::unique_ptr<View> MakeView(const WindowOptions& options, uint32_t paneCount)
{
    if (options.HeatMap) {
        // The heat map's cells are laid out automatically unless the columns are given.
        const int32_t setting =
            WantsGrid(options.Columns) || options.Columns == 1 ? options.Columns : automaticColumns;
        return std::make_unique<HeatMapView>(GridColumns(setting, paneCount), paneCount);
    }
    if (WantsGrid(options.Columns))
        return std::make_unique<GridView>(GridColumns(options.Columns, paneCount), paneCount);
    return std::make_unique<StackedView>(paneCount);
}

RECT View::CoreArea(const ViewInputs& inputs, uint32_t index) const
{
    RECT area{};
    const PaneList& panes = *inputs.panes;
    if (index >= panes.size() || !panes[index])
        return area;
    const HWND paneWindow = panes[index]->PaneWindow();
    ::GetClientRect(paneWindow, &area);
    ::MapWindowPoints(paneWindow, inputs.window, reinterpret_cast<POINT*>(&area), 2);
    return area;
}
