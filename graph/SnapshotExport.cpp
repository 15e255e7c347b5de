// The export of every pane: render off-screen, write a BMP, convert it to PNG with GDI+.
#include "graph/SnapshotExport.h"

#include "graph/BmpHeader.h"
#include "graph/CZiveVazudEx.h"
#include "graph/ExportPaths.h"
#include "graph/ExportWorkers.h"
#include "graph/GdiHandles.h"
#include "graph/SnapshotExportSeam.h"
#include "plugin/PluginState.h"
#include "window/ShellSeam.h"

#include <windows.h>
#include <objidl.h>  // GDI+ needs it and WIN32_LEAN_AND_MEAN leaves it out
#include <gdiplus.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <optional>

namespace {

constexpr int32_t exportMargin = 66;  // the plot's insets and frame around one column per sample
constexpr wchar_t pngMimeType[] = L"image/png";

// One pane picture at a time in the whole process: two workers never race on the same
// pane's files, and memory holds at most one picture.
SRWLOCK exportTurn = SRWLOCK_INIT;

std::atomic<BmpWrittenHook> bmpWrittenHook{nullptr};

class ExportTurn {
public:
    ExportTurn() { ::AcquireSRWLockExclusive(&exportTurn); }
    ~ExportTurn() { ::ReleaseSRWLockExclusive(&exportTurn); }
    ExportTurn(const ExportTurn&) = delete;
    ExportTurn& operator=(const ExportTurn&) = delete;
};

// The off-screen picture of one pane: the info header it was created from and its pixels.
struct RenderedPicture {
    BmpGeometry geometry;
    BmpFileHeader fileHeader{};
    BmpInfoHeader infoHeader{};
};

bool WriteAll(HANDLE file, const void* data, DWORD size)
{
    DWORD written = 0;
    return ::WriteFile(file, data, size, &written, nullptr) && written == size;
}

// Writes the two headers and the pixels; false when the file cannot be created.
bool WriteBmpFile(const wchar_t* path, const RenderedPicture& picture, const void* pixels)
{
    KernelHandle file(::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    // A short write is not checked here: GDI+ then refuses or reads what the file holds.
    WriteAll(file.Get(), picture.fileHeader.data(), bmpFileHeaderSize) &&
        WriteAll(file.Get(), picture.infoHeader.data(), bmpInfoHeaderSize) &&
        WriteAll(file.Get(), pixels, picture.geometry.imageSize);
    return true;
}

// Converts the BMP to a PNG beside it. The PNG is written under a temporary name and only
// then put in place of the old one, so a failed save never leaves a cut picture behind.
void ConvertToPng(const ExportPath& bmpPath, const ExportPath& pngPath, const ExportPath& tmpPath)
{
    bool saved = false;
    {
        Gdiplus::Image image(bmpPath.Text());
        if (image.GetWidth() == 0)
            return;  // GDI+ could not load it: the BMP stays for the next export to replace
        CLSID encoder{};
        if (FindPngEncoder(&encoder) >= 0)
            saved = image.Save(tmpPath.Text(), &encoder, nullptr) == Gdiplus::Ok;
    }
    if (saved) {
        // A read-only picture is the user's: keep it, as a save straight onto it would.
        const DWORD attributes = ::GetFileAttributesW(pngPath.Text());
        const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
        if (readOnly || !::MoveFileExW(tmpPath.Text(), pngPath.Text(), MOVEFILE_REPLACE_EXISTING))
            ::DeleteFileW(tmpPath.Text());
    } else {
        ::DeleteFileW(tmpPath.Text());
    }
    ::DeleteFileW(bmpPath.Text());
}

}  // namespace

void SetBmpWrittenHook(BmpWrittenHook hook)
{
    bmpWrittenHook.store(hook);
}

bool CZiveVazudEx::GetOutputFolder(wchar_t* folder)
{
    if (!folder)
        return false;
    const DWORD length = ::GetModuleFileNameW(nullptr, folder, static_cast<DWORD>(exportPathCapacity));
    if (length == 0 || length >= exportPathCapacity) {
        // Nothing, or a name cut to fit: either way not a folder to write into.
        folder[0] = L'\0';
        return false;
    }
    wchar_t* lastSeparator = std::wcsrchr(folder, L'\\');
    if (!lastSeparator)
        return false;
    *lastSeparator = L'\0';
    return true;
}

void CZiveVazudEx::SaveSnapshot()
{
    wchar_t folder[exportPathCapacity] = {};
    if (!GetOutputFolder(folder))
        return;
    const ExportPath bmpPath(folder, titleText, L".bmp");
    const ExportPath pngPath(folder, titleText, L".png");
    ExportPath tmpPath(folder, titleText, L".");
    tmpPath.AppendDecimal(::GetCurrentThreadId()).Append(L".tmp");
    if (!bmpPath.Fits() || !pngPath.Fits() || !tmpPath.Fits())
        return;

    WindowDc screen(nullptr);
    if (!screen)
        return;
    MemoryDc memory(::CreateCompatibleDC(screen.Get()));
    if (!memory)
        return;
    const uint16_t bitsPerPixel = ExportBitsPerPixel(::GetDeviceCaps(screen.Get(), BITSPIXEL));
    const int32_t xResolution = PixelsPerMetre(::GetDeviceCaps(screen.Get(), LOGPIXELSX));
    const int32_t yResolution = PixelsPerMetre(::GetDeviceCaps(screen.Get(), LOGPIXELSY));

    RenderedPicture picture;
    Bitmap section;
    void* pixels = nullptr;
    {
        // The held-sample count, the picture's size and the drawing all come from one pass
        // under both locks, so the picture is always one consistent history.
        NamedMutexHold paintTurn(mutexName);
        PaneLock::Shared histories(Lock());

        const int64_t held = tempHistory ? tempHistory->Count() : 0;
        RECT exportRect{};
        ::GetClientRect(pane, &exportRect);
        const std::optional<BmpGeometry> geometry =
            MakeBmpGeometry(held + exportMargin, exportRect.bottom, bitsPerPixel);
        if (!geometry)
            return;  // no height, or too large for one file
        picture.geometry = *geometry;
        picture.fileHeader = MakeBmpFileHeader(*geometry);
        picture.infoHeader = MakeBmpInfoHeader(*geometry, xResolution, yResolution);
        exportRect.right = geometry->width;

        BITMAPINFO info{};
        static_assert(sizeof(info.bmiHeader) == bmpInfoHeaderSize, "the info header is written as is");
        std::memcpy(&info.bmiHeader, picture.infoHeader.data(), bmpInfoHeaderSize);
        section.Reset(::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &pixels, nullptr, 0));
        if (!section || !pixels)
            return;  // not enough memory for the picture

        Selection selected(memory.Get(), section.Get());
        Layout(memory.Get(), &exportRect);
        DrawFrame(memory.Get());
        DrawSeries(memory.Get());
        ::GdiFlush();
    }

