#include "graph/PaneRender.h"

void RenderPaneAt(CZiveVazudEx& pane, HDC dc, POINT origin, const PaneColours* screenColours)
{
    RECT client{};
    ::GetClientRect(pane.PaneWindow(), &client);
    // The pane draws as into a memory bitmap of its own, fresh each time: from the DC's
    // default state, nothing beyond its client area.
    const int saved = ::SaveDC(dc);
    ::IntersectClipRect(dc, origin.x, origin.y, origin.x + client.right, origin.y + client.bottom);
    ::SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    // Patterns (the plot's cross hatch) start at the pane's corner, as in its own bitmap.
    ::SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
    {
        ScreenColours colours(pane, screenColours);
        pane.RenderOnScreen(dc);
    }
    if (saved != 0)
        ::RestoreDC(dc, saved);
}
