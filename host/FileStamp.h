// What the host knows of one file it waits for, read from the folder's listing without opening
// the file. A value type; the export request keeps one per pane.
#pragma once

#include <windows.h>

#include <string>

struct FileStamp {
    bool exists = false;
    FILETIME created{};
    FILETIME written{};
    ULONGLONG size = 0;

    // A file put in place anew (rewritten or renamed onto the name) differs in one part at
    // least, unless both were written within one tick of the file system's clock with one size.
    bool SameAs(const FileStamp& other) const;
};

// The stamp of path (no wildcards), or one with exists false. The file itself is never
// opened: a handle on it, however shared, makes a rename onto its name fail on Windows and
// Wine alike, and the plug-in puts every finished PNG in place by such a rename.
FileStamp StampOf(const std::wstring& path);
