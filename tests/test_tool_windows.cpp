// The information, tool, load/remove and similarity windows: what they show
// when created, how they are laid out, and the little they do on their own.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "files/multiloadcd.h"
#include "platform/ini.h"
#include "platform/program_folder.h"
#include "platform/testing/scripted_ui.h"
#include "settings/about.h"
#include "similarity/similarity.h"
#include "similarity/similarityvcd.h"
#include "tools/heatEx.h"
#include "tools/specEx.h"
#include "tools/sumspectra.h"

namespace {

namespace fs = std::filesystem;

// A fresh folder standing for the executable's folder, for one test.
class ProgramFolderFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = fs::temp_directory_path() /
              ("orvanix-toolwin-" + std::string(test->name()) + "-" + std::to_string(::getpid()));
    fs::remove_all(folder_);
    fs::create_directories(folder_);
    SetProgramFolder(folder_.string());
  }
  void TearDown() override { fs::remove_all(folder_); }

  std::string settingsPath() const { return (folder_ / "Orvanix.ini").string(); }

  fs::path folder_;
};

// One control as the window shows it when created. `text` is the caption,
// or an edit's text; `checked` is given for boxes and radios.
struct Pinned {
  const char* name;
  ControlKind kind;
  const char* text;
  std::optional<bool> checked = std::nullopt;
  bool visible = true;
};

void expectPinned(const Form& form, const std::vector<Pinned>& controls) {
  for (const Pinned& pinned : controls) {
    SCOPED_TRACE(form.Name() + "." + pinned.name);
    Control* control = form.Find(pinned.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->Kind(), pinned.kind);
    if (pinned.kind == ControlKind::Edit)
      EXPECT_EQ(static_cast<Edit*>(control)->Text(), pinned.text);
    else
      EXPECT_EQ(control->Caption(), pinned.text);
    if (pinned.checked) {
      if (pinned.kind == ControlKind::CheckBox)
        EXPECT_EQ(static_cast<CheckBox*>(control)->Checked(), *pinned.checked);
      else
        EXPECT_EQ(static_cast<RadioButton*>(control)->Checked(), *pinned.checked);
    }
    EXPECT_EQ(control->Visible(), pinned.visible);
  }
}

using K = ControlKind;

TEST(ToolWindows, InformationWindowShowsNameVersionCitationAndLink) {
  TForm3 form;
  EXPECT_EQ(form.Caption(), "Infos");
  expectPinned(form, {{"Label1", K::Label, "Orvanix 1.0"},
                      {"Label2", K::Label, "Cite this software as following:"},
                      {"Label3", K::Label, "https://orvanix.example.org"}});
  EXPECT_EQ(form.Label10->Caption().rfind("Developed by", 0), 0u);
  EXPECT_EQ(form.Label9->Caption().rfind("With Contributions from", 0), 0u);
  // The citation names this program and its version.
  EXPECT_NE(form.Label7->Caption().find("Orvanix 1.0"), std::string::npos);
  // The name stands out; every other label keeps the window's text size.
  EXPECT_GT(form.Label1->FontSize, 0);
  for (Label* label : {form.Label10, form.Label9, form.Label11, form.Label2, form.Label6,
                       form.Label7, form.Label3})
    EXPECT_EQ(label->FontSize, 0) << label->Name();
  // Top to bottom in the order the window is read.
  std::vector<int> tops;
  for (Label* label : {form.Label1, form.Label10, form.Label9, form.Label11, form.Label2,
                       form.Label6, form.Label7, form.Label3})
    tops.push_back(label->Bounds().Top);
  EXPECT_EQ(tops, (std::vector<int>{8, 39, 64, 88, 117, 136, 155, 177}));
}

TEST(ToolWindows, InformationLinkOpensTheProjectPage) {
  ScriptedUi ui;
  auto form = std::make_unique<TForm3>();
  Form3 = form.get();
  ASSERT_TRUE(form->Label3->OnClick);
  ui.act([&] { form->Label3->OnClick(); });
  EXPECT_EQ(ui.openedUrls(), (std::vector<std::string>{"https://orvanix.example.org"}));
  EXPECT_TRUE(ui.boxes().empty());
  Form3 = nullptr;
}

