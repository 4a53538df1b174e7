// The trial band indexes a window compares at one shift or x scale, and the
// running maximum over them.
#include <algorithm>
#include <cmath>

#include "platform/vector_units.h"
#include "platform/wide_vectors.h"
#include "similarity/kernel_core.h"
#include "similarity/kernel_support.h"

using namespace similarity_core;

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
