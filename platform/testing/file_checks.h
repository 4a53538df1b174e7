// What tests of file writing need: a disk that fills up, the names a folder
// holds afterwards, and named pipes that must not hold the program.
#pragma once

#include <functional>
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

// Makes a named pipe (nobody writes into it, nobody reads from it).
void makePipe(const std::string& path);

// Runs `action` on a thread of its own and gives it five seconds. When it is
// still running then (an open, read or write waiting on one of `pipes`), the
// pipes are opened from here to set it going again, it is waited for, and
// the result is false: a regression fails the test instead of hanging it.
bool EndsInTime(const std::vector<std::string>& pipes, const std::function<void()>& action);
