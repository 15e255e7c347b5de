#include "win32/DpiAwareness.h"

#include "win32/Handles.h"

namespace {

// Looked up at run time: the functions are missing from older systems, where the DLL must
// still load. The contexts are the documented pseudo-handle values.
using SetThreadContextFunction = HANDLE(WINAPI*)(HANDLE);
using GetThreadContextFunction = HANDLE(WINAPI*)();
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

const HANDLE perMonitorAware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3));
const HANDLE perMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));
constexpr int defaultDpi = 96;

template <typename Function>
Function User32Function(const char* name)
{
    const HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(user32, name))) : nullptr;
}

}  // namespace

PerMonitorDpiScope::PerMonitorDpiScope()
{
    const auto set = User32Function<SetThreadContextFunction>("SetThreadDpiAwarenessContext");
    if (!set)
        return;
    previous = set(perMonitorAwareV2);
    if (!previous)
        previous = set(perMonitorAware);
}

PerMonitorDpiScope::~PerMonitorDpiScope()
{
    if (!previous)
        return;
    if (const auto set = User32Function<SetThreadContextFunction>("SetThreadDpiAwarenessContext"))
        set(previous);
}

HANDLE CurrentThreadDpiContext()
{
    const auto get = User32Function<GetThreadContextFunction>("GetThreadDpiAwarenessContext");
    return get ? get() : nullptr;
}

int WindowDpi(HWND window)
{
    if (const auto forWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow")) {
        if (const UINT dpi = forWindow(window))
            return static_cast<int>(dpi);
    }
    WindowDc dc(window);
    const int dpi = dc ? ::GetDeviceCaps(dc.Get(), LOGPIXELSY) : 0;
    return dpi > 0 ? dpi : defaultDpi;
}
