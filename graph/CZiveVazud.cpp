#include "graph/CZiveVazud.h"

#include "core/PlotGeometry.h"
#include "core/TextFormat.h"
#include "graph/PaneDrawing.h"
#include "graph/PaneRecord.h"
#include "win32/Handles.h"

#include <algorithm>
#include <cwchar>
#include <optional>
#include <utility>

namespace {

// The history capacity when the screen cannot be asked for its width.
constexpr int32_t fallbackCapacity = 1680;

constexpr size_t labelCapacity = 41;

}  // namespace

CZiveVazud::CZiveVazud(HWND paneWindow, const GraphSettings* settings) : useBars(false), pane(paneWindow)
{
    RECT made{};
    if (::GetClientRect(pane, &made))
        recordHeight = made.bottom;
    settingsValid = CZiveVazud::ApplySettings(settings);
    initialCapacity = CZiveVazud::AllocHistory();
}

CZiveVazud::~CZiveVazud() = default;

const CZiveVazud::PaneColour CZiveVazud::paneColours[8] = {
    {&CZiveVazud::bgColor, &PaneStyle::bgColor},         {&CZiveVazud::frameColor, &PaneStyle::frameColor},
    {&CZiveVazud::loadGraphColor, &PaneStyle::loadGraphColor}, {&CZiveVazud::gridColor, &PaneStyle::gridColor},
    {&CZiveVazud::messageColor, &PaneStyle::messageColor}, {&CZiveVazud::textColor, &PaneStyle::textColor},
    {&CZiveVazud::titleColor, &PaneStyle::titleColor},   {&CZiveVazud::xAxisColor, &PaneStyle::xAxisColor},
};

bool CZiveVazud::ApplySettings(const GraphSettings* settings)
{
    PaneLock::Exclusive hold(lock);
    const bool accepted = AcceptedRecord(settings);
    TakeStyle(accepted ? StyleOf(*settings) : PaneStyle{});
    recordSize = graphSettingsSize;
    plotRect = RECT{};
    labelRect = RECT{};
    visibleCount = 0;
    textHeight = 0;
    halfTextHeight = 0;
    scale = 0.0f;
    return accepted;
}

void CZiveVazud::TakeStyle(const PaneStyle& style)
{
    showXAxis = style.showXAxis;
    rangeMax = style.rangeMax;
    rangeMin = style.rangeMin;
    for (const PaneColour& colour : paneColours)
        this->*colour.pane = style.*colour.style;
    textformat::CopyText(style.unitText, unitText, 3);
    textformat::CopyText(style.titleText, titleText, 41);
}

bool CZiveVazud::ApplyColors(const GraphSettings* settings)
{
    PaneLock::Exclusive hold(lock);
    if (!AcceptedRecord(settings))
        return false;
    CopyColors(*settings);
    return true;
}

void CZiveVazud::CopyColors(const GraphSettings& settings)
{
    for (const PaneColour& colour : paneColours)
        this->*colour.pane = settings.*RecordFieldOf(colour.style);
}

GraphSettings* CZiveVazud::CreateSettings()
{
    auto* record = new GraphSettings{};
    record->Size = graphSettingsSize;
    for (const PaneColour& colour : paneColours)
        record->*RecordFieldOf(colour.style) = this->*colour.pane;
    return record;
}

void CZiveVazud::ClearHistory()
{
    PaneLock::Exclusive hold(lock);
    history.Clear();
}

int32_t CZiveVazud::ScreenWidthCapacity()
{
    WindowDc screen(nullptr);
    if (!screen)
        return fallbackCapacity;
    const int width = ::GetDeviceCaps(screen.Get(), HORZRES);
    return width > 0 ? width : fallbackCapacity;
}

int32_t CZiveVazud::AllocHistory()
{
    return AllocInto(history);
}

int32_t CZiveVazud::AllocInto(SampleHistory& slot)
{
    const int32_t capacity = ScreenWidthCapacity();
    slot.Reallocate(capacity);
    historyValid = slot.IsValid();
    return capacity;
}

void CZiveVazud::SetUseBars(bool bars)
{
    PaneLock::Exclusive hold(lock);
    useBars = bars;
}

int CZiveVazud::RowOf(int32_t value) const
{
    return plot::VerticalMapping{plotRect.bottom, rangeMin, rangeMax, scale, lengths(2)}.RowOf(value);
}

void CZiveVazud::SetDpi(int32_t value)
{
    dpi.store(value > 0 ? value : 96);
}

