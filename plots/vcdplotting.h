// The gnuplot settings window of the VCD plots.
#pragma once

#include <array>
#include <string>

#include "platform/form.h"
#include "settings/settings.h"

// [VCDsettings] in file order, with the layout values of its controls.
inline constexpr char VcdSettingsSection[] = "VCDsettings";
inline constexpr std::array<TextSetting, 3> VcdTextSettings{{
    {"Font_EPS", "Arial"},
    {"gen_size_EPS", "18"},
    {"label_size_EPS", "14"},
}};
inline constexpr std::array<FlagSetting, 3> VcdFlagSettings{{
    {"zeroline", true},
    {"tics_inside", false},
    {"no.format", false},
}};

// "[-H:H]" in the exponent form with 2 digits, H = M + M/10.
std::string VcdRangeText(double maximum);

class TForm13 : public Form {
 public:
  TForm13();

  Label* Label1;  // "Font(EPS):"
  Edit* Edit1;
  Edit* Edit12;  // terminal and axis-label size
  Edit* Edit14;  // key and label size

  Label* Label3;  // "Curve 1:" ... Label7 "Curve 5:"
  Label* Label4;
  Label* Label5;
  Label* Label6;
  Label* Label7;
  Edit* Edit2;  // titles of VCD slots 1 to 5
  Edit* Edit3;
  Edit* Edit4;
  Edit* Edit5;
  Edit* Edit6;

  Label* Label8;  // "y1 range:"
  Edit* Edit7;

  GroupBox* GroupBox1;  // "Labels at the axes (GnuPlot notation)"
  Label* Label10;       // "x axis:"
  Edit* Edit9;
  Label* Label11;  // "y1 axis:"
  Edit* Edit10;

  CheckBox* CheckBox1;  // "overlay plot"
  CheckBox* CheckBox3;  // "user-defined yranges", never enabled
  CheckBox* CheckBox4;  // "no gamma and scaling"
  CheckBox* CheckBox5;  // "format y 'x10^x'"
  CheckBox* CheckBox6;  // "tics inside"
  CheckBox* CheckBox7;  // "add zeroline"
  Button* Button1;      // "OK"

  // The controls kept in [VCDsettings], in the order of VcdTextSettings and
  // VcdFlagSettings.
  std::array<Edit*, 3> StoredEdits() const;
  std::array<CheckBox*, 3> StoredBoxes() const;

  // Takes [VCDsettings] from the settings file.
  void FormCreate();
  // "OK": the curve fields become the VCD slot titles, then the page is
  // repainted.
  void Button1Click();
};

extern TForm13* Form13;