TEST(ToolWindows, SumSpectraWindowStartsWithItsLayoutValues) {
  TForm4 form;
  EXPECT_EQ(form.Caption(), "sum spectra");
  expectPinned(form, {{"RadioButton1", K::RadioButton, "arithmetic", false},
                      {"RadioButton2", K::RadioButton, "Boltzmann", true},
                      {"Edit2", K::Edit, "298.0"},
                      {"Button1", K::Button, "Select Files"},
                      {"Label1", K::Label, "No Files selected!"},
                      {"RadioButton3", K::RadioButton, "CD", true},
                      {"RadioButton4", K::RadioButton, "UV", false},
                      {"RadioButton5", K::RadioButton, "ORD", false},
                      {"RadioButton6", K::RadioButton, "VCD", false},
                      {"RadioButton7", K::RadioButton, "IR", false},
                      {"Edit1", K::Edit, ""},
                      {"Button4", K::Button, "Select Dir"},
                      {"Button2", K::Button, "Start"},
                      {"Button3", K::Button, "Close"}});
  // Method and kind are two separate choices.
  EXPECT_NE(form.RadioButton1->Parent(), form.RadioButton3->Parent());
  EXPECT_EQ(form.RadioButton1->Parent()->Caption(), "Method");
  EXPECT_EQ(form.RadioButton3->Parent()->Caption(), "Spectra");
  EXPECT_TRUE(form.Memo1->Lines().empty());
  EXPECT_TRUE(form.OpenDialog1->MultiSelect);
  ASSERT_EQ(form.OpenDialog1->Filters.size(), 6u);
  EXPECT_EQ(form.OpenDialog1->Filters[0].Masks, "*.*");
  EXPECT_EQ(form.OpenDialog1->Filters[3].Caption, "VCD Bil files");
  EXPECT_EQ(form.OpenDialog1->Filters[3].Masks, "*.vc.bil");
  EXPECT_EQ(form.OpenDialog1->FilterIndex, 1);
}

TEST(ToolWindows, ExtractionWindowsStartWithTheirLayoutValues) {
  TForm5 heat;
  EXPECT_EQ(heat.Caption(), "Heat Extraction");
  expectPinned(heat, {{"Edit1", K::Edit, ""},
                      {"Button1", K::Button, "Select Dir"},
                      {"CheckBox1", K::CheckBox, "search in subfolder(s) only", true},
                      {"CheckBox2", K::CheckBox,
                       "extract Gibbs free energy (Gaussian09/16 and ORCA 4.x only)", false},
                      {"Memo1", K::Memo, ""},
                      {"Button2", K::Button, "Start"},
                      {"Button3", K::Button, "Close"},
                      {"Memo2", K::Memo, "", std::nullopt, false},
                      {"Memo3", K::Memo, "", std::nullopt, false}});

  TForm6 spectra;
  EXPECT_EQ(spectra.Caption(), "Extract Spectra");
  expectPinned(spectra, {{"Edit1", K::Edit, ""},
                         {"Button1", K::Button, "Select Dir"},
                         {"CheckBox1", K::CheckBox, "search in subfolder(s) only", true},
                         {"Memo1", K::Memo, ""},
                         {"Button2", K::Button, "Start"},
                         {"Button3", K::Button, "Close"},
                         {"Memo2", K::Memo, "", std::nullopt, false}});
  EXPECT_EQ(spectra.Memo1->Lines(), std::vector<std::string>{"Memo1"});
  EXPECT_EQ(spectra.Memo2->Lines(), std::vector<std::string>{"Memo2"});
}

