// The plug-in at the display's scale: its windows made per-monitor aware without changing the
// host's DPI mode, the panes measured and their titles read back from the screen at the
// window's DPI, the heat map's update drawn in the window's pixels, a WM_DPICHANGED round trip,
// and "RememberPlacement=1" across reloads. Runs at whatever DPI the Wine prefix has (see
// README: the same tests under Wine 10 at 144 and 192).
#include "tests/support/DibPixels.h"
#include "tests/support/ProcessCounts.h"
#include "tests/support/LinkedPlugin.h"
#include "tests/window/WindowHarness.h"

#include "core/PlotGeometry.h"
#include "graph/CZiveVazudEx.h"
#include "graph/PaneDrawing.h"
#include "plugin/PluginState.h"
#include "resources/resource.h"
#include "win32/DpiAwareness.h"
#include "win32/Handles.h"
#include "win32/WindowCapture.h"
#include "window/MainWindow.h"
#include "window/TrayIcon.h"
#include "window/WindowViews.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

using testwindow::ClientSize;

constexpr int graphWidth = 500;
constexpr int graphHeight = 150;

class DisplayScale : public testsupport::FedPlugin {
protected:
    static void WriteSettings(std::vector<std::string> more = {})
    {
        std::vector<std::string> entries = {"GraphWidth=" + std::to_string(graphWidth) + ";",
                                            "GraphHeight=" + std::to_string(graphHeight) + ";", "BGColor=000000;",
                                            "TitleColor=FFFFFF;", "TextColor=FFFFFF;", "FrameColor=00F0F0;"};
        entries.insert(entries.end(), more.begin(), more.end());
        testwindow::WriteSettings(entries);
    }
};

using AwarenessOfWindow = HANDLE(WINAPI*)(HWND);
using AwarenessOfContext = int(WINAPI*)(HANDLE);

// The DPI awareness of a window (2: per monitor), or -1 where the system cannot tell.
int WindowAwareness(HWND window)
{
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    const auto ofWindow = reinterpret_cast<AwarenessOfWindow>(
        reinterpret_cast<void*>(::GetProcAddress(user32, "GetWindowDpiAwarenessContext")));
    const auto ofContext = reinterpret_cast<AwarenessOfContext>(
        reinterpret_cast<void*>(::GetProcAddress(user32, "GetAwarenessFromDpiAwarenessContext")));
    return ofWindow && ofContext ? ofContext(ofWindow(window)) : -1;
}

TEST_F(DisplayScale, OurWindowsArePerMonitorAwareAndTheHostKeepsItsMode)
{
    const HANDLE threadBefore = CurrentThreadDpiContext();
    const BOOL processBefore = ::IsProcessDPIAware();
    HWND host = testhost::CreateHostWindow();
    const int hostAwareness = WindowAwareness(host);
    WriteSettings();
    Feed(2, 2);
    ASSERT_NE(mainWindow, nullptr);
    EXPECT_EQ(CurrentThreadDpiContext(), threadBefore);
    EXPECT_EQ(::IsProcessDPIAware(), processBefore);
    EXPECT_EQ(WindowAwareness(host), hostAwareness);
    HWND later = testhost::CreateHostWindow();
    EXPECT_EQ(WindowAwareness(later), hostAwareness) << "a window the host makes afterwards";
    if (WindowAwareness(mainWindow) >= 0) {
        EXPECT_EQ(WindowAwareness(mainWindow), 2);
        EXPECT_EQ(WindowAwareness(graphList[0]->PaneWindow()), 2);
    }

    // The About box is per-monitor aware while it runs, and the thread is back afterwards.
    struct Seen {
        int awareness = -3;
    } seen;
    testwindow::ModalDialogDriver driver(
        [](HWND dialog, void* context) {
            static_cast<Seen*>(context)->awareness = WindowAwareness(dialog);
            ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        },
        &seen);
    testwindow::Command(mainWindow, IDM_ABOUT);
    EXPECT_TRUE(driver.seen);
    EXPECT_FALSE(driver.forced);
    if (seen.awareness >= 0) {
        EXPECT_EQ(seen.awareness, 2);
    }
    EXPECT_EQ(CurrentThreadDpiContext(), threadBefore);
    ::DestroyWindow(later);
    ::DestroyWindow(host);
}

