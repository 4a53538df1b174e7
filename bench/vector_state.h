// What a parse or a paint leaves behind: the C library's string routines,
// which on AVX-512 processors use the upper halves of the vector registers.
// A benchmark calls this before the code it times, so that a loop that would
// slow down in that state is seen to.
#pragma once

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

inline void DirtyVectorState() {
  static std::vector<char> from(std::size_t{4} << 20, 'x');
  static std::vector<char> to(from.size());
  from.back() = '\0';
  std::memcpy(to.data(), from.data(), from.size());
  benchmark::DoNotOptimize(std::strlen(to.data()));
  benchmark::ClobberMemory();
}
