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

HeatMapView::CellFace HeatMapView::FaceOf(const ViewInputs& inputs, uint32_t index)
{
    CellFace face;
    const PaneList& paneList = *inputs.panes;
    // A snapshot with fewer cores than panes leaves the cells beyond it empty.
    const CZiveVazudEx* pane = index < paneList.size() && index < inputs.reportedCores ? paneList[index] : nullptr;
    const SampleHistory* temperatures = pane ? pane->TempHistory() : nullptr;
    const SampleHistory* loads = pane ? pane->History() : nullptr;
    if (!temperatures || !loads || temperatures->Count() == 0)
        return face;
    const GraphSettings* settings = inputs.settings;
    face.filled = true;
    face.temperature = temperatures->Latest();
    face.load = loads->Latest();
    face.colour = inputs.contrast ? inputs.contrast->background
                                  : HeatColourOf(face.temperature, settings ? settings->RangeMin : 0,
                                                 settings ? settings->RangeMax : 100);
    return face;
}

void HeatMapView::Invalidate(const ViewInputs& inputs)
{
    const size_t cells = inputs.panes->size();
    if (painted.size() != cells)
        painted.assign(cells, std::nullopt);
    std::vector<uint32_t> changed;
    for (uint32_t i = 0; i < cells; ++i) {
        if (!painted[i] || *painted[i] != FaceOf(inputs, i))
            changed.push_back(i);
    }
    if (changed.empty())
        return;
    // When most cells changed, the whole map costs less to paint than a region of that many
    // rectangles costs to build and to clip every drawing to.
    if (changed.size() * 2 > cells) {
        ::InvalidateRect(inputs.window, nullptr, FALSE);
        return;
    }
    // One region for the changed cells: one request to the window server, not one per cell.
    Region region(::CreateRectRgn(0, 0, 0, 0));
    for (const uint32_t i : changed) {
        const RECT cell = CellRect(inputs.window, i);
        Region one(::CreateRectRgnIndirect(&cell));
        if (!region || !one) {
            ::InvalidateRect(inputs.window, nullptr, FALSE);
            return;
        }
        ::CombineRgn(region.Get(), region.Get(), one.Get(), RGN_OR);
    }
    ::InvalidateRgn(inputs.window, region.Get(), FALSE);
}

bool HeatMapView::Paint(const ViewInputs& inputs)
{
    const HWND window = inputs.window;
    const GraphSettings* settings = inputs.settings;
    const PaneList& paneList = *inputs.panes;
    if (painted.size() != paneList.size())
        painted.assign(paneList.size(), std::nullopt);
    PaintDc paint(window);
    RECT area{};  // the bounds of the update region
    const HDC dc = buffer.Begin(paint, window, area);
    if (!dc)
        return true;
    Selection dcBrush(dc, ::GetStockObject(DC_BRUSH));
    // High contrast: cells in the window colour with their numbers in its text colour, the
    // lines between them in the text colour.
    const PaneColours* contrast = inputs.contrast;
    ::SetDCBrushColor(dc, contrast ? contrast->frame : settings ? settings->BGColor : 0);
    ::PatBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, PATCOPY);

    const plot::Scale lengths{inputs.dpi};
    Font font = CreateLabelFont(lengths);
    Selection selectedFont(dc, font.Get());
    TEXTMETRICW metrics{};
    const int textHeight = ::GetTextMetricsW(dc, &metrics) ? metrics.tmHeight : 0;
    ::SetBkMode(dc, TRANSPARENT);
    // Black reads on every colour of the scale, as on the tray icon.
    ::SetTextColor(dc, contrast ? contrast->text : RGB(0, 0, 0));
    ::SetTextAlign(dc, TA_CENTER | TA_TOP);
    wchar_t temperatureUnit[3] = {};
    wchar_t loadUnit[3] = {};
    if (settings) {
        textformat::CopyText(settings->TempUnit, temperatureUnit, 3);
        textformat::CopyText(settings->LoadUnit, loadUnit, 3);
    }

    for (uint32_t i = 0; i < paneList.size(); ++i) {
        const RECT cell = CellRect(window, i);
        if (!::RectVisible(paint.Get(), &cell))
            continue;
        const CellFace face = FaceOf(inputs, i);
        painted[i] = face;
        if (!face.filled)
            continue;
        // One pixel (at 96 DPI) of the background between neighbouring cells.
        const int width = cell.right - cell.left - lengths(1);
        const int height = cell.bottom - cell.top - lengths(1);
        if (width <= 0 || height <= 0)
            continue;
        ::SetDCBrushColor(dc, face.colour);
        ::PatBlt(dc, cell.left, cell.top, width, height, PATCOPY);

        // The temperature when there is room for it, then the load beneath it.
        wchar_t temperatureText[labelCapacity];
        wchar_t loadText[labelCapacity];
        textformat::FormatValueText(face.temperature, temperatureUnit, temperatureText, labelCapacity);
        textformat::FormatValueText(face.load, loadUnit, loadText, labelCapacity);
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
    ::BitBlt(paint.Get(), area.left, area.top, area.right - area.left, area.bottom - area.top, dc, area.left,
             area.top, SRCCOPY);
    return true;
}
