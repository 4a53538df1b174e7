// DFT/MRCI spectrum files (.cd, .uv) and ADF outputs: columns and fields by
// formalism, blocks that add up, labels, the pairing of ADF rotatory strengths
// with their energies, bounded tables, cut files and file errors; then every
// ADF output of the shared corpus.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/files.h"
#include "platform/testing/session.h"
#include "plots/cdplotting.h"
#include "settings/settings.h"
#include "tests/reader_test_support.h"

namespace {

const char* const esuUnit = "CD [esu^2 \\327 cm^2 \\327 10^{-40}]";
const char* const deltaEpsilon = "{/Symbol De} [M^{-1}{/Symbol \\327}cm^{-1}]";
const char* const pairingMessage = "Something wrong with the no. of excitations, check results!";
const char* const adfUvVelocityMessage =
    "Reading of Velocity Formalism for ADF-UV is NOT Implemented!";

// The first occurrence of `from` replaced; it must be there.
std::string replacedOnce(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// ---- DFT/MRCI ---------------------------------------------------------------

struct DftMrciCase {
  const char* file;
  bool velocity;
  // bins 3099 (4.0 eV) and 2479 (5.0 eV, both blocks)
  double at3099, at2479;
  const char *states, *first, *last;
};

TEST(DftMrciFiles, ColumnsByFormalismBlocksAddAndLabelsShowTheLastBlock) {
  const std::vector<DftMrciCase> cases = {
      // 13.0 eV (95.34 nm) lies below 100 nm: counted, not entered.
      {"mol.cd", false, 1.2345, -3.0 + 2.0, "1", "247.90 nm", "247.90 nm"},
      {"mol.cd", true, -2.5, 4.0 + 1.0, "1", "247.90 nm", "247.90 nm"},
      {"mol.uv", false, 0.01, 0.3, "2", "309.87 nm", "247.90 nm"},
      {"mol.uv", true, 0.02, 0.4, "2", "309.87 nm", "247.90 nm"},
  };
  for (const DftMrciCase& c : cases) {
    Session ui;
    if (c.velocity) chooseVelocity(ui);
    const std::string path = fixture(std::string("readers/dftmrci/") + c.file);
    open(ui, path);
    SCOPED_TRACE(std::string(c.file) + (c.velocity ? " velocity" : " length"));
    const bool ecd = std::string(c.file).ends_with(".cd");
    const Store& store = ui.store();
    const auto& grid = ecd ? store.ROTS : store.OSC;
    EXPECT_TRUE(ui.boxes().empty());
    EXPECT_DOUBLE_EQ(grid(3099, 1), c.at3099);
    EXPECT_DOUBLE_EQ(grid(2479, 1), c.at2479);
    EXPECT_NEAR(sumOfBins(grid, 1), c.at3099 + c.at2479, 1e-12);
    expectStateLabels(c.states, c.first, c.last);
    EXPECT_EQ(ecd ? store.CDACTIVE[1] : store.UVACTIVE[1], "calc");
    EXPECT_EQ(ecd ? store.CDTITLE[1] : store.UVTITLE[1], c.file);
    EXPECT_EQ(Form1->Caption(), path);
    EXPECT_FALSE(Form1->Label4->Visible());  // "Calculating" ends with the load
    EXPECT_TRUE((ecd ? Form1->CDspectra1 : Form1->UVspectra1)->Enabled());
    EXPECT_FALSE((ecd ? Form1->AddUVSpectrum1 : Form1->AddCDspectrum1)->Enabled());
    EXPECT_TRUE(Form1->N2ndSpectrum1->Enabled());
    EXPECT_FALSE(Form1->Edit17->Enabled());
    EXPECT_EQ(Form1->PageControl1->ActivePage(), Form1->TabSheet1);
    // These files leave the gnuplot labels as the reset wrote them.
    EXPECT_NE(Form10->Edit11->Text(), esuUnit);
  }
}

TEST(DftMrciFiles, EmptyCutAndOversizedFiles) {
  Session ui;
  // Without a table the window stays as it was; one box says why nothing is
  // drawn.
  openText(ui, "none.cd", "no table in here\n");
  EXPECT_EQ(boxTexts(ui), std::vector<std::string>{nothingDrawnMessage("none.cd", noTableReason)});
  EXPECT_NE(ui.store().CDACTIVE[1], "calc");
  EXPECT_FALSE(Form1->Label4->Visible());
  EXPECT_EQ(sumOfBins(ui.store().ROTS, 1), 0.0);
  EXPECT_EQ(Form1->Label11->Caption(), "--");

  // A table without states.
  ui.clearBoxes();
  openText(ui, "empty.uv", "DATAX\nDATAY\n");
  EXPECT_EQ(boxTexts(ui), std::vector<std::string>{nothingDrawnMessage("empty.uv", noTableReason)});
  expectStateLabels("--", "--", "--");

  // Cut inside the energies or inside the values: the conversion error of
  // the empty line past the end; the slot is not computed.
  for (const char* text :
       {"DATAX\n    1  4.0000\n", "DATAX\n    1  4.0000\n    2  5.0000\nDATAY\n    1 0.5 0.5\n"}) {
    ui.clearBoxes();
    openText(ui, "cut.cd", text);
    ASSERT_EQ(ui.errorBoxes().size(), 1u) << text;
    EXPECT_EQ(ui.errorBoxes()[0].caption, "EConvertError");
    EXPECT_NE(ui.store().CDACTIVE[1], "calc");
  }

  // 260 states at 5.0 eV: the first 250 enter, one message says so.
  ui.clearBoxes();
  std::string big = "DATAX\n";
  for (int i = 0; i < 260; ++i) big += "    1  5.0000\n";
  big += "DATAY\n";
  for (int i = 0; i < 260; ++i) big += "    1 1.0000000 2.0000000\n";
  openText(ui, "big.cd", big);
  EXPECT_TRUE(ui.errorBoxes().empty());
  EXPECT_DOUBLE_EQ(ui.store().ROTS(2479, 1), 250.0);
  EXPECT_EQ(Form1->Label11->Caption(), "260");
  EXPECT_EQ(boxTexts(ui),
            std::vector<std::string>{
                "Not everything of big.cd was loaded: the states after the first 250 of a table."});
}

// ---- ADF ----------------------------------------------------------------------------

TEST(AdfOutputs, RotatoryStrengthsPairWithTheEnergiesByFormalism) {
  for (bool velocity : {false, true}) {
    Session ui;
    if (velocity) chooseVelocity(ui);
    open(ui, fixture("readers/adf/ecd.out"));
    const Store& store = ui.store();
    SCOPED_TRACE(velocity ? "velocity" : "length");
    // The UV reader refuses the velocity formalism, once per energy table.
    EXPECT_EQ(boxTexts(ui), velocity ? std::vector<std::string>{adfUvVelocityMessage}
                                     : std::vector<std::string>{});
    // 5.0 eV: bin 2479; 4.95793 eV: bin 2500; 5.44 eV: bin 2278.
    EXPECT_DOUBLE_EQ(store.ROTS(2479, 1), velocity ? 11.0 : 12.345);
    EXPECT_DOUBLE_EQ(store.ROTS(2500, 1), velocity ? -4.0 : -5.0);
    EXPECT_DOUBLE_EQ(store.ROTS(2278, 1), velocity ? 0.5 : 0.25);
    EXPECT_EQ(store.CDACTIVE[1], "calc");
    EXPECT_EQ(store.CDTITLE[1], "ecd.out");
    EXPECT_EQ(Form1->Caption(), "ecd.out");
    EXPECT_EQ(Form1->Label11->Caption(), "3");
    // The lowest and highest line, not the first and last state.
    EXPECT_EQ(Form1->Label13->Caption(), "227.8 nm");
    EXPECT_EQ(Form1->Label15->Caption(), "250 nm");
    EXPECT_EQ(Form10->Edit10->Text(), deltaEpsilon);
    EXPECT_EQ(Form10->Edit11->Text(), esuUnit);
    EXPECT_TRUE(Form1->CDspectra1->Enabled());
    // The UV slot comes from the energy table, in the length formalism only.
    EXPECT_DOUBLE_EQ(store.OSC(2479, 1), velocity ? 0.0 : 0.01);
    EXPECT_DOUBLE_EQ(store.OSC(2500, 1), velocity ? 0.0 : 0.2);
    EXPECT_EQ(store.UVACTIVE[1], velocity ? "false" : "calc");
  }
}

TEST(AdfOutputs, CountsThatDifferLoadNoEcdAndTheUvTestIsStrict) {
  const std::string text = readTextFile(fixture("readers/adf/ecd.out"));
  const std::string lastEnergy = "   3:     0.19992      5.44000   0.3000E-01  A\n";
  // A fourth energy at exactly 100.0 nm.
  const std::string oneMore =
      replacedOnce(text, lastEnergy, lastEnergy + "   4:     0.45550     12.39482   0.5000      A\n");
  const std::string oneLess = replacedOnce(text, lastEnergy, "");
  const std::string noEnergies =
      replacedOnce(text, " All SINGLET-SINGLET excitation energies", " no summary");
  for (const std::string* variant : {&oneMore, &oneLess, &noEnergies}) {
    Session ui;
    openText(ui, "pairing.out", *variant);
    EXPECT_EQ(boxTexts(ui), std::vector<std::string>{pairingMessage});
    EXPECT_NE(ui.store().CDACTIVE[1], "calc");
    EXPECT_EQ(sumOfBins(ui.store().ROTS, 1), 0.0);
    EXPECT_EQ(Form1->Label11->Caption(), "--");
  }
  Session ui;
  openText(ui, "edge.out", oneMore);
  EXPECT_DOUBLE_EQ(ui.store().OSC(2278, 1), 0.03);
  EXPECT_EQ(ui.store().OSC(1000, 1), 0.0);
  EXPECT_NEAR(sumOfBins(ui.store().OSC, 1), 0.24, 1e-12);
}

TEST(AdfOutputs, AnEnergyTableBeforeTheHeaderIsReadOnceAndTheNotesAreChecked) {
  const std::string text = readTextFile(fixture("readers/adf/ecd.out"));
  const size_t tables = text.find("    Rotatory strengths");
  const size_t energies = text.find(" All SINGLET-SINGLET");
  const size_t end = text.find(" end of output");
  // Banner, energy table, then both rotatory-strength tables.
  const std::string energiesFirst = text.substr(0, tables) + text.substr(energies, end - energies) +
                                    text.substr(tables, energies - tables);
  for (bool velocity : {false, true}) {
    Session ui;
    if (velocity) chooseVelocity(ui);
    openText(ui, "first.out", energiesFirst);
    SCOPED_TRACE(velocity ? "velocity" : "length");
    EXPECT_TRUE(ui.errorBoxes().empty());
    EXPECT_DOUBLE_EQ(ui.store().ROTS(2479, 1), velocity ? 11.0 : 12.345);
    EXPECT_DOUBLE_EQ(ui.store().ROTS(2500, 1), velocity ? -4.0 : -5.0);
  }

  // A header whose next line is not the expected note reads nothing.
  const std::string noLengthNote =
      replacedOnce(text, "    (multiply by 1.07827 to obtain reduced rotatory strengths),\n",
                   "    (something else)\n");
  const std::string oneTable =
      text.substr(0, text.find("    Rotatory strengths", tables + 10)) + text.substr(energies);
  struct NoteCase {
    const std::string* text;
    bool velocity;
    std::vector<std::string> messages;
  };
  // Without a table read, the second header is met as well and has no
  // length note either.
  for (const NoteCase& c :
       {NoteCase{&noLengthNote, false, {"No length values found", "No length values found"}},
        NoteCase{&oneTable, true, {"No velocity values found"}}}) {
    Session ui;
    if (c.velocity) chooseVelocity(ui);
    const std::string path = ui.path("notes.out");
    writeTextFile(path, *c.text);
    ui.act([&] { Form1->DetectQMSCD(path, 1); });
    EXPECT_EQ(boxTexts(ui), c.messages);
    EXPECT_NE(ui.store().CDACTIVE[1], "calc");
  }
}

TEST(AdfOutputs, FileErrorsAreReportedByTheReaderWhichThenCloses) {
  Session ui;
  const std::string path = openText(ui, "gone.out", readTextFile(fixture("readers/adf/ecd.out")));
  ASSERT_EQ(ui.store().UVACTIVE[1], "calc");
  ASSERT_EQ(ui.store().CDACTIVE[1], "calc");
  std::remove(path.c_str());
  // Slot 1 is still computed from the first load: after the message the
  // closing steps run on the emptied slot.
  for (bool ecd : {false, true}) {
    ui.clearBoxes();
    ui.act([&] {
      if (ecd)
        Form1->ADFCD(path, 1);
      else
        Form1->ADFUV(path, 1);
    });
    EXPECT_EQ(boxTexts(ui),
              std::vector<std::string>{
                  "File handling error occurred. Details: EInOutError/File not found (" + path + ")"});
    EXPECT_EQ(sumOfBins(ecd ? ui.store().ROTS : ui.store().OSC, 1), 0.0);
    EXPECT_EQ(ecd ? ui.store().CDTITLE[1] : ui.store().UVTITLE[1], "gone.out");
  }
  EXPECT_EQ(Form1->Label13->Caption(), "--");
}

TEST(AdfCorpus, EveryOutputOpensAndTheUvTableMatchesTheFile) {
  const std::string folder = corpus("adf");
  if (folder.empty()) GTEST_SKIP() << "corpus absent";
  const std::vector<std::string> files = FindFiles(folder, "*", true);
  ASSERT_FALSE(files.empty());
  openEachInBothFormalisms(files, [](Session& ui, const std::string& path, bool velocity) {
    EXPECT_TRUE(ui.errorBoxes().empty()) << path;
    // None of these outputs holds rotatory strengths.
    EXPECT_NE(ui.store().CDACTIVE[1], "calc") << path;
    expectOnlyAllowedBoxes(ui, path,
                           velocity ? std::vector<std::string>{adfUvVelocityMessage}
                                    : std::vector<std::string>{});
  });
  const std::string dvb = corpus("adf/adf2007.01_cclib_dvb_td.adfout");
  Session ui;
  open(ui, dvb);
  // State 1: 4.64880 eV (266.63 nm), f 0.1653E-01; state 2: 4.73444 eV, f 0.6788.
  EXPECT_DOUBLE_EQ(ui.store().OSC(2666, 1), 0.01653);
  EXPECT_DOUBLE_EQ(ui.store().OSC(2618, 1), 0.6788);
  EXPECT_EQ(ui.store().UVACTIVE[1], "calc");
}

}  // namespace
