// Builds and tears down the main window: class, window, size, view, panes, log timer, tray icon.
#include "window/MainWindow.h"

#include "core/TextFormat.h"
#include "core/WindowLayout.h"
#include "resources/resource.h"
#include "win32/DpiAwareness.h"
#include "window/HoverTip.h"
#include "window/MainWindowProc.h"
#include "window/TimerSeam.h"
#include "window/TrayIcon.h"
#include "window/TrayTemperature.h"
#include "window/View.h"
#include "window/WindowViews.h"

CZiveVazudEx* const* graphList = nullptr;
uint32_t graphCount = 0;
HWND mainWindow = nullptr;

namespace {

constexpr UINT_PTR logTimerId = 2;
// The window's extra bytes hold its MainWindow object; GWLP_USERDATA holds the plug-in.
constexpr int objectSlot = 0;
// What graphList shows for a window built with no panes at all: a list, but an empty one.
CZiveVazudEx* const noPanes[1] = {nullptr};

void MakeTranslucent(HWND window, int32_t transparency)
{
    const LONG exStyle = ::GetWindowLongW(window, GWL_EXSTYLE);
    ::SetWindowLongW(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    ::SetLayeredWindowAttributes(window, 0, LayeredAlpha(transparency), LWA_ALPHA);
}

void CheckCommand(HWND window, UINT command)
{
    ::CheckMenuItem(::GetMenu(window), command, MF_BYCOMMAND | MF_CHECKED);
}

}  // namespace

MainWindow::MainWindow(Owner& windowOwner, void* userDataValue) : owner(windowOwner), userData(userDataValue)
{
    Publish();
}

MainWindow::~MainWindow()
{
    // Removed while its window still exists: a dead icon would otherwise stay in the
    // notification area until the mouse passes over it.
    trayReading.reset();
    tray.reset();
    if (window)
        ::DestroyWindow(window);
}

MainWindow* MainWindow::Of(HWND handle)
{
    return handle ? reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(handle, objectSlot)) : nullptr;
}

void MainWindow::Publish()
{
    const PaneList& list = panes.List();
    graphList = panes.Built() ? (list.empty() ? noPanes : list.data()) : nullptr;
    graphCount = panes.Count();
    mainWindow = window;
}

ViewInputs MainWindow::Inputs() const
{
    ViewInputs inputs;
    inputs.window = window;
    inputs.panes = &panes.List();
    inputs.settings = settings.get();
    inputs.reportedCores = reportedCores;
    inputs.hover = hoverTip.get();
    inputs.times = panes.Times();
    inputs.dpi = Dpi();
    inputs.contrast = contrast.Colours();
    inputs.focusedCore = focus.Focused();
    return inputs;
}

bool MainWindow::Create(HINSTANCE instance, uint32_t paneCount, uint32_t processorTjMax, const WindowOptions& options,
                        std::unique_ptr<GraphSettings> style)
{
    windowClass.Register(instance, MainWindowProc, sizeof(LONG_PTR));
    // Asked for here, not in a function-local static: its thread-safe guard would leave a
    // thread record of the runtime behind at every unload.
    taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    panes = PaneWindows(paneCount);
    reportedCores = paneCount;
    tjMax = processorTjMax;
    settings = std::move(style);
    if (!settings)
        return false;
    try {
        // Our windows are made, sized and placed in pixels of the monitor they show on, whatever
        // the host's own mode: from a DPI-unaware thread every size would be scaled once more.
        // The host's thread gets its own mode back before this returns.
        const PerMonitorDpiScope perMonitor;
        return CreateWindowAndPanes(instance, options);
    } catch (...) {
        // Out of memory half-way: no half-built window is left behind. Its destruction
        // frees the panes built so far.
        if (window)
            ::DestroyWindow(window);
        return false;
    }
}

