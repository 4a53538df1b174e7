// NWChem and Dalton outputs: the root list and its markers, the Dalton
// result table with and without its "@" prefix, fields by formalism, labels,
// bounded tables and file errors; then every NWChem and Dalton output of the
// shared corpus.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/files.h"
#include "platform/testing/session.h"
#include "plots/cdplotting.h"
#include "readers/reader_core.h"
#include "settings/settings.h"
#include "tests/reader_test_support.h"

namespace {

const char* const esuUnit = "CD [esu^2 \\327 cm^2 \\327 10^{-40}]";
const char* const deltaEpsilon = "{/Symbol De} [M^{-1}{/Symbol \\327}cm^{-1}]";
const char* const nwchemVelocityMessage = "Velocity formalism not supported for NWChem";

// ---- NWChem -------------------------------------------------------------------

TEST(NwchemOutputs, SingletRootsEnterAndEveryRootCounts) {
  Session ui;
  open(ui, fixture("readers/nwchem/ecd.out"));
  const Store& store = ui.store();
  EXPECT_TRUE(ui.boxes().empty());
  // Roots 1 and 3 (5.0 eV) share bin 2479; the triplet root 2 adds nothing;
  // root 4 (5.44 eV) goes to bin 2278.
  EXPECT_DOUBLE_EQ(store.ROTS(2479, 1), 12.5 - 2.5);
  EXPECT_DOUBLE_EQ(store.ROTS(2278, 1), -1.0);
  EXPECT_DOUBLE_EQ(store.OSC(2479, 1), 0.15);
  EXPECT_DOUBLE_EQ(store.OSC(2278, 1), 0.02);
  EXPECT_EQ(store.ROTS(3099, 1), 0.0);
  EXPECT_EQ(store.OSC(3099, 1), 0.0);
  expectStateLabels("4", "227.8 nm", "247.9 nm");
  EXPECT_EQ(store.CDACTIVE[1], "calc");
  EXPECT_EQ(store.UVACTIVE[1], "calc");
  EXPECT_EQ(store.CDTITLE[1], "ecd.out");
  EXPECT_EQ(store.UVTITLE[1], "ecd.out");
  EXPECT_EQ(Form1->Caption(), "ecd.out");
  EXPECT_EQ(Form10->Edit10->Text(), deltaEpsilon);
  EXPECT_EQ(Form10->Edit11->Text(), esuUnit);
  EXPECT_TRUE(Form1->CDspectra1->Enabled());
  EXPECT_TRUE(Form1->UVspectra1->Enabled());
  EXPECT_FALSE(Form1->Edit26->Enabled());
}

TEST(NwchemOutputs, VelocityIsRefusedAndMissingMarkersLoadNothing) {
  {
    Session ui;
    chooseVelocity(ui);
    // The UV and the ECD reader both meet their marker; the person is told
    // once per open, also when the same file is opened again.
    for (int opening = 1; opening <= 2; ++opening) {
      SCOPED_TRACE(opening);
      ui.clearBoxes();
      open(ui, fixture("readers/nwchem/ecd.out"));
      EXPECT_EQ(boxTexts(ui), std::vector<std::string>{nwchemVelocityMessage});
      EXPECT_NE(ui.store().CDACTIVE[1], "calc");
      EXPECT_NE(ui.store().UVACTIVE[1], "calc");
    }
  }
  Session ui;
  const std::string path = ui.path("nomarker.out");
  writeTextFile(
      path,
      " Northwest Computational Chemistry Package (NWChem) 7.0.0\n Ground state a -1.0 a.u.\n"
      "  Root   1 singlet a   0.18 a.u.   5.0000 eV\n");
  open(ui, path);
  EXPECT_EQ(boxTexts(ui), std::vector<std::string>{nothingDrawnMessage(path, noTableReason)});
  EXPECT_NE(ui.store().CDACTIVE[1], "calc");
  EXPECT_NE(ui.store().UVACTIVE[1], "calc");
}

TEST(NwchemOutputs, TheTableIsBoundedAndACutListEndsAtTheEndOfTheFile) {
  Session ui;
  std::string text =
      " Northwest Computational Chemistry Package (NWChem) 7.0.0\n Ground state a -1.0 a.u.\n";
  for (int i = 1; i <= 360; ++i)
    text += "  Root " + std::to_string(i) +
            " singlet a   0.18 a.u.   5.0000 eV\n"
            "     Dipole Oscillator Strength        0.01\n"
            "     Rotatory Strength (1E-40 esu**2cm**2):   1.0\n";
  // No "Target root": the list ends with the file.
  openText(ui, "big.out", text);
  EXPECT_TRUE(ui.errorBoxes().empty());
  EXPECT_EQ(Form1->Label11->Caption(), "360");
  EXPECT_DOUBLE_EQ(ui.store().ROTS(2479, 1), 350.0);
  // The UV reader keeps no table.
  EXPECT_NEAR(ui.store().OSC(2479, 1), 3.6, 1e-9);
  const std::string cut =
      "The file \"big.out\" ends inside a table (360 states read); the rows it prints whole were "
      "loaded.";
  EXPECT_EQ(boxTexts(ui),
            (std::vector<std::string>{
                cut, cut + " Not everything of big.out was loaded: the states after the first 350 "
                           "of a table."}));
}

// ---- Dalton -----------------------------------------------------------------------

struct DaltonCase {
  const char* file;
  bool velocity;
  double rotatoryAt2479, oscillatorAt2479, rotatoryAt3099, oscillatorAt3099;
};

TEST(DaltonOutputs, FieldsByFormalismWithAndWithoutThePrefix) {
  const std::vector<DaltonCase> cases = {
      {"ecd.out", false, -49.017 + 20.0, 0.0754 + 0.2, -0.228, 0.0019},
      {"ecd.out", true, -51.307 + 10.0, 0.0826 + 0.1, -0.215, 0.0016},
      {"ecd_plain.out", false, -49.017 + 20.0, 0.0754 + 0.2, -0.228, 0.0019},
      {"ecd_plain.out", true, -51.307 + 10.0, 0.0826 + 0.1, -0.215, 0.0016},
  };
  for (const DaltonCase& c : cases) {
    Session ui;
    if (c.velocity) chooseVelocity(ui);
    open(ui, fixture(std::string("readers/dalton/") + c.file));
    const Store& store = ui.store();
    SCOPED_TRACE(std::string(c.file) + (c.velocity ? " velocity" : " length"));
    EXPECT_TRUE(ui.boxes().empty());
    EXPECT_DOUBLE_EQ(store.ROTS(2479, 1), c.rotatoryAt2479);
    EXPECT_DOUBLE_EQ(store.OSC(2479, 1), c.oscillatorAt2479);
    EXPECT_DOUBLE_EQ(store.ROTS(3099, 1), c.rotatoryAt3099);
    EXPECT_DOUBLE_EQ(store.OSC(3099, 1), c.oscillatorAt3099);
    EXPECT_NEAR(sumOfBins(store.ROTS, 1), c.rotatoryAt2479 + c.rotatoryAt3099, 1e-9);
    expectStateLabels("3", "247.9 nm", "309.9 nm");
    EXPECT_EQ(store.CDACTIVE[1], "calc");
    EXPECT_EQ(store.UVACTIVE[1], "calc");
    EXPECT_EQ(Form10->Edit11->Text(), esuUnit);
  }
}

TEST(DaltonOutputs, WithoutTheTableTheOpenChangesNothing) {
  Session ui;
  openText(ui, "none.out", "     Dalton - An Electronic Structure Program\n nothing else\n");
  EXPECT_EQ(boxTexts(ui), std::vector<std::string>{nothingDrawnMessage("none.out", noTableReason)});
  EXPECT_NE(ui.store().CDACTIVE[1], "calc");
  EXPECT_NE(ui.store().UVACTIVE[1], "calc");
  EXPECT_EQ(sumOfBins(ui.store().ROTS, 1), 0.0);
  expectStateLabels("--", "--", "--");
}

TEST(DaltonOutputs, AComparisonLoadSetsNoLabelsAndFileErrorsAreReported) {
  Session ui;
  open(ui, fixture("readers/dalton/ecd.out"));
  ui.act([&] {
    Form1->DALTONCD(fixture("readers/dalton/ecd_plain.out"), 2);
    Form1->DALTONUV(fixture("readers/dalton/ecd_plain.out"), 2);
  });
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_DOUBLE_EQ(ui.store().ROTS(3099, 2), -0.228);
  EXPECT_DOUBLE_EQ(ui.store().OSC(3099, 2), 0.0019);
  EXPECT_EQ(ui.store().CDTITLE[2], "ecd_plain.out");
  EXPECT_EQ(Form1->Caption(), "ecd.out");

  // The file vanishes after detection: the reader reports it and closes as
  // usual; its slot is computed, so it is drawn empty.
  const std::string path = ui.path("gone.out");
  writeTextFile(path, readTextFile(fixture("readers/dalton/ecd.out")));
  readers::watchReaders([&](const std::string&) { std::remove(path.c_str()); });
  ui.clearBoxes();
  ui.act([&] { Form1->DetectQMSCD(path, 3); });
  readers::watchReaders(nullptr);
  EXPECT_EQ(boxTexts(ui), std::vector<std::string>{
                              "File handling error occurred. Details: EInOutError/File not found (" + path + ")"});
  EXPECT_EQ(sumOfBins(ui.store().ROTS, 3), 0.0);
}

// ---- Corpus -------------------------------------------------------------------------

TEST(NwchemDaltonCorpus, EveryOutputOpens) {
  for (const char* program : {"nwchem", "dalton"}) {
    const std::string folder = corpus(program);
    if (folder.empty()) GTEST_SKIP() << "corpus absent";
    const std::vector<std::string> files = FindFiles(folder, "*", true);
    ASSERT_FALSE(files.empty());
    openEachInBothFormalisms(files, [program](Session& ui, const std::string& path, bool velocity) {
      EXPECT_TRUE(ui.errorBoxes().empty()) << path;
      // The only message: NWChem UV refusing the velocity formalism.
      expectOnlyAllowedBoxes(ui, path,
                             velocity && std::string(program) == "nwchem"
                                 ? std::vector<std::string>{nwchemVelocityMessage}
                                 : std::vector<std::string>{});
    });
  }
}

TEST(NwchemDaltonCorpus, CountsAndBinsMatchThePrintedTables) {
  const std::string ethylene = corpus("dalton/dalton_test_prop_ecd_prop_ecd_C2H4_intgrl_sym.out");
  if (ethylene.empty()) GTEST_SKIP() << "corpus absent";
  for (bool velocity : {false, true}) {
    Session ui;
    if (velocity) chooseVelocity(ui);
    open(ui, ethylene);
    SCOPED_TRACE(velocity ? "velocity" : "length");
    // Sixteen states over two symmetries; the first at 6.8496 eV (bin 1810)
    // with R -51.307 (velocity) and -49.017 (length), f 0.0826 and 0.0754.
    EXPECT_EQ(Form1->Label11->Caption(), "16");
    EXPECT_DOUBLE_EQ(ui.store().ROTS(1810, 1), velocity ? -51.307 : -49.017);
    EXPECT_DOUBLE_EQ(ui.store().OSC(1810, 1), velocity ? 0.0826 : 0.0754);
  }
  // NWChem: five singlet roots; root 1 at 5.3354 eV (bin 2323), f 0.1611342389.
  Session ui;
  open(ui, corpus("nwchem/nwchem7.0_cclib_dvb_td.out"));
  EXPECT_EQ(Form1->Label11->Caption(), "5");
  EXPECT_DOUBLE_EQ(ui.store().OSC(2323, 1), 0.1611342389);
  // Unrestricted roots are no singlets: none is entered, so the open draws
  // nothing and the roots loaded before stay.
  ui.clearBoxes();
  open(ui, corpus("nwchem/nwchem_qa_tddft_h2o_uhf.out"));
  EXPECT_EQ(ui.boxes().size(), 1u);
  EXPECT_EQ(Form1->Label11->Caption(), "5");
  EXPECT_DOUBLE_EQ(ui.store().OSC(2323, 1), 0.1611342389);
}

}  // namespace
