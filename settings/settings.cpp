#include "settings/settings.h"

#include <initializer_list>

#include "app/Main.h"
#include "display/blank_plot.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/ini.h"
#include "platform/program_folder.h"
#include "plots/cdplotting.h"
#include "plots/irplotting.h"
#include "plots/uvplotting.h"
#include "plots/vcdplotting.h"
#include "tools/heatEx.h"
#include "tools/specEx.h"

TForm2* Form2 = nullptr;

namespace {

// Where the settings window keeps its six radio buttons, in file order, with
// their layout states.
struct RadioSetting {
  const char* section;
  FlagSetting flag;
  RadioButton* TForm2::*radio;
};
constexpr std::array<RadioSetting, 6> RadioSettings{{
    {"Formalism", {"Velocity", false}, &TForm2::RadioButton1},
    {"Formalism", {"Length", true}, &TForm2::RadioButton2},
    {"Bandshape", {"Gaussian", true}, &TForm2::RadioButton3},
    {"Bandshape", {"Lorentzian", false}, &TForm2::RadioButton4},
    {"Units", {"wavelength", true}, &TForm2::RadioButton5},
    {"Units", {"wavenumber", false}, &TForm2::RadioButton6},
}};

constexpr char GnuplotFolderSection[] = "GnuPlot";
// "Save Settings" has always spelt the section so; sections match without
// regard to case, so both name the same one.
constexpr char GnuplotFolderSectionAsSaved[] = "Gnuplot";
constexpr char GnuplotFolderKey[] = "Dir";
constexpr char GnuplotFolderLayout[] = R"(C:\Programme\gnuplot\bin)";
constexpr char GnuplotVersionSection[] = "Gnuplot_version";
constexpr FlagSetting GnuplotVersionSetting{"5.x", false};
constexpr char StepSizeSection[] = "XY-Curves";
constexpr TextSetting StepSizeSetting{"stepsize", "0.1"};

// The walk mode of the two extraction windows, "search in subfolder(s) only".
constexpr char ExtractHeatSection[] = "ExtractHeat";
constexpr char ExtractSpectraSection[] = "ExtractSpectra";
constexpr FlagSetting SubfoldersSetting{"subfolders", true};

// The gnuplot executable of a folder, as the Windows build names it and as
// POSIX systems name it.
constexpr char GnuplotWindowsFile[] = "wgnuplot.exe";
constexpr char GnuplotPosixFile[] = "gnuplot";

void writeDefaults(IniFile& file, const std::string& section, std::span<const TextSetting> texts,
                   std::span<const FlagSetting> flags) {
  for (const TextSetting& text : texts) file.WriteString(section, text.key, text.layout);
  for (const FlagSetting& flag : flags) file.WriteBool(section, flag.key, flag.layout);
}

}  // namespace

std::string SettingsFilePath() {
  const std::string& folder = ProgramFolder();
  const bool endsWithSeparator = !folder.empty() && (folder.back() == '/' || folder.back() == '\\');
  return folder + (endsWithSeparator ? "" : "/") + "Orvanix.ini";
}

void ReadSection(const std::string& section, std::span<const TextSetting> texts,
                 std::span<Edit* const> edits, std::span<const FlagSetting> flags,
                 std::span<CheckBox* const> boxes) {
  const IniFile file(SettingsFilePath());
  for (size_t i = 0; i < texts.size(); ++i)
    edits[i]->SetText(file.ReadString(section, texts[i].key, edits[i]->Text()));
  for (size_t i = 0; i < flags.size(); ++i)
    boxes[i]->SetChecked(file.ReadBool(section, flags[i].key, flags[i].layout));
}

void WriteSection(IniFile& file, const std::string& section, std::span<const TextSetting> texts,
                  std::span<Edit* const> edits, std::span<const FlagSetting> flags,
                  std::span<CheckBox* const> boxes) {
  for (size_t i = 0; i < texts.size(); ++i) file.WriteString(section, texts[i].key, edits[i]->Text());
  for (size_t i = 0; i < flags.size(); ++i) file.WriteBool(section, flags[i].key, boxes[i]->Checked());
}

void WriteDefaultSettings(const std::string& path) {
  IniFile file(path);
  file.BeginUpdate();
  for (const RadioSetting& radio : RadioSettings)
    file.WriteBool(radio.section, radio.flag.key, radio.flag.layout);
  file.WriteString(GnuplotFolderSection, GnuplotFolderKey, GnuplotFolderLayout);
  file.WriteBool(GnuplotVersionSection, GnuplotVersionSetting.key, GnuplotVersionSetting.layout);
  file.WriteString(StepSizeSection, StepSizeSetting.key, StepSizeSetting.layout);
  writeDefaults(file, CdSettingsSection, CdTextSettings, CdFlagSettings);
  writeDefaults(file, UvSettingsSection, UvTextSettings, UvFlagSettings);
  writeDefaults(file, VcdSettingsSection, VcdTextSettings, VcdFlagSettings);
  writeDefaults(file, IrSettingsSection, IrTextSettings, IrFlagSettings);
  file.WriteBool(ExtractHeatSection, SubfoldersSetting.key, SubfoldersSetting.layout);
  file.WriteBool(ExtractSpectraSection, SubfoldersSetting.key, SubfoldersSetting.layout);
  file.UpdateFile();
}

