// Pixels read back exactly: a top-down 32-bit DIB section selected into a memory DC, and an
// icon's colour bitmap read as 32-bit pixels. The one read-back the Windows tests share.
#pragma once

#include "win32/Handles.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace testsupport {

// A 32-bit, top-row-first DIB of the given size.
inline BITMAPINFO Dib32Info(int width, int height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// A DIB section selected into its own memory DC: what GDI draws there is read back unchanged.
class DibSurface {
public:
    DibSurface(int width, int height) : width(width), height(height), dc(::CreateCompatibleDC(nullptr))
    {
        const BITMAPINFO info = Dib32Info(width, height);
        void* memory = nullptr;
        bitmap = Bitmap(::CreateDIBSection(dc.Get(), &info, DIB_RGB_COLORS, &memory, nullptr, 0));
        bits = static_cast<uint32_t*>(memory);
        selected.emplace(dc.Get(), bitmap.Get());
    }
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

    explicit operator bool() const { return bits != nullptr; }
    HDC Dc() const { return dc.Get(); }
    int Width() const { return width; }
    int Height() const { return height; }
    // The memory itself, 0xAARRGGBB top row first; flush GDI before reading what it drew.
    uint32_t* Bits() const { return bits; }
    size_t Count() const { return bits ? static_cast<size_t>(width) * static_cast<size_t>(height) : 0; }
    // A copy of the pixels after GDI has finished drawing.
    std::vector<uint32_t> Pixels() const
    {
        ::GdiFlush();
        return std::vector<uint32_t>(bits, bits + Count());
    }

private:
    int width;
    int height;
    MemoryDc dc;
    Bitmap bitmap;
    uint32_t* bits = nullptr;
    std::optional<Selection> selected;
};

struct IconPixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;  // 0xAARRGGBB, top row first

    size_t CountRgb(uint32_t rgb) const
    {
        size_t n = 0;
        for (uint32_t p : pixels)
            n += (p & 0x00FFFFFF) == rgb;
        return n;
    }
};

// The icon's colour bitmap as 32-bit pixels; empty for an icon without one or when GDI refuses.
inline IconPixels ReadIconPixels(HICON icon)
{
    IconPixels read;
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info))
        return read;
    Bitmap mask(info.hbmMask);
    Bitmap colour(info.hbmColor);
    BITMAP bm{};
    if (!colour || !::GetObjectW(colour.Get(), sizeof bm, &bm))
        return read;
    BITMAPINFO bi = Dib32Info(bm.bmWidth, bm.bmHeight);
    read.pixels.resize(static_cast<size_t>(bm.bmWidth) * static_cast<size_t>(bm.bmHeight));
    WindowDc screen(nullptr);
    if (::GetDIBits(screen.Get(), colour.Get(), 0, static_cast<UINT>(bm.bmHeight), read.pixels.data(), &bi,
                    DIB_RGB_COLORS) != bm.bmHeight)
        return IconPixels{};
    read.width = bm.bmWidth;
    read.height = bm.bmHeight;
    return read;
}

}  // namespace testsupport
