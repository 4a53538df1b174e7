// The settings window and the settings file Orvanix.ini beside the
// executable.
//
// The window's controls are the settings: every part of the program reads
// them where it needs them. The file keeps them, and the controls of the four
// gnuplot settings windows and of the two extraction windows, between runs;
// only "Save Settings" writes it (and the start-up, when it is missing).
#pragma once

#include <span>
#include <string>

#include "platform/form.h"

class IniFile;

// The path of the settings file: the program's folder and "Orvanix.ini".
std::string SettingsFilePath();

// A stored text of a window: its key, and the window-layout value of the edit
// that holds it, which is also the default a new settings file gets.
struct TextSetting {
  const char* key;
  const char* layout;
};

// A stored check box: its key, and its window-layout state, which is also the
// default of a new file and of a missing key.
struct FlagSetting {
  const char* key;
  bool layout;
};

// Reads one window's section of the settings file into its controls, texts
// first, each in the order given: an edit keeps its own text for a missing
// key, a box takes its setting's layout state. Setting a control runs its
// handlers, as a person's input would.
void ReadSection(const std::string& section, std::span<const TextSetting> texts,
                 std::span<Edit* const> edits, std::span<const FlagSetting> flags,
                 std::span<CheckBox* const> boxes);

// Writes one window's section from its controls (texts as they stand,
// booleans as "1"/"0"), in the order given.
void WriteSection(IniFile& file, const std::string& section, std::span<const TextSetting> texts,
                  std::span<Edit* const> edits, std::span<const FlagSetting> flags,
                  std::span<CheckBox* const> boxes);

// Writes every section of a new settings file with its defaults.
void WriteDefaultSettings(const std::string& path);

// The settings window.
class TForm2 : public Form {
 public:
  TForm2();

  GroupBox* GroupBox1;  // "Representation"
  RadioButton* RadioButton1;  // "velocity"
  RadioButton* RadioButton2;  // "length"
  GroupBox* GroupBox2;  // "Bandshape"
  RadioButton* RadioButton3;  // "Gaussian"
  RadioButton* RadioButton4;  // "Lorentzian"
  GroupBox* GroupBox3;  // "UV/ECD units"
  RadioButton* RadioButton5;  // "wavelength (nm)"
  RadioButton* RadioButton6;  // "wavenumber (1/cm)"
  Label* Label1;  // "Gnuplot settings:"
  Edit* Edit1;    // the folder that holds gnuplot
  Button* Button3;  // "search DIR"
  CheckBox* CheckBox1;  // "Gnuplot 5.x"
  Label* Label2;  // "step size:"
  Edit* Edit2;    // x step of the UV/ECD xy exports in nm
  Button* Button1;  // "Save Settings"
  Button* Button2;  // "OK"
  SelectDirectoryDialog* SelectDirectoryDialog1;

  // Writes the settings file with its defaults when it is missing, then takes
  // the window's own settings from it.
  void FormCreate();
  // "Save Settings": writes every section of the file from the controls.
  void Button1Click();
  // "OK": closes the window; every change took effect at once.
  void Button2Click();
  // "search DIR": lets the user choose the gnuplot folder.
  void Button3Click();
  // A change of formalism: loaded curves keep their old strengths, so the
  // UV/ECD, HPLC and ORD plots are blanked until the next load.
  void RadioButton2Click();
  // The switch of the UV/ECD x unit: range edits and x corrections of the
  // main window.
  void RadioButton5Change();
};

extern TForm2* Form2;
