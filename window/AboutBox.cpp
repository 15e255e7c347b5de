#include "window/AboutBox.h"

#include "resources/resource.h"
#include "win32/DpiAwareness.h"

void ShowAboutBox(HINSTANCE instance, HWND owner, const wchar_t* title)
{
    // The dialog is created and run in one call: the thread is per-monitor aware until it ends.
    const PerMonitorDpiScope perMonitor;
    ::DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_ABOUTBOX), owner, AboutDialogProc,
                      reinterpret_cast<LPARAM>(title));
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        if (lParam)
            ::SetWindowTextW(::GetDlgItem(dialog, IDC_ABOUT_TITLE), reinterpret_cast<const wchar_t*>(lParam));
        return TRUE;
    case WM_COMMAND: {
        const int command = LOWORD(wParam);
        if (command == IDOK || command == IDCANCEL) {
            ::EndDialog(dialog, command);
            return TRUE;
        }
        return FALSE;
    }
    default:
        return FALSE;
    }
}
