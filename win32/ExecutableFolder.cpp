#include "win32/ExecutableFolder.h"

#include <windows.h>

#include <cwchar>

std::wstring ExecutableFolder()
{
    // A name that fills the buffer may have been cut: read it again into a larger one.
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (length == 0)
            return std::wstring();
        if (length < name.size()) {
            name.resize(length);
            break;
        }
        if (name.size() > 32768)
            return std::wstring();
        name.resize(name.size() * 2);
    }
    const size_t lastSeparator = name.rfind(L'\\');
    if (lastSeparator == std::wstring::npos)
        return std::wstring();
    name.resize(lastSeparator);
    return name;
}

bool ExecutableFolder(wchar_t* folder, size_t capacity)
{
    if (!folder || capacity == 0)
        return false;
    folder[0] = L'\0';
    const std::wstring found = ExecutableFolder();
    if (found.empty() || found.size() >= capacity)
        return false;
    std::wmemcpy(folder, found.c_str(), found.size() + 1);
    return true;
}
