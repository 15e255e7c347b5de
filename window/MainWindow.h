// The plug-in's main window: its handle, one pane per core, the style record read from
// "Vaderur.ini", the tray icon, the log timer, the hover readout and the export workers. Owned by the plug-in object and built on its first Update; everything
// here runs on the host's thread, except the export workers it starts and waits for.
#pragma once

#include "core/HeatColourScale.h"
#include "core/HottestCore.h"
#include "core/SampleSink.h"
#include "core/UpdateTimes.h"
#include "export/ExportWorkers.h"
#include "graph/CZiveVazudEx.h"
#include "settings/GraphSettings.h"
#include "window/HoverTip.h"
#include "window/TrayIcon.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

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

    // Loads the title and class name, registers the class and builds the window with
    // paneCount panes as the settings file asks (options, settings); tjMax stands in for a
    // RangeMax of 0 when the colours are read again. False when no window came of it.
    bool Create(HINSTANCE instance, uint32_t paneCount, uint32_t tjMax, const WindowOptions& options,
                std::unique_ptr<GraphSettings> settings);
    // Start and Stop: the window and (when asked for) the tray icon appear or go.
    void Show();
    void Hide();
    // After the panes took the samples of an update: the client area is painted again and,
    // with "TrayTemperature=1", the tray icon shows the hottest core the snapshot reports.
    void ShowUpdate(const UpdateRecord& update);
    // The whole client area is painted again.
    void Repaint();
    // With "TrayTemperature=1" the tray icon shows the hottest core, redrawn only when its
    // digits or colour change. Nothing otherwise.
    void ShowHottestCore(const int32_t* temperatures, const int32_t* loads, uint32_t count);
    void ShowHottestCore(const CoreReading& reading);
    // With the samples of an update, under the panes' lock: the clock time of that update.
    void RecordUpdateTime();
    // The time of each update the panes hold, newest first; null without panes.
    const UpdateTimes* Times() const { return updateTimes.get(); }

    HWND Handle() const { return window; }
    const PaneList& Panes() const { return paneList; }
    GraphSettings* Settings() const { return settings.get(); }
    TrayIcon* Tray() const { return tray.get(); }
    const wchar_t* Title() const { return title; }
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
    // The hover readout (HoverReadout on, the default), or null.
    HoverTip* Hover() const { return hoverTip.get(); }

    // The view chosen in the settings file: stacked panes (the default), a grid of panes, or
    // the heat map's cells over hidden panes; with how many columns and rows.
    bool IsGrid() const { return grid; }
    bool IsHeatMap() const { return heatMap; }
    uint32_t Columns() const { return columns; }
    uint32_t Rows() const { return rows; }
    // The cell of pane index in the client area as it is now.
    RECT CellRect(uint32_t index) const;
    // The heat map's tooltip window (one tool per cell), or null.
    HWND CellTips() const { return cellTips; }

private:
    void RegisterWindowClass(HINSTANCE instance);
    bool CreateWindowAndPanes(HINSTANCE instance, const WindowOptions& options);
    void SetUpTrayIcon(HINSTANCE instance);
    void Publish();
    void DrawTrayReading(const CoreReading& reading);

    LRESULT OnSize(WPARAM sizeType, LPARAM lParam);
    void SnapClientHeight();
    void SnapClientToGrid();
    void LayOutGrid();
    void ChooseView(const WindowOptions& options);
    void SizeForGrid(const WindowOptions& options);
    void CreateCellTips(HINSTANCE instance);
    void PaintHeatMap();
    // TTN_GETDISPINFOW of a heat map cell's tip with the hover readout on: the cell's readout.
    bool OnCellTipText(NMHDR* header);
    void OnTrayNotification(LPARAM mouseMessage);
    void OnDestroy();
    // True when the command was one of the menu's.
    bool OnCommand(UINT command);
    void ToggleFlag(UINT command);
    void ReloadColours();
    void StartExport();

    friend void CALLBACK LogTimerProc(HWND, UINT, UINT_PTR, DWORD);

    Owner& owner;
    void* userData;
    HWND window = nullptr;
    uint32_t paneCount = 0;  // fixed by Create; stays when the window goes
    uint32_t tjMax = 0;
    bool panesBuilt = false;
    bool grid = false;
    bool heatMap = false;
    uint32_t columns = 1;
    uint32_t rows = 0;
    HWND cellTips = nullptr;  // owned by the window: goes with it
    wchar_t title[100] = {};
    wchar_t className[100] = {};
    HINSTANCE classInstance = nullptr;  // set once the class is registered
    // Sent to every top-level window when the shell (re)creates its taskbar: after a restart
    // of the shell and after a change of display scale. The shell has then forgotten every icon.
    UINT taskbarCreated = 0;
    std::unique_ptr<GraphSettings> settings;
    std::vector<std::unique_ptr<CZiveVazudEx>> panes;
    PaneList paneList;  // the same panes, as the export and graphList see them
    std::unique_ptr<TrayIcon> tray;
    bool trayTemperature = false;
    // What the temperature icon shows now; the size is that of the icon last drawn.
    char16_t shownDigits[iconDigitsCapacity] = {};
    HeatColour shownColour = 0;
    int shownSize = 0;
    std::unique_ptr<UpdateTimes> updateTimes;  // beside the panes' histories, cleared with them
    std::unique_ptr<HoverTip> hoverTip;        // only with the hover readout on
    // Declared last: destroyed first, so no worker outlives the panes it saves.
    ExportWorkers exports;
};
