// A recorded sensor log in CSV form, parsed for the replay source. Portable; the replay
// source owns the parsed log.
//
// Format: a header line naming the columns, then one row per poll, comma-separated.
//   tempN   core N's temperature in degrees Celsius (decimal, -100 to 200)
//   loadN   core N's load in percent (0 to 100; a decimal is rounded)
//   tjmax   optional: the processor's TjMax in degrees Celsius (0 to 200; 100 when absent)
//   time    optional: any text (a timestamp), ignored
// Every core from 0 up needs both a temperature and a load column. Blank lines and lines
// that start with '#' are skipped; a field may be enclosed in double quotes. A malformed last
// line without a line end is a log cut off by the end of the process that wrote it (the
// plug-in's CsvLog): it is skipped with a warning instead of failing the log.
#pragma once

#include "core/HostRecords.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct ReplayLog {
    uint32_t coreCount = 0;
    std::vector<uint32_t> tjMax;       // one per row
    std::vector<float> temperatures;   // coreCount per row
    std::vector<uint32_t> loads;       // coreCount per row

    size_t RowCount() const { return tjMax.size(); }
    // Fills the snapshot from one row; the rest of the snapshot is zeroed.
    void FillSnapshot(size_t row, SensorSnapshot& snapshot) const;
};

struct ReplayParseResult {
    bool ok = false;
    ReplayLog log;
    std::string error;  // "line 7, column 4 (load1): ..." when !ok
    std::string warning;  // the skipped cut last line, when there was one
};

constexpr uint32_t defaultTjMax = 100;

ReplayParseResult ParseReplayLog(std::string_view text);
