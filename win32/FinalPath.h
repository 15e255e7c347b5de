// The name an open file or folder finally has, with every link resolved: how the file code
// tells a name of its own from one that leads elsewhere. Used by the settings file, the CSV
// log and the temporaries' sweep.
#pragma once

#include <windows.h>

#include <string>

// The "\\?\" form of the handle's final path; empty when the system cannot tell it.
std::wstring FinalPath(HANDLE handle);
