// "TrayTemperature=1": the tray icon shows the hottest core, read back from the icon's own
// colour bitmap, with its tooltip; redrawn only on change, and no handle left behind.
#include "tests/support/DibPixels.h"
#include "tests/support/LinkedPlugin.h"
#include "tests/window/NotifyRecorder.h"
#include "tests/window/WindowHarness.h"

#include "core/HeatColourScale.h"
#include "core/HottestCore.h"
#include "plugin/CVaderurWnd.h"
#include "plugin/PluginState.h"
#include "win32/Handles.h"
#include "window/MainWindow.h"
#include "window/TemperatureIcon.h"
#include "window/TrayIcon.h"
#include "window/TrayTemperature.h"
#include "window/WindowViews.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <limits>
#include <vector>

namespace {

using testsupport::IconPixels;
using testwindow::ShellRecorder;

// COLORREF (0x00BBGGRR) as a DIB pixel's RGB (0x00RRGGBB).
uint32_t AsPixel(HeatColour colour)
{
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

// Updates whose icon calls carry a new icon.
size_t IconChanges(const ShellRecorder& shell)
{
    size_t n = 0;
    for (const testwindow::NotifyCall& call : shell.notifications)
        n += call.message == NIM_MODIFY && (call.data.uFlags & NIF_ICON) != 0;
    return n;
}

// The samples of one update as the sample distribution hands them to the window.
void ShowTemperatures(MainWindow& window, const int32_t* temperatures, const int32_t* loads, uint32_t count)
{
    UpdateRecord update;
    update.paneCount = count;
    update.reportedCores = count;
    update.temperatures = temperatures;
    update.loads = loads;
    window.TrayReading()->Show(update);
}

class TrayTemperature : public testsupport::LinkedPlugin {
protected:
    // Core 1 of two is the hotter one.
    void Update(float hottest, uint32_t load = 35)
    {
        SensorSnapshot snapshot = testhost::MakeSnapshot(2, 40.0f, 10);
        snapshot.coreTemperature[1] = hottest;
        snapshot.coreLoad[1] = load;
        record->Update(&snapshot);
        testhost::Pump();
    }
};

TEST_F(TrayTemperature, WithoutTheKeyTheIconStaysIcon129WithoutTooltip)
{
    ShellRecorder shell;
    testwindow::WriteSettings({"ShowSyatrayIcon=1;"});
    Update(72.0f);
    ASSERT_EQ(shell.notifications.size(), 1u);
    const HICON icon = shell.notifications[0].data.hIcon;
    for (float t : {73.0f, 90.0f, 20.0f})
        Update(t);
    EXPECT_EQ(shell.notifications.size(), 1u);
    ASSERT_NE(mainWindow, nullptr);
    EXPECT_EQ(MainWindow::Of(mainWindow)->Tray()->NotifyData().hIcon, icon);
    EXPECT_EQ(MainWindow::Of(mainWindow)->Tray()->NotifyData().szTip[0], L'\0');
}

TEST_F(TrayTemperature, TheIconShowsDashesThenTheHottestCoreInItsColour)
{
    ShellRecorder shell;
    testwindow::WriteSettings({"ShowSyatrayIcon=1;", "TrayTemperature=1;", "RangeMin=20;", "RangeMax=120;"});
    Update(72.0f);
    ASSERT_GE(shell.notifications.size(), 2u);

    // Added before the first samples ("--", no tooltip yet), then given the reading.
    const testwindow::NotifyCall& add = shell.notifications[0];
    EXPECT_EQ(add.message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(add.data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON));
    EXPECT_EQ(IconChanges(shell), 1u);
    const HICON icon = MainWindow::Of(mainWindow)->Tray()->NotifyData().hIcon;
    EXPECT_NE(icon, add.data.hIcon);
    const IconPixels shown = testsupport::ReadIconPixels(icon);
    ASSERT_EQ(shown.width, 16);
    ASSERT_EQ(shown.height, 16);
    const uint32_t background = AsPixel(HeatColourOf(72, 20, 120));
    EXPECT_EQ(shown.pixels[0] & 0x00FFFFFF, background);  // corners are background
    EXPECT_EQ(shown.pixels[255] & 0x00FFFFFF, background);
    const size_t ink = shown.CountRgb(0);
    // Two digits' strokes, and nothing but strokes and background: no blur at 16 pixels.
    EXPECT_GE(ink, 12u);
    EXPECT_LE(ink, 128u);
    EXPECT_EQ(ink + shown.CountRgb(background), shown.pixels.size());
    for (uint32_t p : shown.pixels)
        ASSERT_EQ(p >> 24, 0xFFu) << "the square is opaque";

    // The same digits drawn by themselves give the same picture; other digits do not.
    OwnedIcon same(DrawTemperatureIcon(L"72", HeatColourOf(72, 20, 120), 16));
    OwnedIcon other(DrawTemperatureIcon(L"27", HeatColourOf(72, 20, 120), 16));
    EXPECT_EQ(testsupport::ReadIconPixels(same.Get()).pixels, shown.pixels);
    EXPECT_NE(testsupport::ReadIconPixels(other.Get()).pixels, shown.pixels);

    // The digits stand left of centre and right of it: two of them, side by side.
    size_t left = 0;
    size_t right = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ((x < 8 ? left : right) += (shown.pixels[y * 16 + x] & 0x00FFFFFF) == 0);
    EXPECT_GT(left, 4u);
    EXPECT_GT(right, 4u);

    const testwindow::NotifyCall& last = shell.notifications.back();
    EXPECT_EQ(last.message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(last.data.uFlags, static_cast<UINT>(NIF_TIP));
    EXPECT_STREQ(last.data.szTip, L"Core #1: 72 C\u00B0, load 35 %");
}

// A sensor value that is not a number is no reading (the pane draws it as 0); one past what
// the icon's three characters hold shows that it is off the scale.
TEST_F(TrayTemperature, NoNumberShowsDashesAndAValueOffTheScaleSaysSo)
{
    ShellRecorder shell;
    testwindow::WriteSettings({"ShowSyatrayIcon=1;", "TrayTemperature=1;", "RangeMin=20;", "RangeMax=120;"});
    const auto shownPixels = [this] { return testsupport::ReadIconPixels(MainWindow::Of(mainWindow)->Tray()->NotifyData().hIcon).pixels; };
    const auto drawn = [](const wchar_t* digits, HeatColour colour) {
        OwnedIcon icon(DrawTemperatureIcon(digits, colour, 16));
        return testsupport::ReadIconPixels(icon.Get()).pixels;
    };

    Update(1500.0f);
    EXPECT_EQ(shownPixels(), drawn(L"1k+", HeatColourOf(1500, 20, 120)));
    EXPECT_STREQ(MainWindow::Of(mainWindow)->Tray()->NotifyData().szTip, L"Core #1: 1500 C\u00B0, load 35 %");

    SensorSnapshot snapshot = testhost::MakeSnapshot(2, std::numeric_limits<float>::quiet_NaN(), 10);
    snapshot.coreTemperature[1] = std::numeric_limits<float>::infinity();
    record->Update(&snapshot);
    testhost::Pump();
    EXPECT_EQ(shownPixels(), drawn(L"--", unknownColour));
    EXPECT_STREQ(MainWindow::Of(mainWindow)->Tray()->NotifyData().szTip, L"");

    // One core with a number among them: that one.
    snapshot.coreTemperature[0] = 45.0f;
    record->Update(&snapshot);
    testhost::Pump();
    EXPECT_EQ(shownPixels(), drawn(L"45", HeatColourOf(45, 20, 120)));
}

TEST_F(TrayTemperature, ItFollowsTheScreenScaleAndTheColourScale)
{
    testwindow::WriteSettings({"TrayTemperature=1;", "RangeMin=50;", "RangeMax=130;"});
    Update(40.0f);
    // What the window reads again when the shell tells of a new display scale.
    MainWindow::Of(mainWindow)->TrayReading()->Rescale(ScreenMetrics{true, 192, 192, 32});
    // The other core stays at 40 degrees.
    const struct {
        float temperature;
        HeatColour colour;
    } cases[] = {{45.0f, coolColour}, {90.0f, warmColour}, {130.0f, hotColour}, {134.9f, hotColour}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.temperature);
        Update(c.temperature);
        const IconPixels shown = testsupport::ReadIconPixels(MainWindow::Of(mainWindow)->Tray()->NotifyData().hIcon);
        ASSERT_EQ(shown.width, 32);
        EXPECT_EQ(shown.pixels[0] & 0x00FFFFFF, AsPixel(c.colour));
        EXPECT_GT(shown.CountRgb(0), 40u);
    }
}

TEST_F(TrayTemperature, AnUnchangedValueIsNotDrawnAgain)
{
    ShellRecorder shell;
    testwindow::WriteSettings({"ShowSyatrayIcon=1;", "TrayTemperature=1;"});
    Update(72.0f);
    EXPECT_EQ(IconChanges(shell), 1u);  // "--" became "72"
    const size_t calls = shell.notifications.size();

    Update(72.0f);
    Update(72.9f);  // whole degrees: still "72"
    EXPECT_EQ(shell.notifications.size(), calls);

    Update(72.0f, 80);  // a new load: the tooltip only
    EXPECT_EQ(IconChanges(shell), 1u);
    EXPECT_EQ(shell.notifications.size(), calls + 1);
    EXPECT_STREQ(shell.notifications.back().data.szTip, L"Core #1: 72 C\u00B0, load 80 %");

    Update(73.0f, 80);  // a new value: one new icon
    EXPECT_EQ(IconChanges(shell), 2u);
}

// Fills the stack below the caller with non-zero bytes, so that a buffer a later call leaves
// partly unwritten holds junk there. Called through a volatile pointer: never inlined.
void ScribbleStack()
{
    volatile char16_t junk[8192];
    for (size_t i = 0; i < sizeof junk / sizeof junk[0]; ++i)
        junk[i] = u'\x5A5A';
}
void (*volatile scribbleStack)() = ScribbleStack;

TEST_F(TrayTemperature, TheSameDigitsAreNotDrawnAgainWhateverFollowsTheirEnd)
{
    // The icon's digits are compared as texts: a shorter value after a longer one leaves the
    // longer one's tail behind the terminator of what was shown, and the new digits' buffer
    // holds whatever the stack held there.
    testwindow::WriteSettings({"TrayTemperature=1;"});
    Update(50.0f);
    MainWindow* window = MainWindow::Of(mainWindow);
    ASSERT_NE(window, nullptr);
    const int32_t loads[] = {10, 10};
    const struct {
        int32_t before;
        int32_t now;
    } cases[] = {{72, 72}, {100, 7}, {999, 12}, {-99, -5}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.now);
        const int32_t before[] = {c.before, c.before};
        const int32_t now[] = {c.now, c.now};
        ShowTemperatures(*window, before, loads, 2);
        ShowTemperatures(*window, now, loads, 2);
        const HICON shown = window->Tray()->NotifyData().hIcon;
        scribbleStack();
        ShowTemperatures(*window, now, loads, 2);
        EXPECT_EQ(window->Tray()->NotifyData().hIcon, shown);
    }
}

TEST_F(TrayTemperature, ManyUpdatesLeaveNoHandleBehind)
{
    // Without the shown icon the shell is not asked: what remains is drawing and destroying.
    testwindow::WriteSettings({"TrayTemperature=1;"});
    Update(50.0f);
    MainWindow* window = MainWindow::Of(mainWindow);
    ASSERT_NE(window, nullptr);
    const HANDLE process = ::GetCurrentProcess();
    const DWORD gdiBefore = ::GetGuiResources(process, GR_GDIOBJECTS);
    const DWORD userBefore = ::GetGuiResources(process, GR_USEROBJECTS);

    // Every update a new value, so every update draws. Windows counts the process's GDI and
    // USER objects; Wine answers 0 for both, so there the test sees only that every update
    // brought a new, readable icon. (A drawing under Wine takes milliseconds: 5000 updates.)
    const int32_t loads[] = {10, 20};
    HICON previous = window->Tray()->NotifyData().hIcon;
    size_t unchanged = 0;
    for (int32_t i = 0; i < 5000; ++i) {
        const int32_t temperatures[] = {30, 40 + i % 60};
        ShowTemperatures(*window, temperatures, loads, 2);
        const HICON now = window->Tray()->NotifyData().hIcon;
        unchanged += now == previous;
        previous = now;
    }
    EXPECT_EQ(unchanged, 0u);
    EXPECT_EQ(::GetGuiResources(process, GR_GDIOBJECTS), gdiBefore);
    EXPECT_EQ(::GetGuiResources(process, GR_USEROBJECTS), userBefore);
    EXPECT_EQ(testsupport::ReadIconPixels(previous).width, 16);
}

}  // namespace
