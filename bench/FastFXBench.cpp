// Times each effect on a 6000 x 4000 picture next to a memcpy of the same
// buffer, then prints every effect's time as a multiple of the memcpy's, in
// wall time and in this thread's processor time. Absolute times drift on
// shared machines; the ratios are what we watch.
#include "base/Cores.h"
#include "imaging/AdjustmentPipeline.h"
#include "imaging/FastBMP.h"
#include "imaging/FastFX.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace quillmark;

namespace {

constexpr int kWidth = 6000;
constexpr int kHeight = 4000;

struct Pictures {
    std::unique_ptr<TFastBMP> source;
    std::unique_ptr<TFastBMP> work;
};

// A picture with smooth gradients and noise, so that no effect meets only
// constant bytes.
Pictures& Shared()
{
    static Pictures pictures = [] {
        Pictures p;
        p.source = std::make_unique<TFastBMP>(kWidth, kHeight);
        std::mt19937 random(12345);
        for (int y = 0; y < kHeight; ++y) {
            std::uint8_t* row = p.source->RowTable()[y];
            for (int x = 0; x < kWidth; ++x) {
                const unsigned noise = random() & 31u;
                row[3 * x] = static_cast<std::uint8_t>((x + noise) & 255u);
                row[3 * x + 1] = static_cast<std::uint8_t>((y + noise) & 255u);
                row[3 * x + 2] = static_cast<std::uint8_t>((x + y) * 3u & 255u);
            }
        }
        p.work = TFastBMP::CreateCopy(*p.source);
        return p;
    }();
    return pictures;
}

struct Timing {
    double wall = 0; // seconds per run, best mean over the repetitions
    double cpu = 0;  // the same in this thread's processor time
};

std::map<std::string, Timing>& Timings()
{
    static std::map<std::string, Timing> timings;
    return timings;
}

// Processor time of this thread: on a shared machine it leaves out the time
// other programs held the core, which wall time does not.
double ThreadSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// Each timed step restores the work buffer outside the timing, so every run
// sees the same input.
template <typename Effect>
void TimeEffect(benchmark::State& state, const std::string& name, Effect effect)
{
    Pictures& p = Shared();
    const auto bytes = static_cast<std::size_t>(p.source->DataSize());
    Timing total;
    std::int64_t runs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(p.work->PixelData(), p.source->PixelData(), bytes);
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        const double startCpu = ThreadSeconds();
        effect(*p.work);
        benchmark::ClobberMemory();
        total.cpu += ThreadSeconds() - startCpu;
        total.wall += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++runs;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
    if (runs > 0) {
        const Timing mean{total.wall / static_cast<double>(runs), total.cpu / static_cast<double>(runs)};
        auto [it, fresh] = Timings().try_emplace(name, mean);
        if (!fresh) {
            it->second.wall = std::min(it->second.wall, mean.wall);
            it->second.cpu = std::min(it->second.cpu, mean.cpu);
        }
    }
}

void BM_Memcpy(benchmark::State& state)
{
    TimeEffect(state, "memcpy", [](TFastBMP& work) {
        std::memcpy(work.PixelData(), Shared().source->PixelData(), static_cast<std::size_t>(work.DataSize()));
    });
}

void BM_Contrast(benchmark::State& state) { TimeEffect(state, "contrast", [](TFastBMP& w) { Contrast(w, 90); }); }
void BM_Lightness(benchmark::State& state) { TimeEffect(state, "lightness", [](TFastBMP& w) { Lightness(w, -70); }); }
void BM_Invert(benchmark::State& state) { TimeEffect(state, "invert", [](TFastBMP& w) { Invert(w); }); }
void BM_CuttingOff(benchmark::State& state) { TimeEffect(state, "cut-off", [](TFastBMP& w) { CuttingOff(w, 100); }); }
void BM_Saturation(benchmark::State& state) { TimeEffect(state, "saturation", [](TFastBMP& w) { Saturation(w, 400); }); }
void BM_BlurPass(benchmark::State& state) { TimeEffect(state, "blur pass", [](TFastBMP& w) { BlurPass(w, 1); }); }
void BM_Rotate(benchmark::State& state)
{
    TimeEffect(state, "rotate 5", [](TFastBMP& w) { RotateInto(*Shared().source, w, kWidth / 2, kHeight / 2, -5.0); });
}
void BM_Rotate90(benchmark::State& state)
{
    TimeEffect(state, "rotate 90", [](TFastBMP& w) { RotateInto(*Shared().source, w, kWidth / 2, kHeight / 2, -90.0); });
}
void BM_Rotate45(benchmark::State& state)
{
    TimeEffect(state, "rotate 45", [](TFastBMP& w) { RotateInto(*Shared().source, w, kWidth / 2, kHeight / 2, -45.0); });
}
void BM_ContrastReference(benchmark::State& state)
{
    TimeEffect(state, "contrast (plain loop)", [](TFastBMP& w) { reference::Contrast(w, 90); });
}
void BM_DefaultPipeline(benchmark::State& state)
{
    TimeEffect(state, "pipeline, start values", [](TFastBMP& w) { RunAdjustmentPipeline(*Shared().source, w, {}); });
}
void BM_BusyPipeline(benchmark::State& state)
{
    AdjustmentValues values;
    values.Rotate = 2.5;
    values.Invert = true;
    values.Contrast = 300;
    values.Lightness = 200;
    values.Saturation = 100;
    values.CuttingOff = 20;
    values.GaussianBlur = 2;
    TimeEffect(state, "pipeline, all steps, blur 2", [values](TFastBMP& w) { RunAdjustmentPipeline(*Shared().source, w, values); });
}

} // namespace

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Contrast)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Lightness)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Invert)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CuttingOff)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Saturation)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BlurPass)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Rotate)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Rotate45)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Rotate90)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ContrastReference)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DefaultPipeline)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_BusyPipeline)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    // --one-core first keeps every effect on one core.
    if (argc > 1 && std::string(argv[1]) == "--one-core") {
        SetSharedCores(1);
        argv[1] = argv[0];
        --argc;
        ++argv;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const auto& timings = Timings();
    const auto base = timings.find("memcpy");
    if (base == timings.end() || base->second.wall <= 0 || base->second.cpu <= 0)
        return 0;
    std::printf("\nTime as a multiple of memcpy of %d bytes (%.2f ms wall, %.2f ms processor):\n",
                Shared().source->DataSize(), base->second.wall * 1e3, base->second.cpu * 1e3);
    std::printf("  %-30s %6s %10s\n", "", "wall", "processor");
    for (const auto& [name, t] : timings)
        if (name != "memcpy")
            std::printf("  %-30s %6.2f %10.2f\n", name.c_str(), t.wall / base->second.wall, t.cpu / base->second.cpu);
    return 0;
}
