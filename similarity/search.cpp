#include "similarity/search.h"

#include <algorithm>
#include <cmath>

#include "platform/parallel.h"
#include "similarity/kernel_core.h"

using namespace similarity_core;

namespace {

constexpr double SIGMA_STEP = 0.01;
constexpr double XSCALE_STEP = 0.001;
constexpr double GAMMA_STEP = 1.0;
// A trial band more than this many times higher than the measured curve is
// divided by its own maximum.
constexpr double NORMALISATION_RATIO = 100.0;
// Trials planned at once: bounds the memory of a search over huge ranges.
constexpr std::size_t TRIALS_PER_BATCH = 4096;

// Runs work(0..count - 1) on every core when the work is worth it. Each index
// is done by one thread and writes only its own results.
template <class Work>
void parallelFor(std::size_t count, double cost, const Work& work) {
  constexpr double costPerThread = 200000.0;
  ShareWork(count, UsefulThreads(count, cost, costPerThread, count), work);
}

// The positions of one band width, step by step as a plain loop makes them.
class PositionLoop {
 public:
  // Whole shifts from..to, or x scales from while <= to in accumulated steps.
  static PositionLoop shifts(double from, double to) { return {from, to, 1.0}; }
  static PositionLoop scales(double from, double to) { return {from, to, XSCALE_STEP}; }
  bool done() const { return !(value_ <= to_) || stuck_; }
  double value() const { return value_; }
  void next() {
    const double following = value_ + step_;
    stuck_ = following == value_;
    value_ = following;
  }

 private:
  PositionLoop(double from, double to, double step) : value_(from), to_(to), step_(step) {}
  double value_;
  double to_;
  double step_;
  bool stuck_ = false;
};

// The band widths of a search, in order: from while <= to (the 'UV' and 'IR'
// runs), or from - step while < to, stepping first (the fine tunings). The
// bands of a few widths are built at once, one width per thread; the widths
// are then searched one after the other.
template <class BuildBand, class Body>
void forEachBandWidth(double from, double to, double step, bool stepFirst, std::size_t bandSize,
                      const BuildBand& buildBand, const Body& body) {
  const std::size_t perBatch = AvailableCpus();
  double width = stepFirst ? from - step : from;
  bool done = false;
  // Whether `width` is the next width to search; steps first when asked to.
  auto advance = [&](bool first) {
    if (stepFirst) {
      if (!(width < to)) return false;
      const double following = width + step;
      if (following == width) return false;
      width = following;
      return true;
    }
    if (!first) {
      const double following = width + step;
      if (following == width) return false;
      width = following;
    }
    return width <= to;
  };
  bool first = true;
  while (!done) {
    std::vector<double> widths;
    while (widths.size() < perBatch) {
      if (!advance(first)) {
        done = true;
        break;
      }
      first = false;
      widths.push_back(width);
    }
    std::vector<std::vector<double>> bands(widths.size(), std::vector<double>(bandSize));
    parallelFor(widths.size(), 1e9, [&](std::size_t k) { buildBand(widths[k], bands[k]); });
    for (std::size_t k = 0; k < widths.size(); ++k) body(widths[k], std::move(bands[k]));
  }
}

enum class Division { None, Silent };

struct KindSetup {
  bool absoluteMaximum;      // ECD, VCD
  Division division;
  double measuredMaximum;
  bool scaleForm;            // positions are x scale factors (must be above 0)
};

struct PlannedTrial {
  double position = 0;
  bool tried = false;
  double rawMaximum = 0;
  double computedMaximum = 0;
  double SCALE = 0;
  std::size_t version = 0;
  bool signal = false;  // the band reaches its signal floor where the kernels compare
  bool counted = false;
  double first = 0;
  double second = 0;
};

// The band of one width and the divided copies later trials read.
class BandVersions {
 public:
  BandVersions(std::vector<double> band, int gridFirstIndex) : gridFirstIndex_(gridFirstIndex) {
    signals_.push_back(bandSignal({band, gridFirstIndex_}, SIGNAL_FRACTION));
    versions_.push_back(std::move(band));
  }
  std::size_t latest() const { return versions_.size() - 1; }
  std::span<const double> at(std::size_t version) const { return versions_[version]; }
  // Where a version of the band has signal.
  const BandSignal& signal(std::size_t version) const { return signals_[version]; }
  // Raw maxima are measured on the band as it was at the start of a batch;
  // dividing by a positive number keeps the order of values, so the maximum of
  // a divided band is the raw maximum divided the same way.
  double fold(double raw) const {
    for (double divisor : divisorsSinceBase_) raw = raw / divisor;
    return raw;
  }
  void divide(double by) {
    std::vector<double> next = versions_.back();
    for (double& value : next) value = value / by;
    signals_.push_back(bandSignal({next, gridFirstIndex_}, SIGNAL_FRACTION));
    versions_.push_back(std::move(next));
    divisorsSinceBase_.push_back(by);
  }
  // Keeps only the latest band as the base of the next batch.
  void rebase() {
    std::vector<double> latestBand = std::move(versions_.back());
    const BandSignal latestSignal = signals_.back();
    versions_.clear();
    versions_.push_back(std::move(latestBand));
    signals_.assign(1, latestSignal);
    divisorsSinceBase_.clear();
  }

