#include "similarity/kernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

#include "platform/vector_units.h"
#include "platform/wide_vectors.h"
#include "similarity/kernel_core.h"

#ifdef ORVANIX_WIDE_LOOPS
#include <immintrin.h>
#endif

namespace {

constexpr double TWO_TO_52 = 4503599627370496.0;
constexpr double WAVENUMBER_PER_NM = 10000000.0;

}  // namespace

namespace {

// Adding and taking away 2^52 leaves the integer nearest to a magnitude below
// 2^52, halves to even; from 2^52 on every double is an integer already.
inline double nearestHalfEven(double value) {
  const double magnitude = std::fabs(value);
  if (!(magnitude < TWO_TO_52)) return value;
  return std::copysign((magnitude + TWO_TO_52) - TWO_TO_52, value);
}

}  // namespace

double roundHalfEven(double value) { return nearestHalfEven(value); }

int MeasuredPoints::size() const {
  const std::size_t held = std::min(x.size(), y.size());
  return std::max(0, std::min(count, static_cast<int>(std::min<std::size_t>(held, 1u << 30))));
}

// ---- Trial band spectra ----------------------------------------------------------

void trialUvBand(std::span<const double> osc, double sigma, BandShape shape, std::span<double> band) {
  broadenUvEcd(UvEcdKind::Uv, osc.first(std::min(osc.size(), UVECD_TRIAL_SIZE)), sigma, shape,
               band.first(std::min(band.size(), UVECD_TRIAL_SIZE)), {}, /*uvNormalisation*/ 1.0);
}

void trialCdBand(std::span<const double> rots, double sigma, BandShape shape, std::span<double> band) {
  broadenUvEcd(UvEcdKind::Ecd, rots.first(std::min(rots.size(), UVECD_TRIAL_SIZE)), sigma, shape,
               band.first(std::min(band.size(), UVECD_TRIAL_SIZE)));
}

void trialIrBand(std::span<const double> wavenumbers, std::span<const double> strengths, double gamma,
                 std::span<double> band) {
  broadenIrVcd(IrVcdKind::Ir, wavenumbers, strengths, gamma, band);
}

void trialVcdBand(std::span<const double> wavenumbers, std::span<const double> strengths, double gamma,
                  std::span<double> band) {
  broadenIrVcd(IrVcdKind::Vcd, wavenumbers, strengths, gamma, band);
}

// ---- Walks and kernels -----------------------------------------------------------

