// What the window tests share: the settings file of the test's folder, rectangles of the
// main window and its panes, the menu marks, and a record of the "static" windows created.
#pragma once

#include <cwchar>

#include "tests/plugin/HostHarness.h"
#include "tests/support/SettingsFile.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace testwindow {

// The settings file of the test's folder.
using testsupport::ReadSettingsFile;
using testsupport::RemoveSettings;
using testsupport::SettingsFileExists;
using testsupport::WriteSettings;

inline SIZE ClientSize(HWND window)
{
    RECT r{};
    ::GetClientRect(window, &r);
    return {r.right, r.bottom};
}

// A child's rectangle in its parent's client coordinates.
inline RECT ChildRect(HWND child)
{
    RECT r{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The panes from top to bottom.
inline std::vector<HWND> PanesByRow(HWND main)
{
    std::vector<HWND> panes = testhost::ChildWindows(main);
    std::stable_sort(panes.begin(), panes.end(),
                     [](HWND a, HWND b) { return ChildRect(a).top < ChildRect(b).top; });
    return panes;
}

// Resizes the main window so that its client area gets the given size.
inline void SetClientSize(HWND window, int width, int height)
{
    RECT r{0, 0, width, height};
    ::AdjustWindowRect(&r, static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE)), TRUE);
    ::SetWindowPos(window, nullptr, 0, 0, r.right - r.left, r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER);
}

inline bool IsChecked(HWND window, UINT command)
{
    const UINT state = ::GetMenuState(::GetMenu(window), command, MF_BYCOMMAND);
    return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

inline bool HasMinimizeStyle(HWND window)
{
    WINDOWINFO info{};
    info.cbSize = sizeof info;
    ::GetWindowInfo(window, &info);
    return (info.dwStyle & WS_MINIMIZE) != 0;
}

inline LRESULT Command(HWND window, UINT id) { return ::SendMessageW(window, WM_COMMAND, id, 0); }

// Records the position and size every "static" window of this thread is created with.
class StaticCreationRecorder {
public:
    StaticCreationRecorder()
    {
        active = this;
        hook = ::SetWindowsHookExW(WH_CBT, OnCbt, nullptr, ::GetCurrentThreadId());
    }
    ~StaticCreationRecorder()
    {
        if (hook)
            ::UnhookWindowsHookEx(hook);
        active = nullptr;
    }
    StaticCreationRecorder(const StaticCreationRecorder&) = delete;
    StaticCreationRecorder& operator=(const StaticCreationRecorder&) = delete;

    std::vector<RECT> created;  // left, top, width, height as asked

private:
    static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND && active) {
            const CREATESTRUCTW* cs = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs;
            const bool named = HIWORD(reinterpret_cast<ULONG_PTR>(cs->lpszClass)) != 0;
            if (named && ::lstrcmpiW(cs->lpszClass, L"static") == 0)
                active->created.push_back({cs->x, cs->y, cs->cx, cs->cy});
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline StaticCreationRecorder* active = nullptr;
    HHOOK hook = nullptr;
};

// Runs a check on a modal dialog of this thread from inside its modal loop: a thread timer
// finds the dialog and hands it to the check, which posts what ends it. Bounded: a dialog
// still open five seconds later is ended by the driver.
class ModalDialogDriver {
public:
    using Check = void (*)(HWND dialog, void* context);
    ModalDialogDriver(Check check, void* context) : onDialog(check), context(context)
    {
        active = this;
        timer = ::SetTimer(nullptr, 0, 50, OnTimer);
    }
    ~ModalDialogDriver()
    {
        if (timer)
            ::KillTimer(nullptr, timer);
        active = nullptr;
    }
    ModalDialogDriver(const ModalDialogDriver&) = delete;
    ModalDialogDriver& operator=(const ModalDialogDriver&) = delete;

    bool seen = false;
    bool forced = false;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD)
    {
        ModalDialogDriver* self = active;
        if (!self)
            return;
        HWND dialog = nullptr;
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND w, LPARAM p) -> BOOL {
                wchar_t cls[16] = {};
                ::GetClassNameW(w, cls, 16);
                if (::lstrcmpW(cls, L"#32770") != 0 || !::IsWindowVisible(w))
                    return TRUE;
                *reinterpret_cast<HWND*>(p) = w;
                return FALSE;
            },
            reinterpret_cast<LPARAM>(&dialog));
        if (!dialog)
            return;
        if (!self->seen) {
            self->seen = true;
            self->onDialog(dialog, self->context);
        } else if (++self->ticks > 100) {
            // The check did not end it: end it here so the test cannot hang.
            self->forced = true;
            ::EndDialog(dialog, -1);
        }
    }

    static inline ModalDialogDriver* active = nullptr;
    Check onDialog;
    void* context;
    UINT_PTR timer = 0;
    int ticks = 0;
};

}  // namespace testwindow
