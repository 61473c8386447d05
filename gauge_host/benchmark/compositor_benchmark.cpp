// compositor_benchmark: the cost of drawing one frame of the real gauge
// (face, both readouts, the knob at 37 degrees) at scale 1, 2 and 3, against
// the floor of copying the frame's bytes once, and the ratio of the two.
//
//   build/gauge_host/compositor_benchmark [--benchmark_repetitions=5 ...]
#include <benchmark/benchmark.h>

#include <stdio.h>
#include <string.h>

#include <algorithm>
#include <map>
#include <memory>

#include "gauge_host/core/compositor.h"
#include "gauge_host/native/native_module.h"
#include "yaw/yaw_controller.h"

namespace {

constexpr int KnobDegrees = 37;
constexpr int FaceSize = 600;
constexpr int Repetitions = 7;

// The gauge started and run once with the knob at 37 degrees; the
// benchmark then draws its elements as they stand.
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
        YawAmount = KnobDegrees * DisplayDivisor;
        host->RunFrame();
        return host;
    }();
    return *host;
}

void DrawFrame(benchmark::State& state)
{
    PanelHost& host = Gauge();
    const View view{double(state.range(0)), Light::Day};
    Frame frame;
    for (auto _ : state) {
        DrawGauge(host.elements(), host.width(), host.height(), view, &frame);
        benchmark::DoNotOptimize(frame.rgb.data());
        benchmark::ClobberMemory();
    }
    state.counters["pixels"] = double(frame.width) * frame.height;
}

void CopyFrameBytes(benchmark::State& state)
{
    const int size = FrameSize(FaceSize, double(state.range(0)));
    std::vector<uint8_t> from(size_t(size) * size * 3, 1), to(from.size());
    for (auto _ : state) {
        memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(from.size()));
}

// The machine is shared: the fastest of several repetitions, in CPU time,
// is the one least disturbed, so the ratios use it.
double Fastest(const std::vector<double>& times) { return *std::min_element(times.begin(), times.end()); }

// Scale 1 copies the upright face; 2 and 3 filter every pixel, so their
// cost per output pixel shows whether drawing is linear in pixels.
BENCHMARK(DrawFrame)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond)->Repetitions(Repetitions)
    ->ComputeStatistics("min", Fastest);
BENCHMARK(CopyFrameBytes)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond)->Repetitions(Repetitions)
    ->ComputeStatistics("min", Fastest);

// Keeps each run's time so the ratios can be printed after the table.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.aggregate_name == "min")
                times_[run.run_name.function_name + "/" + run.run_name.args] = run.GetAdjustedCPUTime();
        ConsoleReporter::ReportRuns(runs);
    }

    void PrintRatios() const
    {
        for (const char* scale : {"1", "2", "3"}) {
            auto frame = times_.find(std::string("DrawFrame/") + scale);
            auto copy = times_.find(std::string("CopyFrameBytes/") + scale);
            if (frame == times_.end() || copy == times_.end())
                continue;
            const double pixels = double(FrameSize(FaceSize, atof(scale))) * FrameSize(FaceSize, atof(scale));
            printf("scale %s, fastest of %d in CPU time: frame %.1f us, copy floor %.1f us, frame/copy %.1f, %.2f ns per output pixel\n", scale,
                   Repetitions, frame->second, copy->second, frame->second / copy->second, frame->second * 1000 / pixels);
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
