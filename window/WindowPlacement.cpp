#include "window/WindowPlacement.h"

#include "core/PlacementRules.h"
#include "core/TextFormat.h"
#include "settings/IniText.h"
#include "settings/SettingsFile.h"

#include <string>

namespace {

constexpr int baseDpi = 96;

BOOL CALLBACK AddSharedArea(HMONITOR, HDC, LPRECT monitor, LPARAM data)
{
    auto* shown = reinterpret_cast<std::pair<plot::Box, int64_t>*>(data);
    shown->second += SharedArea(shown->first, {monitor->left, monitor->top, monitor->right, monitor->bottom});
    return TRUE;
}

// How much of the rectangle lies on the monitors (they never overlap one another).
int64_t AreaOnMonitors(const plot::Box& rect)
{
    std::pair<plot::Box, int64_t> shown{rect, 0};
    ::EnumDisplayMonitors(nullptr, nullptr, AddSharedArea, reinterpret_cast<LPARAM>(&shown));
    return shown.second;
}

std::u16string Decimal(int32_t value)
{
    return textformat::Digits<char16_t>::Decimal(value).Text();
}

}  // namespace

void WindowPlacement::Read()
{
    std::optional<std::u16string> text;
    if (std::optional<std::string> bytes = ReadSettingsFileBytes())
        text = DecodeSettingsBytes(*bytes);
    remembers = RemembersPlacement(text);
    stored = ReadStoredPlacement(text);
}

bool WindowPlacement::Restore(HWND window, int dpi)
{
    restored = false;
    if (!stored)
        return false;
    const plot::Box rect = RescaleBox(stored->rect, baseDpi, dpi);
    if (!ShownEnough(rect, AreaOnMonitors(rect)))
        return false;
    ::SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    restored = true;
    return true;
}

int WindowPlacement::ShowCommand() const
{
    return restored && stored->maximized ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
}

void WindowPlacement::Store(HWND window, int dpi) const
{
    if (!remembers || !window)
        return;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!::GetWindowPlacement(window, &placement))
        return;
    // A minimized window keeps whether it comes back maximized.
    const bool maximized = ::IsZoomed(window) ||
                           (::IsIconic(window) && (placement.flags & WPF_RESTORETOMAXIMIZED) != 0);
    // The normal rectangle is in work-area coordinates; stored in screen coordinates, as
    // SetWindowPos takes it back.
    RECT normal = placement.rcNormalPosition;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (::GetMonitorInfoW(::MonitorFromRect(&normal, MONITOR_DEFAULTTONEAREST), &monitor))
        ::OffsetRect(&normal, monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
    const plot::Box rect = RescaleBox({normal.left, normal.top, normal.right, normal.bottom}, dpi, baseDpi);
    StoreValues({{u"WindowLeft", Decimal(rect.left)},
                 {u"WindowTop", Decimal(rect.top)},
                 {u"WindowWidth", Decimal(rect.right - rect.left)},
                 {u"WindowHeight", Decimal(rect.bottom - rect.top)},
                 {u"WindowMaximized", maximized ? u"1" : u"0"}});
}
