// The searches against a plain single-threaded loop written straight from the
// formulas: every trial's values, the bests, the memo lines and the values
// written back must be equal, the values but for the last bits of the sums.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/numbers.h"
#include "platform/testing/session.h"
#include "settings/settings.h"
#include "similarity/kernels.h"
#include "similarity/search.h"
#include "similarity/similarity.h"
#include "similarity/similarityvcd.h"
#include "store/Store.h"
#include "tests/test_similarity_reference.h"

namespace {

using namespace similarity_reference;
using Lines = std::vector<std::string>;

void expectSameTrials(const std::vector<TrialRecord>& program, const std::vector<TrialRecord>& reference) {
  ASSERT_EQ(program.size(), reference.size());
  const double largestFirst = largestOver(reference, &TrialRecord::first);
  const double largestSecond = largestOver(reference, &TrialRecord::second);
  for (std::size_t k = 0; k < program.size(); ++k) {
    const TrialRecord& a = program[k];
    const TrialRecord& b = reference[k];
    ASSERT_TRUE(sameTrial(a, b, largestFirst, largestSecond))
        << k << ": width " << a.width << " / " << b.width << ", position " << a.position << " / " << b.position
        << ", first " << a.first << " / " << b.first << ", second " << a.second << " / " << b.second;
  }
}

// The best's place is the reference's; its value may differ in the sums' last bits.
void expectSameBest(const std::optional<BestValue>& a, const std::optional<BestValue>& b) {
  ASSERT_EQ(a.has_value(), b.has_value());
  if (!a) return;
  EXPECT_TRUE(agrees(a->value, b->value, std::fabs(b->value))) << a->value << " / " << b->value;
  EXPECT_EQ(a->position, b->position);
  EXPECT_EQ(a->width, b->width);
}

std::string general(double v) { return FloatToStr(StrToFloat(FloatToStrE(v, 10))); }

// The memo from its first line that begins with `prefix` (coverage lines may stand before it).
Lines from(const Lines& memo, const std::string& prefix) {
  for (std::size_t k = 0; k < memo.size(); ++k)
    if (memo[k].rfind(prefix, 0) == 0) return Lines(memo.begin() + static_cast<long>(k), memo.end());
  return {};
}

// ---- Fixtures: a few lines of both signs and a measured curve unlike them -------------

Points uvEcdMeasured(Store& s, bool cd, double height) {
  Points p{{0}, {0}};
  int point = 0;
  for (double nm = 1000; nm >= 180; nm -= 2.5) {
    ++point;
    const double y = height * (std::exp(-std::pow((nm - 262) / 14, 2)) + 0.6 * std::exp(-std::pow((nm - 225) / 9, 2)) -
                               (cd ? 0.9 : 0) * std::exp(-std::pow((nm - 310) / 12, 2)));
    (cd ? s.EXPCDX : s.EXPUVX)(point, 2) = nm;
    (cd ? s.EXPCDY : s.EXPUVY)(point, 2) = y;
    p.x.push_back(nm);
    p.y.push_back(y);
  }
  (cd ? s.CDDATAPTS : s.UVDATAPTS)[2] = point;
  (cd ? s.CDACTIVE : s.UVACTIVE)[2] = "exp";
  return p;
}

struct UvEcdSession : Session {
  Points uv, cd;
  UvEcdSession() {
    menu(Form1->New1);
    Store& s = store();
    const int bins[] = {2200, 2550, 2610, 3050, 3300};
    const double f[] = {0.4, 1.0, 0.2, 0.3, 0.05};
    const double r[] = {20, -35, 12, -18, 9};
    for (int k = 0; k < 5; ++k) {
      s.OSC(bins[k], 1) = f[k];
      s.ROTS(bins[k], 1) = r[k];
    }
    s.UVACTIVE[1] = s.CDACTIVE[1] = "calc";
    uv = uvEcdMeasured(s, false, 1.3);  // relative units: trials normalise
    cd = uvEcdMeasured(s, true, 40);
  }
  std::span<const double> osc() { return {store().OSC.slotData(1), UVECD_TRIAL_SIZE}; }
  std::span<const double> rots() { return {store().ROTS.slotData(1), UVECD_TRIAL_SIZE}; }
  MeasuredPoints measured(bool cd) {
    Store& s = store();
    return cd ? MeasuredPoints{{s.EXPCDX.slotData(2), 10000}, {s.EXPCDY.slotData(2), 10000}, s.CDDATAPTS[2]}
              : MeasuredPoints{{s.EXPUVX.slotData(2), 10000}, {s.EXPUVY.slotData(2), 10000}, s.UVDATAPTS[2]};
  }
};

Builder uvBuilder(std::span<const double> lines, BandShape shape, bool cd) {
  return [=](double width) {
    std::vector<double> band(UVECD_TRIAL_SIZE);
    (cd ? trialCdBand : trialUvBand)(lines, width, shape, band);
    return band;
  };
}

TEST(SimilarityIdentity, UvSearchInBothUnitsAndShapes) {
  struct Case {
    bool wavenumber;
    BandShape shape;
    const char* from;
    const char* to;
    const char* low;
    const char* high;
    const char* widthTo;
  };
  // Wavelength: shifts up to +100 at 190 nm read bins below the grid.
  // Wavenumber: the low edge 5000 1/cm reads bins beyond 1100 nm.
  const Case cases[] = {{false, BandShape::Gaussian, "-20", "100", "190", "400", "0.2"},
                        {true, BandShape::Lorentzian, "0.95", "1.05", "53000", "5000", "0.15"}};
  for (const Case& c : cases) {
    UvEcdSession ui;
    ui.act([&] {
      (c.shape == BandShape::Gaussian ? Form2->RadioButton3 : Form2->RadioButton4)->SetChecked(true);
      (c.wavenumber ? Form2->RadioButton6 : Form2->RadioButton5)->SetChecked(true);
    });
    ui.menu(Form1->Determinesigma1);
    ui.type(c.wavenumber ? Form9->Edit7 : Form9->Edit1, c.from);
    ui.type(c.wavenumber ? Form9->Edit8 : Form9->Edit2, c.to);
    ui.type(c.wavenumber ? Form9->Edit9 : Form9->Edit5, c.low);
    ui.type(c.wavenumber ? Form9->Edit10 : Form9->Edit6, c.high);
    ui.type(Form9->Edit4, c.widthTo);
    const int X1 = StrToInt(c.low), X2 = StrToInt(c.high);
    const UvEcdMode mode = c.wavenumber ? UvEcdMode::Wavenumber : UvEcdMode::Wavelength;
    const IndexRule form = c.wavenumber ? IndexRule::Scale : IndexRule::Shift;
    const double expMax = *EXPUVMAX(ui.measured(false), mode, X1, X2);
    ASSERT_LT(expMax, 10);

    const Reference reference = overlapReference(uvBuilder(ui.osc(), c.shape, false), 1000, ui.uv, form, X1, X2,
                                                 StrToFloat(c.from), StrToFloat(c.to), 0.1, StrToFloat(c.widthTo),
                                                 0.01, expMax);
    std::vector<TrialRecord> trials;
    const OverlapSearchResult program =
        searchUv({ui.osc(), c.shape}, mode, ui.measured(false),
                 {X1, X2, StrToFloat(c.from), StrToFloat(c.to), 0.1, StrToFloat(c.widthTo)}, expMax, &trials);
    expectSameTrials(trials, reference.trials);
    // The measured curve is in relative units: trials divide their band.
    EXPECT_TRUE(std::any_of(trials.begin(), trials.end(), [](const TrialRecord& t) { return t.computedMaximum == 1; }));
    expectSameBest(program.smallestCrossSection, reference.best1);
    expectSameBest(program.bestFactor, reference.best2);
    ASSERT_TRUE(reference.best1);

    ui.click(Form9->Button1);
    const BestValue cross = *reference.best1, factor = *reference.best2;
    const std::string position = c.wavenumber ? general(cross.position) : FloatToStrWhole(cross.position);
    EXPECT_EQ(Form1->Edit2->Text(), position);
    EXPECT_EQ(Form1->Edit3->Text(), general(cross.width));
    const Lines memo = from(Form9->Memo1->Lines(), "Experimental UV is given in relative units");
    ASSERT_GE(memo.size(), 7u);
    const std::string word = c.shape == BandShape::Gaussian ? "sigma" : "gamma";
    const std::string setting = c.wavenumber ? " eV with an xscale factor of " + general(factor.position)
                                             : " eV at " + FloatToStrWhole(factor.position) + " nm shift";
    EXPECT_EQ(memo[2], "Best Similarity factor (S = " + FloatToStrF(factor.value, 4) + ") was found for " + word +
                           " = " + general(factor.width) + setting);

    // The final computation reads the written-back texts.
    std::vector<double> band = uvBuilder(ui.osc(), c.shape, false)(StrToFloat(Form1->Edit3->Text()));
    const double finalPosition = StrToFloat(Form1->Edit2->Text());
    const auto [first, last] = range(form, X1, X2, finalPosition);
    double calc = scan(band, 1000, first, last, false);
    // The printed factor takes the band as the main window shows it, without
    // the trial band's division and with its 1 / WZPI, to the measured curve.
    const double shownFactor = expMax / calc * WZPI;
    if (calc / expMax > 100) {
      for (double& v : band) v = v / calc;
      calc = 1;
    }
    const Pair finalValues = overlap(band, 1000, ui.uv, form, X1, X2, expMax / calc, finalPosition);
    EXPECT_EQ(memo[5], "Similarity factor S (UV-spectrum) = " + FloatToStrF(*finalValues.b, 4));
    EXPECT_EQ(memo[6], (c.wavenumber ? "Scaling factor epsilon = " : "Scaling factor for calculated UV = ") +
                           FloatToStrF(shownFactor, 4));
  }
}

TEST(SimilarityIdentity, EcdFineTuningInBothUnitsAndShapes) {
  for (bool wavenumber : {false, true}) {
    UvEcdSession ui;
    const BandShape shape = wavenumber ? BandShape::Lorentzian : BandShape::Gaussian;
    ui.act([&] {
      (wavenumber ? Form2->RadioButton4 : Form2->RadioButton3)->SetChecked(true);
      (wavenumber ? Form2->RadioButton6 : Form2->RadioButton5)->SetChecked(true);
    });
    ui.menu(Form1->Determinesigma1);
    ui.type(Form9->Edit4, "0.2");
    if (wavenumber) ui.type(Form9->Edit10, "5000");
    const int X1 = wavenumber ? 50000 : 200, X2 = wavenumber ? 5000 : 400;
    const UvEcdMode mode = wavenumber ? UvEcdMode::Wavenumber : UvEcdMode::Wavelength;
    const double expMax =
        *EXPCDMAX(ui.measured(true), wavenumber ? EcdMaximumRule::WavenumberEcdRun : EcdMaximumRule::Wavelength, X1, X2);
    const double posFrom = wavenumber ? 0.95 : -30, posTo = wavenumber ? 1.05 : 30;
    const Reference reference =
        fineTuningReference(uvBuilder(ui.rots(), shape, true), 1000, ui.cd, wavenumber ? IndexRule::Scale : IndexRule::Shift, X1,
                            X2, posFrom, posTo, 0.1, 0.2, 0.01, expMax, false, false);
    std::vector<TrialRecord> trials;
    const FineTuningResult program =
        fineTuneEcd({ui.rots(), shape}, mode, ui.measured(true), {X1, X2, posFrom, posTo, 0.1, 0.2}, expMax, false, &trials);
    expectSameTrials(trials, reference.trials);
    expectSameBest(program.bestFactor, reference.best1);
    expectSameBest(program.bestDelta, reference.best2);

    ui.click(Form9->Button3);
    const BestValue delta = *reference.best2;
    EXPECT_EQ(Form1->Edit2->Text(), wavenumber ? general(delta.position) : FloatToStrWhole(delta.position));
    EXPECT_EQ(Form1->Edit3->Text(), general(delta.width));
    const Lines memo = from(Form9->Memo1->Lines(), "Best Delta");
    ASSERT_EQ(memo.size(), 7u);
    EXPECT_EQ(memo[0].substr(0, 24), "Best Delta (ESI = " + FloatToStrF(delta.value, 4));
  }
}

struct IrVcdSession : Session {
  Points ir, vcd;
  IrVcdSession() {
    menu(Form1->New1);
    Store& s = store();
    const double modes[] = {620, 780, 1010, 1240, 1450, 1730};
    const double d[] = {40, 15, 90, 60, 25, 120};
    const double r[] = {3, -8, 12, -5, 7, -10};
    for (int k = 0; k < 6; ++k) {
      s.IR(k, 1, 1) = s.VCD(k, 1, 1) = modes[k];
      s.IR(k, 2, 1) = d[k];
      s.VCD(k, 2, 1) = r[k];
    }
    s.IRACTIVE[1] = s.VCDACTIVE[1] = "calc";
    ir = measured(false);
    vcd = measured(true);
  }
  Points measured(bool vcdKind) {
    Store& s = store();
    Points p{{0}, {0}};
    int point = 0;
    for (double w = 2400; w >= 300; w -= 1.5) {
      ++point;
      double y = 0;
      const double centres[] = {640, 1000, 1260, 1700};
      for (int k = 0; k < 4; ++k) y += (vcdKind && k % 2 ? -1 : 1) / (1 + std::pow((w - centres[k]) / 9, 2));
      y *= vcdKind ? 0.004 : 0.8;  // relative units for IR, small VCD
      (vcdKind ? s.EXPVCDX : s.EXPIRX)(point, 2) = w;
      (vcdKind ? s.EXPVCDY : s.EXPIRY)(point, 2) = y;
      p.x.push_back(w);
      p.y.push_back(y);
    }
    (vcdKind ? s.VCDDATAPTS : s.IRDATAPTS)[2] = point;
    (vcdKind ? s.VCDACTIVE : s.IRACTIVE)[2] = "exp";
    return p;
  }
  IrVcdLines lines(bool vcdKind) {
    LineGrid& grid = vcdKind ? store().VCD : store().IR;
    return {{grid.columnData(1, 1), IRVCD_TRIAL_SIZE}, {grid.columnData(2, 1), IRVCD_TRIAL_SIZE}};
  }
  MeasuredPoints points(bool vcdKind) {
    Store& s = store();
    return vcdKind ? MeasuredPoints{{s.EXPVCDX.slotData(2), 10000}, {s.EXPVCDY.slotData(2), 10000}, s.VCDDATAPTS[2]}
                   : MeasuredPoints{{s.EXPIRX.slotData(2), 10000}, {s.EXPIRY.slotData(2), 10000}, s.IRDATAPTS[2]};
  }
};

Builder irBuilder(IrVcdLines lines, bool vcd) {
  return [=](double gamma) {
    std::vector<double> band(IRVCD_TRIAL_SIZE);
    (vcd ? trialVcdBand : trialIrBand)(lines.wavenumbers, lines.strengths, gamma, band);
    return band;
  };
}

TEST(SimilarityIdentity, IrSearchAndVcdFineTuning) {
  IrVcdSession ui;
  ui.type(Form12->Edit4, "6");
  ui.type(Form12->Edit1, "0.3");  // x scales below 0.5 read beyond the grid
  const int X1 = 500, X2 = 2000;
  const double irMax = *EXPIRMAX(ui.points(false), X1, X2);
  ASSERT_LT(irMax, 10);
  const Reference irReference = overlapReference(irBuilder(ui.lines(false), false), 0, ui.ir, IndexRule::Ir, X1, X2, 0.3,
                                                 1.1, 2, 6, 1, irMax);
  std::vector<TrialRecord> trials;
  const OverlapSearchResult ir = searchIr(ui.lines(false), ui.points(false), {X1, X2, 0.3, 1.1, 2, 6}, irMax, &trials);
  expectSameTrials(trials, irReference.trials);
  EXPECT_TRUE(std::any_of(trials.begin(), trials.end(), [](const TrialRecord& t) { return t.computedMaximum == 1; }));
  expectSameBest(ir.smallestCrossSection, irReference.best1);
  expectSameBest(ir.bestFactor, irReference.best2);

  ui.click(Form12->Button1);
  EXPECT_EQ(Form1->Edit26->Text(), general(irReference.best1->position));
  EXPECT_EQ(Form1->Edit17->Text(), general(irReference.best1->width));
  const Lines memo = Form12->Memo1->Lines();
  ASSERT_GE(memo.size(), 5u);
  EXPECT_EQ(memo[4], "Smallest cross section was found for gamma = " + general(irReference.best1->width) +
                         " cm**-1 at a a scaling factor of " + general(irReference.best1->position));

  const double vcdMax = *EXPVCDMAX(ui.points(true), X1, X2);
  for (bool mirror : {false, true}) {
    const Reference vcdReference = fineTuningReference(irBuilder(ui.lines(true), true), 0, ui.vcd, IndexRule::Ir, X1, X2,
                                                       0.3, 1.1, 2, 6, 1, vcdMax, true, mirror);
    trials.clear();
    const FineTuningResult vcd =
        fineTuneVcd(ui.lines(true), ui.points(true), {X1, X2, 0.3, 1.1, 2, 6}, vcdMax, mirror, &trials);
    expectSameTrials(trials, vcdReference.trials);
    expectSameBest(vcd.bestFactor, vcdReference.best1);
    expectSameBest(vcd.bestDelta, vcdReference.best2);
  }
  ui.click(Form12->Button3);
  const Reference vcdReference = fineTuningReference(irBuilder(ui.lines(true), true), 0, ui.vcd, IndexRule::Ir, X1, X2, 0.3,
                                                     1.1, 2, 6, 1, vcdMax, true, false);
  EXPECT_EQ(Form1->Edit26->Text(), general(vcdReference.best2->position));
  EXPECT_EQ(Form12->Memo1->Lines()[2], "Best Delta (ESI = " + FloatToStrF(vcdReference.best2->value, 4) +
                                           ") was found for gamma =" + general(vcdReference.best2->width) +
                                           " cm**-1 at a scaling factor of " + general(vcdReference.best2->position));
}

}  // namespace
