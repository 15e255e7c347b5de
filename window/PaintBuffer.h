// The memory bitmap that a one-pass view (grid, heat map) paints the main window's client area
// into before one copy to the screen, kept from paint to paint so that an update does not
// allocate and clear megabytes of pixels each time. Owned by the view; made again when the
// client area's size changes.
#pragma once

#include "win32/Handles.h"

#include <windows.h>

#include <memory>

class PaintBuffer {
public:
    // A memory DC compatible with screen holding a bitmap of the client area's size, in client
    // coordinates; null when none could be made.
    HDC For(HDC screen, SIZE client);
    // The start of a one-pass paint of window: the bounds of the update region in area and the
    // buffer's DC; null when there is nothing to paint or no buffer could be made.
    HDC Begin(const PaintDc& paint, HWND window, RECT& area);

private:
    SIZE size{};
    MemoryDc memory;
    Bitmap bitmap;
    std::unique_ptr<Selection> selected;
};
