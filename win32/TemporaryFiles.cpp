#include "win32/TemporaryFiles.h"

#include "win32/Handles.h"

namespace {

// When this process started; the zero time when that cannot be told, so nothing is older.
FILETIME ProcessStart()
{
    FILETIME creation{}, exited{}, kernel{}, user{};
    if (!::GetProcessTimes(::GetCurrentProcess(), &creation, &exited, &kernel, &user))
        return FILETIME{};
    return creation;
}

}  // namespace

bool ReplaceWhenFree(const wchar_t* from, const wchar_t* to, int attempts, DWORD pauseMs)
{
    for (int attempt = 1;; ++attempt) {
        if (::MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING))
            return true;
        const DWORD error = ::GetLastError();
        if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || attempt >= attempts)
            return false;
        ::Sleep(pauseMs);
    }
}

void RemoveStaleTemporaries(const std::wstring& folder, const wchar_t* pattern,
                            bool (*isOurs)(const wchar_t* name, const void* context), const void* context)
{
    const FILETIME started = ProcessStart();
    WIN32_FIND_DATAW found{};
    FindHandle search(::FindFirstFileW((folder + L"\\" + pattern).c_str(), &found));
    if (!search)
        return;
    do {
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
            !isOurs(found.cFileName, context) || ::CompareFileTime(&found.ftLastWriteTime, &started) >= 0)
            continue;
        // Opened for nobody else, so any open handle makes this fail; the file goes on close.
        KernelHandle stale(::CreateFileW((folder + L"\\" + found.cFileName).c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    } while (::FindNextFileW(search.Get(), &found));
}
