#include "tests/export/PluginHostSupport.h"

#include "tests/export/ExportTestSupport.h"
#include "tests/plugin/HostHarness.h"
#include "tests/support/SettingsFile.h"

#include <cstdio>
#include <string>
#include <vector>

namespace exporttest {

void WriteSettingsFile(int graphHeight, int logIntervalMinutes, COLORREF background, const std::string& viewKey)
{
    char backgroundKey[32];
    std::snprintf(backgroundKey, sizeof backgroundKey, "BGColor=%06lX;", static_cast<unsigned long>(background));
    std::vector<std::string> lines{"GraphWidth=792;", "GraphHeight=" + std::to_string(graphHeight) + ";",
                                   backgroundKey, "FrameColor=00F0F0;", "GraphColor=0000F0;", "GridColor=00004F;",
                                   "LoadGraphColor=00F000;", "MessageColor=F0F000;", "TextColor=FFFFFF;",
                                   "TitleColor=FFFFFF;", "XAxisColor=007070;", "ShowXAxis=0;", "ShowSyatrayIcon=0;",
                                   "StartMinimized=0;", "RangeMax=100;", "RangeMin=0;"};
    if (!viewKey.empty())
        lines.push_back(viewKey);
    lines.insert(lines.end(), {"", "[General]", "PollInterval=1;",
                               "LogInterval=" + std::to_string(logIntervalMinutes) + ";", "Transparency=0;",
                               "AlwaysOnTop=0;", ""});
    testsupport::WriteSettings(lines);
}

PluginHost::PluginHost()
{
    if (!dll.Loaded())
        return;
    releasePlugin = dll.ReleasePlugin();
    record = dll.GetPlugin()();
    if (record)
        record->info->hostInstance = dll.Module();
}

PluginHost::~PluginHost()
{
    ReleaseAndUnload(10000);
}

void PluginHost::Update(uint32_t cores, float temperature, uint32_t load)
{
    const SensorSnapshot snapshot = testhost::MakeSnapshot(cores, temperature, load);
    if (record)
        record->Update(&snapshot);
}

HWND PluginHost::MainWindow() const
{
    return testhost::PluginMainWindow();
}

void PluginHost::Command(int id)
{
    if (HWND window = MainWindow())
        ::SendMessageW(window, WM_COMMAND, static_cast<WPARAM>(id), 0);
}

void PluginHost::Release()
{
    if (releasePlugin)
        releasePlugin();
    releasePlugin = nullptr;
    testhost::Pump();
}

bool PluginHost::ReleaseAndUnload(DWORD timeoutMs)
{
    if (!dll.Module())
        return true;
    Release();
    dll.Unload();
    record = nullptr;
    // Export workers give their own reference back as they exit.
    return WaitUntil([] { return ::GetModuleHandleW(L"Vaderur.dll") == nullptr; }, timeoutMs);
}

}  // namespace exporttest
