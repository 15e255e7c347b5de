// The log timer's SetTimer call, whose period and callback Windows does not let a caller
// read back. The product calls the real function; a test may install a recorder.
#pragma once

#include <windows.h>

using SetTimerProc = UINT_PTR (*)(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC callback);

UINT_PTR CallSetTimer(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC callback);

// Null restores the real function.
void SetSetTimerProc(SetTimerProc proc);
