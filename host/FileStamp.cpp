#include "host/FileStamp.h"

#include "win32/Handles.h"

bool FileStamp::SameAs(const FileStamp& other) const
{
    return exists == other.exists && CompareFileTime(&created, &other.created) == 0 &&
           CompareFileTime(&written, &other.written) == 0 && size == other.size;
}

FileStamp StampOf(const std::wstring& path)
{
    FileStamp stamp;
    WIN32_FIND_DATAW found{};
    FindHandle search(FindFirstFileExW(path.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0));
    if (!search || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return stamp;
    stamp.exists = true;
    stamp.created = found.ftCreationTime;
    stamp.written = found.ftLastWriteTime;
    stamp.size = (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    return stamp;
}
