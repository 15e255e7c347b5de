// Per-monitor DPI awareness for the plug-in's own windows, without touching the host's mode:
// a scope that switches the calling thread while our windows are created and puts the
// thread's previous context back when it ends. Made on the stack by whoever creates a window.
#pragma once

#include <windows.h>

class PerMonitorDpiScope {
public:
    // Per-monitor v2 where the system has it, else per-monitor v1, else nothing changes.
    PerMonitorDpiScope();
    ~PerMonitorDpiScope();
    PerMonitorDpiScope(const PerMonitorDpiScope&) = delete;
    PerMonitorDpiScope& operator=(const PerMonitorDpiScope&) = delete;

    // Whether the thread was switched.
    bool Switched() const { return previous != nullptr; }

private:
    HANDLE previous = nullptr;
};

// The thread's DPI awareness context as the system reports it, or null where it has none:
// tests compare it before and after the plug-in made its windows.
HANDLE CurrentThreadDpiContext();

// The resolution a window is shown at: GetDpiForWindow where the system has it, otherwise the
// LOGPIXELSY of the window's device context; 96 when neither answers.
int WindowDpi(HWND window);