TEST(ToolWindows, LoadRemoveWindowHasOneRowPerComparisonSlot) {
  TForm7 form;
  EXPECT_EQ(form.Caption(), "Load/Remove Curve(s)");
  expectPinned(form, {{"CheckBox1", K::CheckBox, "", false},
                      {"Button1", K::Button, "Load Curve 2"},
                      {"Label1", K::Label, ""},
                      {"CheckBox2", K::CheckBox, "", false},
                      {"Button2", K::Button, "Load Curve 3"},
                      {"CheckBox3", K::CheckBox, "", false},
                      {"Button3", K::Button, "Load Curve 4"},
                      {"CheckBox4", K::CheckBox, "", false},
                      {"Button4", K::Button, "Load Curve 5"},
                      {"Label4", K::Label, ""},
                      {"Button5", K::Button, "Remove Checked Curve(s)"},
                      {"Button6", K::Button, "Cancel"},
                      {"CheckBox5", K::CheckBox, "", false, false}});
  // Box, load button and title share a row; the rows run down slot by slot.
  const std::vector<std::vector<Control*>> rows = {{form.CheckBox1, form.Button1, form.Label1},
                                                   {form.CheckBox2, form.Button2, form.Label2},
                                                   {form.CheckBox3, form.Button3, form.Label3},
                                                   {form.CheckBox4, form.Button4, form.Label4}};
  int previousTop = -1;
  for (const auto& row : rows) {
    const TRect& button = row[1]->Bounds();
    EXPECT_GT(button.Top, previousTop);
    previousTop = button.Top;
    EXPECT_LT(row[0]->Bounds().Left, button.Left);
    EXPECT_GT(row[2]->Bounds().Left, button.Left);
  }
  EXPECT_GT(form.Button5->Bounds().Top, previousTop);
  EXPECT_GT(form.CheckBox5->Bounds().Left, form.Button5->Bounds().Left);
  EXPECT_LT(form.CheckBox5->Bounds().Left, form.Button6->Bounds().Left);
}

TEST(ToolWindows, SimilarityWindowsStartWithTheirLayoutValues) {
  TForm9 uv;
  EXPECT_EQ(uv.Caption(), "Similarity Factors");
  expectPinned(uv, {{"Edit1", K::Edit, "-30"},    {"Edit2", K::Edit, "+30"},
                    {"Edit7", K::Edit, "0.950"},  {"Edit8", K::Edit, "1.050"},
                    {"Edit3", K::Edit, "0.1"},    {"Edit4", K::Edit, "0.3"},
                    {"Edit5", K::Edit, "200"},    {"Edit6", K::Edit, "400"},
                    {"Edit9", K::Edit, "50000"},  {"Edit10", K::Edit, "15000"},
                    {"Button1", K::Button, "UV"}, {"Button3", K::Button, "ECD"},
                    {"Button2", K::Button, "Close"}, {"Memo1", K::Memo, ""}});
  EXPECT_TRUE(uv.Memo1->Lines().empty());

  TForm12 ir;
  EXPECT_EQ(ir.Caption(), "Similarity Factors");
  expectPinned(ir, {{"Edit1", K::Edit, "0.9"},    {"Edit2", K::Edit, "1.1"},
                    {"Edit3", K::Edit, "2"},      {"Edit4", K::Edit, "10"},
                    {"Edit5", K::Edit, "500"},    {"Edit6", K::Edit, "2000"},
                    {"Button1", K::Button, "IR"}, {"Button3", K::Button, "VCD"},
                    {"Button2", K::Button, "Close"}, {"Memo1", K::Memo, ""}});
}

TEST(ToolWindows, UvEcdSimilarityEnablesThePairsOfTheXUnit) {
  TForm9 form;
  const std::vector<Edit*> wavelengthEdits = {form.Edit1, form.Edit2, form.Edit5, form.Edit6};
  const std::vector<Edit*> wavenumberEdits = {form.Edit7, form.Edit8, form.Edit9, form.Edit10};
  for (bool wavelength : {false, true, false}) {
    SCOPED_TRACE(wavelength ? "wavelength" : "wavenumber");
    form.EnableUnitEdits(wavelength);
    for (Edit* edit : wavelengthEdits) EXPECT_EQ(edit->Enabled(), wavelength) << edit->Name();
    for (Edit* edit : wavenumberEdits) EXPECT_EQ(edit->Enabled(), !wavelength) << edit->Name();
    EXPECT_TRUE(form.Edit3->Enabled());
    EXPECT_TRUE(form.Edit4->Enabled());
  }
}

bool overlap(const TRect& a, const TRect& b) {
  return a.Left < b.Left + b.Width && b.Left < a.Left + a.Width && a.Top < b.Top + b.Height &&
         b.Top < a.Top + a.Height;
}

bool isDialog(const Control* control) {
  return control->Kind() == K::OpenDialog || control->Kind() == K::SaveDialog ||
         control->Kind() == K::SelectDirectoryDialog;
}

