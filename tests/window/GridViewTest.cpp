// The grid views as real windows: `Columns` places and sizes the panes, `HeatMap=1` paints one
// cell per core over hidden panes that keep their histories, and names the core under the mouse.
// The same code as the DLL, linked into the test so the panes and the window object can be seen.
#include "tests/support/LinkedPlugin.h"
#include "tests/support/ToolTipText.h"
#include "tests/window/WindowHarness.h"

#include "core/HeatColourScale.h"
#include "core/HottestCore.h"
#include "graph/CZiveVazudEx.h"
#include "plugin/CVaderurWnd.h"
#include "plugin/PluginState.h"
#include "resources/resource.h"
#include "win32/WindowCapture.h"
#include "window/HeatMapView.h"
#include "window/HoverTip.h"
#include "window/MainWindow.h"
#include "window/WindowViews.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace {

using testwindow::ChildRect;
using testwindow::ClientSize;

class GridView : public testsupport::FedPlugin {
protected:
    static RECT PaneRect(uint32_t i) { return ChildRect(graphList[i]->PaneWindow()); }
};

bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string Describe(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + ")";
}

TEST_F(GridView, TwoColumnsOfDefaultPanesAndEveryPaneTheSameSizeAfterAResize)
{
    testwindow::WriteSettings({"Columns=2;"});
    Feed(4, 1);
    ASSERT_EQ(graphCount, 4u);
    const SIZE client = ClientSize(mainWindow);
    EXPECT_EQ(client.cx, 1584);
    EXPECT_EQ(client.cy, 428);
    const RECT expected[] = {{0, 0, 792, 214}, {792, 0, 1584, 214}, {0, 214, 792, 428}, {792, 214, 1584, 428}};
    for (uint32_t i = 0; i < 4; ++i)
        EXPECT_TRUE(PaneRect(i) == expected[i]) << i << ": " << Describe(PaneRect(i));

    // The client area grows to a multiple of the columns and of the rows.
    testwindow::SetClientSize(mainWindow, 1001, 601);
    testhost::Pump();
    const SIZE resized = ClientSize(mainWindow);
    EXPECT_EQ(resized.cx, 1002);
    EXPECT_EQ(resized.cy, 602);
    const RECT afterResize[] = {{0, 0, 501, 301}, {501, 0, 1002, 301}, {0, 301, 501, 602}, {501, 301, 1002, 602}};
    for (uint32_t i = 0; i < 4; ++i)
        EXPECT_TRUE(PaneRect(i) == afterResize[i]) << i << ": " << Describe(PaneRect(i));
}

TEST_F(GridView, AutomaticColumnsMakeTheGridClosestToSquareWithinTheWorkArea)
{
    struct Case {
        uint32_t cores;
        size_t columns;
        size_t rows;
    };
    // 64 and 256 are cut to the work area: the snap to whole cells must not grow them past it.
    const Case cases[] = {{2, 2, 1}, {4, 2, 2}, {7, 4, 2}, {12, 4, 3}, {64, 8, 8}, {256, 16, 16}};
    testwindow::WriteSettings({"Columns=-1;"});
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.cores) + " cores");
        Reload();
        Feed(c.cores, 1);
        ASSERT_EQ(graphCount, c.cores);
        std::set<LONG> lefts;
        std::set<LONG> tops;
        const RECT first = PaneRect(0);
        for (uint32_t i = 0; i < c.cores; ++i) {
            const RECT r = PaneRect(i);
            lefts.insert(r.left);
            tops.insert(r.top);
            EXPECT_EQ(r.right - r.left, first.right - first.left) << i;
            EXPECT_EQ(r.bottom - r.top, first.bottom - first.top) << i;
            EXPECT_GT(r.right - r.left, 0) << i;
            EXPECT_GT(r.bottom - r.top, 0) << i;
        }
        EXPECT_EQ(lefts.size(), c.columns);
        EXPECT_EQ(tops.size(), c.rows);
        // The last row's panes reach the bottom, the last column's the right edge: no gaps.
        const SIZE client = ClientSize(mainWindow);
        EXPECT_EQ(*lefts.rbegin() + (first.right - first.left), client.cx);
        EXPECT_EQ(*tops.rbegin() + (first.bottom - first.top), client.cy);

        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        ASSERT_TRUE(::GetMonitorInfoW(::MonitorFromWindow(mainWindow, MONITOR_DEFAULTTONEAREST), &monitor));
        RECT window{};
        ::GetWindowRect(mainWindow, &window);
        EXPECT_LE(window.right - window.left, monitor.rcWork.right - monitor.rcWork.left);
        EXPECT_LE(window.bottom - window.top, monitor.rcWork.bottom - monitor.rcWork.top);
    }
}

