// The grid views of the main window: panes in columns (`Columns`) and the heat map
// (`HeatMap=1`), one cell per core in the tray icon's cool-to-hot colours, painted by the main
// window itself over hidden panes that keep their histories and exports. Without either key
// none of this runs.
#include "window/MainWindow.h"

#include "core/GridLayout.h"
#include "core/HeatColourScale.h"
#include "core/SnapshotCopy.h"
#include "core/TextFormat.h"
#include "graph/PaneDrawing.h"
#include "win32/Handles.h"
#include "win32/TooltipWindow.h"

#include <commctrl.h>

#include <cwchar>

namespace {

constexpr size_t labelCapacity = 41;

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

void MainWindow::ChooseView(const WindowOptions& options)
{
    heatMap = options.HeatMap;
    grid = heatMap || WantsGrid(options.Columns);
    // The heat map's cells are laid out automatically unless the columns are given.
    const int32_t setting = heatMap && !WantsGrid(options.Columns) && options.Columns != 1 ? automaticColumns
                                                                                            : options.Columns;
    columns = grid ? GridColumns(setting, paneCount) : 1;
    rows = GridRows(paneCount, columns);
}

void MainWindow::SizeForGrid(const WindowOptions& options)
{
    const RECT rect = FitToWorkArea(window, WantedGridClientSize(options.GraphWidth, options.GraphHeight, paneCount, columns));
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

// Grows the window so that the client width is a multiple of the columns and the height one
// of the rows: every cell the same size.
void MainWindow::SnapClientToGrid()
{
    RECT windowRect{};
    RECT client{};
    ::GetWindowRect(window, &windowRect);
    ::GetClientRect(window, &client);
    const uint32_t wider = SnapGrowth(static_cast<uint32_t>(client.right), columns);
    const uint32_t higher = SnapGrowth(static_cast<uint32_t>(client.bottom), rows);
    if (wider == 0 && higher == 0)
        return;
    ::SetWindowPos(window, nullptr, 0, 0, windowRect.right - windowRect.left + static_cast<int>(wider),
                   windowRect.bottom - windowRect.top + static_cast<int>(higher), SWP_NOMOVE | SWP_NOZORDER);
}

RECT MainWindow::CellRect(uint32_t index) const
{
    RECT client{};
    ::GetClientRect(window, &client);
    const Cell cell = GridCellAt(index, static_cast<uint32_t>(client.right), static_cast<uint32_t>(client.bottom),
                                 columns, rows);
    return {cell.left, cell.top, cell.left + cell.width, cell.top + cell.height};
}

void MainWindow::LayOutGrid()
{
    SnapClientToGrid();
    for (uint32_t i = 0; i < paneList.size(); ++i) {
        const RECT cell = CellRect(i);
        if (CZiveVazudEx* pane = paneList[i])
            ::SetWindowPos(pane->PaneWindow(), nullptr, cell.left, cell.top, cell.right - cell.left,
                           cell.bottom - cell.top, SWP_NOZORDER | SWP_NOACTIVATE);
        if (cellTips) {
            TTTOOLINFOW tool{};
            tool.cbSize = TTTOOLINFOW_V2_SIZE;
            tool.hwnd = window;
            tool.uId = i;
            tool.rect = cell;
            ::SendMessageW(cellTips, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
    if (heatMap)
        ::InvalidateRect(window, nullptr, FALSE);
}

void MainWindow::CreateCellTips(HINSTANCE instance)
{
    cellTips = CreateTooltipWindow(window, instance);
    if (!cellTips)
        return;
    if (hoverTip)
        ::SendMessageW(cellTips, TTM_SETMAXTIPWIDTH, 0, HoverTip::tipWidth);
    for (uint32_t i = 0; i < paneList.size(); ++i) {
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = window;
        tool.uId = i;
        tool.rect = CellRect(i);
        // The pane's own title, which lives as long as the pane; with the hover readout the
        // tip asks for the cell's readout each time it shows.
        tool.lpszText = hoverTip ? LPSTR_TEXTCALLBACKW : const_cast<wchar_t*>(paneList[i]->TitleText());
        ::SendMessageW(cellTips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

bool MainWindow::OnCellTipText(NMHDR* header)
{
    if (!hoverTip || !cellTips || !header || header->hwndFrom != cellTips || header->code != TTN_GETDISPINFOW)
        return false;
    const UINT_PTR index = header->idFrom;
    if (index >= paneList.size() || !paneList[index])
        return false;
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    info->lpszText = const_cast<wchar_t*>(hoverTip->CellText(*paneList[index], Times()));
    return true;
}

void MainWindow::PaintHeatMap()
{
    PaintDc paint(window);
    RECT client{};
    ::GetClientRect(window, &client);
    MemoryDc memory(::CreateCompatibleDC(paint.Get()));
    Bitmap bitmap(memory ? ::CreateCompatibleBitmap(paint.Get(), client.right, client.bottom) : nullptr);
    if (!memory || !bitmap)
        return;
    Selection selectedBitmap(memory.Get(), bitmap.Get());
    const HDC dc = memory.Get();
    Selection dcBrush(dc, ::GetStockObject(DC_BRUSH));
    ::SetDCBrushColor(dc, settings ? settings->BGColor : 0);
    ::PatBlt(dc, 0, 0, client.right, client.bottom, PATCOPY);

    Font font = CreateLabelFont();
    Selection selectedFont(dc, font.Get());
    TEXTMETRICW metrics{};
    const int textHeight = ::GetTextMetricsW(dc, &metrics) ? metrics.tmHeight : 0;
    ::SetBkMode(dc, TRANSPARENT);
    // Black reads on every colour of the scale, as on the tray icon.
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetTextAlign(dc, TA_CENTER | TA_TOP);
    const int32_t rangeMin = settings ? settings->RangeMin : 0;
    const int32_t rangeMax = settings ? settings->RangeMax : 100;
    wchar_t temperatureUnit[3] = {};
    wchar_t loadUnit[3] = {};
    if (settings) {
        textformat::CopyText(settings->TempUnit, temperatureUnit, 3);
        textformat::CopyText(settings->LoadUnit, loadUnit, 3);
    }

    // A snapshot with fewer cores than panes leaves the cells beyond it empty.
    const uint32_t cores = SnapshotCoreCount();
    for (uint32_t i = 0; i < paneList.size() && i < cores; ++i) {
        const CZiveVazudEx* pane = paneList[i];
        const SampleHistory* temperatures = pane ? pane->TempHistory() : nullptr;
        const SampleHistory* loads = pane ? pane->History() : nullptr;
        if (!temperatures || !loads || temperatures->Count() == 0)
            continue;
        const RECT cell = CellRect(i);
        // One pixel of the background between neighbouring cells.
        const int width = cell.right - cell.left - 1;
        const int height = cell.bottom - cell.top - 1;
        if (width <= 0 || height <= 0)
            continue;
        const COLORREF colour = HeatColourOf(temperatures->Latest(), rangeMin, rangeMax);
        ::SetDCBrushColor(dc, colour);
        ::PatBlt(dc, cell.left, cell.top, width, height, PATCOPY);

        // The temperature when there is room for it, then the load beneath it.
        wchar_t temperatureText[labelCapacity];
        wchar_t loadText[labelCapacity];
        textformat::FormatValueText(temperatures->Latest(), temperatureUnit, temperatureText, labelCapacity);
        textformat::FormatValueText(loads->Latest(), loadUnit, loadText, labelCapacity);
        SIZE temperatureSize{};
        SIZE loadSize{};
        ::GetTextExtentPoint32W(dc, temperatureText, static_cast<int>(std::wcslen(temperatureText)), &temperatureSize);
        ::GetTextExtentPoint32W(dc, loadText, static_cast<int>(std::wcslen(loadText)), &loadSize);
        const bool showTemperature = temperatureSize.cx + 4 <= width && textHeight + 2 <= height;
        const bool showLoad = showTemperature && loadSize.cx + 4 <= width && 2 * textHeight + 4 <= height;
        if (!showTemperature)
            continue;
        const int middle = cell.left + width / 2;
        const int lines = showLoad ? 2 : 1;
        const int top = cell.top + (height - lines * textHeight) / 2;
        ::TextOutW(dc, middle, top, temperatureText, static_cast<int>(std::wcslen(temperatureText)));
        if (showLoad)
            ::TextOutW(dc, middle, top + textHeight, loadText, static_cast<int>(std::wcslen(loadText)));
    }
    ::BitBlt(paint.Get(), 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
}
