#include "display/broadening.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <vector>

#include "display/exponential.h"
#include "platform/parallel.h"
#include "platform/vector_units.h"
#include "platform/wide_vectors.h"

namespace {

// A Gaussian term with ((E_i - E_j) / sigma)^2 at or beyond this is taken as 0.
constexpr double GAUSSIAN_CUTOFF = 50.0;
constexpr double UV_BAND_FACTOR = 28700.0;
constexpr double VCD_BAND_DIVISOR = 229600.0;
constexpr double IR_BAND_DIVISOR = 91.84;
// 1 / 3.1416, not 1 / pi: the value the IR and VCD bands have always used.
constexpr double INVERSE_PI_APPROXIMATION = 0.31830914183855363;
// Progress bar steps per grid point: 100 / MAXLAMBDA and 100 / MAXWAVENUMBER.
constexpr double WAVELENGTH_PROGRESS_STEP = 0.0025;
constexpr double WAVENUMBER_PROGRESS_STEP = 0.025;
// A band is shared among at most this many threads, leaving the others free.
constexpr std::size_t MAX_BROADENING_THREADS = 4;

// Halves go to the even neighbour under the default rounding mode.
int roundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

double binEnergyFormula(int bin) { return ENERGY_WAVELENGTH_FACTOR / (bin / 10.0); }

// Indexed by bin; entries below MINLAMBDA are unused.
const std::array<double, MAXLAMBDA + 1>& binEnergies() {
  static const std::array<double, MAXLAMBDA + 1> table = [] {
    std::array<double, MAXLAMBDA + 1> energies{};
    for (int bin = MINLAMBDA; bin <= MAXLAMBDA; ++bin) energies[bin] = binEnergyFormula(bin);
    return energies;
  }();
  return table;
}

// A stretch of grid points over which the progress bar shows one position.
// The grid is computed stretch by stretch: a stretch is the unit of work that
// a thread takes, and the bar shows its position once the stretch is done.
struct ProgressStretch {
  int first;
  int last;
  int position;
};

std::vector<ProgressStretch> progressStretches(int first, int last, double step) {
  std::vector<ProgressStretch> stretches;
  for (int point = first; point <= last; ++point) {
    const int position = roundHalfEven(step * point);
    if (stretches.empty() || stretches.back().position != position)
      stretches.push_back({point, point, position});
    else
      stretches.back().last = point;
  }
  return stretches;
}

const std::vector<ProgressStretch>& wavelengthStretches() {
  static const std::vector<ProgressStretch> stretches =
      progressStretches(MINLAMBDA, MAXLAMBDA, WAVELENGTH_PROGRESS_STEP);
  return stretches;
}

const std::vector<ProgressStretch>& wavenumberStretches() {
  static const std::vector<ProgressStretch> stretches =
      progressStretches(0, MAXWAVENUMBER, WAVENUMBER_PROGRESS_STEP);
  return stretches;
}

class ProgressBar {
 public:
  explicit ProgressBar(const BroadeningProgress& report) : report_(report) {}
  void show(int position) {
    if (position == shown_) return;
    shown_ = position;
    if (report_) report_(position);
  }

