// Pixels that the panes paint, read back from a 32-bit DIB section: the default 792 x 214 pane,
// plot (32, 17, 760, 206), range 0..100, default colours.
#include "PaneTestSupport.h"

#include "graph/CZiveVazud.h"
#include "graph/CZiveVazudEx.h"
#include "core/PlotGeometry.h"
#include "win32/MessagePump.h"

#include <gtest/gtest.h>

namespace {

using panetest::Canvas;
using panetest::CountColour;
using panetest::ShowsText;

constexpr int paneWidth = 792;
constexpr int paneHeight = 214;
constexpr RECT plotArea{32, 17, 760, 206};
// Inside the frame, without the background column at left + 1.
constexpr RECT plotInside{34, 18, 760, 206};
constexpr COLORREF black = 0x000000;
constexpr COLORREF frameYellow = 0x00F0F0;
constexpr COLORREF loadRed = 0x0000F0;
constexpr COLORREF temperatureGreen = 0x00F000;
constexpr COLORREF gridDarkRed = 0x00004F;
constexpr COLORREF white = 0xFFFFFF;
constexpr COLORREF axisOlive = 0x007070;
constexpr COLORREF sentinel = 0xFF00FF;

// A single-series pane whose history the test can fill.
class SingleSeriesPane : public CZiveVazud {
public:
    using CZiveVazud::CZiveVazud;
    void Push(int32_t value) { history.Push(value); }
};

class PanePixels : public ::testing::Test {
protected:
    panetest::PaneWindow window{paneWidth, paneHeight};
    Canvas canvas{paneWidth, paneHeight};
    GraphSettings record = panetest::DefaultRecord();

    void Render(CZiveVazud& pane)
    {
        canvas.Fill(sentinel);
        ASSERT_TRUE(pane.Paint(canvas.Dc(), WM_PAINT));
    }

    bool ColumnIs(int x, int fromY, int toY, COLORREF colour)
    {
        for (int y = fromY; y <= toY; ++y)
            if (canvas.At(x, y) != colour)
                return false;
        return true;
    }

