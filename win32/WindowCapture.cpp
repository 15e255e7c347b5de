#include "win32/WindowCapture.h"

#include "win32/Handles.h"

#include <cstring>

bool CaptureWindow(HWND window, WindowPicture& picture)
{
    RECT frame{};
    if (!::GetWindowRect(window, &frame))
        return false;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    if (width <= 0 || height <= 0)
        return false;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, as the picture keeps its rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    WindowDc source(window, WindowDc::wholeWindow);
    MemoryDc memory(::CreateCompatibleDC(source.Get()));
    Bitmap section(::CreateDIBSection(source.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!source || !memory || !section || !bits)
        return false;
    {
        Selection selected(memory.Get(), section.Get());
        ::BitBlt(memory.Get(), 0, 0, width, height, source.Get(), 0, 0, SRCCOPY);
        ::GdiFlush();
    }
    picture.width = width;
    picture.height = height;
    picture.pixels.resize(static_cast<size_t>(width) * height);
    std::memcpy(picture.pixels.data(), bits, picture.pixels.size() * sizeof(uint32_t));
    return true;
}
