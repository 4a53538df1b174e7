// Work shared among the program's threads: every index done once, whatever
// the threads, from nested and concurrent calls, and from a forked child.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/parallel.h"
#include "platform/testing/time_limit.h"

namespace {

using namespace std::chrono_literals;

constexpr std::chrono::seconds LIMIT(60);

// How often each index was done.
std::vector<int> doneCounts(std::size_t count, std::size_t threads) {
  std::vector<std::atomic<int>> done(count);
  ShareWork(count, threads, [&](std::size_t k) { done[k].fetch_add(1); });
  std::vector<int> counts;
  for (const auto& d : done) counts.push_back(d.load());
  return counts;
}

TEST(SharedWork, EveryIndexIsDoneOnceWhateverTheThreads) {
  WithinTimeLimit("sharing work", LIMIT, [] {
    for (std::size_t count : {0u, 1u, 2u, 7u, 1000u})
      for (std::size_t threads : {1u, 2u, 4u, 64u})
        // Again and again, as a search shares each band width's work.
        for (int round = 0; round < 20; ++round)
          EXPECT_EQ(doneCounts(count, threads), std::vector<int>(count, 1))
              << count << " pieces on " << threads << " threads";
  });
}

TEST(SharedWork, NestedAndConcurrentCallsFinish) {
  WithinTimeLimit("nested and concurrent sharing", LIMIT, [] {
    constexpr std::size_t outer = 16, inner = 50;
    auto nested = [&] {
      std::vector<std::atomic<int>> done(outer * inner);
      ShareWork(outer, 8, [&](std::size_t k) {
        ShareWork(inner, 4, [&](std::size_t j) {
          std::this_thread::sleep_for(10us);
          done[k * inner + j].fetch_add(1);
        });
      });
      for (const auto& d : done) EXPECT_EQ(d.load(), 1);
    };
    std::vector<std::thread> callers;
    for (int c = 0; c < 3; ++c) callers.emplace_back(nested);
    nested();
    for (std::thread& caller : callers) caller.join();
  });
}

TEST(SharedWork, AFailureOnTheCallingThreadWaitsForTheHelpers) {
  WithinTimeLimit("a failing piece", LIMIT, [] {
    const std::thread::id caller = std::this_thread::get_id();
    std::atomic<int> done{0};
    std::atomic<bool> thrown{false};
    auto share = [&] {
      ShareWork(200, 4, [&](std::size_t) {
        if (std::this_thread::get_id() == caller && !thrown.exchange(true)) throw std::runtime_error("piece");
        std::this_thread::sleep_for(200us);
        done.fetch_add(1);
      });
    };
    EXPECT_THROW(share(), std::runtime_error);
    // Once the call has ended no helper touches its work any more.
    const int atReturn = done.load();
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(done.load(), atReturn);
  });
}

TEST(SharedWork, AForkedChildSharesWorkOfItsOwn) {
  WithinTimeLimit("sharing work in a forked child", LIMIT, [] {
    ASSERT_EQ(doneCounts(100, 4), std::vector<int>(100, 1));  // the parent's threads are started
    const pid_t child = fork();
    if (child == 0) _exit(doneCounts(100, 4) == std::vector<int>(100, 1) ? 0 : 1);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  });
}

}  // namespace
