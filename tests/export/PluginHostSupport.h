// Vaderur.dll driven as the Zentrix host drives it: loaded by name from the test's own
// folder, given snapshots, sent menu commands, released and unloaded.
#pragma once

#include "core/HostRecords.h"
#include "tests/support/VaderurDll.h"

#include <windows.h>

#include <string>

namespace exporttest {

// Writes "Vaderur.ini" in the current folder: the default keys with the test colours, the
// given pane size and log interval (minutes).
// viewKey: one more line of the plug-in's section (a view's key), or empty.
void WriteSettingsFile(int graphHeight, int logIntervalMinutes, COLORREF background,
                       const std::string& viewKey = "");

class PluginHost {
public:
    PluginHost();
    ~PluginHost();
    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    bool Loaded() const { return record != nullptr; }
    void Update(uint32_t cores, float temperature, uint32_t load);
    HWND MainWindow() const;
    // Sends a menu command to the main window, as a click on the menu item would.
    void Command(int id);
    // ReleasePlugin alone: the DLL stays loaded.
    void Release();
    // ReleasePlugin (unless done), then FreeLibrary; true once the module has left the process.
    bool ReleaseAndUnload(DWORD timeoutMs);

private:
    testsupport::VaderurDll dll;
    PluginRecord* record = nullptr;
    void (*releasePlugin)() = nullptr;
};

}  // namespace exporttest
