// The view controls of the main window: which band widths re-broaden which
// slots, which range, correction and scale checks let a redraw through, how
// often each page is redrawn, the copies of "same shift" and "same scale",
// the VCD mirror pair, the gnuplot windows' "use second y axis" boxes and
// files dropped on the main window.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/Main.h"
#include "display/blank_plot.h"
#include "platform/application.h"
#include "platform/testing/session.h"
#include "plots/cdplotting.h"
#include "plots/uvplotting.h"
#include "settings/settings.h"

namespace {

// A session that counts what the back end is told: every redraw of a page
// starts by blanking its picture (white, no text), and every broadening
// brings the progress bar back to 0 when it is done.
class CountingSession : public Session {
 public:
  int blanked(const Image* image) const {
    const auto found = blanks_.find(image);
    return found == blanks_.end() ? 0 : found->second;
  }
  int broadenings() const { return broadenings_; }
  void resetCounts() {
    blanks_.clear();
    broadenings_ = 0;
  }

  void ControlChanged(Control& control, ControlChange what) override {
    Session::ControlChanged(control, what);
    if (what == ControlChange::Picture && control.Kind() == ControlKind::Image) {
      const auto& image = static_cast<const Image&>(control);
      if (isBlank(image.Picture())) ++blanks_[&image];
    }
    if (what == ControlChange::Value && Form1 != nullptr && &control == Form1->ProgressBar1 &&
        Form1->ProgressBar1->Position() == 0)
      ++broadenings_;
  }

 private:
  static bool isBlank(const Bitmap& picture) {
    if (!picture.Canvas().TextLog().empty()) return false;
    for (int y = 1; y < picture.Height() - 1; y += 3)
      for (int x = 1; x < picture.Width() - 1; x += 3)
        if (picture.Pixel(x, y) != clWhite) return false;
    return true;
  }

  std::map<const Image*, int> blanks_;
  int broadenings_ = 0;
};

class ViewControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ui.act([] { Form1->Initialisierung(); });
    ui.resetCounts();
  }

  // Sets a control's text or state from code, as other windows do, and
  // forgets what its handlers redrew.
  void preset(Edit* edit, const std::string& text) {
    ui.act([&] { edit->SetText(text); });
    ui.resetCounts();
  }

  void useWavenumbers() {
    ui.act([] { Form2->RadioButton6->SetChecked(true); });
    ui.resetCounts();
  }

  // The texts of a page's range and correction (or scale) edits, and how
  // often a click on its redraw button then redraws it.
  struct RedrawCase {
    const char* start;
    const char* end;
    const char* correction;
    int redraws;
  };
  void expectRedraws(const std::vector<RedrawCase>& cases, Edit* start, Edit* end, Edit* correction,
                     Button* redraw, const Image* page) {
    for (const RedrawCase& c : cases) {
      SCOPED_TRACE(std::string(c.start) + " " + c.end + " " + c.correction);
      preset(start, c.start);
      preset(end, c.end);
      preset(correction, c.correction);
      ui.click(redraw);
      EXPECT_EQ(ui.blanked(page), c.redraws);
    }
  }

  int uvEcdRedraws() const { return ui.blanked(Form1->Image1); }
  int irVcdRedraws() const { return ui.blanked(Form1->Image5); }

  CountingSession ui;
  Store& store = ui.store();
};

// ---- Band widths ------------------------------------------------------------

