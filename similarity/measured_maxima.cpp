// The largest measured values of a window, by the rules of each kind.
#include <cmath>

#include "similarity/kernel_core.h"
#include "similarity/kernel_support.h"

using namespace similarity_core;

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
