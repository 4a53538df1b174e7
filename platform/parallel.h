// Sharing independent pieces of work among threads: each index is done by
// exactly one thread, and the caller's thread takes part, so a result never
// depends on how many threads there were.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/vector_units.h"

// The threads worth starting for `count` pieces of `work` units in all, when
// one thread should get at least `workPerThread` units; never more than `cap`
// or the cores of the machine.
inline std::size_t UsefulThreads(std::size_t count, double work, double workPerThread, std::size_t cap) {
  const std::size_t hardware = std::max(1u, std::thread::hardware_concurrency());
  return std::min<std::size_t>({cap, hardware, count, static_cast<std::size_t>(work / workPerThread) + 1});
}

// Runs work(0) .. work(count - 1) on `threads` threads, this one included,
// and returns when all are done.
template <class Work>
void ShareWork(std::size_t count, std::size_t threads, const Work& work) {
  if (threads <= 1) {
    for (std::size_t k = 0; k < count; ++k) work(k);
    return;
  }
  std::atomic<std::size_t> next{0};
  auto worker = [&] {
    // A new thread starts with the vector state of the one that made it.
    ClearUpperVectorState();
    for (std::size_t k = next.fetch_add(1); k < count; k = next.fetch_add(1)) work(k);
  };
  std::vector<std::jthread> helpers;
  helpers.reserve(threads - 1);
  try {
    for (std::size_t t = 1; t < threads; ++t) helpers.emplace_back(worker);
  } catch (const std::system_error&) {
    // No further thread to be had: the threads already started and this one
    // share the work.
  }
  worker();
}
