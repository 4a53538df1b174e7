// The searches find the band width and the shift or x scale factor with which
// the display drew a measured curve, so that computed and measured peaks meet
// on the screen. The measured curves are the display's own bands of real
// outputs, loaded with Compare.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "app/Main.h"
#include "display/plot_geometry.h"
#include "platform/numbers.h"
#include "platform/testing/session.h"
#include "settings/settings.h"
#include "similarity/similarity.h"
#include "similarity/similarityvcd.h"
#include "store/Store.h"

namespace {

using Lines = std::vector<std::string>;

bool holds(const Lines& memo, const std::string& line) {
  for (const std::string& l : memo)
    if (l == line) return true;
  return false;
}

// Writes a measured spectrum (x falling, one "x<TAB>y" line per point) and
// loads it into slot 2 through a Compare item. IR and VCD files begin with a
// header line.
void compare(Session& ui, MenuItem* item, const std::string& name, const std::vector<double>& x,
             const std::vector<double>& y, bool headed) {
  std::string text = headed ? "wavenumber\tvalue\r\n" : "";
  for (std::size_t k = 0; k < x.size(); ++k) text += FloatToStrE(x[k], 17) + "\t" + FloatToStrE(y[k], 17) + "\r\n";
  const std::string path = ui.path(name);
  writeTextFile(path, text);
  ui.willChooseFile(path);
  ui.menu(item);
}

bool open(Session& ui, const std::string& path) {
  if (path.empty()) return false;
  ui.willChooseFile(path);
  ui.menu(Form1->Open1);
  return true;
}

// Samples the display's band of slot 1 at measured wavelengths 400 to 150 nm:
// `bin` tells which bin the display draws at wavelength x.
void compareUvEcd(Session& ui, const std::function<double(double)>& bin) {
  Store& s = ui.store();
  std::vector<double> x, uv, cd;
  for (int tenth = 4000; tenth >= 1500; --tenth) {
    const double nm = tenth / 10.0;
    const long b = static_cast<long>(std::nearbyint(bin(nm)));
    x.push_back(nm);
    uv.push_back(s.ABSG(b, 1));
    cd.push_back(s.EPS(b, 1));
  }
  compare(ui, Form1->xyFile1, "measured.uv.exp.xy", x, uv, false);
  compare(ui, Form1->BilFile1, "measured.cd.exp.xy", x, cd, false);
  ASSERT_EQ(s.UVACTIVE[2], "exp");
  ASSERT_EQ(s.CDACTIVE[2], "exp");
}

// The pixel column of the largest value of slot 1's UV band and of the
// measured UV curve, as the UV/ECD page draws them.
struct Peaks {
  int computed = 0;
  int measured = 0;
};

Peaks uvPeaksWavelength(Store& s) {
  const int x1 = StrToInt(Form1->Edit4->Text()), x2 = StrToInt(Form1->Edit5->Text());
  const auto run = wavelengthCurveRun(x1, x2, StrToInt(Form1->Edit2->Text()));
  int bestBin = run->firstBin;
  for (int b = run->firstBin; b <= run->lastBin; ++b)
    if (s.ABSG(b, 1) > s.ABSG(bestBin, 1)) bestBin = b;
  int bestPoint = 1;
  for (int p = 1; p <= s.UVDATAPTS[2]; ++p)
    if (s.EXPUVY(p, 2) > s.EXPUVY(bestPoint, 2)) bestPoint = p;
  return {run->x(bestBin), *measuredWavelengthX(x1, x2, s.EXPUVX(bestPoint, 2))};
}

Peaks uvPeaksWavenumber(Store& s) {
  const int x1 = StrToInt(Form1->Edit35->Text()), x2 = StrToInt(Form1->Edit36->Text());
  const double f = StrToFloat(Form1->Edit2->Text());
  const double step = *wavenumberStep(x1, x2);
  int bestBin = 0;
  for (int b = 1000; b <= 40000; ++b) {
    const double w = binWavenumber(b, f);
    if (w < x2 || w > x1) continue;
    if (bestBin == 0 || s.ABSG(b, 1) > s.ABSG(bestBin, 1)) bestBin = b;
  }
  int bestPoint = 0;
  for (int p = 1; p <= s.UVDATAPTS[2]; ++p) {
    const double w = 1e7 / s.EXPUVX(p, 2);
    if (w < x2 || w > x1) continue;
    if (bestPoint == 0 || s.EXPUVY(p, 2) > s.EXPUVY(bestPoint, 2)) bestPoint = p;
  }
  return {wavenumberX(x1, step, binWavenumber(bestBin, f)), wavenumberX(x1, step, 1e7 / s.EXPUVX(bestPoint, 2))};
}

TEST(SimilarityRecovery, UvFindsTheShiftAndBandWidthTheDisplayDrewWith) {
  Session ui;
  if (!open(ui, corpus("gaussian/uv_ecd/g03_cclib-data_OPT_td.out"))) GTEST_SKIP() << "corpus absent";
  ASSERT_EQ(ui.store().UVACTIVE[1], "calc");
  ASSERT_EQ(ui.store().CDACTIVE[1], "calc");
  ui.type(Form1->Edit3, "0.2");
  // The display draws the band value of lambda at lambda + 12.
  compareUvEcd(ui, [](double nm) { return 10 * (nm - 12); });
  ui.type(Form1->Edit3, "0.16");
  ui.menu(Form1->Determinesigma1);
  ui.type(Form9->Edit5, "190");
  ui.type(Form9->Edit6, "300");
  ui.click(Form9->Button1);

  EXPECT_EQ(Form1->Edit2->Text(), "12");
  EXPECT_NEAR(StrToFloat(Form1->Edit3->Text()), 0.2, 0.01 + 1e-12);
  const Lines memo = Form9->Memo1->Lines();
  EXPECT_TRUE(holds(memo, "Similarity factor S (ECD-spectrum) = 1.0000"));
  EXPECT_TRUE(holds(memo, "Similarity factor S (enantiomeric ECD-spectrum) = 0.0000"));
  const Peaks peaks = uvPeaksWavelength(ui.store());
  EXPECT_LE(std::abs(peaks.computed - peaks.measured), 1);
  EXPECT_TRUE(ui.errorBoxes().empty());
}

// The measured curves are a real output's bands as the display drew them in
// the wavenumber unit with x scale 0.97 and band width sigma; the main window
// then goes back to 0.16 and the similarity window opens. False without the
// corpus.
bool compareAtXScale(Session& ui, const char* sigma) {
  if (!open(ui, corpus("gaussian/uv_ecd/g03_cclib-data_OPT_td.out"))) return false;
  ui.act([] { Form2->RadioButton6->SetChecked(true); });
  ui.type(Form1->Edit3, sigma);
  // The display draws bin J at 1e8 f / J: the measured point at x nm meets bin 10 x f.
  compareUvEcd(ui, [](double nm) { return 10 * nm * 0.97; });
  ui.type(Form1->Edit3, "0.16");
  ui.menu(Form1->Determinesigma1);
  return true;
}

TEST(SimilarityRecovery, WavenumberUnitFindsTheXScaleTheDisplayDrewWith) {
  Session ui;
  if (!compareAtXScale(ui, "0.2")) GTEST_SKIP() << "corpus absent";
  // 196 to 300 nm.
  ui.type(Form9->Edit9, "51000");
  ui.type(Form9->Edit10, "33334");
  ui.click(Form9->Button1);
  EXPECT_NEAR(StrToFloat(Form1->Edit2->Text()), 0.97, 0.001 + 1e-12);
  EXPECT_NEAR(StrToFloat(Form1->Edit3->Text()), 0.2, 0.01 + 1e-12);
  EXPECT_TRUE(holds(Form9->Memo1->Lines(), "Similarity factor S (ECD-spectrum) = 1.0000"));
  // A page window around the band's maximum.
  ui.act([] {
    Form1->Edit35->SetText("60000");
    Form1->Edit36->SetText("40000");
  });
  const Peaks peaks = uvPeaksWavenumber(ui.store());
  EXPECT_LE(std::abs(peaks.computed - peaks.measured), 1);
  EXPECT_GT(peaks.measured, 60);  // inside the page, not at its edge
  EXPECT_LT(peaks.measured, 490);
  // The reciprocal factor, as x / f would find it, leaves the peaks far apart.
  ui.type(Form1->Edit2, FloatToStr(1 / 0.97));
  const Peaks apart = uvPeaksWavenumber(ui.store());
  EXPECT_GT(std::abs(apart.computed - apart.measured), 20);

  // The fine tuning on the ECD pair alone finds the same factor.
  ui.click(Form9->Button3);
  EXPECT_NEAR(StrToFloat(Form1->Edit2->Text()), 0.97, 0.001 + 1e-12);
  EXPECT_TRUE(holds(Form9->Memo1->Lines(), "Similarity factor  = 1.0000"));
  EXPECT_TRUE(ui.errorBoxes().empty());
}

TEST(SimilarityRecovery, WidestWavenumberRangesFindTheXScaleAndBandWidth) {
  Session ui;
  if (!compareAtXScale(ui, "0.22")) GTEST_SKIP() << "corpus absent";
  // From 53000 1/cm at x scale 0.7 the kernels compare bins from 132 nm on,
  // and up to the end of the grid towards 5000 1/cm.
  for (auto [edit, text] : {std::pair{Form9->Edit7, "0.7"}, {Form9->Edit8, "1.3"}, {Form9->Edit3, "0.01"},
                            {Form9->Edit4, "0.9"}, {Form9->Edit9, "53000"}, {Form9->Edit10, "5000"}})
    ui.type(edit, text);
  ui.click(Form9->Button1);
  EXPECT_NEAR(StrToFloat(Form1->Edit2->Text()), 0.97, 0.001 + 1e-12);
  EXPECT_NEAR(StrToFloat(Form1->Edit3->Text()), 0.22, 0.01 + 1e-12);
  EXPECT_TRUE(ui.errorBoxes().empty());
}

// Samples the display's IR or VCD band of slot 1, drawn with x scale f, at
// whole wavenumbers 3000 down to 400.
void compareIrVcd(Session& ui, bool vcd, double f, double sign = 1.0) {
  Store& s = ui.store();
  std::vector<double> x, y;
  for (int w = 3000; w >= 400; --w) {
    x.push_back(w);
    const long index = static_cast<long>(std::nearbyint(w / f));
    y.push_back(sign * (vcd ? s.VCD(index, 3, 1) : s.IR(index, 3, 1)));
  }
  compare(ui, vcd ? Form1->MenuItem5 : Form1->cpwithIR, vcd ? "measured.vc.exp.xy" : "measured.ir.exp.xy", x, y, true);
}

int irPeakDistance(Store& s) {
  const int x1 = StrToInt(Form1->Edit8->Text()), x2 = StrToInt(Form1->Edit9->Text());
  const double f = StrToFloat(Form1->Edit26->Text());
  const std::vector<IndexPoint> points = irVcdComputedPoints(x1, x2, f);
  IndexPoint best = points.front();
  for (const IndexPoint& p : points)
    if (s.IR(p.index, 3, 1) > s.IR(best.index, 3, 1)) best = p;
  int bestPoint = 0;
  for (int p = 1; p <= s.IRDATAPTS[2]; ++p) {
    const double w = s.EXPIRX(p, 2);
    if (w < x1 || w > x2) continue;
    if (bestPoint == 0 || s.EXPIRY(p, 2) > s.EXPIRY(bestPoint, 2)) bestPoint = p;
  }
  return std::abs(best.x - *irVcdMeasuredX(x1, x2, s.EXPIRX(bestPoint, 2)));
}

TEST(SimilarityRecovery, IrFindsTheXScaleAndBandWidthTheDisplayDrewWith) {
  Session ui;
  if (!open(ui, corpus("gaussian/ir_vcd/g09_tesliper_fal-freq-vdc.out"))) GTEST_SKIP() << "corpus absent";
  Store& s = ui.store();
  ASSERT_EQ(s.IRACTIVE[1], "calc");
  ui.type(Form1->Edit17, "6");
  compareIrVcd(ui, false, 0.97);
  // A measured VCD beside a computed VCD whose rotational strengths are all 0.
  std::vector<double> x, y;
  for (int w = 3000; w >= 400; --w) {
    x.push_back(w);
    y.push_back(std::sin(w / 50.0));
  }
  compare(ui, Form1->MenuItem5, "measured.vc.exp.xy", x, y, true);
  ui.type(Form1->Edit17, "4");
  ui.menu(Form1->Determinesigma1);
  ui.click(Form12->Button1);

  EXPECT_NEAR(StrToFloat(Form1->Edit26->Text()), 0.97, 0.001 + 1e-12);
  EXPECT_EQ(Form1->Edit17->Text(), "6");
  EXPECT_LE(irPeakDistance(s), 1);
  const Lines memo = Form12->Memo1->Lines();
  EXPECT_TRUE(holds(memo, "Similarity factor S (IR-spectrum) = 1.0000"));
  ASSERT_EQ(s.VCDACTIVE[1], "calc");
  EXPECT_TRUE(holds(memo, "No VCD similarity: the calculated VCD spectrum is zero in the selected range"));
  EXPECT_TRUE(ui.errorBoxes().empty());
}

TEST(SimilarityRecovery, VcdFineTuningFindsTheCurveAndItsMirrorImage) {
  for (bool mirror : {false, true}) {
    Session ui;
    open(ui, fixture("similarity/both-signs.vc.bil"));
    ASSERT_EQ(ui.store().VCDACTIVE[1], "calc");
    ui.type(Form1->Edit17, "6");
    compareIrVcd(ui, true, 0.97, mirror ? -1.0 : 1.0);
    ui.type(Form1->Edit17, "4");
    if (mirror) ui.act([] { Form1->CheckBox9->SetChecked(true); });
    ui.menu(Form1->Determinesigma1);
    ui.click(Form12->Button3);
    EXPECT_NEAR(StrToFloat(Form1->Edit26->Text()), 0.97, 0.001 + 1e-12) << mirror;
    EXPECT_EQ(Form1->Edit17->Text(), "6") << mirror;
    const Lines memo = Form12->Memo1->Lines();
    EXPECT_TRUE(holds(memo, mirror ? "Similarity factor Enantiomer  = 1.0000" : "Similarity factor  = 1.0000"))
        << mirror;
    EXPECT_TRUE(ui.errorBoxes().empty());
  }
}

// Slot 2 holds the very bands the main window shows for slot 1, as if they
// had been measured: every scaling factor the four searches print is 1.
TEST(SimilarityRecovery, ACurveComparedWithItselfIsScaledByOne) {
  struct Row {
    const char* computed;
    std::function<MenuItem*()> addCompanion;
    const char* companion;
    std::function<void(Session&)> compareShownBands;
    std::function<Button*()> search, fineTuning;
    std::function<Memo*()> memo;
    Lines searchLines;
    const char* fineTuningLine;
  };
  const std::vector<Row> rows = {
      {"similarity/bands.uv.bil", [] { return Form1->AddCDspectrum1; }, "similarity/bands.cd.bil",
       [](Session& ui) { compareUvEcd(ui, [](double nm) { return 10 * nm; }); }, [] { return Form9->Button1; },
       [] { return Form9->Button3; }, [] { return Form9->Memo1; },
       {"Scaling factor for calculated UV = 1.0000", "Scaling factor (ECD-spectrum) = 1.0000"},
       "Scaling factor for calculated ECD spectrum: 1.0000"},
      {"similarity/modes.ir.bil", [] { return Form1->AddVCDSpectrum; }, "similarity/both-signs.vc.bil",
       [](Session& ui) {
         compareIrVcd(ui, false, 1.0);
         compareIrVcd(ui, true, 1.0);
       },
       [] { return Form12->Button1; }, [] { return Form12->Button3; }, [] { return Form12->Memo1; },
       {"Scaling factor for calculated IR = 1.0000", "Scaling factor (VCD-spectrum) = 1.00000000"},
       "Scaling factor for calculated VCD spectrum: 1.0000000000"},
  };
  for (const Row& row : rows) {
    Session ui;
    ASSERT_TRUE(open(ui, fixture(row.computed)));
    ui.willChooseFile(fixture(row.companion));
    ui.menu(row.addCompanion());
    row.compareShownBands(ui);
    ui.menu(Form1->Determinesigma1);
    ui.click(row.search());
    for (const std::string& line : row.searchLines) EXPECT_TRUE(holds(row.memo()->Lines(), line)) << line;
    ui.click(row.fineTuning());
    EXPECT_TRUE(holds(row.memo()->Lines(), row.fineTuningLine)) << row.fineTuningLine;
    EXPECT_TRUE(ui.errorBoxes().empty()) << row.computed;
  }
}

}  // namespace
