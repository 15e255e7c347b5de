// The text of the sample log ("Vaderur log YYYY-MM-DD.csv"): its file names, its header, its
// lines, and which existing file of a day a restarted plug-in may append to. Portable; the
// Win32 log file (win32/CsvLogFile) owns the file and the clock.
#pragma once

#include "core/SampleSink.h"

#include <cstdint>
#include <string>
#include <string_view>

// A local clock time as the log writes it.
struct LogClockTime {
    uint16_t year;
    uint16_t month;   // 1..12
    uint16_t day;     // 1..31
    uint16_t hour;
    uint16_t minute;
    uint16_t second;
    uint16_t millisecond;
};

bool SameDate(const LogClockTime& a, const LogClockTime& b);

// "Vaderur log 2026-12-08.csv"; from number 2 up "Vaderur log 2026-12-08 (2).csv".
std::wstring CsvLogFileName(const LogClockTime& date, uint32_t number);

// "time,tjmax,temp0,load0,...,tempN,loadN\r\n" for coreCount cores.
std::string CsvLogHeader(uint32_t coreCount);

// Replaces line with one update: "YYYY-MM-DDTHH:MM:SS.mmm,tjmax,temp0,load0,...\r\n", each
// value as the pane stored it. A field holds no reading stays empty: both fields of a core the
// snapshot does not report (at or beyond reportedCores, or beyond the update's panes), and
// the temperature of a sensor value that is not a number or infinite. The caller keeps line
// between updates so its capacity is reused.
void FormatCsvLogLine(std::string& line, const LogClockTime& time, const UpdateRecord& update, uint32_t coreCount);

// What a day's file that is already there allows.
enum class ExistingLog {
    Absent,     // no file: create it and write the header
    Empty,      // a file without a byte: write the header into it
    Appendable, // the same header and only whole lines: append
    Taken,      // anything else: never touched, the next number is tried
};

// start: the file's first bytes (at least the header's length when the file has that many);
// size: its size in bytes; ending: its last two bytes (fewer for a shorter file). A file
// whose last line was cut is Taken too: appending would glue a new line to the cut one.
ExistingLog ClassifyExistingLog(std::string_view start, uint64_t size, std::string_view ending,
                                uint32_t coreCount);

// The most numbered files of one day that are tried before the log gives up for the update.
constexpr uint32_t maxLogFilesPerDay = 100;
