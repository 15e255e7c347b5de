#include "win32/MetricsFile.h"

#include "core/ExportPaths.h"

#include "win32/Clock.h"
#include "win32/Handles.h"
#include "win32/TemporaryFiles.h"

#include <utility>

namespace {

// A rename over a file the exporter is reading fails for that moment: a few short tries, so
// the host's thread is never held for long; after them the next write tries again.
constexpr int replaceAttempts = 5;
constexpr DWORD replacePauseMs = 10;

bool IsLinkOrFolder(DWORD attributes)
{
    return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) != 0;
}

size_t FileNameStart(const std::wstring& path)
{
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? 0 : separator + 1;
}

struct StaleContext {
    std::wstring fileName;
};

bool IsOurTemporary(const wchar_t* name, const void* context)
{
    return IsMetricsTemporaryName(name, static_cast<const StaleContext*>(context)->fileName);
}

// Opens the temporary as a new file of its own, never through a name that is already there:
// a link or junction of that name is neither followed nor removed (Wine's DeleteFileW removes
// a link's target), and a plain file of that name is a killed process's, left to the sweep.
// Each failed write of this process removes its own temporary, so the name is free again.
KernelHandle CreateTemporary(const std::wstring& temporary, bool& refused)
{
    KernelHandle file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    const DWORD error = ::GetLastError();
    refused = !file && (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS);
    return file;
}

}  // namespace

MetricsFile::MetricsFile(std::wstring file, uint32_t intervalSeconds, uint32_t processId)
    // Past the classic length limit, the long forms, which every call here takes.
    : path(LongPathForm(file)),
      temporary(LongPathForm(MetricsTemporaryName(file, processId != 0 ? processId : ::GetCurrentProcessId()))),
      schedule(uint64_t{intervalSeconds < 1 ? 1u : intervalSeconds} * 1000u)
{
}

MetricsFile::~MetricsFile()
{
    // Numbers of a monitor that stopped must not look current: the file goes with the sink.
    if (wrote) {
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && !IsLinkOrFolder(attributes))
            ::DeleteFileW(path.c_str());
    }
}

void MetricsFile::Accept(const UpdateRecord& update) noexcept
{
    Take(update, ClockNowUnixMilliseconds(), ::GetTickCount64());
}

void MetricsFile::Take(const UpdateRecord& update, int64_t unixMilliseconds, uint64_t monotonicMs) noexcept
{
    try {
        state.Record(update, unixMilliseconds);
    } catch (...) {
        return;  // out of memory for a core's counts: the next update tries again
    }
    if (schedule.Due(monotonicMs))
        lastWrite = WriteNow();
}

MetricsWrite MetricsFile::WriteNow() noexcept
{
    try {
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES) {
            if (IsLinkOrFolder(attributes))
                return MetricsWrite::NotAFile;
            if (attributes & FILE_ATTRIBUTE_READONLY)
                return MetricsWrite::ReadOnly;
        } else if (::GetLastError() == ERROR_PATH_NOT_FOUND) {
            return MetricsWrite::NoFolder;
        }
        if (!swept) {
            // Temporaries of our naming that a killed process left beside the file.
            const size_t nameStart = FileNameStart(path);
            const StaleContext context{path.substr(nameStart)};
            const std::wstring folder = nameStart == 0 ? std::wstring(L".") : path.substr(0, nameStart - 1);
            RemoveStaleTemporaries(folder, (context.fileName + L".*.tmp").c_str(), IsOurTemporary, &context);
            swept = true;
        }
        state.Format(text);
        bool refused = false;
        {
            KernelHandle file = CreateTemporary(temporary, refused);
            if (!file) {
                if (refused)
                    return MetricsWrite::TemporaryRefused;
                return ::GetLastError() == ERROR_PATH_NOT_FOUND ? MetricsWrite::NoFolder : MetricsWrite::WriteFailed;
            }
            DWORD written = 0;
            const DWORD size = static_cast<DWORD>(text.size());
            if (!::WriteFile(file.Get(), text.data(), size, &written, nullptr) || written != size) {
                file.Reset();
                ::DeleteFileW(temporary.c_str());
                return MetricsWrite::WriteFailed;
            }
        }
        if (!ReplaceWhenFree(temporary.c_str(), path.c_str(), replaceAttempts, replacePauseMs)) {
            ::DeleteFileW(temporary.c_str());
            return MetricsWrite::ReplaceFailed;
        }
        wrote = true;
        updatesWritten = state.Updates();
        return MetricsWrite::Written;
    } catch (...) {
        ::DeleteFileW(temporary.c_str());
        return MetricsWrite::WriteFailed;
    }
}
