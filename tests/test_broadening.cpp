// Band broadening: pinned band heights, the bands against the formulas
// evaluated bin by bin over every line, the cut-off, widths that give no band,
// and the progress bar; the loops built for wide vector units against the
// baseline loops, and the bands' own exponential.
#include <gtest/gtest.h>

#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <string>
#include <thread>
#include <vector>

#include "display/broadening.h"
#include "display/exponential.h"
#include "platform/parallel.h"
#include "platform/testing/time_limit.h"
#include "tests/vector_width_limit.h"

namespace {

// A wavelength-grid array addressed by bin, as the store addresses it.
struct BinArray {
  std::vector<double> values;
  explicit BinArray(double fill = 0.0) : values(WAVELENGTH_GRID_SIZE, fill) {}
  double& operator[](int bin) { return values.at(static_cast<std::size_t>(bin - 1000)); }
  double operator[](int bin) const { return values.at(static_cast<std::size_t>(bin - 1000)); }
};
std::vector<double> wavenumberGrid(double fill = 0.0) { return std::vector<double>(WAVENUMBER_GRID_SIZE, fill); }

double energyOf(int bin) { return 1239.482 / (bin / 10.0); }

// The band formulas as written: every bin against every line.
BinArray formulaBand(UvEcdKind kind, const BinArray& lines, double sigma, BandShape shape) {
  BinArray band;
  const bool ecd = kind == UvEcdKind::Ecd;
  std::vector<int> lineBins;
  for (int j = 1000; j <= 40000; ++j)
    if (lines[j] != 0.0) lineBins.push_back(j);
  for (int i = 1000; i <= 40000; ++i) {
    const double ei = energyOf(i);
    double sum = 0.0;
    for (int j : lineBins) {
      const double ej = energyOf(j);
      const double weight = ecd ? ej * lines[j] : lines[j];
      if (shape == BandShape::Gaussian) {
        const double l = ((ei - ej) / sigma) * ((ei - ej) / sigma);
        sum += weight * (l < 50.0 ? std::exp(-l) : 0.0);
      } else {
        sum += weight * sigma / (sigma * sigma + (ej - ei) * (ej - ei));
      }
    }
    if (shape == BandShape::Gaussian)
      band[i] = ecd ? (1.0 / (1.7725 * sigma)) * (1.0 / 22.96) * sum : 28700.0 / (sigma * 1.7725) * sum;
    else
      band[i] = ecd ? (1.0 / 1.7725) * (1.0 / 22.96) * sum : 28700.0 / 1.7725 * sum;
  }
  return band;
}

std::vector<double> formulaIrVcd(IrVcdKind kind, const std::vector<double>& nu, const std::vector<double>& r,
                                 double gamma) {
  std::vector<double> band = wavenumberGrid();
  const double divisor = kind == IrVcdKind::Vcd ? 229600.0 : 91.84;
  for (int w = 0; w <= 4000; ++w) {
    double sum = 0.0;
    for (int k = 0; k <= 4000; ++k) {
      if (nu[k] == 0.0 && r[k] == 0.0) continue;
      sum += r[k] * gamma / (gamma * gamma + (nu[k] - w) * (nu[k] - w));
    }
    band[w] = (w / divisor) * 0.31830914183855363 * sum;
  }
  return band;
}

// Equal to the formula within 1e-12 of the band's largest value, and exactly 0
// wherever the formula gives exactly 0.
void expectBandsEqual(const std::vector<double>& actual, const std::vector<double>& expected, int gridFirst) {
  ASSERT_EQ(actual.size(), expected.size());
  double largest = 0.0;
  for (double value : expected) largest = std::max(largest, std::abs(value));
  int reported = 0;
  for (std::size_t i = 0; i < expected.size() && reported < 5; ++i) {
    const bool equal = expected[i] == 0.0 ? actual[i] == 0.0 : std::abs(actual[i] - expected[i]) <= 1e-12 * largest;
    if (!equal) {
      ++reported;
      ADD_FAILURE() << "at " << gridFirst + static_cast<int>(i) << ": " << actual[i] << " instead of " << expected[i];
    }
  }
}

double relative(double actual, double expected) { return std::abs(actual - expected) / std::abs(expected); }

TEST(UvEcdBroadening, SingleLineAt250nmGivesThePinnedPeakHeight) {
  struct Case {
    UvEcdKind kind;
    BandShape shape;
    double strength;
    double peak;
  };
  const double ecdPeak = 4.957928 * 10 / (1.7725 * 0.16 * 22.96);
  const double uvPeak = 28700 / (0.16 * 1.7725);
  for (const Case& c : {Case{UvEcdKind::Ecd, BandShape::Gaussian, 10.0, ecdPeak},
                        Case{UvEcdKind::Ecd, BandShape::Lorentzian, 10.0, ecdPeak},
                        Case{UvEcdKind::Uv, BandShape::Gaussian, 1.0, uvPeak},
                        Case{UvEcdKind::Uv, BandShape::Lorentzian, 1.0, uvPeak}}) {
    BinArray lines;
    lines[2500] = c.strength;
    BinArray band;
    broadenUvEcd(c.kind, lines.values, 0.16, c.shape, band.values);
    EXPECT_LT(relative(band[2500], c.peak), 1e-12) << static_cast<int>(c.kind) << static_cast<int>(c.shape);
    // The peak is the band's highest point.
    EXPECT_EQ(*std::max_element(band.values.begin(), band.values.end()), band[2500]);
  }
  EXPECT_NEAR(ecdPeak, 7.61416187, 1e-8);
}

TEST(UvEcdBroadening, EveryBinFollowsTheFormula) {
  struct Case {
    std::string name;
    std::vector<std::pair<int, double>> lines;
    double sigma;
  };
  const std::vector<Case> cases = {
      {"one line", {{2500, 10.0}}, 0.16},
      {"lines of both signs", {{1900, -12.0}, {2100, 30.0}, {2130, -5.5}, {2800, 7.0}, {3300, -20.0}}, 0.16},
      {"lines at both grid ends", {{1000, 4.0}, {1001, -3.0}, {39999, 2.0}, {40000, 5.0}}, 0.16},
      {"long wavelengths, cut-off past the grid end", {{20000, 3.0}, {35000, -1.0}}, 0.16},
      {"narrow band", {{2500, 1.0}, {2501, 1.0}, {6000, -2.0}}, 0.001},
      {"band wider than the grid", {{1500, 1.0}, {5000, -1.0}}, 5.0},
      // Enough work to be shared among threads on the baseline loops.
      {"twelve lines",
       {{1500, 1.0}, {1620, -2.0}, {1790, 3.0}, {1850, -4.0}, {2000, 5.0}, {2210, -6.0}, {2400, 7.0},
        {2650, -8.0}, {3000, 9.0}, {3500, -10.0}, {4500, 11.0}, {9000, -12.0}},
       0.2},
  };
  for (const Case& c : cases) {
    BinArray lines;
    for (const auto& [bin, strength] : c.lines) lines[bin] = strength;
    for (UvEcdKind kind : {UvEcdKind::Ecd, UvEcdKind::Uv}) {
      for (BandShape shape : {BandShape::Gaussian, BandShape::Lorentzian}) {
        SCOPED_TRACE(c.name + (kind == UvEcdKind::Ecd ? ", ECD" : ", UV") +
                     (shape == BandShape::Gaussian ? ", Gaussian" : ", Lorentzian"));
        BinArray band(99.0);
        broadenUvEcd(kind, lines.values, c.sigma, shape, band.values);
        expectBandsEqual(band.values, formulaBand(kind, lines, c.sigma, shape).values, 1000);
      }
    }
  }
}

TEST(UvEcdBroadening, GaussianIsExactlyZeroBeyondTheCutOffWhereTheLorentzianIsNot) {
  BinArray lines;
  lines[2500] = 10.0;
  BinArray gaussian;
  BinArray lorentzian;
  broadenUvEcd(UvEcdKind::Ecd, lines.values, 0.16, BandShape::Gaussian, gaussian.values);
  broadenUvEcd(UvEcdKind::Ecd, lines.values, 0.16, BandShape::Lorentzian, lorentzian.values);

  // The last bins on either side with L < 50 carry a value, the next ones none.
  auto inside = [](int bin) {
    const double scaled = (energyOf(bin) - energyOf(2500)) / 0.16;
    return scaled * scaled < 50.0;
  };
  int low = 2500;
  while (inside(low - 1)) --low;
  int high = 2500;
  while (inside(high + 1)) ++high;
  EXPECT_GT(gaussian[low], 0.0);
  EXPECT_GT(gaussian[high], 0.0);
  EXPECT_EQ(gaussian[low - 1], 0.0);
  EXPECT_EQ(gaussian[high + 1], 0.0);
  for (int bin : {1000, low - 1, high + 1, 10000, 40000}) {
    EXPECT_EQ(gaussian[bin], 0.0) << bin;
    EXPECT_GT(lorentzian[bin], 0.0) << bin;
    // At L >= 50 the Lorentzian is down to 1 / (1 + L) of its peak or less.
    EXPECT_LT(lorentzian[bin], lorentzian[2500] / 50) << bin;
  }
}

TEST(UvEcdBroadening, WidthsThatAreNoNumberAboveZeroAndNoShapeLeaveZeros) {
  BinArray lines;
  lines[2500] = 10.0;
  struct Case {
    double sigma;
    BandShape shape;
  };
  const double inf = std::numeric_limits<double>::infinity();
  for (const Case& c : {Case{0.0, BandShape::Gaussian}, Case{-0.16, BandShape::Gaussian},
                        Case{-0.16, BandShape::Lorentzian}, Case{std::nan(""), BandShape::Lorentzian},
                        Case{inf, BandShape::Lorentzian}, Case{0.16, BandShape::None},
                        // so small that 1 / sigma overflows
                        Case{1e-310, BandShape::Gaussian}, Case{1e-310, BandShape::Lorentzian}}) {
    for (UvEcdKind kind : {UvEcdKind::Ecd, UvEcdKind::Uv}) {
      BinArray band(5.0);
      std::vector<int> progress;
      broadenUvEcd(kind, lines.values, c.sigma, c.shape, band.values,
                   [&](int position) { progress.push_back(position); });
      EXPECT_EQ(band.values, BinArray().values) << c.sigma;
      EXPECT_EQ(progress, std::vector<int>{0});
    }
  }
}

TEST(UvEcdBroadening, EmptyLineSpectrumGivesZeroBand) {
  for (BandShape shape : {BandShape::Gaussian, BandShape::Lorentzian}) {
    BinArray band(1.0);
    broadenUvEcd(UvEcdKind::Ecd, BinArray().values, 0.16, shape, band.values);
    EXPECT_EQ(band.values, BinArray().values);
  }
}

TEST(UvEcdBroadening, ShortSpansAreReadAndWrittenOnlyAsFarAsTheyReach) {
  BinArray full;
  full[2500] = 10.0;
  BinArray expected;
  broadenUvEcd(UvEcdKind::Ecd, full.values, 0.16, BandShape::Lorentzian, expected.values);

  // Lines of bins 1000 to 2999 only, a band of bins 1000 to 19999 only.
  const std::vector<double> lines(full.values.begin(), full.values.begin() + 2000);
  std::vector<double> band(19000, 7.0);
  broadenUvEcd(UvEcdKind::Ecd, lines, 0.16, BandShape::Lorentzian, band);
  EXPECT_TRUE(std::equal(band.begin(), band.end(), expected.values.begin()));

  std::vector<double> none;
  broadenUvEcd(UvEcdKind::Ecd, lines, 0.16, BandShape::Gaussian, none);
  broadenUvEcd(UvEcdKind::Uv, none, 0.16, BandShape::Gaussian, band);
  EXPECT_TRUE(std::all_of(band.begin(), band.end(), [](double v) { return v == 0.0; }));
}

// 0 first, then rising positions up to 100, then 0 again.
void expectProgressRun(const std::vector<int>& progress, int firstPosition) {
  ASSERT_GE(progress.size(), 3u);
  EXPECT_EQ(progress.front(), 0);
  EXPECT_EQ(progress.back(), 0);
  EXPECT_EQ(progress[1], firstPosition);
  EXPECT_EQ(progress[progress.size() - 2], 100);
  for (std::size_t k = 2; k + 1 < progress.size(); ++k) EXPECT_EQ(progress[k], progress[k - 1] + 1) << k;
}

TEST(BroadeningProgress, RunsOverTheGridAndEndsAtZero) {
  BinArray lines;
  lines[2500] = 10.0;
  for (BandShape shape : {BandShape::Gaussian, BandShape::Lorentzian}) {
    std::vector<int> progress;
    BinArray band;
    broadenUvEcd(UvEcdKind::Uv, lines.values, 0.16, shape, band.values,
                 [&](int position) { progress.push_back(position); });
    // Bin 1000 stands for 0.0025 x 1000 = 2.5, which rounds to 2.
    expectProgressRun(progress, 2);
  }

  std::vector<double> nu = wavenumberGrid();
  std::vector<double> r = wavenumberGrid();
  nu[0] = 1000.0;
  r[0] = 1.0;
  std::vector<int> progress;
  std::vector<double> band = wavenumberGrid();
  broadenIrVcd(IrVcdKind::Ir, nu, r, 4.0, band, [&](int position) { progress.push_back(position); });
  // Wavenumbers 0 to 20 stand for position 0, already shown.
  expectProgressRun(progress, 1);
}

// The band of `lines` built in a forked child that may use one CPU only, so
// that no other thread takes part; empty when the child failed.
std::vector<double> bandOnOneCpu(const BinArray& lines) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    alarm(60);
    close(pipeEnds[0]);
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu(), &one);
    if (sched_setaffinity(0, sizeof one, &one) != 0 || AvailableCpus() != 1) _exit(1);
    BinArray band;
    broadenUvEcd(UvEcdKind::Uv, lines.values, 0.16, BandShape::Lorentzian, band.values);
    const char* bytes = reinterpret_cast<const char*>(band.values.data());
    std::size_t left = band.values.size() * sizeof(double);
    while (left > 0) {
      const ssize_t wrote = write(pipeEnds[1], bytes, left);
      if (wrote <= 0) _exit(1);
      bytes += wrote;
      left -= static_cast<std::size_t>(wrote);
    }
    _exit(0);
  }
  close(pipeEnds[1]);
  std::vector<char> bytes;
  char chunk[65536];
  for (ssize_t got; (got = read(pipeEnds[0], chunk, sizeof chunk)) > 0;) bytes.insert(bytes.end(), chunk, chunk + got);
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || bytes.size() != WAVELENGTH_GRID_SIZE * sizeof(double))
    return {};
  std::vector<double> band(WAVELENGTH_GRID_SIZE);
  std::memcpy(band.data(), bytes.data(), bytes.size());
  return band;
}

