#include "window/HeatMapView.h"

#include "core/GridLayout.h"
#include "core/HeatColourScale.h"
#include "core/TextFormat.h"
#include "graph/CZiveVazudEx.h"
#include "graph/PaneDrawing.h"
#include "win32/DpiAwareness.h"
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
    // The cells move or change size: none shows what it was last painted with any more.
    painted.assign(inputs.panes->size(), std::nullopt);
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

// Cell index of a grid whose first cell is first, every cell the same size.
RECT CellOf(const Cell& first, uint32_t columns, uint32_t index)
{
    const int left = first.width * static_cast<int>(index % columns);
    const int top = first.height * static_cast<int>(index / columns);
    return {left, top, left + first.width, top + first.height};
}

}  // namespace

// One pass of drawing cells into a DC of the main window: the brush, the font, the colours
// and the units set once, and the cells' places in the client area as it is now.
class HeatMapView::CellPass {
public:
    CellPass(HeatMapView& owner, const ViewInputs& viewInputs, HDC target)
        : view(owner), inputs(viewInputs), dc(target), dcBrush(dc, ::GetStockObject(DC_BRUSH)),
          selectedFont(dc, view.LabelFont(inputs.dpi))
    {
        ::GetClientRect(inputs.window, &client);
        first = GridCellAt(0, static_cast<uint32_t>(client.right), static_cast<uint32_t>(client.bottom),
                           view.Columns(), view.Rows());
        // One pixel (at 96 DPI) of the background between neighbouring cells.
        gap = plot::Scale{inputs.dpi}(1);
        inner = {first.width - gap, first.height - gap};
        // High contrast: cells in the window colour with their numbers in its text colour, the
        // lines between them in the text colour.
        const PaneColours* contrast = inputs.contrast;
        const GraphSettings* settings = inputs.settings;
        background = contrast ? contrast->frame : settings ? settings->BGColor : 0;
        TEXTMETRICW metrics{};
        textHeight = ::GetTextMetricsW(dc, &metrics) ? metrics.tmHeight : 0;
        ::SetBkMode(dc, TRANSPARENT);
        // Black reads on every colour of the scale, as on the tray icon.
        ::SetTextColor(dc, contrast ? contrast->text : RGB(0, 0, 0));
        ::SetTextAlign(dc, TA_CENTER | TA_TOP);
        if (settings) {
            textformat::CopyText(settings->TempUnit, units[0], 3);
            textformat::CopyText(settings->LoadUnit, units[1], 3);
        }
        if (std::wmemcmp(&units[0][0], &view.widthUnits[0][0], 6) != 0) {
            std::wmemcpy(&view.widthUnits[0][0], &units[0][0], 6);
            view.widths.clear();
        }
    }
    CellPass(const CellPass&) = delete;
    CellPass& operator=(const CellPass&) = delete;

    RECT CellRect(uint32_t index) const { return CellOf(first, view.Columns(), index); }
    uint32_t CellCount() const { return view.Columns() * view.Rows(); }

    // The lines between the cells and what lies beyond them. In a paint the drawing is clipped
    // to the update region, so each fill costs only what of it is to be painted.
    void Background() const
    {
        ::SetDCBrushColor(dc, background);
        const uint32_t columns = view.Columns();
        const uint32_t rows = view.Rows();
        const int gridWidth = first.width * static_cast<int>(columns);
        const int gridHeight = first.height * static_cast<int>(rows);
        for (uint32_t column = 1; column <= columns; ++column)
            ::PatBlt(dc, first.width * static_cast<int>(column) - gap, 0, gap, gridHeight, PATCOPY);
        for (uint32_t row = 1; row <= rows; ++row)
            ::PatBlt(dc, 0, first.height * static_cast<int>(row) - gap, gridWidth, gap, PATCOPY);
        ::PatBlt(dc, gridWidth, 0, client.right - gridWidth, client.bottom, PATCOPY);
        ::PatBlt(dc, 0, gridHeight, gridWidth, client.bottom - gridHeight, PATCOPY);
    }

    // The lines of text the cell shows for face, as LinesOf counts them here.
    int LinesOf(const CellFace& face) { return view.LinesOf(dc, face, inner, textHeight, inputs.dpi); }

