// The UV and ECD readers of Gaussian outputs and sTDA tables: bins, labels,
// the gauge chosen by the formalism, the optical rotations handed to the ORD
// page, the bounded tables and cut files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/testing/session.h"
#include "plots/cdplotting.h"
#include "readers/reader_core.h"
#include "settings/settings.h"
#include "tests/reader_test_support.h"

namespace {

const char* const gaussianUnit = "CD [erg \\327 cm^3 \\327 10^{-40}]";
const char* const deltaEpsilon = "{/Symbol De} [M^{-1}{/Symbol \\327}cm^{-1}]";

std::string withCrLf(const std::string& text) { return replaced(text, "\n", "\r\n"); }

// The text of the Gaussian 16 fixture cut before the first line holding `marker`.
std::string cutBefore(const std::string& text, const std::string& marker) {
  const size_t at = text.find(marker);
  return text.substr(0, text.rfind('\n', at) + 1);
}

TEST(GaussianUvEcd, LengthGaugeFillsBinsLabelsAndTheOrdPage) {
  for (bool crlf : {false, true}) {
    Session ui;
    std::string path = fixture("readers/g16_td_optrot.log");
    if (crlf) {
      path = ui.path("g16_td_optrot.log");
      writeTextFile(path, withCrLf(readTextFile(fixture("readers/g16_td_optrot.log"))));
    }
    open(ui, path);
    const Store& store = ui.store();
    SCOPED_TRACE(crlf ? "CR LF" : "LF");
    EXPECT_TRUE(ui.errorBoxes().empty());
    // 212.24 and 212.16 nm share bin 2122 and add up; 180.25 nm goes to the
    // even bin 1802.
    EXPECT_DOUBLE_EQ(store.ROTS(2129, 1), 10.0);
    EXPECT_DOUBLE_EQ(store.ROTS(2122, 1), 7.0);
    EXPECT_DOUBLE_EQ(store.ROTS(1802, 1), -3.0);
    EXPECT_DOUBLE_EQ(store.OSC(2129, 1), 0.01);
    EXPECT_DOUBLE_EQ(store.OSC(2122, 1), 0.05);
    EXPECT_DOUBLE_EQ(store.OSC(1802, 1), 0.04);
    expectStateLabels("4", "212.90 nm", "180.25 nm");
    EXPECT_EQ(store.CDACTIVE[1], "calc");
    EXPECT_EQ(store.UVACTIVE[1], "calc");
    EXPECT_EQ(store.CDTITLE[1], "g16_td_optrot.log");
    EXPECT_EQ(Form1->Caption(), "g16_td_optrot.log");
    EXPECT_EQ(Form10->Edit10->Text(), deltaEpsilon);
    EXPECT_EQ(Form10->Edit11->Text(), gaussianUnit);
    // Three rotations in Ångström become nm; the static line is passed over.
    ASSERT_EQ(store.ORDDATAPTS[1], 3);
    EXPECT_DOUBLE_EQ(store.ORDCALCX(1, 1), 589.0);
    EXPECT_DOUBLE_EQ(store.ORDCALCY(1, 1), 12.34);
    EXPECT_DOUBLE_EQ(store.ORDCALCX(2, 1), 435.8);
    EXPECT_DOUBLE_EQ(store.ORDCALCX(3, 1), 355.0);
    EXPECT_DOUBLE_EQ(store.ORDCALCY(3, 1), -34.56);
    EXPECT_EQ(store.ORDACTIVE[1], "calc");
    EXPECT_TRUE(Form1->ORD1->Enabled());
    EXPECT_EQ(Form1->PageControl1->ActivePage(), Form1->TabSheet4);
    for (Edit* edit : {Form1->Edit2, Form1->Edit3, Form1->Edit17, Form1->Edit26})
      EXPECT_FALSE(edit->Enabled()) << edit->Name();
  }
}

TEST(GaussianUvEcd, VelocityGaugeTakesTheVelocityTables) {
  Session ui;
  chooseVelocity(ui);
  open(ui, fixture("readers/g16_td_optrot.log"));
  EXPECT_DOUBLE_EQ(ui.store().ROTS(2129, 1), 9.0);
  EXPECT_DOUBLE_EQ(ui.store().ROTS(2122, 1), 5.0);
  EXPECT_DOUBLE_EQ(ui.store().OSC(2129, 1), 0.011);
  EXPECT_DOUBLE_EQ(ui.store().OSC(2122, 1), 0.052);
  EXPECT_EQ(Form1->Label11->Caption(), "4");
  EXPECT_TRUE(ui.boxes().empty());

  // A "Total R(velocity)" line and the nine after it are no rows.
  std::string totals = " Total R(velocity) tensor\n";
  for (int i = 0; i < 9; ++i) totals += " x y z words\n";
  const std::string text = readTextFile(fixture("readers/g16_td_optrot.log"));
  const std::string row2 = "         2         7.4136";
  openText(ui, "totals.log", replaced(text, row2, totals + row2));
  EXPECT_TRUE(ui.errorBoxes().empty());
  EXPECT_DOUBLE_EQ(ui.store().ROTS(2129, 1), 9.0);
  EXPECT_DOUBLE_EQ(ui.store().ROTS(2122, 1), 5.0);
  EXPECT_EQ(Form1->Label11->Caption(), "4");
}

TEST(GaussianUvEcd, CompareLoadsAddOrdCurveTwoAndNeverBeyond) {
  Session ui;
  const std::string path = fixture("readers/g16_td_optrot.log");
  open(ui, path);
  ui.act([&] { Form1->DetectQMSCD(path, 2); });
  EXPECT_EQ(ui.store().ORDDATAPTS[2], 3);
  EXPECT_DOUBLE_EQ(ui.store().ROTS(2129, 2), 10.0);
  EXPECT_TRUE(ui.boxes().empty());
  // Slot 3 has no ORD curve: its ECD curve loads, its rotations are noted.
  ui.act([&] { Form1->DetectQMSCD(path, 3); });
  EXPECT_TRUE(ui.errorBoxes().empty());
  EXPECT_DOUBLE_EQ(ui.store().ROTS(2129, 3), 10.0);
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_EQ(ui.lastBox().text,
            "Not everything of g16_td_optrot.log was loaded: the optical rotations (the ORD page "
            "holds curves 1 and 2 only).");
}

TEST(GaussianUvEcd, TheLastBlockCounts) {
  // A second excited-state calculation (the next step of an optimisation):
  // its states replace those of the first, in the bins and in the labels.
  for (bool velocity : {false, true}) {
    Session ui;
    if (velocity) chooseVelocity(ui);
    const std::string text = readTextFile(fixture("readers/g16_td_optrot.log"));
    const size_t tables = text.find(" Ground to excited state transition electric");
    const size_t end = text.find(" Leave Link  914");
    std::string second = text.substr(tables, end - tables);
    second = replaced(second, "180.25 nm", "190.00 nm");
    openText(ui, "two.log", text.substr(0, end) + second + text.substr(end));
    SCOPED_TRACE(velocity ? "velocity" : "length");
    EXPECT_TRUE(ui.boxes().empty());
    EXPECT_DOUBLE_EQ(ui.store().ROTS(2129, 1), velocity ? 9.0 : 10.0);
    EXPECT_DOUBLE_EQ(ui.store().ROTS(1802, 1), 0.0);
    EXPECT_DOUBLE_EQ(ui.store().ROTS(1900, 1), velocity ? -2.0 : -3.0);
    EXPECT_DOUBLE_EQ(ui.store().OSC(2129, 1), velocity ? 0.011 : 0.01);
    EXPECT_DOUBLE_EQ(ui.store().OSC(1802, 1), 0.0);
    expectStateLabels("4", "212.90 nm", "190.00 nm");
  }
}

TEST(GaussianUvEcd, RangeEdgesAndZeroRotations) {
  Session ui;
  std::string text = readTextFile(fixture("readers/g16_td_optrot.log"));
  text = replaced(text, "212.90 nm", "100.00 nm");
  text = replaced(text, "212.24 nm", "99.90 nm");
  text = replaced(text, "212.16 nm", "4000.00 nm");
  text = replaced(text, "180.25 nm", "4000.10 nm");
  openText(ui, "edges.log", text);
  EXPECT_DOUBLE_EQ(ui.store().ROTS(1000, 1), 10.0);
  EXPECT_DOUBLE_EQ(ui.store().ROTS(40000, 1), 2.0);
  EXPECT_EQ(Form1->Label13->Caption(), "100.00 nm");
  EXPECT_EQ(Form1->Label15->Caption(), "4000.10 nm");

  // All rotatory strengths 0: the ECD slot stays empty, the UV slot loads.
  std::string zeros = readTextFile(fixture("readers/g16_td_optrot.log"));
  for (const char* value : {"10.0000", "5.0000", "2.0000", "-3.0000"})
    zeros = replaced(zeros, value, "0.0000");
  zeros = cutBefore(zeros, "[Alpha]D");
  openText(ui, "zeros.log", zeros);
  EXPECT_EQ(ui.store().CDACTIVE[1], "false");
  EXPECT_EQ(ui.store().UVACTIVE[1], "calc");
  EXPECT_FALSE(Form1->ORD1->Enabled());
}

TEST(GaussianUvEcd, ACutFileLoadsTheStatesPrintedWholeWithOneMessage) {
  const std::string text = readTextFile(fixture("readers/g16_td_optrot.log"));
  const std::string rowsPrintedWhole =
      "The file \"cut.log\" ends inside a table (%s read); the rows it prints whole were loaded.";
  struct Case {
    const char* cutBefore;
    const char* read;  // null: the states are whole, no box
    const char* states;
    const char* last;
    double rotatoryAt2122;
  };
  // States 1 to 4: 212.90 nm (R 10), 212.24 and 212.16 nm (R 5 and 2, one
  // bin), 180.25 nm (R -3). A row counts when its table row and its state
  // line are both printed.
  const std::vector<Case> cases = {
      {"         3        32.5812", "0 of 2 states", "0", "--", 0.0},
      {"  1/2[<0|del|b>", "0 of 4 states", "0", "--", 0.0},
      {"Excited State   3", "2 of 4 states", "2", "212.24 nm", 5.0},
      {"      33 -> 36", "3 of 4 states", "3", "212.16 nm", 7.0},
      {" [Alpha] ( 4358.0 A)", nullptr, "4", "180.25 nm", 7.0},
  };
  for (const Case& c : cases) {
    Session ui;
    openText(ui, "cut.log", cutBefore(text, c.cutBefore));
    SCOPED_TRACE(c.cutBefore);
    EXPECT_TRUE(ui.errorBoxes().empty());
    std::vector<std::string> boxes;
    if (c.read != nullptr) boxes.push_back(replaced(rowsPrintedWhole, "%s", c.read));
    EXPECT_EQ(boxTexts(ui), boxes);
    // A cut file that draws nothing leaves the labels as they were.
    EXPECT_EQ(Form1->Label11->Caption(), c.rotatoryAt2122 == 0.0 ? "--" : c.states);
    EXPECT_EQ(Form1->Label15->Caption(), c.last);
    EXPECT_DOUBLE_EQ(ui.store().ROTS(2122, 1), c.rotatoryAt2122);
    EXPECT_EQ(ui.store().CDACTIVE[1], c.rotatoryAt2122 != 0.0 ? "calc" : "");
  }

  // A state line cut inside its fields is no state; a complete block before
  // the cut one is the result.
  Session ui;
  const std::string whole = cutBefore(text, " Leave Link  914");
  const std::string cutLine = whole.substr(0, whole.find("180.25 nm") + 3);
  openText(ui, "cut.log", whole + cutLine.substr(cutLine.find(" Ground to excited state")));
  EXPECT_TRUE(ui.errorBoxes().empty());
  EXPECT_EQ(boxTexts(ui), std::vector<std::string>{
                              "The file \"cut.log\" ends inside a table (3 of 4 states read); the "
                              "last complete table was loaded."});
  expectStateLabels("4", "212.90 nm", "180.25 nm");
  EXPECT_DOUBLE_EQ(ui.store().ROTS(1802, 1), -3.0);
}

TEST(GaussianUvEcd, TablesAreBounded) {
  Session ui;
  // 360 states, 105 optical rotations.
  std::string text =
      " Gaussian 16: x\n 1/2[<0|r|b>*<b|rxdel|0> + (<0|rxdel|b>*<b|r|0>)*]\n a\n b\n";
  for (int i = 1; i <= 360; ++i) text += "  " + std::to_string(i) + " 0.1 0.2 0.3 1.0\n";
  text += "  1/2[<0|del|b>*<b|r|0> + (<0|r|b>*<b|del|0>)*] (Au)\n";
  text += " Excitation energies and oscillator strengths:\n \n";
  for (int i = 1; i <= 360; ++i)
    text += " Excited State " + std::to_string(i) + ": Singlet-A 5.0 eV  300.00 nm  f=0.0100\n \n";
  text += " SavETr:  write IOETrn=   770\n";
  for (int i = 1; i <= 105; ++i)
    text += " [Alpha] ( " + std::to_string(3000 + i) + ".0 A) =  1.00 deg.\n";
  text += " Leave Link 1002 at x\n";
  openText(ui, "big.log", text);
  EXPECT_TRUE(ui.errorBoxes().empty());
  EXPECT_EQ(Form1->Label11->Caption(), "350");
  EXPECT_DOUBLE_EQ(ui.store().ROTS(3000, 1), 350.0);
  EXPECT_NEAR(ui.store().OSC(3000, 1), 3.5, 1e-9);
  EXPECT_EQ(ui.store().ORDDATAPTS[1], 100);
  std::vector<std::string> texts;
  for (const Box& box : ui.boxes()) texts.push_back(box.text);
  const std::vector<std::string> expected = {
      "Not everything of big.log was loaded: the states after the first 350 of a table.",
      "Not everything of big.log was loaded: the states after the first 350 of a table; the "
      "optical rotations after the first 100."};
  EXPECT_EQ(texts, expected);
}

TEST(Gaussian03UvEcd, ReadsItsOwnLayoutAndTheSodiumLine) {
  for (bool velocity : {false, true}) {
    Session ui;
    if (velocity) chooseVelocity(ui);
    open(ui, fixture("readers/g03_td.log"));
    const Store& store = ui.store();
    SCOPED_TRACE(velocity ? "velocity" : "length");
    EXPECT_TRUE(ui.boxes().empty());
    EXPECT_DOUBLE_EQ(store.ROTS(2345, 1), velocity ? -0.4441 : -0.4568);
    EXPECT_DOUBLE_EQ(store.ROTS(1853, 1), velocity ? -13.3003 : -15.658);
    EXPECT_DOUBLE_EQ(store.OSC(2345, 1), velocity ? 0.002 : 0.0008);
    EXPECT_DOUBLE_EQ(store.OSC(1853, 1), velocity ? 0.004 : 0.1002);
    expectStateLabels("3", "234.54 nm", "185.29 nm");
    ASSERT_EQ(store.ORDDATAPTS[1], 2);
    EXPECT_DOUBLE_EQ(store.ORDCALCX(1, 1), 589.3);
    EXPECT_DOUBLE_EQ(store.ORDCALCY(1, 1), -45.67);
    EXPECT_DOUBLE_EQ(store.ORDCALCX(2, 1), 435.8);
    EXPECT_EQ(Form1->PageControl1->ActivePage(), Form1->TabSheet4);
  }
}

TEST(Gaussian03UvEcd, UvReaderSetsTheFullPathAsCaptionForEverySlot) {
  Session ui;
  const std::string path = fixture("readers/g03_td.log");
  ui.act([&] { Form1->GAUSSIAN03UV(path, 3); });
  EXPECT_EQ(Form1->Caption(), path);
  EXPECT_EQ(ui.store().UVACTIVE[3], "calc");
  EXPECT_DOUBLE_EQ(ui.store().OSC(1853, 3), 0.1002);
}

TEST(StdaTables, DegenerateStatesAddAndTheFormalismPicksTheColumn) {
  for (bool velocity : {false, true}) {
    Session ui;
    if (velocity) chooseVelocity(ui);
    open(ui, fixture("readers/stda.dat"));
    const Store& store = ui.store();
    SCOPED_TRACE(velocity ? "velocity" : "length");
    // 5.0 eV is bin 2479; both states of the pair count.
    EXPECT_DOUBLE_EQ(store.ROTS(2479, 1), velocity ? 40.0 : 20.0);
    EXPECT_DOUBLE_EQ(store.OSC(2479, 1), velocity ? 0.4 : 0.2);
    EXPECT_DOUBLE_EQ(store.ROTS(1999, 1), velocity ? -6.0 : -5.0);
    EXPECT_EQ(store.CDACTIVE[1], "calc");
    EXPECT_EQ(store.UVACTIVE[1], "calc");
    EXPECT_EQ(store.CDTITLE[1], "stda.dat");
    EXPECT_EQ(Form1->Caption(), fixture("readers/stda.dat"));
    EXPECT_TRUE(Form1->AddUVSpectrum1->Enabled());
    EXPECT_TRUE(Form1->AddCDspectrum1->Enabled());
    EXPECT_FALSE(Form1->Label4->Visible());  // "Calculating" ends with the load
    EXPECT_EQ(Form1->Label11->Caption(), "--");
    EXPECT_TRUE(ui.boxes().empty());
  }
}

TEST(StdaTables, WithoutDatxyTheOpenChangesNothingAndBadRowsFail) {
  Session ui;
  openText(ui, "empty.dat", "no table here\n");
  EXPECT_NE(ui.store().CDACTIVE[1], "calc");
  EXPECT_EQ(Form1->Caption(), "Orvanix 1.0");
  EXPECT_TRUE(ui.errorBoxes().empty());
  EXPECT_EQ(ui.boxes().size(), 1u);

  openText(ui, "bad.dat", "DATXY\n 1 5,0 0.1 0.2 1 2\n");
  ASSERT_EQ(ui.errorBoxes().size(), 1u);
  EXPECT_EQ(ui.errorBoxes()[0].caption, "EConvertError");
}

}  // namespace
