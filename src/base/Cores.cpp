#include "base/Cores.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace quillmark {

namespace {

constexpr unsigned kMaxCores = 8;
std::atomic<unsigned> g_chosenCores{0};

} // namespace

unsigned SharedCores()
{
    const unsigned chosen = g_chosenCores.load();
    return std::clamp(chosen != 0 ? chosen : std::thread::hardware_concurrency(), 1u, kMaxCores);
}

void SetSharedCores(unsigned cores)
{
    g_chosenCores = cores;
}

void RunShared(std::size_t runs, const std::function<void(std::size_t run)>& work)
{
    std::vector<std::exception_ptr> failures(runs);
    const auto runOne = [&](std::size_t run) {
        try {
            work(run);
        } catch (...) {
            failures[run] = std::current_exception();
        }
    };
    std::vector<std::thread> threads;
    std::size_t started = 1;
    try {
        for (; started < runs; ++started)
            threads.emplace_back(runOne, started);
    } catch (const std::system_error&) {
        // No thread to be had: the runs not started go on this one.
    }
    if (runs > 0)
        runOne(0);
    for (std::size_t run = started; run < runs; ++run)
        runOne(run);
    for (std::thread& thread : threads)
        thread.join();
    for (const std::exception_ptr& failure : failures)
        if (failure)
            std::rethrow_exception(failure);
}

} // namespace quillmark
