// Traces a generated 6000 x 4000 chart with step 1 by both methods and prints
// each trace's time next to one memcpy of the same picture measured in the
// same run, and their ratios in wall time and in this thread's processor time
// (the goal is at most 10). Absolute times drift on shared machines; the
// ratios are what we watch, the processor-time one on a loaded machine. Each
// figure is the best of a few runs. The precise modes (sub-pixel rows,
// following the line, both) are timed against the plain trace of the same
// method (goal: at most 2 x).
#include "digitize/Trace.h"
#include "imaging/FastBMP.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <utility>
#include <vector>

using namespace quillmark;

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;
constexpr int kRuns = 5;

void Put(TFastBMP& picture, int x, int y, Color c)
{
    if (x < 0 || y < 0 || x >= picture.Width() || y >= picture.Height())
        return;
    std::uint8_t* pixel = picture.RowTable()[y] + 3 * x;
    pixel[0] = c.Blue;
    pixel[1] = c.Green;
    pixel[2] = c.Red;
}

// A dark chart: a dim grid every 200 pixels and a bright orange curve three
// pixels thick, so both methods find the curve in nearly every column.
std::unique_ptr<TFastBMP> MakeChart()
{
    auto picture = std::make_unique<TFastBMP>(kWidth, kHeight);
    const Color background{24, 28, 32};
    const Color grid{70, 70, 90};
    const Color curve{250, 160, 20};
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            Put(*picture, x, y, (x % 200 == 0 || y % 200 == 0) ? grid : background);
    for (int x = 0; x < kWidth; ++x) {
        const double t = static_cast<double>(x) / kWidth;
        const int y = static_cast<int>(kHeight * (0.5 - 0.35 * std::sin(6.0 * t) * std::exp(-t)));
        for (int d = -1; d <= 1; ++d)
            Put(*picture, x, y + d, curve);
    }
    return picture;
}

double ThreadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

struct Timing {
    double Wall = 1e9;  // seconds
    double Cpu = 1e9;   // this thread's processor time, seconds
};

template <class F>
Timing Best(F&& run)
{
    Timing best;
    for (int i = 0; i < kRuns; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = ThreadSeconds();
        run();
        const double cpu = ThreadSeconds() - cpuStart;
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best.Wall = std::min(best.Wall, took.count());
        best.Cpu = std::min(best.Cpu, cpu);
    }
    return best;
}

} // namespace

int main()
{
    const auto chart = MakeChart();
    const std::size_t bytes = chart->Pixels().size();
    std::vector<std::uint8_t> copy(bytes);
    const Timing copyTime = Best([&] {
        std::memcpy(copy.data(), chart->PixelData(), bytes);
        std::atomic_signal_fence(std::memory_order_seq_cst);
    });
    std::printf("picture %d x %d, %zu bytes; memcpy %.2f ms wall, %.2f ms processor\n", kWidth, kHeight, bytes,
                copyTime.Wall * 1e3, copyTime.Cpu * 1e3);

    TraceInput input;
    input.Plot = PlotFilledByPicture(kWidth, kHeight);
    input.Step = 1.0;
    input.LineSens = 50;
    input.ColorSens = 50;
    input.LineColour = Color{250, 160, 20};
    int failures = 0;
    for (const TraceMethod method : {TraceMethod::MaxBrightness, TraceMethod::ByColour}) {
        input.Method = method;
        input.Precise = PreciseTrace{};
        TraceResult result;
        const Timing took = Best([&] { result = TraceCurve(*chart, input); });
        const double wallRatio = took.Wall / copyTime.Wall;
        const double cpuRatio = took.Cpu / copyTime.Cpu;
        const char* name = method == TraceMethod::MaxBrightness ? "brightness" : "colour";
        std::printf("%-10s trace %8.2f ms wall (%5.1f x memcpy), %8.2f ms processor (%5.1f x memcpy), %zu points%s\n",
                    name, took.Wall * 1e3, wallRatio, took.Cpu * 1e3, cpuRatio, result.Points.size(),
                    cpuRatio <= 10.0 ? "" : "  above the goal of 10 x");
        if (result.Status != TraceStatus::Traced)
            ++failures;
        for (const auto& [mode, precise] : {std::pair{"sub-pixel", PreciseTrace{true, false, false, false}},
                                            std::pair{"follow", PreciseTrace{false, false, true, false}},
                                            std::pair{"both", PreciseTrace{true, false, true, false}}}) {
            input.Precise = precise;
            const Timing mt = Best([&] { result = TraceCurve(*chart, input); });
            const double ratio = mt.Cpu / took.Cpu;
            std::printf("  %-9s %8.2f ms processor (%4.2f x plain), %zu of %zu found%s\n", mode, mt.Cpu * 1e3, ratio,
                        result.Found, result.Samples, ratio <= 2.0 ? "" : "  above the goal of 2 x");
        }
    }
    return failures == 0 ? 0 : 1;
}
