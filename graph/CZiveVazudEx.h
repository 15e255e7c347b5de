// The pane the plug-in creates for every core: load and temperature in one plot, a named
// mutex around every drawing pass, GDI+ kept started for the export. Owned by the main window
// object, which builds one per core.
#pragma once

#include "core/HoverReadout.h"
#include "graph/CZiveVazud.h"
#include "win32/GdiplusSession.h"

#include <cstdint>
#include <memory>
#include <string>

class CZiveVazudEx : public CZiveVazud {
public:
    CZiveVazudEx(HWND paneWindow, const GraphSettings* settings);
    ~CZiveVazudEx() override;

    bool Paint(HDC dc, UINT code) override;
    bool ApplyColors(const GraphSettings* settings) override;
    GraphSettings* CreateSettings() override;
    void ClearHistory() override;
    int32_t AllocHistory() override;
    bool ApplySettings(const GraphSettings* settings) override;
    void DrawSeries(HDC dc) override;
    // Renders the whole history off-screen and saves it as "<folder>\<title>.png".
    virtual void SaveSnapshot();
    // The folder of the host executable, without a trailing backslash, into a buffer of
    // exportPathCapacity characters; false when it does not fit.
    virtual bool GetOutputFolder(wchar_t* folder);
    // The folder the pictures go to, at any length (the host executable's); empty when unknown.
    virtual std::wstring OutputFolder();

    // One Update's samples for this core: temperature first, then load. The caller holds
    // Lock() exclusively; the sample distribution takes it once for all panes. Inline: at 256
    // cores an Update makes 256 of these calls in one loop.
    void PushSamples(int32_t temperature, int32_t load)
    {
        temperatureFigures.BeforePush(tempHistory);
        tempHistory.Push(temperature);
        loadFigures.BeforePush(history);
        history.Push(load);
    }

    // Count, sum, min and max of every sample pushed since the last clear, for the hover
    // readout and the screen reader: never a pass over the whole history. A history that has
    // turned circular (no memory left to grow) keeps counting the samples it has written over.
    // Read on the window's thread, which is also the one that pushes and clears.
    SeriesFigures TemperatureFigures() const { return temperatureFigures.Of(tempHistory); }
    SeriesFigures LoadFigures() const { return loadFigures.Of(history); }

    const SampleHistory& TempHistory() const { return tempHistory; }
    const wchar_t* MutexName() const { return mutexName; }
    const wchar_t* LoadUnitText() const { return loadUnitText; }
    COLORREF TemperatureColour() const { return graphColor; }

protected:
    void SwapColours(PaneColours& colours) override;

private:
    // First, so that it follows the base's history: a push touches these two cache lines and
    // the figures only when a block fills. At 256 cores an Update pushes to every pane, and
    // each line it reads is mostly a miss. Not valid (no slots) when the base history could
    // not be allocated.
    SampleHistory tempHistory{0};
    HistoryFigures temperatureFigures;
    HistoryFigures loadFigures;
    COLORREF graphColor = 0;
    wchar_t loadUnitText[3] = {};
    GdiplusSession gdiplus;
    wchar_t mutexName[57] = {};
};
