#include "plugin/SampleSinks.h"

#include "core/MetricsExposition.h"
#include "settings/MetricsOptions.h"
#include "win32/CsvLogFile.h"
#include "win32/ExecutableFolder.h"
#include "win32/MetricsFile.h"

#include <windows.h>

namespace {

// The settings file holds bytes: a path is read as UTF-8 when it is valid UTF-8, else in the
// ANSI code page, as other programs write the file.
std::wstring WidePath(const std::u16string& bytes)
{
    std::string narrow;
    narrow.reserve(bytes.size());
    for (const char16_t c : bytes)
        narrow += static_cast<char>(c & 0xFF);
    for (const UINT codePage : {UINT{CP_UTF8}, UINT{CP_ACP}}) {
        const DWORD flags = codePage == CP_UTF8 ? MB_ERR_INVALID_CHARS : 0;
        const int length = ::MultiByteToWideChar(codePage, flags, narrow.data(), static_cast<int>(narrow.size()), nullptr, 0);
        if (length <= 0)
            continue;
        std::wstring wide(static_cast<size_t>(length), L'\0');
        ::MultiByteToWideChar(codePage, flags, narrow.data(), static_cast<int>(narrow.size()), wide.data(), length);
        return wide;
    }
    return std::wstring();
}

}  // namespace

SampleSinks MakeSampleSinks(const WindowOptions& options, uint32_t paneCount)
{
    SampleSinks sinks;
    // The log and a relative metrics path go where the pictures go.
    const std::wstring folder = ExecutableFolder();
    if (options.CsvLog && !folder.empty())
        sinks.push_back(std::make_unique<CsvLogFile>(folder, paneCount));
    const MetricsOptions metrics = ReadMetricsOptions();
    if (!metrics.file.empty()) {
        std::wstring path = WidePath(metrics.file);
        if (!path.empty() && !IsRootedWindowsPath(path))
            path = !folder.empty() ? folder + L"\\" + path : std::wstring();
        if (!path.empty())
            sinks.push_back(std::make_unique<MetricsFile>(std::move(path), metrics.intervalSeconds));
    }
    return sinks;
}
