// The metrics file at 16 and 256 cores: counting one update, the text of one write alone, and
// one whole write (temporary file, rename over the old one) in the scratch folder it runs in,
// with the share of a core that writing at the default interval takes. Prints BENCH lines.
#include "BenchTiming.h"

#include "settings/MetricsOptions.h"
#include "win32/MetricsFile.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using bench::MedianMicroseconds;

void BenchMetrics(uint32_t cores)
{
    std::vector<int32_t> temperatures(cores), loads(cores);
    std::vector<float> sensor(cores);
    UpdateRecord update;
    update.tjMax = 100;
    update.paneCount = cores;
    update.reportedCores = cores;
    update.temperatures = temperatures.data();
    update.loads = loads.data();
    update.sensorTemperatures = sensor.data();
    const auto fill = [&](int round) {
        for (uint32_t i = 0; i < cores; ++i) {
            temperatures[i] = static_cast<int32_t>(35 + (i * 7 + static_cast<uint32_t>(round) * 3) % 70);
            loads[i] = static_cast<int32_t>((i + static_cast<uint32_t>(round)) % 101);
            sensor[i] = static_cast<float>(temperatures[i]);
        }
    };

    MetricsState state;
    const double recordUs = MedianMicroseconds(2000, [&](int round) {
        fill(round);
        state.Record(update, 1765184707000 + round);
    });
    std::string text;
    const double formatUs = MedianMicroseconds(500, [&](int) { state.Format(text); });

    const std::wstring path = L"vaderur-" + std::to_wstring(cores) + L".prom";
    MetricsFile file(path, defaultMetricsIntervalSeconds);
    fill(0);
    file.Take(update, 1765184707000, 0);
    bool allWritten = true;
    const double writeUs = MedianMicroseconds(200, [&](int) { allWritten &= file.WriteNow() == MetricsWrite::Written; });
    // The platform calls a write cannot avoid, with the same bytes and no checks.
    const std::wstring scratch = path + L".floor";
    const double floorUs = MedianMicroseconds(200, [&](int) {
        HANDLE h = ::CreateFileW(scratch.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD written = 0;
        ::WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        ::CloseHandle(h);
        ::MoveFileExW(scratch.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
    });
    const double sharePercent = (writeUs + recordUs * 15) / (defaultMetricsIntervalSeconds * 1e6) * 100;

    std::printf("BENCH|Metrics update counted, %u cores|%.2f|us|every update, written or not\n", cores, recordUs);
    std::printf("BENCH|Metrics text, %u cores|%.2f|us|the exposition of one write (%zu bytes), no file\n", cores,
                formatUs, text.size());
    std::printf("BENCH|Metrics file write, %u cores|%.2f|us|text, temporary, rename over the old file%s%s\n", cores,
                writeUs, cores == 256 ? "; target <= 2000 us" : "", allWritten ? "" : " (SOME WRITES FAILED)");
    std::printf("BENCH|Metrics platform floor, %u cores|%.2f|us|CreateFileW, WriteFile, CloseHandle, MoveFileExW "
                "of the same bytes\n", cores, floorUs);
    std::printf("BENCH|Metrics CPU share, %u cores|%.4f|%%|one write per %u s and an update a second; target "
                "<= 0.1 %% of a core\n", cores, sharePercent, defaultMetricsIntervalSeconds);
}

}  // namespace

int main()
{
    BenchMetrics(16);
    BenchMetrics(256);
    return 0;
}
