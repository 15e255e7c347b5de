// The arithmetic of the main window's layout: the wanted client size, the transparency
// alpha, the height snapping that keeps panes equal, each pane's row and its title.
// Pure functions, no state; used by the window code on the host's thread.
#pragma once

#include <cstdint>

// The client size asked for when the settings file gives no pane size.
constexpr int32_t defaultClientWidth = 792;
constexpr int32_t defaultPaneHeight = 214;
// The smallest client area the user can drag the window to.
constexpr int32_t minimumClientWidth = 400;
constexpr int32_t minimumClientHeight = 300;

struct ClientSize {
    int32_t width;
    int32_t height;
};

// GraphWidth x (count x GraphHeight) when both are set, else 792 x (count x 214).
// 32-bit arithmetic: a product beyond 32 bits wraps, as the window rectangle would.
ClientSize WantedClientSize(int32_t graphWidth, int32_t graphHeight, uint32_t paneCount);

// The layered-window alpha for a Transparency value: the low 8 bits of 255 - value.
uint8_t LayeredAlpha(int32_t transparency);

// How many pixels the window must grow so that the client height becomes a multiple of the
// pane count; 0 when it already is one or when there are no panes.
uint32_t SnapGrowth(uint32_t clientHeight, uint32_t paneCount);

struct PaneRow {
    int32_t top;
    int32_t height;
};

// Pane index of paneCount panes sharing clientHeight: equal rows from the top.
PaneRow PaneRowAt(uint32_t index, uint32_t clientHeight, uint32_t paneCount);

constexpr int paneTitleCapacity = 41;

// "Core #<core>" into a title buffer of 41 characters, always terminated.
void FormatCoreTitle(char16_t (&title)[paneTitleCapacity], uint32_t core);
