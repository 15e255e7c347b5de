// The grid view's one-pass paint in a real window: every cell shows the pixels its pane's own
// paint draws, in line and bar mode, with all texts and with compact ones; only the cells in
// the update region are drawn again; the heat map draws at once only what an update changed;
// the mouse over a cell reads as over its pane's window.
// The plug-in is linked into the test so that its panes and window object can be seen.
#include "tests/graph/PaneTestSupport.h"
#include "tests/support/LinkedPlugin.h"
#include "tests/window/WindowHarness.h"

#include "graph/CZiveVazudEx.h"
#include "graph/PaneDrawing.h"
#include "win32/Handles.h"
#include "resources/resource.h"
#include "settings/SettingsReader.h"
#include "win32/WindowCapture.h"
#include "window/GridView.h"
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

// Lets Wine carry what was painted to the window's surface, bounded to about half a second.
void Settle()
{
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < 500) {
        testhost::Pump();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

// The main window's client area as it shows on screen, 0x00RRGGBB.
struct ClientPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;

    std::vector<uint32_t> Cell(const RECT& cell) const
    {
        std::vector<uint32_t> out;
        for (int y = cell.top; y < cell.bottom; ++y)
            for (int x = cell.left; x < cell.right; ++x)
                out.push_back(pixels[static_cast<size_t>(y) * width + x] & 0x00FFFFFF);
        return out;
    }
};

