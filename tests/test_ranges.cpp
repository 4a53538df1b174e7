// Ranges and scale factors: the grid runs of a window, the maxima of computed
// and measured slots, the factors, and the chromatogram rule.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <optional>
#include <vector>

#include "display/broadening.h"
#include "display/ranges.h"

namespace {

struct RunCase {
  int low;
  int high;
  std::optional<GridRun> expected;
};

void expectRun(const std::optional<GridRun>& actual, const std::optional<GridRun>& expected) {
  ASSERT_EQ(actual.has_value(), expected.has_value());
  if (!expected) return;
  EXPECT_EQ(actual->first, expected->first);
  EXPECT_EQ(actual->last, expected->last);
}

TEST(RangeRuns, WavelengthBinsFollowWindowAndShiftClampedToTheGrid) {
  struct Case {
    int low, high, shift;
    std::optional<GridRun> expected;
  };
  const Case cases[] = {
      {150, 600, 20, GridRun{1300, 5800}},
      {90, 600, 0, GridRun{1000, 6000}},     // raised to 100 nm
      {100, 3990, -20, GridRun{1200, 40000}},  // lowered to 4000 nm
      {4010, 5000, 20, GridRun{39900, 40000}},
      {4500, 5000, 0, std::nullopt},  // wholly past the grid
      {600, 150, 0, GridRun{6000, 5999}},  // reversed: only the first bin
      {50, 80, 0, GridRun{1000, 999}},
      {-2147483647 - 1, 2147483647, 2147483647, GridRun{1000, 999}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.low << ".." << c.high << " shift " << c.shift);
    expectRun(wavelengthBinRun({c.low, c.high}, c.shift), c.expected);
  }
}

TEST(RangeRuns, WavenumberIndicesFollowWindowOverScaleFactor) {
  struct Case {
    int low, high;
    double xScale;
    std::optional<GridRun> expected;
  };
  const Case cases[] = {
      {500, 2000, 0.97, GridRun{515, 2062}},  // 515.46 and 2061.86
      {500, 2000, 1.0, GridRun{500, 2000}},
      {5, 7, 2.0, GridRun{2, 4}},  // 2.5 and 3.5: halves to even
      {-10, 100, 1.0, GridRun{0, 100}},
      {0, 5000, 1.0, GridRun{0, 4000}},
      {4000, 6000, 1.0, GridRun{4000, 4000}},
      {5000, 6000, 1.0, std::nullopt},
      {2000, 500, 1.0, GridRun{2000, 1999}},
      {500, -2000000000, 1.0, GridRun{500, 499}},
      {500, 2000, 0.0, std::nullopt},
      {500, 2000, -1.0, std::nullopt},
      {500, 2000, 1e-300, std::nullopt},
      {500, 2000, std::nan(""), std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.low << ".." << c.high << " scale " << c.xScale);
    expectRun(wavenumberIndexRun({c.low, c.high}, c.xScale), c.expected);
  }
}

TEST(RangeRuns, WavenumberUnitBinsStartAtX1AndStopBeforeX2) {
  struct Case {
    int low, high;
    double xScale;
    std::optional<GridRun> expected;
  };
  const Case cases[] = {
      // Bin J shows 1e8 x f / J: 50000 at J = 2000, 20000 at J = 5000.
      {50000, 20000, 1.0, GridRun{2000, 4999}},
      {50000, 20000, 0.5, GridRun{1000, 2499}},
      {50000, 0, 1.0, GridRun{2000, 39999}},  // bin 40000 is never compared
      {2000, 0, 1.0, std::nullopt},            // the grid shows 2500 at the least
      {2500, 0, 1.0, GridRun{40000, 39999}},
      {50000, 20000, 0.0, std::nullopt},
      {50000, 20000, -1.0, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.low << ".." << c.high << " scale " << c.xScale);
    expectRun(wavenumberBinRun({c.low, c.high}, c.xScale), c.expected);
  }
}

TEST(RangeRuns, MaximumStartsAtTheFirstPointAndNeverReadsPastTheBand) {
  const std::vector<double> band = {1.0, -5.0, 3.0, 2.0};
  EXPECT_EQ(runMaximum(band, 0, {0, 3}, false), 3.0);
  EXPECT_EQ(runMaximum(band, 0, {0, 3}, true), 5.0);
  EXPECT_EQ(runMaximum(band, 0, {1, 0}, false), -5.0);  // only the first point
  EXPECT_EQ(runMaximum(band, 0, {1, 100}, false), 3.0);
  EXPECT_EQ(runMaximum(band, 0, {4, 10}, false), std::nullopt);
  // A band that starts at grid point 1000.
  EXPECT_EQ(runMaximum(band, 1000, {1001, 1002}, true), 5.0);
  EXPECT_EQ(runMaximum(band, 1000, {999, 1003}, false), std::nullopt);
  EXPECT_EQ(runMaximum(band, 1000, {1003, 40000}, false), 2.0);
}

struct MeasuredCase {
  const char* name;
  RangeKind kind;
  UvEcdUnit unit;
  RangeWindow window;
  std::vector<double> x;
  std::vector<double> y;
  std::optional<double> expected;
};

TEST(MeasuredMaximum, WindowStartingCandidateAndComparedValue) {
  const auto nm = UvEcdUnit::Wavelength;
  const auto cm = UvEcdUnit::Wavenumber;
  const std::vector<MeasuredCase> cases = {
      {"ECD |y| inside", RangeKind::Ecd, nm, {200, 400}, {500, 300, 250, 150}, {0.1, 2.0, -3.0, 9.0}, 3.0},
      {"ECD point 1 outside but larger", RangeKind::Ecd, nm, {200, 400}, {500, 300}, {-8.0, 2.0}, 8.0},
      {"ECD nothing inside", RangeKind::Ecd, nm, {200, 400}, {500, 450, 100}, {-1.5, 7.0, 9.0}, 1.5},
      {"ECD bounds included", RangeKind::Ecd, nm, {200, 400}, {500, 400, 200}, {0.0, 4.0, 6.0}, 6.0},
      // 1e7 / 300 nm = 33333 cm^-1 lies inside 40000..25000, 1e7 / 500 = 20000 does not.
      {"ECD wavenumber unit", RangeKind::Ecd, cm, {40000, 25000}, {500, 300}, {0.0, -4.0}, 4.0},
      {"ECD wavenumber unit outside", RangeKind::Ecd, cm, {40000, 25000}, {500, 200}, {0.5, -4.0}, 0.5},
      {"UV signed", RangeKind::Uv, nm, {200, 400}, {500, 300, 250}, {9.0, -1.0, -3.0}, -1.0},
      {"UV starts at first x <= X2 even below X1", RangeKind::Uv, nm, {350, 450}, {500, 300}, {9.0, 2.0}, 2.0},
      {"UV starts at the last point when no x <= X2", RangeKind::Uv, nm, {100, 200}, {500, 400}, {9.0, 3.0}, 3.0},
      {"UV wavenumber start", RangeKind::Uv, cm, {40000, 25000}, {500, 300}, {9.0, -2.0}, -2.0},
      {"VCD |y|", RangeKind::Vcd, nm, {1000, 2000}, {2500, 1500, 1200}, {0.5, -6.0, 2.0}, 6.0},
      {"VCD nothing inside", RangeKind::Vcd, nm, {1000, 2000}, {2500, 900}, {-0.5, 6.0}, 0.5},
      {"IR signed", RangeKind::Ir, nm, {1000, 2000}, {2500, 1500}, {-9.0, -6.0}, -6.0},
      {"no points", RangeKind::Ir, nm, {1000, 2000}, {}, {}, std::nullopt},
  };
  for (const MeasuredCase& c : cases) {
    EXPECT_EQ(measuredMaximum(c.kind, c.unit, c.window, c.x, c.y, static_cast<int>(c.x.size())), c.expected)
        << c.name;
  }
}

TEST(MeasuredMaximum, ReadsOnlyUpToTheCountAndTheSpans) {
  const std::vector<double> x = {1500, 1400, 1300};
  const std::vector<double> y = {1.0, 2.0, 30.0};
  EXPECT_EQ(measuredMaximum(RangeKind::Ir, UvEcdUnit::Wavelength, {1000, 2000}, x, y, 2), 2.0);
  EXPECT_EQ(measuredMaximum(RangeKind::Ir, UvEcdUnit::Wavelength, {1000, 2000}, x, y, 10000), 30.0);
  EXPECT_EQ(measuredMaximum(RangeKind::Ir, UvEcdUnit::Wavelength, {1000, 2000}, x, y, -1), std::nullopt);
}

TEST(ScaleFactors, LargestMaximumOverEachSlotsOwnWithGuards) {
  SlotScales scales;
  scales.maximum = {2.0, 4.0, 0.0, 0.0, 0.0};
  scales.factor = {1.0, 1.0, 7.0, 1.0, 1.0};
  EXPECT_EQ(updateScaleFactors(RangeKind::Ecd, scales), 1);
  EXPECT_EQ(scales.factor, (std::array<double, 5>{2.0, 1.0, 7.0, 1.0, 1.0}));

  scales.maximum = {3.0, 3.0, 0.0, 0.0, 0.0};
  EXPECT_EQ(updateScaleFactors(RangeKind::Vcd, scales), 0);  // ties go to the lower slot
  EXPECT_EQ(scales.factor[0], 1.0);
  EXPECT_EQ(scales.factor[1], 1.0);

  // A negative UV maximum keeps its factor; a negative IR maximum gets a
  // negative one.
  scales.maximum = {-2.0, 4.0, 0.0, 0.0, 0.0};
  scales.factor = {5.0, 1.0, 1.0, 1.0, 1.0};
  updateScaleFactors(RangeKind::Uv, scales);
  EXPECT_EQ(scales.factor[0], 5.0);
  updateScaleFactors(RangeKind::Ir, scales);
  EXPECT_EQ(scales.factor[0], -2.0);
}

// Computed ECD bands on the wavelength grid with one marked bin each.
struct EcdSlots {
  std::array<std::vector<double>, CURVE_SLOTS> bands;
  std::array<RangeSlot, CURVE_SLOTS> slots;

