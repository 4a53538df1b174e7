// The measured points as the kernels read them, and the walks that pick the
// points of a window.
#include "similarity/kernel_core.h"
#include "similarity/kernel_support.h"

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

}  // namespace similarity_core

bool rangeHoldsPoint(const MeasuredPoints& points, UvEcdMode mode, int X1, int X2) {
  using namespace similarity_core;
  return !(mode == UvEcdMode::Wavelength ? walkA(points, X1, X2) : walkAPrime(points, X1, X2)).empty();
}
