// Delivering the messages of the calling thread: all that are waiting, or until a condition
// holds. For the host's loop and for tests that act as the host; no state of its own.
#pragma once

#include <windows.h>

// Delivers every message waiting for this thread.
inline void PumpMessages()
{
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// Delivers this thread's messages until condition() holds or timeoutMs has passed, waking at
// least every few milliseconds to look again; returns the condition's last result.
template <typename Condition>
bool PumpMessagesUntil(Condition condition, DWORD timeoutMs)
{
    const ULONGLONG start = ::GetTickCount64();
    for (;;) {
        PumpMessages();
        if (condition())
            return true;
        if (::GetTickCount64() - start >= timeoutMs)
            return condition();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}
