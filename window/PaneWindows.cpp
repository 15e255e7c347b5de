#include "window/PaneWindows.h"

#include "core/WindowLayout.h"
#include "win32/Clock.h"
#include "win32/DpiAwareness.h"
#include "window/MainWindowProc.h"
#include "window/View.h"

namespace {

HWND CreatePaneWindow(HWND parent, HINSTANCE instance, uint32_t index, POINT origin, SIZE size, bool visible)
{
    const PerMonitorDpiScope perMonitor;
    HWND pane = ::CreateWindowExW(0, L"static", L"", WS_CHILD | (visible ? WS_VISIBLE : 0), origin.x, origin.y,
                                  size.cx, size.cy, parent, nullptr, instance, nullptr);
    if (pane) {
        // The window carries its pane's number (plus one: 0 is a window of no pane), so its
        // messages find the pane without a search.
        ::SetWindowLongPtrW(pane, GWLP_USERDATA, static_cast<LONG_PTR>(index) + 1);
        ::SetWindowLongPtrW(pane, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PaneWindowProc));
    }
    return pane;
}

}  // namespace

void PaneWindows::Build(HWND parent, HINSTANCE instance, const View& view, SIZE paneSize, int32_t recordHeight,
                        GraphSettings& settings)
{
    panes.reserve(count);
    list.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        HWND paneWindow = CreatePaneWindow(parent, instance, i, view.PaneOrigin(i, paneSize), paneSize,
                                           view.ShowsPanes());
        FormatCoreTitle(settings.Title, i);
        panes.push_back(std::make_unique<CZiveVazudEx>(paneWindow, &settings));
        list.push_back(panes.back().get());
        panes.back()->SetRecordHeight(recordHeight > 0 ? recordHeight : 0);
        if (view.CompactPanes())
            panes.back()->SetCompact(true);
    }
    built = true;
    // As many times as a pane's history starts with samples, growing and wrapping alike.
    if (!panes.empty())
        times = std::make_unique<UpdateTimes>(panes.front()->History().Capacity());
}

void PaneWindows::SetDpi(int32_t dpi)
{
    for (CZiveVazudEx* pane : list) {
        if (pane)
            pane->SetDpi(dpi);
    }
}

void PaneWindows::Clear()
{
    built = false;
    list.clear();
    panes.clear();
    times.reset();
}

CZiveVazudEx* PaneWindows::Of(HWND paneWindow, uint32_t reportedCores) const
{
    const LONG_PTR number = ::GetWindowLongPtrW(paneWindow, GWLP_USERDATA);
    if (number <= 0)
        return nullptr;
    const auto index = static_cast<uint64_t>(number - 1);
    if (index >= list.size() || index >= reportedCores)
        return nullptr;
    CZiveVazudEx* pane = list[index];
    return pane && pane->PaneWindow() == paneWindow ? pane : nullptr;
}

void PaneWindows::Replace(uint32_t index, std::unique_ptr<CZiveVazudEx> pane)
{
    if (index >= panes.size())
        return;
    list[index] = pane.get();
    panes[index] = std::move(pane);
}

void PaneWindows::RecordUpdateTime()
{
    if (times)
        times->Push(ClockNowUnixMilliseconds());
}

void PaneWindows::ClearHistories()
{
    for (CZiveVazudEx* pane : list) {
        if (pane)
            pane->ClearHistory();
    }
    if (times)
        times->Clear();
}