 private:
  std::vector<std::vector<double>> versions_;
  int gridFirstIndex_;
  std::vector<BandSignal> signals_;
  std::vector<double> divisorsSinceBase_;
};

// Runs the trials of one band width in order, in batches: the computed
// maxima in parallel, the scaling steps (and divisions) in loop order, the
// kernels in parallel; then hands each trial to `keep` in loop order.
template <class RangeOf, class Evaluate, class Keep>
void runBandWidth(std::vector<double> band, int gridFirstIndex, const KindSetup& setup, PositionLoop loop,
                  double pointCost, const RangeOf& rangeOf, const Evaluate& evaluate, const Keep& keep) {
  BandVersions versions(std::move(band), gridFirstIndex);
  std::vector<PlannedTrial> batch;
  while (!loop.done()) {
    batch.clear();
    while (!loop.done() && batch.size() < TRIALS_PER_BATCH) {
      PlannedTrial trial;
      trial.position = loop.value();
      trial.tried = !setup.scaleForm || trial.position > 0;
      batch.push_back(trial);
      loop.next();
    }
    const std::span<const double> base = versions.at(versions.latest());
    parallelFor(batch.size(), static_cast<double>(batch.size()) * base.size(), [&](std::size_t k) {
      PlannedTrial& trial = batch[k];
      if (trial.tried)
        trial.rawMaximum = trialMaximum(base, gridFirstIndex, rangeOf(trial.position), setup.absoluteMaximum);
    });
    for (PlannedTrial& trial : batch) {
      if (!trial.tried) continue;
      double computed = versions.fold(trial.rawMaximum);
      if (computed != 0 && setup.division == Division::Silent &&
          computed / setup.measuredMaximum > NORMALISATION_RATIO) {
        versions.divide(computed);
        computed = 1;
      }
      trial.computedMaximum = computed;
      trial.SCALE = computed != 0 ? setup.measuredMaximum / computed : 0;
      trial.version = versions.latest();
    }
    parallelFor(batch.size(), static_cast<double>(batch.size()) * pointCost, [&](std::size_t k) {
      PlannedTrial& trial = batch[k];
      if (!trial.tried || trial.computedMaximum == 0) return;
      evaluate(Grid{versions.at(trial.version), gridFirstIndex}, versions.signal(trial.version), trial);
    });
    for (const PlannedTrial& trial : batch) keep(trial);
    versions.rebase();
  }
}

// Tells the outcome from what the trials did.
class OutcomeCounter {
 public:
  void count(const PlannedTrial& trial) {
    if (!trial.tried) return;
    if (trial.signal) nonZero_ = true;
    if (trial.counted) counted_ = true;
    tried_ = true;
  }
  SearchOutcome outcome() const {
    if (counted_) return SearchOutcome::Found;
    if (tried_ && !nonZero_) return SearchOutcome::CalculatedZero;
    return SearchOutcome::NoneCounted;
  }

