#include "core/MetricsExposition.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

namespace {

struct Update {
    std::vector<int32_t> temperatures;
    std::vector<int32_t> loads;
    std::vector<float> sensor;
    uint32_t reported;
    uint32_t tjMax = 100;

    UpdateRecord Record() const
    {
        UpdateRecord r;
        r.tjMax = tjMax;
        r.paneCount = static_cast<uint32_t>(temperatures.size());
        r.reportedCores = reported;
        r.temperatures = temperatures.data();
        r.loads = loads.data();
        r.sensorTemperatures = sensor.data();
        return r;
    }
};

Update Whole(std::vector<int32_t> temperatures, std::vector<int32_t> loads)
{
    Update u{temperatures, loads, {}, static_cast<uint32_t>(temperatures.size())};
    for (const int32_t t : temperatures)
        u.sensor.push_back(static_cast<float>(t) + 0.25f);
    return u;
}

bool Has(const std::string& text, const std::string& line)
{
    return text.find("\n" + line + "\n") != std::string::npos || text.rfind(line + "\n", 0) == 0;
}

TEST(MetricsExposition, NothingBeforeTheFirstUpdate)
{
    MetricsState state;
    std::string text = "old";
    state.Format(text);
    EXPECT_EQ(text, "");
}

TEST(MetricsExposition, EveryFamilyWithHelpTypeAndItsSamples)
{
    MetricsState state;
    state.Record(Whole({45, 91}, {57, 100}).Record(), 1765184707042);
    std::string text;
    state.Format(text);
    EXPECT_TRUE(Has(text, "# TYPE vaderur_core_temperature_celsius gauge"));
    EXPECT_TRUE(Has(text, "vaderur_core_temperature_celsius{core=\"0\"} 45"));
    EXPECT_TRUE(Has(text, "vaderur_core_temperature_celsius{core=\"1\"} 91"));
    EXPECT_TRUE(Has(text, "vaderur_core_load_ratio{core=\"0\"} 0.57"));
    EXPECT_TRUE(Has(text, "vaderur_core_load_ratio{core=\"1\"} 1"));
    EXPECT_TRUE(Has(text, "# TYPE vaderur_sample_temperature_celsius histogram"));
    EXPECT_TRUE(Has(text, "vaderur_sample_temperature_celsius_bucket{core=\"0\",le=\"50\"} 1"));
    EXPECT_TRUE(Has(text, "vaderur_sample_temperature_celsius_bucket{core=\"1\",le=\"90\"} 0"));
    EXPECT_TRUE(Has(text, "vaderur_sample_temperature_celsius_bucket{core=\"1\",le=\"100\"} 1"));
    EXPECT_TRUE(Has(text, "vaderur_sample_temperature_celsius_bucket{core=\"1\",le=\"+Inf\"} 1"));
    EXPECT_TRUE(Has(text, "vaderur_sample_temperature_celsius_sum{core=\"1\"} 91"));
    EXPECT_TRUE(Has(text, "vaderur_sample_temperature_celsius_count{core=\"1\"} 1"));
    EXPECT_TRUE(Has(text, "vaderur_tjmax_celsius 100"));
    EXPECT_TRUE(Has(text, "# TYPE vaderur_updates_total counter"));
    EXPECT_TRUE(Has(text, "vaderur_updates_total 1"));
    EXPECT_TRUE(Has(text, "vaderur_last_update_timestamp_seconds 1765184707.042"));
    // LF only, a line feed at the end, no CR, plain ASCII.
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    EXPECT_EQ(text.find('\r'), std::string::npos);
    for (const char c : text)
        EXPECT_TRUE(static_cast<unsigned char>(c) < 0x80);
    // HELP before TYPE before the samples, for each family.
    EXPECT_LT(text.find("# HELP vaderur_core_load_ratio"), text.find("# TYPE vaderur_core_load_ratio"));
    EXPECT_LT(text.find("# TYPE vaderur_core_load_ratio"), text.find("vaderur_core_load_ratio{"));
}

TEST(MetricsExposition, HistogramCountsEveryUpdateCumulatively)
{
    MetricsState state;
    for (const int32_t t : {40, 50, 51, 85, 95, 120, 100})
        state.Record(Whole({t}, {0}).Record(), 1000);
    std::string text;
    state.Format(text);
    EXPECT_TRUE(Has(text, "vaderur_sample_temperature_celsius_bucket{core=\"0\",le=\"50\"} 2"));
    EXPECT_TRUE(Has(text, "vaderur_sample_temperature_celsius_bucket{core=\"0\",le=\"60\"} 3"));
    EXPECT_TRUE(Has(text, "vaderur_sample_temperature_celsius_bucket{core=\"0\",le=\"80\"} 3"));
    EXPECT_TRUE(Has(text, "vaderur_sample_temperature_celsius_bucket{core=\"0\",le=\"90\"} 4"));
    EXPECT_TRUE(Has(text, "vaderur_sample_temperature_celsius_bucket{core=\"0\",le=\"100\"} 6"));
    EXPECT_TRUE(Has(text, "vaderur_sample_temperature_celsius_bucket{core=\"0\",le=\"+Inf\"} 7"));
    EXPECT_TRUE(Has(text, "vaderur_sample_temperature_celsius_count{core=\"0\"} 7"));
    EXPECT_TRUE(Has(text, "vaderur_sample_temperature_celsius_sum{core=\"0\"} 541"));
    EXPECT_TRUE(Has(text, "vaderur_updates_total 7"));
    EXPECT_TRUE(Has(text, "vaderur_last_update_timestamp_seconds 1"));
}

TEST(MetricsExposition, CoresTheSnapshotDoesNotReportAreLeftOut)
{
    MetricsState state;
    state.Record(Whole({60, 70, 80}, {1, 2, 3}).Record(), 5);
    Update fewer = Whole({61, 70, 80}, {4, 2, 3});
    fewer.reported = 1;
    state.Record(fewer.Record(), 6);
    std::string text;
    state.Format(text);
    EXPECT_TRUE(Has(text, "vaderur_core_temperature_celsius{core=\"0\"} 61"));
    EXPECT_EQ(text.find("core=\"1\""), std::string::npos);
    EXPECT_EQ(text.find("core=\"2\""), std::string::npos);
    EXPECT_TRUE(Has(text, "vaderur_sample_temperature_celsius_count{core=\"0\"} 2"));
    EXPECT_TRUE(Has(text, "vaderur_updates_total 2"));

    // Back again: the counts go on from where they were.
    state.Record(Whole({62, 71, 81}, {0, 0, 0}).Record(), 7);
    state.Format(text);
    EXPECT_TRUE(Has(text, "vaderur_sample_temperature_celsius_count{core=\"1\"} 2"));
    EXPECT_TRUE(Has(text, "vaderur_core_temperature_celsius{core=\"2\"} 81"));

    Update none = Whole({0, 0, 0}, {0, 0, 0});
    none.reported = 0;
    state.Record(none.Record(), 8);
    state.Format(text);
    EXPECT_EQ(text.find("core=\""), std::string::npos);
    EXPECT_TRUE(Has(text, "vaderur_updates_total 4"));
}

TEST(MetricsExposition, NaNAndInfiniteReadingsAreLeftOut)
{
    MetricsState state;
    state.Record(Whole({60, 70}, {10, 20}).Record(), 5);
    Update odd = Whole({0, 0}, {11, 21});
    odd.sensor = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()};
    state.Record(odd.Record(), 6);
    std::string text;
    state.Format(text);
    EXPECT_EQ(text.find("vaderur_core_temperature_celsius{"), std::string::npos);
    EXPECT_TRUE(Has(text, "vaderur_core_load_ratio{core=\"0\"} 0.11"));
    EXPECT_TRUE(Has(text, "vaderur_sample_temperature_celsius_count{core=\"0\"} 1"));
    EXPECT_TRUE(Has(text, "vaderur_sample_temperature_celsius_sum{core=\"1\"} 70"));
    EXPECT_TRUE(Has(text, "vaderur_sample_temperature_celsius_bucket{core=\"0\",le=\"50\"} 0"));
}

