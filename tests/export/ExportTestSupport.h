// Helpers for the export tests under Wine: the executable's folder (where the pictures go),
// reading exported PNGs back through GDI+, and bounded waits that keep messages flowing.
#pragma once

#include "win32/GdiplusSession.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace exporttest {

// The folder of this executable, without a trailing backslash.
std::wstring ExeFolder();
std::wstring InExeFolder(const std::wstring& name);

bool FileExists(const std::wstring& path);
std::vector<uint8_t> ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes);
// The names (not paths) of the files in the executable's folder matching a wildcard.
std::vector<std::wstring> FilesInExeFolder(const wchar_t* pattern);
// Removes every picture, BMP and temporary file that an export may have left.
void RemoveExportFiles();


// A decoded picture: pixels as 0xAARRGGBB, top row first.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> argb;
    uint32_t At(int x, int y) const { return argb[static_cast<size_t>(y) * width + x]; }
    // The same pixel as a COLORREF (0x00BBGGRR).
    COLORREF ColourAt(int x, int y) const;
    bool Contains(COLORREF colour) const;
};

// Reads the file into memory first, so the test never holds the picture open while an
// export wants to replace it. Nothing when GDI+ cannot decode it.
std::optional<Picture> LoadPicture(const std::wstring& path);

// Makes a fault on any thread end the process with exit code 3. Left to Wine, an unhandled
// fault on a thread other than the main one may end the process with exit code 0.
void FailTheTestOnCrash();

// Polls condition every few milliseconds, delivering this thread's messages in between,
// until it holds or timeoutMs has passed; returns its last result.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

}  // namespace exporttest