namespace similarity_core {

PreparedPoints prepare(const MeasuredPoints& points, IndexForm form) {
  PreparedPoints prepared;
  prepared.form = form;
  const int n = points.size();
  prepared.key.resize(n);
  prepared.y.assign(points.y.begin(), points.y.begin() + n);
  for (int i = 0; i < n; ++i) {
    const double x = points.x[i];
    prepared.key[i] = form == IndexForm::Shift ? roundHalfEven(10.0 * x)
                      : form == IndexForm::Scale ? x
                                                 : roundHalfEven(x);
  }
  return prepared;
}

namespace {

double wavenumberOf(double x) { return WAVENUMBER_PER_NM / x; }

// The first point (from 0) for which `reached` holds, n when none does.
template <class Reached>
int firstPoint(int n, const Reached& reached) {
  int i = 0;
  while (i < n && !reached(i)) ++i;
  return i;
}

}  // namespace

PointRun walkA(const MeasuredPoints& points, int X1, int X2) {
  const int n = points.size();
  const int first = firstPoint(n, [&](int i) { return !(points.x[i] > X2); });
  int end = first;
  while (end < n && points.x[end] > X1) ++end;
  return {first, end, end > first};
}

PointRun walkAPrime(const MeasuredPoints& points, int X1, int X2) {
  const int n = points.size();
  const int first = firstPoint(n, [&](int i) { return !(wavenumberOf(points.x[i]) < X2); });
  int end = first;
  while (end < n && wavenumberOf(points.x[end]) < X1) ++end;
  return {first, end, end > first};
}

namespace {

template <class Inside>
PointRun withInsideTest(PointRun run, const Inside& inside) {
  for (int i = run.first; i < run.end && !run.reachesInside; ++i) run.reachesInside = inside(i);
  return run;
}

// Walks B and B': from one point before the first inside (point 1 at the
// least) to the first at or past the short edge (point N at the most).
template <class InsideLong, class PastShort>
PointRun stepBackRun(int n, const InsideLong& insideLong, const PastShort& pastShort) {
  if (n == 0) return {0, 0};
  const int first = std::max(firstPoint(n, insideLong) - 1, 0);
  const int last = std::min(firstPoint(n, pastShort), n - 1);
  return withInsideTest({first, last + 1}, [&](int i) { return insideLong(i) && !pastShort(i); });
}

}  // namespace

PointRun walkB(const MeasuredPoints& points, int X1, int X2) {
  return stepBackRun(
      points.size(), [&](int i) { return points.x[i] <= X2; }, [&](int i) { return points.x[i] <= X1; });
}

PointRun walkBPrime(const MeasuredPoints& points, int X1, int X2) {
  return stepBackRun(
      points.size(), [&](int i) { return wavenumberOf(points.x[i]) >= X2; },
      [&](int i) { return wavenumberOf(points.x[i]) >= X1; });
}

PointRun walkBDoublePrime(const MeasuredPoints& points, int X1, int X2) {
  const int n = points.size();
  if (n == 0) return {0, 0};
  const int first = firstPoint(n, [&](int i) { return points.x[i] <= X2; });
  int last = 0;
  while (points.x[last] > X1 && last < n - 1) ++last;
  return withInsideTest({first, last + 1}, [&](int i) { return X1 < points.x[i] && points.x[i] <= X2; });
}

namespace {

// The grid index of point i as a double: not finite or far off the grid when
// the arithmetic says so, never an integer overflow. The form is a template
// argument so that the kernels' loops carry no switch.
template <IndexForm form>
inline double gridIndex(const double* key, int i, double position) {
  if constexpr (form == IndexForm::Shift) return key[i] - 10.0 * position;
  if constexpr (form == IndexForm::Scale) return nearestHalfEven((key[i] * position) * 10.0);
  return nearestHalfEven(key[i] / position);
}

// Calls body with the form of the points as a compile-time constant.
template <class Body>
auto withForm(IndexForm form, const Body& body) {
  switch (form) {
    case IndexForm::Shift:
      return body(std::integral_constant<IndexForm, IndexForm::Shift>{});
    case IndexForm::Scale:
      return body(std::integral_constant<IndexForm, IndexForm::Scale>{});
    case IndexForm::IrScale:
      break;
  }
  return body(std::integral_constant<IndexForm, IndexForm::IrScale>{});
}

inline double gridValue(Grid grid, double index) {
  const double offset = index - grid.firstIndex;
  if (offset >= 0.0 && offset < static_cast<double>(grid.values.size()))
    return grid.values[static_cast<std::size_t>(offset)];
  return 0.0;
}

// A quotient that overflowed or underflowed into something that is no value.
std::optional<double> valueOf(double numerator, double product) {
  if (product == 0.0) return std::nullopt;
  const double value = numerator / std::sqrt(product);
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

struct SignSplitSums {
  double SFG_ZAEHLER_PLUS = 0, SFG_NENNER_PLUS1 = 0, SFG_NENNER_PLUS2 = 0;
  double SFG_ZAEHLER_MINUS = 0, SFG_NENNER_MINUS1 = 0, SFG_NENNER_MINUS2 = 0;
  double SUM_AREA_PLUS = 0, SUM_AREA_MINUS = 0;

  void add(double e, double c) {
    if (e >= 0 && c >= 0) {
      SUM_AREA_PLUS += e + c;
      SFG_ZAEHLER_PLUS += c * e;
      SFG_NENNER_PLUS1 += e * e;
      SFG_NENNER_PLUS2 += c * c;
    } else if (e < 0 && c < 0) {
      SUM_AREA_MINUS += std::fabs(e) + std::fabs(c);
      SFG_ZAEHLER_MINUS += c * e;
      SFG_NENNER_MINUS1 += e * e;
      SFG_NENNER_MINUS2 += c * c;
    } else if (e < 0) {
      SUM_AREA_MINUS += std::fabs(e);
      SUM_AREA_PLUS += c;
      SFG_NENNER_MINUS1 += e * e;
      SFG_NENNER_PLUS2 += c * c;
    } else {
      SUM_AREA_PLUS += e;
      SUM_AREA_MINUS += std::fabs(c);
      SFG_NENNER_PLUS1 += e * e;
      SFG_NENNER_MINUS2 += c * c;
    }
  }

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

#ifdef ORVANIX_WIDE_LOOPS

// The grid's values at the offsets that lie on it, 0 at the others (and at
// offsets that are no number). Off-grid lanes are masked out of the gather,
// so nothing outside the grid is ever read.
[[gnu::target("avx2")]] inline void gatherOnGrid(Doubles4& v, const double* values, const Doubles4& offset,
                                                 double size) {
  const __m256d onGrid = _mm256_and_pd(_mm256_cmp_pd(offset, _mm256_setzero_pd(), _CMP_GE_OQ),
                                       _mm256_cmp_pd(offset, _mm256_set1_pd(size), _CMP_LT_OQ));
  const __m128i index = _mm256_cvttpd_epi32(_mm256_and_pd(offset, onGrid));
  v = _mm256_mask_i32gather_pd(_mm256_setzero_pd(), values, index, onGrid, 8);
}
[[gnu::target("avx512f,avx512dq")]] inline void gatherOnGrid(Doubles8& v, const double* values,
                                                            const Doubles8& offset, double size) {
  const __mmask8 onGrid = _mm512_cmp_pd_mask(offset, _mm512_setzero_pd(), _CMP_GE_OQ) &
                          _mm512_cmp_pd_mask(offset, _mm512_set1_pd(size), _CMP_LT_OQ);
  const __m256i index = _mm512_maskz_cvttpd_epi32(onGrid, offset);
  v = _mm512_mask_i32gather_pd(_mm512_setzero_pd(), onGrid, index, values, 8);
}

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

// The same values as computedValuesPlain, every point read from the grid.
template <class V, IndexForm form>
[[gnu::always_inline]] inline void computedValuesWide(Grid grid, const double* key, PointRun run, double SCALE,
                                                      double position, double* c) {
  const int count = run.end - run.first;
  const double size = static_cast<double>(grid.values.size());
  const double firstIndex = grid.firstIndex;
  for (int k = 0; k < count; k += LanesOf<V>) {
    V index;
    LoadLanes(index, key + run.first, k, count);
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
    gatherOnGrid(value, grid.values.data(), V(index - firstIndex), size);
    StoreLanes(c, k, count, V(SCALE * value));
  }
}

template <IndexForm form>
[[gnu::target("avx2")]] void computedValuesAvx2(Grid grid, const double* key, PointRun run, double SCALE,
                                                double position, double* c) {
  computedValuesWide<Doubles4, form>(grid, key, run, SCALE, position, c);
}

template <IndexForm form>
[[gnu::target("avx512f,avx512dq")]] void computedValuesAvx512(Grid grid, const double* key, PointRun run,
                                                              double SCALE, double position, double* c) {
  computedValuesWide<Doubles8, form>(grid, key, run, SCALE, position, c);
}

#endif

// Calls body(i, c) for each point i of the run in order, c its computed value
// SCALE x grid value.
template <class Body>
void forEachComputedValue(Grid grid, const PreparedPoints& points, PointRun run, double SCALE, double position,
                          const Body& body) {
  const double* key = points.key.data();
  withForm(points.form, [&](auto form) {
    // Neighbouring points often share their key (IR: the whole wavenumber),
    // and so their computed value.
    double lastKey = std::numeric_limits<double>::quiet_NaN();
    double c = 0;
    for (int i = run.first; i < run.end; ++i) {
      if (!(key[i] == lastKey)) {
        lastKey = key[i];
        c = SCALE * gridValue(grid, gridIndex<form()>(key, i, position));
      }
      body(i, c);
    }
  });
}

struct OverlapSums {
  double SFG_ZAEHLER = 0, SFG_NENNER1 = 0, SFG_NENNER2 = 0, C_SECTION = 0;

  void add(double e, double c) {
    SFG_ZAEHLER += c * e;
    SFG_NENNER1 += e * e;
    SFG_NENNER2 += c * c;
    C_SECTION += std::fabs(e - c);
  }
};

#ifdef ORVANIX_WIDE_LOOPS

// The computed values of the run's points, in a buffer of this thread.
const double* computedValues(VectorWidth width, Grid grid, const PreparedPoints& points, PointRun run,
                             double SCALE, double position) {
  thread_local std::vector<double> computed;
  computed.resize(static_cast<std::size_t>(run.end - run.first));
  double* c = computed.data();
  // IR and VCD points share their key with their neighbours so often that
  // reading each key once is faster; an empty grid has nothing to read from.
  if (points.form != IndexForm::IrScale && !grid.values.empty()) {
    withForm(points.form, [&](auto form) {
      (width == VectorWidth::Avx512 ? computedValuesAvx512<form()> : computedValuesAvx2<form()>)(
          grid, points.key.data(), run, SCALE, position, c);
    });
  } else {
    forEachComputedValue(grid, points, run, SCALE, position, [&](int i, double v) { c[i - run.first] = v; });
  }
  return c;
}

// Elements k..k + lanes - 1 of values[0..count - 1]; 0 past the end, which
// adds nothing to any sum below.
template <class V>
[[gnu::always_inline]] inline void loadLanesOrZero(V& v, const double* values, int k, int count) {
  if (count - k >= LanesOf<V>) {
    std::memcpy(&v, values + k, sizeof v);
  } else {
    v = V{};
    for (int j = 0; k + j < count; ++j) v[j] = values[k + j];
  }
}

// The lanes added from the first to the last, so that a sum never depends on
// anything but the points.
template <class V>
[[gnu::always_inline]] inline double laneSum(const V& v) {
  double sum = v[0];
  for (int j = 1; j < LanesOf<V>; ++j) sum += v[j];
  return sum;
}

// Each lane sums every LanesOf<V>-th point.
template <class V>
[[gnu::always_inline]] inline void overlapSumsWide(const double* y, const double* c, int count, OverlapSums& sums) {
  V zaehler{}, nenner1{}, nenner2{}, section{};
  for (int k = 0; k < count; k += LanesOf<V>) {
    V e, v;
    loadLanesOrZero(e, y, k, count);
    loadLanesOrZero(v, c, k, count);
    const V difference = e - v;
    zaehler += v * e;
    nenner1 += e * e;
    nenner2 += v * v;
    section += difference < 0 ? -difference : difference;
  }
  sums.SFG_ZAEHLER = laneSum(zaehler);
  sums.SFG_NENNER1 = laneSum(nenner1);
  sums.SFG_NENNER2 = laneSum(nenner2);
  sums.C_SECTION = laneSum(section);
}

[[gnu::target("avx2")]] void overlapSumsAvx2(const double* y, const double* c, int count, OverlapSums& sums) {
  overlapSumsWide<Doubles4>(y, c, count, sums);
}
[[gnu::target("avx512f,avx512dq")]] void overlapSumsAvx512(const double* y, const double* c, int count,
                                                           OverlapSums& sums) {
  overlapSumsWide<Doubles8>(y, c, count, sums);
}

typedef long long Bits4 __attribute__((vector_size(32)));
typedef long long Bits8 __attribute__((vector_size(64)));
template <class V>
using BitsOf = std::conditional_t<LanesOf<V> == 4, Bits4, Bits8>;

// The lanes of v where mask is set, 0 in the others.
// (Out through a reference: these are built into the wide functions only.)
template <class V>
[[gnu::always_inline]] inline void keptLanes(V& kept, const BitsOf<V>& mask, const V& v) {
  kept = __builtin_bit_cast(V, BitsOf<V>(mask & __builtin_bit_cast(BitsOf<V>, v)));
}

// SignSplitSums::add lane by lane: each term goes to the sums the plain
// branches give it, and 0 to the others.
template <class V>
struct SignSplitLanes {
  V zaehlerPlus{}, nennerPlus1{}, nennerPlus2{}, zaehlerMinus{}, nennerMinus1{}, nennerMinus2{};
  V areaPlus{}, areaMinus{};

  [[gnu::always_inline]] void add(const V& e, const V& c) {
    using Bits = BitsOf<V>;
    // The sign bits as masks: a zero's terms are all 0 whichever sums they go
    // to, and a value that is no number makes an area no number either way.
    const Bits eMinus = __builtin_bit_cast(Bits, e) >> 63, cMinus = __builtin_bit_cast(Bits, c) >> 63;
    const Bits bothPlus = ~(eMinus | cMinus);
    const V ee = e * e, cc = c * c, ce = c * e;
    V first, second;
    keptLanes(first, ~eMinus, e);
    keptLanes(second, ~cMinus, c);
    areaPlus += first + second;
    keptLanes(first, eMinus, V(-e));
    keptLanes(second, cMinus, V(-c));
    areaMinus += first + second;
    keptLanes(first, bothPlus, ce);
    zaehlerPlus += first;
    keptLanes(first, Bits(eMinus & cMinus), ce);
    zaehlerMinus += first;
    keptLanes(first, Bits(~eMinus), ee);
    nennerPlus1 += first;
    keptLanes(first, eMinus, ee);
    nennerMinus1 += first;
    keptLanes(first, Bits(~cMinus), cc);
    nennerPlus2 += first;
    keptLanes(first, cMinus, cc);
    nennerMinus2 += first;
  }

  [[gnu::always_inline]] void sumInto(SignSplitSums& sums) const {
    sums.SFG_ZAEHLER_PLUS = laneSum(zaehlerPlus);
    sums.SFG_NENNER_PLUS1 = laneSum(nennerPlus1);
    sums.SFG_NENNER_PLUS2 = laneSum(nennerPlus2);
    sums.SFG_ZAEHLER_MINUS = laneSum(zaehlerMinus);
    sums.SFG_NENNER_MINUS1 = laneSum(nennerMinus1);
    sums.SFG_NENNER_MINUS2 = laneSum(nennerMinus2);
    sums.SUM_AREA_PLUS = laneSum(areaPlus);
    sums.SUM_AREA_MINUS = laneSum(areaMinus);
  }
};

template <class V>
[[gnu::always_inline]] inline void signSplitSumsWide(const double* y, const double* c, int count,
                                                     SignSplitSums& plain, SignSplitSums& mirror) {
  SignSplitLanes<V> plainLanes, mirrorLanes;
  for (int k = 0; k < count; k += LanesOf<V>) {
    V e, v;
    loadLanesOrZero(e, y, k, count);
    loadLanesOrZero(v, c, k, count);
    plainLanes.add(e, v);
    mirrorLanes.add(e, -v);
  }
  plainLanes.sumInto(plain);
  mirrorLanes.sumInto(mirror);
}

[[gnu::target("avx2")]] void signSplitSumsAvx2(const double* y, const double* c, int count, SignSplitSums& plain,
                                               SignSplitSums& mirror) {
  signSplitSumsWide<Doubles4>(y, c, count, plain, mirror);
}
[[gnu::target("avx512f,avx512dq")]] void signSplitSumsAvx512(const double* y, const double* c, int count,
                                                             SignSplitSums& plain, SignSplitSums& mirror) {
  signSplitSumsWide<Doubles8>(y, c, count, plain, mirror);
}

#endif

}  // namespace

OverlapValues overlapKernels(Grid grid, const PreparedPoints& points, PointRun run, double SCALE, double position) {
  ClearUpperVectorState();
  OverlapValues values;
  if (run.empty()) return values;
  OverlapSums sums;
  const double* y = points.y.data();
#ifdef ORVANIX_WIDE_LOOPS
  if (const VectorWidth width = KernelVectorWidth(); width != VectorWidth::Baseline) {
    const double* c = computedValues(width, grid, points, run, SCALE, position);
    (width == VectorWidth::Avx512 ? overlapSumsAvx512 : overlapSumsAvx2)(y + run.first, c, run.end - run.first,
                                                                        sums);
  } else
#endif
    forEachComputedValue(grid, points, run, SCALE, position, [&](int i, double c) { sums.add(y[i], c); });
  if (std::isfinite(sums.C_SECTION)) values.crossSection = sums.C_SECTION;
  values.overlap = valueOf(sums.SFG_ZAEHLER, sums.SFG_NENNER1 * sums.SFG_NENNER2);
  return values;
}

SignSplitValues signSplitKernels(Grid grid, const PreparedPoints& points, PointRun run, double SCALE,
                                 double position) {
  if (!run.reachesInside) return {};
  ClearUpperVectorState();
  SignSplitSums plain, mirror;
  const double* y = points.y.data();
#ifdef ORVANIX_WIDE_LOOPS
  if (const VectorWidth width = KernelVectorWidth(); width != VectorWidth::Baseline && !run.empty()) {
    const double* c = computedValues(width, grid, points, run, SCALE, position);
    (width == VectorWidth::Avx512 ? signSplitSumsAvx512 : signSplitSumsAvx2)(y + run.first, c,
                                                                            run.end - run.first, plain, mirror);
  } else
#endif
    forEachComputedValue(grid, points, run, SCALE, position, [&](int i, double c) {
      plain.add(y[i], c);
      mirror.add(y[i], -c);
    });
  return {plain.result(), mirror.result()};
}

double largestMagnitude(std::span<const double> values) {
  double largest = 0;
  for (double v : values) largest = std::max(largest, std::fabs(v));
  return largest;
}

BandSignal bandSignal(Grid grid, double fraction) {
  BandSignal signal;
  const double largest = largestMagnitude(grid.values);
  if (!(largest > 0)) return signal;
  signal.floor = fraction * largest;
  std::size_t first = 0, last = grid.values.size() - 1;
  while (std::fabs(grid.values[first]) < signal.floor) ++first;
  while (std::fabs(grid.values[last]) < signal.floor) --last;
  signal.first = grid.firstIndex + static_cast<double>(first);
  signal.last = grid.firstIndex + static_cast<double>(last);
  return signal;
}

bool comparedValuesReach(Grid grid, const PreparedPoints& points, PointRun run, double position,
                         const BandSignal& signal) {
  if (!(signal.first <= signal.last)) return false;
  const double* key = points.key.data();
  return withForm(points.form, [&](auto form) {
    auto index = [&](int i) { return gridIndex<form()>(key, i, position); };
    auto reaches = [&](int i) { return std::fabs(gridValue(grid, index(i))) >= signal.floor; };
    int from = run.first, to = run.end;
    while (from < to) {
      const int middle = from + (to - from) / 2;
      if (index(middle) > signal.last) from = middle + 1;
      else to = middle;
    }
    for (int i = from; i < run.end && !(index(i) < signal.first); ++i)
      if (reaches(i)) return true;
    // Points out of falling order: every one is looked at.
    for (int i = run.first; i < run.end; ++i)
      if (reaches(i)) return true;
    return false;
  });
}

}  // namespace similarity_core

// ---- The named kernels ---------------------------------------------------------------

namespace {

using namespace similarity_core;

Grid uvEcdGrid(std::span<const double> grid) { return {grid, TRIAL_FIRST_BIN}; }
Grid irVcdGrid(std::span<const double> grid) { return {grid, 0}; }

OverlapValues uvShiftKernels(std::span<const double> grid, const MeasuredPoints& points, double SCALE, int SHIFT,
                             int X1, int X2) {
  return overlapKernels(uvEcdGrid(grid), prepare(points, IndexForm::Shift), walkA(points, X1, X2), SCALE, SHIFT);
}

OverlapValues uvScaleKernels(std::span<const double> grid, const MeasuredPoints& points, double SCALE,
                             double XSCALE, int X1, int X2) {
  return overlapKernels(uvEcdGrid(grid), prepare(points, IndexForm::Scale), walkAPrime(points, X1, X2), SCALE,
                        XSCALE);
}

OverlapValues irKernels(std::span<const double> grid, const MeasuredPoints& points, double SCALE, double XSCALEF,
                        int X1, int X2) {
  return overlapKernels(irVcdGrid(grid), prepare(points, IndexForm::IrScale), walkA(points, X1, X2), SCALE,
                        XSCALEF);
}

SignSplitValues cdShiftKernels(std::span<const double> grid, const MeasuredPoints& points, double SCALE, int SHIFT,
                               int X1, int X2) {
  return signSplitKernels(uvEcdGrid(grid), prepare(points, IndexForm::Shift), walkB(points, X1, X2), SCALE, SHIFT);
}

SignSplitValues cdScaleKernels(std::span<const double> grid, const MeasuredPoints& points, double SCALE,
                               double XSCALE, int X1, int X2) {
  return signSplitKernels(uvEcdGrid(grid), prepare(points, IndexForm::Scale), walkBPrime(points, X1, X2), SCALE,
                          XSCALE);
}

SignSplitValues vcdKernels(std::span<const double> grid, const MeasuredPoints& points, double SCALE,
                           double XSCALEF, int X1, int X2) {
  return signSplitKernels(irVcdGrid(grid), prepare(points, IndexForm::IrScale), walkBDoublePrime(points, X1, X2),
                          SCALE, XSCALEF);
}

}  // namespace

namespace similarity {
std::optional<double> CrossSec(std::span<const double> CMPUV, const MeasuredPoints& points, double SCALE, int SHIFT,
                               int X1, int X2) {
  return uvShiftKernels(CMPUV, points, SCALE, SHIFT, X1, X2).crossSection;
}
}  // namespace similarity

namespace similarityvcd {
std::optional<double> CrossSec(std::span<const double> CMPIR, const MeasuredPoints& points, double SCALE,
                               double XSCALEF, int X1, int X2) {
  return irKernels(CMPIR, points, SCALE, XSCALEF, X1, X2).crossSection;
}
}  // namespace similarityvcd

std::optional<double> SimUV(std::span<const double> CMPUV, const MeasuredPoints& points, double SCALE, int SHIFT,
                            int X1, int X2) {
  return uvShiftKernels(CMPUV, points, SCALE, SHIFT, X1, X2).overlap;
}

std::optional<double> SimUV_WN(std::span<const double> CMPUV, const MeasuredPoints& points, double SCALE,
                               double XSCALE, int X1, int X2) {
  return uvScaleKernels(CMPUV, points, SCALE, XSCALE, X1, X2).overlap;
}

std::optional<double> CrossSec_WN(std::span<const double> CMPUV, const MeasuredPoints& points, double SCALE,
                                  double XSCALE, int X1, int X2) {
  return uvScaleKernels(CMPUV, points, SCALE, XSCALE, X1, X2).crossSection;
}

std::optional<double> SimCD(std::span<const double> CMPCD, const MeasuredPoints& points, double SCALE, int SHIFT,
                            int X1, int X2) {
  return cdShiftKernels(CMPCD, points, SCALE, SHIFT, X1, X2).plain;
}

std::optional<double> SimCD_WN(std::span<const double> CMPCD, const MeasuredPoints& points, double SCALE,
                               double XSCALE, int X1, int X2) {
  return cdScaleKernels(CMPCD, points, SCALE, XSCALE, X1, X2).plain;
}

std::optional<double> SimCDEnant(std::span<const double> CMPCD, const MeasuredPoints& points, double SCALE,
                                 int SHIFT, int X1, int X2) {
  return cdShiftKernels(CMPCD, points, SCALE, SHIFT, X1, X2).mirror;
}

std::optional<double> SimCDEnant_WN(std::span<const double> CMPCD, const MeasuredPoints& points, double SCALE,
                                    double XSCALE, int X1, int X2) {
  return cdScaleKernels(CMPCD, points, SCALE, XSCALE, X1, X2).mirror;
}

std::optional<double> SimIR(std::span<const double> CMPIR, const MeasuredPoints& points, double SCALE,
                            double XSCALEF, int X1, int X2) {
  return irKernels(CMPIR, points, SCALE, XSCALEF, X1, X2).overlap;
}

std::optional<double> SimVCD(std::span<const double> CMPVCD, const MeasuredPoints& points, double SCALE,
                             double XSCALEF, int X1, int X2) {
  return vcdKernels(CMPVCD, points, SCALE, XSCALEF, X1, X2).plain;
}

std::optional<double> SimVCDEnant(std::span<const double> CMPVCD, const MeasuredPoints& points, double SCALE,
                                  double XSCALEF, int X1, int X2) {
  return vcdKernels(CMPVCD, points, SCALE, XSCALEF, X1, X2).mirror;
}

bool rangeHoldsPoint(const MeasuredPoints& points, UvEcdMode mode, int X1, int X2) {
  return !(mode == UvEcdMode::Wavelength ? walkA(points, X1, X2) : walkAPrime(points, X1, X2)).empty();
}

// ---- Measured maxima -------------------------------------------------------------------

namespace {

// The running maximum: it starts at point `start` and every point of
// first..end - 1 that `competes` and is strictly greater (by `measure`) takes
// its place.
template <class Competes, class Measure>
double runningMaximum(const MeasuredPoints& points, int start, int first, int end, const Competes& competes,
                      const Measure& measure) {
  int best = start;
  for (int i = first; i < end; ++i)
    if (competes(i) && measure(points.y[i]) > measure(points.y[best])) best = i;
  return measure(points.y[best]);
}

double signedValue(double y) { return y; }
double absoluteValue(double y) { return std::fabs(y); }

}  // namespace

std::optional<double> EXPUVMAX(const MeasuredPoints& points, UvEcdMode mode, int X1, int X2) {
  const int n = points.size();
  if (mode == UvEcdMode::Wavelength) {
    const int start = firstPoint(n, [&](int i) { return points.x[i] <= X2; });
    if (start == n) return std::nullopt;
    return runningMaximum(
        points, start, 0, n, [&](int i) { return X1 <= points.x[i] && points.x[i] <= X2; }, signedValue);
  }
  const int start = firstPoint(n, [&](int i) { return wavenumberOf(points.x[i]) >= X2; });
  if (start == n) return std::nullopt;
  return runningMaximum(
      points, start, 0, n,
      [&](int i) {
        const double nu = wavenumberOf(points.x[i]);
        return X2 <= nu && nu <= X1;
      },
      signedValue);
}

std::optional<double> EXPCDMAX(const MeasuredPoints& points, EcdMaximumRule rule, int X1, int X2) {
  const int n = points.size();
  if (n == 0) return std::nullopt;
  auto insideWavenumbers = [&](int i) {
    const double nu = wavenumberOf(points.x[i]);
    return X2 <= nu && nu <= X1;
  };
  switch (rule) {
    case EcdMaximumRule::Wavelength: {
      const PointRun run = walkB(points, X1, X2);
      return runningMaximum(
          points, run.first, run.first, run.end, [&](int i) { return X1 <= points.x[i] && points.x[i] <= X2; },
          absoluteValue);
    }
    case EcdMaximumRule::WavenumberUvRun: {
      const PointRun run = walkBPrime(points, X1, X2);
      return runningMaximum(points, run.first, run.first, run.end, insideWavenumbers, absoluteValue);
    }
    case EcdMaximumRule::WavenumberEcdRun:
      break;
  }
  const int start = firstPoint(n, [&](int i) { return wavenumberOf(points.x[i]) >= X2; });
  if (start == n) return std::nullopt;
  return runningMaximum(points, start, 0, n, insideWavenumbers, absoluteValue);
}

// The IR maximum walks the points as the UV one does in the wavelength unit.
std::optional<double> EXPIRMAX(const MeasuredPoints& points, int X1, int X2) {
  return EXPUVMAX(points, UvEcdMode::Wavelength, X1, X2);
}

std::optional<double> EXPVCDMAX(const MeasuredPoints& points, int X1, int X2) {
  const int n = points.size();
  const int start = firstPoint(n, [&](int i) { return points.x[i] <= X2; });
  if (start == n) return std::nullopt;
  int end = firstPoint(n, [&](int i) { return points.x[i] <= X1; });
  end = std::min(end, n - 1) + 1;
  return runningMaximum(
      points, start, start, end, [&](int i) { return X1 <= points.x[i] && points.x[i] <= X2; }, absoluteValue);
}

// ---- Trial maximum ranges ---------------------------------------------------------------

namespace {

TrialRange cutToGrid(TrialRange range, double gridFirst, double gridLast) {
  if (!(range.first <= range.last) || range.last < gridFirst || range.first > gridLast) return range;
  return {std::max(range.first, gridFirst), std::min(range.last, gridLast)};
}

}  // namespace

TrialRange shiftTrialRange(int X1, int X2, int shift) {
  return cutToGrid({10 * (static_cast<double>(X1) - shift), 10 * (static_cast<double>(X2) - shift)}, TRIAL_FIRST_BIN,
                   TRIAL_LAST_BIN);
}

TrialRange scaleTrialRange(int X1, int X2, double f) {
  return cutToGrid({roundHalfEven(((WAVENUMBER_PER_NM / X1) * f) * 10.0),
                    roundHalfEven(((WAVENUMBER_PER_NM / X2) * f) * 10.0)},
                   TRIAL_FIRST_BIN, TRIAL_LAST_BIN);
}

TrialRange irTrialRange(int X1, int X2, double f) {
  return cutToGrid({roundHalfEven(X1 / f), roundHalfEven(X2 / f)}, 0, MAXWAVENUMBER);
}

namespace {

// The running maximum over values[0..count - 1] from `best`: a value strictly
// greater (by its magnitude when `absolute`) takes its place.
struct RunningMaximum {
  const double* values;
  std::size_t count;
  bool absolute;
  double best;
};
using RunMaximum = void (*)(RunningMaximum& run);

void runMaximumPlain(RunningMaximum& run) {
  for (std::size_t k = 0; k < run.count; ++k) {
    const double v = run.absolute ? std::fabs(run.values[k]) : run.values[k];
    if (v > run.best) run.best = v;
  }
}

#ifdef ORVANIX_WIDE_LOOPS

// Each lane keeps the running maximum of its own values, which are then
// compared in turn. A value greater than all others is the same whichever
// order finds it; only a maximum of 0 (+0 or -0, whichever came first) needs
// the plain order.
template <class V>
[[gnu::always_inline]] inline void runMaximumWide(RunningMaximum& run) {
  V best;
  for (int j = 0; j < LanesOf<V>; ++j) best[j] = run.best;
  for (std::size_t k = 0; k < run.count; k += LanesOf<V>) {
    V v;
    LoadLanes(v, run.values, k, run.count);
    if (run.absolute) v = v < 0 ? -v : v;
    best = v > best ? v : best;
  }
  const double start = run.best;
  for (int j = 0; j < LanesOf<V>; ++j)
    if (best[j] > run.best) run.best = best[j];
  if (run.best == 0) {
    run.best = start;
    runMaximumPlain(run);
  }
}

[[gnu::target("avx2")]] void runMaximumAvx2(RunningMaximum& run) { runMaximumWide<Doubles4>(run); }
[[gnu::target("avx512f,avx512dq")]] void runMaximumAvx512(RunningMaximum& run) { runMaximumWide<Doubles8>(run); }

#endif

}  // namespace

double trialMaximum(std::span<const double> grid, int gridFirstIndex, TrialRange range, bool absolute) {
  const Grid g{grid, gridFirstIndex};
  auto measure = [absolute](double v) { return absolute ? std::fabs(v) : v; };
  double best = measure(gridValue(g, range.first));
  if (!(range.first <= range.last)) return best;
  const double gridLast = gridFirstIndex + static_cast<double>(grid.size()) - 1;
  // Indexes off the grid read 0.
  if (range.first < gridFirstIndex || range.last > gridLast) best = std::max(best, 0.0);
  const double from = std::max(range.first, static_cast<double>(gridFirstIndex));
  const double to = std::min(range.last, gridLast);
  if (from <= to) {
    const std::size_t first = static_cast<std::size_t>(from - gridFirstIndex);
    const std::size_t last = static_cast<std::size_t>(to - gridFirstIndex);
    ClearUpperVectorState();
    RunningMaximum run{grid.data() + first, last - first + 1, absolute, best};
    ORVANIX_WIDEST_LOOP(runMaximum)(run);
    best = run.best;
  }
  return best;
}
