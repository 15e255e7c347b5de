#include "core/PlotGeometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>

namespace {

using plot::Box;

// The pane of the worked examples: client 792 x 214.
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
