#include "window/GridView.h"

#include "core/GridLayout.h"
#include "graph/CZiveVazudEx.h"
#include "graph/PaneLock.h"
#include "graph/PaneRender.h"
#include "win32/Handles.h"
#include "window/HoverTip.h"

namespace {

// The window rectangle for a client area of that size, moved and cut to the work area of the
// window's monitor.
RECT FitToWorkArea(HWND window, const ClientSize& client)
{
    RECT rect{0, 0, client.width, client.height};
    ::AdjustWindowRect(&rect, static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE)), TRUE);
    RECT current{};
    ::GetWindowRect(window, &current);
    ::OffsetRect(&rect, current.left - rect.left, current.top - rect.top);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        if (rect.right - rect.left > work.right - work.left)
            rect.right = rect.left + (work.right - work.left);
        if (rect.bottom - rect.top > work.bottom - work.top)
            rect.bottom = rect.top + (work.bottom - work.top);
        // Moved back inside where it would stick out.
        if (rect.right > work.right)
            ::OffsetRect(&rect, work.right - rect.right, 0);
        if (rect.bottom > work.bottom)
            ::OffsetRect(&rect, 0, work.bottom - rect.bottom);
        if (rect.left < work.left)
            ::OffsetRect(&rect, work.left - rect.left, 0);
        if (rect.top < work.top)
            ::OffsetRect(&rect, 0, work.top - rect.top);
    }
    return rect;
}

}  // namespace

GridView::GridView(uint32_t gridColumns, uint32_t panes)
    : paneCount(panes), columns(gridColumns), rows(GridRows(panes, gridColumns))
{
}

POINT GridView::PaneOrigin(uint32_t index, SIZE pane) const
{
    return {static_cast<LONG>(index % columns) * pane.cx, static_cast<LONG>(index / columns) * pane.cy};
}

void GridView::SizeWindow(HWND window, SIZE pane)
{
    const RECT rect = FitToWorkArea(window, WantedGridClientSize(pane.cx, pane.cy, paneCount, columns));
    ::SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, SWP_NOZORDER);

    // Cut to the work area, the window gives up its part of a cell instead: growing to whole
    // cells on the first size message would push it past the work area again.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor))
        return;
    RECT client{};
    ::GetClientRect(window, &client);
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    const uint32_t clientWidth = static_cast<uint32_t>(client.right);
    const uint32_t clientHeight = static_cast<uint32_t>(client.bottom);
    if (rect.right + static_cast<int>(SnapGrowth(clientWidth, columns)) > monitor.rcWork.right)
        width -= static_cast<int>(clientWidth % columns);
    if (rows != 0 && rect.bottom + static_cast<int>(SnapGrowth(clientHeight, rows)) > monitor.rcWork.bottom)
        height -= static_cast<int>(clientHeight % rows);
    if (width != rect.right - rect.left || height != rect.bottom - rect.top)
        ::SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
}

RECT GridView::CellRect(HWND window, uint32_t index) const
{
    RECT client{};
    ::GetClientRect(window, &client);
    const Cell cell = GridCellAt(index, static_cast<uint32_t>(client.right), static_cast<uint32_t>(client.bottom),
                                 columns, rows);
    return {cell.left, cell.top, cell.left + cell.width, cell.top + cell.height};
}

