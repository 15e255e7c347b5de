#include "window/HeatMapView.h"

#include "core/HeatColourScale.h"
#include "core/TextFormat.h"
#include "graph/CZiveVazudEx.h"
#include "graph/PaneDrawing.h"
#include "win32/Handles.h"
#include "win32/TooltipWindow.h"
#include "window/HoverTip.h"

#include <commctrl.h>

#include <cwchar>

namespace {
constexpr size_t labelCapacity = 41;
}  // namespace

void HeatMapView::LayOut(const ViewInputs& inputs)
{
    GridView::LayOut(inputs);
    if (cellTips) {
        for (uint32_t i = 0; i < inputs.panes->size(); ++i) {
            TTTOOLINFOW tool{};
            tool.cbSize = TTTOOLINFOW_V2_SIZE;
            tool.hwnd = inputs.window;
            tool.uId = i;
            tool.rect = CellRect(inputs.window, i);
            ::SendMessageW(cellTips, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
    ::InvalidateRect(inputs.window, nullptr, FALSE);
}

void HeatMapView::Attach(const ViewInputs& inputs, HINSTANCE instance)
{
    const HWND window = inputs.window;
    const PaneList& paneList = *inputs.panes;
    HoverTip* hoverTip = inputs.hover;
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
        tool.rect = CellRect(window, i);
        // The pane's own title, which lives as long as the pane; with the hover readout the
        // tip asks for the cell's readout each time it shows.
        tool.lpszText = hoverTip ? LPSTR_TEXTCALLBACKW : const_cast<wchar_t*>(paneList[i]->TitleText());
        ::SendMessageW(cellTips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

bool HeatMapView::OnNotify(const ViewInputs& inputs, NMHDR* header)
{
    HoverTip* hoverTip = inputs.hover;
    const PaneList& paneList = *inputs.panes;
    if (!hoverTip || !cellTips || !header || header->hwndFrom != cellTips || header->code != TTN_GETDISPINFOW)
        return false;
    const UINT_PTR index = header->idFrom;
    if (index >= paneList.size() || !paneList[index])
        return false;
    auto* info = reinterpret_cast<NMTTDISPINFOW*>(header);
    info->lpszText = const_cast<wchar_t*>(hoverTip->CellText(*paneList[index], inputs.times));
    return true;
}

bool HeatMapView::Paint(const ViewInputs& inputs)
{
    const HWND window = inputs.window;
    const GraphSettings* settings = inputs.settings;
    const PaneList& paneList = *inputs.panes;
    PaintDc paint(window);
    RECT client{};
    ::GetClientRect(window, &client);
    MemoryDc memory(::CreateCompatibleDC(paint.Get()));
    Bitmap bitmap(memory ? ::CreateCompatibleBitmap(paint.Get(), client.right, client.bottom) : nullptr);
    if (!memory || !bitmap)
        return true;
    Selection selectedBitmap(memory.Get(), bitmap.Get());
    const HDC dc = memory.Get();
    Selection dcBrush(dc, ::GetStockObject(DC_BRUSH));
    // High contrast: cells in the window colour with their numbers in its text colour, the
    // lines between them in the text colour.
    const PaneColours* contrast = inputs.contrast;
    ::SetDCBrushColor(dc, contrast ? contrast->frame : settings ? settings->BGColor : 0);
    ::PatBlt(dc, 0, 0, client.right, client.bottom, PATCOPY);

    const plot::Scale lengths{inputs.dpi};
    Font font = CreateLabelFont(lengths);
    Selection selectedFont(dc, font.Get());
    TEXTMETRICW metrics{};
    const int textHeight = ::GetTextMetricsW(dc, &metrics) ? metrics.tmHeight : 0;
    ::SetBkMode(dc, TRANSPARENT);
    // Black reads on every colour of the scale, as on the tray icon.
    ::SetTextColor(dc, contrast ? contrast->text : RGB(0, 0, 0));
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
    const uint32_t cores = inputs.reportedCores;
    for (uint32_t i = 0; i < paneList.size() && i < cores; ++i) {
        const CZiveVazudEx* pane = paneList[i];
        const SampleHistory* temperatures = pane ? pane->TempHistory() : nullptr;
        const SampleHistory* loads = pane ? pane->History() : nullptr;
        if (!temperatures || !loads || temperatures->Count() == 0)
            continue;
        const RECT cell = CellRect(window, i);
        // One pixel (at 96 DPI) of the background between neighbouring cells.
        const int width = cell.right - cell.left - lengths(1);
        const int height = cell.bottom - cell.top - lengths(1);
        if (width <= 0 || height <= 0)
            continue;
        const COLORREF colour =
            contrast ? contrast->background : HeatColourOf(temperatures->Latest(), rangeMin, rangeMax);
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
        const bool showTemperature = temperatureSize.cx + lengths(4) <= width && textHeight + lengths(2) <= height;
        const bool showLoad =
            showTemperature && loadSize.cx + lengths(4) <= width && 2 * textHeight + lengths(4) <= height;
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
    return true;
}
