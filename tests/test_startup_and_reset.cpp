// Start-up, the full reset and the menus of the main window that open files,
// reset, quit and open the other windows.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "app/Main.h"
#include "platform/files.h"
#include "platform/testing/session.h"
#include "plots/cdplotting.h"
#include "plots/uvplotting.h"
#include "plots/irplotting.h"
#include "plots/vcdplotting.h"
#include "files/multiloadcd.h"
#include "settings/about.h"
#include "settings/settings.h"
#include "similarity/similarity.h"
#include "similarity/similarityvcd.h"
#include "store/Store.h"
#include "tools/heatEx.h"
#include "tools/specEx.h"
#include "tools/sumspectra.h"

namespace {

// Wraps every change and click handler of the given windows so that a test
// sees which ones run, in order ("Edit3.OnChange").
class HandlerLog {
 public:
  explicit HandlerLog(const std::vector<Form*>& forms) {
    for (Form* form : forms)
      for (Control* control : form->AllControls()) wrap(*form, control);
  }
  std::vector<std::string> take() {
    std::vector<std::string> seen;
    seen.swap(seen_);
    return seen;
  }

 private:
  void record(Notify& slot, const std::string& name) {
    if (!slot) return;
    Notify original = slot;
    slot = [this, original, name] {
      seen_.push_back(name);
      original();
    };
  }
  void wrap(Form& form, Control* control) {
    std::string name = form.Name() + "." + control->Name();
    switch (control->Kind()) {
      case ControlKind::Edit:
        record(static_cast<Edit*>(control)->OnChange, name + ".OnChange");
        break;
      case ControlKind::CheckBox:
        record(static_cast<CheckBox*>(control)->OnChange, name + ".OnChange");
        record(static_cast<CheckBox*>(control)->OnClick, name + ".OnClick");
        break;
      case ControlKind::RadioButton:
        record(static_cast<RadioButton*>(control)->OnChange, name + ".OnChange");
        record(static_cast<RadioButton*>(control)->OnClick, name + ".OnClick");
        break;
      case ControlKind::Button:
        record(static_cast<Button*>(control)->OnClick, name + ".OnClick");
        break;
      case ControlKind::MenuItem:
        record(static_cast<MenuItem*>(control)->OnClick, name + ".OnClick");
        break;
      default:
        break;
    }
  }
  std::vector<std::string> seen_;
};

std::vector<Form*> allWindows() {
  return {Form1, Form2, Form3, Form4, Form5, Form6, Form7, Form9, Form10, Form11, Form12, Form13, Form15};
}

TEST(StartUp, CreatesEveryWindowAndLoadsNoCurve) {
  Session ui;
  for (Form* form : allWindows()) EXPECT_NE(form, nullptr);
  EXPECT_EQ(Form1->Caption(), std::string(ProgramName) + " " + ProgramVersion);
  EXPECT_TRUE(ui.boxes().empty());
  // No reset has run: slot states are the empty text, which is none of the three.
  Store& s = ui.store();
  for (int slot = 1; slot <= 5; ++slot) {
    EXPECT_EQ(s.CDACTIVE[slot], "");
    EXPECT_EQ(s.IRACTIVE[slot], "");
    EXPECT_EQ(s.CDFACTOR[slot], 0.0);
    EXPECT_FALSE(s.HPLC_UV[slot]);
  }
  EXPECT_EQ(s.ORDACTIVE[2], "");
  EXPECT_FALSE(Form1->CDspectra1->Enabled());
  EXPECT_TRUE(FileExists(ui.path("Orvanix.ini")));
}

TEST(StartUp, ARestartBuildsFreshWindowsOverTheSameFolder) {
  Session ui;
  Form* before = Form1;
  ui.type(Form1->Edit3, "0.3");
  ui.restart();
  EXPECT_NE(Form1, nullptr);
  EXPECT_EQ(Form1->Edit3->Text(), "0.16");
  (void)before;
}

TEST(Store, AnIndexOutsideTheGridRaisesARangeError) {
  Session ui;
  Store& s = ui.store();
  EXPECT_THROW(s.ROTS(999, 1), ERangeError);
  EXPECT_THROW(s.ROTS(40001, 1), ERangeError);
  EXPECT_THROW(s.EPS(2500, 6), ERangeError);
  EXPECT_THROW(s.VCD(4001, 1, 1), ERangeError);
  EXPECT_THROW(s.IR(0, 4, 1), ERangeError);
  EXPECT_THROW(s.CDACTIVE[0], ERangeError);
  EXPECT_THROW(s.ORDACTIVE[3], ERangeError);
  EXPECT_THROW(s.EXPORDX(2501, 1), ERangeError);
  s.ROTS(40000, 5) = 1.5;
  s.VCD(4000, 3, 5) = 2.5;
  EXPECT_EQ(s.ROTS(40000, 5), 1.5);
  EXPECT_EQ(s.VCD(4000, 3, 5), 2.5);
  // A range error shown to a person ends the handler with the error box.
  ui.act([&] { s.HPLCX(15001, 1) = 0; });
  EXPECT_EQ(ui.lastBox().caption, "ERangeError");
}

void expectEmptySlots(Store& s) {
  for (int slot = 1; slot <= 5; ++slot) {
    for (auto* state : {&s.CDACTIVE, &s.UVACTIVE, &s.VCDACTIVE, &s.IRACTIVE})
      EXPECT_EQ((*state)[slot], "false");
    for (auto* title : {&s.CDTITLE, &s.UVTITLE, &s.VCDTITLE, &s.IRTITLE}) EXPECT_EQ((*title)[slot], "");
    for (auto* max : {&s.CDMAX, &s.UVMAX, &s.VCDMAX, &s.IRMAX}) EXPECT_EQ((*max)[slot], 0.0);
    for (auto* factor : {&s.CDFACTOR, &s.UVFACTOR, &s.VCDFACTOR, &s.IRFACTOR})
      EXPECT_EQ((*factor)[slot], 1.0);
    for (auto* count : {&s.CDDATAPTS, &s.UVDATAPTS, &s.VCDDATAPTS, &s.IRDATAPTS})
      EXPECT_EQ((*count)[slot], 0);
    EXPECT_FALSE(s.HPLC_UV[slot]);
    EXPECT_FALSE(s.HPLC_CD[slot]);
  }
  for (int slot = 1; slot <= 2; ++slot) {
    EXPECT_EQ(s.ORDACTIVE[slot], "false");
    EXPECT_EQ(s.ORDTITLE[slot], "");
    EXPECT_EQ(s.ORDDATAPTS[slot], 0);
  }
}

// Everything but the unit-dependent steps, which the two tests below check.
void expectResetControls(Session& ui) {
  TForm1& f = *Form1;
  expectEmptySlots(ui.store());
  for (MenuItem* menu : {f.CDspectra1, f.UVspectra1, f.ORD1, f.VCDspectra, f.IRSpectra,
                         f.N2ndSpectrum1, f.AddCDspectrum1, f.AddUVSpectrum1, f.AddVCDSpectrum,
                         f.AddIrSpectrum})
    EXPECT_FALSE(menu->Enabled()) << menu->Name();
  for (MenuItem* item : {f.SaveCD1, f.SaveUV1, f.MenuItem4, f.saveIRBIL, f.Savexy1, f.Savexy2,
                         f.MenuItem6, f.saveIRxy}) {
    EXPECT_TRUE(item->Enabled()) << item->Name();
    EXPECT_FALSE(item->Reachable()) << item->Name();  // its menu is disabled
  }
  EXPECT_TRUE(f.Button2->Enabled());
  EXPECT_TRUE(f.CheckBox8->Checked());
  EXPECT_TRUE(f.CheckBox6->Checked());
  EXPECT_FALSE(f.CheckBox9->Checked());
  EXPECT_TRUE(f.CheckBox4->Checked());
  EXPECT_TRUE(f.RadioButton3->Checked());
  EXPECT_FALSE(f.RadioButton3->Enabled());
  EXPECT_FALSE(f.RadioButton4->Enabled());
  EXPECT_EQ(f.Edit3->Text(), "0.16");
  EXPECT_EQ(f.Edit17->Text(), "4");
  EXPECT_EQ(f.Edit26->Text(), "1.0");
  for (Edit* edit : {f.Edit6, f.Edit7, f.Edit14, f.Edit15}) EXPECT_EQ(edit->Text(), "0");
  for (Label* label : {f.Label11, f.Label13, f.Label15}) EXPECT_EQ(label->Caption(), "--");
  for (Control* control : std::initializer_list<Control*>{f.Edit1, f.Edit10, f.Label1, f.Button3,
                                                           f.Button8, f.Button15})
    EXPECT_FALSE(control->Enabled()) << control->Name();
  EXPECT_EQ(f.Memo2->Count(), 0);
  EXPECT_EQ(f.ProgressBar1->Position(), 0);
  EXPECT_FALSE(ui.store().DRAWING);
  EXPECT_EQ(Form10->Edit10->Text(), "CD [mdeg]");
  EXPECT_EQ(Form10->Edit11->Text(), "");
  EXPECT_EQ(Form11->Edit10->Text(), "absorption [a.u.]");
  EXPECT_EQ(Form11->Edit11->Text(), "calc. absorption [a.u.]");
  // Blank plots: white with a one-pixel black frame, at the image's size.
  for (Image* image : {f.Image1, f.Image5, f.Image3, f.Image4}) {
    const Bitmap& picture = image->Picture();
    EXPECT_EQ(picture.Width(), image->Bounds().Width);
    EXPECT_EQ(picture.Pixel(0, 0), clBlack);
    EXPECT_EQ(picture.Pixel(picture.Width() - 1, picture.Height() - 1), clBlack);
    EXPECT_EQ(picture.Pixel(1, 1), clWhite);
    EXPECT_EQ(picture.Pixel(picture.Width() / 2, picture.Height() / 2), clWhite);
    EXPECT_TRUE(image->Visible());
  }
}

TEST(Reset, EmptiesEverySlotAndPutsTheWavelengthLayoutBack) {
  Session ui;
  Store& s = ui.store();
  s.CDACTIVE[1] = "calc";
  s.CDTITLE[3] = "mol.cd.bil";
  s.VCDFACTOR[5] = 2.5;
  s.IRDATAPTS[2] = 17;
  s.ORDACTIVE[2] = "exp";
  s.HPLC_CD[4] = true;
  s.HPLCDATAPTS[2] = 99;
  s.HPLCTITLE[2] = "trace.ccd";
  s.DRAWING = true;
  s.ROTS(2500, 1) = 10;
  ui.act([] {
    Form1->CDspectra1->SetEnabled(true);
    Form1->Edit2->SetText("5");
    Form1->Edit31->SetText("3");
    Form1->Memo2->Add("left over");
    Form1->ProgressBar1->SetPosition(40);
  });
  ASSERT_TRUE(ui.menu(Form1->New1));
  expectResetControls(ui);
  for (Edit* edit : {Form1->Edit2, Form1->Edit12, Form1->Edit13, Form1->Edit31, Form1->Edit32})
    EXPECT_EQ(edit->Text(), "0");
  EXPECT_TRUE(Form1->Edit4->Enabled());
  EXPECT_FALSE(Form1->Edit35->Visible());
  EXPECT_FALSE(Form1->Label35->Visible());
  EXPECT_EQ(Form10->Edit9->Text(), "wavelength {/Symbol l} [nm]");
  EXPECT_EQ(Form11->Edit9->Text(), "wavelength {/Symbol l} [nm]");
  // What the reset leaves alone.
  EXPECT_EQ(s.ROTS(2500, 1), 10.0);
  EXPECT_EQ(s.HPLCDATAPTS[2], 99);
  EXPECT_EQ(s.HPLCTITLE[2], "trace.ccd");
  EXPECT_TRUE(ui.errorBoxes().empty());
}

TEST(Reset, InTheWavenumberUnitSetsXScaleFactorsAndTheCm1Range) {
  TempFolder folder;
  writeTextFile(folder.file("Orvanix.ini"), "[Units]\r\nwavelength=0\r\nwavenumber=1\r\n");
  Session ui(folder.path());
  ASSERT_TRUE(Form2->RadioButton6->Checked());
  // The stored unit reaches the main window only at the first reset.
  EXPECT_EQ(Form1->Edit2->Text(), "0");
  EXPECT_FALSE(Form1->Edit35->Visible());
  ASSERT_TRUE(ui.menu(Form1->New1));
  expectResetControls(ui);
  for (Edit* edit : {Form1->Edit2, Form1->Edit12, Form1->Edit13, Form1->Edit31, Form1->Edit32})
    EXPECT_EQ(edit->Text(), "1.0");
  EXPECT_FALSE(Form1->Edit4->Enabled());
  EXPECT_FALSE(Form1->Edit5->Enabled());
  EXPECT_TRUE(Form1->Edit35->Visible());
  EXPECT_TRUE(Form1->Edit36->Visible());
  EXPECT_TRUE(Form1->Label35->Visible());
  EXPECT_EQ(Form10->Edit9->Text(), "wavenumber [cm^{-1}]");
  EXPECT_EQ(Form11->Edit9->Text(), "wavenumber [cm^{-1}]");
}

TEST(Reset, RunsTheHandlersOfTheControlsItChangesInStepOrder) {
  Session ui;
  ui.act([] {
    Form1->CheckBox8->SetChecked(false);
    Form1->CheckBox9->SetChecked(true);
    Form1->CheckBox6->SetChecked(false);
    Form1->Edit3->SetText("0.3");
    Form1->Edit17->SetText("7");
    Form1->Edit26->SetText("0.97");
    Form1->CheckBox4->SetChecked(false);
    Form1->Edit2->SetText("4");
    Form1->Edit13->SetText("2");
  });
  HandlerLog log(allWindows());
  ASSERT_TRUE(ui.menu(Form1->New1));
  std::vector<std::string> seen = log.take();
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.front(), "Form1.New1.OnClick");
  // The order of the steps: auto scaling (7), normal VCD unticking its
  // mirror (8), the band widths and x scale (11), HPLC auto scaling (14),
  // the x corrections (18).
  auto position = [&](const std::string& name) {
    for (size_t i = 0; i < seen.size(); ++i)
      if (seen[i] == name) return static_cast<int>(i);
    ADD_FAILURE() << name << " did not run";
    return -1;
  };
  std::vector<std::string> inOrder = {
      "Form1.CheckBox8.OnClick", "Form1.CheckBox6.OnChange", "Form1.CheckBox9.OnChange",
      "Form1.Edit3.OnChange",     "Form1.Edit17.OnChange",    "Form1.Edit26.OnChange",
      "Form1.CheckBox4.OnClick",  "Form1.Edit2.OnChange",     "Form1.Edit13.OnChange"};
  for (size_t i = 1; i < inOrder.size(); ++i)
    EXPECT_LT(position(inOrder[i - 1]), position(inOrder[i])) << inOrder[i - 1] << " / " << inOrder[i];
  // Edits whose text did not change run nothing.
  for (const std::string& name : seen) {
    EXPECT_NE(name, "Form1.Edit12.OnChange");
    EXPECT_NE(name, "Form1.Edit31.OnChange");
  }
}

