#include "window/ScreenMetrics.h"

#include "win32/DpiAwareness.h"

namespace {
constexpr int baseIconSize = 16;
constexpr int baseDpi = 96;
}  // namespace

ScreenMetrics ScreenMetrics::Read(HWND window)
{
    return ForDpi(WindowDpi(window));
}

ScreenMetrics ScreenMetrics::ForDpi(int32_t dpi)
{
    ScreenMetrics metrics;
    if (dpi > 0) {
        metrics.horizontalDpi = dpi;
        metrics.verticalDpi = dpi;
    }
    metrics.filled = true;
    metrics.smallIconSize = ::MulDiv(baseIconSize, metrics.verticalDpi, baseDpi);
    return metrics;
}
