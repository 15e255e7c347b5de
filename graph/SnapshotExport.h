// Export of every pane as a PNG in the host executable's folder, on worker threads.
#pragma once

#include <windows.h>

// The index of GDI+'s "image/png" encoder and its class id, or -1.
int FindPngEncoder(CLSID* encoder);
// Saves every pane in graphList order. The thread procedure of an export worker.
DWORD WINAPI SnapshotWorker(LPVOID);
// The log timer's callback: starts a worker.
void CALLBACK LogTimerProc(HWND, UINT, UINT_PTR, DWORD);
// Opens the folder that receives the pictures, through the shell.
void OpenOutputFolder(HWND owner);
