// Push cost per sample: a screen-width history filled from empty, so every 1680th push pays
// for a growth (one more zero-filled block; every iteration starts from fresh memory, so the
// page faults of those blocks are counted too).
#include "core/SampleHistory.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

namespace {

void PushFromEmpty(benchmark::State& state)
{
    const int64_t samples = state.range(0);
    for (auto _ : state) {
        SampleHistory history(1680);
        for (int64_t i = 0; i < samples; ++i)
            history.Push(static_cast<int32_t>(i & 127));
        benchmark::DoNotOptimize(history.Latest());
    }
    state.SetItemsProcessed(state.iterations() * samples);
}
BENCHMARK(PushFromEmpty)->Arg(86400)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Prints the console table and one BENCH line per run: nanoseconds per pushed sample.
class BenchLineReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const double seconds = run.real_accumulated_time / static_cast<double>(run.iterations);
            const std::string name = run.benchmark_name();
            const int64_t samples = std::stoll(name.substr(name.find('/') + 1));
            std::printf("BENCH|SampleHistory push (%lld samples from empty)|%.2f|ns/sample|growth included\n",
                        static_cast<long long>(samples), seconds * 1e9 / static_cast<double>(samples));
        }
    }
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    BenchLineReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}
