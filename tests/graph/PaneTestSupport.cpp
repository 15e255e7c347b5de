#include "PaneTestSupport.h"

#include "graph/PaneDrawing.h"
#include "core/TextFormat.h"

// WIN32_LEAN_AND_MEAN leaves out the COM types that the GDI+ headers use.
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>

namespace panetest {

PaneWindow::PaneWindow(int width, int height)
{
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    frame = ::CreateWindowExW(0, L"STATIC", L"pane test", WS_OVERLAPPEDWINDOW, 0, 0, width + 40, height + 60,
                              nullptr, nullptr, instance, nullptr);
    pane = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, width, height, frame, nullptr,
                             instance, nullptr);
}

PaneWindow::~PaneWindow()
{
    if (frame)
        ::DestroyWindow(frame);
}

Canvas::Canvas(int w, int h) : surface(w, h) {}

COLORREF Canvas::At(int x, int y) const
{
    ::GdiFlush();
    if (!surface || x < 0 || y < 0 || x >= Width() || y >= Height())
        return CLR_INVALID;
    const uint32_t rgb = surface.Bits()[static_cast<size_t>(y) * Width() + x] & 0xFFFFFF;
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

void Canvas::Fill(COLORREF colour)
{
    Brush brush(::CreateSolidBrush(colour));
    const RECT all{0, 0, Width(), Height()};
    ::FillRect(Dc(), &all, brush.Get());
}

std::vector<uint32_t> Canvas::Pixels() const
{
    std::vector<uint32_t> pixels = surface.Pixels();
    for (uint32_t& p : pixels)
        p &= 0xFFFFFF;
    return pixels;
}

void Canvas::CopyFrom(const Canvas& other)
{
    ::BitBlt(Dc(), 0, 0, Width(), Height(), other.Dc(), 0, 0, SRCCOPY);
}

GraphSettings DefaultRecord(const wchar_t* title)
{
    return RecordOf(PaneStyle{}, title);
}

bool ShowsText(const Canvas& painted, int x, int y, UINT align, const std::wstring& text, COLORREF textColour,
               COLORREF background)
{
    Canvas redrawn(painted.Width(), painted.Height());
    redrawn.CopyFrom(painted);
    SIZE extent{};
    {
        Font font = CreateLabelFont();
        Selection selected(redrawn.Dc(), font.Get());
        ::SetBkColor(redrawn.Dc(), background);
        ::SetTextColor(redrawn.Dc(), textColour);
        ::SetTextAlign(redrawn.Dc(), align);
        ::TextOutW(redrawn.Dc(), x, y, text.c_str(), static_cast<int>(text.size()));
        ::GetTextExtentPoint32W(redrawn.Dc(), text.c_str(), static_cast<int>(text.size()), &extent);
    }
    if (redrawn.Pixels() != painted.Pixels())
        return false;
    // A longer text than expected would survive the redraw: its tail must not be there.
    const bool rightAligned = (align & TA_RIGHT) != 0;
    const int tailFrom = rightAligned ? x - extent.cx - 8 : x + extent.cx;
    for (int ty = y; ty < y + extent.cy; ++ty)
        for (int tx = tailFrom; tx < tailFrom + 8; ++tx)
            if (tx >= 0 && ty >= 0 && tx < painted.Width() && ty < painted.Height() &&
                painted.At(tx, ty) != background)
                return false;
    return true;
}

int CountColour(const Canvas& canvas, const RECT& area, COLORREF colour)
{
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            n += canvas.At(x, y) == colour ? 1 : 0;
    return n;
}

bool WritePng(const std::wstring& path, int width, int height, const std::vector<uint32_t>& pixels)
{
    return SavePixelsAsPng(width, height, pixels.data(), path.c_str());
}

bool ReadPng(const std::wstring& path, int& width, int& height, std::vector<uint32_t>& pixels)
{
    Gdiplus::Bitmap image(path.c_str());
    if (image.GetLastStatus() != Gdiplus::Ok)
        return false;
    width = static_cast<int>(image.GetWidth());
    height = static_cast<int>(image.GetHeight());
    Gdiplus::Rect all(0, 0, width, height);
    Gdiplus::BitmapData data{};
    if (image.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppRGB, &data) != Gdiplus::Ok)
        return false;
    pixels.assign(static_cast<size_t>(width) * height, 0);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const BYTE*>(data.Scan0) + y * data.Stride);
        for (int x = 0; x < width; ++x)
            pixels[static_cast<size_t>(y) * width + x] = row[x] & 0xFFFFFF;
    }
    image.UnlockBits(&data);
    return true;
}

Worker::Worker(std::function<void()> w) : work(std::move(w))
{
    thread = KernelHandle(::CreateThread(nullptr, 0, &Worker::Run, this, 0, nullptr));
}

Worker::~Worker()
{
    // A worker still blocked when its test ends is left to the process exit, not waited for.
    if (thread)
        ::WaitForSingleObject(thread.Get(), 10000);
}

bool Worker::Finished(DWORD timeoutMs)
{
    return thread && ::WaitForSingleObject(thread.Get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD WINAPI Worker::Run(LPVOID self)
{
    static_cast<Worker*>(self)->work();
    return 0;
}

}  // namespace panetest