  EcdSlots() {
    for (int s = 0; s < CURVE_SLOTS; ++s) {
      bands[s].assign(WAVELENGTH_GRID_SIZE, 0.0);
      slots[s].band = bands[s];
      slots[s].state = SlotState::Other;
    }
  }
  void compute(int slot, int bin, double value, int shift = 0) {
    bands[slot - 1][bin - 1000] = value;
    slots[slot - 1].state = SlotState::Calc;
    slots[slot - 1].shift = shift;
  }
};

SlotScales afterReset() {
  SlotScales scales;
  scales.factor.fill(1.0);
  return scales;
}

TEST(DetermineRange, ComputedEcdSlotsInAShiftedWindow) {
  EcdSlots ecd;
  ecd.compute(1, 3000, -2.0);      // |EPS| counts
  ecd.compute(2, 3200, 4.0, 20);   // 320 nm shown at 340 nm
  ecd.compute(3, 8000, 50.0, 20);  // shown at 820 nm, outside 150..600
  SlotScales scales = afterReset();
  determineRange(RangeKind::Ecd, UvEcdUnit::Wavelength, {150, 600}, ecd.slots, scales);
  EXPECT_EQ(scales.maximum, (std::array<double, 5>{2.0, 4.0, 0.0, 0.0, 0.0}));
  EXPECT_EQ(scales.factor, (std::array<double, 5>{2.0, 1.0, 1.0, 1.0, 1.0}));
}

TEST(DetermineRange, NothingIsMeasuredUnlessSlotOneHoldsACurve) {
  EcdSlots ecd;
  ecd.compute(2, 3000, 4.0);
  ecd.slots[0].state = SlotState::Other;
  SlotScales scales = afterReset();
  determineRange(RangeKind::Ecd, UvEcdUnit::Wavelength, {150, 600}, ecd.slots, scales);
  EXPECT_EQ(scales.maximum, (std::array<double, 5>{}));
  EXPECT_EQ(scales.factor, (std::array<double, 5>{1.0, 1.0, 1.0, 1.0, 1.0}));

  // Slots in another state keep the maximum they had, and it still counts.
  ecd.compute(1, 3000, 1.0);
  ecd.slots[1].state = SlotState::Other;
  scales.maximum[1] = 3.0;
  determineRange(RangeKind::Ecd, UvEcdUnit::Wavelength, {150, 600}, ecd.slots, scales);
  EXPECT_EQ(scales.maximum[1], 3.0);
  EXPECT_EQ(scales.factor[0], 3.0);
}

TEST(DetermineRange, WindowPastTheGridLeavesTheSlotsFactor) {
  EcdSlots ecd;
  ecd.compute(1, 3000, 2.0);
  ecd.compute(2, 40000, 4.0);
  SlotScales scales = afterReset();
  scales.maximum[0] = 6.0;
  scales.factor[0] = 0.5;
  determineRange(RangeKind::Ecd, UvEcdUnit::Wavelength, {4500, 5000}, ecd.slots, scales);
  EXPECT_EQ(scales.maximum[0], 0.0);
  EXPECT_EQ(scales.factor[0], 0.5);
  EXPECT_EQ(scales.maximum[1], 0.0);

  // In the wavenumber unit: a window below the smallest wavenumber of the grid.
  ecd.slots[0].xScale = ecd.slots[1].xScale = 1.0;
  determineRange(RangeKind::Ecd, UvEcdUnit::Wavenumber, {2000, 1000}, ecd.slots, scales);
  EXPECT_EQ(scales.maximum[0], 0.0);
  EXPECT_EQ(scales.factor[0], 0.5);
}

TEST(DetermineRange, ComputedVcdAndIrWithScaleFactors) {
  std::array<std::vector<double>, CURVE_SLOTS> bands;
  std::array<RangeSlot, CURVE_SLOTS> slots;
  for (int s = 0; s < CURVE_SLOTS; ++s) {
    bands[s].assign(WAVENUMBER_GRID_SIZE, 0.0);
    slots[s].band = bands[s];
    slots[s].state = SlotState::Calc;
  }
  // Indices 515 and 2062 are the ends for 500..2000 at 0.97; 514 and 2063 lie outside.
  bands[0][514] = -9.0;
  bands[0][515] = -1.0;
  bands[0][2062] = 0.5;
  bands[0][2063] = 9.0;
  slots[0].xScale = 0.97;
  bands[1][1000] = 2.0;
  slots[1].xScale = 0.0;  // no curve: the factor stays
  bands[2][1000] = 2.0;
  slots[2].xScale = -1.0;
  bands[3][3000] = 4.0;
  slots[3].xScale = 1.0;
  slots[4].state = SlotState::Other;

  SlotScales vcd = afterReset();
  vcd.factor[1] = vcd.factor[2] = 3.0;
  determineRange(RangeKind::Vcd, UvEcdUnit::Wavelength, {500, 2000}, slots, vcd);
  EXPECT_EQ(vcd.maximum, (std::array<double, 5>{1.0, 0.0, 0.0, 0.0, 0.0}));
  EXPECT_EQ(vcd.factor, (std::array<double, 5>{1.0, 3.0, 3.0, 1.0, 1.0}));

  SlotScales ir = afterReset();
  determineRange(RangeKind::Ir, UvEcdUnit::Wavelength, {500, 5000}, slots, ir);
  EXPECT_EQ(ir.maximum[0], 9.0);
  EXPECT_EQ(ir.maximum[3], 4.0);
  EXPECT_EQ(ir.factor[3], 9.0 / 4.0);
}

TEST(DetermineRange, MeasuredSlotsBesideComputedOnes) {
  EcdSlots uv;
  uv.compute(1, 3000, 10.0);
  const std::vector<double> x = {500, 300, 250};
  const std::vector<double> y = {20.0, -1.0, -3.0};
  uv.slots[1].state = SlotState::Exp;
  uv.slots[1].measuredX = x;
  uv.slots[1].measuredY = y;
  uv.slots[1].measuredCount = 3;
  uv.slots[2].state = SlotState::Exp;  // no points
  SlotScales scales = afterReset();
  scales.maximum[2] = 4.0;
  scales.factor[1] = scales.factor[2] = 0.25;
  determineRange(RangeKind::Uv, UvEcdUnit::Wavelength, {200, 400}, uv.slots, scales);
  EXPECT_EQ(scales.maximum, (std::array<double, 5>{10.0, -1.0, 0.0, 0.0, 0.0}));
  EXPECT_EQ(scales.factor, (std::array<double, 5>{1.0, 0.25, 0.25, 1.0, 1.0}));
}

TEST(SlotStates, OnlyCalcAndExpHoldACurve) {
  EXPECT_EQ(slotStateOf("calc"), SlotState::Calc);
  EXPECT_EQ(slotStateOf("exp"), SlotState::Exp);
  for (const char* other : {"false", "", "Calc", "exp "}) EXPECT_EQ(slotStateOf(other), SlotState::Other) << other;
}

struct Trace {
  std::vector<double> times;
  std::vector<double> signals;
};

HplcTrace traceOf(const Trace& t, bool uv, bool cd) {
  return {uv, cd, t.times, t.signals, static_cast<int>(t.times.size())};
}

TEST(DetermineHplcRange, EverySlotWithAChromatogramIsMeasuredByItsOwnDetector) {
  const Trace a{{0.5, 1.0, 2.0, 3.0, 4.0}, {100.0, 5.0, -2.0, 8.0, 50.0}};
  const Trace b{{1.5, 2.5}, {-4.0, 2.0}};
  const Trace flat{{1.0, 2.0}, {0.0, 0.0}};
  std::array<HplcTrace, CURVE_SLOTS> traces = {traceOf(a, true, false), traceOf(b, true, false),
                                               traceOf(flat, false, true), traceOf(flat, true, false), HplcTrace{}};
  HplcScales scales;
  scales.factor.fill(9.0);
  scales.maximum[4] = 7.0;
  determineHplcRange(1.0, 3.0, traces, scales);
  // Every flagged slot is measured; UV traces have their minimum raised to 0.
  EXPECT_EQ(scales.maximum[0], 8.0);
  EXPECT_EQ(scales.minimum[0], 0.0);  // -2 raised to 0 for UV
  EXPECT_EQ(scales.maximum[1], 2.0);
  EXPECT_EQ(scales.minimum[1], 0.0);
  EXPECT_EQ(scales.factor[0], 1.0);
  EXPECT_EQ(scales.factor[1], 4.0);
  EXPECT_EQ(scales.factor[2], 9.0);  // maximum 0 keeps the factor
  EXPECT_EQ(scales.factor[3], 9.0);  // maximum 0 keeps the factor
  EXPECT_EQ(scales.maximum[4], 7.0);  // no chromatogram: untouched

  // A CD trace beside a UV slot 1 is measured by the CD rule.
  traces = {traceOf(a, true, false), traceOf(b, false, true), HplcTrace{}, HplcTrace{}, HplcTrace{}};
  determineHplcRange(1.0, 3.0, traces, scales);
  EXPECT_EQ(scales.minimum[0], 0.0);
  EXPECT_EQ(scales.minimum[1], -4.0);
  EXPECT_EQ(scales.maximum[1], 2.0);
  EXPECT_EQ(scales.factor[1], 4.0);

  // CD traces keep negative minima; the first point from X1 on starts the
  // candidates even when it lies past X2.
  traces = {traceOf(b, false, true), traceOf(a, false, true), HplcTrace{}, HplcTrace{}, HplcTrace{}};
  determineHplcRange(1.0, 2.0, traces, scales);
  EXPECT_EQ(scales.minimum[0], -4.0);
  EXPECT_EQ(scales.maximum[0], -4.0);
  EXPECT_EQ(scales.minimum[1], -2.0);
  determineHplcRange(1.6, 2.0, traces, scales);
  EXPECT_EQ(scales.maximum[0], 2.0);  // point at 2.5 min starts, nothing inside
}

TEST(DetermineHplcRange, SlotOneWithoutFlagChangesNothing) {
  const Trace a{{1.0}, {3.0}};
  std::array<HplcTrace, CURVE_SLOTS> traces = {traceOf(a, false, false), traceOf(a, true, false), HplcTrace{},
                                               HplcTrace{}, HplcTrace{}};
  HplcScales scales;
  scales.maximum.fill(1.5);
  determineHplcRange(0.0, 10.0, traces, scales);
  EXPECT_EQ(scales.maximum, (std::array<double, 5>{1.5, 1.5, 1.5, 1.5, 1.5}));
}

}  // namespace
