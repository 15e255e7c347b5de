#include "graph/CZiveVazudEx.h"

#include "core/BmpHeader.h"
#include "core/ExportPaths.h"
#include "core/PlotGeometry.h"
#include "core/TextFormat.h"
#include "graph/PaneDrawing.h"
#include "graph/PaneRecord.h"
#include "win32/DpiAwareness.h"
#include "win32/ExecutableFolder.h"
#include "win32/Handles.h"
#include "win32/PictureFile.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>

namespace {

constexpr int32_t fallbackCapacity = 1680;
constexpr int32_t exportMargin = 66;  // the plot's insets and frame around one column per sample
// The widest picture the PNG encoder takes (libpng's width limit, which GDI+ under Wine
// keeps): a longer history is saved as its newest samples that fit, not refused whole.
constexpr int64_t widestExport = 1000000;

}  // namespace

CZiveVazudEx::CZiveVazudEx(HWND paneWindow, const GraphSettings* settings) : CZiveVazud(paneWindow, settings)
{
    valueLabels[0] = {&tempHistory, unitText};
    valueLabels[1] = {&history, loadUnitText};
    CZiveVazudEx::ApplySettings(settings);
    CZiveVazudEx::AllocHistory();
    textformat::FormatMutexName(titleText, static_cast<uint64_t>(reinterpret_cast<uintptr_t>(this)), mutexName,
                                sizeof(mutexName) / sizeof(mutexName[0]));
}

CZiveVazudEx::~CZiveVazudEx() = default;

bool CZiveVazudEx::ApplySettings(const GraphSettings* settings)
{
    PaneLock::Exclusive hold(lock);
    // settingsValid says whether the record was accepted at construction; the record itself is
    // checked again so that a later call with a null record cannot fault.
    const PaneStyle style = settingsValid && AcceptedRecord(settings) ? StyleOf(*settings) : PaneStyle{};
    graphColor = style.graphColor;
    textformat::CopyText(style.loadUnitText, loadUnitText, 3);
    return settingsValid;
}

int32_t CZiveVazudEx::AllocHistory()
{
    if (!historyValid)
        return fallbackCapacity;
    return AllocInto(tempHistory);
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
    history.Clear();
    tempHistory.Clear();
    temperatureFigures.Clear();
    loadFigures.Clear();
}

void CZiveVazudEx::DrawSeries(HDC dc)
{
    Brush loadBrush(::CreateSolidBrush(loadGraphColor));
    Brush temperatureBrush(::CreateSolidBrush(graphColor));
    const plot::Box box = ToBox(plotRect);

    SeriesRows loadRows(static_cast<size_t>(visibleCount));
    SeriesRows temperatureRows(static_cast<size_t>(visibleCount));
    for (int32_t i = 0; i < visibleCount; ++i) {
        loadRows[i] = RowOf(history.ValueAt(i));
        temperatureRows[i] = RowOf(tempHistory.ValueAt(i));
    }
    // The temperature goes over the load: a bar shows load only above its temperature, and
    // where the lines cross the temperature lies on top.
    if (useBars) {
        DrawSeriesBars(dc, box, loadRows, loadBrush.Get(), lengths);
        DrawSeriesBars(dc, box, temperatureRows, temperatureBrush.Get(), lengths);
    } else {
        DrawSeriesLines(dc, box, loadRows, temperatureRows, loadGraphColor, graphColor, lengths);
    }
    const int32_t newestLoadRow = loadRows.empty() ? 0 : loadRows[0];
    DrawNewestLabels(dc, temperatureRows.empty() ? 0 : temperatureRows[0], &newestLoadRow);
}

void CZiveVazudEx::SwapColours(PaneColours& colours)
{
    CZiveVazud::SwapColours(colours);
    std::swap(graphColor, colours.temperature);
}

bool CZiveVazudEx::Paint(HDC dc, UINT code)
{
    return code == WM_PAINT && PaintBuffered(dc, mutexName);
}

bool CZiveVazudEx::GetOutputFolder(wchar_t* folder)
{
    const std::wstring found = OutputFolder();
    if (!folder || found.empty() || found.size() >= exportPathCapacity)
        return false;
    textformat::CopyText(found.c_str(), folder, exportPathCapacity);
    return true;
}

std::wstring CZiveVazudEx::OutputFolder()
{
    return ExecutableFolder();
}

void CZiveVazudEx::SaveSnapshot()
{
    const std::wstring outputFolder = OutputFolder();
    if (outputFolder.empty())
        return;
    const wchar_t* folder = outputFolder.c_str();
    const ExportPath bmpPath(folder, titleText, L".bmp");
    const ExportPath pngPath(folder, titleText, L".png");
    // As long as the PNG's name, so it fits whenever that does; one pane is saved by one
    // export at a time, so the name is never shared.
    const ExportPath tmpPath(folder, titleText, L".tmp");
    if (!bmpPath.Fits() || !pngPath.Fits() || !tmpPath.Fits())
        return;
    RemoveStalePictureTemporaries(folder);

    WindowDc screen(nullptr);
    if (!screen)
        return;
    MemoryDc memory(::CreateCompatibleDC(screen.Get()));
    if (!memory)
        return;
    const uint16_t bitsPerPixel = ExportBitsPerPixel(::GetDeviceCaps(screen.Get(), BITSPIXEL));

    BmpPicture picture;
    Bitmap section;
    void* pixels = nullptr;
    {
        // The held-sample count, the picture's size and the drawing all come from one pass
        // under both locks, so the picture is always one consistent history.
        NamedMutexHold paintTurn(mutexName);
        PaneLock::Shared histories(Lock());

        // A record of the history: its height is the one the pane was made with and its
        // layout the full one, whatever the view does with the pane now. A pane made without
        // a height (no GraphHeight in the file) has only the one its window gives it.
        const int64_t held = tempHistory.Count();
        // The pane's height at 96 DPI: a picture's pixels do not depend on the display.
        // Asked in the window's own pixels: on a worker thread of a DPI-unaware process the
        // size would come already scaled.
        RECT exportRect{};
        {
            const PerMonitorDpiScope physical;
            ::GetClientRect(pane, &exportRect);
        }
        exportRect.bottom = recordHeight > 0 ? recordHeight : ::MulDiv(exportRect.bottom, 96, Dpi());
        const int64_t width = std::min(held + exportMargin, widestExport);
        const std::optional<BmpGeometry> geometry = MakeBmpGeometry(width, exportRect.bottom, bitsPerPixel);
        if (!geometry)
            return;  // no height, or too large for one file
        picture = MakeBmpPicture(*geometry, ::GetDeviceCaps(screen.Get(), LOGPIXELSX),
                                 ::GetDeviceCaps(screen.Get(), LOGPIXELSY));
        exportRect.right = geometry->width;

        BITMAPINFO info{};
        static_assert(sizeof(info.bmiHeader) == bmpInfoHeaderSize, "the info header is written as is");
        std::memcpy(&info.bmiHeader, picture.infoHeader.data(), bmpInfoHeaderSize);
        section.Reset(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
        if (!section || !pixels)
            return;  // not enough memory for the picture

        Selection selected(memory.Get(), section.Get());
        Render(memory.Get(), &exportRect, Drawing::Record);
        ::GdiFlush();
    }

    const bool written = WriteBmpFile(bmpPath.Text(), picture, pixels);
    section.Reset();
    memory.Reset();
    if (written)
        ConvertBmpToPng(bmpPath, pngPath, tmpPath);
}
