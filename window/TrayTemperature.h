// The tray icon's temperature reading ("TrayTemperature=1"): the hottest core's digits on a
// square of its heat colour, with the core's values as the tooltip. Keeps what the icon shows
// now so that it is drawn again only when its digits, colour or size change. Owned by the
// main window, which owns the tray icon it draws into.
#pragma once

#include "core/HeatColourScale.h"
#include "core/HottestCore.h"
#include "core/SampleSink.h"
#include "settings/GraphSettings.h"
#include "window/ScreenMetrics.h"

class TrayIcon;

class TrayTemperature {
public:
    // "--" until the first update.
    TrayTemperature(TrayIcon& tray, const GraphSettings& settings, const ScreenMetrics& metrics);
    TrayTemperature(const TrayTemperature&) = delete;
    TrayTemperature& operator=(const TrayTemperature&) = delete;

    // The hottest of the cores the update reports with a temperature.
    void Show(const UpdateRecord& update);
    // The icon at the size of a new resolution, with the same reading.
    void Rescale(const ScreenMetrics& metrics);

private:
    void Draw(const CoreReading& reading);

    TrayIcon& tray;
    const GraphSettings& settings;
    int iconSize;
    CoreReading reading;
    // What the icon shows now; the size is that of the icon last drawn.
    char16_t shownDigits[iconDigitsCapacity] = {};
    HeatColour shownColour = 0;
    int shownSize = 0;
};
