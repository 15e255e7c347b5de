// Read-only views of the main window's state under the names the rest of the plug-in and its
// tests know: the pane list, its length and the window handle. The MainWindow publishes them
// as it builds and destroys its window; they own nothing.
#pragma once

#include <windows.h>

#include <cstdint>

class CZiveVazudEx;

extern CZiveVazudEx* const* graphList;  // graphCount entries, index = core number; null when no window
extern uint32_t graphCount;              // fixed at window creation, at most 256
extern HWND mainWindow;                  // null when there is no window
