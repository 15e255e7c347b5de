#include "window/TrayTemperature.h"

#include "core/TextFormat.h"
#include "window/TemperatureIcon.h"
#include "window/TrayIcon.h"

#include <string_view>

TrayTemperature::TrayTemperature(TrayIcon& trayIcon, const GraphSettings& style, const ScreenMetrics& metrics)
    : tray(trayIcon), settings(style), iconSize(metrics.IconSize())
{
    Draw(reading);
}

void TrayTemperature::Show(const UpdateRecord& update)
{
    // Only the cores the snapshot reports, with a sensor value that is a number.
    reading = HottestCore(update);
    Draw(reading);

    char16_t tip[128];
    FormatCoreTooltip(reading, settings.TempUnit, settings.LoadUnit, tip, 128);
    wchar_t wideTip[128];
    textformat::CopyText(tip, wideTip, 128);
    tray.SetTip(wideTip);
}

void TrayTemperature::Rescale(const ScreenMetrics& metrics)
{
    iconSize = metrics.IconSize();
    Draw(reading);
}

void TrayTemperature::Draw(const CoreReading& shown)
{
    char16_t digits[iconDigitsCapacity];
    FormatIconDigits(shown, digits);
    const HeatColour colour =
        shown.known ? HeatColourOf(shown.temperature, settings.RangeMin, settings.RangeMax) : unknownColour;
    // The texts end at their terminators: what lies after one is whatever the buffer held.
    if (iconSize == shownSize && colour == shownColour &&
        std::u16string_view(digits) == std::u16string_view(shownDigits))
        return;
    wchar_t wideDigits[iconDigitsCapacity];
    textformat::CopyText(digits, wideDigits, iconDigitsCapacity);
    HICON icon = DrawTemperatureIcon(wideDigits, colour, iconSize);
    if (!icon)
        return;  // the icon shown stays; the next change tries again
    tray.SetIcon(icon);
    textformat::CopyText(digits, shownDigits, iconDigitsCapacity);
    shownColour = colour;
    shownSize = iconSize;
}
