// The About box: the icon, the window title and the copyright line; OK or Escape ends it.
#include "window/MainWindow.h"

#include "plugin/PluginState.h"
#include "resources/resource.h"

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        ::SetWindowTextW(::GetDlgItem(dialog, IDC_ABOUT_TITLE), windowTitle);
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
