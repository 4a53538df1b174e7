// The Compare and Add loaders: which file names each accepts and into which
// slot it loads them, the load/remove curves window, and the chromatogram
// slots.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/Main.h"
#include "files/multiloadcd.h"
#include "platform/testing/session.h"
#include "plots/cdplotting.h"
#include "store/Store.h"

namespace {

class Loaders : public ::testing::Test {
 protected:
  Session ui;
  TempFolder temp;

  void open(const std::string& path) {
    ui.willChooseFile(path);
    ASSERT_TRUE(ui.menu(Form1->Open1));
  }
  void openHplc(const std::string& path) {
    ui.willChooseFile(path);
    ASSERT_TRUE(ui.menu(Form1->OpenHPLC1));
  }
  // A file of the temporary folder with any content.
  std::string junk(const std::string& name) {
    writeTextFile(temp.file(name), "nothing to read\n");
    return temp.file(name);
  }
  // Chooses `path` in the next dialog, or cancels it when `path` is empty.
  void choose(const std::string& path) {
    if (path.empty())
      ui.willCancel();
    else
      ui.willChooseFile(path);
  }
  Store& store() { return ui.store(); }
};

std::string m(const std::string& name) { return fixture("measured/" + name); }

// Every pixel of a plot.
std::vector<TColor> pixels(Image* image) {
  std::vector<TColor> all;
  const TRect& bounds = image->Bounds();
  for (int y = 0; y < bounds.Height; ++y)
    for (int x = 0; x < bounds.Width; ++x) all.push_back(image->Canvas().Pixels(x, y));
  return all;
}

// ---- Compare: names per loader -----------------------------------------------------

TEST_F(Loaders, CompareAcceptsAndDispatchesByTheNameTail) {
  enum Kind { Ecd, Uv, Vcd, Ir };
  struct Case {
    Kind kind;
    std::string file;      // empty: the dialog is cancelled
    std::string box;       // the one box shown, or empty for none
    std::string slot2;     // state of slot 2 of the kind afterwards
  };
  const std::vector<Case> cases = {
      {Ecd, m("mol.cd.bil"), "", "calc"},
      {Ecd, m("mol.uv.bil"), "", "calc"},  // the CD reader reads a uv.bil too
      {Ecd, m("sample.uv.exp.xy"), "", "exp"},  // any exp.xy file
      {Ecd, m("mol.or.bil"), "", "false"},
      {Ecd, m("mol.vc.bil"), "", "false"},
      {Ecd, junk("x.Log"), "Wrong File Format!", "false"},
      {Ecd, junk("x.txt"), "Wrong File Format!", "false"},
      {Ecd, "", "No file selected!", "false"},
      {Uv, m("mol.uv.bil"), "", "calc"},
      {Uv, m("mol.cd.bil"), "", "false"},
      {Uv, m("sample.uv.exp.xy"), "", "exp"},
      {Uv, "", "No File selected!", "false"},
      {Vcd, m("mol.ir.bil"), "", "calc"},  // the VCD reader reads an ir.bil too
      {Vcd, m("sample.vc.exp.xy"), "", "exp"},
      {Vcd, junk("x.dat"), "Wrong File Format!", "false"},
      {Vcd, "", "No file selected!", "false"},
      {Ir, m("mol.ir.bil"), "", "calc"},
      {Ir, m("mol.vc.bil"), "", "false"},
      {Ir, junk("y.dat"), "Wrong File Format!", "false"},
      {Ir, "", "No file selected!", "false"},
  };
  for (const Case& c : cases) {
    SlotTexts* states[] = {&store().CDACTIVE, &store().UVACTIVE, &store().VCDACTIVE,
                           &store().IRACTIVE};
    const char* mains[] = {"sample.cd.exp.xy", "sample.uv.exp.xy", "sample.vc.exp.xy",
                           "sample.ir.exp.xy"};
    MenuItem* items[] = {Form1->BilFile1, Form1->xyFile1, Form1->MenuItem5, Form1->cpwithIR};
    open(m(mains[c.kind]));
    ui.clearBoxes();
    choose(c.file);
    ASSERT_TRUE(ui.menu(items[c.kind])) << c.file;
    if (c.box.empty())
      EXPECT_TRUE(ui.boxes().empty()) << c.file << ": " << ui.lastBox().text;
    else
      EXPECT_EQ(ui.lastBox().text, c.box) << c.file;
    EXPECT_EQ((*states[c.kind])[2], c.slot2) << c.file;
    EXPECT_EQ((*states[c.kind])[1], "exp") << c.file << ": slot 1 stays";
  }
}

TEST_F(Loaders, UpperCaseOutputEndingsReachTheDetector) {
  open(m("sample.cd.exp.xy"));
  // A file that does not exist: the detector's own guard reports it.
  ui.willChooseFile(temp.file("missing.LOG"));
  ASSERT_TRUE(ui.menu(Form1->BilFile1));
  EXPECT_EQ(ui.lastBox().text.rfind("File handling error occurred. Details: ", 0), 0u)
      << ui.lastBox().text;
}

TEST_F(Loaders, CompareNeedsAMainCurveOfItsKind) {
  open(m("sample.uv.exp.xy"));
  ui.clearBoxes();
  const size_t dialogs = ui.dialogs().size();
  for (auto handler : {&TForm1::BilFile1Click, &TForm1::MenuItem5Click, &TForm1::cpwithIRClick,
                       &TForm1::ORDwithORDCDSpectrum1Click, &TForm1::withchromatogram1Click})
    ui.act([&] { (Form1->*handler)(); });
  EXPECT_EQ(ui.dialogs().size(), dialogs);
  EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(Loaders, UvCompareAlwaysLeavesTheCdPlotWithOneYAxis) {
  open(m("sample.uv.exp.xy"));
  ui.act([&] {
    Form1->CheckBox1->SetChecked(true);
    Form10->CheckBox2->SetChecked(true);
  });
  ASSERT_TRUE(Form1->CheckBox8->Checked());
  ui.willCancel();
  ASSERT_TRUE(ui.menu(Form1->xyFile1));
  EXPECT_FALSE(Form10->CheckBox2->Checked());

  // Also when there is no UV main curve to compare with.
  ui.act([&] { Form10->CheckBox2->SetChecked(true); });
  ui.act([&] { Form1->Initialisierung(); });
  ui.act([&] { Form1->CheckBox1->SetChecked(true); });
  ui.act([&] { Form10->CheckBox2->SetChecked(true); });
  ui.act([&] { Form1->xyFile1Click(); });
  EXPECT_FALSE(Form10->CheckBox2->Checked());
}

// ---- The load/remove curves window --------------------------------------------------

class LoadRemoveWindow : public Loaders {
 protected:
  void SetUp() override {
    open(m("sample.cd.exp.xy"));
    ui.tick(Form1->CheckBox16);
  }
  // Shows the window through the ECD Compare; `inside` acts in it.
  void compare(std::function<void()> inside) {
    ui.onModal(Form7, std::move(inside));
    ASSERT_TRUE(ui.menu(Form1->BilFile1));
  }
};

TEST_F(LoadRemoveWindow, ALoadButtonLoadsIntoItsSlot) {
  ui.willChooseFile(m("mol.cd.bil"));
  compare([&] { ui.click(Form7->Button3); });
  EXPECT_EQ(store().CURVENO, 4);
  EXPECT_EQ(store().CDACTIVE[4], "calc");
  for (int slot : {2, 3, 5}) EXPECT_EQ(store().CDACTIVE[slot], "false") << slot;

  ui.willChooseFile(m("sample.uv.exp.xy"));
  compare([&] { ui.click(Form7->Button1); });
  EXPECT_EQ(store().CDACTIVE[2], "exp");
  EXPECT_EQ(store().CDACTIVE[4], "calc");
}

TEST_F(LoadRemoveWindow, RemoveEmptiesTheTickedSlotsWithoutADialog) {
  ui.willChooseFile(m("sample.uv.exp.xy"));
  compare([&] { ui.click(Form7->Button1); });
  ui.willChooseFile(m("mol.cd.bil"));
  compare([&] { ui.click(Form7->Button2); });
  ui.willChooseFile(m("mol.cd.bil"));
  compare([&] { ui.click(Form7->Button3); });
  store().CDMAX[2] = 7.0;
  store().CDFACTOR[4] = 3.0;

  const std::vector<TColor> withFourCurves = pixels(Form1->Image1);
  const size_t dialogs = ui.dialogs().size();
  compare([&] {
    EXPECT_EQ(Form7->Label1->Caption(), "sample.uv.exp.xy");
    EXPECT_EQ(Form7->Label2->Caption(), "mol.cd.bil");
    EXPECT_EQ(Form7->Label4->Caption(), "");
    EXPECT_FALSE(Form7->CheckBox1->Checked());
    ui.tick(Form7->CheckBox1);
    ui.tick(Form7->CheckBox3);
    ui.click(Form7->Button5);
  });
  EXPECT_EQ(ui.dialogs().size(), dialogs);
  for (int slot : {2, 4}) {
    EXPECT_EQ(store().CDACTIVE[slot], "false") << slot;
    EXPECT_EQ(store().CDTITLE[slot], "") << slot;
    EXPECT_EQ(store().CDDATAPTS[slot], 0) << slot;
  }
  EXPECT_EQ(store().CDMAX[2], 0.0);
  EXPECT_EQ(store().CDFACTOR[4], 1.0);
  EXPECT_EQ(store().CDACTIVE[3], "calc");
  EXPECT_EQ(store().CDACTIVE[1], "exp");

  // The page was drawn again without the emptied slots.
  const std::vector<TColor> afterRemoval = pixels(Form1->Image1);
  EXPECT_NE(afterRemoval, withFourCurves);
  ui.act([&] { Form1->RedrawUVCD(); });
  EXPECT_EQ(pixels(Form1->Image1), afterRemoval);
}

TEST_F(LoadRemoveWindow, CancelRemovesNothingAndLoadsNothing) {
  ui.willChooseFile(m("mol.cd.bil"));
  compare([&] { ui.click(Form7->Button2); });
  const size_t dialogs = ui.dialogs().size();
  compare([&] {
    ui.tick(Form7->CheckBox2);
    ui.click(Form7->Button6);
  });
  EXPECT_EQ(ui.dialogs().size(), dialogs);
  EXPECT_EQ(store().CDACTIVE[3], "calc");
  EXPECT_TRUE(ui.boxes().empty());
}

TEST_F(LoadRemoveWindow, HasNoCloseBoxSoOnlyItsButtonsLeaveIt) {
  const size_t dialogsBefore = ui.dialogs().size();
  bool closed = true;
  compare([&] {
    closed = ui.closeBox(Form7);
    EXPECT_TRUE(Form7->Showing());
    ui.click(Form7->Button6);  // "Cancel"
  });
  EXPECT_FALSE(closed);
  EXPECT_EQ(ui.dialogs().size(), dialogsBefore) << "no file dialog behind the window";
  EXPECT_TRUE(Form7->CheckBox5->Checked());
}

TEST_F(LoadRemoveWindow, RemoveWithNothingTickedLoadsIntoTheSlotChosenLast) {
  // Before any load button: the first comparison slot.
  ui.willChooseFile(m("mol.cd.bil"));
  compare([&] { ui.click(Form7->Button5); });
  EXPECT_EQ(store().CURVENO, 0);
  EXPECT_EQ(store().CDACTIVE[2], "calc");

  ui.willChooseFile(m("mol.cd.bil"));
  compare([&] { ui.click(Form7->Button2); });
  ui.willChooseFile(m("sample.uv.exp.xy"));
  compare([&] { ui.click(Form7->Button5); });
  EXPECT_EQ(store().CDACTIVE[3], "exp");
}

TEST_F(LoadRemoveWindow, VcdRemovalEmptiesVcdSlots) {
  open(m("sample.vc.exp.xy"));
  ui.act([&] { Form1->CheckBox17->SetChecked(true); });
  ui.willChooseFile(m("mol.vc.bil"));
  ui.onModal(Form7, [&] { ui.click(Form7->Button4); });
  ASSERT_TRUE(ui.menu(Form1->MenuItem5));
  EXPECT_EQ(store().VCDACTIVE[5], "calc");
  ui.onModal(Form7, [&] {
    ui.tick(Form7->CheckBox4);
    ui.click(Form7->Button5);
  });
  ASSERT_TRUE(ui.menu(Form1->MenuItem5));
  EXPECT_EQ(store().VCDACTIVE[5], "false");
  EXPECT_EQ(store().VCDACTIVE[1], "exp");
}

// ---- ORD and chromatograms ----------------------------------------------------------

TEST_F(Loaders, OrdCompareTakesOrdFilesIntoSlot2) {
  struct Case {
    std::string file;
    std::string box;
    std::string slot2;
  };
  const std::vector<Case> cases = {
      {m("gap.or.exp.xy"), "", "exp"},
      {m("mol.or.bil"), "", "calc"},
      {m("sample.cd.exp.xy"), "", "false"},
      {m("mol.uv.bil"), "NO *.or.bil-file or or.xy-File!", "false"},
      {m("mol.cd.bil"), "A cd.bil file holds no optical rotations to compare on the ORD page.",
       "false"},
      {"", "No file selected!", "false"},
  };
  for (const Case& c : cases) {
    open(m("mol.or.bil"));
    ui.clearBoxes();
    choose(c.file);
    ASSERT_TRUE(ui.menu(Form1->ORDwithORDCDSpectrum1));
    if (c.box.empty())
      EXPECT_TRUE(ui.boxes().empty()) << c.file;
    else
      EXPECT_EQ(ui.lastBox().text, c.box) << c.file;
    EXPECT_EQ(store().ORDACTIVE[2], c.slot2) << c.file;
  }
}

TEST_F(Loaders, ChromatogramCompareWithoutMultiplotFillsSlot2) {
  openHplc(m("tab.cuv"));
  ui.willChooseFile(m("comma.cuv"));
  ASSERT_TRUE(ui.menu(Form1->withchromatogram1));
  EXPECT_TRUE(store().HPLC_UV[2]);
  ui.willChooseFile(m("trace.ccd"));
  ASSERT_TRUE(ui.menu(Form1->withchromatogram1));
  EXPECT_TRUE(store().HPLC_CD[2]);
  EXPECT_FALSE(store().HPLC_UV[2]) << "a slot holds one trace";
  EXPECT_TRUE(store().HPLC_UV[1]);

  ui.willChooseFile(junk("x.txt"));
  ASSERT_TRUE(ui.menu(Form1->withchromatogram1));
  EXPECT_EQ(ui.lastBox().text, "No *.cuv or *.ccd file selected!");
  ui.willCancel();
  ASSERT_TRUE(ui.menu(Form1->withchromatogram1));
  EXPECT_EQ(ui.lastBox().text, "No file selected!");
}

TEST_F(Loaders, ChromatogramMultiplotTakesTheFirstSlotWithoutATrace) {
  openHplc(m("trace.ccd"));
  ui.tick(Form1->CheckBox15);
  // A UV trace beside a CD trace in slot 1 goes beside it, not over it.
  ui.willChooseFile(m("tab.cuv"));
  ASSERT_TRUE(ui.menu(Form1->withchromatogram1));
  EXPECT_TRUE(store().HPLC_CD[1]);
  EXPECT_FALSE(store().HPLC_UV[1]);
  EXPECT_TRUE(store().HPLC_UV[2]);

  for (int slot = 3; slot <= 5; ++slot) {
    ui.willChooseFile(slot == 4 ? m("trace.ccd") : m("comma.cuv"));
    ASSERT_TRUE(ui.menu(Form1->withchromatogram1));
    EXPECT_TRUE(store().HPLC_UV[slot] || store().HPLC_CD[slot]) << slot;
  }
  EXPECT_EQ(store().HPLCTITLE[4], "trace.ccd");
  ui.clearBoxes();
  ui.willChooseFile(m("tab.cuv"));
  ASSERT_TRUE(ui.menu(Form1->withchromatogram1));
  ASSERT_EQ(ui.boxes().size(), 1u);
  EXPECT_EQ(ui.lastBox().text, "Maximum number of spectra reached");
  EXPECT_EQ(store().HPLCTITLE[1], "trace.ccd");
  for (int slot = 1; slot <= 5; ++slot)
    EXPECT_FALSE(store().HPLC_UV[slot] && store().HPLC_CD[slot]) << slot;
}

// ---- Add ---------------------------------------------------------------------------

TEST_F(Loaders, AddLoadsTheCompanionKindIntoSlot1) {
  struct Case {
    const char* main;        // loaded first, through File > Open
    MenuItem* item;
    std::string file;        // empty: cancelled
    std::string box;
    SlotTexts* added;        // slot 1 of the companion kind
    std::string state;
  };
  Store& s = store();
  const std::vector<Case> cases = {
      {"sample.uv.exp.xy", Form1->AddCDspectrum1, m("sample.cd.exp.xy"), "", &s.CDACTIVE, "exp"},
      {"sample.uv.exp.xy", Form1->AddCDspectrum1, m("mol.cd.bil"), "", &s.CDACTIVE, "calc"},
      {"sample.uv.exp.xy", Form1->AddCDspectrum1, m("mol.uv.bil"), "", &s.CDACTIVE, "false"},
      {"sample.uv.exp.xy", Form1->AddCDspectrum1, junk("c.txt"), "Wrong File format!",
       &s.CDACTIVE, "false"},
      {"sample.uv.exp.xy", Form1->AddCDspectrum1, "", "No File selected!", &s.CDACTIVE, "false"},
      {"sample.cd.exp.xy", Form1->AddUVSpectrum1, m("sample.uv.exp.xy"), "", &s.UVACTIVE, "exp"},
      {"sample.cd.exp.xy", Form1->AddUVSpectrum1, junk("c.txt"), "Wrong File!", &s.UVACTIVE,
       "false"},
      {"sample.vc.exp.xy", Form1->AddIrSpectrum, m("sample.ir.exp.xy"), "", &s.IRACTIVE, "exp"},
      {"sample.vc.exp.xy", Form1->AddIrSpectrum, m("mol.ir.bil"), "", &s.IRACTIVE, "calc"},
      {"sample.ir.exp.xy", Form1->AddVCDSpectrum, m("mol.vc.bil"), "", &s.VCDACTIVE, "calc"},
      {"sample.ir.exp.xy", Form1->AddVCDSpectrum, junk("d.xyz"), "Wrong File!", &s.VCDACTIVE,
       "false"},
  };
  for (const Case& c : cases) {
    open(m(c.main));
    ui.clearBoxes();
    choose(c.file);
    ASSERT_TRUE(ui.menu(c.item)) << c.file;
    if (c.box.empty())
      EXPECT_TRUE(ui.boxes().empty()) << c.file;
    else
      EXPECT_EQ(ui.lastBox().text, c.box) << c.file;
    EXPECT_EQ((*c.added)[1], c.state) << c.file;
    // The main curve of the other kind stays.
    const bool mainIsUv = std::string(c.main).find(".uv.") != std::string::npos;
    const bool mainIsCd = std::string(c.main).find(".cd.") != std::string::npos;
    const bool mainIsVc = std::string(c.main).find(".vc.") != std::string::npos;
    const SlotTexts& mainStates =
        mainIsUv ? s.UVACTIVE : mainIsCd ? s.CDACTIVE : mainIsVc ? s.VCDACTIVE : s.IRACTIVE;
    EXPECT_EQ(mainStates[1], "exp") << c.file;
    if (c.state != "false") {
      EXPECT_FALSE(c.item->Enabled()) << c.file << ": until a later load";
    }
  }
}

}  // namespace