TForm2::TForm2() : Form("Form2", "Settings", {0, 0, 420, 332}) {
  GroupBox1 = addGroup("GroupBox1", "Representation", {16, 12, 190, 76});
  RadioButton1 = addRadio("RadioButton1", "velocity", {12, 22, 166, 20}, GroupBox1,
                          RadioSettings[0].flag.layout);
  RadioButton2 = addRadio("RadioButton2", "length", {12, 46, 166, 20}, GroupBox1,
                          RadioSettings[1].flag.layout);
  GroupBox2 = addGroup("GroupBox2", "Bandshape", {214, 12, 190, 76});
  RadioButton3 = addRadio("RadioButton3", "Gaussian", {12, 22, 166, 20}, GroupBox2,
                          RadioSettings[2].flag.layout);
  RadioButton4 = addRadio("RadioButton4", "Lorentzian", {12, 46, 166, 20}, GroupBox2,
                          RadioSettings[3].flag.layout);
  GroupBox3 = addGroup("GroupBox3", "UV/ECD units", {16, 96, 388, 52});
  RadioButton5 = addRadio("RadioButton5", "wavelength (nm)", {12, 22, 170, 20}, GroupBox3,
                          RadioSettings[4].flag.layout);
  RadioButton6 = addRadio("RadioButton6", "wavenumber (1/cm)", {194, 22, 180, 20}, GroupBox3,
                          RadioSettings[5].flag.layout);

  Label1 = addLabel("Label1", "Gnuplot settings:", {16, 162, 200, 20});
  Edit1 = addEdit("Edit1", GnuplotFolderLayout, {16, 184, 280, 24});
  Button3 = addButton("Button3", "search DIR", {304, 183, 100, 26});
  CheckBox1 = addCheck("CheckBox1", "Gnuplot 5.x", {16, 216, 200, 20}, nullptr,
                       GnuplotVersionSetting.layout);
  Label2 = addLabel("Label2", "step size:", {16, 250, 80, 20});
  Edit2 = addEdit("Edit2", StepSizeSetting.layout, {100, 248, 80, 24});
  Button1 = addButton("Button1", "Save Settings", {16, 290, 130, 28});
  Button2 = addButton("Button2", "OK", {304, 290, 100, 28});
  SelectDirectoryDialog1 = addSelectDirectoryDialog("SelectDirectoryDialog1");

  OnCreate = [this] { FormCreate(); };
  Button1->OnClick = [this] { Button1Click(); };
  Button2->OnClick = [this] { Button2Click(); };
  Button3->OnClick = [this] { Button3Click(); };
  RadioButton1->OnClick = [this] { RadioButton2Click(); };
  RadioButton2->OnClick = [this] { RadioButton2Click(); };
  RadioButton5->OnChange = [this] { RadioButton5Change(); };
}

void TForm2::FormCreate() {
  const std::string path = SettingsFilePath();
  if (!FileExists(path)) WriteDefaultSettings(path);

  // Each radio set here runs its handlers: a stored "Velocity" reports the
  // change of formalism, the unit switch sees every change of "wavelength".
  const IniFile file(path);
  std::array<bool, RadioSettings.size()> ticked{};
  for (size_t i = 0; i < RadioSettings.size(); ++i)
    ticked[i] = file.ReadBool(RadioSettings[i].section, RadioSettings[i].flag.key,
                              RadioSettings[i].flag.layout);
  // A pair with neither radio ticked would leave the bil headers without a
  // formalism, the bands without a shape or the page without a unit: such a
  // pair keeps its default, as a new file has it.
  for (size_t i = 0; i + 1 < RadioSettings.size(); i += 2)
    if (!ticked[i] && !ticked[i + 1]) {
      ticked[i] = RadioSettings[i].flag.layout;
      ticked[i + 1] = RadioSettings[i + 1].flag.layout;
    }
  for (size_t i = 0; i < RadioSettings.size(); ++i)
    (this->*RadioSettings[i].radio)->SetChecked(ticked[i]);
  Edit1->SetText(file.ReadString(GnuplotFolderSection, GnuplotFolderKey, Edit1->Text()));
  CheckBox1->SetChecked(
      file.ReadBool(GnuplotVersionSection, GnuplotVersionSetting.key, GnuplotVersionSetting.layout));
  Edit2->SetText(file.ReadString(StepSizeSection, StepSizeSetting.key, Edit2->Text()));
}

