// The ORCA readers: the table layouts of every version, the unit rule of the
// readers before version 4, one gauge per load, the sTDA state table, range
// edges, and the real outputs of the shared corpus.
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

const char* const lengthOnly = "ORCA-CD-Values are always from Length-Formalism!";
constexpr double atomicToSgs = 471.450602;

// A fixture with some of its text changed, written into the session's folder.
std::string variant(Session& ui, const std::string& name,
                    const std::vector<std::pair<std::string, std::string>>& changes) {
  std::string text = readTextFile(fixture("readers/orca/" + name));
  for (const auto& [from, to] : changes) {
    EXPECT_NE(text.find(from), std::string::npos) << from;
    text = replaced(text, from, to);
  }
  const std::string path = ui.path("variant-" + name);
  writeTextFile(path, text);
  return path;
}

struct LayoutCase {
  const char* fixture;
  bool velocity;
  std::vector<Bin> rotatory;
  std::vector<Bin> oscillator;
  const char* states;
  const char* first;
  const char* last;
};

// Each layout in both formalisms: the values the rows print, each once.
TEST(OrcaReaders, EveryLayoutFillsItsBinsInBothFormalisms) {
  const std::vector<LayoutCase> cases = {
      // Rotatory strengths in atomic units: two rows share bin 2500; 300 nm
      // has no energy, 100 and 4000 nm lie outside; all six are counted.
      {"pre4.out",
       false,
       {{2500, 0.03 * atomicToSgs},
        {2916, -0.1 * atomicToSgs},
        {3000, 0.0},
        {1000, 0.0},
        {40000, 0.0}},
       {{2500, 0.03}, {2916, 0.3}},
       "6",
       "250 nm",
       "291.6 nm"},
      // No velocity table before version 2.8.
      {"pre4.out", true, {{2500, 0.0}}, {{2500, 0.0}}, "--", "--", "--"},
      {"v41.out",
       false,
       {{2198, -1.23}, {2054, 2.5}},
       {{2198, 0.002427413}, {2054, 0.943346391}},
       "2",
       "205.4 nm",
       "219.8 nm"},
      // The velocity absorption table with its spin-forbidden rows.
      {"v41.out",
       true,
       {{2198, 0.0}},
       {{2198, 0.000231718}, {2054, 0.092918800}},
       "--",
       "--",
       "--"},
      {"v42.out",
       false,
       {{2689, 1.5}, {2222, -0.75}},
       {{2689, 0.012345678}, {2222, 0.1}},
       "2",
       "222.2 nm",
       "268.9 nm"},
      // The electric-dipole CD table only, though the velocity one follows.
      {"v5.out",
       false,
       {{2317, 0.4}, {2163, -0.2}},
       {{2317, 0.005267213}, {2163, 1.171011871}},
       "2",
       "216.3 nm",
       "231.7 nm"},
      {"v5.out", true, {{2317, 0.0}}, {{2317, 0.000148322}, {2163, 0.088861441}}, "--", "--", "--"},
      // The X-ray tables after them are no absorption table of ours.
      {"v5_xray.out",
       false,
       {{2317, 0.4}, {2163, -0.2}},
       {{2317, 0.005267213}, {2163, 1.171011871}, {2500, 0.0}, {2600, 0.0}},
       "2",
       "216.3 nm",
       "231.7 nm"},
      {"v5_xray.out",
       true,
       {{2317, 0.0}},
       {{2317, 0.000148322}, {2163, 0.088861441}, {2500, 0.0}, {2600, 0.0}},
       "--",
       "--",
       "--"},
      // The spin-orbit tables repeat the excitations: passed over.
      {"v5_soc.out",
       false,
       {{2317, 0.4}, {4621, 0.0}},
       {{2317, 0.005267213}},
       "2",
       "216.3 nm",
       "231.7 nm"},
      // An eV column and "0-1Ag ->  1-1Bu" labels; the note after the last
      // row ends the table.
      {"v6.out",
       false,
       {{2317, 0.61}, {2163, -0.32}, {3962, 0.0}},
       {{2317, 0.005038390}, {2163, 1.170940055}},
       "3",
       "216.3 nm",
       "231.7 nm"},
      {"v6.out", true, {{2317, 0.0}}, {{2317, 0.000133774}, {2163, 0.088890287}}, "--", "--", "--"},
      // The state table: each strength from the column of its name.
      {"stda.out",
       false,
       {{1871, 0.0024}, {1868, -6.595360}, {1515, -33.378989 + 10.0}},
       {{1871, 0.0}, {1868, 0.000188}, {1515, 0.708166 + 0.1}},
       "4",
       "151.5 nm",
       "187.1 nm"},
      {"stda.out",
       true,
       {{1871, 0.033014}, {1868, -6.544674}, {1515, -33.157817 + 11.0}},
       {{1871, 0.000001}, {1868, 0.000233}, {1515, 0.559459 + 0.2}},
       "4",
       "151.5 nm",
       "187.1 nm"},
  };
  for (const LayoutCase& c : cases) {
    SCOPED_TRACE(std::string(c.fixture) + (c.velocity ? " velocity" : " length"));
    Session ui;
    if (c.velocity) chooseVelocity(ui);
    open(ui, fixture(std::string("readers/orca/") + c.fixture));
    EXPECT_TRUE(ui.errorBoxes().empty()) << (ui.boxes().empty() ? "" : ui.lastBox().text);
    expectBins(ui.store(), c.rotatory, c.oscillator);
    // A layout that draws nothing in this formalism leaves the window as it was.
    bool drawsNothing = true;
    for (const auto& bins : {c.rotatory, c.oscillator})
      for (const Bin& bin : bins) drawsNothing = drawsNothing && bin.value == 0.0;
    expectStateLabels(c.states, c.first, c.last);
    EXPECT_EQ(Form1->Caption(), drawsNothing ? "Orvanix 1.0" : c.fixture);
  }
}