 private:
  bool tried_ = false, nonZero_ = false, counted_ = false;
};

void record(std::vector<TrialRecord>* trials, double width, const PlannedTrial& trial) {
  if (!trials || !trial.tried) return;
  trials->push_back({width, trial.position, trial.counted, trial.computedMaximum, trial.SCALE, trial.first,
                     trial.second});
}

bool closerToOne(double candidate, double best) { return std::fabs(1 - candidate) < std::fabs(1 - best); }

// ---- 'UV' and 'IR' ------------------------------------------------------------------

template <class BuildBand, class RangeOf>
OverlapSearchResult overlapSearch(const BuildBand& buildBand, std::size_t bandSize, int gridFirstIndex,
                                  const PreparedPoints& points, PointRun run, bool scaleForm, double expMax,
                                  const SearchRanges& ranges, double widthStep, const RangeOf& rangeOf,
                                  std::vector<TrialRecord>* trials) {
  OverlapSearchResult result;
  OutcomeCounter outcome;
  const KindSetup setup{false, Division::Silent, expMax, scaleForm};
  forEachBandWidth(ranges.widthFrom, ranges.widthTo, widthStep, false, bandSize, buildBand,
                   [&](double width, std::vector<double> band) {
    std::optional<BestValue> widthCross, widthFactor;
    const PositionLoop loop = scaleForm ? PositionLoop::scales(ranges.positionFrom, ranges.positionTo)
                                        : PositionLoop::shifts(ranges.positionFrom, ranges.positionTo);
    runBandWidth(
        std::move(band), gridFirstIndex, setup, loop, static_cast<double>(run.end - run.first), rangeOf,
        [&](Grid grid, const BandSignal& signal, PlannedTrial& trial) {
          trial.signal = comparedValuesReach(grid, points, run, trial.position, signal);
          if (!trial.signal) return;
          const OverlapValues values = overlapKernels(grid, points, run, trial.SCALE, trial.position);
          if (!values.crossSection || !values.overlap) return;
          trial.counted = true;
          trial.first = *values.crossSection;
          trial.second = *values.overlap;
        },
        [&](const PlannedTrial& trial) {
          outcome.count(trial);
          record(trials, width, trial);
          if (!trial.counted) return;
          if (!widthCross || trial.first < widthCross->value) widthCross = BestValue{trial.first, trial.position, width};
          if (!widthFactor || closerToOne(trial.second, widthFactor->value))
            widthFactor = BestValue{trial.second, trial.position, width};
        });
    if (widthCross && (!result.smallestCrossSection || widthCross->value < result.smallestCrossSection->value))
      result.smallestCrossSection = widthCross;
    if (widthFactor && (!result.bestFactor || closerToOne(widthFactor->value, result.bestFactor->value)))
      result.bestFactor = widthFactor;
  });
  result.outcome = outcome.outcome();
  return result;
}

// ---- 'ECD' and 'VCD' ------------------------------------------------------------------

template <class BuildBand, class RangeOf>
FineTuningResult fineTuning(const BuildBand& buildBand, std::size_t bandSize, int gridFirstIndex,
                            const PreparedPoints& points, PointRun run, bool scaleForm, Division division,
                            double expMax, const SearchRanges& ranges, double widthStep, bool trackMirror,
                            const RangeOf& rangeOf, std::vector<TrialRecord>* trials) {
  FineTuningResult result;
  OutcomeCounter outcome;
  const KindSetup setup{true, division, expMax, scaleForm};
  forEachBandWidth(ranges.widthFrom, ranges.widthTo, widthStep, true, bandSize, buildBand,
                   [&](double width, std::vector<double> band) {
    std::optional<BestValue> widthFactor, widthDelta;
    const PositionLoop loop = scaleForm ? PositionLoop::scales(ranges.positionFrom, ranges.positionTo)
                                        : PositionLoop::shifts(ranges.positionFrom, ranges.positionTo);
    runBandWidth(
        std::move(band), gridFirstIndex, setup, loop, 2.0 * (run.end - run.first), rangeOf,
        [&](Grid grid, const BandSignal& signal, PlannedTrial& trial) {
          trial.signal = comparedValuesReach(grid, points, run, trial.position, signal);
          if (!trial.signal) return;
          const SignSplitValues values = signSplitKernels(grid, points, run, trial.SCALE, trial.position);
          if (!values.plain || !values.mirror) return;
          trial.counted = true;
          trial.first = *values.plain;
          trial.second = *values.mirror;
        },
        [&](const PlannedTrial& trial) {
          outcome.count(trial);
          record(trials, width, trial);
          if (!trial.counted) return;
          const double tracked = trackMirror ? trial.second : trial.first;
          const double delta = std::fabs(trial.first - trial.second);
          if (!widthFactor) {
            widthFactor = BestValue{tracked, trial.position, width};
            widthDelta = BestValue{delta, trial.position, width};
            return;
          }
          if (closerToOne(tracked, widthFactor->value)) widthFactor = BestValue{tracked, trial.position, width};
          if (closerToOne(delta, widthDelta->value)) widthDelta = BestValue{delta, trial.position, width};
        });
    if (!widthFactor) return;
    if (!result.bestFactor) {
      result.bestFactor = widthFactor;
      result.bestDelta = widthDelta;
      return;
    }
    if (closerToOne(widthFactor->value, result.bestFactor->value)) result.bestFactor = widthFactor;
    if (closerToOne(widthDelta->value, result.bestDelta->value)) result.bestDelta = widthDelta;
  });
  result.outcome = outcome.outcome();
  return result;
}

PointRun uvRun(const MeasuredPoints& measured, UvEcdMode mode, int X1, int X2) {
  return mode == UvEcdMode::Wavelength ? walkA(measured, X1, X2) : walkAPrime(measured, X1, X2);
}
PointRun cdRun(const MeasuredPoints& measured, UvEcdMode mode, int X1, int X2) {
  return mode == UvEcdMode::Wavelength ? walkB(measured, X1, X2) : walkBPrime(measured, X1, X2);
}
IndexForm uvEcdForm(UvEcdMode mode) { return mode == UvEcdMode::Wavelength ? IndexForm::Shift : IndexForm::Scale; }

TrialRange uvEcdTrialRange(UvEcdMode mode, int X1, int X2, double position) {
  return mode == UvEcdMode::Wavelength ? shiftTrialRange(X1, X2, static_cast<int>(position))
                                       : scaleTrialRange(X1, X2, position);
}

// The computed maximum of one final setting, with the scaling step.
struct FinalScaling {
  bool tried = false;
  double computedMaximum = 0;
  double SCALE = 0;
  double displayedScale = 0;
  bool divided = false;
};

// trialPerDisplayed: how many times the trial band is the band the main
// window shows (WZPI for UV, whose trial band leaves out 1 / WZPI).
FinalScaling scaleFinal(std::span<double> band, int gridFirstIndex, TrialRange range, bool absolute,
                        double expMax, bool mayDivide, bool divideOnlyAboveOne, double trialPerDisplayed) {
  FinalScaling scaling;
  scaling.tried = true;
  double computed = trialMaximum(band, gridFirstIndex, range, absolute);
  // Taken before any division: the factor means the curve the person sees.
  scaling.displayedScale = computed != 0 ? expMax / computed * trialPerDisplayed : 0;
  if (computed != 0 && mayDivide && computed / expMax > NORMALISATION_RATIO && (!divideOnlyAboveOne || computed > 1)) {
    for (double& value : band) value = value / computed;
    computed = 1;
    scaling.divided = true;
  }
  scaling.computedMaximum = computed;
  scaling.SCALE = expMax / computed;
  return scaling;
}

// Whether the band, as it stands after the scaling step, has signal where the
// kernels compare it.
bool finalSignal(std::span<const double> band, int gridFirstIndex, const PreparedPoints& points, PointRun run,
                 double position) {
  const Grid grid{band, gridFirstIndex};
  return comparedValuesReach(grid, points, run, position, bandSignal(grid, SIGNAL_FRACTION));
}

SearchOutcome finalOutcome(double computedMaximum, bool signal, bool valued) {
  if (computedMaximum == 0 || !signal) return SearchOutcome::CalculatedZero;
  return valued ? SearchOutcome::Found : SearchOutcome::NoneCounted;
}

}  // namespace

