// The UV/ECD page: panels, labels, curve positions and colours after a redraw,
// in both x units, and the redraw's own check.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/numbers.h"
#include "platform/testing/session.h"
#include "settings/settings.h"
#include "tests/plot_test_support.h"

namespace {

const TextLogEntry* findText(const Image& image, const std::string& text) {
  const auto& log = image.Picture().Canvas().TextLog();
  const auto found = std::find_if(log.begin(), log.end(), [&](const TextLogEntry& e) { return e.text == text; });
  return found == log.end() ? nullptr : &*found;
}

// Some entry of the log writes the text at (x, y).
void expectTextAt(const Image& image, const std::string& text, int x, int y) {
  EXPECT_TRUE(hasText(image, text, x, y)) << "no text \"" << text << "\" at (" << x << ", " << y << ")";
}

// The colours the picture holds in a column, from top to bottom.
bool columnHolds(const Image& image, int x, int yFrom, int yTo, TColor colour) {
  for (int y = yFrom; y <= yTo; ++y)
    if (image.Picture().Pixel(x, y) == colour) return true;
  return false;
}

class UvEcdPlot : public ::testing::Test {
 protected:
  Session ui;
  Store& store() { return ui.store(); }
  Image& image() { return *Form1->Image1; }

  void SetUp() override { ASSERT_TRUE(ui.menu(Form1->New1)); }

  // One ECD line R and one UV line f at a wavelength, broadened with the reset width.
  void computedSlot(int slot, int bin, double rotatory, double oscillator) {
    store().ROTS(bin, slot) = rotatory;
    store().OSC(bin, slot) = oscillator;
    store().CDACTIVE[slot] = "calc";
    store().UVACTIVE[slot] = "calc";
    store().CDTITLE[slot] = "ecd" + std::to_string(slot);
    store().UVTITLE[slot] = "uv" + std::to_string(slot);
    ui.act([slot] {
      Form1->CalculateGaussCD(slot);
      Form1->CalculateGaussUV(slot);
    });
  }
  // A measured slot: points with the wavelength falling, a Gaussian-like peak.
  void measuredSlot(int slot, bool ecd, const std::vector<std::pair<double, double>>& points) {
    Store& s = store();
    auto& xs = ecd ? s.EXPCDX : s.EXPUVX;
    auto& ys = ecd ? s.EXPCDY : s.EXPUVY;
    for (size_t i = 0; i < points.size(); ++i) {
      xs(static_cast<long>(i) + 1, slot) = points[i].first;
      ys(static_cast<long>(i) + 1, slot) = points[i].second;
    }
    (ecd ? s.CDDATAPTS : s.UVDATAPTS)[slot] = static_cast<int>(points.size());
    (ecd ? s.CDACTIVE : s.UVACTIVE)[slot] = "exp";
    (ecd ? s.CDTITLE : s.UVTITLE)[slot] = "measured" + std::to_string(slot);
  }
  void redraw() {
    ui.act([] { Form1->RedrawUVCD(); });
  }
  void useWavenumbers() {
    ui.act([] { Form2->RadioButton6->SetChecked(true); });
  }
};

TEST_F(UvEcdPlot, GeometryProbeOfOneComputedSlot) {
  computedSlot(1, 2500, 10, 1);
  redraw();
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_EQ(Form1->Edit7->Text(), "8.38");
  EXPECT_EQ(Form1->Edit6->Text(), "-8.38");
  EXPECT_EQ(Form1->Edit14->Text(), "0");
  EXPECT_EQ(image().Picture().Pixel(150, 378), clRed);
  EXPECT_EQ(image().Picture().Pixel(150, 78), clRed);
  EXPECT_EQ(topmost(image(), 150, 361, 759, clRed), 378);
  EXPECT_EQ(topmost(image(), 150, 61, 309, clRed), 78);

  const TextLogEntry* title = findText(image(), "De");
  ASSERT_NE(title, nullptr);
  EXPECT_EQ(title->x, 2);
  EXPECT_EQ(title->y, 412);
  EXPECT_EQ(title->fontName, "Symbol");
  EXPECT_EQ(title->fontSize, 12);
  // Only slot 1: absolute labels of 1.1 x its maximum, in the size-8 default font after the title.
  expectTextAt(image(), "8", 20, 353);
  expectTextAt(image(), "-8", 20, 753);
  EXPECT_EQ(findText(image(), "8")->fontName, "default");
  expectTextAt(image(), "Absorption", 1, 12);
  expectTextAt(image(), "Wavelength in nm", 460, 780);
  expectTextAt(image(), "sigma: 0.16 eV", 553, 574);
  expectTextAt(image(), "sigma: 0.16 eV", 553, 174);
  expectTextAt(image(), "ecd1", 553, 494);
  const std::vector<std::string> lowerLabels = {"150", "195", "240", "285", "330", "375",
                                                "420", "465", "510", "555", "600"};
  EXPECT_EQ(textsAtRow(image(), 767), lowerLabels);
  EXPECT_EQ(textsAtRow(image(), 317), lowerLabels);
  expectTextAt(image(), "600", 492, 767);
  // Legend line of slot 1 in red.
  EXPECT_EQ(image().Picture().Pixel(540, 500), clRed);
  EXPECT_EQ(Form1->Memo1->Lines(),
            (std::vector<std::string>{"Scaling factors (UV):", "Curve 1: 1.00000", "Scaling factors (ECD):",
                                      "Curve 1: 1.00000"}));
}

TEST_F(UvEcdPlot, TickLabelsOfTheTwoPanelsDifferWhereAHalfIsRounded) {
  computedSlot(1, 2500, 10, 1);
  // k = 1 of the window 151 to 606: ECD nint(196.5) = 196, UV 151 + nint(45.5) = 197.
  ui.act([] {
    Form1->Edit4->SetText("151");
    Form1->Edit5->SetText("606");
  });
  redraw();
  EXPECT_EQ(textsAtRow(image(), 767)[1], "196");
  EXPECT_EQ(textsAtRow(image(), 317)[1], "197");
}

TEST_F(UvEcdPlot, ShiftsMoveComputedCurvesButNeverMeasuredOnes) {
  struct Case {
    const char* x1;
    const char* shift;
    int expectedX;  // where the ECD band of 250 nm lands
  };
  const Case cases[] = {
      {"150", "0", 150},
      {"150", "20", 170},  // the run starts at bin 1300, drawn at x = 50
      {"90", "0", 50 + 142},  // start raised to 100 nm: 50 + nint(10 / 1.1333) + nint(150 / 1.1333)
  };
  computedSlot(1, 2500, 10, 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.x1) + " shift " + c.shift);
    ui.act([&] {
      Form1->Edit4->SetText(c.x1);
      Form1->Edit2->SetText(c.shift);
    });
    redraw();
    EXPECT_EQ(topmost(image(), c.expectedX, 361, 559, clRed), 378);
  }
  // Range 90 to 600: the computed curves start at x = 59, nothing left of it.
  for (int x = 51; x < 59; ++x) EXPECT_FALSE(columnHolds(image(), x, 361, 759, clRed)) << x;
  EXPECT_TRUE(columnHolds(image(), 59, 361, 759, clRed));
}