ClientPicture CaptureClient(bool repaintAll)
{
    ::SetWindowPos(mainWindow, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    if (repaintAll)
        ::RedrawWindow(mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Settle();
    WindowPicture picture;
    ClientPicture client;
    if (!CaptureWindow(mainWindow, picture))
        return client;
    RECT frame{};
    ::GetWindowRect(mainWindow, &frame);
    POINT origin{0, 0};
    ::ClientToScreen(mainWindow, &origin);
    const SIZE size = testwindow::ClientSize(mainWindow);
    client.width = size.cx;
    client.height = size.cy;
    for (int y = 0; y < size.cy; ++y)
        for (int x = 0; x < size.cx; ++x)
            client.pixels.push_back(
                picture.pixels[static_cast<size_t>(origin.y - frame.top + y) * picture.width + origin.x - frame.left + x]);
    return client;
}

// What the pane's own paint puts into its window, 0x00RRGGBB.
std::vector<uint32_t> OwnPaint(CZiveVazudEx& pane)
{
    const RECT cell = testwindow::ChildRect(pane.PaneWindow());
    panetest::Canvas canvas(cell.right - cell.left, cell.bottom - cell.top);
    EXPECT_TRUE(pane.Paint(canvas.Dc(), WM_PAINT));
    std::vector<uint32_t> pixels = canvas.Pixels();
    for (uint32_t& pixel : pixels)
        pixel &= 0x00FFFFFF;
    return pixels;
}

// The settings file the plug-in writes (its colours), with the given keys before its own: the
// first line naming a key decides.
void WriteSettingsWithDefaults(const std::vector<std::string>& keys)
{
    std::vector<std::string> entries = keys;
    std::string line;
    bool header = true;
    for (const char16_t* c = defaultSettingsText; *c; ++c) {
        if (*c == u'\r')
            continue;
        if (*c != u'\n') {
            line += static_cast<char>(*c);  // the default text is ASCII
            continue;
        }
        if (!header)
            entries.push_back(line);
        header = false;
        line.clear();
    }
    testwindow::WriteSettings(entries);
}

class GridPaint : public testsupport::LinkedPlugin {
protected:
    // Random temperatures and loads, in and beyond the range, for every core.
    void FeedRandomly(uint32_t cores, int updates, uint32_t seed)
    {
        uint32_t state = seed;
        const auto next = [&state](uint32_t bound) {
            state = state * 1664525u + 1013904223u;
            return (state >> 8) % bound;
        };
        for (int i = 0; i < updates; ++i) {
            SensorSnapshot snapshot = testhost::MakeSnapshot(cores);
            for (uint32_t core = 0; core < cores; ++core) {
                snapshot.coreTemperature[core] = static_cast<float>(next(120)) - 10.0f;
                snapshot.coreLoad[core] = next(101);
            }
            record->Update(&snapshot);
        }
        testhost::Pump();
    }
};

TEST_F(GridPaint, EveryCellIsWhatItsPaneOwnPaintDrawsInBothModes)
{
    struct Case {
        const char* name;
        std::vector<std::string> settings;
        uint32_t cores;
        bool textsLeftOut;
    };
    const Case cases[] = {
        {"automatic columns, all texts", {"Columns=-1;", "GraphWidth=300;", "GraphHeight=150;"}, 6, false},
        {"small cells, texts left out", {"Columns=4;", "GraphWidth=110;", "GraphHeight=60;"}, 7, true},
    };
    uint32_t seed = 5;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteSettingsWithDefaults(c.settings);
        ReleasePlugin();
        testhost::Pump();
        Attach();
        FeedRandomly(c.cores, 400, seed++);
        ASSERT_EQ(graphCount, c.cores);
        ASSERT_NE(dynamic_cast<const GridView*>(&pluginInstance->Window().CurrentView()), nullptr);
        for (const UINT mode : {IDM_USE_LINE, IDM_USE_BARS}) {
            SCOPED_TRACE(mode == IDM_USE_BARS ? "bars" : "lines");
            testwindow::Command(mainWindow, mode);
            const ClientPicture picture = CaptureClient(true);
            ASSERT_GT(picture.width, 0);
            bool leftOut = false;
            for (uint32_t i = 0; i < graphCount; ++i) {
                CZiveVazudEx& pane = *graphList[i];
                // Hidden, but still laid out at its cell for whatever finds a pane by its window.
                EXPECT_EQ(::GetWindowLongW(pane.PaneWindow(), GWL_STYLE) & WS_VISIBLE, 0) << i;
                const RECT cell = testwindow::ChildRect(pane.PaneWindow());
                ASSERT_GT(cell.right - cell.left, 40) << i;
                ASSERT_GT(cell.bottom - cell.top, 24) << i;
                const std::vector<uint32_t> own = OwnPaint(pane);
                // Frame, grid, background, texts and both series at the least.
                EXPECT_GE(std::set<uint32_t>(own.begin(), own.end()).size(), 5u) << i;
                EXPECT_TRUE(picture.Cell(cell) == own) << "cell " << i;
                const plot::ShownTexts& shown = pane.ShownTexts();
                leftOut = leftOut || !shown.range || !shown.load || !shown.title;
            }
            EXPECT_EQ(leftOut, c.textsLeftOut);
        }
    }
}

TEST_F(GridPaint, OnlyTheCellsOfTheUpdateRegionAreDrawnAgain)
{
    WriteSettingsWithDefaults({"Columns=2;", "GraphWidth=300;", "GraphHeight=150;"});
    FeedRandomly(4, 200, 11);
    const ClientPicture before = CaptureClient(true);
    ASSERT_GT(before.width, 0);
    const RECT cells[] = {testwindow::ChildRect(graphList[0]->PaneWindow()),
                          testwindow::ChildRect(graphList[1]->PaneWindow())};
    ASSERT_EQ(cells[1].right - cells[1].left, 300);
    ASSERT_EQ(cells[1].bottom - cells[1].top, 150);
    ASSERT_TRUE(before.Cell(cells[1]) == OwnPaint(*graphList[1]));
    const std::vector<uint32_t> oldPaint = OwnPaint(*graphList[1]);

    // New samples behind the window's back; then only the first cell is painted again.
    {
        PaneLock::Exclusive hold(PanesLock());
        for (int i = 0; i < 30; ++i) {
            graphList[0]->PushSamples(95, 5);
            graphList[1]->PushSamples(95, 5);
        }
    }
    ASSERT_FALSE(OwnPaint(*graphList[1]) == oldPaint);
    ::InvalidateRect(mainWindow, &cells[0], FALSE);
    ::UpdateWindow(mainWindow);
    const ClientPicture after = CaptureClient(false);
    EXPECT_TRUE(after.Cell(cells[0]) == OwnPaint(*graphList[0]));
    EXPECT_FALSE(after.Cell(cells[0]) == before.Cell(cells[0]));
    EXPECT_TRUE(after.Cell(cells[1]) == before.Cell(cells[1]));
    EXPECT_FALSE(after.Cell(cells[1]) == OwnPaint(*graphList[1]));
}

// The readout's text and where its tip stands.
struct TipState {
    std::wstring text;
    bool visible = false;
    RECT rect{};
};

TipState Tip()
{
    TipState state;
    const HoverTip* hover = pluginInstance->Window().Hover();
    if (!hover)
        return state;
    wchar_t text[1024] = {};
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = mainWindow;
    tool.lpszText = text;
    ::SendMessageW(hover->Handle(), TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(&tool));
    state.text = text;
    state.visible = ::IsWindowVisible(hover->Handle()) != FALSE;
    ::GetWindowRect(hover->Handle(), &state.rect);
    return state;
}

TEST_F(GridPaint, TheMouseOverACellReadsAsOverItsPanesWindow)
{
    WriteSettingsWithDefaults({"Columns=3;", "GraphWidth=300;", "GraphHeight=150;"});
    FeedRandomly(5, 120, 23);
    CaptureClient(true);  // painted: the panes' plots are laid out
    for (const UINT mode : {IDM_USE_LINE, IDM_USE_BARS}) {
        testwindow::Command(mainWindow, mode);
        CaptureClient(true);
        for (uint32_t i : {0u, 4u}) {
            SCOPED_TRACE("pane " + std::to_string(i) + (mode == IDM_USE_BARS ? " bars" : " lines"));
            const CZiveVazudEx& pane = *graphList[i];
            const RECT cell = testwindow::ChildRect(pane.PaneWindow());
            const RECT& plot = pane.PlotRect();
            const POINT inPane{plot::LineColumn(ToBox(plot), 7), (plot.top + plot.bottom) / 2};

            ::SendMessageW(pane.PaneWindow(), WM_MOUSEMOVE, 0, MAKELPARAM(inPane.x, inPane.y));
            const TipState overPane = Tip();
            ::SendMessageW(pane.PaneWindow(), WM_MOUSELEAVE, 0, 0);
            EXPECT_FALSE(Tip().visible);

            ::SendMessageW(mainWindow, WM_MOUSEMOVE, 0, MAKELPARAM(cell.left + inPane.x, cell.top + inPane.y));
            const TipState overCell = Tip();
            EXPECT_TRUE(overCell.visible);
            EXPECT_EQ(overCell.text, overPane.text);
            EXPECT_EQ(overCell.text.rfind(L"Core #" + std::to_wstring(i) + L"\r\n", 0), 0u) << overCell.text;
            EXPECT_EQ(overCell.rect.left, overPane.rect.left);
            EXPECT_EQ(overCell.rect.top, overPane.rect.top);

            // Off the plot the tip goes; back on it, it comes again; leaving the window ends it.
            ::SendMessageW(mainWindow, WM_MOUSEMOVE, 0, MAKELPARAM(cell.left + plot.right + 4, cell.top + inPane.y));
            EXPECT_FALSE(Tip().visible);
            ::SendMessageW(mainWindow, WM_MOUSEMOVE, 0, MAKELPARAM(cell.left + inPane.x, cell.top + inPane.y));
            EXPECT_TRUE(Tip().visible);
            ::SendMessageW(mainWindow, WM_MOUSELEAVE, 0, 0);
            EXPECT_FALSE(Tip().visible);
        }
    }
    // The sixth cell has no pane: nothing shows there.
    const RECT last = testwindow::ChildRect(graphList[4]->PaneWindow());
    const RECT& plot = graphList[4]->PlotRect();
    const int y = last.top + (plot.top + plot.bottom) / 2;
    ::SendMessageW(mainWindow, WM_MOUSEMOVE, 0, MAKELPARAM(last.left + plot::LineColumn(ToBox(plot), 3), y));
    EXPECT_TRUE(Tip().visible);
    ::SendMessageW(mainWindow, WM_MOUSEMOVE, 0, MAKELPARAM(last.right + plot::LineColumn(ToBox(plot), 3), y));
    EXPECT_FALSE(Tip().visible);
}

}  // namespace

