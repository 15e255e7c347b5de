#include "settings/FileReplace.h"

#include <windows.h>

bool ReplaceFileWith(const char* temporary, const char* target)
{
    return MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool MoveToNewFile(const char* temporary, const char* target)
{
    // Without MOVEFILE_REPLACE_EXISTING the move fails when the target exists.
    return MoveFileExA(temporary, target, MOVEFILE_WRITE_THROUGH) != FALSE;
}

unsigned long CurrentProcessNumber()
{
    return GetCurrentProcessId();
}

namespace {

// Opened for no access, so even a file in use by others can be looked at.
HANDLE OpenForQuery(const char* path)
{
    return CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

struct QueryHandle {
    HANDLE handle;
    explicit QueryHandle(const char* path) : handle(OpenForQuery(path)) {}
    explicit QueryHandle(HANDLE opened) : handle(opened) {}
    ~QueryHandle()
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
    QueryHandle(const QueryHandle&) = delete;
    QueryHandle& operator=(const QueryHandle&) = delete;
};

struct Search {
    HANDLE handle;
    Search(const std::string& pattern, WIN32_FIND_DATAA* found) : handle(FindFirstFileA(pattern.c_str(), found)) {}
    ~Search()
    {
        if (handle != INVALID_HANDLE_VALUE)
            FindClose(handle);
    }
    Search(const Search&) = delete;
    Search& operator=(const Search&) = delete;
};

}  // namespace

std::string FinalPathOf(const char* name)
{
    const QueryHandle file(name);
    if (file.handle == INVALID_HANDLE_VALUE)
        return name;
    char path[MAX_PATH * 4];
    const DWORD length = GetFinalPathNameByHandleA(file.handle, path, sizeof path, FILE_NAME_NORMALIZED);
    if (length == 0 || length >= sizeof path)
        return name;
    return std::string(path, length);
}

bool IsReadOnlyFile(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool HasOtherNames(const char* path)
{
    const QueryHandle file(path);
    BY_HANDLE_FILE_INFORMATION information{};
    return file.handle != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file.handle, &information)
        && information.nNumberOfLinks > 1;
}

void RemoveStaleFiles(const std::string& folder, bool (*isOurs)(std::string_view name))
{
    FILETIME started{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(GetCurrentProcess(), &started, &exited, &kernel, &user))
        return;
    WIN32_FIND_DATAA found{};
    const Search search(folder + "*", &found);
    if (search.handle == INVALID_HANDLE_VALUE)
        return;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !isOurs(found.cFileName)
            || CompareFileTime(&found.ftLastWriteTime, &started) >= 0)
            continue;
        // Opened for nobody else, so any open handle makes this fail; the file goes on close.
        const QueryHandle stale(CreateFileA((folder + found.cFileName).c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
                                            FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    } while (FindNextFileA(search.handle, &found));
}