// A band large enough to be shared among threads moves the bar while it is
// built, from the calling thread alone, through the positions a band built on
// one thread shows; and it has the bits of a band built on one CPU.
TEST(BroadeningProgress, ASharedBandMovesTheBarWhileItIsBuilt) {
  if (AvailableCpus() < 2) GTEST_SKIP() << "a band is not shared on one CPU";
  WithinTimeLimit("a shared band", std::chrono::seconds(120), [] {
    using Clock = std::chrono::steady_clock;
    BinArray lines;
    for (int bin = 1000; bin <= 40000; bin += 20) lines[bin] = 1.0 + bin % 7;
    const std::thread::id caller = std::this_thread::get_id();
    std::vector<int> progress;
    std::vector<Clock::time_point> shownAt;
    bool onCaller = true;
    BinArray band;
    const Clock::time_point start = Clock::now();
    broadenUvEcd(UvEcdKind::Uv, lines.values, 0.16, BandShape::Lorentzian, band.values, [&](int position) {
      progress.push_back(position);
      shownAt.push_back(Clock::now());
      onCaller = onCaller && std::this_thread::get_id() == caller;
    });
    const Clock::duration took = Clock::now() - start;
    expectProgressRun(progress, 2);
    EXPECT_TRUE(onCaller);
    // The first stretches are shown while the rest is still being built, not
    // at the end as when the bar is moved only once the band is complete.
    EXPECT_LT(shownAt[1] - start, took * 9 / 10);

    const std::vector<double> alone = bandOnOneCpu(lines);
    ASSERT_EQ(alone.size(), band.values.size());
    EXPECT_EQ(std::memcmp(alone.data(), band.values.data(), alone.size() * sizeof(double)), 0);
  });
}

