// The overlap and sign-split kernels: their sums over a run of measured
// points.
//
// Every sum takes its terms in one order on every processor: the run's term i
// goes to lane i mod 8, each lane adds its terms in walk order, and the eight
// lanes are added in one fixed tree. The plain loop runs the eight lanes two
// at a time, the AVX2 loop four and the AVX-512 loop all eight. This file is
// built without fused multiply-adds, so the three give the same bits.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "platform/vector_units.h"
#include "platform/wide_vectors.h"
#include "similarity/kernel_core.h"
#include "similarity/kernel_support.h"
#include "similarity/wide_gathers.h"

namespace similarity_core {

namespace {

constexpr int SUM_LANES = 8;

template <class V>
constexpr int PartsOf = SUM_LANES / LanesOf<V>;

// The eight lanes of one sum added as ((0 + 1) + (2 + 3)) + ((4 + 5) + (6 + 7)).
template <class V>
[[gnu::always_inline]] inline double treeSum(const V (&parts)[PartsOf<V>]) {
  double lane[SUM_LANES];
  std::memcpy(lane, parts, sizeof lane);
  return ((lane[0] + lane[1]) + (lane[2] + lane[3])) + ((lane[4] + lane[5]) + (lane[6] + lane[7]));
}

// A quotient that overflowed or underflowed into something that is no value.
std::optional<double> valueOf(double numerator, double product) {
  if (product == 0.0) return std::nullopt;
  const double value = numerator / std::sqrt(product);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

struct OverlapSums {
  double SFG_ZAEHLER = 0, SFG_NENNER1 = 0, SFG_NENNER2 = 0, C_SECTION = 0;
};

struct SignSplitSums {
  double SFG_ZAEHLER_PLUS = 0, SFG_NENNER_PLUS1 = 0, SFG_NENNER_PLUS2 = 0;
  double SFG_ZAEHLER_MINUS = 0, SFG_NENNER_MINUS1 = 0, SFG_NENNER_MINUS2 = 0;
  double SUM_AREA_PLUS = 0, SUM_AREA_MINUS = 0;

  std::optional<double> result() const {
    const double plusProduct = SFG_NENNER_PLUS1 * SFG_NENNER_PLUS2;
    const double minusProduct = SFG_NENNER_MINUS1 * SFG_NENNER_MINUS2;
    const double SFG_PLUS = plusProduct == 0 ? 0.0 : SFG_ZAEHLER_PLUS / std::sqrt(plusProduct);
    const double SFG_MINUS = minusProduct == 0 ? 0.0 : SFG_ZAEHLER_MINUS / std::sqrt(minusProduct);
    const double area = SUM_AREA_PLUS + SUM_AREA_MINUS;
    if (area == 0) return std::nullopt;
    const double SUM_FG = (SUM_AREA_PLUS * SFG_PLUS + SUM_AREA_MINUS * SFG_MINUS) / area;
    if (!std::isfinite(SUM_FG)) return std::nullopt;
    return SUM_FG;
  }
};

// The lanes of the overlap sums; part p holds lanes p L .. p L + L - 1.
template <class V>
struct OverlapLanes {
  V zaehler[PartsOf<V>]{}, nenner1[PartsOf<V>]{}, nenner2[PartsOf<V>]{}, section[PartsOf<V>]{};

  [[gnu::always_inline]] void add(int p, const V& e, const V& c) {
    const V difference = e - c;
    zaehler[p] += c * e;
    nenner1[p] += e * e;
    nenner2[p] += c * c;
    section[p] += difference < 0 ? -difference : difference;
  }

  [[gnu::always_inline]] void sumInto(OverlapSums& sums) const {
    sums.SFG_ZAEHLER = treeSum<V>(zaehler);
    sums.SFG_NENNER1 = treeSum<V>(nenner1);
    sums.SFG_NENNER2 = treeSum<V>(nenner2);
    sums.C_SECTION = treeSum<V>(section);
  }
};

template <class V>
struct BitVector {
  typedef long long type __attribute__((vector_size(sizeof(V))));
};
template <class V>
using BitsOf = typename BitVector<V>::type;

// The lanes of v where mask is set, 0 in the others.
template <class V>
[[gnu::always_inline]] inline void keptLanes(V& kept, const BitsOf<V>& mask, const V& v) {
  kept = __builtin_bit_cast(V, BitsOf<V>(mask & __builtin_bit_cast(BitsOf<V>, v)));
}

// The sign-split sums of the computed values c and of their mirror image -c,
// lane by lane: each term goes to the sums its signs give it, and 0 to the
// others. The sign bits decide, so a -0 goes with the negative terms; its
// terms are all 0, which change no sum (a lane starts at +0 and so never holds
// -0). The mirror image's squares are the plain sums' with the signs of c
// swapped, so only its products and areas have sums of their own. A value
// that is no number or no finite number makes an area so, and no factor
// follows from either.
template <class V>
struct SignSplitLanes {
  V zaehlerPlus[PartsOf<V>]{}, nennerPlus1[PartsOf<V>]{}, nennerPlus2[PartsOf<V>]{};
  V zaehlerMinus[PartsOf<V>]{}, nennerMinus1[PartsOf<V>]{}, nennerMinus2[PartsOf<V>]{};
  V areaPlus[PartsOf<V>]{}, areaMinus[PartsOf<V>]{};
  V mirrorZaehlerPlus[PartsOf<V>]{}, mirrorZaehlerMinus[PartsOf<V>]{};
  V mirrorAreaPlus[PartsOf<V>]{}, mirrorAreaMinus[PartsOf<V>]{};

  [[gnu::always_inline]] void add(int p, const V& e, const V& c) {
    using Bits = BitsOf<V>;
    const Bits eMinus = __builtin_bit_cast(Bits, e) >> 63, cMinus = __builtin_bit_cast(Bits, c) >> 63;
    const V ee = e * e, cc = c * c, ce = c * e, mirrorCe = -ce;
    V ePlusPart, eMinusPart, cPlusPart, cMinusPart, term;
    keptLanes(ePlusPart, ~eMinus, e);
    keptLanes(eMinusPart, eMinus, V(-e));
    keptLanes(cPlusPart, ~cMinus, c);
    keptLanes(cMinusPart, cMinus, V(-c));
    areaPlus[p] += ePlusPart + cPlusPart;
    areaMinus[p] += eMinusPart + cMinusPart;
    mirrorAreaPlus[p] += ePlusPart + cMinusPart;
    mirrorAreaMinus[p] += eMinusPart + cPlusPart;
    keptLanes(term, Bits(~(eMinus | cMinus)), ce);
    zaehlerPlus[p] += term;
    keptLanes(term, Bits(eMinus & cMinus), ce);
    zaehlerMinus[p] += term;
    keptLanes(term, Bits(~eMinus & cMinus), mirrorCe);
    mirrorZaehlerPlus[p] += term;
    keptLanes(term, Bits(eMinus & ~cMinus), mirrorCe);
    mirrorZaehlerMinus[p] += term;
    keptLanes(term, Bits(~eMinus), ee);
    nennerPlus1[p] += term;
    keptLanes(term, eMinus, ee);
    nennerMinus1[p] += term;
    keptLanes(term, Bits(~cMinus), cc);
    nennerPlus2[p] += term;
    keptLanes(term, cMinus, cc);
    nennerMinus2[p] += term;
  }

  [[gnu::always_inline]] void sumInto(SignSplitSums& plain, SignSplitSums& mirror) const {
    plain.SFG_ZAEHLER_PLUS = treeSum<V>(zaehlerPlus);
    plain.SFG_NENNER_PLUS1 = mirror.SFG_NENNER_PLUS1 = treeSum<V>(nennerPlus1);
    plain.SFG_NENNER_PLUS2 = mirror.SFG_NENNER_MINUS2 = treeSum<V>(nennerPlus2);
    plain.SFG_ZAEHLER_MINUS = treeSum<V>(zaehlerMinus);
    plain.SFG_NENNER_MINUS1 = mirror.SFG_NENNER_MINUS1 = treeSum<V>(nennerMinus1);
    plain.SFG_NENNER_MINUS2 = mirror.SFG_NENNER_PLUS2 = treeSum<V>(nennerMinus2);
    plain.SUM_AREA_PLUS = treeSum<V>(areaPlus);
    plain.SUM_AREA_MINUS = treeSum<V>(areaMinus);
    mirror.SFG_ZAEHLER_PLUS = treeSum<V>(mirrorZaehlerPlus);
    mirror.SFG_ZAEHLER_MINUS = treeSum<V>(mirrorZaehlerMinus);
    mirror.SUM_AREA_PLUS = treeSum<V>(mirrorAreaPlus);
    mirror.SUM_AREA_MINUS = treeSum<V>(mirrorAreaMinus);
  }
};

// Adds one vector of points to the lanes' sums.
template <class Lanes, class V>
[[gnu::always_inline]] inline void addPoint(Lanes& lanes, int p, const V& e, const V& c) {
  lanes.add(p, e, c);
}

#ifdef ORVANIX_WIDE_LOOPS
// sum + term (sum - term) in the lanes of `where`; the others keep sum.
[[gnu::target("avx512f,avx512dq")]] inline void addWhere(Doubles8& sum, __mmask8 where, __m512d term) {
  sum = (Doubles8)_mm512_mask_add_pd((__m512d)sum, where, (__m512d)sum, term);
}
[[gnu::target("avx512f,avx512dq")]] inline void subtractWhere(Doubles8& sum, __mmask8 where, __m512d term) {
  sum = (Doubles8)_mm512_mask_sub_pd((__m512d)sum, where, (__m512d)sum, term);
}

// AVX-512 keeps the signs in mask registers and adds each term only to the
// sums it belongs to. Where the other loops add +0 the masked add leaves the
// lane as it is, which is the same: no lane ever holds -0. The sums of the
// areas take e + c as the others do, with a 0 part left out rather than added.
[[gnu::target("avx512f,avx512dq")]] inline void addPoint(SignSplitLanes<Doubles8>& lanes, int p, const Doubles8& ev,
                                                        const Doubles8& cv) {
  const __m512d e = (__m512d)ev, c = (__m512d)cv;
  const __mmask8 eMinus = _mm512_movepi64_mask((__m512i)e), cMinus = _mm512_movepi64_mask((__m512i)c);
  const __mmask8 ePlus = static_cast<__mmask8>(~eMinus), cPlus = static_cast<__mmask8>(~cMinus);
  const __m512d zero = _mm512_setzero_pd();
  const __m512d ee = _mm512_mul_pd(e, e), cc = _mm512_mul_pd(c, c), ce = _mm512_mul_pd(c, e);
  const __m512d ePlusPart = _mm512_maskz_mov_pd(ePlus, e);
  const __m512d eMinusPart = _mm512_maskz_sub_pd(eMinus, zero, e);
  lanes.areaPlus[p] += (Doubles8)_mm512_mask_add_pd(ePlusPart, cPlus, ePlusPart, c);
  lanes.areaMinus[p] += (Doubles8)_mm512_mask_sub_pd(eMinusPart, cMinus, eMinusPart, c);
  lanes.mirrorAreaPlus[p] += (Doubles8)_mm512_mask_sub_pd(ePlusPart, cMinus, ePlusPart, c);
  lanes.mirrorAreaMinus[p] += (Doubles8)_mm512_mask_add_pd(eMinusPart, cPlus, eMinusPart, c);
  addWhere(lanes.zaehlerPlus[p], static_cast<__mmask8>(ePlus & cPlus), ce);
  addWhere(lanes.zaehlerMinus[p], static_cast<__mmask8>(eMinus & cMinus), ce);
  subtractWhere(lanes.mirrorZaehlerPlus[p], static_cast<__mmask8>(ePlus & cMinus), ce);
  subtractWhere(lanes.mirrorZaehlerMinus[p], static_cast<__mmask8>(eMinus & cPlus), ce);
  addWhere(lanes.nennerPlus1[p], ePlus, ee);
  addWhere(lanes.nennerMinus1[p], eMinus, ee);
  addWhere(lanes.nennerPlus2[p], cPlus, cc);
  addWhere(lanes.nennerMinus2[p], cMinus, cc);
}
#endif

// Hands addPoint every point of the run with its computed value, eight
// points a step. The computed values are read from the grid as the points
// come, so no buffer is filled first. Lanes past the last point get terms of
// exactly 0: a measured and a computed value of 0.
template <IndexForm form, class V, class Lanes>
[[gnu::always_inline]] inline void sumRun(Grid grid, const PreparedPoints& points, PointRun run, double SCALE,
                                          double position, Lanes& lanes) {
  constexpr int L = LanesOf<V>;
  const double* key = points.key.data() + run.first;
  const double* y = points.y.data() + run.first;
  const int count = run.end - run.first;
  const int whole = count - count % SUM_LANES;
  for (int k = 0; k < whole; k += SUM_LANES) {
    for (int p = 0; p < PartsOf<V>; ++p) {
      V pointKey, e, c;
      std::memcpy(&pointKey, key + k + p * L, sizeof pointKey);
      std::memcpy(&e, y + k + p * L, sizeof e);
      computedLanes<form>(grid, pointKey, SCALE, position, c);
      addPoint(lanes, p, e, c);
    }
  }
  if (whole == count) return;
  double tailKey[SUM_LANES], tailY[SUM_LANES] = {}, tailC[SUM_LANES];
  for (int j = 0; j < SUM_LANES; ++j) tailKey[j] = key[std::min(whole + j, count - 1)];
  for (int j = 0; whole + j < count; ++j) tailY[j] = y[whole + j];
  for (int p = 0; p < PartsOf<V>; ++p) {
    V pointKey, c;
    std::memcpy(&pointKey, tailKey + p * L, sizeof pointKey);
    computedLanes<form>(grid, pointKey, SCALE, position, c);
    std::memcpy(tailC + p * L, &c, sizeof c);
  }
  for (int j = count - whole; j < SUM_LANES; ++j) tailC[j] = 0.0;
  for (int p = 0; p < PartsOf<V>; ++p) {
    V e, c;
    std::memcpy(&e, tailY + p * L, sizeof e);
    std::memcpy(&c, tailC + p * L, sizeof c);
    addPoint(lanes, p, e, c);
  }
}

// sumRun with the points' form as a compile-time constant (no lambda: it
// would not be built for the loop's width).
template <class V, class Lanes>
[[gnu::always_inline]] inline void sumRunOfForm(Grid grid, const PreparedPoints& points, PointRun run,
                                                double SCALE, double position, Lanes& lanes) {
  switch (points.form) {
    case IndexForm::Shift:
      sumRun<IndexForm::Shift, V>(grid, points, run, SCALE, position, lanes);
      return;
    case IndexForm::Scale:
      sumRun<IndexForm::Scale, V>(grid, points, run, SCALE, position, lanes);
      return;
    case IndexForm::IrScale:
      break;
  }
  sumRun<IndexForm::IrScale, V>(grid, points, run, SCALE, position, lanes);
}

template <class V>
[[gnu::always_inline]] inline void overlapSumsOf(Grid grid, const PreparedPoints& points, PointRun run,
                                                 double SCALE, double position, OverlapSums& sums) {
  OverlapLanes<V> lanes;
  sumRunOfForm<V>(grid, points, run, SCALE, position, lanes);
  lanes.sumInto(sums);
}

template <class V>
[[gnu::always_inline]] inline void signSplitSumsOf(Grid grid, const PreparedPoints& points, PointRun run,
                                                   double SCALE, double position, SignSplitSums& plain,
                                                   SignSplitSums& mirror) {
  SignSplitLanes<V> lanes;
  sumRunOfForm<V>(grid, points, run, SCALE, position, lanes);
  lanes.sumInto(plain, mirror);
}

void overlapSumsPlain(Grid grid, const PreparedPoints& points, PointRun run, double SCALE, double position,
                      OverlapSums& sums) {
  overlapSumsOf<Doubles2>(grid, points, run, SCALE, position, sums);
}
void signSplitSumsPlain(Grid grid, const PreparedPoints& points, PointRun run, double SCALE, double position,
                        SignSplitSums& plain, SignSplitSums& mirror) {
  signSplitSumsOf<Doubles2>(grid, points, run, SCALE, position, plain, mirror);
}

#ifdef ORVANIX_WIDE_LOOPS

[[gnu::target("avx2")]] void overlapSumsAvx2(Grid grid, const PreparedPoints& points, PointRun run, double SCALE,
                                             double position, OverlapSums& sums) {
  overlapSumsOf<Doubles4>(grid, points, run, SCALE, position, sums);
}
[[gnu::target("avx512f,avx512dq")]] void overlapSumsAvx512(Grid grid, const PreparedPoints& points, PointRun run,
                                                           double SCALE, double position, OverlapSums& sums) {
  overlapSumsOf<Doubles8>(grid, points, run, SCALE, position, sums);
}
[[gnu::target("avx2")]] void signSplitSumsAvx2(Grid grid, const PreparedPoints& points, PointRun run, double SCALE,
                                               double position, SignSplitSums& plain, SignSplitSums& mirror) {
  signSplitSumsOf<Doubles4>(grid, points, run, SCALE, position, plain, mirror);
}
[[gnu::target("avx512f,avx512dq")]] void signSplitSumsAvx512(Grid grid, const PreparedPoints& points,
                                                             PointRun run, double SCALE, double position,
                                                             SignSplitSums& plain, SignSplitSums& mirror) {
  signSplitSumsOf<Doubles8>(grid, points, run, SCALE, position, plain, mirror);
}

#endif

}  // namespace

OverlapValues overlapKernels(Grid grid, const PreparedPoints& points, PointRun run, double SCALE, double position) {
  OverlapValues values;
  if (run.empty()) return values;
  ClearUpperVectorState();
  OverlapSums sums;
  ORVANIX_WIDEST_LOOP(overlapSums)(grid, points, run, SCALE, position, sums);
  if (std::isfinite(sums.C_SECTION)) values.crossSection = sums.C_SECTION;
  values.overlap = valueOf(sums.SFG_ZAEHLER, sums.SFG_NENNER1 * sums.SFG_NENNER2);
  return values;
}

SignSplitValues signSplitKernels(Grid grid, const PreparedPoints& points, PointRun run, double SCALE,
                                 double position) {
  if (!run.reachesInside || run.empty()) return {};
  ClearUpperVectorState();
  SignSplitSums plain, mirror;
  ORVANIX_WIDEST_LOOP(signSplitSums)(grid, points, run, SCALE, position, plain, mirror);
  return {plain.result(), mirror.result()};
}

}  // namespace similarity_core
