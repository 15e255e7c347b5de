// Vaderur.dll as the host loads it: by name from the executable's folder, with its two exports
// resolved. The one way every test that drives the real DLL loads and unloads it.
#pragma once

#include "core/HostRecords.h"

#include <windows.h>

namespace testsupport {

class VaderurDll {
public:
    using GetPluginProc = PluginRecord* (*)();
    using ReleasePluginProc = void (*)();

    VaderurDll() : module(::LoadLibraryW(L"Vaderur.dll"))
    {
        if (!module)
            return;
        // Through void (*)(): GetProcAddress's type says nothing about the function's.
        getPlugin = reinterpret_cast<GetPluginProc>(reinterpret_cast<void (*)()>(::GetProcAddress(module, "GetPlugin")));
        releasePlugin =
            reinterpret_cast<ReleasePluginProc>(reinterpret_cast<void (*)()>(::GetProcAddress(module, "ReleasePlugin")));
    }
    ~VaderurDll() { Unload(); }
    VaderurDll(const VaderurDll&) = delete;
    VaderurDll& operator=(const VaderurDll&) = delete;

    bool Loaded() const { return module && getPlugin && releasePlugin; }
    HMODULE Module() const { return module; }
    GetPluginProc GetPlugin() const { return getPlugin; }
    ReleasePluginProc ReleasePlugin() const { return releasePlugin; }

    // FreeLibrary once; the exports are gone afterwards.
    void Unload()
    {
        if (module)
            ::FreeLibrary(module);
        module = nullptr;
        getPlugin = nullptr;
        releasePlugin = nullptr;
    }

private:
    HMODULE module = nullptr;
    GetPluginProc getPlugin = nullptr;
    ReleasePluginProc releasePlugin = nullptr;
};

}  // namespace testsupport