// The screen's pixels of a rectangle of the window's client area, in physical pixels: one
// copy from the screen (a read per pixel is a round trip to the X server each under Wine).
std::vector<COLORREF> ScreenPixels(HWND window, const RECT& rect)
{
    POINT origin{rect.left, rect.top};
    ::ClientToScreen(window, &origin);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    testsupport::DibSurface copy(width, height);
    WindowDc screen(nullptr);
    if (!copy || !::BitBlt(copy.Dc(), 0, 0, width, height, screen.Get(), origin.x, origin.y, SRCCOPY))
        return {};
    std::vector<COLORREF> pixels;
    for (const uint32_t pixel : copy.Pixels())
        pixels.push_back(RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF));
    return pixels;
}

// The rows between the first and the last that hold the colour, counted inclusively.
int InkHeight(const std::vector<COLORREF>& pixels, int width, COLORREF ink)
{
    int first = -1;
    int last = -1;
    for (size_t i = 0; i < pixels.size(); ++i) {
        if (pixels[i] != ink)
            continue;
        const int row = static_cast<int>(i) / width;
        if (first < 0)
            first = row;
        last = row;
    }
    return first < 0 ? 0 : last - first + 1;
}

// The ink height of the title drawn with the label font at a resolution, in a memory bitmap.
int TitleInkHeight(const wchar_t* title, int dpi)
{
    const plot::Scale scale{dpi};
    WindowDc screen(nullptr);
    MemoryDc memory(::CreateCompatibleDC(screen.Get()));
    const int width = scale(200);
    const int height = scale(30);
    Bitmap bitmap(::CreateCompatibleBitmap(screen.Get(), width, height));
    Selection selected(memory.Get(), bitmap.Get());
    Font font = CreateLabelFont(scale);
    Selection selectedFont(memory.Get(), font.Get());
    RECT all{0, 0, width, height};
    ::FillRect(memory.Get(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    ::SetBkColor(memory.Get(), RGB(0, 0, 0));
    ::SetTextColor(memory.Get(), RGB(255, 255, 255));
    ::TextOutW(memory.Get(), 2, 2, title, static_cast<int>(std::wcslen(title)));
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(::GetPixel(memory.Get(), x, y));
    return InkHeight(pixels, width, RGB(255, 255, 255));
}

TEST_F(DisplayScale, PanesMeasureTheirWidthAtTheWindowsDpiAndTheirTitlesAreSharp)
{
    WriteSettings();
    Feed(2, 30);
    ASSERT_NE(mainWindow, nullptr);
    // Read in the window's own terms: physical pixels, whatever this test program's mode.
    const PerMonitorDpiScope physical;
    const int dpi = WindowDpi(mainWindow);
    EXPECT_EQ(pluginInstance->Window().Dpi(), dpi);
    EXPECT_EQ(ClientSize(graphList[0]->PaneWindow()).cx, ::MulDiv(graphWidth, dpi, 96));
    EXPECT_EQ(ClientSize(graphList[0]->PaneWindow()).cy, ::MulDiv(graphHeight, dpi, 96));
    ::RedrawWindow(mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    testhost::Pump();

    // The title's cells on screen, right-aligned at the plot's right edge above the plot, are
    // the pixels the pane draws, one for one: nothing stretched them on the way.
    CZiveVazudEx* pane = graphList[0];
    WindowPicture drawn;
    {
        WindowDc dc(pane->PaneWindow());
        MemoryDc memory(::CreateCompatibleDC(dc.Get()));
        const SIZE size = ClientSize(pane->PaneWindow());
        Bitmap bitmap(::CreateCompatibleBitmap(dc.Get(), size.cx, size.cy));
        Selection selected(memory.Get(), bitmap.Get());
        pane->Render(memory.Get());
        drawn.width = size.cx;
        for (int y = 0; y < size.cy; ++y)
            for (int x = 0; x < size.cx; ++x)
                drawn.pixels.push_back(::GetPixel(memory.Get(), x, y));
    }
    const RECT& plot = pane->PlotRect();
    const plot::Scale scale{dpi};
    SIZE title{};
    {
        WindowDc dc(pane->PaneWindow());
        Font font = CreateLabelFont(scale);
        Selection selected(dc.Get(), font.Get());
        ::GetTextExtentPoint32W(dc.Get(), pane->TitleText(), static_cast<int>(std::wcslen(pane->TitleText())), &title);
    }
    const RECT region{plot.right - title.cx, plot.top - pane->TextHeight() - scale(2), plot.right, plot.top - scale(2)};
    const std::vector<COLORREF> pixels = ScreenPixels(pane->PaneWindow(), region);
    const int width = region.right - region.left;
    int differing = 0;
    for (size_t i = 0; i < pixels.size(); ++i) {
        const int x = region.left + static_cast<int>(i) % width;
        const int y = region.top + static_cast<int>(i) / width;
        differing += pixels[i] != drawn.pixels[static_cast<size_t>(y) * drawn.width + x];
    }
    EXPECT_EQ(differing, 0) << "of " << pixels.size() << " title pixels differ from what the pane drew";
    const int height = InkHeight(pixels, width, RGB(255, 255, 255));
    EXPECT_NEAR(height, TitleInkHeight(pane->TitleText(), dpi), 1) << "at " << dpi << " DPI";
    const std::set<COLORREF> colours(pixels.begin(), pixels.end());
    std::printf("DPI %d: pane %ld x %ld, title ink %d rows (%d at 96), %zu colours, %d pixels off\n", dpi,
                ClientSize(pane->PaneWindow()).cx, ClientSize(pane->PaneWindow()).cy, height,
                TitleInkHeight(pane->TitleText(), 96), colours.size(), differing);
}

void SendDpiChange(HWND window, int from, int to)
{
    // The suggested rectangle: the same client area at the new scale, the frame as it is.
    RECT frame{};
    ::GetWindowRect(window, &frame);
    const SIZE client = ClientSize(window);
    RECT rect{0, 0, ::MulDiv(client.cx, to, from), ::MulDiv(client.cy, to, from)};
    ::AdjustWindowRect(&rect, static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE)), TRUE);
    ::OffsetRect(&rect, frame.left - rect.left, frame.top - rect.top);
    ::SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&rect));
    testhost::Pump();
}

