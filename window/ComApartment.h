// COM on the window's thread, joined only when a screen reader first asks for an object: the
// host does not start COM, and an object is handed over by marshalling. Owned by the main
// window and left on its thread after the window is gone (clients still holding an object are
// then disconnected). A thread already in COM is joined the same way and left as it was.
#pragma once

#include <objbase.h>

class ComApartment {
public:
    ComApartment() = default;
    ~ComApartment()
    {
        if (joined)
            ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

    // S_OK and S_FALSE both count a join that must be left; a thread in the multithreaded
    // apartment (RPC_E_CHANGED_MODE) marshals there and is left alone.
    void Join()
    {
        if (!joined)
            joined = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    }

private:
    bool joined = false;
};
