#include "settings/SettingsParsing.h"

#include <gtest/gtest.h>

namespace {

TEST(MetricsOptions, AbsentKeysGiveNoFileAndFifteenSeconds)
{
    const MetricsOptions none = ParseMetricsOptions(std::nullopt);
    EXPECT_TRUE(none.file.empty());
    EXPECT_EQ(none.intervalSeconds, 15u);
    const MetricsOptions other = ParseMetricsOptions(u"[Zentrix Vaderur]\nGraphWidth=792;\n");
    EXPECT_TRUE(other.file.empty());
    EXPECT_EQ(other.intervalSeconds, defaultMetricsIntervalSeconds);
}

TEST(MetricsOptions, ThePathKeepsItsSpacesButNotTheOnesAround)
{
    const MetricsOptions read = ParseMetricsOptions(
        u"[General]\nMetricsFile= C:\\Program Files\\windows_exporter\\textfile_inputs\\vaderur.prom ; the file\n"
        u"MetricsInterval=30;\n");
    EXPECT_EQ(read.file, u"C:\\Program Files\\windows_exporter\\textfile_inputs\\vaderur.prom");
    EXPECT_EQ(read.intervalSeconds, 30u);
}

TEST(MetricsOptions, IntervalIsAtLeastOneSecond)
{
    EXPECT_EQ(ParseMetricsOptions(u"[General]\nMetricsInterval=0\n").intervalSeconds, 1u);
    EXPECT_EQ(ParseMetricsOptions(u"[General]\nMetricsInterval=-7\n").intervalSeconds, 1u);
    EXPECT_EQ(ParseMetricsOptions(u"[General]\nMetricsInterval=x\n").intervalSeconds, 1u);
    EXPECT_EQ(ParseMetricsOptions(u"[General]\nmetricsinterval=2\n").intervalSeconds, 2u);
}

TEST(MetricsOptions, AnEmptyValueIsNoFile)
{
    EXPECT_TRUE(ParseMetricsOptions(u"[General]\nMetricsFile=\n").file.empty());
    EXPECT_TRUE(ParseMetricsOptions(u"[General]\nMetricsFile=   ;\n").file.empty());
}

}  // namespace
