// The similarity windows write back only what they found, score only where
// both curves have signal, and name every edit they change.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/Main.h"
#include "platform/numbers.h"
#include "platform/testing/session.h"
#include "settings/settings.h"
#include "similarity/kernel_core.h"
#include "similarity/kernels.h"
#include "similarity/search.h"
#include "similarity/similarity.h"
#include "similarity/similarityvcd.h"
#include "store/Store.h"

namespace {

using Lines = std::vector<std::string>;

const char* const NO_UV_SIGNAL = "No UV similarity: the experimental UV data have no signal in the selected range";
const char* const CD_ZERO = "No CD similarity: the calculated CD spectrum is zero in the selected range";
const char* const IR_ZERO = "No IR similarity: the calculated IR spectrum is zero in the selected range";
const char* const VCD_ZERO = "No VCD similarity: the calculated VCD spectrum is zero in the selected range";

bool holds(const Lines& memo, const std::string& line) {
  for (const std::string& l : memo)
    if (l == line) return true;
  return false;
}

// Writes a measured curve (x falling) and loads it into slot 2 with Compare.
void compare(Session& ui, MenuItem* item, const std::string& name, const std::vector<double>& x,
             const std::vector<double>& y) {
  std::string text;
  for (std::size_t k = 0; k < x.size(); ++k) text += FloatToStrE(x[k], 17) + "\t" + FloatToStrE(y[k], 17) + "\r\n";
  const std::string path = ui.path(name);
  writeTextFile(path, text);
  ui.willChooseFile(path);
  ui.menu(item);
}

// Measured UV and CD curves: slot 1's bands as the main window draws them at
// band width `sigma` and shift `shift` (the band value of lambda at lambda +
// shift), every 0.1 nm from `fromNm` down to 150 nm. The main window then goes
// back to 0.16 eV and no shift, and the similarity window opens.
void compareAtShift(Session& ui, const char* sigma, int shift, int fromNm) {
  ui.type(Form1->Edit3, sigma);
  Store& s = ui.store();
  std::vector<double> x, uv, cd;
  for (int tenth = 10 * fromNm; tenth >= 1500; --tenth) {
    x.push_back(tenth / 10.0);
    uv.push_back(s.ABSG(tenth - 10 * shift, 1));
    cd.push_back(s.EPS(tenth - 10 * shift, 1));
  }
  compare(ui, Form1->xyFile1, "measured.uv.exp.xy", x, uv);
  if (s.CDACTIVE[1] == "calc") compare(ui, Form1->BilFile1, "measured.cd.exp.xy", x, cd);
  ui.type(Form1->Edit3, "0.16");
  ui.type(Form1->Edit2, "0");
  ui.menu(Form1->Determinesigma1);
}

// The window's edits of one run, in the order the run reads them.
struct UvTexts {
  const char* rangeFrom = "190";
  const char* rangeTo = "300";
  const char* shiftFrom = "-30";
  const char* shiftTo = "+30";
  const char* widthFrom = "0.1";
  const char* widthTo = "0.3";
};

void typeUv(Session& ui, const UvTexts& t) {
  ui.type(Form9->Edit5, t.rangeFrom);
  ui.type(Form9->Edit6, t.rangeTo);
  ui.type(Form9->Edit1, t.shiftFrom);
  ui.type(Form9->Edit2, t.shiftTo);
  ui.type(Form9->Edit3, t.widthFrom);
  ui.type(Form9->Edit4, t.widthTo);
}

// Ethyl acetate (HF/3-21G): its n-pi* band at 232 nm is 1.4 % of the band at
// 145 nm. The measured curves are its bands at sigma 0.25 eV and shift 8 nm,
// 600 to 150 nm. After the good fit, every run that finds nothing must leave
// the main window at that fit.
TEST(SimilaritySignal, UvRunsOnARealOutputWriteBackOnlyWhatTheyFound) {
  Session ui;
  const std::string path = corpus("gaussian/uv_ecd/g09_tesliper_acoet-td.out");
  if (path.empty()) GTEST_SKIP() << "corpus absent";
  ui.willChooseFile(path);
  ui.menu(Form1->Open1);
  ASSERT_EQ(ui.store().UVACTIVE[1], "calc");
  ASSERT_EQ(ui.store().CDACTIVE[1], "calc");
  compareAtShift(ui, "0.25", 8, 600);

  struct Row {
    const char* what;
    UvTexts texts;
    Button* TForm9::*button;
    std::function<void(const Lines&)> check;
  };
  auto exactly = [](Lines expected) { return [expected](const Lines& memo) { EXPECT_EQ(memo, expected); }; };
  auto beginsWith = [](Lines expected) {
    return [expected](const Lines& memo) {
      ASSERT_GE(memo.size(), expected.size());
      EXPECT_EQ(Lines(memo.begin(), memo.begin() + static_cast<long>(expected.size())), expected);
    };
  };
  const Lines goodFit{
      "",
      "Best Similarity factor (S = 1.0000) was found for sigma = 0.25 eV at 8 nm shift",
      "Smallest cross section  was found for sigma = 0.25 eV at a shift of 8 nm",
      "",
      "Similarity factor S (UV-spectrum) = 1.0000",
  };
  const std::vector<Row> rows = {
      {"the good fit", {}, &TForm9::Button1,
       [&](const Lines& memo) {
         beginsWith(goodFit)(memo);
         EXPECT_TRUE(holds(memo, "Similarity factor S (ECD-spectrum) = 1.0000"));
       }},
      {"band width 0 / -1, shift 10 / -10", {"190", "300", "10", "-10", "0", "-1"}, &TForm9::Button1,
       exactly({"shift range from: \"10\" is above shift range to, -10 is used",
                "band width from: \"0\" is refused, a band width must be above 0"})},
      {"band width -1 in the second edit, fine tuning", {"190", "300", "-30", "+30", "0.2", "-1"}, &TForm9::Button3,
       exactly({"***    Warning!    ***", "This algorithm intends a finetuning of a preoptimized UV shift only",
                "band width to: \"-1\" is refused, a band width must be above 0"})},
      {"a window of the flat tail only", {"300", "600"}, &TForm9::Button1, exactly({NO_UV_SIGNAL})},
      {"the flat tail, fine tuning", {"300", "600"}, &TForm9::Button3,
       exactly({"***    Warning!    ***", "This algorithm intends a finetuning of a preoptimized UV shift only",
                "No CD similarity: the experimental CD data have no signal in the selected range"})},
      {"a range typed reversed", {"400", "200"}, &TForm9::Button1,
       exactly({"energy range from (nm): \"400\" is above energy range to (nm), 200 is used"})},
      {"a range beyond the bounds", {"150", "1200", "0", "10", "0.25", "0.25"}, &TForm9::Button1,
       beginsWith({"energy range from (nm): \"150\" is below 190, 190 is used",
                   "energy range to (nm): \"1200\" is above 1000, 1000 is used",
                   "", "Experimental UV data do not fit to the selected wavelenght range!", "", "",
                   "Experimental CD data do not fit to the selected wavelenght range!", ""})},
      {"a band width beyond its bound", {"190", "300", "0", "10", "0.2", "1e308"}, &TForm9::Button1,
       beginsWith({"band width to: \"1e308\" is above 0.9, 0.9 is used"})},
      {"a shift beyond its bound", {"190", "300", "-200", "+30", "0.25", "0.25"}, &TForm9::Button1,
       beginsWith({"shift range from: \"-200\" is below -100, -100 is used"})},
      {"a whole number beyond 32 bits", {"190", "300", "-30", "99999999999", "0.25", "0.25"}, &TForm9::Button1,
       beginsWith({"shift range to: \"99999999999\" is out of range, 30 is used"})},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    typeUv(ui, row.texts);
    ui.click(Form9->*row.button);
    row.check(Form9->Memo1->Lines());
    EXPECT_EQ(Form1->Edit2->Text(), "8") << row.what;
    EXPECT_EQ(Form1->Edit3->Text(), "0.25") << row.what;
    EXPECT_TRUE(ui.errorBoxes().empty()) << row.what;
  }
  // What the window's edits hold after the checks named them.
  typeUv(ui, {"190", "300", "10", "-10", "0", "-1"});
  ui.click(Form9->Button1);
  EXPECT_EQ(Form9->Edit1->Text(), "-10");
  EXPECT_EQ(Form9->Edit3->Text(), "0");
  EXPECT_EQ(Form9->Edit4->Text(), "-1");
  typeUv(ui, {"400", "200"});
  ui.click(Form9->Button1);
  EXPECT_EQ(Form9->Edit5->Text(), "200");
}

// A weak band alone in the window, at 0.3 % of the strongest band: a strong
// line at 200 nm and a weak one at 320 nm, drawn at sigma 0.25 eV and 8 nm.
TEST(SimilaritySignal, AWeakBandAloneInTheWindowStillRecoversItsSetting) {
  Session ui;
  ui.willChooseFile(fixture("similarity/weak-band.uv.bil"));
  ui.menu(Form1->Open1);
  Store& s = ui.store();
  ASSERT_EQ(s.UVACTIVE[1], "calc");
  compareAtShift(ui, "0.25", 8, 450);
  ASSERT_EQ(s.UVACTIVE[2], "exp");
  typeUv(ui, {"280", "400"});
  ui.click(Form9->Button1);
  const Lines memo = Form9->Memo1->Lines();
  EXPECT_TRUE(holds(memo, "Smallest cross section  was found for sigma = 0.25 eV at a shift of 8 nm"));
  EXPECT_EQ(Form1->Edit2->Text(), "8");
  EXPECT_EQ(Form1->Edit3->Text(), "0.25");
}

// ---- Flat tails of the computed band --------------------------------------------------
//
// The measured curves are bands of lines far from slot 1's: in the window the
// computed band is only the tail of its lines (below 1e-4 of its peak, not 0).

// UV and CD: slot 1 holds a UV line at 400 nm and a CD line at 250 nm (Gaussian,
// its tail reaches 330 nm with sigma 0.2 to 0.3); slot 2 the bands of lines at
// 400 nm at sigma 0.25.
struct FarCdLine : Session {
  FarCdLine() {
    menu(Form1->New1);
    Store& s = store();
    s.OSC(4000, 1) = 1;
    s.ROTS(2500, 1) = 10;
    s.UVACTIVE[1] = s.CDACTIVE[1] = "calc";
    std::vector<double> uv(UVECD_TRIAL_SIZE), cd(UVECD_TRIAL_SIZE), measuredLines(UVECD_TRIAL_SIZE, 0.0);
    measuredLines[4000 - TRIAL_FIRST_BIN] = 10;
    trialUvBand({s.OSC.slotData(1), UVECD_TRIAL_SIZE}, 0.25, BandShape::Gaussian, uv);
    trialCdBand(measuredLines, 0.25, BandShape::Gaussian, cd);
    int point = 0;
    for (int nm = 500; nm >= 300; --nm) {
      ++point;
      s.EXPUVX(point, 2) = s.EXPCDX(point, 2) = nm;
      s.EXPUVY(point, 2) = uv[nm * 10 - TRIAL_FIRST_BIN];
      s.EXPCDY(point, 2) = cd[nm * 10 - TRIAL_FIRST_BIN];
    }
    s.UVDATAPTS[2] = s.CDDATAPTS[2] = point;
    s.UVACTIVE[2] = s.CDACTIVE[2] = "exp";
    menu(Form1->Determinesigma1);
    typeUv(*this, {"360", "450", "-30", "+30", "0.2", "0.3"});
  }
};

// IR and VCD: slot 1 holds an IR line at 3500 1/cm and VCD lines at 500 and
// 600 1/cm; slot 2 the bands of lines at 3500 1/cm at gamma 3. The window
// 3000-4000 1/cm with x scales 0.9 to 1.1 and gamma 2 to 4 sees only the
// Lorentzian tails of the VCD lines.
struct FarVcdLines : Session {
  explicit FarVcdLines(double irLine = 3500) {
    menu(Form1->New1);
    Store& s = store();
    s.IR(0, 1, 1) = irLine;
    s.IR(0, 2, 1) = 100;
    s.VCD(0, 1, 1) = 500;
    s.VCD(0, 2, 1) = 5;
    s.VCD(1, 1, 1) = 600;
    s.VCD(1, 2, 1) = -5;
    s.IRACTIVE[1] = s.VCDACTIVE[1] = "calc";
    const std::vector<double> at3500{3500}, strength{100}, rotation{5};
    std::vector<double> ir(IRVCD_TRIAL_SIZE), vcd(IRVCD_TRIAL_SIZE);
    trialIrBand(at3500, strength, 3, ir);
    trialVcdBand(at3500, rotation, 3, vcd);
    int point = 0;
    for (int w = 4000; w >= 2500; --w) {
      ++point;
      s.EXPIRX(point, 2) = s.EXPVCDX(point, 2) = w;
      s.EXPIRY(point, 2) = ir[w];
      s.EXPVCDY(point, 2) = vcd[w];
    }
    s.IRDATAPTS[2] = s.VCDDATAPTS[2] = point;
    s.IRACTIVE[2] = s.VCDACTIVE[2] = "exp";
    menu(Form1->Determinesigma1);
    for (auto [edit, text] : {std::pair{Form12->Edit5, "3000"}, {Form12->Edit6, "4000"}, {Form12->Edit1, "0.9"},
                              {Form12->Edit2, "1.1"}, {Form12->Edit3, "2"}, {Form12->Edit4, "4"}})
      type(edit, text);
  }
};

const Lines ECD_WARNING{"***    Warning!    ***", "This algorithm intends a finetuning of a preoptimized UV shift only"};
const Lines VCD_WARNING{"***    Warning!  ***",
                        "This algorithm intends a finetuning of a preoptimized scaling factor only"};

Lines with(Lines lines, const Lines& more) {
  lines.insert(lines.end(), more.begin(), more.end());
  return lines;
}

TEST(SimilaritySignal, AFlatComputedTailGivesNoFactorAndWritesNothingBack) {
  struct Row {
    const char* what;
    std::function<std::unique_ptr<Session>()> start;
    std::function<Button*()> button;
    std::function<Memo*()> memo;
    Lines expected;  // whole memo, or its last lines when `tail`
    bool tail;
    const char* edits[2];  // the main window's position and band width edits after the run
    std::function<Edit*()> positionEdit, widthEdit;
  };
  auto uvEdit = [] { return Form1->Edit2; };
  auto sigmaEdit = [] { return Form1->Edit3; };
  auto scaleEdit = [] { return Form1->Edit26; };
  auto gammaEdit = [] { return Form1->Edit17; };
  const std::vector<Row> rows = {
      {"'ECD' fine tuning", [] { return std::make_unique<FarCdLine>(); }, [] { return Form9->Button3; },
       [] { return Form9->Memo1; }, with(ECD_WARNING, {CD_ZERO}), false, {"0", "0.16"}, uvEdit, sigmaEdit},
      {"the ECD score of a 'UV' run", [] { return std::make_unique<FarCdLine>(); }, [] { return Form9->Button1; },
       [] { return Form9->Memo1; }, {"", CD_ZERO, ""}, true, {"0", "0.25"}, uvEdit, sigmaEdit},
      {"'IR' search", [] { return std::make_unique<FarVcdLines>(500); }, [] { return Form12->Button1; },
       [] { return Form12->Memo1; }, {IR_ZERO}, false, {"1.0", "4"}, scaleEdit, gammaEdit},
      {"'IR' search on small measured values: no normalising lines without a factor",
       [] {
         auto ui = std::make_unique<FarVcdLines>(500);
         for (int p = 1; p <= ui->store().IRDATAPTS[2]; ++p) ui->store().EXPIRY(p, 2) /= 1000;
         return ui;
       },
       [] { return Form12->Button1; }, [] { return Form12->Memo1; }, {IR_ZERO}, false, {"1.0", "4"}, scaleEdit,
       gammaEdit},
      {"'IR' without a search",
       [] {
         auto ui = std::make_unique<FarVcdLines>(500);
         for (auto [edit, text] : {std::pair{Form12->Edit1, "1.0"}, {Form12->Edit2, "1.0"}, {Form12->Edit3, "3"},
                                   {Form12->Edit4, "3"}})
           ui->type(edit, text);
         return ui;
       },
       // Without an IR factor nothing is written back, so the VCD is not scored.
       [] { return Form12->Button1; }, [] { return Form12->Memo1; },
       {"", IR_ZERO, "", "No VCD similarity: the final IR result gave no factor, so its setting was not written back", ""},
       false,
       {"1.0", "4"}, scaleEdit, gammaEdit},
      {"the VCD score of an 'IR' run", [] { return std::make_unique<FarVcdLines>(); },
       [] { return Form12->Button1; }, [] { return Form12->Memo1; }, {"", VCD_ZERO, ""}, true, {"1", "3"},
       scaleEdit, gammaEdit},
      {"'VCD' fine tuning", [] { return std::make_unique<FarVcdLines>(); }, [] { return Form12->Button3; },
       [] { return Form12->Memo1; }, with(VCD_WARNING, {VCD_ZERO}), false, {"1.0", "4"}, scaleEdit, gammaEdit},
  };
  for (const Row& row : rows) {
    const std::unique_ptr<Session> ui = row.start();
    ui->click(row.button());
    const Lines memo = row.memo()->Lines();
    if (row.tail) {
      ASSERT_GE(memo.size(), row.expected.size()) << row.what;
      EXPECT_EQ(Lines(memo.end() - static_cast<long>(row.expected.size()), memo.end()), row.expected) << row.what;
    } else {
      EXPECT_EQ(memo, row.expected) << row.what;
    }
    EXPECT_EQ(row.positionEdit()->Text(), row.edits[0]) << row.what;
    EXPECT_EQ(row.widthEdit()->Text(), row.edits[1]) << row.what;
    EXPECT_TRUE(ui->errorBoxes().empty()) << row.what;
  }
}

// IR edits that the bounds, the order rule or the band-width rule change.
TEST(SimilaritySignal, IrEditsThatAreChangedAreNamed) {
  struct Row {
    const char* what;
    std::vector<std::pair<Edit* TForm12::*, const char*>> typed;
    Lines expected;  // the memo's first lines
    bool ends;       // the run ends after them
  };
  const std::vector<Row> rows = {
      {"range 2000 / 500",
       {{&TForm12::Edit5, "2000"}, {&TForm12::Edit6, "500"}},
       {"wavenumber from: \"2000\" is above wavenumber to, 500 is used"}, true},
      {"band width 0 / -3",
       {{&TForm12::Edit3, "0"}, {&TForm12::Edit4, "-3"}},
       {"band width from: \"0\" is refused, a band width must be above 0"}, true},
      {"scaling to 1e9",
       {{&TForm12::Edit2, "1e9"}, {&TForm12::Edit3, "3"}, {&TForm12::Edit4, "3"}},
       {"scaling to: \"1e9\" is above 2.0, 2.0 is used"}, false},
      {"band width 5 / 3",
       {{&TForm12::Edit3, "5"}, {&TForm12::Edit4, "3"}},
       {"band width from: \"5\" is above band width to, 3 is used"}, false},
  };
  for (const Row& row : rows) {
    FarVcdLines ui;
    for (const auto& [edit, text] : row.typed) ui.type(Form12->*edit, text);
    ui.click(Form12->Button1);
    const Lines memo = Form12->Memo1->Lines();
    if (row.ends) {
      EXPECT_EQ(memo, row.expected) << row.what;
      EXPECT_EQ(Form1->Edit17->Text(), "4") << row.what;
    } else {
      ASSERT_GT(memo.size(), row.expected.size()) << row.what;
      EXPECT_EQ(Lines(memo.begin(), memo.begin() + static_cast<long>(row.expected.size())), row.expected) << row.what;
      EXPECT_EQ(Form1->Edit17->Text(), "3") << row.what;
    }
    EXPECT_TRUE(ui.errorBoxes().empty()) << row.what;
  }
}

// The computed side's test on its own: a band whose signal lies between 1200
// and 1205 (1e-4 of its peak and more), points in falling order or not.
TEST(SimilaritySignal, TheBandCountsOnlyWhereTheKernelsCompareIt) {
  using namespace similarity_core;
  std::vector<double> band(100, 1e-9);
  band[50] = 1;      // index 1050 with the grid starting at 1000
  band[55] = 1e-4;   // exactly the floor: counts
  band[60] = 0.99e-4;
  const Grid grid{band, 1000};
  const BandSignal signal = bandSignal(grid, SIGNAL_FRACTION);
  EXPECT_EQ(signal.first, 1050);
  EXPECT_EQ(signal.last, 1055);
  struct Row {
    std::vector<double> x;  // shift form: index 10 x
    bool reaches;
  };
  const std::vector<Row> rows = {
      {{109, 108, 107, 106, 105.5, 104}, true},   // falling, 105.5 meets the floor
      {{109, 106, 105, 104}, true},               // the peak
      {{109, 107, 106, 104, 103}, false},         // 1060 is below the floor, the peak falls between points
      {{104, 106, 105.5, 109}, true},             // out of order
      {{}, false},
  };
  for (const Row& row : rows) {
    const std::vector<double> y(row.x.size(), 1.0);
    const MeasuredPoints measured{row.x, y, static_cast<int>(row.x.size())};
    const PreparedPoints points = prepare(measured, IndexForm::Shift);
    const PointRun run{0, static_cast<int>(row.x.size()), true};
    EXPECT_EQ(comparedValuesReach(grid, points, run, 0, signal), row.reaches) << row.x.size();
  }
  EXPECT_FALSE(comparedValuesReach({std::vector<double>(10, 0.0), 1000}, prepare({}, IndexForm::Shift), {}, 0,
                                   bandSignal({std::vector<double>(10, 0.0), 1000}, SIGNAL_FRACTION)));
}

}  // namespace
