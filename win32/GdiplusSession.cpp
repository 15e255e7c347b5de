#include "win32/GdiplusSession.h"

#include <algorithm>
#include <cwchar>
#include <vector>

// GDI+'s headers use min and max unqualified; NOMINMAX hides the macros.
namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus
#include <objidl.h>  // PROPID and IStream, which WIN32_LEAN_AND_MEAN leaves out
#include <gdiplus.h>

namespace {
constexpr wchar_t pngMimeType[] = L"image/png";
}  // namespace

GdiplusSession::GdiplusSession()
{
    Gdiplus::GdiplusStartupInput startup;
    startup.GdiplusVersion = 1;
    startup.DebugEventCallback = nullptr;
    startup.SuppressBackgroundThread = FALSE;
    startup.SuppressExternalCodecs = FALSE;
    if (Gdiplus::GdiplusStartup(&token, &startup, nullptr) != Gdiplus::Ok)
        token = 0;
}

GdiplusSession::~GdiplusSession()
{
    if (token != 0)
        Gdiplus::GdiplusShutdown(token);
}

int FindPngEncoder(CLSID* encoder)
{
    UINT encoderCount = 0;
    UINT bufferSize = 0;
    if (Gdiplus::GetImageEncodersSize(&encoderCount, &bufferSize) != Gdiplus::Ok || bufferSize == 0)
        return -1;
    std::vector<unsigned char> buffer(bufferSize);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(encoderCount, bufferSize, codecs) != Gdiplus::Ok)
        return -1;
    for (UINT i = 0; i < encoderCount; ++i) {
        const wchar_t* mime = codecs[i].MimeType;
        if (mime && std::wcscmp(mime, pngMimeType) == 0) {
            if (encoder)
                *encoder = codecs[i].Clsid;
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool SavePixelsAsPng(int width, int height, const void* pixels, const wchar_t* path)
{
    CLSID encoder{};
    if (FindPngEncoder(&encoder) < 0)
        return false;
    Gdiplus::Bitmap picture(width, height, width * 4, PixelFormat32bppRGB,
                            static_cast<BYTE*>(const_cast<void*>(pixels)));
    return picture.GetLastStatus() == Gdiplus::Ok && picture.Save(path, &encoder, nullptr) == Gdiplus::Ok;
}