TEST_F(UvEcdPlot, MeasuredCurveStaysWhereItsWavelengthsAre) {
  measuredSlot(1, /*ecd*/ true, {{400, 1}, {300, 10}, {250, 20}, {200, 10}, {160, 1}});
  ui.act([] { Form1->Edit2->SetText("20"); });
  redraw();
  // Full scale 22: the peak of 20 lands at 560 - nint(200 / 22 x 20) = 378 at x = 150.
  EXPECT_EQ(Form1->Edit7->Text(), "22.00");
  EXPECT_EQ(topmost(image(), 150, 361, 559, clRed), 378);
  EXPECT_EQ(image().Picture().Pixel(150, 378), clRed);
  // Measured slot 1: no band-width label, no mirror legend.
  EXPECT_EQ(findText(image(), "sigma: 0.16 eV"), nullptr);
  EXPECT_EQ(findText(image(), "mirrored spectrum"), nullptr);
  // The points 160 to 400 nm: the curve spans x = 60 to 300.
  EXPECT_TRUE(columnHolds(image(), 61, 361, 559, clRed));
  EXPECT_FALSE(columnHolds(image(), 305, 361, 559, clRed));
}

TEST_F(UvEcdPlot, WavenumberUnitPlacesBinsAndPointsByWavenumber) {
  useWavenumbers();
  ASSERT_EQ(Form1->Edit35->Text(), "50000");
  // ECD line at 250 nm (40000 1/cm): x = 50 + nint(10000 x 450 / 35000) = 179;
  // a negative one at 100 nm, outside the window, under grid bin 1000.
  store().ROTS(1000, 1) = -10;
  computedSlot(1, 2500, 10, 1);
  // Measured UV slot 2 with a point at 400 nm: x = 371.
  measuredSlot(2, /*ecd*/ false, {{500, 0.5}, {400, 1.0}, {300, 0.5}});
  redraw();
  EXPECT_TRUE(ui.boxes().empty());
  expectTextAt(image(), "Wavenumber in 1/cm", 460, 780);
  EXPECT_EQ(textsAtRow(image(), 767).front(), "50000");
  EXPECT_EQ(textsAtRow(image(), 767).back(), "15000");
  EXPECT_EQ(textsAtRow(image(), 767)[1], "46500");
  EXPECT_EQ(topmost(image(), 179, 361, 559, clRed), 378);
  // The measured point of slot 2 (black) at its own maximum: 260 - 182 = 78.
  EXPECT_EQ(topmost(image(), 371, 61, 259, clBlack), 78);
  // The lead-in line starts on the left axis at the height of grid bin 1000,
  // far below the zero line, and climbs to the first bin of the window.
  EXPECT_EQ(image().Picture().Pixel(50, 600), clRed);
  // Auto scaling with UV slot 2 used: percent labels in the UV panel only.
  expectTextAt(image(), "rel. Abs.", 1, 12);
  expectTextAt(image(), "  in %", 1, 28);
  const auto& log = image().Picture().Canvas().TextLog();
  EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const TextLogEntry& e) { return e.text == "  in %"; }), 1);
}

