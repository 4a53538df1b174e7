// Where a trial band has signal, and whether the kernels compare it there.
#include <algorithm>
#include <cmath>

#include "similarity/kernel_core.h"
#include "similarity/kernel_support.h"

namespace similarity_core {

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
