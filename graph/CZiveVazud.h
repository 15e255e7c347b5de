// A graph pane that draws one series of samples, as a line or as bars, into its pane window.
// Owns its history; built as a CZiveVazudEx, owned by the main window object.
#pragma once

#include "core/PlotGeometry.h"
#include "core/SampleHistory.h"
#include "graph/PaneLock.h"
#include "graph/PaneStyle.h"
#include "settings/GraphSettings.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>

class CZiveVazud {
public:
    CZiveVazud(HWND paneWindow, const GraphSettings* settings);
    virtual ~CZiveVazud();
    CZiveVazud(const CZiveVazud&) = delete;
    CZiveVazud& operator=(const CZiveVazud&) = delete;

    virtual bool Paint(HDC dc, UINT code);
    virtual bool ApplyColors(const GraphSettings* settings);
    virtual GraphSettings* CreateSettings();
    virtual void ClearHistory();
    virtual int32_t AllocHistory();
    virtual bool ApplySettings(const GraphSettings* settings);
    virtual void DrawSeries(HDC dc);

    // What a drawing pass is for: the pane on screen, laid out for its view (compact in the
    // grid views), or the record of the history that an export saves, the same in every view.
    enum class Drawing { View, Record };
    // Lays the plot out for the given rectangle (an export's picture, always at 96 DPI), or for
    // the pane's client rectangle at the pane's DPI.
    void Layout(HDC dc, const RECT* rect = nullptr, Drawing drawing = Drawing::View);
    // The resolution the pane window is shown at (96 until told otherwise): every length of
    // the pane on screen is scaled by it. Set on the window thread; an export reads it.
    void SetDpi(int32_t dpi);
    int32_t Dpi() const { return dpi.load(); }
    // The lengths of the latest layout: the pane's DPI on screen, 96 in an export.
    const plot::Scale& Lengths() const { return lengths; }
    void DrawFrame(HDC dc);
    // In the grid views a pane may be too small for all of its texts: Layout then leaves some
    // out (see plot::FitTexts) instead of drawing them over each other.
    void SetCompact(bool on);
    bool Compact() const { return compact; }
    const plot::ShownTexts& ShownTexts() const { return shownTexts; }
    // One whole drawing pass, on screen and in the export alike: Layout, DrawFrame, DrawSeries.
    void Render(HDC dc, const RECT* rect = nullptr, Drawing drawing = Drawing::View);
    // The pass on screen: Render in the screen's colours where they replace the pane's own
    // (high contrast), the pane's own kept for what it saves.
    void RenderOnScreen(HDC dc);
    // The height the pane was made with (the settings' GraphHeight in the main window): the
    // export's, whatever size a view gives the pane later.
    int32_t RecordHeight() const { return recordHeight; }
    // The height an export saves, in 96-DPI units, when the window that makes the pane knows
    // it better than the pane window's size at creation (which is in the screen's pixels).
    void SetRecordHeight(int32_t height) { recordHeight = height; }

    // Colours to paint with on screen in place of the pane's own, or null: set by the window
    // around one paint, never kept.
    void UseScreenColours(const PaneColours* colours) { screenColours = colours; }

    // Bar or line mode, set by the menu commands on the window thread.
    void SetUseBars(bool bars);
    bool UsesBars() const { return useBars; }
    HWND PaneWindow() const { return pane; }

    // Guards the histories and the style against a concurrent export (see PaneLock.h).
    PaneLock& Lock() { return lock; }

