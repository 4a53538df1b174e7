// Sharing independent pieces of work among threads: each index is done by
// exactly one thread, and the caller's thread takes part, so a result never
// depends on how many threads there were.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <thread>

// The threads worth using for `count` pieces of `work` units in all, when
// one thread should get at least `workPerThread` units; never more than `cap`
// or the cores of the machine.
inline std::size_t UsefulThreads(std::size_t count, double work, double workPerThread, std::size_t cap) {
  const std::size_t hardware = std::max(1u, std::thread::hardware_concurrency());
  return std::min<std::size_t>({cap, hardware, count, static_cast<std::size_t>(work / workPerThread) + 1});
}

namespace parallel_detail {

// One call of ShareWork as the threads that help with it see it.
struct SharedJob {
  void (*run)(const void* work, std::size_t k);
  const void* work;
  std::size_t count;
  std::atomic<std::size_t> next{0};
  std::size_t helping = 0;  // helpers not yet done, under the pool's lock

  // Takes indexes until none is left.
  void takePart() {
    for (std::size_t k = next.fetch_add(1); k < count; k = next.fetch_add(1)) run(work, k);
  }
};

// Lends up to `wanted` idle threads of the program's pool to the job and
// returns how many it lent. Threads are started once and kept; a call made
// from inside shared work gets only the threads that are idle, so calls may
// nest without waiting on each other.
std::size_t LendThreads(SharedJob& job, std::size_t wanted);

// Returns once every thread lent to the job is done with it.
void AwaitThreads(SharedJob& job);

}  // namespace parallel_detail

// Runs work(0) .. work(count - 1) on up to `threads` threads, this one
// included, and returns when all are done.
template <class Work>
void ShareWork(std::size_t count, std::size_t threads, const Work& work) {
  if (threads <= 1 || count <= 1) {
    for (std::size_t k = 0; k < count; ++k) work(k);
    return;
  }
  parallel_detail::SharedJob job{[](const void* w, std::size_t k) { (*static_cast<const Work*>(w))(k); }, &work,
                                 count};
  if (parallel_detail::LendThreads(job, std::min(threads, count) - 1) == 0) {
    job.takePart();
    return;
  }
  try {
    job.takePart();
  } catch (...) {
    // The helpers still read the job: it must outlive them.
    parallel_detail::AwaitThreads(job);
    throw;
  }
  parallel_detail::AwaitThreads(job);
}
