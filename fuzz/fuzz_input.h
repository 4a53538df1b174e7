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

// Writes the bytes as the file `name` of the run's folder and returns its
// path. The folder is in memory where the system has such a place: a file
// written thousands of times a second to a disk costs more than its parse.
inline std::string inputFile(const uint8_t* data, size_t size, const std::string& name) {
  static const std::string folder = [] {
    for (const char* place : {"/dev/shm", "/tmp"}) {
      std::string pattern = std::string(place) + "/orvanix-fuzz-XXXXXX";
      if (mkdtemp(pattern.data()) != nullptr) return pattern;
    }
    std::abort();
  }();
  const std::string path = folder + "/" + name;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
  std::fclose(file);
  return path;
}
