// Program detection: which reader each detector hands an output file to, and
// the guard that turns file errors into one message.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/files.h"
#include "platform/testing/session.h"
#include "readers/reader_core.h"
#include "tests/reader_test_support.h"

namespace {

struct Detected {
  std::string uv, ecd, ir, vcd;
};

// Runs the four detectors on a file and records the reader each one chose
// ("" when none).
Detected detectAll(Session& ui, const std::string& path) {
  Detected detected;
  std::string* target = nullptr;
  readers::watchReaders([&](const std::string& name) { *target = name; });
  target = &detected.uv;
  ui.act([&] { Form1->DetectQMSUV(path, 1); });
  target = &detected.ecd;
  ui.act([&] { Form1->DetectQMSCD(path, 1); });
  target = &detected.ir;
  ui.act([&] { Form1->DetectQMSIR(path, 1); });
  target = &detected.vcd;
  ui.act([&] { Form1->DetectQMSVCD(path, 1); });
  readers::watchReaders(nullptr);
  return detected;
}

struct BannerCase {
  const char* what;
  std::string text;
  Detected expected;
};

TEST(ProgramDetection, BannersChooseTheReaderOfTheirProgram) {
  const std::string preamble = " some header line\r\n";
  const std::vector<BannerCase> cases = {
      {"Gaussian 98",
       " Gaussian 98:  x86-Linux-G98RevA.11.3\r\n",
       {"GAUSSIAN03UV", "GAUSSIAN03CD", "", ""}},
      {"Gaussian 03",
       " Gaussian 03:  IA32L-G03RevB.05\r\n",
       {"GAUSSIAN03UV", "GAUSSIAN03CD", "", ""}},
      {"Gaussian 09",
       " Gaussian 09:  EM64L-G09RevD.01\r\n",
       {"GAUSSIAN09UV", "GAUSSIAN09CD", "GAUSSIAN09IR", "GAUSSIAN09VCD"}},
      {"Gaussian 16",
       " Gaussian 16:  ES64L-G16RevA.03\n",
       {"GAUSSIAN09UV", "GAUSSIAN09CD", "GAUSSIAN09IR", "GAUSSIAN09VCD"}},
      {"ORCA 3",
       "                 * O   R   C   A *\r\n\r\n           Program Version 3.0.3 -  RELEASE   "
       "-\r\n",
       {"ORCAUV", "ORCACD", "", ""}},
      {"ORCA 4",
       "* O   R   C   A *\nProgram Version 4.2.1 -  RELEASE  -\n",
       {"ORCA4UV", "ORCA4CD", "", ""}},
      {"ORCA 5",
       "* O   R   C   A *\n   Program Version 5.0.4 -  RELEASE  -\n",
       {"ORCA4UV", "ORCA4CD", "", ""}},
      {"ORCA without version", "* O   R   C   A *\nno version here\n", {"", "", "", ""}},
      {"escf", " escf (node01) : TURBOMOLE V7.2\r\n", {"ESCFUV", "ESCFCD", "", ""}},
      {"ricc2", " ricc2 (node01) : TURBOMOLE V7.2\r\n", {"RICC2UV", "RICC2CD", "", ""}},
      {"ADF", " Amsterdam Density Functional  (ADF)  2019.3\n", {"ADFUV", "ADFCD", "", ""}},
      {"NWChem",
       " Northwest Computational Chemistry Package (NWChem) 6.8\n",
       {"NWCHEMUV", "NWCHEMCD", "", ""}},
      {"Dalton",
       "     Dalton - An Electronic Structure Program\n",
       {"DALTONUV", "DALTONCD", "", ""}},
      {"escf without TURBOMOLE", " escf version 1\n", {"", "", "", ""}},
      {"upper case is no banner", " GAUSSIAN 09\n", {"", "", "", ""}},
      {"no banner", " nothing to see\n", {"", "", "", ""}},
      {"empty file", "", {"", "", "", ""}},
      {"earliest banner decides",
       " Gaussian 09: x\n Gaussian 03: y\n",
       {"GAUSSIAN09UV", "GAUSSIAN09CD", "GAUSSIAN09IR", "GAUSSIAN09VCD"}},
      // The IR and VCD detectors know no Gaussian 03: they read on.
      {"Gaussian 03 before Gaussian 09",
       " Gaussian 03: x\n Gaussian 09: y\n",
       {"GAUSSIAN03UV", "GAUSSIAN03CD", "GAUSSIAN09IR", "GAUSSIAN09VCD"}},
  };
  Session ui;
  for (const BannerCase& c : cases) {
    const std::string path = ui.path("detect.log");
    writeTextFile(path, preamble + c.text);
    const Detected detected = detectAll(ui, path);
    EXPECT_EQ(detected.uv, c.expected.uv) << c.what;
    EXPECT_EQ(detected.ecd, c.expected.ecd) << c.what;
    EXPECT_EQ(detected.ir, c.expected.ir) << c.what;
    EXPECT_EQ(detected.vcd, c.expected.vcd) << c.what;
  }
}

TEST(ProgramDetection, AnOrcaVersionThatIsNoNumberEndsInTheConversionError) {
  Session ui;
  const std::string path = ui.path("orca.out");
  writeTextFile(path, "* O   R   C   A *\nProgram Version x.1\n");
  ui.act([&] { Form1->DetectQMSUV(path, 1); });
  ASSERT_EQ(ui.errorBoxes().size(), 1u);
  EXPECT_EQ(ui.errorBoxes()[0].caption, "EConvertError");
}

TEST(ProgramDetection, FileErrorsShowOneMessage) {
  Session ui;
  ui.act([&] { Form1->DetectQMSCD(ui.path("missing.log"), 1); });
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_EQ(ui.lastBox().text, "File handling error occurred. Details: EInOutError/File not found (" +
                                   ui.path("missing.log") + ")");

  // The file vanishes between detection and reading: the reader's error is
  // caught by the detector; the caption is set, the slot not computed.
  ui.clearBoxes();
  const std::string path = ui.path("vanishing.log");
  writeTextFile(path, " Gaussian 16: x\n");
  readers::watchReaders([&](const std::string&) { std::remove(path.c_str()); });
  ui.act([&] { Form1->DetectQMSUV(path, 1); });
  readers::watchReaders(nullptr);
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_EQ(ui.lastBox().text,
            "File handling error occurred. Details: EInOutError/File not found (" + path + ")");
  EXPECT_EQ(Form1->Caption(), "vanishing.log");
  EXPECT_NE(ui.store().UVACTIVE[1], "calc");
}

// ---- An output that fills nothing ------------------------------------------------

TEST(NothingFound, AnOutputThatFillsNoSlotSaysSoOnce) {
  Session ui;
  open(ui, fixture("readers/g16_td_optrot.log"));
  std::string binary("\x7f""ELF\x02\x01\x00\x00\xff\xfe\n\x00\x01", 13);
  struct Case {
    const char* name;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"empty.out", ""},
      {"binary.log", binary},
      {"mopac.OUT", " MOPAC2016 (c) James J. P. Stewart\n FINAL HEAT OF FORMATION = -20.7 KCAL/MOL\n"},
      {"energy.LOG", " Entering Gaussian System\n Gaussian 16: x\n SCF Done:  E(RB3LYP) = -1.0\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ui.clearBoxes();
    openText(ui, c.name, c.text);
    EXPECT_TRUE(ui.errorBoxes().empty());
    EXPECT_EQ(boxTexts(ui), std::vector<std::string>{nothingDrawnMessage(c.name, noTableReason)});
    // Nothing is drawn, so the work on screen stays: caption and slots.
    EXPECT_EQ(Form1->Caption(), "g16_td_optrot.log");
    EXPECT_TRUE(anySlotOneComputed(ui.store()));
  }
}

TEST(NothingFound, APlainFrequencyJobGetsTheHintAndAReaderBoxIsEnough) {
  const std::string plain = corpus("gaussian/ir_vcd/g09_tesliper_fal-freq.out");
  if (plain.empty()) GTEST_SKIP() << "corpus absent";
  Session ui;
  open(ui, plain);
  EXPECT_EQ(boxTexts(ui),
            std::vector<std::string>{
                "No UV/ECD, IR/VCD or optical-rotation data were found in "
                "\"g09_tesliper_fal-freq.out\": it prints no excited state, or none in a table the "
                "program reads. IR and VCD spectra are read from frequency jobs "
                "run with VCD (freq=VCD), which print both."});
  // A Gaussian 03 frequency output is not read for vibrations at all: no hint.
  ui.clearBoxes();
  open(ui, corpus("gaussian/ir_vcd/g03_cclib-data_dvb_ir.out"));
  EXPECT_EQ(boxTexts(ui), std::vector<std::string>{nothingDrawnMessage(
                              "g03_cclib-data_dvb_ir.out", noTableReason)});
  // NWChem refusing the velocity formalism has said why nothing loads.
  chooseVelocity(ui);
  open(ui, fixture("readers/nwchem/ecd.out"));
  for (const std::string& text : boxTexts(ui))
    EXPECT_EQ(text, "Velocity formalism not supported for NWChem");
}

TEST(NothingFound, CompareSaysSoWhenItsSlotStaysEmpty) {
  Session ui;
  open(ui, fixture("readers/g16_td_optrot.log"));
  const std::string empty = ui.path("nothing.log");
  writeTextFile(empty, " Gaussian 16: x\n");
  ui.clearBoxes();
  ui.willChooseFile(empty);
  ui.menu(Form1->BilFile1);
  EXPECT_EQ(boxTexts(ui), std::vector<std::string>{nothingDrawnMessage(empty, noTableReason)});
  EXPECT_EQ(ui.store().CDACTIVE[2], "false");
  EXPECT_EQ(Form1->Caption(), "g16_td_optrot.log");
  // Into a slot already computed, what this file drew decides.
  ui.willChooseFile(fixture("readers/g16_td_optrot.log"));
  ui.menu(Form1->BilFile1);
  ui.clearBoxes();
  ui.willChooseFile(empty);
  ui.menu(Form1->BilFile1);
  EXPECT_EQ(boxTexts(ui), std::vector<std::string>{nothingDrawnMessage(empty, noTableReason)});
}

// Outputs that print states, none of which lands on the plots, each with the
// reason its one box gives; slot states and labels stay as the readers set them.
TEST(NothingFound, EachReasonAndReaderGivesOneBoxNamingTheFile) {
  struct Case {
    const char* fixture;
    std::string reason;
  };
  const std::vector<Case> cases = {
      {"escf_no_states.out", noTableReason},
      {"ricc2_ground.out", noTableReason},
      {"orca_core.out", "all 2 states lie outside 100-4000 nm"},
      {"orca_xray.out", noTableReason},
      {"stda_high.dat", "all 2 states lie outside 100-4000 nm"},
      {"dalton_off_grid.out", "all 3 states lie outside 100-4000 nm"},
      {"dalton_zero.out", "all 2 states within 100-4000 nm have zero strength"},
      {"nwchem_off_grid.out", "all 2 states lie outside 100-4000 nm"},
  };
  Session ui;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fixture);
    ui.clearBoxes();
    open(ui, fixture(std::string("readers/nothing/") + c.fixture));
    EXPECT_EQ(boxTexts(ui), std::vector<std::string>{nothingDrawnMessage(c.fixture, c.reason)});
    EXPECT_TRUE(slotOneDrawsNothing(ui.store()));
  }
  // One state: the reason speaks of it alone.
  ui.clearBoxes();
  const std::string one = ui.path("one.dat");
  writeTextFile(one, "DATXY\n    1  13.00000   0.1   0.2   10.0   20.0\n");
  open(ui, one);
  EXPECT_EQ(boxTexts(ui),
            std::vector<std::string>{nothingDrawnMessage(one, "its one state lies outside 100-4000 nm")});
  // The escf output without states leaves the window as it was.
  ui.clearBoxes();
  open(ui, fixture("readers/nothing/escf_no_states.out"));
  EXPECT_EQ(boxTexts(ui), std::vector<std::string>{nothingDrawnMessage("escf_no_states.out", noTableReason)});
  EXPECT_EQ(Form1->Label11->Caption(), "--");
  // An output that draws keeps its boxes: none.
  ui.clearBoxes();
  open(ui, fixture("readers/orca/v5.out"));
  EXPECT_TRUE(ui.boxes().empty());
}

