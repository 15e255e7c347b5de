#include "win32/PictureFile.h"

#include "win32/GdiplusSession.h"
#include "win32/Handles.h"
#include "win32/PictureFileSeam.h"
#include "win32/TemporaryFiles.h"

#include <windows.h>
#include <objidl.h>  // GDI+ needs it and WIN32_LEAN_AND_MEAN leaves it out
#include <gdiplus.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <new>
#include <optional>

namespace {

std::atomic<BmpWrittenHook> bmpWrittenHook{nullptr};

bool WriteAll(HANDLE file, const void* data, DWORD size)
{
    DWORD written = 0;
    return ::WriteFile(file, data, size, &written, nullptr) && written == size;
}

uint32_t Read32(const uint8_t* bytes)
{
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

uint16_t Read16(const uint8_t* bytes)
{
    return static_cast<uint16_t>(bytes[0] | bytes[1] << 8);
}

// A BMP as the export writes it (uncompressed, bottom-up, 16, 24 or 32 bits per pixel), read
// into one buffer turned top-down. GDI+ then encodes that buffer in place: loading the file
// through GDI+ would keep its decoder's copy of the picture beside the bitmap's own, two
// pictures where one does.
struct BmpPixels {
    int32_t width = 0;
    int32_t height = 0;
    uint32_t rowSize = 0;
    Gdiplus::PixelFormat format = PixelFormatUndefined;
    int32_t xPixelsPerMetre = 0;
    int32_t yPixelsPerMetre = 0;
    std::unique_ptr<uint8_t[]> rows;
};

bool ReadAll(HANDLE file, void* data, DWORD size)
{
    DWORD read = 0;
    return ::ReadFile(file, data, size, &read, nullptr) && read == size;
}

// False for anything but such a BMP, or when it cannot be read whole.
bool ReadBmpPixels(const wchar_t* path, BmpPixels& bmp)
{
    KernelHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        return false;
    uint8_t headers[bmpHeadersSize];
    if (!ReadAll(file.Get(), headers, bmpHeadersSize))
        return false;
    const uint8_t* info = headers + bmpFileHeaderSize;
    const int32_t width = static_cast<int32_t>(Read32(info + 4));
    const int32_t height = static_cast<int32_t>(Read32(info + 8));
    const uint16_t bitsPerPixel = Read16(info + 14);
    if (Read16(headers) != 0x4D42 || Read32(headers + 10) != bmpHeadersSize || Read32(info) != bmpInfoHeaderSize ||
        Read16(info + 12) != 1 || Read32(info + 16) != 0 || height <= 0)
        return false;
    const std::optional<BmpGeometry> geometry = MakeBmpGeometry(width, height, bitsPerPixel);
    if (!geometry)
        return false;
    bmp.rows.reset(new (std::nothrow) uint8_t[geometry->imageSize]);
    if (!bmp.rows || !ReadAll(file.Get(), bmp.rows.get(), geometry->imageSize))
        return false;
    // Bottom-up to top-down, in place.
    std::unique_ptr<uint8_t[]> spare(new (std::nothrow) uint8_t[geometry->rowSize]);
    if (!spare)
        return false;
    for (int32_t top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
        uint8_t* upper = bmp.rows.get() + static_cast<size_t>(top) * geometry->rowSize;
        uint8_t* lower = bmp.rows.get() + static_cast<size_t>(bottom) * geometry->rowSize;
        std::memcpy(spare.get(), upper, geometry->rowSize);
        std::memcpy(upper, lower, geometry->rowSize);
        std::memcpy(lower, spare.get(), geometry->rowSize);
    }
    bmp.width = width;
    bmp.height = height;
    bmp.rowSize = geometry->rowSize;
    // The formats GDI+ loads these files as.
    bmp.format = bitsPerPixel == 32   ? PixelFormat32bppRGB
                 : bitsPerPixel == 24 ? PixelFormat24bppRGB
                                      : PixelFormat16bppRGB555;
    bmp.xPixelsPerMetre = static_cast<int32_t>(Read32(info + 24));
    bmp.yPixelsPerMetre = static_cast<int32_t>(Read32(info + 28));
    return true;
}

}  // namespace

bool WriteBmpFile(const wchar_t* path, const BmpPicture& picture, const void* pixels)
{
    // The name is written anew, never through a link that may stand under it: whatever has
    // the name goes first, and a file is only created.
    ::DeleteFileW(path);
    KernelHandle file(::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file)
        return false;
    // A short write is not checked here: GDI+ then refuses or reads what the file holds.
    WriteAll(file.Get(), picture.fileHeader.data(), bmpFileHeaderSize) &&
        WriteAll(file.Get(), picture.infoHeader.data(), bmpInfoHeaderSize) &&
        WriteAll(file.Get(), pixels, picture.geometry.imageSize);
    return true;
}

// The PNG is written under a temporary name and only then put in place of the old one, so a
// failed save never leaves a cut picture behind.
bool ConvertBmpToPng(const ExportPath& bmpPath, const ExportPath& pngPath, const ExportPath& tmpPath)
{
    if (BmpWrittenHook hook = bmpWrittenHook.load())
        hook(bmpPath.Text());
    bool saved = false;
    bool replaced = false;
    {
        BmpPixels bmp;
        if (!ReadBmpPixels(bmpPath.Text(), bmp))
            return false;  // not readable: the BMP stays for the next export to replace
        Gdiplus::Bitmap image(bmp.width, bmp.height, static_cast<INT>(bmp.rowSize), bmp.format, bmp.rows.get());
        if (image.GetLastStatus() != Gdiplus::Ok || image.GetWidth() == 0)
            return false;  // GDI+ could not take it: the BMP stays as well
        // The resolution GDI+ reads from the file's header, which the PNG carries on.
        image.SetResolution(static_cast<Gdiplus::REAL>(bmp.xPixelsPerMetre * 0.0254),
                            static_cast<Gdiplus::REAL>(bmp.yPixelsPerMetre * 0.0254));
        CLSID encoder{};
        // GDI+ writes through whatever has the name: a link left under it goes first.
        ::DeleteFileW(tmpPath.Text());
        if (FindPngEncoder(&encoder) >= 0)
            saved = image.Save(tmpPath.Text(), &encoder, nullptr) == Gdiplus::Ok;
    }
    if (saved) {
        // A read-only picture is the user's: keep it, as a save straight onto it would.
        const DWORD attributes = ::GetFileAttributesW(pngPath.Text());
        const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
        // A picture is often read for a moment (a viewer reloading it, a scanner, a program
        // polling for it): such a reader is waited out, for about a second at most.
        replaced = !readOnly && ReplaceWhenFree(tmpPath.Text(), pngPath.Text(), 50, 20);
        if (!replaced)
            ::DeleteFileW(tmpPath.Text());
    } else {
        ::DeleteFileW(tmpPath.Text());
    }
    ::DeleteFileW(bmpPath.Text());
    return replaced;
}

void SetBmpWrittenHook(BmpWrittenHook hook)
{
    bmpWrittenHook.store(hook);
}

BmpPicture MakeBmpPicture(const BmpGeometry& geometry, int32_t horizontalDpi, int32_t verticalDpi)
{
    BmpPicture picture;
    picture.geometry = geometry;
    picture.fileHeader = MakeBmpFileHeader(geometry);
    picture.infoHeader = MakeBmpInfoHeader(geometry, PixelsPerMetre(horizontalDpi), PixelsPerMetre(verticalDpi));
    return picture;
}

void RemoveStalePictureTemporaries(const wchar_t* folder)
{
    const ExportPath pattern(folder, L"Core #*", L".tmp");
    if (!pattern.Fits())
        return;
    RemoveStaleTemporaries(folder, L"Core #*",
                           [](const wchar_t* name, const void*) { return IsPictureTemporaryName(name); }, nullptr);
}
