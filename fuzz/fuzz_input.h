// What every fuzz target may use: one choice per input that stays the same
// when the input is replayed, and, for the direct targets that call the
// plain functions reading a path, the input's bytes as a file in a folder of
// the run's own. The direct targets run no session: each input costs a
// parse, not a redraw.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

// One of `count` choices for an input, the same every time the input runs
// (so a crash found replays): one reader per input keeps the runs fast, and
// the mutations of a seed spread over every choice.
inline size_t choiceFor(const uint8_t* data, size_t size, size_t count) {
  uint64_t hash = 1469598103934665603ULL;
  for (size_t i = 0; i < size; ++i) hash = (hash ^ data[i]) * 1099511628211ULL;
  return static_cast<size_t>(hash % count);
}

// The folder of the run's input file, in memory where the system has such
// a place (a file written thousands of times a second to a disk costs more
// than its parse); the folder and its file go when the run ends.
class InputFolder {
 public:
  InputFolder() {
    for (const char* place : {"/dev/shm", "/tmp"}) {
      std::string pattern = std::string(place) + "/orvanix-fuzz-XXXXXX";
      if (mkdtemp(pattern.data()) == nullptr) continue;
      folder_ = pattern;
      return;
    }
    std::abort();
  }
  ~InputFolder() {
    if (!file_.empty()) std::remove(file_.c_str());
    std::remove(folder_.c_str());
  }
  InputFolder(const InputFolder&) = delete;
  InputFolder& operator=(const InputFolder&) = delete;

  // The path of the file `name`, which replaces the file of an earlier name.
  const std::string& file(const std::string& name) {
    const std::string path = folder_ + "/" + name;
    if (!file_.empty() && file_ != path) std::remove(file_.c_str());
    file_ = path;
    return file_;
  }

 private:
  std::string folder_;
  std::string file_;
};

// Writes the bytes as the file `name` of the run's folder and returns its
// path.
inline std::string inputFile(const uint8_t* data, size_t size, const std::string& name) {
  static InputFolder folder;
  const std::string path = folder.file(name);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
  std::fclose(file);
  return path;
}
