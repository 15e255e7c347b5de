// How a core's temperature follows its load: each poll it closes a quarter of the gap to
// a load-dependent target. Used by the synthetic source and wherever the system source has
// no sensor. Integer tenths of a degree, so every platform computes the same values.
#pragma once

#include <cstdint>

class ThermalLag {
public:
    // idleTenths: the core's temperature at 0 % load, in tenths of a degree.
    explicit ThermalLag(int32_t idleTenths = idleTemperatureTenths) : idle(idleTenths), tenths(idleTenths) {}

    // Moves one poll towards the target for this load (clamped to 0..100 %); returns the
    // new temperature in tenths of a degree.
    int32_t Step(uint32_t loadPercent)
    {
        const int32_t load = loadPercent > 100 ? 100 : static_cast<int32_t>(loadPercent);
        const int32_t target = idle + load * riseTenthsPerPercent;
        tenths += (target - tenths) / 4;
        return tenths;
    }

    int32_t Tenths() const { return tenths; }

    static constexpr int32_t idleTemperatureTenths = 380;  // 38.0 °C
    static constexpr int32_t riseTenthsPerPercent = 5;     // 100 % load: 50 °C above idle

private:
    int32_t idle;
    int32_t tenths;
};
