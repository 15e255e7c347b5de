// The folder of the process's executable: where the host's pictures and logs go.
#pragma once

#include <cstddef>
#include <string>

// The folder, without a trailing backslash, at any length the system allows (the module name
// is read into a buffer that grows); empty when it cannot be had.
std::wstring ExecutableFolder();

// Writes the folder, without a trailing backslash, into folder (capacity characters). False,
// with an empty folder, when the name cannot be had or would not fit whole.
bool ExecutableFolder(wchar_t* folder, size_t capacity);
