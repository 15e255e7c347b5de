// The main window's one notification-area icon. Made and owned by the main window object; its
// teardown removes the icon and frees the icon and font.
#pragma once

#include "win32/Handles.h"
#include "window/ScreenMetrics.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdint>

constexpr UINT trayIconId = 100;
constexpr UINT trayCallbackMessage = 102;
constexpr DWORD notifyIconDataSize = 968;  // the version-3 layout, up to guidItem

class TrayIcon {
public:
    TrayIcon(HWND owner, HINSTANCE instance);  // the instance is not kept
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    bool ShowIcon();
    void HideIcon();
    // After the shell restarted (it forgot every icon): adds the icon again when it was shown.
    bool RestoreIcon();
    // Takes ownership of icon; destroys the one held before.
    void SetIcon(HICON icon);
    // The tooltip, cut to the shell's 127 characters; the shell hears of it only when it changed.
    void SetTip(const wchar_t* tip);
    // A transparent icon the size of a small icon at the screen's resolution; the caller owns it.
    HICON MakeDefaultIcon(const ScreenMetrics& metrics);

    void SetGreyFill(bool grey) { greyFill = grey; }
    bool IsShown() const { return shown; }
    const NOTIFYICONDATAW& NotifyData() const { return notifyData; }

private:
    UINT AddFlags() const;

    bool shown = false;
    bool greyFill = false;
    HWND owner;
    UINT iconId = trayIconId;
    NOTIFYICONDATAW notifyData;
    // The owner's icon and the icon-title font, taken at construction and held until the
    // tray goes; nothing draws with them yet.
    OwnedIcon windowIcon;
    Font font;
    COLORREF fillColour = RGB(0, 128, 255);
};

// The icon that stands for a window: its small icon, its executable's file-type icon, or
// the question-mark icon. The caller owns the icon returned (a copy where it was shared).
HICON FindWindowIcon(HWND window);
