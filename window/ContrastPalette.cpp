#include "window/ContrastPalette.h"

namespace {

bool HighContrastOn()
{
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

bool operator==(const PaneColours& a, const PaneColours& b)
{
    return a.background == b.background && a.frame == b.frame && a.load == b.load &&
           a.temperature == b.temperature && a.grid == b.grid && a.message == b.message && a.text == b.text &&
           a.title == b.title && a.xAxis == b.xAxis;
}

}  // namespace

bool ContrastPalette::Read()
{
    const bool on = HighContrastOn();
    PaneColours system;
    if (on) {
        const COLORREF window = ::GetSysColor(COLOR_WINDOW);
        const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
        system.background = window;
        system.frame = text;
        system.text = text;
        system.title = text;
        system.message = text;
        system.xAxis = text;
        system.load = text;
        // The temperature stands out from the load in the highlight colour; the grid's hatch
        // in the grey text colour stays behind both lines.
        system.temperature = ::GetSysColor(COLOR_HIGHLIGHT);
        system.grid = ::GetSysColor(COLOR_GRAYTEXT);
    }
    const bool changed = on != active || (on && !(system == colours));
    active = on;
    colours = system;
    return changed;
}

void ContrastPalette::OnSystemChange(HWND window)
{
    if (Read())
        ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}
