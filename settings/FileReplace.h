// The platform calls behind the safe rewrite of the settings file: moving a finished temporary
// file into place. One POSIX and one Windows source implement them; the settings file code owns the files.
#pragma once

// Moves temporary onto target, replacing the file of that name if there is one.
bool ReplaceFileWith(const char* temporary, const char* target);

// Moves temporary to target only when no file of that name exists; false when one does.
bool MoveToNewFile(const char* temporary, const char* target);

// Differs between processes running at the same time; names the temporary file.
unsigned long CurrentProcessNumber();