TEST_F(ViewControlsTest, UvEcdBandWidthRebroadensEveryComputedSlotAndRedrawsOnce) {
  // Computed ECD in slots 1 and 3, computed UV in 1 and 4; slot 2 holds
  // measured ECD whose stale band must stay as it is.
  for (int s = 1; s <= 5; ++s) {
    store.ROTS(2500, s) = 10.0;
    store.OSC(2500, s) = 0.1;
  }
  store.CDACTIVE[1] = store.CDACTIVE[3] = "calc";
  store.CDACTIVE[2] = "exp";
  store.UVACTIVE[1] = store.UVACTIVE[4] = "calc";

  for (const char* refused : {"0", "-1", "0,2", "abc"}) {
    SCOPED_TRACE(refused);
    ui.type(Form1->Edit3, refused);
    EXPECT_EQ(ui.broadenings(), 0);
    EXPECT_EQ(uvEcdRedraws(), 0);
    EXPECT_EQ(store.EPS(2500, 1), 0.0);
  }

  ui.type(Form1->Edit3, "0.2");
  EXPECT_EQ(ui.broadenings(), 4);
  EXPECT_EQ(uvEcdRedraws(), 1);
  EXPECT_GT(store.EPS(2500, 1), 0.0);
  EXPECT_GT(store.EPS(2500, 3), 0.0);
  EXPECT_EQ(store.EPS(2500, 2), 0.0);
  EXPECT_GT(store.ABSG(2500, 1), 0.0);
  EXPECT_GT(store.ABSG(2500, 4), 0.0);
  EXPECT_EQ(store.ABSG(2500, 2), 0.0);
  EXPECT_EQ(store.ABSG(2500, 5), 0.0);
  EXPECT_TRUE(ui.errorBoxes().empty());
}

TEST_F(ViewControlsTest, IrVcdBandWidthRebroadensEveryComputedSlotAndRedrawsOnce) {
  for (int s = 1; s <= 5; ++s) {
    store.VCD(0, 1, s) = store.IR(0, 1, s) = 1000.0;
    store.VCD(0, 2, s) = store.IR(0, 2, s) = 50.0;
  }
  store.VCDACTIVE[2] = "calc";
  store.IRACTIVE[1] = store.IRACTIVE[2] = store.IRACTIVE[5] = "calc";
  store.VCDACTIVE[1] = "exp";

  for (const char* refused : {"0", "-1", "4,5"}) {
    SCOPED_TRACE(refused);
    ui.type(Form1->Edit17, refused);
    EXPECT_EQ(ui.broadenings(), 0);
    EXPECT_EQ(irVcdRedraws(), 0);
  }

  ui.type(Form1->Edit17, "6");
  EXPECT_EQ(ui.broadenings(), 4);
  EXPECT_EQ(irVcdRedraws(), 1);
  EXPECT_GT(store.VCD(1000, 3, 2), 0.0);
  EXPECT_EQ(store.VCD(1000, 3, 1), 0.0);
  EXPECT_GT(store.IR(1000, 3, 5), 0.0);
}

// ---- UV/ECD ranges and corrections ---------------------------------------------

TEST_F(ViewControlsTest, UvEcdRedrawChecksItsRangeAndCorrection) {
  const std::vector<RedrawCase> wavelengthCases = {
      {"150", "600", "0", 1},  {"600", "150", "0", 0}, {"300", "300", "0", 0}, {"0", "600", "0", 0},
      {"-5", "600", "0", 0},   {"150", "6e2", "0", 0}, {"150", "600", "1.5", 0}, {"150", "600", "-3", 1},
  };
  expectRedraws(wavelengthCases, Form1->Edit4, Form1->Edit5, Form1->Edit2, Form1->Button2, Form1->Image1);

  // In the wavenumber unit the correction is an x scale factor above 0.
  useWavenumbers();
  const std::vector<RedrawCase> wavenumberCases = {
      {"200", "667", "1.0", 1}, {"200", "667", "0.97", 1}, {"200", "667", "0", 0},
      {"200", "667", "-1", 0},  {"200", "667", "1,0", 0},  {"667", "200", "1.0", 0},
  };
  expectRedraws(wavenumberCases, Form1->Edit4, Form1->Edit5, Form1->Edit2, Form1->Button2, Form1->Image1);
}

