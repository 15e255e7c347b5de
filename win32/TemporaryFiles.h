// What the files written through a temporary share (the PNG exports, the metrics file): moving
// the finished temporary over the old file while a reader may hold it for a moment, and
// sweeping the temporaries a killed process left behind.
#pragma once

#include <windows.h>

#include <string>

// Moves from over to. A file cannot be replaced while anyone has it open without sharing
// deletion: such a reader is waited out, up to attempts tries pauseMs apart. False, with from
// left as it is, when it never worked or failed for another reason.
bool ReplaceWhenFree(const wchar_t* from, const wchar_t* to, int attempts, DWORD pauseMs);

// Removes the files of folder (without a trailing backslash) that pattern finds and isOurs
// accepts, last written before this process started, and open nowhere (a file in use stays,
// whatever sharing its user allowed). Never a folder, a link or a junction.
void RemoveStaleTemporaries(const std::wstring& folder, const wchar_t* pattern,
                            bool (*isOurs)(const wchar_t* name, const void* context), const void* context);