void CZiveVazud::Layout(HDC dc, const RECT* rect, Drawing drawing)
{
    RECT area{};
    if (rect)
        area = *rect;
    else
        ::GetClientRect(pane, &area);
    drawnArea = area;
    lengths = plot::Scale{rect ? 96 : dpi.load()};
    plot::Box box = plot::PlotBox(ToBox(area), lengths);

    Font font = CreateLabelFont(lengths);
    Selection selected(dc, font.Get());
    TEXTMETRICW metrics{};
    textHeight = ::GetTextMetricsW(dc, &metrics) ? metrics.tmHeight : 0;
    halfTextHeight = textHeight / 2;
    shownTexts = plot::ShownTexts{};
    if (compact && drawing == Drawing::View) {
        const plot::CompactPlot fitted = plot::FitTexts(ToBox(area), MeasureTexts(dc), lengths);
        box = fitted.plot;
        shownTexts = fitted.shown;
    }

    plotRect = ToRect(box);
    scale = plot::ScaleFor(box, rangeMin, rangeMax, lengths);
    visibleCount = plot::VisibleCount(box, useBars, history.Count(), lengths);
}

void CZiveVazud::SetCompact(bool on)
{
    PaneLock::Exclusive hold(lock);
    compact = on;
}

plot::TextExtents CZiveVazud::MeasureTexts(HDC dc) const
{
    const auto widthOf = [dc](const wchar_t* text) {
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text, static_cast<int>(std::wcslen(text)), &size);
        return static_cast<int32_t>(size.cx);
    };
    const auto valueWidth = [&](const ValueLabel& label) {
        if (!label.series || label.series->Count() == 0)
            return 0;
        wchar_t text[labelCapacity];
        textformat::FormatValueText(label.series->Latest(), label.unit, text, labelCapacity);
        return widthOf(text);
    };
    plot::TextExtents extents;
    extents.height = textHeight;
    extents.title = widthOf(titleText);
    wchar_t text[labelCapacity];
    textformat::FormatValueText(rangeMax, unitText, text, labelCapacity);
    extents.range = widthOf(text);
    textformat::FormatValueText(rangeMin, unitText, text, labelCapacity);
    extents.range = std::max(extents.range, widthOf(text));
    extents.temperature = valueWidth(valueLabels[0]);
    extents.load = valueWidth(valueLabels[1]);
    return extents;
}

void CZiveVazud::DrawFrame(HDC dc)
{
    {
        Brush background(::CreateSolidBrush(bgColor));
        ::FillRect(dc, &drawnArea, background.Get());
    }
    // The hatch gaps take the text background colour.
    ::SetBkColor(dc, bgColor);
    {
        Brush grid = CreateGridBrush(gridColor, bgColor, lengths);
        ::FillRect(dc, &plotRect, grid.Get());
    }

    const plot::Box box = ToBox(plotRect);
    if (plot::HasXAxis(rangeMin, showXAxis)) {
        Pen axisPen = CreateSolidPen(xAxisColor, lengths);
        Selection selected(dc, axisPen.Get());
        const int32_t row = plot::XAxisRow(box, rangeMin, scale, lengths);
        ::MoveToEx(dc, plotRect.left, row, nullptr);
        ::LineTo(dc, plotRect.right, row);
    }
    {
        // Four lines, each without its end point, covering the border from (left, top) to
        // (right, bottom) inclusive.
        Pen framePen = CreateSolidPen(frameColor, lengths);
        Selection selected(dc, framePen.Get());
        ::MoveToEx(dc, plotRect.left, plotRect.top, nullptr);
        ::LineTo(dc, plotRect.right + 1, plotRect.top);
        ::MoveToEx(dc, plotRect.left, plotRect.bottom, nullptr);
        ::LineTo(dc, plotRect.left, plotRect.top);
        ::MoveToEx(dc, plotRect.right, plotRect.bottom, nullptr);
        ::LineTo(dc, plotRect.right, plotRect.top);
        ::MoveToEx(dc, plotRect.right, plotRect.bottom, nullptr);
        ::LineTo(dc, plotRect.left, plotRect.bottom);
    }

    // Text cells are opaque: the DC's default background mode fills them with bgColor.
    Font font = CreateLabelFont(lengths);
    Selection selectedFont(dc, font.Get());
    ::SetBkColor(dc, bgColor);
    ::SetTextColor(dc, titleColor);
    ::SetTextAlign(dc, TA_RIGHT | TA_TOP);
    wchar_t text[labelCapacity];
    textformat::CopyText(titleText, text, labelCapacity);
    if (shownTexts.title)
        DrawTextAt(dc, plot::TitleAnchor(box, textHeight, lengths), text);
    if (!shownTexts.range)
        return;

    ::SetTextColor(dc, textColor);
    textformat::FormatValueText(rangeMax, unitText, text, labelCapacity);
    DrawTextAt(dc, plot::UpperRangeAnchor(box, halfTextHeight, lengths), text);
    textformat::FormatValueText(rangeMin, unitText, text, labelCapacity);
    DrawTextAt(dc, plot::LowerRangeAnchor(box, halfTextHeight, lengths), text);
}