// ---- Entry points ------------------------------------------------------------------------

OverlapSearchResult searchUv(const UvEcdLines& uv, UvEcdMode mode, const MeasuredPoints& measured,
                             const SearchRanges& ranges, double EXPUVMAX, std::vector<TrialRecord>* trials) {
  const PreparedPoints points = prepare(measured, uvEcdForm(mode));
  return overlapSearch(
      [&](double sigma, std::span<double> band) { trialUvBand(uv.lines, sigma, uv.shape, band); }, UVECD_TRIAL_SIZE,
      TRIAL_FIRST_BIN, points, uvRun(measured, mode, ranges.X1, ranges.X2), mode == UvEcdMode::Wavenumber, EXPUVMAX,
      ranges, SIGMA_STEP, [&](double position) { return uvEcdTrialRange(mode, ranges.X1, ranges.X2, position); },
      trials);
}

OverlapSearchResult searchIr(const IrVcdLines& ir, const MeasuredPoints& measured, const SearchRanges& ranges,
                             double EXPIRMAX, std::vector<TrialRecord>* trials) {
  const PreparedPoints points = prepare(measured, IndexForm::IrScale);
  return overlapSearch(
      [&](double gamma, std::span<double> band) { trialIrBand(ir.wavenumbers, ir.strengths, gamma, band); },
      IRVCD_TRIAL_SIZE, 0, points, walkA(measured, ranges.X1, ranges.X2), true, EXPIRMAX, ranges, GAMMA_STEP,
      [&](double f) { return irTrialRange(ranges.X1, ranges.X2, f); }, trials);
}

