// Move-only owners for the Win32 handles the plug-in, the host and the tests create: each frees
// its handle with the call that matches how it was acquired. Declare the object before its
// selection so the selection puts the old object back before the object is deleted.
#pragma once

#include <windows.h>

#include <utility>

template <typename Handle, typename Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : handle(h) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle(std::exchange(other.handle, Handle{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        if (this != &other) {
            Reset();
            handle = std::exchange(other.handle, Handle{});
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle Get() const { return handle; }
    explicit operator bool() const { return handle != Handle{} && handle != Traits::Invalid(); }
    Handle Release() { return std::exchange(handle, Handle{}); }
    void Reset(Handle h = Handle{})
    {
        if (*this)
            Traits::Free(handle);
        handle = h;
    }

private:
    Handle handle{};
};

struct GdiObjectTraits {
    static HGDIOBJ Invalid() { return nullptr; }
    static void Free(HGDIOBJ h) { ::DeleteObject(h); }
};
struct MemoryDcTraits {
    static HDC Invalid() { return nullptr; }
    static void Free(HDC h) { ::DeleteDC(h); }
};
struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static void Free(HICON h) { ::DestroyIcon(h); }
};
struct KernelHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Free(HANDLE h) { ::CloseHandle(h); }
};
struct FindHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Free(HANDLE h) { ::FindClose(h); }
};

// Pens, brushes, fonts, bitmaps and regions: DeleteObject.
template <typename T>
class GdiObject : public UniqueHandle<HGDIOBJ, GdiObjectTraits> {
public:
    GdiObject() = default;
    explicit GdiObject(T h) : UniqueHandle(h) {}
    T Get() const { return static_cast<T>(UniqueHandle::Get()); }
};
using Pen = GdiObject<HPEN>;
using Brush = GdiObject<HBRUSH>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;
using Region = GdiObject<HRGN>;

// A DC from CreateCompatibleDC: DeleteDC.
using MemoryDc = UniqueHandle<HDC, MemoryDcTraits>;
// An icon from CreateIconIndirect, ImageList_GetIcon or a copy: DestroyIcon.
using OwnedIcon = UniqueHandle<HICON, IconTraits>;
// Threads, mutexes, events and files: CloseHandle.
using KernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;
// A directory search from FindFirstFileW: FindClose.
using FindHandle = UniqueHandle<HANDLE, FindHandleTraits>;

// A DC from GetDC (the client area; null for the screen) or GetWindowDC (the whole window,
// frame and menu included): ReleaseDC with the same window.
class WindowDc {
public:
    enum Area { client, wholeWindow };
    explicit WindowDc(HWND w, Area area = client) : window(w), dc(area == client ? ::GetDC(w) : ::GetWindowDC(w)) {}
    ~WindowDc()
    {
        if (dc)
            ::ReleaseDC(window, dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc; }
    explicit operator bool() const { return dc != nullptr; }

private:
    HWND window;
    HDC dc;
};

// BeginPaint / EndPaint.
class PaintDc {
public:
    explicit PaintDc(HWND w) : window(w) { dc = ::BeginPaint(w, &ps); }
    ~PaintDc() { ::EndPaint(window, &ps); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC Get() const { return dc; }

private:
    HWND window;
    PAINTSTRUCT ps{};
    HDC dc;
};

// Selects an object into a DC and puts the previous one back when it goes.
class Selection {
public:
    Selection(HDC d, HGDIOBJ object) : dc(d), previous(d && object ? ::SelectObject(d, object) : nullptr) {}
    ~Selection()
    {
        if (previous && previous != HGDI_ERROR)
            ::SelectObject(dc, previous);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc;
    HGDIOBJ previous;
};

// Opens a named mutex, waits for it without a time limit, and releases and closes it when
// it goes. Without a handle (the name could not be created) the holder simply goes ahead.
class NamedMutexHold {
public:
    explicit NamedMutexHold(const wchar_t* name) : mutex(::CreateMutexW(nullptr, FALSE, name))
    {
        if (mutex && ::WaitForSingleObject(mutex.Get(), INFINITE) == WAIT_FAILED)
            mutex.Reset();
    }
    ~NamedMutexHold()
    {
        if (mutex)
            ::ReleaseMutex(mutex.Get());
    }
    NamedMutexHold(const NamedMutexHold&) = delete;
    NamedMutexHold& operator=(const NamedMutexHold&) = delete;

private:
    KernelHandle mutex;
};
