// Compact panes, as the grid views use them: at the usual size they paint exactly what a pane
// always did; smaller, they leave texts out, never drawing one over the frame.
#include "PaneTestSupport.h"

#include <gtest/gtest.h>

namespace {

void Fill(CZiveVazudEx& pane)
{
    for (int i = 0; i < 300; ++i)
        pane.PushSamples(40 + i % 50, (i * 7) % 101);
}

std::vector<uint32_t> PaintAt(int width, int height, bool compact, plot::ShownTexts* shown = nullptr,
                              RECT* plot = nullptr)
{
    panetest::PaneWindow window(width, height);
    const GraphSettings record = panetest::DefaultRecord();
    CZiveVazudEx pane(window.Get(), &record);
    pane.SetCompact(compact);
    Fill(pane);
    panetest::Canvas canvas(width, height);
    EXPECT_TRUE(pane.Paint(canvas.Dc(), WM_PAINT));
    if (shown)
        *shown = pane.ShownTexts();
    if (plot)
        *plot = pane.PlotRect();
    return canvas.Pixels();
}

TEST(CompactPane, AtTheUsualSizeItPaintsWhatEveryPaneAlwaysDid)
{
    plot::ShownTexts shown;
    EXPECT_EQ(PaintAt(792, 214, true, &shown), PaintAt(792, 214, false));
    EXPECT_TRUE(shown.title && shown.range && shown.temperature && shown.load);
}

TEST(CompactPane, SmallPanesKeepTheFrameWholeAndTheTemperatureLabelLongest)
{
    const PaneStyle style;
    const uint32_t frame = (style.frameColor & 0xFF) << 16 | (style.frameColor & 0xFF00) | (style.frameColor >> 16 & 0xFF);
    const struct {
        int width;
        int height;
    } sizes[] = {{40, 24}, {52, 30}, {70, 40}, {99, 62}, {104, 64}, {160, 60}, {208, 124}, {300, 90}};
    bool someLeftOut = false;
    for (const auto& size : sizes) {
        plot::ShownTexts shown;
        RECT plot{};
        const std::vector<uint32_t> pixels = PaintAt(size.width, size.height, true, &shown, &plot);
        const auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y) * size.width + x]; };
        ASSERT_GE(plot.left, 0);
        ASSERT_LT(plot.right, size.width);
        ASSERT_GE(plot.top, 0);
        ASSERT_LT(plot.bottom, size.height);
        // No text lies on the top, left or right frame line (the series stay inside the plot).
        for (int x = plot.left; x <= plot.right; ++x)
            ASSERT_EQ(at(x, plot.top), frame) << size.width << " x " << size.height << " at column " << x;
        for (int y = plot.top; y <= plot.bottom; ++y) {
            ASSERT_EQ(at(plot.left, y), frame) << size.width << " x " << size.height << " at row " << y;
            ASSERT_EQ(at(plot.right, y), frame) << size.width << " x " << size.height << " at row " << y;
        }
        EXPECT_TRUE(shown.temperature) << size.width << " x " << size.height;
        someLeftOut = someLeftOut || !shown.range;
    }
    EXPECT_TRUE(someLeftOut) << "the smallest panes must leave the range labels out";
}

}  // namespace
