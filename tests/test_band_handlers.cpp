// The main window's broadening and range operations over the store and edits.
#include <gtest/gtest.h>

#include "app/Main.h"
#include "platform/testing/session.h"
#include "settings/settings.h"
#include "store/Store.h"

namespace {

struct Loaded : Session {
  Loaded() {
    menu(Form1->New1);
    store().ROTS(2500, 1) = 10;
    store().OSC(2500, 1) = 1;
    store().CDACTIVE[1] = store().UVACTIVE[1] = "calc";
    store().VCD(0, 1, 1) = 1000;
    store().VCD(0, 2, 1) = 1;
  }
};

TEST(BroadeningOperations, ReadTheBandWidthAndShapeFromTheirControls) {
  Loaded ui;
  Store& s = ui.store();
  ui.act([] {
    Form1->ProgressBar1->SetPosition(50);
    Form1->CalculateGaussCD(1);
    Form1->CalculateGaussUV(1);
    Form1->CalculateCurveVCD(1);
  });
  EXPECT_NEAR(s.EPS(2500, 1), 7.61416187, 1e-8);
  EXPECT_NEAR(s.ABSG(2500, 1), 28700 / (0.16 * 1.7725), 1e-9);
  EXPECT_NEAR(s.VCD(1000, 3, 1), 3.4659096e-4, 1e-11);
  EXPECT_EQ(Form1->ProgressBar1->Position(), 0);
  // Far beyond the Gaussian cut-off the band is exactly 0; the Lorentzian is not.
  EXPECT_EQ(s.EPS(9000, 1), 0.0);
  ui.act([] {
    Form2->RadioButton4->SetChecked(true);
    Form1->CalculateGaussCD(1);
  });
  EXPECT_NEAR(s.EPS(2500, 1), 7.61416187, 1e-8);
  EXPECT_GT(s.EPS(9000, 1), 0.0);
  EXPECT_TRUE(ui.errorBoxes().empty());
}

TEST(BroadeningOperations, ABandWidthThatIsNoNumberEndsInTheErrorBox) {
  Loaded ui;
  Store& s = ui.store();
  ui.act([] {
    Form1->CalculateGaussCD(1);
    Form1->CalculateGaussUV(1);
  });
  ui.act([] { Form1->Edit3->SetText("0,2"); });
  ui.act([] { Form1->CalculateGaussCD(1); });
  ui.act([] { Form1->CalculateGaussUV(1); });
  ASSERT_EQ(ui.errorBoxes().size(), 2u);
  EXPECT_EQ(ui.lastBox().caption, "EConvertError");
  // The ECD band stays as it was; the UV band was emptied first.
  EXPECT_NEAR(s.EPS(2500, 1), 7.61416187, 1e-8);
  EXPECT_EQ(s.ABSG(2500, 1), 0.0);
}

TEST(BroadeningOperations, AFractionalGammaBroadens) {
  Loaded ui;
  ui.act([] {
    Form1->Edit17->SetText("4.5");
    Form1->CalculateCurveVCD(1);
  });
  EXPECT_TRUE(ui.errorBoxes().empty());
  EXPECT_NEAR(ui.store().VCD(1000, 3, 1), (1000 / 229600.0) * 0.31830914183855363 / 4.5, 1e-12);
}

TEST(RangeOperations, MeasureTheShownWindowAndSurviveWindowsPastTheGrid) {
  Loaded ui;
  Store& s = ui.store();
  s.ROTS(3000, 2) = 20;
  s.CDACTIVE[2] = "calc";
  ui.act([] {
    Form1->CalculateGaussCD(1);
    Form1->CalculateGaussCD(2);
    Form1->Edit4->SetText("150");
    Form1->Edit5->SetText("600");
    Form1->DetermineCDRange();
  });
  EXPECT_NEAR(s.CDMAX[1], s.EPS(2500, 1), 1e-12);
  EXPECT_NEAR(s.CDFACTOR[1], s.CDMAX[2] / s.CDMAX[1], 1e-12);
  EXPECT_EQ(s.CDFACTOR[2], 1.0);
  // A window beyond 4000 nm has nothing to measure: no error, factors kept.
  const double factor = s.CDFACTOR[1];
  ui.act([] {
    Form1->Edit4->SetText("4500");
    Form1->Edit5->SetText("5000");
    Form1->DetermineCDRange();
  });
  EXPECT_TRUE(ui.errorBoxes().empty());
  EXPECT_EQ(s.CDFACTOR[1], factor);
  // The correction of an empty slot is never read; that of a computed one is.
  ui.act([] {
    Form1->Edit4->SetText("150");
    Form1->Edit5->SetText("600");
    Form1->Edit31->SetText("abc");
    Form1->DetermineCDRange();
  });
  EXPECT_TRUE(ui.errorBoxes().empty());
  ui.act([] {
    Form1->Edit12->SetText("abc");
    Form1->DetermineCDRange();
  });
  EXPECT_EQ(ui.lastBox().caption, "EConvertError");
}

TEST(RangeOperations, AnXScaleFactorOfZeroCountsAsNoCurve) {
  Loaded ui;
  Store& s = ui.store();
  s.VCDACTIVE[1] = "calc";
  ui.act([] {
    Form1->CalculateCurveVCD(1);
    Form1->Edit8->SetText("500");
    Form1->Edit9->SetText("2000");
    Form1->DetermineVCDRange();
  });
  EXPECT_GT(s.VCDMAX[1], 0.0);
  ui.act([] {
    Form1->Edit26->SetText("0");
    Form1->DetermineVCDRange();
  });
  EXPECT_TRUE(ui.errorBoxes().empty());
  EXPECT_EQ(s.VCDFACTOR[1], 1.0);
}

}  // namespace