TEST(IrVcdBroadening, SingleLineGivesThePinnedHeight) {
  std::vector<double> nu = wavenumberGrid();
  std::vector<double> r = wavenumberGrid();
  nu[0] = 1000.0;
  r[0] = 1.0;
  std::vector<double> vcd = wavenumberGrid();
  std::vector<double> ir = wavenumberGrid();
  broadenIrVcd(IrVcdKind::Vcd, nu, r, 4.0, vcd);
  broadenIrVcd(IrVcdKind::Ir, nu, r, 4.0, ir);
  EXPECT_LT(relative(vcd[1000], (1000 / 229600.0) * 0.31830914183855363 * 4 / 16), 1e-12);
  EXPECT_NEAR(vcd[1000], 3.4659096e-4, 1e-11);
  EXPECT_NEAR(ir[1000], 0.86647741, 1e-8);
  EXPECT_EQ(vcd[0], 0.0);
}

TEST(IrVcdBroadening, EveryRowWithAWavenumberOrStrengthCounts) {
  std::vector<double> nu = wavenumberGrid();
  std::vector<double> r = wavenumberGrid();
  // Row 1 is empty, row 2 has strength 0, row 3 lies at 0 cm^-1, row 5 comes
  // after a second empty row.
  const std::vector<std::pair<double, double>> rows = {{1000.0, 1.0}, {0.0, 0.0},   {1200.0, 0.0},
                                                       {0.0, 3.0},    {0.0, 0.0},   {1500.5, -2.0},
                                                       {3999.0, 4.0}};
  for (std::size_t k = 0; k < rows.size(); ++k) {
    nu[k] = rows[k].first;
    r[k] = rows[k].second;
  }
  for (IrVcdKind kind : {IrVcdKind::Vcd, IrVcdKind::Ir}) {
    for (double gamma : {4.0, 4.5, 0.3, 50.0}) {
      SCOPED_TRACE(gamma);
      std::vector<double> band = wavenumberGrid(3.0);
      broadenIrVcd(kind, nu, r, gamma, band);
      expectBandsEqual(band, formulaIrVcd(kind, nu, r, gamma), 0);
      EXPECT_EQ(band[0], 0.0);
      // The line at 0 cm^-1 is felt at 1 cm^-1, the line after the empty rows
      // at its own wavenumber.
      EXPECT_GT(band[1], 0.0);
      EXPECT_LT(band[1500], 0.0);
    }
  }
}

