// The main window's procedure (menu commands, pane layout, close, tray double-click) and
// the pane windows' procedure. Both run on the host's thread; no exception leaves them.
#include "window/MainWindow.h"

#include "graph/CZiveVazudEx.h"
#include "graph/ExportWorkers.h"
#include "graph/GdiHandles.h"
#include "graph/SnapshotExport.h"
#include "plugin/CVaderurWnd.h"
#include "plugin/PluginState.h"
#include "plugin/SnapshotCopy.h"
#include "resources/resource.h"
#include "settings/IniText.h"
#include "settings/SettingsReader.h"
#include "window/TrayIcon.h"
#include "window/WindowLayout.h"

#include <string>

namespace {

CVaderurWnd* PluginOf(HWND window)
{
    return reinterpret_cast<CVaderurWnd*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

GraphSettings* SettingsOf(HWND window)
{
    CVaderurWnd* plugin = PluginOf(window);
    return plugin ? plugin->Settings() : nullptr;
}

// Calls action on every pane in list order; graphList and graphCount are read on every pass.
template <typename Action>
void ForEachPane(Action action)
{
    for (uint32_t i = 0; graphList && i < graphCount; ++i) {
        if (CZiveVazudEx* pane = graphList[i])
            action(*pane);
    }
}

void DestroyPanes()
{
    // Running export workers read the list and the panes: they end first.
    WaitForExportWorkers();
    if (graphList) {
        for (uint32_t i = 0; i < graphCount; ++i) {
            delete graphList[i];
            graphList[i] = nullptr;
        }
        delete[] graphList;
        graphList = nullptr;
    }
    mainWindow = nullptr;
}

LRESULT OnSize(HWND window, WPARAM sizeType, LPARAM lParam)
{
    if (sizeType == SIZE_MINIMIZED) {
        const GraphSettings* settings = SettingsOf(window);
        if (settings && settings->ShowSyatrayIcon) {
            // Off the taskbar until the tray icon or Start brings it back.
            ::ShowWindow(window, SW_HIDE);
            return 0;
        }
        return ::DefWindowProcW(window, WM_SIZE, sizeType, lParam);
    }
    if (!graphList)
        return ::DefWindowProcW(window, WM_SIZE, sizeType, lParam);

    SnapClientHeight(window);
    RECT client{};
    ::GetClientRect(window, &client);
    for (uint32_t i = 0; graphList && i < graphCount; ++i) {
        CZiveVazudEx* pane = graphList[i];
        if (!pane)
            continue;
        const PaneRow row = PaneRowAt(i, static_cast<uint32_t>(client.bottom), graphCount);
        ::SetWindowPos(pane->PaneWindow(), nullptr, 0, row.top, client.right, row.height, 0);
    }
    return 1;
}

void OnClose()
{
    // Only the host may unload the plug-in; its teardown destroys this window.
    if (!pluginInstance)
        return;
    const PluginInfo* info = pluginInstance->Info();
    if (info && info->closeRequest)
        info->closeRequest(pluginInstance->Record());
}

void SetMinimumTrackSize(HWND window, MINMAXINFO* limits)
{
    RECT rect{0, 0, minimumClientWidth, minimumClientHeight};
    ::AdjustWindowRect(&rect, static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE)), TRUE);
    limits->ptMinTrackSize.x = rect.right - rect.left;
    limits->ptMinTrackSize.y = rect.bottom - rect.top;
}

void OnTrayNotification(HWND window, LPARAM mouseMessage)
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
void ToggleFlag(HWND window, UINT command)
{
    GraphSettings* settings = SettingsOf(window);
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

    if (trayCommand) {
        CVaderurWnd* plugin = PluginOf(window);
        if (TrayIcon* tray = plugin ? plugin->Tray() : nullptr) {
            if (on)
                tray->ShowIcon();
            else
                tray->HideIcon();
        }
    }
}

void ReloadColours()
{
    std::unique_ptr<GraphSettings> colours = ReadSettings(nullptr);
    if (!colours)
        return;
    ForEachPane([&](CZiveVazudEx& pane) { pane.ApplyColors(colours.get()); });
}

// True when the command was one of the menu's.
bool OnCommand(HWND window, UINT command)
{
    switch (command) {
    case IDM_ABOUT: {
        const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(window, GWLP_HINSTANCE));
        ::DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ABOUTBOX), window, AboutDialogProc, 0);
        return true;
    }
    case IDM_EXIT:
        // The host is not told; the plug-in stays loaded without a window.
        ::DestroyWindow(window);
        return true;
    case IDM_USE_BARS:
        ForEachPane([](CZiveVazudEx& pane) { pane.SetUseBars(true); });
        return true;
    case IDM_USE_LINE:
        ForEachPane([](CZiveVazudEx& pane) { pane.SetUseBars(false); });
        return true;
    case IDM_CLEAR_HISTORY:
        ForEachPane([](CZiveVazudEx& pane) { pane.ClearHistory(); });
        return true;
    case IDM_RELOAD_COLORS:
        ReloadColours();
        return true;
    case IDM_CREATE_PNG:
        StartExportWorker();
        return true;
    case IDM_OPEN_FOLDER:
        OpenOutputFolder(window);
        return true;
    case IDM_TRAY_ICON:
    case IDM_START_MINIMIZED:
        ToggleFlag(window, command);
        return true;
    default:
        return false;
    }
}

void OnDestroy(HWND window)
{
    // The icon's owner is going: an icon left behind could no longer restore anything.
    CVaderurWnd* plugin = PluginOf(window);
    if (TrayIcon* tray = plugin ? plugin->Tray() : nullptr)
        tray->HideIcon();
    DestroyPanes();
}

LRESULT HandleMainWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        OnDestroy(window);
        return 0;
    case WM_SIZE:
        return OnSize(window, wParam, lParam);
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_ERASEBKGND:
        // The panes cover the client area and draw all of it themselves.
        return 1;
    case WM_GETMINMAXINFO:
        SetMinimumTrackSize(window, reinterpret_cast<MINMAXINFO*>(lParam));
        return 0;
    case trayCallbackMessage:
        OnTrayNotification(window, lParam);
        return 0;
    case WM_COMMAND:
        if (OnCommand(window, LOWORD(wParam)))
            return 0;
        break;
    default:
        break;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void PaintPanes(HWND window)
{
    PaintDc paint(window);
    // A snapshot with fewer cores than panes leaves the panes beyond it unpainted.
    for (uint32_t i = 0; graphList && i < SnapshotCoreCount() && i < graphCount; ++i) {
        CZiveVazudEx* pane = graphList[i];
        if (pane && pane->PaneWindow() == window)
            pane->Paint(paint.Get(), WM_PAINT);
    }
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        return HandleMainWindowMessage(window, message, wParam, lParam);
    } catch (...) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

LRESULT CALLBACK PaneWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT:
            PaintPanes(window);
            return 0;
        default:
            // The "static" class's own procedure is never called: the pane draws itself.
            return ::DefWindowProcW(window, message, wParam, lParam);
        }
    } catch (...) {
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}
