#include "graph/CZiveVazud.h"

#include "graph/GdiHandles.h"
#include "graph/PaneDrawing.h"
#include "graph/PaneRecord.h"
#include "graph/PaneText.h"
#include "graph/PlotGeometry.h"

namespace {

// The style a pane takes when its settings record is refused.
constexpr bool defaultShowXAxis = true;
constexpr int32_t defaultRangeMax = 100;
constexpr int32_t defaultRangeMin = 0;
constexpr COLORREF defaultBackground = 0x000000;
constexpr COLORREF defaultFrame = 0x00F0F0;
constexpr COLORREF defaultLoadGraph = 0x0000F0;
constexpr COLORREF defaultGrid = 0x00004F;
constexpr COLORREF defaultMessage = 0xF0F000;
constexpr COLORREF defaultText = 0xFFFFFF;
constexpr COLORREF defaultTitle = 0xFFFFFF;
constexpr COLORREF defaultXAxis = 0x007070;
constexpr const wchar_t* defaultUnit = L"C\u00B0";
constexpr const wchar_t* defaultTitleText = L"Untitled";

// The history capacity when the screen cannot be asked for its width.
constexpr int32_t fallbackCapacity = 1680;

constexpr size_t labelCapacity = 41;

}  // namespace

CZiveVazud::CZiveVazud(HWND paneWindow, const GraphSettings* settings) : useBars(false), pane(paneWindow)
{
    settingsValid = CZiveVazud::ApplySettings(settings);
    initialCapacity = CZiveVazud::AllocHistory();
}

CZiveVazud::~CZiveVazud()
{
    delete history;
    history = nullptr;
}

bool CZiveVazud::ApplySettings(const GraphSettings* settings)
{
    PaneLock::Exclusive hold(lock);
    const bool accepted = AcceptedRecord(settings);
    if (accepted) {
        showXAxis = settings->ShowXAxis;
        rangeMax = settings->RangeMax;
        rangeMin = settings->RangeMin;
        CopyColors(*settings);
        recordSize = settings->Size;
        panetext::CopyText(settings->TempUnit, unitText, 3);
        CopyRecordTitle(*settings, titleText, 41);
    } else {
        showXAxis = defaultShowXAxis;
        rangeMax = defaultRangeMax;
        rangeMin = defaultRangeMin;
        bgColor = defaultBackground;
        frameColor = defaultFrame;
        loadGraphColor = defaultLoadGraph;
        gridColor = defaultGrid;
        messageColor = defaultMessage;
        textColor = defaultText;
        titleColor = defaultTitle;
        xAxisColor = defaultXAxis;
        recordSize = graphSettingsSize;
        panetext::CopyText(defaultUnit, unitText, 3);
        panetext::CopyText(defaultTitleText, titleText, 41);
    }
    plotRect = RECT{};
    labelRect = RECT{};
    visibleCount = 0;
    textHeight = 0;
    halfTextHeight = 0;
    scale = 0.0f;
    return accepted;
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
    bgColor = settings.BGColor;
    frameColor = settings.FrameColor;
    loadGraphColor = settings.LoadGraphColor;
    gridColor = settings.GridColor;
    messageColor = settings.MessageColor;
    textColor = settings.TextColor;
    titleColor = settings.TitleColor;
    xAxisColor = settings.XAxisColor;
}

GraphSettings* CZiveVazud::CreateSettings()
{
    auto* record = new GraphSettings{};
    record->Size = graphSettingsSize;
    record->BGColor = bgColor;
    record->FrameColor = frameColor;
    record->LoadGraphColor = loadGraphColor;
    record->GridColor = gridColor;
    record->MessageColor = messageColor;
    record->TextColor = textColor;
    record->TitleColor = titleColor;
    record->XAxisColor = xAxisColor;
    return record;
}

void CZiveVazud::ClearHistory()
{
    PaneLock::Exclusive hold(lock);
    if (history)
        history->Clear();
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
    historyValid = false;
    const int32_t capacity = ScreenWidthCapacity();
    delete history;
    history = new SampleHistory(capacity);
    historyValid = history->IsValid();
    return capacity;
}

void CZiveVazud::SetUseBars(bool bars)
{
    PaneLock::Exclusive hold(lock);
    useBars = bars;
}

int CZiveVazud::RowOf(int32_t value) const
{
    return plot::VerticalMapping{plotRect.bottom, rangeMin, rangeMax, scale}.RowOf(value);
}

void CZiveVazud::Layout(HDC dc, const RECT* rect)
{
    RECT area{};
    if (rect)
        area = *rect;
    else
        ::GetClientRect(pane, &area);
    const plot::Box box = plot::PlotBox(ToBox(area));
    plotRect = ToRect(box);
    scale = plot::ScaleFor(box, rangeMin, rangeMax);
    visibleCount = plot::VisibleCount(box, useBars, history ? history->Count() : 0);

    Font font = CreateLabelFont();
    Selection selected(dc, font.Get());
    TEXTMETRICW metrics{};
    textHeight = ::GetTextMetricsW(dc, &metrics) ? metrics.tmHeight : 0;
    halfTextHeight = textHeight / 2;
}

