// The main window's menu commands and the tray icon's double-click. All run on the host's
// thread, from the window procedure.
#include "core/ExportPaths.h"
#include "resources/resource.h"
#include "settings/IniText.h"
#include "settings/SettingsReader.h"
#include "window/AboutBox.h"
#include "window/MainWindow.h"
#include "window/MainWindowProc.h"
#include "window/ShellSeam.h"
#include "window/TrayIcon.h"

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

}  // namespace

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
    ForEachPane(panes.List(), [&](CZiveVazudEx& pane) { pane.ApplyColors(colours.get()); });
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

bool MainWindow::OnCommand(UINT command)
{
    switch (command) {
    case IDM_ABOUT: {
        const auto instance = reinterpret_cast<HINSTANCE>(::GetWindowLongPtrW(window, GWLP_HINSTANCE));
        ShowAboutBox(instance, window, Title());
        return true;
    }
    case IDM_EXIT:
        // The host is not told; the plug-in stays loaded without a window.
        ::DestroyWindow(window);
        return true;
    case IDM_USE_BARS:
        ForEachPane(panes.List(), [](CZiveVazudEx& pane) { pane.SetUseBars(true); });
        return true;
    case IDM_USE_LINE:
        ForEachPane(panes.List(), [](CZiveVazudEx& pane) { pane.SetUseBars(false); });
        return true;
    case IDM_CLEAR_HISTORY:
        panes.ClearHistories();
        return true;
    case IDM_RELOAD_COLORS:
        ReloadColours();
        return true;
    case IDM_CREATE_PNG:
        StartExport();
        return true;
    case IDM_OPEN_FOLDER:
        OpenOutputFolder(window, panes.List());
        return true;
    case IDM_TRAY_ICON:
    case IDM_START_MINIMIZED:
        ToggleFlag(command);
        return true;
    default:
        return false;
    }
}
