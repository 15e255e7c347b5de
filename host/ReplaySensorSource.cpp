#include "host/SensorSource.h"

#include "win32/Handles.h"
#include "host/HostConsole.h"
#include "host/ReplayLog.h"

#include <windows.h>

#include <algorithm>

namespace {

constexpr LONGLONG largestLogBytes = 1LL << 30;

class ReplaySensorSource : public SensorSource {
public:
    ReplaySensorSource(ReplayLog parsed, std::wstring file) : log(std::move(parsed)), path(std::move(file)) {}

    bool Next(SensorSnapshot& snapshot) override
    {
        if (row >= log.RowCount())
            return false;
        log.FillSnapshot(row++, snapshot);
        return true;
    }

    std::wstring Description() const override
    {
        return L"replay of " + path + L": " + std::to_wstring(log.RowCount()) + L" rows, " +
               std::to_wstring(log.coreCount) + L" cores";
    }

    std::wstring Summary() const override
    {
        return L"replay, row " + std::to_wstring(row) + L" of " + std::to_wstring(log.RowCount()) + L", " +
               std::to_wstring(log.coreCount) + L" cores";
    }

private:
    ReplayLog log;
    std::wstring path;
    size_t row = 0;
};

bool ReadWholeFile(const std::wstring& path, std::string& text, std::wstring& error)
{
    KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        error = L"cannot open the replay log " + path + L": " + SystemErrorText(GetLastError(), path);
        return false;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > largestLogBytes) {
        error = L"the replay log " + path + L" is larger than 1 GiB";
        return false;
    }
    text.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < text.size()) {
        DWORD read = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1u << 24));
        if (!ReadFile(file.Get(), text.data() + done, chunk, &read, nullptr)) {
            error = L"cannot read the replay log " + path + L": " + SystemErrorText(GetLastError(), path);
            return false;
        }
        if (read == 0)
            break;
        done += read;
    }
    text.resize(done);
    return true;
}

}  // namespace

std::unique_ptr<SensorSource> OpenReplaySource(const std::wstring& path, std::wstring& error)
{
    std::string text;
    if (!ReadWholeFile(path, text, error))
        return nullptr;
    ReplayParseResult parsed = ParseReplayLog(text);
    if (!parsed.ok) {
        error = L"the replay log " + path + L" is malformed: " + WidenUtf8(parsed.error);
        return nullptr;
    }
    if (!parsed.warning.empty())
        PrintError(L"warning: the replay log " + path + L": " + WidenUtf8(parsed.warning));
    return std::make_unique<ReplaySensorSource>(std::move(parsed.log), path);
}