TEST_F(UvEcdPlot, ComparisonSlotsTakeTheirColoursAndLegendRows) {
  computedSlot(1, 2500, 10, 1);
  for (int slot = 2; slot <= 5; ++slot) computedSlot(slot, 2000 + 500 * slot, 10, 1);
  redraw();
  struct Case {
    int slot;
    TColor ecd;
    TColor uv;
  };
  const Case cases[] = {{2, clBlack, clBlack}, {3, clGreen, clGreen}, {4, clSkyBlue, clAqua}, {5, clPurple, clFuchsia}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.slot);
    EXPECT_EQ(image().Picture().Pixel(540, 576 + 14 * c.slot), c.ecd);
    EXPECT_EQ(image().Picture().Pixel(540, 170 + 14 * c.slot), c.uv);
    const TextLogEntry* ecdTitle = findText(image(), "ecd" + std::to_string(c.slot));
    ASSERT_NE(ecdTitle, nullptr);
    EXPECT_EQ(ecdTitle->y, 570 + 14 * c.slot);
    EXPECT_EQ(ecdTitle->fontColor, c.ecd);
    // Each band at its own maximum while auto scaling is ticked.
    const int x = 50 + (2000 + 500 * c.slot) / 10 - 150;
    EXPECT_EQ(topmost(image(), x, 361, 559, c.ecd), 378);
    EXPECT_EQ(topmost(image(), x, 61, 259, c.uv), 78);
  }
  expectTextAt(image(), "100", 20, 353);
  expectTextAt(image(), "  in %", 2, 428);
  EXPECT_EQ(Form1->Memo1->Count(), 12);
  EXPECT_EQ(Form1->Memo1->Lines()[5], "Curve 5: 1.00000");
}

TEST_F(UvEcdPlot, MeasuredComparisonSlotsUseTheMeasuredColours) {
  computedSlot(1, 2500, 10, 1);
  const std::vector<std::pair<double, double>> peak = {{400, 1}, {350, 5}, {300, 1}};
  for (int slot = 2; slot <= 5; ++slot) {
    measuredSlot(slot, true, peak);
    measuredSlot(slot, false, peak);
  }
  redraw();
  const TColor expected[] = {clBlack, clGreen, clSkyBlue, clPurple};
  for (int slot = 2; slot <= 5; ++slot) {
    SCOPED_TRACE(slot);
    EXPECT_EQ(image().Picture().Pixel(540, 576 + 14 * slot), expected[slot - 2]);
    EXPECT_EQ(image().Picture().Pixel(540, 170 + 14 * slot), expected[slot - 2]);
  }
}

