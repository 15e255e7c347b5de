// Where the cores are and how a client moves between them: focus, selection, location,
// navigation and hit testing of the cores' IAccessible.
#include "window/CoreAccessibleObject.h"

#include "window/CoreFocus.h"

namespace accessible {

HRESULT CoreAccessible::get_accFocus(VARIANT* focus)
{
    if (!focus)
        return E_POINTER;
    Empty(focus);
    Live live;
    if (!Connect(live))
        return CO_E_OBJNOTCONNECTED;
    if (::GetFocus() != window)
        return S_FALSE;
    const int32_t focused = live.owner->Focus().Focused();
    if (core == wholeWindowObject)
        return Answer(live, focused == CoreFocus::none ? selfTarget : focused, focus);
    return Answer(live, focused == core ? selfTarget : noTarget, focus);
}

HRESULT CoreAccessible::accSelect(long flags, VARIANT child)
{
    Live live;
    int32_t target = noTarget;
    if (const HRESULT reached = Reach(live, child, target); reached != S_OK)
        return reached;
    if ((flags & SELFLAG_TAKEFOCUS) == 0)
        return DISP_E_MEMBERNOTFOUND;
    ::SetFocus(window);
    live.owner->Focus().Focus(*live.view, live.inputs, target == selfTarget ? CoreFocus::none : target);
    return S_OK;
}

HRESULT CoreAccessible::accLocation(long* left, long* top, long* width, long* height, VARIANT child)
{
    if (!left || !top || !width || !height)
        return E_POINTER;
    *left = *top = *width = *height = 0;
    Live live;
    int32_t target = noTarget;
    if (const HRESULT reached = Reach(live, child, target); reached != S_OK)
        return reached;
    RECT rect{};
    HWND from = window;
    if (target == selfTarget) {
        ::GetClientRect(window, &rect);
    } else if (live.view->CoresAreWindows()) {
        // The pane's plot, where its readings are.
        const CZiveVazudEx& pane = PaneAt(live, target);
        rect = pane.PlotRect();
        from = pane.PaneWindow();
    } else {
        rect = live.view->CoreArea(live.inputs, static_cast<uint32_t>(target));
    }
    ::MapWindowPoints(from, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    *left = rect.left;
    *top = rect.top;
    *width = rect.right - rect.left;
    *height = rect.bottom - rect.top;
    return S_OK;
}

HRESULT CoreAccessible::accNavigate(long direction, VARIANT start, VARIANT* end)
{
    if (!end)
        return E_POINTER;
    Empty(end);
    Live live;
    int32_t from = noTarget;
    if (const HRESULT reached = Reach(live, start, from); reached != S_OK)
        return reached;
    const auto count = static_cast<int32_t>(live.count);
    const auto row = static_cast<int32_t>(live.view->CoresPerRow());
    int32_t to = noTarget;
    if (from == selfTarget) {
        // Into the children; the whole window's siblings are its frame's business.
        if (direction == NAVDIR_FIRSTCHILD && count > 0)
            to = 0;
        else if (direction == NAVDIR_LASTCHILD && count > 0)
            to = count - 1;
    } else if (direction == NAVDIR_NEXT || direction == NAVDIR_RIGHT) {
        to = from + 1;
    } else if (direction == NAVDIR_PREVIOUS || direction == NAVDIR_LEFT) {
        to = from - 1;
    } else if (direction == NAVDIR_DOWN) {
        to = from + row;
    } else if (direction == NAVDIR_UP) {
        to = from - row;
    }
    if (to < 0 || to >= count)
        return S_FALSE;
    // From a pane object its neighbours are objects of their own.
    if (core != wholeWindowObject && to != core) {
        end->vt = VT_DISPATCH;
        end->pdispVal = new (std::nothrow) CoreAccessible(window, to);
        return S_OK;
    }
    return Answer(live, to, end);
}

HRESULT CoreAccessible::accHitTest(long x, long y, VARIANT* child)
{
    if (!child)
        return E_POINTER;
    Empty(child);
    Live live;
    if (!Connect(live))
        return CO_E_OBJNOTCONNECTED;
    POINT point{x, y};
    ::ScreenToClient(window, &point);
    RECT client{};
    ::GetClientRect(window, &client);
    if (!::PtInRect(&client, point))
        return S_FALSE;
    if (core != wholeWindowObject) {
        const RECT area = live.view->CoreArea(live.inputs, static_cast<uint32_t>(core));
        return Answer(live, ::PtInRect(&area, point) ? selfTarget : noTarget, child);
    }
    for (uint32_t i = 0; i < live.count; ++i) {
        const RECT area = live.view->CoreArea(live.inputs, i);
        if (::PtInRect(&area, point))
            return Answer(live, static_cast<int32_t>(i), child);
    }
    return Answer(live, selfTarget, child);
}

}  // namespace accessible
