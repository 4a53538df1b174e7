#include "display/exponential.h"

#include <algorithm>

#include "platform/vector_units.h"
#include "platform/wide_vectors.h"

double Exponential(double x) {
  ExponentialInPlace(x);
  return x;
}

namespace {

using ExponentialLoop = void (*)(const double* x, double* out, std::size_t count);

void exponentialsPlain(const double* x, double* out, std::size_t count) {
  for (std::size_t k = 0; k < count; ++k) out[k] = Exponential(x[k]);
}

#ifdef ORVANIX_WIDE_LOOPS

template <class V>
[[gnu::always_inline]] inline void exponentialsWide(const double* x, double* out, std::size_t count) {
  for (std::size_t k = 0; k < count; k += LanesOf<V>) {
    V v;
    LoadLanes(v, x, k, count);
    ExponentialInPlace(v);
    StoreLanes(out, k, count, v);
  }
}

[[gnu::target("avx2")]] void exponentialsAvx2(const double* x, double* out, std::size_t count) {
  exponentialsWide<Doubles4>(x, out, count);
}
[[gnu::target("avx512f,avx512dq")]] void exponentialsAvx512(const double* x, double* out, std::size_t count) {
  exponentialsWide<Doubles8>(x, out, count);
}

#endif

}  // namespace

void Exponentials(std::span<const double> x, std::span<double> out) {
  ClearUpperVectorState();
  ORVANIX_WIDEST_LOOP(exponentials)(x.data(), out.data(), std::min(x.size(), out.size()));
}
