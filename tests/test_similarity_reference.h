// A plain single-threaded loop of the similarity formulas, written straight
// from them and sharing no code with the program's searches: the identity
// test and the benchmark check the program against it.
#pragma once

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

#include "similarity/search.h"

namespace similarity_reference {

// Points 1..N; grids are read through a bounds test.
struct Points {
  std::vector<double> x, y;  // element 0 unused
  int n() const { return static_cast<int>(x.size()) - 1; }
};

inline double read(const std::vector<double>& grid, int first, double index) {
  if (!std::isfinite(index) || index < first || index > first + static_cast<double>(grid.size()) - 1) return 0;
  return grid[static_cast<std::size_t>(index - first)];
}

enum class IndexRule { Shift, Scale, Ir };

inline double indexOf(IndexRule form, double x, double position) {
  if (form == IndexRule::Shift) return std::nearbyint(10 * x) - 10 * position;
  if (form == IndexRule::Scale) return std::nearbyint((x * position) * 10);
  return std::nearbyint(std::nearbyint(x) / position);
}

inline double nu(double x) { return 10000000 / x; }

// Walk A (or A' with wavenumbers): the taken points.
inline std::vector<int> walkOverlap(const Points& p, IndexRule form, int X1, int X2) {
  std::vector<int> taken;
  int i = 1;
  if (form == IndexRule::Scale) {
    while (i <= p.n() && nu(p.x[i]) < X2) ++i;
    while (i <= p.n() && nu(p.x[i]) < X1) taken.push_back(i++);
  } else {
    while (i <= p.n() && p.x[i] > X2) ++i;
    while (i <= p.n() && p.x[i] > X1) taken.push_back(i++);
  }
  return taken;
}

// Walks B, B' and B''.
inline std::vector<int> walkSignSplit(const Points& p, IndexRule form, int X1, int X2) {
  const int n = p.n();
  std::vector<int> run;
  if (n == 0) return run;
  int start, end;
  if (form == IndexRule::Ir) {
    start = 1;
    while (start <= n && p.x[start] > X2) ++start;
    end = 1;
    while (p.x[end] > X1 && end < n) ++end;
  } else {
    auto insideLong = [&](int i) { return form == IndexRule::Scale ? nu(p.x[i]) >= X2 : p.x[i] <= X2; };
    auto pastShort = [&](int i) { return form == IndexRule::Scale ? nu(p.x[i]) >= X1 : p.x[i] <= X1; };
    start = 1;
    while (start <= n && !insideLong(start)) ++start;
    start = std::max(start - 1, 1);
    end = 1;
    while (end <= n && !pastShort(end)) ++end;
    if (end > n) end = n;
  }
  for (int j = start; j <= end; ++j) run.push_back(j);
  return run;
}

struct Pair {
  std::optional<double> a, b;
};

inline Pair overlap(const std::vector<double>& grid, int first, const Points& p, IndexRule form, int X1, int X2, double SCALE,
             double position) {
  double z = 0, n1 = 0, n2 = 0, cross = 0;
  const std::vector<int> taken = walkOverlap(p, form, X1, X2);
  for (int i : taken) {
    const double e = p.y[i];
    const double c = SCALE * read(grid, first, indexOf(form, p.x[i], position));
    z += c * e;
    n1 += e * e;
    n2 += c * c;
    cross += std::fabs(e - c);
  }
  Pair result;
  if (taken.empty()) return result;
  result.a = cross;
  if (n1 * n2 != 0) result.b = z / std::sqrt(n1 * n2);
  return result;
}

inline bool inside(IndexRule form, double x, int X1, int X2) {
  return form == IndexRule::Scale ? X2 <= nu(x) && nu(x) < X1 : X1 < x && x <= X2;
}

// No value unless the walk evaluates a point inside the window.
inline std::optional<double> signSplit(const std::vector<double>& grid, int first, const Points& p, IndexRule form, int X1, int X2,
                                double SCALE, double position, bool mirror) {
  double zp = 0, np1 = 0, np2 = 0, zm = 0, nm1 = 0, nm2 = 0, ap = 0, am = 0;
  const std::vector<int> run = walkSignSplit(p, form, X1, X2);
  if (std::none_of(run.begin(), run.end(), [&](int i) { return inside(form, p.x[i], X1, X2); })) return std::nullopt;
  for (int i : run) {
    const double e = p.y[i];
    double c = SCALE * read(grid, first, indexOf(form, p.x[i], position));
    if (mirror) c = -c;
    if (e >= 0 && c >= 0) {
      ap += e + c, zp += c * e, np1 += e * e, np2 += c * c;
    } else if (e < 0 && c < 0) {
      am += std::fabs(e) + std::fabs(c), zm += c * e, nm1 += e * e, nm2 += c * c;
    } else if (e < 0) {
      am += std::fabs(e), ap += c, nm1 += e * e, np2 += c * c;
    } else {
      ap += e, am += std::fabs(c), np1 += e * e, nm2 += c * c;
    }
  }
  const double plus = np1 * np2 == 0 ? 0 : zp / std::sqrt(np1 * np2);
  const double minus = nm1 * nm2 == 0 ? 0 : zm / std::sqrt(nm1 * nm2);
  if (ap + am == 0) return std::nullopt;
  return (ap * plus + am * minus) / (ap + am);
}

// Whether the grid, at the points a walk compares, reaches 1e-4 of the largest
// magnitude anywhere on it.
inline bool hasSignal(const std::vector<double>& grid, int first, const Points& p, IndexRule form,
                      const std::vector<int>& walked, double position) {
  double largest = 0;
  for (double v : grid) largest = std::max(largest, std::fabs(v));
  for (int i : walked)
    if (std::fabs(read(grid, first, indexOf(form, p.x[i], position))) >= 1e-4 * largest) return true;
  return false;
}

inline double scan(const std::vector<double>& grid, int first, double from, double to, bool absolute) {
  auto value = [&](double k) { return absolute ? std::fabs(read(grid, first, k)) : read(grid, first, k); };
  double best = value(from);
  if (!(from <= to)) return best;
  for (double k = std::max(from, first - 1.0); k <= std::min(to, first + static_cast<double>(grid.size())); ++k)
    if (value(k) > best) best = value(k);
  return best;
}

// The trial maximum ranges: the indexes of the window's edges as the kernels
// index points, cut to the grid when they meet it.
inline std::pair<double, double> range(IndexRule form, int X1, int X2, double position) {
  double low, high, gridLow = 1000, gridHigh = 11000;
  if (form == IndexRule::Shift) {
    low = 10 * (X1 - position);
    high = 10 * (X2 - position);
  } else if (form == IndexRule::Scale) {
    low = std::nearbyint(1e7 / X1 * position * 10);
    high = std::nearbyint(1e7 / X2 * position * 10);
  } else {
    low = std::nearbyint(X1 / position);
    high = std::nearbyint(X2 / position);
    gridLow = 0;
    gridHigh = 4000;
  }
  if (low <= high && high >= gridLow && low <= gridHigh) {
    low = std::max(low, gridLow);
    high = std::min(high, gridHigh);
  }
  return {low, high};
}

struct Reference {
  std::vector<TrialRecord> trials;
  std::optional<BestValue> best1, best2;  // cross section and factor, or factor and delta
};

inline bool closer(double a, double b) { return std::fabs(1 - a) < std::fabs(1 - b); }

using Builder = std::function<std::vector<double>(double width)>;

// 'UV' and 'IR'.
inline Reference overlapReference(const Builder& build, int first, const Points& p, IndexRule form, int X1, int X2,
                           double posFrom, double posTo, double widthFrom, double widthTo, double widthStep,
                           double expMax) {
  Reference r;
  for (double width = widthFrom; width <= widthTo; width += widthStep) {
    std::vector<double> grid = build(width);
    std::optional<BestValue> cross, factor;
    for (double pos = posFrom; pos <= posTo; pos += form == IndexRule::Shift ? 1 : 0.001) {
      if (form != IndexRule::Shift && !(pos > 0)) continue;
      const auto [low, high] = range(form, X1, X2, pos);
      double calc = scan(grid, first, low, high, false);
      if (calc != 0 && calc / expMax > 100) {
        for (double& v : grid) v = v / calc;
        calc = 1;
      }
      TrialRecord t{width, pos, false, calc, calc != 0 ? expMax / calc : 0, 0, 0};
      if (calc != 0 && hasSignal(grid, first, p, form, walkOverlap(p, form, X1, X2), pos)) {
        const Pair values = overlap(grid, first, p, form, X1, X2, t.SCALE, pos);
        if (values.a && values.b) t.counted = true, t.first = *values.a, t.second = *values.b;
      }
      r.trials.push_back(t);
      if (!t.counted) continue;
      if (!cross || t.first < cross->value) cross = BestValue{t.first, pos, width};
      if (!factor || closer(t.second, factor->value)) factor = BestValue{t.second, pos, width};
    }
    if (cross && (!r.best1 || cross->value < r.best1->value)) r.best1 = cross;
    if (factor && (!r.best2 || closer(factor->value, r.best2->value))) r.best2 = factor;
  }
  return r;
}

// 'ECD' and 'VCD': best1 the tracked factor, best2 the delta.
inline Reference fineTuningReference(const Builder& build, int first, const Points& p, IndexRule form, int X1, int X2,
                              double posFrom, double posTo, double widthFrom, double widthTo, double widthStep,
                              double expMax, bool divides, bool mirror) {
  Reference r;
  double width = widthFrom - widthStep;
  while (width < widthTo) {
    width += widthStep;
    std::vector<double> grid = build(width);
    std::optional<BestValue> factor, delta;
    for (double pos = posFrom; pos <= posTo; pos += form == IndexRule::Shift ? 1 : 0.001) {
      if (form != IndexRule::Shift && !(pos > 0)) continue;
      const auto [low, high] = range(form, X1, X2, pos);
      double calc = scan(grid, first, low, high, true);
      if (divides && calc != 0 && calc / expMax > 100) {
        for (double& v : grid) v = v / calc;
        calc = 1;
      }
      TrialRecord t{width, pos, false, calc, calc != 0 ? expMax / calc : 0, 0, 0};
      if (calc != 0 && hasSignal(grid, first, p, form, walkSignSplit(p, form, X1, X2), pos)) {
        const auto s = signSplit(grid, first, p, form, X1, X2, t.SCALE, pos, false);
        const auto m = signSplit(grid, first, p, form, X1, X2, t.SCALE, pos, true);
        if (s && m) t.counted = true, t.first = *s, t.second = *m;
      }
      r.trials.push_back(t);
      if (!t.counted) continue;
      const double tracked = mirror ? t.second : t.first;
      const double d = std::fabs(t.first - t.second);
      if (!factor) {
        factor = BestValue{tracked, pos, width};
        delta = BestValue{d, pos, width};
      } else {
        if (closer(tracked, factor->value)) factor = BestValue{tracked, pos, width};
        if (closer(d, delta->value)) delta = BestValue{d, pos, width};
      }
    }
    if (!factor) continue;
    if (!r.best1) {
      r.best1 = factor, r.best2 = delta;
      continue;
    }
    if (closer(factor->value, r.best1->value)) r.best1 = factor;
    if (closer(delta->value, r.best2->value)) r.best2 = delta;
  }
  return r;
}

// The program's wide loops sum in another order than this one: a value agrees
// when it lies within 1e-12 of the largest magnitude compared, and is exactly
// 0 where the reference is.
inline bool agrees(double program, double reference, double largest) {
  if (reference == 0 || !std::isfinite(reference))
    return program == reference || (std::isnan(program) && std::isnan(reference));
  return std::fabs(program - reference) <= 1e-12 * largest;
}

// The largest magnitude of one value over the reference's trials.
inline double largestOver(const std::vector<TrialRecord>& trials, double TrialRecord::*value) {
  double largest = 0;
  for (const TrialRecord& t : trials)
    if (std::isfinite(t.*value)) largest = std::max(largest, std::fabs(t.*value));
  return largest;
}

// The program's trials against the reference's: all equal but for the sums'
// last bits.
inline bool sameTrial(const TrialRecord& a, const TrialRecord& b, double largestFirst, double largestSecond) {
  return a.width == b.width && a.position == b.position && a.counted == b.counted &&
         a.computedMaximum == b.computedMaximum && a.SCALE == b.SCALE && agrees(a.first, b.first, largestFirst) &&
         agrees(a.second, b.second, largestSecond);
}

}  // namespace similarity_reference
