#include "window/ShellSeam.h"

#include <atomic>

namespace {
std::atomic<NotifyIconProc> notifyIconProc{nullptr};
std::atomic<ShellExecuteProc> shellExecuteProc{nullptr};
}  // namespace

BOOL CallShellNotifyIcon(DWORD message, NOTIFYICONDATAW* data)
{
    if (NotifyIconProc proc = notifyIconProc.load())
        return proc(message, data);
    return ::Shell_NotifyIconW(message, data);
}

HINSTANCE CallShellExecute(HWND owner, const wchar_t* verb, const wchar_t* file,
                           const wchar_t* parameters, const wchar_t* directory, int show)
{
    if (ShellExecuteProc proc = shellExecuteProc.load())
        return proc(owner, verb, file, parameters, directory, show);
    return ::ShellExecuteW(owner, verb, file, parameters, directory, show);
}

void SetNotifyIconProc(NotifyIconProc proc)
{
    notifyIconProc.store(proc);
}

void SetShellExecuteProc(ShellExecuteProc proc)
{
    shellExecuteProc.store(proc);
}
