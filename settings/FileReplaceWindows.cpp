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
    ~QueryHandle()
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
    QueryHandle(const QueryHandle&) = delete;
    QueryHandle& operator=(const QueryHandle&) = delete;
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
