#include "window/TimerSeam.h"

#include <atomic>

namespace {
std::atomic<SetTimerProc> setTimerProc{nullptr};
}  // namespace

UINT_PTR CallSetTimer(HWND window, UINT_PTR id, UINT periodMs, TIMERPROC callback)
{
    if (SetTimerProc proc = setTimerProc.load())
        return proc(window, id, periodMs, callback);
    return ::SetTimer(window, id, periodMs, callback);
}

void SetSetTimerProc(SetTimerProc proc)
{
    setTimerProc.store(proc);
}
