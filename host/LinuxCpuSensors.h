// Finds the CPU temperature sensors that a Linux kernel publishes (hwmon drivers coretemp,
// k10temp, zenpower and CPU thermal zones) and maps them to logical processors. Portable:
// it sees the files only through a SensorFileView, which the Windows side implements over
// Wine's Z: drive and the tests implement over a map. The system source owns the plan.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Read-only access to Linux paths such as "/sys/class/hwmon".
class SensorFileView {
public:
    virtual ~SensorFileView() = default;
    virtual std::optional<std::string> ReadText(const std::string& path) const = 0;
    // Entry names in the folder (no "." or ".."), in any order; empty when unreadable.
    virtual std::vector<std::string> ListFolder(const std::string& path) const = 0;
};

struct CpuTemperaturePlan {
    std::string description;            // e.g. "coretemp: 4 core sensors"
    std::vector<std::string> inputs;    // the files to read each poll (millidegrees)
    std::vector<uint32_t> inputOfCpu;   // per logical processor: index into inputs
    uint32_t tjMax = 0;                 // from the sensors' critical value; 0 when none
};

// The best CPU sensors found, or nothing when no CPU temperature can be read.
std::optional<CpuTemperaturePlan> FindCpuTemperatureSensors(const SensorFileView& files, uint32_t logicalCpus);

// A sysfs temperature ("45000\n", millidegrees) in tenths of a degree; nothing when the
// text is not a number or the value is not a plausible CPU temperature.
std::optional<int32_t> ParseMilliCelsius(std::string_view text);
