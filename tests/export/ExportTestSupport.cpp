#include "tests/export/ExportTestSupport.h"

#include "win32/MessagePump.h"
#include <objidl.h>
#include <gdiplus.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace exporttest {

std::wstring ExeFolder()
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

std::wstring InExeFolder(const std::wstring& name)
{
    return ExeFolder() + L"\\" + name;
}

bool FileExists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<uint8_t> ReadBytes(const std::wstring& path)
{
    std::vector<uint8_t> bytes;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    LARGE_INTEGER size{};
    if (::GetFileSizeEx(file, &size) && size.QuadPart > 0) {
        bytes.resize(static_cast<size_t>(size.QuadPart));
        DWORD read = 0;
        if (!::ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
            read = 0;
        bytes.resize(read);
    }
    ::CloseHandle(file);
    return bytes;
}

bool WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes)
{
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    ::CloseHandle(file);
    return ok;
}

std::vector<std::wstring> FilesInExeFolder(const wchar_t* pattern)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW(InExeFolder(pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            names.push_back(found.cFileName);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

void RemoveExportFiles()
{
    for (const wchar_t* pattern : {L"*.png", L"*.bmp", L"*.tmp"}) {
        for (const std::wstring& name : FilesInExeFolder(pattern)) {
            const std::wstring path = InExeFolder(name);
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(path.c_str());
        }
    }
}

COLORREF Picture::ColourAt(int x, int y) const
{
    const uint32_t p = At(x, y);
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

bool Picture::Contains(COLORREF colour) const
{
    const uint32_t wanted = 0xFF000000u | (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    for (uint32_t p : argb) {
        if ((p | 0xFF000000u) == wanted)
            return true;
    }
    return false;
}

std::optional<Picture> LoadPicture(const std::wstring& path)
{
    const std::vector<uint8_t> bytes = ReadBytes(path);
    if (bytes.empty())
        return std::nullopt;
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    if (!memory)
        return std::nullopt;
    std::memcpy(::GlobalLock(memory), bytes.data(), bytes.size());
    ::GlobalUnlock(memory);
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        ::GlobalFree(memory);
        return std::nullopt;
    }
    std::optional<Picture> picture;
    {
        Gdiplus::Bitmap bitmap(stream);
        if (bitmap.GetLastStatus() == Gdiplus::Ok && bitmap.GetWidth() > 0 && bitmap.GetHeight() > 0) {
            Picture p;
            p.width = static_cast<int>(bitmap.GetWidth());
            p.height = static_cast<int>(bitmap.GetHeight());
            p.argb.resize(static_cast<size_t>(p.width) * p.height);
            Gdiplus::Rect all(0, 0, p.width, p.height);
            Gdiplus::BitmapData data{};
            data.Width = p.width;
            data.Height = p.height;
            data.Stride = p.width * 4;
            data.PixelFormat = PixelFormat32bppARGB;
            data.Scan0 = p.argb.data();
            if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                                PixelFormat32bppARGB, &data) == Gdiplus::Ok) {
                bitmap.UnlockBits(&data);
                picture = std::move(p);
            }
        }
    }
    stream->Release();
    return picture;
}

namespace {
LONG WINAPI EndProcessOnCrash(EXCEPTION_POINTERS* exception)
{
    std::fprintf(stderr, "crash: exception 0x%08lX\n",
                 static_cast<unsigned long>(exception->ExceptionRecord->ExceptionCode));
    std::fflush(stderr);
    ::TerminateProcess(::GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}
}  // namespace

void FailTheTestOnCrash()
{
    ::SetUnhandledExceptionFilter(EndProcessOnCrash);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    return PumpMessagesUntil(condition, timeoutMs);
}

}  // namespace exporttest
