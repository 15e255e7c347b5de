#include "host/SyntheticSource.h"

#include <cstring>

namespace {

// A small integer hash (splitmix64's finaliser): noise that is the same everywhere.
uint64_t Mix(uint64_t x)
{
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

// A triangle wave from 0 up to peak and back over period polls.
uint32_t Triangle(uint64_t t, uint32_t period, uint32_t peak)
{
    const uint64_t phase = t % period;
    const uint64_t half = period / 2;
    const uint64_t rising = phase < half ? phase : period - phase;
    return static_cast<uint32_t>(rising * peak / half);
}

}  // namespace

SyntheticSource::SyntheticSource(uint32_t coreCount)
    : cores(coreCount > maxSnapshotCores ? maxSnapshotCores : coreCount)
{
    thermal.reserve(cores);
    for (uint32_t core = 0; core < cores; ++core)
        thermal.emplace_back(ThermalLag::idleTemperatureTenths + static_cast<int32_t>(core % 4) * 10);
}

uint32_t SyntheticSource::LoadAt(uint64_t poll, uint32_t core)
{
    // Each core has its own slow swing, out of step with its neighbours.
    const uint32_t period = 60 + 7 * (core % 16);
    uint32_t load = 5 + Triangle(poll + 13ull * core, period, 55);
    // Bursts: a quarter of the five-poll windows add a burst of work.
    if (Mix((poll / 5) * 1024 + core) % 4 == 0)
        load += 30;
    // Jitter of a few percent.
    load += static_cast<uint32_t>(Mix(poll * 4096 + core + 7) % 7);
    return load > 100 ? 100 : load;
}

void SyntheticSource::Next(SensorSnapshot& snapshot)
{
    std::memset(&snapshot, 0, sizeof snapshot);
    snapshot.coreCount = cores;
    snapshot.tjMax = tjMax;
    for (uint32_t core = 0; core < cores; ++core) {
        const uint32_t load = LoadAt(poll, core);
        snapshot.coreLoad[core] = load;
        snapshot.coreTemperature[core] = static_cast<float>(thermal[core].Step(load)) / 10.0f;
    }
    ++poll;
}
