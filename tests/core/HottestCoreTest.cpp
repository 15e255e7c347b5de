// What the temperature tray icon shows: which core, its digits, its tooltip and its colour.
#include "core/HeatColourScale.h"
#include "core/HottestCore.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace {

std::u16string Digits(const CoreReading& reading)
{
    char16_t digits[iconDigitsCapacity];
    FormatIconDigits(reading, digits);
    return digits;
}

std::u16string Tooltip(const CoreReading& reading, size_t capacity = 128)
{
    char16_t tip[128];
    FormatCoreTooltip(reading, u"C\u00B0", u"%", tip, capacity);
    return tip;
}

int Channel(HeatColour colour, int shift)
{
    return static_cast<int>((colour >> shift) & 0xFF);
}

TEST(HottestCore, TheHighestTemperatureWinsAndTheFirstCoreWinsATie)
{
    const int32_t temperatures[] = {55, 72, 40, 72};
    const int32_t loads[] = {10, 35, 90, 80};
    const CoreReading hottest = HottestCore(temperatures, loads, 4);
    EXPECT_TRUE(hottest.known);
    EXPECT_EQ(hottest.core, 1u);
    EXPECT_EQ(hottest.temperature, 72);
    EXPECT_EQ(hottest.load, 35);

    const int32_t frozen[] = {-20, -5};
    EXPECT_EQ(HottestCore(frozen, loads, 2).core, 1u);
    EXPECT_FALSE(HottestCore(temperatures, loads, 0).known);
}

TEST(HottestCore, DigitsAreTwoOrThreeCharactersOrDashes)
{
    const struct {
        int32_t temperature;
        const char16_t* digits;
    } cases[] = {{72, u"72"}, {5, u"5"}, {0, u"0"}, {100, u"100"}, {999, u"999"}, {1000, u"1k+"},
                 {2147483647, u"1k+"}, {-7, u"-7"}, {-99, u"-99"}, {-100, u"LO"}, {-2147483647 - 1, u"LO"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.temperature);
        EXPECT_EQ(Digits({true, 0, c.temperature, 0}), c.digits);
    }
    EXPECT_EQ(Digits(CoreReading{}), u"--");
}

// The panes store 0 for a NaN and a saturated value for an infinity: neither is a reading.
TEST(HottestCore, OnlyReportedCoresWithANumberCount)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const int32_t stored[] = {0, 2147483647, 55, 80};
    const int32_t loads[] = {1, 2, 3, 4};
    const float sensor[] = {nan, inf, 55.5f, 80.0f};
    UpdateRecord update;
    update.paneCount = 4;
    update.reportedCores = 4;
    update.temperatures = stored;
    update.loads = loads;
    update.sensorTemperatures = sensor;
    EXPECT_EQ(HottestCore(update).core, 3u);
    EXPECT_EQ(HottestCore(update).temperature, 80);

    update.reportedCores = 3;  // core 3 holds what the buffer kept: no reading
    EXPECT_EQ(HottestCore(update).core, 2u);
    EXPECT_EQ(HottestCore(update).load, 3);

    update.reportedCores = 2;  // a NaN and an infinity only
    EXPECT_FALSE(HottestCore(update).known);
    EXPECT_EQ(Digits(HottestCore(update)), u"--");
    EXPECT_EQ(Tooltip(HottestCore(update)), u"");

    const float negativeInfinity[] = {-inf};
    const int32_t saturated[] = {-2147483647 - 1};
    update.reportedCores = 1;
    update.temperatures = saturated;
    update.sensorTemperatures = negativeInfinity;
    EXPECT_EQ(Digits(HottestCore(update)), u"--");

    update.reportedCores = 9;  // more than the panes
    update.temperatures = stored;
    update.sensorTemperatures = sensor;
    EXPECT_EQ(HottestCore(update).core, 3u);
}

TEST(HottestCore, TheTooltipNamesTheCoreTemperatureAndLoad)
{
    EXPECT_EQ(Tooltip({true, 3, 72, 35}), u"Core #3: 72 C\u00B0, load 35 %");
    EXPECT_EQ(Tooltip({true, 0, -4, 100}), u"Core #0: -4 C\u00B0, load 100 %");
    EXPECT_EQ(Tooltip(CoreReading{}), u"");
    EXPECT_EQ(Tooltip({true, 3, 72, 35}, 8), u"Core #3");  // cut, still terminated
}

TEST(HottestCore, TheColourRunsFromCoolThroughWarmToHotWithinTheRange)
{
    EXPECT_EQ(HeatColourOf(20, 20, 100), coolColour);
    EXPECT_EQ(HeatColourOf(-40, 20, 100), coolColour);
    EXPECT_EQ(HeatColourOf(60, 20, 100), warmColour);
    EXPECT_EQ(HeatColourOf(100, 20, 100), hotColour);
    EXPECT_EQ(HeatColourOf(150, 20, 100), hotColour);
    // An empty or upside-down range still answers with one of its ends.
    EXPECT_EQ(HeatColourOf(50, 60, 60), coolColour);
    EXPECT_EQ(HeatColourOf(70, 60, 60), hotColour);
    EXPECT_EQ(HeatColourOf(2147483647, -2147483647 - 1, 2147483647), hotColour);

    // Blue falls all the way up and red rises to the middle: the order reads without telling
    // red from green.
    HeatColour previous = HeatColourOf(0, 0, 100);
    for (int32_t t = 1; t <= 100; ++t) {
        SCOPED_TRACE(t);
        const HeatColour colour = HeatColourOf(t, 0, 100);
        EXPECT_LE(Channel(colour, 16), Channel(previous, 16));
        if (t <= 50) {
            EXPECT_GE(Channel(colour, 0), Channel(previous, 0));
        }
        previous = colour;
    }
}

}  // namespace
