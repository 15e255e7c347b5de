// The About box: the icon, the window title and the copyright line; OK or Escape ends it.
#pragma once

#include <windows.h>

// Runs the box modally over owner, showing title.
void ShowAboutBox(HINSTANCE instance, HWND owner, const wchar_t* title);

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
