#include "win32/ExecutableFolder.h"

#include <windows.h>

#include <cwchar>

bool ExecutableFolder(wchar_t* folder, size_t capacity)
{
    if (!folder || capacity == 0)
        return false;
    const DWORD length = ::GetModuleFileNameW(nullptr, folder, static_cast<DWORD>(capacity));
    if (length == 0 || length >= capacity) {
        // Nothing, or a name cut to fit: either way not a folder to write into.
        folder[0] = L'\0';
        return false;
    }
    wchar_t* lastSeparator = std::wcsrchr(folder, L'\\');
    if (!lastSeparator) {
        folder[0] = L'\0';
        return false;
    }
    *lastSeparator = L'\0';
    return true;
}
