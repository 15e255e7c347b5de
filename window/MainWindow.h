// Builds the plug-in's main window once per plug-in object: class, window, size, panes,
// log timer, tray icon. The window belongs to the host's thread.
#pragma once

#include <windows.h>

class CVaderurWnd;

bool InitMainWindow(CVaderurWnd* plugin, HINSTANCE instance);
void RegisterMainWindowClass(HINSTANCE instance);
int CreateMainWindow(CVaderurWnd* plugin, HINSTANCE instance);
// Grows the window so the client height is a multiple of the pane count.
void SnapClientHeight(HWND window);

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK PaneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