TEST_F(ViewControlsTest, WavenumberRangeSetsTheNanometreRangeAndRedraws) {
  useWavenumbers();
  ASSERT_EQ(Form1->Edit35->Text(), "50000");
  preset(Form1->Edit4, "300");

  ui.type(Form1->Edit35, "40000");
  EXPECT_EQ(Form1->Edit4->Text(), "250");
  // Once through the nm edit's handler, once for the wavenumber range.
  EXPECT_EQ(uvEcdRedraws(), 2);
  ui.type(Form1->Edit35, "50000");
  ui.type(Form1->Edit36, "20000");
  ui.type(Form1->Edit36, "15000");
  EXPECT_EQ(Form1->Edit4->Text(), "200");
  EXPECT_EQ(Form1->Edit5->Text(), "667");

  // 0 has no wavelength, a text no number: the nm range stays, the page is
  // redrawn all the same.
  for (const char* unconvertible : {"0", "abc", "1.5e4"}) {
    SCOPED_TRACE(unconvertible);
    ui.resetCounts();
    ui.type(Form1->Edit36, unconvertible);
    EXPECT_EQ(Form1->Edit5->Text(), "667");
    EXPECT_EQ(uvEcdRedraws(), 1);
  }
  EXPECT_TRUE(ui.errorBoxes().empty());
}

TEST_F(ViewControlsTest, ComparisonCorrectionsRedrawOnlyWhenAllFourConvertForTheUnit) {
  ui.type(Form1->Edit12, "3.5");
  EXPECT_EQ(uvEcdRedraws(), 0);
  ui.type(Form1->Edit13, "2");
  EXPECT_EQ(uvEcdRedraws(), 0);
  ui.type(Form1->Edit12, "3");
  EXPECT_EQ(uvEcdRedraws(), 1);

  useWavenumbers();
  ui.type(Form1->Edit31, "0.98");
  EXPECT_EQ(uvEcdRedraws(), 1);
  ui.type(Form1->Edit32, "0,98");
  EXPECT_EQ(uvEcdRedraws(), 1);
}

TEST_F(ViewControlsTest, SameShiftCopiesCurveOneAndRedrawsAfterEachCopy) {
  preset(Form1->Edit13, "4");  // already the shift: this copy changes nothing
  preset(Form1->Edit2, "4");
  ui.click(Form1->Button5);
  for (Edit* edit : {Form1->Edit12, Form1->Edit13, Form1->Edit31, Form1->Edit32})
    EXPECT_EQ(edit->Text(), "4") << edit->Name();
  EXPECT_EQ(uvEcdRedraws(), 3);
}

// ---- IR/VCD ranges and scale factors --------------------------------------------

TEST_F(ViewControlsTest, IrVcdRedrawChecksItsRangeAndScaleFactor) {
  // Low end, high end, scale factor.
  const std::vector<RedrawCase> cases = {
      {"500", "2000", "1.0", 1}, {"2000", "500", "1.0", 0}, {"500", "500", "1.0", 1},
      {"0", "2000", "0.97", 1},  {"-1", "2000", "1.0", 0},  {"500", "2000", "0", 0},
      {"500", "2000", "-1", 0},  {"500", "2000", "0,97", 0}, {"500.5", "2000", "1.0", 0},
  };
  expectRedraws(cases, Form1->Edit8, Form1->Edit9, Form1->Edit26, Form1->Button10, Form1->Image5);
}

TEST_F(ViewControlsTest, IrVcdScaleEditsRedrawOnValidFactors) {
  ui.type(Form1->Edit26, "0");
  EXPECT_EQ(irVcdRedraws(), 0);
  ui.type(Form1->Edit26, "0.97");
  EXPECT_EQ(irVcdRedraws(), 1);

  ui.resetCounts();
  ui.type(Form1->Edit27, "x");
  ui.type(Form1->Edit28, "0.95");
  EXPECT_EQ(irVcdRedraws(), 0);
  ui.type(Form1->Edit27, "1.02");
  EXPECT_EQ(irVcdRedraws(), 1);
}

TEST_F(ViewControlsTest, SameScaleLeavesAllFiveFactorsAtCurveOne) {
  preset(Form1->Edit26, "0.97");
  ui.click(Form1->Button18);
  for (Edit* edit : {Form1->Edit27, Form1->Edit28, Form1->Edit33, Form1->Edit34})
    EXPECT_EQ(edit->Text(), "0.97") << edit->Name();
  EXPECT_EQ(irVcdRedraws(), 4);
}

