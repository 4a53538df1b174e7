// The searches of the similarity windows: a grid over band width and shift
// (or x scale factor), and the final computation at one setting.
//
// Plain functions over plain data (kernels.h). The trials of one band width
// are shared among threads; every trial's values, and the bests, equal those
// of a plain loop over the trials in order, on every processor: trial values
// are accumulated step by step, kernel sums take their terms in one fixed
// order at every vector width, bests are kept in loop order, and a
// trial that divides the band hands the divided band to the later trials of
// its band width.
//
// A trial counts when its x scale factor is above 0, its computed maximum is
// not 0, the trial band reaches its signal floor (SIGNAL_FRACTION of its
// largest magnitude) at an index the kernels compare, and every kernel gives
// a value (its walk took a point inside the window and its denominator is not
// 0). A band that is only a flat tail in the window would otherwise match a
// flat measured tail almost perfectly. A best of "none yet" is an empty
// optional; a cross section or factor of exactly 0 is a value.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "similarity/kernels.h"

// A curve counts as signal where it reaches this fraction of its largest
// magnitude: weak real bands (an n-pi* band at 0.3 % of the strongest) do,
// the flat tail of a band does not.
constexpr double SIGNAL_FRACTION = 1e-4;

enum class SearchOutcome {
  Found,           // at least one trial counted
  CalculatedZero,  // every trial tried had computed maximum 0 or no signal where it was compared
  NoneCounted,     // no trial counted for another reason
};

// One trial as the search saw it.
struct TrialRecord {
  double width = 0;     // sigma (eV) or gamma (1/cm)
  double position = 0;  // shift (nm) or x scale factor
  bool counted = false;
  double computedMaximum = 0;  // after a division of the band
  double SCALE = 0;
  double first = 0;   // UV, IR: cross section; ECD, VCD: S
  double second = 0;  // UV, IR: similarity factor; ECD, VCD: S of the mirror image
};

struct BestValue {
  double value = 0;
  double position = 0;
  double width = 0;
};

// UV/ECD: the trial band is built from the line spectrum of slot 1 (bins from
// 1000); IR/VCD from its line list.
struct UvEcdLines {
  std::span<const double> lines;
  BandShape shape = BandShape::Gaussian;
};
struct IrVcdLines {
  std::span<const double> wavenumbers;
  std::span<const double> strengths;
};

// The ranges of a search as the window's edits hold them after their checks.
// Positions: whole shifts in nm (wavelength mode) or x scale factors.
struct SearchRanges {
  int X1 = 0;
  int X2 = 0;
  double positionFrom = 0;
  double positionTo = 0;
  double widthFrom = 0;
  double widthTo = 0;
};

// ---- 'UV' and 'IR': smallest cross section and best similarity factor ---------------

struct OverlapSearchResult {
  SearchOutcome outcome = SearchOutcome::NoneCounted;
  std::optional<BestValue> smallestCrossSection;
  std::optional<BestValue> bestFactor;
};

OverlapSearchResult searchUv(const UvEcdLines& uv, UvEcdMode mode, const MeasuredPoints& measured,
                             const SearchRanges& ranges, double EXPUVMAX, std::vector<TrialRecord>* trials = nullptr);
OverlapSearchResult searchIr(const IrVcdLines& ir, const MeasuredPoints& measured, const SearchRanges& ranges,
                             double EXPIRMAX, std::vector<TrialRecord>* trials = nullptr);

// ---- 'ECD' and 'VCD': best delta and best tracked factor ---------------------------------

struct FineTuningResult {
  SearchOutcome outcome = SearchOutcome::NoneCounted;
  std::optional<BestValue> bestFactor;
  std::optional<BestValue> bestDelta;
};

// trackMirror: the tracked factor is the mirror image's ("enantiomeric"
// ticked and "normal" not).
FineTuningResult fineTuneEcd(const UvEcdLines& cd, UvEcdMode mode, const MeasuredPoints& measured,
                             const SearchRanges& ranges, double EXPCDMAX, bool trackMirror,
                             std::vector<TrialRecord>* trials = nullptr);
FineTuningResult fineTuneVcd(const IrVcdLines& vcd, const MeasuredPoints& measured, const SearchRanges& ranges,
                             double EXPVCDMAX, bool trackMirror, std::vector<TrialRecord>* trials = nullptr);

// ---- Final computations at one setting --------------------------------------------------
//
// On a trial band already built for the chosen band width; the band is left
// divided when the scaling step divides it.

// SCALE multiplies the trial band as the kernels compared it; displayedScale
// is the factor that takes slot 1's band as the main window shows it to the
// measured curve, the one a person reads.
struct FinalOverlap {
  SearchOutcome outcome = SearchOutcome::NoneCounted;
  double factor = 0;
  double SCALE = 0;
  double displayedScale = 0;
};
FinalOverlap finalUv(std::span<double> CMPUV, UvEcdMode mode, const MeasuredPoints& measured, int X1, int X2,
                     double position, double EXPUVMAX);
FinalOverlap finalIr(std::span<double> CMPIR, const MeasuredPoints& measured, int X1, int X2, double xScale,
                     double EXPIRMAX);

struct FinalSignSplit {
  SearchOutcome outcome = SearchOutcome::NoneCounted;
  double S = 0;
  double mirror = 0;
  double SCALE = 0;
  double displayedScale = 0;
  bool normalised = false;  // VCD: the band was divided by its maximum
};
FinalSignSplit finalEcd(std::span<double> CMPCD, UvEcdMode mode, const MeasuredPoints& measured, int X1, int X2,
                        double position, double EXPCDMAX);
// Divides the band, and says so, when its maximum is more than 100 times the
// measured one and above 1.
FinalSignSplit finalVcd(std::span<double> CMPVCD, const MeasuredPoints& measured, int X1, int X2, double xScale,
                        double EXPVCDMAX);
