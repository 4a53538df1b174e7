#include "display/plot_geometry.h"

#include <algorithm>
#include <cmath>

#include "platform/numbers.h"
#include "store/constants.h"

namespace {
constexpr double FAR_OFF = 1e6;

long long nearest(double value) {
  if (std::isnan(value)) return static_cast<long long>(FAR_OFF);
  return nint(std::clamp(value, -1e17, 1e17));
}
}  // namespace

int pixelOf(double position) {
  if (std::isnan(position)) return static_cast<int>(FAR_OFF);
  return static_cast<int>(nint(std::clamp(position, -FAR_OFF, FAR_OFF)));
}

std::optional<int> valueY(int zero, double fullScale, double value, int height) {
  if (fullScale == 0.0 || std::isnan(fullScale)) return std::nullopt;
  return zero - pixelOf(height / fullScale * value);
}

double uvEcdFullScale(double maximum, double scaling, bool wholeTenth) {
  const double m = maximum * scaling;
  if (wholeTenth) return m + static_cast<double>(nearest(m / 10));
  return m + m / 10;
}

long long uvTickLabel(int x1, int x2, int k) {
  return x1 + nearest(k * (static_cast<double>(x2) - x1) / 10);
}

long long ecdTickLabel(int x1, int x2, int k) {
  return nearest(x1 + k * (static_cast<double>(x2) - x1) / 10);
}

long long wavenumberTickLabel(int x1, int x2, int k) {
  return nearest(x1 - k * (static_cast<double>(x1) - x2) / 10);
}

int WavelengthCurveRun::x(int bin) const {
  return firstX + pixelOf((bin - firstBin) / 10.0 / step);
}

std::optional<WavelengthCurveRun> wavelengthCurveRun(int x1, int x2, int shift) {
  if (x2 <= x1) return std::nullopt;
  WavelengthCurveRun run;
  run.step = (static_cast<double>(x2) - x1) / 450;
  long long start = static_cast<long long>(x1) - shift;
  if (start < MINLAMBDA / 10) {
    run.firstX = 50 + pixelOf((MINLAMBDA / 10 - start) / run.step);
    start = MINLAMBDA / 10;
  }
  const long long end = std::min<long long>(static_cast<long long>(x2) - shift, MAXLAMBDA / 10);
  if (end < start) return std::nullopt;
  run.firstBin = static_cast<int>(10 * start);
  run.lastBin = static_cast<int>(std::min<long long>(10 * end, MAXLAMBDA));
  if (run.firstBin > MAXLAMBDA) return std::nullopt;
  return run;
}

std::optional<int> measuredWavelengthX(int x1, int x2, double x) {
  if (x1 == x2) return std::nullopt;
  const double step = (static_cast<double>(x2) - x1) / 450;
  return 50 + pixelOf((x - x1) / step);
}

std::optional<double> wavenumberStep(int x1, int x2) {
  if (x1 == x2) return std::nullopt;
  return 450 / (static_cast<double>(x1) - x2);
}

int wavenumberX(int x1, double step, double wavenumber) { return 50 + pixelOf((x1 - wavenumber) * step); }

double binWavenumber(int bin, double xScale) { return 1e8 * xScale / bin; }

double barScale(std::span<const double> lines, int gridFirst, int first, int last, bool absolute) {
  double best = 0.0;
  bool found = false;
  for (int bin = first; bin <= last; ++bin) {
    const long position = bin - gridFirst;
    if (position < 0 || position >= static_cast<long>(lines.size())) continue;
    const double value = absolute ? std::fabs(lines[position]) : lines[position];
    if (!found || value > best) {
      best = value;
      found = true;
    }
  }
  return 1.1 * best;
}

long long irVcdTickLabel(int x1, int x2, int k, int divisions) {
  return nearest(x1 + k * (static_cast<double>(x2) - x1) / divisions);
}

std::vector<IndexPoint> irVcdComputedPoints(int x1, int x2, double xScale) {
  std::vector<IndexPoint> points;
  if (x2 <= x1 || x1 < 0) return points;
  const double step = 450 / (static_cast<double>(x2) - x1);
  // The position advances by the scale factor per drawn index, from X1.
  double advanced = xScale;
  for (int i = 0; i <= MAXWAVENUMBER; ++i) {
    const double wavenumber = i * xScale;
    if (x1 <= wavenumber && wavenumber <= x2) {
      points.push_back({i, 500 - pixelOf(static_cast<double>(nearest(advanced)) * step)});
      advanced += xScale;
    }
  }
  return points;
}

