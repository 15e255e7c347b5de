#include "window/ScreenMetrics.h"

#include "win32/Handles.h"

namespace {
constexpr int baseIconSize = 16;
constexpr int baseDpi = 96;
}  // namespace

ScreenMetrics ScreenMetrics::Read(HWND window)
{
    ScreenMetrics metrics;
    WindowDc screen(window);
    if (screen) {
        metrics.horizontalDpi = ::GetDeviceCaps(screen.Get(), LOGPIXELSX);
        metrics.verticalDpi = ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
    }
    metrics.filled = true;
    metrics.smallIconSize = ::MulDiv(baseIconSize, metrics.verticalDpi, baseDpi);
    return metrics;
}