TEST(MetricsExposition, NumbersUseADotWhateverTheLocale)
{
    // A locale with a decimal comma, where the system has one.
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE", "C.UTF-8"})
        if (std::setlocale(LC_ALL, name))
            break;
    MetricsState state;
    state.Record(Whole({-5}, {5}).Record(), -1500);
    std::string text;
    state.Format(text);
    std::setlocale(LC_ALL, "C");
    EXPECT_TRUE(Has(text, "vaderur_core_load_ratio{core=\"0\"} 0.05"));
    EXPECT_TRUE(Has(text, "vaderur_core_temperature_celsius{core=\"0\"} -5"));
    EXPECT_TRUE(Has(text, "vaderur_last_update_timestamp_seconds -1.5"));
}

TEST(MetricsExposition, EscapingOfLabelValuesAndHelp)
{
    EXPECT_EQ(EscapeLabelValue("plain 7"), "plain 7");
    EXPECT_EQ(EscapeLabelValue("a\\b\"c\nd"), "a\\\\b\\\"c\\nd");
    EXPECT_EQ(EscapeHelpText("a\\b\"c\nd"), "a\\\\b\"c\\nd");
}

TEST(MetricsExposition, ScheduleWritesFirstThenOncePerInterval)
{
    MetricsSchedule schedule(15000);
    EXPECT_TRUE(schedule.Due(100));
    EXPECT_FALSE(schedule.Due(100));
    EXPECT_FALSE(schedule.Due(15099));
    EXPECT_TRUE(schedule.Due(15100));
    EXPECT_FALSE(schedule.Due(15101));
}