TEST(OrcaReaders, ComputedSlotsGetTitlesMenusAndTheSgsLabels) {
  Session ui;
  open(ui, fixture("readers/orca/v41.out"));
  const Store& store = ui.store();
  EXPECT_EQ(store.CDACTIVE[1], "calc");
  EXPECT_EQ(store.UVACTIVE[1], "calc");
  EXPECT_EQ(store.CDTITLE[1], "v41.out");
  EXPECT_EQ(store.UVTITLE[1], "v41.out");
  EXPECT_TRUE(Form1->CDspectra1->Enabled());
  EXPECT_TRUE(Form1->UVspectra1->Enabled());
  EXPECT_TRUE(Form1->N2ndSpectrum1->Enabled());
  EXPECT_EQ(Form1->PageControl1->ActivePage(), Form1->TabSheet1);
  EXPECT_FALSE(Form1->Edit17->Enabled());
  EXPECT_FALSE(Form1->Edit26->Enabled());
  EXPECT_EQ(Form10->Edit10->Text(), "{/Symbol De} [M^{-1}{/Symbol \\327}cm^{-1}]");
  EXPECT_EQ(Form10->Edit11->Text(), "CD [sgs units \\327 10^{-40}]");
  // The band comes from the line spectrum.
  EXPECT_NE(store.EPS(2054, 1), 0.0);
}

TEST(OrcaReaders, OnlyTheReadersBeforeVersionFourConvertAtomicUnits) {
  struct UnitCase {
    const char* fixture;
    std::vector<std::pair<std::string, std::string>> changes;
    double factor;
  };
  const std::vector<UnitCase> cases = {
      {"pre4.out", {}, atomicToSgs},
      // ORCA 2.8 to 3.0 print 10^-40 sgs already.
      {"pre4.out",
       {{"Version 2.6", "Version 3.0.3"}, {"(au)      (au)      (au)", "(1e40*sgs)"}},
       1.0},
      // A unit line that names no sgs unit, or none at all, converts.
      {"pre4.out", {{"(au)      (au)      (au)", "(1e40*cgs)"}}, atomicToSgs},
      {"pre4.out",
       {{"        (cm-1)   (nm)      (au)      (au)      (au)                ", ""}},
       atomicToSgs},
      {"v41.out", {{"(1e40*sgs)", "(au)"}}, 1.0},
  };
  for (const UnitCase& c : cases) {
    Session ui;
    open(ui, variant(ui, c.fixture, c.changes));
    SCOPED_TRACE(std::string(c.fixture) + " x" + std::to_string(c.factor));
    EXPECT_TRUE(ui.boxes().empty());
    if (std::string(c.fixture) == "pre4.out")
      EXPECT_DOUBLE_EQ(ui.store().ROTS(2916, 1), -0.1 * c.factor);
    else
      EXPECT_DOUBLE_EQ(ui.store().ROTS(2054, 1), 2.5 * c.factor);
  }
}

