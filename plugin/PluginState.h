// The process-wide state of the plug-in: the live plug-in object, the main window and its
// panes. Written and read on the host's thread; the export worker reads graphList and
// graphCount, and the main window's destruction waits for it (see ExportWorkers.h).
#pragma once

#include <windows.h>

#include <cstdint>

class CVaderurWnd;
class CZiveVazudEx;

extern CVaderurWnd* pluginInstance;
extern CZiveVazudEx** graphList;   // graphCount entries, index = core number; null entries skipped
extern uint32_t graphCount;        // fixed at window creation, at most 256
extern HWND mainWindow;
extern wchar_t windowTitle[100];
extern wchar_t windowClassName[100];