 private:
  const BroadeningProgress& report_;
  int shown_ = -1;
};

// A width so small that its reciprocal overflows draws no band either: the
// band factor and the scaled distances would be no numbers.
bool usableWidth(double width) { return std::isfinite(width) && width > 0.0 && std::isfinite(1.0 / width); }

struct EnergyLine {
  double energy;
  double weight;  // the line's factor in front of the shape function
  int firstBin;   // Gaussian: bins outside firstBin..lastBin are beyond the cut-off
  int lastBin;
};

// The last bin that a wavelength-grid span of this size holds, MINLAMBDA - 1
// when it is empty.
int lastBinOf(std::size_t size) {
  return MINLAMBDA + static_cast<int>(std::min(size, WAVELENGTH_GRID_SIZE)) - 1;
}

// The last index that a wavenumber-grid span of this size holds, -1 when empty.
int lastIndexOf(std::size_t size) { return static_cast<int>(std::min<std::size_t>(WAVENUMBER_GRID_SIZE, size)) - 1; }

// The bins around a line that may lie inside the cut-off, with a margin of a
// few bins: the exact test on L decides for each bin.
void gaussianWindow(EnergyLine& line, double sigma, int lastBin) {
  constexpr int margin = 3;
  constexpr double binsPerInverseEnergy = ENERGY_WAVELENGTH_FACTOR * 10.0;
  const double reach = std::sqrt(GAUSSIAN_CUTOFF) * sigma;
  const double lowBin = binsPerInverseEnergy / (line.energy + reach) - margin;
  const double highEnergy = line.energy - reach;
  const double highBin = highEnergy > 0.0 ? binsPerInverseEnergy / highEnergy + margin : lastBin;
  line.firstBin = lowBin <= MINLAMBDA ? MINLAMBDA : lowBin >= lastBin ? lastBin + 1 : static_cast<int>(lowBin);
  line.lastBin = highBin >= lastBin ? lastBin : highBin < MINLAMBDA ? MINLAMBDA - 1 : static_cast<int>(highBin) + 1;
}

// Computes the grid stretch by stretch. Every grid point is summed by one
// thread, over its lines in ascending order, so the band does not depend on
// how many threads share the work. Large jobs are shared among a few threads;
// the calling thread alone moves the progress bar, through the positions of
// the stretches done from the first on, while the others compute: the same
// positions in the same order as on one thread.
template <class ComputeStretch>
void computeStretches(const std::vector<ProgressStretch>& stretches, int lastPoint, double work,
                      ProgressBar& bar, const ComputeStretch& compute) {
  std::size_t count = 0;
  while (count < stretches.size() && stretches[count].first <= lastPoint) ++count;

  // Work is counted in Lorentzian terms; below about 0.15 ms of it on one
  // thread, starting another one does not pay. The wide loops take 4 or 8
  // terms a step but are bound by the division, so a term costs them about a
  // half (AVX2) or a third (AVX-512) of the plain loop's time.
  constexpr double workPerThread = 250000.0;
  const VectorWidth width = KernelVectorWidth();
  const double termsPerStep = width == VectorWidth::Avx512 ? 3.0 : width == VectorWidth::Avx2 ? 2.0 : 1.0;
  const std::size_t threads = UsefulThreads(count, work, workPerThread * termsPerStep, MAX_BROADENING_THREADS);

  std::vector<std::atomic<bool>> done(count);
  std::size_t shown = 0;  // the stretches before it are done and shown
  auto computeOne = [&](std::size_t k) {
    compute(stretches[k].first, std::min(stretches[k].last, lastPoint));
    done[k].store(true, std::memory_order_release);
  };
  auto showDone = [&] {
    for (; shown < count && done[shown].load(std::memory_order_acquire); ++shown) bar.show(stretches[shown].position);
  };
  ShareWatchedWork(count, threads, computeOne, showDone);
  showDone();
  bar.show(0);
}

// Partial sums are kept per block of grid points in a local array: it stays in
// the cache, and threads working on neighbouring stretches never write to the
// same cache line of the band while they sum.
constexpr int SUM_BLOCK = 512;

// out[0] holds the first grid point of the band (bin MINLAMBDA).
template <class SumBlock>
void sumInBlocks(int first, int last, double bandFactor, double* out, const SumBlock& sumBlock) {
  for (int blockFirst = first; blockFirst <= last; blockFirst += SUM_BLOCK) {
    const int size = std::min(last - blockFirst + 1, SUM_BLOCK);
    std::array<double, SUM_BLOCK> sums{};
    sumBlock(blockFirst, size, sums.data());
    for (int k = 0; k < size; ++k) out[blockFirst - MINLAMBDA + k] = bandFactor * sums[k];
  }
}

// ---- The loops over one line's bins --------------------------------------------
//
// Each adds one line's terms to the partial sums of `count` grid points:
// point k lies at position[k] and sums into sums[k]. Points are summed one by
// one as in the plain loop; the wide loops take 4 or 8 neighbouring points at
// once, which leaves the order of the terms of every point as it is.

struct LineTerms {
  const double* position;
  int count;
  double linePosition;
  double weight;
  double width;  // 1 / sigma (Gaussian), sigma^2 or gamma^2 (Lorentzian)
  double* sums;
};
using AddTerms = void (*)(const LineTerms& terms);

void addGaussianTermsPlain(const LineTerms& t) {
  for (int k = 0; k < t.count; ++k) {
    const double scaled = (t.position[k] - t.linePosition) * t.width;
    const double exponent = scaled * scaled;
    if (exponent < GAUSSIAN_CUTOFF) {
      double exponential = -exponent;
      ExponentialInPlace(exponential);
      t.sums[k] += t.weight * exponential;
    }
  }
}

void addLorentzianTermsPlain(const LineTerms& t) {
  for (int k = 0; k < t.count; ++k) {
    const double distance = t.linePosition - t.position[k];
    t.sums[k] += t.weight / (t.width + distance * distance);
  }
}

#ifdef ORVANIX_WIDE_LOOPS
// Adds the line's term at each point to its sum, a vector of points at a time.
template <class V, class Term>
[[gnu::always_inline]] inline void addTermsWide(const LineTerms& t, const Term& termAt) {
  for (int k = 0; k < t.count; k += LanesOf<V>) {
    V position, sums, term;
    LoadLanes(position, t.position, k, t.count);
    LoadLanes(sums, t.sums, k, t.count);
    termAt(position, term);
    StoreLanes(t.sums, k, t.count, V(sums + term));
  }
}

// Terms beyond the cut-off add exactly 0 and their exponential is never
// taken: the lane's argument is 0 and its result is dropped. The exponential
// is the plain loop's, lane by lane, so the bands are the same bits.
template <class V>
[[gnu::always_inline]] inline void addGaussianTermsWide(const LineTerms& t) {
  addTermsWide<V>(t, [&](const V& position, V& term) __attribute__((always_inline)) {
    const V scaled = (position - t.linePosition) * t.width;
    const V exponent = scaled * scaled;
    const auto inside = exponent < GAUSSIAN_CUTOFF;
    const V zero{};
    V exponential = inside ? -exponent : zero;
    ExponentialInPlace(exponential);
    term = inside ? t.weight * exponential : zero;
  });
}

template <class V>
[[gnu::always_inline]] inline void addLorentzianTermsWide(const LineTerms& t) {
  addTermsWide<V>(t, [&](const V& position, V& term) __attribute__((always_inline)) {
    const V distance = t.linePosition - position;
    term = t.weight / (t.width + distance * distance);
  });
}

[[gnu::target("avx2")]] void addGaussianTermsAvx2(const LineTerms& t) { addGaussianTermsWide<Doubles4>(t); }
[[gnu::target("avx512f,avx512dq")]] void addGaussianTermsAvx512(const LineTerms& t) {
  addGaussianTermsWide<Doubles8>(t);
}
[[gnu::target("avx2")]] void addLorentzianTermsAvx2(const LineTerms& t) { addLorentzianTermsWide<Doubles4>(t); }
[[gnu::target("avx512f,avx512dq")]] void addLorentzianTermsAvx512(const LineTerms& t) {
  addLorentzianTermsWide<Doubles8>(t);
}

#endif

// Wavenumbers 0..MAXWAVENUMBER as doubles, the positions of the wavenumber grid.
const std::array<double, WAVENUMBER_GRID_SIZE>& gridWavenumbers() {
  static const std::array<double, WAVENUMBER_GRID_SIZE> table = [] {
    std::array<double, WAVENUMBER_GRID_SIZE> wavenumbers{};
    for (std::size_t k = 0; k < wavenumbers.size(); ++k) wavenumbers[k] = static_cast<double>(k);
    return wavenumbers;
  }();
  return table;
}

// A Gaussian term costs an exponential, about ten Lorentzian terms.
constexpr double GAUSSIAN_TERM_WORK = 10.0;

void broadenGaussian(std::span<const EnergyLine> lines, double sigma, double bandFactor, std::span<double> band,
                     int lastBin, ProgressBar& bar) {
  const double* energy = binEnergies().data();
  double* out = band.data();
  const AddTerms add = ORVANIX_WIDEST_LOOP(addGaussianTerms);
  // A product, not a quotient, per term: the division would bound the loop.
  const double inverseSigma = 1.0 / sigma;
  double work = 0.0;
  for (const EnergyLine& line : lines) work += GAUSSIAN_TERM_WORK * std::max(0, line.lastBin - line.firstBin + 1);
  computeStretches(wavelengthStretches(), lastBin, work, bar, [&](int firstBin, int lastStretchBin) {
    sumInBlocks(firstBin, lastStretchBin, bandFactor, out, [&](int blockFirst, int size, double* sums) {
      const int blockLast = blockFirst + size - 1;
      for (const EnergyLine& line : lines) {
        const int first = std::max(blockFirst, line.firstBin);
        const int last = std::min(blockLast, line.lastBin);
        if (first <= last)
          add({energy + first, last - first + 1, line.energy, line.weight, inverseSigma, sums + (first - blockFirst)});
      }
    });
  });
}

void broadenLorentzian(std::span<const EnergyLine> lines, double sigma, double bandFactor, std::span<double> band,
                       int lastBin, ProgressBar& bar) {
  const double* energy = binEnergies().data();
  double* out = band.data();
  const AddTerms add = ORVANIX_WIDEST_LOOP(addLorentzianTerms);
  const double sigmaSquared = sigma * sigma;
  const double work = static_cast<double>(lines.size()) * (lastBin - MINLAMBDA + 1);
  computeStretches(wavelengthStretches(), lastBin, work, bar, [&](int firstBin, int lastStretchBin) {
    sumInBlocks(firstBin, lastStretchBin, bandFactor, out, [&](int blockFirst, int size, double* sums) {
      // Lines outside, bins inside: each bin still sums its lines in
      // ascending order.
      for (const EnergyLine& line : lines)
        add({energy + blockFirst, size, line.energy, line.weight, sigmaSquared, sums});
    });
  });
}

}  // namespace

