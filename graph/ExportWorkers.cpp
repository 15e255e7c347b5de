#include "graph/ExportWorkers.h"

#include "graph/GdiHandles.h"
#include "graph/SnapshotExport.h"

#include <windows.h>

#include <atomic>

namespace {

// Guards runningWorkers; workersIdle is signalled whenever it drops to 0.
SRWLOCK workersLock = SRWLOCK_INIT;
CONDITION_VARIABLE workersIdle = CONDITION_VARIABLE_INIT;
long runningWorkers = 0;
std::atomic<bool> cancelRequested{false};

void CountWorkerStarted()
{
    ::AcquireSRWLockExclusive(&workersLock);
    ++runningWorkers;
    ::ReleaseSRWLockExclusive(&workersLock);
}

void CountWorkerFinished()
{
    ::AcquireSRWLockExclusive(&workersLock);
    --runningWorkers;
    const bool idle = runningWorkers == 0;
    ::ReleaseSRWLockExclusive(&workersLock);
    if (idle)
        ::WakeAllConditionVariable(&workersIdle);
}

// The worker holds its own reference on this module (taken by StartExportWorker) and gives
// it back only as it exits, so the module stays mapped until the thread is gone.
DWORD WINAPI ExportThreadProc(LPVOID module)
{
    try {
        SnapshotWorker(nullptr);
    } catch (...) {
    }
    CountWorkerFinished();
    ::FreeLibraryAndExitThread(static_cast<HMODULE>(module), 0);
}

}  // namespace

bool StartExportWorker()
{
    HMODULE module = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                              reinterpret_cast<LPCWSTR>(&ExportThreadProc), &module))
        return false;
    CountWorkerStarted();
    KernelHandle thread(::CreateThread(nullptr, 0, ExportThreadProc, module, 0, nullptr));
    if (!thread) {
        CountWorkerFinished();
        ::FreeLibrary(module);
        return false;
    }
    return true;
}

void WaitForExportWorkers()
{
    cancelRequested.store(true);
    ::AcquireSRWLockExclusive(&workersLock);
    while (runningWorkers > 0)
        ::SleepConditionVariableSRW(&workersIdle, &workersLock, INFINITE, 0);
    ::ReleaseSRWLockExclusive(&workersLock);
    cancelRequested.store(false);
}

bool ExportCancelled()
{
    return cancelRequested.load();
}
