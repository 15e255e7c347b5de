#include "settings/FileReplace.h"

#include <windows.h>

bool ReplaceFileWith(const char* temporary, const char* target)
{
    return MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool MoveToNewFile(const char* temporary, const char* target)
{
    // Without MOVEFILE_REPLACE_EXISTING the move fails when the target exists.
    return MoveFileExA(temporary, target, MOVEFILE_WRITE_THROUGH) != FALSE;
}

unsigned long CurrentProcessNumber()
{
    return GetCurrentProcessId();
}
