// The plots' coordinate arithmetic: runs of bins clamped to the grid, tick
// labels, measured walks, the ORD scale point and point order, and the
// degenerate windows and scales that must not divide by zero.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "display/plot_geometry.h"

namespace {

TEST(PlotGeometry, WavelengthRunsStayOnTheGrid) {
  struct Case {
    int x1, x2, shift;
    std::optional<int> firstBin, lastBin, firstX;
  };
  const Case cases[] = {
      {150, 600, 0, 1500, 6000, 50},
      {150, 600, 20, 1300, 5800, 50},
      {90, 600, 0, 1000, 6000, 59},       // raised to 100 nm: 50 + nint(10 / 1.1333)
      {3900, 4500, 0, 39000, 40000, 50},  // lowered to 4000 nm
      {4100, 4500, 0, std::nullopt, std::nullopt, std::nullopt},  // wholly past the grid
      {10, 50, 0, std::nullopt, std::nullopt, std::nullopt},      // wholly before it
      {150, 150, 0, std::nullopt, std::nullopt, std::nullopt},    // no width
      {600, 150, 0, std::nullopt, std::nullopt, std::nullopt},    // reversed
      {-2147483647 - 1, 2147483647, -2147483647 - 1, 1000, 40000, 50},  // no overflow
      {150, 600, 2147483647, std::nullopt, std::nullopt, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x1 << ".." << c.x2 << " shift " << c.shift);
    const auto run = wavelengthCurveRun(c.x1, c.x2, c.shift);
    ASSERT_EQ(run.has_value(), c.firstBin.has_value());
    if (!run) continue;
    EXPECT_EQ(run->firstBin, *c.firstBin);
    EXPECT_EQ(run->lastBin, *c.lastBin);
    EXPECT_EQ(run->firstX, *c.firstX);
  }
  const auto run = *wavelengthCurveRun(150, 600, 0);
  EXPECT_EQ(run.x(1500), 50);
  EXPECT_EQ(run.x(2500), 150);
  EXPECT_EQ(run.x(6000), 500);
}

TEST(PlotGeometry, TickLabelsRoundAsEachPanelDoes) {
  EXPECT_EQ(uvTickLabel(151, 606, 1), 197);   // 151 + nint(45.5)
  EXPECT_EQ(ecdTickLabel(151, 606, 1), 196);  // nint(196.5)
  EXPECT_EQ(ecdTickLabel(150, 600, 10), 600);
  EXPECT_EQ(wavenumberTickLabel(50000, 15000, 1), 46500);
  EXPECT_EQ(wavenumberTickLabel(50000, 15000, 10), 15000);
  EXPECT_EQ(irVcdTickLabel(500, 2000, 1, 9), 667);
  EXPECT_EQ(irVcdTickLabel(500, 2000, 4, 9), 1167);
  EXPECT_EQ(ordTickLabel(150, 600, 9, 9), 600);
  const std::vector<std::optional<long long>> shortWindow = hplcTickLabels(2, 10);
  ASSERT_EQ(shortWindow.size(), 12u);
  EXPECT_EQ(shortWindow[0], 2);
  EXPECT_EQ(shortWindow[11], 10);
  for (int k = 1; k < 11; ++k) EXPECT_FALSE(shortWindow[static_cast<size_t>(k)].has_value()) << k;
  EXPECT_EQ(hplcTickLabels(0, 30)[9], 25);  // nint(24.545) + 0
  EXPECT_EQ(hplcTickLabels(0.4, 11.4)[1], 1);  // nint(nint(1) + 0.4)
}

TEST(PlotGeometry, DegenerateScalesAndWindowsGiveNoPosition) {
  EXPECT_FALSE(valueY(560, 0.0, 5.0).has_value());
  EXPECT_FALSE(valueY(560, std::nan(""), 5.0).has_value());
  EXPECT_EQ(valueY(560, 2.2, 2.0), 378);
  EXPECT_EQ(valueY(560, 2.2, -2.0), 742);
  EXPECT_EQ(valueY(450, 110, 100, 390), 95);
  // Values far off the scale are clipped by the canvas, never an error.
  EXPECT_EQ(valueY(560, 1e-300, 1e300), 560 - 1000000);
  EXPECT_EQ(pixelOf(std::numeric_limits<double>::infinity()), 1000000);
  EXPECT_FALSE(measuredWavelengthX(150, 150, 200).has_value());
  EXPECT_FALSE(wavenumberStep(15000, 15000).has_value());
  EXPECT_FALSE(irVcdMeasuredX(500, 500, 600).has_value());
  EXPECT_FALSE(hplcX(3, 3, 3).has_value());
  EXPECT_FALSE(ordX(150, 150, 200).has_value());
  EXPECT_EQ(wavenumberX(50000, 450.0 / 35000, 1e7 / 400), 371);
  EXPECT_EQ(uvEcdFullScale(7.62, 1.0, false), 7.62 + 0.762);
  EXPECT_EQ(uvEcdFullScale(25, 1.0, true), 27);  // the tenth 2.5 rounds to 2
  EXPECT_EQ(barScale(std::vector<double>{0, -3, 3, 1}, 1000, 1000, 1003, true), 1.1 * 3);
  EXPECT_EQ(barScale(std::vector<double>{0, -3, 2}, 1000, 1000, 1002, false), 1.1 * 2);
  EXPECT_EQ(barScale(std::vector<double>{0, 0}, 1000, 1000, 1001, true), 0.0);
  EXPECT_EQ(barScale(std::vector<double>{5}, 1000, 990, 2000, true), 1.1 * 5);  // bins off the span are skipped
}

TEST(PlotGeometry, FallingWalkPassesThePointsBeforeTheWindowAndStopsBeyondIt) {
  const std::vector<double> x = {700, 600, 400, 200, 100};  // falling, as stored
  auto before = [](double v) { return v < 150; };
  auto beyond = [](double v) { return v > 600; };
  const auto walk = fallingPointWalk(x, 5, before, beyond);
  ASSERT_TRUE(walk.has_value());
  EXPECT_EQ(walk->from, 4);  // 200 nm; 100 nm lies before the window
  EXPECT_EQ(walk->to, 2);    // 600 nm, at the window's end, is drawn
  EXPECT_FALSE(fallingPointWalk(x, 5, [](double) { return true; }, beyond).has_value());
  EXPECT_FALSE(fallingPointWalk(x, 0, before, beyond).has_value());
  // A count beyond the stored points reads no further than they go.
  EXPECT_EQ(fallingPointWalk(x, 99, before, beyond)->from, 4);
  // The first point walked lies beyond the end: only the pen is placed.
  const auto beyondOnly = fallingPointWalk(x, 1, before, beyond);
  ASSERT_TRUE(beyondOnly.has_value());
  EXPECT_GT(beyondOnly->to, beyondOnly->from);
}

TEST(PlotGeometry, OrdScalePointAndPointOrder) {
  const std::vector<double> x = {700, 500, 400, 300, 150};
  const std::vector<double> y = {90, -40, 40, 10, 80};
  // Point 1 (outside) sets the scale unless a point strictly inside is larger.
  EXPECT_EQ(ordScaleValue(x, y, 5, 150, 600), 90);
  const std::vector<double> small = {5, -40, 40, 10, 80};
  EXPECT_EQ(ordScaleValue(x, small, 5, 150, 600), 40);  // 150 is on the bound; the first of equals wins
  EXPECT_EQ(ordScaleValue(x, small, 0, 150, 600), 0);
  EXPECT_EQ(ordScaleValue(x, small, 50, 150, 600), 40);

  EXPECT_EQ(ordPointsInWindow(x, 5, 150, 600), (std::vector<int>{5, 4, 3, 2}));
  const std::vector<double> rising = {200, 300, 400, 500, 700};
  EXPECT_EQ(ordPointsInWindow(rising, 5, 150, 600), (std::vector<int>{1, 2, 3, 4}));
  const std::vector<double> shuffled = {400, 200, 650, 300};
  EXPECT_EQ(ordPointsInWindow(shuffled, 4, 150, 600), (std::vector<int>{2, 4, 1}));
  EXPECT_TRUE(ordPointsInWindow(x, 5, 800, 900).empty());
}

}  // namespace
