#include "window/HeatMapView.h"

#include "core/GridLayout.h"
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
// The most rectangles an update's region is made of; beyond them the whole map is painted.
constexpr size_t regionRectLimit = 64;
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
    if (!pane || pane->TempHistory().Count() == 0)
        return face;
    const GraphSettings* settings = inputs.settings;
    face.filled = true;
    face.temperature = pane->TempHistory().Latest();
    face.load = pane->History().Latest();
    face.colour = inputs.contrast ? inputs.contrast->background
                                  : HeatColourOf(face.temperature, settings ? settings->RangeMin : 0,
                                                 settings ? settings->RangeMax : 100);
    return face;
}

namespace {

// Invalidates the rectangles of window in one region: one request to the window server, not
// one per rectangle.
void InvalidateRects(HWND window, const std::vector<RECT>& rects)
{
    // The region's header takes the room of two rectangles, in front of them.
    static_assert(sizeof(RGNDATAHEADER) == 2 * sizeof(RECT), "the header fills two rectangles");
    std::vector<RECT> data(2 + rects.size());
    auto* region = reinterpret_cast<RGNDATA*>(data.data());
    region->rdh.dwSize = sizeof(RGNDATAHEADER);
    region->rdh.iType = RDH_RECTANGLES;
    region->rdh.nCount = static_cast<DWORD>(rects.size());
    region->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
    ::SetRectEmpty(&region->rdh.rcBound);
    for (size_t i = 0; i < rects.size(); ++i) {
        data[2 + i] = rects[i];
        ::UnionRect(&region->rdh.rcBound, &region->rdh.rcBound, &rects[i]);
    }
    Region combined(::ExtCreateRegion(nullptr, static_cast<DWORD>(data.size() * sizeof(RECT)), region));
    if (combined)
        ::InvalidateRgn(window, combined.Get(), FALSE);
    else
        ::InvalidateRect(window, nullptr, FALSE);
}

// Adds rect, or widens the last rectangle over it when the two lie side by side at the same
// height (at most the line between two cells apart): neighbouring cells that change alike make
// one rectangle of the region, and every drawing clipped to it walks fewer.
void AddSideBySide(std::vector<RECT>& rects, const RECT& rect, int gap)
{
    if (!rects.empty()) {
        RECT& last = rects.back();
        if (last.top == rect.top && last.bottom == rect.bottom && rect.left >= last.right &&
            rect.left - last.right <= gap) {
            last.right = rect.right;
            return;
        }
    }
    rects.push_back(rect);
}

// Cell index of a grid whose first cell is first, every cell the same size.
RECT CellOf(const Cell& first, uint32_t columns, uint32_t index)
{
    const int left = first.width * static_cast<int>(index % columns);
    const int top = first.height * static_cast<int>(index / columns);
    return {left, top, left + first.width, top + first.height};
}

}  // namespace

void HeatMapView::Invalidate(const ViewInputs& inputs)
{
    const size_t cells = inputs.panes->size();
    if (painted.size() != cells)
        painted.assign(cells, std::nullopt);
    RECT client{};
    ::GetClientRect(inputs.window, &client);
    const Cell first = GridCellAt(0, static_cast<uint32_t>(client.right), static_cast<uint32_t>(client.bottom),
                                  Columns(), Rows());
    const int gap = plot::Scale{inputs.dpi}(1);
    const SIZE inner{first.width - gap, first.height - gap};
    std::vector<RECT> rects;
    for (uint32_t i = 0; i < cells; ++i) {
        const CellFace face = FaceOf(inputs, i);
        std::optional<PaintedCell>& before = painted[i];
        if (before && before->face == face)
            continue;
        const RECT cell = CellOf(first, Columns(), i);
        // The load alone changed and the digits keep their places: the load's line, about a
        // fifth of the cell, is all that changes on the screen; nothing at all when the cell
        // has no room for the load.
        const bool loadAlone = before && before->face.filled && face.filled && before->face.colour == face.colour &&
                               before->face.temperature == face.temperature;
        if (loadAlone && LinesOf(nullptr, face, inner, paintedTextHeight, inputs.dpi) == before->lines) {
            if (before->lines == 2) {
                const int top = cell.top + (inner.cy - 2 * paintedTextHeight) / 2 + paintedTextHeight;
                AddSideBySide(rects, {cell.left, top, cell.left + inner.cx, top + paintedTextHeight}, gap);
            }
            before->face = face;
            continue;
        }
        AddSideBySide(rects, cell, gap);
    }
    if (rects.empty())
        return;
    // Scattered changes: the whole map costs less to paint than a region of that many
    // rectangles costs to build and to clip every drawing to (measured under Wine at 256 cores).
    if (rects.size() > regionRectLimit)
        ::InvalidateRect(inputs.window, nullptr, FALSE);
    else
        InvalidateRects(inputs.window, rects);
}

HFONT HeatMapView::LabelFont(int dpi)
{
    if (!font || fontDpi != dpi) {
        font = CreateLabelFont(plot::Scale{dpi});
        fontDpi = dpi;
        widths.clear();
    }
    return font.Get();
}

int HeatMapView::TextWidth(HDC dc, int32_t value, bool load)
{
    const int64_t key = static_cast<int64_t>(value) * 2 + (load ? 1 : 0);
    if (const auto known = widths.find(key); known != widths.end())
        return known->second;
    if (!dc)
        return -1;
    wchar_t text[labelCapacity];
    textformat::FormatValueText(value, widthUnits[load ? 1 : 0], text, labelCapacity);
    SIZE size{};
    ::GetTextExtentPoint32W(dc, text, static_cast<int>(std::wcslen(text)), &size);
    widths.emplace(key, size.cx);
    return size.cx;
}