TEST(OrcaReaders, VelocityRefusesEveryElectricDipoleCdTableOnce) {
  Session ui;
  chooseVelocity(ui);
  const std::string twoBlocks = ui.path("two.out");
  const std::string text = readTextFile(fixture("readers/orca/v6.out"));
  const std::string tables = text.substr(text.find("-----"));
  writeTextFile(twoBlocks, text + tables);
  for (const std::string& path : {fixture("readers/orca/v5.out"), twoBlocks}) {
    ui.clearBoxes();
    open(ui, path);
    const size_t tablesInFile = path == twoBlocks ? 2 : 1;
    EXPECT_EQ(boxTexts(ui), std::vector<std::string>(tablesInFile, lengthOnly)) << path;
    EXPECT_EQ(ui.store().CDACTIVE[1], "false") << path;
    EXPECT_FALSE(Form1->CDspectra1->Enabled()) << path;
  }
  // A later table of the same kind replaces the earlier one.
  ui.tick(Form2->RadioButton2);
  open(ui, twoBlocks);
  EXPECT_DOUBLE_EQ(ui.store().ROTS(2317, 1), 0.61);
  EXPECT_DOUBLE_EQ(ui.store().OSC(2163, 1), 1.170940055);
  EXPECT_EQ(Form1->Label11->Caption(), "3");
}

TEST(OrcaReaders, OrcaSixRowsWithAnyStateLabels) {
  for (const char* labels : {"0-1A  ->  1-1A ", "0  ->  1       ", "0-1Ag -> 1-1Bu "}) {
    Session ui;
    open(ui, variant(ui, "v6.out", {{"0-1Ag ->  1-1Bu ", labels}}));
    SCOPED_TRACE(labels);
    EXPECT_TRUE(ui.boxes().empty());
    EXPECT_DOUBLE_EQ(ui.store().ROTS(2317, 1), 0.61);
    EXPECT_DOUBLE_EQ(ui.store().OSC(2317, 1), 0.005038390);
  }
}

TEST(OrcaReaders, ParenthesisWithoutArrowLosesOnlyTheTextToItsClosingOne) {
  Session ui;
  open(ui, variant(ui, "v42.out",
                   {{"  0( 1)-> 2( 1) 1   45004.5    222.2    -0.75000",
                     "  2( 1) 1   45004.5    222.2    -0.75000"}}));
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_DOUBLE_EQ(ui.store().ROTS(2222, 1), -0.75);
}

TEST(OrcaReaders, AFileWithStateAndCdTablesTakesEachTransitionOnceFromTheCdTable) {
  const std::string cdTable =
      "\n-------------------------------------------------------------------\n"
      "                             CD SPECTRUM\n"
      "-------------------------------------------------------------------\n"
      "State   Energy Wavelength       R         MX        MY        MZ   \n"
      "        (cm-1)   (nm)       (1e40*sgs)   (au)      (au)      (au)  \n"
      "-------------------------------------------------------------------\n"
      "   1   53447.2    187.1     -1.00000  -0.00000   0.00000  -0.00000\n"
      "   2   40000.0    250.0      0.50000  -0.00000   0.00000   0.00000\n"
      "\n";
  const std::string absorptionTable =
      "\n-----------------------------------------------------------------------------\n"
      "         ABSORPTION SPECTRUM VIA TRANSITION ELECTRIC DIPOLE MOMENTS\n"
      "-----------------------------------------------------------------------------\n"
      "State   Energy  Wavelength   fosc         T2         TX        TY        TZ  \n"
      "        (cm-1)    (nm)                  (au**2)     (au)      (au)      (au) \n"
      "-----------------------------------------------------------------------------\n"
      "   1   53447.2    187.1   0.300000000   0.01757   0.11435  -0.06702   0.00000\n"
      "\n";
  const std::string stda = readTextFile(fixture("readers/orca/stda.out"));
  for (bool tablesFirst : {false, true}) {
    Session ui;
    const std::string path = ui.path("stda-and-cd.out");
    const size_t marker = stda.find("    state   eV");
    const std::string text =
        tablesFirst ? stda.substr(0, marker) + cdTable + absorptionTable + stda.substr(marker)
                    : stda + cdTable + absorptionTable;
    writeTextFile(path, text);
    open(ui, path);
    SCOPED_TRACE(tablesFirst ? "CD table first" : "state table first");
    EXPECT_DOUBLE_EQ(ui.store().ROTS(1871, 1), -1.0);
    EXPECT_DOUBLE_EQ(ui.store().ROTS(2500, 1), 0.5);
    EXPECT_DOUBLE_EQ(ui.store().ROTS(1868, 1), 0.0);
    EXPECT_DOUBLE_EQ(ui.store().OSC(1871, 1), 0.3);
    EXPECT_DOUBLE_EQ(ui.store().OSC(1515, 1), 0.0);
    EXPECT_EQ(Form1->Label11->Caption(), "2");
    // With "velocity" the CD table is refused and the state table's RV counts.
    chooseVelocity(ui);
    open(ui, path);
    EXPECT_EQ(boxTexts(ui), std::vector<std::string>{lengthOnly});
    EXPECT_DOUBLE_EQ(ui.store().ROTS(1868, 1), -6.544674);
    EXPECT_DOUBLE_EQ(ui.store().ROTS(2500, 1), 0.0);
    EXPECT_EQ(Form1->Label11->Caption(), "4");
  }
}

