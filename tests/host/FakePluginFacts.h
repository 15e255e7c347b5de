// What the fake plug-in of the host's tests shows and writes, shared by the fake and the
// tests that check for it.
#pragma once

#include <windows.h>

constexpr COLORREF fakeWindowColour = RGB(32, 128, 192);
constexpr int fakeClientWidth = 320;
constexpr int fakeClientHeight = 200;
constexpr DWORD fakeExportDelayMs = 300;
constexpr char fakePngContent[] = "fake PNG written by the fake plug-in";
