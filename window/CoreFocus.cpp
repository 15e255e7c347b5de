#include "window/CoreFocus.h"

#include "graph/CZiveVazudEx.h"
#include "win32/Handles.h"
#include "window/HoverTip.h"

#include <algorithm>

namespace {

const CZiveVazudEx* PaneOf(const ViewInputs& inputs, int32_t core)
{
    if (core < 0 || static_cast<uint32_t>(core) >= CoreFocus::Count(inputs))
        return nullptr;
    return (*inputs.panes)[static_cast<size_t>(core)];
}

// The samples a core holds: the time cursor goes no further back.
int32_t HeldSamples(const CZiveVazudEx* pane)
{
    return pane ? pane->TempHistory().Count() : 0;
}

// The core's pane window shows it (stacked and grid panes), or the main window draws it.
bool PaneShows(const CZiveVazudEx* pane)
{
    return pane && ::IsWindowVisible(pane->PaneWindow());
}

bool KeyDown(int key)
{
    return ::GetKeyState(key) < 0;
}

}  // namespace

uint32_t CoreFocus::Count(const ViewInputs& inputs)
{
    return inputs.panes ? std::min(static_cast<uint32_t>(inputs.panes->size()), inputs.reportedCores) : 0;
}

bool CoreFocus::OnMessage(const View& view, const ViewInputs& inputs, UINT message, WPARAM wParam, LRESULT& result)
{
    switch (message) {
    case WM_KEYDOWN:
        if (!OnKey(view, inputs, wParam))
            return false;
        result = 0;
        return true;
    case WM_SETFOCUS:
        if (PaneOf(inputs, focused)) {
            Invalidate(view, inputs, focused);
            ShowCursorTip(view, inputs);
            Raise(EVENT_OBJECT_FOCUS, view, inputs);
        }
        return false;
    case WM_KILLFOCUS:
        Invalidate(view, inputs, focused);
        if (cursor != none && inputs.hover)
            inputs.hover->HideSample();
        return false;
    case WM_UPDATEUISTATE:
        // The cues change once the default handling has run: the rectangle follows at the paint.
        Invalidate(view, inputs, focused);
        return false;
    default:
        return false;
    }
}

bool CoreFocus::OnKey(const View& view, const ViewInputs& inputs, WPARAM key)
{
    const auto count = static_cast<int32_t>(Count(inputs));
    if (count == 0)
        return false;
    const bool control = KeyDown(VK_CONTROL);
    const auto row = static_cast<int32_t>(std::max<uint32_t>(view.CoresPerRow(), 1));
    const int32_t at = std::min(focused, count - 1);
    int32_t to = at;
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
        if (control) {
            // Older to the left, as the plot draws it; the first press starts at the newest.
            const int32_t from = cursor == none ? (key == VK_LEFT ? -1 : 1) : cursor;
            MoveCursor(view, inputs, from + (key == VK_LEFT ? 1 : -1));
            return true;
        }
        to = at == none ? 0 : std::clamp(at + (key == VK_LEFT ? -1 : 1), 0, count - 1);
        break;
    case VK_UP:
        to = at == none ? 0 : (at - row >= 0 ? at - row : at);
        break;
    case VK_DOWN:
        to = at == none ? 0 : (at + row < count ? at + row : at);
        break;
    case VK_TAB:
        // Round and round, as Tab goes through a dialog.
        to = at == none ? 0 : (at + (KeyDown(VK_SHIFT) ? count - 1 : 1)) % count;
        break;
    case VK_HOME:
        MoveCursor(view, inputs, HeldSamples(PaneOf(inputs, at == none ? 0 : at)) - 1);
        return true;
    case VK_END:
        MoveCursor(view, inputs, 0);
        return true;
    case VK_ESCAPE:
        if (cursor == none)
            return false;
        MoveCursor(view, inputs, none);
        return true;
    default:
        return false;
    }
    // A key that moves the focus shows where it went.
    ::SendMessageW(inputs.window, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    if (to != focused)
        Focus(view, inputs, to);
    return true;
}

void CoreFocus::Focus(const View& view, const ViewInputs& inputs, int32_t core)
{
    if (core != none && !PaneOf(inputs, core))
        return;
    Invalidate(view, inputs, focused);
    focused = core;
    Invalidate(view, inputs, focused);
    if (focused == none) {
        cursor = none;
        if (inputs.hover)
            inputs.hover->HideSample();
        return;
    }
    // The cursor stays at the same moment in the next core, so cores can be compared there.
    if (cursor != none)
        cursor = std::min(cursor, HeldSamples(PaneOf(inputs, focused)) - 1);
    ShowCursorTip(view, inputs);
    Raise(EVENT_OBJECT_FOCUS, view, inputs);
    valueEventRaised = false;
}