TEST(IrVcdBroadening, FractionalGammaBroadensAsARealNumber) {
  std::vector<double> nu = wavenumberGrid();
  std::vector<double> r = wavenumberGrid();
  nu[0] = 1000.0;
  r[0] = 1.0;
  std::vector<double> band = wavenumberGrid();
  broadenIrVcd(IrVcdKind::Vcd, nu, r, 4.5, band);
  EXPECT_LT(relative(band[1000], (1000 / 229600.0) * 0.31830914183855363 / 4.5), 1e-12);
  // Half height one half width away.
  std::vector<double> wide = wavenumberGrid();
  nu[0] = 2000.0;
  broadenIrVcd(IrVcdKind::Ir, nu, r, 10.0, wide);
  EXPECT_LT(relative(wide[2010] / 2010, 0.5 * wide[2000] / 2000), 1e-12);
}

TEST(IrVcdBroadening, GammaThatIsNoNumberAboveZeroLeavesZeros) {
  std::vector<double> nu = wavenumberGrid();
  std::vector<double> r = wavenumberGrid();
  nu[0] = 1000.0;
  r[0] = 1.0;
  for (double gamma : {0.0, -4.0, std::nan("")}) {
    std::vector<double> band = wavenumberGrid(2.0);
    std::vector<int> progress;
    broadenIrVcd(IrVcdKind::Vcd, nu, r, gamma, band, [&](int position) { progress.push_back(position); });
    EXPECT_TRUE(std::all_of(band.begin(), band.end(), [](double v) { return v == 0.0; })) << gamma;
    EXPECT_EQ(progress, std::vector<int>{0});
  }
}

}  // namespace

