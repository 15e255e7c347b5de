// One reference picture per drawing mode, kept in tests/graph/golden and compared pixel for pixel,
// except where text is drawn (fonts differ between Windows versions). Run the test with
// VADERUR_WRITE_GOLDEN=1 in the environment to write the pictures instead of comparing.
#include "PaneTestSupport.h"

#include "graph/CZiveVazudEx.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#ifndef VADERUR_GOLDEN_DIR
#error "VADERUR_GOLDEN_DIR must name the folder of the reference pictures"
#endif

namespace {

constexpr int paneWidth = 792;
constexpr int paneHeight = 214;

// The folder of the source tree as Wine sees it: the Unix root is drive Z:.
std::wstring GoldenPath(const wchar_t* name)
{
    std::wstring path = L"Z:";
    for (const char* c = VADERUR_GOLDEN_DIR; *c; ++c)
        path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    return path + L"\\" + name;
}

// Text sits above the plot (title), left of it (range labels) and right of it (value labels);
// everything else is compared exactly.
bool InTextRegion(int x, int y, const RECT& plot)
{
    return y < plot.top || x < plot.left || x > plot.right;
}

// A fixed history of 400 samples: temperature and load cross each other and leave the range.
void FillHistory(CZiveVazudEx& pane)
{
    for (int i = 0; i < 400; ++i) {
        const int temperature = 35 + (i * 7) % 40 + (i % 50 == 0 ? 80 : 0);
        const int load = (i * 13) % 101 - (i % 37 == 0 ? 30 : 0);
        pane.PushSamples(temperature, load);
    }
}

void CheckAgainstGolden(bool bars, const wchar_t* name)
{
    GdiplusSession gdiplus;
    panetest::PaneWindow window(paneWidth, paneHeight);
    GraphSettings record = panetest::DefaultRecord();
    CZiveVazudEx pane(window.Get(), &record);
    pane.SetUseBars(bars);
    FillHistory(pane);
    panetest::Canvas canvas(paneWidth, paneHeight);
    ASSERT_TRUE(pane.Paint(canvas.Dc(), WM_PAINT));
    const std::vector<uint32_t> painted = canvas.Pixels();
    const std::wstring path = GoldenPath(name);

    if (std::getenv("VADERUR_WRITE_GOLDEN")) {
        ASSERT_TRUE(panetest::WritePng(path, paneWidth, paneHeight, painted));
        return;
    }
    int width = 0;
    int height = 0;
    std::vector<uint32_t> golden;
    ASSERT_TRUE(panetest::ReadPng(path, width, height, golden)) << "missing reference picture";
    ASSERT_EQ(width, paneWidth);
    ASSERT_EQ(height, paneHeight);

    const RECT plot = pane.PlotRect();
    int differing = 0;
    int firstX = -1;
    int firstY = -1;
    for (int y = 0; y < paneHeight; ++y) {
        for (int x = 0; x < paneWidth; ++x) {
            const size_t at = static_cast<size_t>(y) * paneWidth + x;
            if (InTextRegion(x, y, plot) || painted[at] == golden[at])
                continue;
            if (differing++ == 0) {
                firstX = x;
                firstY = y;
            }
        }
    }
    EXPECT_EQ(differing, 0) << "first difference at (" << firstX << ", " << firstY << ")";
}

TEST(PaneGolden, LineMode)
{
    CheckAgainstGolden(false, L"pane-line.png");
}

TEST(PaneGolden, BarMode)
{
    CheckAgainstGolden(true, L"pane-bars.png");
}

}  // namespace
