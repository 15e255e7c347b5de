// A recorded sensor log in CSV form, parsed for the replay source. Portable; the replay
// source owns the parsed log.
//
// Format: a header line naming the columns, then one row per poll, comma-separated.
//   tempN   core N's temperature in degrees Celsius (decimal, -100 to 200)
//   loadN   core N's load in percent (0 to 100; a decimal is rounded)
//   tjmax   optional: the processor's TjMax in degrees Celsius (0 to 200; 100 when absent)
//   time    optional: any text (a timestamp), ignored
// Every core from 0 up needs both a temperature and a load column. An empty field is no
// reading, as the plug-in's CsvLog writes it: an empty temperature replays as a sensor value
// that is not a number; a core whose two fields are empty, like every core after it, is one
// the row's snapshot does not report (a core in the middle cannot be left out of a snapshot,
// and a load has no value that means "no reading", so those are errors). Blank lines and lines
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
    std::vector<uint32_t> reportedCores;  // one per row: its cores from 0 up with a reading

    size_t RowCount() const { return tjMax.size(); }
    // Fills the snapshot from one row, reporting the row's cores; the rest of the snapshot is
    // zeroed.
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
