// The plug-in's main window: its handle, its panes, the view that lays them out, the style
// record read from "Vaderur.ini", the tray icon and its temperature reading, the hover readout,
// the keyboard focus, the high-contrast palette, the remembered placement and the export
// workers; each is an object of its own that the window's messages are forwarded to. Owned by the plug-in object and built on its first Update;
// everything here runs on the host's thread, except the export workers it starts and waits for.
#pragma once

#include "core/SampleSink.h"
#include "export/ExportWorkers.h"
#include "settings/GraphSettings.h"
#include "window/ComApartment.h"
#include "window/ContrastPalette.h"
#include "window/CoreFocus.h"
#include "window/PaneWindows.h"
#include "window/ScreenMetrics.h"
#include "window/WindowClass.h"
#include "window/WindowPlacement.h"

#include <windows.h>

#include <cstdint>
#include <memory>

class HoverTip;
class TrayIcon;
class TrayTemperature;
class View;
struct ViewInputs;

class MainWindow {
public:
    // What the window asks of the object that owns it.
    class Owner {
    public:
        // The user closed the window: only the host may unload the plug-in.
        virtual void RequestClose() = 0;

    protected:
        ~Owner() = default;
    };

    // userData goes to the window's GWLP_USERDATA, where the host's side expects its plug-in.
    MainWindow(Owner& owner, void* userData);
    // Removes the tray icon, then destroys the window (which waits for the exports).
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Registers the class and builds the window with paneCount panes as the settings file asks
    // (options, settings); tjMax stands in for a RangeMax of 0 when the colours are read
    // again. False when no window came of it.
    bool Create(HINSTANCE instance, uint32_t paneCount, uint32_t tjMax, const WindowOptions& options,
                std::unique_ptr<GraphSettings> settings);
    // Start and Stop: the window and (when asked for) the tray icon appear or go.
    void Show();
    void Hide();
    // After the panes took the samples of an update: the client area is painted again and,
    // with "TrayTemperature=1", the tray icon shows the hottest core the snapshot reports.
    void ShowUpdate(const UpdateRecord& update);
    // With the samples of an update, under the panes' lock: the clock time of that update.
    void RecordUpdateTime() { panes.RecordUpdateTime(); }

    HWND Handle() const { return window; }
    const PaneList& Panes() const { return panes.List(); }
    const UpdateTimes* Times() const { return panes.Times(); }
    GraphSettings* Settings() const { return settings.get(); }
    TrayIcon* Tray() const { return tray.get(); }
    // The temperature reading of the tray icon ("TrayTemperature=1"), or null.
    TrayTemperature* TrayReading() const { return trayReading.get(); }
    // The hover readout (HoverReadout on, the default), or null.
    HoverTip* Hover() const { return hoverTip.get(); }
    const View& CurrentView() const { return *view; }
    // The view and the panes exist: what the keyboard and a screen reader need.
    bool Ready() const { return view && panes.Built(); }
    // What the view reads of the window, as it is now.
    ViewInputs Inputs() const;
    // The keyboard's focused core and time cursor.
    CoreFocus& Focus() { return focus; }
    const CoreFocus& Focus() const { return focus; }
    // WM_GETOBJECT of the main window (core = wholeWindowObject) or of a pane window.
    bool AnswerObject(int32_t core, WPARAM wParam, LPARAM lParam, LRESULT& result);
    const wchar_t* Title() const { return windowClass.Title(); }
    // The resolution the window is shown at: read when it is built, then as WM_DPICHANGED says.
    int32_t Dpi() const { return screen.verticalDpi; }
    // Puts pane in place of pane index, which it must draw for; the old one is deleted.
    void ReplacePane(uint32_t index, std::unique_ptr<CZiveVazudEx> pane);

    // The window behind a handle of the main window class, or null.
    static MainWindow* Of(HWND window);
    // Every message of the window once its object is known (see MainWindowProc).
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // WM_PAINT of one of the pane windows: its pane draws itself.
    void PaintPane(HWND paneWindow);
    // WM_MOUSEMOVE and WM_MOUSELEAVE of one of the pane windows: the hover readout.
    void OnPaneMouse(HWND paneWindow, UINT message, LPARAM lParam);
    // The log timer: every pane is saved as a picture.
    void StartExport();

private:
    bool CreateWindowAndPanes(HINSTANCE instance, const WindowOptions& options);
    void SetUpTrayIcon(HINSTANCE instance, bool temperature);
    void Publish();

    LRESULT OnSize(WPARAM sizeType, LPARAM lParam);
    void OnTaskbarCreated();
    // Moved to a monitor of another scale, or the scale changed: the suggested rectangle, the
    // panes laid out and drawn anew at the new DPI, the tray icon at its new size.
    void OnDpiChanged(WPARAM dpis, const RECT* suggested);
    void OnTrayNotification(LPARAM mouseMessage);
    void OnDestroy();
    // True when the command was one of the menu's.
    bool OnCommand(UINT command);
    void ToggleFlag(UINT command);
    void ReloadColours();

    Owner& owner;
    void* userData;
    HWND window = nullptr;
    WindowClass windowClass;
    uint32_t tjMax = 0;
    // The cores the latest snapshot reports: the panes beyond them draw and tell nothing.
    uint32_t reportedCores = 0;
    // Sent to every top-level window when the shell (re)creates its taskbar: after a restart
    // of the shell and after a change of display scale. The shell has then forgotten every icon.
    UINT taskbarCreated = 0;
    ScreenMetrics screen;
    WindowPlacement placement;  // "RememberPlacement=1"
    std::unique_ptr<GraphSettings> settings;
    std::unique_ptr<View> view;
    PaneWindows panes;
    std::unique_ptr<TrayIcon> tray;
    std::unique_ptr<TrayTemperature> trayReading;  // only with TrayTemperature=1
    std::unique_ptr<HoverTip> hoverTip;            // only with the hover readout on
    CoreFocus focus;
    ContrastPalette contrast;
    ComApartment com;  // left after the window is destroyed
    // Declared last: destroyed first, so no worker outlives the panes it saves.
    ExportWorkers exports;
};
