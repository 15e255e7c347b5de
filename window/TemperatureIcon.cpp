#include "window/TemperatureIcon.h"

#include "win32/Handles.h"

#include <cstdint>
#include <cwchar>
#include <vector>

namespace {

// The largest font (down to half the icon's height) whose text is no wider than the icon.
Font FittingFont(HDC dc, const wchar_t* digits, int size)
{
    const int length = static_cast<int>(std::wcslen(digits));
    for (int height = size; height > size / 2; --height) {
        // Without antialiasing the strokes stay crisp at 16 pixels and the colour stays exact.
        Font font(::CreateFontW(-height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                                DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
        if (!font)
            return font;
        SIZE extent{};
        Selection selected(dc, font.Get());
        if (::GetTextExtentPoint32W(dc, digits, length, &extent) && extent.cx <= size)
            return font;
    }
    return Font(::CreateFontW(-(size / 2), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                              DEFAULT_PITCH | FF_SWISS, L"Tahoma"));
}

}  // namespace

HICON DrawTemperatureIcon(const wchar_t* digits, COLORREF background, int size)
{
    if (size <= 0)
        return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    Bitmap colour(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    // All zero: nothing of the square is transparent. Rows of a monochrome bitmap are words.
    const std::vector<uint8_t> clear(static_cast<size_t>((size + 15) / 16 * 2) * static_cast<size_t>(size), 0);
    Bitmap mask(::CreateBitmap(size, size, 1, 1, clear.data()));
    if (!colour || !mask || !bits)
        return nullptr;
    {
        MemoryDc dc(::CreateCompatibleDC(nullptr));
        if (!dc)
            return nullptr;
        Selection bitmapSelected(dc.Get(), colour.Get());
        Brush fill(::CreateSolidBrush(background));
        RECT square{0, 0, size, size};
        ::FillRect(dc.Get(), &square, fill.Get());
        Font font = FittingFont(dc.Get(), digits, size);
        Selection fontSelected(dc.Get(), font.Get());
        ::SetBkMode(dc.Get(), TRANSPARENT);
        ::SetTextColor(dc.Get(), RGB(0, 0, 0));
        ::DrawTextW(dc.Get(), digits, -1, &square, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        ::GdiFlush();
    }
    // GDI leaves the alpha byte at zero; the square is opaque throughout.
    auto* pixels = static_cast<uint32_t*>(bits);
    for (size_t i = 0; i < static_cast<size_t>(size) * static_cast<size_t>(size); ++i)
        pixels[i] |= 0xFF000000u;

    ICONINFO parts{};
    parts.fIcon = TRUE;
    parts.hbmMask = mask.Get();
    parts.hbmColor = colour.Get();
    return ::CreateIconIndirect(&parts);
}