TEST(Reset, TwiceInARowTheSecondRunsNoHandler) {
  for (bool wavenumber : {false, true}) {
    Session ui;
    if (wavenumber) ui.act([] { Form2->RadioButton6->SetChecked(true); });
    ui.menu(Form1->New1);
    HandlerLog log(allWindows());
    ui.menu(Form1->New1);
    EXPECT_EQ(log.take(), std::vector<std::string>{"Form1.New1.OnClick"})
        << (wavenumber ? "wavenumber" : "wavelength");
  }
}

TEST(TextHelpers, ShrinkFileName) {
  const std::map<std::string, std::string> cases = {
      {"my_mol.cd.bil", "mymol"},
      {"conf 12_b3lyp.log", "conf12b3lyp"},
      {"sample.uv.exp.xy", "sample"},
      {"x.bil", "x.bil"},  // too short to lose 7 characters
      {"a b_c.uv.bil", "abc"},
      {"abcdefghijklmnopqrstuvwxyz0123", "abcdefghijklmnopqrst"},
      {"run.log.cd.bil", "run"},
      {"stda.dat", "stda"},
      {"", ""},
      // Characters, not bytes: umlauts are two bytes each in UTF-8.
      {"\u00c4\u00d6\u00dc\u00e4\u00f6\u00fc\u00df\u00c4\u00d6\u00dc\u00e4\u00f6\u00fc\u00df"
       "\u00c4\u00d6\u00dc\u00e4\u00f6\u00fc\u00df\u00c4",
       "\u00c4\u00d6\u00dc\u00e4\u00f6\u00fc\u00df\u00c4\u00d6\u00dc\u00e4\u00f6\u00fc\u00df"
       "\u00c4\u00d6\u00dc\u00e4\u00f6\u00fc"},
      {"M\u00fcller_\u00e4.cd.bil", "M\u00fcller\u00e4"},
      {"\u00e4\u00e4.bil", "\u00e4\u00e4.bil"},  // 6 characters in 8 bytes: too short
  };
  for (const auto& [title, expected] : cases) EXPECT_EQ(ShrinkFileName(title), expected) << title;
}

