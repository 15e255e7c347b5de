// The two shell calls whose effect Wine cannot show (the notification area, a folder opened
// in the shell). The product calls the real functions; a test may install a recorder.
#pragma once

#include <windows.h>
#include <shellapi.h>

using NotifyIconProc = BOOL (*)(DWORD message, NOTIFYICONDATAW* data);
using ShellExecuteProc = HINSTANCE (*)(HWND owner, const wchar_t* verb, const wchar_t* file,
                                       const wchar_t* parameters, const wchar_t* directory, int show);

BOOL CallShellNotifyIcon(DWORD message, NOTIFYICONDATAW* data);
HINSTANCE CallShellExecute(HWND owner, const wchar_t* verb, const wchar_t* file,
                           const wchar_t* parameters, const wchar_t* directory, int show);

// Null restores the real function.
void SetNotifyIconProc(NotifyIconProc proc);
void SetShellExecuteProc(ShellExecuteProc proc);
