// What a test needs to act as the Zentrix host: snapshots, a host window, a message pump
// and a close callback that records its calls.
#pragma once

#include "core/HostRecords.h"
#include "win32/MessagePump.h"

#include <windows.h>

#include <cstring>
#include <cwchar>
#include <vector>

namespace testhost {

inline SensorSnapshot MakeSnapshot(uint32_t cores, float temperature = 50.0f, uint32_t load = 25)
{
    SensorSnapshot s;
    std::memset(&s, 0, sizeof s);
    s.coreCount = cores;
    s.tjMax = 100;
    for (uint32_t i = 0; i < cores && i < maxSnapshotCores; ++i) {
        s.coreLoad[i] = load;
        s.coreTemperature[i] = temperature;
    }
    return s;
}

// Delivers every pending message of this thread.
inline void Pump()
{
    PumpMessages();
}

inline HWND CreateHostWindow()
{
    return ::CreateWindowExW(0, L"STATIC", L"Zentrix test host", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                             nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
}

// The top-level windows of the given class that this thread owns.
inline std::vector<HWND> ThreadWindowsOfClass(const wchar_t* className)
{
    struct Search {
        const wchar_t* className;
        std::vector<HWND> found;
    } search{className, {}};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND w, LPARAM p) -> BOOL {
            auto* s = reinterpret_cast<Search*>(p);
            wchar_t name[100] = {};
            ::GetClassNameW(w, name, 100);
            if (std::wcscmp(name, s->className) == 0)
                s->found.push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline HWND PluginMainWindow()
{
    auto windows = ThreadWindowsOfClass(L"MOLTAVIS");
    return windows.empty() ? nullptr : windows.front();
}

inline std::vector<HWND> ChildWindows(HWND parent)
{
    std::vector<HWND> children;
    for (HWND c = ::GetWindow(parent, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        children.push_back(c);
    return children;
}

}  // namespace testhost