TEST(TextHelpers, KommaZuPunkt) {
  const std::map<std::string, std::string> cases = {
      {"1,5", "1.5"}, {"1,234,5", "1.234.5"}, {"2.5", "2.5"}, {"", ""}};
  for (const auto& [text, expected] : cases) {
    std::string s = text;
    TForm1::KommaZuPunkt(s);
    EXPECT_EQ(s, expected);
  }
}

TEST(FileMenu, CancelledOpenDialogsSayNoFileSelected) {
  Session ui;
  ui.willCancel();
  ui.menu(Form1->Open1);
  EXPECT_EQ(ui.lastBox().text, "No File selected!");
  ui.willCancel();
  ui.menu(Form1->OpenHPLC1);
  EXPECT_EQ(ui.lastBox().text, "No File selected!");
  ASSERT_EQ(ui.dialogs().size(), 2u);
  const DialogSeen& open = ui.dialogs()[0];
  EXPECT_EQ(open.title, "Open File");
  ASSERT_EQ(open.filters.size(), 5u);
  EXPECT_EQ(open.filters[0].Caption, "Bil-files(*.bil),Outfiles(*.out,*log,*dat),exp.xy-Files(*.exp.xy)");
  EXPECT_EQ(open.filters[0].Masks, "*.bil;*.out;*.log;*.exp.xy;*.dat");
  EXPECT_EQ(open.filters[4].Caption, "Alle Dateien (*.*)");
  const DialogSeen& hplc = ui.dialogs()[1];
  ASSERT_EQ(hplc.filters.size(), 3u);
  EXPECT_EQ(hplc.filters[0].Masks, "*.cuv");
  EXPECT_EQ(hplc.filters[1].Caption, "HPLC-CD(*.ccd)");
  EXPECT_EQ(hplc.filters[2].Caption, "all Files");
  // Cancelling loads nothing and resets nothing.
  EXPECT_EQ(ui.store().CDACTIVE[1], "");
}