int HeatMapView::LinesOf(HDC dc, const CellFace& face, SIZE inner, int textHeight, int dpi)
{
    if (!face.filled || inner.cx <= 0 || inner.cy <= 0)
        return 0;
    const plot::Scale lengths{dpi};
    const int temperatureWidth = TextWidth(dc, face.temperature, false);
    if (temperatureWidth < 0)
        return -1;
    if (temperatureWidth + lengths(4) > inner.cx || textHeight + lengths(2) > inner.cy)
        return 0;
    if (2 * textHeight + lengths(4) > inner.cy)
        return 1;
    const int loadWidth = TextWidth(dc, face.load, true);
    if (loadWidth < 0)
        return -1;
    return loadWidth + lengths(4) <= inner.cx ? 2 : 1;
}

bool HeatMapView::Paint(const ViewInputs& inputs)
{
    const HWND window = inputs.window;
    const GraphSettings* settings = inputs.settings;
    const PaneList& paneList = *inputs.panes;
    if (painted.size() != paneList.size())
        painted.assign(paneList.size(), std::nullopt);
    PaintDc paint(window);
    const HDC dc = paint.Get();
    RECT area{};  // the bounds of the update region
    if (!dc || ::GetClipBox(dc, &area) == ERROR || ::IsRectEmpty(&area))
        return true;
    RECT client{};
    ::GetClientRect(window, &client);
    const uint32_t columns = Columns();
    const uint32_t rows = Rows();
    const Cell first = GridCellAt(0, static_cast<uint32_t>(client.right), static_cast<uint32_t>(client.bottom),
                                  columns, rows);
    const plot::Scale lengths{inputs.dpi};
    // One pixel (at 96 DPI) of the background between neighbouring cells.
    const int gap = lengths(1);

    Selection dcBrush(dc, ::GetStockObject(DC_BRUSH));
    // High contrast: cells in the window colour with their numbers in its text colour, the
    // lines between them in the text colour.
    const PaneColours* contrast = inputs.contrast;
    const COLORREF background = contrast ? contrast->frame : settings ? settings->BGColor : 0;
    ::SetDCBrushColor(dc, background);
    // The background: the lines between the cells and what lies beyond them. The drawing is
    // clipped to the update region, so each fill costs only what of it is to be painted.
    const int gridWidth = first.width * static_cast<int>(columns);
    const int gridHeight = first.height * static_cast<int>(rows);
    for (uint32_t column = 1; column <= columns; ++column)
        ::PatBlt(dc, first.width * static_cast<int>(column) - gap, 0, gap, gridHeight, PATCOPY);
    for (uint32_t row = 1; row <= rows; ++row)
        ::PatBlt(dc, 0, first.height * static_cast<int>(row) - gap, gridWidth, gap, PATCOPY);
    ::PatBlt(dc, gridWidth, 0, client.right - gridWidth, client.bottom, PATCOPY);
    ::PatBlt(dc, 0, gridHeight, gridWidth, client.bottom - gridHeight, PATCOPY);

    Selection selectedFont(dc, LabelFont(inputs.dpi));
    TEXTMETRICW metrics{};
    const int textHeight = ::GetTextMetricsW(dc, &metrics) ? metrics.tmHeight : 0;
    paintedTextHeight = textHeight;
    ::SetBkMode(dc, TRANSPARENT);
    // Black reads on every colour of the scale, as on the tray icon.
    ::SetTextColor(dc, contrast ? contrast->text : RGB(0, 0, 0));
    ::SetTextAlign(dc, TA_CENTER | TA_TOP);
    wchar_t units[2][3] = {};
    if (settings) {
        textformat::CopyText(settings->TempUnit, units[0], 3);
        textformat::CopyText(settings->LoadUnit, units[1], 3);
    }
    if (std::wmemcmp(&units[0][0], &widthUnits[0][0], 6) != 0) {
        std::wmemcpy(&widthUnits[0][0], &units[0][0], 6);
        widths.clear();
    }

    const SIZE inner{first.width - gap, first.height - gap};
    for (uint32_t i = 0; i < columns * rows; ++i) {
        const RECT cell = CellOf(first, columns, i);
        if (cell.right <= area.left || cell.left >= area.right || cell.bottom <= area.top || cell.top >= area.bottom ||
            !::RectVisible(dc, &cell))
            continue;
        const CellFace face = i < paneList.size() ? FaceOf(inputs, i) : CellFace{};
        const int lines = LinesOf(dc, face, inner, textHeight, inputs.dpi);
        if (i < paneList.size())
            painted[i] = PaintedCell{face, lines};
        if (!face.filled || inner.cx <= 0 || inner.cy <= 0) {
            ::PatBlt(dc, cell.left, cell.top, inner.cx, inner.cy, PATCOPY);
            continue;
        }
        ::SetDCBrushColor(dc, face.colour);
        ::PatBlt(dc, cell.left, cell.top, inner.cx, inner.cy, PATCOPY);
        ::SetDCBrushColor(dc, background);
        if (lines <= 0)
            continue;
        // The temperature, then the load beneath it when there is room for both.
        wchar_t text[labelCapacity];
        const int middle = cell.left + inner.cx / 2;
        const int top = cell.top + (inner.cy - lines * textHeight) / 2;
        textformat::FormatValueText(face.temperature, units[0], text, labelCapacity);
        ::TextOutW(dc, middle, top, text, static_cast<int>(std::wcslen(text)));
        if (lines == 2) {
            textformat::FormatValueText(face.load, units[1], text, labelCapacity);
            ::TextOutW(dc, middle, top + textHeight, text, static_cast<int>(std::wcslen(text)));
        }
    }
    return true;
}
