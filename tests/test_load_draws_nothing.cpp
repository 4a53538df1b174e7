// A load whose file draws nothing changes nothing: after real work is on
// screen (a TD output, a measured UV and a measured ECD, a typed band
// width), opening, dropping or comparing an output that puts nothing on the
// plots leaves every slot, curve, caption, memo, label, menu, edit and the
// page shown as they were, with one box. The decision is taken by the
// readers' trials, which touch neither the store nor a window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/testing/session.h"
#include "plots/cdplotting.h"
#include "readers/reader_core.h"
#include "tests/reader_test_support.h"

namespace {

// Every control of a window as a line: name, caption, flags and value.
void describe(const Form& form, std::vector<std::string>& lines) {
  for (const Control* control : form.AllControls()) {
    std::string line = form.Name() + "." + control->Name() + "|" + control->Caption() + "|" +
                       (control->Enabled() ? "e" : "-") + (control->Visible() ? "v" : "-");
    if (const auto* edit = dynamic_cast<const Edit*>(control)) line += "|" + edit->Text();
    if (const auto* box = dynamic_cast<const CheckBox*>(control)) line += box->Checked() ? "|x" : "|o";
    if (const auto* radio = dynamic_cast<const RadioButton*>(control))
      line += radio->Checked() ? "|x" : "|o";
    if (const auto* memo = dynamic_cast<const Memo*>(control))
      for (const std::string& text : memo->Lines()) line += "|" + text;
    if (const auto* pages = dynamic_cast<const PageControl*>(control))
      line += "|" + (pages->ActivePage() == nullptr ? std::string() : pages->ActivePage()->Name());
    lines.push_back(line);
  }
}

template <class Grid>
void values(const Grid& grid, long low, long high, std::vector<double>& out) {
  for (int slot = 1; slot <= 5; ++slot)
    for (long bin = low; bin <= high; ++bin) out.push_back(grid(bin, slot));
}

// What a person sees and what the program keeps, to compare before and after.
struct Snapshot {
  std::vector<std::string> texts;
  std::vector<double> numbers;
  bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(Session& ui) {
  Snapshot shot;
  const Store& store = ui.store();
  shot.texts.push_back(Form1->Caption());
  for (int slot = 1; slot <= 5; ++slot) {
    for (const auto* texts : {&store.CDACTIVE, &store.UVACTIVE, &store.VCDACTIVE, &store.IRACTIVE,
                              &store.CDTITLE, &store.UVTITLE, &store.VCDTITLE, &store.IRTITLE,
                              &store.HPLCTITLE})
      shot.texts.push_back((*texts)[slot]);
    for (const auto* reals : {&store.CDMAX, &store.UVMAX, &store.CDFACTOR, &store.UVFACTOR,
                              &store.HPLCMAX, &store.HPLCMIN})
      shot.numbers.push_back((*reals)[slot]);
    for (const auto* counts : {&store.CDDATAPTS, &store.UVDATAPTS, &store.HPLCDATAPTS})
      shot.numbers.push_back(static_cast<double>((*counts)[slot]));
  }
  values(store.ROTS, MINLAMBDA, MAXLAMBDA, shot.numbers);
  values(store.OSC, MINLAMBDA, MAXLAMBDA, shot.numbers);
  values(store.EPS, MINLAMBDA, MAXLAMBDA, shot.numbers);
  values(store.ABSG, MINLAMBDA, MAXLAMBDA, shot.numbers);
  values(store.EXPCDY, 1, 10000, shot.numbers);
  values(store.EXPUVY, 1, 10000, shot.numbers);
  values(store.HPLCY, 1, 15000, shot.numbers);
  describe(*Form1, shot.texts);
  describe(*Form10, shot.texts);
  return shot;
}

// A TD output with measured ECD and UV beside it and a typed band width.
void loadWork(Session& ui) {
  open(ui, fixture("readers/g03_td.log"));
  ui.type(Form1->Edit4, "200");
  ui.willChooseFile(fixture("measured/sample.cd.exp.xy"));
  ui.menu(Form1->BilFile1);
  ui.willChooseFile(fixture("measured/sample.uv.exp.xy"));
  ui.menu(Form1->xyFile1);
  ui.clearBoxes();
}

struct EmptyFile {
  const char* name;
  std::string text;
};

// One file of each kind that prints nothing the plots can show.
std::vector<EmptyFile> emptyFiles() {
  std::string frequencies = readTextFile(fixture("readers/g09_freq_vcd.log"));
  frequencies = replaced(replaced(frequencies, " Rot. str.", " Rot. xxx."), " Dip. str.", " Dip. xxx.");
  return {
      {"no_state.out", readTextFile(fixture("readers/nothing/escf_no_states.out"))},
      {"ground.log", " Entering Gaussian System\n Gaussian 16: x\n SCF Done:  E(RB3LYP) = -1.0\n"},
      {"freq.log", frequencies},
      {"off_grid.out", readTextFile(fixture("readers/nothing/orca_core.out"))},
      {"zero.out", readTextFile(fixture("readers/nothing/dalton_zero.out"))},
      {"adf.out", " Amsterdam Density Functional  (ADF)  2019\n SCF converged\n Bond Energy -1.0\n"},
      {"mopac.out", " MOPAC2016 (c) James J. P. Stewart\n FINAL HEAT OF FORMATION = -20.7 KCAL/MOL\n"},
  };
}

TEST(LoadDrawsNothing, OpenAndDropOfAnEmptyOutputLeaveTheWindowAsItWas) {
  for (const bool drop : {false, true}) {
    Session ui;
    loadWork(ui);
    ASSERT_EQ(ui.store().CDACTIVE[2], "exp");
    ASSERT_EQ(ui.store().UVACTIVE[2], "exp");
    for (const EmptyFile& file : emptyFiles()) {
      SCOPED_TRACE(std::string(file.name) + (drop ? " dropped" : " opened"));
      const std::string path = ui.path(file.name);
      writeTextFile(path, file.text);
      const Snapshot before = snapshot(ui);
      ui.clearBoxes();
      if (drop)
        ui.drop(Form1, {path});
      else
        open(ui, path);
      EXPECT_EQ(ui.boxes().size(), 1u) << (ui.boxes().empty() ? "" : ui.lastBox().text);
      EXPECT_TRUE(ui.errorBoxes().empty());
      EXPECT_TRUE(snapshot(ui) == before);
    }
    // The menus of the work on screen still answer.
    EXPECT_TRUE(Form1->CDspectra1->Enabled());
    EXPECT_TRUE(Form1->UVspectra1->Enabled());
  }
}

TEST(LoadDrawsNothing, CompareWithAnEmptyOutputLeavesItsSlot) {
  Session ui;
  loadWork(ui);
  const std::string path = ui.path("ground.log");
  writeTextFile(path, " Entering Gaussian System\n Gaussian 16: x\n SCF Done:  E(RB3LYP) = -1.0\n");
  const Snapshot before = snapshot(ui);
  ui.willChooseFile(path);
  ui.menu(Form1->BilFile1);
  EXPECT_EQ(boxTexts(ui), std::vector<std::string>{nothingDrawnMessage(path, noTableReason)});
  EXPECT_TRUE(snapshot(ui) == before);
}

TEST(LoadDrawsNothing, AnEmptyChromatogramLeavesTheTraceOnScreen) {
  Session ui;
  ui.willChooseFile(fixture("measured/trace.ccd"));
  ui.menu(Form1->OpenHPLC1);
  ASSERT_TRUE(ui.store().HPLC_CD[1]);
  const std::string path = ui.path("empty.cuv");
  writeTextFile(path, "Time,Value\n");
  const Snapshot before = snapshot(ui);
  ui.clearBoxes();
  ui.willChooseFile(path);
  ui.menu(Form1->OpenHPLC1);
  EXPECT_EQ(ui.boxes().size(), 1u);
  EXPECT_TRUE(snapshot(ui) == before);
  EXPECT_TRUE(ui.store().HPLC_CD[1]);
}

// A good output after the empty one still resets and loads.
TEST(LoadDrawsNothing, AnOutputThatDrawsStillResetsAndLoads) {
  Session ui;
  loadWork(ui);
  openText(ui, "ground.log", " Entering Gaussian System\n Gaussian 16: x\n SCF Done:  E = -1.0\n");
  ui.clearBoxes();
  open(ui, fixture("readers/g16_td_optrot.log"));
  EXPECT_TRUE(ui.boxes().empty());
  EXPECT_EQ(ui.store().CDACTIVE[1], "calc");
  EXPECT_EQ(ui.store().CDACTIVE[2], "false");
  EXPECT_EQ(ui.store().UVACTIVE[2], "false");
}

// The trials only read: with the work on screen, judging every reader
// fixture changes neither the store nor a window nor shows a box, and what
// they decide is what the open then draws.
TEST(LoadDrawsNothing, TrialsTouchNeitherTheStoreNorAWindow) {
  Session ui;
  loadWork(ui);
  const std::vector<readers::Trial> trials = {readers::trialUv, readers::trialEcd,
                                              readers::trialIr, readers::trialVcd};
  struct Case {
    std::string file;
    bool draws;
  };
  const std::vector<Case> cases = {
      {"readers/g16_td_optrot.log", true},       {"readers/g03_td.log", true},
      {"readers/g09_freq_vcd.log", true},        {"readers/adf/ecd.out", true},
      {"readers/nothing/escf_no_states.out", false}, {"readers/nothing/ricc2_ground.out", false},
      {"readers/nothing/orca_core.out", false},  {"readers/nothing/orca_xray.out", false},
      {"readers/nothing/dalton_off_grid.out", false}, {"readers/nothing/dalton_zero.out", false},
      {"readers/nothing/nwchem_off_grid.out", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const Snapshot before = snapshot(ui);
    const readers::OutputReading reading = readers::readForLoad(fixture(c.file), 1, trials);
    EXPECT_TRUE(snapshot(ui) == before);
    EXPECT_TRUE(ui.boxes().empty());
    EXPECT_FALSE(reading.failure);
    EXPECT_EQ(reading.drawing.drewSomething(), c.draws);
  }
  // The DFT/MRCI and sTDA trials as well.
  const Snapshot before = snapshot(ui);
  EXPECT_TRUE(readers::readForLoad(fixture("readers/stda.dat"), 1,
                                   {readers::trialStdaUv, readers::trialStdaEcd})
                  .drawing.drewSomething());
  EXPECT_FALSE(readers::readForLoad(fixture("readers/nothing/stda_high.dat"), 1,
                                    {readers::trialStdaUv, readers::trialStdaEcd})
                   .drawing.drewSomething());
  EXPECT_TRUE(snapshot(ui) == before);
  EXPECT_TRUE(ui.boxes().empty());
}

}  // namespace
