#include "core/PlotGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <limits>
#include <string>
#include <vector>

namespace {

using plot::Box;

// The default pane: client 792 x 214.
const Box client{0, 0, 792, 214};
const Box plotOfClient = plot::PlotBox(client);

plot::VerticalMapping MappingFor(int32_t rangeMin, int32_t rangeMax)
{
    return {plotOfClient.bottom, rangeMin, rangeMax, plot::ScaleFor(plotOfClient, rangeMin, rangeMax)};
}

TEST(PlotGeometry, PlotRectAndScaleOfTheDefaultPane)
{
    EXPECT_EQ(plotOfClient, (Box{32, 17, 760, 206}));
    EXPECT_EQ(plot::ScaleFor(plotOfClient, 0, 100), 185.0f / 100.0f);
    // Offset areas keep the same insets (the export lays out on a rectangle of its own).
    EXPECT_EQ(plot::PlotBox(Box{10, 20, 1076, 234}), (Box{42, 37, 1044, 226}));
}

TEST(PlotGeometry, VisibleSamplesInLineAndBarMode)
{
    struct Case {
        bool bars;
        int32_t held;
        int32_t visible;
    };
    for (const Case& c : {Case{false, 100000, 726}, Case{true, 100000, 121}, Case{false, 5, 5}, Case{true, 5, 5},
                          Case{false, 0, 0}, Case{true, 121, 121}, Case{true, 122, 121}}) {
        EXPECT_EQ(plot::VisibleCount(plotOfClient, c.bars, c.held), c.visible) << c.bars << " " << c.held;
    }
    // A pane too small for a plot shows nothing rather than a negative count.
    EXPECT_EQ(plot::VisibleCount(plot::PlotBox(Box{0, 0, 40, 30}), false, 10), 0);
    // The export: held samples + 66 columns show every held sample in line mode.
    EXPECT_EQ(plot::VisibleCount(plot::PlotBox(Box{0, 0, 1066, 214}), false, 1000), 1000);
}

TEST(PlotGeometry, VerticalMappingWithClamp)
{
    const plot::VerticalMapping m = MappingFor(0, 100);
    struct Case {
        int32_t value;
        int32_t row;
    };
    for (const Case& c : {Case{100, 19}, Case{0, 204}, Case{50, 112}, Case{150, 19}, Case{-5, 204}, Case{60, 93},
                          Case{40, 130}, Case{45, 121}, Case{43, 125}, Case{INT_MAX, 19}, Case{INT_MIN, 204}}) {
        EXPECT_EQ(m.RowOf(c.value), c.row) << c.value;
    }
}

TEST(PlotGeometry, XAxisOnTheRowOfZero)
{
    const float scale = plot::ScaleFor(plotOfClient, -20, 100);
    EXPECT_EQ(plot::XAxisRow(plotOfClient, -20, scale), 174);
    EXPECT_EQ(MappingFor(-20, 100).RowOf(0), 174);
    EXPECT_EQ(plot::XAxisRow(plotOfClient, 0, plot::ScaleFor(plotOfClient, 0, 100)), 204);

    EXPECT_TRUE(plot::HasXAxis(-20, true));
    EXPECT_TRUE(plot::HasXAxis(0, true));
    EXPECT_FALSE(plot::HasXAxis(1, true));
    EXPECT_FALSE(plot::HasXAxis(-20, false));
}

TEST(PlotGeometry, ZeroWidthRangeDrawsEverythingOnTheBottomRow)
{
    for (int32_t at : {0, 50, -7, INT_MIN, INT_MAX}) {
        const plot::VerticalMapping m = MappingFor(at, at);
        EXPECT_EQ(m.scale, 0.0f);
        for (int32_t value : {at, 0, 1000, INT_MIN, INT_MAX})
            EXPECT_EQ(m.RowOf(value), 204) << at << " " << value;
        EXPECT_EQ(plot::XAxisRow(plotOfClient, at, m.scale), 204);
    }
}

TEST(PlotGeometry, ExtremeAndInvertedRangesStayInsideThePlot)
{
    const plot::VerticalMapping wide = MappingFor(INT_MIN, INT_MAX);
    EXPECT_EQ(wide.RowOf(INT_MIN), 204);
    EXPECT_EQ(wide.RowOf(INT_MAX), 19);
    EXPECT_NEAR(wide.RowOf(0), 112, 1);
    EXPECT_EQ(plot::XAxisRow(plotOfClient, INT_MIN, wide.scale), 112);

    // RangeMax below RangeMin (hand-edited): values land on one of the two end rows.
    const plot::VerticalMapping inverted = MappingFor(100, 0);
    for (int32_t value : {-50, 0, 50, 100, 150}) {
        const int32_t row = inverted.RowOf(value);
        EXPECT_TRUE(row == 19 || row == 204) << value << " -> " << row;
    }
}

TEST(PlotGeometry, TruncationOfNonFiniteProducts)
{
    EXPECT_EQ(plot::TruncateToPixels(92.5f), 92);
    EXPECT_EQ(plot::TruncateToPixels(-30.83f), -30);
    EXPECT_EQ(plot::TruncateToPixels(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(plot::TruncateToPixels(std::numeric_limits<float>::infinity()), 1000000000);
    EXPECT_EQ(plot::TruncateToPixels(-std::numeric_limits<float>::infinity()), -1000000000);
}

TEST(PlotGeometry, BarsAndLineColumnsFromTheRightEdge)
{
    // The newest bar covers columns right - 6 .. right - 2 and reaches the row of rangeMin.
    EXPECT_EQ(plot::BarBox(plotOfClient, 0, 93), (Box{754, 93, 759, 205}));
    EXPECT_EQ(plot::BarBox(plotOfClient, 1, 130), (Box{748, 130, 753, 205}));
    EXPECT_EQ(plot::BarBox(plotOfClient, 120, 19), (Box{34, 19, 39, 205}));
    EXPECT_EQ(plot::LineColumn(plotOfClient, 0), 758);
    EXPECT_EQ(plot::LineColumn(plotOfClient, 725), 33);
}

TEST(PlotGeometry, SampleUnderAColumnInvertsTheDrawing)
{
    // Every drawn column of every visible sample leads back to that sample, in both modes.
    for (const bool bars : {false, true}) {
        const int32_t visible = plot::VisibleCount(plotOfClient, bars, 100000);
        for (int32_t i = 0; i < visible; ++i) {
            if (bars) {
                const Box bar = plot::BarBox(plotOfClient, i, 50);
                for (int32_t x = bar.left; x < bar.right; ++x)
                    ASSERT_EQ(plot::SampleAtColumn(plotOfClient, true, visible, x), i) << x;
            } else {
                ASSERT_EQ(plot::SampleAtColumn(plotOfClient, false, visible, plot::LineColumn(plotOfClient, i)), i);
            }
        }
    }
    struct Case {
        bool bars;
        int32_t visible;
        int32_t x;
        int32_t sample;
    };
    for (const Case& c : {
             Case{false, 726, 759, -1},   // right of the newest column: the frame
             Case{false, 726, 760, -1},
             Case{false, 726, 32, -1},    // left of the oldest visible column
             Case{false, 726, 33, 725},
             Case{false, 10, 748, -1},    // beyond the 10 samples held
             Case{false, 10, 749, 9},
             Case{true, 121, 759, 0},     // the gap right of the newest bar
             Case{true, 121, 760, -1},
             Case{true, 121, 753, 1},     // the gap between bars 0 and 1 belongs to bar 1
             Case{true, 121, 34, 120},
             Case{true, 121, 33, -1},     // beyond the oldest bar
             Case{true, 3, 741, -1},
             Case{true, 3, 742, 2},
             Case{false, 0, 758, -1},     // nothing held
             Case{false, 726, INT_MIN, -1},
             Case{true, 121, INT_MAX, -1},
         }) {
        EXPECT_EQ(plot::SampleAtColumn(plotOfClient, c.bars, c.visible, c.x), c.sample)
            << c.bars << " " << c.visible << " " << c.x;
    }
}

TEST(PlotGeometry, LabelAnchors)
{
    const int32_t textHeight = 12;
    const int32_t half = textHeight / 2;
    const plot::Anchor title = plot::TitleAnchor(plotOfClient, textHeight);
    EXPECT_EQ(title.x, 760);
    EXPECT_EQ(title.y, 3);
    const plot::Anchor upper = plot::UpperRangeAnchor(plotOfClient, half);
    EXPECT_EQ(upper.x, 31);
    EXPECT_EQ(upper.y, 11);
    const plot::Anchor lower = plot::LowerRangeAnchor(plotOfClient, half);
    EXPECT_EQ(lower.x, 31);
    EXPECT_EQ(lower.y, 200);
    const plot::Anchor value = plot::ValueLabelAnchor(plotOfClient, 93, half);
    EXPECT_EQ(value.x, 762);
    EXPECT_EQ(value.y, 87);
}

TEST(PlotGeometry, LoadLabelYieldsToTheTemperatureLabel)
{
    const plot::VerticalMapping m = MappingFor(0, 100);
    const int32_t textHeight = 12;
    struct Case {
        int32_t temperatureRow;
        int32_t loadRow;
        bool loadShown;
    };
    for (const Case& c : {Case{m.RowOf(60), m.RowOf(40), true}, Case{m.RowOf(45), m.RowOf(43), false},
                          Case{100, 112, false}, Case{112, 100, false}, Case{100, 113, true}, Case{113, 100, true},
                          Case{50, 50, false}}) {
        EXPECT_EQ(plot::ShowsLoadLabel(c.temperatureRow, c.loadRow, textHeight), c.loadShown)
            << c.temperatureRow << " " << c.loadRow;
    }
}

}  // namespace

namespace {

bool Overlap(const Box& a, const Box& b)
{
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Inside(const Box& inner, const Box& outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// The four lines of the frame, one pixel wide, corners included.
std::vector<Box> FrameLines(const Box& p)
{
    return {{p.left, p.top, p.right + 1, p.top + 1},
            {p.left, p.bottom, p.right + 1, p.bottom + 1},
            {p.left, p.top, p.left + 1, p.bottom + 1},
            {p.right, p.top, p.right + 1, p.bottom + 1}};
}

TEST(CompactPane, EverythingFitsAtTheUsualSizeAndTheLayoutIsTheUsualOne)
{
    const plot::TextExtents texts{12, 40, 28, 28, 20};
    const Box area{0, 0, 792, 214};
    const plot::CompactPlot fitted = plot::FitTexts(area, texts);
    EXPECT_EQ(fitted.plot, plot::PlotBox(area));
    EXPECT_TRUE(fitted.shown.title && fitted.shown.range && fitted.shown.temperature && fitted.shown.load);
}

TEST(CompactPane, TextsGoInTheirOrderAndWhatStaysNeverOverlapsOrCrossesTheFrame)
{
    const plot::TextExtents fonts[] = {{12, 40, 28, 28, 20}, {14, 46, 33, 31, 24}, {11, 36, 25, 25, 18}};
    for (const plot::TextExtents& t : fonts) {
        for (int32_t width = 40; width <= 420; width += 3) {
            for (int32_t height = 24; height <= 240; height += 2) {
                const Box area{0, 0, width, height};
                const plot::CompactPlot fitted = plot::FitTexts(area, t);
                const plot::ShownTexts& shown = fitted.shown;
                const Box& p = fitted.plot;
                const std::string where = std::to_string(width) + " x " + std::to_string(height) + ", text " +
                                          std::to_string(t.height);
                // The order: the range labels go first, the temperature label last.
                EXPECT_TRUE(!shown.range || (shown.load && shown.title && shown.temperature)) << where;
                EXPECT_TRUE(!shown.load || (shown.title && shown.temperature)) << where;
                EXPECT_TRUE(!shown.title || shown.temperature) << where;
                // The temperature label is there as long as a frame fits beside it.
                EXPECT_TRUE(width < 40 + t.temperature - 28 || shown.temperature) << where;

                const int32_t half = t.height / 2;
                std::vector<Box> texts;
                if (shown.title)
                    texts.push_back({p.right - t.title, p.top - t.height - 2, p.right, p.top - 2});
                if (shown.range) {
                    texts.push_back({p.left - 1 - t.range, p.top - half, p.left - 1, p.top - half + t.height});
                    texts.push_back({p.left - 1 - t.range, p.bottom - half, p.left - 1, p.bottom - half + t.height});
                }
                // A value label at the highest and at the lowest row a value can take.
                const int32_t valueWidth = std::max(shown.temperature ? t.temperature : 0, shown.load ? t.load : 0);
                std::vector<Box> values;
                if (shown.temperature || shown.load) {
                    for (int32_t row : {p.top + 2, p.bottom - 2})
                        values.push_back({p.right + 2, row - half, p.right + 2 + valueWidth, row - half + t.height});
                }
                for (const Box& text : texts) {
                    EXPECT_TRUE(Inside(text, area)) << where;
                    for (const Box& line : FrameLines(p))
                        EXPECT_FALSE(Overlap(text, line)) << where;
                    for (const Box& value : values)
                        EXPECT_FALSE(Overlap(text, value)) << where;
                }
                for (size_t i = 0; i < texts.size(); ++i)
                    for (size_t j = i + 1; j < texts.size(); ++j)
                        EXPECT_FALSE(Overlap(texts[i], texts[j])) << where;
                for (const Box& value : values) {
                    EXPECT_TRUE(Inside(value, area)) << where;
                    for (const Box& line : FrameLines(p))
                        EXPECT_FALSE(Overlap(value, line)) << where;
                }
                EXPECT_TRUE(Inside({p.left, p.top, p.right + 1, p.bottom + 1}, area)) << where;
                if (::testing::Test::HasFailure())
                    return;
            }
        }
    }
}

}  // namespace
