#include "display/ranges.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "store/constants.h"

namespace {

// Halves go to the even neighbour under the default rounding mode.
int roundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

// How many points of a measured slot or a trace may be read.
int readablePoints(int count, std::span<const double> a, std::span<const double> b) {
  const std::size_t held = std::min(a.size(), b.size());
  if (count <= 0) return 0;
  return static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(count), held));
}

bool absoluteKind(RangeKind kind) { return kind == RangeKind::Ecd || kind == RangeKind::Vcd; }

bool wavelengthGridKind(RangeKind kind) { return kind == RangeKind::Ecd || kind == RangeKind::Uv; }

// Wavelength grid ends in whole nm.
constexpr int FIRST_NM = MINLAMBDA / 10;
constexpr int LAST_NM = MAXLAMBDA / 10;

}  // namespace

SlotState slotStateOf(std::string_view state) {
  if (state == "calc") return SlotState::Calc;
  if (state == "exp") return SlotState::Exp;
  return SlotState::Other;
}

std::optional<GridRun> wavelengthBinRun(RangeWindow window, int shift) {
  // In 64 bits: edits may hold any 32-bit number.
  const long long firstNm = std::max<long long>(static_cast<long long>(window.low) - shift, FIRST_NM);
  if (firstNm > LAST_NM) return std::nullopt;
  const long long lastNm = std::min<long long>(static_cast<long long>(window.high) - shift, LAST_NM);
  const int first = static_cast<int>(10 * firstNm);
  const int last = static_cast<int>(std::max<long long>(10 * lastNm, first - 1));
  return GridRun{first, last};
}

std::optional<GridRun> wavenumberBinRun(RangeWindow window, double xScale) {
  if (!(xScale > 0.0)) return std::nullopt;
  const double scaled = 1e8 * xScale;
  auto shown = [scaled](int bin) { return scaled / bin; };
  int first = MINLAMBDA;
  while (first <= MAXLAMBDA && !(shown(first) <= window.low)) ++first;
  if (first > MAXLAMBDA) return std::nullopt;
  int next = first;
  while (next < MAXLAMBDA && shown(next) > window.high) ++next;
  return GridRun{first, next - 1};
}

std::optional<GridRun> wavenumberIndexRun(RangeWindow window, double xScale) {
  if (!(xScale > 0.0)) return std::nullopt;
  const double firstIndex = window.low / xScale;
  int first = 0;
  if (firstIndex >= 0.0) {
    // Tested before rounding: a tiny scale factor makes the quotient too large
    // for an integer.
    if (firstIndex > MAXWAVENUMBER + 1.0) return std::nullopt;
    first = roundHalfEven(firstIndex);
    if (first > MAXWAVENUMBER) return std::nullopt;
  }
  const double lastIndex = window.high / xScale;
  int last = 0;
  if (lastIndex > MAXWAVENUMBER)
    last = MAXWAVENUMBER;
  else if (lastIndex < first - 1.0)
    last = first - 1;
  else
    last = roundHalfEven(lastIndex);
  return GridRun{first, last};
}

std::optional<double> runMaximum(std::span<const double> band, int bandFirst, GridRun run, bool absolute) {
  // Positions in the span, in 64 bits so that no grid point can overflow.
  const long long first = static_cast<long long>(run.first) - bandFirst;
  if (first < 0 || first >= static_cast<long long>(band.size())) return std::nullopt;
  const long long last =
      std::min(std::max(static_cast<long long>(run.last) - bandFirst, first), static_cast<long long>(band.size()) - 1);
  auto compared = [&](long long position) {
    const double value = band[static_cast<std::size_t>(position)];
    return absolute ? std::abs(value) : value;
  };
  double best = compared(first);
  for (long long position = first + 1; position <= last; ++position) {
    const double value = compared(position);
    if (value > best) best = value;
  }
  return best;
}

std::optional<double> measuredMaximum(RangeKind kind, UvEcdUnit unit, RangeWindow window,
                                      std::span<const double> x, std::span<const double> y, int count) {
  const int points = readablePoints(count, x, y);
  if (points == 0) return std::nullopt;
  const bool absolute = absoluteKind(kind);
  // Measured UV and ECD x values are wavelengths; the wavenumber window
  // compares them as 1e7 / x.
  const bool asWavenumber = wavelengthGridKind(kind) && unit == UvEcdUnit::Wavenumber;
  const double low = window.low;
  const double high = window.high;
  auto inside = [&](int p) {
    if (!asWavenumber) return low <= x[p] && x[p] <= high;
    const double wavenumber = 1e7 / x[p];
    return high <= wavenumber && wavenumber <= low;
  };
  auto compared = [&](int p) { return absolute ? std::abs(y[p]) : y[p]; };

  int start = 0;
  if (kind == RangeKind::Uv) {
    start = points - 1;
    for (int p = 0; p < points; ++p) {
      if (asWavenumber ? 1e7 / x[p] >= high : x[p] <= high) {
        start = p;
        break;
      }
    }
  }
  double best = compared(start);
  for (int p = 0; p < points; ++p) {
    if (!inside(p)) continue;
    const double value = compared(p);
    if (value > best) best = value;
  }
  return best;
}

