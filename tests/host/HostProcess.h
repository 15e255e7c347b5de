// Runs zentrix-host.exe as a child process for the host's Wine tests: each case gets a
// folder of its own (named with the test's process id) holding a copy of the host and of
// a plug-in, so exported PNGs never meet another test's files.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct HostResult {
    DWORD exitCode = 0;
    bool timedOut = false;
    std::string output;  // stdout and stderr together, UTF-8
};

// The folder of the running test executable, where the build puts the host and the DLLs.
std::wstring TestBinaryFolder();

// Creates <current folder>\<name>-<pid> afresh with zentrix-host.exe in it and, when
// pluginDll is not empty, that DLL from the build folder copied in as Vaderur.dll.
std::wstring MakeCaseFolder(const std::wstring& name, const std::wstring& pluginDll);

// Called once the host has started, with the id of its thread (the one that owns its
// windows and the plug-in's).
using WhileHostRuns = std::function<void(DWORD hostThread)>;

// Runs the host in folder with the arguments; ends it after timeoutMs.
HostResult RunHost(const std::wstring& folder, const std::wstring& arguments, DWORD timeoutMs = 60000,
                   const WhileHostRuns& whileRunning = nullptr);

std::string ReadFileText(const std::wstring& path);
void WriteFileText(const std::wstring& path, const std::string& text);
bool FileExists(const std::wstring& path);
std::vector<std::string> SplitLines(const std::string& text);

// Sets an environment variable for the host runs of one scope and clears it afterwards.
class ScopedEnvironment {
public:
    ScopedEnvironment(const wchar_t* name, const std::wstring& value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    std::wstring name;
};