FineTuningResult fineTuneEcd(const UvEcdLines& cd, UvEcdMode mode, const MeasuredPoints& measured,
                             const SearchRanges& ranges, double EXPCDMAX, bool trackMirror,
                             std::vector<TrialRecord>* trials) {
  const PreparedPoints points = prepare(measured, uvEcdForm(mode));
  return fineTuning(
      [&](double sigma, std::span<double> band) { trialCdBand(cd.lines, sigma, cd.shape, band); }, UVECD_TRIAL_SIZE,
      TRIAL_FIRST_BIN, points, cdRun(measured, mode, ranges.X1, ranges.X2), mode == UvEcdMode::Wavenumber,
      Division::None, EXPCDMAX, ranges, SIGMA_STEP, trackMirror,
      [&](double position) { return uvEcdTrialRange(mode, ranges.X1, ranges.X2, position); }, trials);
}

FineTuningResult fineTuneVcd(const IrVcdLines& vcd, const MeasuredPoints& measured, const SearchRanges& ranges,
                             double EXPVCDMAX, bool trackMirror, std::vector<TrialRecord>* trials) {
  const PreparedPoints points = prepare(measured, IndexForm::IrScale);
  return fineTuning(
      [&](double gamma, std::span<double> band) { trialVcdBand(vcd.wavenumbers, vcd.strengths, gamma, band); },
      IRVCD_TRIAL_SIZE, 0, points, walkBDoublePrime(measured, ranges.X1, ranges.X2), true, Division::Silent,
      EXPVCDMAX, ranges, GAMMA_STEP, trackMirror, [&](double f) { return irTrialRange(ranges.X1, ranges.X2, f); },
      trials);
}