double wavelengthBinEnergy(int bin) { return binEnergyFormula(bin); }

void broadenUvEcd(UvEcdKind kind, std::span<const double> lines, double sigma, BandShape shape,
                  std::span<double> band, const BroadeningProgress& progress, double uvNormalisation) {
  ClearUpperVectorState();
  ProgressBar bar(progress);
  const int lastBandBin = lastBinOf(band.size());
  const int lastLineBin = lastBinOf(lines.size());
  for (int bin = MINLAMBDA; bin <= lastBandBin; ++bin) band[bin - MINLAMBDA] = 0.0;
  bar.show(0);
  if (!usableWidth(sigma) || shape == BandShape::None || lastBandBin < MINLAMBDA) return;

  const std::array<double, MAXLAMBDA + 1>& energy = binEnergies();
  const bool ecd = kind == UvEcdKind::Ecd;
  std::vector<EnergyLine> collected;
  for (int bin = MINLAMBDA; bin <= lastLineBin; ++bin) {
    const double line = lines[bin - MINLAMBDA];
    if (line == 0.0) continue;
    // ECD weighs each line with its energy, UV does not.
    const double strength = ecd ? energy[bin] * line : line;
    collected.push_back({energy[bin], strength, MINLAMBDA, lastBandBin});
  }

  if (shape == BandShape::Gaussian) {
    for (EnergyLine& line : collected) gaussianWindow(line, sigma, lastBandBin);
    const double bandFactor = ecd ? (1.0 / (WZPI * sigma)) * (1.0 / CDCONST) : UV_BAND_FACTOR / (sigma * uvNormalisation);
    broadenGaussian(collected, sigma, bandFactor, band, lastBandBin, bar);
  } else {
    for (EnergyLine& line : collected) line.weight = line.weight * sigma;
    const double bandFactor = ecd ? (1.0 / WZPI) * (1.0 / CDCONST) : UV_BAND_FACTOR / uvNormalisation;
    broadenLorentzian(collected, sigma, bandFactor, band, lastBandBin, bar);
  }
}

