// A test fixture over the real Vaderur.dll, loaded by name before each test as the host loads
// it and released and unloaded after it; close requests the plug-in sends are recorded.
#pragma once

#include "core/HostRecords.h"
#include "tests/plugin/HostHarness.h"
#include "tests/support/VaderurDll.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <vector>

namespace testsupport {

class DllFixture : public ::testing::Test {
protected:
    using GetPluginProc = VaderurDll::GetPluginProc;
    using ReleasePluginProc = VaderurDll::ReleasePluginProc;

    // A derived SetUp returns when this one failed (HasFatalFailure).
    void SetUp() override
    {
        dll.emplace();
        ASSERT_TRUE(dll->Loaded()) << ::GetLastError();
        module = dll->Module();
        getPlugin = dll->GetPlugin();
        releasePlugin = dll->ReleasePlugin();
        closeRequests.clear();
    }
    // ReleasePlugin, then the host's window (if the test made one), then FreeLibrary.
    void TearDown() override
    {
        if (releasePlugin)
            releasePlugin();
        testhost::Pump();
        if (hostWindow)
            ::DestroyWindow(hostWindow);
        dll.reset();
    }

    static void RecordCloseRequest(PluginRecord* record) { closeRequests.push_back(record); }

    static inline std::vector<PluginRecord*> closeRequests;
    std::optional<VaderurDll> dll;
    HMODULE module = nullptr;
    GetPluginProc getPlugin = nullptr;
    ReleasePluginProc releasePlugin = nullptr;
    HWND hostWindow = nullptr;
};

}  // namespace testsupport
