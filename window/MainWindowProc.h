// The window procedures and callbacks of the main window and its panes, and the "Open folder"
// action. Each forwards to the MainWindow object behind the window; none lets an exception out.
#pragma once

#include "export/SnapshotExport.h"

#include <windows.h>

// The procedure of the main window class: forwards to the object's handler.
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The pane windows' procedure: each pane paints itself.
LRESULT CALLBACK PaneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Opens the folder that receives the pictures (that of the first pane) through the shell;
// nothing without a first pane.
void OpenOutputFolder(HWND owner, const PaneList& panes);
// The log timer's callback: exports every pane of the window it belongs to.
void CALLBACK LogTimerProc(HWND window, UINT message, UINT_PTR id, DWORD time);
