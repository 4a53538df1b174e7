#include "platform/parallel.h"

#include <pthread.h>
#include <sched.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "platform/files.h"
#include "platform/vector_units.h"

namespace parallel_detail {

void SharedJob::takePart(bool onCaller) noexcept {
  try {
    for (std::size_t k = next.fetch_add(1); k < count; k = next.fetch_add(1)) {
      run(work, k);
      settled.fetch_add(1, std::memory_order_release);
      if (watch == nullptr) continue;
      if (onCaller)
        watch(watcher);
      else
        settled.notify_one();
    }
  } catch (...) {
    fail();
  }
}

void SharedJob::fail() noexcept {
  if (failed.exchange(true)) return;  // a later failure is dropped: the first is the one reported
  error = std::current_exception();
  next.store(count);
  settled.fetch_add(count, std::memory_order_release);
  settled.notify_one();
}

namespace {

// Threads are started when first wanted and then wait for work, so that a
// search or a band costs no thread start (about 0.1 ms each).
class Pool {
 public:
  Pool() = default;

  std::size_t lend(SharedJob& job, std::size_t wanted) {
    std::lock_guard lock(mutex_);
    if (stopped_) return 0;
    const std::size_t limit = AvailableCpus() - 1;
    while (idle_.size() < wanted && workers_.size() < limit) {
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

  // A thread lent to a job ends it first.
  void stop() {
    std::unique_lock lock(mutex_);
    if (stopped_) return;
    stopped_ = true;
    for (auto& worker : workers_) {
      worker->stop = true;
      worker->wake.notify_one();
    }
    lock.unlock();
    // No thread is started once stopped_ is set, so the list stays as it is.
    for (auto& worker : workers_)
      if (worker->thread.joinable() && worker->thread.get_id() != std::this_thread::get_id()) worker->thread.join();
  }

  // Held across a fork.
  void lockForFork() { mutex_.lock(); }
  void unlockAfterFork() { mutex_.unlock(); }

  // In a forked child, which has none of its parent's threads: it starts its
  // own when it shares work.
  void forgetThreadsInChild() {
    for (auto& worker : workers_) worker.release();  // their threads are the parent's
    workers_.clear();
    idle_.clear();
    // Threads of the parent may have been waiting on it.
    new (&finished_) std::condition_variable;
    mutex_.unlock();
  }

 private:
  struct Worker {
    std::thread thread;
    std::condition_variable wake;
    SharedJob* job = nullptr;
    bool stop = false;
  };

  // Under the lock. Room in both lists is made before the thread starts, so
  // that a thread going back to the idle list never allocates.
  bool start() noexcept {
    try {
      workers_.reserve(workers_.size() + 1);
      idle_.reserve(workers_.size() + 1);
      auto worker = std::make_unique<Worker>();
      worker->thread = std::thread([this, w = worker.get()] { serve(*w); });
      idle_.push_back(worker.get());
      workers_.push_back(std::move(worker));
      return true;
    } catch (...) {
      // No further thread to be had: those there are share the work.
      return false;
    }
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
      job.takePart(false);
      lock.lock();
      worker.job = nullptr;
      idle_.push_back(&worker);
      // The caller may leave, and its job end, as soon as it sees 0: it can
      // see it only after this thread lets go of the lock.
      if (--job.helping == 0) finished_.notify_all();
    }
  }

  std::mutex mutex_;
  std::condition_variable finished_;
  std::vector<std::unique_ptr<Worker>> workers_;
  std::vector<Worker*> idle_;
  bool stopped_ = false;
};

std::atomic<std::size_t> knownCpus{0};  // the CPUs this process may use; 0 until counted

// The pool is made on first use and never destroyed: shared work asked for
// while the program's objects are destroyed, and a fork then, still find it
// whole. StopSharingThreads ends its threads where the program ends. It is
// made under a lock that a fork holds too, so that a child never finds it
// half made; a first use that ran into a fork would hang the child.
std::mutex makingPool;
std::atomic<Pool*> madePool{nullptr};

Pool& thePool() {
  if (Pool* made = madePool.load(std::memory_order_acquire)) return *made;
  std::lock_guard lock(makingPool);
  if (madePool.load() == nullptr) madePool.store(new Pool, std::memory_order_release);
  return *madePool.load();
}

// Registered before the program's own code runs, so that no thread can be
// half way through it at a fork. The forking thread holds the locks across
// the fork: the child never sees the pool's lists half changed.
const int forkHandlers = pthread_atfork(
    [] {
      makingPool.lock();
      if (Pool* pool = madePool.load()) pool->lockForFork();
    },
    [] {
      if (Pool* pool = madePool.load()) pool->unlockAfterFork();
      makingPool.unlock();
    },
    [] {
      // The child may be given other CPUs than its parent.
      knownCpus.store(0);
      if (Pool* pool = madePool.load()) pool->forgetThreadsInChild();
      makingPool.unlock();
    });

// ---- The CPUs this process may use ------------------------------------------

std::size_t affinityCpus() {
  // The mask may be larger than the fixed cpu_set_t on machines with many CPUs.
  for (int size = CPU_SETSIZE; size <= (1 << 20); size *= 2) {
    cpu_set_t* set = CPU_ALLOC(size);
    if (set == nullptr) break;
    const std::size_t bytes = CPU_ALLOC_SIZE(size);
    const bool got = sched_getaffinity(0, bytes, set) == 0;
    const int count = got ? CPU_COUNT_S(bytes, set) : 0;
    CPU_FREE(set);
    if (got) return count > 0 ? static_cast<std::size_t>(count) : 1;
    if (errno != EINVAL) break;
  }
  return std::max(1u, std::thread::hardware_concurrency());
}

std::string readSmallFile(const std::string& path) {
  try {
    return ReadFileHead(path, 4096);
  } catch (...) {
    return {};  // no such file: no limit from it
  }
}

bool readInteger(std::string_view text, long long& value) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc{} && end != text.data();
}

// "max 100000" or "<quota> <period>".
std::size_t cpusOfCpuMax(std::string_view text) {
  const std::size_t space = text.find(' ');
  if (space == std::string_view::npos) return 0;
  long long quota = 0, period = 0;
  if (!readInteger(text.substr(0, space), quota) || !readInteger(text.substr(space + 1), period)) return 0;
  return CpusOfQuota(static_cast<double>(quota), static_cast<double>(period));
}

std::size_t cpusOfCfsFiles(const std::string& folder) {
  long long quota = 0, period = 0;
  if (!readInteger(readSmallFile(folder + "/cpu.cfs_quota_us"), quota) ||
      !readInteger(readSmallFile(folder + "/cpu.cfs_period_us"), period))
    return 0;
  return CpusOfQuota(static_cast<double>(quota), static_cast<double>(period));
}

// Calls check(folder) for root + path and each folder above it up to root:
// a quota anywhere above the process holds for it too, and inside a
// container the path named may lie above the root it sees.
template <class Check>
void eachFolderUp(const std::string& root, std::string path, const Check& check) {
  for (;;) {
    check(root + path);
    const std::size_t slash = path.rfind('/');
    if (path.empty() || slash == std::string::npos) return;
    path.resize(slash);
  }
}

bool namesCpuController(std::string_view controllers) {
  while (!controllers.empty()) {
    const std::size_t comma = controllers.find(',');
    if (controllers.substr(0, comma) == "cpu") return true;
    if (comma == std::string_view::npos) break;
    controllers.remove_prefix(comma + 1);
  }
  return false;
}

std::size_t countCpus() {
  const std::size_t affinity = affinityCpus();
  const std::size_t quota = CgroupCpuLimit(readSmallFile("/proc/self/cgroup"), "/sys/fs/cgroup");
  return quota > 0 ? std::min(affinity, quota) : affinity;
}

}  // namespace

std::size_t CpusOfQuota(double quota, double period) {
  if (!(quota > 0.0) || !(period > 0.0) || !std::isfinite(quota / period)) return 0;
  return std::max<std::size_t>(1, static_cast<std::size_t>(std::ceil(quota / period)));
}

std::size_t CgroupCpuLimit(std::string_view cgroups, const std::string& root) {
  std::size_t limit = 0;
  auto tighten = [&](std::size_t cpus) {
    if (cpus > 0 && (limit == 0 || cpus < limit)) limit = cpus;
  };
  while (!cgroups.empty()) {
    const std::size_t end = cgroups.find('\n');
    const std::string_view line = cgroups.substr(0, end);
    cgroups.remove_prefix(end == std::string_view::npos ? cgroups.size() : end + 1);
    // "<id>:<controllers>:<path>"
    const std::size_t first = line.find(':');
    const std::size_t second = first == std::string_view::npos ? first : line.find(':', first + 1);
    if (second == std::string_view::npos) continue;
    const std::string_view controllers = line.substr(first + 1, second - first - 1);
    const std::string path(line.substr(second + 1));
    if (path.empty() || path.front() != '/') continue;
    if (line.substr(0, first) == "0" && controllers.empty()) {
      eachFolderUp(root, path == "/" ? "" : path,
                   [&](const std::string& folder) { tighten(cpusOfCpuMax(readSmallFile(folder + "/cpu.max"))); });
    } else if (namesCpuController(controllers)) {
      for (const std::string& mount : {root + "/" + std::string(controllers), root + "/cpu"})
        eachFolderUp(mount, path == "/" ? "" : path,
                     [&](const std::string& folder) { tighten(cpusOfCfsFiles(folder)); });
    }
  }
  return limit;
}

namespace {

// Lends up to `wanted` idle threads of the program's pool to the job and
// returns how many it lent. A call made from inside shared work gets only the
// threads that are idle, so calls may nest without waiting on each other.
std::size_t lendThreads(SharedJob& job, std::size_t wanted) {
  if (wanted == 0) return 0;
  return thePool().lend(job, wanted);
}

}  // namespace

void RunSharedJob(SharedJob& job, std::size_t helpers) {
  const std::size_t lent = lendThreads(job, helpers);
  job.takePart(true);
  if (lent > 0) {
    if (job.watch != nullptr) {
      for (;;) {
        const std::size_t seen = job.settled.load(std::memory_order_acquire);
        if (seen >= job.count) break;
        job.settled.wait(seen, std::memory_order_acquire);
        try {
          job.watch(job.watcher);
        } catch (...) {
          job.fail();
        }
      }
    }
    // The helpers still read the job: it must outlive them.
    thePool().await(job);
  }
  if (job.error) std::rethrow_exception(job.error);
}

}  // namespace parallel_detail

std::size_t AvailableCpus() {
  std::size_t cpus = parallel_detail::knownCpus.load(std::memory_order_relaxed);
  if (cpus == 0) {
    cpus = parallel_detail::countCpus();
    parallel_detail::knownCpus.store(cpus, std::memory_order_relaxed);
  }
  return cpus;
}

void StopSharingThreads() {
  if (parallel_detail::Pool* pool = parallel_detail::madePool.load()) pool->stop();
}