TEST(FileMenu, SettingsInfoAndQuit) {
  Session ui;
  bool settingsShown = false, infoShown = false;
  ui.onModal(Form2, [&] { settingsShown = Form2->Showing(); });
  ui.onModal(Form3, [&] { infoShown = Form3->Showing(); });
  ui.menu(Form1->Settings1);
  ui.menu(Form1->Info1);
  EXPECT_TRUE(settingsShown);
  EXPECT_TRUE(infoShown);
  ui.act([] { Form1->Show(); });
  ASSERT_TRUE(Form1->Showing());
  ui.menu(Form1->Quit1);
  EXPECT_FALSE(Form1->Showing());
}

TEST(ToolsMenu, SumSpectraResetsAndShowsItsWindowBeside) {
  Session ui;
  ui.store().UVACTIVE[2] = "calc";
  ui.act([] { Form4->Label1->SetCaption("3 files"); });
  ui.menu(Form1->sumspectra1);
  EXPECT_EQ(Form4->Label1->Caption(), "No Files selected!");
  EXPECT_EQ(ui.store().UVACTIVE[2], "false");
  EXPECT_TRUE(Form4->Showing());
  EXPECT_FALSE(Form4->Modal());
}

TEST(ToolsMenu, ExtractionWindowsStartInTheCurrentFolderWithAnEmptyLog) {
  Session ui;
  struct Case {
    MenuItem* item;
    Form* window;
    Edit* folder;
    Memo* log;
  };
  for (const Case& c : {Case{Form1->heatextraction1, Form5, Form5->Edit1, Form5->Memo1},
                        Case{Form1->buildbilfiles1, Form6, Form6->Edit1, Form6->Memo1}}) {
    ui.act([&] {
      c.folder->SetText("");
      c.log->Add("old");
    });
    bool shownModal = false;
    ui.onModal(c.window, [&] { shownModal = c.window->Modal(); });
    ui.menu(c.item);
    EXPECT_TRUE(shownModal);
    EXPECT_EQ(c.folder->Text(), GetCurrentDir());
    EXPECT_EQ(c.log->Count(), 0);
    // A folder already chosen is kept.
    ui.act([&] { c.folder->SetText("/data/conformers"); });
    ui.menu(c.item);
    EXPECT_EQ(c.folder->Text(), "/data/conformers");
  }
}

TEST(ToolsMenu, SimilarityFactorsOpensTheWindowOfTheComputedKind) {
  Session ui;
  ui.menu(Form1->New1);
  ui.menu(Form1->Determinesigma1);
  EXPECT_FALSE(Form9->Showing());
  EXPECT_FALSE(Form12->Showing());

  ui.store().CDACTIVE[1] = "calc";
  ui.menu(Form1->Determinesigma1);
  EXPECT_TRUE(Form9->Showing());
  EXPECT_FALSE(Form12->Showing());
  EXPECT_TRUE(Form9->Edit5->Enabled());
  EXPECT_FALSE(Form9->Edit9->Enabled());

  ui.act([] { Form9->Close(); Form2->RadioButton6->SetChecked(true); });
  ui.store().IRACTIVE[1] = "calc";
  ui.menu(Form1->Determinesigma1);
  EXPECT_TRUE(Form9->Showing());
  EXPECT_TRUE(Form12->Showing());
  EXPECT_FALSE(Form9->Edit5->Enabled());
  EXPECT_TRUE(Form9->Edit9->Enabled());
}

}  // namespace
