// The export threads of one main window: each request saves a list of panes on a worker
// thread of its own, one export after the other, with at most one waiting behind the running one. Owned by the main window object, whose teardown cancels and waits for
// them before the panes go. Each worker holds a reference on this module, so even a host that
// unloads the DLL right after ReleasePlugin never finds a worker running code that is gone.
#pragma once

#include "export/SnapshotExport.h"
#include "win32/Handles.h"

#include <windows.h>

#include <atomic>
#include <vector>

class ExportWorkers {
public:
    ExportWorkers() = default;
    // Waits for every worker: they read the panes of their list.
    ~ExportWorkers();
    ExportWorkers(const ExportWorkers&) = delete;
    ExportWorkers& operator=(const ExportWorkers&) = delete;

    // Starts one SnapshotWorker thread saving panes in list order; false when no thread could
    // be created. While an export waits for its turn, nothing is added and the answer is true:
    // that export draws the newest history anyway, and slow exports never pile up threads. The panes must outlive the worker (WaitForAll before they go). Called on
    // one thread only, as is WaitForAll.
    bool Start(const PaneList& panes);
    // Asks running workers to skip the panes they have not reached, and waits until all ended.
    void WaitForAll();
    // True while WaitForAll runs: workers stop before their next pane.
    bool Cancelled() const { return cancelRequested.load(); }

private:
    friend DWORD WINAPI SnapshotWorker(LPVOID job);

    // One pane picture at a time: two workers never race on the same pane's files, and
    // memory holds at most one picture.
    SRWLOCK paneTurn = SRWLOCK_INIT;
    // Held by a worker for its whole list: exports run one after the other.
    SRWLOCK exportTurn = SRWLOCK_INIT;
    // Set by Start, cleared by the worker as its turn comes.
    std::atomic<bool> exportWaiting{false};
    std::atomic<bool> cancelRequested{false};
    // The threads started and not yet seen ended; a thread's handle is signalled only once it
    // has stopped touching this object.
    std::vector<KernelHandle> threads;
};
