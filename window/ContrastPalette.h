// The screen's colours in Windows' high-contrast mode: the system's window, window text and
// highlight colours in place of the settings file's, for the panes and the heat map's cells on
// screen only (exports keep the settings file's). Owned by the main window, read again when the
// system's colours or settings change.
#pragma once

#include "graph/PaneStyle.h"

#include <windows.h>

class ContrastPalette {
public:
    ContrastPalette() { Read(); }

    // Reads SPI_GETHIGHCONTRAST and the system colours again. True when anything changed.
    bool Read();
    // WM_SYSCOLORCHANGE and WM_SETTINGCHANGE: read again and, when anything changed, the
    // window and its panes painted again.
    void OnSystemChange(HWND window);
    // The colours to paint with, or null outside high contrast.
    const PaneColours* Colours() const { return active ? &colours : nullptr; }

private:
    bool active = false;
    PaneColours colours;
};
