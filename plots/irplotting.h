// The gnuplot settings window of the IR plots: the VCD window without "add
// zeroline".
#pragma once

#include <array>
#include <string>

#include "platform/form.h"
#include "plots/vcdplotting.h"

// [IRsettings]: the keys and layout values of [VCDsettings], without
// "zeroline".
inline constexpr char IrSettingsSection[] = "IRsettings";
inline constexpr std::array<TextSetting, 3> IrTextSettings = VcdTextSettings;
inline constexpr std::array<FlagSetting, 2> IrFlagSettings{{
    VcdFlagSettings[1],  // tics_inside
    VcdFlagSettings[2],  // no.format
}};

// "[0:H]" in the exponent form with 2 digits, H = M + M/10.
std::string IrRangeText(double maximum);

class TForm15 : public Form {
 public:
  TForm15();

  Label* Label1;  // "Font(EPS):"
  Edit* Edit1;
  Edit* Edit12;
  Edit* Edit14;

  Label* Label3;  // "Curve 1:" ... Label7 "Curve 5:"
  Label* Label4;
  Label* Label5;
  Label* Label6;
  Label* Label7;
  Edit* Edit2;  // titles of IR slots 1 to 5
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
  Button* Button1;      // "OK"

  // The controls kept in [IRsettings], in the order of IrTextSettings and
  // IrFlagSettings.
  std::array<Edit*, 3> StoredEdits() const;
  std::array<CheckBox*, 2> StoredBoxes() const;

  // Takes [IRsettings] from the settings file.
  void FormCreate();
  // "OK": the curve fields become the IR slot titles, then the page is
  // repainted.
  void Button1Click();
};

extern TForm15* Form15;