namespace {

struct VectorCase {
  std::string name;
  std::function<std::vector<double>()> band;
};

std::vector<VectorCase> vectorCases() {
  BinArray lines;
  // Both signs, lines at both grid ends and a cluster, so that windows start
  // and end at every lane.
  for (const auto& [bin, strength] : std::vector<std::pair<int, double>>{
           {1000, 4.0}, {1003, -3.0}, {1900, -12.0}, {2100, 30.0}, {2101, 2.0}, {2107, -5.5}, {2800, 7.0},
           {3300, -20.0}, {39995, 2.0}, {40000, 5.0}})
    lines[bin] = strength;
  std::vector<double> nu = wavenumberGrid();
  std::vector<double> r = wavenumberGrid();
  for (int k = 0; k < 40; ++k) {
    nu[k] = 3.0 + 97.3 * k;
    r[k] = (k % 3 == 0 ? -1.0 : 1.0) * (1.0 + k);
  }
  std::vector<VectorCase> cases;
  for (UvEcdKind kind : {UvEcdKind::Ecd, UvEcdKind::Uv}) {
    const std::string name = kind == UvEcdKind::Ecd ? "ECD" : "UV";
    for (double sigma : {0.16, 0.0004, 3.0}) {
      cases.push_back({name + " Gaussian " + std::to_string(sigma), [=] {
                         BinArray band;
                         broadenUvEcd(kind, lines.values, sigma, BandShape::Gaussian, band.values);
                         return band.values;
                       }});
      cases.push_back({name + " Lorentzian " + std::to_string(sigma), [=] {
                         BinArray band;
                         broadenUvEcd(kind, lines.values, sigma, BandShape::Lorentzian, band.values);
                         return band.values;
                       }});
    }
    // Enough work to be shared among threads at every width.
    BinArray many;
    for (int bin = 1500; bin < 5500; bin += 10) many[bin] = (bin % 30 == 0 ? -1.0 : 1.0) * bin;
    for (BandShape shape : {BandShape::Gaussian, BandShape::Lorentzian})
      cases.push_back({name + (shape == BandShape::Gaussian ? " Gaussian" : " Lorentzian") + ", 400 lines", [=] {
                         BinArray band;
                         broadenUvEcd(kind, many.values, 0.3, shape, band.values);
                         return band.values;
                       }});
    // A band span that ends inside a vector.
    cases.push_back({name + " Gaussian, short band", [=] {
                       std::vector<double> band(1237);
                       broadenUvEcd(kind, lines.values, 0.16, BandShape::Gaussian, band);
                       return band;
                     }});
  }
  for (IrVcdKind kind : {IrVcdKind::Vcd, IrVcdKind::Ir})
    for (double gamma : {4.0, 0.3})
      cases.push_back({std::string(kind == IrVcdKind::Vcd ? "VCD " : "IR ") + std::to_string(gamma), [=] {
                         std::vector<double> band(4001 - 3);
                         broadenIrVcd(kind, nu, r, gamma, band);
                         return band;
                       }});
  return cases;
}

// Bit for bit, so that a -0 or a last-bit difference shows too.
void expectSameBits(const std::vector<double>& actual, const std::vector<double>& expected) {
  ASSERT_EQ(actual.size(), expected.size());
  std::size_t differing = 0, first = 0;
  for (std::size_t k = 0; k < actual.size(); ++k)
    if (std::bit_cast<std::uint64_t>(actual[k]) != std::bit_cast<std::uint64_t>(expected[k]) && differing++ == 0)
      first = k;
  EXPECT_EQ(differing, 0u) << "first at element " << first << ": " << actual[first] << " against "
                           << expected[first];
}

}  // namespace

