#include "win32/CsvLogFile.h"

#include "core/ExportPaths.h"
#include "win32/Clock.h"
#include "win32/FinalPath.h"

#include <utility>

namespace {

// Opened for appending only, shared for reading so a viewer can follow the file, and
// never for writing: two plug-ins in one folder take different numbers instead of mixing lines.
// The name itself is opened, never what a link or junction points to.
KernelHandle OpenForAppend(const std::wstring& path, DWORD disposition)
{
    return KernelHandle(::CreateFileW(path.c_str(), FILE_APPEND_DATA | FILE_READ_DATA, FILE_SHARE_READ,
                                      nullptr, disposition, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT,
                                      nullptr));
}

std::wstring FolderFinalPath(const std::wstring& folder)
{
    KernelHandle opened(::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return opened ? FinalPath(opened.Get()) : std::wstring();
}

// A plain file of one name that is what its name in the folder says: no reparse point
// (symbolic link, junction), no second name (hard link) and, where the system resolves links
// without showing them (Wine shows a symbolic link made on the Unix side as a plain file), a
// final name that is the folder's own and the log's name. Anything else may be a file of
// someone else's that the log must never write into.
bool IsOwnPlainFile(HANDLE file, const std::wstring& folderFinalPath, const std::wstring& name)
{
    BY_HANDLE_FILE_INFORMATION information{};
    if (!::GetFileInformationByHandle(file, &information))
        return false;
    if ((information.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) != 0 ||
        information.nNumberOfLinks != 1)
        return false;
    if (folderFinalPath.empty())
        return true;
    const std::wstring expected = folderFinalPath + L"\\" + name;
    const std::wstring final = FinalPath(file);
    return ::CompareStringOrdinal(final.c_str(), static_cast<int>(final.size()), expected.c_str(),
                                  static_cast<int>(expected.size()), TRUE) == CSTR_EQUAL;
}

// Takes away a file this log has just created and could not write its first line into, so no
// empty file of ours is left for a later run to fill out of the numbers' time order. Only
// while nobody has it open and it is still empty.
void DeleteEmptyFile(const std::wstring& path)
{
    KernelHandle file(::CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.Get(), &size) || size.QuadPart != 0)
        return;
    FILE_DISPOSITION_INFO disposition{};
    disposition.DeleteFile = TRUE;
    ::SetFileInformationByHandle(file.Get(), FileDispositionInfo, &disposition, sizeof disposition);
}

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES || ::GetLastError() != ERROR_FILE_NOT_FOUND;
}

// The first bytes, the size and the last two bytes of an open file.
ExistingLog Classify(HANDLE file, uint32_t coreCount)
{
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size))
        return ExistingLog::Taken;
    const std::string header = CsvLogHeader(coreCount);
    std::string start(header.size(), '\0');
    DWORD read = 0;
    OVERLAPPED at{};
    if (size.QuadPart > 0 && !::ReadFile(file, start.data(), static_cast<DWORD>(start.size()), &read, &at))
        return ExistingLog::Taken;
    start.resize(read);
    char ending[2] = {};
    DWORD endingRead = 0;
    if (size.QuadPart >= 2) {
        OVERLAPPED tail{};
        const ULONGLONG offset = static_cast<ULONGLONG>(size.QuadPart) - 2;
        tail.Offset = static_cast<DWORD>(offset);
        tail.OffsetHigh = static_cast<DWORD>(offset >> 32);
        if (!::ReadFile(file, ending, 2, &endingRead, &tail))
            return ExistingLog::Taken;
    }
    return ClassifyExistingLog(start, static_cast<uint64_t>(size.QuadPart), std::string_view(ending, endingRead),
                               coreCount);
}

}  // namespace

CsvLogFile::CsvLogFile(std::wstring logFolder, uint32_t cores) : folder(std::move(logFolder)), coreCount(cores) {}

bool CsvLogFile::Open(const LogClockTime& time)
{
    file.Reset();
    created = false;
    // Empty when the system cannot tell it: Wine gives no final name past 260 characters,
    // and then only the reparse point and the hard link can be seen.
    const std::wstring folderFinalPath = FolderFinalPath(LongPathForm(folder));
    for (uint32_t number = 1; number <= maxLogFilesPerDay; ++number) {
        const std::wstring name = CsvLogFileName(time, number);
        const std::wstring candidate = LongPathForm(folder + L"\\" + name);
        KernelHandle opened = OpenForAppend(candidate, OPEN_EXISTING);
        ExistingLog state = ExistingLog::Absent;
        bool createdNow = false;
        if (opened) {
            if (!IsOwnPlainFile(opened.Get(), folderFinalPath, name))
                continue;
            state = Classify(opened.Get(), coreCount);
            // An empty file before a later one of the day would put newer lines under an
            // older number.
            if (state == ExistingLog::Empty && Exists(LongPathForm(folder + L"\\" + CsvLogFileName(time, number + 1))))
                continue;
        } else if (::GetLastError() == ERROR_FILE_NOT_FOUND) {
            opened = OpenForAppend(candidate, CREATE_NEW);
            if (!opened) {
                if (::GetLastError() == ERROR_PATH_NOT_FOUND)
                    return false;
                // A name taken meanwhile, or a link that points nowhere: not ours.
                continue;
            }
            createdNow = true;
            if (!IsOwnPlainFile(opened.Get(), folderFinalPath, name)) {
                opened.Reset();
                continue;
            }
        } else {
            // Locked by another writer, or no access: leave it and try the next number.
            continue;
        }
        if (state == ExistingLog::Taken)
            continue;
        file = std::move(opened);
        openDate = time;
        needsHeader = state != ExistingLog::Appendable;
        created = createdNow;
        path = candidate;
        return true;
    }
    return false;
}

bool CsvLogFile::Append(const LogClockTime& time, const UpdateRecord& update) noexcept
{
    try {
        if (file && !SameDate(time, openDate))
            file.Reset();
        if (!file && !Open(time))
            return false;
        FormatCsvLogLine(line, time, update, coreCount);
        // The header goes with the first line in the same write, so no file is ever left
        // with a header alone by a crash between the two.
        text.clear();
        if (needsHeader)
            text = CsvLogHeader(coreCount);
        text += line;
        const DWORD size = static_cast<DWORD>(text.size());
        DWORD written = 0;
        const BOOL ok = ::WriteFile(file.Get(), text.data(), size, &written, nullptr);
        text.clear();
        if (!ok || written != size) {
            // A short write leaves a cut line: the reopened file is then passed over for
            // the next number (see ClassifyExistingLog). A file created for this line and
            // left without a byte goes again.
            file.Reset();
            if (created)
                DeleteEmptyFile(path);
            return false;
        }
        needsHeader = false;
        created = false;
        return true;
    } catch (...) {
        // Out of memory for the line: this update is not logged, the next one tries again.
        file.Reset();
        return false;
    }
}

void CsvLogFile::Accept(const UpdateRecord& update) noexcept
{
    Append(LocalLogClockTime(), update);
}
