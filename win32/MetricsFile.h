// The metrics file for Prometheus' textfile collectors (MetricsFile=PATH): a sample sink that
// counts every update and, at most every MetricsInterval seconds (the first update at once),
// writes the whole exposition to "PATH.<pid>.tmp" and moves it over PATH, so a reader sees
// the old whole file or the new whole one, never a part. Deleted when the sink goes (the
// plug-in's release), so a stopped monitor's numbers vanish instead of going stale.
#pragma once

#include "core/MetricsExposition.h"
#include "core/SampleSink.h"

#include <cstdint>
#include <string>

// What one write came to; the tests and the benchmark look at it.
enum class MetricsWrite {
    Written,       // the new file is in place
    NoFolder,      // the folder is missing: nothing written, the next write tries again
    NotAFile,      // PATH is a folder, a link or a junction: left alone
    ReadOnly,      // PATH is a read-only file: the user's, left alone
    TemporaryRefused,  // the temporary's name is taken by a link, junction or folder
    WriteFailed,   // the temporary could not be made or written whole (full disk): old file kept
    ReplaceFailed, // PATH stayed held by another program through the retries: old file kept
};

class MetricsFile : public SampleSink {
public:
    // path: absolute, or relative to the current folder; intervalSeconds >= 1. processId names
    // the temporary (0: this process's).
    MetricsFile(std::wstring path, uint32_t intervalSeconds, uint32_t processId = 0);
    // Deletes the file if this sink wrote it.
    ~MetricsFile() override;
    MetricsFile(const MetricsFile&) = delete;
    MetricsFile& operator=(const MetricsFile&) = delete;

    void Accept(const UpdateRecord& update) noexcept override;

    // Counts the update at unixMilliseconds and writes when due at monotonicMs.
    void Take(const UpdateRecord& update, int64_t unixMilliseconds, uint64_t monotonicMs) noexcept;
    // Writes the exposition of what was counted now.
    MetricsWrite WriteNow() noexcept;

    const std::wstring& Path() const { return path; }
    const std::wstring& TemporaryPath() const { return temporary; }
    MetricsWrite LastWrite() const { return lastWrite; }
    // Updates counted at the last successful write.
    uint64_t UpdatesWritten() const { return updatesWritten; }

private:
    std::wstring path;
    std::wstring temporary;
    MetricsState state;
    MetricsSchedule schedule;
    std::string text;  // reused between writes
    MetricsWrite lastWrite = MetricsWrite::NoFolder;
    bool wrote = false;
    bool swept = false;
    uint64_t updatesWritten = 0;
};
