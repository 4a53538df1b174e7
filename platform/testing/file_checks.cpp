#include "platform/testing/file_checks.h"

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <filesystem>

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
