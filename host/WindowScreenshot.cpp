#include "host/WindowScreenshot.h"

#include "win32/GdiplusSession.h"
#include "win32/WindowCapture.h"

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

    WindowPicture picture;
    if (!CaptureWindow(window, picture)) {
        error = L"the plug-in window could not be captured (no area, or no memory); no screenshot";
        return false;
    }
    return SavePixels(picture.width, picture.height, picture.pixels.data(), path, error);
}