TEST(MetricsExposition, PathsAndTemporaryNames)
{
    EXPECT_TRUE(IsRootedWindowsPath(L"C:\\Program Files\\x\\vaderur.prom"));
    EXPECT_TRUE(IsRootedWindowsPath(L"\\\\server\\share\\v.prom"));
    EXPECT_TRUE(IsRootedWindowsPath(L"d:/x.prom"));
    EXPECT_FALSE(IsRootedWindowsPath(L"metrics\\vaderur.prom"));
    EXPECT_FALSE(IsRootedWindowsPath(L"vaderur.prom"));
    EXPECT_EQ(MetricsTemporaryName(L"C:\\m\\vaderur.prom", 4242), L"C:\\m\\vaderur.prom.4242.tmp");
    EXPECT_TRUE(IsMetricsTemporaryName(L"vaderur.prom.4242.tmp", L"vaderur.prom"));
    EXPECT_FALSE(IsMetricsTemporaryName(L"vaderur.prom..tmp", L"vaderur.prom"));
    EXPECT_FALSE(IsMetricsTemporaryName(L"vaderur.prom.42a.tmp", L"vaderur.prom"));
    EXPECT_FALSE(IsMetricsTemporaryName(L"other.prom.42.tmp", L"vaderur.prom"));
    EXPECT_FALSE(IsMetricsTemporaryName(L"vaderur.prom", L"vaderur.prom"));
}

#ifndef _WIN32
// Every file the plug-in writes passes the real Prometheus' own check: 256 cores, a histogram
// with counts in every bucket, cores left out, NaN readings.
TEST(MetricsExposition, PromtoolAcceptsTheFile)
{
    MetricsState state;
    std::vector<int32_t> temperatures(256), loads(256);
    for (int round = 0; round < 20; ++round) {
        for (size_t i = 0; i < temperatures.size(); ++i) {
            temperatures[i] = static_cast<int32_t>(40 + (i * 7 + round * 13) % 70);
            loads[i] = static_cast<int32_t>((i + round) % 101);
        }
        Update u = Whole(temperatures, loads);
        if (round == 19) {
            u.reported = 200;
            u.sensor[3] = std::numeric_limits<float>::quiet_NaN();
        }
        state.Record(u.Record(), 1765184707000 + round * 1000);
    }
    std::string text;
    state.Format(text);
    const std::string file = "promtool-input.prom";
    std::ofstream(file, std::ios::binary) << text;
    const int status = std::system(("promtool check metrics < " + file + " > promtool-output.txt 2>&1").c_str());
    std::ifstream output("promtool-output.txt");
    const std::string said((std::istreambuf_iterator<char>(output)), std::istreambuf_iterator<char>());
    EXPECT_EQ(status, 0) << "promtool (from the Debian package prometheus, scripts/install-deps.sh installs it) "
                            "said:\n" << said;
    EXPECT_EQ(said, "");
}
#endif

}  // namespace
