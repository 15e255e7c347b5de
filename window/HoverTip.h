// The hover readout's tooltip (HoverReadout on, the default): one tracking tooltip that follows
// the mouse over a pane's plot and tells the time, values and figures of the sample under it;
// and the same readout for the heat map's cell tips. Owned by the main window; the tooltip
// window is owned by the main window's handle and goes with it.
#pragma once

#include "core/UpdateTimes.h"
#include "graph/CZiveVazudEx.h"

#include <windows.h>

#include <cstdint>
#include <string>

// The readout of the sample k steps back from the newest of a pane, with the figures of its
// newest shownCount samples and of its whole history; nowMs is the clock (ms since 1970 UTC).
// What a mouse move over a plot computes.
std::wstring PaneReadout(const CZiveVazudEx& pane, const UpdateTimes* times, int32_t k, int32_t shownCount,
                         int64_t nowMs);

class HoverTip {
public:
    // Wide enough for the longest line, so a tip breaks only at the line ends.
    static constexpr int tipWidth = 600;

    HoverTip(HWND window, HINSTANCE instance);
    HoverTip(const HoverTip&) = delete;
    HoverTip& operator=(const HoverTip&) = delete;

    // The mouse at point (pane client coordinates) over the pane's window: the tip shows the
    // sample under it, or goes when no sample of the plot is there.
    void OnMouseMove(const CZiveVazudEx& pane, const UpdateTimes* times, POINT point);
    // The same for a pane drawn in a window that holds it (the grid view's main window): the
    // tip goes when the mouse leaves mouseWindow, whose leave then comes to OnMouseLeave.
    void OnMouseMove(const CZiveVazudEx& pane, const UpdateTimes* times, POINT point, HWND mouseWindow);
    // The mouse left the pane's window (or the window that holds it).
    void OnMouseLeave(HWND paneWindow);
    // The keyboard's time cursor on the sample k steps back from the newest of pane: the same
    // readout as the mouse's, at the sample's column when the pane shows it, else at fallback
    // (screen coordinates).
    void ShowSample(const CZiveVazudEx& pane, const UpdateTimes* times, int32_t k, POINT fallback);
    // The time cursor left.
    void HideSample() { Hide(); }
    // The text of a heat map cell's tip: the pane's newest sample. Lives until the next call.
    const wchar_t* CellText(const CZiveVazudEx& pane, const UpdateTimes* times);

    HWND Handle() const { return tip; }

private:
    void Hide();
    void ShowText(std::wstring readout, POINT screen);

    HWND window;
    HWND tip = nullptr;
    HWND trackedPane = nullptr;  // the pane whose WM_MOUSELEAVE is asked for
    bool shown = false;
    std::wstring text;
    std::wstring cellText;
};
