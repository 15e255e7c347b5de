#include "tests/export/PluginHostSupport.h"

#include "tests/export/ExportTestSupport.h"
#include "tests/plugin/HostHarness.h"

#include <cstdio>

namespace exporttest {

void WriteSettingsFile(int graphHeight, int logIntervalMinutes, COLORREF background)
{
    FILE* file = std::fopen("Vaderur.ini", "wb");
    if (!file)
        return;
    std::fprintf(file,
                 "[Zentrix Vaderur]\r\nGraphWidth=792;\r\nGraphHeight=%d;\r\nBGColor=%06lX;\r\n"
                 "FrameColor=00F0F0;\r\nGraphColor=0000F0;\r\nGridColor=00004F;\r\nLoadGraphColor=00F000;\r\n"
                 "MessageColor=F0F000;\r\nTextColor=FFFFFF;\r\nTitleColor=FFFFFF;\r\nXAxisColor=007070;\r\n"
                 "ShowXAxis=0;\r\nShowSyatrayIcon=0;\r\nStartMinimized=0;\r\nRangeMax=100;\r\nRangeMin=0;\r\n"
                 "\r\n[General]\r\nPollInterval=1;\r\nLogInterval=%d;\r\nTransparency=0;\r\nAlwaysOnTop=0;\r\n\r\n",
                 graphHeight, static_cast<unsigned long>(background), logIntervalMinutes);
    std::fclose(file);
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
