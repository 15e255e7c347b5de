#include "settings/FileReplace.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

std::FILE* OpenFile(const char* path, const char* mode)
{
    return std::fopen(path, mode);
}

bool RemoveFile(const char* path)
{
    return std::remove(path) == 0;
}

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

std::string FinalPathOf(const char* name)
{
    std::unique_ptr<char, decltype(&std::free)> resolved(realpath(name, nullptr), &std::free);
    return resolved ? std::string(resolved.get()) : std::string(name);
}

bool IsReadOnlyFile(const char* path)
{
    // The mode bits, not access(): a privileged user may write anything.
    struct stat existing;
    return stat(path, &existing) == 0 && (existing.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool HasOtherNames(const char* path)
{
    struct stat existing;
    return stat(path, &existing) == 0 && existing.st_nlink > 1;
}

namespace {

const std::time_t loadTime = std::time(nullptr);

struct DirectoryCloser {
    void operator()(DIR* directory) const { closedir(directory); }
};

}  // namespace

void RemoveStaleFiles(const std::string& folder, bool (*isOurs)(std::string_view name))
{
    const std::unique_ptr<DIR, DirectoryCloser> directory(opendir(folder.empty() ? "." : folder.c_str()));
    if (!directory)
        return;
    while (const dirent* entry = readdir(directory.get())) {
        if (!isOurs(entry->d_name))
            continue;
        const std::string path = folder + entry->d_name;
        struct stat existing;
        if (lstat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode) && existing.st_mtime < loadTime)
            unlink(path.c_str());
    }
}
