// Vectors of doubles for the loops built for AVX2 and AVX-512 (see
// vector_units.h): GCC/clang vector types, and loads and stores that stop at
// the end of an array. The types are the compilers' own and build for any
// processor (a function built for the baseline runs them two lanes at a
// time); only functions built for their target use the wide ones. Vectors
// pass by reference so that none crosses a function built for any processor.
#pragma once

#include <algorithm>
#include <cstring>

#include "platform/vector_units.h"

typedef double Doubles2 __attribute__((vector_size(16)));
typedef double Doubles4 __attribute__((vector_size(32)));
typedef double Doubles8 __attribute__((vector_size(64)));

template <class V>
constexpr int LanesOf = static_cast<int>(sizeof(V) / sizeof(double));

// Elements k..k + lanes - 1 of values[0..count - 1]; past the end the last
// element is repeated.
template <class V, class Index>
[[gnu::always_inline]] inline void LoadLanes(V& v, const double* values, Index k, Index count) {
  if (count - k >= LanesOf<V>) {
    std::memcpy(&v, values + k, sizeof v);
  } else {
    for (int j = 0; j < LanesOf<V>; ++j) v[j] = values[std::min<Index>(k + j, count - 1)];
  }
}

// Stores only the lanes that lie inside values[0..count - 1].
template <class V, class Index>
[[gnu::always_inline]] inline void StoreLanes(double* values, Index k, Index count, const V& v) {
  if (count - k >= LanesOf<V>) {
    std::memcpy(values + k, &v, sizeof v);
  } else {
    for (int j = 0; k + j < count; ++j) values[k + j] = v[j];
  }
}

#if defined(__x86_64__)
#include <immintrin.h>

// The same loads and stores for the wide loops: the lanes past the end are
// masked out, so that the last vector of a row costs one instruction and no
// copy through memory.
template <class Index>
[[gnu::target("avx2")]] inline void LoadLanes(Doubles4& v, const double* values, Index k, Index count) {
  if (count - k >= 4) {
    std::memcpy(&v, values + k, sizeof v);
    return;
  }
  const __m256i inside =
      _mm256_cmpgt_epi64(_mm256_set1_epi64x(static_cast<long long>(count - k)), _mm256_setr_epi64x(0, 1, 2, 3));
  v = (Doubles4)_mm256_blendv_pd(_mm256_set1_pd(values[count - 1]), _mm256_maskload_pd(values + k, inside),
                                 _mm256_castsi256_pd(inside));
}
template <class Index>
[[gnu::target("avx2")]] inline void StoreLanes(double* values, Index k, Index count, const Doubles4& v) {
  if (count - k >= 4) {
    std::memcpy(values + k, &v, sizeof v);
    return;
  }
  const __m256i inside =
      _mm256_cmpgt_epi64(_mm256_set1_epi64x(static_cast<long long>(count - k)), _mm256_setr_epi64x(0, 1, 2, 3));
  _mm256_maskstore_pd(values + k, inside, (__m256d)v);
}
template <class Index>
[[gnu::target("avx512f")]] inline void LoadLanes(Doubles8& v, const double* values, Index k, Index count) {
  if (count - k >= 8) {
    std::memcpy(&v, values + k, sizeof v);
    return;
  }
  const __mmask8 inside = static_cast<__mmask8>((1u << (count - k)) - 1u);
  v = (Doubles8)_mm512_mask_loadu_pd(_mm512_set1_pd(values[count - 1]), inside, values + k);
}
template <class Index>
[[gnu::target("avx512f")]] inline void StoreLanes(double* values, Index k, Index count, const Doubles8& v) {
  if (count - k >= 8) {
    std::memcpy(values + k, &v, sizeof v);
    return;
  }
  _mm512_mask_storeu_pd(values + k, static_cast<__mmask8>((1u << (count - k)) - 1u), (__m512d)v);
}
#endif

#if defined(__x86_64__)
#define ORVANIX_WIDE_LOOPS 1

// The version of a loop for the widest vectors the processor runs.
template <class Loop>
Loop WidestLoop(Loop baseline, Loop avx2, Loop avx512) {
  switch (KernelVectorWidth()) {
    case VectorWidth::Avx512:
      return avx512;
    case VectorWidth::Avx2:
      return avx2;
    case VectorWidth::Baseline:
      break;
  }
  return baseline;
}

// The widest of the loops <name>Plain, <name>Avx2 and <name>Avx512.
#define ORVANIX_WIDEST_LOOP(name) WidestLoop(name##Plain, name##Avx2, name##Avx512)

#else

#define ORVANIX_WIDEST_LOOP(name) name##Plain

#endif
