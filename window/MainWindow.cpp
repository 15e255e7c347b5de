// Builds and tears down the main window: class, window, size, panes, log timer, tray icon.
#include "window/MainWindow.h"

#include "core/TextFormat.h"
#include "core/WindowLayout.h"
#include "resources/resource.h"
#include "window/MainWindowProc.h"
#include "window/TemperatureIcon.h"
#include "win32/Clock.h"
#include "window/TimerSeam.h"
#include "window/WindowViews.h"

#include <cwchar>
#include <string>
#include <string_view>

CZiveVazudEx* const* graphList = nullptr;
uint32_t graphCount = 0;
HWND mainWindow = nullptr;

namespace {

constexpr int textCapacity = 100;
constexpr UINT_PTR logTimerId = 2;
constexpr wchar_t titleSuffix[] = L" - 64bit";
// The window's extra bytes hold its MainWindow object; GWLP_USERDATA holds the plug-in.
constexpr int objectSlot = 0;
// What graphList shows for a window built with no panes at all: a list, but an empty one.
CZiveVazudEx* const noPanes[1] = {nullptr};

HWND CreatePaneWindow(HWND parent, HINSTANCE instance, int x, int y, const WindowOptions& options, bool visible)
{
    HWND pane = ::CreateWindowExW(0, L"static", L"", WS_CHILD | (visible ? WS_VISIBLE : 0), x, y, options.GraphWidth,
                                  options.GraphHeight, parent, nullptr, instance, nullptr);
    if (pane)
        ::SetWindowLongPtrW(pane, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PaneWindowProc));
    return pane;
}

void SizeForPanes(HWND window, const WindowOptions& options, uint32_t paneCount)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    const ClientSize client = WantedClientSize(options.GraphWidth, options.GraphHeight, paneCount);
    rect.right = static_cast<LONG>(static_cast<uint32_t>(rect.left) + static_cast<uint32_t>(client.width));
    rect.bottom = static_cast<LONG>(static_cast<uint32_t>(rect.top) + static_cast<uint32_t>(client.height));
    ::AdjustWindowRect(&rect, static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE)), TRUE);
    ::SetWindowPos(window, nullptr, 0, 0, rect.right - rect.left, rect.bottom - rect.top, SWP_NOMOVE);
}

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
    tray.reset();
    if (window)
        ::DestroyWindow(window);
    // A class left registered would outlive the DLL with a window procedure into its code.
    if (classInstance)
        ::UnregisterClassW(className, classInstance);
}

MainWindow* MainWindow::Of(HWND handle)
{
    return handle ? reinterpret_cast<MainWindow*>(::GetWindowLongPtrW(handle, objectSlot)) : nullptr;
}

void MainWindow::Publish()
{
    graphList = panesBuilt ? (paneList.empty() ? noPanes : paneList.data()) : nullptr;
    graphCount = paneCount;
    mainWindow = window;
}

bool MainWindow::Create(HINSTANCE instance, uint32_t paneCount, uint32_t processorTjMax, const WindowOptions& options,
                        std::unique_ptr<GraphSettings> style)
{
    title[0] = L'\0';
    className[0] = L'\0';
    ::LoadStringW(instance, IDS_APP_TITLE, title, textCapacity);
    ::LoadStringW(instance, IDC_MOLTAVIS, className, textCapacity);
    RegisterWindowClass(instance);
    // Asked for here, not in a function-local static: its thread-safe guard would leave a
    // thread record of the runtime behind at every unload.
    taskbarCreated = ::RegisterWindowMessageW(L"TaskbarCreated");
    textformat::Append(titleSuffix, title, std::wcslen(title), textCapacity);
    this->paneCount = paneCount;
    tjMax = processorTjMax;
    settings = std::move(style);
    if (!settings)
        return false;
    try {
        panes.reserve(paneCount);
        paneList.reserve(paneCount);
        return CreateWindowAndPanes(instance, options);
    } catch (...) {
        // Out of memory half-way: no half-built window is left behind. Its destruction
        // frees the panes built so far.
        if (window)
            ::DestroyWindow(window);
        return false;
    }
}

void MainWindow::RegisterWindowClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.cbWndExtra = sizeof(LONG_PTR);
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_VADERUR));
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINMENU);
    windowClass.lpszClassName = className;
    windowClass.hIconSm = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_VADERUR));
    // A second plug-in object in the same process finds the class registered already.
    ::RegisterClassExW(&windowClass);
    classInstance = instance;
}

