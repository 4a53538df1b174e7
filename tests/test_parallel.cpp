// Work shared among the program's threads: every index done once, whatever
// the threads, from nested and concurrent calls, and from a forked child; a
// failure on any thread reaching the caller once; forks while work is shared;
// sharing while the program ends; the CPUs the process may use; progress
// shown while the work is under way.
#include <gtest/gtest.h>

#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "platform/errors.h"
#include "platform/parallel.h"
#include "platform/testing/time_limit.h"

namespace {

using namespace std::chrono_literals;

constexpr std::chrono::seconds LIMIT(60);

// Runs `child` in a forked child, which ends with its result (or is ended
// by an alarm should it hang); true when it returned true.
bool inForkedChild(const std::function<bool()>& child) {
  const pid_t pid = fork();
  if (pid == 0) {
    alarm(30);
    _exit(child() ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::size_t threadsOfThisProcess() {
  std::size_t count = 0;
  for (const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) {
    (void)entry;
    ++count;
  }
  return count;
}

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

namespace {

// Which thread throws what: on the calling thread, on a helper, on both, in
// the caller's progress watch. The helpers hold their pieces until something
// was thrown, so that each case throws where it says.
struct FailureCase {
  const char* name;
  bool onCaller;
  bool onHelper;
  bool inWatch;
  std::function<void()> raise;  // on a helper, or the caller when no helper throws
  std::function<bool(std::exception_ptr)> expected;
};

template <class E>
bool holds(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const E&) {
    return true;
  } catch (...) {
    return false;
  }
}

TEST(SharedWork, AFailureOnAnyThreadReachesTheCallerOnceAndThePoolGoesOn) {
  if (AvailableCpus() < 2) GTEST_SKIP() << "no helper thread on one CPU";
  const std::vector<FailureCase> cases = {
      {"the caller", true, false, false, [] { throw std::runtime_error("caller"); }, holds<std::runtime_error>},
      {"a helper", false, true, false, [] { throw EInOutError("helper"); }, holds<EInOutError>},
      {"both", true, true, false, [] { throw std::logic_error("helper"); },
       [](std::exception_ptr e) { return holds<std::logic_error>(e) || holds<std::runtime_error>(e); }},
      {"no memory on a helper", false, true, false, [] { throw std::bad_alloc(); }, holds<std::bad_alloc>},
      {"no exception class", false, true, false, [] { throw 42; }, holds<int>},
      {"the caller's watch", false, false, true, [] { throw std::runtime_error("watch"); },
       holds<std::runtime_error>},
  };
  for (const FailureCase& c : cases) {
    WithinTimeLimit(std::string("a failure on ") + c.name, LIMIT, [&] {
      constexpr std::size_t count = 1000, threads = 4;
      const std::thread::id caller = std::this_thread::get_id();
      std::atomic<bool> helperIn{false}, thrown{false}, callerThrew{false}, helperThrew{false};
      std::atomic<int> started{0}, ended{0};
      auto waitFor = [](const std::atomic<bool>& flag) {
        while (!flag.load()) std::this_thread::sleep_for(50us);
      };
      auto piece = [&](std::size_t) {
        started.fetch_add(1);
        const bool onCaller = std::this_thread::get_id() == caller;
        if (!onCaller) {
          helperIn = true;
          if (c.onHelper && !helperThrew.exchange(true)) {
            thrown = true;
            c.raise();
          }
        } else {
          waitFor(helperIn);
          if (c.onCaller && !callerThrew.exchange(true)) {
            if (c.onHelper) waitFor(helperThrew);  // both really throw
            thrown = true;
            if (c.onHelper) throw std::runtime_error("caller");
            c.raise();
          }
        }
        // The watch throws after the caller's first piece. The pause gives
        // the throwing thread time to leave its piece.
        if (!(c.inWatch && onCaller)) {
          waitFor(thrown);
          std::this_thread::sleep_for(2ms);
        }
        ended.fetch_add(1);
      };
      auto watch = [&] {
        if (helperIn && !thrown.exchange(true)) c.raise();
      };
      std::exception_ptr error;
      try {
        ShareWatchedWork(count, threads, piece, watch);
      } catch (...) {
        error = std::current_exception();
      }
      ASSERT_TRUE(error) << c.name;
      EXPECT_TRUE(c.expected(error)) << c.name;
      // No piece is handed out after the failure: each thread ends at most
      // the piece it has and one it took as the failure came.
      EXPECT_LE(started.load(), static_cast<int>(2 * threads + 2)) << c.name;
      // Every helper has stopped when the call ends.
      const int atReturn = ended.load();
      std::this_thread::sleep_for(5ms);
      EXPECT_EQ(ended.load(), atReturn) << c.name;
      EXPECT_EQ(doneCounts(300, threads), std::vector<int>(300, 1)) << "the job after a failure on " << c.name;
    });
  }
}

// While threads keep lending and taking back the pool's threads, forked
// children find the pool whole and share work of their own.
TEST(SharedWork, AForkWhileOtherThreadsShareWorkGivesAUsableChild) {
#if defined(__SANITIZE_ADDRESS__)
  // A child forked while another thread is inside the AddressSanitizer
  // runtime's allocator can hang there, whatever the pool does; the plain
  // build runs this test.
  GTEST_SKIP() << "the AddressSanitizer runtime is not fork-safe beside allocating threads";
#endif
  WithinTimeLimit("forks while work is shared", LIMIT, [] {
    std::atomic<bool> stop{false};
    std::vector<std::thread> sharers;
    for (int t = 0; t < 3; ++t)
      sharers.emplace_back([&] {
        while (!stop) ShareWork(16, 3, [](std::size_t) {});
      });
    int usable = 0;
    constexpr int forks = 30;
    for (int f = 0; f < forks; ++f)
      usable += inForkedChild([] { return doneCounts(200, 4) == std::vector<int>(200, 1); }) ? 1 : 0;
    stop = true;
    for (std::thread& sharer : sharers) sharer.join();
    EXPECT_EQ(usable, forks);
  });
}

// Work shared by an object destroyed as the program ends, after everything
// made later (the pool among them) was destroyed.
bool shareWhileEnding = false;
struct SharesWhileDestroyed {
  ~SharesWhileDestroyed() {
    if (shareWhileEnding) _exit(doneCounts(100, 4) == std::vector<int>(100, 1) ? 0 : 1);
  }
} sharesWhileDestroyed;

TEST(SharedWork, WorkSharedAsTheProgramEndsIsDone) {
  WithinTimeLimit("sharing as the program ends", LIMIT, [] {
    ASSERT_EQ(doneCounts(100, 4), std::vector<int>(100, 1));
    EXPECT_TRUE(inForkedChild([]() -> bool {
      doneCounts(100, 4);
      shareWhileEnding = true;
      std::exit(2);  // the destructor above ends the child with its own result
    }));
    // Stopped threads: the work is done on the calling thread alone.
    EXPECT_TRUE(inForkedChild([] {
      doneCounts(100, 4);
      StopSharingThreads();
      const bool ownThreadsOnly = threadsOfThisProcess() == 1;
      std::vector<std::thread::id> by(100);
      ShareWork(100, 4, [&](std::size_t k) { by[k] = std::this_thread::get_id(); });
      return ownThreadsOnly && by == std::vector<std::thread::id>(100, std::this_thread::get_id());
    }));
  });
}

TEST(SharedWork, ThreadsComeFromTheCpusTheProcessMayUse) {
  WithinTimeLimit("the CPUs of the process", LIMIT, [] {
    cpu_set_t all;
    ASSERT_EQ(sched_getaffinity(0, sizeof all, &all), 0);
    const std::size_t before = AvailableCpus();
    EXPECT_LE(before, static_cast<std::size_t>(CPU_COUNT(&all)));
    for (int allowed : {1, 2}) {
      if (CPU_COUNT(&all) < allowed) continue;
      EXPECT_TRUE(inForkedChild([&] {
        cpu_set_t some;
        CPU_ZERO(&some);
        for (int cpu = 0, taken = 0; cpu < CPU_SETSIZE && taken < allowed; ++cpu)
          if (CPU_ISSET(cpu, &all)) {
            CPU_SET(cpu, &some);
            ++taken;
          }
        if (sched_setaffinity(0, sizeof some, &some) != 0) return false;
        if (AvailableCpus() != std::min<std::size_t>(allowed, before)) return false;
        // The pool lends no more threads than there are CPUs beside the caller's.
        std::vector<std::atomic<int>> byOther(1);
        const std::thread::id self = std::this_thread::get_id();
        ShareWork(400, 8, [&](std::size_t) {
          std::this_thread::sleep_for(20us);
          if (std::this_thread::get_id() != self) byOther[0].fetch_add(1);
        });
        return allowed > 1 || byOther[0].load() == 0;
      })) << allowed << " CPUs";
    }
  });
}

TEST(SharedWork, ControlGroupQuotasCutTheCpus) {
  struct Case {
    double quota, period;
    std::size_t cpus;
  };
  for (const Case& c : {Case{150000, 100000, 2}, Case{100000, 100000, 1}, Case{50000, 100000, 1},
                        Case{400000, 100000, 4}, Case{-1, 100000, 0}, Case{100000, 0, 0}})
    EXPECT_EQ(parallel_detail::CpusOfQuota(c.quota, c.period), c.cpus) << c.quota << " / " << c.period;

  char pattern[] = "/tmp/orvanix-cgroup-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string root = pattern;
  auto write = [&](const std::string& path, const std::string& text) {
    std::filesystem::create_directories(std::filesystem::path(root + path).parent_path());
    std::ofstream(root + path) << text;
  };
  // v2: the tightest of the group and the groups above it.
  write("/cpu.max", "max 100000\n");
  write("/box/cpu.max", "300000 100000\n");
  write("/box/app/cpu.max", "max 100000\n");
  EXPECT_EQ(parallel_detail::CgroupCpuLimit("0::/box/app\n", root), 3u);
  EXPECT_EQ(parallel_detail::CgroupCpuLimit("0::/elsewhere\n", root), 0u);
  EXPECT_EQ(parallel_detail::CgroupCpuLimit("", root), 0u);
  EXPECT_EQ(parallel_detail::CgroupCpuLimit("garbage\n0:broken", root), 0u);
  // v1: a group path the container sees above its own root still finds the
  // root's quota; a group of other controllers sets none.
  write("/cpu,cpuacct/cpu.cfs_quota_us", "250000\n");
  write("/cpu,cpuacct/cpu.cfs_period_us", "100000\n");
  EXPECT_EQ(parallel_detail::CgroupCpuLimit("4:memory:/docker/abc\n2:cpu,cpuacct:/docker/abc\n", root), 3u);
  EXPECT_EQ(parallel_detail::CgroupCpuLimit("4:memory:/\n", root), 0u);
  std::filesystem::remove_all(root);
}

// The caller is told of pieces that other threads end while it waits, on
// its own thread: it sees the last piece end even when a helper ends it.
TEST(SharedWork, TheCallerWatchesPiecesThatOtherThreadsEnd) {
  if (AvailableCpus() < 2) GTEST_SKIP() << "no helper thread on one CPU";
  WithinTimeLimit("watched work", LIMIT, [] {
    constexpr std::size_t count = 64;
    const std::thread::id caller = std::this_thread::get_id();
    std::atomic<bool> helperIn{false};
    std::atomic<std::size_t> ended{0};
    std::size_t lastSeen = 0;
    bool onCallerOnly = true;
    ShareWatchedWork(
        count, 4,
        [&](std::size_t) {
          if (std::this_thread::get_id() == caller) {
            while (!helperIn) std::this_thread::sleep_for(50us);
          } else {
            helperIn = true;
            std::this_thread::sleep_for(5ms);  // a helper's piece ends after the caller's last
          }
          ended.fetch_add(1);
        },
        [&] {
          onCallerOnly = onCallerOnly && std::this_thread::get_id() == caller;
          lastSeen = ended.load();
        });
    EXPECT_TRUE(onCallerOnly);
    EXPECT_EQ(lastSeen, count);
  });
}

}  // namespace
