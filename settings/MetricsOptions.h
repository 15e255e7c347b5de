// The metrics file keys of "Vaderur.ini" (MetricsFile, MetricsInterval): kept apart from the
// fixed-layout WindowOptions record. Absent MetricsFile: no metrics file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

struct MetricsOptions {
    // The path as written in the file, one character per byte, white space around it dropped;
    // empty: no metrics file.
    std::u16string file;
    // Seconds between writes: 15 when absent, at least 1.
    uint32_t intervalSeconds = 15;
};

constexpr uint32_t defaultMetricsIntervalSeconds = 15;

// The keys from the settings text; no text means both are absent.
MetricsOptions ParseMetricsOptions(const std::optional<std::u16string>& text);

// Reads "Vaderur.ini" from the current folder (never creates it).
MetricsOptions ReadMetricsOptions();