TEST_F(ViewControlsTest, MirrorPairMovesItsTickWithTwoRedraws) {
  ASSERT_TRUE(Form1->CheckBox6->Checked());
  ui.untick(Form1->CheckBox6);
  EXPECT_FALSE(Form1->CheckBox6->Checked());
  EXPECT_TRUE(Form1->CheckBox9->Checked());
  EXPECT_EQ(irVcdRedraws(), 2);

  ui.resetCounts();
  ui.untick(Form1->CheckBox9);
  EXPECT_TRUE(Form1->CheckBox6->Checked());
  EXPECT_FALSE(Form1->CheckBox9->Checked());
  EXPECT_EQ(irVcdRedraws(), 2);
}

// ---- Curve-1 correction and the gnuplot windows -----------------------------------

// Ticks a box without running its handlers, as a fixture.
void quietlyTick(CheckBox* box, bool checked) {
  const auto change = box->OnChange;
  const auto click = box->OnClick;
  box->OnChange = nullptr;
  box->OnClick = nullptr;
  box->SetChecked(checked);
  box->OnChange = change;
  box->OnClick = click;
}

TEST_F(ViewControlsTest, CurveOneCorrectionUnticksSecondYAxesOfAutoScaledPlots) {
  struct Case {
    bool autoScaling;
    bool bars;
    bool cdSecondAxisAfter;
    bool uvSecondAxisAfter;
  };
  const std::vector<Case> cases = {
      {true, false, false, false},
      {true, true, true, false},  // bars of curve 1 keep the CD plot's second axis
      {false, false, true, true},
  };
  int shift = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.autoScaling << c.bars);
    ui.act([&] {
      quietlyTick(Form1->CheckBox8, c.autoScaling);
      quietlyTick(Form1->CheckBox1, c.bars);
      quietlyTick(Form10->CheckBox2, true);
      quietlyTick(Form11->CheckBox2, true);
    });
    ui.resetCounts();
    ui.type(Form1->Edit2, std::to_string(shift++));
    EXPECT_EQ(Form10->CheckBox2->Checked(), c.cdSecondAxisAfter);
    EXPECT_EQ(Form11->CheckBox2->Checked(), c.uvSecondAxisAfter);
    EXPECT_EQ(uvEcdRedraws(), 1);
  }
}

TEST_F(ViewControlsTest, CurveOneCorrectionRedrawsTheOrdPageOfAComputedOrdCurve) {
  int ordRedraws = 0;
  const auto redrawOrd = Form1->Button9->OnClick;
  Form1->Button9->OnClick = [&] {
    ++ordRedraws;
    redrawOrd();
  };
  ui.type(Form1->Edit2, "2");
  EXPECT_EQ(ordRedraws, 0);
  store.ORDACTIVE[1] = "calc";
  ui.type(Form1->Edit2, "3");
  EXPECT_EQ(ordRedraws, 1);
  // The display boxes of the page run the same handler.
  ui.untick(Form1->CheckBox5);
  EXPECT_EQ(ordRedraws, 2);
  EXPECT_EQ(uvEcdRedraws(), 3);
}

// ---- HPLC page -------------------------------------------------------------------

TEST_F(ViewControlsTest, HplcRedrawMeasuresEveryTraceBeforeDrawing) {
  // Two UV traces and a CD trace; the redraw measures them all, each by its
  // own detector, before drawing them.
  for (int s = 1; s <= 3; ++s) {
    store.HPLCDATAPTS[s] = 3;
    for (int i = 1; i <= 3; ++i) {
      store.HPLCX(i, s) = 5.0 * i;
      store.HPLCY(i, s) = 10.0 * s + i;
    }
  }
  store.HPLC_UV[1] = store.HPLC_UV[2] = true;
  store.HPLC_CD[3] = true;
  ui.untick(Form1->CheckBox4);
  EXPECT_EQ(store.HPLCMAX[1], 13.0);
  EXPECT_EQ(store.HPLCMAX[2], 23.0);
  EXPECT_EQ(store.HPLCMAX[3], 33.0);

  // Without a chromatogram in slot 1 nothing is measured.
  store.HPLCMAX[1] = store.HPLCMAX[2] = 0.0;
  store.HPLC_UV[1] = false;
  ui.tick(Form1->CheckBox4);
  EXPECT_EQ(store.HPLCMAX[1], 0.0);
  EXPECT_EQ(store.HPLCMAX[2], 0.0);
}

