#include "graph/CZiveVazudEx.h"

#include "graph/GdiHandles.h"
#include "graph/PaneDrawing.h"
#include "graph/PaneRecord.h"
#include "graph/PaneText.h"
#include "graph/PlotGeometry.h"

// WIN32_LEAN_AND_MEAN leaves out the COM types that the GDI+ headers use.
#include <objidl.h>
#include <gdiplus.h>

#include <optional>

namespace {

constexpr COLORREF defaultTemperatureColour = 0x00F000;
constexpr const wchar_t* defaultLoadUnit = L"%";
constexpr int32_t fallbackCapacity = 1680;
constexpr size_t labelCapacity = 41;

}  // namespace

CZiveVazudEx::CZiveVazudEx(HWND paneWindow, const GraphSettings* settings) : CZiveVazud(paneWindow, settings)
{
    Gdiplus::GdiplusStartupInput startup;
    startup.GdiplusVersion = 1;
    startup.DebugEventCallback = nullptr;
    startup.SuppressBackgroundThread = FALSE;
    startup.SuppressExternalCodecs = FALSE;
    if (Gdiplus::GdiplusStartup(&gdiplusToken, &startup, nullptr) != Gdiplus::Ok)
        gdiplusToken = 0;
    tempHistory = nullptr;
    CZiveVazudEx::ApplySettings(settings);
    CZiveVazudEx::AllocHistory();
    panetext::FormatMutexName(titleText, static_cast<uint64_t>(reinterpret_cast<uintptr_t>(this)), mutexName,
                              sizeof(mutexName) / sizeof(mutexName[0]));
}

CZiveVazudEx::~CZiveVazudEx()
{
    if (gdiplusToken != 0)
        Gdiplus::GdiplusShutdown(gdiplusToken);
    delete tempHistory;
    tempHistory = nullptr;
}

bool CZiveVazudEx::ApplySettings(const GraphSettings* settings)
{
    PaneLock::Exclusive hold(lock);
    // settingsValid says whether the record was accepted at construction; the record itself is
    // checked again so that a later call with a null record cannot fault.
    if (settingsValid && AcceptedRecord(settings)) {
        graphColor = settings->GraphColor;
        panetext::CopyText(settings->LoadUnit, loadUnitText, 3);
    } else {
        graphColor = defaultTemperatureColour;
        panetext::CopyText(defaultLoadUnit, loadUnitText, 3);
    }
    return settingsValid;
}

int32_t CZiveVazudEx::AllocHistory()
{
    if (!historyValid)
        return fallbackCapacity;
    historyValid = false;
    const int32_t capacity = ScreenWidthCapacity();
    delete tempHistory;
    tempHistory = new SampleHistory(capacity);
    historyValid = tempHistory->IsValid();
    return capacity;
}

bool CZiveVazudEx::ApplyColors(const GraphSettings* settings)
{
    PaneLock::Exclusive hold(lock);
    if (!AcceptedRecord(settings))
        return false;
    CopyColors(*settings);
    graphColor = settings->GraphColor;
    return true;
}

GraphSettings* CZiveVazudEx::CreateSettings()
{
    return CZiveVazud::CreateSettings();
}

void CZiveVazudEx::ClearHistory()
{
    PaneLock::Exclusive hold(lock);
    if (history)
        history->Clear();
    if (tempHistory)
        tempHistory->Clear();
}

void CZiveVazudEx::PushSamples(int32_t temperature, int32_t load)
{
    if (tempHistory)
        tempHistory->Push(temperature);
    if (history)
        history->Push(load);
}

void CZiveVazudEx::DrawSeries(HDC dc)
{
    Brush loadBrush(::CreateSolidBrush(loadGraphColor));
    Brush temperatureBrush(::CreateSolidBrush(graphColor));
    const plot::Box box = ToBox(plotRect);

    SeriesRows loadRows(static_cast<size_t>(visibleCount));
    SeriesRows temperatureRows(static_cast<size_t>(visibleCount));
    for (int32_t i = 0; i < visibleCount; ++i) {
        loadRows[i] = RowOf(history->ValueAt(i));
        temperatureRows[i] = RowOf(tempHistory ? tempHistory->ValueAt(i) : 0);
    }
    // The temperature goes over the load: a bar shows load only above its temperature, and
    // where the lines cross the temperature lies on top.
    if (useBars) {
        DrawSeriesBars(dc, box, loadRows, loadBrush.Get());
        DrawSeriesBars(dc, box, temperatureRows, temperatureBrush.Get());
    } else {
        DrawSeriesLines(dc, box, loadRows, temperatureRows, loadGraphColor, graphColor);
    }
    const int32_t newestLoadRow = loadRows.empty() ? 0 : loadRows[0];
    const int32_t newestTemperatureRow = temperatureRows.empty() ? 0 : temperatureRows[0];
    DrawBackgroundColumn(dc);

    Font font = CreateLabelFont();
    Selection selectedFont(dc, font.Get());
    ::SetBkColor(dc, bgColor);
    ::SetTextColor(dc, textColor);
    ::SetTextAlign(dc, TA_LEFT | TA_TOP);
    if (visibleCount == 0)
        return;

    DrawValueLabel(dc, tempHistory ? tempHistory->Latest() : 0, unitText, newestTemperatureRow);
    if (plot::ShowsLoadLabel(newestTemperatureRow, newestLoadRow, textHeight))
        DrawValueLabel(dc, history->Latest(), loadUnitText, newestLoadRow);
}

bool CZiveVazudEx::Paint(HDC dc, UINT code)
{
    if (code != WM_PAINT)
        return false;
    RECT client{};
    ::GetClientRect(pane, &client);

    // The named mutex keeps this pass and an export of the same pane from overlapping; it is
    // held only while drawing into the memory bitmap, not while copying it to the screen.
    std::optional<NamedMutexHold> drawing(std::in_place, mutexName);
    MemoryDc memory(::CreateCompatibleDC(dc));
    Bitmap bitmap(memory ? ::CreateCompatibleBitmap(dc, client.right, client.bottom) : nullptr);
    Selection selected(memory.Get(), bitmap.Get());
    if (memory) {
        Layout(memory.Get());
        DrawFrame(memory.Get());
        CZiveVazudEx::DrawSeries(memory.Get());
    }
    drawing.reset();
    if (!memory)
        return false;
    ::BitBlt(dc, 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
    return true;
}
