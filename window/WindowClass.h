// The main window's class and title, loaded from the module's strings. Registered once by the
// main window that owns this object, and unregistered when it goes: a class left registered
// would outlive the DLL with a window procedure into its code.
#pragma once

#include <windows.h>

class WindowClass {
public:
    WindowClass() = default;
    ~WindowClass();
    WindowClass(const WindowClass&) = delete;
    WindowClass& operator=(const WindowClass&) = delete;

    // Loads the title (with " - 64bit" after it) and the class name, and registers the class
    // with procedure; a class registered already by another plug-in object is taken as it is.
    void Register(HINSTANCE instance, WNDPROC procedure, int extraBytes);

    const wchar_t* Name() const { return name; }
    const wchar_t* Title() const { return title; }

private:
    static constexpr int textCapacity = 100;
    wchar_t title[textCapacity] = {};
    wchar_t name[textCapacity] = {};
    HINSTANCE instance = nullptr;  // set once the class is registered
};
