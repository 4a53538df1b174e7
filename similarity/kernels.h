// Trial band spectra and the similarity kernels that compare them with a
// measured curve.
//
// Plain functions over plain arrays: no store, no controls. The similarity
// windows fill the inputs from curve slots 1 (computed) and 2 (measured) and
// from their edits.
//
// Index conventions
// - UV/ECD comparison grid: UVECD_TRIAL_SIZE values, element k holding the
//   wavelength bin TRIAL_FIRST_BIN + k (bin b stands for b / 10 nm), 100.0 to
//   1100.0 nm. Line spectra are handed over as in broadening.h (element 0 is
//   bin 1000); only their first UVECD_TRIAL_SIZE bins are read.
// - IR/VCD comparison grid: IRVCD_TRIAL_SIZE values indexed by wavenumber.
// - Measured points: point p (counted from 1, x descending) is element p - 1.
//
// Reads off the grid (an index outside the grid, not finite, or beyond the
// integer range) give 0. Walks never go past the last point and start at
// point 1 where the walk would begin before it. A kernel whose denominator is
// 0, or whose walk took no point inside the window, gives no value.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "display/broadening.h"

constexpr int TRIAL_FIRST_BIN = 1000;
constexpr int TRIAL_LAST_BIN = 11000;
constexpr std::size_t UVECD_TRIAL_SIZE = TRIAL_LAST_BIN - TRIAL_FIRST_BIN + 1;
constexpr std::size_t IRVCD_TRIAL_SIZE = MAXWAVENUMBER + 1;

// The measured curve of slot 2: points 1..count, x descending (nm for UV and
// ECD, 1/cm for IR and VCD). count is cut to what the spans hold.
struct MeasuredPoints {
  std::span<const double> x;
  std::span<const double> y;
  int count = 0;
  int size() const;
};

// ---- Trial band spectra ------------------------------------------------------

// UV: the display's band of the lines in bins 1000..11000 on those bins,
// without the display's division by WZPI.
void trialUvBand(std::span<const double> osc, double sigma, BandShape shape, std::span<double> band);
// ECD: the display's band of the lines in bins 1000..11000 on those bins.
void trialCdBand(std::span<const double> rots, double sigma, BandShape shape, std::span<double> band);
// IR and VCD: the display's bands.
void trialIrBand(std::span<const double> wavenumbers, std::span<const double> strengths, double gamma,
                 std::span<double> band);
void trialVcdBand(std::span<const double> wavenumbers, std::span<const double> strengths, double gamma,
                  std::span<double> band);

// ---- Kernels -----------------------------------------------------------------
//
// SHIFT form: point x compares with bin Round(10 x) - 10 SHIFT. XSCALE form
// (UV/ECD, wavenumber unit): bin Round((x XSCALE) 10). XSCALEF form (IR/VCD):
// index Round(Round(x) / XSCALEF). The computed value is SCALE times the grid
// value, its negative for the mirror image.
//
// Walk A: the points with X1 < x <= X2. Walk A': with nu = 10^7 / x, the
// points with X2 <= nu < X1. Walk B: from the last point above X2 (point 1 at
// the least) to the first point at or below X1 (point N at the most). Walk B':
// as B with nu. Walk B'': from the first point at or below X2 to the first at
// or below X1.

namespace similarity {
std::optional<double> CrossSec(std::span<const double> CMPUV, const MeasuredPoints& points, double SCALE, int SHIFT,
                               int X1, int X2);
}
namespace similarityvcd {
std::optional<double> CrossSec(std::span<const double> CMPIR, const MeasuredPoints& points, double SCALE,
                               double XSCALEF, int X1, int X2);
}
std::optional<double> SimUV(std::span<const double> CMPUV, const MeasuredPoints& points, double SCALE, int SHIFT,
                            int X1, int X2);
std::optional<double> SimUV_WN(std::span<const double> CMPUV, const MeasuredPoints& points, double SCALE,
                               double XSCALE, int X1, int X2);
std::optional<double> CrossSec_WN(std::span<const double> CMPUV, const MeasuredPoints& points, double SCALE,
                                  double XSCALE, int X1, int X2);
