// Where the samples of an update go besides the panes: the CSV log, the metrics file. The
// plug-in object owns its sinks and hands them every update on the host's thread, after the
// panes have stored their samples.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

// One update as the panes stored it. The arrays hold paneCount entries, index = core number.
struct UpdateRecord {
    uint32_t tjMax = 0;
    uint32_t paneCount = 0;
    // The cores the snapshot reports: the panes at and beyond it hold no reading of this update.
    uint32_t reportedCores = 0;
    const int32_t* temperatures = nullptr;  // whole degrees, as each pane stored them
    const int32_t* loads = nullptr;         // percent, as each pane stored them
    // The sensor's own temperatures, where a NaN or an infinity still shows.
    const float* sensorTemperatures = nullptr;
};

class SampleSink {
public:
    virtual ~SampleSink() = default;
    // A sink that cannot write drops the update and tries again with the next one.
    virtual void Accept(const UpdateRecord& update) noexcept = 0;
};

// The sinks of the plug-in object, in the order they hear of an update.
using SampleSinks = std::vector<std::unique_ptr<SampleSink>>;
