#include "win32/TemporaryFiles.h"

#include "win32/FinalPath.h"

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


bool SameText(const std::wstring& a, const std::wstring& b)
{
    return ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(), static_cast<int>(b.size()),
                                  TRUE) == CSTR_EQUAL;
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
    const KernelHandle folderHandle(::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    const std::wstring folderPath = folderHandle ? FinalPath(folderHandle.Get()) : std::wstring();
    WIN32_FIND_DATAW found{};
    FindHandle search(::FindFirstFileW((folder + L"\\" + pattern).c_str(), &found));
    if (!search)
        return;
    do {
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
            !isOurs(found.cFileName, context) || ::CompareFileTime(&found.ftLastWriteTime, &started) >= 0)
            continue;
        // Opened for nobody else, so any open handle makes this fail. Removed only when the
        // opened file is the one of that name in the folder: a link that the system followed
        // anyway (Wine follows Unix links) leads elsewhere, and its target stays.
        KernelHandle stale(::CreateFileW((folder + L"\\" + found.cFileName).c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                         FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (!stale || folderPath.empty() || !SameText(FinalPath(stale.Get()), folderPath + L"\\" + found.cFileName))
            continue;
        FILE_DISPOSITION_INFO dispose{TRUE};
        ::SetFileInformationByHandle(stale.Get(), FileDispositionInfo, &dispose, sizeof dispose);
    } while (::FindNextFileW(search.Get(), &found));
}
