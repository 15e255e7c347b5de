// The deterministic sensor source the tests rely on: per-core loads that swing slowly,
// burst now and then and jitter a little, and temperatures that follow them with a lag.
// Portable; the same sequence on every platform and every run. Owned by the host's run.
#pragma once

#include "host/ThermalModel.h"
#include "core/HostRecords.h"

#include <cstdint>
#include <vector>

class SyntheticSource {
public:
    explicit SyntheticSource(uint32_t coreCount);

    // Fills the next poll: core count, TjMax 100, every core's load and temperature.
    // The rest of the snapshot is zeroed.
    void Next(SensorSnapshot& snapshot);

    // The load of one core at one poll, before the temperature lag (exposed for the tests).
    static uint32_t LoadAt(uint64_t poll, uint32_t core);

    static constexpr uint32_t tjMax = 100;

private:
    uint32_t cores;
    uint64_t poll = 0;
    std::vector<ThermalLag> thermal;
};
