// The two similarity windows as a person uses them: input checks, searches,
// memo transcripts and the values written back into the main window.
#include <gtest/gtest.h>

#include <functional>
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

namespace {

using Lines = std::vector<std::string>;

// Slot 1 holds one UV line and one ECD line at 250 nm; slot 2 the trial bands
// themselves at sigma 0.1 and shift 0, sampled every nm from 400 to 200 nm: a
// perfect match at the first band width of the default range.
struct UvEcdPair : Session {
  explicit UvEcdPair(double cdSign = 1.0, bool withCd = true) {
    menu(Form1->New1);
    Store& s = store();
    s.OSC(2500, 1) = 1;
    s.ROTS(2500, 1) = 10;
    s.UVACTIVE[1] = "calc";
    s.CDACTIVE[1] = "calc";
    std::vector<double> uv(UVECD_TRIAL_SIZE), cd(UVECD_TRIAL_SIZE);
    trialUvBand({s.OSC.slotData(1), UVECD_TRIAL_SIZE}, 0.1, BandShape::Gaussian, uv);
    trialCdBand({s.ROTS.slotData(1), UVECD_TRIAL_SIZE}, 0.1, BandShape::Gaussian, cd);
    int point = 0;
    for (int nm = 400; nm >= 200; --nm) {
      ++point;
      s.EXPUVX(point, 2) = s.EXPCDX(point, 2) = nm;
      s.EXPUVY(point, 2) = uv[nm * 10 - 1000];
      s.EXPCDY(point, 2) = cdSign * cd[nm * 10 - 1000];
    }
    s.UVDATAPTS[2] = s.CDDATAPTS[2] = point;
    s.UVACTIVE[2] = "exp";
    s.CDACTIVE[2] = withCd ? "exp" : "false";
    menu(Form1->Determinesigma1);
  }
  Lines memo() const { return Form9->Memo1->Lines(); }
};

const Lines PERFECT_UV_WAVELENGTH{
    "",
    "Best Similarity factor (S = 1.0000) was found for sigma = 0.1 eV at 0 nm shift",
    "Smallest cross section  was found for sigma = 0.1 eV at a shift of 0 nm",
    "",
    "Similarity factor S (UV-spectrum) = 1.0000",
    "Scaling factor for calculated UV = 1.0000",
    "",
    "Similarity factor S (ECD-spectrum) = 1.0000",
    "Similarity factor S (enantiomeric ECD-spectrum) = 0.0000",
    "Delta value: 1.0000",
    "Scaling factor (ECD-spectrum) = 1.0000",
    "",
};

TEST(UvSimilarity, FindsThePerfectMatchAndWritesItBack) {
  UvEcdPair ui;
  ui.click(Form9->Button1);
  EXPECT_EQ(ui.memo(), PERFECT_UV_WAVELENGTH);
  EXPECT_EQ(Form1->Edit2->Text(), "0");
  EXPECT_EQ(Form1->Edit3->Text(), "0.1");
  EXPECT_TRUE(ui.errorBoxes().empty());
}

TEST(UvSimilarity, KeepsACrossSectionOfZeroAgainstLaterTrials) {
  UvEcdPair ui;
  Store& s = ui.store();
  std::vector<TrialRecord> trials;
  const OverlapSearchResult result =
      searchUv({{s.OSC.slotData(1), UVECD_TRIAL_SIZE}, BandShape::Gaussian}, UvEcdMode::Wavelength,
               {{s.EXPUVX.slotData(2), 201}, {s.EXPUVY.slotData(2), 201}, 201}, {200, 400, -30, 30, 0.1, 0.3},
               s.EXPUVY(151, 2), &trials);
  ASSERT_TRUE(result.smallestCrossSection);
  EXPECT_EQ(result.smallestCrossSection->value, 0.0);
  EXPECT_EQ(result.smallestCrossSection->width, 0.1);
  EXPECT_EQ(result.smallestCrossSection->position, 0.0);
  // 20 band widths (the accumulated 0.30000000000000016 is past 0.3) of 61 shifts.
  EXPECT_EQ(trials.size(), 20u * 61u);
  EXPECT_NEAR(trials.back().width, 0.29, 1e-12);
}

TEST(UvSimilarity, TranscriptsOfTheOtherPaths) {
  struct Row {
    const char* what;
    std::function<void(UvEcdPair&)> prepare;
    Lines memo;
    const char* edit2;
    const char* edit3;
  };
  const std::vector<Row> rows = {
      {"no search: only the final lines",
       [](UvEcdPair& ui) {
         ui.type(Form9->Edit1, "0");
         ui.type(Form9->Edit2, "0");
         ui.type(Form9->Edit3, "0.1");
         ui.type(Form9->Edit4, "0.1");
       },
       Lines(PERFECT_UV_WAVELENGTH.begin() + 3, PERFECT_UV_WAVELENGTH.end()), "0", "0.1"},
      {"no ECD pair",
       [](UvEcdPair& ui) { ui.store().CDACTIVE[2] = "false"; },
       [] {
         Lines lines{"Skipping calculation of ECD similarity"};
         lines.insert(lines.end(), PERFECT_UV_WAVELENGTH.begin(), PERFECT_UV_WAVELENGTH.begin() + 6);
         return lines;
       }(),
       "0", "0.1"},
      {"measured UV all zero",
       [](UvEcdPair& ui) {
         for (int p = 1; p <= 201; ++p) ui.store().EXPUVY(p, 2) = 0;
       },
       {"No UV similarity: the experimental UV data have no signal in the selected range"}, "0", "0.16"},
      {"empty window",
       [](UvEcdPair& ui) {
         ui.type(Form9->Edit5, "300");
         ui.type(Form9->Edit6, "250");
       },
       {"No UV similarity could be calculated for the selected ranges"}, "0", "0.16"},
      {"empty slot 2",
       [](UvEcdPair& ui) { ui.store().UVDATAPTS[2] = 0; },
       {"", "Experimental UV data do not fit to the selected wavelenght range!", "",
        "No UV similarity: the experimental UV data have no signal in the selected range"},
       "0", "0.16"},
      {"window beyond the measured curve",
       [](UvEcdPair& ui) { ui.type(Form9->Edit6, "450"); },
       [] {
         Lines lines{"", "Experimental UV data do not fit to the selected wavelenght range!", "", "",
                     "Experimental CD data do not fit to the selected wavelenght range!", ""};
         lines.insert(lines.end(), PERFECT_UV_WAVELENGTH.begin(), PERFECT_UV_WAVELENGTH.end());
         return lines;
       }(),
       "0", "0.1"},
  };
  for (const Row& row : rows) {
    UvEcdPair ui;
    row.prepare(ui);
    ui.click(Form9->Button1);
    EXPECT_EQ(ui.memo(), row.memo) << row.what;
    EXPECT_EQ(Form1->Edit2->Text(), row.edit2) << row.what;
    EXPECT_EQ(Form1->Edit3->Text(), row.edit3) << row.what;
    EXPECT_TRUE(ui.errorBoxes().empty()) << row.what;
  }
}

TEST(UvSimilarity, EditsFallBackAndClamp) {
  struct Row {
    Edit* TForm9::*first;
    Edit* TForm9::*second;
    const char* typedFirst;
    const char* typedSecond;
    const char* first_after;
    const char* second_after;
  };
  const Row rows[] = {
      {&TForm9::Edit5, &TForm9::Edit6, "abc", "1050", "200", "1050"},   // clamps wait for the next run
      {&TForm9::Edit5, &TForm9::Edit6, "600", "400", "400", "400"},
      {&TForm9::Edit5, &TForm9::Edit6, "150", "1200", "190", "1000"},
      {&TForm9::Edit3, &TForm9::Edit4, "0.1", "x", "0.1", "0.16"},
      {&TForm9::Edit3, &TForm9::Edit4, "0.001", "2", "0.01", "0.9"},
      {&TForm9::Edit1, &TForm9::Edit2, "4.5", "+30", "-30", "+30"},     // a whole-number edit refuses 4.5
      {&TForm9::Edit1, &TForm9::Edit2, "-200", "200", "-100", "100"},
  };
  for (const Row& row : rows) {
    UvEcdPair ui;
    Edit* first = Form9->*row.first;
    Edit* second = Form9->*row.second;
    ui.type(first, row.typedFirst);
    ui.type(second, row.typedSecond);
    ui.click(Form9->Button3);
    EXPECT_EQ(first->Text(), row.first_after) << row.typedFirst << " " << row.typedSecond;
    EXPECT_EQ(second->Text(), row.second_after) << row.typedFirst << " " << row.typedSecond;
    EXPECT_TRUE(ui.errorBoxes().empty());
  }
}

TEST(UvSimilarity, WavenumberUnitUsesTheDisplaysXScale) {
  UvEcdPair ui;
  ui.act([] { Form2->RadioButton6->SetChecked(true); });
  ui.menu(Form1->Determinesigma1);
  ui.type(Form9->Edit10, "25000");
  ui.click(Form9->Button1);
  const Lines expected{
      "",
      "Best Similarity factor (S = 1.0000) was found for sigma = 0.1 eV with an xscale factor of 1",
      "Smallest cross section  was found for sigma = 0.1 eV with an xscale factor of 1",
      "",
      "Similarity factor S (UV-spectrum) = 1.0000",
      "Scaling factor epsilon = 1.0000",
      "",
      "Similarity factor S (ECD-spectrum) = 1.0000",
      "Similarity factor S (enantiomeric ECD-spectrum) = 0.0000",
      "Delta value: 1.0000",
      "Scaling factor delta_epsilon = 1.0000",
      "",
  };
  EXPECT_EQ(ui.memo(), expected);
  EXPECT_EQ(Form1->Edit2->Text(), "1");
  EXPECT_EQ(Form1->Edit3->Text(), "0.1");
}

TEST(UvSimilarity, LorentzianWordsAndTheFineTuning) {
  UvEcdPair ui;
  ui.click(Form9->Button3);
  EXPECT_EQ(ui.memo(), (Lines{
                           "***    Warning!    ***",
                           "This algorithm intends a finetuning of a preoptimized UV shift only",
                           "Best Delta (ESI = 1.0000) was found for sigma =0.1 eV at 0 nm shift",
                           "Best Similarity factor (S = 1.0000) was found for sigma =0.1 eV at 0 nm shift",
                           "",
                           "Similarity factor  = 1.0000",
                           "Similarity factor Enantiomer  = 0.0000",
                           "Delta value: 1.0000",
                           "Scaling factor for calculated ECD spectrum: 1.0000",
                       }));
  EXPECT_EQ(Form1->Edit3->Text(), "0.1");

  // With the mirror image measured and "enantiomeric ECD" ticked alone, the
  // tracked factor is the mirror image's; with both ticked it is the plain one.
  UvEcdPair mirrored(-1.0);
  mirrored.act([] {
    Form1->CheckBox2->SetChecked(true);
    Form1->CheckBox3->SetChecked(false);
  });
  mirrored.click(Form9->Button3);
  EXPECT_EQ(mirrored.memo()[3], "Best Similarity factor (S = 1.0000) was found for sigma =0.1 eV at 0 nm shift");
  EXPECT_EQ(mirrored.memo()[5], "Similarity factor  = 0.0000");
  mirrored.act([] { Form1->CheckBox3->SetChecked(true); });
  mirrored.click(Form9->Button3);
  EXPECT_EQ(mirrored.memo()[3].substr(0, 35), "Best Similarity factor (S = 0.0000)");

  UvEcdPair lorentzian;
  lorentzian.act([] { Form2->RadioButton4->SetChecked(true); });
  lorentzian.type(Form9->Edit3, "0.2");
  lorentzian.type(Form9->Edit4, "0.2");
  lorentzian.click(Form9->Button1);
  const Lines memo = lorentzian.memo();
  ASSERT_GE(memo.size(), 3u);
  EXPECT_EQ(memo[1].find(") was found for gamma = 0.2 eV at "), 34u) << memo[1];
  EXPECT_EQ(memo[2].rfind("Smallest cross section was found for gamma = 0.2 eV at a shift of ", 0), 0u) << memo[2];
}

TEST(UvSimilarity, CloseHidesTheWindowAndKeepsItsTexts) {
  UvEcdPair ui;
  ui.click(Form9->Button1);
  ui.click(Form9->Button2);
  EXPECT_FALSE(Form9->Showing());
  EXPECT_EQ(Form9->Memo1->Lines(), PERFECT_UV_WAVELENGTH);
}

TEST(UvSimilarity, AnEcdSpectrumWithoutRotatoryStrengthIsZero) {
  const std::string path = corpus("gaussian/uv_ecd/g03_cclib-data_anth1.log");
  if (path.empty()) GTEST_SKIP() << "corpus absent";
  Session ui;
  ui.willChooseFile(path);
  ui.menu(Form1->Open1);
  Store& s = ui.store();
  ASSERT_EQ(s.UVACTIVE[1], "calc");
  // The reader leaves an ECD without rotatory strength unmarked; a summation
  // or a bil file of zeros still makes such a slot computed.
  s.CDACTIVE[1] = "calc";
  for (int p = 1; p <= 301; ++p) {
    s.EXPUVX(p, 2) = s.EXPCDX(p, 2) = 501 - p;
    s.EXPUVY(p, 2) = 1.0;
    s.EXPCDY(p, 2) = p % 2 ? 1.0 : -1.0;
  }
  s.UVDATAPTS[2] = s.CDDATAPTS[2] = 301;
  s.UVACTIVE[2] = s.CDACTIVE[2] = "exp";
  ui.menu(Form1->Determinesigma1);
  ui.click(Form9->Button1);
  const Lines memo = Form9->Memo1->Lines();
  ASSERT_GE(memo.size(), 3u);
  EXPECT_EQ(memo[memo.size() - 2], "No CD similarity: the calculated CD spectrum is zero in the selected range");
  ui.click(Form9->Button3);
  EXPECT_EQ(Form9->Memo1->Lines().back(), "No CD similarity: the calculated CD spectrum is zero in the selected range");
  EXPECT_TRUE(ui.errorBoxes().empty());
}

// Slot 1: one IR line at 1000 1/cm and two VCD lines of opposite sign; slot
// 2: the trial bands at gamma 2 and x scale 1 from 2000 down to 500 1/cm.
struct IrVcdPair : Session {
  explicit IrVcdPair(double vcdSign = 1.0) {
    menu(Form1->New1);
    Store& s = store();
    s.IR(0, 1, 1) = 1000;
    s.IR(0, 2, 1) = 100;
    s.VCD(0, 1, 1) = 1000;
    s.VCD(0, 2, 1) = 5;
    s.VCD(1, 1, 1) = 1200;
    s.VCD(1, 2, 1) = -5;
    s.IRACTIVE[1] = s.VCDACTIVE[1] = "calc";
    std::vector<double> ir(IRVCD_TRIAL_SIZE), vcd(IRVCD_TRIAL_SIZE);
    trialIrBand({s.IR.columnData(1, 1), IRVCD_TRIAL_SIZE}, {s.IR.columnData(2, 1), IRVCD_TRIAL_SIZE}, 2, ir);
    trialVcdBand({s.VCD.columnData(1, 1), IRVCD_TRIAL_SIZE}, {s.VCD.columnData(2, 1), IRVCD_TRIAL_SIZE}, 2, vcd);
    int point = 0;
    for (int w = 2000; w >= 500; --w) {
      ++point;
      s.EXPIRX(point, 2) = s.EXPVCDX(point, 2) = w;
      s.EXPIRY(point, 2) = ir[w];
      s.EXPVCDY(point, 2) = vcdSign * vcd[w];
    }
    s.IRDATAPTS[2] = s.VCDDATAPTS[2] = point;
    s.IRACTIVE[2] = s.VCDACTIVE[2] = "exp";
    menu(Form1->Determinesigma1);
  }
  Lines memo() const { return Form12->Memo1->Lines(); }
};

const Lines PERFECT_IR{
    "",
    "Best Similarity factor (S = 1.0000) was found for gamma = 2 cm**-1 at a scaling factor of 1",
    "Smallest cross section was found for gamma = 2 cm**-1 at a a scaling factor of 1",
    "",
    "Similarity factor S (IR-spectrum) = 1.0000",
    "Scaling factor for calculated IR = 1.0000",
    "",
    "Similarity factor S (VCD-spectrum) = 1.0000",
    "Similarity factor S (enantiomeric VCD-spectrum) = 0.0000",
    "Delta value: 1.0000",
    "Scaling factor (VCD-spectrum) = 1.00000000",
    "",
};

TEST(IrSimilarity, TranscriptsAndWriteBack) {
  struct Row {
    const char* what;
    std::function<void(IrVcdPair&)> prepare;
    Lines memo;
    const char* edit26;
    const char* edit17;
  };
  const std::vector<Row> rows = {
      {"perfect match", [](IrVcdPair&) {}, PERFECT_IR, "1", "2"},
      {"4.5 as gamma falls back to 2", [](IrVcdPair& ui) { ui.type(Form12->Edit3, "4.5"); }, PERFECT_IR, "1", "2"},
      {"no search",
       [](IrVcdPair& ui) {
         ui.type(Form12->Edit1, "1.0");
         ui.type(Form12->Edit2, "1.0");
         ui.type(Form12->Edit3, "2");
         ui.type(Form12->Edit4, "2");
       },
       Lines(PERFECT_IR.begin() + 3, PERFECT_IR.end()), "1", "2"},
      {"small measured values",
       [](IrVcdPair& ui) {
         for (int p = 1; p <= 1501; ++p) ui.store().EXPIRY(p, 2) /= 1000;
         ui.type(Form12->Edit1, "1.0");
         ui.type(Form12->Edit2, "1.0");
         ui.type(Form12->Edit3, "2");
         ui.type(Form12->Edit4, "2");
       },
       [] {
         Lines lines{"Only small absolute values found in experimental IR", "Normalizing calculated IR"};
         lines.insert(lines.end(), PERFECT_IR.begin() + 3, PERFECT_IR.end());
         // The computed band is divided by its maximum: SCALE is the measured maximum.
         const double peak = 100 * (1000 / 91.84) * 0.31830914183855363 * 0.5 / 1000;
         lines[4] = "Scaling factor for calculated IR = " + FloatToStrF(peak, 4);
         return lines;
       }(),
       "1", "2"},
      {"measured VCD all zero",
       [](IrVcdPair& ui) {
         for (int p = 1; p <= 1501; ++p) ui.store().EXPVCDY(p, 2) = 0;
       },
       [] {
         Lines lines(PERFECT_IR.begin(), PERFECT_IR.begin() + 6);
         lines.push_back("");
         lines.push_back("No VCD similarity: the experimental VCD data have no signal in the selected range");
         return lines;
       }(),
       "1", "2"},
      {"empty slot 2",
       [](IrVcdPair& ui) { ui.store().IRDATAPTS[2] = 0; },
       {"", "Experimental IR data do not fit to the selected wavenumbers!", "",
        "No IR similarity: the experimental IR data have no signal in the selected range"},
       "1.0", "4"},
  };
  for (const Row& row : rows) {
    IrVcdPair ui;
    row.prepare(ui);
    ui.click(Form12->Button1);
    EXPECT_EQ(ui.memo(), row.memo) << row.what;
    EXPECT_EQ(Form1->Edit26->Text(), row.edit26) << row.what;
    EXPECT_EQ(Form1->Edit17->Text(), row.edit17) << row.what;
    EXPECT_TRUE(ui.errorBoxes().empty()) << row.what;
  }
}

TEST(IrSimilarity, EditsFallBackAndClamp) {
  IrVcdPair ui;
  ui.type(Form12->Edit5, "2500");
  ui.type(Form12->Edit6, "2000");
  ui.type(Form12->Edit1, "0.01");
  ui.type(Form12->Edit2, "3");
  ui.type(Form12->Edit4, "4.5");
  ui.click(Form12->Button3);
  EXPECT_EQ(Form12->Edit5->Text(), "2000");
  EXPECT_EQ(Form12->Edit1->Text(), "0.1");
  EXPECT_EQ(Form12->Edit2->Text(), "2.0");
  EXPECT_EQ(Form12->Edit4->Text(), "10");
}

TEST(IrSimilarity, SearchCountsItsBandWidthsAndScales) {
  IrVcdPair ui;
  Store& s = ui.store();
  const IrVcdLines lines{{s.IR.columnData(1, 1), IRVCD_TRIAL_SIZE}, {s.IR.columnData(2, 1), IRVCD_TRIAL_SIZE}};
  const MeasuredPoints measured{{s.EXPIRX.slotData(2), 1501}, {s.EXPIRY.slotData(2), 1501}, 1501};
  std::vector<TrialRecord> trials;
  searchIr(lines, measured, {500, 2000, 0.9, 1.1, 2, 10}, 100, &trials);
  EXPECT_EQ(trials.size(), 9u * 201u);
  EXPECT_EQ(trials.front().width, 2);
  EXPECT_EQ(trials.back().width, 10);
}

const Lines PERFECT_VCD_FINE_TUNING{
    "***    Warning!  ***",
    "This algorithm intends a finetuning of a preoptimized scaling factor only",
    "Best Delta (ESI = 1.0000) was found for gamma =2 cm**-1 at a scaling factor of 1",
    "Best Similarity factor (S = 1.0000) was found for gamma =2 cm**-1 at a scaling factor of 1",
    "",
    "Similarity factor  = 1.0000",
    "Similarity factor Enantiomer  = 0.0000",
    "Delta value: 1.0000",
    "Scaling factor for calculated VCD spectrum: 1.0000000000",
};

TEST(VcdSimilarity, FineTuningRecoversLinesOfBothSigns) {
  IrVcdPair ui;
  ui.click(Form12->Button3);
  EXPECT_EQ(ui.memo(), PERFECT_VCD_FINE_TUNING);
  EXPECT_EQ(Form1->Edit26->Text(), "1");
  EXPECT_EQ(Form1->Edit17->Text(), "2");

  // Against the mirror image with "enantiomeric VCD" ticked.
  IrVcdPair mirrored(-1.0);
  mirrored.act([] { Form1->CheckBox9->SetChecked(true); });
  mirrored.click(Form12->Button3);
  Lines expected = PERFECT_VCD_FINE_TUNING;
  expected[5] = "Similarity factor  = 0.0000";
  expected[6] = "Similarity factor Enantiomer  = 1.0000";
  EXPECT_EQ(mirrored.memo(), expected);
  EXPECT_EQ(Form1->Edit17->Text(), "2");
}

TEST(VcdSimilarity, SkipsWithoutAPairAndNormalisesLargeBandsAboveOne) {
  IrVcdPair ui;
  ui.store().VCDACTIVE[2] = "false";
  ui.click(Form12->Button3);
  EXPECT_EQ(ui.memo(), (Lines{"***    Warning!  ***",
                              "This algorithm intends a finetuning of a preoptimized scaling factor only",
                              "Skipping calculation of VCD similarity"}));

  // The computed VCD is 10^5 times the measured one and above 1: the final
  // computation divides it and says so.
  IrVcdPair large;
  Store& s = large.store();
  s.VCD(0, 2, 1) = 5e6;
  s.VCD(1, 2, 1) = -5e6;
  for (int p = 1; p <= 1501; ++p) s.EXPVCDY(p, 2) *= 10;
  large.type(Form12->Edit1, "1.0");
  large.type(Form12->Edit2, "1.0");
  large.type(Form12->Edit3, "2");
  large.type(Form12->Edit4, "2");
  large.click(Form12->Button1);
  const Lines memo = large.memo();
  ASSERT_GE(memo.size(), 10u);
  EXPECT_EQ(Lines(memo.begin() + 3, memo.begin() + 7),
            (Lines{"", "Large difference between experimental and calculated VCD", "Normalizing calculated VCD", ""}));
  EXPECT_EQ(memo[7], "Similarity factor S (VCD-spectrum) = 1.0000");
}

}  // namespace

