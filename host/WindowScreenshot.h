// Saves a window as it shows, frame and menu included, as a PNG file through GDI+.
// A free function for the host's run; it starts and stops GDI+ for itself.
#pragma once

#include <windows.h>

#include <string>

// Repaints the window and its children first. False with a reason when the window is
// hidden or minimized, or the picture cannot be taken or saved.
bool SaveWindowScreenshot(HWND window, const std::wstring& path, std::wstring& error);