    const bool written = WriteBmpFile(bmpPath.Text(), picture, pixels);
    section.Reset();
    memory.Reset();
    if (!written)
        return;  // held open elsewhere, or a title the file system refuses
    if (BmpWrittenHook hook = bmpWrittenHook.load())
        hook(bmpPath.Text());
    ConvertToPng(bmpPath, pngPath, tmpPath);
}

int FindPngEncoder(CLSID* encoder)
{
    UINT encoderCount = 0;
    UINT bufferSize = 0;
    if (Gdiplus::GetImageEncodersSize(&encoderCount, &bufferSize) != Gdiplus::Ok || bufferSize == 0)
        return -1;
    auto* codecs = static_cast<Gdiplus::ImageCodecInfo*>(std::malloc(bufferSize));
    if (!codecs)
        return -1;
    int found = -1;
    if (Gdiplus::GetImageEncoders(encoderCount, bufferSize, codecs) == Gdiplus::Ok) {
        for (UINT i = 0; i < encoderCount; ++i) {
            const wchar_t* mime = codecs[i].MimeType;
            if (mime && std::wcscmp(mime, pngMimeType) == 0) {
                if (encoder)
                    *encoder = codecs[i].Clsid;
                found = static_cast<int>(i);
                break;
            }
        }
    }
    std::free(codecs);
    return found;
}

DWORD WINAPI SnapshotWorker(LPVOID)
{
    // graphList and graphCount are read again for every pane: they only change on the window
    // thread, at creation and after its teardown has waited for every worker.
    for (uint32_t i = 0; graphList && i < graphCount; ++i) {
        ExportTurn turn;
        if (ExportCancelled())
            break;
        CZiveVazudEx* pane = graphList[i];
        if (!pane)
            continue;
        try {
            pane->SaveSnapshot();
        } catch (...) {
            // One pane's failure never stops the others.
        }
    }
    return 0;
}

void CALLBACK LogTimerProc(HWND, UINT, UINT_PTR, DWORD)
{
    StartExportWorker();
}

void OpenOutputFolder(HWND owner)
{
    if (!graphList || graphCount == 0 || !graphList[0])
        return;
    wchar_t folder[exportPathCapacity] = {};
    if (!graphList[0]->GetOutputFolder(folder))
        return;
    CallShellExecute(owner, L"open", folder, L"", L"", SW_SHOWNORMAL);
}
