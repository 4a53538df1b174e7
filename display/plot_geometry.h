// The coordinate arithmetic of the four tab-page plots: where a bin, an index,
// a measured point or a value lands in the picture, what the tick labels read,
// and which measured points a curve walks through. Plain functions over plain
// numbers; the painters of the main window draw what these return.
//
// Every function that can meet a degenerate window or scale (an x window of
// no width, a full scale of 0) reports it instead of dividing by zero: the
// painter then leaves that curve out and draws the rest of its plot.
#pragma once

#include <string>

#include <functional>
#include <optional>
#include <span>
#include <vector>

// A pixel coordinate of a real position, nearest integer with halves to
// even. Far-off positions are clamped to +-1e6 (the canvas clips them), so
// a huge value is never an error; NaN lands far off as well.
int pixelOf(double position);

// The height of value v over the zero line `zero` of a panel whose full scale
// stands `height` pixels from that line: zero - nint(height / fullScale * v).
// None when the full scale is 0 (or not a number).
std::optional<int> valueY(int zero, double fullScale, double value, int height = 200);

// ---- UV/ECD page -----------------------------------------------------------

// The full scale of a UV or ECD curve: M = maximum x scaling plus a tenth;
// the tenth is rounded to a whole number for the computed UV curves in the
// wavelength unit.
double uvEcdFullScale(double maximum, double scaling, bool wholeTenth);

// x tick label k (0..10) of the wavelength unit; the UV panel rounds the step,
// the ECD panel rounds the sum (the two differ where a half is rounded).
long long uvTickLabel(int x1, int x2, int k);
long long ecdTickLabel(int x1, int x2, int k);
// x tick label k (0..10) of the wavenumber unit, both panels: X1 is the
// high wavenumber at the left.
long long wavenumberTickLabel(int x1, int x2, int k);

// A computed UV/ECD curve in the wavelength unit: the bins from 10 x START to
// 10 x ENDE, START = X1 - shift raised to 100 nm, ENDE = X2 - shift lowered to
// 4000 nm. Bin c of the run (c = 0, 1, ...) lands at x = firstX + nint(c / 10
// / step) with step = (X2 - X1) / 450 nm per pixel; firstX is 50, moved right
// by the raise of START.
struct WavelengthCurveRun {
  int firstBin = 0;
  int lastBin = 0;
  double step = 0.0;
  int firstX = 50;
  int x(int bin) const;
};
// None for a window of no width or a reversed one, and when the run holds no
// bin of the grid.
std::optional<WavelengthCurveRun> wavelengthCurveRun(int x1, int x2, int shift);
// A measured point of wavelength x (nm): 50 + nint((x - X1) / step). None for
// a window of no width.
std::optional<int> measuredWavelengthX(int x1, int x2, double x);

// The wavenumber unit: step = 450 / (X1 - X2) pixels per 1/cm; a wavenumber w
// lands at 50 + nint((X1 - w) x step). None for a window of no width.
std::optional<double> wavenumberStep(int x1, int x2);
int wavenumberX(int x1, double step, double wavenumber);
// The wavenumber that bin J (tenths of a nm) shows under x scale factor f.
double binWavenumber(int bin, double xScale);

// The bar scale of a line spectrum: 1.1 x the largest value (|value| when
// absolute; strictly larger replaces) of the bins first..last of a grid whose
// element 0 is bin `gridFirst`. 0 when the bins hold no nonzero value.
double barScale(std::span<const double> lines, int gridFirst, int first, int last, bool absolute);

// How the absolute y labels of the UV/ECD page print a full scale: every
// label (the full scale, half of it, zero) times 10^exponent, with
// `decimals` decimals, so that each tells its tick's value to within 5 %.
// Whole numbers wherever they already do; else up to three decimals; else a
// power of ten in the title and a mantissa of up to two decimals.
struct AbsoluteScale {
  int exponent = 0;  // 0: no power in the title
  int decimals = 0;
};
AbsoluteScale absoluteScale(double fullScale);
// A label's text: value x 10^exponent with the scale's decimals.
std::string absoluteLabel(const AbsoluteScale& scale, double value);

// ---- IR/VCD page -----------------------------------------------------------

// x tick label k of `divisions` steps from X1 (right end) to X2 (left end).
long long irVcdTickLabel(int x1, int x2, int k, int divisions);

// The grid indices of a computed IR or VCD curve and their x positions: every
// index i = 0..4000 with X1 <= i x f <= X2, the k-th of them (k = 1, 2, ...)
// at 500 - nint(nint(k x f) x step), step = 450 / (X2 - X1). Empty for a window
// of no width, a reversed one, or X1 below 0.
struct IndexPoint {
  int index = 0;
  int x = 0;
};
std::vector<IndexPoint> irVcdComputedPoints(int x1, int x2, double xScale);
// A measured IR or VCD point of wavenumber x: 50 + nint((X2 - x) x step).
// None for a window of no width.
std::optional<int> irVcdMeasuredX(int x1, int x2, double x);

// ---- Measured curves -----------------------------------------------------

// The walk of a curve stored with x falling: from point `count` towards point
// 1, first passing the points that lie before the window's start, then
// drawing while the points do not lie beyond its end. The pen is placed on
// point `from`; lines go to points from, from - 1, ..., to (to > from: only
// the pen is placed). None when every point lies before the start. Points
// outside 1..count of the span are never read.
struct PointWalk {
  int from = 0;
  int to = 0;
};
std::optional<PointWalk> fallingPointWalk(std::span<const double> x, int count,
                                          const std::function<bool(double)>& beforeStart,
                                          const std::function<bool(double)>& beyondEnd);

// ---- HPLC and ORD pages ----------------------------------------------------

// HPLC x tick labels k = 0..11 for the time window X1..X2 (minutes); only
// the two ends (k = 0 and k = 11) are labelled when the window is shorter
// than 11 minutes. Elements are none for unlabelled ticks.
std::vector<std::optional<long long>> hplcTickLabels(double x1, double x2);
// A chromatogram point of time t: 50 + nint((t - X1) / step), step =
// (X2 - X1) / 550. None for a window of no width.
std::optional<int> hplcX(double x1, double x2, double time);

// The ORD scale point: point 1, replaced by every point strictly inside
// (X1, X2) whose |rotation| is strictly larger. Returns the point's
// |rotation|; 0 without points.
double ordScaleValue(std::span<const double> x, std::span<const double> y, int count, int x1, int x2);
// The points of an ORD slot with a wavelength in [low, high], from the
// shortest wavelength to the longest, whatever order they are stored in.
std::vector<int> ordPointsInWindow(std::span<const double> x, int count, double low, double high);
// ORD x tick label k of `divisions` steps from X1 (left) to X2 (right).
long long ordTickLabel(int x1, int x2, int k, int divisions);
// An ORD point of wavelength x: 50 + nint((x - X1) / step), step = (X2 - X1)
// / 450. None for a window of no width.
std::optional<int> ordX(int x1, int x2, double x);