    // Read by tests and by the export.
    const SampleHistory& History() const { return history; }
    const RECT& PlotRect() const { return plotRect; }
    const RECT& LabelRect() const { return labelRect; }
    int32_t VisibleCount() const { return visibleCount; }
    int32_t TextHeight() const { return textHeight; }
    float Scale() const { return scale; }
    bool SettingsValid() const { return settingsValid; }
    bool HistoryValid() const { return historyValid; }
    int32_t InitialCapacity() const { return initialCapacity; }
    const wchar_t* TitleText() const { return titleText; }
    const wchar_t* UnitText() const { return unitText; }
    bool ShowsXAxis() const { return showXAxis; }
    int32_t RangeMin() const { return rangeMin; }
    int32_t RangeMax() const { return rangeMax; }
    COLORREF BackgroundColour() const { return bgColor; }
    COLORREF FrameColour() const { return frameColor; }
    COLORREF LoadColour() const { return loadGraphColor; }
    COLORREF GridColour() const { return gridColor; }
    COLORREF MessageColour() const { return messageColor; }
    COLORREF TextColour() const { return textColor; }
    COLORREF TitleColour() const { return titleColor; }
    COLORREF XAxisColour() const { return xAxisColor; }

protected:
    // Renders into a memory bitmap and copies it to dc, holding the named mutex (when one is
    // given) only while drawing into the bitmap; in the screen colours when they are set (an
    // export, which takes the same mutex, never sees them).
    bool PaintBuffered(HDC dc, const wchar_t* mutexName);
    // Exchanges the pane's colours with colours.
    virtual void SwapColours(PaneColours& colours);
    // Starts slot over at the screen's width; historyValid tells how that went.
    int32_t AllocInto(SampleHistory& slot);
    // The column just inside the left frame edge: background only.
    void DrawBackgroundColumn(HDC dc) const;
    // A "%d%s" label left-aligned right of the plot, centred on row; recorded in labelRect.
    void DrawValueLabel(HDC dc, int32_t value, const wchar_t* unit, int32_t row);
    // The eight colours that every pane takes from a record (not GraphColor).
    void CopyColors(const GraphSettings& settings);
    // The end of every series drawing: the background column inside the left frame edge, then
    // the newest value of each labelled series beside its row (valueLabels, the first first).
    void DrawNewestLabels(HDC dc, int32_t firstRow, const int32_t* secondRow);
    // The row of a value under the vertical mapping, with the range clamp applied.
    int RowOf(int32_t value) const;
    // The screen width in pixels, 1680 without a screen DC: every history's initial capacity.
    static int32_t ScreenWidthCapacity();
    // Takes every style field of this class from the style.
    void TakeStyle(const PaneStyle& style);

    // The colours every pane keeps, each beside the style's field it comes from: the one list
    // that taking a style, reloading the colours and handing back a record go through.
    struct PaneColour {
        COLORREF CZiveVazud::*pane;
        COLORREF PaneStyle::*style;
    };
    static const PaneColour paneColours[8];
    // The widths of the texts this pane would draw now, with the label font selected.
    plot::TextExtents MeasureTexts(HDC dc) const;

    // The series whose newest values are labelled, the label that stays longest first.
    struct ValueLabel {
        const SampleHistory* series;
        const wchar_t* unit;
    };

    bool historyValid = false;
    bool useBars = false;
    bool settingsValid = false;
    bool showXAxis = false;
    int32_t rangeMin = 0;
    int32_t rangeMax = 0;
    int32_t initialCapacity = 0;
    int32_t recordHeight = 0;
    HWND pane = nullptr;
    COLORREF bgColor = 0;
    COLORREF frameColor = 0;
    COLORREF loadGraphColor = 0;
    COLORREF gridColor = 0;
    COLORREF messageColor = 0;
    uint32_t recordSize = 0;
    COLORREF textColor = 0;
    COLORREF titleColor = 0;
    COLORREF xAxisColor = 0;
    wchar_t unitText[3] = {};
    wchar_t titleText[41] = {};
    RECT drawnArea{};  // the rectangle the last Layout was for
    RECT plotRect{};
    RECT labelRect{};
    int32_t visibleCount = 0;
    int32_t textHeight = 0;
    int32_t halfTextHeight = 0;
    float scale = 0.0f;
    ValueLabel valueLabels[2] = {{&history, unitText}, {nullptr, nullptr}};
    bool compact = false;
    plot::ShownTexts shownTexts;
    std::atomic<int32_t> dpi{96};
    plot::Scale lengths;
    const PaneColours* screenColours = nullptr;

    PaneLock& lock = PanesLock();
    // Last, so that the derived pane's hot members follow it: what every Update's push
    // touches lies in adjacent cache lines of the pane (see CZiveVazudEx). Not valid (no
    // slots) until AllocHistory.
    SampleHistory history{0};
};
