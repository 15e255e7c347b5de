// A picture of a window as it shows on screen, frame and menu included: for the host's
// screenshot and the tests' pictures of the running plug-in.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

struct WindowPicture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB, top row first
};

// Copies what the window shows now; false when it has no area or no memory is left for it.
bool CaptureWindow(HWND window, WindowPicture& picture);
