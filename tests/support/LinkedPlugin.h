// The plug-in linked into the test program, driven as the host drives the DLL: a fixture that
// gets the plug-in object (its resources are linked in too), releases it after each test and
// removes the settings file the test wrote. Tests that look at panes and windows derive from it.
#pragma once

#include "core/HostRecords.h"
#include "plugin/CVaderurWnd.h"
#include "plugin/PluginState.h"
#include "tests/support/SettingsFile.h"
#include "window/HeatMapView.h"
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

// The heat map's cell tips of the live plug-in's window; null under another view.
inline HWND HeatMapCellTips()
{
    const auto* heatMap = dynamic_cast<const HeatMapView*>(&pluginInstance->Window().CurrentView());
    return heatMap ? heatMap->CellTips() : nullptr;
}

}  // namespace testsupport
