#include "win32/CsvLogFile.h"

#include "win32/Clock.h"

#include <utility>

namespace {

// Opened for appending only, shared for reading so a viewer can follow the file, and
// never for writing: two plug-ins in one folder take different numbers instead of mixing lines.
KernelHandle OpenForAppend(const std::wstring& path, DWORD disposition)
{
    return KernelHandle(::CreateFileW(path.c_str(), FILE_APPEND_DATA | FILE_READ_DATA, FILE_SHARE_READ, nullptr,
                                      disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
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
    for (uint32_t number = 1; number <= maxLogFilesPerDay; ++number) {
        const std::wstring candidate = folder + L"\\" + CsvLogFileName(time, number);
        KernelHandle opened = OpenForAppend(candidate, OPEN_EXISTING);
        ExistingLog state = ExistingLog::Absent;
        if (opened) {
            state = Classify(opened.Get(), coreCount);
        } else if (::GetLastError() == ERROR_FILE_NOT_FOUND) {
            opened = OpenForAppend(candidate, CREATE_NEW);
            if (!opened)
                return false;
        } else {
            // Locked by another writer, or no access: leave it and try the next number.
            continue;
        }
        if (state == ExistingLog::Taken)
            continue;
        file = std::move(opened);
        openDate = time;
        needsHeader = state != ExistingLog::Appendable;
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
            // the next number (see ClassifyExistingLog).
            file.Reset();
            return false;
        }
        needsHeader = false;
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