void CZiveVazud::DrawSeries(HDC dc)
{
    Brush brush(::CreateSolidBrush(loadGraphColor));
    const plot::Box box = ToBox(plotRect);
    SeriesRows rows(static_cast<size_t>(visibleCount));
    for (int32_t i = 0; i < visibleCount; ++i)
        rows[i] = RowOf(history.ValueAt(i));
    if (useBars) {
        DrawSeriesBars(dc, box, rows, brush.Get(), lengths);
    } else {
        DrawSeriesLines(dc, box, rows, {}, loadGraphColor, std::nullopt, lengths);
    }
    DrawNewestLabels(dc, rows.empty() ? 0 : rows[0], nullptr);
}

void CZiveVazud::DrawNewestLabels(HDC dc, int32_t firstRow, const int32_t* secondRow)
{
    DrawBackgroundColumn(dc);

    Font font = CreateLabelFont(lengths);
    Selection selectedFont(dc, font.Get());
    ::SetBkColor(dc, bgColor);
    ::SetTextColor(dc, textColor);
    ::SetTextAlign(dc, TA_LEFT | TA_TOP);
    if (visibleCount == 0)
        return;
    // The second label gives way where it would overlap the first.
    const auto newest = [](const ValueLabel& label) { return label.series->Latest(); };
    if (shownTexts.temperature)
        DrawValueLabel(dc, newest(valueLabels[0]), valueLabels[0].unit, firstRow);
    if (secondRow && valueLabels[1].series && shownTexts.load &&
        plot::ShowsLoadLabel(firstRow, *secondRow, textHeight))
        DrawValueLabel(dc, newest(valueLabels[1]), valueLabels[1].unit, *secondRow);
}

void CZiveVazud::DrawBackgroundColumn(HDC dc) const
{
    Pen backgroundPen = CreateSolidPen(bgColor, lengths);
    Selection selected(dc, backgroundPen.Get());
    const int32_t column = plotRect.left + lengths(1);
    ::MoveToEx(dc, column, plotRect.top + lengths(1), nullptr);
    ::LineTo(dc, column, plotRect.bottom);
}

void CZiveVazud::DrawValueLabel(HDC dc, int32_t value, const wchar_t* unit, int32_t row)
{
    wchar_t text[labelCapacity];
    textformat::FormatValueText(value, unit, text, labelCapacity);
    const plot::Anchor anchor = plot::ValueLabelAnchor(ToBox(plotRect), row, halfTextHeight, lengths);
    DrawTextAt(dc, anchor, text);
    labelRect.left = anchor.x;
    labelRect.top = anchor.y;
    labelRect.bottom = anchor.y + textHeight;
}

void CZiveVazud::Render(HDC dc, const RECT* rect, Drawing drawing)
{
    Layout(dc, rect, drawing);
    DrawFrame(dc);
    DrawSeries(dc);
}

bool CZiveVazud::Paint(HDC dc, UINT code)
{
    return code == WM_PAINT && PaintBuffered(dc, nullptr);
}

void CZiveVazud::SwapColours(PaneColours& colours)
{
    std::swap(bgColor, colours.background);
    std::swap(frameColor, colours.frame);
    std::swap(loadGraphColor, colours.load);
    std::swap(gridColor, colours.grid);
    std::swap(messageColor, colours.message);
    std::swap(textColor, colours.text);
    std::swap(titleColor, colours.title);
    std::swap(xAxisColor, colours.xAxis);
}

void CZiveVazud::RenderOnScreen(HDC dc)
{
    std::optional<PaneColours> own;
    if (screenColours) {
        own = *screenColours;
        SwapColours(*own);
    }
    try {
        Render(dc);
    } catch (...) {
        if (own)
            SwapColours(*own);
        throw;
    }
    if (own)
        SwapColours(*own);
}

bool CZiveVazud::PaintBuffered(HDC dc, const wchar_t* mutexName)
{
    RECT client{};
    ::GetClientRect(pane, &client);
    // The named mutex keeps this pass and an export of the same pane from overlapping; it is
    // held only while drawing into the memory bitmap, not while copying it to the screen.
    std::optional<NamedMutexHold> drawing;
    if (mutexName)
        drawing.emplace(mutexName);
    MemoryDc memory(::CreateCompatibleDC(dc));
    Bitmap bitmap(memory ? ::CreateCompatibleBitmap(dc, client.right, client.bottom) : nullptr);
    Selection selected(memory.Get(), bitmap.Get());
    if (memory)
        RenderOnScreen(memory.Get());
    drawing.reset();
    if (!memory)
        return false;
    ::BitBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
    return true;
}
