// How the main window shows its panes: stacked (the default), a grid of panes, or the heat
// map's cells over hidden panes. Chosen once from the settings file when the window is built
// (MakeView) and owned by the main window, which asks it wherever the views differ.
#pragma once

#include "export/SnapshotExport.h"
#include "graph/PaneStyle.h"
#include "settings/GraphSettings.h"

#include <windows.h>

#include <cstdint>
#include <memory>

class HoverTip;
class UpdateTimes;

// What a view reads of the main window when it lays out, paints or answers a tooltip.
struct ViewInputs {
    HWND window = nullptr;
    const PaneList* panes = nullptr;
    const GraphSettings* settings = nullptr;
    // The cores the latest snapshot reports: the panes beyond them draw nothing.
    uint32_t reportedCores = 0;
    HoverTip* hover = nullptr;  // null with the hover readout off
    const UpdateTimes* times = nullptr;
    // The resolution the window is shown at: the view's own lengths scale with it.
    int32_t dpi = 96;
    // The colours of Windows' high-contrast mode in place of the settings', or null.
    const PaneColours* contrast = nullptr;
    // The core the keyboard's focus is on, or -1.
    int32_t focusedCore = -1;
};

class View {
public:
    virtual ~View() = default;

    // Where pane index starts, before the first size message lays it out.
    virtual POINT PaneOrigin(uint32_t index, SIZE pane) const = 0;
    // The pane windows are shown (not under the heat map), and drawn with compact texts.
    virtual bool ShowsPanes() const { return true; }
    virtual bool CompactPanes() const { return false; }
    // Sizes the new window for its panes.
    virtual void SizeWindow(HWND window, SIZE pane) = 0;
    // Once the panes exist: what the view makes for itself.
    virtual void Attach(const ViewInputs&, HINSTANCE) {}
    // WM_SIZE: snaps the client area so that the panes share it evenly, and lays them out.
    virtual void LayOut(const ViewInputs& inputs) = 0;
    // WM_PAINT of the main window; false when the pane windows paint all of it.
    virtual bool Paint(const ViewInputs&) { return false; }
    // WM_NOTIFY; false when the notification is not the view's.
    virtual bool OnNotify(const ViewInputs&, NMHDR*) { return false; }

    // What the keyboard and a screen reader see of the cores. Each core a window of its own
    // (its pane window answers for it), or an element of the main window's client area.
    virtual bool CoresAreWindows() const { return false; }
    // Where core index is drawn, in the main window's client coordinates; by default its pane
    // window's rectangle.
    virtual RECT CoreArea(const ViewInputs& inputs, uint32_t index) const;
    // The cores in one row of the reading order: Up and Down move by this many.
    virtual uint32_t CoresPerRow() const { return 1; }
    // WM_MOUSEMOVE and WM_MOUSELEAVE of the main window; false when the view leaves them to
    // the window's default handling.
    virtual bool OnMouse(const ViewInputs&, UINT /*message*/, LPARAM) { return false; }
    // After an update: shows what it changed; here by marking the whole client area to be
    // painted again.
    virtual void ShowUpdate(const ViewInputs& inputs) { ::InvalidateRect(inputs.window, nullptr, TRUE); }
};

// The view that "Columns" and "HeatMap" ask for; the one place that tells them apart.
std::unique_ptr<View> MakeView(const WindowOptions& options, uint32_t paneCount);