std::optional<int> irVcdMeasuredX(int x1, int x2, double x) {
  if (x1 == x2) return std::nullopt;
  const double step = 450 / (static_cast<double>(x2) - x1);
  return 50 + pixelOf((x2 - x) * step);
}

std::optional<PointWalk> fallingPointWalk(std::span<const double> x, int count,
                                          const std::function<bool(double)>& beforeStart,
                                          const std::function<bool(double)>& beyondEnd) {
  int k = std::min<long>(count, static_cast<long>(x.size()));
  while (k >= 1 && beforeStart(x[k - 1])) --k;
  if (k < 1) return std::nullopt;
  PointWalk walk;
  walk.from = k;
  while (k >= 1 && !beyondEnd(x[k - 1])) --k;
  walk.to = k + 1;
  return walk;
}

std::vector<std::optional<long long>> hplcTickLabels(double x1, double x2) {
  std::vector<std::optional<long long>> labels(12);
  if (x2 - x1 >= 11) {
    for (int k = 0; k <= 11; ++k)
      labels[k] = nearest(static_cast<double>(nearest(k * (x2 - x1) / 11)) + x1);
  } else {
    labels[0] = nearest(x1);
    labels[11] = nearest(x2);
  }
  return labels;
}

std::optional<int> hplcX(double x1, double x2, double time) {
  if (x1 == x2) return std::nullopt;
  const double step = (x2 - x1) / 550;
  return 50 + pixelOf((time - x1) / step);
}

double ordScaleValue(std::span<const double> x, std::span<const double> y, int count, int x1, int x2) {
  const int n = std::min<long>({static_cast<long>(count), static_cast<long>(x.size()), static_cast<long>(y.size())});
  if (n < 1) return 0.0;
  int best = 1;
  for (int k = 1; k <= n; ++k)
    if (std::fabs(y[k - 1]) > std::fabs(y[best - 1]) && x1 < x[k - 1] && x[k - 1] < x2) best = k;
  return std::fabs(y[best - 1]);
}

std::vector<int> ordPointsInWindow(std::span<const double> x, int count, double low, double high) {
  std::vector<int> points;
  const int n = std::min<long>(count, static_cast<long>(x.size()));
  // Walked from the last stored point, so points stored with the wavelength
  // falling keep the order of the classic walk, ties included.
  for (int k = n; k >= 1; --k)
    if (low <= x[k - 1] && x[k - 1] <= high) points.push_back(k);
  std::stable_sort(points.begin(), points.end(), [&](int a, int b) { return x[a - 1] < x[b - 1]; });
  return points;
}

long long ordTickLabel(int x1, int x2, int k, int divisions) {
  return nearest(x1 + k * (static_cast<double>(x2) - x1) / divisions);
}

std::optional<int> ordX(int x1, int x2, double x) {
  if (x1 == x2) return std::nullopt;
  const double step = (static_cast<double>(x2) - x1) / 450;
  return 50 + pixelOf((x - x1) / step);
}

namespace {

// A label of `decimals` decimals tells `value` to within 5 %: the whole
// numbers the page writes for a full scale of 8.38 ("8", "4") still do.
bool tells(double value, int decimals) {
  const double scale = std::pow(10.0, decimals);
  const double shown = std::round(value * scale) / scale;
  return std::abs(shown - value) <= 0.05 * std::abs(value);
}

bool bothTell(double fullScale, int decimals) { return tells(fullScale, decimals) && tells(0.5 * fullScale, decimals); }

}  // namespace

AbsoluteScale absoluteScale(double fullScale) {
  const double magnitude = std::abs(fullScale);
  if (!(magnitude > 0) || !std::isfinite(magnitude)) return {};
  for (int decimals = 0; decimals <= 3; ++decimals)
    if (bothTell(magnitude, decimals)) return {0, decimals};
  const int exponent = -static_cast<int>(std::floor(std::log10(magnitude)));
  const double mantissa = magnitude * std::pow(10.0, exponent);
  for (int decimals = 0; decimals < 2; ++decimals)
    if (bothTell(mantissa, decimals)) return {exponent, decimals};
  return {exponent, 2};
}

std::string absoluteLabel(const AbsoluteScale& scale, double value) {
  return FloatToStrF(value * std::pow(10.0, scale.exponent), scale.decimals);
}
