// Draws a pane into a device context that is not its own window's: the grid view paints every
// pane of the main window into one memory bitmap this way. Free functions over a pane that
// the caller owns, under the lock the caller holds (see RenderPaneAt).
#pragma once

#include "graph/CZiveVazudEx.h"

#include <windows.h>

// Renders the pane into dc with the top-left corner of its client area at origin (in dc's
// device coordinates), cut to the client area's size: the pixels its own paint puts into its
// window. The caller holds PanesLock() exclusively: every export renders its pane under that
// lock shared, so no export overlaps the drawing, as the pane's named mutex keeps them apart in
// its own paint; one lock for a whole view costs no kernel call per pane. dc's state (mapping,
// clipping, brush origin, colours and selections) is what it was afterwards.
// screenColours, when not null, replace the pane's own for this drawing (high contrast).
void RenderPaneAt(CZiveVazudEx& pane, HDC dc, POINT origin, const PaneColours* screenColours = nullptr);

// The screen's colours for one paint of a pane, taken back even when it throws.
class ScreenColours {
public:
    ScreenColours(CZiveVazud& pane, const PaneColours* colours) : pane(pane) { pane.UseScreenColours(colours); }
    ~ScreenColours() { pane.UseScreenColours(nullptr); }
    ScreenColours(const ScreenColours&) = delete;
    ScreenColours& operator=(const ScreenColours&) = delete;

private:
    CZiveVazud& pane;
};
