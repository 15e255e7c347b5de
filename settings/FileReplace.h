// The platform calls behind the safe rewrite of the settings file: opening, moving a finished
// temporary file into place, removing. Every path is UTF-8 text, so a folder named in any
// script works; Windows takes it through the wide calls. settings/FileReplacePosix.cpp and
// win32/FileReplaceWindows.cpp implement them; the settings file code owns the files.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

// fopen with a UTF-8 path; mode as fopen's ("rb", "wb").
std::FILE* OpenFile(const char* path, const char* mode);

// Removes the file; false when it could not.
bool RemoveFile(const char* path);

// Moves temporary onto target, replacing the file of that name if there is one.
bool ReplaceFileWith(const char* temporary, const char* target);

// Moves temporary to target only when no file of that name exists; false when one does.
bool MoveToNewFile(const char* temporary, const char* target);

// Differs between processes running at the same time; names the temporary file.
unsigned long CurrentProcessNumber();

// The file the name finally resolves to, through any symbolic links; the name itself when
// there is no such file or it cannot be resolved.
std::string FinalPathOf(const char* name);

// True for an existing file the user made read-only.
bool IsReadOnlyFile(const char* path);

// True when the file has hard links besides this name: replacing it would split them.
bool HasOtherNames(const char* path);

// Removes the files of folder ("" for the current one, else ending in a separator) whose
// names isOurs accepts, last written before this process started, and open nowhere. POSIX
// cannot tell a file in use, and there the time this code was loaded stands for the start.
void RemoveStaleFiles(const std::string& folder, bool (*isOurs)(std::string_view name));
