#include "host/HostWindow.h"

#include "win32/Handles.h"
#include "host/HostConsole.h"

namespace {

const wchar_t hostWindowClass[] = L"ZentrixHostWindow";
constexpr UINT_PTR pollTimerId = 1;
constexpr UINT pollMessage = WM_APP + 1;
constexpr UINT pluginCloseMessage = WM_APP + 2;
constexpr UINT hostCommandExit = 4;
constexpr int clientWidth = 460;
constexpr int clientHeight = 120;
constexpr int lineHeight = 18;
constexpr int margin = 8;

HMENU BuildMenu(bool withPluginMenu)
{
    HMENU bar = CreateMenu();
    HMENU host = CreatePopupMenu();
    if (withPluginMenu) {
        AppendMenuW(host, MF_STRING, hostCommandStart, L"&Start plug-in");
        AppendMenuW(host, MF_STRING, hostCommandStop, L"S&top plug-in");
        AppendMenuW(host, MF_STRING, hostCommandConfigure, L"&Configure plug-in...");
        AppendMenuW(host, MF_SEPARATOR, 0, nullptr);
    }
    AppendMenuW(host, MF_STRING, hostCommandExit, L"E&xit");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(host), L"&Host");
    return bar;
}

}  // namespace

HostWindow::~HostWindow()
{
    if (window) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
    }
}

bool HostWindow::Create(HostWindowEvents* receiver, bool withPluginMenu)
{
    events = receiver;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = hostWindowClass;
    RegisterClassExW(&windowClass);  // a second run in this process finds it registered

    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRect(&frame, style, TRUE);
    RECT work{0, 0, 1024, 768};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    window = CreateWindowExW(0, hostWindowClass, L"Zentrix host", style, work.right - width, work.bottom - height,
                             width, height, nullptr, BuildMenu(withPluginMenu), instance, this);
    if (!window)
        return false;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    return true;
}

void HostWindow::SetStatus(std::vector<std::wstring> lines)
{
    status = std::move(lines);
    InvalidateRect(window, nullptr, TRUE);
}

void HostWindow::StartPollTimer(UINT intervalMs)
{
    SetTimer(window, pollTimerId, intervalMs, nullptr);
}

void HostWindow::StopPollTimer()
{
    KillTimer(window, pollTimerId);
}

void HostWindow::PostPoll()
{
    PostMessageW(window, pollMessage, 0, 0);
}

void HostWindow::PostPluginCloseRequest()
{
    PostMessageW(window, pluginCloseMessage, 0, 0);
}

LRESULT CALLBACK HostWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<HostWindow*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self || !self->events)
        return DefWindowProcW(window, message, wParam, lParam);
    try {
        return self->Handle(message, wParam, lParam);
    } catch (...) {
        PrintError(L"an unexpected error ended the run");
        PostQuitMessage(1);
        return 0;
    }
}

LRESULT HostWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == pollTimerId)
            events->OnPoll();
        return 0;
    case pollMessage:
        events->OnPoll();
        return 0;
    case pluginCloseMessage:
        events->OnCloseRequest(true);
        return 0;
    case WM_CLOSE:
        events->OnCloseRequest(false);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == hostCommandExit)
            events->OnCloseRequest(false);
        else
            events->OnPluginCommand(LOWORD(wParam));
        return 0;
    case WM_PAINT:
        Paint();
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

void HostWindow::Paint()
{
    PaintDc paint(window);
    const HDC dc = paint.Get();
    Selection font(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    int y = margin;
    for (const std::wstring& line : status) {
        TextOutW(dc, margin, y, line.c_str(), static_cast<int>(line.size()));
        y += lineHeight;
    }
}
