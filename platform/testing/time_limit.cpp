#include "platform/testing/time_limit.h"

#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

void WithinTimeLimit(const std::string& what, std::chrono::seconds limit, const std::function<void()>& act) {
  std::mutex mutex;
  std::condition_variable finished;
  bool done = false;
  std::thread watchdog([&] {
    std::unique_lock<std::mutex> lock(mutex);
    if (finished.wait_for(lock, limit, [&] { return done; })) return;
    std::fprintf(stderr, "%s: did not finish within %lld s\n", what.c_str(), static_cast<long long>(limit.count()));
    std::fflush(stderr);
    std::quick_exit(EXIT_FAILURE);
  });
  act();
  {
    const std::lock_guard<std::mutex> lock(mutex);
    done = true;
  }
  finished.notify_one();
  watchdog.join();
}