TEST(VectorLoops, WideLoopsGiveTheBaselineBandsBitForBit) {
  if (KernelVectorWidth() == VectorWidth::Baseline) GTEST_SKIP() << "the processor has no AVX2";
  const std::vector<VectorCase> cases = vectorCases();
  std::vector<std::vector<double>> baseline;
  {
    VectorWidthLimit limit(VectorWidth::Baseline);
    ASSERT_EQ(KernelVectorWidth(), VectorWidth::Baseline);
    for (const VectorCase& c : cases) baseline.push_back(c.band());
  }
  for (VectorWidth width : WideVectorWidths()) {
    VectorWidthLimit limit(width);
    ASSERT_EQ(KernelVectorWidth(), width);
    for (std::size_t k = 0; k < cases.size(); ++k) {
      SCOPED_TRACE(cases[k].name + (width == VectorWidth::Avx2 ? ", AVX2" : ", AVX-512"));
      const std::vector<double> wide = cases[k].band();
      expectSameBits(wide, baseline[k]);
      EXPECT_NE(std::count(wide.begin(), wide.end(), 0.0), static_cast<long>(wide.size()));
    }
  }
}

TEST(VectorLoops, ALimitPutsBackTheLimitBeforeIt) {
  const VectorWidth start = KernelVectorWidthLimit();
  {
    VectorWidthLimit outer(VectorWidth::Avx2);
    {
      VectorWidthLimit inner(VectorWidth::Baseline);
      EXPECT_EQ(KernelVectorWidth(), VectorWidth::Baseline);
    }
    EXPECT_EQ(KernelVectorWidthLimit(), VectorWidth::Avx2);
    EXPECT_NE(KernelVectorWidth(), VectorWidth::Avx512);
  }
  EXPECT_EQ(KernelVectorWidthLimit(), start);
}

