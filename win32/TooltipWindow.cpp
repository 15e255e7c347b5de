#include "win32/TooltipWindow.h"

#include "win32/DpiAwareness.h"

#include <commctrl.h>

HWND CreateTooltipWindow(HWND owner, HINSTANCE instance)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&controls);
    const PerMonitorDpiScope perMonitor;
    return ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                             CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr, instance,
                             nullptr);
}