void CZiveVazud::DrawFrame(HDC dc)
{
    RECT client{};
    ::GetClientRect(pane, &client);
    {
        Brush background(::CreateSolidBrush(bgColor));
        ::FillRect(dc, &client, background.Get());
    }
    // The hatch gaps take the text background colour.
    ::SetBkColor(dc, bgColor);
    {
        Brush grid(::CreateHatchBrush(HS_CROSS, gridColor));
        ::FillRect(dc, &plotRect, grid.Get());
    }

    const plot::Box box = ToBox(plotRect);
    if (plot::HasXAxis(rangeMin, showXAxis)) {
        Pen axisPen = CreateSolidPen(xAxisColor);
        Selection selected(dc, axisPen.Get());
        const int32_t row = plot::XAxisRow(box, rangeMin, scale);
        ::MoveToEx(dc, plotRect.left, row, nullptr);
        ::LineTo(dc, plotRect.right, row);
    }
    {
        // Four lines, each without its end point, covering the border from (left, top) to
        // (right, bottom) inclusive.
        Pen framePen = CreateSolidPen(frameColor);
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
    Font font = CreateLabelFont();
    Selection selectedFont(dc, font.Get());
    ::SetBkColor(dc, bgColor);
    ::SetTextColor(dc, titleColor);
    ::SetTextAlign(dc, TA_RIGHT | TA_TOP);
    wchar_t text[labelCapacity];
    panetext::CopyText(titleText, text, labelCapacity);
    DrawTextAt(dc, plot::TitleAnchor(box, textHeight), text);

    ::SetTextColor(dc, textColor);
    panetext::FormatValueText(rangeMax, unitText, text, labelCapacity);
    DrawTextAt(dc, plot::UpperRangeAnchor(box, halfTextHeight), text);
    panetext::FormatValueText(rangeMin, unitText, text, labelCapacity);
    DrawTextAt(dc, plot::LowerRangeAnchor(box, halfTextHeight), text);
}

void CZiveVazud::DrawSeries(HDC dc)
{
    Brush brush(::CreateSolidBrush(loadGraphColor));
    const plot::Box box = ToBox(plotRect);
    SeriesRows rows(static_cast<size_t>(visibleCount));
    for (int32_t i = 0; i < visibleCount; ++i)
        rows[i] = RowOf(history->ValueAt(i));
    if (useBars) {
        DrawSeriesBars(dc, box, rows, brush.Get());
    } else {
        DrawSeriesLines(dc, box, rows, {}, loadGraphColor, std::nullopt);
    }
    const int32_t newestRow = rows.empty() ? 0 : rows[0];
    DrawBackgroundColumn(dc);

    Font font = CreateLabelFont();
    Selection selectedFont(dc, font.Get());
    ::SetBkColor(dc, bgColor);
    ::SetTextColor(dc, textColor);
    ::SetTextAlign(dc, TA_LEFT | TA_TOP);
    if (visibleCount != 0)
        DrawValueLabel(dc, history->Latest(), unitText, newestRow);
}

void CZiveVazud::DrawBackgroundColumn(HDC dc) const
{
    Pen backgroundPen = CreateSolidPen(bgColor);
    Selection selected(dc, backgroundPen.Get());
    ::MoveToEx(dc, plotRect.left + 1, plotRect.top + 1, nullptr);
    ::LineTo(dc, plotRect.left + 1, plotRect.bottom);
}

void CZiveVazud::DrawValueLabel(HDC dc, int32_t value, const wchar_t* unit, int32_t row)
{
    wchar_t text[labelCapacity];
    panetext::FormatValueText(value, unit, text, labelCapacity);
    const plot::Anchor anchor = plot::ValueLabelAnchor(ToBox(plotRect), row, halfTextHeight);
    DrawTextAt(dc, anchor, text);
    labelRect.left = anchor.x;
    labelRect.top = anchor.y;
    labelRect.bottom = anchor.y + textHeight;
}

bool CZiveVazud::Paint(HDC dc, UINT code)
{
    if (code != WM_PAINT)
        return false;
    RECT client{};
    ::GetClientRect(pane, &client);
    MemoryDc memory(::CreateCompatibleDC(dc));
    if (!memory)
        return false;
    Bitmap bitmap(::CreateCompatibleBitmap(dc, client.right, client.bottom));
    Selection selected(memory.Get(), bitmap.Get());
    Layout(memory.Get());
    DrawFrame(memory.Get());
    DrawSeries(memory.Get());
    ::BitBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
    return true;
}
