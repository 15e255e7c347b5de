#include "window/HoverTip.h"

#include "core/HoverReadout.h"
#include "core/PlotGeometry.h"
#include "graph/PaneDrawing.h"
#include "win32/Clock.h"
#include "win32/TooltipWindow.h"

#include <commctrl.h>

namespace {

// Below and right of the cursor, where the tip hides neither the cursor nor its sample.
constexpr int tipOffset = 16;

TTTOOLINFOW TrackingTool(HWND window, wchar_t* text)
{
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
    tool.hwnd = window;
    tool.uId = 0;
    tool.lpszText = text;
    return tool;
}

// The samples the pane shows; a hidden pane keeps its size in the cell: the samples it would show.
int32_t ShownCount(const CZiveVazudEx& pane)
{
    if (::IsWindowVisible(pane.PaneWindow()))
        return pane.VisibleCount();
    RECT client{};
    ::GetClientRect(pane.PaneWindow(), &client);
    const int32_t held = pane.TempHistory().Count();
    const plot::Scale lengths{pane.Dpi()};
    return plot::VisibleCount(plot::PlotBox(ToBox(client), lengths), pane.UsesBars(), held, lengths);
}

}  // namespace

std::wstring PaneReadout(const CZiveVazudEx& pane, const UpdateTimes* times, int32_t k, int32_t shownCount,
                         int64_t nowMs)
{
    // Pushes and clears run on this (the window's) thread and exports only read: no lock.
    const SampleHistory& temperatures = pane.TempHistory();
    const SampleHistory& loads = pane.History();
    ReadoutFacts facts;
    facts.title = pane.TitleText();
    facts.temperatureUnit = pane.UnitText();
    facts.loadUnit = pane.LoadUnitText();
    const int64_t time = times ? times->TimeAt(k) : 0;
    facts.timeKnown = time != 0 && LocalTimeOf(time, facts.time);
    facts.ageMs = nowMs - time;
    facts.temperature = temperatures.ValueAt(k);
    facts.shownTemperature = FiguresOfNewest(temperatures, shownCount);
    facts.load = loads.ValueAt(k);
    facts.shownLoad = FiguresOfNewest(loads, shownCount);
    facts.historyTemperature = pane.TemperatureFigures();
    facts.historyLoad = pane.LoadFigures();
    return ReadoutText(facts);
}

HoverTip::HoverTip(HWND owner, HINSTANCE instance) : window(owner)
{
    tip = CreateTooltipWindow(window, instance);
    if (!tip)
        return;
    TTTOOLINFOW tool = TrackingTool(window, const_cast<wchar_t*>(L""));
    ::SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    ::SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, tipWidth);
}

void HoverTip::OnMouseMove(const CZiveVazudEx& pane, const UpdateTimes* times, POINT point)
{
    OnMouseMove(pane, times, point, pane.PaneWindow());
}

void HoverTip::OnMouseMove(const CZiveVazudEx& pane, const UpdateTimes* times, POINT point, HWND mouseWindow)
{
    if (!tip)
        return;
    if (trackedPane != mouseWindow) {
        // One WM_MOUSELEAVE per entry into the window.
        TRACKMOUSEEVENT leave{sizeof leave, TME_LEAVE, mouseWindow, 0};
        if (::TrackMouseEvent(&leave))
            trackedPane = mouseWindow;
    }
    const RECT& plot = pane.PlotRect();
    const int32_t k = point.y >= plot.top && point.y < plot.bottom
                          ? plot::SampleAtColumn(ToBox(plot), pane.UsesBars(), pane.VisibleCount(), point.x,
                                                 pane.Lengths())
                          : -1;
    if (k < 0) {
        Hide();
        return;
    }
    POINT screen = point;
    ::ClientToScreen(pane.PaneWindow(), &screen);
    ShowText(PaneReadout(pane, times, k, pane.VisibleCount(), ClockNowUnixMilliseconds()),
             {screen.x + tipOffset, screen.y + tipOffset});
}

void HoverTip::ShowText(std::wstring readout, POINT screen)
{
    if (readout != text || !shown) {
        text = std::move(readout);
        TTTOOLINFOW tool = TrackingTool(window, text.data());
        ::SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    ::SendMessageW(tip, TTM_TRACKPOSITION, 0, MAKELPARAM(screen.x, screen.y));
    if (!shown) {
        TTTOOLINFOW tool = TrackingTool(window, nullptr);
        ::SendMessageW(tip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
        shown = true;
    }
}

void HoverTip::ShowSample(const CZiveVazudEx& pane, const UpdateTimes* times, int32_t k, POINT fallback)
{
    if (!tip)
        return;
    const HWND paneWindow = pane.PaneWindow();
    const RECT& plot = pane.PlotRect();
    POINT screen = fallback;
    if (::IsWindowVisible(paneWindow) && k < pane.VisibleCount()) {
        const plot::Box box = ToBox(plot);
        const int32_t x = pane.UsesBars() ? plot::BarBox(box, k, plot.top).left : plot::LineColumn(box, k);
        screen = {x, (plot.top + plot.bottom) / 2};
        ::ClientToScreen(paneWindow, &screen);
    }
    ShowText(PaneReadout(pane, times, k, ShownCount(pane), ClockNowUnixMilliseconds()),
             {screen.x + tipOffset, screen.y + tipOffset});
}

void HoverTip::OnMouseLeave(HWND paneWindow)
{
    // A late leave of a pane the mouse has since left for another one changes nothing.
    if (paneWindow != trackedPane)
        return;
    trackedPane = nullptr;
    Hide();
}

void HoverTip::Hide()
{
    if (!tip || !shown)
        return;
    TTTOOLINFOW tool = TrackingTool(window, nullptr);
    ::SendMessageW(tip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    shown = false;
}

const wchar_t* HoverTip::CellText(const CZiveVazudEx& pane, const UpdateTimes* times)
{
    if (pane.TempHistory().Count() == 0) {
        cellText = pane.TitleText();  // an empty cell: only the core's name
        return cellText.c_str();
    }
    cellText = PaneReadout(pane, times, 0, ShownCount(pane), ClockNowUnixMilliseconds());
    return cellText.c_str();
}
