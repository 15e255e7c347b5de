#include "window/ScreenMetrics.h"

#include "win32/Handles.h"

namespace {
constexpr int baseIconSize = 16;
constexpr int baseDpi = 96;
}  // namespace

void ScreenMetrics::EnsureFilled()
{
    if (filled)
        return;
    WindowDc screen(nullptr);
    if (screen) {
        horizontalDpi = ::GetDeviceCaps(screen.Get(), LOGPIXELSX);
        verticalDpi = ::GetDeviceCaps(screen.Get(), LOGPIXELSY);
    }
    // Read once: without a screen the defaults stand and are not asked for again.
    filled = true;
    smallIconSize = ::MulDiv(baseIconSize, verticalDpi, baseDpi);
}

int32_t ScreenMetrics::IconSize()
{
    EnsureFilled();
    return ::MulDiv(baseIconSize, verticalDpi, baseDpi);
}

ScreenMetrics& TheScreenMetrics()
{
    static ScreenMetrics metrics;
    return metrics;
}
