// The firing rules of the controls and the error path of a person's action.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/errors.h"
#include "platform/form.h"
#include "platform/testing/scripted_ui.h"

namespace {

// A window with one control of each kind that fires, and a log of handlers.
class ProbeForm : public Form {
 public:
  ProbeForm() : Form("ProbeForm", "Probe", {0, 0, 400, 300}) {
    Edit1 = addEdit("Edit1", "0.16", {10, 10, 80, 24});
    CheckBox1 = addCheck("CheckBox1", "bars", {10, 40, 80, 20});
    Group1 = addGroup("Group1", "unit", {10, 70, 200, 90});
    Radio1 = addRadio("Radio1", "wavelength", {8, 16, 100, 20}, Group1, true);
    Radio2 = addRadio("Radio2", "wavenumber", {8, 40, 100, 20}, Group1);
    Radio3 = addRadio("Radio3", "other", {8, 64, 100, 20}, Group1);
    Button1 = addButton("Button1", "Redraw", {10, 170, 80, 24});
    Menu1 = addMainMenu("MainMenu1");
    File1 = addMenuItem(Menu1, "File1", "File");
    Open1 = addMenuItem(File1, "Open1", "Open");
    Kind1 = addMenuItem(Menu1, "Kind1", "ECD", /*enabled*/ false);
    Save1 = addMenuItem(Kind1, "Save1", "Save cd.bil");

    Edit1->OnChange = [this] { log.push_back("Edit1Change " + Edit1->Text()); };
    CheckBox1->OnChange = [this] {
      log.push_back(std::string("CheckBox1Change ") + (CheckBox1->Checked() ? "1" : "0"));
    };
    CheckBox1->OnClick = [this] { log.push_back("CheckBox1Click"); };
    for (RadioButton* radio : {Radio1, Radio2, Radio3}) {
      radio->OnChange = [this, radio] { log.push_back(radio->Name() + "Change " + states()); };
      radio->OnClick = [this, radio] { log.push_back(radio->Name() + "Click " + states()); };
    }
    Open1->OnClick = [this] { log.push_back("Open1Click"); };
    Save1->OnClick = [this] { log.push_back("Save1Click"); };
  }

  // The three radio states as seen by a handler, e.g. "100".
  std::string states() const {
    return std::string(Radio1->Checked() ? "1" : "0") + (Radio2->Checked() ? "1" : "0") +
           (Radio3->Checked() ? "1" : "0");
  }

