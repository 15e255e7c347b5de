// The plug-in linked into the test program, driven as the host drives the DLL: a fixture that
// gets the plug-in object (its resources are linked in too), releases it after each test and
// removes the settings file the test wrote. Tests that look at panes and windows derive from it.
#pragma once

#include "core/HostRecords.h"
#include "tests/plugin/HostHarness.h"
#include "plugin/CVaderurWnd.h"
#include "plugin/PluginState.h"
#include "tests/support/SettingsFile.h"
#include "window/HeatMapView.h"
#include "window/WindowViews.h"
#include "win32/MessagePump.h"

#include <gtest/gtest.h>
#include <windows.h>

extern "C" PluginRecord* GetPlugin();
extern "C" void ReleasePlugin();

namespace testsupport {

class LinkedPlugin : public ::testing::Test {
protected:
    void SetUp() override { Attach(); }
    void TearDown() override
    {
        ReleasePlugin();
        PumpMessages();
        RemoveSettings();
    }
    // Gets the plug-in object again, as a host does after ReleasePlugin.
    void Attach()
    {
        record = GetPlugin();
        ASSERT_NE(record, nullptr);
        record->info->hostInstance = ::GetModuleHandleW(nullptr);
    }

    PluginRecord* record = nullptr;
};

// A plug-in whose window a test builds with updates and reloads, as the host would; the
// window must be gone once the plug-in is released.
class FedPlugin : public LinkedPlugin {
protected:
    void TearDown() override
    {
        LinkedPlugin::TearDown();
        EXPECT_EQ(mainWindow, nullptr);
    }
    // A fresh plug-in object, as after the host unloaded and loaded it again.
    void Reload()
    {
        ReleasePlugin();
        testhost::Pump();
        Attach();
    }
    void Feed(uint32_t cores, int updates)
    {
        SensorSnapshot snapshot = testhost::MakeSnapshot(cores, 55.0f, 40);
        for (int i = 0; i < updates; ++i)
            record->Update(&snapshot);
        testhost::Pump();
    }
};

// The heat map's cell tips of the live plug-in's window; null under another view.
inline HWND HeatMapCellTips()
{
    const auto* heatMap = dynamic_cast<const HeatMapView*>(&pluginInstance->Window().CurrentView());
    return heatMap ? heatMap->CellTips() : nullptr;
}

}  // namespace testsupport
