#include "window/StackedView.h"

#include "core/WindowLayout.h"
#include "graph/CZiveVazudEx.h"

POINT StackedView::PaneOrigin(uint32_t index, SIZE pane) const
{
    return {0, static_cast<LONG>(static_cast<uint32_t>(pane.cy) * index)};
}

void StackedView::SizeWindow(HWND window, SIZE pane)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    const ClientSize client = WantedClientSize(pane.cx, pane.cy, paneCount);
    rect.right = static_cast<LONG>(static_cast<uint32_t>(rect.left) + static_cast<uint32_t>(client.width));
    rect.bottom = static_cast<LONG>(static_cast<uint32_t>(rect.top) + static_cast<uint32_t>(client.height));
    ::AdjustWindowRect(&rect, static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE)), TRUE);
    ::SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top, SWP_NOMOVE);
}

void StackedView::LayOut(const ViewInputs& inputs)
{
    const HWND window = inputs.window;
    if (paneCount != 0) {
        // Grows the window so the client height is a multiple of the pane count.
        RECT windowRect{};
        RECT client{};
        ::GetWindowRect(window, &windowRect);
        ::GetClientRect(window, &client);
        const uint32_t growth = SnapGrowth(static_cast<uint32_t>(client.bottom), paneCount);
        if (growth != 0)
            ::SetWindowPos(window, nullptr, 0, 0, windowRect.right - windowRect.left,
                           windowRect.bottom - windowRect.top + static_cast<int>(growth), SWP_NOMOVE);
    }
    RECT client{};
    ::GetClientRect(window, &client);
    const PaneList& panes = *inputs.panes;
    for (uint32_t i = 0; i < panes.size(); ++i) {
        if (!panes[i])
            continue;
        const PaneRow row = PaneRowAt(i, static_cast<uint32_t>(client.bottom), paneCount);
        ::SetWindowPos(panes[i]->PaneWindow(), nullptr, 0, row.top, client.right, row.height, 0);
    }
}
