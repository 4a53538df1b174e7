// Trial bands, walks, kernels, measured maxima and trial maximum ranges of the
// similarity search, on tiny hand-made curves.
#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "display/broadening.h"
#include "similarity/kernel_core.h"
#include "similarity/kernels.h"
#include "tests/vector_width_limit.h"

using namespace similarity_core;

namespace {

// A measured curve (x descending) that owns its points.
struct Curve {
  std::vector<double> x, y;
  MeasuredPoints points() const { return {x, y, static_cast<int>(x.size())}; }
};

// A UV/ECD comparison grid addressed by bin.
struct TrialGrid {
  std::vector<double> values = std::vector<double>(UVECD_TRIAL_SIZE, 0.0);
  double& operator[](int bin) { return values.at(static_cast<std::size_t>(bin - TRIAL_FIRST_BIN)); }
};

std::vector<double> wavelengthLines() { return std::vector<double>(WAVELENGTH_GRID_SIZE, 0.0); }

TEST(TrialBands, UvLeavesOutTheDisplaysNormalisationAndLinesPast1100Nm) {
  std::vector<double> osc = wavelengthLines();
  osc[2500 - 1000] = 1.0;
  for (BandShape shape : {BandShape::Gaussian, BandShape::Lorentzian}) {
    TrialGrid band;
    trialUvBand(osc, 0.16, shape, band.values);
    EXPECT_DOUBLE_EQ(band[2500], 179375.0);
  }
  // A line at 1200 nm adds nothing, not even its tail.
  std::vector<double> far = wavelengthLines();
  far[12000 - 1000] = 1.0;
  TrialGrid band;
  trialUvBand(far, 0.16, BandShape::Lorentzian, band.values);
  for (double value : band.values) ASSERT_EQ(value, 0.0);
}

TEST(TrialBands, EcdIsTheDisplaysBandOnTheFirstTenThousandBins) {
  std::vector<double> rots = wavelengthLines();
  rots[2500 - 1000] = 10.0;
  rots[3100 - 1000] = -4.0;
  for (BandShape shape : {BandShape::Gaussian, BandShape::Lorentzian}) {
    std::vector<double> display(WAVELENGTH_GRID_SIZE);
    broadenUvEcd(UvEcdKind::Ecd, rots, 0.2, shape, display);
    TrialGrid band;
    trialCdBand(rots, 0.2, shape, band.values);
    for (std::size_t k = 0; k < UVECD_TRIAL_SIZE; ++k) ASSERT_EQ(band.values[k], display[k]) << k;
  }
  TrialGrid none;
  trialCdBand(rots, 0.2, BandShape::None, none.values);
  for (double value : none.values) ASSERT_EQ(value, 0.0);
}

TEST(TrialBands, IrKeepsEveryLineAfterAnEmptyRow) {
  std::vector<double> nu(IRVCD_TRIAL_SIZE, 0.0), d(IRVCD_TRIAL_SIZE, 0.0);
  nu[0] = 1000;
  d[0] = 1;
  nu[2] = 1500;  // row 1 is empty
  d[2] = 1;
  std::vector<double> band(IRVCD_TRIAL_SIZE);
  trialIrBand(nu, d, 4, band);
  EXPECT_NEAR(band[1000], band[1500] * 1000 / 1500, 1e-9);
  const double bothLines = 4.0 / 16 + 4.0 / (16 + 500.0 * 500.0);
  EXPECT_NEAR(band[1500], (1500 / 91.84) * 0.31830914183855363 * bothLines, 1e-12);
  std::vector<double> vcd(IRVCD_TRIAL_SIZE);
  trialVcdBand(nu, d, 4, vcd);
  EXPECT_NEAR(vcd[1000], (1000 / 229600.0) * 0.31830914183855363 * bothLines, 1e-15);
}

TEST(Walks, TakeTheirDocumentedPoints) {
  const Curve nm{{500, 400, 300, 200, 100}, {}};
  const Curve nmY{nm.x, std::vector<double>(5, 0.0)};
  const Curve wavenumbers{{2000, 1500, 1000, 500, 100}, std::vector<double>(5, 0.0)};
  const Curve reciprocal{{400, 250, 200, 125}, std::vector<double>(4, 0.0)};  // 25000, 40000, 50000, 80000 1/cm
  struct Case {
    const char* what;
    PointRun run;
    int first, end;
    bool inside;  // a point of the run lies inside the window
  };
  const MeasuredPoints p = nmY.points();
  const Case cases[] = {
      {"A takes x = X2, not x = X1", walkA(p, 200, 400), 1, 3, true},
      {"A, empty window", walkA(p, 400, 400), 1, 1, false},
      {"A', nu = X2 taken, nu = X1 not", walkAPrime(reciprocal.points(), 50000, 25000), 0, 2, true},
      {"B, one point beyond each edge", walkB(p, 250, 350), 1, 4, true},
      {"B, from point 1 when it lies inside", walkB(p, 200, 600), 0, 4, true},
      {"B, to point N when none is at or below X1", walkB(p, 50, 400), 0, 5, true},
      {"B, a window between two points: only the two beyond it", walkB(p, 310, 390), 1, 3, false},
      {"B, a window above every point: point 1 alone", walkB(p, 600, 700), 0, 1, false},
      {"B', one point beyond each edge", walkBPrime(reciprocal.points(), 50000, 30000), 0, 3, true},
      {"B'', from the first at or below X2", walkBDoublePrime(wavenumbers.points(), 500, 1500), 1, 4, true},
      {"B'', no point at or below X2", walkBDoublePrime(wavenumbers.points(), 500, 50), 5, 4, false},
      {"B'', a window of one value", walkBDoublePrime(wavenumbers.points(), 1000, 1000), 2, 3, false},
      {"B, no points", walkB(MeasuredPoints{}, 200, 400), 0, 0, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.run.first, c.first) << c.what;
    EXPECT_EQ(c.run.end, c.end) << c.what;
    EXPECT_EQ(c.run.reachesInside, c.inside) << c.what;
  }
}

TEST(OverlapKernels, ScoreShiftAndScaleFormsAndKeepACrossSectionOfZero) {
  // Computed values 2, 4, 6 at the shifted bins; measured 1, 2, 3.
  TrialGrid grid;
  grid[2950] = 2;
  grid[2450] = 4;
  grid[1950] = 6;
  const Curve curve{{300, 250, 200}, {1, 2, 3}};
  const MeasuredPoints p = curve.points();
  EXPECT_EQ(similarity::CrossSec(grid.values, p, 0.5, 5, 150, 300), 0.0);
  EXPECT_DOUBLE_EQ(*SimUV(grid.values, p, 0.5, 5, 150, 300), 1.0);
  // Doubling SCALE leaves the overlap, not the cross section.
  EXPECT_DOUBLE_EQ(*SimUV(grid.values, p, 1.0, 5, 150, 300), 1.0);
  EXPECT_DOUBLE_EQ(*similarity::CrossSec(grid.values, p, 1.0, 5, 150, 300), 6.0);
  // Wavenumber unit: point x compares with bin Round((x XSCALE) 10).
  TrialGrid scaled;
  scaled[2550] = 4;
  const Curve one{{250}, {2}};
  EXPECT_EQ(CrossSec_WN(scaled.values, one.points(), 0.5, 1.02, 50000, 25000), 0.0);
  EXPECT_DOUBLE_EQ(*SimUV_WN(scaled.values, one.points(), 0.5, 1.02, 50000, 25000), 1.0);
  // IR: index Round(Round(x) / XSCALEF).
  std::vector<double> ir(IRVCD_TRIAL_SIZE, 0.0);
  ir[1000] = 3;
  const Curve irCurve{{1020.4}, {6}};
  EXPECT_DOUBLE_EQ(*SimIR(ir, irCurve.points(), 2.0, 1.02, 500, 2000), 1.0);
  EXPECT_EQ(similarityvcd::CrossSec(ir, irCurve.points(), 2.0, 1.02, 500, 2000), 0.0);
}

TEST(OverlapKernels, GiveNoValueWithoutPointsOrWithoutSignal) {
  TrialGrid grid;
  grid[3000] = 1;
  const Curve curve{{300}, {1}};
  const Curve zero{{300}, {0}};
  EXPECT_FALSE(SimUV(grid.values, curve.points(), 1, 0, 300, 300));  // empty window
  EXPECT_FALSE(similarity::CrossSec(grid.values, curve.points(), 1, 0, 300, 300));
  EXPECT_FALSE(SimUV(grid.values, MeasuredPoints{}, 1, 0, 200, 400));
  EXPECT_FALSE(SimUV(grid.values, zero.points(), 1, 0, 200, 400));
  EXPECT_EQ(similarity::CrossSec(grid.values, zero.points(), 1, 0, 200, 400), 1.0);
  EXPECT_FALSE(SimCD(grid.values, MeasuredPoints{}, 1, 0, 200, 400));
  EXPECT_FALSE(SimVCD(std::vector<double>(IRVCD_TRIAL_SIZE, 0.0), MeasuredPoints{}, 1, 1, 500, 2000));
}

TEST(OverlapKernels, ReadZeroOffTheGrid) {
  TrialGrid grid;
  grid[1000] = 5;
  // Shift +100 at X1 = 190: points at 195 and 199 nm read bins 950 and 990.
  const Curve shortEnd{{199, 195}, {1, 2}};
  EXPECT_EQ(similarity::CrossSec(grid.values, shortEnd.points(), 1, 100, 190, 200), 3.0);
  EXPECT_FALSE(SimUV(grid.values, shortEnd.points(), 1, 100, 190, 200));
  // IR with f = 0.1: Round(x / 0.1) lies beyond 4000.
  const Curve ir{{1000, 500}, {1, 2}};
  std::vector<double> irGrid(IRVCD_TRIAL_SIZE, 1.0);
  EXPECT_EQ(similarityvcd::CrossSec(irGrid, ir.points(), 1, 0.1, 100, 1000), 3.0);
  // Indexes that are not finite or overflow an integer.
  EXPECT_EQ(similarityvcd::CrossSec(irGrid, ir.points(), 1, 1e-300, 100, 1000), 3.0);
  EXPECT_EQ(similarity::CrossSec(grid.values, shortEnd.points(), 1, std::numeric_limits<int>::min(), 190, 200), 3.0);
}

// The kernels' values: cross section, overlap, S and S of the mirror image.
std::vector<std::optional<double>> kernelValues(std::span<const double> grid, int firstIndex,
                                                const PreparedPoints& points, PointRun run, double SCALE,
                                                double position) {
  const OverlapValues overlap = overlapKernels({grid, firstIndex}, points, run, SCALE, position);
  const SignSplitValues split = signSplitKernels({grid, firstIndex}, points, run, SCALE, position);
  return {overlap.crossSection, overlap.overlap, split.plain, split.mirror};
}

// Every width sums in the same lanes and the same order: the same values,
// bit for bit (a -0 or a last bit shows), and none where the baseline has none.
void expectSameValues(const std::vector<std::optional<double>>& wide,
                      const std::vector<std::optional<double>>& baseline, const std::string& what) {
  ASSERT_EQ(wide.size(), baseline.size());
  for (std::size_t k = 0; k < wide.size(); ++k) {
    ASSERT_EQ(wide[k].has_value(), baseline[k].has_value()) << what << ", value " << k;
    if (baseline[k]) {
      EXPECT_EQ(std::bit_cast<std::uint64_t>(*wide[k]), std::bit_cast<std::uint64_t>(*baseline[k]))
          << what << ", value " << k << ": " << *wide[k] << " against " << *baseline[k];
    }
  }
}

TEST(OverlapKernels, WideLoopsGiveTheBaselineValuesBitForBit) {
  if (KernelVectorWidth() == VectorWidth::Baseline) GTEST_SKIP() << "the processor has no AVX2";
  std::vector<double> grid(UVECD_TRIAL_SIZE);
  for (std::size_t k = 0; k < grid.size(); ++k) grid[k] = std::sin(0.001 * k) * std::cos(0.013 * k);
  // 1001 points from 1150 nm down to 50 nm, so that reads fall off both grid
  // ends; neighbouring points share their keys; one point is not finite.
  Curve curve;
  for (int k = 0; k <= 1000; ++k) {
    curve.x.push_back(1150.0 - 1.1 * k);
    curve.y.push_back(std::cos(0.02 * k) - 0.3);
  }
  curve.x[400] = std::numeric_limits<double>::quiet_NaN();
  // Zeros of both signs, which the sign-split sums must place alike.
  curve.y[17] = -0.0;
  curve.y[18] = 0.0;
  // Then points 0.1 nm apart from 1102 nm down to below 0, whose neighbours
  // read neighbouring grid values, up to and over both ends of the grid.
  for (int k = 0; k < 11050; ++k) {
    curve.x.push_back(1102.0 - 0.1 * k);
    curve.y.push_back(std::sin(0.003 * k) + 0.1);
  }
  const MeasuredPoints p = curve.points();
  const double huge = 1e300;
  struct Case {
    IndexForm form;
    int firstIndex;
    std::vector<double> positions;
  };
  const Case cases[] = {
      {IndexForm::Shift, TRIAL_FIRST_BIN, {0, 7, -33, 2.5, huge}},
      {IndexForm::Scale, TRIAL_FIRST_BIN, {1.0, 0.7, 1.3, 0.001, -1.0, huge}},
      {IndexForm::IrScale, 0, {1.0, 0.5, 2.0, 1e-300, -3.0}},
  };
  // Runs of every length around the lanes' widths, a lone point, an empty run.
  const std::vector<PointRun> runs = {{0, 1001, true},     {3, 10, true},       {990, 1001, true},
                                      {5, 5, false},       {7, 8, true},        {20, 35, true},
                                      {100, 117, true},    {1001, 12051, true}, {1001, 1133, true},
                                      {11950, 12051, true}, {6000, 6013, true}};
  for (const Case& c : cases) {
    const PreparedPoints prepared = prepare(p, c.form);
    for (std::span<const double> g : {std::span<const double>(grid), std::span<const double>()}) {
      for (const PointRun& run : runs) {
        for (double position : c.positions) {
          for (double SCALE : {1.0, -2.5}) {
            std::vector<std::optional<double>> baseline;
            {
              VectorWidthLimit limit(VectorWidth::Baseline);
              baseline = kernelValues(g, c.firstIndex, prepared, run, SCALE, position);
            }
            for (VectorWidth width : WideVectorWidths()) {
              VectorWidthLimit limit(width);
              expectSameValues(kernelValues(g, c.firstIndex, prepared, run, SCALE, position), baseline,
                                "form " + std::to_string(static_cast<int>(c.form)) + ", grid of " +
                                    std::to_string(g.size()) + ", points " + std::to_string(run.first) + ".." +
                                    std::to_string(run.end) + ", position " + std::to_string(position) +
                                    ", SCALE " + std::to_string(SCALE) + ", width " +
                                    std::to_string(static_cast<int>(width)));
            }
          }
        }
      }
    }
  }
}

TEST(SignSplitKernels, SplitBySignAndMirror) {
  TrialGrid grid;
  // Walk B over 400, 300, 200 with the window 250..350 evaluates all three.
  const Curve curve{{400, 300, 200}, {1, -2, 3}};
  grid[4000] = -1;
  grid[3000] = 2;
  grid[2000] = -3;
  EXPECT_EQ(*SimCD(grid.values, curve.points(), 1, 0, 250, 350), 0.0);
  EXPECT_DOUBLE_EQ(*SimCDEnant(grid.values, curve.points(), 1, 0, 250, 350), 1.0);

  // A measured 0 counts as positive; the disagreeing point only enlarges the
  // normalisers and areas: (2 x 1 + 1 x 0) / 3.
  const Curve zeros{{400, 300, 200}, {0, 1, 0}};
  TrialGrid mixed;
  mixed[4000] = -1;
  mixed[3000] = 1;
  EXPECT_DOUBLE_EQ(*SimCD(mixed.values, zeros.points(), 1, 0, 250, 350), 2.0 / 3.0);
  // The areas make the result depend on SCALE.
  EXPECT_NE(*SimCD(mixed.values, zeros.points(), 1, 0, 250, 350), *SimCD(mixed.values, zeros.points(), 2, 0, 250, 350));

  // Walk B above X2 = 1000 with shift -100: point 1005 nm reads bin 11050, off the grid.
  TrialGrid longEnd;
  longEnd[11000] = 1;
  longEnd[10900] = 1;
  const Curve tail{{1005, 1000, 990}, {5, 1, 1}};
  EXPECT_DOUBLE_EQ(*SimCD(longEnd.values, tail.points(), 1, -100, 980, 1000), 2.0 / std::sqrt(54.0));

  // Wavenumber forms: the same computation on Round((x XSCALE) 10) and on Round(Round(x) / XSCALEF).
  TrialGrid scaled;
  scaled[2040] = 2;
  const Curve one{{200}, {-1}};
  EXPECT_DOUBLE_EQ(*SimCDEnant_WN(scaled.values, one.points(), 0.5, 1.02, 60000, 40000), 1.0);
  EXPECT_EQ(*SimCD_WN(scaled.values, one.points(), 0.5, 1.02, 60000, 40000), 0.0);
  std::vector<double> vcd(IRVCD_TRIAL_SIZE, 0.0);
  vcd[1000] = -2;
  const Curve vcdCurve{{1100, 1000}, {0, 4}};
  EXPECT_DOUBLE_EQ(*SimVCDEnant(vcd, vcdCurve.points(), 2, 1.0, 900, 1050), 1.0);
}

TEST(SignSplitKernels, GiveNoValueWhenNoPointTheyEvaluateLiesInsideTheWindow) {
  // The walks still evaluate the points beyond the edges: 400 and 300 nm
  // around the window 310..390, point 1 alone above a window past the curve.
  TrialGrid grid;
  grid[4000] = 1;
  grid[3000] = 2;
  const Curve curve{{400, 300, 200}, {1, 2, 0}};
  EXPECT_FALSE(SimCD(grid.values, curve.points(), 1, 0, 310, 390));
  EXPECT_FALSE(SimCDEnant(grid.values, curve.points(), 1, 0, 310, 390));
  EXPECT_FALSE(SimCD(grid.values, curve.points(), 1, 0, 500, 600));
  EXPECT_DOUBLE_EQ(*SimCD(grid.values, curve.points(), 1, 0, 290, 390), 1.0);
  std::vector<double> vcd(IRVCD_TRIAL_SIZE, 0.0);
  vcd[300] = 1;
  const Curve onePoint{{300}, {4}};
  EXPECT_FALSE(SimVCD(vcd, onePoint.points(), 4, 1.0, 500, 2000));
  EXPECT_FALSE(SimVCD(vcd, onePoint.points(), 4, 1.0, 300, 300));
  EXPECT_DOUBLE_EQ(*SimVCD(vcd, onePoint.points(), 4, 1.0, 299, 300), 1.0);
}

TEST(MeasuredMaxima, FollowTheirRules) {
  const Curve nm{{500, 400, 300, 200, 100}, {100, 3, 7, 5, 50}};
  const Curve cd{{500, 400, 300, 200, 100}, {-1, -3, -9, 5, 50}};
  const Curve reciprocal{{400, 250, 200, 125}, {1, 4, -6, 99}};  // 25000, 40000, 50000, 80000 1/cm
  const Curve ir{{2000, 1500, 1000, 500, 100}, {90, 2, 8, 4, 70}};
  const Curve vcd{{2000, 1500, 1000, 500, 100}, {90, -2, -8, 4, 70}};
  EXPECT_EQ(EXPUVMAX(nm.points(), UvEcdMode::Wavelength, 200, 400), 7);
  EXPECT_EQ(EXPUVMAX(nm.points(), UvEcdMode::Wavelength, 200, 50), std::nullopt);
  EXPECT_EQ(EXPUVMAX(reciprocal.points(), UvEcdMode::Wavenumber, 50000, 30000), 4);
  EXPECT_EQ(EXPCDMAX(cd.points(), EcdMaximumRule::Wavelength, 200, 400), 9);
  EXPECT_EQ(EXPCDMAX(reciprocal.points(), EcdMaximumRule::WavenumberUvRun, 50000, 30000), 6);
  EXPECT_EQ(EXPCDMAX(reciprocal.points(), EcdMaximumRule::WavenumberEcdRun, 50000, 30000), 6);
  EXPECT_EQ(EXPCDMAX(MeasuredPoints{}, EcdMaximumRule::Wavelength, 200, 400), std::nullopt);
  EXPECT_EQ(EXPIRMAX(ir.points(), 500, 1500), 8);
  EXPECT_EQ(EXPVCDMAX(vcd.points(), 500, 1500), 8);
  EXPECT_EQ(EXPVCDMAX(vcd.points(), 500, 50), std::nullopt);
}

TEST(TrialRanges, MeetTheDisplaysGeometry) {
  struct Case {
    const char* what;
    TrialRange range;
    double first, last;
  };
  const Case cases[] = {
      {"shift 0", shiftTrialRange(200, 400, 0), 2000, 4000},
      {"shift +100: bins below 100 nm cut", shiftTrialRange(190, 1000, 100), 1000, 9000},
      {"shift -150: bins past 1100 nm cut", shiftTrialRange(200, 1000, -150), 3500, 11000},
      {"x scale 1", scaleTrialRange(50000, 15000, 1.0), 2000, 6667},
      {"x scale 0.9", scaleTrialRange(50000, 15000, 0.9), 1800, 6000},
      {"widest: from 53000 1/cm at 0.7 to the end of the grid", scaleTrialRange(53000, 5000, 0.7), 1321, 11000},
      {"x scale 1.3 at 53000 1/cm", scaleTrialRange(53000, 15000, 1.3), 2453, 8667},
      {"IR f = 1", irTrialRange(500, 2000, 1.0), 500, 2000},
      {"IR f = 0.5: past 4000 cut", irTrialRange(500, 3000, 0.5), 1000, 4000},
      {"IR f = 0.1: wholly off the grid", irTrialRange(500, 2000, 0.1), 5000, 20000},
      {"IR f = 2 from 1 1/cm: index 0 compared", irTrialRange(1, 2000, 2.0), 0, 1000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.range.first, c.first) << c.what;
    EXPECT_EQ(c.range.last, c.last) << c.what;
  }
}

TEST(TrialRanges, MaximumStartsAtTheFirstIndexAndReadsZeroOffTheGrid) {
  const std::vector<double> grid{1, 5, -7, 3};  // indexes 10..13
  const std::vector<double> negative{-1, -2};   // indexes 10..11
  struct Case {
    const char* what;
    double value, expected;
  };
  const double inf = std::numeric_limits<double>::infinity();
  const Case cases[] = {
      {"signed", trialMaximum(grid, 10, {10, 13}, false), 5},
      {"absolute", trialMaximum(grid, 10, {10, 13}, true), 7},
      {"past the end reads 0", trialMaximum(negative, 10, {10, 20}, false), 0},
      {"on the grid", trialMaximum(negative, 10, {10, 11}, false), -1},
      {"reversed: the first index alone", trialMaximum(grid, 10, {13, 11}, false), 3},
      {"wholly off the grid", trialMaximum(grid, 10, {100, 200}, true), 0},
      {"not finite", trialMaximum(grid, 10, {inf, inf}, false), 0},
  };
  for (const Case& c : cases) EXPECT_EQ(c.value, c.expected) << c.what;
}

TEST(TrialRanges, WideMaximumIsTheBaselineMaximumBitForBit) {
  if (KernelVectorWidth() == VectorWidth::Baseline) GTEST_SKIP() << "the processor has no AVX2";
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<double> grid(1000);
  for (std::size_t k = 0; k < grid.size(); ++k) grid[k] = std::sin(0.37 * k) * (1 + k % 7);
  grid[500] = nan;
  grid[3] = -9.5;  // the largest magnitude, early
  const std::vector<double> zeros{-0.0, 0.0, -0.0, 0.0, 0.0, -0.0, 0.0, 0.0, 0.0, -0.0};
  const std::vector<double> negative(37, -2.0);
  // -0 is found first, +0 in an earlier lane.
  const std::vector<double> zeroMaximum{-2, -3, -0.0, -5, -5, -5, -5, -5, -5, 0.0, -1};
  struct Case {
    const std::vector<double>* grid;
    TrialRange range;
  };
  std::vector<Case> cases;
  for (double last : {0.0, 2.0, 3.0, 4.0, 7.0, 8.0, 9.0, 16.0, 17.0, 499.0, 999.0, 1200.0})
    for (double first : {0.0, 1.0, 5.0, 501.0})
      if (first <= last) cases.push_back({&grid, {first, last}});
  cases.push_back({&zeros, {0, 9}});
  cases.push_back({&zeros, {1, 9}});
  cases.push_back({&negative, {0, 36}});
  cases.push_back({&negative, {0, 40}});
  cases.push_back({&zeroMaximum, {0, 10}});
  for (bool absolute : {false, true}) {
    std::vector<double> baseline;
    {
      VectorWidthLimit limit(VectorWidth::Baseline);
      for (const Case& c : cases) baseline.push_back(trialMaximum(*c.grid, 0, c.range, absolute));
    }
    for (VectorWidth width : WideVectorWidths()) {
      VectorWidthLimit limit(width);
      for (std::size_t k = 0; k < cases.size(); ++k)
        EXPECT_EQ(std::bit_cast<std::uint64_t>(trialMaximum(*cases[k].grid, 0, cases[k].range, absolute)),
                  std::bit_cast<std::uint64_t>(baseline[k]))
            << cases[k].range.first << ".." << cases[k].range.last << (absolute ? " absolute" : " signed")
            << " at width " << static_cast<int>(width);
    }
  }
  EXPECT_TRUE(std::signbit(trialMaximum(zeroMaximum, 0, {0, 10}, false)));
}

TEST(Rounding, HalvesGoToEvenWithoutOverflow) {
  EXPECT_EQ(roundHalfEven(2.5), 2);
  EXPECT_EQ(roundHalfEven(3.5), 4);
  EXPECT_EQ(roundHalfEven(-2.5), -2);
  EXPECT_EQ(roundHalfEven(0.49999999999999994), 0);
  EXPECT_EQ(roundHalfEven(1e300), 1e300);
  EXPECT_TRUE(std::isnan(roundHalfEven(std::nan(""))));
}

}  // namespace