void GridView::LayOut(const ViewInputs& inputs)
{
    // Grows the window so that the client width is a multiple of the columns and the height
    // one of the rows: every cell the same size.
    const HWND window = inputs.window;
    RECT windowRect{};
    RECT client{};
    ::GetWindowRect(window, &windowRect);
    ::GetClientRect(window, &client);
    const uint32_t wider = SnapGrowth(static_cast<uint32_t>(client.right), columns);
    const uint32_t higher = SnapGrowth(static_cast<uint32_t>(client.bottom), rows);
    if (wider != 0 || higher != 0)
        ::SetWindowPos(window, nullptr, 0, 0, windowRect.right - windowRect.left + static_cast<int>(wider),
                       windowRect.bottom - windowRect.top + static_cast<int>(higher), SWP_NOMOVE | SWP_NOZORDER);

    const PaneList& panes = *inputs.panes;
    for (uint32_t i = 0; i < panes.size(); ++i) {
        const RECT cell = CellRect(window, i);
        if (panes[i])
            ::SetWindowPos(panes[i]->PaneWindow(), nullptr, cell.left, cell.top, cell.right - cell.left,
                           cell.bottom - cell.top, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // The hidden panes moving paints nothing: the main window draws every cell again.
    ::InvalidateRect(window, nullptr, FALSE);
}

int64_t GridView::CellAt(HWND window, POINT point) const
{
    RECT client{};
    ::GetClientRect(window, &client);
    const Cell first = GridCellAt(0, static_cast<uint32_t>(client.right), static_cast<uint32_t>(client.bottom),
                                  columns, rows);
    if (first.width <= 0 || first.height <= 0 || point.x < 0 || point.y < 0)
        return -1;
    const int64_t column = point.x / first.width;
    const int64_t row = point.y / first.height;
    if (column >= columns || row >= rows)
        return -1;
    return row * columns + column;
}

bool GridView::Paint(const ViewInputs& inputs)
{
    const HWND window = inputs.window;
    const PaneList& panes = *inputs.panes;
    PaintDc paint(window);
    RECT area{};  // the bounds of the update region
    const HDC dc = buffer.Begin(paint, window, area);
    if (!dc)
        return true;

    // Only what the panes' own paint would cover reaches the screen.
    const RECT firstCell = CellRect(window, 0);
    const Cell first{firstCell.left, firstCell.top, firstCell.right - firstCell.left, firstCell.bottom - firstCell.top};
    ::IntersectClipRect(paint.Get(), 0, 0, first.width * static_cast<int>(columns),
                        first.height * static_cast<int>(rows));
    {
        // Keeps the exports' renders out of every pane while the cells are drawn.
        PaneLock::Exclusive rendering(PanesLock());
        for (uint32_t i = 0; i < columns * rows; ++i) {
            const RECT cell = CellRect(window, i);
            if (!::RectVisible(paint.Get(), &cell))
                continue;
            // As in the panes' own paint: a pane beyond the snapshot's cores draws nothing.
            CZiveVazudEx* pane = i < panes.size() && i < inputs.reportedCores ? panes[i] : nullptr;
            if (pane)
                RenderPaneAt(*pane, dc, {cell.left, cell.top}, inputs.contrast);
            else
                ::ExcludeClipRect(paint.Get(), cell.left, cell.top, cell.right, cell.bottom);
        }
    }
    ::BitBlt(paint.Get(), area.left, area.top, area.right - area.left, area.bottom - area.top, dc, area.left,
             area.top, SRCCOPY);
    return true;
}

bool GridView::OnMouse(const ViewInputs& inputs, UINT message, LPARAM lParam)
{
    HoverTip* hover = inputs.hover;
    if (!hover)
        return false;
    if (message == WM_MOUSELEAVE) {
        hover->OnMouseLeave(inputs.window);
        return true;
    }
    if (message != WM_MOUSEMOVE)
        return false;
    const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    const int64_t index = CellAt(inputs.window, point);
    const PaneList& panes = *inputs.panes;
    // As over the pane windows: a pane beyond the snapshot's cores tells nothing.
    const CZiveVazudEx* pane = index >= 0 && static_cast<uint64_t>(index) < panes.size() &&
                                       static_cast<uint64_t>(index) < inputs.reportedCores
                                   ? panes[static_cast<size_t>(index)]
                                   : nullptr;
    if (!pane) {
        hover->OnMouseLeave(inputs.window);
        return true;
    }
    // In the pane's own coordinates, as its window would have received them.
    const RECT cell = CellRect(inputs.window, static_cast<uint32_t>(index));
    hover->OnMouseMove(*pane, inputs.times, {point.x - cell.left, point.y - cell.top}, inputs.window);
    return true;
}
