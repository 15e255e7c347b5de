#include "win32/FinalPath.h"

namespace {
// The longest path the system takes, in characters.
constexpr size_t longestPath = 32767;
}  // namespace

std::wstring FinalPath(HANDLE handle)
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetFinalPathNameByHandleW(handle, path.data(), static_cast<DWORD>(path.size()),
                                                         FILE_NAME_NORMALIZED);
        // Too small a buffer gives the length needed, or (Wine) 0 and ERROR_MORE_DATA.
        if (length == 0 && ::GetLastError() == ERROR_MORE_DATA && path.size() <= longestPath) {
            path.resize(path.size() * 2);
            continue;
        }
        if (length == 0)
            return std::wstring();
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(length + 1);
    }
}