namespace {

// The part of the main window an update left to be painted again.
RECT PendingBounds()
{
    Region pending(::CreateRectRgn(0, 0, 0, 0));
    RECT box{};
    if (::GetUpdateRgn(mainWindow, pending.Get(), FALSE) != NULLREGION)
        ::GetRgnBox(pending.Get(), &box);
    return box;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// Covers the client area with a colour no cell or line of the map has: what an update draws
// afterwards shows against it.
constexpr uint32_t marker = 0x00FF00FF;

void CoverWithMarker()
{
    WindowDc dc(mainWindow);
    RECT client{};
    ::GetClientRect(mainWindow, &client);
    Brush brush(::CreateSolidBrush(RGB(0xFF, 0x00, 0xFF)));
    ::FillRect(dc.Get(), &client, brush.Get());
}

// The rows of rect that show the marker all across, and those that show none of it.
struct MarkerRows {
    int whole = 0;
    int none = 0;
};

MarkerRows RowsOfMarker(const ClientPicture& picture, const RECT& rect)
{
    MarkerRows rows;
    const int width = rect.right - rect.left;
    const std::vector<uint32_t> pixels = picture.Cell(rect);
    for (int y = 0; y < rect.bottom - rect.top; ++y) {
        int marked = 0;
        for (int x = 0; x < width; ++x)
            marked += pixels[static_cast<size_t>(y) * width + x] == marker ? 1 : 0;
        rows.whole += marked == width ? 1 : 0;
        rows.none += marked == 0 ? 1 : 0;
    }
    return rows;
}

TEST_F(GridPaint, TheHeatMapDrawsAtOnceOnlyTheCellsWhoseColourOrDigitsChanged)
{
    WriteSettingsWithDefaults({"HeatMap=1;", "RangeMin=0;", "RangeMax=100;"});
    SensorSnapshot snapshot = testhost::MakeSnapshot(6, 50.0f, 30);
    record->Update(&snapshot);
    const ClientPicture first = CaptureClient(true);
    ASSERT_GT(first.width, 0);
    const auto cellOf = [](uint32_t i) {
        const HeatMapView& view = dynamic_cast<const HeatMapView&>(pluginInstance->Window().CurrentView());
        return view.CellRect(mainWindow, i);
    };
    const RECT cell1 = cellOf(1);
    const RECT cell4 = cellOf(4);
    // The map's own pixels of a cell: the line between it and its neighbours left out.
    const auto inside = [&](RECT cell) {
        cell.right -= 1;
        cell.bottom -= 1;
        return cell;
    };

    // Nothing changed: nothing is drawn, and nothing is left to paint.
    CoverWithMarker();
    record->Update(&snapshot);
    const ClientPicture unchanged = CaptureClient(false);
    EXPECT_EQ(RowsOfMarker(unchanged, inside(cell1)).whole, cell1.bottom - cell1.top - 1);
    RECT pending = PendingBounds();
    EXPECT_TRUE(::IsRectEmpty(&pending));

    // One core's temperature: its whole cell, at once. Another's load alone: the load's line
    // across its cell, the rows above and below it left as they were.
    snapshot.coreTemperature[1] = 80.0f;
    snapshot.coreLoad[4] = 31;
    record->Update(&snapshot);
    pending = PendingBounds();
    EXPECT_TRUE(::IsRectEmpty(&pending));
    const ClientPicture partly = CaptureClient(false);
    const ClientPicture whole = CaptureClient(true);
    EXPECT_TRUE(partly.Cell(inside(cell1)) == whole.Cell(inside(cell1)));
    EXPECT_FALSE(whole.Cell(cell1) == first.Cell(cell1));
    const MarkerRows loadLine = RowsOfMarker(partly, inside(cell4));
    const int height4 = cell4.bottom - cell4.top - 1;
    EXPECT_GT(loadLine.none, 0);
    EXPECT_LT(loadLine.none, height4 / 4);
    EXPECT_EQ(loadLine.whole + loadLine.none, height4);
    EXPECT_EQ(RowsOfMarker(partly, inside(cellOf(0))).whole, cellOf(0).bottom - cellOf(0).top - 1);
    // What the load's line drew is what a whole paint shows there.
    const std::vector<uint32_t> drawn = partly.Cell(inside(cell4));
    const std::vector<uint32_t> painted = whole.Cell(inside(cell4));
    for (size_t i = 0; i < drawn.size(); ++i) {
        if (drawn[i] != marker) {
            ASSERT_EQ(drawn[i], painted[i]) << i;
        }
    }

    // The cell the keyboard's focus is on goes through the window's paint, which draws the
    // focus rectangle over it.
    ::SetFocus(mainWindow);
    ::SendMessageW(mainWindow, WM_KEYDOWN, VK_RIGHT, 0);
    ASSERT_EQ(pluginInstance->Window().Focus().Focused(), 0);
    testhost::Pump();
    snapshot.coreTemperature[0] = 70.0f;
    record->Update(&snapshot);
    EXPECT_TRUE(SameRect(PendingBounds(), cellOf(0)));
    testhost::Pump();

    // Fewer cores reported: the cells beyond them go empty, and only those.
    CoverWithMarker();
    SensorSnapshot fewer = snapshot;
    fewer.coreCount = 5;
    record->Update(&fewer);
    const ClientPicture emptied = CaptureClient(false);
    EXPECT_EQ(RowsOfMarker(emptied, inside(cellOf(5))).none, cellOf(5).bottom - cellOf(5).top - 1);
    EXPECT_EQ(RowsOfMarker(emptied, inside(cell4)).whole, height4);
}

}  // namespace