// ---- ORD page ------------------------------------------------------------------------

bool written(const Image* image, const std::string& text) {
  for (const TextLogEntry& entry : image->Picture().Canvas().TextLog())
    if (entry.text == text) return true;
  return false;
}

TEST_F(ViewControlsTest, OrdRedrawChecksItsRangeAndTheUvEcdCorrection) {
  store.ORDACTIVE[1] = "calc";
  store.ORDACTIVE[2] = "exp";
  store.ORDTITLE[2] = "second.or.exp.xy";
  struct Case {
    const char* start;
    const char* end;
    const char* correction;
    bool drawn;
  };
  auto run = [&](const std::vector<Case>& cases) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.start) + " " + c.end + " " + c.correction);
      preset(Form1->Edit20, c.start);
      preset(Form1->Edit21, c.end);
      preset(Form1->Edit2, c.correction);
      ui.act([] { BlankPlot(*Form1->Image4); });
      ui.click(Form1->Button9);
      // Slot 1 draws the page with its axes, slot 2 adds its legend line.
      EXPECT_EQ(written(Form1->Image4, "ORD"), c.drawn);
      EXPECT_EQ(written(Form1->Image4, "second.or.exp.xy"), c.drawn);
    }
  };
  run({{"150", "600", "0", true}, {"150", "600", "2", true}, {"abc", "600", "0", false},
       {"150", "6,0", "0", false}, {"150", "600", "1.5", false}});
  useWavenumbers();
  run({{"150", "600", "1.0", true}, {"150", "600", "0", false}, {"150", "600", "-1", false}});
  EXPECT_TRUE(ui.errorBoxes().empty());
}

// ---- Dropped files -------------------------------------------------------------

TEST_F(ViewControlsTest, DroppedFileOpensLikeFileOpenAndOnlyTheFirstCounts) {
  const std::string ecd = fixture("bil/range.cd.bil");
  ui.willChooseFile(ecd);
  ui.menu(Form1->Open1);
  const std::string openedTitle = store.CDTITLE[1];
  const double openedLine = store.ROTS(2450, 1);
  ASSERT_EQ(store.CDACTIVE[1], "calc");

  ui.act([] { Form1->Initialisierung(); });
  ASSERT_EQ(store.CDACTIVE[1], "false");
  ui.drop(Form1, {ecd, fixture("bil/headerless.uv.bil"), fixture("bil/mol.ir.bil")});
  EXPECT_EQ(store.CDACTIVE[1], "calc");
  EXPECT_EQ(store.CDTITLE[1], openedTitle);
  EXPECT_EQ(store.ROTS(2450, 1), openedLine);
  EXPECT_EQ(store.UVACTIVE[1], "false");
  EXPECT_EQ(store.IRACTIVE[1], "false");
  EXPECT_EQ(Application::Title(), ecd);

  // An ending the dispatcher does not know changes nothing and says so.
  const std::string unknown = ui.path("notes.txt");
  writeTextFile(unknown, "nothing to read\r\n");
  ui.clearBoxes();
  ui.drop(Form1, {unknown});
  EXPECT_EQ(store.CDACTIVE[1], "calc");
  EXPECT_EQ(store.ROTS(2450, 1), openedLine);
  EXPECT_EQ(Application::Title(), ecd);
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_NE(ui.lastBox().text.find("\"notes.txt\""), std::string::npos);
}

}  // namespace
