// compositor_benchmark: what a frame of the real gauge (face, both
// readouts, the knob) costs natively at scale 1, 2 and 3: with the knob at
// a new angle each frame (one of its 201, as clicks leave it, or one never
// drawn before), with nothing changed, and the floor of copying the
// frame's bytes once in the same run; then the ratios. frame_benchmark.exe
// prints the same for the 32-bit Windows build.
//
//   build/gauge_host/compositor_benchmark [--benchmark_repetitions=5 ...]
#include <benchmark/benchmark.h>

#include <stdio.h>

#include <map>
#include <memory>

#include "gauge_host/benchmark/frame_costs.h"
#include "gauge_host/native/native_module.h"

namespace {

constexpr int Repetitions = 7;

PanelHost& Gauge()
{
    static std::unique_ptr<PanelHost> host = [] {
        static NativeModule module;
        std::string error;
        if (!LoadNativeModule(ARTWORK_DIR, &module, &error)) {
            fprintf(stderr, "compositor_benchmark: %s\n", error.c_str());
            exit(1);
        }
        auto host = std::make_unique<PanelHost>(module.records.gauges[0], module.bitmaps, View{});
        if (!host->Start(nullptr, &error)) {
            fprintf(stderr, "compositor_benchmark: %s\n", error.c_str());
            exit(1);
        }
        return host;
    }();
    return *host;
}

FrameCosts& CostsAt(double scale)
{
    static std::map<double, std::unique_ptr<FrameCosts>> costs;
    auto& at = costs[scale];
    if (!at)
        at = std::make_unique<FrameCosts>(&Gauge(), scale);
    return *at;
}

template <void (FrameCosts::*Measure)()>
void Frames(benchmark::State& state)
{
    FrameCosts& costs = CostsAt(double(state.range(0)));
    for (auto _ : state) {
        (costs.*Measure)();
        benchmark::ClobberMemory();
    }
}

// The machine is shared: the fastest of several repetitions, in CPU time,
// is the one least disturbed, so the ratios use it.
double Fastest(const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); }

#define FRAME_BENCHMARK(name, measure)                                                                           \
    BENCHMARK_TEMPLATE(Frames, &FrameCosts::measure)->Name(name)->Arg(1)->Arg(2)->Arg(3)                       \
        ->Unit(benchmark::kMicrosecond)->Repetitions(Repetitions)->ComputeStatistics("min", Fastest)
FRAME_BENCHMARK("NewAngle", NewAngle);
FRAME_BENCHMARK("NewAngleUncached", NewAngleUncached);
FRAME_BENCHMARK("Unchanged", Unchanged);
FRAME_BENCHMARK("CopyFloor", Copy);

// Keeps each run's fastest time so the ratios can be printed after the table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.aggregate_name == "min")
                times_[run.run_name.function_name + "/" + run.run_name.args] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatios()
    {
        for (double scale : BenchmarkScales) {
            std::string arg = "/";
            arg += std::to_string(int(scale));
            if (!times_.count("CopyFloor" + arg) || !times_.count("NewAngle" + arg))
                continue;
            const FrameTimes t = {times_["NewAngle" + arg], times_["NewAngleUncached" + arg], times_["Unchanged" + arg],
                                  times_["CopyFloor" + arg]};
            PrintFrameCosts(scale, t, CostsAt(scale).pixels());
        }
    }

private:
    std::map<std::string, double> times_;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatios();
    benchmark::Shutdown();
    return 0;
}
