// The metrics file for Prometheus' textfile collectors (windows_exporter, node_exporter): what
// the sink has counted since the plug-in was loaded, and its text in the Prometheus text
// exposition format 0.0.4. Portable; the Win32 file (win32/MetricsFile) owns the file and clocks.
#pragma once

#include "core/SampleSink.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The upper bounds (degrees) of the temperature histogram's finite buckets; "+Inf" follows.
constexpr std::array<int32_t, 6> metricsBucketBounds{50, 60, 70, 80, 90, 100};

// Label values as the format wants them: backslash, double quote and line feed escaped.
std::string EscapeLabelValue(std::string_view value);
// HELP text as the format wants it: backslash and line feed escaped.
std::string EscapeHelpText(std::string_view text);

// The newest update and everything counted since the plug-in was loaded. Counters only go
// up: nothing here is ever reset but by a new plug-in object.
class MetricsState {
public:
    // Counts one update at unixMilliseconds (UTC). A core the snapshot does not report, and a
    // temperature that the sensor gave as NaN or infinite, are no reading: they are not counted
    // and their series are left out of the text until a reading comes.
    void Record(const UpdateRecord& update, int64_t unixMilliseconds);

    // Replaces text with the whole exposition: LF line ends, a line feed after the last line,
    // numbers with "." whatever the locale, no timestamps. Empty before the first update.
    void Format(std::string& text) const;

    uint64_t Updates() const { return updates; }

private:
    struct Core {
        bool reported = false;        // by the newest update
        bool hasTemperature = false;  // a finite reading in the newest update
        int32_t temperature = 0;
        int32_t load = 0;
        std::array<uint64_t, metricsBucketBounds.size() + 1> buckets{};  // not cumulative
        uint64_t count = 0;
        int64_t sum = 0;
    };
    std::vector<Core> cores;
    uint32_t tjMax = 0;
    uint64_t updates = 0;
    int64_t lastUpdateMs = 0;
};

// When the sink writes: at the first update, then once at least intervalMs have passed since
// the last write was tried (monotonic milliseconds).
class MetricsSchedule {
public:
    explicit MetricsSchedule(uint64_t intervalMs) : interval(intervalMs) {}
    bool Due(uint64_t nowMs)
    {
        if (tried && nowMs - lastTry < interval)
            return false;
        tried = true;
        lastTry = nowMs;
        return true;
    }

private:
    uint64_t interval;
    bool tried = false;
    uint64_t lastTry = 0;
};

// MetricsFile=PATH: the name of the metrics file; true for an absolute path (a drive letter
// and a separator, or a UNC/device path starting with two separators), which is not joined to
// the executable's folder. A path starting with one separator is relative to the current
// drive's root and is taken as it is too.
bool IsRootedWindowsPath(std::wstring_view path);

// The name of the temporary beside target: "<target>.<pid>.tmp", which "*.prom" never matches.
std::wstring MetricsTemporaryName(std::wstring_view target, uint32_t processId);
// True for exactly the names MetricsTemporaryName gives for fileName (without a folder).
bool IsMetricsTemporaryName(std::wstring_view name, std::wstring_view fileName);