// Compare loads of such a file say the same, in the slot they load.
TEST(NothingFound, CompareOfAFileThatDrawsNothingSaysWhy) {
  Session ui;
  open(ui, fixture("readers/g16_td_optrot.log"));
  ui.clearBoxes();
  ui.willChooseFile(fixture("readers/nothing/dalton_off_grid.out"));
  ui.menu(Form1->BilFile1);
  EXPECT_EQ(boxTexts(ui), std::vector<std::string>{nothingDrawnMessage(
                              "dalton_off_grid.out", "all 3 states lie outside 100-4000 nm")});
  ui.clearBoxes();
  ui.willChooseFile(fixture("readers/nothing/stda_high.dat"));
  ui.menu(Form1->xyFile1);
  EXPECT_EQ(boxTexts(ui), std::vector<std::string>{nothingDrawnMessage(
                              "stda_high.dat", "all 2 states lie outside 100-4000 nm")});
  EXPECT_EQ(ui.store().CDACTIVE[1], "calc");
}

// The real outputs that put nothing on the plots, in both formalisms. The
// Dalton run prints its states only in the response module's own lines, and
// NWChem's unrestricted roots are no singlets: neither is a table the
// readers take. NWChem refusing the velocity formalism has said why.
TEST(NothingFound, RealOutputsThatDrawNothingSayWhyInBothFormalisms) {
  const std::string nwchemRefusal = "Velocity formalism not supported for NWChem";
  struct Case {
    const char* file;
    std::string reason;
    bool velocityRefused;
  };
  const std::vector<Case> cases = {
      {"turbomole/ricc2/tm7.4_cclib_water_cc2/ricc2.out", noTableReason, false},
      {"turbomole/ricc2/tm7.0_fromage_ricc2.out", noTableReason, false},
      {"orca/uv_ecd/orca5.0_cclib_dvb_rocis.out", "all 4 states lie outside 100-4000 nm", false},
      {"nwchem/nwchem_qa_tddft_h2o_uhf.out", noTableReason, true},
      {"dalton/dalton2013_cclib_dvb_td.out", noTableReason, false},
  };
  for (const Case& c : cases) {
    const std::string path = corpus(c.file);
    if (path.empty()) GTEST_SKIP() << "corpus absent";
    for (const bool velocity : {false, true}) {
      SCOPED_TRACE(std::string(c.file) + (velocity ? " velocity" : " length"));
      Session ui;
      if (velocity) chooseVelocity(ui);
      open(ui, path);
      EXPECT_TRUE(slotOneDrawsNothing(ui.store()));
      EXPECT_EQ(boxTexts(ui), std::vector<std::string>{velocity && c.velocityRefused
                                                           ? nwchemRefusal
                                                           : nothingDrawnMessage(path, c.reason)});
    }
  }
}

}  // namespace
