#include "platform/parallel.h"

#include <pthread.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <vector>

#include "platform/vector_units.h"

namespace parallel_detail {

namespace {

// Threads are started when first wanted and then wait for work, so that a
// search or a band costs no thread start (about 0.1 ms each).
class Pool {
 public:
  static Pool& instance() {
    static Pool pool;
    return pool;
  }

  std::size_t lend(SharedJob& job, std::size_t wanted) {
    std::lock_guard lock(mutex_);
    while (idle_.size() < wanted && workers_.size() < limit_) {
      if (!start()) break;
    }
    const std::size_t lent = std::min(wanted, idle_.size());
    job.helping = lent;
    for (std::size_t t = 0; t < lent; ++t) {
      Worker* worker = idle_.back();
      idle_.pop_back();
      worker->job = &job;
      worker->wake.notify_one();
    }
    return lent;
  }

  void await(SharedJob& job) {
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [&] { return job.helping == 0; });
  }

  ~Pool() {
    std::unique_lock lock(mutex_);
    for (auto& worker : workers_) {
      worker->stop = true;
      worker->wake.notify_one();
    }
    lock.unlock();
    for (auto& worker : workers_) worker->thread.join();
  }

 private:
  struct Worker {
    std::thread thread;
    std::condition_variable wake;
    SharedJob* job = nullptr;
    bool stop = false;
  };

  Pool() {
    // A forked child has none of its parent's threads: it starts its own.
    pthread_atfork(nullptr, nullptr, [] { instance().forgetThreads(); });
  }

  // Under the lock.
  bool start() {
    auto worker = std::make_unique<Worker>();
    try {
      worker->thread = std::thread([this, w = worker.get()] { serve(*w); });
    } catch (const std::system_error&) {
      // No further thread to be had: those there are share the work.
      return false;
    }
    idle_.push_back(worker.get());
    workers_.push_back(std::move(worker));
    return true;
  }

  void serve(Worker& worker) {
    std::unique_lock lock(mutex_);
    for (;;) {
      worker.wake.wait(lock, [&] { return worker.job != nullptr || worker.stop; });
      if (worker.job == nullptr) return;
      SharedJob& job = *worker.job;
      lock.unlock();
      // A thread carries the vector state of the work it did last.
      ClearUpperVectorState();
      job.takePart();
      lock.lock();
      worker.job = nullptr;
      idle_.push_back(&worker);
      // The caller may leave, and its job end, as soon as it sees 0: it can
      // see it only after this thread lets go of the lock.
      if (--job.helping == 0) finished_.notify_all();
    }
  }

  void forgetThreads() {
    new (&mutex_) std::mutex;
    new (&finished_) std::condition_variable;
    for (auto& worker : workers_) worker.release();  // their threads are the parent's
    workers_.clear();
    idle_.clear();
  }

  std::mutex mutex_;
  std::condition_variable finished_;
  std::vector<std::unique_ptr<Worker>> workers_;
  std::vector<Worker*> idle_;
  const std::size_t limit_ = std::max(1u, std::thread::hardware_concurrency()) - 1;
};

}  // namespace

std::size_t LendThreads(SharedJob& job, std::size_t wanted) {
  return wanted > 0 ? Pool::instance().lend(job, wanted) : 0;
}

void AwaitThreads(SharedJob& job) { Pool::instance().await(job); }

}  // namespace parallel_detail
