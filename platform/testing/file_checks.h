// What tests of file writing need: a disk that fills up, and the names a
// folder holds afterwards.
#pragma once

#include <string>
#include <vector>

// While it lives, no file of this process may grow past `bytes`: a write
// beyond fails with "File too large", as one onto a full disk fails.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(unsigned long bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  unsigned long savedLimit_;
  void (*savedHandler_)(int);
};

// The names in a folder, sorted (to see that no temporary file was left).
std::vector<std::string> folderNames(const std::string& folder);