bool MainWindow::CreateWindowAndPanes(HINSTANCE instance, const WindowOptions& options)
{
    placement.Read();
    // The object reaches the procedure with the creation message (see MainWindowProc).
    window = ::CreateWindowExW(0, windowClass.Name(), windowClass.Title(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                               CW_USEDEFAULT, 0, nullptr, nullptr, instance, this);
    Publish();
    if (!window)
        return false;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(userData));
    screen = ScreenMetrics::Read(window);

    const SIZE paneSize{::MulDiv(options.GraphWidth, Dpi(), 96), ::MulDiv(options.GraphHeight, Dpi(), 96)};
    view = MakeView(options, panes.Count());
    view->SizeWindow(window, paneSize);
    if (options.AlwaysOnTop)
        ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (options.Transparency != 0)
        MakeTranslucent(window, options.Transparency);

    textformat::CopyText(u"C\u00B0", settings->TempUnit, 3);
    textformat::CopyText(u"%", settings->LoadUnit, 3);

    panes.Build(window, instance, *view, paneSize, options.GraphHeight, *settings);
    panes.SetDpi(Dpi());
    if (options.HoverReadout)
        hoverTip = std::make_unique<HoverTip>(window, instance);
    view->Attach(Inputs(), instance);
    Publish();
    placement.Restore(window, Dpi());

    if (options.LogInterval != 0)
        CallSetTimer(window, logTimerId, options.LogInterval, LogTimerProc);

    ::ShowWindow(window, placement.ShowCommand());
    ::UpdateWindow(window);

    SetUpTrayIcon(instance, options.TrayTemperature != 0);
    if (settings->ShowSyatrayIcon) {
        tray->ShowIcon();
        CheckCommand(window, IDM_TRAY_ICON);
    }
    if (settings->StartMinimized) {
        // With the tray option on, the minimize handling hides the window at once.
        ::ShowWindow(window, SW_MINIMIZE);
        CheckCommand(window, IDM_START_MINIMIZED);
    }
    return true;
}

void MainWindow::SetUpTrayIcon(HINSTANCE instance, bool temperature)
{
    tray = std::make_unique<TrayIcon>(window, instance);
    tray->SetGreyFill(true);
    if (temperature) {
        trayReading = std::make_unique<TrayTemperature>(*tray, *settings, screen);
        return;
    }
    // A private copy of the shared resource icon: the tray destroys the icon it holds.
    HICON icon = ::CopyIcon(::LoadIconW(instance, MAKEINTRESOURCEW(IDI_VADERUR)));
    if (!icon)
        icon = tray->MakeDefaultIcon(screen);
    tray->SetIcon(icon);
}

void MainWindow::Show()
{
    if (!window)
        return;
    ::ShowWindow(window, SW_SHOW);
    if (settings && settings->ShowSyatrayIcon && tray)
        tray->ShowIcon();
}

void MainWindow::Hide()
{
    if (!window)
        return;
    ::ShowWindow(window, SW_HIDE);
    if (tray)
        tray->HideIcon();
}

void MainWindow::ShowUpdate(const UpdateRecord& update)
{
    reportedCores = update.reportedCores;
    if (!panes.List().empty() && window && view)
        view->ShowUpdate(Inputs());
    if (trayReading)
        trayReading->Show(update);
    if (focus.Focused() != CoreFocus::none && Ready())
        focus.OnUpdate(*view, Inputs());
}

void MainWindow::ReplacePane(uint32_t index, std::unique_ptr<CZiveVazudEx> pane)
{
    exports.WaitForAll();
    panes.Replace(index, std::move(pane));
}

void MainWindow::StartExport()
{
    exports.Start(panes.List());
}

void MainWindow::OnDestroy()
{
    // The icon's owner is going: an icon left behind could no longer restore anything.
    if (tray)
        tray->HideIcon();
    // Closed, exited or released: the window is still there to be measured.
    placement.Store(window, Dpi());
    // Running export workers read the panes: they end first.
    exports.WaitForAll();
    panes.Clear();
    hoverTip.reset();
    window = nullptr;
    Publish();
}
