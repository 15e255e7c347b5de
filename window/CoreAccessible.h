// What a screen reader sees of the cores (Active Accessibility, asked for with WM_GETOBJECT):
// the main window's client object with a child per core, and where every core is a window of
// its own (View::CoresAreWindows) the pane window's object, a chart. An object is made only
// when a client asks and is owned by the client's references; it keeps the main window's
// handle and a core number and reads the panes at every call, so an update costs nothing more.
// Once that window is gone, or when called on another thread, it answers CO_E_OBJNOTCONNECTED.
#pragma once

#include <windows.h>

class ComApartment;

#include <cstdint>

// The object of the main window's client area: the whole window, its children the cores.
constexpr int32_t wholeWindowObject = -1;

// WM_GETOBJECT of the main window (core = wholeWindowObject) or of core's pane window: result
// is the object's reference for OBJID_CLIENT, handed over through com, joined for it. False for
// other objects, and before the window has its panes: the default handling answers those.
bool AnswerGetObject(HWND mainWindow, int32_t core, WPARAM wParam, LPARAM lParam, ComApartment& com,
                     LRESULT& result);

// The objects alive in the process, handed out or not yet released by a client.
long LiveAccessibleObjects();