TEST_F(UvEcdPlot, MirroredEcdWithBarsAndItsLegend) {
  computedSlot(1, 2500, 10, 1);
  ui.act([] {
    Form1->CheckBox3->SetChecked(false);  // no normal ECD
    Form1->CheckBox2->SetChecked(true);
    Form1->CheckBox1->SetChecked(true);  // bars
  });
  redraw();
  EXPECT_FALSE(columnHolds(image(), 150, 361, 759, clRed));
  // Mirror: 560 + 182; the blue bar runs from 560 down to 560 + nint(200 / 1.1) = 742.
  EXPECT_EQ(image().Picture().Pixel(150, 742), clBlue);
  EXPECT_FALSE(columnHolds(image(), 150, 361, 559, clBlack));
  EXPECT_EQ(image().Picture().Pixel(540, 520), clBlue);
  expectTextAt(image(), "mirrored spectrum", 553, 514);
  // UV bars in black from the zero line up to 260 - 182.
  EXPECT_EQ(image().Picture().Pixel(150, 200), clBlack);
  ui.act([] { Form1->CheckBox3->SetChecked(true); });
  redraw();
  // Normal ECD back: the black bar above the zero line.
  EXPECT_EQ(image().Picture().Pixel(150, 450), clBlack);
}

TEST_F(UvEcdPlot, UnscaledCurvesShareTheScaleOfTheHighestAndDrawNoBars) {
  computedSlot(1, 2500, 10, 1);
  computedSlot(2, 3500, 5, 0.5);
  ui.act([] {
    Form1->CheckBox1->SetChecked(true);
    Form1->CheckBox8->SetChecked(false);
  });
  redraw();
  EXPECT_EQ(Form1->Memo1->Lines(), (std::vector<std::string>{"Scaling factors (UV):", "Scaling factors (ECD):"}));
  EXPECT_EQ(topmost(image(), 150, 361, 559, clRed), 378);
  // Slot 2 on the scale of slot 1, the higher curve.
  const int expected = 560 - static_cast<int>(std::lround(200 / (1.1 * store().CDMAX[1]) * store().CDMAX[2]));
  EXPECT_LT(store().CDMAX[2], store().CDMAX[1] / 2);
  EXPECT_EQ(topmost(image(), 250, 361, 559, clBlack), expected);
  // No bars: above the zero line at x = 150 nothing but the red curve.
  EXPECT_FALSE(columnHolds(image(), 150, 400, 555, clBlack));
}

TEST_F(UvEcdPlot, FailedCheckLeavesAnEmptyFramedPlot) {
  computedSlot(1, 2500, 10, 1);
  redraw();
  ASSERT_EQ(Form1->Edit7->Text(), "8.38");
  struct Case {
    Edit* TForm1::*edit;
    const char* text;
  };
  const Case cases[] = {{&TForm1::Edit4, "abc"}, {&TForm1::Edit5, "6.5"}, {&TForm1::Edit2, "1.5"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    ui.act([&] { (Form1->*c.edit)->SetText(c.text); });
    store().CDMAX[1] = 99;
    redraw();
    EXPECT_TRUE(ui.boxes().empty());
    EXPECT_TRUE(Form1->Memo1->Lines().empty());
    EXPECT_TRUE(image().Picture().Canvas().TextLog().empty());
    EXPECT_FALSE(pictureHolds(image(), clRed));
    EXPECT_EQ(image().Picture().Pixel(0, 0), clBlack);
    EXPECT_EQ(image().Picture().Pixel(672, 799), clBlack);
    EXPECT_EQ(store().CDMAX[1], 99);
    EXPECT_EQ(Form1->Edit7->Text(), "8.38");
    ui.act([&] {
      Form1->Edit4->SetText("150");
      Form1->Edit5->SetText("600");
      Form1->Edit2->SetText("0");
    });
  }
}

TEST_F(UvEcdPlot, DegenerateWindowsAndScalesDrawFramesWithoutCurves) {
  // A header-only cd.bil: computed slot 1 without lines.
  store().CDACTIVE[1] = "calc";
  ui.act([] { Form1->CalculateGaussCD(1); });
  redraw();
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_NE(findText(image(), "De"), nullptr);
  EXPECT_EQ(image().Picture().Pixel(50, 700), clBlack);  // the y axis
  EXPECT_FALSE(pictureHolds(image(), clBlue));

  computedSlot(1, 2500, 10, 1);
  // A window of no width: frame and labels, no curve.
  ui.act([] { Form1->Edit5->SetText("150"); });
  redraw();
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_NE(findText(image(), "De"), nullptr);
  EXPECT_EQ(image().Picture().Pixel(540, 500), clRed);  // legend only
  EXPECT_FALSE(columnHolds(image(), 150, 361, 559, clRed));
  // A reversed window: an empty framed plot.
  ui.act([] { Form1->Edit5->SetText("100"); });
  redraw();
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_TRUE(image().Picture().Canvas().TextLog().empty());
  // In the wavenumber unit, a window of no width.
  useWavenumbers();
  ui.act([] { Form1->Edit36->SetText("50000"); });
  redraw();
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_NE(findText(image(), "Wavenumber in 1/cm"), nullptr);
}

TEST_F(UvEcdPlot, HeaderOnlyBilFileDrawsAFramedPlotWithAxes) {
  ui.willChooseFile(fixture("bil/header-only.cd.bil"));
  ASSERT_TRUE(ui.menu(Form1->Open1));
  ASSERT_EQ(store().CDACTIVE[1], "calc");
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_EQ(Form1->Edit7->Text(), "0.00");
  EXPECT_NE(findText(image(), "De"), nullptr);
  expectTextAt(image(), "Wavelength in nm", 460, 780);
  EXPECT_EQ(image().Picture().Pixel(300, 760), clBlack);  // x axis
  EXPECT_EQ(image().Picture().Pixel(50, 400), clBlack);   // y axis
  EXPECT_EQ(image().Picture().Pixel(540, 500), clRed);    // legend only, no curve
  EXPECT_EQ(image().Picture().Pixel(300, 559), clWhite);
}

TEST_F(UvEcdPlot, OnlyEcdSlotsLeaveTheUvPanelWhite) {
  store().ROTS(2500, 1) = 10;
  store().CDACTIVE[1] = "calc";
  ui.act([] { Form1->CalculateGaussCD(1); });
  redraw();
  EXPECT_EQ(Form1->Memo1->Lines(), (std::vector<std::string>{"Scaling factors (ECD):", "Curve 1: 1.00000"}));
  for (int y = 1; y < 340; ++y) ASSERT_EQ(image().Picture().Pixel(300, y), clWhite) << y;
}

}  // namespace

