// Builds the main window: class, window, size, panes, log timer, tray icon, start-up state.
#include "window/MainWindow.h"

#include "graph/CZiveVazudEx.h"
#include "graph/SnapshotExport.h"
#include "plugin/CVaderurWnd.h"
#include "plugin/PluginState.h"
#include "resources/resource.h"
#include "settings/SettingsReader.h"
#include "window/TrayIcon.h"
#include "window/WindowLayout.h"

#include <cwchar>
#include <memory>

namespace {

constexpr int textCapacity = 100;
constexpr UINT_PTR logTimerId = 2;
constexpr wchar_t titleSuffix[] = L" - 64bit";

void AppendText(wchar_t* buffer, int capacity, const wchar_t* text)
{
    int length = static_cast<int>(std::wcslen(buffer));
    for (; length < capacity - 1 && *text != L'\0'; ++text)
        buffer[length++] = *text;
    buffer[length] = L'\0';
}

HWND CreatePaneWindow(HWND parent, HINSTANCE instance, int y, const WindowOptions& options)
{
    HWND pane = ::CreateWindowExW(0, L"static", L"", WS_CHILD | WS_VISIBLE, 0, y, options.GraphWidth,
                                  options.GraphHeight, parent, nullptr, instance, nullptr);
    if (pane)
        ::SetWindowLongPtrW(pane, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PaneWindowProc));
    return pane;
}

void SizeForPanes(HWND window, const WindowOptions& options)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    const ClientSize client = WantedClientSize(options.GraphWidth, options.GraphHeight, graphCount);
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

void SetUpTrayIcon(CVaderurWnd* plugin, HWND window, HINSTANCE instance)
{
    auto tray = std::make_unique<TrayIcon>(window, instance);
    tray->SetGreyFill(true);
    // A private copy of the shared resource icon: the tray destroys the icon it holds.
    HICON icon = ::CopyIcon(::LoadIconW(instance, MAKEINTRESOURCEW(IDI_VADERUR)));
    if (!icon)
        icon = tray->MakeDefaultIcon();
    tray->SetIcon(icon);
    plugin->AdoptTrayIcon(std::move(tray));
}

}  // namespace

bool InitMainWindow(CVaderurWnd* plugin, HINSTANCE instance)
{
    windowTitle[0] = L'\0';
    windowClassName[0] = L'\0';
    ::LoadStringW(instance, IDS_APP_TITLE, windowTitle, textCapacity);
    ::LoadStringW(instance, IDC_MOLTAVIS, windowClassName, textCapacity);
    RegisterMainWindowClass(instance);
    AppendText(windowTitle, textCapacity, titleSuffix);
    try {
        return CreateMainWindow(plugin, instance) != 0;
    } catch (...) {
        // Out of memory half-way: no half-built window is left behind. Its destruction
        // frees the panes built so far.
        if (mainWindow)
            ::DestroyWindow(mainWindow);
        mainWindow = nullptr;
        return false;
    }
}

void RegisterMainWindowClass(HINSTANCE instance)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_VREDRAW | CS_HREDRAW;
    windowClass.lpfnWndProc = MainWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_VADERUR));
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINMENU);
    windowClass.lpszClassName = windowClassName;
    windowClass.hIconSm = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_VADERUR));
    // A second plug-in object in the same process finds the class registered already.
    ::RegisterClassExW(&windowClass);
}

int CreateMainWindow(CVaderurWnd* plugin, HINSTANCE instance)
{
    HWND window = ::CreateWindowExW(0, windowClassName, windowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, 0,
                                    CW_USEDEFAULT, 0, nullptr, nullptr, instance, nullptr);
    mainWindow = window;
    if (!window)
        return 0;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(plugin));

    WindowOptions options{};
    plugin->AdoptSettings(ReadSettings(&options));
    GraphSettings* settings = plugin->Settings();

    SizeForPanes(window, options);
    if (options.AlwaysOnTop)
        ::SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    if (options.Transparency != 0)
        MakeTranslucent(window, options.Transparency);

    if (settings) {
        CopyText(settings->TempUnit, 3, u"C\u00B0");
        CopyText(settings->LoadUnit, 3, u"%");
    }

    graphList = new CZiveVazudEx*[graphCount]();
    int y = 0;
    for (uint32_t i = 0; graphList && i < graphCount; ++i) {
        HWND paneWindow = CreatePaneWindow(window, instance, y, options);
        if (settings)
            FormatCoreTitle(settings->Title, i);
        graphList[i] = new CZiveVazudEx(paneWindow, settings);
        y += options.GraphHeight;
    }

    if (options.LogInterval != 0)
        ::SetTimer(window, logTimerId, options.LogInterval, LogTimerProc);

    ::ShowWindow(window, SW_SHOWNORMAL);
    ::UpdateWindow(window);

    SetUpTrayIcon(plugin, window, instance);
    if (settings && settings->ShowSyatrayIcon) {
        plugin->Tray()->ShowIcon();
        CheckCommand(window, IDM_TRAY_ICON);
    }
    if (settings && settings->StartMinimized) {
        // With the tray option on, the minimize handling hides the window at once.
        ::ShowWindow(window, SW_MINIMIZE);
        CheckCommand(window, IDM_START_MINIMIZED);
    }
    return 1;
}

void SnapClientHeight(HWND window)
{
    const uint32_t paneCount = graphCount;
    if (paneCount == 0)
        return;
    RECT windowRect{};
    RECT client{};
    ::GetWindowRect(window, &windowRect);
    ::GetClientRect(window, &client);
    const uint32_t growth = SnapGrowth(static_cast<uint32_t>(client.bottom), paneCount);
    if (growth == 0)
        return;
    ::SetWindowPos(window, nullptr, 0, 0, windowRect.right - windowRect.left,
                   windowRect.bottom - windowRect.top + static_cast<int>(growth), SWP_NOMOVE);
}
