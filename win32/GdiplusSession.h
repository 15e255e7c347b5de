// GDI+ kept started for as long as its owner lives (a pane, a screenshot, a test), and the
// lookup of its PNG encoder. Every user of GDI+ in the project goes through these two.
#pragma once

#include <windows.h>

class GdiplusSession {
public:
    GdiplusSession();
    ~GdiplusSession();
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    bool Started() const { return token != 0; }

private:
    ULONG_PTR token = 0;
};

// The index of GDI+'s "image/png" encoder and its class id, or -1.
int FindPngEncoder(CLSID* encoder);

// Saves top-down 32-bit pixels (0x00RRGGBB, stride width * 4) as a PNG through GDI+, which
// must be started. False when GDI+ refuses the picture or the file.
bool SavePixelsAsPng(int width, int height, const void* pixels, const wchar_t* path);