void TForm2::Button1Click() {
  IniFile file(SettingsFilePath());
  // One save replaces the file once, whole.
  file.BeginUpdate();
  for (const RadioSetting& radio : RadioSettings)
    file.WriteBool(radio.section, radio.flag.key, (this->*radio.radio)->Checked());
  file.WriteString(GnuplotFolderSectionAsSaved, GnuplotFolderKey, Edit1->Text());
  file.WriteBool(GnuplotVersionSection, GnuplotVersionSetting.key, CheckBox1->Checked());
  file.WriteString(StepSizeSection, StepSizeSetting.key, Edit2->Text());

  // The windows exist whenever a person can press the button; the tests are
  // for a settings window that stands alone.
  if (Form10 != nullptr)
    WriteSection(file, CdSettingsSection, CdTextSettings, Form10->StoredEdits(), CdFlagSettings,
                 Form10->StoredBoxes());
  if (Form11 != nullptr)
    WriteSection(file, UvSettingsSection, UvTextSettings, Form11->StoredEdits(), UvFlagSettings,
                 Form11->StoredBoxes());
  if (Form13 != nullptr)
    WriteSection(file, VcdSettingsSection, VcdTextSettings, Form13->StoredEdits(), VcdFlagSettings,
                 Form13->StoredBoxes());
  if (Form15 != nullptr)
    WriteSection(file, IrSettingsSection, IrTextSettings, Form15->StoredEdits(), IrFlagSettings,
                 Form15->StoredBoxes());
  if (Form5 != nullptr)
    file.WriteBool(ExtractHeatSection, SubfoldersSetting.key, Form5->CheckBox1->Checked());
  if (Form6 != nullptr)
    file.WriteBool(ExtractSpectraSection, SubfoldersSetting.key, Form6->CheckBox1->Checked());
  file.UpdateFile();
}

void TForm2::Button2Click() { Close(); }

void TForm2::Button3Click() {
  SelectDirectoryDialog1->InitialDir.clear();
  if (!SelectDirectoryDialog1->Execute()) return;
  const std::string folder = SelectDirectoryDialog1->FileName;
  if (FileExists(folder + "\\" + GnuplotWindowsFile) || FileExists(folder + "\\" + GnuplotPosixFile))
    Edit1->SetText(folder);
  else
    ShowMessage("wgnuplot.exe not found");
}

void TForm2::RadioButton2Click() {
  ShowMessage("Representation changed, Spectra have to be reloaded");
  if (Form1 == nullptr) return;
  // The IR/VCD readers take no formalism, so that plot stays.
  for (Image* plot : {Form1->Image1, Form1->Image3, Form1->Image4}) BlankPlot(*plot);
  // Until the next load resets the page, a redraw would show the old strengths.
  Form1->Button2->SetEnabled(false);
}

void TForm2::RadioButton5Change() {
  if (Form1 == nullptr) return;
  const std::initializer_list<Edit*> corrections{Form1->Edit2, Form1->Edit12, Form1->Edit13,
                                                 Form1->Edit31, Form1->Edit32};
  // The x-axis labels follow the unit unless the person typed their own.
  const bool wavenumber = RadioButton6->Checked();
  for (UvEcdGnuplotSettingsForm* window : {static_cast<UvEcdGnuplotSettingsForm*>(Form10),
                                           static_cast<UvEcdGnuplotSettingsForm*>(Form11)})
    if (window != nullptr && window->Edit9->Text() == UnitAxisLabel(!wavenumber))
      window->Edit9->SetText(UnitAxisLabel(wavenumber));
  if (RadioButton5->Checked()) {
    Form1->Edit4->SetEnabled(true);
    Form1->Edit5->SetEnabled(true);
    Form1->Edit35->SetVisible(false);
    Form1->Edit36->SetVisible(false);
    Form1->Label35->SetVisible(false);
    // Shifts in whole nm; all five change before a redraw reads them.
    Edit::SetTexts(corrections, "0");
  }
  if (RadioButton6->Checked()) {
    Form1->Edit4->SetEnabled(false);
    Form1->Edit5->SetEnabled(false);
    Form1->Edit35->SetVisible(true);
    Form1->Edit36->SetVisible(true);
    Form1->Label35->SetVisible(true);
    // x scale factors; all five change before a redraw reads them.
    Edit::SetTexts(corrections, "1.0");
    Form1->Edit4->SetText("200");
    Form1->Edit5->SetText("667");
    Form1->Edit35->SetText("50000");
    Form1->Edit36->SetText("15000");
  }
}
