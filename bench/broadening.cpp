// Broadening on the full grids, beside a plain loop over every bin and every
// line that computes the bands exactly as the formulas are written. The
// program's bands must equal the plain loop's within 1e-12 of the band's
// largest value, and be exactly 0 where the plain loop's are; the program
// stops before timing anything when they do not. One benchmark broadens
// right after string work, as the program does after a parse.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/vector_state.h"
#include "display/broadening.h"

namespace {

constexpr double SIGMA = 0.16;
constexpr double GAMMA = 4.0;

// 100 excited states between 180 and 450 nm with rotatory strengths of both
// signs, as a TDDFT calculation of a mid-sized molecule gives them.
std::vector<double> ecdLines() {
  std::vector<double> lines(WAVELENGTH_GRID_SIZE, 0.0);
  for (int k = 0; k < 100; ++k) {
    const int bin = 1800 + k * 27;
    lines[bin - MINLAMBDA] = (k % 3 == 0 ? -1.0 : 1.0) * (5.0 + 37.0 * std::sin(0.7 * k) * std::sin(0.7 * k));
  }
  return lines;
}

// 300 normal modes between 100 and 3600 cm^-1.
struct VcdLines {
  std::vector<double> wavenumbers = std::vector<double>(WAVENUMBER_GRID_SIZE, 0.0);
  std::vector<double> strengths = std::vector<double>(WAVENUMBER_GRID_SIZE, 0.0);
};

VcdLines vcdLines() {
  VcdLines lines;
  for (int k = 0; k < 300; ++k) {
    lines.wavenumbers[k] = 100.0 + k * 11.7 + 0.25 * (k % 4);
    lines.strengths[k] = (k % 2 == 0 ? 1.0 : -1.0) * (10.0 + k % 17);
  }
  return lines;
}

struct PlainLine {
  double energy;
  double strength;
};

// Step 4 of the ECD band: the lines are collected once, in ascending bins.
std::vector<PlainLine> plainLines(const std::vector<double>& rots) {
  std::vector<PlainLine> lines;
  for (int j = MINLAMBDA; j <= MAXLAMBDA; ++j)
    if (rots[j - MINLAMBDA] != 0.0) lines.push_back({ENERGY_WAVELENGTH_FACTOR / (j / 10.0), rots[j - MINLAMBDA]});
  return lines;
}

// The ECD band as written: every bin against every line, exp only where L < 50.
void plainEcdGaussian(const std::vector<double>& rots, double sigma, std::vector<double>& eps) {
  const std::vector<PlainLine> lines = plainLines(rots);
  for (int i = MINLAMBDA; i <= MAXLAMBDA; ++i) {
    const double ei = ENERGY_WAVELENGTH_FACTOR / (i / 10.0);
    double sum = 0.0;
    for (const PlainLine& line : lines) {
      const double l = ((ei - line.energy) / sigma) * ((ei - line.energy) / sigma);
      const double m = l < 50.0 ? std::exp(-l) : 0.0;
      sum = sum + line.energy * line.strength * m;
    }
    eps[i - MINLAMBDA] = (1.0 / (WZPI * sigma)) * (1.0 / CDCONST) * sum;
  }
}

void plainEcdLorentzian(const std::vector<double>& rots, double sigma, std::vector<double>& eps) {
  const std::vector<PlainLine> lines = plainLines(rots);
  for (int i = MINLAMBDA; i <= MAXLAMBDA; ++i) {
    const double ei = ENERGY_WAVELENGTH_FACTOR / (i / 10.0);
    double sum = 0.0;
    for (const PlainLine& line : lines) {
      const double ej = line.energy;
      sum = sum + ej * line.strength * sigma / (sigma * sigma + (ej - ei) * (ej - ei));
    }
    eps[i - MINLAMBDA] = (1.0 / WZPI) * (1.0 / CDCONST) * sum;
  }
}

void plainVcd(const VcdLines& lines, double gamma, std::vector<double>& band) {
  for (int w = 0; w <= MAXWAVENUMBER; ++w) {
    double sum = 0.0;
    for (int k = 0; k <= MAXWAVENUMBER; ++k) {
      const double nu = lines.wavenumbers[k];
      const double r = lines.strengths[k];
      if (nu == 0.0 && r == 0.0) continue;
      sum = sum + r * gamma / (gamma * gamma + (nu - w) * (nu - w));
    }
    band[w] = (w / 229600.0) * 0.31830914183855363 * sum;
  }
}

// Returns the largest difference relative to the band's largest value; stops
// the program above 1e-12, or where the plain loop gives exactly 0 and the
// program does not.
double requireEqual(const char* what, const std::vector<double>& program, const std::vector<double>& plain) {
  double largestValue = 0.0;
  for (double value : plain) largestValue = std::max(largestValue, std::abs(value));
  double largest = 0.0;
  for (std::size_t i = 0; i < plain.size(); ++i) {
    const double difference = std::abs(program[i] - plain[i]);
    if (plain[i] == 0.0 ? program[i] != 0.0 : !(difference <= 1e-12 * largestValue)) {
      std::fprintf(stderr, "%s differs from the plain loop at point %zu: %.17g against %.17g\n", what, i, program[i],
                   plain[i]);
      std::exit(EXIT_FAILURE);
    }
    if (difference > 0.0) largest = std::max(largest, difference / largestValue);
  }
  std::fprintf(stderr, "%s: largest difference to the plain loop %.3g of the largest value\n", what, largest);
  return largest;
}

// Runs once before main, so a wrong band stops the program before any timing.
const bool resultsChecked = [] {
  const std::vector<double> rots = ecdLines();
  std::vector<double> program(WAVELENGTH_GRID_SIZE, 0.0);
  std::vector<double> plain(WAVELENGTH_GRID_SIZE, 0.0);
  broadenUvEcd(UvEcdKind::Ecd, rots, SIGMA, BandShape::Gaussian, program);
  plainEcdGaussian(rots, SIGMA, plain);
  requireEqual("Gaussian ECD band", program, plain);
  broadenUvEcd(UvEcdKind::Ecd, rots, SIGMA, BandShape::Lorentzian, program);
  plainEcdLorentzian(rots, SIGMA, plain);
  requireEqual("Lorentzian ECD band", program, plain);

  const VcdLines lines = vcdLines();
  std::vector<double> vcdProgram(WAVENUMBER_GRID_SIZE, 0.0);
  std::vector<double> vcdPlain(WAVENUMBER_GRID_SIZE, 0.0);
  broadenIrVcd(IrVcdKind::Vcd, lines.wavenumbers, lines.strengths, GAMMA, vcdProgram);
  plainVcd(lines, GAMMA, vcdPlain);
  requireEqual("VCD band", vcdProgram, vcdPlain);
  return true;
}();

void BM_BroadenEcdGaussian(benchmark::State& state) {
  const std::vector<double> rots = ecdLines();
  std::vector<double> eps(WAVELENGTH_GRID_SIZE, 0.0);
  for (auto _ : state) {
    broadenUvEcd(UvEcdKind::Ecd, rots, SIGMA, BandShape::Gaussian, eps);
    benchmark::DoNotOptimize(eps.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BroadenEcdGaussian)->Unit(benchmark::kMicrosecond);

void BM_BroadenEcdGaussianAfterStringWork(benchmark::State& state) {
  const std::vector<double> rots = ecdLines();
  std::vector<double> eps(WAVELENGTH_GRID_SIZE, 0.0);
  for (auto _ : state) {
    state.PauseTiming();
    DirtyVectorState();
    state.ResumeTiming();
    broadenUvEcd(UvEcdKind::Ecd, rots, SIGMA, BandShape::Gaussian, eps);
    benchmark::DoNotOptimize(eps.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BroadenEcdGaussianAfterStringWork)->Unit(benchmark::kMicrosecond);

void BM_BroadenEcdLorentzian(benchmark::State& state) {
  const std::vector<double> rots = ecdLines();
  std::vector<double> eps(WAVELENGTH_GRID_SIZE, 0.0);
  for (auto _ : state) {
    broadenUvEcd(UvEcdKind::Ecd, rots, SIGMA, BandShape::Lorentzian, eps);
    benchmark::DoNotOptimize(eps.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BroadenEcdLorentzian)->Unit(benchmark::kMicrosecond);

void BM_BroadenVcd(benchmark::State& state) {
  const VcdLines lines = vcdLines();
  std::vector<double> band(WAVENUMBER_GRID_SIZE, 0.0);
  for (auto _ : state) {
    broadenIrVcd(IrVcdKind::Vcd, lines.wavenumbers, lines.strengths, GAMMA, band);
    benchmark::DoNotOptimize(band.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_BroadenVcd)->Unit(benchmark::kMicrosecond);

void BM_PlainLoopEcdGaussian(benchmark::State& state) {
  const std::vector<double> rots = ecdLines();
  std::vector<double> eps(WAVELENGTH_GRID_SIZE, 0.0);
  for (auto _ : state) {
    plainEcdGaussian(rots, SIGMA, eps);
    benchmark::DoNotOptimize(eps.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_PlainLoopEcdGaussian)->Unit(benchmark::kMicrosecond);

}  // namespace
