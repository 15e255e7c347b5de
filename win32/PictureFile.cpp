#include "win32/PictureFile.h"

#include "win32/GdiplusSession.h"
#include "win32/Handles.h"
#include "win32/PictureFileSeam.h"
#include "win32/TemporaryFiles.h"

#include <windows.h>
#include <objidl.h>  // GDI+ needs it and WIN32_LEAN_AND_MEAN leaves it out
#include <gdiplus.h>

#include <atomic>

namespace {

std::atomic<BmpWrittenHook> bmpWrittenHook{nullptr};

bool WriteAll(HANDLE file, const void* data, DWORD size)
{
    DWORD written = 0;
    return ::WriteFile(file, data, size, &written, nullptr) && written == size;
}

}  // namespace

bool WriteBmpFile(const wchar_t* path, const BmpPicture& picture, const void* pixels)
{
    KernelHandle file(::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
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
        Gdiplus::Image image(bmpPath.Text());
        if (image.GetWidth() == 0)
            return false;  // GDI+ could not load it: the BMP stays for the next export to replace
        CLSID encoder{};
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