TEST_F(GridView, TheHeatMapsPanesAreHiddenButKeepEverySampleUntilCleared)
{
    testwindow::WriteSettings({"HeatMap=1;"});
    Feed(6, 25);
    ASSERT_EQ(graphCount, 6u);
    ASSERT_NE(dynamic_cast<const HeatMapView*>(&pluginInstance->Window().CurrentView()), nullptr);
    for (uint32_t i = 0; i < graphCount; ++i) {
        EXPECT_EQ(::GetWindowLongW(graphList[i]->PaneWindow(), GWL_STYLE) & WS_VISIBLE, 0) << i;
        EXPECT_EQ(graphList[i]->History().Count(), 25) << i;
        EXPECT_EQ(graphList[i]->TempHistory().Count(), 25) << i;
    }
    testwindow::Command(mainWindow, IDM_CLEAR_HISTORY);
    for (uint32_t i = 0; i < graphCount; ++i) {
        EXPECT_EQ(graphList[i]->History().Count(), 0) << i;
        EXPECT_EQ(graphList[i]->TempHistory().Count(), 0) << i;
    }
    Feed(6, 2);
    EXPECT_EQ(graphList[5]->TempHistory().Count(), 2);
}

// Lets Wine carry what was painted to the window's surface, bounded to about half a second.
void Settle()
{
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 500) {
        testhost::Pump();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

uint32_t AsPicturePixel(HeatColour colour)  // 0x00BBGGRR to the picture's 0x00RRGGBB
{
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

TEST_F(GridView, EachCellHasTheColourOfItsCoresTemperature)
{
    testwindow::WriteSettings({"HeatMap=1;", "RangeMin=0;", "RangeMax=100;"});
    const float temperatures[] = {0.0f, 30.0f, 70.0f, 100.0f};
    SensorSnapshot snapshot = testhost::MakeSnapshot(4, 0.0f, 50);
    for (uint32_t i = 0; i < 4; ++i)
        snapshot.coreTemperature[i] = temperatures[i];
    record->Update(&snapshot);
    testhost::Pump();
    ASSERT_EQ(graphCount, 4u);
    const GraphSettings* settings = pluginInstance->Settings();
    ASSERT_EQ(settings->RangeMin, 0);
    ASSERT_EQ(settings->RangeMax, 100);

    ::SetWindowPos(mainWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    ::RedrawWindow(mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Settle();
    WindowPicture picture;
    ASSERT_TRUE(CaptureWindow(mainWindow, picture));
    RECT frame{};
    ::GetWindowRect(mainWindow, &frame);
    POINT origin{0, 0};
    ::ClientToScreen(mainWindow, &origin);

    std::set<uint32_t> colours;
    for (uint32_t i = 0; i < 4; ++i) {
        // Near the cell's top-left corner, clear of the centred texts and the gap between cells.
        const RECT cell = PaneRect(i);
        const int x = origin.x - frame.left + cell.left + 4;
        const int y = origin.y - frame.top + cell.top + 4;
        ASSERT_LT(x, picture.width);
        ASSERT_LT(y, picture.height);
        const uint32_t pixel = picture.pixels[static_cast<size_t>(y) * picture.width + x] & 0x00FFFFFF;
        const int32_t temperature = static_cast<int32_t>(temperatures[i]);
        EXPECT_EQ(pixel, AsPicturePixel(HeatColourOf(temperature, settings->RangeMin, settings->RangeMax)))
            << "core " << i << " at " << temperature;
        colours.insert(pixel);
    }
    EXPECT_EQ(colours.size(), 4u) << "four temperatures, four colours";
}

TEST_F(GridView, EveryCellHasATooltipNamingItsCore)
{
    testwindow::WriteSettings({"HeatMap=1;"});
    Feed(9, 1);
    ASSERT_EQ(graphCount, 9u);
    HWND tips = testsupport::HeatMapCellTips();
    ASSERT_NE(tips, nullptr);
    ASSERT_EQ(::SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 9);
    std::set<UINT_PTR> ids;
    for (uint32_t i = 0; i < 9; ++i) {
        TTTOOLINFOW tool{};
        ASSERT_TRUE(testsupport::ToolAt(tips, i, tool)) << i;
        EXPECT_EQ(tool.hwnd, mainWindow);
        ids.insert(tool.uId);
        // Room for the whole hover readout, which follows the core's name on its first line.
        const std::wstring shown = testsupport::ToolText(tips, tool.hwnd, tool.uId, 2048);
        EXPECT_EQ(shown.substr(0, shown.find(L"\r\n")), L"Core #" + std::to_wstring(tool.uId)) << i;
        // The tool covers its core's cell.
        EXPECT_TRUE(tool.rect == PaneRect(static_cast<uint32_t>(tool.uId))) << Describe(tool.rect);
    }
    EXPECT_EQ(ids.size(), 9u);
}

}  // namespace
