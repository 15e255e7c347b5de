// The records that the settings reader fills: the 148-byte style record of a pane and the
// window-level options. Plain fixed-layout records; whoever asked for one owns it.
#pragma once

#include <cstddef>
#include <cstdint>

constexpr uint32_t graphSettingsSize = 148;

// COLORREF layout, 0x00BBGGRR.
using Colour = uint32_t;

struct GraphSettings {
    bool ShowSyatrayIcon;
    bool StartMinimized;
    bool ShowXAxis;
    int32_t RangeMin;
    int32_t RangeMax;
    Colour BGColor;
    Colour FrameColor;
    Colour LoadGraphColor;
    Colour GraphColor;
    Colour GridColor;
    Colour MessageColor;
    uint32_t Size;
    Colour TextColor;
    Colour TitleColor;
    Colour XAxisColor;
    char16_t TempUnit[3];
    char16_t LoadUnit[3];
    char16_t Title[41];
};

struct WindowOptions {
    bool AlwaysOnTop;
    uint32_t PollInterval;  // milliseconds
    uint32_t LogInterval;   // milliseconds; 0 is off
    int32_t GraphWidth;
    int32_t GraphHeight;    // per pane
    int32_t Transparency;   // 0 opaque .. 255
    // The views added since: absent keys leave them 0, the stacked panes of the original window.
    // Flags are 32-bit so that the record has no padding bytes.
    int32_t Columns;          // 0 or 1: one column; N >= 2: N; -1: automatic
    int32_t HeatMap;          // one coloured cell per core instead of the graphs
    int32_t TrayTemperature;  // the tray icon shows the hottest core's temperature
    // 1: every update is appended to the day's CSV log; 0: none. A flag, but four bytes wide
    // so that the record has no padding that a copy could leave as it was.
    int32_t CsvLog;
    // 1 (also when the key is absent): the mouse over a plot shows the hover readout; 0: none.
    int32_t HoverReadout;
};

static_assert(offsetof(GraphSettings, ShowSyatrayIcon) == 0);
static_assert(offsetof(GraphSettings, StartMinimized) == 1);
static_assert(offsetof(GraphSettings, ShowXAxis) == 2);
static_assert(offsetof(GraphSettings, RangeMin) == 4);
static_assert(offsetof(GraphSettings, RangeMax) == 8);
static_assert(offsetof(GraphSettings, BGColor) == 12);
static_assert(offsetof(GraphSettings, FrameColor) == 16);
static_assert(offsetof(GraphSettings, LoadGraphColor) == 20);
static_assert(offsetof(GraphSettings, GraphColor) == 24);
static_assert(offsetof(GraphSettings, GridColor) == 28);
static_assert(offsetof(GraphSettings, MessageColor) == 32);
static_assert(offsetof(GraphSettings, Size) == 36);
static_assert(offsetof(GraphSettings, TextColor) == 40);
static_assert(offsetof(GraphSettings, TitleColor) == 44);
static_assert(offsetof(GraphSettings, XAxisColor) == 48);
static_assert(offsetof(GraphSettings, TempUnit) == 52);
static_assert(offsetof(GraphSettings, LoadUnit) == 58);
static_assert(offsetof(GraphSettings, Title) == 64);
static_assert(sizeof(GraphSettings) == graphSettingsSize);

static_assert(offsetof(WindowOptions, AlwaysOnTop) == 0);
static_assert(offsetof(WindowOptions, PollInterval) == 4);
static_assert(offsetof(WindowOptions, LogInterval) == 8);
static_assert(offsetof(WindowOptions, GraphWidth) == 12);
static_assert(offsetof(WindowOptions, GraphHeight) == 16);
static_assert(offsetof(WindowOptions, Transparency) == 20);
static_assert(offsetof(WindowOptions, Columns) == 24);
static_assert(offsetof(WindowOptions, HeatMap) == 28);
static_assert(offsetof(WindowOptions, TrayTemperature) == 32);
static_assert(offsetof(WindowOptions, CsvLog) == 36);
static_assert(offsetof(WindowOptions, HoverReadout) == 40);
static_assert(sizeof(WindowOptions) == 44);

