// The menu commands and the pane procedure as they reach the panes, through the same code
// as the DLL linked into the test so the panes themselves can be looked at or replaced.
#include "tests/support/LinkedPlugin.h"
#include "tests/support/ToolTipText.h"
#include "tests/window/WindowHarness.h"

#include "core/PlotGeometry.h"
#include "graph/CZiveVazudEx.h"
#include "graph/PaneDrawing.h"
#include "plugin/CVaderurWnd.h"
#include "plugin/PluginState.h"
#include "window/WindowViews.h"
#include "resources/resource.h"
#include "window/HeatMapView.h"
#include "window/HoverTip.h"
#include "window/MainWindow.h"
#include "window/MainWindowProc.h"
#include "window/TimerSeam.h"

#include <gtest/gtest.h>

#include <climits>
#include <new>
#include <string>
#include <vector>

namespace {

using testwindow::Command;

// A pane that counts its paints and its destruction, and can be told to fail.
class ProbePane : public CZiveVazudEx {
public:
    ProbePane(HWND window, const GraphSettings* settings) : CZiveVazudEx(window, settings) {}
    ~ProbePane() override { ++destroyed; }

    bool Paint(HDC dc, UINT code) override
    {
        ++paints;
        if (throwOnPaint)
            throw std::bad_alloc();
        return CZiveVazudEx::Paint(dc, code);
    }
    void ClearHistory() override
    {
        if (throwOnClear)
            throw std::bad_alloc();
        CZiveVazudEx::ClearHistory();
    }

    int paints = 0;
    bool throwOnPaint = false;
    bool throwOnClear = false;
    static inline int destroyed = 0;
};

class WindowCommands : public testsupport::LinkedPlugin {
protected:
    void SetUp() override
    {
        LinkedPlugin::SetUp();
        ProbePane::destroyed = 0;
    }
    void TearDown() override
    {
        LinkedPlugin::TearDown();
        EXPECT_EQ(mainWindow, nullptr);
        EXPECT_EQ(graphList, nullptr);
    }
    void Feed(uint32_t cores, int updates)
    {
        SensorSnapshot snapshot = testhost::MakeSnapshot(cores, 55.0f, 40);
        for (int i = 0; i < updates; ++i)
            record->Update(&snapshot);
        testhost::Pump();
    }
    // Swaps every pane for a probe on the same window.
    std::vector<ProbePane*> InstallProbes()
    {
        std::vector<ProbePane*> probes;
        for (uint32_t i = 0; i < graphCount; ++i) {
            auto probe = std::make_unique<ProbePane>(graphList[i]->PaneWindow(), pluginInstance->Settings());
            probes.push_back(probe.get());
            pluginInstance->Window().ReplacePane(i, std::move(probe));
        }
        return probes;
    }
    static void RepaintPanes()
    {
        for (uint32_t i = 0; graphList && i < graphCount; ++i) {
            ::InvalidateRect(graphList[i]->PaneWindow(), nullptr, FALSE);
            ::UpdateWindow(graphList[i]->PaneWindow());
        }
    }
};

TEST_F(WindowCommands, EveryPaneIsBuiltWithItsTitleAndTheUnitTexts)
{
    testwindow::WriteSettings({"GraphWidth=600;", "GraphHeight=150;"});
    Feed(3, 1);
    ASSERT_EQ(graphCount, 3u);
    ASSERT_NE(graphList, nullptr);
    for (uint32_t i = 0; i < 3; ++i) {
        ASSERT_NE(graphList[i], nullptr);
        EXPECT_EQ(std::wstring(graphList[i]->TitleText()), L"Core #" + std::to_wstring(i));
        EXPECT_NE(graphList[i]->PaneWindow(), nullptr);
        EXPECT_EQ(::GetParent(graphList[i]->PaneWindow()), mainWindow);
        EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(graphList[i]->PaneWindow(), GWLP_WNDPROC)),
                  PaneWindowProc);
    }
    const GraphSettings* settings = pluginInstance->Settings();
    ASSERT_NE(settings, nullptr);
    EXPECT_EQ(std::u16string(settings->TempUnit), u"C\u00B0");
    EXPECT_EQ(std::u16string(settings->LoadUnit), u"%");
    EXPECT_EQ(std::u16string(settings->Title), u"Core #2");
    EXPECT_EQ(std::wstring(graphList[0]->UnitText()), L"C\u00B0");
    EXPECT_EQ(std::wstring(graphList[0]->LoadUnitText()), L"%");
    EXPECT_EQ(reinterpret_cast<CVaderurWnd*>(::GetWindowLongPtrW(mainWindow, GWLP_USERDATA)), pluginInstance);
}