    bool RowIs(int y, int fromX, int toX, COLORREF colour)
    {
        for (int x = fromX; x <= toX; ++x)
            if (canvas.At(x, y) != colour)
                return false;
        return true;
    }
};

TEST_F(PanePixels, EmptyPaneShowsFrameGridAxisTitleAndRangeLabelsOnly)
{
    CZiveVazudEx pane(window.Get(), &record);
    Render(pane);

    // The frame covers every border pixel of the plot, corners included.
    EXPECT_TRUE(RowIs(plotArea.top, plotArea.left, plotArea.right, frameYellow));
    EXPECT_TRUE(RowIs(plotArea.bottom, plotArea.left, plotArea.right, frameYellow));
    EXPECT_TRUE(ColumnIs(plotArea.left, plotArea.top, plotArea.bottom, frameYellow));
    EXPECT_TRUE(ColumnIs(plotArea.right, plotArea.top, plotArea.bottom, frameYellow));

    // The cross hatch: whole grid lines across the plot, background in the gaps.
    bool fullRow = false;
    for (int y = plotInside.top; y < 204 && !fullRow; ++y)
        fullRow = RowIs(y, plotInside.left, plotInside.right - 1, gridDarkRed);
    bool fullColumn = false;
    for (int x = plotInside.left; x < plotInside.right && !fullColumn; ++x)
        fullColumn = ColumnIs(x, plotInside.top, 203, gridDarkRed);
    EXPECT_TRUE(fullRow);
    EXPECT_TRUE(fullColumn);
    EXPECT_GT(CountColour(canvas, plotInside, black), CountColour(canvas, plotInside, gridDarkRed));

    // The x axis on the row of 0, and the background column just inside the left frame edge.
    EXPECT_TRUE(RowIs(204, plotInside.left, plotInside.right - 1, axisOlive));
    EXPECT_TRUE(ColumnIs(plotArea.left + 1, plotArea.top + 1, plotArea.bottom - 1, black));

    // No series, no value labels; the whole pane is painted.
    const RECT all{0, 0, paneWidth, paneHeight};
    EXPECT_EQ(CountColour(canvas, all, loadRed), 0);
    EXPECT_EQ(CountColour(canvas, all, temperatureGreen), 0);
    EXPECT_EQ(CountColour(canvas, all, sentinel), 0);
    const RECT rightOfPlot{plotArea.right + 1, 0, paneWidth, paneHeight};
    EXPECT_EQ(CountColour(canvas, rightOfPlot, black), (paneWidth - plotArea.right - 1) * paneHeight);

    const int h = pane.TextHeight();
    EXPECT_GT(h, 0);
    EXPECT_TRUE(ShowsText(canvas, 760, 17 - h - 2, TA_RIGHT, L"Core #0", white, black));
    EXPECT_TRUE(ShowsText(canvas, 31, 17 - h / 2, TA_RIGHT, L"100C\u00B0", white, black));
    EXPECT_TRUE(ShowsText(canvas, 31, 206 - h / 2, TA_RIGHT, L"0C\u00B0", white, black));
}

TEST_F(PanePixels, XAxisFollowsTheRangeAndTheFlag)
{
    struct Case {
        int32_t rangeMin;
        bool show;
        int row;  // -1: no axis
    };
    for (const Case& c : {Case{-20, true, 174}, Case{0, true, 204}, Case{10, true, -1}, Case{-20, false, -1}}) {
        record.RangeMin = c.rangeMin;
        record.ShowXAxis = c.show;
        CZiveVazudEx pane(window.Get(), &record);
        Render(pane);
        const RECT all{0, 0, paneWidth, paneHeight};
        if (c.row < 0)
            EXPECT_EQ(CountColour(canvas, all, axisOlive), 0) << c.rangeMin;
        else
            EXPECT_TRUE(RowIs(c.row, plotInside.left, plotInside.right - 1, axisOlive)) << c.rangeMin;
    }
}

TEST_F(PanePixels, NewestLineSampleIsAtRightMinusTwo)
{
    SingleSeriesPane single(window.Get(), &record);
    single.Push(50);
    Render(single);
    EXPECT_EQ(canvas.At(758, 112), loadRed);
    EXPECT_EQ(CountColour(canvas, plotArea, loadRed), 1);

    single.Push(100);
    Render(single);
    EXPECT_EQ(canvas.At(758, 19), loadRed);

    CZiveVazudEx pane(window.Get(), &record);
    pane.PushSamples(60, 40);
    Render(pane);
    EXPECT_EQ(canvas.At(758, 93), temperatureGreen);
    EXPECT_EQ(canvas.At(758, 130), loadRed);
    EXPECT_EQ(CountColour(canvas, plotArea, temperatureGreen), 1);
    EXPECT_EQ(CountColour(canvas, plotArea, loadRed), 1);
}

TEST_F(PanePixels, NewestBarCoversFiveColumnsDownToTheRangeMinRow)
{
    SingleSeriesPane single(window.Get(), &record);
    single.SetUseBars(true);
    single.Push(50);
    Render(single);
    for (int x = 754; x <= 758; ++x)
        EXPECT_TRUE(ColumnIs(x, 112, 204, loadRed)) << x;
    EXPECT_EQ(CountColour(canvas, plotArea, loadRed), 5 * (204 - 112 + 1));
    EXPECT_NE(canvas.At(753, 150), loadRed);
    EXPECT_NE(canvas.At(759, 150), loadRed);
    EXPECT_NE(canvas.At(756, 111), loadRed);
    EXPECT_NE(canvas.At(756, 205), loadRed);
}

TEST_F(PanePixels, TemperatureIsPaintedOverLoad)
{
    CZiveVazudEx lines(window.Get(), &record);
    for (int i = 0; i < 50; ++i)
        lines.PushSamples(50, 50);
    Render(lines);
    EXPECT_EQ(CountColour(canvas, plotArea, loadRed), 0);
    EXPECT_GT(CountColour(canvas, plotArea, temperatureGreen), 40);

    CZiveVazudEx bars(window.Get(), &record);
    bars.SetUseBars(true);
    bars.PushSamples(60, 40);
    Render(bars);
    EXPECT_TRUE(ColumnIs(756, 93, 204, temperatureGreen));
    EXPECT_EQ(CountColour(canvas, plotArea, loadRed), 0);

    bars.PushSamples(40, 60);
    Render(bars);
    EXPECT_TRUE(ColumnIs(756, 93, 129, loadRed));
    EXPECT_TRUE(ColumnIs(756, 130, 204, temperatureGreen));
}

TEST_F(PanePixels, ColumnInsideTheLeftFrameShowsOnlyBackground)
{
    CZiveVazudEx pane(window.Get(), &record);
    for (int i = 0; i < 1000; ++i)
        pane.PushSamples(i % 100, (i * 7) % 100);
    Render(pane);
    EXPECT_EQ(pane.VisibleCount(), 726);
    EXPECT_TRUE(ColumnIs(plotArea.left + 1, plotArea.top + 1, plotArea.bottom - 1, black));
    const RECT nextColumn{34, 18, 35, 206};
    EXPECT_GT(CountColour(canvas, nextColumn, loadRed) + CountColour(canvas, nextColumn, temperatureGreen), 0);
}

TEST_F(PanePixels, OutOfRangeSamplesAreClampedButLabelledWithTheirValue)
{
    CZiveVazudEx pane(window.Get(), &record);
    pane.PushSamples(150, -5);
    Render(pane);
    const int half = pane.TextHeight() / 2;
    EXPECT_EQ(canvas.At(758, 19), temperatureGreen);
    EXPECT_EQ(canvas.At(758, 204), loadRed);
    EXPECT_TRUE(ShowsText(canvas, 762, 19 - half, TA_LEFT, L"150C\u00B0", white, black));
    EXPECT_TRUE(ShowsText(canvas, 762, 204 - half, TA_LEFT, L"-5%", white, black));

    SingleSeriesPane single(window.Get(), &record);
    single.Push(150);
    Render(single);
    EXPECT_EQ(canvas.At(758, 19), loadRed);
    EXPECT_TRUE(ShowsText(canvas, 762, 19 - half, TA_LEFT, L"150C\u00B0", white, black));
}

TEST_F(PanePixels, LoadLabelOnlyWhenClearOfTheTemperatureLabel)
{
    CZiveVazudEx probe(window.Get(), &record);
    Render(probe);
    const int h = probe.TextHeight();
    const plot::VerticalMapping mapping{206, 0, 100, probe.Scale()};
    struct Case {
        int32_t temperature;
        int32_t load;
        bool loadLabel;
    };
    // The pairs nearest to the text height (which depends on the font) from either side: the
    // rows furthest apart that are still at most one text height apart, and the nearest ones
    // that are more than that. Exactly h and h + 1 wherever the mapping reaches them.
    Case closest{0, 0, false};
    Case clear{0, 0, true};
    int closestGap = -1;
    int clearGap = 1 << 30;
    for (int load = 0; load <= 100; ++load) {
        for (int temperature = load; temperature <= 100; ++temperature) {
            const int gap = mapping.RowOf(load) - mapping.RowOf(temperature);
            if (gap <= h && gap > closestGap) {
                closestGap = gap;
                closest = Case{temperature, load, false};
            }
            if (gap > h && gap < clearGap) {
                clearGap = gap;
                clear = Case{temperature, load, true};
            }
        }
    }
    ASSERT_GE(closestGap, h - 1) << "text height " << h;
    ASSERT_LE(clearGap, h + 2) << "text height " << h;

    for (const Case& c : {Case{60, 40, true}, Case{45, 43, false}, closest, clear}) {
        CZiveVazudEx pane(window.Get(), &record);
        pane.PushSamples(c.temperature, c.load);
        Render(pane);
        const int rowT = mapping.RowOf(c.temperature);
        const int rowL = mapping.RowOf(c.load);
        const std::wstring temperatureText = std::to_wstring(c.temperature) + L"C\u00B0";
        const std::wstring loadText = std::to_wstring(c.load) + L"%";
        EXPECT_TRUE(ShowsText(canvas, 762, rowT - h / 2, TA_LEFT, temperatureText, white, black)) << c.temperature;
        EXPECT_EQ(ShowsText(canvas, 762, rowL - h / 2, TA_LEFT, loadText, white, black), c.loadLabel)
            << c.temperature << " " << c.load;
        EXPECT_EQ(pane.LabelRect().top, (c.loadLabel ? rowL : rowT) - h / 2);
        EXPECT_EQ(pane.LabelRect().bottom, pane.LabelRect().top + h);
        EXPECT_EQ(pane.LabelRect().left, 762);
    }
}

TEST_F(PanePixels, PaintDrawsOnlyForWmPaint)
{
    CZiveVazudEx pane(window.Get(), &record);
    SingleSeriesPane single(window.Get(), &record);
    pane.PushSamples(60, 40);
    single.Push(60);
    canvas.Fill(sentinel);
    for (CZiveVazud* p : {static_cast<CZiveVazud*>(&pane), static_cast<CZiveVazud*>(&single)}) {
        for (UINT code : {UINT{0}, UINT{WM_ERASEBKGND}, UINT{WM_NCPAINT}, UINT{WM_PRINTCLIENT}})
            EXPECT_FALSE(p->Paint(canvas.Dc(), code)) << code;
    }
    const RECT all{0, 0, paneWidth, paneHeight};
    EXPECT_EQ(CountColour(canvas, all, sentinel), paneWidth * paneHeight);
}

TEST_F(PanePixels, ZeroWidthRangeDrawsOnTheBottomRow)
{
    record.RangeMin = 50;
    record.RangeMax = 50;
    CZiveVazudEx pane(window.Get(), &record);
    for (int i = 0; i < 20; ++i)
        pane.PushSamples(80, 20);
    Render(pane);
    EXPECT_EQ(pane.Scale(), 0.0f);
    EXPECT_TRUE(RowIs(204, 740, 758, temperatureGreen));
    // The oldest sample is the end point of the last segment, which a line leaves out.
    EXPECT_EQ(CountColour(canvas, plotArea, temperatureGreen), 19);

    pane.SetUseBars(true);
    Render(pane);
    EXPECT_EQ(CountColour(canvas, plotArea, temperatureGreen), 20 * 5);
}

// The pane window's own WM_PAINT, through BeginPaint, gives the same pixels as a memory render.
CZiveVazudEx* paintedPane = nullptr;
int windowPaints = 0;

LRESULT CALLBACK PaintingPaneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT && paintedPane) {
        PaintDc dc(window);
        paintedPane->Paint(dc.Get(), WM_PAINT);
        ++windowPaints;
        return 0;
    }
    if (message == WM_ERASEBKGND)
        return 1;
    return ::DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(PanePixels, PaintsThePaneWindowOnWmPaint)
{
    CZiveVazudEx pane(window.Get(), &record);
    for (int i = 0; i < 300; ++i)
        pane.PushSamples(40 + i % 20, (i * 3) % 100);
    Render(pane);
    const std::vector<uint32_t> expected = canvas.Pixels();

    paintedPane = &pane;
    windowPaints = 0;
    ::SetWindowLongPtrW(window.Get(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PaintingPaneProc));
    ::SetWindowPos(window.TopLevel(), HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    ::ShowWindow(window.TopLevel(), SW_SHOWNOACTIVATE);
    ::UpdateWindow(window.TopLevel());
    PumpMessagesUntil([] { return windowPaints != 0; }, 5000);
    paintedPane = nullptr;
    ASSERT_GT(windowPaints, 0);

    canvas.Fill(sentinel);
    {
        WindowDc screen(window.Get());
        ::BitBlt(canvas.Dc(), 0, 0, paneWidth, paneHeight, screen.Get(), 0, 0, SRCCOPY);
    }
    EXPECT_TRUE(canvas.Pixels() == expected);
    ::ShowWindow(window.TopLevel(), SW_HIDE);
}

}  // namespace
