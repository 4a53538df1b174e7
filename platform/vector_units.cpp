#include "platform/vector_units.h"

#include <algorithm>
#include <atomic>

#if defined(__x86_64__)
#include <immintrin.h>
#define ORVANIX_X86_64 1
#endif

namespace {

struct Processor {
  bool avx = false;
  VectorWidth widest = VectorWidth::Baseline;
};

const Processor& processor() {
  static const Processor found = [] {
    Processor p;
#ifdef ORVANIX_X86_64
    // These also check that the operating system saves the wide registers.
    __builtin_cpu_init();
    p.avx = __builtin_cpu_supports("avx");
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma")) p.widest = VectorWidth::Avx2;
    if (p.widest == VectorWidth::Avx2 && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq"))
      p.widest = VectorWidth::Avx512;
#endif
    return p;
  }();
  return found;
}

std::atomic<VectorWidth> limit{VectorWidth::Avx512};

#ifdef ORVANIX_X86_64
[[gnu::target("avx")]] void zeroUpper() { _mm256_zeroupper(); }
#endif

}  // namespace

VectorWidth KernelVectorWidth() { return std::min(processor().widest, limit.load(std::memory_order_relaxed)); }

void LimitKernelVectorWidth(VectorWidth widest) { limit.store(widest, std::memory_order_relaxed); }

VectorWidth KernelVectorWidthLimit() { return limit.load(std::memory_order_relaxed); }

void ClearUpperVectorState() {
#ifdef ORVANIX_X86_64
  if (processor().avx) zeroUpper();
#endif
}
