// The main window's one notification-area icon. Made by the main window creation, owned by
// the plug-in object; its teardown removes the icon and frees the icon and font.
#pragma once

#include "graph/GdiHandles.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>

constexpr UINT trayIconId = 100;
constexpr UINT trayCallbackMessage = 102;
constexpr DWORD notifyIconDataSize = 968;  // the version-3 layout, up to guidItem

// The screen's resolution, read once per process.
struct ScreenMetrics {
    bool filled = false;
    int32_t horizontalDpi = 96;
    int32_t verticalDpi = 96;
    int32_t smallIconSize = 16;

    void EnsureFilled();
    int32_t IconSize();
};
ScreenMetrics& TheScreenMetrics();

class TrayIcon {
public:
    TrayIcon(HWND owner, HINSTANCE instance);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    bool ShowIcon();
    void HideIcon();
    // Takes ownership of icon; destroys the one held before.
    void SetIcon(HICON icon);
    // A transparent icon the size of a small icon at the screen's DPI; the caller owns it.
    HICON MakeDefaultIcon();

    void SetGreyFill(bool grey) { greyFill = grey; }
    bool IsShown() const { return shown; }
    const NOTIFYICONDATAW& NotifyData() const { return notifyData; }

private:
    bool shown = false;
    bool greyFill = false;
    HWND owner;
    HINSTANCE instance;
    UINT iconId = trayIconId;
    NOTIFYICONDATAW notifyData;
    HICON windowIcon = nullptr;
    Font font;
    const wchar_t* firstText = L"";
    const wchar_t* secondText = L"";
    COLORREF fillColour = RGB(0, 128, 255);
};

// The icon that stands for a window: its small icon, its executable's file-type icon, or
// the question-mark icon. The caller owns the icon returned (a copy where it was shared).
HICON FindWindowIcon(HWND window);
