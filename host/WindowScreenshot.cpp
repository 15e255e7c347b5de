#include "host/WindowScreenshot.h"

#include "host/HostConsole.h"
#include "win32/GdiplusSession.h"
#include "win32/Handles.h"

#include <string>

namespace {

bool SavePixels(int width, int height, const void* pixels, const std::wstring& path, std::wstring& error)
{
    GdiplusSession gdiplus;
    if (!gdiplus.Started() || FindPngEncoder(nullptr) < 0) {
        error = L"GDI+ offers no PNG encoder";
        return false;
    }
    if (!SavePixelsAsPng(width, height, pixels, path.c_str())) {
        error = L"GDI+ could not write " + path;
        return false;
    }
    return true;
}

}  // namespace

bool SaveWindowScreenshot(HWND window, const std::wstring& path, std::wstring& error)
{
    if (!IsWindow(window) || !IsWindowVisible(window) || IsIconic(window)) {
        error = L"the plug-in window is hidden or minimized; no screenshot";
        return false;
    }
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW | RDW_ALLCHILDREN);

    RECT frame;
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    if (width <= 0 || height <= 0) {
        error = L"the plug-in window has no area; no screenshot";
        return false;
    }

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, as GDI+ reads the rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    WindowDc source(window, WindowDc::wholeWindow);
    MemoryDc memory(CreateCompatibleDC(source.Get()));
    Bitmap picture(CreateDIBSection(source.Get(), &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (!source.Get() || !memory || !picture || !pixels) {
        error = L"no memory for a " + std::to_wstring(width) + L" x " + std::to_wstring(height) + L" screenshot";
        return false;
    }
    {
        Selection selected(memory.Get(), picture.Get());
        BitBlt(memory.Get(), 0, 0, width, height, source.Get(), 0, 0, SRCCOPY);
        GdiFlush();
    }
    return SavePixels(width, height, pixels, path, error);
}
