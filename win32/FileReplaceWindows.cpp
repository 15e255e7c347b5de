// The settings file's platform calls on Windows: every one the wide form, the UTF-8 paths of
// settings/ turned into UTF-16 first, so that a folder outside the ANSI code page works.
#include "settings/FileReplace.h"
#include "win32/FinalPath.h"
#include "win32/TemporaryFiles.h"

#include "win32/Handles.h"

#include <windows.h>

#include <cwchar>
#include <vector>

namespace {

std::wstring Wide(const char* utf8)
{
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, nullptr, 0);
    if (length <= 1)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length) - 1);
    return wide;
}

std::string Utf8(const wchar_t* wide, size_t length)
{
    if (length == 0)
        return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(size > 0 ? size : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), text.data(), size, nullptr, nullptr);
    return text;
}

// Opened for no access, so even a file in use by others can be looked at.
KernelHandle OpenForQuery(const char* path)
{
    return KernelHandle(CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

std::FILE* OpenFile(const char* path, const char* mode)
{
    return _wfopen(Wide(path).c_str(), Wide(mode).c_str());
}

bool RemoveFile(const char* path)
{
    return DeleteFileW(Wide(path).c_str()) != FALSE;
}

bool ReplaceFileWith(const char* temporary, const char* target)
{
    return MoveFileExW(Wide(temporary).c_str(), Wide(target).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool MoveToNewFile(const char* temporary, const char* target)
{
    // Without MOVEFILE_REPLACE_EXISTING the move fails when the target exists.
    return MoveFileExW(Wide(temporary).c_str(), Wide(target).c_str(), MOVEFILE_WRITE_THROUGH) != FALSE;
}

unsigned long CurrentProcessNumber()
{
    return GetCurrentProcessId();
}

std::string FinalPathOf(const char* name)
{
    const KernelHandle file = OpenForQuery(name);
    if (!file)
        return name;
    // The "\\?\" form, which the wide calls take at any length.
    const std::wstring path = FinalPath(file.Get());
    return path.empty() ? std::string(name) : Utf8(path.data(), path.size());
}

bool IsReadOnlyFile(const char* path)
{
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool HasOtherNames(const char* path)
{
    const KernelHandle file = OpenForQuery(path);
    BY_HANDLE_FILE_INFORMATION information{};
    return file && GetFileInformationByHandle(file.Get(), &information) && information.nNumberOfLinks > 1;
}

void RemoveStaleFiles(const std::string& folder, bool (*isOurs)(std::string_view name))
{
    // The one sweep of the temporaries: never a folder, and never what a link leads to.
    std::wstring wideFolder = Wide(folder.c_str());
    if (wideFolder.empty())
        wideFolder = L".";
    else if (wideFolder.back() == L'\\' || wideFolder.back() == L'/')
        wideFolder.pop_back();
    using Accepts = bool (*)(std::string_view);
    const auto ours = [](const wchar_t* name, const void* context) {
        return (*static_cast<const Accepts*>(context))(Utf8(name, std::wcslen(name)));
    };
    RemoveStaleTemporaries(wideFolder, L"*", ours, &isOurs);
}