bool MainWindow::CreateWindowAndPanes(HINSTANCE instance, const WindowOptions& options)
{
    // The object reaches the procedure with the creation message (see MainWindowProc).
    window = ::CreateWindowExW(0, className, title, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0, CW_USEDEFAULT, 0, nullptr,
                               nullptr, instance, this);
    Publish();
    if (!window)
        return false;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(userData));

    trayTemperature = options.TrayTemperature;

    ChooseView(options);
    if (grid)
        SizeForGrid(options);
    else
        SizeForPanes(window, options, paneCount);
    if (options.AlwaysOnTop)
        ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (options.Transparency != 0)
        MakeTranslucent(window, options.Transparency);

    textformat::CopyText(u"C\u00B0", settings->TempUnit, 3);
    textformat::CopyText(u"%", settings->LoadUnit, 3);

    int y = 0;
    for (uint32_t i = 0; i < paneCount; ++i) {
        // In the grid views the size message lays the panes out; they start at their cell.
        const int x = grid ? static_cast<int>(i % columns) * options.GraphWidth : 0;
        if (grid)
            y = static_cast<int>(i / columns) * options.GraphHeight;
        HWND paneWindow = CreatePaneWindow(window, instance, x, y, options, !heatMap);
        FormatCoreTitle(settings->Title, i);
        panes.push_back(std::make_unique<CZiveVazudEx>(paneWindow, settings.get()));
        paneList.push_back(panes.back().get());
        if (grid && !heatMap)
            panes.back()->SetCompact(true);
        y += options.GraphHeight;
    }
    panesBuilt = true;
    if (options.HoverReadout)
        hoverTip = std::make_unique<HoverTip>(window, instance);
    if (heatMap)
        CreateCellTips(instance);
    Publish();
    // As many times as a pane's history starts with samples, growing and wrapping alike.
    if (!panes.empty() && panes.front()->History())
        updateTimes = std::make_unique<UpdateTimes>(panes.front()->History()->Capacity());

    if (options.LogInterval != 0)
        CallSetTimer(window, logTimerId, options.LogInterval, LogTimerProc);

    ::ShowWindow(window, SW_SHOWNORMAL);
    ::UpdateWindow(window);

    SetUpTrayIcon(instance);
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

void MainWindow::SetUpTrayIcon(HINSTANCE instance)
{
    tray = std::make_unique<TrayIcon>(window, instance);
    tray->SetGreyFill(true);
    if (trayTemperature) {
        DrawTrayReading(CoreReading{});  // "--" until the first samples
        return;
    }
    // A private copy of the shared resource icon: the tray destroys the icon it holds.
    HICON icon = ::CopyIcon(::LoadIconW(instance, MAKEINTRESOURCEW(IDI_VADERUR)));
    if (!icon)
        icon = tray->MakeDefaultIcon();
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

void MainWindow::Repaint()
{
    if (paneList.empty() || !window)
        return;
    RECT client{};
    ::GetClientRect(window, &client);
    ::InvalidateRect(window, &client, TRUE);
}

void MainWindow::ShowHottestCore(const int32_t* temperatures, const int32_t* loads, uint32_t count)
{
    ShowHottestCore(HottestCore(temperatures, loads, count));
}

void MainWindow::ShowHottestCore(const CoreReading& reading)
{
    if (!trayTemperature || !tray || !settings)
        return;
    DrawTrayReading(reading);

    char16_t tip[128];
    FormatCoreTooltip(reading, settings->TempUnit, settings->LoadUnit, tip, 128);
    wchar_t wideTip[128];
    textformat::CopyText(tip, wideTip, 128);
    tray->SetTip(wideTip);
}

void MainWindow::DrawTrayReading(const CoreReading& reading)
{
    char16_t digits[iconDigitsCapacity];
    FormatIconDigits(reading, digits);
    const HeatColour colour =
        reading.known ? HeatColourOf(reading.temperature, settings->RangeMin, settings->RangeMax) : unknownColour;
    const int size = TheScreenMetrics().IconSize();
    // The texts end at their terminators: what lies after one is whatever the buffer held.
    if (size == shownSize && colour == shownColour && std::u16string_view(digits) == std::u16string_view(shownDigits))
        return;
    wchar_t wideDigits[iconDigitsCapacity];
    textformat::CopyText(digits, wideDigits, iconDigitsCapacity);
    HICON icon = DrawTemperatureIcon(wideDigits, colour, size);
    if (!icon)
        return;  // the icon shown stays; the next change tries again
    tray->SetIcon(icon);
    textformat::CopyText(digits, shownDigits, iconDigitsCapacity);
    shownColour = colour;
    shownSize = size;
}

void MainWindow::ShowUpdate(const UpdateRecord& update)
{
    Repaint();
    // Only the cores the snapshot reports, with a sensor value that is a number.
    ShowHottestCore(HottestCore(update));
}

void MainWindow::RecordUpdateTime()
{
    if (!updateTimes)
        return;
    updateTimes->Push(ClockNowUnixMilliseconds());
}

void MainWindow::ReplacePane(uint32_t index, std::unique_ptr<CZiveVazudEx> pane)
{
    if (index >= panes.size())
        return;
    exports.WaitForAll();
    paneList[index] = pane.get();
    panes[index] = std::move(pane);
}

void MainWindow::OnDestroy()
{
    // The icon's owner is going: an icon left behind could no longer restore anything.
    if (tray)
        tray->HideIcon();
    // Running export workers read the panes: they end first.
    exports.WaitForAll();
    panesBuilt = false;
    paneList.clear();
    panes.clear();
    updateTimes.reset();
    hoverTip.reset();
    window = nullptr;
    Publish();
}
