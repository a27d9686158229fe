#pragma once
// Work shared out among the processor's cores. The callers split their work
// into runs that write disjoint memory, so the result never depends on how
// many cores there are or in which order the runs end.
#include <cstddef>
#include <functional>

namespace quillmark {

// How many cores sharing may use: all the processor has (at most 8), or fewer
// once SetSharedCores has been called; always at least 1.
unsigned SharedCores();
// 0 restores all the processor's cores; 1 keeps all work on the calling thread.
void SetSharedCores(unsigned cores);

// Runs work(0) .. work(runs - 1): run 0 on the calling thread, the others on
// threads of their own (on the calling thread too when the system gives no
// thread), and returns when every run has ended. An exception ends only its
// own run; once all have ended, the one of the lowest-numbered run is thrown.
void RunShared(std::size_t runs, const std::function<void(std::size_t run)>& work);

} // namespace quillmark
