// The sum-spectra window: arithmetic and Boltzmann sums of bil files into
// slot 1, the weights from heat files, what a finished sum changes in the
// main window, and what a refused or failed Start leaves alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "conformer_test_support.h"
#include "platform/numbers.h"
#include "tools/conformer_sum.h"
#include "tools/sumspectra.h"

namespace {

const std::string ecdHeader = "Orvanix bil-file (length formalism) ECD";

std::string bil(const std::vector<std::string>& lines, const std::string& header = ecdHeader) {
  std::string text = header.empty() ? "" : header + "\r\n";
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string heatFile(double energy) { return heatLine(FloatToStr(energy)) + "\r\n"; }

// The bil files (name, text) and heat files (name, energy) of one sum in a
// folder of their own.
struct Conformers {
  TempFolder folder;
  std::vector<std::string> paths;

  void add(const std::string& name, const std::string& text) {
    writeNewFile(folder.file(name), text);
    paths.push_back(folder.file(name));
  }
  void heat(const std::string& name, double energy) { writeNewFile(folder.file(name), heatFile(energy)); }
};

struct SumChoice {
  RadioButton* TForm4::*kind = &TForm4::RadioButton3;
  bool boltzmann = true;
  std::string temperature = "298.0";
  std::string heatFolder;
};

// Tools > "sum spectra" unless the window is open already, the files
// chosen, the choices made, Start pressed.
void runSum(Session& ui, const std::vector<std::string>& files, const SumChoice& choice = {}) {
  const std::vector<Form*> open = ui.modelessForms();
  if (std::find(open.begin(), open.end(), Form4) == open.end()) {
    ASSERT_TRUE(ui.menu(Form1->sumspectra1));
  }
  ui.willChooseFiles(files);
  ui.click(Form4->Button1);
  ui.tick(Form4->*choice.kind);
  ui.tick(choice.boltzmann ? Form4->RadioButton2 : Form4->RadioButton1);
  ui.type(Form4->Edit2, choice.temperature);
  ui.type(Form4->Edit1, choice.heatFolder);
  ui.click(Form4->Button2);
}

const std::vector<std::string>& sumLog() { return Form4->Memo1->Lines(); }

SumChoice arithmetic(RadioButton* TForm4::*kind = &TForm4::RadioButton3) {
  SumChoice choice;
  choice.kind = kind;
  choice.boltzmann = false;
  return choice;
}

TEST(SumSpectra, ArithmeticMeanOfEcdLines) {
  Session ui;
  Conformers c;
  c.add("a.cd.bil", bil({"250.0\t10"}));
  c.add("b.cd.bil", bil({"250.0\t20"}));
  runSum(ui, c.paths, arithmetic());
  EXPECT_EQ(Form4->Label1->Caption(), "2 Files selected");
  EXPECT_DOUBLE_EQ(ui.store().ROTS(2500, 1), 15.0);
  EXPECT_EQ(ui.store().CDACTIVE[1], "calc");
  EXPECT_EQ(ui.store().CDTITLE[1], "Arithmetic-CD.bil");
  EXPECT_EQ(Form1->Caption(), c.folder.file("a.cd_arith.bil"));
  EXPECT_TRUE(sumLog().empty());

  // A file without the header adds nothing but still counts.
  c.add("c.cd.bil", bil({"1.0", "2.0"}, ""));
  runSum(ui, c.paths, arithmetic());
  EXPECT_DOUBLE_EQ(ui.store().ROTS(2500, 1), 10.0);
  EXPECT_DOUBLE_EQ(ui.store().ROTS(1500, 1), 0.0);
}

TEST(SumSpectra, LinesFallIntoTheirBins) {
  Session ui;
  Conformers c;
  c.add("a.vc.bil", bil({"1000.5\t1", "1001.5\t2", "999.6\t3", "1000.4\t4"}));
  runSum(ui, c.paths, arithmetic(&TForm4::RadioButton6));
  // Halves go to the even bin; lines of one bin become one line.
  EXPECT_EQ(ui.store().VCD(0, 1, 1), 1000.0);
  EXPECT_EQ(ui.store().VCD(0, 2, 1), 8.0);
  EXPECT_EQ(ui.store().VCD(1, 1, 1), 1002.0);
  EXPECT_EQ(ui.store().VCD(1, 2, 1), 2.0);
  EXPECT_EQ(ui.store().VCD(2, 1, 1), 0.0);
  EXPECT_EQ(ui.store().VCDTITLE[1], "Arithmetic-VC.bil");

  // A line without a TAB is x and y at once.
  Conformers d;
  d.add("a.cd.bil", bil({"250.5"}));
  runSum(ui, d.paths, arithmetic());
  EXPECT_DOUBLE_EQ(ui.store().ROTS(2505, 1), 250.5);
}

TEST(SumSpectra, BoltzmannWeightsFromHeatFiles) {
  EXPECT_EQ(BoltzmannFactor(298.0), 1.6893832026023166);
  struct Case {
    std::vector<double> energies;
    std::vector<std::string> percents;
  };
  const std::vector<Case> cases = {{{0.0, 1.0}, {"84.41", "15.59"}},
                                   {{-500.0, -499.0}, {"84.41", "15.59"}},
                                   {{-3.5, -3.5}, {"50.00", "50.00"}},
                                   {{1.0, 0.0}, {"15.59", "84.41"}}};
  for (const Case& weights : cases) {
    Session ui;
    Conformers c;
    c.add("conf1.cd.bil", bil({"250.0\t100"}));
    c.add("conf2.cd.bil", bil({"250.0\t-100", "300.0\t10"}));
    c.heat("conf1.heat", weights.energies[0]);
    c.heat("conf2.heat", weights.energies[1]);
    runSum(ui, c.paths);
    EXPECT_EQ(sumLog(), (std::vector<std::string>{"Weighting factors:", "conf1.cd.bil\t" + weights.percents[0],
                                                  "conf2.cd.bil\t" + weights.percents[1]}));
    const double w1 = StrToFloat(weights.percents[0]) / 100.0;
    EXPECT_NEAR(ui.store().ROTS(2500, 1), 100.0 * w1 - 100.0 * (1.0 - w1), 0.01);
    EXPECT_NEAR(ui.store().ROTS(3000, 1), 10.0 * (1.0 - w1), 0.001);
    EXPECT_EQ(ui.store().CDTITLE[1], "Boltzmann-CD.bil");
    EXPECT_EQ(Form1->Caption(), c.folder.file("conf1.cd_Boltz.bil"));
  }
}

// The heat file beside the bil file, or in the heat folder however it is
// typed.
TEST(SumSpectra, HeatFileNames) {
  struct Case {
    std::string bil;
    SumKind kind;
    std::string field, heat;
  };
  const std::vector<Case> cases = {
      {"/c/conf1.cd.bil", SumKind::Ecd, "", "/c/conf1.heat"},
      {"/c/conf1.cd.bil", SumKind::Ecd, "/c/heat/", "/c/heat/conf1.heat"},
      {"/c/conf1.cd.bil", SumKind::Ecd, "/c/heat", "/c/heat/conf1.heat"},
      {"/c/conf1.cd.bil", SumKind::Ecd, "C:\\c\\heat\\", "C:\\c\\heat\\conf1.heat"},
      {"/c/conf1.bil", SumKind::Ecd, "x", "/c/conf1.heat"},
      {"/c/conf1.uv.bil", SumKind::Uv, "", "/c/conf1.heat"},
      {"/c/conf1.or.bil", SumKind::Ord, "", "/c/conf1.heat"},
      {"/c/conf_a_job.ir.bil", SumKind::Ir, "/c/Gibbs/", "/c/Gibbs/conf_a_job.heat"},
  };
  for (const Case& c : cases) EXPECT_EQ(HeatFilePath(c.bil, c.kind, c.field), c.heat) << c.bil << " " << c.field;
}

TEST(SumSpectra, TheLimitIs501Files) {
  Session ui;
  Conformers c;
  for (int j = 0; j < 502; ++j) c.add("c" + std::to_string(j) + ".cd.bil", bil({"250.0\t1"}));
  const std::vector<std::string> all = c.paths;
  c.paths.pop_back();
  runSum(ui, c.paths);
  // No heat file at all: equal weights.
  EXPECT_NEAR(ui.store().ROTS(2500, 1), 1.0, 1e-9);
  EXPECT_EQ(sumLog()[0], "Heatfile c0.heat not found, spectra not summed correctly!!");

  ui.store().ROTS(2500, 1) = 7.0;
  runSum(ui, all);
  EXPECT_EQ(sumLog(), (std::vector<std::string>{"Orvanix can not handle more than 500 conformations!"}));
  EXPECT_EQ(ui.store().ROTS(2500, 1), 7.0);
  EXPECT_EQ(Form1->Caption(), c.folder.file("c0.cd_Boltz.bil"));
}

TEST(SumSpectra, OrdIsMatchedByLineNumber) {
  Session ui;
  Conformers c;
  std::vector<std::string> thirty, twenty;
  for (int k = 1; k <= 30; ++k) thirty.push_back(IntToStr(300 + k) + ".0\t" + IntToStr(k));
  for (int k = 1; k <= 20; ++k) twenty.push_back(IntToStr(400 + k) + ".0\t100");
  c.add("a.or.bil", bil(thirty, "Orvanix bil-file"));
  c.add("b.or.bil", bil(twenty, "Orvanix bil-file"));
  c.heat("a.heat", 0.0);
  c.heat("b.heat", 0.0);
  SumChoice choice;
  choice.kind = &TForm4::RadioButton5;
  runSum(ui, c.paths, choice);
  EXPECT_EQ(ui.store().ORDDATAPTS[1], 20);
  EXPECT_DOUBLE_EQ(ui.store().ORDCALCX(1, 1), 401.0);
  EXPECT_DOUBLE_EQ(ui.store().ORDCALCY(1, 1), 0.5 + 50.0);
  EXPECT_DOUBLE_EQ(ui.store().ORDCALCX(25, 1), 325.0);
  EXPECT_DOUBLE_EQ(ui.store().ORDCALCY(25, 1), 12.5);
  EXPECT_EQ(ui.store().ORDACTIVE[1], "calc");
  EXPECT_EQ(ui.store().ORDTITLE[1], "Boltzmann-ORD");

  // No arithmetic ORD: a box, the caption, nothing else.
  runSum(ui, c.paths, arithmetic(&TForm4::RadioButton5));
  EXPECT_EQ(ui.lastBox().text, "Arithmetic weighting of ORD not supported");
  EXPECT_EQ(Form1->Caption(), c.folder.file("a.or_arith.bil"));
  EXPECT_EQ(ui.store().ORDDATAPTS[1], 20);
  EXPECT_DOUBLE_EQ(ui.store().ORDCALCY(25, 1), 12.5);
}

// What each finished sum changes in the main window.
TEST(SumSpectra, FinishingTable) {
  struct Row {
    RadioButton* TForm4::*kind;
    bool boltzmann;
    std::vector<MenuItem* TForm1::*> menus;
    TabSheet* TForm1::*page;  // null: the page stays
    std::string title;
    std::vector<Edit* TForm1::*> disabled;
  };
  using F = TForm1;
  const std::vector<Row> rows = {
      {&TForm4::RadioButton3, false, {&F::CDspectra1, &F::N2ndSpectrum1}, nullptr, "Arithmetic-CD.bil", {&F::Edit17, &F::Edit26}},
      {&TForm4::RadioButton4, false, {&F::UVspectra1, &F::N2ndSpectrum1}, nullptr, "Arithmetic-UV.bil", {&F::Edit17, &F::Edit26}},
      {&TForm4::RadioButton6, false, {&F::VCDspectra, &F::N2ndSpectrum1, &F::AddIrSpectrum}, nullptr, "Arithmetic-VC.bil", {&F::Edit2, &F::Edit3}},
      {&TForm4::RadioButton7, false, {&F::IRSpectra, &F::N2ndSpectrum1, &F::AddVCDSpectrum}, nullptr, "Arithmetic-IR.bil", {&F::Edit2, &F::Edit3}},
      {&TForm4::RadioButton3, true, {&F::CDspectra1, &F::N2ndSpectrum1}, &F::TabSheet1, "Boltzmann-CD.bil", {&F::Edit17, &F::Edit26}},
      {&TForm4::RadioButton4, true, {&F::UVspectra1, &F::N2ndSpectrum1, &F::AddCDspectrum1}, &F::TabSheet1, "Boltzmann-UV.bil", {&F::Edit17, &F::Edit26}},
      {&TForm4::RadioButton6, true, {&F::VCDspectra, &F::N2ndSpectrum1, &F::AddIrSpectrum}, &F::TabSheet5, "Boltzmann.vc.bil", {&F::Edit2, &F::Edit3}},
      {&TForm4::RadioButton7, true, {&F::IRSpectra, &F::N2ndSpectrum1, &F::AddVCDSpectrum}, &F::TabSheet5, "Boltzmann.ir.bil", {&F::Edit2, &F::Edit3}},
      {&TForm4::RadioButton5, true, {&F::ORD1, &F::N2ndSpectrum1}, &F::TabSheet4, "Boltzmann-ORD", {}},
  };
  for (const Row& row : rows) {
    Session ui;
    Conformers c;
    const bool wavenumbers = row.kind == &TForm4::RadioButton6 || row.kind == &TForm4::RadioButton7;
    c.add("a.bil", bil({wavenumbers ? "1500.0\t5" : "250.0\t5"}));
    SumChoice choice;
    choice.kind = row.kind;
    choice.boltzmann = row.boltzmann;
    ui.menu(Form1->sumspectra1);
    TabSheet* before = Form1->PageControl1->ActivePage();
    runSum(ui, c.paths, choice);
    SCOPED_TRACE(row.title);
    EXPECT_TRUE(ui.errorBoxes().empty());
    for (auto menu : row.menus) EXPECT_TRUE((Form1->*menu)->Enabled()) << (Form1->*menu)->Name();
    EXPECT_EQ(Form1->PageControl1->ActivePage(), row.page ? Form1->*row.page : before);
    for (Edit* TForm1::*edit : {&F::Edit2, &F::Edit3, &F::Edit17, &F::Edit26}) {
      const bool disabled = std::find(row.disabled.begin(), row.disabled.end(), edit) != row.disabled.end();
      EXPECT_EQ((Form1->*edit)->Enabled(), !disabled) << (Form1->*edit)->Name();
    }
    Store& store = ui.store();
    if (row.kind == &TForm4::RadioButton3) {
      EXPECT_EQ(store.CDACTIVE[1], "calc");
      EXPECT_EQ(store.CDTITLE[1], row.title);
      EXPECT_NE(store.EPS(2500, 1), 0.0);  // broadened
    } else if (row.kind == &TForm4::RadioButton4) {
      EXPECT_EQ(store.UVACTIVE[1], "calc");
      EXPECT_EQ(store.UVTITLE[1], row.title);
      EXPECT_NE(store.ABSG(2500, 1), 0.0);
    } else if (row.kind == &TForm4::RadioButton6) {
      EXPECT_EQ(store.VCDACTIVE[1], "calc");
      EXPECT_EQ(store.VCDTITLE[1], row.title);
      EXPECT_NE(store.VCD(1500, 3, 1), 0.0);
    } else if (row.kind == &TForm4::RadioButton7) {
      EXPECT_EQ(store.IRACTIVE[1], "calc");
      EXPECT_EQ(store.IRTITLE[1], row.title);
      EXPECT_NE(store.IR(1500, 3, 1), 0.0);
    } else {
      EXPECT_EQ(store.ORDACTIVE[1], "calc");
      EXPECT_EQ(store.ORDTITLE[1], row.title);
    }
  }
  // Opening the window again resets, which enables the edits again.
  Session ui;
  Conformers c;
  c.add("a.cd.bil", bil({"250.0\t5"}));
  runSum(ui, c.paths);
  EXPECT_FALSE(Form1->Edit17->Enabled());
  ui.menu(Form1->sumspectra1);
  EXPECT_TRUE(Form1->Edit17->Enabled());
  EXPECT_TRUE(Form1->Edit26->Enabled());
}

// The sum covers the whole grid: nothing an earlier curve left in slot 1
// survives, and lines beyond 1100 nm are summed.
TEST(SumSpectra, EachSumCoversTheWholeSlot) {
  Session ui;
  const std::string loaded = ui.path("old.cd.bil");
  writeTextFile(loaded, bil({"2000.0\t9", "250.0\t9"}));
  ui.willChooseFile(loaded);
  ui.menu(Form1->Open1);
  ASSERT_EQ(ui.store().ROTS(20000, 1), 9.0);

  Conformers c;
  c.add("a.cd.bil", bil({"1500.0\t4"}));
  c.add("b.cd.bil", bil({"1500.0\t2"}));
  runSum(ui, c.paths, arithmetic());
  EXPECT_EQ(ui.store().ROTS(20000, 1), 0.0);
  EXPECT_EQ(ui.store().ROTS(2500, 1), 0.0);
  EXPECT_DOUBLE_EQ(ui.store().ROTS(15000, 1), 3.0);
}

// Lines outside the arrays are skipped, one log line per file.
TEST(SumSpectra, LinesOffTheArraysAreSkippedWithALine) {
  Session ui;
  Conformers c;
  c.add("a.cd.bil", bil({"50.0\t1", "250.0\t2", "5000.0\t3"}));
  runSum(ui, c.paths, arithmetic());
  EXPECT_EQ(sumLog(), (std::vector<std::string>{
                          "a.cd.bil: 2 line(s) could not be loaded (outside the spectrum range)."}));
  EXPECT_DOUBLE_EQ(ui.store().ROTS(2500, 1), 2.0);

  Conformers v;
  v.add("a.vc.bil", bil({"-1.0\t1", "4100.0\t1", "4000.4\t2"}));
  runSum(ui, v.paths, arithmetic(&TForm4::RadioButton6));
  EXPECT_EQ(sumLog().back(), "a.vc.bil: 2 line(s) could not be loaded (outside the spectrum range).");
  EXPECT_EQ(ui.store().VCD(0, 1, 1), 4000.0);

  Conformers o;
  std::vector<std::string> many;
  for (int k = 1; k <= 101; ++k) many.push_back("500.0\t1");
  o.add("a.or.bil", bil(many, "Orvanix bil-file"));
  SumChoice choice;
  choice.kind = &TForm4::RadioButton5;
  runSum(ui, o.paths, choice);
  EXPECT_EQ(sumLog().back(), "a.or.bil: 1 line(s) could not be loaded (outside the spectrum range).");
  EXPECT_EQ(ui.store().ORDDATAPTS[1], 100);
}

// A Start that fails on a file leaves slot 1 as the last good sum left it.
TEST(SumSpectra, AFailedStartLeavesSlot1Alone) {
  Session ui;
  Conformers c;
  c.add("a.cd.bil", bil({"250.0\t5"}));
  c.heat("a.heat", -1.0);
  runSum(ui, c.paths);
  ASSERT_EQ(ui.store().CDTITLE[1], "Boltzmann-CD.bil");

  struct Failure {
    std::string bilText;
    std::string heatText;  // "" : no heat file
  };
  for (const Failure& failure : std::vector<Failure>{{bil({"260.0\t1", "250.0\t1,5"}), ""},
                                                     {bil({"260.0\t1", ""}), ""},
                                                     {bil({"260.0\t1"}), "no energy here\r\n"},
                                                     {bil({"260.0\t1"}), "HEAT OF FORMATION  =\r\n"}}) {
    Conformers bad;
    bad.add("a.cd.bil", bil({"260.0\t3"}));
    bad.add("b.cd.bil", failure.bilText);
    bad.heat("a.heat", 0.0);
    if (!failure.heatText.empty()) writeNewFile(bad.folder.file("b.heat"), failure.heatText);
    ui.clearBoxes();
    runSum(ui, bad.paths);
    ASSERT_EQ(ui.errorBoxes().size(), 1u);
    EXPECT_EQ(ui.errorBoxes()[0].caption, "EConvertError");
    EXPECT_EQ(ui.store().ROTS(2500, 1), 5.0);
    EXPECT_EQ(ui.store().ROTS(2600, 1), 0.0);
    EXPECT_EQ(ui.store().CDTITLE[1], "Boltzmann-CD.bil");
    EXPECT_EQ(ui.store().CDACTIVE[1], "calc");
  }
}

// The box of a number that does not convert names the heat or bil file and
// its line, so the user knows which conformer to look at.
TEST(SumSpectra, ANumberThatDoesNotConvertNamesItsFileAndLine) {
  struct Case {
    std::string bilText;
    std::string heatText;
    std::string named;
  };
  const std::vector<Case> cases = {
      {bil({"260.0\t1"}), "no energy here\r\n", " (b.heat, line 1)"},
      {bil({"260.0\t1"}), "HEAT OF FORMATION  =  1,5 kcal/mol\r\n", " (b.heat, line 1)"},
      {bil({"260.0\t1", "250.0\t1,5"}), heatFile(1.0), " (b.cd.bil, line 3)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.named);
    Session ui;
    Conformers conformers;
    conformers.add("a.cd.bil", bil({"260.0\t3"}));
    conformers.add("b.cd.bil", c.bilText);
    conformers.heat("a.heat", 0.0);
    writeNewFile(conformers.folder.file("b.heat"), c.heatText);
    runSum(ui, conformers.paths);
    ASSERT_EQ(ui.errorBoxes().size(), 1u);
    EXPECT_TRUE(ui.errorBoxes()[0].text.ends_with(c.named)) << ui.errorBoxes()[0].text;
  }
}

// The window keeps its files when it is closed; opened again, its label
// says what Start will sum.
TEST(SumSpectra, ReopenedTheLabelShowsTheFilesStartWillSum) {
  Session ui;
  ASSERT_TRUE(ui.menu(Form1->sumspectra1));
  EXPECT_EQ(Form4->Label1->Caption(), "No Files selected!");
  Conformers c;
  c.add("a.cd.bil", bil({"250.0\t4"}));
  c.add("b.cd.bil", bil({"250.0\t2"}));
  runSum(ui, c.paths, arithmetic());
  ui.click(Form4->Button3);
  ASSERT_TRUE(ui.menu(Form1->sumspectra1));
  EXPECT_EQ(Form4->Label1->Caption(), "2 Files selected");
  ui.click(Form4->Button2);
  EXPECT_DOUBLE_EQ(ui.store().ROTS(2500, 1), 3.0) << "Start sums the files the label counts";

  // A cancelled choice leaves no file to sum, and the label says so.
  ui.willCancel();
  ui.click(Form4->Button1);
  EXPECT_EQ(Form4->Label1->Caption(), "No Files selected!");
  ui.click(Form4->Button2);
  EXPECT_EQ(ui.lastBox().text, "No Files selected!");
}

TEST(SumSpectra, NoSelectionChangesNothing) {
  Session ui;
  ui.menu(Form1->sumspectra1);
  const std::string caption = Form1->Caption();
  ui.click(Form4->Button2);
  EXPECT_EQ(ui.lastBox().text, "No Files selected!");
  EXPECT_TRUE(ui.errorBoxes().empty());
  EXPECT_EQ(Form1->Caption(), caption);

  // "Select Dir" proposes nothing and still opens the dialog.
  ui.willCancel();
  ui.click(Form4->Button4);
  EXPECT_EQ(Form4->Edit1->Text(), "");
  EXPECT_TRUE(ui.errorBoxes().empty());

  // A cancelled "Select Files" says so and keeps the label.
  ui.willCancel();
  ui.click(Form4->Button1);
  EXPECT_EQ(ui.lastBox().text, "No Files selected!");
  EXPECT_EQ(Form4->Label1->Caption(), "No Files selected!");
}

// A missing heat file weighs nothing; only when all are missing do all
// weigh the same.
TEST(SumSpectra, MissingHeatFilesWeighNothing) {
  Session ui;
  Conformers c;
  c.add("a.cd.bil", bil({"250.0\t1000"}));
  c.add("b.cd.bil", bil({"250.0\t1"}));
  c.add("c.cd.bil", bil({"250.0\t1"}));
  c.heat("b.heat", 12.0);  // positive, as MOPAC heats are
  c.heat("c.heat", 13.0);
  runSum(ui, c.paths);
  EXPECT_EQ(sumLog(), (std::vector<std::string>{"Heatfile a.heat not found, spectra not summed correctly!!",
                                                "Weighting factors:", "a.cd.bil\t0.00", "b.cd.bil\t84.41",
                                                "c.cd.bil\t15.59"}));
  EXPECT_NEAR(ui.store().ROTS(2500, 1), 1.0, 1e-12);

  Conformers none;
  none.add("a.cd.bil", bil({"250.0\t4"}));
  none.add("b.cd.bil", bil({"250.0\t2"}));
  runSum(ui, none.paths);
  EXPECT_EQ(sumLog()[3], "a.cd.bil\t50.00");
  EXPECT_DOUBLE_EQ(ui.store().ROTS(2500, 1), 3.0);
}

TEST(SumSpectra, TemperatureMustBeANumberAbove0K) {
  for (const std::string text : {"abc", "0", "-5", "1e-320", "1,5"}) {
    SCOPED_TRACE(text);
    Session ui;
    Conformers c;
    c.add("a.cd.bil", bil({"250.0\t5"}));
    SumChoice choice = arithmetic();
    choice.temperature = text;
    runSum(ui, c.paths, choice);
    ASSERT_EQ(ui.errorBoxes().size(), 1u);
    EXPECT_EQ(ui.errorBoxes()[0].caption, "EConvertError");
    EXPECT_EQ(ui.store().ROTS(2500, 1), 0.0);
    EXPECT_NE(ui.store().CDACTIVE[1], "calc");
  }
}

TEST(SumSpectra, SelectDirProposesTheParentAndEndsWithASeparator) {
  Session ui;
  Conformers c;
  c.add("calc/bil/conf1.cd.bil", bil({"250.0\t5"}));
  ui.menu(Form1->sumspectra1);
  ui.willChooseFiles(c.paths);
  ui.click(Form4->Button1);
  ui.willCancel();
  ui.click(Form4->Button4);
  EXPECT_EQ(Form4->Edit1->Text(), c.folder.file("calc/"));

  ui.type(Form4->Edit1, "");
  ui.willChooseFolder(c.folder.file("calc/heat"));
  ui.click(Form4->Button4);
  EXPECT_EQ(Form4->Edit1->Text(), c.folder.file("calc/heat/"));
  ui.type(Form4->Edit1, "x");
  ui.willChooseFolder("C:\\calc\\heat\\");
  ui.click(Form4->Button4);
  EXPECT_EQ(Form4->Edit1->Text(), "C:\\calc\\heat\\");
}

}  // namespace
