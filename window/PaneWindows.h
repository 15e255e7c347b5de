// The panes of the main window, one per core, each drawing into a child window that carries
// its number; the list that the export and graphList see; and the clock time of every
// update, kept beside the panes' histories. Owned by the main window.
#pragma once

#include "core/UpdateTimes.h"
#include "export/SnapshotExport.h"
#include "graph/CZiveVazudEx.h"
#include "settings/GraphSettings.h"

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

class View;

class PaneWindows {
public:
    explicit PaneWindows(uint32_t count = 0) : count(count) {}

    // One pane per core in a child window of parent, placed and shown as the view asks, each
    // titled "Core #N" in settings as it is made. May throw std::bad_alloc; what was built
    // before stays until Clear.
    // recordHeight is the height of an exported picture, in 96-DPI units (0: the window's).
    void Build(HWND parent, HINSTANCE instance, const View& view, SIZE paneSize, int32_t recordHeight,
               GraphSettings& settings);
    // Every pane draws at this resolution from its next paint on.
    void SetDpi(int32_t dpi);
    // Forgets every pane; the count stays.
    void Clear();

    // Fixed when the window is built; stays when the window goes.
    uint32_t Count() const { return count; }
    bool Built() const { return built; }
    const PaneList& List() const { return list; }
    // The pane of a pane window, or null; null too for a pane beyond the cores reported.
    CZiveVazudEx* Of(HWND paneWindow, uint32_t reportedCores) const;
    // Puts pane in place of pane index, which it must draw for; the old one is deleted.
    void Replace(uint32_t index, std::unique_ptr<CZiveVazudEx> pane);

    // With the samples of an update, under the panes' lock: the clock time of that update.
    void RecordUpdateTime();
    // "Clear history": every pane's samples and the update times.
    void ClearHistories();
    // The time of each update the panes hold, newest first; null without panes.
    const UpdateTimes* Times() const { return times.get(); }

private:
    uint32_t count;
    bool built = false;
    std::vector<std::unique_ptr<CZiveVazudEx>> panes;
    PaneList list;
    std::unique_ptr<UpdateTimes> times;
};
