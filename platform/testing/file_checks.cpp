#include "platform/testing/file_checks.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <future>
#include <stdexcept>

FileSizeLimit::FileSizeLimit(unsigned long bytes) {
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  savedLimit_ = limit.rlim_cur;
  // The signal would end the test; ignored, the write fails with EFBIG.
  savedHandler_ = std::signal(SIGXFSZ, SIG_IGN);
  limit.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
  rlimit limit{};
  getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = savedLimit_;
  setrlimit(RLIMIT_FSIZE, &limit);
  std::signal(SIGXFSZ, savedHandler_);
}

std::vector<std::string> folderNames(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void makePipe(const std::string& path) {
  if (mkfifo(path.c_str(), 0644) != 0) throw std::runtime_error("cannot make the pipe " + path);
}

bool EndsInTime(const std::vector<std::string>& pipes, const std::function<void()>& action) {
  using namespace std::chrono_literals;
  std::future<void> done = std::async(std::launch::async, action);
  if (done.wait_for(5s) == std::future_status::ready) {
    done.get();
    return true;
  }
  // A writer freed this way finds no reader left: its write fails instead
  // of ending the test.
  std::signal(SIGPIPE, SIG_IGN);
  while (done.wait_for(50ms) != std::future_status::ready)
    for (const std::string& pipe : pipes) {
      // Read and write at once: frees a blocked open of either kind, and
      // the close gives a blocked read its end of file.
      const int descriptor = open(pipe.c_str(), O_RDWR | O_NONBLOCK);
      if (descriptor < 0) continue;
      char drain[4096];
      while (read(descriptor, drain, sizeof drain) > 0) {
      }
      close(descriptor);
    }
  done.get();
  return false;
}