int updateScaleFactors(RangeKind kind, SlotScales& scales) {
  int best = 0;
  for (int s = 0; s < CURVE_SLOTS; ++s)
    if (scales.maximum[s] > scales.maximum[best]) best = s;
  for (int s = 0; s < CURVE_SLOTS; ++s) {
    const double maximum = scales.maximum[s];
    // UV maxima may be negative; such a slot keeps its factor.
    const bool guard = kind == RangeKind::Uv ? maximum > 0.0 : maximum != 0.0;
    if (guard) scales.factor[s] = scales.maximum[best] / maximum;
  }
  return best;
}

void determineRange(RangeKind kind, UvEcdUnit unit, RangeWindow window,
                    std::span<const RangeSlot, CURVE_SLOTS> slots, SlotScales& scales) {
  const SlotState first = slots[0].state;
  if (first == SlotState::Calc || first == SlotState::Exp) {
    for (int s = 0; s < CURVE_SLOTS; ++s) {
      const RangeSlot& slot = slots[s];
      if (slot.state == SlotState::Exp) {
        scales.maximum[s] =
            measuredMaximum(kind, unit, window, slot.measuredX, slot.measuredY, slot.measuredCount).value_or(0.0);
      } else if (slot.state == SlotState::Calc) {
        std::optional<GridRun> run;
        if (!wavelengthGridKind(kind))
          run = wavenumberIndexRun(window, slot.xScale);
        else if (unit == UvEcdUnit::Wavelength)
          run = wavelengthBinRun(window, slot.shift);
        else
          run = wavenumberBinRun(window, slot.xScale);
        std::optional<double> maximum;
        const int bandFirst = wavelengthGridKind(kind) ? MINLAMBDA : 0;
        if (run) maximum = runMaximum(slot.band, bandFirst, *run, absoluteKind(kind));
        scales.maximum[s] = maximum.value_or(0.0);
      }
    }
  }
  updateScaleFactors(kind, scales);
}

void determineHplcRange(double x1, double x2, std::span<const HplcTrace, CURVE_SLOTS> traces, HplcScales& scales) {
  // UV and CD traces can sit side by side: every slot that holds a
  // chromatogram is measured, each by the rule of its own detector.
  const HplcTrace& first = traces[0];
  if (!first.uvDetected && !first.cdDetected) return;
  std::array<bool, CURVE_SLOTS> measured{};
  for (int s = 0; s < CURVE_SLOTS; ++s) {
    const HplcTrace& trace = traces[s];
    if (!trace.uvDetected && !trace.cdDetected) continue;
    measured[s] = true;
    const bool uvRule = trace.uvDetected && !trace.cdDetected;
    const int points = readablePoints(trace.count, trace.times, trace.signals);
    if (points == 0) {
      scales.maximum[s] = 0.0;
      scales.minimum[s] = 0.0;
      continue;
    }
    // The first point from X1 on starts both candidates, inside the window
    // or not; the last point when no time reaches X1.
    int start = 0;
    while (start < points - 1 && trace.times[start] < x1) ++start;
    double maximum = trace.signals[start];
    double minimum = trace.signals[start];
    for (int p = start + 1; p < points; ++p) {
      const double time = trace.times[p];
      if (!(x1 <= time && time <= x2)) continue;
      const double signal = trace.signals[p];
      if (signal > maximum) maximum = signal;
      if (signal < minimum) minimum = signal;
    }
    if (uvRule && minimum < 0.0) minimum = 0.0;
    scales.maximum[s] = maximum;
    scales.minimum[s] = minimum;
  }

  updateHplcFactors(measured, scales);
}

void updateHplcFactors(const std::array<bool, CURVE_SLOTS>& traces, HplcScales& scales) {
  int best = 0;
  while (best < CURVE_SLOTS - 1 && !traces[best]) ++best;
  for (int s = 0; s < CURVE_SLOTS; ++s)
    if (traces[s] && scales.maximum[s] > scales.maximum[best]) best = s;
  for (int s = 0; s < CURVE_SLOTS; ++s)
    if (traces[s] && scales.maximum[s] != 0.0) scales.factor[s] = scales.maximum[best] / scales.maximum[s];
}
