#include "host/PluginLibrary.h"

#include "host/HostConsole.h"

#include <vector>

namespace {

std::wstring FullPath(const std::wstring& path)
{
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return path;
    std::vector<wchar_t> buffer(needed + 1);
    const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(buffer.size()), buffer.data(), nullptr);
    return length == 0 || length >= buffer.size() ? path : std::wstring(buffer.data(), length);
}

template <typename Proc>
Proc Export(HMODULE module, const char* name)
{
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

std::wstring HostExecutableFolder()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return L".";
        if (length < buffer.size()) {
            std::wstring name(buffer.data(), length);
            const size_t slash = name.find_last_of(L"\\/");
            return slash == std::wstring::npos ? L"." : name.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring DefaultPluginPath()
{
    return HostExecutableFolder() + L"\\Vaderur.dll";
}

std::unique_ptr<PluginLibrary> PluginLibrary::Load(const std::wstring& requested, std::wstring& error)
{
    const std::wstring path = FullPath(requested);
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        error = L"the plug-in " + path + L" does not exist (--plugin names another DLL)";
        return nullptr;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        error = L"the plug-in " + path + L" is a folder, not a DLL";
        return nullptr;
    }
    // The altered search path lets the DLL find its own dependencies beside it.
    const HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!module) {
        error = L"cannot load the plug-in " + path + L": " + SystemErrorText(GetLastError(), path);
        return nullptr;
    }
    std::unique_ptr<PluginLibrary> library(new PluginLibrary(module, path));
    library->getPlugin = Export<GetPluginProc>(module, "GetPlugin");
    library->releasePlugin = Export<ReleasePluginProc>(module, "ReleasePlugin");
    if (!library->getPlugin || !library->releasePlugin) {
        error = path + L" is not a Zentrix plug-in: it does not export " +
                (library->getPlugin ? L"ReleasePlugin" : L"GetPlugin");
        return nullptr;
    }
    return library;
}

PluginLibrary::~PluginLibrary()
{
    FreeLibrary(module);
}

PluginRecord* PluginLibrary::GetPlugin(std::wstring& error)
{
    PluginRecord* record = getPlugin();
    if (!record) {
        error = L"the plug-in's GetPlugin returned no record";
        return nullptr;
    }
    if (!record->info || !record->Start || !record->Update || !record->Stop) {
        error = L"the plug-in's record lacks its information or its Start, Update or Stop operation";
        return nullptr;
    }
    return record;
}

void PluginLibrary::ReleasePlugin()
{
    releasePlugin();
}
