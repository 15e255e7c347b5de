// The keyboard's way through the cores: which core has the focus (arrows, Tab), the time
// cursor in it (Ctrl+Left/Right, Home, End, Esc), the system focus rectangle on screen and the
// events a screen reader follows. Owned by the main window; it keeps a core number and a
// sample number, nothing of the panes, which it reads through the view inputs at each call.
#pragma once

#include "window/View.h"

#include <windows.h>

#include <cstdint>

class CoreFocus {
public:
    static constexpr int32_t none = -1;
    // The focused core raises at most one value change event in this time.
    static constexpr uint64_t valueEventSpacingMs = 10000;

    // The cores there are to move through: the panes the latest snapshot reports.
    static uint32_t Count(const ViewInputs& inputs);

    static bool Wants(UINT message)
    {
        return message == WM_KEYDOWN || message == WM_SETFOCUS || message == WM_KILLFOCUS ||
               message == WM_UPDATEUISTATE;
    }
    // WM_KEYDOWN, WM_SETFOCUS, WM_KILLFOCUS and WM_UPDATEUISTATE of the main window: true
    // when the message is done with (result set), false when the default handling follows.
    bool OnMessage(const View& view, const ViewInputs& inputs, UINT message, WPARAM wParam, LRESULT& result);
    // After an update: the cursor stays on its sample, and the focused core tells that its
    // value changed (no more often than valueEventSpacingMs). Nothing without a focused core.
    void OnUpdate(const View& view, const ViewInputs& inputs);
    // WM_PAINT of the main window: the view paints, then the focus rectangle goes over the
    // focused core when the main window draws it (not its pane window).
    bool PaintWindow(View& view, const ViewInputs& inputs) const;
    // After a pane window painted on screen: the focus rectangle when it shows the focused core.
    void DrawOverPane(const ViewInputs& inputs, HWND paneWindow, HDC dc) const;
    // The focus to core (none: to no core), as the keys and a screen reader's accSelect move it.
    void Focus(const View& view, const ViewInputs& inputs, int32_t core);

    int32_t Focused() const { return focused; }
    // The time cursor: how many samples back from the newest of the focused core, or none.
    int32_t Cursor() const { return cursor; }

private:
    bool OnKey(const View& view, const ViewInputs& inputs, WPARAM key);
    void MoveCursor(const View& view, const ViewInputs& inputs, int32_t to);
    void ShowCursorTip(const View& view, const ViewInputs& inputs) const;
    void Invalidate(const View& view, const ViewInputs& inputs, int32_t core) const;
    void Raise(DWORD event, const View& view, const ViewInputs& inputs) const;
    bool ShowsRectangle(const ViewInputs& inputs) const;

    int32_t focused = none;
    int32_t cursor = none;
    bool valueEventRaised = false;
    uint64_t lastValueEventMs = 0;  // GetTickCount64 when the last value change was raised
};