  Edit* Edit1;
  CheckBox* CheckBox1;
  GroupBox* Group1;
  RadioButton *Radio1, *Radio2, *Radio3;
  Button* Button1;
  MainMenu* Menu1;
  MenuItem *File1, *Open1, *Kind1, *Save1;
  std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST(FiringRules, EditFiresOnlyWhenTheTextChanges) {
  ScriptedUi ui;
  ProbeForm form;
  ui.type(form.Edit1, "0.16");  // the same text
  ui.type(form.Edit1, "0.2");
  ui.act([&] { form.Edit1->SetText("0.2"); });
  ui.act([&] { form.Edit1->SetText("0.3"); });
  EXPECT_EQ(form.log, (Log{"Edit1Change 0.2", "Edit1Change 0.3"}));
}

TEST(FiringRules, CheckBoxRunsChangeThenClickAndNothingWhenUnchanged) {
  ScriptedUi ui;
  ProbeForm form;
  ui.untick(form.CheckBox1);  // already unticked
  ui.tick(form.CheckBox1);
  ui.act([&] { form.CheckBox1->SetChecked(true); });
  ui.untick(form.CheckBox1);
  EXPECT_EQ(form.log, (Log{"CheckBox1Change 1", "CheckBox1Click", "CheckBox1Change 0",
                           "CheckBox1Click"}));
}

TEST(FiringRules, TickingARadioUnticksItsGroupBeforeItsOwnHandlersRun) {
  ScriptedUi ui;
  ProbeForm form;
  ui.tick(form.Radio2);
  // Own state first, so the sibling sees the new state when it hears of its
  // own change; then the radio's own change and click.
  EXPECT_EQ(form.log, (Log{"Radio1Change 010", "Radio2Change 010", "Radio2Click 010"}));
  EXPECT_EQ(form.states(), "010");
}

TEST(FiringRules, RadioUntickedByCodeRunsChangeButNoClick) {
  ScriptedUi ui;
  ProbeForm form;
  ui.act([&] { form.Radio1->SetChecked(false); });
  ui.act([&] { form.Radio1->SetChecked(false); });
  EXPECT_EQ(form.log, (Log{"Radio1Change 000"}));
}

TEST(FiringRules, RadioGroupsAreSeparatedByTheirParent) {
  ScriptedUi ui;
  ProbeForm form;
  RadioButton* loose = nullptr;
  struct Two : Form {
    Two() : Form("Two", "", {0, 0, 10, 10}) {
      a = addRadio("A", "", {}, nullptr, true);
      g = addGroup("G", "", {});
      b = addRadio("B", "", {}, g, true);
    }
    RadioButton *a, *b;
    GroupBox* g;
  } two;
  loose = two.a;
  EXPECT_TRUE(loose->Checked());
  EXPECT_TRUE(two.b->Checked());
  EXPECT_TRUE(loose->Siblings().empty());
}

TEST(FiringRules, SettingEnabledVisibleOrCaptionFiresNothing) {
  ScriptedUi ui;
  ProbeForm form;
  ui.act([&] {
    form.Edit1->SetEnabled(false);
    form.CheckBox1->SetVisible(false);
    form.Radio2->SetCaption("x");
    form.Kind1->SetEnabled(true);
  });
  EXPECT_TRUE(form.log.empty());
}

TEST(Menus, AnItemIsReachableOnlyWhileItAndEveryParentAreEnabled) {
  ScriptedUi ui;
  ProbeForm form;
  EXPECT_TRUE(form.Save1->Enabled());
  EXPECT_FALSE(ui.menu(form.Save1));  // its menu is disabled
  EXPECT_TRUE(ui.menu(form.Open1));
  ui.act([&] { form.Kind1->SetEnabled(true); });
  EXPECT_TRUE(ui.menu(form.Save1));
  EXPECT_EQ(form.log, (Log{"Open1Click", "Save1Click"}));
}

TEST(Dispatch, AnExceptionDeepInACascadeReachesOneErrorBox) {
  ScriptedUi ui;
  ProbeForm form;
  bool afterThrow = false;
  bool innerCaught = false;
  form.CheckBox1->OnClick = [&] {
    throw EConvertError("\"abc\" is an invalid float");
  };
  form.Edit1->OnChange = [&] {
    try {
      form.CheckBox1->SetChecked(true);
    } catch (...) {
      innerCaught = true;
      throw;
    }
    afterThrow = true;
  };
  ui.type(form.Edit1, "abc");
  EXPECT_TRUE(innerCaught);  // it passed through the outer handler...
  EXPECT_FALSE(afterThrow);  // ...and ended it
  ASSERT_EQ(ui.errorBoxes().size(), 1u);
  EXPECT_EQ(ui.lastBox().caption, "EConvertError");
  EXPECT_EQ(ui.lastBox().text, "\"abc\" is an invalid float");
  // What the handlers changed until then stays.
  EXPECT_TRUE(form.CheckBox1->Checked());
  EXPECT_EQ(form.Edit1->Text(), "abc");
}

TEST(Dispatch, EachExceptionClassShowsItsOwnName) {
  ScriptedUi ui;
  ui.act([] { throw EInOutError("File not found"); });
  ui.act([] { throw ERangeError("Range check error"); });
  ui.act([] { throw EMathError("Division by zero"); });
  ui.act([] { throw std::logic_error("broken"); });
  std::vector<std::string> seen;
  for (const Box& box : ui.errorBoxes()) seen.push_back(box.caption + "/" + box.text);
  EXPECT_EQ(seen, (Log{"EInOutError/File not found", "ERangeError/Range check error",
                       "EMathError/Division by zero", "Exception/broken"}));
}

TEST(Dispatch, AModalWindowCatchesItsOwnHandlersErrors) {
  ScriptedUi ui;
  ProbeForm mainForm;
  ProbeForm dialog;
  bool afterModal = false;
  dialog.Button1->OnClick = [] { throw EConvertError("bad"); };
  mainForm.Button1->OnClick = [&] {
    dialog.ShowModal();
    afterModal = true;
  };
  ui.onModal(&dialog, [&] {
    EXPECT_TRUE(dialog.Showing());
    ui.click(dialog.Button1);
    EXPECT_EQ(ui.errorBoxes().size(), 1u);  // shown while the window is open
  });
  ui.click(mainForm.Button1);
  EXPECT_TRUE(afterModal);
  EXPECT_FALSE(dialog.Showing());
}

TEST(ScriptedUi, DisabledOrHiddenControlsCannotBeUsed) {
  ScriptedUi ui;
  ProbeForm form;
  form.Edit1->SetEnabled(false);
  form.Group1->SetVisible(false);
  EXPECT_NONFATAL_FAILURE(ui.type(form.Edit1, "1"), "disabled or hidden");
  EXPECT_NONFATAL_FAILURE(ui.tick(form.Radio2), "disabled or hidden");
  EXPECT_TRUE(form.log.empty());
}

TEST(ScriptedUi, DialogsTakeTheirPreparedAnswersInOrder) {
  ScriptedUi ui;
  ProbeForm form;
  OpenDialog open("OpenDialog1", &form);
  open.Title = "Open File";
  SaveDialog save("SaveDialog1", &form);
  save.FileName = "mol";
  ui.willChooseFile("/tmp/a.cd.bil");
  ui.willCancel();
  ui.willChooseFile("/tmp/out");  // no ending added
  ui.willAnswer(Answer::No);
  std::string opened, saved;
  bool cancelled = false;
  Answer answer = Answer::Yes;
  ui.act([&] {
    if (open.Execute()) opened = open.FileName;
    cancelled = !open.Execute();
    if (save.Execute()) saved = save.FileName;
    answer = AskYesNo(" ", "overwrite?");
  });
  EXPECT_EQ(opened, "/tmp/a.cd.bil");
  EXPECT_TRUE(cancelled);
  EXPECT_EQ(saved, "/tmp/out");
  EXPECT_EQ(answer, Answer::No);
  ASSERT_EQ(ui.dialogs().size(), 3u);
  EXPECT_EQ(ui.dialogs()[0].title, "Open File");
  EXPECT_EQ(ui.dialogs()[2].presetFileName, "mol");
  EXPECT_EQ(ui.lastBox().caption, " ");
}

TEST(ScriptedUi, AnUnpreparedDialogFailsTheTestClearly) {
  ScriptedUi ui;
  ProbeForm form;
  OpenDialog open("OpenDialog1", &form);
  open.Title = "Open File";
  bool chosen = true;
  EXPECT_NONFATAL_FAILURE(ui.act([&] { chosen = open.Execute(); }),
                          "did not prepare an answer");
  EXPECT_FALSE(chosen);
  EXPECT_NONFATAL_FAILURE(ui.act([] { AskYesNo("", "really?"); }), "Yes/No");
}

TEST(ScriptedUi, MessageBoxesNeedNoAnswerAndAreKeptInOrder) {
  ScriptedUi ui;
  ui.act([] {
    ShowMessage("File saved!");
    ShowMessage("No File selected!");
  });
  ASSERT_EQ(ui.boxes().size(), 2u);
  EXPECT_EQ(ui.boxes()[0].text, "File saved!");
  EXPECT_EQ(ui.lastBox().kind, BoxKind::Message);
}

TEST(ScriptedUi, MouseAndDroppedFilesReachTheirHandlers) {
  ScriptedUi ui;
  ProbeForm form;
  struct Pic : Form {
    Pic() : Form("Pic", "", {0, 0, 700, 900}) { image = addImage("Image1", {0, 0, 673, 800}); }
    Image* image;
  } pic;
  std::vector<std::string> seen;
  pic.image->OnMouseDown = [&](MouseButton b, int x, int y) {
    seen.push_back("down " + std::to_string(b == MouseButton::Right) + " " + std::to_string(x) +
                   "," + std::to_string(y));
  };
  pic.image->OnMouseMove = [&](int x, int y) {
    seen.push_back("move " + std::to_string(x) + "," + std::to_string(y));
  };
  pic.image->OnMouseUp = [&](MouseButton, int x, int y) {
    seen.push_back("up " + std::to_string(x) + "," + std::to_string(y));
  };
  pic.AllowDropFiles = true;
  pic.OnDropFiles = [&](const std::vector<std::string>& paths) { seen.push_back(paths.at(0)); };
  ui.mouse(pic.image, Mouse::Down, MouseButton::Right, 60, 300);
  ui.mouse(pic.image, Mouse::Move, MouseButton::Right, 80, 310);
  ui.mouse(pic.image, Mouse::Up, MouseButton::Right, 90, 320);
  ui.drop(&pic, {"/tmp/x.cd.bil"});
  EXPECT_EQ(seen, (Log{"down 1 60,300", "move 80,310", "up 90,320", "/tmp/x.cd.bil"}));
  EXPECT_EQ(pic.image->Picture().Width(), 673);
  EXPECT_EQ(pic.image->Picture().Height(), 800);
}

TEST(Memo, SavesEveryLineWithCrLf) {
  ScriptedUi ui;
  ProbeForm form;
  Memo memo("Memo2", &form);
  memo.Add("a");
  memo.AppendToLastLine("b");
  memo.Add("");
  memo.Add("c");
  std::string path = ::testing::TempDir() + "/memo_crlf.txt";
  memo.SaveToFile(path);
  FILE* file = fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr);
  char buffer[64] = {};
  size_t length = fread(buffer, 1, sizeof buffer, file);
  fclose(file);
  EXPECT_EQ(std::string(buffer, length), "ab\r\n\r\nc\r\n");
}

}  // namespace
