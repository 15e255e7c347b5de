// What the pane tests under Wine share: a pane window to lay out against, a 32-bit DIB canvas
// whose pixels read back exactly, settings records, text checks and PNG files for golden images.
#pragma once

#include "graph/CZiveVazudEx.h"
#include "win32/Handles.h"
#include "settings/GraphSettings.h"
#include "tests/support/DibPixels.h"
#include "win32/GdiplusSession.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace panetest {

// A hidden top-level window with a "static" child of the given client size: the pane window.
class PaneWindow {
public:
    PaneWindow(int width, int height);
    ~PaneWindow();
    PaneWindow(const PaneWindow&) = delete;
    PaneWindow& operator=(const PaneWindow&) = delete;
    HWND Get() const { return pane; }
    HWND TopLevel() const { return frame; }

private:
    HWND frame = nullptr;
    HWND pane = nullptr;
};

// A top-down 32-bit DIB section selected into a memory DC.
class Canvas {
public:
    Canvas(int width, int height);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return surface.Dc(); }
    int Width() const { return surface.Width(); }
    int Height() const { return surface.Height(); }
    // The pixel as a COLORREF (0x00BBGGRR), after flushing GDI.
    COLORREF At(int x, int y) const;
    void Fill(COLORREF colour);
    // Raw 0x00RRGGBB pixels, top row first.
    std::vector<uint32_t> Pixels() const;
    void CopyFrom(const Canvas& other);

private:
    testsupport::DibSurface surface;
};

// The default colours of a pane, range 0..100, the x axis on, units "C°" and "%".
GraphSettings DefaultRecord(const wchar_t* title = L"Core #0");

// True when text, drawn with the pane font, alignment and colours at (x, y), is what the canvas
// already shows there, and the cells just past the text's far end are background.
bool ShowsText(const Canvas& painted, int x, int y, UINT align, const std::wstring& text, COLORREF textColour,
               COLORREF background);

// Counts the pixels of a colour inside a rectangle (right and bottom excluded).
int CountColour(const Canvas& canvas, const RECT& area, COLORREF colour);


// PNG files of 0x00RRGGBB pixels, through GDI+.
bool WritePng(const std::wstring& path, int width, int height, const std::vector<uint32_t>& pixels);
bool ReadPng(const std::wstring& path, int& width, int& height, std::vector<uint32_t>& pixels);

// Runs work on a new thread; Finished waits for it at most timeoutMs.
class Worker {
public:
    explicit Worker(std::function<void()> work);
    ~Worker();
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;
    bool Finished(DWORD timeoutMs);

private:
    static DWORD WINAPI Run(LPVOID self);
    std::function<void()> work;
    KernelHandle thread;
};

}  // namespace panetest