std::optional<double> SimCD(std::span<const double> CMPCD, const MeasuredPoints& points, double SCALE, int SHIFT,
                            int X1, int X2);
std::optional<double> SimCD_WN(std::span<const double> CMPCD, const MeasuredPoints& points, double SCALE,
                               double XSCALE, int X1, int X2);
std::optional<double> SimCDEnant(std::span<const double> CMPCD, const MeasuredPoints& points, double SCALE,
                                 int SHIFT, int X1, int X2);
std::optional<double> SimCDEnant_WN(std::span<const double> CMPCD, const MeasuredPoints& points, double SCALE,
                                    double XSCALE, int X1, int X2);
std::optional<double> SimIR(std::span<const double> CMPIR, const MeasuredPoints& points, double SCALE,
                            double XSCALEF, int X1, int X2);
std::optional<double> SimVCD(std::span<const double> CMPVCD, const MeasuredPoints& points, double SCALE,
                             double XSCALEF, int X1, int X2);
std::optional<double> SimVCDEnant(std::span<const double> CMPVCD, const MeasuredPoints& points, double SCALE,
                                  double XSCALEF, int X1, int X2);

enum class UvEcdMode { Wavelength, Wavenumber };

// Whether a measured point lies inside the window: X1 < x <= X2 (UV/ECD in
// the wavelength unit, and IR/VCD), or X2 <= nu < X1 in the UV/ECD wavenumber
// unit. These are the points walks A and A' take; the other walks take them
// too, beside a point beyond each edge. A window of one value holds none.
bool rangeHoldsPoint(const MeasuredPoints& points, UvEcdMode mode, int X1, int X2);

// ---- Measured maxima -----------------------------------------------------------
//
// None when the walk finds no point to start from.

// The largest y with X1 <= x <= X2 (nm), or X2 <= nu <= X1, starting from the
// first point at or inside the long-wavelength edge.
std::optional<double> EXPUVMAX(const MeasuredPoints& points, UvEcdMode mode, int X1, int X2);

// The three rules of the measured ECD maximum, all the largest |y|.
enum class EcdMaximumRule {
  Wavelength,         // points from the last above X2 to the first at or below X1
  WavenumberUvRun,    // the same with nu
  WavenumberEcdRun,   // every point with X2 <= nu <= X1, from the first with nu >= X2
};
std::optional<double> EXPCDMAX(const MeasuredPoints& points, EcdMaximumRule rule, int X1, int X2);

// IR: the largest y with X1 <= x <= X2. VCD: the largest |y| of the points
// from the first at or below X2 to the first at or below X1.
std::optional<double> EXPIRMAX(const MeasuredPoints& points, int X1, int X2);
std::optional<double> EXPVCDMAX(const MeasuredPoints& points, int X1, int X2);

// ---- Trial maximum ranges ------------------------------------------------------
//
// Grid indexes first..last (bins for UV/ECD, wavenumbers for IR/VCD), as
// doubles so that a range far off the grid or not finite is still a range:
// the indexes the kernels compare for the window X1..X2 at one shift or x
// scale, cut to the grid. A range wholly off the grid stays as it is (its
// maximum is 0).
struct TrialRange {
  double first = 0;
  double last = 0;
};

// UV/ECD, wavelength unit, shift s: bins 10 (X1 - s) .. 10 (X2 - s).
TrialRange shiftTrialRange(int X1, int X2, int shift);
// UV/ECD, wavenumber unit, x scale f: bins Round(((1e7 / X1) f) 10) ..
// Round(((1e7 / X2) f) 10), the short and long wavelength edge as the kernels
// index them.
TrialRange scaleTrialRange(int X1, int X2, double f);
// IR/VCD, x scale f: Round(X1 / f) .. Round(X2 / f).
TrialRange irTrialRange(int X1, int X2, double f);

// The running maximum over the range: it starts at the first index (also when
// the range is reversed) and is replaced by a strictly greater value; off the
// grid reads 0. absolute: the largest |value|.
double trialMaximum(std::span<const double> grid, int gridFirstIndex, TrialRange range, bool absolute);

// Round to the nearest integer, halves to even, in double: no overflow.
double roundHalfEven(double value);
