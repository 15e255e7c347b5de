// The host's side of an export: finds the plug-in's main window among the host thread's
// windows, sends it "Create &PNG" and pumps messages until every pane's PNG in the host
// executable's folder has been written anew. Free functions used by the host's run.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// The plug-in's main window: class "MOLTAVIS", owned by the calling thread. Null if none.
HWND FindPluginMainWindow();

// Waits for "Core #0.png" .. "Core #<paneCount-1>.png". True when all were written
// within timeoutMs; otherwise false with a reason naming the missing files.
bool ExportPanePngs(HWND pluginWindow, uint32_t paneCount, uint32_t timeoutMs, std::wstring& error);
