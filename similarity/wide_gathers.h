// The computed values of a vector of measured points: their grid indexes
// lane by lane, bit for bit as gridIndex gives them, and the grid's values
// read there (0 off the grid). For the kernels' file only: every function
// here is built into a loop for one width.
#pragma once

#include <limits>

#include "platform/wide_vectors.h"
#include "similarity/kernel_support.h"

#ifdef ORVANIX_WIDE_LOOPS
#include <immintrin.h>
#endif

namespace similarity_core {

// The grid's values at the offsets that lie on it, 0 at the others (and at
// offsets that are no number). Off-grid lanes are never read.
[[gnu::always_inline]] inline void gatherOnGrid(Doubles2& v, const double* values, const Doubles2& offset,
                                                double size) {
  for (int j = 0; j < 2; ++j)
    v[j] = offset[j] >= 0.0 && offset[j] < size ? values[static_cast<std::size_t>(offset[j])] : 0.0;
}

#ifdef ORVANIX_WIDE_LOOPS

// Off-grid lanes are masked out of the gather, so that the comparison stays
// in the vector registers.
[[gnu::target("avx2")]] inline void gatherOnGrid(Doubles4& v, const double* values,
                                                                        const Doubles4& offset, double size) {
  const __m256d onGrid = _mm256_and_pd(_mm256_cmp_pd(offset, _mm256_setzero_pd(), _CMP_GE_OQ),
                                       _mm256_cmp_pd(offset, _mm256_set1_pd(size), _CMP_LT_OQ));
  const __m128i index = _mm256_cvttpd_epi32(_mm256_and_pd(offset, onGrid));
  v = _mm256_mask_i32gather_pd(_mm256_setzero_pd(), values, index, onGrid, 8);
}
// Neighbouring points mostly read neighbouring grid values: when all eight
// lie on the grid within sixteen values from the lower of the first and the
// last lane's (the points ascend or descend), two loads and a permutation read
// the same values as the gather, at a fraction of its cost. Sixteen values
// hold eight points of a curve with a point per grid step up to a scale of
// about two.
[[gnu::target("avx512f,avx512dq")]] inline void gatherOnGrid(Doubles8& v, const double* values,
                                                            const Doubles8& offset, double size) {
  const __mmask8 onGrid = _mm512_cmp_pd_mask(offset, _mm512_setzero_pd(), _CMP_GE_OQ) &
                          _mm512_cmp_pd_mask(offset, _mm512_set1_pd(size), _CMP_LT_OQ);
  if (onGrid == 0xff) {
    const long long low = static_cast<long long>(offset[0] < offset[7] ? offset[0] : offset[7]);
    const __m512i step = _mm512_sub_epi64(_mm512_maskz_cvttpd_epi64(0xff, offset), _mm512_set1_epi64(low));
    if (_mm512_cmplt_epu64_mask(step, _mm512_set1_epi64(16)) == 0xff && static_cast<double>(low + 16) <= size) {
      v = _mm512_permutex2var_pd(_mm512_loadu_pd(values + low), step, _mm512_loadu_pd(values + low + 8));
      return;
    }
  }
  const __m256i index = _mm512_maskz_cvttpd_epi32(onGrid, offset);
  v = _mm512_mask_i32gather_pd(_mm512_setzero_pd(), onGrid, index, values, 8);
}

#endif

// nearestHalfEven lane by lane, bit for bit.
template <class V>
[[gnu::always_inline]] inline void nearestHalfEvenLanes(V& value) {
  typedef long long Bits __attribute__((vector_size(sizeof(V))));
  const V magnitude = value < 0 ? -value : value;
  const V rounded = (magnitude + TWO_TO_52) - TWO_TO_52;
  const Bits sign = __builtin_bit_cast(Bits, value) & std::numeric_limits<long long>::min();
  const V withSign = __builtin_bit_cast(V, Bits(__builtin_bit_cast(Bits, rounded) | sign));
  value = magnitude < TWO_TO_52 ? withSign : value;
}

#ifdef ORVANIX_WIDE_LOOPS
// The processor's own rounding to the nearest integer, halves to even, gives
// the same bits in one instruction.
[[gnu::target("avx2")]] inline void nearestHalfEvenLanes(Doubles4& value) {
  value = (Doubles4)_mm256_round_pd((__m256d)value, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
}
[[gnu::target("avx512f,avx512dq")]] inline void nearestHalfEvenLanes(Doubles8& value) {
  value = (Doubles8)_mm512_maskz_roundscale_pd(0xff, (__m512d)value, _MM_FROUND_TO_NEAREST_INT | _MM_FROUND_NO_EXC);
}
#endif

// SCALE times the grid value of each lane's point, the lanes holding the
// points' keys: what SCALE * gridValue(grid, gridIndex(...)) gives.
template <IndexForm form, class V>
[[gnu::always_inline]] inline void computedLanes(Grid grid, const V& key, double SCALE, double position, V& c) {
  V index = key;
  if constexpr (form == IndexForm::Shift) index = index - 10.0 * position;
  if constexpr (form == IndexForm::Scale) {
    index = (index * position) * 10.0;
    nearestHalfEvenLanes(index);
  }
  if constexpr (form == IndexForm::IrScale) {
    index = index / position;
    nearestHalfEvenLanes(index);
  }
  V value;
  gatherOnGrid(value, grid.values.data(), V(index - static_cast<double>(grid.firstIndex)),
               static_cast<double>(grid.values.size()));
  c = SCALE * value;
}

}  // namespace similarity_core