// The arguments the Gaussian cut-off lets through, -50 < x <= 0, every
// 2.5e-6 apart and at the ends, and a few far beyond them.
std::vector<double> exponentialArguments() {
  std::vector<double> x;
  constexpr int steps = 4000000;
  for (int k = 0; k < steps; ++k) x.push_back(-50.0 * k / steps);
  for (double v : {-0.0, std::nextafter(-50.0, 0.0), -1e-300, -5e-324, -0.5 * std::log(2.0), -std::log(2.0),
                   -700.0, 700.0, 1.0, 0.25})
    x.push_back(v);
  return x;
}

TEST(BandExponential, IsWithinTwoUlpOfTheLibraryExponential) {
  const std::vector<double> x = exponentialArguments();
  double worst = 0, worstAt = 0;
  for (double v : x) {
    const double expected = std::exp(v);
    const double ulp = std::nextafter(expected, HUGE_VAL) - expected;
    const double error = std::fabs(Exponential(v) - expected) / ulp;
    if (!(error <= worst)) {
      worst = error;
      worstAt = v;
    }
  }
  EXPECT_LE(worst, 2.0) << "at " << worstAt;
  EXPECT_EQ(Exponential(0.0), 1.0);
  EXPECT_EQ(Exponential(-0.0), 1.0);
}

TEST(BandExponential, WideLoopsGiveTheSameBitsAsOneValueAtATime) {
  if (KernelVectorWidth() == VectorWidth::Baseline) GTEST_SKIP() << "the processor has no AVX2";
  // Shorter than a vector at the end, so that the last lanes repeat.
  std::vector<double> x = exponentialArguments();
  x.resize(x.size() - 3);
  std::vector<double> single(x.size());
  for (std::size_t k = 0; k < x.size(); ++k) single[k] = Exponential(x[k]);
  {
    VectorWidthLimit limit(VectorWidth::Baseline);
    std::vector<double> plain(x.size());
    Exponentials(x, plain);
    expectSameBits(plain, single);
  }
  for (VectorWidth width : WideVectorWidths()) {
    VectorWidthLimit limit(width);
    SCOPED_TRACE(width == VectorWidth::Avx2 ? "AVX2" : "AVX-512");
    std::vector<double> wide(x.size());
    Exponentials(x, wide);
    expectSameBits(wide, single);
  }
}