TEST_F(WindowCommands, BarsLineAndClearActOnEveryPane)
{
    testwindow::WriteSettings({});
    Feed(3, 20);
    ASSERT_EQ(graphCount, 3u);
    Command(mainWindow, IDM_USE_BARS);
    for (uint32_t i = 0; i < graphCount; ++i)
        EXPECT_TRUE(graphList[i]->UsesBars()) << i;
    Command(mainWindow, IDM_USE_LINE);
    for (uint32_t i = 0; i < graphCount; ++i)
        EXPECT_FALSE(graphList[i]->UsesBars()) << i;

    ASSERT_EQ(graphList[1]->History().Count(), 20);
    Command(mainWindow, IDM_CLEAR_HISTORY);
    for (uint32_t i = 0; i < graphCount; ++i) {
        EXPECT_EQ(graphList[i]->History().Count(), 0) << i;
        EXPECT_EQ(graphList[i]->TempHistory().Count(), 0) << i;
    }
}

int64_t UnixMillisecondsNow()
{
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    const int64_t ticks = static_cast<int64_t>((static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime);
    return ticks / 10000 - 11644473600000;
}

TEST_F(WindowCommands, EveryUpdateKeepsOneClockTimeThatClearingForgets)
{
    testwindow::WriteSettings({});
    const int64_t before = UnixMillisecondsNow();
    Feed(3, 20);
    const int64_t after = UnixMillisecondsNow();
    const UpdateTimes* times = pluginInstance->Window().Times();
    ASSERT_NE(times, nullptr);
    // One time per update, not per pane.
    ASSERT_EQ(times->Count(), graphList[0]->History().Count());
    EXPECT_EQ(times->Count(), 20);
    for (int32_t k = 0; k < times->Count(); ++k) {
        EXPECT_GE(times->TimeAt(k), before) << k;
        EXPECT_LE(times->TimeAt(k), after) << k;
        if (k > 0) {
            EXPECT_LE(times->TimeAt(k), times->TimeAt(k - 1)) << "newest first, " << k;
        }
    }

    Command(mainWindow, IDM_CLEAR_HISTORY);
    EXPECT_EQ(times->Count(), 0);
    Feed(3, 2);
    EXPECT_EQ(times->Count(), 2);
    EXPECT_EQ(graphList[0]->History().Count(), 2);
}

// The text the readout's tip holds now.
std::wstring HoverTipText()
{
    const HoverTip* hover = pluginInstance->Window().Hover();
    if (!hover)
        return L"(no hover readout)";
    return testsupport::ToolText(hover->Handle(), mainWindow, 0);
}

void MoveMouse(HWND pane, int x, int y)
{
    ::SendMessageW(pane, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}

std::wstring FiguresText(const wchar_t* name, const SeriesFigures& figures, const wchar_t* unit)
{
    return std::wstring(L"  ") + name + L" min " + std::to_wstring(figures.min) + unit + L", max " +
           std::to_wstring(figures.max) + unit + L", avg " + FormatAverage(figures) + unit;
}

TEST_F(WindowCommands, HoverReadoutTellsTheSampleUnderTheMouseAndTheFigures)
{
    testwindow::WriteSettings({});  // on without the key
    Feed(2, 1);
    RepaintPanes();
    CZiveVazudEx* pane = graphList[0];
    const plot::Box plot = ToBox(pane->PlotRect());
    // One more update than the plot has columns, so the shown and the whole history differ.
    const int32_t columns = plot::VisibleCount(plot, false, INT_MAX);
    Command(mainWindow, IDM_CLEAR_HISTORY);
    std::vector<int32_t> temperatures;
    std::vector<int32_t> loads;
    for (int32_t i = 0; i < columns + 40; ++i) {
        temperatures.push_back(20 + i * 7 % 60);
        loads.push_back(i * 13 % 101);
        SensorSnapshot snapshot = testhost::MakeSnapshot(2, static_cast<float>(temperatures.back()),
                                                         static_cast<uint32_t>(loads.back()));
        record->Update(&snapshot);
    }
    testhost::Pump();
    RepaintPanes();
    ASSERT_EQ(pane->VisibleCount(), columns);
    SeriesFigures shownTemperature, shownLoad, allTemperature, allLoad;
    for (size_t i = 0; i < temperatures.size(); ++i) {
        allTemperature.Add(temperatures[i]);
        allLoad.Add(loads[i]);
        if (i + columns >= temperatures.size()) {
            shownTemperature.Add(temperatures[i]);
            shownLoad.Add(loads[i]);
        }
    }
    const HWND tip = pluginInstance->Window().Hover()->Handle();
    const int middle = (plot.top + plot.bottom) / 2;

    // Line mode: the sample five back from the newest.
    MoveMouse(pane->PaneWindow(), plot::LineColumn(plot, 5), middle);
    const size_t fifth = temperatures.size() - 1 - 5;
    std::wstring text = HoverTipText();
    EXPECT_EQ(text.rfind(L"Core #0\r\n", 0), 0u) << text;
    EXPECT_NE(text.find(L"Temperature " + std::to_wstring(temperatures[fifth]) + L"C\u00B0, load " +
                        std::to_wstring(loads[fifth]) + L"%\r\n"),
              std::wstring::npos)
        << text;
    SYSTEMTIME today{};
    ::GetLocalTime(&today);
    wchar_t date[16];
    std::swprintf(date, 16, L"\r\n%04u-%02u-%02u ", today.wYear, today.wMonth, today.wDay);
    EXPECT_NE(text.find(date), std::wstring::npos) << text;
    EXPECT_NE(text.find(L" s ago\r\n"), std::wstring::npos) << text;
    EXPECT_NE(text.find(L"Shown (" + std::to_wstring(columns) + L" samples)\r\n" +
                        FiguresText(L"temperature", shownTemperature, L"C\u00B0") + L"\r\n" +
                        FiguresText(L"load", shownLoad, L"%") + L"\r\n"),
              std::wstring::npos)
        << text;
    EXPECT_NE(text.find(L"History (" + std::to_wstring(temperatures.size()) + L" samples)\r\n" +
                        FiguresText(L"temperature", allTemperature, L"C\u00B0") + L"\r\n" +
                        FiguresText(L"load", allLoad, L"%")),
              std::wstring::npos)
        << text;
    EXPECT_TRUE(::IsWindowVisible(tip));

    // Bar mode: any column of bar 2 names the sample two back.
    Command(mainWindow, IDM_USE_BARS);
    RepaintPanes();
    const size_t second = temperatures.size() - 1 - 2;
    MoveMouse(pane->PaneWindow(), plot::BarBox(plot, 2, 0).left, middle);
    text = HoverTipText();
    EXPECT_NE(text.find(L"Temperature " + std::to_wstring(temperatures[second]) + L"C\u00B0, load " +
                        std::to_wstring(loads[second]) + L"%\r\n"),
              std::wstring::npos)
        << text;

    // Off the plot (the value labels right of it), and out of the pane, the tip goes.
    MoveMouse(pane->PaneWindow(), plot.right + 4, middle);
    EXPECT_FALSE(::IsWindowVisible(tip));
    MoveMouse(pane->PaneWindow(), plot::LineColumn(plot, 0) - 1, middle);
    EXPECT_TRUE(::IsWindowVisible(tip));
    ::SendMessageW(pane->PaneWindow(), WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(::IsWindowVisible(tip));

    // The whole-history figures start again with "Clear history".
    Command(mainWindow, IDM_CLEAR_HISTORY);
    Feed(2, 3);
    RepaintPanes();
    MoveMouse(pane->PaneWindow(), plot::BarBox(plot, 0, 0).left, middle);
    text = HoverTipText();
    EXPECT_NE(text.find(L"History (3 samples)\r\n  temperature min 55C\u00B0, max 55C\u00B0, avg 55.0C\u00B0\r\n"
                        L"  load min 40%, max 40%, avg 40.0%"),
              std::wstring::npos)
        << text;
}

TEST_F(WindowCommands, HoverReadoutOffLeavesThePanesTransparentToTheMouse)
{
    testwindow::WriteSettings({"HoverReadout=0;"});
    Feed(2, 5);
    RepaintPanes();
    EXPECT_EQ(pluginInstance->Window().Hover(), nullptr);
    const HWND pane = graphList[0]->PaneWindow();
    EXPECT_NE(::SendMessageW(pane, WM_NCHITTEST, 0, 0), HTCLIENT);
    // Nothing to show and nothing that breaks.
    MoveMouse(pane, plot::LineColumn(ToBox(graphList[0]->PlotRect()), 0), 50);
}

std::wstring CellTipText(uint32_t cell)
{
    const HWND cells = testsupport::HeatMapCellTips();
    if (!cells)
        return L"(no cell tips)";
    return testsupport::ToolText(cells, mainWindow, cell);
}

TEST_F(WindowCommands, HeatMapCellTipTellsTheNewestSampleOfItsCore)
{
    testwindow::WriteSettings({"HeatMap=1;"});
    Feed(4, 3);
    const std::wstring text = CellTipText(2);
    EXPECT_EQ(text.rfind(L"Core #2\r\n", 0), 0u) << text;
    EXPECT_NE(text.find(L"Temperature 55C\u00B0, load 40%\r\n"), std::wstring::npos) << text;
    EXPECT_NE(text.find(L"History (3 samples)"), std::wstring::npos) << text;
}

TEST_F(WindowCommands, HeatMapCellTipWithoutTheReadoutNamesTheCoreOnly)
{
    testwindow::WriteSettings({"HeatMap=1;", "HoverReadout=0;"});
    Feed(4, 3);
    EXPECT_EQ(CellTipText(2), L"Core #2");
}

TEST_F(WindowCommands, ReloadingColoursTakesTheColoursButNotTheFlags)
{
    testwindow::WriteSettings({"BGColor=000000;", "GridColor=00004F;", "ShowSyatrayIcon=0;", "StartMinimized=0;"});
    Feed(2, 1);
    ASSERT_EQ(graphCount, 2u);
    EXPECT_EQ(graphList[0]->BackgroundColour(), 0x000000u);

    testwindow::WriteSettings({"BGColor=203040;", "GridColor=0000FF;", "ShowSyatrayIcon=1;", "StartMinimized=1;"});
    Command(mainWindow, IDM_RELOAD_COLORS);
    for (uint32_t i = 0; i < graphCount; ++i) {
        EXPECT_EQ(graphList[i]->BackgroundColour(), 0x203040u) << i;
        EXPECT_EQ(graphList[i]->GridColour(), 0x0000FFu) << i;
    }
    EXPECT_FALSE(pluginInstance->Settings()->ShowSyatrayIcon);
    EXPECT_FALSE(pluginInstance->Settings()->StartMinimized);
}

TEST_F(WindowCommands, TogglesChangeTheFlagOfThePlugInsRecord)
{
    testwindow::WriteSettings({"ShowSyatrayIcon=0;", "StartMinimized=0;"});
    Feed(1, 1);
    Command(mainWindow, IDM_START_MINIMIZED);
    EXPECT_TRUE(pluginInstance->Settings()->StartMinimized);
    EXPECT_FALSE(pluginInstance->Settings()->ShowSyatrayIcon);
    // The mark, not the flag, decides: a flag changed behind the menu's back is overruled.
    pluginInstance->Settings()->StartMinimized = false;
    Command(mainWindow, IDM_START_MINIMIZED);
    EXPECT_FALSE(pluginInstance->Settings()->StartMinimized);
    EXPECT_FALSE(testwindow::IsChecked(mainWindow, IDM_START_MINIMIZED));
}

TEST_F(WindowCommands, PanesBeyondTheSnapshotsCoreCountAreNotPainted)
{
    testwindow::WriteSettings({"GraphWidth=300;", "GraphHeight=100;"});
    Feed(4, 5);
    ASSERT_EQ(graphCount, 4u);
    std::vector<ProbePane*> probes = InstallProbes();

    RepaintPanes();
    for (ProbePane* probe : probes)
        EXPECT_EQ(probe->paints, 1);

    Feed(2, 1);  // the host now reports two cores
    for (ProbePane* probe : probes)
        probe->paints = 0;
    RepaintPanes();
    EXPECT_EQ(probes[0]->paints, 1);
    EXPECT_EQ(probes[1]->paints, 1);
    EXPECT_EQ(probes[2]->paints, 0);
    EXPECT_EQ(probes[3]->paints, 0);
}

TEST_F(WindowCommands, ExceptionsStayInsideTheWindowProcedures)
{
    testwindow::WriteSettings({"GraphWidth=300;", "GraphHeight=100;"});
    Feed(2, 3);
    std::vector<ProbePane*> probes = InstallProbes();
    for (ProbePane* probe : probes) {
        probe->throwOnPaint = true;
        probe->throwOnClear = true;
    }
    RepaintPanes();
    EXPECT_EQ(probes[0]->paints, 1);
    // The paint ended properly: nothing is left to paint.
    RECT update{};
    EXPECT_FALSE(::GetUpdateRect(probes[0]->PaneWindow(), &update, FALSE));

    ::SendMessageW(mainWindow, WM_COMMAND, IDM_CLEAR_HISTORY, 0);
    EXPECT_TRUE(::IsWindow(mainWindow));
    probes[0]->throwOnPaint = false;
    RepaintPanes();
    EXPECT_EQ(probes[0]->paints, 2);
}

TEST_F(WindowCommands, DestroyingTheWindowDeletesEveryPane)
{
    testwindow::WriteSettings({});
    Feed(3, 2);
    InstallProbes();
    HWND main = mainWindow;
    Command(main, IDM_EXIT);
    EXPECT_FALSE(::IsWindow(main));
    EXPECT_EQ(ProbePane::destroyed, 3);
    EXPECT_EQ(graphList, nullptr);
    EXPECT_EQ(mainWindow, nullptr);
    // A later Update stores the snapshot and finds no panes.
    Feed(3, 1);
    EXPECT_EQ(mainWindow, nullptr);
}

TEST_F(WindowCommands, AClassLeftRegisteredByAnEarlierObjectIsReused)
{
    testwindow::WriteSettings({});
    Feed(1, 1);
    HWND first = mainWindow;
    ReleasePlugin();
    EXPECT_FALSE(::IsWindow(first));
    Attach();
    Feed(2, 1);
    ASSERT_NE(mainWindow, nullptr);
    EXPECT_EQ(graphCount, 2u);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(::GetClassLongPtrW(mainWindow, GCLP_WNDPROC)), MainWindowProc);
}

// The timers the window sets, recorded instead of set.
struct TimerCall {
    HWND window;
    UINT_PTR id;
    UINT periodMs;
    TIMERPROC callback;
};
std::vector<TimerCall> timerCalls;
UINT_PTR RecordSetTimer(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC callback)
{
    timerCalls.push_back({window, id, periodMs, callback});
    return id;
}

std::wstring BesideThisExecutable(const wchar_t* name)
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + name;
}

TEST_F(WindowCommands, ALogIntervalInMinutesSetsATimerOfThatManyMillisecondsWhoseTickExports)
{
    const std::wstring picture = BesideThisExecutable(L"Core #0.png");
    ::DeleteFileW(picture.c_str());
    timerCalls.clear();
    SetSetTimerProc(RecordSetTimer);
    testwindow::WriteSettings({"LogInterval=3;"});
    Feed(1, 20);
    SetSetTimerProc(nullptr);

    ASSERT_EQ(timerCalls.size(), 1u);
    EXPECT_EQ(timerCalls[0].window, mainWindow);
    EXPECT_EQ(timerCalls[0].id, 2u);
    EXPECT_EQ(timerCalls[0].periodMs, 180000u);
    ASSERT_NE(timerCalls[0].callback, nullptr);
    EXPECT_EQ(::GetFileAttributesW(picture.c_str()), INVALID_FILE_ATTRIBUTES);

    // A tick, as the window's message loop would deliver it, exports every pane.
    timerCalls[0].callback(mainWindow, WM_TIMER, timerCalls[0].id, 0);
    bool exported = false;
    for (int poll = 0; poll < 2000 && !exported; ++poll) {
        exported = ::GetFileAttributesW(picture.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (!exported) {
            testhost::Pump();
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    EXPECT_TRUE(exported) << "no picture within 20 s of the tick";
    ReleasePlugin();  // waits for the export to end before the picture goes
    ::DeleteFileW(picture.c_str());
}

}  // namespace
