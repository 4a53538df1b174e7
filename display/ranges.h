// How high each curve slot rises inside the x window of its tab page, and the
// y scale factors derived from that: FACTOR[s] = MAX[best] / MAX[s], best being
// the slot with the largest maximum.
//
// Plain functions over plain data; the range methods of the main window fill
// the inputs from the store and the edits and write the results back.
//
// Index conventions
// - Slots: element k of every per-slot array is curve slot k + 1.
// - Computed bands, as in broadening.h: wavelength grid spans of 39001 values
//   starting at bin 1000 (element k is bin 1000 + k); wavenumber grid spans of
//   4001 values indexed by wavenumber. Runs are given in bins or wavenumber
//   indices, never in span positions.
// - Measured points and chromatogram points: point p (counted from 1) is
//   element p - 1; only points 1 to the count are read, and never more than the
//   spans hold.
//
// Windows reaching past the grid: the walks are clamped to the grid. A
// computed slot that has nothing on the grid to measure (the window lies
// wholly beyond the end of the grid, or its x scale factor is 0 or below) and a
// measured slot without points get the maximum 0, so their factor keeps its
// value.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string_view>

constexpr int CURVE_SLOTS = 5;

// The slot state texts: "calc", "exp"; every other text ("false", or the empty
// text before the first reset) is Other.
enum class SlotState { Other, Calc, Exp };
SlotState slotStateOf(std::string_view state);

enum class RangeKind { Ecd, Uv, Vcd, Ir };

// The UV/ECD x unit chosen in the settings window.
enum class UvEcdUnit { Wavelength, Wavenumber };

// The window as its edits hold it. ECD and UV, wavelength unit: low = X1 (nm),
// high = X2 (nm). ECD and UV, wavenumber unit: low = X1 = the high wavenumber
// (cm^-1), high = X2 = the low wavenumber. VCD and IR: low = X1, high = X2
// (cm^-1).
struct RangeWindow {
  int low = 0;
  int high = 0;
};

struct RangeSlot {
  SlotState state = SlotState::Other;
  std::span<const double> band;       // computed band of the slot
  std::span<const double> measuredX;  // measured points, x descending as stored
  std::span<const double> measuredY;
  int measuredCount = 0;
  int shift = 0;        // ECD and UV, wavelength unit: x correction in whole nm
  double xScale = 1.0;  // ECD and UV, wavenumber unit, and VCD and IR: x scale factor
};

// Read and written: maxima and factors that no rule reaches keep their value.
struct SlotScales {
  std::array<double, CURVE_SLOTS> maximum{};
  std::array<double, CURVE_SLOTS> factor{};
};

// A run of grid points walked upward from first. The first point is always
// measured; last < first means it is the only one.
struct GridRun {
  int first = 0;
  int last = 0;
};

// ECD and UV, wavelength unit: bins 10 x (X1 - shift) to 10 x (X2 - shift),
// the nm ends raised to 100 and lowered to 4000. None when the first nm lies
// beyond 4000.
std::optional<GridRun> wavelengthBinRun(RangeWindow window, int shift);

// ECD and UV, wavenumber unit: bin J shows the wavenumber 1e8 x xScale / J. The
// run starts at the first bin from 1000 on that shows at most X1 and goes on
// while the bin shows more than X2 and lies below 40000. None when no bin
// shows at most X1 or xScale is not above 0.
std::optional<GridRun> wavenumberBinRun(RangeWindow window, double xScale);

// VCD and IR: index i shows the wavenumber i x xScale. The run goes from
// round(X1 / xScale) (0 when negative) to round(X2 / xScale) (4000 when above),
// halves to even. None when the first index lies beyond 4000 or xScale is not
// above 0.
std::optional<GridRun> wavenumberIndexRun(RangeWindow window, double xScale);

// The largest value of the run (|value| when absolute), the first point
// winning ties. bandFirst is the grid point that band[0] holds (MINLAMBDA for
// the wavelength grid, 0 for the wavenumber grid). Points outside the band are
// not read; none when the first point lies outside it.
std::optional<double> runMaximum(std::span<const double> band, int bandFirst, GridRun run, bool absolute);

// The largest compared value (|y| for ECD and VCD, y for UV and IR) of the
// measured points inside the window, bounds included, starting from the
// kind's starting candidate (point 1; for UV the first point with x <= X2, or
// 1e7 / x >= X2 in the wavenumber unit, else the last point), which wins
// unless a point inside is strictly larger. None without points. The unit
// counts only for ECD and UV; in the wavenumber unit x is compared as 1e7 / x.
std::optional<double> measuredMaximum(RangeKind kind, UvEcdUnit unit, RangeWindow window,
                                      std::span<const double> x, std::span<const double> y, int count);

// The best slot (strictly larger replaces, ties to the lower slot) and the
// factors of the slots whose maximum passes the guard (above 0 for UV, not 0
// for the others). Returns the best slot's index (0 for slot 1).
int updateScaleFactors(RangeKind kind, SlotScales& scales);

// A whole range determination of one kind: when slot 1 is "calc" or "exp",
// the maximum of every "calc" and "exp" slot is measured; then the factors.
// The unit counts only for ECD and UV.
void determineRange(RangeKind kind, UvEcdUnit unit, RangeWindow window,
                    std::span<const RangeSlot, CURVE_SLOTS> slots, SlotScales& scales);

// Chromatograms.
struct HplcTrace {
  bool uvDetected = false;  // HPLC_UV
  bool cdDetected = false;  // HPLC_CD
  std::span<const double> times;  // minutes
  std::span<const double> signals;
  int count = 0;
};

struct HplcScales {
  std::array<double, CURVE_SLOTS> maximum{};
  std::array<double, CURVE_SLOTS> minimum{};
  std::array<double, CURVE_SLOTS> factor{};
};

// Measures every slot that holds a chromatogram (either detector flag), each
// by the rule of its own detector: the UV rule raises a negative minimum to 0
// (a slot with both flags counts as CD). Nothing changes when slot 1 holds no
// chromatogram; slots without one keep their values. A trace without points
// gets the maximum and minimum 0. Times X1 to X2 in minutes, bounds included.
void determineHplcRange(double x1, double x2, std::span<const HplcTrace, CURVE_SLOTS> traces, HplcScales& scales);

// The factors of the slots marked in `traces`, each against the largest
// maximum among them alone (strictly larger replaces, ties to the lower
// slot); a trace of maximum 0 keeps its factor. The range determination
// takes every chromatogram; a plot of one detector kind takes its own.
void updateHplcFactors(const std::array<bool, CURVE_SLOTS>& traces, HplcScales& scales);
