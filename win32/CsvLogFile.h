// The sample log on disk: appends one line per update to the day's "Vaderur log *.csv" in a
// folder, with one WriteFile each and nothing held back in the process, so a killed process
// loses at most the update in flight. A sample sink of the plug-in object when CsvLog=1.
#pragma once

#include "core/CsvLogFormat.h"
#include "core/SampleSink.h"
#include "win32/Handles.h"

#include <cstdint>
#include <string>

class CsvLogFile : public SampleSink {
public:
    // folder without a trailing backslash; coreCount fixes the header.
    CsvLogFile(std::wstring folder, uint32_t coreCount);

    // Appends the update at time (local). False when it could not be written: nothing is
    // kept, and the next update opens the file again.
    bool Append(const LogClockTime& time, const UpdateRecord& update) noexcept;

    // Appends the update with the local clock time now.
    void Accept(const UpdateRecord& update) noexcept override;

    // The file written last, empty before the first success; for the tests.
    const std::wstring& Path() const { return path; }

private:
    bool Open(const LogClockTime& time);

    std::wstring folder;
    uint32_t coreCount;
    KernelHandle file;
    LogClockTime openDate{};
    bool needsHeader = false;
    bool created = false;  // this log created the open file and has not written to it yet
    std::wstring path;
    std::string text;  // reused between updates; emptied by every write
    std::string line;
};
