// Where the host's snapshots come from: the operating system, a recorded CSV log or the
// deterministic synthetic CPU. Owned by the host's run; polled on the host's thread.
#pragma once

#include "core/HostRecords.h"

#include <cstdint>
#include <memory>
#include <string>

class SensorSource {
public:
    virtual ~SensorSource() = default;
    // Fills the next poll; false when the source has ended (the end of a log).
    virtual bool Next(SensorSnapshot& snapshot) = 0;
    // For the host's output: what is measured and how.
    virtual std::wstring Description() const = 0;
    // A few words for the host window's status, e.g. "system, temperatures modelled".
    virtual std::wstring Summary() const = 0;
};

std::unique_ptr<SensorSource> MakeSyntheticSource(uint32_t cores);
// Null with a reason naming the file, and the line and column when the CSV is malformed.
std::unique_ptr<SensorSource> OpenReplaySource(const std::wstring& path, std::wstring& error);
// Per-core load from the system's processor times, temperatures from the CPU's sensors
// or modelled from the load. Null with a reason when the load cannot be read.
std::unique_ptr<SensorSource> OpenSystemSource(std::wstring& error);
