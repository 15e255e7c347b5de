// Panes for the statically linked export tests: CZiveVazudEx objects on "static" child
// windows of a hidden top-level window, listed as the main window lists its panes, with
// export workers of their own.
#pragma once

#include "export/ExportWorkers.h"
#include "graph/CZiveVazudEx.h"
#include "settings/GraphSettings.h"

#include <windows.h>

#include <memory>
#include <vector>

namespace exporttest {

constexpr COLORREF testBackground = 0x403020;
constexpr COLORREF testFrame = 0x00F0F0;
constexpr COLORREF testLoad = 0x00F000;
constexpr COLORREF testTemperature = 0x0000F0;
constexpr COLORREF testGrid = 0x00004F;

// Range 0 to 100, no x axis, the colours above, units "C°" and "%".
GraphSettings TestSettings(const wchar_t* title);

// The row of a value on a pane of that height with the range 0 to 100 (on 214 pixels: plot
// bottom 206, scale 1.85).
int RowOf(int value, int paneHeight = 214);

class TestPanes {
public:
    TestPanes();
    ~TestPanes();
    TestPanes(const TestPanes&) = delete;
    TestPanes& operator=(const TestPanes&) = delete;

    CZiveVazudEx* Add(const GraphSettings& settings, int width = 792, int height = 214);
    // Adds a pane built by the caller on a pane window from PaneWindow().
    CZiveVazudEx* Adopt(std::unique_ptr<CZiveVazudEx> pane);
    HWND PaneWindow(int width, int height);
    const PaneList& List() const { return list; }
    // Saves every pane on this thread, as one export worker would.
    void SaveAll();
    ExportWorkers& Workers() { return workers; }
    HWND Parent() const { return parent; }

private:
    HWND parent = nullptr;
    std::vector<std::unique_ptr<CZiveVazudEx>> panes;
    PaneList list;
    int nextTop = 0;
    // Declared last: its workers end before the panes go.
    ExportWorkers workers;
};

// Pushes as the sample distribution does: under the panes' lock.
void PushSamples(CZiveVazudEx* pane, int count, int temperature, int load);

}  // namespace exporttest
