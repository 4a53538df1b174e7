// The TURBOMOLE escf and ricc2 readers: the lines of each formalism, range
// edges, the last table of a file, states that do not count, and the real
// outputs of the shared corpus.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/files.h"
#include "platform/testing/session.h"
#include "plots/cdplotting.h"
#include "settings/settings.h"
#include "tests/reader_test_support.h"

namespace {

const char* const ergUnit = "CD [erg \\327 cm^3 \\327 10^{-40}]";

struct ReaderCase {
  const char* fixture;
  bool velocity;
  std::vector<Bin> rotatory;
  std::vector<Bin> oscillator;
  const char* states;
  const char* first;
  const char* last;
  bool ecdComputed;
};

TEST(TurbomoleReaders, EachFormalismReadsItsOwnLines) {
  const std::vector<ReaderCase> cases = {
      // 250.00 and 250.04 nm share bin 2500; 100 nm is on the grid.
      {"escf_rpa.out",
       false,
       {{2500, 2.25}, {1000, 4.0}},
       {{2500, 0.06}, {1000, 0.06}},
       "3",
       "250.00 nm",
       "100.00 nm",
       true},
      {"escf_rpa.out",
       true,
       {{2500, 1.0}, {1000, 3.0}},
       {{2500, 0.04}, {1000, 0.05}},
       "3",
       "250.00 nm",
       "100.00 nm",
       true},
      // 4000 nm is added; 99.9 nm and 4000.04 nm are off the grid but counted.
      {"escf_tda.out",
       false,
       {{40000, 2.0}, {1000, 0.0}},
       {{40000, 0.02}},
       "3",
       "4000.00 nm",
       "4000.04 nm",
       true},
      {"escf_tda.out",
       true,
       {{40000, 1.0}},
       {{40000, 0.01}},
       "3",
       "4000.00 nm",
       "4000.04 nm",
       true},
      // Length: the state whose rotatory strength is 0 does not count, and
      // the next one (0 eV, wavelength 0) takes its row.
      {"ricc2_rotatory.out",
       false,
       {{1398, 12.3456}, {2500, -2.5}, {1377, 0.0}},
       {{1398, 0.09614727}, {2500, 0.02}, {1377, 0.01}},
       "3",
       "139.83 nm",
       "0.00 nm",
       true},
      {"ricc2_rotatory.out",
       true,
       {{1398, 11.0}, {2500, -2.0}, {1377, 0.7}},
       {{1398, 0.08}, {2500, 0.03}, {1377, 0.015}},
       "4",
       "139.83 nm",
       "0.00 nm",
       true},
      // Without rotatory strengths the ECD slot stays as it was; the labels
      // are the UV reader's.
      {"ricc2_oscillator.out",
       false,
       {{1398, 0.0}},
       {{1398, 0.09614727}, {2500, 0.02}},
       "2",
       "139.83 nm",
       "250.00 nm",
       false},
      // No velocity-gauge line at all: the open says that nothing is drawn
      // and leaves the window as it was.
      {"ricc2_oscillator.out", true, {{1398, 0.0}}, {{1398, 0.0}}, "0", "--", "--", false},
  };
  for (const ReaderCase& c : cases) {
    SCOPED_TRACE(std::string(c.fixture) + (c.velocity ? " velocity" : " length"));
    Session ui;
    if (c.velocity) chooseVelocity(ui);
    open(ui, fixture(std::string("readers/turbomole/") + c.fixture));
    if (std::string(c.states) == "0")
      EXPECT_EQ(boxTexts(ui), std::vector<std::string>{nothingDrawnMessage(c.fixture, noTableReason)});
    else
      EXPECT_TRUE(ui.boxes().empty()) << (ui.boxes().empty() ? "" : ui.lastBox().text);
    expectBins(ui.store(), c.rotatory, c.oscillator);
    const bool drawsNothing = std::string(c.states) == "0";
    if (drawsNothing) {
      expectStateLabels("--", c.first, c.last);
      EXPECT_NE(ui.store().UVACTIVE[1], "calc");
      EXPECT_FALSE(Form1->CDspectra1->Enabled());
      continue;
    }
    expectStateLabels(c.states, c.first, c.last);
    EXPECT_EQ(ui.store().UVACTIVE[1], "calc");
    EXPECT_EQ(ui.store().CDACTIVE[1], c.ecdComputed ? "calc" : "false");
    EXPECT_EQ(Form1->CDspectra1->Enabled(), c.ecdComputed);
    EXPECT_EQ(Form1->Caption(), c.fixture);
  }
}

TEST(TurbomoleReaders, ComputedSlotsGetTitlesPageAndTheErgLabel) {
  Session ui;
  open(ui, fixture("readers/turbomole/escf_rpa.out"));
  const Store& store = ui.store();
  EXPECT_EQ(store.CDTITLE[1], "escf_rpa.out");
  EXPECT_EQ(store.UVTITLE[1], "escf_rpa.out");
  EXPECT_TRUE(Form1->UVspectra1->Enabled());
  EXPECT_TRUE(Form1->N2ndSpectrum1->Enabled());
  EXPECT_EQ(Form1->PageControl1->ActivePage(), Form1->TabSheet1);
  EXPECT_FALSE(Form1->Edit17->Enabled());
  EXPECT_FALSE(Form1->Edit26->Enabled());
  EXPECT_EQ(Form10->Edit10->Text(), "{/Symbol De} [M^{-1}{/Symbol \\327}cm^{-1}]");
  EXPECT_EQ(Form10->Edit11->Text(), ergUnit);
  EXPECT_NE(store.EPS(2500, 1), 0.0);
  EXPECT_NE(store.ABSG(2500, 1), 0.0);
}

TEST(TurbomoleReaders, TheLastTableOfAFileCounts) {
  for (const char* name : {"escf_rpa.out", "ricc2_rotatory.out"}) {
    SCOPED_TRACE(name);
    Session ui;
    const std::string text = readTextFile(fixture(std::string("readers/turbomole/") + name));
    // The same run again with the first state moved to 300 nm (4.13161 eV).
    std::string second = replaced(text, "250.0000000000000", "300.0000000000000");
    second = replaced(second, "    4.95793 e.V.", "    4.13161 e.V.");
    openText(ui, name, text + second);
    EXPECT_DOUBLE_EQ(ui.store().ROTS(2500, 1), std::string(name) == "escf_rpa.out" ? -0.25 : 0.0);
    EXPECT_NE(ui.store().ROTS(3000, 1), 0.0);
    EXPECT_EQ(Form1->Label11->Caption(), "3");
  }
}

TEST(TurbomoleReaders, RotatoryLinesWithoutTheErgUnitDoNotCount) {
  Session ui;
  const std::string text = readTextFile(fixture("readers/turbomole/ricc2_rotatory.out"));
  openText(ui, "no-unit.out", replaced(text, "10^(-40)*erg*cm^3", "a.u."));
  EXPECT_EQ(ui.store().CDACTIVE[1], "false");
  EXPECT_DOUBLE_EQ(ui.store().ROTS(1398, 1), 0.0);
  EXPECT_DOUBLE_EQ(ui.store().OSC(1398, 1), 0.09614727);
}

TEST(TurbomoleReaders, CompareIntoSlotTwoBesideAMeasuredCurve) {
  Session ui;
  ui.store().CDACTIVE[1] = "exp";
  Form10->Edit11->SetText("CD [mdeg]");
  const std::string count = Form1->Label11->Caption();
  ui.act([&] { Form1->DetectQMSCD(fixture("readers/turbomole/escf_rpa.out"), 2); });
  EXPECT_EQ(ui.store().CDACTIVE[2], "calc");
  EXPECT_DOUBLE_EQ(ui.store().ROTS(2500, 2), 2.25);
  EXPECT_EQ(Form10->Edit11->Text(), ergUnit);
  // The labels belong to slot 1.
  EXPECT_EQ(Form1->Label11->Caption(), count);
}

TEST(TurbomoleReaders, MoreStatesThanTheTableHoldsAreNotedOnce) {
  Session ui;
  const std::string text = readTextFile(fixture("readers/turbomole/escf_rpa.out"));
  const size_t first = text.find("\n\n\n                         1 singlet");
  const size_t end = text.find("\n\n   ****  escf : all done");
  const std::string block =
      text.substr(first, text.find("\n\n\n                         2 singlet") - first);
  std::string many = text.substr(0, first);
  for (int i = 0; i < 351; ++i) many += block;
  openText(ui, "many.out", many + text.substr(end));
  EXPECT_TRUE(ui.errorBoxes().empty());
  EXPECT_EQ(Form1->Label11->Caption(), "350");
  EXPECT_NEAR(ui.store().OSC(2500, 1), 350 * 0.02, 1e-12);
  // The UV and the ECD reader found the same: one note.
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_EQ(ui.lastBox().text,
            "Not everything of many.out was loaded: the states after the first 350 of a table.");
}

TEST(TurbomoleReaders, AFileCutInsideAStateEndsInTheConversionError) {
  Session ui;
  const std::string text = readTextFile(fixture("readers/turbomole/escf_rpa.out"));
  openText(ui, "cut.out", text.substr(0, text.find(" Rotatory strength:")));
  ASSERT_EQ(ui.errorBoxes().size(), 1u);
  EXPECT_EQ(ui.lastBox().caption, "EConvertError");
  EXPECT_NE(ui.store().UVACTIVE[1], "calc");
}

// ---- Real outputs ---------------------------------------------------------------------

TEST(TurbomoleCorpus, EveryFileLoadsWithoutABox) {
  const std::string folder = corpus("turbomole");
  if (folder.empty()) GTEST_SKIP() << "corpus absent";
  const std::vector<std::string> files = FindFiles(folder, "*", true);
  ASSERT_FALSE(files.empty());
  openEachInBothFormalisms(files, [](Session& ui, const std::string& path, bool) {
    EXPECT_TRUE(ui.errorBoxes().empty()) << path;
    // The ground-state outputs beside the excited-state ones hold no spectrum.
    expectOnlyAllowedBoxes(ui, path, {});
  });
}

struct CorpusCase {
  const char* file;
  bool velocity;
  const char* states;
  Bin rotatory;
  Bin oscillator;
};

TEST(TurbomoleCorpus, StateCountsAndBinsMatchThePrintedValues) {
  const std::vector<CorpusCase> cases = {
      // 170.6767858647062 nm: R(length) 0.1270058686227676E-03, f(length)
      // 0.2047320959085297E-02; velocity -0.9891888751453384E-03, 0.3223824183109074E-02.
      {"turbomole/escf/tm7.6_ris_RKS_pbe0_TDDFT_escf.out",
       false,
       "10",
       {1707, 0.1270058686227676E-03},
       {1707, 0.2047320959085297E-02}},
      {"turbomole/escf/tm7.6_ris_RKS_pbe0_TDDFT_escf.out",
       true,
       "10",
       {1707, -0.9891888751453384E-03},
       {1707, 0.3223824183109074E-02}},
      // TURBOMOLE 7.4: the two states at 146.4375 nm share bin 1464.
      {"turbomole/escf/tm7.4_cclib_CO_TD/escf.out",
       false,
       "10",
       {1464, 0.8029927479925187E-06 - 0.8034982294201765E-06},
       {1464, 0.9461905579062439E-01 + 0.9461511031178634E-01}},
      // 8.86403 eV (139.83 nm) twice: 0.09614727 + 0.09614705.
      {"turbomole/ricc2/tm7.4_cclib_CO_cc2_TD/ricc2.out",
       false,
       "10",
       {1398, 0.0},
       {1398, 0.09614727 + 0.09614705}},
      // TURBOMOLE 7.0: energies without absorption strengths give no state.
      {"turbomole/ricc2/tm7.0_fromage_ricc2.out", false, "0", {1000, 0.0}, {3020, 0.0}},
  };
  for (const CorpusCase& c : cases) {
    const std::string path = corpus(c.file);
    if (path.empty()) GTEST_SKIP() << "corpus absent";
    Session ui;
    if (c.velocity) chooseVelocity(ui);
    open(ui, path);
    SCOPED_TRACE(std::string(c.file) + (c.velocity ? " velocity" : " length"));
    // An output without a state draws nothing and leaves the label as it was.
    EXPECT_EQ(Form1->Label11->Caption(), std::string(c.states) == "0" ? "--" : c.states);
    EXPECT_DOUBLE_EQ(ui.store().ROTS(c.rotatory.bin, 1), c.rotatory.value);
    EXPECT_DOUBLE_EQ(ui.store().OSC(c.oscillator.bin, 1), c.oscillator.value);
  }
}

}  // namespace
