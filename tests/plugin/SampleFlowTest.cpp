// The sample flow inside the plug-in: the same code as the DLL, linked into the test so the
// panes' histories can be read back.
#include "tests/support/LinkedPlugin.h"
#include "graph/CZiveVazudEx.h"
#include "plugin/CVaderurWnd.h"
#include "plugin/PluginState.h"
#include "window/WindowViews.h"
#include "tests/plugin/HostHarness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

class SampleFlow : public testsupport::LinkedPlugin {
protected:
    void TearDown() override
    {
        LinkedPlugin::TearDown();
        EXPECT_EQ(mainWindow, nullptr);
        EXPECT_EQ(graphList, nullptr);
    }
};

TEST_F(SampleFlow, EveryUpdateAddsOneSampleToBothHistoriesOfEveryPane)
{
    SensorSnapshot s = testhost::MakeSnapshot(4, 59.99f, 100);
    for (int i = 0; i < 25; ++i)
        record->Update(&s);
    testhost::Pump();
    ASSERT_EQ(graphCount, 4u);
    ASSERT_NE(graphList, nullptr);
    for (uint32_t i = 0; i < graphCount; ++i) {
        ASSERT_NE(graphList[i], nullptr);
        EXPECT_EQ(graphList[i]->TempHistory().Count(), 25);
        EXPECT_EQ(graphList[i]->History().Count(), 25);
        EXPECT_EQ(graphList[i]->TempHistory().Latest(), 59);
        EXPECT_EQ(graphList[i]->History().Latest(), 100);
    }
}

TEST_F(SampleFlow, EachCoreGetsItsOwnReadings)
{
    SensorSnapshot s = testhost::MakeSnapshot(3);
    const float temperatures[] = {45.9f, -0.5f, std::nanf("")};
    for (uint32_t i = 0; i < 3; ++i) {
        s.coreTemperature[i] = temperatures[i];
        s.coreLoad[i] = 10 * (i + 1);
    }
    record->Update(&s);
    s.coreTemperature[2] = std::numeric_limits<float>::infinity();
    record->Update(&s);
    ASSERT_EQ(graphCount, 3u);
    EXPECT_EQ(graphList[0]->TempHistory().ValueAt(1), 45);
    EXPECT_EQ(graphList[1]->TempHistory().ValueAt(1), 0);
    EXPECT_EQ(graphList[2]->TempHistory().ValueAt(1), 0);
    EXPECT_EQ(graphList[2]->TempHistory().Latest(), 2147483647);
    EXPECT_EQ(graphList[0]->History().Latest(), 10);
    EXPECT_EQ(graphList[2]->History().Latest(), 30);
}

TEST_F(SampleFlow, ALaterCoreCountChangesNeitherPanesNorPushes)
{
    SensorSnapshot four = testhost::MakeSnapshot(4);
    record->Update(&four);
    SensorSnapshot eight = testhost::MakeSnapshot(8);
    record->Update(&eight);
    SensorSnapshot one = testhost::MakeSnapshot(1);
    record->Update(&one);
    EXPECT_EQ(graphCount, 4u);
    for (uint32_t i = 0; i < 4; ++i)
        EXPECT_EQ(graphList[i]->History().Count(), 3);
}

TEST_F(SampleFlow, NoCoresMeansNoPanesAndNoSamples)
{
    SensorSnapshot none = testhost::MakeSnapshot(0);
    record->Update(&none);
    record->Update(&none);
    EXPECT_EQ(graphCount, 0u);
    EXPECT_NE(mainWindow, nullptr);
}

TEST_F(SampleFlow, AHostReportingMoreThan256CoresGets256Panes)
{
    SensorSnapshot many = testhost::MakeSnapshot(256, 70.0f, 50);
    many.coreCount = 100000;  // beyond the load block: must never read past the snapshot
    record->Update(&many);
    record->Update(&many);
    ASSERT_EQ(graphCount, 256u);
    EXPECT_EQ(graphList[255]->History().Count(), 2);
    EXPECT_EQ(graphList[255]->TempHistory().Latest(), 70);
}

TEST_F(SampleFlow, ExitStopsTheFlowWithoutHarm)
{
    SensorSnapshot s = testhost::MakeSnapshot(2);
    record->Update(&s);
    ASSERT_NE(mainWindow, nullptr);
    ::DestroyWindow(mainWindow);  // what "E&xit" does
    EXPECT_EQ(graphList, nullptr);
    record->Update(&s);  // no pane list: nothing is pushed, nothing is invalidated
    EXPECT_EQ(record->Start(), 0);
    record->Stop();
}

}  // namespace