namespace {

// The text the log holds at (x, y), or "" when none.
std::string textAt(const Image& image, int x, int y) {
  for (const TextLogEntry& e : image.Picture().Canvas().TextLog())
    if (e.x == x && e.y == y) return e.text;
  return std::string();
}

}  // namespace

// The absolute y labels of both panels tell the values at their ticks, at
// the small maxima of real outputs (an ORCA ECD of 1E-4, an sTDA table of
// 0.016) as at large ones: in a few decimals, or as mantissas beside a power
// of ten under the axis title. A scale whose whole-number labels already
// tell their values keeps them.
TEST_F(UvEcdPlot, AbsoluteLabelsTellTheirValuesAtEveryMagnitude) {
  // A rotatory strength of 10 and an oscillator strength of 1 at 250 nm
  // give full scales of 8.38 and 111319.
  struct Case {
    double fullScale;     // of both panels
    const char* top;      // the label of their top ticks, nullptr: judged by value alone
    const char* exponent;  // the power beside the titles, "" for none
  };
  const std::vector<Case> cases = {
      {8.38, "8", ""},  // whole numbers that tell their values stay
      {0.016 * 1.1, "0.018", ""},
      {1e-4 * 1.1, "1.10", "4"},
      {1.2e5, nullptr, ""},  // whole numbers, near 120000
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.fullScale);
    computedSlot(1, 2500, 10 * k.fullScale / 8.38, k.fullScale / 111319);
    redraw();
    if (k.top != nullptr) {
      EXPECT_EQ(textAt(image(), 20, 353), k.top);
      EXPECT_EQ(textAt(image(), 20, 53), k.top);
    }
    EXPECT_EQ(textAt(image(), 28, 423), k.exponent);
    EXPECT_EQ(textAt(image(), 27, 23), k.exponent);
    // Every label, read with the power under the title, tells its tick's value.
    const double power = std::pow(10.0, -std::atof(k.exponent));
    const double ticks[] = {1, 0.5, 0, -0.5, -1};
    for (int i = 0; i < 5; ++i) {
      for (int top : {353, 53}) {
        if (top == 53 && i > 2) continue;  // the UV panel has no negative ticks
        const std::string label = textAt(image(), 20, top + 100 * i);
        SCOPED_TRACE(label);
        ASSERT_FALSE(label.empty());
        EXPECT_NEAR(StrToFloat(label) * power, ticks[i] * k.fullScale, 0.05 * k.fullScale);
      }
    }
  }
}
