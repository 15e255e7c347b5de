// Records every call that would reach Shell_NotifyIconW or ShellExecuteW while it lives.
#pragma once

#include "window/ShellSeam.h"

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

namespace testwindow {

struct NotifyCall {
    DWORD message;
    NOTIFYICONDATAW data;  // the bytes the call was given, up to cbSize
};

struct ShellExecuteCall {
    HWND owner;
    std::wstring verb;
    std::wstring file;
    std::wstring parameters;
    std::wstring directory;
    int show;
};

class ShellRecorder {
public:
    ShellRecorder()
    {
        active = this;
        SetNotifyIconProc(RecordNotify);
        SetShellExecuteProc(RecordExecute);
    }
    ~ShellRecorder()
    {
        SetNotifyIconProc(nullptr);
        SetShellExecuteProc(nullptr);
        active = nullptr;
    }
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;

    size_t Count(DWORD message) const
    {
        size_t n = 0;
        for (const NotifyCall& call : notifications)
            n += call.message == message;
        return n;
    }

    std::vector<NotifyCall> notifications;
    std::vector<ShellExecuteCall> executions;

private:
    static BOOL RecordNotify(DWORD message, NOTIFYICONDATAW* data)
    {
        NotifyCall call{message, {}};
        const size_t size = data->cbSize <= sizeof call.data ? data->cbSize : sizeof call.data;
        std::memcpy(&call.data, data, size);
        active->notifications.push_back(call);
        return TRUE;
    }
    static HINSTANCE RecordExecute(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                                   const wchar_t* directory, int show)
    {
        active->executions.push_back({owner, verb ? verb : L"", file ? file : L"", parameters ? parameters : L"",
                                      directory ? directory : L"", show});
        return reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(33));
    }

    static inline ShellRecorder* active = nullptr;
};

}  // namespace testwindow
