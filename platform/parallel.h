// Sharing independent pieces of work among threads: each index is done by
// exactly one thread, and the caller's thread takes part, so a result never
// depends on how many threads there were.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <string>
#include <string_view>
#include <thread>

// The CPUs this process may run on: its affinity mask, cut to the CPU quota
// of its control group (cgroup v2 cpu.max or v1 cfs quota) when it has one.
// Never less than 1. Taken once, and again in a forked child.
std::size_t AvailableCpus();

// The threads worth using for `count` pieces of `work` units in all, when
// one thread should get at least `workPerThread` units; never more than `cap`
// or the CPUs this process may use.
inline std::size_t UsefulThreads(std::size_t count, double work, double workPerThread, std::size_t cap) {
  return std::min<std::size_t>({cap, AvailableCpus(), count, static_cast<std::size_t>(work / workPerThread) + 1});
}

// Stops the threads that help with shared work, once the program's work is
// done and before its objects are destroyed. Shared work asked for later is
// done on the calling thread alone.
void StopSharingThreads();

namespace parallel_detail {

// One call of ShareWork as the threads that help with it see it.
struct SharedJob {
  SharedJob(void (*run_)(const void*, std::size_t), const void* work_, std::size_t count_)
      : run(run_), work(work_), count(count_) {}

  void (*run)(const void* work, std::size_t k);
  const void* work;
  std::size_t count;
  // Called on the calling thread after each of its own pieces and whenever
  // another thread ends one while it waits; none when null.
  void (*watch)(const void* watcher) = nullptr;
  const void* watcher = nullptr;

  std::atomic<std::size_t> next{0};
  // Pieces ended, raised by `count` at the first failure so that a waiting
  // caller wakes.
  std::atomic<std::size_t> settled{0};
  std::atomic<bool> failed{false};
  std::exception_ptr error;  // the first failure, written only by the thread that set `failed`
  std::size_t helping = 0;   // helpers not yet done, under the pool's lock

  // Takes indexes until none is left or a piece has failed. A failure is
  // kept, not thrown: the caller rethrows it once every helper is done.
  void takePart(bool onCaller) noexcept;
  // Keeps the exception being handled, if it is the first, and hands out no
  // further piece.
  void fail() noexcept;
};

// The CPUs a control group's quota of `quota` per `period` grants, rounded
// up; 0 when it grants no limit (no quota, -1, "max", or nonsense).
std::size_t CpusOfQuota(double quota, double period);

// The tightest CPU limit of the control groups that `cgroups` (the text of
// /proc/self/cgroup) names, cgroup v2 and v1, read from the folders under
// `root` (/sys/fs/cgroup) and every folder above them; 0 when none is set.
std::size_t CgroupCpuLimit(std::string_view cgroups, const std::string& root);

// Runs the job on the calling thread and up to `helpers` idle threads of the
// program's pool; returns once every thread is done with it, rethrowing the
// first failure of any of them.
void RunSharedJob(SharedJob& job, std::size_t helpers);

}  // namespace parallel_detail

// Runs work(0) .. work(count - 1) on up to `threads` threads, this one
// included, and returns when all are done. A throw from any piece, on any
// thread, ends the call with that exception once the other threads have
// stopped; no piece is started after it.
template <class Work>
void ShareWork(std::size_t count, std::size_t threads, const Work& work) {
  if (threads <= 1 || count <= 1) {
    for (std::size_t k = 0; k < count; ++k) work(k);
    return;
  }
  parallel_detail::SharedJob job{[](const void* w, std::size_t k) { (*static_cast<const Work*>(w))(k); }, &work,
                                 count};
  parallel_detail::RunSharedJob(job, std::min(threads, count) - 1);
}

// As ShareWork; `watch()` is called on the calling thread alone, after each
// piece that thread does and each time another thread ends one, so that the
// caller can show how far the work has come while it is under way.
template <class Work, class Watch>
void ShareWatchedWork(std::size_t count, std::size_t threads, const Work& work, const Watch& watch) {
  if (threads <= 1 || count <= 1) {
    for (std::size_t k = 0; k < count; ++k) {
      work(k);
      watch();
    }
    return;
  }
  parallel_detail::SharedJob job{[](const void* w, std::size_t k) { (*static_cast<const Work*>(w))(k); }, &work,
                                 count};
  job.watch = [](const void* w) { (*static_cast<const Watch*>(w))(); };
  job.watcher = &watch;
  parallel_detail::RunSharedJob(job, std::min(threads, count) - 1);
}
