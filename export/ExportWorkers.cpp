#include "export/ExportWorkers.h"

#include <algorithm>
#include <memory>

namespace {

// What one worker thread is handed: its list, its owner and the module reference it gives
// back as it exits.
struct ExportJob {
    PaneList panes;
    ExportWorkers* owner;
    HMODULE module;
};

}  // namespace

DWORD WINAPI SnapshotWorker(LPVOID parameter)
{
    auto* job = static_cast<ExportJob*>(parameter);
    const HMODULE module = job->module;
    try {
        ExportWorkers& owner = *job->owner;
        ::AcquireSRWLockExclusive(&owner.exportTurn);
        owner.exportWaiting.store(false);
        SaveEveryPane(job->panes, owner.paneTurn, owner.cancelRequested);
        ::ReleaseSRWLockExclusive(&owner.exportTurn);
    } catch (...) {
    }
    delete job;
    ::FreeLibraryAndExitThread(module, 0);
}

ExportWorkers::~ExportWorkers()
{
    WaitForAll();
}

bool ExportWorkers::Start(const PaneList& panes)
{
    if (exportWaiting.load())
        return true;
    // Ended threads are forgotten here, so the list stays as short as the exports running.
    threads.erase(std::remove_if(threads.begin(), threads.end(),
                                 [](const KernelHandle& t) { return ::WaitForSingleObject(t.Get(), 0) != WAIT_TIMEOUT; }),
                  threads.end());
    threads.reserve(threads.size() + 1);

    HMODULE module = nullptr;
    if (!::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&SnapshotWorker),
                              &module))
        return false;
    std::unique_ptr<ExportJob> job;
    try {
        job.reset(new ExportJob{panes, this, module});
    } catch (...) {
        ::FreeLibrary(module);
        return false;
    }
    exportWaiting.store(true);
    KernelHandle thread(::CreateThread(nullptr, 0, SnapshotWorker, job.get(), 0, nullptr));
    if (!thread) {
        exportWaiting.store(false);
        ::FreeLibrary(module);
        return false;
    }
    job.release();  // the thread frees it
    threads.push_back(std::move(thread));
    return true;
}

void ExportWorkers::WaitForAll()
{
    cancelRequested.store(true);
    for (const KernelHandle& thread : threads)
        ::WaitForSingleObject(thread.Get(), INFINITE);
    threads.clear();
    cancelRequested.store(false);
}
