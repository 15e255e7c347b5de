#include "host/WindowScreenshot.h"

#include "win32/Handles.h"
#include "host/HostConsole.h"

#include <algorithm>
#include <vector>

// GDI+'s headers use min and max unqualified; NOMINMAX hides the macros.
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <objidl.h>  // PROPID and IStream, which WIN32_LEAN_AND_MEAN leaves out
#include <gdiplus.h>

namespace {

// The DC of the whole window (GetWindowDC), frame and menu included.
class WholeWindowDc {
public:
    explicit WholeWindowDc(HWND w) : window(w), dc(GetWindowDC(w)) {}
    ~WholeWindowDc()
    {
        if (dc)
            ReleaseDC(window, dc);
    }
    WholeWindowDc(const WholeWindowDc&) = delete;
    WholeWindowDc& operator=(const WholeWindowDc&) = delete;
    HDC Get() const { return dc; }

private:
    HWND window;
    HDC dc;
};

class GdiplusSession {
public:
    GdiplusSession()
    {
        Gdiplus::GdiplusStartupInput input;
        started = Gdiplus::GdiplusStartup(&token, &input, nullptr) == Gdiplus::Ok;
    }
    ~GdiplusSession()
    {
        if (started)
            Gdiplus::GdiplusShutdown(token);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    bool Started() const { return started; }

private:
    ULONG_PTR token = 0;
    bool started = false;
};

bool FindPngEncoderClsid(CLSID& encoder)
{
    UINT count = 0;
    UINT bytes = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &bytes) != Gdiplus::Ok || bytes == 0)
        return false;
    std::vector<unsigned char> buffer(bytes);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, bytes, codecs) != Gdiplus::Ok)
        return false;
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType && lstrcmpW(codecs[i].MimeType, L"image/png") == 0) {
            encoder = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

bool SavePixelsAsPng(int width, int height, void* pixels, const std::wstring& path, std::wstring& error)
{
    GdiplusSession gdiplus;
    CLSID encoder;
    if (!gdiplus.Started() || !FindPngEncoderClsid(encoder)) {
        error = L"GDI+ offers no PNG encoder";
        return false;
    }
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppRGB,
                                                       static_cast<BYTE*>(pixels), &bitmap) != Gdiplus::Ok) {
        error = L"GDI+ could not take the window's pixels";
        return false;
    }
    const Gdiplus::GpStatus saved = Gdiplus::DllExports::GdipSaveImageToFile(bitmap, path.c_str(), &encoder, nullptr);
    Gdiplus::DllExports::GdipDisposeImage(bitmap);
    if (saved != Gdiplus::Ok) {
        error = L"GDI+ could not write " + path + L" (status " + std::to_wstring(static_cast<int>(saved)) + L")";
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
    WholeWindowDc source(window);
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
    return SavePixelsAsPng(width, height, pixels, path, error);
}