// Every control lies inside its parent, and no two visible controls of one
// parent cover each other, so the window reads clearly when drawn.
void expectTidyLayout(const Form& form) {
  SCOPED_TRACE(form.Name());
  std::vector<Control*> placed;
  for (Control* control : form.AllControls())
    if (!isDialog(control)) placed.push_back(control);
  for (Control* control : placed) {
    const TRect& box = control->Bounds();
    const TRect& outer = control->Parent()->Bounds();
    EXPECT_GT(box.Width, 0) << control->Name();
    EXPECT_GT(box.Height, 0) << control->Name();
    EXPECT_GE(box.Left, 0) << control->Name();
    EXPECT_GE(box.Top, 0) << control->Name();
    EXPECT_LE(box.Left + box.Width, outer.Width) << control->Name();
    EXPECT_LE(box.Top + box.Height, outer.Height) << control->Name();
  }
  for (size_t i = 0; i < placed.size(); ++i)
    for (size_t j = i + 1; j < placed.size(); ++j) {
      Control* a = placed[i];
      Control* b = placed[j];
      if (a->Parent() != b->Parent() || !a->Visible() || !b->Visible()) continue;
      EXPECT_FALSE(overlap(a->Bounds(), b->Bounds())) << a->Name() << " and " << b->Name();
    }
}

TEST(ToolWindows, LayoutsAreTidy) {
  expectTidyLayout(TForm3());
  expectTidyLayout(TForm4());
  expectTidyLayout(TForm5());
  expectTidyLayout(TForm6());
  expectTidyLayout(TForm7());
  expectTidyLayout(TForm9());
  expectTidyLayout(TForm12());
}

// The walk mode of the two extraction windows comes from the settings file
// when they are created.
class ExtractionStartUp : public ProgramFolderFixture {};

struct StoredWalkMode {
  const char* what;
  std::optional<const char*> heat;     // [ExtractHeat] subfolders, or no key
  std::optional<const char*> spectra;  // [ExtractSpectra] subfolders, or no key
  bool heatTicked;
  bool spectraTicked;
};

TEST_F(ExtractionStartUp, CreationTakesTheStoredWalkMode) {
  const std::vector<StoredWalkMode> cases = {
      {"both stored as 0", "0", "0", false, false},
      {"both stored as 1", "1", "1", true, true},
      {"each window reads its own section", "0", std::nullopt, false, true},
      {"each window reads its own section", std::nullopt, "0", true, false},
      {"keys missing", std::nullopt, std::nullopt, true, true},
  };
  for (const StoredWalkMode& stored : cases) {
    SCOPED_TRACE(stored.what);
    fs::remove(settingsPath());
    {
      IniFile settings(settingsPath());
      // A section without the key, so that only the key is missing.
      settings.WriteString("ExtractHeat", "other", "x");
      settings.WriteString("ExtractSpectra", "other", "x");
      if (stored.heat) settings.WriteString("ExtractHeat", "subfolders", *stored.heat);
      if (stored.spectra) settings.WriteString("ExtractSpectra", "subfolders", *stored.spectra);
    }
    ScriptedUi ui;
    auto heat = std::make_unique<TForm5>();
    Form5 = heat.get();
    ui.act([&] { heat->OnCreate(); });
    auto spectra = std::make_unique<TForm6>();
    Form6 = spectra.get();
    ui.act([&] { spectra->OnCreate(); });
    EXPECT_EQ(heat->CheckBox1->Checked(), stored.heatTicked);
    EXPECT_EQ(spectra->CheckBox1->Checked(), stored.spectraTicked);
    EXPECT_TRUE(ui.errorBoxes().empty());
    Form6 = nullptr;
    Form5 = nullptr;
  }
}

TEST_F(ExtractionStartUp, WithoutASettingsFileTheBoxesStayTickedAndNothingIsWritten) {
  ScriptedUi ui;
  auto heat = std::make_unique<TForm5>();
  Form5 = heat.get();
  ui.act([&] { heat->OnCreate(); });
  auto spectra = std::make_unique<TForm6>();
  Form6 = spectra.get();
  ui.act([&] { spectra->OnCreate(); });
  EXPECT_TRUE(heat->CheckBox1->Checked());
  EXPECT_TRUE(spectra->CheckBox1->Checked());
  EXPECT_FALSE(fs::exists(settingsPath()));
  EXPECT_TRUE(ui.errorBoxes().empty());
  Form6 = nullptr;
  Form5 = nullptr;
}

}  // namespace