void broadenIrVcd(IrVcdKind kind, std::span<const double> wavenumbers, std::span<const double> strengths,
                  double gamma, std::span<double> band, const BroadeningProgress& progress) {
  ClearUpperVectorState();
  ProgressBar bar(progress);
  const int lastIndex = lastIndexOf(band.size());
  const int lastRow = lastIndexOf(std::min(wavenumbers.size(), strengths.size()));
  for (int index = 0; index <= lastIndex; ++index) band[index] = 0.0;
  bar.show(0);
  if (!usableWidth(gamma) || lastIndex < 0) return;

  struct Line {
    double wavenumber;
    double weight;
  };
  std::vector<Line> lines;
  for (int row = 0; row <= lastRow; ++row) {
    if (wavenumbers[row] != 0.0 || strengths[row] != 0.0) lines.push_back({wavenumbers[row], strengths[row] * gamma});
  }

  const double divisor = kind == IrVcdKind::Vcd ? VCD_BAND_DIVISOR : IR_BAND_DIVISOR;
  const double gammaSquared = gamma * gamma;
  const double* wavenumber = gridWavenumbers().data();
  const AddTerms add = ORVANIX_WIDEST_LOOP(addLorentzianTerms);
  double* out = band.data();
  const double work = static_cast<double>(lines.size()) * (lastIndex + 1);
  computeStretches(wavenumberStretches(), lastIndex, work, bar, [&](int firstIndex, int lastStretchIndex) {
    for (int blockFirst = firstIndex; blockFirst <= lastStretchIndex; blockFirst += SUM_BLOCK) {
      const int size = std::min(lastStretchIndex - blockFirst + 1, SUM_BLOCK);
      std::array<double, SUM_BLOCK> sums{};
      for (const Line& line : lines)
        add({wavenumber + blockFirst, size, line.wavenumber, line.weight, gammaSquared, sums.data()});
      for (int k = 0; k < size; ++k) {
        const int index = blockFirst + k;
        out[index] = (index / divisor) * INVERSE_PI_APPROXIMATION * sums[k];
      }
    }
  });
}
