#include "plugin/SampleSinks.h"

#include "win32/CsvLogFile.h"
#include "win32/ExecutableFolder.h"

#include <windows.h>

SampleSinks MakeSampleSinks(const WindowOptions& options, uint32_t paneCount)
{
    SampleSinks sinks;
    if (options.CsvLog) {
        // The log goes where the pictures go.
        const std::wstring folder = ExecutableFolder();
        if (!folder.empty())
            sinks.push_back(std::make_unique<CsvLogFile>(folder, paneCount));
    }
    return sinks;
}
