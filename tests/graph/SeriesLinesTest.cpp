// The line drawing chains segments into runs of Polyline: its pixels must be exactly those of
// drawing every segment on its own, load before temperature per sample, whatever the slopes.
#include "PaneTestSupport.h"

#include "graph/PaneDrawing.h"
#include "core/PlotGeometry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>
#include <string>

namespace {

using panetest::Canvas;

constexpr int canvasWidth = 300;
constexpr int canvasHeight = 120;
constexpr plot::Box plotBox{12, 6, 296, 114};
constexpr COLORREF background = 0x202020;
constexpr COLORREF loadColour = 0x0000F0;
constexpr COLORREF temperatureColour = 0x00F000;

// One segment per call, the load segment of each sample before its temperature segment: the
// order that defines the pixels.
void DrawSegmentBySegment(HDC dc, const SeriesRows& load, const SeriesRows& temperature,
                          std::optional<COLORREF> temperatureColourOrNone)
{
    const int32_t newest = plot::LineColumn(plotBox, 0);
    ::SetPixelV(dc, newest, load[0], loadColour);
    if (temperatureColourOrNone)
        ::SetPixelV(dc, newest, temperature[0], *temperatureColourOrNone);
    Pen loadPen = CreateSolidPen(loadColour);
    Pen temperaturePen = CreateSolidPen(temperatureColourOrNone.value_or(loadColour));
    for (size_t i = 1; i < load.size(); ++i) {
        const int32_t x = plot::LineColumn(plotBox, static_cast<int32_t>(i));
        const POINT loadSegment[2] = {{x + 1, load[i - 1]}, {x, load[i]}};
        {
            Selection pen(dc, loadPen.Get());
            ::Polyline(dc, loadSegment, 2);
        }
        if (temperatureColourOrNone) {
            const POINT temperatureSegment[2] = {{x + 1, temperature[i - 1]}, {x, temperature[i]}};
            Selection pen(dc, temperaturePen.Get());
            ::Polyline(dc, temperatureSegment, 2);
        }
    }
}

// Rows inside the plot: mostly small steps near the other series so that the lines cross and
// touch often, with flat stretches, one-row steps and steep jumps mixed in.
SeriesRows RandomRows(std::mt19937& random, size_t count, int32_t start)
{
    SeriesRows rows(count);
    int32_t row = start;
    for (size_t i = 0; i < count; ++i) {
        const int kind = static_cast<int>(random() % 10);  // 0 and 1: a flat step
        if (kind >= 2 && kind < 5)
            row += static_cast<int32_t>(random() % 3) - 1;
        else if (kind >= 5 && kind < 8)
            row += static_cast<int32_t>(random() % 13) - 6;
        else if (kind >= 8)
            row = plotBox.top + 2 + static_cast<int32_t>(random() % (plotBox.bottom - plotBox.top - 4));
        row = std::max(plotBox.top + 2, std::min(plotBox.bottom - 3, row));
        rows[i] = row;
    }
    return rows;
}

class SeriesLines : public ::testing::Test {
protected:
    Canvas reference{canvasWidth, canvasHeight};
    Canvas drawn{canvasWidth, canvasHeight};

    // Draws both ways and reports the first differing pixel, if any.
    ::testing::AssertionResult SamePixels(const SeriesRows& load, const SeriesRows& temperature,
                                          std::optional<COLORREF> temperatureColourOrNone)
    {
        reference.Fill(background);
        drawn.Fill(background);
        DrawSegmentBySegment(reference.Dc(), load, temperature, temperatureColourOrNone);
        DrawSeriesLines(drawn.Dc(), plotBox, load, temperature, loadColour, temperatureColourOrNone);
        const std::vector<uint32_t> expected = reference.Pixels();
        const std::vector<uint32_t> actual = drawn.Pixels();
        for (size_t p = 0; p < expected.size(); ++p) {
            if (expected[p] != actual[p])
                return ::testing::AssertionFailure()
                       << "pixel (" << p % canvasWidth << ", " << p / canvasWidth << ") is " << std::hex
                       << actual[p] << ", segment by segment " << expected[p];
        }
        return ::testing::AssertionSuccess();
    }
};

TEST_F(SeriesLines, RunsDrawTheSamePixelsAsSegmentBySegmentForCrossingSeries)
{
    const size_t fullWidth = static_cast<size_t>(plot::LineColumn(plotBox, 0) - plotBox.left);
    for (uint32_t seed = 1; seed <= 60; ++seed) {
        std::mt19937 random(seed);
        const size_t count = seed % 7 == 0 ? 1 + seed % 5 : fullWidth - seed % 3;
        const int32_t middle = (plotBox.top + plotBox.bottom) / 2;
        const SeriesRows load = RandomRows(random, count, middle);
        const SeriesRows temperature = RandomRows(random, count, middle + static_cast<int32_t>(seed % 5) - 2);
        EXPECT_TRUE(SamePixels(load, temperature, temperatureColour)) << "seed " << seed;
    }
}

TEST_F(SeriesLines, EverySlopeAgainstEverySlopeInTheSharedColumn)
{
    // Each sample pairs a temperature step of dt with a following load step of dl from rows
    // that sit a few rows apart, so every way two segments can meet in a column comes up.
    SeriesRows load, temperature;
    const int32_t middle = (plotBox.top + plotBox.bottom) / 2;
    for (int32_t dt = -7; dt <= 7; dt += 1) {
        for (int32_t offset = -4; offset <= 4; ++offset) {
            for (int32_t dl : {-9, -2, -1, 0, 1, 2, 9}) {
                temperature.push_back(middle);
                load.push_back(middle + offset);
                temperature.push_back(middle + dt);
                load.push_back(middle + offset + dl);
            }
        }
    }
    // Windows of one pane width over the long table.
    const size_t width = static_cast<size_t>(plot::LineColumn(plotBox, 0) - plotBox.left);
    for (size_t from = 0; from < load.size(); from += width / 2) {
        const size_t to = std::min(load.size(), from + width);
        const SeriesRows loadPart(load.begin() + from, load.begin() + to);
        const SeriesRows temperaturePart(temperature.begin() + from, temperature.begin() + to);
        EXPECT_TRUE(SamePixels(loadPart, temperaturePart, temperatureColour)) << "from sample " << from;
        EXPECT_TRUE(SamePixels(temperaturePart, loadPart, temperatureColour)) << "swapped, from sample " << from;
    }
}

TEST_F(SeriesLines, SeriesApartTakeOnePolylineEachAndOneSeriesTakesOne)
{
    std::mt19937 random(7);
    SeriesRows load(200), temperature(200);
    for (size_t i = 0; i < load.size(); ++i) {
        load[i] = plotBox.top + 2 + static_cast<int32_t>(random() % 40);
        temperature[i] = plotBox.top + 50 + static_cast<int32_t>(random() % 40);
    }
    EXPECT_TRUE(SamePixels(load, temperature, temperatureColour));
    drawn.Fill(background);
    EXPECT_EQ(2u, DrawSeriesLines(drawn.Dc(), plotBox, load, temperature, loadColour, temperatureColour));
    EXPECT_TRUE(SamePixels(load, {}, std::nullopt));
    EXPECT_EQ(1u, DrawSeriesLines(drawn.Dc(), plotBox, load, {}, loadColour, std::nullopt));
}

}  // namespace
