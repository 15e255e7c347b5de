// The main window's messages (pane layout, paint, close, the shell's restart), the pane
// windows' procedure and the log timer; the menu commands are in MainWindowCommands.cpp. All run on the host's thread; no exception leaves them.
#include "window/MainWindowProc.h"

#include "core/WindowLayout.h"
#include "win32/DpiAwareness.h"
#include "graph/CZiveVazudEx.h"
#include "graph/PaneRender.h"
#include "win32/Handles.h"
#include "window/CoreAccessible.h"
#include "window/HoverTip.h"
#include "window/MainWindow.h"
#include "window/TrayIcon.h"
#include "window/TrayTemperature.h"
#include "window/View.h"

namespace {

// The smallest client area, 400 x 300 at 96 DPI, scaled to the window's resolution.
void SetMinimumTrackSize(HWND window, int dpi, MINMAXINFO* limits)
{
    RECT rect{0, 0, ::MulDiv(minimumClientWidth, dpi, 96), ::MulDiv(minimumClientHeight, dpi, 96)};
    ::AdjustWindowRect(&rect, static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE)), TRUE);
    limits->ptMinTrackSize.x = rect.right - rect.left;
    limits->ptMinTrackSize.y = rect.bottom - rect.top;
}

}  // namespace

LRESULT MainWindow::OnSize(WPARAM sizeType, LPARAM lParam)
{
    if (sizeType == SIZE_MINIMIZED) {
        if (settings && settings->ShowSyatrayIcon) {
            // Off the taskbar until the tray icon or Start brings it back.
            ::ShowWindow(window, SW_HIDE);
            return 0;
        }
        return ::DefWindowProcW(window, WM_SIZE, sizeType, lParam);
    }
    if (!panes.Built() || !view)
        return ::DefWindowProcW(window, WM_SIZE, sizeType, lParam);
    view->LayOut(Inputs());
    return 1;
}

void MainWindow::OnDpiChanged(WPARAM dpis, const RECT* suggested)
{
    screen = ScreenMetrics::ForDpi(HIWORD(dpis));
    panes.SetDpi(Dpi());
    if (trayReading)
        trayReading->Rescale(screen);
    if (suggested)
        ::SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                       suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
    // Laid out and drawn again even when the rectangle stayed the same.
    if (panes.Built() && view)
        view->LayOut(Inputs());
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void MainWindow::OnTaskbarCreated()
{
    // The shell forgot every icon, and the display scale may have changed with it.
    screen = ScreenMetrics::Read(window);
    if (trayReading)
        trayReading->Rescale(screen);
    // Without this the hidden window would be out of reach until the host unloads us.
    if (tray)
        tray->RestoreIcon();
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (LRESULT result = 0;
        CoreFocus::Wants(message) && Ready() && focus.OnMessage(*view, Inputs(), message, wParam, result))
        return result;
    switch (message) {
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_SIZE:
        return OnSize(wParam, lParam);
    case WM_CLOSE:
        owner.RequestClose();
        return 0;
    case WM_DPICHANGED:
        OnDpiChanged(wParam, reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_ERASEBKGND:
        // The panes (or the heat map's cells) cover the client area and draw all of it.
        return 1;
    case WM_PAINT:
        if (view && focus.PaintWindow(*view, Inputs()))
            return 0;
        break;
    case WM_GETOBJECT:
        if (LRESULT object = 0; AnswerObject(wholeWindowObject, wParam, lParam, object))
            return object;
        break;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        contrast.OnSystemChange(window);
        break;
    case trayCallbackMessage:
        OnTrayNotification(lParam);
        return 0;
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam)))
            return 0;
        break;
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
        if (view && view->OnMouse(Inputs(), message, lParam))
            return 0;
        break;
    case WM_NOTIFY:
        if (view && view->OnNotify(Inputs(), reinterpret_cast<NMHDR*>(lParam)))
            return 0;
        break;
    default:
        if (message != 0 && message == taskbarCreated) {
            OnTaskbarCreated();
            return 0;
        }
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

bool MainWindow::AnswerObject(int32_t core, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    return AnswerGetObject(window, core, wParam, lParam, com, result);
}

void MainWindow::PaintPane(HWND paneWindow)
{
    PaintDc paint(paneWindow);
    // A snapshot with fewer cores than panes leaves the panes beyond it unpainted.
    if (CZiveVazudEx* pane = panes.Of(paneWindow, reportedCores)) {
        ScreenColours colours(*pane, contrast.Colours());
        pane->Paint(paint.Get(), WM_PAINT);
        focus.DrawOverPane(Inputs(), paneWindow, paint.Get());
    }
}

void MainWindow::OnPaneMouse(HWND paneWindow, UINT message, LPARAM lParam)
{
    if (!hoverTip)
        return;
    if (message == WM_MOUSELEAVE) {
        hoverTip->OnMouseLeave(paneWindow);
        return;
    }
    // As in PaintPane: panes beyond the snapshot's cores draw nothing, so they tell nothing.
    if (const CZiveVazudEx* pane = panes.Of(paneWindow, reportedCores)) {
        const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        hoverTip->OnMouseMove(*pane, Times(), point);
    }
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        if (message == WM_NCCREATE) {
            // The object handed to CreateWindowExW: from now on every message reaches it.
            const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
        }
        if (message == WM_GETMINMAXINFO) {
            // Asked before the creation message too, so answered without the object then.
            const MainWindow* known = MainWindow::Of(window);
            const int dpi = known && known->Handle() == window ? known->Dpi() : WindowDpi(window);
            SetMinimumTrackSize(window, dpi, reinterpret_cast<MINMAXINFO*>(lParam));
            return 0;
        }
        MainWindow* self = MainWindow::Of(window);
        if (self && self->Handle() == window)
            return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK PaneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_NCPAINT:
            // A pane has no frame, so there is nothing outside its client area to draw; the
            // default handling would still fetch a device context of the whole window for it.
            return 0;
        case WM_PAINT:
            if (MainWindow* owner = MainWindow::Of(::GetParent(window))) {
                owner->PaintPane(window);
                return 0;
            }
            break;
        case WM_NCHITTEST:
            // A "static" window is transparent to the mouse; with the readout the pane takes it.
            if (MainWindow* owner = MainWindow::Of(::GetParent(window)); owner && owner->Hover())
                return HTCLIENT;
            break;
        case WM_GETOBJECT: {
            // The pane's own object where every core is a window of its own.
            const LONG_PTR number = ::GetWindowLongPtrW(window, GWLP_USERDATA);
            MainWindow* owner = MainWindow::Of(::GetParent(window));
            if (LRESULT object = 0;
                owner && number > 0 && owner->AnswerObject(static_cast<int32_t>(number - 1), wParam, lParam, object))
                return object;
            break;
        }
        case WM_MOUSEMOVE:
        case WM_MOUSELEAVE:
            if (MainWindow* owner = MainWindow::Of(::GetParent(window))) {
                owner->OnPaneMouse(window, message, lParam);
                return 0;
            }
            break;
        default:
            break;
        }
        // The "static" class's own procedure is never called: the pane draws itself.
    } catch (...) {
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void CALLBACK LogTimerProc(HWND window, UINT, UINT_PTR, DWORD)
{
    try {
        if (MainWindow* self = MainWindow::Of(window))
            self->StartExport();
    } catch (...) {
    }
}
