// The main window's messages (menu commands, pane layout, close, tray double-click), the pane
// windows' procedure and the log timer. All run on the host's thread; no exception leaves them.
#include "window/MainWindowProc.h"

#include "core/ExportPaths.h"
#include "core/SnapshotCopy.h"
#include "core/WindowLayout.h"
#include "resources/resource.h"
#include "settings/IniText.h"
#include "settings/SettingsReader.h"
#include "win32/Handles.h"
#include "window/AboutBox.h"
#include "window/MainWindow.h"
#include "window/ShellSeam.h"

#include <memory>

namespace {

// Calls action on every pane in list order.
template <typename Action>
void ForEachPane(const PaneList& panes, Action action)
{
    for (CZiveVazudEx* pane : panes) {
        if (pane)
            action(*pane);
    }
}

void SetMinimumTrackSize(HWND window, MINMAXINFO* limits)
{
    RECT rect{0, 0, minimumClientWidth, minimumClientHeight};
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
    if (!panesBuilt)
        return ::DefWindowProcW(window, WM_SIZE, sizeType, lParam);
    if (grid) {
        LayOutGrid();
        return 1;
    }

    SnapClientHeight();
    RECT client{};
    ::GetClientRect(window, &client);
    for (uint32_t i = 0; i < paneList.size(); ++i) {
        CZiveVazudEx* pane = paneList[i];
        if (!pane)
            continue;
        const PaneRow row = PaneRowAt(i, static_cast<uint32_t>(client.bottom), paneCount);
        ::SetWindowPos(pane->PaneWindow(), nullptr, 0, row.top, client.right, row.height, 0);
    }
    return 1;
}

// Grows the window so the client height is a multiple of the pane count.
void MainWindow::SnapClientHeight()
{
    if (paneCount == 0)
        return;
    RECT windowRect{};
    RECT client{};
    ::GetWindowRect(window, &windowRect);
    ::GetClientRect(window, &client);
    const uint32_t growth = SnapGrowth(static_cast<uint32_t>(client.bottom), paneCount);
    if (growth == 0)
        return;
    ::SetWindowPos(window, nullptr, 0, 0, windowRect.right - windowRect.left,
                   windowRect.bottom - windowRect.top + static_cast<int>(growth), SWP_NOMOVE);
}

void MainWindow::OnTrayNotification(LPARAM mouseMessage)
{
    if (mouseMessage != WM_LBUTTONDBLCLK)
        return;
    WINDOWINFO info{};
    info.cbSize = sizeof info;
    ::GetWindowInfo(window, &info);
    if (info.dwStyle & WS_MINIMIZE) {
        ::ShowWindow(window, SW_RESTORE);
        ::SetForegroundWindow(window);
    } else {
        // With the tray option on, the minimize handling hides the window too.
        ::ShowWindow(window, SW_MINIMIZE);
    }
}

// "System &tray icon" and "Start &minimized": the menu mark decides the direction; the flag,
// the settings file and (for the tray) the icon follow it.
void MainWindow::ToggleFlag(UINT command)
{
    const bool trayCommand = command == IDM_TRAY_ICON;
    HMENU menu = ::GetMenu(window);
    const UINT state = ::GetMenuState(menu, command, MF_BYCOMMAND);
    bool on;
    if (state != static_cast<UINT>(-1))
        on = (state & MF_CHECKED) == 0;
    else if (settings)
        on = !(trayCommand ? settings->ShowSyatrayIcon : settings->StartMinimized);
    else
        on = true;

    ::CheckMenuItem(menu, command, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
    if (settings)
        (trayCommand ? settings->ShowSyatrayIcon : settings->StartMinimized) = on;
    StoreFlag(trayCommand ? u"ShowSyatrayIcon" : u"StartMinimized", on);

    if (trayCommand && tray) {
        if (on)
            tray->ShowIcon();
        else
            tray->HideIcon();
    }
}

void MainWindow::ReloadColours()
{
    std::unique_ptr<GraphSettings> colours = ReadSettings(nullptr, tjMax);
    if (!colours)
        return;
    ForEachPane(paneList, [&](CZiveVazudEx& pane) { pane.ApplyColors(colours.get()); });
}

void OpenOutputFolder(HWND owner, const PaneList& panes)
{
    if (panes.empty() || !panes[0])
        return;
    wchar_t folder[exportPathCapacity] = {};
    if (!panes[0]->GetOutputFolder(folder))
        return;
    CallShellExecute(owner, L"open", folder, L"", L"", SW_SHOWNORMAL);
}

void MainWindow::StartExport()
{
    exports.Start(paneList);
}

bool MainWindow::OnCommand(UINT command)
{
    switch (command) {
    case IDM_ABOUT: {
        const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(window, GWLP_HINSTANCE));
        ShowAboutBox(instance, window, title);
        return true;
    }
    case IDM_EXIT:
        // The host is not told; the plug-in stays loaded without a window.
        ::DestroyWindow(window);
        return true;
    case IDM_USE_BARS:
        ForEachPane(paneList, [](CZiveVazudEx& pane) { pane.SetUseBars(true); });
        return true;
    case IDM_USE_LINE:
        ForEachPane(paneList, [](CZiveVazudEx& pane) { pane.SetUseBars(false); });
        return true;
    case IDM_CLEAR_HISTORY:
        ForEachPane(paneList, [](CZiveVazudEx& pane) { pane.ClearHistory(); });
        if (updateTimes)
            updateTimes->Clear();
        return true;
    case IDM_RELOAD_COLORS:
        ReloadColours();
        return true;
    case IDM_CREATE_PNG:
        StartExport();
        return true;
    case IDM_OPEN_FOLDER:
        OpenOutputFolder(window, paneList);
        return true;
    case IDM_TRAY_ICON:
    case IDM_START_MINIMIZED:
        ToggleFlag(command);
        return true;
    default:
        return false;
    }
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_SIZE:
        return OnSize(wParam, lParam);
    case WM_CLOSE:
        owner.RequestClose();
        return 0;
    case WM_ERASEBKGND:
        // The panes (or the heat map's cells) cover the client area and draw all of it.
        return 1;
    case WM_PAINT:
        if (!heatMap)
            break;
        PaintHeatMap();
        return 0;
    case trayCallbackMessage:
        OnTrayNotification(lParam);
        return 0;
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam)))
            return 0;
        break;
    case WM_NOTIFY:
        if (OnCellTipText(reinterpret_cast<NMHDR*>(lParam)))
            return 0;
        break;
    default:
        if (message != 0 && message == taskbarCreated) {
            // Without this the hidden window would be out of reach until the host unloads us.
            if (tray)
                tray->RestoreIcon();
            return 0;
        }
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void MainWindow::PaintPane(HWND paneWindow)
{
    PaintDc paint(paneWindow);
    // A snapshot with fewer cores than panes leaves the panes beyond it unpainted.
    const uint32_t cores = SnapshotCoreCount();
    for (uint32_t i = 0; i < paneList.size() && i < cores; ++i) {
        CZiveVazudEx* pane = paneList[i];
        if (pane && pane->PaneWindow() == paneWindow)
            pane->Paint(paint.Get(), WM_PAINT);
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
    const uint32_t cores = SnapshotCoreCount();
    for (uint32_t i = 0; i < paneList.size() && i < cores; ++i) {
        const CZiveVazudEx* pane = paneList[i];
        if (pane && pane->PaneWindow() == paneWindow) {
            const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            hoverTip->OnMouseMove(*pane, Times(), point);
            return;
        }
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
            // Asked before the creation message too, so answered without the object.
            SetMinimumTrackSize(window, reinterpret_cast<MINMAXINFO*>(lParam));
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