namespace {

TEST(SearchLoops, CountTheirStepsAsTheAccumulatedValuesFall) {
  UvEcdPair ui;
  Store& s = ui.store();
  const UvEcdLines cd{{s.ROTS.slotData(1), UVECD_TRIAL_SIZE}, BandShape::Gaussian};
  const MeasuredPoints points{{s.EXPCDX.slotData(2), 201}, {s.EXPCDY.slotData(2), 201}, 201};
  std::vector<TrialRecord> trials;
  // The fine tuning steps first: 21 band widths, the last 0.30000000000000016.
  fineTuneEcd(cd, UvEcdMode::Wavelength, points, {200, 400, 0, 0, 0.1, 0.3}, 1, false, &trials);
  ASSERT_EQ(trials.size(), 21u);
  EXPECT_GT(trials.back().width, 0.3);
  EXPECT_EQ(FloatToStr(StrToFloat(FloatToStrE(trials.back().width, 10))), "0.3");
  // x scales from 0.950 to 1.050 in steps of 0.001: 101 trials.
  trials.clear();
  fineTuneEcd(cd, UvEcdMode::Wavenumber, points, {50000, 25000, 0.95, 1.05, 0.1, 0.1}, 1, false, &trials);
  EXPECT_EQ(trials.size(), 101u);
}

TEST(SearchLoops, TheFinalVcdIsDividedOnlyWhenItsMaximumIsAboveOne) {
  const std::vector<double> x{1100, 1000, 900}, y{0, 0.001, 0};
  const MeasuredPoints points{x, y, 3};
  for (double peak : {0.5, 5.0}) {
    std::vector<double> band(IRVCD_TRIAL_SIZE, 0.0);
    band[1000] = peak;
    const FinalSignSplit result = finalVcd(band, points, 950, 1050, 1.0, 0.001);
    EXPECT_EQ(result.normalised, peak > 1) << peak;
    EXPECT_EQ(band[1000], peak > 1 ? 1.0 : peak) << peak;
    EXPECT_DOUBLE_EQ(result.SCALE, peak > 1 ? 0.001 : 0.001 / peak) << peak;
    EXPECT_DOUBLE_EQ(result.S, 1.0) << peak;
  }
}

}  // namespace