TEST(OrcaReaders, CutTablesAndEmptyTables) {
  // A file cut inside a row's fields: the rows before it are loaded, and
  // the one message says that the file ends inside the table.
  {
    Session ui;
    const std::string text = readTextFile(fixture("readers/orca/v41.out"));
    openText(ui, "cut.out", text.substr(0, text.find("48696.9    205.4      2.5") + 16));
    EXPECT_TRUE(ui.errorBoxes().empty());
    EXPECT_DOUBLE_EQ(ui.store().ROTS(2198, 1), -1.23);
    EXPECT_EQ(ui.store().CDACTIVE[1], "calc");
    EXPECT_EQ(ui.store().CDTITLE[1], "cut.out");
    ASSERT_EQ(ui.boxes().size(), 1u);
    EXPECT_EQ(ui.lastBox().text,
              "The file \"cut.out\" ends inside a table (1 state read); the rows it prints whole "
              "were loaded.");
  }
  // A file that ends right after a marker: the slot is computed and empty.
  {
    Session ui;
    const std::string text = readTextFile(fixture("readers/orca/v41.out"));
    openText(ui, "marker-only.out", text.substr(0, text.find("CD SPECTRUM") + 12));
    EXPECT_TRUE(ui.errorBoxes().empty());
    EXPECT_EQ(ui.store().CDACTIVE[1], "calc");
    EXPECT_EQ(ui.store().CDTITLE[1], "marker-only.out");
    EXPECT_EQ(Form1->Label11->Caption(), "0");
    EXPECT_EQ(Form1->Label13->Caption(), "--");
    EXPECT_EQ(boxTexts(ui), std::vector<std::string>{
                                "The file \"marker-only.out\" ends inside a table (0 states read); "
                                "the rows it prints whole were loaded."});
  }
  // A complete table before the cut one is the result.
  {
    Session ui;
    const std::string text = readTextFile(fixture("readers/orca/v41.out"));
    const std::string cut = text.substr(0, text.find("48696.9    205.4      2.5") + 16);
    openText(ui, "again.out", text + cut.substr(cut.find("-----")));
    EXPECT_TRUE(ui.errorBoxes().empty());
    EXPECT_EQ(ui.lastBox().text.substr(ui.lastBox().text.size() - 35),
              "the last complete table was loaded.");
  }
}

TEST(OrcaReaders, AnInputOutputErrorStillClosesAComputedSlot) {
  Session ui;
  open(ui, fixture("readers/orca/v41.out"));
  ui.act([&] { Form1->DetectQMSCD(fixture("readers/orca/v5.out"), 2); });
  ASSERT_EQ(ui.store().CDACTIVE[2], "calc");
  ui.clearBoxes();
  // The reader's own guard: the slot was computed, so it is closed under
  // the new name before the error is reported.
  ui.act([&] { Form1->ORCA4CD(ui.path("gone.out"), 2); });
  ASSERT_EQ(ui.errorBoxes().size(), 1u);
  EXPECT_EQ(ui.lastBox().caption, "EInOutError");
  EXPECT_EQ(ui.store().CDTITLE[2], "gone.out");
  EXPECT_DOUBLE_EQ(ui.store().ROTS(2317, 2), 0.0);
}

// ---- Real outputs -------------------------------------------------------------------

TEST(OrcaCorpus, EveryFileLoadsWithoutAnErrorBox) {
  const std::string folder = corpus("orca");
  if (folder.empty()) GTEST_SKIP() << "corpus absent";
  const std::vector<std::string> files = FindFiles(folder, "*", true);
  ASSERT_FALSE(files.empty());
  openEachInBothFormalisms(files, [](Session& ui, const std::string& path, bool velocity) {
    EXPECT_TRUE(ui.errorBoxes().empty()) << path << ": " << (ui.boxes().empty() ? "" : ui.lastBox().text);
    // With "velocity" the one message is the refusal of the CD tables.
    expectOnlyAllowedBoxes(ui, path,
                           velocity ? std::vector<std::string>{lengthOnly}
                                    : std::vector<std::string>{});
  });
}

