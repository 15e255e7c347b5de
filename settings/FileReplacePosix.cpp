#include "settings/FileReplace.h"

#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

bool ReplaceFileWith(const char* temporary, const char* target)
{
    return std::rename(temporary, target) == 0;
}

bool MoveToNewFile(const char* temporary, const char* target)
{
    // A hard link is created only when the name is free, in one step.
    if (link(temporary, target) == 0) {
        unlink(temporary);
        return true;
    }
    if (errno == EEXIST)
        return false;
    // Filesystems without hard links: look first, then move.
    struct stat existing;
    if (lstat(target, &existing) == 0 || errno != ENOENT)
        return false;
    return std::rename(temporary, target) == 0;
}

unsigned long CurrentProcessNumber()
{
    return static_cast<unsigned long>(getpid());
}
