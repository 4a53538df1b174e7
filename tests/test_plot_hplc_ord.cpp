// The HPLC and ORD pages: tick labels and titles, trace heights and scales,
// ORD markers, the mirror, the second y axis, the shift and the point order.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/testing/session.h"
#include "settings/settings.h"
#include "tests/plot_test_support.h"

namespace {

class PagePlots : public ::testing::Test {
 protected:
  Session ui;
  Store& store() { return ui.store(); }
  void SetUp() override { ASSERT_TRUE(ui.menu(Form1->New1)); }

  // A chromatogram from 0 to 30 minutes, one point a minute, with a peak of
  // 100 at 15 minutes.
  void chromatogram(int slot, bool uvDetector) {
    for (int k = 1; k <= 31; ++k) {
      store().HPLCX(k, slot) = k - 1;
      store().HPLCY(k, slot) = k == 16 ? 100 : 0;
    }
    store().HPLCDATAPTS[slot] = 31;
    (uvDetector ? store().HPLC_UV : store().HPLC_CD)[slot] = true;
    store().HPLCTITLE[slot] = "trace" + std::to_string(slot);
  }
  void ordPoints(bool computed, int slot, const std::vector<std::pair<double, double>>& points) {
    for (size_t i = 0; i < points.size(); ++i) {
      const long k = static_cast<long>(i) + 1;
      (computed ? store().ORDCALCX(k, slot) : store().EXPORDX(k, slot)) = points[i].first;
      (computed ? store().ORDCALCY(k, slot) : store().EXPORDY(k, slot)) = points[i].second;
    }
    store().ORDDATAPTS[slot] = static_cast<int>(points.size());
    store().ORDACTIVE[slot] = computed ? "calc" : "exp";
    store().ORDTITLE[slot] = "ord" + std::to_string(slot);
  }
  Image& hplc() { return *Form1->Image3; }
  Image& ord() { return *Form1->Image4; }
};

TEST_F(PagePlots, HplcTicksTitlesAndTraceHeight) {
  chromatogram(1, true);
  chromatogram(2, true);
  ui.act([] {
    Form1->DetermineHPLCRange();
    Form1->DrawHPLC();
    Form1->AddHPLC(2);
  });
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_EQ(textsAtRow(hplc(), 467),
            (std::vector<std::string>{"0", "3", "5", "8", "11", "14", "16", "19", "22", "25", "27", "30"}));
  EXPECT_TRUE(hasText(hplc(), "30", 592, 467));
  EXPECT_TRUE(hasText(hplc(), "RT in min", 600, 480));
  EXPECT_TRUE(hasText(hplc(), "rel. Int.", 1, 12));
  EXPECT_TRUE(hasText(hplc(), "  in %", 1, 28));
  EXPECT_TRUE(hasText(hplc(), "trace1", 378, 20));
  EXPECT_TRUE(hasText(hplc(), "trace2", 378, 34));
  EXPECT_EQ(Form1->Edit18->Text(), "0.00");
  EXPECT_EQ(Form1->Edit19->Text(), "100.00");
  // The peak of 100 at 15 min: x = 50 + nint(15 / (30 / 550)) = 325, y = 450 - nint(390 / 110 x 100) = 95;
  // slot 2 in red drawn over slot 1.
  EXPECT_EQ(topmost(hplc(), 325, 60, 449, clRed), 95);
  EXPECT_EQ(topmost(hplc(), 325, 60, 449, clBlack), -1);
}

TEST_F(PagePlots, HplcShortWindowUnscaledTracesAndSideBySideDetectors) {
  chromatogram(1, true);
  ui.act([] {
    Form1->Edit1->SetText("2");
    Form1->Edit10->SetText("10");
    Form1->DetermineHPLCRange();
    Form1->DrawHPLC();
  });
  EXPECT_EQ(textsAtRow(hplc(), 467), (std::vector<std::string>{"2", "10"}));
  EXPECT_TRUE(hasText(hplc(), "10", 592, 467));

  // Auto scaling unticked with a factor of 2: half the height, the edits doubled.
  ui.act([] {
    Form1->Edit1->SetText("0");
    Form1->Edit10->SetText("30");
    Form1->CheckBox4->SetChecked(false);
  });
  store().HPLCMIN[1] = 0;
  store().HPLCMAX[1] = 100;
  store().HPLCFACTOR[1] = 2;
  // A CD-detected trace beside the UV one, with its own range.
  chromatogram(2, /*uvDetector*/ false);
  store().HPLCMIN[2] = 0;
  store().HPLCMAX[2] = 100;
  store().HPLCFACTOR[2] = 1;
  ui.act([] {
    Form1->DrawHPLC();
    Form1->AddHPLC(2);
  });
  EXPECT_EQ(Form1->Edit18->Text(), "0.00");
  EXPECT_EQ(Form1->Edit19->Text(), "200.00");
  // Slot 1 at 450 - nint(390 / 220 x 100) = 273; slot 2 at its own full height.
  EXPECT_EQ(topmost(hplc(), 325, 200, 449, clBlack), 273);
  EXPECT_EQ(topmost(hplc(), 325, 60, 449, clRed), 95);
  // A range of no height and a reversed window: no trace, no error.
  store().HPLCMAX[1] = 0;
  ui.act([] { Form1->DrawHPLC(); });
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_FALSE(pictureHolds(hplc(), clRed));
  EXPECT_TRUE(hasText(hplc(), "RT in min", 600, 480));
  ui.act([] {
    Form1->Edit10->SetText("-5");
    Form1->DrawHPLC();
  });
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_TRUE(hplc().Picture().Canvas().TextLog().empty());
  EXPECT_EQ(hplc().Picture().Pixel(0, 0), clBlack);
}

// Computed ORD slot 1 with points of falling wavelength; its largest
// rotation inside the window is -200 at 300 nm.
const std::vector<std::pair<double, double>> COMPUTED_ORD = {
    {600, 10}, {500, 50}, {400, 100}, {300, -200}, {200, 20}};

TEST_F(PagePlots, OrdMarkersMirrorAndLabels) {
  ordPoints(true, 1, COMPUTED_ORD);
  ui.act([] {
    Form1->CheckBox12->SetChecked(true);
    Form1->DrawORD();
  });
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_EQ(store().ORDMAX[1], 200);
  EXPECT_EQ(Form1->Edit22->Text(), "-220.00");
  EXPECT_EQ(Form1->Edit23->Text(), "220.00");
  EXPECT_EQ(Form1->Edit24->Text(), "0");
  for (const auto& [text, y] : std::vector<std::pair<std::string, int>>{
           {"220", 53}, {"110", 153}, {"0", 253}, {"-110", 353}, {"-220", 453}})
    EXPECT_TRUE(hasText(ord(), text, 20, y)) << text;
  EXPECT_TRUE(hasText(ord(), "ORD", 2, 12));
  EXPECT_TRUE(hasText(ord(), "in [°]", 2, 28));
  EXPECT_TRUE(hasText(ord(), "Wavelength in nm", 460, 480));
  EXPECT_TRUE(hasText(ord(), "ord1", 553, 194));
  EXPECT_EQ(textsAtRow(ord(), 467).back(), "600");
  // -200 at 300 nm: red marker at (200, 442), its mirror in blue at (200, 78).
  EXPECT_EQ(ord().Picture().Pixel(200, 442), clRed);
  EXPECT_EQ(ord().Picture().Pixel(200, 78), clBlue);
  // Without "connect points" no line joins the markers.
  EXPECT_EQ(ord().Picture().Pixel(225, 260 - 45), clWhite);
  ui.act([] {
    Form1->CheckBox13->SetChecked(true);
    Form1->DrawORD();
  });
  // Connected: the line from 300 nm (y 442) to 400 nm (y 169) crosses x = 250 near y 305.
  EXPECT_NE(topmost(ord(), 250, 261, 459, clRed), -1);
}

TEST_F(PagePlots, OrdShiftFollowsTheUnitOfTheUvEcdPage) {
  ordPoints(true, 1, COMPUTED_ORD);
  ui.act([] {
    Form1->Edit2->SetText("10");
    Form1->DrawORD();
  });
  // 10 nm to the right; the point at 600 nm now lies beyond the window.
  EXPECT_EQ(ord().Picture().Pixel(210, 442), clRed);
  EXPECT_EQ(ord().Picture().Pixel(200, 442), clWhite);
  EXPECT_EQ(topmost(ord(), 510, 240, 259, clRed), -1);
  // The wavenumber unit: Edit2 holds a scale factor, the shift is 0.
  ui.act([] { Form2->RadioButton6->SetChecked(true); });
  ASSERT_EQ(Form1->Edit2->Text(), "1.0");
  ui.act([] { Form1->DrawORD(); });
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_EQ(ord().Picture().Pixel(200, 442), clRed);
}

TEST_F(PagePlots, ComputedOrdSlotTwoOnItsOwnOrSlotOneScale) {
  ordPoints(true, 1, COMPUTED_ORD);
  ordPoints(true, 2, {{500, 20}, {300, 100}});
  ui.act([] {
    Form1->DrawORD();
    Form1->AddORD(2);
  });
  // Autoscale: its own scale 110, labels on the right axis.
  EXPECT_EQ(store().ORDMAX[2], 100);
  EXPECT_EQ(Form1->Edit25->Text(), "110.00");
  EXPECT_EQ(Form1->Edit24->Text(), "-110.00");
  EXPECT_TRUE(hasText(ord(), "110", 510, 53));
  EXPECT_TRUE(hasText(ord(), "-55", 510, 353));
  EXPECT_TRUE(hasText(ord(), "ord2", 553, 298));
  EXPECT_EQ(ord().Picture().Pixel(540, 304), clGreen);
  EXPECT_EQ(ord().Picture().Pixel(200, 78), clGreen);
  EXPECT_EQ(ord().Picture().Pixel(500, 160), clBlack);  // right axis tick
  // Unticked: on the scale of slot 1 (220): 260 - nint(200 / 220 x 100) = 169.
  ui.act([] {
    Form1->CheckBox20->SetChecked(false);
    Form1->DrawORD();
    Form1->AddORD(2);
  });
  EXPECT_EQ(ord().Picture().Pixel(200, 169), clGreen);
  EXPECT_EQ(Form1->Edit25->Text(), "220.00");
  // Slot 1 measured: slot 2 uses ORDMAX[1] of the last computed drawing; when
  // that is 0 the curve is left out.
  store().ORDMAX[1] = 0;
  ui.act([] { Form1->AddORD(2); });
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_EQ(Form1->Edit25->Text(), "0.00");
}

TEST_F(PagePlots, MeasuredOrdInPercentWhateverTheStoredOrder) {
  // A rising measured ORD file, kept in file order.
  ordPoints(false, 1, {{200, 10}, {300, -100}, {400, 50}, {500, 20}, {600, 5}});
  ordPoints(false, 2, {{250, 40}, {450, 80}});
  ui.act([] {
    Form1->DrawXYORD();
    Form1->AddXYORD(2);
  });
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_EQ(textsAtRow(ord(), 467),
            (std::vector<std::string>{"150", "200", "250", "300", "350", "400", "450", "500", "550", "600"}));
  EXPECT_TRUE(hasText(ord(), "100", 20, 53));
  EXPECT_TRUE(hasText(ord(), "rel. Rot.", 1, 12));
  EXPECT_EQ(Form1->Edit23->Text(), "110.00");
  EXPECT_EQ(Form1->Edit25->Text(), "88.00");
  // -100 at 300 nm at 442, a corner of the red curve; the horizontal lead-in
  // from the left edge to the point of 200 nm at 260 - 18.
  EXPECT_EQ(ord().Picture().Pixel(200, 442), clRed);
  EXPECT_EQ(ord().Picture().Pixel(70, 242), clRed);
  // Slot 2 in black on its own scale: 80 at 450 nm at the top of the percent axis minus the headroom.
  EXPECT_NEAR(topmost(ord(), 349, 61, 120, clBlack), 260 - 182, 1);
  EXPECT_EQ(ord().Picture().Pixel(540, 304), clBlack);
  // DrawORD with measured slot 1 leaves the white framed picture.
  ui.act([] { Form1->DrawORD(); });
  EXPECT_TRUE(ord().Picture().Canvas().TextLog().empty());
  EXPECT_EQ(ord().Picture().Pixel(0, 0), clBlack);
  EXPECT_EQ(Form1->Edit23->Text(), "110.00");
}

TEST_F(PagePlots, OrdWindowsOfNoWidthOrReversedDrawNoCurve) {
  ordPoints(true, 1, COMPUTED_ORD);
  ui.act([] {
    Form1->Edit21->SetText("150");
    Form1->DrawORD();
  });
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_TRUE(hasText(ord(), "Wavelength in nm", 460, 480));
  ui.act([] {
    Form1->Edit21->SetText("100");
    Form1->DrawORD();
  });
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_TRUE(ord().Picture().Canvas().TextLog().empty());
  EXPECT_FALSE(pictureHolds(ord(), clRed));
}

}  // namespace

namespace {

// Point counts beyond the stored arrays never read past them.
TEST_F(PagePlots, CountsBeyondTheArraysAreClamped) {
  chromatogram(1, true);
  store().HPLCDATAPTS[1] = 99999;
  store().HPLCMAX[1] = 100;
  ordPoints(true, 1, COMPUTED_ORD);
  store().ORDDATAPTS[1] = 5000;
  store().CDACTIVE[1] = "exp";
  store().CDDATAPTS[1] = 20000;
  store().VCDACTIVE[1] = "exp";
  store().VCDDATAPTS[1] = -3;
  ui.act([] {
    Form1->DrawHPLC();
    Form1->DrawORD();
    Form1->AddORD(2);
    Form1->RedrawUVCD();
    Form1->RedrawIRVCD();
  });
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_TRUE(hasText(hplc(), "RT in min", 600, 480));
  EXPECT_TRUE(hasText(ord(), "ORD", 2, 12));
}

}  // namespace
