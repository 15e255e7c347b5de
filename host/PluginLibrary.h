// The plug-in DLL as the host holds it: the loaded module and its two exported entry
// points. Owned by the host's run; unloads the module when it goes.
#pragma once

#include "core/HostRecords.h"

#include <windows.h>

#include <memory>
#include <string>

class PluginLibrary {
public:
    // Loads the DLL at path (relative paths are taken from the current folder) and finds
    // GetPlugin and ReleasePlugin. Null with a one-line reason when that fails.
    static std::unique_ptr<PluginLibrary> Load(const std::wstring& path, std::wstring& error);

    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    // GetPlugin's record, checked for the operations the host calls; null with a reason.
    PluginRecord* GetPlugin(std::wstring& error);
    void ReleasePlugin();

    HMODULE Module() const { return module; }
    const std::wstring& Path() const { return path; }

private:
    PluginLibrary(HMODULE m, std::wstring p) : module(m), path(std::move(p)) {}

    using GetPluginProc = PluginRecord* (*)();
    using ReleasePluginProc = void (*)();

    HMODULE module;
    std::wstring path;
    GetPluginProc getPlugin = nullptr;
    ReleasePluginProc releasePlugin = nullptr;
};

// Vaderur.dll in the folder of the host executable.
std::wstring DefaultPluginPath();
// The folder of the host executable, without a trailing backslash.
std::wstring HostExecutableFolder();
