#include "display/peak_search.h"

#include <algorithm>
#include <utility>

namespace {
bool beats(double candidate, double best, Extreme kind) {
  return kind == Extreme::Peak ? candidate > best : candidate < best;
}

// The neighbour test: a neighbour may equal the extreme but not exceed it.
bool standsOut(double value, double neighbour, Extreme kind) {
  return kind == Extreme::Peak ? neighbour <= value : neighbour >= value;
}

// The number of points that the spans really hold, whatever the count says.
int usableCount(std::span<const double> x, std::span<const double> y, int count) {
  const long long held = static_cast<long long>(std::min(x.size(), y.size()));
  return static_cast<int>(std::clamp<long long>(count, 0, held));
}
}  // namespace

std::optional<long long> searchComputedBand(std::span<const double> band, long long first,
                                            long long from, long long to, Extreme kind) {
  if (band.empty()) return std::nullopt;
  const long long last = first + static_cast<long long>(band.size()) - 1;
  if (from > to) std::swap(from, to);
  from = std::clamp(from, first, last);
  to = std::clamp(to, first, last);
  auto value = [&](long long index) { return band[static_cast<size_t>(index - first)]; };
  long long best = from;
  for (long long i = from; i <= to; ++i)
    if (beats(value(i), value(best), kind)) best = i;
  if (best == first || best == last) return std::nullopt;
  if (!standsOut(value(best), value(best - 1), kind) || !standsOut(value(best), value(best + 1), kind))
    return std::nullopt;
  return best;
}

std::optional<int> searchMeasuredCurve(std::span<const double> x, std::span<const double> y, int count,
                                       double low, double high, Extreme kind) {
  const int n = usableCount(x, y, count);
  if (n < 1) return std::nullopt;
  auto xAt = [&](int point) { return x[static_cast<size_t>(point - 1)]; };
  auto yAt = [&](int point) { return y[static_cast<size_t>(point - 1)]; };
  if (!(xAt(n) < xAt(1))) return std::nullopt;
  int i = n;
  while (i > 0 && xAt(i) < low) --i;
  if (i == 0) return std::nullopt;
  int best = i;
  while (i > 0 && xAt(i) <= high) {
    if (beats(yAt(i), yAt(best), kind)) best = i;
    --i;
  }
  if (best == 1 || best == n) return std::nullopt;
  if (!standsOut(yAt(best), yAt(best - 1), kind) || !standsOut(yAt(best), yAt(best + 1), kind))
    return std::nullopt;
  return best;
}

std::optional<int> companionPoint(std::span<const double> x, int count, double at) {
  const int m = usableCount(x, x, count);
  if (m < 1) return std::nullopt;
  auto xAt = [&](int point) { return x[static_cast<size_t>(point - 1)]; };
  if (!(xAt(m) < xAt(1))) return std::nullopt;
  int j = m;
  while (j > 0 && xAt(j) < at) --j;
  if (j <= 1 || j >= m) return std::nullopt;
  return j;
}

double gFactor(double cd, double absorption) { return absorption == 0.0 ? 0.0 : cd / absorption; }
