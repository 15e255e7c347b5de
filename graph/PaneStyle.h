// The look of a pane as one record: range, x axis, colours, units and title. A pane copies
// its fields from the style of its settings record, or from the default style when the record
// is refused; tests and benchmarks build their records from the same defaults.
#pragma once

#include "settings/GraphSettings.h"

#include <windows.h>

#include <cstdint>

struct PaneStyle {
    bool showXAxis = true;
    int32_t rangeMin = 0;
    int32_t rangeMax = 100;
    COLORREF bgColor = 0x000000;
    COLORREF frameColor = 0x00F0F0;
    COLORREF loadGraphColor = 0x0000F0;
    COLORREF graphColor = 0x00F000;  // the temperature series
    COLORREF gridColor = 0x00004F;
    COLORREF messageColor = 0xF0F000;
    COLORREF textColor = 0xFFFFFF;
    COLORREF titleColor = 0xFFFFFF;
    COLORREF xAxisColor = 0x007070;
    wchar_t unitText[3] = L"C\u00B0";
    wchar_t loadUnitText[3] = L"%";
    wchar_t titleText[41] = L"Untitled";
};

// Every colour of a pane's look, once: the settings record's field beside the style's. Adding
// a colour to the settings and the style is one more line here.
struct ColourField {
    Colour GraphSettings::*record;
    COLORREF PaneStyle::*style;
};
inline constexpr ColourField paneColourFields[] = {
    {&GraphSettings::BGColor, &PaneStyle::bgColor},
    {&GraphSettings::FrameColor, &PaneStyle::frameColor},
    {&GraphSettings::LoadGraphColor, &PaneStyle::loadGraphColor},
    {&GraphSettings::GraphColor, &PaneStyle::graphColor},
    {&GraphSettings::GridColor, &PaneStyle::gridColor},
    {&GraphSettings::MessageColor, &PaneStyle::messageColor},
    {&GraphSettings::TextColor, &PaneStyle::textColor},
    {&GraphSettings::TitleColor, &PaneStyle::titleColor},
    {&GraphSettings::XAxisColor, &PaneStyle::xAxisColor},
};

// The record's field of a style colour.
Colour GraphSettings::*RecordFieldOf(COLORREF PaneStyle::*style);

// The colours a pane draws with on screen in place of its own (Windows' high-contrast mode);
// what it saves keeps its own.
struct PaneColours {
    COLORREF background = 0;
    COLORREF frame = 0;
    COLORREF load = 0;
    COLORREF temperature = 0;
    COLORREF grid = 0;
    COLORREF message = 0;
    COLORREF text = 0;
    COLORREF title = 0;
    COLORREF xAxis = 0;
};

// The style of an accepted record (see AcceptedRecord); its title is read guarded.
PaneStyle StyleOf(const GraphSettings& record);

// A record (Size 148) that gives exactly this style, titled title.
GraphSettings RecordOf(const PaneStyle& style, const wchar_t* title);
