// frame_benchmark.exe: compositor_benchmark's figures for the 32-bit
// Windows build, the one users run: the real module loaded as gauge-host
// loads it, and for scales 1, 2 and 3 the frame with the knob at a new
// angle, at an angle never drawn, with nothing changed, and the copy floor
// of the same frame, each the fastest of several runs.
//
//   wine-run build/windows/gauge_host/frame_benchmark.exe dist/ZARO.gau
#include <stdio.h>

#include <algorithm>
#include <chrono>

#include "gauge_host/benchmark/frame_costs.h"
#include "gauge_host/windows/module_loader.h"
#include "gauge_host/windows/module_resources.h"

namespace {

constexpr int Runs = 7;
constexpr double RunSeconds = 0.05;

// The fastest run's time per frame, in microseconds; each run at least
// at_least frames, so that a run of new angles goes round all of them.
template <typename Frame>
double Fastest(Frame frame, int at_least = 1)
{
    using Clock = std::chrono::steady_clock;
    auto seconds = [](Clock::duration d) { return std::chrono::duration<double>(d).count(); };
    const Clock::time_point start = Clock::now();
    frame();
    const int frames = std::max(at_least, int(RunSeconds / std::max(seconds(Clock::now() - start), 1e-7)));
    double fastest = 1e30;
    for (int run = 0; run < Runs; ++run) {
        const Clock::time_point t0 = Clock::now();
        for (int i = 0; i < frames; ++i)
            frame();
        fastest = std::min(fastest, seconds(Clock::now() - t0) * 1e6 / frames);
    }
    return fastest;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        fprintf(stderr, "usage: frame_benchmark MODULE.gau\n");
        return 2;
    }
    LoadedModule module;
    std::string error;
    if (!LoadGaugeModule(argv[1], nullptr, PanelServiceTable(), &module, &error)) {
        fprintf(stderr, "frame_benchmark: %s\n", error.c_str());
        return 2;
    }
    {
        PanelHost host(module.Selected(), LoadBitmapResource, View{});
        if (!host.Start(module.library, &error)) {
            fprintf(stderr, "frame_benchmark: %s: %s\n", argv[1], error.c_str());
            return 2;
        }
        for (double scale : BenchmarkScales) {
            FrameCosts costs(&host, scale);
            FrameTimes t;
            t.new_angle = Fastest([&] { costs.NewAngle(); }, KnobAngles);
            t.new_angle_uncached = Fastest([&] { costs.NewAngleUncached(); });
            t.unchanged = Fastest([&] { costs.Unchanged(); });
            t.copy = Fastest([&] { costs.Copy(); });
            PrintFrameCosts(scale, t, costs.pixels());
            fflush(stdout);
        }
    }
    UnloadGaugeModule(&module);
    return 0;
}