FinalOverlap finalUv(std::span<double> CMPUV, UvEcdMode mode, const MeasuredPoints& measured, int X1, int X2,
                     double position, double EXPUVMAX) {
  FinalOverlap result;
  if (mode == UvEcdMode::Wavenumber && !(position > 0)) return result;
  const FinalScaling scaling =
      scaleFinal(CMPUV, TRIAL_FIRST_BIN, uvEcdTrialRange(mode, X1, X2, position), false, EXPUVMAX, true, false, WZPI);
  const PreparedPoints points = prepare(measured, uvEcdForm(mode));
  const PointRun run = uvRun(measured, mode, X1, X2);
  const bool signal = scaling.computedMaximum != 0 && finalSignal(CMPUV, TRIAL_FIRST_BIN, points, run, position);
  std::optional<double> factor;
  if (signal) factor = overlapKernels({CMPUV, TRIAL_FIRST_BIN}, points, run, scaling.SCALE, position).overlap;
  result.outcome = finalOutcome(scaling.computedMaximum, signal, factor.has_value());
  result.factor = factor.value_or(0);
  result.SCALE = scaling.SCALE;
  result.displayedScale = scaling.displayedScale;
  return result;
}

FinalOverlap finalIr(std::span<double> CMPIR, const MeasuredPoints& measured, int X1, int X2, double xScale,
                     double EXPIRMAX) {
  FinalOverlap result;
  if (!(xScale > 0)) return result;
  const FinalScaling scaling = scaleFinal(CMPIR, 0, irTrialRange(X1, X2, xScale), false, EXPIRMAX, true, false, 1.0);
  const PreparedPoints points = prepare(measured, IndexForm::IrScale);
  const PointRun run = walkA(measured, X1, X2);
  const bool signal = scaling.computedMaximum != 0 && finalSignal(CMPIR, 0, points, run, xScale);
  std::optional<double> factor;
  if (signal) factor = overlapKernels({CMPIR, 0}, points, run, scaling.SCALE, xScale).overlap;
  result.outcome = finalOutcome(scaling.computedMaximum, signal, factor.has_value());
  result.factor = factor.value_or(0);
  result.SCALE = scaling.SCALE;
  result.displayedScale = scaling.displayedScale;
  return result;
}

namespace {

FinalSignSplit signSplitFinal(std::span<double> band, int gridFirstIndex, TrialRange range, const PreparedPoints& points,
                              PointRun run, double position, double expMax, bool mayDivide) {
  FinalSignSplit result;
  const FinalScaling scaling = scaleFinal(band, gridFirstIndex, range, true, expMax, mayDivide, true, 1.0);
  const bool signal = scaling.computedMaximum != 0 && finalSignal(band, gridFirstIndex, points, run, position);
  SignSplitValues values;
  if (signal) values = signSplitKernels({band, gridFirstIndex}, points, run, scaling.SCALE, position);
  result.outcome = finalOutcome(scaling.computedMaximum, signal, values.plain && values.mirror);
  result.S = values.plain.value_or(0);
  result.mirror = values.mirror.value_or(0);
  result.SCALE = scaling.SCALE;
  result.displayedScale = scaling.displayedScale;
  result.normalised = scaling.divided;
  return result;
}

}  // namespace

FinalSignSplit finalEcd(std::span<double> CMPCD, UvEcdMode mode, const MeasuredPoints& measured, int X1, int X2,
                        double position, double EXPCDMAX) {
  if (mode == UvEcdMode::Wavenumber && !(position > 0)) return {};
  return signSplitFinal(CMPCD, TRIAL_FIRST_BIN, uvEcdTrialRange(mode, X1, X2, position),
                        prepare(measured, uvEcdForm(mode)), cdRun(measured, mode, X1, X2), position, EXPCDMAX, false);
}

FinalSignSplit finalVcd(std::span<double> CMPVCD, const MeasuredPoints& measured, int X1, int X2, double xScale,
                        double EXPVCDMAX) {
  if (!(xScale > 0)) return {};
  return signSplitFinal(CMPVCD, 0, irTrialRange(X1, X2, xScale), prepare(measured, IndexForm::IrScale),
                        walkBDoublePrime(measured, X1, X2), xScale, EXPVCDMAX, true);
}
