// The one implementation behind the named kernels of kernels.h and the
// searches: the measured points prepared once per run, the walks as runs of
// points, and the kernels as passes over such a run. The named kernels and
// the searches give the same values bit for bit, because both call these.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "similarity/kernels.h"

namespace similarity_core {

// How a measured point finds its grid index.
enum class IndexForm {
  Shift,       // Round(10 x) - 10 SHIFT
  Scale,       // Round((x XSCALE) 10)
  IrScale,     // Round(Round(x) / XSCALEF)
};

// What each point needs for its grid index, computed once: Round(10 x) for the
// shift form, x for the x-scale form, Round(x) for the IR form.
struct PreparedPoints {
  IndexForm form = IndexForm::Shift;
  std::vector<double> key;
  std::vector<double> y;
};
PreparedPoints prepare(const MeasuredPoints& points, IndexForm form);

// Points first..end - 1, counted from 0. The sign-split walks also take a
// point beyond each edge of the window, so a run of theirs may hold no point
// inside it; such a run gives no factor.
struct PointRun {
  int first = 0;
  int end = 0;
  bool reachesInside = false;  // a point of the run lies inside the window
  bool empty() const { return end <= first; }
};
PointRun walkA(const MeasuredPoints& points, int X1, int X2);
PointRun walkAPrime(const MeasuredPoints& points, int X1, int X2);
PointRun walkB(const MeasuredPoints& points, int X1, int X2);
PointRun walkBPrime(const MeasuredPoints& points, int X1, int X2);
PointRun walkBDoublePrime(const MeasuredPoints& points, int X1, int X2);

// A grid with the index of its first element.
struct Grid {
  std::span<const double> values;
  int firstIndex = 0;
};

// position: SHIFT for the shift form, XSCALE or XSCALEF for the others.
struct OverlapValues {
  std::optional<double> crossSection;
  std::optional<double> overlap;
};
OverlapValues overlapKernels(Grid grid, const PreparedPoints& points, PointRun run, double SCALE, double position);

struct SignSplitValues {
  std::optional<double> plain;
  std::optional<double> mirror;
};
SignSplitValues signSplitKernels(Grid grid, const PreparedPoints& points, PointRun run, double SCALE,
                                 double position);

// The largest |value| of the whole grid.
double largestMagnitude(std::span<const double> values);

// Where a grid has signal: the least magnitude that counts (`fraction` of its
// largest) and the first and last index that reach it. A grid of zeros has
// none (first > last).
struct BandSignal {
  double floor = 0;
  double first = 1;
  double last = 0;
};
BandSignal bandSignal(Grid grid, double fraction);

// Whether the grid, at the indexes the kernels compare for the run's points,
// reaches its signal floor. The points' indexes fall as x falls, so the first
// point at or below the last index with signal is found by bisection and a
// band with signal in the window costs a few points, not a pass.
bool comparedValuesReach(Grid grid, const PreparedPoints& points, PointRun run, double position,
                         const BandSignal& signal);

}  // namespace similarity_core
