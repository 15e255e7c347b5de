// The pane's lengths at display scales other than 96 DPI: the rounding of every length, and
// the plot, bars and columns that follow from it staying each other's inverse at every scale.
#include "core/PlotGeometry.h"

#include <gtest/gtest.h>

namespace {

using plot::Box;
using plot::Scale;

TEST(PlotScale, LengthsRoundAsMulDivAndStrokesKeepOnePixel)
{
    struct Case {
        int32_t dpi;
        int32_t length;
        int32_t scaled;
        int32_t stroke;
    };
    const Case cases[] = {
        {96, 11, 11, 11},  {144, 11, 17, 17},  // 16.5 rounds up
        {192, 11, 22, 22}, {120, 1, 1, 1},     // 1.25
        {144, 1, 2, 2},                        // 1.5 rounds up
        {72, 1, 1, 1},                         // 0.75
        {40, 1, 0, 1},                         // 0.42: no length, still a line
        {144, -3, -5, 1},                      // halves away from zero, as MulDiv
        {192, 0, 0, 1},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Scale{c.dpi}(c.length), c.scaled) << c.dpi << " " << c.length;
        EXPECT_EQ(Scale{c.dpi}.Stroke(c.length), c.stroke) << c.dpi << " " << c.length;
    }
}

TEST(PlotScale, At96EveryFunctionGivesWhatItGaveWithoutAScale)
{
    const Box area{0, 0, 792, 214};
    const Scale at96{96};
    const Box plot = plot::PlotBox(area);
    EXPECT_EQ(plot::PlotBox(area, at96), plot);
    EXPECT_EQ(plot::BarBox(plot, 3, 50, at96), plot::BarBox(plot, 3, 50));
    EXPECT_EQ(plot::LineColumn(plot, 7, at96), plot::LineColumn(plot, 7));
    EXPECT_EQ(plot::VisibleCount(plot, true, 100000, at96), plot::VisibleCount(plot, true, 100000));
    EXPECT_EQ(plot::ScaleFor(plot, 0, 100, at96), plot::ScaleFor(plot, 0, 100));
}

TEST(PlotScale, MarginsBarsAndInsetsGrowWithTheScale)
{
    const Box area{0, 0, 1584, 428};  // the default pane at 192 DPI
    const Scale at192{192};
    const Box plot = plot::PlotBox(area, at192);
    EXPECT_EQ(plot, (Box{64, 34, 1520, 412}));
    // Ten pixels wide, twelve apart, reaching down to the frame's two pixels.
    EXPECT_EQ(plot::BarBox(plot, 0, 100, at192), (Box{1508, 100, 1518, 410}));
    EXPECT_EQ(plot::BarBox(plot, 1, 100, at192), (Box{1496, 100, 1506, 410}));
    EXPECT_EQ(plot::VisibleCount(plot, true, 100000, at192), (1520 - 64 - 4) / 12);
    EXPECT_EQ(plot::LineColumn(plot, 0, at192), 1516);
    // rangeMin four rows above the bottom, rangeMax four below the top.
    const float rows = plot::ScaleFor(plot, 0, 100, at192);
    const plot::VerticalMapping mapping{plot.bottom, 0, 100, rows, at192(2)};
    EXPECT_EQ(mapping.RowOf(0), 408);
    EXPECT_EQ(mapping.RowOf(100), 38);
    EXPECT_EQ(plot::TitleAnchor(plot, 26, at192).y, 34 - 26 - 4);
    EXPECT_EQ(plot::ValueLabelAnchor(plot, 200, 13, at192).x, 1524);
}

TEST(PlotScale, EveryBarAndColumnMapsBackToItsSampleAtEveryScale)
{
    for (const int32_t dpi : {96, 120, 144, 168, 192, 288}) {
        const Scale s{dpi};
        const Box plot = plot::PlotBox(Box{0, 0, s(792), s(214)}, s);
        for (const bool bars : {false, true}) {
            const int32_t visible = plot::VisibleCount(plot, bars, 100000, s);
            ASSERT_GT(visible, 0);
            for (int32_t i = 0; i < visible; ++i) {
                if (bars) {
                    const Box bar = plot::BarBox(plot, i, 50, s);
                    ASSERT_EQ(bar.right - bar.left, s(plot::barWidth)) << dpi;
                    for (int32_t x = bar.left; x < bar.right; ++x)
                        ASSERT_EQ(plot::SampleAtColumn(plot, true, visible, x, s), i) << dpi << " " << x;
                } else {
                    ASSERT_EQ(plot::SampleAtColumn(plot, false, visible, plot::LineColumn(plot, i, s), s), i) << dpi;
                }
            }
            // Nothing left of the oldest sample drawn.
            const int32_t oldest = bars ? plot::BarBox(plot, visible - 1, 0, s).left : plot::LineColumn(plot, visible - 1, s);
            EXPECT_EQ(plot::SampleAtColumn(plot, bars, visible, oldest - 1, s), -1) << dpi;
            EXPECT_GE(oldest, plot.left + 1) << dpi;
        }
    }
}

TEST(PlotScale, CompactTextsAtTwiceTheScaleGiveTwiceTheLayout)
{
    // Texts twice as large in an area twice as large leave the same texts out, and the plot
    // is the one at 96 DPI doubled.
    const plot::TextExtents small{12, 60, 30, 28, 20};
    const plot::TextExtents large{24, 120, 60, 56, 40};
    for (const Box area : {Box{0, 0, 792, 214}, Box{0, 0, 200, 60}, Box{0, 0, 120, 40}, Box{0, 0, 60, 20}}) {
        const plot::CompactPlot at96 = plot::FitTexts(area, small);
        const plot::CompactPlot at192 =
            plot::FitTexts(Box{0, 0, 2 * area.right, 2 * area.bottom}, large, Scale{192});
        EXPECT_EQ(at192.shown.range, at96.shown.range) << area.right;
        EXPECT_EQ(at192.shown.title, at96.shown.title) << area.right;
        EXPECT_EQ(at192.shown.temperature, at96.shown.temperature) << area.right;
        EXPECT_EQ(at192.shown.load, at96.shown.load) << area.right;
        EXPECT_EQ(at192.plot, (Box{2 * at96.plot.left, 2 * at96.plot.top, 2 * at96.plot.right, 2 * at96.plot.bottom}))
            << area.right;
    }
}

}  // namespace