// The width of the tray reading's icon now.
int TrayIconWidth()
{
    ICONINFO parts{};
    if (!::GetIconInfo(MainWindow::Of(mainWindow)->Tray()->NotifyData().hIcon, &parts))
        return 0;
    Bitmap colour(parts.hbmColor);
    Bitmap mask(parts.hbmMask);
    BITMAP bitmap{};
    ::GetObjectW(colour.Get(), sizeof bitmap, &bitmap);
    return bitmap.bmWidth;
}

// The text height a pane lays out with at a resolution.
int LabelHeight(int dpi)
{
    WindowDc screen(nullptr);
    Font font = CreateLabelFont(plot::Scale{dpi});
    Selection selected(screen.Get(), font.Get());
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(screen.Get(), &metrics);
    return metrics.tmHeight;
}

TEST_F(DisplayScale, TheHeatMapDrawsAnUpdateInTheWindowsOwnPixels)
{
    WriteSettings({"HeatMap=1;", "RangeMin=0;", "RangeMax=100;"});
    Feed(16, 2);
    ASSERT_NE(mainWindow, nullptr);
    ::SetWindowPos(mainWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ::RedrawWindow(mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    // Drawn by Update in this program's DPI mode, which is the host's: none.
    SensorSnapshot snapshot = testhost::MakeSnapshot(16, 55.0f, 40);
    for (uint32_t core = 0; core < 16; ++core)
        snapshot.coreTemperature[core] = 20.0f + 4.0f * static_cast<float>(core);
    record->Update(&snapshot);
    testhost::Pump();

    // Read in physical pixels: what the update drew is what the window's own paint shows.
    const PerMonitorDpiScope physical;
    RECT client{};
    ::GetClientRect(mainWindow, &client);
    const std::vector<COLORREF> drawn = ScreenPixels(mainWindow, client);
    ::RedrawWindow(mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    testhost::Pump();
    const std::vector<COLORREF> painted = ScreenPixels(mainWindow, client);
    ASSERT_FALSE(drawn.empty());
    size_t differing = 0;
    for (size_t i = 0; i < drawn.size(); ++i)
        differing += drawn[i] != painted[i] ? 1 : 0;
    EXPECT_EQ(differing, 0u) << "of " << drawn.size() << " pixels at " << WindowDpi(mainWindow) << " DPI";
}

TEST_F(DisplayScale, ADpiChangeTo192AndBackKeepsTheSizeIn96DpiUnitsAndLeavesNoGdiObject)
{
    WriteSettings({"TrayTemperature=1;"});
    Feed(2, 30);
    ASSERT_NE(mainWindow, nullptr);
    const PerMonitorDpiScope physical;
    const int dpi = pluginInstance->Window().Dpi();
    const SIZE start = ClientSize(mainWindow);
    // Warm: the first pass at a scale makes what the system keeps for good (the fonts).
    SendDpiChange(mainWindow, dpi, 192);
    SendDpiChange(mainWindow, 192, dpi);
    const int gdiBefore = testsupport::GdiObjectCount();

    SendDpiChange(mainWindow, dpi, 192);
    EXPECT_EQ(pluginInstance->Window().Dpi(), 192);
    const SIZE large = ClientSize(mainWindow);
    EXPECT_NEAR(::MulDiv(large.cx, 96, 192), ::MulDiv(start.cx, 96, dpi), 1);
    EXPECT_NEAR(::MulDiv(large.cy, 96, 192), ::MulDiv(start.cy, 96, dpi), 1);
    for (uint32_t i = 0; i < graphCount; ++i) {
        EXPECT_EQ(graphList[i]->Dpi(), 192);
        EXPECT_EQ(graphList[i]->TextHeight(), LabelHeight(192)) << i;
        EXPECT_EQ(ClientSize(graphList[i]->PaneWindow()).cx, large.cx);
    }
    EXPECT_GT(LabelHeight(192), LabelHeight(96));
    EXPECT_EQ(TrayIconWidth(), 32) << "the small-icon size at 192 DPI";

    SendDpiChange(mainWindow, 192, dpi);
    const SIZE back = ClientSize(mainWindow);
    EXPECT_NEAR(back.cx, start.cx, 1);
    EXPECT_NEAR(back.cy, start.cy, 1);
    EXPECT_EQ(graphList[0]->TextHeight(), LabelHeight(dpi));
    EXPECT_EQ(TrayIconWidth(), ::MulDiv(16, dpi, 96));
    EXPECT_EQ(testsupport::GdiObjectCount(), gdiBefore) << "GDI objects left over by a change of scale";
}

// The window's normal rectangle, in 96-DPI units.
RECT NormalRect(HWND window)
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    ::GetWindowPlacement(window, &placement);
    return placement.rcNormalPosition;
}

bool Near(const RECT& a, const RECT& b)
{
    return std::abs(a.left - b.left) <= 1 && std::abs(a.top - b.top) <= 1 && std::abs(a.right - b.right) <= 1 &&
           std::abs(a.bottom - b.bottom) <= 1;
}

std::string Describe(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

TEST_F(DisplayScale, ARememberedWindowComesBackWhereItWasLeftTwentyTimes)
{
    const PerMonitorDpiScope physical;
    WriteSettings({"RememberPlacement=1;"});
    Feed(2, 1);
    ASSERT_NE(mainWindow, nullptr);
    ::SetWindowPos(mainWindow, nullptr, 140, 90, 700, 420, SWP_NOZORDER);
    testhost::Pump();
    RECT left{};
    ::GetWindowRect(mainWindow, &left);
    for (int cycle = 0; cycle < 20; ++cycle) {
        Reload();
        Feed(2, 1);
        ASSERT_NE(mainWindow, nullptr);
        RECT now{};
        ::GetWindowRect(mainWindow, &now);
        ASSERT_TRUE(Near(now, left)) << "cycle " << cycle << ": " << Describe(now) << " left " << Describe(left);
    }
    const std::string text = testwindow::ReadSettingsFile();
    EXPECT_NE(text.find("WindowMaximized=0;"), std::string::npos);
    EXPECT_NE(text.find("WindowLeft="), std::string::npos);
}

TEST_F(DisplayScale, ARectangleOffEveryMonitorIsNotUsed)
{
    const PerMonitorDpiScope physical;
    WriteSettings();
    Feed(2, 1);
    RECT usual{};
    ::GetWindowRect(mainWindow, &usual);
    Reload();
    WriteSettings({"RememberPlacement=1;", "WindowLeft=-20000;", "WindowTop=-20000;", "WindowWidth=700;",
                   "WindowHeight=420;"});
    Feed(2, 1);
    // Placed as without the keys: the usual size, on the screen.
    RECT now{};
    ::GetWindowRect(mainWindow, &now);
    EXPECT_EQ(now.right - now.left, usual.right - usual.left) << Describe(now);
    EXPECT_EQ(now.bottom - now.top, usual.bottom - usual.top) << Describe(now);
    EXPECT_NE(::MonitorFromRect(&now, MONITOR_DEFAULTTONULL), nullptr) << Describe(now);
}

TEST_F(DisplayScale, AMaximizedWindowComesBackMaximizedWithItsNormalRectangle)
{
    const PerMonitorDpiScope physical;
    WriteSettings({"RememberPlacement=1;"});
    Feed(2, 1);
    ::SetWindowPos(mainWindow, nullptr, 120, 70, 640, 400, SWP_NOZORDER);
    testhost::Pump();
    const RECT normal = NormalRect(mainWindow);
    ::ShowWindow(mainWindow, SW_MAXIMIZE);
    testhost::Pump();
    ASSERT_TRUE(::IsZoomed(mainWindow));
    Reload();
    Feed(2, 1);
    EXPECT_TRUE(::IsZoomed(mainWindow));
    EXPECT_NE(testwindow::ReadSettingsFile().find("WindowMaximized=1;"), std::string::npos);
    ::ShowWindow(mainWindow, SW_RESTORE);
    testhost::Pump();
    EXPECT_TRUE(Near(NormalRect(mainWindow), normal)) << Describe(NormalRect(mainWindow)) << " " << Describe(normal);
}

TEST_F(DisplayScale, WithoutTheKeyOrWithAReadOnlyFileNothingIsWritten)
{
    WriteSettings();
    Feed(2, 1);
    ::SetWindowPos(mainWindow, nullptr, 140, 90, 700, 420, SWP_NOZORDER);
    const std::string before = testwindow::ReadSettingsFile();
    Reload();
    EXPECT_EQ(testwindow::ReadSettingsFile(), before);

    WriteSettings({"RememberPlacement=1;"});
    const std::string readOnly = testwindow::ReadSettingsFile();
    ::SetFileAttributesW(L"Vaderur.ini", FILE_ATTRIBUTE_READONLY);
    Feed(2, 1);
    ::SetWindowPos(mainWindow, nullptr, 150, 100, 700, 420, SWP_NOZORDER);
    Reload();
    EXPECT_EQ(testwindow::ReadSettingsFile(), readOnly);
    ::SetFileAttributesW(L"Vaderur.ini", FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