void CoreFocus::MoveCursor(const View& view, const ViewInputs& inputs, int32_t to)
{
    if (focused == none)
        Focus(view, inputs, 0);
    const int32_t held = HeldSamples(PaneOf(inputs, focused));
    if (to != none && held == 0)
        return;
    const int32_t moved = to == none ? none : std::clamp(to, 0, held - 1);
    if (moved == cursor)
        return;
    cursor = moved;
    ShowCursorTip(view, inputs);
    // A key press answers with what it did, whenever the last update's value change was.
    Raise(EVENT_OBJECT_VALUECHANGE, view, inputs);
    valueEventRaised = true;
    lastValueEventMs = ::GetTickCount64();
}

void CoreFocus::OnUpdate(const View& view, const ViewInputs& inputs)
{
    if (focused == none)
        return;
    const CZiveVazudEx* pane = PaneOf(inputs, focused);
    if (!pane) {
        Focus(view, inputs, none);  // the snapshot no longer reports the core
        return;
    }
    if (cursor != none) {
        // A new sample came in front of the one the cursor is on: it stays on that sample.
        cursor = std::min(cursor + 1, HeldSamples(pane) - 1);
        ShowCursorTip(view, inputs);
        return;
    }
    // The clock first: asking for the focus is a trip to the window server under Wine.
    const uint64_t now = ::GetTickCount64();
    if (valueEventRaised && now - lastValueEventMs < valueEventSpacingMs)
        return;
    if (::GetFocus() != inputs.window)
        return;
    Raise(EVENT_OBJECT_VALUECHANGE, view, inputs);
    valueEventRaised = true;
    lastValueEventMs = now;
}

void CoreFocus::ShowCursorTip(const View& view, const ViewInputs& inputs) const
{
    if (!inputs.hover)
        return;
    const CZiveVazudEx* pane = PaneOf(inputs, focused);
    if (cursor == none || !pane) {
        inputs.hover->HideSample();
        return;
    }
    // Without a column of its own (a heat map cell, a sample scrolled out), below the core.
    const RECT area = view.CoreArea(inputs, static_cast<uint32_t>(focused));
    POINT below{area.left, area.bottom};
    ::ClientToScreen(inputs.window, &below);
    inputs.hover->ShowSample(*pane, inputs.times, cursor, below);
}

void CoreFocus::Invalidate(const View& view, const ViewInputs& inputs, int32_t core) const
{
    const CZiveVazudEx* pane = PaneOf(inputs, core);
    if (!pane)
        return;
    if (PaneShows(pane)) {
        ::InvalidateRect(pane->PaneWindow(), nullptr, FALSE);
        return;
    }
    const RECT area = view.CoreArea(inputs, static_cast<uint32_t>(core));
    ::InvalidateRect(inputs.window, &area, FALSE);
}

void CoreFocus::Raise(DWORD event, const View& view, const ViewInputs& inputs) const
{
    const CZiveVazudEx* pane = PaneOf(inputs, focused);
    if (!pane)
        return;
    // The object a screen reader then asks for: the pane window's own, or the main window's child.
    if (view.CoresAreWindows())
        ::NotifyWinEvent(event, pane->PaneWindow(), OBJID_CLIENT, CHILDID_SELF);
    else
        ::NotifyWinEvent(event, inputs.window, OBJID_CLIENT, focused + 1);
}

bool CoreFocus::ShowsRectangle(const ViewInputs& inputs) const
{
    if (!PaneOf(inputs, focused) || ::GetFocus() != inputs.window)
        return false;
    const auto state = static_cast<UINT>(::SendMessageW(inputs.window, WM_QUERYUISTATE, 0, 0));
    return (state & UISF_HIDEFOCUS) == 0;
}

bool CoreFocus::PaintWindow(View& view, const ViewInputs& inputs) const
{
    const bool here = ShowsRectangle(inputs) && !PaneShows(PaneOf(inputs, focused));
    // The rectangle is drawn by inverting: only where the view painted again, or it would
    // take away the one drawn before.
    Region update(here ? ::CreateRectRgn(0, 0, 0, 0) : nullptr);
    if (update && ::GetUpdateRgn(inputs.window, update.Get(), FALSE) == ERROR)
        update.Reset();
    const bool painted = view.Paint(inputs);
    if (!painted || !update)
        return painted;
    WindowDc dc(inputs.window);
    if (!dc)
        return painted;
    ::SelectClipRgn(dc.Get(), update.Get());
    RECT area = view.CoreArea(inputs, static_cast<uint32_t>(focused));
    ::InflateRect(&area, -1, -1);
    ::DrawFocusRect(dc.Get(), &area);
    return painted;
}

void CoreFocus::DrawOverPane(const ViewInputs& inputs, HWND paneWindow, HDC dc) const
{
    const CZiveVazudEx* pane = PaneOf(inputs, focused);
    if (!pane || pane->PaneWindow() != paneWindow || !ShowsRectangle(inputs))
        return;
    RECT area{};
    ::GetClientRect(paneWindow, &area);
    ::InflateRect(&area, -1, -1);
    ::DrawFocusRect(dc, &area);
}