    // A whole cell: its colour (the background when it is empty), then the temperature and
    // the load beneath it when there is room for both. Recorded as what the cell shows.
    void DrawCell(uint32_t index, const CellFace& face)
    {
        const RECT cell = CellRect(index);
        const int lines = LinesOf(face);
        if (index < view.painted.size())
            view.painted[index] = PaintedCell{face, lines};
        const bool filled = face.filled && inner.cx > 0 && inner.cy > 0;
        ::SetDCBrushColor(dc, filled ? face.colour : background);
        ::PatBlt(dc, cell.left, cell.top, inner.cx, inner.cy, PATCOPY);
        if (!filled || lines <= 0)
            return;
        const int top = cell.top + (inner.cy - lines * textHeight) / 2;
        DrawValue(cell, top, face.temperature, 0);
        if (lines == 2)
            DrawValue(cell, top + textHeight, face.load, 1);
    }

    // Of a cell showing two lines whose colour and temperature stay: the load's line alone,
    // across the cell. The caller records the new face.
    void DrawLoadLine(uint32_t index, const CellFace& face)
    {
        const RECT cell = CellRect(index);
        const int top = cell.top + (inner.cy - 2 * textHeight) / 2 + textHeight;
        ::SetDCBrushColor(dc, face.colour);
        ::PatBlt(dc, cell.left, top, inner.cx, textHeight, PATCOPY);
        DrawValue(cell, top, face.load, 1);
    }

private:
    void DrawValue(const RECT& cell, int top, int32_t value, int unit) const
    {
        wchar_t text[labelCapacity];
        textformat::FormatValueText(value, units[unit], text, labelCapacity);
        ::TextOutW(dc, cell.left + inner.cx / 2, top, text, static_cast<int>(std::wcslen(text)));
    }

    HeatMapView& view;
    const ViewInputs& inputs;
    HDC dc;
    Selection dcBrush;
    Selection selectedFont;
    RECT client{};
    Cell first{};
    int gap = 0;
    SIZE inner{};
    COLORREF background = 0;
    int textHeight = 0;
    wchar_t units[2][3] = {};
};

void HeatMapView::ShowUpdate(const ViewInputs& inputs)
{
    const HWND window = inputs.window;
    const size_t cells = inputs.panes->size();
    if (painted.size() != cells)
        painted.assign(cells, std::nullopt);
    // Nothing shows: the cells keep what they were last painted with, and the paint that
    // showing the window brings draws them all.
    if (!::IsWindowVisible(window) || ::IsIconic(window))
        return;
    // Update runs in the host's DPI awareness, which may be none: drawn in it, the cells would
    // be laid out and drawn in scaled-down coordinates. The window's own awareness, as in its
    // paint, for the client area, the DC and the drawing.
    const PerMonitorDpiScope perMonitor;
    WindowDc dc(window);
    if (!dc) {
        ::InvalidateRect(window, nullptr, FALSE);
        return;
    }
    // Made at the first cell that changed: an update that changes nothing draws nothing.
    std::optional<CellPass> pass;
    for (uint32_t i = 0; i < cells; ++i) {
        const CellFace face = FaceOf(inputs, i);
        std::optional<PaintedCell>& before = painted[i];
        if (before && before->face == face)
            continue;
        if (!pass)
            pass.emplace(*this, inputs, dc.Get());
        // The keyboard's focus rectangle is drawn over the focused cell by the window's paint.
        if (static_cast<int32_t>(i) == inputs.focusedCore) {
            const RECT cell = pass->CellRect(i);
            ::InvalidateRect(window, &cell, FALSE);
            continue;
        }
        // The load alone changed and the digits keep their places: the load's line, about a
        // fifth of the cell, is all that changes on the screen; nothing at all when the cell
        // has no room for the load.
        const bool loadAlone = before && before->face.filled && face.filled && before->face.colour == face.colour &&
                               before->face.temperature == face.temperature;
        if (loadAlone && pass->LinesOf(face) == before->lines) {
            if (before->lines == 2)
                pass->DrawLoadLine(i, face);
            before->face = face;
            continue;
        }
        pass->DrawCell(i, face);
    }
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
    const PaneList& paneList = *inputs.panes;
    if (painted.size() != paneList.size())
        painted.assign(paneList.size(), std::nullopt);
    PaintDc paint(inputs.window);
    const HDC dc = paint.Get();
    RECT area{};  // the bounds of the update region
    if (!dc || ::GetClipBox(dc, &area) == ERROR || ::IsRectEmpty(&area))
        return true;
    CellPass pass(*this, inputs, dc);
    pass.Background();
    for (uint32_t i = 0; i < pass.CellCount(); ++i) {
        const RECT cell = pass.CellRect(i);
        if (cell.right <= area.left || cell.left >= area.right || cell.bottom <= area.top || cell.top >= area.bottom ||
            !::RectVisible(dc, &cell))
            continue;
        pass.DrawCell(i, i < paneList.size() ? FaceOf(inputs, i) : CellFace{});
    }
    return true;
}