struct CorpusCase {
  const char* file;
  const char* states;
  Bin rotatory;
  Bin oscillator;
};

TEST(OrcaCorpus, StateCountsAndBinsMatchThePrintedTables) {
  const std::vector<CorpusCase> cases = {
      // R in au, all printed as zero; five rows besides the spin-forbidden ones.
      {"orca/uv_ecd/orca2.6_cclib-data_dvb_td.out", "5", {2378, 0.0}, {2216, 1.187962523}},
      {"orca/uv_ecd/orca2.8_cclib-data_dvb_td.out", "5", {2054, 0.0}, {2054, 0.943346391}},
      {"orca/uv_ecd/orca2.9_cclib-data_dvb_td.out", "5", {2198, 0.0}, {2054, 0.943346391}},
      {"orca/uv_ecd/orca3.0_cclib-data_dvb_td.out", "5", {2198, 0.0}, {2054, 0.943346377}},
      // 142.6 nm stands twice in the CD table: both add.
      {"orca/uv_ecd/orca4.0_cclib-data_1-ttt_td.out",
       "24",
       {1426, 0.00051 + 0.03823},
       {2611, 0.000783033}},
      {"orca/uv_ecd/orca4.1_cclib-data_dvb_td.out", "5", {2317, 0.0}, {2317, 0.005629700}},
      {"orca/uv_ecd/orca4.2_cclib-data_dvb_td.out", "5", {2317, 0.0}, {2167, 1.165369790}},
      // The electric-dipole R of 216.3 nm, not the velocity one (-0.00003) added.
      {"orca/uv_ecd/orca5.0_cclib_dvb_td.out", "5", {2163, 0.00010}, {2163, 1.171011871}},
      {"orca/uv_ecd/orca6.0_cclib_dvb_td.out", "10", {1672, 0.0}, {2163, 1.170940055}},
  };
  for (const CorpusCase& c : cases) {
    const std::string path = corpus(c.file);
    if (path.empty()) GTEST_SKIP() << "corpus absent";
    Session ui;
    open(ui, path);
    EXPECT_EQ(Form1->Label11->Caption(), c.states) << c.file;
    EXPECT_DOUBLE_EQ(ui.store().ROTS(c.rotatory.bin, 1), c.rotatory.value) << c.file;
    EXPECT_DOUBLE_EQ(ui.store().OSC(c.oscillator.bin, 1), c.oscillator.value) << c.file;
  }
}

// Outputs that print a table of one kind several times give the last one:
// STEOM-CCSD prints right, left and left-right moments; an optimisation one
// TD-DFT block per geometry.
TEST(OrcaCorpus, RepeatedTablesGiveTheLastOne) {
  struct Case {
    const char* file;
    std::vector<Bin> rotatory, oscillator;
  };
  const std::vector<Case> cases = {
      {"orca/uv_ecd/orca6.0_cclib_dvb_steom_ccsd.log",
       {{2643, 0.00045}, {1621, 0.51977}},
       {{2643, 0.000317410}, {1621, 1.084982374}}},
      {"orca/uv_ecd/orca5.0_cclib-data_Benzene_opt_etsyms.log",
       {{1671, -0.00060}, {1455, -0.00231 + 0.00232}},
       {{1671, 1.087369886}, {1670, 1.086609216}}},
  };
  for (const Case& c : cases) {
    const std::string path = corpus(c.file);
    if (path.empty()) GTEST_SKIP() << "corpus absent";
    Session ui;
    open(ui, path);
    SCOPED_TRACE(c.file);
    EXPECT_TRUE(ui.boxes().empty());
    expectBins(ui.store(), c.rotatory, c.oscillator);
    // Nothing of an earlier table stands beside the last one's lines.
    double rotatory = 0.0, oscillator = 0.0;
    for (const Bin& b : c.rotatory) rotatory += b.value;
    for (const Bin& b : c.oscillator) oscillator += b.value;
    if (std::string(c.file).find("steom") != std::string::npos) {
      EXPECT_NEAR(sumOfBins(ui.store().ROTS, 1), rotatory, 1e-12);
      EXPECT_NEAR(sumOfBins(ui.store().OSC, 1), oscillator, 1e-12);
      EXPECT_EQ(Form1->Label11->Caption(), "2");
    }
  }
}

}  // namespace
