// Starts export workers and lets the window's teardown wait for them. Each worker holds a
// reference on this module, so even a host that unloads the DLL right after ReleasePlugin
// never finds a worker running code that is gone.
#pragma once

// Starts one SnapshotWorker thread; false when no thread could be created.
bool StartExportWorker();
// Asks running workers to skip the panes they have not reached, and waits until all ended.
void WaitForExportWorkers();
// True once WaitForExportWorkers has begun: workers stop before the next pane.
bool ExportCancelled();
