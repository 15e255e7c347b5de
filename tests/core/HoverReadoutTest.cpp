#include "core/HoverReadout.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

namespace {

SeriesFigures FiguresOf(std::initializer_list<int32_t> values)
{
    SeriesFigures figures;
    for (int32_t v : values)
        figures.Add(v);
    return figures;
}

TEST(HoverFigures, NewestSamplesOfAHistoryThroughGrowthAndWrap)
{
    // Three slots at a time, circular at six: the newest six of 0..9 are 4..9.
    SampleHistory history(3, 9);
    for (int32_t v = 0; v < 10; ++v)
        history.Push(v * 10);
    ASSERT_EQ(history.Count(), 6);
    const struct {
        int32_t newest;
        int64_t count;
        int32_t min;
        int32_t max;
        int64_t sum;
    } cases[] = {{0, 0, 0, 0, 0}, {1, 1, 90, 90, 90}, {4, 4, 60, 90, 300}, {6, 6, 40, 90, 390}, {100, 6, 40, 90, 390}};
    for (const auto& c : cases) {
        const SeriesFigures figures = FiguresOfNewest(history, c.newest);
        EXPECT_EQ(figures.count, c.count) << c.newest;
        EXPECT_EQ(figures.min, c.min) << c.newest;
        EXPECT_EQ(figures.max, c.max) << c.newest;
        EXPECT_EQ(figures.sum, c.sum) << c.newest;
    }
}

TEST(HoverFigures, RunningFiguresCountEverySampleThroughGrowthWrapAndClear)
{
    // Small blocks, and limits that turn the history circular after one, two or several of
    // them, or never: the figures must equal those of every value pushed since the clear.
    const struct {
        int32_t step;
        int32_t limit;
    } shapes[] = {{1, 2}, {3, 4}, {3, 9}, {4, 13}, {5, SampleHistory::defaultSlotLimit}};
    for (const auto& shape : shapes) {
        SampleHistory history(shape.step, shape.limit);
        HistoryFigures running;
        SeriesFigures expected;
        EXPECT_EQ(running.Of(history).count, 0);
        uint32_t seed = 12345;
        for (int32_t n = 1; n <= 60; ++n) {
            seed = seed * 1103515245u + 12345u;
            const int32_t value = static_cast<int32_t>(seed >> 16) % 201 - 100;
            running.BeforePush(history);
            history.Push(value);
            expected.Add(value);
            const SeriesFigures figures = running.Of(history);
            ASSERT_EQ(figures.count, expected.count) << shape.step << "/" << shape.limit << " after " << n;
            ASSERT_EQ(figures.sum, expected.sum) << shape.step << "/" << shape.limit << " after " << n;
            ASSERT_EQ(figures.min, expected.min) << shape.step << "/" << shape.limit << " after " << n;
            ASSERT_EQ(figures.max, expected.max) << shape.step << "/" << shape.limit << " after " << n;
            if (n == 40) {
                history.Clear();
                running.Clear();
                expected = SeriesFigures{};
            }
        }
    }

    // A history that is not valid has no figures, however often it is pushed to.
    SampleHistory invalid(0);
    HistoryFigures none;
    for (int i = 0; i < 5; ++i) {
        none.BeforePush(invalid);
        invalid.Push(7);
    }
    EXPECT_EQ(none.Of(invalid).count, 0);
}

TEST(HoverText, AverageInTenthsRoundedHalfAwayFromZero)
{
    const struct {
        SeriesFigures figures;
        const wchar_t* text;
    } cases[] = {
        {SeriesFigures{}, L"-"},
        {FiguresOf({70, 71}), L"70.5"},
        {FiguresOf({1, 1, 2}), L"1.3"},
        {FiguresOf({1, 2, 2}), L"1.7"},
        {FiguresOf({-1, -2, -2}), L"-1.7"},
        {FiguresOf({0, 0, 0, 1}), L"0.3"},
        {FiguresOf({-1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), L"0.0"},  // no "-0.0"
        {FiguresOf({99, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100}),
         L"100.0"},  // 99.95 carries into the whole part
        {SeriesFigures{2147483647, int64_t{2147483647} * 2147483647, INT_MAX, INT_MAX}, L"2147483647.0"},
        {SeriesFigures{2147483647, int64_t{2147483647} * INT_MIN, INT_MIN, INT_MIN}, L"-2147483648.0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatAverage(c.figures), c.text);
}

TEST(HoverText, AgeInTheTwoLargestUnits)
{
    const struct {
        int64_t ms;
        const wchar_t* text;
    } cases[] = {
        {0, L"0 s ago"},          {999, L"0 s ago"},           {-5000, L"0 s ago"},  // clock set back
        {59999, L"59 s ago"},     {60000, L"1 min 0 s ago"},   {134000, L"2 min 14 s ago"},
        {3599999, L"59 min 59 s ago"}, {3600000, L"1 h 0 min ago"}, {11100000, L"3 h 5 min ago"},
        {86400000, L"1 d 0 h ago"}, {183600000, L"2 d 3 h ago"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatAge(c.ms), c.text) << c.ms;
}

TEST(HoverText, WholeReadout)
{
    ReadoutFacts facts;
    facts.title = L"Core #3";
    facts.timeKnown = true;
    facts.time = LogClockTime{2026, 2, 8, 9, 5, 7, 500};
    facts.ageMs = 134000;
    facts.temperature = 72;
    facts.load = 35;
    facts.temperatureUnit = L"C\u00B0";
    facts.loadUnit = L"%";
    facts.shownTemperature = FiguresOf({60, 80, 71});
    facts.shownLoad = FiguresOf({3, 98});
    facts.historyTemperature = FiguresOf({55, 91, 60, 80, 71});
    facts.historyLoad = FiguresOf({0, 100, 3, 98, 35});
    EXPECT_EQ(ReadoutText(facts), L"Core #3\r\n"
                                  L"2026-02-08 09:05:07, 2 min 14 s ago\r\n"
                                  L"Temperature 72C\u00B0, load 35%\r\n"
                                  L"Shown (3 samples)\r\n"
                                  L"  temperature min 60C\u00B0, max 80C\u00B0, avg 70.3C\u00B0\r\n"
                                  L"  load min 3%, max 98%, avg 50.5%\r\n"
                                  L"History (5 samples)\r\n"
                                  L"  temperature min 55C\u00B0, max 91C\u00B0, avg 71.4C\u00B0\r\n"
                                  L"  load min 0%, max 100%, avg 47.2%");

    // Before any time is known, and with nothing shown.
    facts.timeKnown = false;
    facts.shownTemperature = SeriesFigures{};
    facts.shownLoad = SeriesFigures{};
    const std::wstring text = ReadoutText(facts);
    EXPECT_NE(text.find(L"\r\ntime unknown\r\n"), std::wstring::npos) << text.c_str();
    EXPECT_NE(text.find(L"Shown (0 samples)\r\n  temperature -\r\n  load -\r\n"), std::wstring::npos);
}

// What a screen reader reads as a core's description: the history lines joined.
TEST(HoverText, HistoryOnOneLine)
{
    EXPECT_EQ(HistoryLine(FiguresOf({55, 91, 60, 80, 71}), FiguresOf({0, 100, 3, 98, 35}), L"C\u00B0", L"%"),
              L"History (5 samples): temperature min 55C\u00B0, max 91C\u00B0, avg 71.4C\u00B0; "
              L"load min 0%, max 100%, avg 47.2%");
    EXPECT_EQ(HistoryLine(SeriesFigures{}, SeriesFigures{}, L"C\u00B0", L"%"),
              L"History (0 samples): temperature -; load -");
}
}  // namespace
