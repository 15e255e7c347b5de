#include "win32/PictureFile.h"

#include "win32/GdiplusSession.h"
#include "win32/Handles.h"
#include "win32/PictureFileSeam.h"

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

// When this process started; the zero time when that cannot be told, so nothing is older.
FILETIME ProcessStart()
{
    FILETIME creation{}, exited{}, kernel{}, user{};
    if (!::GetProcessTimes(::GetCurrentProcess(), &creation, &exited, &kernel, &user))
        return FILETIME{};
    return creation;
}

// Moves from over to. A file cannot be replaced while anyone has it open, and a picture is
// often read for a moment (a viewer reloading it, a scanner, a program polling for it): such a
// reader is waited out, for about a second at most, instead of losing this export.
bool ReplaceWhenFree(const wchar_t* from, const wchar_t* to)
{
    constexpr int attempts = 50;
    constexpr DWORD pauseMs = 20;
    for (int attempt = 1;; ++attempt) {
        if (::MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING))
            return true;
        const DWORD error = ::GetLastError();
        if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || attempt == attempts)
            return false;
        ::Sleep(pauseMs);
    }
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
        Gdiplus::Image image(bmpPath.Text());
        if (image.GetWidth() == 0)
            return false;  // GDI+ could not load it: the BMP stays for the next export to replace
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
        replaced = !readOnly && ReplaceWhenFree(tmpPath.Text(), pngPath.Text());
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
    ExportPath pattern(folder, L"Core #*", L".tmp");
    if (!pattern.Fits())
        return;
    const FILETIME started = ProcessStart();
    WIN32_FIND_DATAW found{};
    FindHandle search(::FindFirstFileW(pattern.Text(), &found));
    if (!search)
        return;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !IsPictureTemporaryName(found.cFileName) ||
            ::CompareFileTime(&found.ftLastWriteTime, &started) >= 0)
            continue;
        const ExportPath path(folder, found.cFileName, L"");
        // Opened for nobody else, so any open handle makes this fail; the file goes on close.
        KernelHandle stale(::CreateFileW(path.Text(), DELETE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE,
                                         nullptr));
    } while (::FindNextFileW(search.Get(), &found));
}
