// The two similarity windows as a person uses them: input checks, searches,
// memo transcripts and the values written back into the main window.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/numbers.h"
#include "platform/testing/session.h"
#include "platform/testing/time_limit.h"
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
// perfect match at the first band width of the default range. The UV trial
// band leaves out the display's 1 / WZPI, so the measured UV is 1.7725 times
// the UV band the main window shows.
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
    "Scaling factor for calculated UV = 1.7725",
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
      {"range typed reversed",
       [](UvEcdPair& ui) {
         ui.type(Form9->Edit5, "300");
         ui.type(Form9->Edit6, "250");
       },
       {"energy range from (nm): \"300\" is above energy range to (nm), 250 is used"}, "0", "0.16"},
      {"empty slot 2",
       [](UvEcdPair& ui) { ui.store().UVDATAPTS[2] = 0; },
       {"", "Experimental UV data do not fit to the selected wavelenght range!", "",
        "No UV similarity: the experimental UV data have no signal in the selected range"},
       "0", "0.16"},
      {"no UV factor: the ECD is not scored at a setting left unwritten",
       [](UvEcdPair& ui) {
         ui.store().OSC(2500, 1) = 0;
         ui.type(Form9->Edit1, "0");
         ui.type(Form9->Edit2, "0");
         ui.type(Form9->Edit3, "0.1");
         ui.type(Form9->Edit4, "0.1");
       },
       {"", "No UV similarity: the calculated UV spectrum is zero in the selected range", "",
        "No CD similarity: the final UV result gave no factor, so its setting was not written back", ""},
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
      {&TForm9::Edit5, &TForm9::Edit6, "abc", "1050", "200", "1000"},   // clamped after the fallback
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
      "Scaling factor epsilon = 1.7725",
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
      {"4.5 as gamma falls back to 2", [](IrVcdPair& ui) { ui.type(Form12->Edit3, "4.5"); },
       [] {
         Lines lines{"band width from: \"4.5\" is not a whole number, 2 is used"};
         lines.insert(lines.end(), PERFECT_IR.begin(), PERFECT_IR.end());
         return lines;
       }(),
       "1", "2"},
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
         // The band is divided by its maximum for the comparison; the factor
         // printed takes the band as shown to the measured curve.
         lines[4] = "Scaling factor for calculated IR = 0.0010";
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
      {"no IR factor: the VCD is not scored at a setting left unwritten",
       [](IrVcdPair& ui) {
         ui.store().IR(0, 2, 1) = 0;
         ui.type(Form12->Edit1, "1.0");
         ui.type(Form12->Edit2, "1.0");
         ui.type(Form12->Edit3, "2");
         ui.type(Form12->Edit4, "2");
       },
       {"", "No IR similarity: the calculated IR spectrum is zero in the selected range", "",
        "No VCD similarity: the final IR result gave no factor, so its setting was not written back", ""},
       "1.0", "4"},
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
  ui.click(Form12->Button3);
  EXPECT_EQ(Form12->Edit5->Text(), "2000");
  // A range closed to one value ends the run before the other pairs.
  ui.type(Form12->Edit5, "500");
  ui.type(Form12->Edit1, "0.01");
  ui.type(Form12->Edit2, "3");
  ui.type(Form12->Edit4, "4.5");
  ui.click(Form12->Button3);
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

// ---- Bounds, ranges without points and replaced edits ------------------------------------

namespace {

// A search without bounds fails instead of hanging. The limit lies far above
// what the widest ranges take.
constexpr std::chrono::seconds SEARCH_TIME_LIMIT(60);

bool holds(const Lines& memo, const std::string& line) {
  for (const std::string& l : memo)
    if (l == line) return true;
  return false;
}

// Loads a measured file of the given lines into slot 2 through a Compare item.
void compareFile(Session& ui, MenuItem* item, const std::string& name, const std::string& text) {
  const std::string path = ui.path(name);
  writeTextFile(path, text);
  ui.willChooseFile(path);
  ui.menu(item);
}

std::unique_ptr<Session> startPair(bool irVcd) {
  if (irVcd) return std::make_unique<IrVcdPair>();
  return std::make_unique<UvEcdPair>();
}

TEST(SimilarityBounds, APairWithATextThatDoesNotConvertStaysWithinTheWidestRanges) {
  // "x" in the first edit of a pair, a huge value in the second.
  struct Row {
    const char* what;
    bool irVcd;
    std::function<Edit*()> first, second;
    const char* typedSecond;
    std::function<Button*()> button;
    const char* clampedSecond;
    const char* replacedLine;
  };
  const std::vector<Row> rows = {
      {"shift, 'UV'", false, [] { return Form9->Edit1; }, [] { return Form9->Edit2; }, "2147483647",
       [] { return Form9->Button1; }, "100", "shift range from: \"x\" is not a whole number, -30 is used"},
      {"ECD band width, 'ECD'", false, [] { return Form9->Edit3; }, [] { return Form9->Edit4; }, "1000000",
       [] { return Form9->Button3; }, "0.9", "band width from: \"x\" is not a number, 0.16 is used"},
      {"IR band width, 'IR'", true, [] { return Form12->Edit3; }, [] { return Form12->Edit4; }, "2147483647",
       [] { return Form12->Button1; }, "50", "band width from: \"x\" is not a whole number, 2 is used"},
      {"IR scale, 'VCD'", true, [] { return Form12->Edit1; }, [] { return Form12->Edit2; }, "1000",
       [] { return Form12->Button3; }, "2.0", "scaling from: \"x\" is not a number, 0.9 is used"},
  };
  for (const Row& row : rows) {
    const std::unique_ptr<Session> ui = startPair(row.irVcd);
    ui->type(row.first(), "x");
    ui->type(row.second(), row.typedSecond);
    WithinTimeLimit(std::string(row.what) + ": the search", SEARCH_TIME_LIMIT, [&] { ui->click(row.button()); });
    EXPECT_EQ(row.second()->Text(), row.clampedSecond) << row.what;
    const Lines memo = (row.irVcd ? Form12->Memo1 : Form9->Memo1)->Lines();
    EXPECT_TRUE(holds(memo, row.replacedLine)) << row.what;
    EXPECT_TRUE(ui->errorBoxes().empty()) << row.what;
  }
}

const char* const NO_CD_SIGNAL = "No CD similarity: the experimental CD data have no signal in the selected range";
const char* const NO_IR_SIGNAL = "No IR similarity: the experimental IR data have no signal in the selected range";
const char* const NO_VCD_SIGNAL = "No VCD similarity: the experimental VCD data have no signal in the selected range";

TEST(SimilarityBounds, AWindowWithoutAMeasuredPointGivesNoFactor) {
  const Lines ecdWarning{"***    Warning!    ***",
                         "This algorithm intends a finetuning of a preoptimized UV shift only"};
  const Lines vcdWarning{"***    Warning!  ***",
                         "This algorithm intends a finetuning of a preoptimized scaling factor only"};
  auto with = [](Lines lines, const Lines& more) {
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
  };
  struct Row {
    const char* what;
    std::function<std::unique_ptr<Session>()> start;
    std::function<Button*()> button;
    std::function<Memo*()> memo;
    Lines expected;
  };
  // Slot 1 from a bil file, slot 2 a measured file of one point outside the window.
  auto onePoint = [](const char* bil, std::function<MenuItem*()> compare, const char* name, const char* text) {
    return [=] {
      auto ui = std::make_unique<Session>();
      ui->willChooseFile(fixture(bil));
      ui->menu(Form1->Open1);
      compareFile(*ui, compare(), name, text);
      EXPECT_EQ(ui->store().CDDATAPTS[2] + ui->store().VCDDATAPTS[2], 1) << name;
      ui->menu(Form1->Determinesigma1);
      return ui;
    };
  };
  const std::vector<Row> rows = {
      {"'ECD', range typed reversed",
       [] {
         auto ui = startPair(false);
         ui->type(Form9->Edit5, "300");
         ui->type(Form9->Edit6, "250");
         return ui;
       },
       [] { return Form9->Button3; }, [] { return Form9->Memo1; },
       with(ecdWarning, {"energy range from (nm): \"300\" is above energy range to (nm), 250 is used"})},
      {"'IR', window beyond the measured curve",
       [] {
         auto ui = startPair(true);
         ui->type(Form12->Edit5, "2100");
         ui->type(Form12->Edit6, "3000");
         return ui;
       },
       [] { return Form12->Button1; }, [] { return Form12->Memo1; },
       {"", "Experimental IR data do not fit to the selected wavenumbers!", "", "",
        "Experimental VCD data do not fit to the selected wavenumbers!", "", NO_IR_SIGNAL}},
      {"'IR' without a search, range typed reversed",
       [] {
         auto ui = startPair(true);
         for (auto [edit, text] : {std::pair{Form12->Edit5, "2500"}, {Form12->Edit6, "2000"}, {Form12->Edit1, "1.0"},
                                   {Form12->Edit2, "1.0"}, {Form12->Edit3, "2"}, {Form12->Edit4, "2"}})
           ui->type(edit, text);
         return ui;
       },
       [] { return Form12->Button1; }, [] { return Form12->Memo1; },
       {"wavenumber from: \"2500\" is above wavenumber to, 2000 is used"}},
      {"'ECD', a measured file of one point",
       onePoint("similarity/bands.cd.bil", [] { return Form1->BilFile1; }, "one.cd.exp.xy", "500\t3\r\n"),
       [] { return Form9->Button3; }, [] { return Form9->Memo1; },
       with(ecdWarning, {"", "Experimental CD data do not fit to the selected wavelenght range!", "", NO_CD_SIGNAL})},
      {"'VCD', a measured file of one point",
       onePoint("similarity/both-signs.vc.bil", [] { return Form1->MenuItem5; }, "one.vc.exp.xy",
                "wavenumber\tvalue\r\n300\t0.004\r\n"),
       [] { return Form12->Button3; }, [] { return Form12->Memo1; },
       with(vcdWarning, {"", "Experimental VCD data do not fit to the selected wavenumbers!", "", NO_VCD_SIGNAL})},
  };
  for (const Row& row : rows) {
    const std::unique_ptr<Session> ui = row.start();
    ui->click(row.button());
    EXPECT_EQ(row.memo()->Lines(), row.expected) << row.what;
    EXPECT_TRUE(ui->errorBoxes().empty()) << row.what;
  }

  // The ECD part of a 'UV' run whose measured ECD lies beyond the window.
  UvEcdPair ui;
  Store& s = ui.store();
  s.CDDATAPTS[2] = 3;
  for (int p = 1; p <= 3; ++p) {
    s.EXPCDX(p, 2) = 460 - 10 * p;
    s.EXPCDY(p, 2) = 6 - p;
  }
  ui.click(Form9->Button1);
  const Lines memo = ui.memo();
  ASSERT_GE(memo.size(), 3u);
  EXPECT_EQ(Lines(memo.end() - 2, memo.end()), (Lines{"", NO_CD_SIGNAL}));
}

TEST(SimilarityBounds, EveryReplacedEditIsNamedWithTheValueUsed) {
  struct Row {
    bool irVcd;
    bool wavenumber;
    std::function<Edit*()> edit;
    const char* typed;
    const char* textAfter;
    const char* line;
  };
  const Row rows[] = {
      {false, false, [] { return Form9->Edit3; }, "0,12", "0.12", "band width from: \"0,12\" is read as 0.12"},
      {false, false, [] { return Form9->Edit4; }, "abc", "0.16",
       "band width to: \"abc\" is not a number, 0.16 is used"},
      {false, false, [] { return Form9->Edit6; }, "2OO", "400",
       "energy range to (nm): \"2OO\" is not a whole number, 400 is used"},
      {false, false, [] { return Form9->Edit1; }, "1,5", "-30",
       "shift range from: \"1,5\" is not a whole number, -30 is used"},
      {false, true, [] { return Form9->Edit8; }, "1,02", "1.02", "scaling to: \"1,02\" is read as 1.02"},
      {false, true, [] { return Form9->Edit9; }, "", "50000",
       "energy range from (1/cm): \"\" is not a whole number, 50000 is used"},
      {true, false, [] { return Form12->Edit1; }, "0,95", "0.95", "scaling from: \"0,95\" is read as 0.95"},
      {true, false, [] { return Form12->Edit4; }, "4.5", "10",
       "band width to: \"4.5\" is not a whole number, 10 is used"},
      {true, false, [] { return Form12->Edit5; }, "2OO", "500",
       "wavenumber from: \"2OO\" is not a whole number, 500 is used"},
  };
  for (const Row& row : rows) {
    const std::unique_ptr<Session> ui = startPair(row.irVcd);
    if (row.wavenumber) {
      ui->act([] { Form2->RadioButton6->SetChecked(true); });
      ui->menu(Form1->Determinesigma1);
      ui->type(Form9->Edit10, "25000");  // within the measured curve: no coverage lines
    }
    ui->type(row.edit(), row.typed);
    ui->click(row.irVcd ? Form12->Button1 : Form9->Button1);
    EXPECT_EQ(row.edit()->Text(), row.textAfter) << row.typed;
    const Lines memo = (row.irVcd ? Form12->Memo1 : Form9->Memo1)->Lines();
    ASSERT_FALSE(memo.empty()) << row.typed;
    EXPECT_EQ(memo[0], row.line) << row.typed;
    EXPECT_TRUE(ui->errorBoxes().empty()) << row.typed;
  }

  // The values read with a comma are the ones searched with.
  UvEcdPair ui;
  for (auto [edit, text] :
       {std::pair{Form9->Edit1, "0"}, {Form9->Edit2, "0"}, {Form9->Edit3, "0,1"}, {Form9->Edit4, "0,1"}})
    ui.type(edit, text);
  ui.click(Form9->Button1);
  Lines expected{"band width from: \"0,1\" is read as 0.1", "band width to: \"0,1\" is read as 0.1"};
  expected.insert(expected.end(), PERFECT_UV_WAVELENGTH.begin() + 3, PERFECT_UV_WAVELENGTH.end());
  EXPECT_EQ(ui.memo(), expected);
  EXPECT_EQ(Form1->Edit3->Text(), "0.1");
}

}  // namespace
